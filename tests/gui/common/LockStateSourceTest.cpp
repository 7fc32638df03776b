#include <QGuiApplication>
#include <QTest>

#include "gui/common/LockStateSource.h"

// Last: the X11 headers define macros (None, Bool...) that clash with Qt's.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace quirtel {

// Runs on the offscreen platform, where nothing is known, and under Xvfb on
// xcb, where the locks are read from the server's keyboard indicators.
class LockStateSourceTest : public QObject {
    Q_OBJECT

private:
    static Display* X11Display() {
        const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        return x11 != nullptr ? x11->display() : nullptr;
    }

    // Locks or unlocks the modifier as the key would, through XKB.
    static void SetLock(Display* display, unsigned int modifier, bool on) {
        XkbLockModifiers(display, XkbUseCoreKbd, modifier, on ? modifier : 0);
        XSync(display, False);
    }

private slots:
    void systemSourceReadsTheDisplaysIndicators() {
        const auto source = CreateSystemLockStateSource();
        Display* display = X11Display();
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            QVERIFY(display == nullptr);
            QCOMPARE(source->Read(), LockStates{});
            return;
        }
        QVERIFY(display != nullptr);
        const LockStates states = source->Read();
        QVERIFY(states.caps.has_value());
        QVERIFY(states.num.has_value());
        QVERIFY(states.scroll.has_value());
        // Only a private server of the test may have its locks turned.
        if (qEnvironmentVariable("QUIRTEL_PRIVATE_X_SERVER") != QStringLiteral("1")) {
            QSKIP("not on a private X server: the lock keys are left alone");
        }
        const LockStates off{false, false, false};
        QCOMPARE(states, off);

        // Num Lock is the modifier Mod2 on every common keymap.
        SetLock(display, LockMask, true);
        QTRY_COMPARE(source->Read(), (LockStates{true, false, false}));
        SetLock(display, Mod2Mask, true);
        QTRY_COMPARE(source->Read(), (LockStates{true, true, false}));
        SetLock(display, LockMask, false);
        SetLock(display, Mod2Mask, false);
        QTRY_COMPARE(source->Read(), off);
    }

    void fixedSourceAnswersWhatItHolds() {
        FixedLockStateSource source;
        QCOMPARE(source.Read(), LockStates{});
        source.states = {true, std::nullopt, false};
        QCOMPARE(source.Read(), (LockStates{true, std::nullopt, false}));
    }
};

}  // namespace quirtel

QTEST_MAIN(quirtel::LockStateSourceTest)
#include "LockStateSourceTest.moc"
