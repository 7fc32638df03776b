#include <QTest>

#include "core/session/Keystroke.h"
#include "gui/typing/KeyClassifier.h"

using quirtel::ClassifyKey;
using quirtel::KeyRole;

Q_DECLARE_METATYPE(quirtel::KeyRole)

class KeyClassifierTest : public QObject {
    Q_OBJECT

private slots:
    void classifies_data();
    void classifies();
    void keystrokeStandsForTheCharacterOrControlKey();
};

void KeyClassifierTest::classifies_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<KeyRole>("role");

    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    const int alt = Qt::AltModifier;
    auto row = [](const char* name, int key, int mods, const QString& text, KeyRole role) {
        QTest::newRow(name) << key << mods << text << role;
    };

    // Characters, whatever text the platform gives them.
    row("letter", Qt::Key_A, none, QStringLiteral("a"), KeyRole::Character);
    row("capital", Qt::Key_A, shift, QStringLiteral("A"), KeyRole::Character);
    row("space", Qt::Key_Space, none, QStringLiteral(" "), KeyRole::Character);
    row("n tilde from a test driver", Qt::Key_unknown, none, QStringLiteral(u"\u00F1"),
        KeyRole::Character);
    row("keypad digit", Qt::Key_5, Qt::KeypadModifier, QStringLiteral("5"), KeyRole::Character);
    row("backspace", Qt::Key_Backspace, none, QStringLiteral("\b"), KeyRole::Character);
    row("ctrl+backspace", Qt::Key_Backspace, ctrl, QString(), KeyRole::Character);
    row("return", Qt::Key_Return, none, QStringLiteral("\r"), KeyRole::Character);
    row("keypad enter", Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"),
        KeyRole::Character);
    row("tab", Qt::Key_Tab, none, QStringLiteral("\t"), KeyRole::Character);
    row("escape", Qt::Key_Escape, none, QStringLiteral("\x1b"), KeyRole::Character);
    row("dead acute without text", Qt::Key_Dead_Acute, none, QString(), KeyRole::Character);
    row("dead diaeresis", Qt::Key_Dead_Diaeresis, shift, QString(), KeyRole::Character);

    // Ctrl+letters: edit accelerators by key code, the rest control characters.
    row("ctrl+v from X11", Qt::Key_V, ctrl, QStringLiteral("\x16"), KeyRole::Paste);
    row("ctrl+v from a test driver", Qt::Key_V, ctrl, QStringLiteral("v"), KeyRole::Paste);
    row("shift+insert", Qt::Key_Insert, shift, QString(), KeyRole::Paste);
    row("ctrl+z", Qt::Key_Z, ctrl, QStringLiteral("\x1a"), KeyRole::Undo);
    row("alt+backspace", Qt::Key_Backspace, alt, QString(), KeyRole::Undo);
    row("ctrl+x", Qt::Key_X, ctrl, QStringLiteral("\x18"), KeyRole::Cut);
    row("shift+delete", Qt::Key_Delete, shift, QStringLiteral("\x7f"), KeyRole::Cut);
    row("ctrl+c", Qt::Key_C, ctrl, QStringLiteral("\x03"), KeyRole::Copy);
    row("ctrl+insert", Qt::Key_Insert, ctrl, QString(), KeyRole::Copy);
    row("ctrl+a", Qt::Key_A, ctrl, QStringLiteral("\x01"), KeyRole::ControlCharacter);
    row("ctrl+shift+z is no accelerator", Qt::Key_Z, ctrl | shift, QStringLiteral("\x1a"),
        KeyRole::ControlCharacter);
    row("ctrl+digit", Qt::Key_1, ctrl, QStringLiteral("1"), KeyRole::Other);

    // Keys that send no character.
    row("delete from X11", Qt::Key_Delete, none, QStringLiteral("\x7f"), KeyRole::Editing);
    row("left", Qt::Key_Left, none, QString(), KeyRole::Editing);
    row("shift+end", Qt::Key_End, shift, QString(), KeyRole::Editing);
    row("ctrl+home", Qt::Key_Home, ctrl, QString(), KeyRole::Editing);
    row("page down", Qt::Key_PageDown, none, QString(), KeyRole::Editing);
    row("f2", Qt::Key_F2, none, QString(), KeyRole::Other);
    row("f6", Qt::Key_F6, shift, QString(), KeyRole::Other);
    row("alt+letter", Qt::Key_M, alt, QStringLiteral("m"), KeyRole::Other);
    row("meta+letter", Qt::Key_E, Qt::MetaModifier, QStringLiteral("e"), KeyRole::Other);
    row("shift alone", Qt::Key_Shift, shift, QString(), KeyRole::Other);
    row("caps lock", Qt::Key_CapsLock, none, QString(), KeyRole::Other);
    row("unknown key without text", Qt::Key_unknown, none, QString(), KeyRole::Other);
    row("C1 control text", Qt::Key_unknown, none, QStringLiteral(u"\u0085"), KeyRole::Other);
}

void KeyClassifierTest::classifies() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(KeyRole, role);
    QCOMPARE(ClassifyKey(key, Qt::KeyboardModifiers(modifiers), text), role);
}

void KeyClassifierTest::keystrokeStandsForTheCharacterOrControlKey() {
    using quirtel::ControlKey;
    const auto control = [](ControlKey key) { return static_cast<char32_t>(key); };
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool isControl;
        char32_t code;
    } cases[] = {
        {Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"\u00F1"), false, U'\u00F1'},
        {Qt::Key_unknown, Qt::NoModifier, QStringLiteral(u"\U0001F600"), false, U'\U0001F600'},
        {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"), true,
         control(ControlKey::Backspace)},
        {Qt::Key_H, Qt::ControlModifier, QStringLiteral("\b"), true,
         control(ControlKey::Backspace)},
        {Qt::Key_Return, Qt::ShiftModifier, QStringLiteral("\r"), true, control(ControlKey::Enter)},
        {Qt::Key_Backtab, Qt::ShiftModifier, QString(), true, control(ControlKey::Tab)},
        {Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1B"), true, control(ControlKey::Escape)},
        {Qt::Key_Dead_Acute, Qt::NoModifier, QString(), true, control(ControlKey::DeadKey)},
        {Qt::Key_Q, Qt::ControlModifier, QStringLiteral("q"), true, control(ControlKey::Other)},
    };
    for (const Case& c : cases) {
        const quirtel::KeystrokeCode got = quirtel::KeystrokeOf(c.key, c.modifiers, c.text);
        QCOMPARE(got.control, c.isControl);
        QCOMPARE(static_cast<quint32>(got.code), static_cast<quint32>(c.code));
    }
}

QTEST_GUILESS_MAIN(KeyClassifierTest)
#include "KeyClassifierTest.moc"
