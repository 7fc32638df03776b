#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "ViewHarness.h"
#include "core/results/FinalResult.h"
#include "core/spelling/WordList.h"
#include "gui/results/CResultDlg.h"

using quirtel::CTapoView;
using quirtel::testing::ViewHarness;
using State = CTapoView::TestState;

Q_DECLARE_METATYPE(CTapoView::TestState)

namespace {

const QString PROMPT_10 = QStringLiteral(
    "Empieza a escribir cuando quieras... (tiempo total 10:00 minutos) F2 para acabar y ESC "
    "para abortar");

// Space-separated steps: F2, F3, Esc, tick (one timer tick), +N (the clock moves
// N seconds), prepare, finish, abort (the view's commands); anything else is typed.
void Run(ViewHarness& h, const QString& script) {
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == QStringLiteral("F2")) {
            h.Key(Qt::Key_F2);
        } else if (step == QStringLiteral("F3")) {
            h.Key(Qt::Key_F3);
        } else if (step == QStringLiteral("Esc")) {
            h.Key(Qt::Key_Escape);
        } else if (step == QStringLiteral("tick")) {
            h.view->OnTestTick();
        } else if (step.startsWith(u'+')) {
            h.clock.Advance(step.mid(1).toInt());
        } else if (step == QStringLiteral("prepare")) {
            h.view->PrepareTest();
        } else if (step == QStringLiteral("finish")) {
            h.view->FinishTest();
        } else if (step == QStringLiteral("abort")) {
            h.view->AbortTest();
        } else {
            h.Type(step);
        }
    }
}

// Marks are read from the character that follows `position`.
QTextCharFormat FormatAt(const CTapoView& view, int position) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

bool IsMarked(const CTapoView& view, int position) {
    const QTextCharFormat format = FormatAt(view, position);
    return format.fontUnderline() && format.foreground().color() == QColor(200, 100, 100);
}

int Records(const QByteArray& log) {
    return static_cast<int>(log.count("\r\n"));
}

// Answers the result dialog with a fault count, through its own "Aceptar".
std::function<int(QDialog&)> ConfirmFaults(const QString& count) {
    return [count](QDialog& shown) {
        auto& dialog = static_cast<quirtel::CResultDlg&>(shown);
        dialog.FaultsField().setText(count);
        QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
        return dialog.result();
    };
}

}  // namespace

class CTapoViewTest : public QObject {
    Q_OBJECT

private slots:
    void firstSetUpMakesATestReady();
    void transitions_data();
    void transitions();
    void clockAndCaptions();
    void finishWritesTheRecord();
    void dialogAnswerDecidesTheFaults_data();
    void dialogAnswerDecidesTheFaults();
    void showingAgainChangesNothing();
    void spellCheckOff();
    void marksFaultyTokensUntilTheNextTest();
    void countsOverWrappedLines_data();
    void countsOverWrappedLines();
    void keysInReady_data();
    void keysInReady();
    void editingKeysWorkWhileTyping();
    void finishedTextCannotBeChanged_data();
    void finishedTextCannotBeChanged();
    void undoCannotBringBackThePreviousTest();
    void clicksNeverMoveTheCaret();
    void pasteIsRefused_data();
    void pasteIsRefused();
    void keyClicksAndF3();
    void deadKeyThenComposedLetter();
    void copyTextToClipboard();
    void logFailuresAreReported_data();
    void logFailuresAreReported();
    void missingWordListIsReported();
};

void CTapoViewTest::firstSetUpMakesATestReady() {
    ViewHarness h;
    QCOMPARE(h.view->State(), State::Ready);
    QCOMPARE(h.document->Title(), PROMPT_10);
    QVERIFY(!h.view->TestTimer().isActive());
    QCOMPARE(h.view->TestTimer().interval(), 1000);
    QVERIFY(!h.view->TestTimer().isSingleShot());
    QCOMPARE(h.view->accessibleName(), QStringLiteral("Texto de la prueba"));
}

void CTapoViewTest::transitions_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("records");
    auto row = [](const char* name, const char* script, State state, const char* text, int dialogs,
                  int messages, int records) {
        QTest::newRow(name) << QString::fromUtf8(script) << state << QString::fromUtf8(text)
                            << dialogs << messages << records;
    };
    row("Ready: F2 does nothing", "F2", State::Ready, "", 0, 0, 0);
    row("Ready: F3 does not start", "F3", State::Ready, "", 0, 0, 0);
    row("Ready: Escape is a character", "Esc", State::Running, "", 0, 0, 0);
    row("Ready: a character starts", "a", State::Running, "a", 0, 0, 0);
    row("Running: characters go in", "a b", State::Running, "ab", 0, 0, 0);
    row("Running: F2 finishes", "ab F2", State::Finished, "ab", 1, 0, 1);
    row("Running: finish command", "ab finish", State::Finished, "ab", 1, 0, 1);
    row("Running: Escape aborts", "ab Esc", State::Ready, "", 0, 1, 0);
    row("Running: abort command", "ab abort", State::Ready, "", 0, 1, 0);
    row("Running: time up", "ab +600 tick", State::Finished, "ab", 1, 0, 1);
    row("Finished: characters refused", "ab F2 cd", State::Finished, "ab", 1, 0, 1);
    row("Finished: Escape ignored", "ab F2 Esc", State::Finished, "ab", 1, 0, 1);
    row("Finished: finish shows again", "ab F2 finish", State::Finished, "ab", 2, 0, 1);
    row("Finished: F2 prepares", "ab F2 F2", State::Ready, "", 1, 0, 1);
    row("after abort typing restarts", "ab Esc c", State::Running, "c", 0, 1, 0);
    row("second test adds a record", "ab F2 F2 c F2", State::Finished, "c", 2, 0, 2);
}

void CTapoViewTest::transitions() {
    QFETCH(QString, script);
    ViewHarness h;
    Run(h, script);
    QTEST(h.view->State(), "state");
    QTEST(h.Text(), "text");
    QTEST(h.prompts.dialogsRun, "dialogs");
    QTEST(static_cast<int>(h.prompts.messages.size()), "messages");
    QTEST(Records(h.Log()), "records");
    QCOMPARE(h.view->TestTimer().isActive(), h.view->State() == State::Running);
    if (h.prompts.messages.size() == 1) {
        QCOMPARE(h.prompts.messages.front(), QStringLiteral("Prueba abortada."));
    }
    if (h.view->State() == State::Ready) {
        QCOMPARE(h.document->Title(), PROMPT_10);
    }
}

void CTapoViewTest::clockAndCaptions() {
    ViewHarness h;
    Run(h, QStringLiteral("hola"));
    QCOMPARE(h.view->windowTitle(), QStringLiteral(u"\u00A1Empezando!"));
    Run(h, QStringLiteral("+205 tick"));
    QCOMPARE(h.view->windowTitle(), QStringLiteral("(Total 10:00) --- 03:25 ---"));
    Run(h, QStringLiteral("+395 tick"));
    QCOMPARE(h.view->State(), State::Finished);
    QCOMPARE(h.view->Result().elapsedSeconds, 600);
    const QString finished = QStringLiteral("Prueba acabada: 0.40 caracteres/min en 10:00 minutos");
    QCOMPARE(h.view->windowTitle(), finished);
    Run(h, QStringLiteral("+1 tick"));
    QCOMPARE(h.view->windowTitle(), finished);

    // Another length shows in the prompt and the tick caption.
    auto settings = h.view->Settings();
    settings.testLength = 90;
    h.view->SetSettings(settings);
    Run(h, QStringLiteral("prepare"));
    QVERIFY(h.document->Title().contains(QStringLiteral("(tiempo total 01:30 minutos)")));
    Run(h, QStringLiteral("a +30 tick"));
    QCOMPARE(h.view->windowTitle(), QStringLiteral("(Total 01:30) --- 00:30 ---"));
}

void CTapoViewTest::finishWritesTheRecord() {
    ViewHarness h;
    // F2 before the first tick: nothing has elapsed.
    Run(h, QStringLiteral("hola +5 F2"));
    const QByteArray first = "\r\n" +
                             QByteArray::fromStdString(quirtel::FormatDateText(h.clock.now - 5)) +
                             " --- 0.00 caracteres/min --- 00:00 minutos --- Faltas: 0 --- "
                             "Pulsaciones: 0.00 caracteres/min";
    QCOMPARE(h.Log(), first);

    Run(h, QStringLiteral("F2"));
    h.Type(QStringLiteral("Hola Mundo"));
    Run(h, QStringLiteral("+60 tick F2"));
    QCOMPARE(h.view->Result().keystrokes, 12);
    QCOMPARE(h.view->Result().capitals, 2);
    QCOMPARE(h.Log(), first + "\r\n" +
                          QByteArray::fromStdString(quirtel::FormatDateText(h.clock.now)) +
                          " --- 12.00 caracteres/min --- 01:00 minutos --- Faltas: 0 --- "
                          "Pulsaciones: 12.00 caracteres/min");
    QCOMPARE(h.sound.played.back(), std::string("./datos/0.wav"));
}

void CTapoViewTest::dialogAnswerDecidesTheFaults_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("netSpeed");
    QTest::addColumn<QByteArray>("faults");
    QTest::newRow("Aceptar with 1") << true << QStringLiteral("1.00") << QByteArray("1");
    QTest::newRow("Rechazar cambios") << false << QStringLiteral("-1.00") << QByteArray("3");
}

void CTapoViewTest::dialogAnswerDecidesTheFaults() {
    QFETCH(bool, accept);
    QFETCH(QString, netSpeed);
    QFETCH(QByteArray, faults);
    ViewHarness h;
    if (accept) {
        h.prompts.onDialog = ConfirmFaults(QStringLiteral("1"));
    }
    // Three words the list lacks, 8 keystrokes in 4 minutes: speed 2.00.
    Run(h, QStringLiteral("qz"));
    h.Type(QStringLiteral(" xw jk"));
    Run(h, QStringLiteral("+240 tick F2"));
    QCOMPARE(h.view->windowTitle(),
             QStringLiteral("Prueba acabada: %1 caracteres/min en 04:00 minutos").arg(netSpeed));
    QVERIFY(h.Log().endsWith(" --- 2.00 caracteres/min --- 04:00 minutos --- Faltas: " + faults +
                             " --- Pulsaciones: " + netSpeed.toLatin1() + " caracteres/min"));
}

void CTapoViewTest::showingAgainChangesNothing() {
    ViewHarness h;
    h.prompts.onDialog = ConfirmFaults(QStringLiteral("1"));
    Run(h, QStringLiteral("qz"));
    h.Type(QStringLiteral(" xw"));
    Run(h, QStringLiteral("+60 tick F2"));
    const QString caption = h.view->windowTitle();
    const QByteArray log = h.Log();
    bool editable = true;
    QString shownFaults;
    h.prompts.onDialog = [&](QDialog& shown) {
        auto& dialog = static_cast<quirtel::CResultDlg&>(shown);
        editable = dialog.FaultsEditable();
        shownFaults = dialog.FaultsField().text();
        dialog.FaultsField().setText(QStringLiteral("7"));
        return int(QDialog::Accepted);
    };
    h.view->FinishTest();
    QVERIFY(!editable);
    QCOMPARE(shownFaults, QStringLiteral("1"));
    QCOMPARE(h.view->Result().faults, 1);
    QCOMPARE(h.view->windowTitle(), caption);
    QCOMPARE(h.Log(), log);
    QCOMPARE(h.sound.played.size(), std::size_t{1});
}

void CTapoViewTest::spellCheckOff() {
    ViewHarness h;
    auto settings = h.view->Settings();
    settings.spellCheck = false;
    h.view->SetSettings(settings);
    bool editable = true;
    h.prompts.onDialog = [&](QDialog& shown) {
        editable = static_cast<quirtel::CResultDlg&>(shown).FaultsEditable();
        return int(QDialog::Rejected);
    };
    Run(h, QStringLiteral("qz +60 tick F2"));
    QVERIFY(!editable);
    QCOMPARE(h.view->Result().faults, 0);
    QVERIFY(!IsMarked(*h.view, 0));
    QVERIFY(
        h.Log().endsWith("Faltas: <ortograf\xED"
                         "a desactivada> --- Pulsaciones: 2.00 caracteres/min"));
}

void CTapoViewTest::marksFaultyTokensUntilTheNextTest() {
    ViewHarness h;
    h.Type(QStringLiteral("hola qz mundo\n(xw)."));
    Run(h, QStringLiteral("F2"));
    QCOMPARE(h.view->Result().faults, 2);
    const QString text = h.Text();
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n') {
            continue;
        }
        const bool faulty = (i >= 5 && i <= 6) || i >= 14;
        QVERIFY2(IsMarked(*h.view, i) == faulty, qPrintable(QString::number(i)));
    }
    QVERIFY(!h.view->textCursor().hasSelection());

    Run(h, QStringLiteral("F2 abc"));
    for (int i = 0; i < 3; ++i) {
        const QTextCharFormat format = FormatAt(*h.view, i);
        QVERIFY(!format.fontUnderline());
        QCOMPARE(format.foreground().color(), h.view->palette().color(QPalette::Text));
    }
}

void CTapoViewTest::countsOverWrappedLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capitals");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("two paragraphs") << QStringLiteral("abc\nde") << 0;
    QTest::newRow("ends with a break") << QStringLiteral("abc\n") << 0;
    QTest::newRow("wrapped paragraph")
        << QStringLiteral(
               "Uno dos tres cuatro cinco seis siete ocho nueve diez once doce trece "
               "catorce quince\nDieciseis")
        << 2;
    QTest::newRow("Spanish letters") << QStringLiteral(u"\u00D1and\u00FA \u00C1vila\n\u00FC") << 0;
}

void CTapoViewTest::countsOverWrappedLines() {
    QFETCH(QString, text);
    ViewHarness h(QByteArray(), QSize(160, 400));
    h.Type(text);
    QCOMPARE(h.Text(), text);

    const QStringList paragraphs = text.split(u'\n');
    const int breaks = static_cast<int>(paragraphs.size()) - 1;
    const int characters = static_cast<int>(text.size()) - breaks;
    int sum = 0;
    QString joined;
    for (int line = 0; line < h.view->Area().LineCount(); ++line) {
        const int start = h.view->Area().LineIndex(line);
        std::string bytes;
        QCOMPARE(h.view->Area().GetLine(line, h.view->Area().LineLength(start), bytes),
                 h.view->Area().LineLength(start));
        sum += h.view->Area().LineLength(start);
        if (line > 0 && h.view->document()->findBlock(start).position() == start) {
            joined += u'\n';
        }
        joined += quirtel::FromCp1252(bytes);
    }
    QCOMPARE(joined, text);
    QCOMPARE(sum, characters);
    QCOMPARE(h.view->Area().TextLength(), characters + 2 * breaks);
    if (text.size() > 60) {
        QVERIFY(h.view->Area().LineCount() > paragraphs.size() + 1);
    }

    Run(h, QStringLiteral("F2"));
    QCOMPARE(h.view->Result().lineBreaks, breaks);
    QTEST(h.view->Result().capitals, "capitals");
    QCOMPARE(h.view->Result().keystrokes, characters + breaks + h.view->Result().capitals);
}

void CTapoViewTest::keysInReady_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<State>("state");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << State::Ready;
    QTest::newRow("Left") << int(Qt::Key_Left) << 0 << State::Ready;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0 << State::Ready;
    QTest::newRow("F5") << int(Qt::Key_F5) << 0 << State::Ready;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << State::Ready;
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << State::Ready;
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << ctrl << State::Ready;
    QTest::newRow("Alt+M") << int(Qt::Key_M) << int(Qt::AltModifier) << State::Ready;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << State::Running;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << State::Running;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << State::Running;
}

void CTapoViewTest::keysInReady() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ViewHarness h;
    h.Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(h.view->State(), "state");
    QVERIFY(h.Text().isEmpty() || key == Qt::Key_Tab);
}

void CTapoViewTest::editingKeysWorkWhileTyping() {
    ViewHarness h;
    h.Type(QStringLiteral("abc"));
    h.Key(Qt::Key_Left);
    h.Key(Qt::Key_Left);
    h.Key(Qt::Key_Delete);
    h.Key(Qt::Key_Home);
    h.Type(QStringLiteral("x"));
    h.Key(Qt::Key_End);
    h.Key(Qt::Key_Backspace);
    h.Type(QStringLiteral("y"));
    QCOMPARE(h.Text(), QStringLiteral("xay"));
    // X11 sends Delete with a DEL character as its text; it is no character.
    h.Key(Qt::Key_Home);
    h.RawKey(Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QCOMPARE(h.Text(), QStringLiteral("ay"));
    // Shift+Enter breaks the paragraph like Enter, so the break counts twice.
    h.Key(Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(h.view->document()->blockCount(), 2);
    QCOMPARE(h.view->Area().TextLength(), 4);
}

void CTapoViewTest::finishedTextCannotBeChanged_data() {
    QTest::addColumn<QString>("keys");
    QTest::newRow("letters") << QStringLiteral("z");
    QTest::newRow("Backspace") << QStringLiteral("backspace");
    QTest::newRow("Delete after Home") << QStringLiteral("home delete");
    QTest::newRow("Return") << QStringLiteral("return");
    QTest::newRow("select and cut") << QStringLiteral("shift+home ctrl+x");
    QTest::newRow("undo") << QStringLiteral("ctrl+z");
    QTest::newRow("input method") << QStringLiteral("commit");
}

void CTapoViewTest::finishedTextCannotBeChanged() {
    QFETCH(QString, keys);
    ViewHarness h;
    h.Type(QStringLiteral("hola qz"));
    Run(h, QStringLiteral("F2"));
    const QString html = h.view->document()->toHtml();
    const int caret = h.view->textCursor().position();
    for (const QString& k : keys.split(u' ')) {
        if (k == QStringLiteral("backspace")) {
            h.Key(Qt::Key_Backspace);
        } else if (k == QStringLiteral("home")) {
            h.Key(Qt::Key_Home);
        } else if (k == QStringLiteral("delete")) {
            h.Key(Qt::Key_Delete);
        } else if (k == QStringLiteral("return")) {
            h.Key(Qt::Key_Return);
        } else if (k == QStringLiteral("shift+home")) {
            h.Key(Qt::Key_Home, Qt::ShiftModifier);
        } else if (k == QStringLiteral("ctrl+x")) {
            h.Key(Qt::Key_X, Qt::ControlModifier);
        } else if (k == QStringLiteral("ctrl+z")) {
            h.Key(Qt::Key_Z, Qt::ControlModifier);
        } else if (k == QStringLiteral("commit")) {
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral(u"\u00E9"));
            QApplication::sendEvent(h.view.get(), &commit);
        } else {
            h.Type(k);
        }
    }
    QCOMPARE(h.view->document()->toHtml(), html);
    QCOMPARE(h.view->textCursor().position(), caret);
    QCOMPARE(h.view->State(), State::Finished);
}

void CTapoViewTest::undoCannotBringBackThePreviousTest() {
    ViewHarness h;
    Run(h, QStringLiteral("abc F2 F2"));
    h.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.Text(), QString());
    QCOMPARE(h.view->State(), State::Ready);
}

void CTapoViewTest::clicksNeverMoveTheCaret() {
    ViewHarness h;
    h.Type(QStringLiteral("hola mundo"));
    for (int i = 0; i < 4; ++i) {
        h.Key(Qt::Key_Left);
    }
    QWidget* surface = h.view->viewport();
    for (bool finished : {false, true}) {
        if (finished) {
            Run(h, QStringLiteral("F2"));
            h.Key(Qt::Key_Left);
        }
        const int caret = h.view->textCursor().position();
        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseDClick(surface, Qt::LeftButton, {}, QPoint(20, 8));
        QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(2, 8));
        QTest::mouseMove(surface, QPoint(60, 8));
        QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(60, 8));
        QCOMPARE(h.view->textCursor().position(), caret);
        QVERIFY(!h.view->textCursor().hasSelection());
    }
}

void CTapoViewTest::pasteIsRefused_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before");
    for (const char* how :
         {"ctrl+v", "ctrl+v from X11", "shift+insert", "middle click", "paste slot", "drop"}) {
        QTest::addRow("%s in Ready", how) << QString::fromUtf8(how) << QString();
        QTest::addRow("%s in Running", how) << QString::fromUtf8(how) << QStringLiteral("ab");
        QTest::addRow("%s in Finished", how) << QString::fromUtf8(how) << QStringLiteral("ab F2");
    }
}

void CTapoViewTest::pasteIsRefused() {
    QFETCH(QString, how);
    QFETCH(QString, before);
    ViewHarness h;
    Run(h, before);
    const State state = h.view->State();
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    if (QApplication::clipboard()->supportsSelection()) {
        QApplication::clipboard()->setText(QStringLiteral("XYZ"), QClipboard::Selection);
    }
    if (how == QStringLiteral("ctrl+v")) {
        h.Key(Qt::Key_V, Qt::ControlModifier);
    } else if (how == QStringLiteral("ctrl+v from X11")) {
        h.RawKey(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    } else if (how == QStringLiteral("shift+insert")) {
        h.Key(Qt::Key_Insert, Qt::ShiftModifier);
    } else if (how == QStringLiteral("middle click")) {
        QTest::mouseClick(h.view->viewport(), Qt::MiddleButton, {}, QPoint(5, 5));
    } else if (how == QStringLiteral("paste slot")) {
        h.view->paste();
    } else {
        QMimeData data;
        data.setText(QStringLiteral("XYZ"));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(h.view->viewport(), &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(h.view->viewport(), &drop);
    }
    QVERIFY(!h.Text().contains(QStringLiteral("XYZ")));
    QCOMPARE(h.view->State(), state);
}

void CTapoViewTest::keyClicksAndF3() {
    ViewHarness h;
    const std::string click = "./datos/Type.wav";
    auto clicks = [&] {
        return static_cast<int>(std::count(h.sound.played.begin(), h.sound.played.end(), click));
    };
    Run(h, QStringLiteral("a"));
    QCOMPARE(clicks(), 0);
    Run(h, QStringLiteral("F3 b"));  // on in Running
    QCOMPARE(clicks(), 1);
    QVERIFY(h.view->Settings().keySound);
    Run(h, QStringLiteral("F2 c"));  // refused characters do not click
    QCOMPARE(clicks(), 1);
    Run(h, QStringLiteral("F3 F3"));  // toggles in Finished too
    QVERIFY(h.view->Settings().keySound);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(h.view.get(), &repeat);  // auto-repeat toggles as well
    QVERIFY(!h.view->Settings().keySound);
    Run(h, QStringLiteral("F3 F2 Esc"));  // Escape starts a test in Ready, and clicks
    QCOMPARE(h.view->State(), State::Running);
    QCOMPARE(clicks(), 2);
}

void CTapoViewTest::deadKeyThenComposedLetter() {
    ViewHarness h;
    Run(h, QStringLiteral("F3"));
    QTest::sendKeyEvent(QTest::Click, h.view.get(), Qt::Key_Dead_Acute, QString(), Qt::NoModifier);
    QCOMPARE(h.view->State(), State::Running);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"\u00E9"));
    QApplication::sendEvent(h.view.get(), &commit);
    QCOMPARE(h.Text(), QStringLiteral(u"\u00E9"));
    QCOMPARE(h.sound.played.size(), std::size_t{2});

    // X11's compose input context swallows the dead key and commits the
    // letter alone: the unseen dead key still counts; a plain commit does not.
    const std::pair<QString, std::size_t> composed[] = {{QStringLiteral(u"\u00FA"), 4},
                                                        {QStringLiteral("'"), 5}};
    for (const auto& [letter, clicks] : composed) {
        QInputMethodEvent alone;
        alone.setCommitString(letter);
        QApplication::sendEvent(h.view.get(), &alone);
        QCOMPARE(h.sound.played.size(), clicks);
    }
    QCOMPARE(h.Text(), QStringLiteral(u"\u00E9\u00FA'"));

    // A preedit alone is no character.
    ViewHarness fresh;
    QInputMethodEvent preedit(QStringLiteral("e"), {});
    QApplication::sendEvent(fresh.view.get(), &preedit);
    QCOMPARE(fresh.view->State(), State::Ready);
}

void CTapoViewTest::copyTextToClipboard() {
    ViewHarness h;
    h.Type(QStringLiteral("hola\nmundo"));
    Run(h, QStringLiteral("F2"));
    QApplication::clipboard()->clear();
    h.view->CopyTextToClipboard();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hola\nmundo"));
    QVERIFY(!h.view->textCursor().hasSelection());
}

void CTapoViewTest::logFailuresAreReported_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("cause");
    QTest::newRow("read-only") << QStringLiteral("read-only") << 5;
    QTest::newRow("locked elsewhere") << QStringLiteral("locked") << 11;
    QTest::newRow("disk full") << QStringLiteral("full") << 13;
}

void CTapoViewTest::logFailuresAreReported() {
    QFETCH(QString, how);
    QFETCH(int, cause);
    ViewHarness h;
    const QByteArray path = QFile::encodeName(h.logPath);
    int lock = -1;
    if (how == QStringLiteral("read-only")) {
        if (geteuid() == 0) {
            QSKIP("root writes read-only files");
        }
        QFile file(h.logPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner));
    } else if (how == QStringLiteral("locked")) {
        lock = ::open(path.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(lock >= 0 && ::flock(lock, LOCK_EX) == 0);
    } else {
        QVERIFY(::symlink("/dev/full", path.constData()) == 0);
    }
    Run(h, QStringLiteral("hola +60 tick F2"));
    if (lock >= 0) {
        ::close(lock);
    }
    QCOMPARE(h.prompts.messages,
             QStringList{QStringLiteral("No puedo escribir datos\n<CFileException(%1)>\n%2")
                             .arg(cause)
                             .arg(h.logPath)});
    QCOMPARE(h.view->State(), State::Finished);
    QVERIFY(h.view->windowTitle().startsWith(QStringLiteral("Prueba acabada: ")));
    if (how != QStringLiteral("full")) {
        QCOMPARE(h.Log(), QByteArray());
    }
}

void CTapoViewTest::missingWordListIsReported() {
    quirtel::testing::FakePrompts prompts;
    quirtel::SpellingResources spelling("/nonexistent/es.dic", {}, &prompts);
    QCOMPARE(prompts.messages,
             QStringList{QStringLiteral(u"No se consigui\u00F3 cargar el diccionario "
                                        u"ortogr\u00E1fico (./datos/ES.dic)")});
    QVERIFY(!spelling.Words().IsLoaded());
}

QTEST_MAIN(CTapoViewTest)
#include "CTapoViewTest.moc"
