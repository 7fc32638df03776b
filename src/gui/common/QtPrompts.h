#pragma once

#include <QFileDialog>
#include <QPointer>

#include "gui/common/Prompts.h"

namespace quirtel {

// The real modals: QMessageBox with caption "Tapo", warning icon and one OK
// button; QDialog::exec; QFileDialog with the filter "Todos los archivos (*.*)".
// Every modal gets a title bar with a close button and nothing more (a
// resizable dialog keeps its maximise button).
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(std::string_view cp1252Text) override;
    int RunDialog(QDialog& dialog) override;
    QString OpenFileName(QWidget* parent) override;
    QString SaveFileName(QWidget* parent) override;

    // Sets the title-bar buttons of a modal window as above.
    static void SetModalTitleBar(QWidget& window);
    // The file choosers' filter: shown as "Todos los archivos (*.*)" but
    // matching every file, also those without a dot in their name.
    static QString FileFilter();
    // The choosers' options; saving never asks about replacing a file, since
    // saving leaves an existing file as it is.
    static QFileDialog::Options FileDialogOptions(QFileDialog::AcceptMode mode);

private:
    QPointer<QWidget> owner_;
};

}  // namespace quirtel
