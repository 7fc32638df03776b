#include "gui/about/CHyperlink.h"

#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QWidget>
#include <optional>

#include "gui/about/UrlOpener.h"

namespace quirtel {
namespace {

int& Count() {
    static int count = 0;
    return count;
}

// Made from the first attached label's font; dropped when the last link goes.
std::optional<QFont>& UnderlineFont() {
    static std::optional<QFont> font;
    return font;
}

// The dotted frame one pixel outside a focused link, drawn on the link's parent.
class LinkFocusFrame final : public QWidget {
public:
    explicit LinkFocusFrame(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("linkFocusFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

}  // namespace

CHyperlink::CHyperlink(UrlOpener& opener, QObject* parent) : QObject(parent), opener_(opener) {}

CHyperlink::~CHyperlink() {
    Detach();
}

bool CHyperlink::SetAddress(const QString& address) {
    if (address.isEmpty()) {
        return false;
    }
    address_ = address;
    if (control_) {
        control_->setToolTip(address_);
    }
    return true;
}

bool CHyperlink::AttachWindow(QLabel* control, const QString& address) {
    if (control == nullptr || !SetAddress(address)) {
        return false;
    }
    if (control_ == control) {
        return true;
    }
    Detach();

    control_ = control;
    hadOwnFont_ = control->testAttribute(Qt::WA_SetFont);
    normalFont_ = control->font();
    hadOwnPalette_ = control->testAttribute(Qt::WA_SetPalette);
    normalPalette_ = control->palette();
    hadOwnCursor_ = control->testAttribute(Qt::WA_SetCursor);
    normalCursor_ = control->cursor();
    normalToolTip_ = control->toolTip();

    if (Count()++ == 0) {
        QFont underlined = normalFont_;
        underlined.setUnderline(true);
        UnderlineFont() = underlined;
    }
    attached_ = true;
    hovering_ = false;

    control->setCursor(Qt::PointingHandCursor);
    control->setToolTip(address_);
    ApplyColour();
    control->installEventFilter(this);
    destroyedConnection_ =
        connect(control, &QObject::destroyed, this, [this] { ControlDestroyed(); });
    return true;
}

bool CHyperlink::Attach(QDialog* dialog, int id, const QString& address) {
    if (dialog == nullptr) {
        return false;
    }
    return AttachWindow(dialog->findChild<QLabel*>(QStringLiteral("control%1").arg(id)), address);
}

QLabel* CHyperlink::Control() const {
    return control_.data();
}

QWidget* CHyperlink::FocusFrame() const {
    return focusFrame_.data();
}

int CHyperlink::LinkCount() {
    return Count();
}

bool CHyperlink::HasUnderlineFont() {
    return UnderlineFont().has_value();
}

void CHyperlink::Detach() {
    if (!attached_) {
        return;
    }
    disconnect(destroyedConnection_);
    if (QLabel* control = control_) {
        control->removeEventFilter(this);
        // An empty font, palette or cursor resolves to the parent's again.
        control->setFont(hadOwnFont_ ? normalFont_ : QFont());
        control->setPalette(hadOwnPalette_ ? normalPalette_ : QPalette());
        if (hadOwnCursor_) {
            control->setCursor(normalCursor_);
        } else {
            control->unsetCursor();
        }
        control->setToolTip(normalToolTip_);
    }
    Release();
}

void CHyperlink::ControlDestroyed() {
    // The label is already gone: only the bookkeeping is left to do.
    if (attached_) {
        Release();
    }
}

void CHyperlink::Release() {
    if (focusFrame_) {
        focusFrame_->deleteLater();
    }
    focusFrame_ = nullptr;
    control_ = nullptr;
    attached_ = false;
    hovering_ = false;
    if (--Count() <= 0) {
        UnderlineFont().reset();
    }
}

bool CHyperlink::eventFilter(QObject* watched, QEvent* event) {
    if (watched != control_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Enter:
            if (!hovering_) {
                EnterLink();
            }
            break;
        case QEvent::Leave:
            if (hovering_) {
                LeaveLink();
            }
            break;
        case QEvent::MouseMove: {
            // While a button is held the label keeps getting moves from
            // outside itself: leaving through any edge ends the hover.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool inside = control_->rect().contains(mouse->position().toPoint());
            if (inside && !hovering_) {
                EnterLink();
            } else if (!inside && hovering_) {
                LeaveLink();
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                control_->rect().contains(mouse->position().toPoint())) {
                Click();
                return true;
            }
            break;
        }
        case QEvent::KeyRelease: {
            // Held keys repeat as release and press pairs: only the real
            // release opens the address, once.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && !key->isAutoRepeat()) {
                Click();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            OnEnter();
            ShowFocusFrame(true);
            break;
        case QEvent::FocusOut:
            OnLeave();
            ShowFocusFrame(false);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            PlaceFocusFrame();
            break;
        default:
            break;
    }
    return false;
}

void CHyperlink::EnterLink() {
    hovering_ = true;
    if (UnderlineFont()) {
        control_->setFont(*UnderlineFont());
    }
    OnEnter();
}

void CHyperlink::LeaveLink() {
    hovering_ = false;
    OnLeave();
    control_->setFont(hadOwnFont_ ? normalFont_ : QFont());
}

void CHyperlink::Click() {
    opener_.Open(address_);
    visited_ = true;
    ApplyColour();
}

void CHyperlink::ShowFocusFrame(bool shown) {
    if (!shown) {
        if (focusFrame_) {
            focusFrame_->hide();
        }
        return;
    }
    QWidget* parent = control_->parentWidget();
    if (parent == nullptr) {
        return;
    }
    if (!focusFrame_) {
        focusFrame_ = new LinkFocusFrame(parent);
    }
    PlaceFocusFrame();
    focusFrame_->show();
    focusFrame_->raise();
}

void CHyperlink::PlaceFocusFrame() {
    if (focusFrame_ && control_) {
        focusFrame_->setGeometry(control_->geometry().adjusted(-1, -1, 1, 1));
    }
}

void CHyperlink::ApplyColour() {
    QPalette palette = control_->palette();
    palette.setColor(QPalette::WindowText, visited_ ? VISITED_COLOUR : NOT_VISITED_COLOUR);
    control_->setPalette(palette);
}

}  // namespace quirtel
