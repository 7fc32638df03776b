// The fault review in the typing view: tooltips over the marks of a finished
// test, and "Revisión de faltas" taking words into the personal word list.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCursor>
#include <QToolTip>

#include "ViewHarness.h"
#include "core/spelling/PersonalWordList.h"
#include "gui/results/CResultDlg.h"
#include "gui/results/CReviewDlg.h"

using quirtel::CReviewDlg;
using quirtel::testing::ViewHarness;

namespace {

// Two lines: "cancion" twice (a missing accent), a shape fault, an unknown word.
const QString TEXT = QStringLiteral("cancion hola hola..\nxq Cancion");
const int CANCION_1 = 0;
const int SHAPE = 13;
const int XQ = 20;
const int CANCION_2 = 23;

QByteArray Words() {
    return QByteArray("hola\ncanci\xF3n\n");
}

bool IsMarked(const quirtel::CTapoView& view, int position) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().fontUnderline();
}

// Where the middle of character `position` shows, in viewport coordinates.
QPoint PointOf(const quirtel::CTapoView& view, int position) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    const QRect before = view.cursorRect(cursor);
    cursor.setPosition(position + 1);
    return QPoint((before.left() + view.cursorRect(cursor).left()) / 2, before.center().y());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Finishes a test of TEXT; the result dialog is answered with its default.
void FinishExample(ViewHarness& h) {
    h.Type(TEXT);
    h.Key(Qt::Key_F2);
}

// A review dialog answer: ticks the rows given and returns `result`.
std::function<int(QDialog&)> Review(std::vector<int> rows, int result,
                                    QList<QStringList>* shown = nullptr) {
    return [rows, result, shown](QDialog& d) {
        auto* dialog = qobject_cast<CReviewDlg*>(&d);
        if (dialog == nullptr) {
            return int(QDialog::Rejected);  // the result dialog
        }
        const QTableWidget& table = dialog->Table();
        for (int r = 0; shown != nullptr && r < table.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < CReviewDlg::NOT_A_FAULT; ++c) {
                cells << table.item(r, c)->text();
            }
            shown->append(cells);
        }
        for (const int row : rows) {
            dialog->SetTicked(row, true);
        }
        return result;
    };
}

}  // namespace

class FaultReviewTest : public QObject {
    Q_OBJECT

private slots:
    void tooltipsShowOnceTheResultDialogHasClosed();
    void acceptAddsTheWordAndUnmarksItEverywhere();
    void cancelOrAFailedWriteChangesNothing_data();
    void cancelOrAFailedWriteChangesNothing();
    void anUnusablePersonalListIsSaidAtStartUp();
    void reviewBeforeTheResult_data();
    void reviewBeforeTheResult();
};

void FaultReviewTest::tooltipsShowOnceTheResultDialogHasClosed() {
    ViewHarness h(Words());
    QString duringDialog = QStringLiteral("not asked");
    h.prompts.onDialog = [&](QDialog&) {
        duringDialog = h.view->FaultToolTipAt(PointOf(*h.view, CANCION_1 + 1));
        return int(QDialog::Rejected);
    };
    FinishExample(h);
    QCOMPARE(duringDialog, QString());
    QVERIFY(h.view->CanReviewFaults());

    const struct {
        int position;
        QString tip;
    } cases[] = {
        {CANCION_1 + 1, QStringLiteral(u"Falta de tilde\nSugerencias: canci\u00F3n")},
        {CANCION_2 + 6, QStringLiteral(u"Falta de tilde\nSugerencias: Canci\u00F3n")},
        {SHAPE + 5,
         QStringLiteral(u"Forma incorrecta\nLos signos que rodean la palabra no son v\u00E1lidos")},
        {XQ, QStringLiteral("Palabra desconocida\nSin sugerencias")},
        {9, QString()},  // "hola"
    };
    for (const auto& c : cases) {
        QCOMPARE(h.view->FaultToolTipAt(PointOf(*h.view, c.position)), c.tip);
    }
    QCOMPARE(h.view->FaultToolTipAt(QPoint(400, 300)), QString());  // below the text

    // A tooltip event shows the text; clicks stay refused.
    QHelpEvent help(QEvent::ToolTip, PointOf(*h.view, XQ),
                    h.view->viewport()->mapToGlobal(PointOf(*h.view, XQ)));
    QApplication::sendEvent(h.view->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("Palabra desconocida\nSin sugerencias"));
    const int caret = h.view->textCursor().position();
    QTest::mouseClick(h.view->viewport(), Qt::LeftButton, {}, PointOf(*h.view, XQ));
    QCOMPARE(h.view->textCursor().position(), caret);

    // The next test shows nothing.
    h.Key(Qt::Key_F2);
    QVERIFY(!h.view->CanReviewFaults());
    h.Type(QStringLiteral("xq"));
    QCOMPARE(h.view->FaultToolTipAt(PointOf(*h.view, 0)), QString());
}

void FaultReviewTest::acceptAddsTheWordAndUnmarksItEverywhere() {
    ViewHarness h(Words());
    QList<QStringList> shown;
    h.prompts.onDialog = Review({}, QDialog::Rejected);
    FinishExample(h);
    const QByteArray log = h.Log();
    const auto result = h.view->Result();
    const int caret = h.view->textCursor().position();

    h.prompts.onDialog = Review({3}, QDialog::Accepted, &shown);  // the second "Cancion"
    h.view->ReviewFaults();
    QCOMPARE(shown, (QList<QStringList>{
                        {QStringLiteral("1"), QStringLiteral("cancion"),
                         QStringLiteral("Falta de tilde"), QStringLiteral(u"canci\u00F3n")},
                        {QStringLiteral("1"), QStringLiteral("hola.."),
                         QStringLiteral("Forma incorrecta"), QStringLiteral("(ninguna)")},
                        {QStringLiteral("2"), QStringLiteral("xq"),
                         QStringLiteral("Palabra desconocida"), QStringLiteral("(ninguna)")},
                        {QStringLiteral("2"), QStringLiteral("Cancion"),
                         QStringLiteral("Falta de tilde"), QStringLiteral(u"Canci\u00F3n")}}));
    QCOMPARE(ReadFile(h.personalPath), QByteArray("cancion\n"));
    QVERIFY(h.spelling->Personal().Contains("cancion"));
    // Both occurrences lose their marks; the others keep theirs.
    QVERIFY(!IsMarked(*h.view, CANCION_1));
    QVERIFY(!IsMarked(*h.view, CANCION_2));
    QVERIFY(IsMarked(*h.view, SHAPE));
    QVERIFY(IsMarked(*h.view, XQ));
    QCOMPARE(h.view->FaultToolTipAt(PointOf(*h.view, CANCION_1 + 1)), QString());
    QCOMPARE(h.view->textCursor().position(), caret);
    QVERIFY(!h.view->textCursor().hasSelection());
    // The result and its record stay as they were.
    QCOMPARE(h.Log(), log);
    QCOMPARE(h.view->Result().faults, result.faults);

    // Once the last tickable word is gone only the shape fault is left.
    h.prompts.onDialog = Review({1}, QDialog::Accepted);
    h.view->ReviewFaults();
    QCOMPARE(ReadFile(h.personalPath), QByteArray("cancion\nxq\n"));
    QVERIFY(!IsMarked(*h.view, XQ));
    QVERIFY(h.view->CanReviewFaults());
    QCOMPARE(h.view->toPlainText(), TEXT);
}

void FaultReviewTest::cancelOrAFailedWriteChangesNothing_data() {
    QTest::addColumn<bool>("folderInTheWay");
    QTest::addColumn<int>("answer");
    QTest::newRow("cancel") << false << int(QDialog::Rejected);
    QTest::newRow("write fails") << true << int(QDialog::Accepted);
}

void FaultReviewTest::cancelOrAFailedWriteChangesNothing() {
    QFETCH(bool, folderInTheWay);
    QFETCH(int, answer);
    ViewHarness h(Words());
    if (folderInTheWay) {
        QVERIFY(QDir().mkpath(h.personalPath));
    }
    h.prompts.onDialog = Review({}, QDialog::Rejected);
    FinishExample(h);
    h.prompts.onDialog = Review({0}, answer);
    h.view->ReviewFaults();
    QVERIFY(IsMarked(*h.view, CANCION_1));
    QVERIFY(IsMarked(*h.view, CANCION_2));
    QVERIFY(!QFileInfo(h.personalPath).isFile());
    QCOMPARE(h.prompts.messages.size(), folderInTheWay ? 1 : 0);
    if (folderInTheWay) {
        QVERIFY(h.prompts.messages.front().contains(QStringLiteral("lista personal")));
    }
}

// A personal list that is there but cannot be read is said once, when the
// lists are loaded at start-up, since its words will be marked.
void FaultReviewTest::anUnusablePersonalListIsSaidAtStartUp() {
    QTemporaryDir dir;
    const QString words = dir.filePath(QStringLiteral("es.dic"));
    QFile list(words);
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("hola\n");
    list.close();
    const QString personal = dir.filePath(QStringLiteral("personal.dic"));
    QVERIFY(QDir().mkpath(personal));
    quirtel::testing::FakePrompts prompts;
    const quirtel::SpellingResources spelling(words.toStdString(), personal.toStdString(),
                                              &prompts);
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages.front().startsWith(QStringLiteral("No se usa la lista personal")));
}

void FaultReviewTest::reviewBeforeTheResult_data() {
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reviewAnswer");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("faults");
    const QString two = QStringLiteral("cancion xq hola");
    const QStringList both{QStringLiteral("review"), QStringLiteral("result")};
    const QStringList result{QStringLiteral("result")};
    QTest::newRow("on, one of two ticked")
        << true << two << int(QDialog::Accepted) << both << QStringLiteral("1");
    QTest::newRow("on, review cancelled")
        << true << two << int(QDialog::Rejected) << both << QStringLiteral("2");
    QTest::newRow("on, no marks") << true << QStringLiteral("hola") << int(QDialog::Accepted)
                                  << result << QStringLiteral("0");
    QTest::newRow("off") << false << two << int(QDialog::Accepted) << result << QStringLiteral("2");
}

// With the review first, its ticks reach the result dialog's count and the
// record; cancelling it, or nothing marked, leaves the count as scanned.
void FaultReviewTest::reviewBeforeTheResult() {
    QFETCH(bool, on);
    QFETCH(QString, text);
    QFETCH(int, reviewAnswer);
    QFETCH(QStringList, shown);
    QFETCH(QString, faults);
    ViewHarness h(Words());
    h.view->SetReviewBeforeResult(on);
    QStringList order;
    QString field;
    h.prompts.onDialog = [&](QDialog& d) {
        if (auto* review = qobject_cast<CReviewDlg*>(&d)) {
            order << QStringLiteral("review");
            review->SetTicked(0, true);  // "cancion"
            return reviewAnswer;
        }
        auto& result = dynamic_cast<quirtel::CResultDlg&>(d);
        order << QStringLiteral("result");
        field = result.FaultsField().isEnabled() ? result.FaultsField().text() : QString();
        result.OkButton().click();
        return result.result();
    };
    h.Type(text);
    h.Key(Qt::Key_F2);
    QCOMPARE(order, shown);
    QCOMPARE(field, faults);
    QCOMPARE(QString::number(h.view->Result().faults), faults);
    QVERIFY(h.Log().contains(" --- Faltas: " + faults.toLatin1() + " --- "));
    const bool ticked = faults == QStringLiteral("1");
    QCOMPARE(IsMarked(*h.view, 0), text == QStringLiteral("cancion xq hola") && !ticked);
    QCOMPARE(QFileInfo(h.personalPath).isFile(), ticked);
}

QTEST_MAIN(FaultReviewTest)
#include "FaultReviewTest.moc"
