#include "gui/about/CAboutDlg.h"

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "gui/about/CStyledLabel.h"
#include "gui/about/DesktopUrlOpener.h"
#include "gui/about/ManualAddress.h"
#include "gui/common/DialogUnits.h"
#include "gui/common/Icons.h"

namespace quirtel {
namespace {

constexpr int ICON_PIXELS = 32;

QLabel* MakeLabel(QWidget* parent, const QString& objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

CAboutDlg::CAboutDlg(MessagePrompt& prompts, QWidget* parent)
    : CAboutDlg(prompts, nullptr, std::make_unique<DesktopUrlOpener>(), parent) {}

CAboutDlg::CAboutDlg(MessagePrompt& prompts, UrlOpener& opener, QWidget* parent)
    : CAboutDlg(prompts, &opener, nullptr, parent) {}

CAboutDlg::CAboutDlg(MessagePrompt& prompts, UrlOpener* opener,
                     std::unique_ptr<UrlOpener> ownOpener, QWidget* parent)
    // A fixed frame with caption, system menu and close box only.
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      authorLabel_(new CStyledLabel(prompts, this)),
      versionLabel_(new CStyledLabel(prompts, this)),
      linkControl_(MakeLabel(this, QStringLiteral("control1011"))),
      iconLabel_(MakeLabel(this, QStringLiteral("iconLabel"))),
      okButton_(new QPushButton(QStringLiteral("Aceptar"), this)),
      ownOpener_(std::move(ownOpener)),
      link_(opener != nullptr ? *opener : *ownOpener_) {
    setWindowTitle(QStringLiteral("Acerca de Quirtel"));
    setFixedSize(DialogUnitsToPixels(font(), 221, 76));

    const QIcon icon = ProgramIcon();
    setWindowIcon(icon);
    const QRect iconCell = DialogUnitsToPixels(font(), 175, 15, 20, 20);
    iconLabel_->setGeometry(iconCell.x(), iconCell.y(), ICON_PIXELS, ICON_PIXELS);
    iconLabel_->setPixmap(icon.pixmap(ICON_PIXELS, ICON_PIXELS));
    iconLabel_->setAccessibleName(QStringLiteral("Quirtel"));

    versionLabel_->setObjectName(QStringLiteral("control1010"));
    versionLabel_->setGeometry(DialogUnitsToPixels(font(), 30, 5, 122, 12));
    versionLabel_->setText(VersionText());

    authorLabel_->setObjectName(QStringLiteral("control1012"));
    authorLabel_->setGeometry(DialogUnitsToPixels(font(), 10, 23, 119, 28));
    authorLabel_->setText(AboutText());

    okButton_->setObjectName(QStringLiteral("control1"));
    okButton_->setGeometry(DialogUnitsToPixels(font(), 160, 45, 50, 14));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    linkControl_->setGeometry(DialogUnitsToPixels(font(), 25, 60, 89, 8));
    linkControl_->setText(LinkText());

    constexpr unsigned boldAntialiasedCentred =
        CStyledLabel::BOLD | CStyledLabel::ANTIALIASED | CStyledLabel::CENTRED;
    authorLabel_->SetFontStyle(QStringLiteral("Arial"), 16, QColor(0, 50, 120),
                               boldAntialiasedCentred);
    versionLabel_->SetFontStyle(QStringLiteral("Arial"), 19, QColor(0, 50, 100),
                                boldAntialiasedCentred);

    // The link sets the address as the control's tooltip; screen readers get
    // it as the description.
    link_.Attach(this, 1011, ManualAddress());
    linkControl_->setAccessibleDescription(link_.Address());

    okButton_->setFocus();
}

CAboutDlg::~CAboutDlg() = default;

QString CAboutDlg::VersionText() {
    return QStringLiteral("Quirtel Versión %1.%2")
        .arg(QUIRTEL_VERSION_MAJOR)
        .arg(QUIRTEL_VERSION_MINOR);
}

QString CAboutDlg::AboutText() {
    return QStringLiteral("Quirtel\nPrueba de mecanografía\n2026");
}

QString CAboutDlg::LinkText() {
    return QStringLiteral("Manual de Quirtel");
}

}  // namespace quirtel
