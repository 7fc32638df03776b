#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace quirtel {

class Prompts;

// "Resultado final": the gross speed with the capitals and the typing time,
// the net speed, and the number of faults the spelling scan marked, which the
// user may correct. "Aceptar" validates the entry and accepts; "Rechazar
// cambios", Escape and the close box reject without reading it. When the
// faults are not editable the field and "Rechazar cambios" are disabled and
// "Aceptar" keeps the count. Controls carry their ids as object names
// ("control1", "control1005", "control1006", "control1007", "control1009",
// "control2"). All std::string texts are Windows-1252.
class CResultDlg final : public QDialog {
    Q_OBJECT

public:
    CResultDlg(std::string speedText, std::string netSpeedText, std::string timeText, int capitals,
               int faults, bool faultsEditable, Prompts& prompts, QWidget* parent = nullptr);

    // The number the user confirmed with "Aceptar"; the fault count before.
    std::uint32_t RealFaults() const { return realFaults; }
    bool FaultsEditable() const { return faultsEditable; }
    const std::string& SummaryText() const { return summaryText; }
    const std::string& FinalText() const { return finalText; }
    const std::string& FaultsLabel() const { return faultsLabel; }

    QPushButton& OkButton() const { return *okButton_; }
    QLabel& SummaryControl() const { return *summaryControl_; }
    QLabel& FinalControl() const { return *finalControl_; }
    QLineEdit& FaultsField() const { return *faultsField_; }
    QLabel& FaultsLabelControl() const { return *faultsLabelControl_; }
    QPushButton& CancelButton() const { return *cancelButton_; }

public slots:
    // Reads and validates the fault field; on a bad entry shows the message,
    // selects the field and stays open.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string summaryText;
    std::string finalText;
    std::string faultsLabel;
    std::uint32_t realFaults;
    bool faultsEditable;

    Prompts& prompts_;
    // Children of the dialog, created in tab order.
    QPushButton* okButton_;
    QLabel* summaryControl_;
    QLabel* finalControl_;
    QLineEdit* faultsField_;
    QLabel* faultsLabelControl_;
    QPushButton* cancelButton_;
};

}  // namespace quirtel
