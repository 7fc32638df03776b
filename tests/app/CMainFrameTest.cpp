#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "../support/FakePrompts.h"
#include "../typing/TypingFakes.h"
#include "app/CMainFrame.h"
#include "app/CTapoDoc.h"
#include "typing/CTapoView.h"

using quirtel::CMainFrame;
using quirtel::CTapoView;

namespace {

const QString PROMPT_CAPTION = QStringLiteral(
    "Empieza a escribir cuando quieras... (tiempo total 10:00 minutos) F2 para acabar y ESC "
    "para abortar - Quirtel");

// Records whether any window was on screen when a message was shown.
class WatchingPrompts final : public quirtel::Prompts {
public:
    void ShowMessage(std::string_view text) override {
        bool visible = false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            visible = visible || w->isVisible();
        }
        shownWithWindow.push_back(visible);
        inner.ShowMessage(text);
    }
    int RunDialog(QDialog& dialog) override { return inner.RunDialog(dialog); }
    QString OpenFileName(QWidget* parent) override { return inner.OpenFileName(parent); }
    QString SaveFileName(QWidget* parent) override { return inner.SaveFileName(parent); }

    quirtel::testing::FakePrompts inner;
    std::vector<bool> shownWithWindow;
};

// A main window over fakes, started as the application starts it.
struct FrameHarness {
    explicit FrameHarness(const QString& wordList = QString()) {
        document = std::make_unique<quirtel::CTapoDoc>(prompts);
        frame = std::make_unique<CMainFrame>(
            *document, clock, sound, prompts,
            (wordList.isEmpty() ? dir.filePath(QStringLiteral("none.dic")) : wordList)
                .toStdString());
        frame->View().SetStatisticsLogPath(
            dir.filePath(QStringLiteral("estadistica.txt")).toStdString());
        document->OnNewDocument();
        frame->show();
        frame->activateWindow();
        active = QTest::qWaitForWindowActive(frame.get());
    }
    CTapoView& View() { return frame->View(); }
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, &View(), Qt::Key_unknown, QString(c), {});
        }
    }
    bool Enabled(int id) { return frame->Action(id)->isEnabled(); }

    QTemporaryDir dir;
    quirtel::testing::FakeClock clock;
    quirtel::testing::FakeSoundPlayer sound;
    WatchingPrompts prompts;
    std::unique_ptr<quirtel::CTapoDoc> document;
    std::unique_ptr<CMainFrame> frame;
    bool active = false;
};

}  // namespace

class CMainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void menuHoldsTheCommandsInOrder();
    void wordListMessageComesBeforeTheWindow();
    void commandsFollowTheTestState();
    void captionFollowsTitleAndTest();
    void commandsDriveTheTest();
    void windowShortcutsDoNotStealTyping_data();
    void windowShortcutsDoNotStealTyping();
    void exitClosesWithoutAQuestion();
    void newDocumentDropsARunningTest();
};

void CMainFrameTest::menuHoldsTheCommandsInOrder() {
    FrameHarness h;
    const QList<QAction*> menus = h.frame->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.front()->text(), QStringLiteral(u"&Men\u00FA"));
    QStringList texts;
    for (QAction* action : h.frame->MainMenu()->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(texts,
             (QStringList{QStringLiteral("&Empezar prueba\tF2"),
                          QStringLiteral("&Finalizar prueba\tF2"), QStringLiteral("&Abortar\tESC"),
                          QStringLiteral("-"), QStringLiteral("&Texto a portapapeles"),
                          QStringLiteral("&Opciones"), QStringLiteral("-"),
                          QStringLiteral("&Acerca de Quirtel..."), QStringLiteral("&Salir")}));
    for (int id : {32771, 32772, 32773, 32774, 32775, 57664, 57665}) {
        QCOMPARE(h.frame->findChild<QAction*>(QStringLiteral("action%1").arg(id)),
                 h.frame->Action(id));
        QVERIFY(h.frame->Action(id)->shortcut().isEmpty());
    }
    QCOMPARE(h.frame->Action(32771)->statusTip(), QStringLiteral("Empieza una nueva prueba"));
    QCOMPARE(h.frame->Action(32771)->toolTip(), QStringLiteral("Empezar"));
}

void CMainFrameTest::wordListMessageComesBeforeTheWindow() {
    FrameHarness h;
    QCOMPARE(h.prompts.shownWithWindow, std::vector<bool>{false});
    QVERIFY(h.frame->isVisible());
}

void CMainFrameTest::commandsFollowTheTestState() {
    FrameHarness h;
    const QList<int> ids{32771, 32772, 32775, 32774, 32773};
    auto enabled = [&] {
        QList<bool> states;
        for (int id : ids) {
            states << h.Enabled(id);
        }
        return states;
    };
    QCOMPARE(enabled(), (QList<bool>{true, false, false, false, true}));
    h.Type(QStringLiteral("a"));
    QCOMPARE(enabled(), (QList<bool>{false, true, true, false, false}));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(enabled(), (QList<bool>{true, true, false, true, false}));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(enabled(), (QList<bool>{true, false, false, false, true}));
}

void CMainFrameTest::captionFollowsTitleAndTest() {
    FrameHarness h;
    QCOMPARE(h.frame->windowTitle(), PROMPT_CAPTION);
    h.Type(QStringLiteral("a"));
    QCOMPARE(h.frame->windowTitle(), QStringLiteral(u"\u00A1Empezando!"));
    h.clock.Advance(3);
    h.View().OnTestTick();
    QCOMPARE(h.frame->windowTitle(), QStringLiteral("(Total 10:00) --- 00:03 ---"));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QVERIFY(h.frame->windowTitle().startsWith(QStringLiteral("Prueba acabada: ")));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(h.frame->windowTitle(), PROMPT_CAPTION);
}

void CMainFrameTest::commandsDriveTheTest() {
    FrameHarness h;
    h.Type(QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_START)->trigger();  // disabled while running
    QCOMPARE(h.View().State(), CTapoView::TestState::Running);
    h.frame->Action(CMainFrame::ID_TEST_ABORT)->trigger();
    QCOMPARE(h.prompts.inner.messages.back(), QStringLiteral("Prueba abortada."));
    QCOMPARE(h.View().State(), CTapoView::TestState::Ready);
    h.Type(QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_FINISH)->trigger();
    QCOMPARE(h.View().State(), CTapoView::TestState::Finished);
    h.frame->Action(CMainFrame::ID_TEST_FINISH)->trigger();
    QCOMPARE(h.prompts.inner.dialogsRun, 2);
    h.frame->Action(CMainFrame::ID_COPY_TEXT)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_START)->trigger();
    QCOMPARE(h.View().State(), CTapoView::TestState::Ready);
    QCOMPARE(h.View().toPlainText(), QString());
}

void CMainFrameTest::windowShortcutsDoNotStealTyping_data() {
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("fires");
    QTest::addColumn<bool>("starts");
    QTest::newRow("Ctrl+N is the window's") << QKeySequence(Qt::CTRL | Qt::Key_N) << true << false;
    QTest::newRow("a letter is typed") << QKeySequence(Qt::Key_N) << false << true;
    QTest::newRow("F2 is the view's") << QKeySequence(Qt::Key_F2) << false << false;
    QTest::newRow("Ctrl+V is refused") << QKeySequence(Qt::CTRL | Qt::Key_V) << false << false;
    QTest::newRow("Backspace is typed") << QKeySequence(Qt::Key_Backspace) << false << true;
}

void CMainFrameTest::windowShortcutsDoNotStealTyping() {
    QFETCH(QKeySequence, shortcut);
    FrameHarness h;
    QVERIFY(h.active);
    h.View().setFocus();
    QAction probe(h.frame.get());
    probe.setShortcut(shortcut);
    h.frame->addAction(&probe);
    int fired = 0;
    connect(&probe, &QAction::triggered, [&] { ++fired; });
    const QKeyCombination key = shortcut[0];
    QTest::keyClick(&h.View(), key.key(), key.keyboardModifiers());
    QTEST(fired == 1, "fires");
    QTEST(h.View().State() == CTapoView::TestState::Running, "starts");
}

void CMainFrameTest::exitClosesWithoutAQuestion() {
    FrameHarness h;
    h.Type(QStringLiteral("texto"));
    h.frame->Action(CMainFrame::ID_APP_EXIT)->trigger();
    QVERIFY(!h.frame->isVisible());
    QCOMPARE(h.prompts.inner.messages.size(), 1);  // only the missing word list
    QCOMPARE(h.prompts.inner.dialogsRun, 0);
}

void CMainFrameTest::newDocumentDropsARunningTest() {
    FrameHarness h;
    h.Type(QStringLiteral("hola"));
    h.document->OnNewDocument();
    QCOMPARE(h.View().State(), CTapoView::TestState::Ready);
    QCOMPARE(h.View().toPlainText(), QString());
    QVERIFY(!h.View().TestTimer().isActive());
    QCOMPARE(h.prompts.inner.dialogsRun, 0);
    QCOMPARE(h.frame->windowTitle(), PROMPT_CAPTION);
    QVERIFY(!QFile::exists(h.dir.filePath(QStringLiteral("estadistica.txt"))));
}

QTEST_MAIN(CMainFrameTest)
#include "CMainFrameTest.moc"
