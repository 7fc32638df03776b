#pragma once

#include <QPointer>

#include "app/Prompts.h"

namespace quirtel {

// The real modals: QMessageBox with caption "Tapo", warning icon and one OK
// button; QDialog::exec; QFileDialog with the filter "Todos los archivos (*.*)".
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void ShowMessage(std::string_view cp1252Text) override;
    int RunDialog(QDialog& dialog) override;
    QString OpenFileName(QWidget* parent) override;
    QString SaveFileName(QWidget* parent) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace quirtel
