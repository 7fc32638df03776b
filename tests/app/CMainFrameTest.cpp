#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>

#include "app/CMainFrame.h"
#include "app/CTapoDoc.h"
#include "core/settings/RegistryFile.h"
#include "core/settings/ReviewOption.h"
#include "core/settings/WindowPlacement.h"
#include "gui/common/LockStateSource.h"
#include "gui/common/QtText.h"
#include "gui/copy/CCopyResultDlg.h"
#include "gui/copy/CCopyTextDlg.h"
#include "gui/copy/CopyModelView.h"
#include "gui/results/CProgressDlg.h"
#include "gui/results/ProgressTableModel.h"
#include "gui/settings/PlacementQt.h"
#include "gui/typing/CTapoView.h"
#include "support/FakePrompts.h"
#include "support/TypingFakes.h"

using quirtel::CMainFrame;
using quirtel::CTapoView;
using State = quirtel::CTapoView::TestState;

namespace {

QString PromptCaption(int minutes = 10) {
    return QStringLiteral(
               "Empieza a escribir cuando quieras... (tiempo total %1:00 minutos) F2 "
               "para acabar y ESC para abortar - Quirtel")
        .arg(minutes, 2, 10, QLatin1Char('0'));
}

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
    explicit FrameHarness(const QString& registryPath = QString(),
                          const QString& textsFolder = QString()) {
        document = std::make_unique<quirtel::CTapoDoc>(prompts);
        CMainFrame::Setup setup;
        setup.textsFolder = textsFolder.toStdString();
        setup.wordListPath = dir.filePath(QStringLiteral("none.dic")).toStdString();
        setup.registryPath = registryPath.toStdString();
        setup.lockStates = &locks;
        frame = std::make_unique<CMainFrame>(*document, clock, sound, prompts, setup);
        frame->View().SetStatisticsLogPath(LogPath().toStdString());
        document->OnNewDocument();
        frame->show();
        frame->activateWindow();
        active = QTest::qWaitForWindowActive(frame.get());
        prompts.inner.messages.clear();  // the missing word list
    }
    CTapoView& View() { return frame->View(); }
    void Type(const QString& text) {
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, &View(), Qt::Key_unknown, QString(c), {});
        }
    }
    void Press(const QKeySequence& keys) {
        QTest::keyClick(&View(), keys[0].key(), keys[0].keyboardModifiers());
    }
    QString Message() const { return frame->statusBar()->currentMessage(); }
    QString LogPath() const { return dir.filePath(QStringLiteral("estadistica.txt")); }

    QTemporaryDir dir;
    quirtel::testing::FakeClock clock;
    quirtel::testing::FakeSoundPlayer sound;
    quirtel::FixedLockStateSource locks;
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
    void reviewNeedsAFinishedTestWithMarks();
    void captionFollowsTitleAndTest();
    void commandsDriveTheTest();
    void barsAndStatusTexts();
    void lockPanesFollowTheSource();
    void keysReachTheirOwner_data();
    void keysReachTheirOwner();
    void documentAccelerators_data();
    void documentAccelerators();
    void optionsDialog_data();
    void optionsDialog();
    void placementIsKeptAcrossRuns_data();
    void placementIsKeptAcrossRuns();
    void reviewFirstIsKeptAcrossRuns();
    void exitClosesWithoutAQuestion();
    void mnemonicsSkipDisabledItems();
    void copyPracticeRunsAndIsKept();
};

void CMainFrameTest::menuHoldsTheCommandsInOrder() {
    FrameHarness h;
    const QList<QAction*> menus = h.frame->menuBar()->actions();
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.front()->text(), QStringLiteral(u"&Men\u00FA"));
    QStringList texts;
    for (QAction* action : h.frame->MainMenu()->actions() + h.frame->ViewMenu()->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(
        texts,
        (QStringList{
            QStringLiteral("&Ver"), QStringLiteral("-"), QStringLiteral("&Empezar prueba\tF2"),
            QStringLiteral("&Finalizar prueba\tF2"), QStringLiteral("&Abortar\tESC"),
            QStringLiteral("-"), QStringLiteral("&Texto a portapapeles"),
            QStringLiteral("&Progreso..."), QStringLiteral("&Revisar faltas..."),
            QStringLiteral("Copiar un te&xto..."), QStringLiteral("Prueba &libre"),
            QStringLiteral("Revisar &antes del resultado"), QStringLiteral("&Opciones"),
            QStringLiteral("-"), QStringLiteral("&Acerca de Quirtel..."), QStringLiteral("&Salir"),
            QStringLiteral("Barra de &herramientas"), QStringLiteral("Barra de &estado")}));
    QCOMPARE(h.frame->Action(32771)->statusTip(), QStringLiteral("Empieza una nueva prueba"));

    // The toolbar: the three test buttons, each named by its tooltip.
    QToolBar* bar = h.frame->ToolBar();
    QStringList names;
    for (QAction* action : bar->actions()) {
        QVERIFY(!action->icon().isNull());
        names << bar->widgetForAction(action)->accessibleName();
    }
    QCOMPARE(names, (QStringList{QStringLiteral("Empezar"), QStringLiteral("Parar"),
                                 QStringLiteral("Abortar prueba")}));
    QCOMPARE(h.frame->toolBarArea(bar), Qt::TopToolBarArea);
}

void CMainFrameTest::wordListMessageComesBeforeTheWindow() {
    FrameHarness h;
    QCOMPARE(h.prompts.shownWithWindow, std::vector<bool>{false});
    QVERIFY(h.frame->isVisible());
}

void CMainFrameTest::commandsFollowTheTestState() {
    FrameHarness h;
    // Start, finish, abort, copy, options, progress; then the toolbar's start,
    // finish, abort.
    auto enabled = [&] {
        QList<bool> states;
        for (int id : {32771, 32772, 32775, 32774, 32773, 32776}) {
            states << h.frame->Action(id)->isEnabled();
        }
        for (QAction* action : h.frame->ToolBar()->actions()) {
            states << h.frame->ToolBar()->widgetForAction(action)->isEnabled();
        }
        return states;
    };
    const QList<bool> ready{true, false, false, false, true, true, true, false, false};
    QCOMPARE(enabled(), ready);
    h.Type(QStringLiteral("a"));
    QCOMPARE(enabled(), (QList<bool>{false, true, true, false, false, false, false, true, true}));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(enabled(), (QList<bool>{true, true, false, true, false, true, true, true, false}));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(enabled(), ready);
}

void CMainFrameTest::reviewNeedsAFinishedTestWithMarks() {
    FrameHarness h;  // no word list: only shape faults are marked
    QAction* review = h.frame->Action(CMainFrame::ID_REVIEW);
    QCOMPARE(review->objectName(), QStringLiteral("action32777"));
    QVERIFY(!review->statusTip().isEmpty());
    QCOMPARE(review->toolTip(), QStringLiteral("Revisar faltas"));
    QVERIFY(!review->isEnabled());
    h.Type(QStringLiteral("hola.."));
    QVERIFY(!review->isEnabled());
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QVERIFY(review->isEnabled());
    const int dialogs = h.prompts.inner.dialogsRun;
    review->trigger();
    QCOMPARE(h.prompts.inner.dialogsRun, dialogs + 1);
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QVERIFY(!review->isEnabled());
    h.Type(QStringLiteral("hola"));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QVERIFY(!review->isEnabled());  // nothing marked
    review->trigger();
    QCOMPARE(h.prompts.inner.dialogsRun, dialogs + 2);  // only the result dialog
}

void CMainFrameTest::captionFollowsTitleAndTest() {
    FrameHarness h;
    QCOMPARE(h.frame->windowTitle(), PromptCaption());
    h.Type(QStringLiteral("a"));
    QCOMPARE(h.frame->windowTitle(), QStringLiteral(u"\u00A1Empezando!"));
    h.clock.Advance(3);
    h.View().OnTestTick();
    QCOMPARE(h.frame->windowTitle(), QStringLiteral("(Total 10:00) --- 00:03 ---"));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QVERIFY(h.frame->windowTitle().startsWith(QStringLiteral("Prueba acabada: ")));
    QTest::keyClick(&h.View(), Qt::Key_F2);
    QCOMPARE(h.frame->windowTitle(), PromptCaption());
}

void CMainFrameTest::commandsDriveTheTest() {
    FrameHarness h;
    h.Type(QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_START)->trigger();  // disabled while running
    QCOMPARE(h.View().State(), State::Running);
    h.frame->Action(CMainFrame::ID_TEST_ABORT)->trigger();
    QCOMPARE(h.prompts.inner.messages.back(), QStringLiteral("Prueba abortada."));
    QCOMPARE(h.View().State(), State::Ready);
    h.Type(QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_FINISH)->trigger();
    QCOMPARE(h.View().State(), State::Finished);
    h.frame->Action(CMainFrame::ID_TEST_FINISH)->trigger();
    QCOMPARE(h.prompts.inner.dialogsRun, 2);
    h.frame->Action(CMainFrame::ID_COPY_TEXT)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hola"));
    h.frame->Action(CMainFrame::ID_TEST_START)->trigger();
    QCOMPARE(h.View().State(), State::Ready);
    QCOMPARE(h.View().toPlainText(), QString());

    // "Progreso" reads the log the view writes: the test above is its one
    // row. It does not open while a test runs.
    int rows = -1;
    h.prompts.inner.onDialog = [&](QDialog& dialog) {
        auto* progress = qobject_cast<quirtel::CProgressDlg*>(&dialog);
        rows = progress ? progress->Model().rowCount() : -2;
        return int(QDialog::Rejected);
    };
    h.frame->Action(CMainFrame::ID_PROGRESS)->trigger();
    QCOMPARE(rows, 1);
    h.Type(QStringLiteral("x"));
    h.frame->Action(CMainFrame::ID_PROGRESS)->trigger();
    QCOMPARE(h.prompts.inner.dialogsRun, 3);
}

void CMainFrameTest::barsAndStatusTexts() {
    FrameHarness h;
    // "Ver" hides and shows each bar; the check mark follows.
    for (QWidget* bar : std::initializer_list<QWidget*>{h.frame->ToolBar(), h.frame->statusBar()}) {
        QAction* toggle = h.frame->Action(bar == h.frame->ToolBar() ? 59392 : 59393);
        for (const bool visible : {false, true}) {
            toggle->trigger();
            QCOMPARE(bar->isVisible(), visible);
            QCOMPARE(toggle->isChecked(), visible);
        }
    }

    // A prompt while the pointer rests on a button, "Preparado" otherwise.
    QCOMPARE(h.Message(), QStringLiteral("Preparado"));
    QWidget* finish = h.frame->ToolBar()->widgetForAction(h.frame->Action(32772));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), finish->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(finish, &enter);
    QCOMPARE(h.Message(),
             QStringLiteral("Detiene la prueba en curso y muestra el resultado final"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(finish, &leave);
    QCOMPARE(h.Message(), QStringLiteral("Preparado"));
}

void CMainFrameTest::lockPanesFollowTheSource() {
    FrameHarness h;
    auto texts = [&] {
        QStringList shown;
        for (int id : {59137, 59138, 59139}) {
            shown << h.frame->Pane(id)->text();
        }
        return shown;
    };
    QCOMPARE(texts(), (QStringList{QString(), QString(), QString()}));  // unknown
    // A lock key updates the panes at once; the key is not typed.
    h.locks.states = {true, false, true};
    QTest::keyClick(&h.View(), Qt::Key_CapsLock);
    QCOMPARE(texts(), (QStringList{QStringLiteral("MAY"), QString(), QStringLiteral("DESP")}));
    QCOMPARE(h.frame->Pane(59138)->accessibleDescription(), QStringLiteral("desactivado"));
    QCOMPARE(h.View().State(), State::Ready);
    // Changes made elsewhere show within a second.
    h.locks.states = {false, true, std::nullopt};
    QTRY_COMPARE_WITH_TIMEOUT(texts(), (QStringList{QString(), QStringLiteral("NUM"), QString()}),
                              3000);
}

void CMainFrameTest::keysReachTheirOwner_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<State>("state");
    // Each row types "hola" first, so the test runs.
    QTest::newRow("a letter is typed") << QKeySequence(Qt::Key_N) << "holan" << State::Running;
    QTest::newRow("Alt+Backspace undoes")
        << QKeySequence(Qt::ALT | Qt::Key_Backspace) << "" << State::Running;
    QTest::newRow("Backspace is typed")
        << QKeySequence(Qt::Key_Backspace) << "hol" << State::Running;
    QTest::newRow("Ctrl+V is refused")
        << QKeySequence(Qt::CTRL | Qt::Key_V) << "hola" << State::Running;
    QTest::newRow("Shift+Insert is refused")
        << QKeySequence(Qt::SHIFT | Qt::Key_Insert) << "hola" << State::Running;
    QTest::newRow("F6 does nothing") << QKeySequence(Qt::Key_F6) << "hola" << State::Running;
    QTest::newRow("Shift+F6 does nothing")
        << QKeySequence(Qt::SHIFT | Qt::Key_F6) << "hola" << State::Running;
    QTest::newRow("F2 is the view's") << QKeySequence(Qt::Key_F2) << "hola" << State::Finished;
    // Control characters act as the keys they stand for.
    QTest::newRow("Shift+Tab is a tab")
        << QKeySequence(Qt::SHIFT | Qt::Key_Backtab) << "hola\t" << State::Running;
    QTest::newRow("Ctrl+I is a tab")
        << QKeySequence(Qt::CTRL | Qt::Key_I) << "hola\t" << State::Running;
    QTest::newRow("Ctrl+H is Backspace")
        << QKeySequence(Qt::CTRL | Qt::Key_H) << "hol" << State::Running;
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_J),
          QKeySequence(Qt::CTRL | Qt::Key_M)}) {
        QTest::newRow(qPrintable(keys.toString() + QStringLiteral(" is Enter"))) << keys << "hola\n"
                                                                                 << State::Running;
    }
}

void CMainFrameTest::keysReachTheirOwner() {
    QFETCH(QKeySequence, keys);
    FrameHarness h;
    QVERIFY(h.active);
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    h.Type(QStringLiteral("hola"));
    h.Press(keys);
    QTEST(h.View().toPlainText(), "text");
    QTEST(h.View().State(), "state");
    QVERIFY(h.prompts.inner.messages.isEmpty());
}

void CMainFrameTest::documentAccelerators_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("chosen");  // what the chooser answers, in the temp folder
    QTest::addColumn<QString>("caption");
    const QKeySequence open(Qt::CTRL | Qt::Key_O);
    const QString running = QStringLiteral(u"\u00A1Empezando!");
    // Each row types "hola" first, so the test runs.
    QTest::newRow("Ctrl+N drops the test")
        << QKeySequence(Qt::CTRL | Qt::Key_N) << "" << PromptCaption();
    QTest::newRow("Ctrl+O prepares a test") << open << "notas.txt" << PromptCaption();
    QTest::newRow("Ctrl+O cancelled") << open << "" << running;
    QTest::newRow("Ctrl+S names the file") << QKeySequence(Qt::CTRL | Qt::Key_S) << "vacio.txt"
                                           << QStringLiteral("vacio.txt - Quirtel");
}

void CMainFrameTest::documentAccelerators() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, chosen);
    QFETCH(QString, caption);
    FrameHarness h;
    QVERIFY(h.active);
    QFile notes(h.dir.filePath(QStringLiteral("notas.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("contenido") == 9);
    notes.close();
    const QString path = chosen.isEmpty() ? QString() : h.dir.filePath(chosen);
    h.prompts.inner.nextOpenFileName = path;
    h.prompts.inner.nextSaveFileName = path;

    h.Type(QStringLiteral("hola"));
    h.Press(keys);
    QCOMPARE(h.frame->windowTitle(), caption);
    // A new test, or the running one untouched; never a result or a record.
    const bool prepared = caption == PromptCaption();
    QCOMPARE(h.View().State(), prepared ? State::Ready : State::Running);
    QCOMPARE(h.View().toPlainText(), prepared ? QString() : QStringLiteral("hola"));
    QCOMPARE(h.View().TestTimer().isActive(), !prepared);
    QVERIFY(h.prompts.inner.messages.isEmpty());
    QCOMPARE(h.prompts.inner.dialogsRun, 0);
    QVERIFY(!QFile::exists(h.LogPath()));
    QCOMPARE(notes.size(), 9);
    if (keys == QKeySequence(Qt::CTRL | Qt::Key_S)) {
        QCOMPARE(QFileInfo(path).size(), 0);
        h.prompts.inner.nextSaveFileName.clear();  // the second save asks for no name
        h.Press(keys);
        QCOMPARE(h.document->PathName(), QFileInfo(path).absoluteFilePath());
    }
}

void CMainFrameTest::optionsDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<bool>("switches");  // the value set on all three switches
    QTest::addColumn<int>("testLength");
    QTest::newRow("new values") << true << "25" << false << 1500;
    QTest::newRow("OK without changes") << true << "10" << true << 600;
    QTest::newRow("cancelled") << false << "25" << false << 600;
}

void CMainFrameTest::optionsDialog() {
    QFETCH(bool, accept);
    QFETCH(bool, switches);
    FrameHarness h;
    QTest::keyClick(&h.View(), Qt::Key_F3);  // key sound on: the dialog shows it
    h.document->SetTitle(QStringLiteral("notas.txt"));
    QList<bool> shown;
    h.prompts.inner.onDialog = [&](QDialog& dialog) {
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("control1000"));
        shown << (field->text() == QStringLiteral("10"));
        for (int id : {1004, 1005, 1006}) {
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("control%1").arg(id));
            shown << box->isChecked();
            box->setChecked(switches);
        }
        QFETCH(QString, minutes);
        field->setText(minutes);
        accept ? dialog.accept() : dialog.reject();
        return dialog.result();
    };
    h.frame->Action(CMainFrame::ID_OPTIONS)->trigger();
    QCOMPARE(shown, (QList<bool>{true, true, true, true}));
    QTEST(h.View().Settings().testLength, "testLength");
    const bool kept = !accept || switches;
    QCOMPARE((QList<bool>{h.View().Settings().capitalsDouble, h.View().Settings().keySound,
                          h.View().Settings().spellCheck}),
             (QList<bool>{kept, kept, kept}));
    // OK always prepares a new test, whose prompt shows the length.
    QCOMPARE(h.frame->windowTitle(), accept ? PromptCaption(h.View().Settings().testLength / 60)
                                            : QStringLiteral("notas.txt - Quirtel"));
}

void CMainFrameTest::placementIsKeptAcrossRuns_data() {
    QTest::addColumn<QRect>("stored");  // the outer rectangle in the registry; null: none
    QTest::addColumn<QRect>("opened");
    const QRect defaults(0, 0, 640, 480);
    QTest::newRow("nothing stored") << QRect() << defaults;
    QTest::newRow("stored placement") << QRect(100, 50, 500, 350) << QRect(100, 50, 500, 350);
    QTest::newRow("outside every screen") << QRect(9000, 9000, 500, 350) << defaults;
}

void CMainFrameTest::placementIsKeptAcrossRuns() {
    QFETCH(QRect, stored);
    QFETCH(QRect, opened);
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("quirtel/registry.reg"));
    if (!stored.isNull()) {
        quirtel::RegistryFile registry(path.toStdString());
        QVERIFY(quirtel::SaveWindowPlacement(registry, quirtel::WindowRectFor(stored)));
    }
    // The offscreen platform frames its windows too: the outer rectangle counts.
    const QRect moved(120, 70, 520, 360);
    {
        FrameHarness h(path);
        QTRY_COMPARE(h.frame->frameGeometry(), opened);
        h.frame->move(moved.topLeft());
        h.frame->resize(moved.size() - (h.frame->frameGeometry().size() - h.frame->size()));
        QCOMPARE(h.frame->frameGeometry(), moved);
        h.frame->Action(CMainFrame::ID_APP_EXIT)->trigger();
    }
    // Right and bottom lie one past the window's last pixel.
    quirtel::RegistryFile registry(path.toStdString());
    QCOMPARE(quirtel::LoadWindowPlacement(registry),
             (quirtel::WindowRect{120, 70, 120 + 520, 70 + 360}));
    FrameHarness next(path);
    QTRY_COMPARE(next.frame->frameGeometry(), moved);
}

// Off at first; each change is in the file at once and the next window
// starts with it, beside the placement the closing window writes.
void CMainFrameTest::reviewFirstIsKeptAcrossRuns() {
    QTemporaryDir config;
    const std::string path = config.filePath(QStringLiteral("registry.reg")).toStdString();
    for (const bool before : {false, true}) {
        FrameHarness h(QString::fromStdString(path));
        QAction* item = h.frame->Action(CMainFrame::ID_REVIEW_FIRST);
        QVERIFY(item->isCheckable() && item->isEnabled());
        QCOMPARE(item->isChecked(), before);
        QCOMPARE(h.View().ReviewBeforeResult(), before);
        item->trigger();
        QCOMPARE(h.View().ReviewBeforeResult(), !before);
        quirtel::RegistryFile stored(path);
        QCOMPARE(quirtel::LoadReviewBeforeResult(stored), !before);
        h.frame->close();
    }
    quirtel::RegistryFile stored(path);
    QVERIFY(!quirtel::LoadReviewBeforeResult(stored));
    QVERIFY(stored.State() == quirtel::RegistryFile::LoadState::Loaded);
}

void CMainFrameTest::exitClosesWithoutAQuestion() {
    FrameHarness h;
    h.Type(QStringLiteral("texto"));
    h.frame->Action(CMainFrame::ID_APP_EXIT)->trigger();
    QVERIFY(!h.frame->isVisible());
    QVERIFY(h.prompts.inner.messages.isEmpty());
    QCOMPARE(h.prompts.inner.dialogsRun, 0);
}

// One "a" reaches "Acerca de" while "Abortar" is disabled; while both are
// enabled it only highlights, as a clash does.
void CMainFrameTest::mnemonicsSkipDisabledItems() {
    FrameHarness h;
    QVERIFY(h.active);
    QMenu* menu = h.frame->MainMenu();
    QAction* abort = h.frame->Action(CMainFrame::ID_TEST_ABORT);
    QAction* reviewFirst = h.frame->Action(CMainFrame::ID_REVIEW_FIRST);
    QAction* about = h.frame->Action(CMainFrame::ID_APP_ABOUT);
    // "a" walks the enabled items of the letter: "&Abortar" only while a test runs.
    for (const bool running : {false, true}) {
        if (running) {
            h.Type(QStringLiteral("x"));
        }
        menu->popup(h.frame->mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QList<QAction*> walk = running ? QList<QAction*>{abort, reviewFirst, about}
                                             : QList<QAction*>{reviewFirst, about};
        for (QAction* expected : walk) {
            QTest::keyClick(menu, Qt::Key_A);
            QCOMPARE(menu->activeAction(), expected);
        }
        menu->hide();
    }
    // A letter with one enabled item gives its command at once.
    h.Press(QKeySequence(Qt::Key_Escape));
    const int before = h.prompts.inner.dialogsRun;
    menu->popup(h.frame->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::keyClick(menu, Qt::Key_O);
    QTRY_COMPARE(h.prompts.inner.dialogsRun, before + 1);
    QVERIFY(!menu->isVisible());
}

void CMainFrameTest::copyPracticeRunsAndIsKept() {
    QTemporaryDir data;
    const QString texts = data.filePath(QStringLiteral("textos"));
    QVERIFY(QDir().mkpath(texts));
    QFile text(texts + QStringLiteral("/administrativo-01-plaza.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QStringLiteral(u"La plaza\nEl cami\u00F3n lleg\u00F3 a la plaza.\n").toUtf8());
    text.close();
    const QString registry = data.filePath(QStringLiteral("registry.reg"));

    QStringList figures;
    {
        FrameHarness h(registry, texts);
        QVERIFY(h.frame->Action(CMainFrame::ID_FREE_TEST)->isChecked());
        h.prompts.inner.onDialog = [&figures](QDialog& dialog) {
            if (auto* choose = qobject_cast<quirtel::CCopyTextDlg*>(&dialog)) {
                choose->Texts().selectRow(0);
                return int(QDialog::Accepted);
            }
            for (const char* name : {"errors", "wordsReached", "accuracy"}) {
                figures << dialog.findChild<QLabel*>(QString::fromLatin1(name))->text();
            }
            const auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("errorTable"));
            figures << table->item(0, quirtel::CCopyResultDlg::KIND)->text();
            return int(QDialog::Accepted);
        };
        h.frame->Action(CMainFrame::ID_COPY_PRACTICE)->trigger();
        QVERIFY(h.View().IsCopyTest());
        QVERIFY(h.frame->ModelView().isVisible());
        QVERIFY(!h.frame->Action(CMainFrame::ID_FREE_TEST)->isChecked());

        // The next word follows the typed words; the clock starts as in the
        // free test.
        h.Type(QStringLiteral("El camion "));
        QCOMPARE(h.View().State(), State::Running);
        QCOMPARE(h.frame->ModelView().WordStart(), 10);
        h.Type(QStringLiteral(u"lleg\u00F3 a "));
        h.clock.Advance(60);
        h.View().OnTestTick();
        h.Press(QKeySequence(Qt::Key_F2));
        QCOMPARE(h.View().State(), State::Finished);
        QCOMPARE(figures, (QStringList{QStringLiteral("1"), QStringLiteral("4"),
                                       QStringLiteral("75.00 %"), QStringLiteral("tilde")}));
        // The mistyped word keeps its mark, with the model's word.
        QTextCursor inWord(h.View().document());
        inWord.setPosition(5);
        QCOMPARE(h.View().FaultToolTipAt(h.View().cursorRect(inWord).center()),
                 QStringLiteral(u"Modelo: cami\u00F3n (tilde)"));
        QFile log(h.LogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString line = quirtel::FromCp1252(log.readAll().toStdString());
        // 19 keystrokes in a minute, less 5 for the error.
        QVERIFY2(line.endsWith(QStringLiteral(
                     u"Faltas: 1 --- Pulsaciones: 14.00 caracteres/min --- Copia: La plaza "
                     u"--- Precisi\u00F3n: 75.00 %")),
                 qPrintable(line));
    }
    {
        // The next run starts with the same text; free typing is kept too.
        FrameHarness h(registry, texts);
        QVERIFY(h.View().IsCopyTest());
        QCOMPARE(h.View().Settings().testLength, 600);
        // Typing the model's last word whole ends the test.
        h.Type(QStringLiteral(u"El cami\u00F3n lleg\u00F3 a la plaza"));
        QCOMPARE(h.View().State(), State::Running);
        h.Type(QStringLiteral("."));
        QTRY_COMPARE(h.View().State(), State::Finished);
        h.frame->Action(CMainFrame::ID_FREE_TEST)->trigger();
        QVERIFY(!h.View().IsCopyTest());
        QVERIFY(!h.frame->ModelView().isVisible());
    }
    FrameHarness h(registry, texts);
    QVERIFY(!h.View().IsCopyTest());
    QVERIFY(h.frame->Action(CMainFrame::ID_FREE_TEST)->isChecked());
}

QTEST_MAIN(CMainFrameTest)
#include "CMainFrameTest.moc"
