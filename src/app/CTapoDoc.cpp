#include "app/CTapoDoc.h"

#include <QFile>
#include <QFileInfo>

#include "app/Prompts.h"
#include "app/QtText.h"

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
    modified_ = false;
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
    QFile file(path);
    // A folder opens for reading on Linux; it is not a document.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        ReportFileFailure(path);
        return false;
    }
    file.close();
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
    QFile file(path);
    // Append mode creates a missing file and never truncates an existing one.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        ReportFileFailure(path);
        return false;
    }
    file.close();
    TakePath(path);
    return true;
}

void CTapoDoc::TakePath(const QString& path) {
    pathName_ = QFileInfo(path).absoluteFilePath();
    modified_ = false;
    SetTitle(QFileInfo(path).fileName());
}

void CTapoDoc::ReportFileFailure(const QString& path) {
    const QString message =
        path + QStringLiteral(
                   "\nImposible encontrar este archivo.\n"
                   "Compruebe que la ruta y el nombre de archivo son correctos");
    prompts_.ShowMessage(ToCp1252(message));
}

}  // namespace quirtel
