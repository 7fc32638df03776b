#include "gui/common/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include "gui/common/QtText.h"

namespace quirtel {

void QtPrompts::ShowMessage(std::string_view cp1252Text) {
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tapo"), FromCp1252(cp1252Text),
                    QMessageBox::Ok, parent);
    SetModalTitleBar(box);
    box.exec();
}

int QtPrompts::RunDialog(QDialog& dialog) {
    SetModalTitleBar(dialog);
    return dialog.exec();
}

QString QtPrompts::OpenFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Abrir"), QString(), FileFilter(),
                                        nullptr, FileDialogOptions(QFileDialog::AcceptOpen));
}

QString QtPrompts::SaveFileName(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Guardar como"), QString(),
                                        FileFilter(), nullptr,
                                        FileDialogOptions(QFileDialog::AcceptSave));
}

void QtPrompts::SetModalTitleBar(QWidget& window) {
    // A message box fixes its size when shown; a dialog fixes it when built.
    const bool fixedSize =
        qobject_cast<QMessageBox*>(&window) || window.minimumSize() == window.maximumSize();
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (!fixedSize) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    window.setWindowFlags(flags);
}

QString QtPrompts::FileFilter() {
    // The chooser matches the patterns in the last parentheses and, with the
    // details hidden, shows the text before them.
    return QStringLiteral("Todos los archivos (*.*) (*)");
}

QFileDialog::Options QtPrompts::FileDialogOptions(QFileDialog::AcceptMode mode) {
    QFileDialog::Options options = QFileDialog::HideNameFilterDetails;
    if (mode == QFileDialog::AcceptSave) {
        options |= QFileDialog::DontConfirmOverwrite;
    }
    return options;
}

}  // namespace quirtel
