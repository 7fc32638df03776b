#include "gui/results/CResultDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <charconv>

#include "core/results/FaultsEntry.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"

namespace quirtel {
namespace {

std::string Decimal(std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return std::string(digits, end);
}

// A static text of the template: plain text that wraps at word boundaries
// inside its rectangle, top-aligned.
QLabel* MakeStatic(QWidget* parent, const char* objectName, const std::string& cp1252,
                   Qt::Alignment horizontal) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(horizontal | Qt::AlignTop);
    label->setText(FromCp1252(cp1252));
    return label;
}

// Places a control by its template rectangle. Rounding each coordinate on its
// own can push a control that reaches the dialog's edge one pixel beyond it;
// keep it inside, where its text is laid out and seen.
void Place(QWidget& dialog, QWidget& control, int x, int y, int width, int height) {
    control.setGeometry(DialogUnitsToPixels(dialog.font(), x, y, width, height)
                            .intersected(QRect(QPoint(0, 0), dialog.size())));
}

}  // namespace

CResultDlg::CResultDlg(std::string speedText, std::string netSpeedText, std::string timeText,
                       int capitals, int faults, bool faultsEditable, Prompts& prompts,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      summaryText(std::move(speedText) + " sin contar faltas (incluyen " + Decimal(capitals) +
                  " may\xFAsculas)\nTiempo de escritura: " + std::move(timeText)),
      finalText("Pulsaciones finales: " + std::move(netSpeedText)),
      faultsLabel(faultsEditable ? "Faltas encontradas: " + Decimal(faults) + ". Reales:"
                                 : "\nFaltas:"),
      // A count is never negative; should one arrive, show 0 rather than
      // the huge number its unsigned reading would give.
      realFaults(faults > 0 ? static_cast<std::uint32_t>(faults) : 0),
      faultsEditable(faultsEditable),
      prompts_(prompts),
      okButton_(new QPushButton(QStringLiteral("Aceptar"), this)),
      summaryControl_(MakeStatic(this, "control1005", summaryText, Qt::AlignLeft)),
      finalControl_(MakeStatic(this, "control1006", finalText, Qt::AlignLeft)),
      faultsField_(new QLineEdit(this)),
      faultsLabelControl_(MakeStatic(this, "control1009", faultsLabel, Qt::AlignRight)),
      cancelButton_(new QPushButton(QStringLiteral("Rechazar cambios"), this)) {
    setWindowTitle(QStringLiteral("Resultado final"));
    setFixedSize(DialogUnitsToPixels(font(), 175, 122));

    okButton_->setObjectName(QStringLiteral("control1"));
    Place(*this, *okButton_, 7, 102, 76, 14);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &CResultDlg::accept);

    // The summary takes the focus when the dialog opens, so a screen reader
    // reads it first; like the static text it stands for, it is no Tab stop.
    Place(*this, *summaryControl_, 9, 9, 166, 40);
    summaryControl_->setFocusPolicy(Qt::ClickFocus);

    // One line high, so it reaches to the dialog's right edge (164 units, not
    // 152): a long negative net speed such as "-2800.00 caracteres/min" would
    // otherwise wrap onto a second line that the control cuts in half.
    Place(*this, *finalControl_, 11, 82, 164, 14);

    faultsField_->setObjectName(QStringLiteral("control1007"));
    Place(*this, *faultsField_, 108, 59, 40, 14);
    faultsField_->setText(QString::number(realFaults));
    faultsField_->setAccessibleName(FromCp1252(faultsLabel).trimmed());

    Place(*this, *faultsLabelControl_, 11, 53, 88, 18);
    faultsLabelControl_->setBuddy(faultsField_);

    cancelButton_->setObjectName(QStringLiteral("control2"));
    Place(*this, *cancelButton_, 89, 102, 76, 14);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void CResultDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    faultsField_->setEnabled(faultsEditable);
    cancelButton_->setEnabled(faultsEditable);
    summaryControl_->setFocus(Qt::OtherFocusReason);
}

void CResultDlg::accept() {
    // A display-only dialog keeps the count: its field cannot have changed.
    if (faultsEditable) {
        std::uint32_t value = 0;
        const FaultsEntryError error = ParseRealFaults(ToCp1252(faultsField_->text()), value);
        if (error != FaultsEntryError::None) {
            prompts_.ShowMessage(FaultsEntryMessage(error));
            faultsField_->setFocus(Qt::OtherFocusReason);
            faultsField_->selectAll();
            return;
        }
        realFaults = value;
    }
    QDialog::accept();
}

}  // namespace quirtel
