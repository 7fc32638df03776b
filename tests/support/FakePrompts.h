#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"

namespace quirtel::testing {

// Records every message and answers dialogs and file choosers without blocking.
// A dialog handler gets the dialog (shown, not modal) and returns its result;
// without one, dialogs are rejected.
class FakePrompts final : public Prompts {
public:
    void ShowMessage(std::string_view cp1252Text) override {
        messages.append(FromCp1252(cp1252Text));
    }
    int RunDialog(QDialog& dialog) override {
        ++dialogsRun;
        if (!onDialog) {
            return QDialog::Rejected;
        }
        dialog.show();
        const int result = onDialog(dialog);
        dialog.hide();
        return result;
    }
    QString OpenFileName(QWidget*) override { return nextOpenFileName; }
    QString SaveFileName(QWidget*) override { return nextSaveFileName; }

    QStringList messages;
    int dialogsRun = 0;
    std::function<int(QDialog&)> onDialog;
    QString nextOpenFileName;
    QString nextSaveFileName;
};

}  // namespace quirtel::testing
