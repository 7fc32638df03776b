#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "gui/about/CHyperlink.h"

class QLabel;
class QPushButton;

namespace quirtel {

class CStyledLabel;
class MessagePrompt;
class UrlOpener;

// "Acerca de Quirtel": the program's icon, the version line, three lines about
// the program and a link to its manual. "Aceptar" is its only tab stop;
// Enter, Escape and the close box close it too. Controls carry their ids as
// object names ("control1010", "control1011", "control1012", "control1").
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // Opens the manual with the desktop's default application.
    explicit CAboutDlg(MessagePrompt& prompts, QWidget* parent = nullptr);
    // Opens the manual through `opener`, which must outlive the dialog.
    CAboutDlg(MessagePrompt& prompts, UrlOpener& opener, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // "Quirtel Versión <major>.<minor>" of the project's version.
    static QString VersionText();
    // The three lines of control 1012.
    static QString AboutText();
    // What the link control shows; the address itself is its tooltip.
    static QString LinkText();

    CStyledLabel& AuthorLabel() const { return *authorLabel_; }
    CStyledLabel& VersionLabel() const { return *versionLabel_; }
    CHyperlink& Link() { return link_; }
    QLabel& LinkControl() const { return *linkControl_; }
    QLabel& IconLabel() const { return *iconLabel_; }
    QPushButton& OkButton() const { return *okButton_; }

private:
    CAboutDlg(MessagePrompt& prompts, UrlOpener* opener, std::unique_ptr<UrlOpener> ownOpener,
              QWidget* parent);

    // Children of the dialog, which owns them.
    CStyledLabel* authorLabel_;
    CStyledLabel* versionLabel_;
    QLabel* linkControl_;
    QLabel* iconLabel_;
    QPushButton* okButton_;

    std::unique_ptr<UrlOpener> ownOpener_;
    CHyperlink link_;
};

}  // namespace quirtel
