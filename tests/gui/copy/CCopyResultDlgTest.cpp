#include "gui/copy/CCopyResultDlg.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace quirtel {

class CCopyResultDlgTest : public QObject {
    Q_OBJECT

private slots:
    void showsFiguresVerdictAndTablesAndCloses();
};

namespace {

CopyResultView Example() {
    CopyResultView result;
    result.keystrokes = 1234;
    result.elapsedSeconds = 300;
    result.errors = 3;
    result.wordsReached = 120;
    result.accuracyPercent = 97.5;
    result.grossSpeed = 246.8;
    result.netSpeed = 243.8;
    result.pass = false;
    result.errorRows = {{1,
                         "hac\xED"
                         "a",
                         "hacia", "tilde"},
                        {2, "de la", "dela", "unidas"},
                        {4, "pleno", "", "omitida"}};
    result.mistyped = {{"\xED", "i", 4}, {" ", "\n", 1}};
    result.slowest = {{"\xF1", 412.6}, {"\t", 300.2}};
    return result;
}

QString Figure(const QDialog& dialog, const char* name) {
    const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

}  // namespace

void CCopyResultDlgTest::showsFiguresVerdictAndTablesAndCloses() {
    CCopyResultDlg dialog(Example());
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Resultado de la copia"));
    const std::pair<const char*, QString> figures[] = {
        {"keystrokes", QStringLiteral("1234")},
        {"time", QStringLiteral("05:00 minutos")},
        {"wordsReached", QStringLiteral("120")},
        {"errors", QStringLiteral("3")},
        {"accuracy", QStringLiteral("97.50 %")},
        {"grossSpeed", QStringLiteral("246.80 caracteres/min")},
        {"netSpeed", QStringLiteral("243.80 caracteres/min")},
        {"verdict", QStringLiteral("No apto")},
    };
    for (const auto& [name, text] : figures) {
        QCOMPARE(Figure(dialog, name), text);
    }
    QVERIFY(dialog.Verdict().isVisible());

    // The tables, with empty words and unseen keys named, through accessibility.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&dialog.ErrorTable());
    QAccessibleTableInterface* errors = accessible->tableInterface();
    QVERIFY(errors != nullptr);
    QCOMPARE(errors->rowCount(), 3);
    // Qt hands the header cell over unregistered: registered here, so that
    // it can be deleted when read.
    QAccessibleInterface* header = errors->cellAt(0, CCopyResultDlg::MODEL_WORD)
                                       ->tableCellInterface()
                                       ->columnHeaderCells()
                                       .value(0);
    const QAccessible::Id headerId = QAccessible::registerAccessibleInterface(header);
    QCOMPARE(header->text(QAccessible::Name), QStringLiteral("Palabra del modelo"));
    QAccessible::deleteAccessibleInterface(headerId);
    QCOMPARE(errors->cellAt(0, CCopyResultDlg::MODEL_WORD)->text(QAccessible::Name),
             QStringLiteral(u"hac\u00EDa"));
    QCOMPARE(errors->cellAt(2, CCopyResultDlg::TYPED_WORD)->text(QAccessible::Name),
             QStringLiteral("(ninguna)"));
    QCOMPARE(errors->cellAt(1, CCopyResultDlg::KIND)->text(QAccessible::Name),
             QStringLiteral("unidas"));
    QTableWidget& mistyped = dialog.MistypedTable();
    QCOMPARE(mistyped.item(0, 0)->text(), QStringLiteral(u"\u00ED"));
    QCOMPARE(mistyped.item(1, 0)->text(), QStringLiteral("espacio"));
    QCOMPARE(mistyped.item(1, 1)->text(), QStringLiteral("Intro"));
    QTableWidget& slow = dialog.SlowTable();
    QCOMPARE(slow.item(0, 0)->text(), QStringLiteral(u"\u00F1"));
    QCOMPARE(slow.item(0, 1)->text(), QStringLiteral("413"));

    // Tab visits the tables; Enter closes from any of them.
    QCOMPARE(QApplication::focusWidget(), &dialog.OkButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog.ErrorTable());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &mistyped);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // Without a pass mark there is no verdict.
    CopyResultView noMark = Example();
    noMark.pass.reset();
    CCopyResultDlg unmarked(noMark);
    unmarked.show();
    QVERIFY(!unmarked.Verdict().isVisible());
    for (const QLabel* label : unmarked.findChildren<QLabel*>()) {
        QVERIFY(!label->isVisible() || !label->text().startsWith(QStringLiteral("Calif")));
    }
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CCopyResultDlgTest)
#include "CCopyResultDlgTest.moc"
