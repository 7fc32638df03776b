#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace quirtel {

class Prompts;
struct FileResult;

// The program's one document. It holds no text: it carries the title that the
// main window shows in its caption, and the new, open and save commands,
// which amount to preparing a new test or writing an empty file.
class CTapoDoc : public QObject {
    Q_OBJECT

public:
    explicit CTapoDoc(Prompts& prompts, QObject* parent = nullptr);

    const QString& Title() const { return title_; }
    // Sets the title and always announces it, also when it did not change, so
    // the caption that the view wrote while a test ran gives way to it.
    void SetTitle(const QString& title);

    const QString& PathName() const { return pathName_; }

    // New document: title "Sin título", no path; the view sets up a new test.
    bool OnNewDocument();
    // Asks for a file and opens it; a cancelled choice changes nothing.
    bool OnFileOpen(QWidget* parent = nullptr);
    // Opens `path`, reading nothing: the title becomes the file's name and the
    // view sets up a new test. A file that cannot be opened is reported and
    // leaves the document, the text and the test as they were.
    bool OpenDocumentFile(const QString& path);
    // Saves to the current path, asking for one when there is none yet.
    bool OnFileSave(QWidget* parent = nullptr);
    // Saves to `path`: a missing file is created empty; an existing file is
    // left as it is (the typed text is not part of the document, and saving
    // must not destroy a file that was only opened).
    bool SaveDocumentFile(const QString& path);

    // What a failed open or save shows after the file's name: what went wrong,
    // then what to check.
    static QString FileFailureText(const FileResult& result, bool saving);

signals:
    void titleChanged(const QString& title);
    // The document was reset or opened: its view runs its first set-up.
    void documentSetUp();

private:
    // The document now stands for this file: path and title.
    void TakePath(const QString& path);
    void ReportFileFailure(const QString& path, const FileResult& result, bool saving);

    Prompts& prompts_;
    QString title_;
    QString pathName_;
};

}  // namespace quirtel
