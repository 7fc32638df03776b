#include "gui/results/CReviewDlg.h"

#include <QAccessible>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace quirtel {
namespace {

// "canción" twice, a shape fault, another word.
std::vector<CReviewDlg::Row> ExampleRows() {
    const QString cancion = QStringLiteral("cancion");
    return {
        {1, cancion, QStringLiteral("Falta de tilde"), {QStringLiteral(u"canci\u00F3n")}, cancion},
        {1, QStringLiteral("hola.."), QStringLiteral("Forma incorrecta"), {}, {}, false},
        {2,
         QStringLiteral("Cancion"),
         QStringLiteral("Falta de tilde"),
         {QStringLiteral(u"Canci\u00F3n")},
         cancion},
        {3,
         QStringLiteral("Akutagawa"),
         QStringLiteral("Palabra desconocida"),
         {},
         QStringLiteral("akutagawa")},
    };
}

bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

}  // namespace

class CReviewDlgTest : public QObject {
    Q_OBJECT

private slots:
    void accessibleTableWithoutTickForShapes();
    void keyboardTicksWordsTogetherAndAccepts();
    void escapeRejects();
};

void CReviewDlgTest::accessibleTableWithoutTickForShapes() {
    CReviewDlg dialog(ExampleRows());
    QCOMPARE(dialog.windowTitle(), QStringLiteral(u"Revisi\u00F3n de faltas"));
    dialog.SetTicked(1, true);  // a shape fault has no tick box
    QVERIFY(!dialog.IsTicked(1));

    // A screen reader finds the table with its cells and tick boxes.
    QVERIFY(ShowActive(dialog));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&dialog.Table());
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Palabras marcadas"));
    QAccessibleTableInterface* cells = accessible->tableInterface();
    QVERIFY(cells != nullptr);
    QCOMPARE(cells->rowCount(), 4);
    QCOMPARE(cells->columnCount(), 5);
    QCOMPARE(cells->cellAt(2, CReviewDlg::TOKEN)->text(QAccessible::Name),
             QStringLiteral("Cancion"));
    QVERIFY(cells->cellAt(0, CReviewDlg::NOT_A_FAULT)->state().checkable);
    QVERIFY(!cells->cellAt(1, CReviewDlg::NOT_A_FAULT)->state().checkable);
}

void CReviewDlgTest::keyboardTicksWordsTogetherAndAccepts() {
    CReviewDlg dialog(ExampleRows());
    QVERIFY(ShowActive(dialog));
    QCOMPARE(QApplication::focusWidget(), &dialog.Table());
    // Space ticks the current row and the other row of the same word.
    QTest::keyClick(&dialog.Table(), Qt::Key_Space);
    QVERIFY(dialog.IsTicked(0));
    QVERIFY(dialog.IsTicked(2));
    QTest::keyClick(&dialog.Table(), Qt::Key_Down);
    QTest::keyClick(&dialog.Table(), Qt::Key_Space);  // the shape fault: nothing
    QTest::keyClick(&dialog.Table(), Qt::Key_Down);
    QTest::keyClick(&dialog.Table(), Qt::Key_Space);  // unticks both again
    QVERIFY(!dialog.IsTicked(0));
    QTest::keyClick(&dialog.Table(), Qt::Key_Space);
    QTest::keyClick(&dialog.Table(), Qt::Key_Down);
    QTest::keyClick(&dialog.Table(), Qt::Key_Space);
    QCOMPARE(dialog.TickedWords(),
             (QStringList{QStringLiteral("cancion"), QStringLiteral("akutagawa")}));

    // A click on a tick box ticks the same word's rows too.
    dialog.Table().item(0, CReviewDlg::NOT_A_FAULT)->setCheckState(Qt::Unchecked);
    QVERIFY(!dialog.IsTicked(2));

    // Tab leaves the table for the buttons; Enter accepts.
    QTest::keyClick(&dialog.Table(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog.OkButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog.CancelButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.TickedWords(), QStringList{QStringLiteral("akutagawa")});
}

void CReviewDlgTest::escapeRejects() {
    CReviewDlg dialog(ExampleRows());
    QVERIFY(ShowActive(dialog));
    QTest::keyClick(&dialog.Table(), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CReviewDlgTest)
#include "CReviewDlgTest.moc"
