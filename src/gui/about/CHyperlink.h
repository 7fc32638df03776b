#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QMetaObject>
#include <QObject>
#include <QPalette>
#include <QPointer>
#include <QString>

class QDialog;
class QLabel;
class QWidget;

namespace quirtel {

class UrlOpener;

// Turns an existing label into a link: blue text, purple once visited,
// underlined while the pointer is over it, a hand cursor, the address as its
// tooltip, and a left click (button released over it) or a released space key
// (when the label takes the focus) that opens the address. Everything it
// changes on the label is given back when it is detached: when the link is
// destroyed, attached elsewhere, or the label goes away.
class CHyperlink : public QObject {
    Q_OBJECT

public:
    static inline const QColor NOT_VISITED_COLOUR{0, 0, 255};
    static inline const QColor VISITED_COLOUR{128, 0, 128};

    explicit CHyperlink(UrlOpener& opener, QObject* parent = nullptr);
    ~CHyperlink() override;

    // Keeps a copy of the address; false (and nothing changed) for an empty one.
    bool SetAddress(const QString& address);
    // Attaches the link to `control`; false when there is no control or the
    // address is refused.
    bool AttachWindow(QLabel* control, const QString& address);
    // AttachWindow on the dialog's label whose object name is "control<id>".
    bool Attach(QDialog* dialog, int id, const QString& address);

    const QString& Address() const { return address_; }
    bool Hovering() const { return hovering_; }
    bool Visited() const { return visited_; }
    QLabel* Control() const;
    // The dotted frame drawn around a focused link, or null while it has none.
    QWidget* FocusFrame() const;

    // Labels attached to links in this process. The underline font shared by
    // all links exists exactly while this is above 0.
    static int LinkCount();
    static bool HasUnderlineFont();

protected:
    // Called when the pointer enters the link or it gains the focus, and when
    // the pointer leaves or it loses the focus. Nothing here.
    virtual void OnEnter() {}
    virtual void OnLeave() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Detach();
    void ControlDestroyed();
    void Release();
    void EnterLink();
    void LeaveLink();
    void Click();
    void ShowFocusFrame(bool shown);
    void PlaceFocusFrame();
    void ApplyColour();

    UrlOpener& opener_;
    QString address_;
    bool attached_ = false;
    bool hovering_ = false;
    bool visited_ = false;
    QPointer<QLabel> control_;
    QPointer<QWidget> focusFrame_;
    QMetaObject::Connection destroyedConnection_;

    // What the label had before, given back on detach.
    QFont normalFont_;
    bool hadOwnFont_ = false;
    QPalette normalPalette_;
    bool hadOwnPalette_ = false;
    QCursor normalCursor_;
    bool hadOwnCursor_ = false;
    QString normalToolTip_;
};

}  // namespace quirtel
