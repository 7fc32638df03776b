#include "gui/copy/CCopyTextDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "support/FakePrompts.h"

namespace quirtel {
namespace {

std::vector<CopyTextEntry> BuiltInTexts() {
    return {{"Acta del pleno", "administrativo", 3712, "En Valdeserena, a 3 de marzo..."},
            {"El faro", "narrativo", 4020, "La \xFAltima noche del farero \xF1o..."}};
}

bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

}  // namespace

class CCopyTextDlgTest : public QObject {
    Q_OBJECT

private slots:
    void choosesTextsFilesAndRulesByKeyboard();
};

void CCopyTextDlgTest::choosesTextsFilesAndRulesByKeyboard() {
    testing::FakePrompts prompts;
    std::vector<std::string> loaded;
    const CopyFileLoader loader = [&loaded](const std::string& path) {
        loaded.push_back(path);
        CopyFileLoad load;
        if (path.find("vacio") != std::string::npos) {
            load.refusal = CopyFileRefusal::Empty;
        } else {
            load.text.cp1252Text = "Querida Ana:";
        }
        return load;
    };
    // Rules out of range open at the nearest allowed value.
    CCopyTextDlg dialog(BuiltInTexts(), {45, 5, 250, -3}, loader, prompts);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Texto para copiar"));
    QCOMPARE(dialog.Rules().minutes, 30);
    QCOMPARE(dialog.Rules().maxErrorsPercent, 0);
    QTableWidget& texts = dialog.Texts();
    QCOMPARE(texts.rowCount(), 2);
    QCOMPARE(texts.item(1, CCopyTextDlg::TITLE)->text(), QStringLiteral("El faro"));
    QCOMPARE(texts.item(1, CCopyTextDlg::LENGTH)->text(), QStringLiteral("4020"));
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if ((control->focusPolicy() & Qt::TabFocus) && !control->objectName().isEmpty()) {
            QVERIFY2(!control->accessibleName().isEmpty() ||
                         !control->property("text").toString().isEmpty(),
                     qPrintable(control->objectName()));
        }
    }

    // The arrows choose a text and the preview follows.
    QVERIFY(ShowActive(dialog));
    QCOMPARE(QApplication::focusWidget(), &texts);
    QCOMPARE(dialog.Preview().toPlainText(), QStringLiteral("En Valdeserena, a 3 de marzo..."));
    QTest::keyClick(&texts, Qt::Key_Down);
    QCOMPARE(dialog.ChosenIndex(), 1);
    QCOMPARE(dialog.Preview().toPlainText(),
             QStringLiteral(u"La \u00FAltima noche del farero \u00F1o..."));

    // A cancelled chooser loads nothing; a refused file is named and not added.
    dialog.OpenFile();
    QVERIFY(loaded.empty());
    prompts.nextOpenFileName = QStringLiteral("/home/ana/vacio.txt");
    dialog.OpenFile();
    QCOMPARE(prompts.messages, QStringList{QStringLiteral(u"El archivo est\u00E1 vac\u00EDo.")});
    QCOMPARE(texts.rowCount(), 2);
    QCOMPARE(dialog.ChosenIndex(), 1);

    // An accepted file is added, titled by its name, and chosen.
    prompts.nextOpenFileName = QStringLiteral("/home/ana/mi carta.v2.txt");
    dialog.OpenFile();
    QCOMPARE(loaded.back(), std::string("/home/ana/mi carta.v2.txt"));
    QCOMPARE(texts.rowCount(), 3);
    QCOMPARE(dialog.ChosenIndex(), 2);
    QCOMPARE(texts.item(2, CCopyTextDlg::TITLE)->text(), QStringLiteral("mi carta.v2"));
    QCOMPARE(texts.item(2, CCopyTextDlg::LENGTH)->text(), QStringLiteral("12"));
    QCOMPARE(dialog.Preview().toPlainText(), QStringLiteral("Querida Ana:"));

    // The rules are reached by their mnemonics; Enter starts.
    QTest::keyClick(&dialog, Qt::Key_M, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("minutes"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("passMark"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("300"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.ChosenText().title, std::string("mi carta.v2"));
    const CopyRulesView rules = dialog.Rules();
    QCOMPARE(rules.minutes, 29);
    QCOMPARE(rules.penalty, 5);
    QCOMPARE(rules.passMark, 300);

    // Without a text to copy, "Empezar" is disabled and Enter does nothing.
    CCopyTextDlg empty({}, {}, loader, prompts);
    QVERIFY(ShowActive(empty));
    QVERIFY(!empty.StartButton().isEnabled());
    QCOMPARE(empty.ChosenIndex(), -1);
    QTest::keyClick(&empty.Texts(), Qt::Key_Return);
    QVERIFY(empty.isVisible());
    QTest::keyClick(&empty.Texts(), Qt::Key_Escape);
    QCOMPARE(empty.result(), int(QDialog::Rejected));
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CCopyTextDlgTest)
#include "CCopyTextDlgTest.moc"
