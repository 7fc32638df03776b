#pragma once

#include <QString>

#include "core/common/MessagePrompt.h"

class QDialog;
class QWidget;

namespace quirtel {

// Every modal the program shows goes through this interface, so that widget
// tests answer message boxes, dialogs and file choosers with fakes.
class Prompts : public MessagePrompt {
public:
    // Runs the dialog modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int RunDialog(QDialog& dialog) = 0;
    // A file to open ("Abrir") or to save to ("Guardar como"); empty when cancelled.
    virtual QString OpenFileName(QWidget* parent) = 0;
    virtual QString SaveFileName(QWidget* parent) = 0;
};

}  // namespace quirtel
