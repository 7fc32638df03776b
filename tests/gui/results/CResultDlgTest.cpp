#include "gui/results/CResultDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "support/FakePrompts.h"

namespace quirtel {
namespace {

const QString NOT_POSITIVE = QStringLiteral("Introduzca un número entero positivo.");
const QString OUT_OF_RANGE = QStringLiteral("Introduzca un número entero entre 0 y 2147483647.");

// The example of a finished test: 212.40 keystrokes per minute, 35 capitals,
// five minutes, 13 marked words.
std::unique_ptr<CResultDlg> ExampleDialog(testing::FakePrompts& prompts, bool editable) {
    return std::make_unique<CResultDlg>("212.40 caracteres/min", "199.40 caracteres/min",
                                        "05:00 minutos", 35, 13, editable, prompts);
}

// Shows the dialog and waits until it is the active window, as when run modally.
bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

}  // namespace

class CResultDlgTest : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void stateAndFocusWhenShown_data();
    void stateAndFocusWhenShown();
    void faultEntry_data();
    void faultEntry();
    void refusedEntryCanBeCorrected();
    void closingWithoutAceptarReadsNothing_data();
    void closingWithoutAceptarReadsNothing();
    void displayOnlyAceptarKeepsTheCount();
    void textsFitTheirControls_data();
    void textsFitTheirControls();
};

void CResultDlgTest::texts_data() {
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("faultsLabel");
    QTest::newRow("editable") << true << QStringLiteral("Faltas encontradas: 13. Reales:");
    QTest::newRow("display only") << false << QStringLiteral("\nFaltas:");
}

void CResultDlgTest::texts() {
    QFETCH(bool, editable);
    QFETCH(QString, faultsLabel);
    testing::FakePrompts prompts;
    const auto dialog = ExampleDialog(prompts, editable);

    const QString summary = QStringLiteral(
        "212.40 caracteres/min sin contar faltas (incluyen 35 mayúsculas)\n"
        "Tiempo de escritura: 05:00 minutos");
    QCOMPARE(dialog->SummaryText(), std::string("212.40 caracteres/min sin contar faltas "
                                                "(incluyen 35 may\xFAsculas)\n"
                                                "Tiempo de escritura: 05:00 minutos"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Resultado final"));
    QCOMPARE(dialog->SummaryControl().text(), summary);
    QCOMPARE(dialog->FinalControl().text(),
             QStringLiteral("Pulsaciones finales: 199.40 caracteres/min"));
    QCOMPARE(dialog->FaultsLabelControl().text(), faultsLabel);
    QCOMPARE(dialog->FaultsField().text(), QStringLiteral("13"));
    QCOMPARE(dialog->RealFaults(), 13u);
    QCOMPARE(dialog->OkButton().text(), QStringLiteral("Aceptar"));
    QCOMPARE(dialog->CancelButton().text(), QStringLiteral("Rechazar cambios"));
    QVERIFY(dialog->OkButton().isDefault());
    // The field is named by its label for screen readers.
    QCOMPARE(dialog->FaultsField().accessibleName(), faultsLabel.trimmed());
    QCOMPARE(dialog->FaultsLabelControl().buddy(), &dialog->FaultsField());
    for (const char* id :
         {"control1", "control1005", "control1006", "control1007", "control1009", "control2"}) {
        QVERIFY2(dialog->findChild<QWidget*>(QString::fromLatin1(id)) != nullptr, id);
    }
}

void CResultDlgTest::stateAndFocusWhenShown_data() {
    QTest::addColumn<bool>("editable");
    QTest::newRow("editable") << true;
    QTest::newRow("display only") << false;
}

void CResultDlgTest::stateAndFocusWhenShown() {
    QFETCH(bool, editable);
    testing::FakePrompts prompts;
    const auto dialog = ExampleDialog(prompts, editable);
    QVERIFY(ShowActive(*dialog));

    QCOMPARE(dialog->FaultsField().isEnabled(), editable);
    QCOMPARE(dialog->CancelButton().isEnabled(), editable);
    QVERIFY(dialog->OkButton().isEnabled());
    QCOMPARE(QApplication::focusWidget(), &dialog->SummaryControl());

    // Tab goes on in template order, skipping what cannot take the focus.
    QList<QWidget*> expected;
    if (editable) {
        expected = {&dialog->FaultsField(), &dialog->CancelButton(), &dialog->OkButton(),
                    &dialog->FaultsField()};
    } else {
        expected = {&dialog->OkButton(), &dialog->OkButton()};
    }
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void CResultDlgTest::faultEntry_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<uint>("realFaults");
    QTest::newRow("initial count") << QStringLiteral("13") << QString() << 13u;
    QTest::newRow("more than marked") << QStringLiteral("20") << QString() << 20u;
    QTest::newRow("blanks around") << QStringLiteral(" 7 ") << QString() << 7u;
    QTest::newRow("tabs around") << QStringLiteral("\t7\t") << QString() << 7u;
    QTest::newRow("plus sign") << QStringLiteral("+7") << QString() << 7u;
    QTest::newRow("zero") << QStringLiteral("0") << QString() << 0u;
    QTest::newRow("largest") << QStringLiteral("2147483647") << QString() << 2147483647u;
    QTest::newRow("empty") << QString() << NOT_POSITIVE << 13u;
    QTest::newRow("only blanks") << QStringLiteral("   ") << NOT_POSITIVE << 13u;
    QTest::newRow("letter after") << QStringLiteral("7a") << NOT_POSITIVE << 13u;
    QTest::newRow("negative") << QStringLiteral("-1") << NOT_POSITIVE << 13u;
    QTest::newRow("decimal") << QStringLiteral("1.5") << NOT_POSITIVE << 13u;
    QTest::newRow("outside cp1252") << QStringLiteral("７") << NOT_POSITIVE << 13u;
    QTest::newRow("one too many") << QStringLiteral("2147483648") << OUT_OF_RANGE << 13u;
    QTest::newRow("largest unsigned") << QStringLiteral("4294967295") << OUT_OF_RANGE << 13u;
    QTest::newRow("eleven digits") << QStringLiteral("12345678901") << OUT_OF_RANGE << 13u;
}

void CResultDlgTest::faultEntry() {
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(uint, realFaults);
    testing::FakePrompts prompts;
    const auto dialog = ExampleDialog(prompts, true);
    QVERIFY(ShowActive(*dialog));

    dialog->FaultsField().setText(entry);
    QTest::mouseClick(&dialog->OkButton(), Qt::LeftButton);

    QCOMPARE(dialog->RealFaults(), realFaults);
    if (message.isEmpty()) {
        QVERIFY(prompts.messages.isEmpty());
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
    } else {
        QCOMPARE(prompts.messages, QStringList{message});
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::focusWidget(), &dialog->FaultsField());
        QCOMPARE(dialog->FaultsField().text(), entry);
        QCOMPARE(dialog->FaultsField().selectedText(), entry);
    }
}

// Run as the caller runs it; Enter in the field validates like "Aceptar".
void CResultDlgTest::refusedEntryCanBeCorrected() {
    testing::FakePrompts prompts;
    const auto dialog = ExampleDialog(prompts, true);
    prompts.onDialog = [](QDialog& shown) {
        auto& d = static_cast<CResultDlg&>(shown);
        d.FaultsField().setText(QStringLiteral("2147483648"));
        QTest::mouseClick(&d.OkButton(), Qt::LeftButton);
        for (const char* entry : {"x", "9"}) {
            d.FaultsField().setText(QString::fromLatin1(entry));
            QTest::keyClick(&d.FaultsField(), Qt::Key_Return);
        }
        return d.result();
    };
    QCOMPARE(prompts.RunDialog(*dialog), int(QDialog::Accepted));
    QCOMPARE(prompts.messages, (QStringList{OUT_OF_RANGE, NOT_POSITIVE}));
    QCOMPARE(dialog->RealFaults(), 9u);
}

void CResultDlgTest::closingWithoutAceptarReadsNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Rechazar cambios") << QStringLiteral("button");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("close box") << QStringLiteral("close");
}

void CResultDlgTest::closingWithoutAceptarReadsNothing() {
    QFETCH(QString, how);
    for (const QString& entry : {QStringLiteral("20"), QStringLiteral("not a number")}) {
        testing::FakePrompts prompts;
        const auto dialog = ExampleDialog(prompts, true);
        QVERIFY(ShowActive(*dialog));
        dialog->FaultsField().setText(entry);
        if (how == QStringLiteral("button")) {
            QTest::mouseClick(&dialog->CancelButton(), Qt::LeftButton);
        } else if (how == QStringLiteral("escape")) {
            QTest::keyClick(&dialog->FaultsField(), Qt::Key_Escape);
        } else {
            QVERIFY(dialog->close());
        }
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->RealFaults(), 13u);
        QVERIFY(prompts.messages.isEmpty());
    }
}

void CResultDlgTest::displayOnlyAceptarKeepsTheCount() {
    testing::FakePrompts prompts;
    const auto dialog = ExampleDialog(prompts, false);
    QVERIFY(ShowActive(*dialog));
    dialog->FaultsField().setText(QStringLiteral("not read"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(dialog->RealFaults(), 13u);
    QVERIFY(prompts.messages.isEmpty());
}

void CResultDlgTest::textsFitTheirControls_data() {
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("netSpeed");
    QTest::addColumn<int>("capitals");
    QTest::addColumn<int>("faults");
    QTest::addColumn<bool>("editable");
    const QString example = QStringLiteral("212.40 caracteres/min");
    QTest::newRow("example") << example << QStringLiteral("199.40 caracteres/min") << 35 << 13
                             << true;
    QTest::newRow("display only") << example << QStringLiteral("199.40 caracteres/min") << 35 << 13
                                  << false;
    // A held key repeats for half an hour; many more marked words than speed.
    QTest::newRow("largest figures")
        << QStringLiteral("3600.00 caracteres/min") << QStringLiteral("-99999.99 caracteres/min")
        << 99999 << 2147483647 << true;
}

void CResultDlgTest::textsFitTheirControls() {
    QFETCH(QString, speed);
    QFETCH(QString, netSpeed);
    QFETCH(int, capitals);
    QFETCH(int, faults);
    QFETCH(bool, editable);
    testing::FakePrompts prompts;
    const CResultDlg dialog(speed.toStdString(), netSpeed.toStdString(), "05:00 minutos", capitals,
                            faults, editable, prompts);
    const QRect client = dialog.rect();
    for (QLabel* label :
         {&dialog.SummaryControl(), &dialog.FinalControl(), &dialog.FaultsLabelControl()}) {
        const QRect box = label->contentsRect();
        const QRect needed =
            QFontMetrics(label->font())
                .boundingRect(box, int(label->alignment()) | Qt::TextWordWrap, label->text());
        QVERIFY2(box.contains(needed),
                 qPrintable(label->objectName() + QLatin1Char(' ') + label->text()));
        QVERIFY2(client.contains(label->geometry()), qPrintable(label->objectName()));
    }
    for (QPushButton* button : {&dialog.OkButton(), &dialog.CancelButton()}) {
        QVERIFY(button->sizeHint().width() <= button->width());
        QVERIFY(client.contains(button->geometry()));
    }
    // The label ends next to the field, level with it.
    const QRect field = dialog.FaultsField().geometry();
    QVERIFY(dialog.FaultsLabelControl().geometry().right() < field.left());
    QVERIFY(client.contains(field));
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CResultDlgTest)
#include "CResultDlgTest.moc"
