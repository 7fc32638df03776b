#include "app/CTapoDoc.h"

#include <QFile>
#include <QFileInfo>

#include "core/files/DocumentFile.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"

namespace quirtel {

namespace {

QString Untitled() {
    return QStringLiteral(u"Sin t\u00EDtulo");
}

}  // namespace

CTapoDoc::CTapoDoc(Prompts& prompts, QObject* parent)
    : QObject(parent), prompts_(prompts), title_(Untitled()) {}

void CTapoDoc::SetTitle(const QString& title) {
    title_ = title;
    emit titleChanged(title_);
}

bool CTapoDoc::OnNewDocument() {
    pathName_.clear();
    SetTitle(Untitled());
    emit documentSetUp();
    return true;
}

bool CTapoDoc::OnFileOpen(QWidget* parent) {
    const QString path = prompts_.OpenFileName(parent);
    if (path.isEmpty()) {
        return false;
    }
    return OpenDocumentFile(path);
}

bool CTapoDoc::OpenDocumentFile(const QString& path) {
    const quirtel::FileResult result =
        quirtel::OpenDocumentFile(QFile::encodeName(path).toStdString());
    if (!result.ok()) {
        ReportFileFailure(path, result, false);
        return false;
    }
    TakePath(path);
    emit documentSetUp();
    return true;
}

bool CTapoDoc::OnFileSave(QWidget* parent) {
    QString path = pathName_;
    if (path.isEmpty()) {
        path = prompts_.SaveFileName(parent);
        if (path.isEmpty()) {
            return false;
        }
    }
    return SaveDocumentFile(path);
}

bool CTapoDoc::SaveDocumentFile(const QString& path) {
    const quirtel::FileResult result =
        quirtel::SaveDocumentFile(QFile::encodeName(path).toStdString());
    if (!result.ok()) {
        ReportFileFailure(path, result, true);
        return false;
    }
    TakePath(path);
    return true;
}

void CTapoDoc::TakePath(const QString& path) {
    pathName_ = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
}

void CTapoDoc::ReportFileFailure(const QString& path, const FileResult& result, bool saving) {
    prompts_.ShowMessage(ToCp1252(path + u'\n' + FileFailureText(result, saving)));
}

QString CTapoDoc::FileFailureText(const FileResult& result, bool saving) {
    // Each text says what went wrong, then what to check, as the message for
    // a missing file does.
    switch (result.error) {
        case FileError::none:
        case FileError::missing:
            return QStringLiteral(
                "Imposible encontrar este archivo.\n"
                "Compruebe que la ruta y el nombre de archivo son correctos");
        case FileError::accessDenied:
            return saving ? QStringLiteral(
                                u"Acceso denegado a este archivo.\n"
                                u"Compruebe que tiene permiso para escribir en el archivo y en su "
                                u"carpeta, y que el disco no es de solo lectura")
                          : QStringLiteral(
                                "Acceso denegado a este archivo.\n"
                                "Compruebe que tiene permiso para leer el archivo y su carpeta");
        case FileError::notRegularFile:
            return QStringLiteral(
                u"No es un archivo normal, sino una carpeta, una tuber\u00EDa o un dispositivo.\n"
                u"Compruebe que ha elegido un archivo normal");
        case FileError::diskFull:
            return QStringLiteral(
                "No queda espacio en el disco.\n"
                "Compruebe que hay espacio libre en el disco y vuelva a intentarlo");
        case FileError::tooLarge:
        case FileError::other:
            break;
    }
    return QStringLiteral(
               u"Error inesperado al usar este archivo (error del sistema %1).\n"
               u"Compruebe el archivo y el disco, y vuelva a intentarlo")
        .arg(result.systemError);
}

}  // namespace quirtel
