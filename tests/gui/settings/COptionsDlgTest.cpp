#include "gui/settings/COptionsDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "gui/common/DialogUnits.h"
#include "support/FakePrompts.h"

namespace quirtel {

using testing::FakePrompts;

namespace {

const QString NOT_A_NUMBER = QStringLiteral("Introduzca un n\u00FAmero entero.");
const QString OUT_OF_RANGE = QStringLiteral("Introduzca un n\u00FAmero entero entre 1 y 30.");

template <typename T>
T* Child(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace

class COptionsDlgTest : public QObject {
    Q_OBJECT

private:
    FakePrompts prompts_;
    std::unique_ptr<COptionsDlg> dialog_;

    COptionsDlg& Open(std::uint32_t minutes = 10, bool capitals = true, bool keySound = false,
                      bool spell = true) {
        dialog_ = std::make_unique<COptionsDlg>(minutes, capitals, keySound, spell, prompts_);
        dialog_->show();
        dialog_->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog_.get())) {
            qWarning("options dialog not active");
        }
        return *dialog_;
    }

    QLineEdit& Edit() { return *Child<QLineEdit>(*dialog_, "control1000"); }

    void EnterMinutes(const QString& text) {
        Edit().setText(text);
        QTest::mouseClick(Child<QPushButton>(*dialog_, "control1"), Qt::LeftButton);
    }

private slots:
    void init() { prompts_.messages.clear(); }
    void cleanup() { dialog_.reset(); }

    void opensWithTheGivenValues_data() {
        QTest::addColumn<uint>("minutes");
        QTest::addColumn<bool>("capitals");
        QTest::addColumn<bool>("keySound");
        QTest::addColumn<bool>("spell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("defaults") << 10u << true << false << true << QStringLiteral("10");
        QTest::newRow("zero") << 0u << false << true << false << QStringLiteral("10");
        QTest::newRow("45") << 45u << true << true << true << QStringLiteral("10");
        QTest::newRow("31") << 31u << false << false << false << QStringLiteral("10");
        QTest::newRow("huge") << 0xFFFFFFFFu << true << false << true << QStringLiteral("10");
        QTest::newRow("1") << 1u << true << false << true << QStringLiteral("1");
        QTest::newRow("30") << 30u << true << false << true << QStringLiteral("30");
    }
    void opensWithTheGivenValues() {
        QFETCH(uint, minutes);
        QFETCH(bool, capitals);
        QFETCH(bool, keySound);
        QFETCH(bool, spell);
        QFETCH(QString, shown);
        COptionsDlg& dialog = Open(minutes, capitals, keySound, spell);
        QCOMPARE(Edit().text(), shown);
        QCOMPARE(Child<QCheckBox>(dialog, "control1004")->isChecked(), capitals);
        QCOMPARE(Child<QCheckBox>(dialog, "control1005")->isChecked(), keySound);
        QCOMPARE(Child<QCheckBox>(dialog, "control1006")->isChecked(), spell);
        // Focus on OK: Enter at once confirms what is shown.
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(dialog, "control1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Minutes(), shown.toInt());
        QCOMPARE(dialog.CapitalsDouble(), capitals);
        QCOMPARE(dialog.KeySound(), keySound);
        QCOMPARE(dialog.SpellCheck(), spell);
        QVERIFY(prompts_.messages.isEmpty());
    }

    void layoutFollowsTheTemplate() {
        COptionsDlg& dialog = Open();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Opciones"));
        QCOMPARE(dialog.size(), DialogUnitsToPixels(dialog.font(), 211, 133));
        QVERIFY(Child<QPushButton>(dialog, "control1")->isDefault());
        QCOMPARE(Child<QPushButton>(dialog, "control1")->text(), QStringLiteral("OK"));
        QCOMPARE(Child<QPushButton>(dialog, "control2")->text(), QStringLiteral("Cancel"));

        const struct {
            const char* label;
            const char* text;
            const char* control;
            QRect units;
        } rows[] = {
            // On screen, top to bottom.
            {"labelMinutes", "Minutos de la prueba:", "control1000", {144, 10, 40, 14}},
            {"labelKeySound",
             "Sonido de teclas al escribir (F3):",
             "control1005",
             {159, 35, 16, 8}},
            {"labelCapitals", "May\u00FAsculas cuentan doble:", "control1004", {159, 60, 16, 8}},
            {"labelSpellCheck",
             "Con correcci\u00F3n ortogr\u00E1fica:",
             "control1006",
             {159, 84, 16, 8}},
        };
        int previousTop = -1;
        for (const auto& row : rows) {
            auto* label = Child<QLabel>(dialog, row.label);
            QWidget* control = Child<QWidget>(dialog, row.control);
            QVERIFY2(label != nullptr && control != nullptr, row.label);
            QCOMPARE(label->text(), QString::fromUtf8(row.text));
            QCOMPARE(label->buddy(), control);
            QCOMPARE(label->frameShadow(), QFrame::Sunken);
            QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
            QVERIFY2(label->geometry().top() > previousTop, row.label);
            previousTop = label->geometry().top();
            QCOMPARE(control->geometry(),
                     DialogUnitsToPixels(dialog.font(), row.units.x(), row.units.y(),
                                         row.units.width(), row.units.height()));
            // Boxes without text are named by their row for screen readers.
            QCOMPARE(control->accessibleName(), label->text());
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                QVERIFY(box->text().isEmpty());
            }
        }
    }

    void tabOrderFollowsTheTemplate() {
        Open();
        const char* order[] = {"control2",    "control1000", "control1004",
                               "control1005", "control1006", "control1"};
        for (const char* name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        }
    }

    void refusedMinutesKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("0") << QStringLiteral("0") << OUT_OF_RANGE;
        QTest::newRow("31") << QStringLiteral("31") << OUT_OF_RANGE;
        QTest::newRow("-3") << QStringLiteral("-3") << OUT_OF_RANGE;
        QTest::newRow("long digits")
            << QStringLiteral("123456789012345678901234567890") << OUT_OF_RANGE;
        QTest::newRow("letters") << QStringLiteral("diez") << NOT_A_NUMBER;
        QTest::newRow("empty") << QString() << NOT_A_NUMBER;
        QTest::newRow("+0") << QStringLiteral("+0") << NOT_A_NUMBER;
        QTest::newRow("12a") << QStringLiteral("12a") << NOT_A_NUMBER;
        QTest::newRow("1.5") << QStringLiteral("1.5") << NOT_A_NUMBER;
        QTest::newRow("40 blanks then 5")
            << QString(40, QLatin1Char(' ')) + QStringLiteral("5") << NOT_A_NUMBER;
        QTest::newRow("not in Windows-1252") << QStringLiteral("\u4E94") << NOT_A_NUMBER;
    }
    void refusedMinutesKeepTheDialogOpen() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        COptionsDlg& dialog = Open(25, false, true, false);
        Child<QCheckBox>(dialog, "control1004")->setChecked(true);
        EnterMinutes(text);

        QCOMPARE(prompts_.messages, QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&Edit()));
        QCOMPARE(Edit().text(), text);
        QCOMPARE(Edit().selectedText(), text);
        // Nothing was handed back.
        QCOMPARE(dialog.Minutes(), 25);
        QCOMPARE(dialog.CapitalsDouble(), false);

        // Cancel after the refusal leaves every option as it was.
        QTest::mouseClick(Child<QPushButton>(dialog, "control2"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.Minutes(), 25);
        QCOMPARE(dialog.CapitalsDouble(), false);
        QCOMPARE(dialog.KeySound(), true);
        QCOMPARE(dialog.SpellCheck(), false);
        QCOMPARE(prompts_.messages.size(), 1);
    }

    void acceptedMinutesAndSwitchesComeBack_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes");
        QTest::newRow("7 between blanks") << QStringLiteral(" 7 ") << 7;
        QTest::newRow("+7") << QStringLiteral("+7") << 7;
        QTest::newRow("030") << QStringLiteral("030") << 30;
        QTest::newRow("tabs") << QStringLiteral("\t1\t") << 1;
    }
    void acceptedMinutesAndSwitchesComeBack() {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        COptionsDlg& dialog = Open(10, true, false, true);
        QTest::mouseClick(Child<QCheckBox>(dialog, "control1004"), Qt::LeftButton);
        QTest::mouseClick(Child<QCheckBox>(dialog, "control1005"), Qt::LeftButton);
        QTest::mouseClick(Child<QCheckBox>(dialog, "control1006"), Qt::LeftButton);
        EnterMinutes(text);
        QVERIFY(prompts_.messages.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Minutes(), minutes);
        QCOMPARE(dialog.CapitalsDouble(), false);
        QCOMPARE(dialog.KeySound(), true);
        QCOMPARE(dialog.SpellCheck(), false);
    }

    void keysConfirmAndCancel() {
        // A refusal, then a correction confirmed with Enter in the field.
        COptionsDlg& dialog = Open();
        QTest::mouseClick(&Edit(), Qt::LeftButton);
        Edit().selectAll();
        QTest::keyClicks(&Edit(), QStringLiteral("99"));
        QTest::keyClick(&Edit(), Qt::Key_Return);
        QCOMPARE(prompts_.messages, QStringList{OUT_OF_RANGE});
        QVERIFY(dialog.isVisible());
        // The whole text is selected: typing replaces it.
        QTest::keyClicks(&Edit(), QStringLiteral("5"));
        QTest::keyClick(&Edit(), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Minutes(), 5);

        COptionsDlg& second = Open(20);
        Edit().setText(QStringLiteral("abc"));
        QTest::keyClick(&Edit(), Qt::Key_Escape);
        QVERIFY(!second.isVisible());
        QCOMPARE(second.result(), int(QDialog::Rejected));
        QCOMPARE(second.Minutes(), 20);
        QCOMPARE(prompts_.messages.size(), 1);
    }

    void runsThroughPrompts() {
        dialog_ = std::make_unique<COptionsDlg>(12, true, true, true, prompts_);
        prompts_.onDialog = [](QDialog& shown) {
            shown.findChild<QLineEdit*>(QStringLiteral("control1000"))
                ->setText(QStringLiteral("3"));
            shown.accept();
            return shown.result();
        };
        QCOMPARE(prompts_.RunDialog(*dialog_), int(QDialog::Accepted));
        QCOMPARE(dialog_->Minutes(), 3);
        prompts_.onDialog = nullptr;
    }
};

}  // namespace quirtel

QTEST_MAIN(quirtel::COptionsDlgTest)
#include "COptionsDlgTest.moc"
