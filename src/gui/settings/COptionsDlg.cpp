#include "gui/settings/COptionsDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/session/TestSettings.h"
#include "core/settings/MinutesEntry.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"

namespace quirtel {

COptionsDlg::COptionsDlg(std::uint32_t minutes, bool capitalsDouble, bool keySound, bool spellCheck,
                         Prompts& prompts, QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      minutes(InitialMinutes(minutes)),
      capitalsDouble(capitalsDouble),
      keySound(keySound),
      spellCheck(spellCheck) {
    setObjectName(QStringLiteral("COptionsDlg"));
    setWindowTitle(QStringLiteral("Opciones"));
    setFixedSize(DialogUnitsToPixels(font(), 211, 133));

    // Created in template order, which Qt takes as the tab order.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("control1"));
    ok->setDefault(true);
    Place(*ok, 87, 111, 52, 14);
    connect(ok, &QPushButton::clicked, this, &COptionsDlg::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("control2"));
    Place(*cancel, 147, 111, 52, 14);
    connect(cancel, &QPushButton::clicked, this, &COptionsDlg::reject);

    minutesEdit_ = new QLineEdit(QString::number(this->minutes), this);
    minutesEdit_->setObjectName(QStringLiteral("control1000"));
    Place(*minutesEdit_, 144, 10, 40, 14);

    QLabel* minutesLabel = AddLabel(QStringLiteral("Minutos de la prueba:"), 10, "labelMinutes");
    minutesLabel->setBuddy(minutesEdit_);
    minutesEdit_->setAccessibleName(minutesLabel->text());

    QLabel* capitalsLabel =
        AddLabel(QStringLiteral("May\u00FAsculas cuentan doble:"), 57, "labelCapitals");
    capitalsBox_ = AddCheckBox(1004, 159, 60, this->capitalsDouble, *capitalsLabel);

    QLabel* keySoundLabel =
        AddLabel(QStringLiteral("Sonido de teclas al escribir (F3):"), 33, "labelKeySound");
    keySoundBox_ = AddCheckBox(1005, 159, 35, this->keySound, *keySoundLabel);

    QLabel* spellLabel =
        AddLabel(QStringLiteral("Con correcci\u00F3n ortogr\u00E1fica:"), 81, "labelSpellCheck");
    spellCheckBox_ = AddCheckBox(1006, 159, 84, this->spellCheck, *spellLabel);

    // Enter at once confirms the values shown.
    ok->setFocus(Qt::OtherFocusReason);
}

QLabel* COptionsDlg::AddLabel(const QString& text, int y, const char* name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Place(*label, 7, y, 131, 14);
    return label;
}

QCheckBox* COptionsDlg::AddCheckBox(int id, int x, int y, bool checked, QLabel& label) {
    auto* box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("control%1").arg(id));
    box->setChecked(checked);
    // The box has no text of its own: its row label names it.
    box->setAccessibleName(label.text());
    label.setBuddy(box);
    Place(*box, x, y, 16, 8);
    return box;
}

void COptionsDlg::Place(QWidget& widget, int x, int y, int width, int height) {
    widget.setGeometry(DialogUnitsToPixels(font(), x, y, width, height));
}

void COptionsDlg::accept() {
    std::int32_t parsed = 0;
    const MinutesCheck check = CheckMinutesText(ToCp1252(minutesEdit_->text()), parsed);
    if (check != MinutesCheck::Valid) {
        prompts_.ShowMessage(MinutesMessage(check));
        minutesEdit_->setFocus(Qt::OtherFocusReason);
        minutesEdit_->selectAll();
        return;
    }
    minutes = parsed;
    capitalsDouble = capitalsBox_->isChecked();
    keySound = keySoundBox_->isChecked();
    spellCheck = spellCheckBox_->isChecked();
    QDialog::accept();
}

bool COptionsDlg::Edit(TestSettings& settings, Prompts& prompts, QWidget* parent) {
    // The dialog shows the minutes within the hour of the test length.
    const std::int32_t seconds = settings.testLength;
    const auto minutes = static_cast<std::uint32_t>(seconds / 60 - (seconds / 3600) * 60);
    COptionsDlg dialog(minutes, settings.capitalsDouble, settings.keySound, settings.spellCheck,
                       prompts, parent);
    if (prompts.RunDialog(dialog) != QDialog::Accepted) {
        return false;
    }
    settings.testLength = dialog.Minutes() * 60;
    settings.capitalsDouble = dialog.CapitalsDouble();
    settings.keySound = dialog.KeySound();
    settings.spellCheck = dialog.SpellCheck();
    return true;
}

}  // namespace quirtel
