#include "app/QtPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "app/QtText.h"

namespace quirtel {

void QtPrompts::ShowMessage(std::string_view cp1252Text) {
    QWidget* parent = owner_ ? owner_.data() : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tapo"), FromCp1252(cp1252Text),
                    QMessageBox::Ok, parent);
    box.exec();
}

int QtPrompts::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

QString QtPrompts::OpenFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Abrir"), QString(),
                                        QStringLiteral("Todos los archivos (*.*)"));
}

QString QtPrompts::SaveFileName(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Guardar como"), QString(),
                                        QStringLiteral("Todos los archivos (*.*)"));
}

}  // namespace quirtel
