#include "gui/typing/X11DeadKeyFilter.h"

#include <xcb/xcb.h>
#include <QCoreApplication>
#include <QGuiApplication>

// The X11 headers define macros such as None and Bool: include them last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace quirtel {

namespace {

// The XKB event types that mean the key symbols may have changed.
constexpr int XKB_NEW_KEYBOARD_NOTIFY = 0;
constexpr int XKB_MAP_NOTIFY = 1;

}  // namespace

std::unique_ptr<X11DeadKeyFilter> X11DeadKeyFilter::Create(Callback onDeadKey) {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return nullptr;
    }
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor)) {
        return nullptr;
    }
    std::unique_ptr<X11DeadKeyFilter> filter(
        new X11DeadKeyFilter(display, eventBase, std::move(onDeadKey)));
    QCoreApplication::instance()->installNativeEventFilter(filter.get());
    return filter;
}

X11DeadKeyFilter::X11DeadKeyFilter(_XDisplay* display, int xkbEventBase, Callback onDeadKey)
    : display_(display), xkbEventBase_(xkbEventBase), onDeadKey_(std::move(onDeadKey)) {}

X11DeadKeyFilter::~X11DeadKeyFilter() {
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    if (keymap_) {
        XkbFreeKeyboard(keymap_, XkbAllComponentsMask, True);
    }
}

bool X11DeadKeyFilter::IsDeadKeySymbol(unsigned long keysym) {
    return keysym >= XK_dead_grave && keysym <= XK_dead_longsolidusoverlay;
}

unsigned long X11DeadKeyFilter::KeySymbol(unsigned keycode, unsigned state) {
    if (!keymap_) {
        keymap_ = XkbGetMap(display_, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
        if (!keymap_) {
            return NoSymbol;
        }
    }
    // The state carries the group (layout) and the shift levels of this press.
    unsigned int consumed = 0;
    KeySym keysym = NoSymbol;
    if (!XkbTranslateKeyCode(keymap_, static_cast<KeyCode>(keycode), state, &consumed, &keysym)) {
        return NoSymbol;
    }
    return keysym;
}

bool X11DeadKeyFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7F;
    if (type == xkbEventBase_) {
        // The second byte of an XKB event is its kind.
        const int kind = reinterpret_cast<const std::uint8_t*>(event)[1];
        if ((kind == XKB_NEW_KEYBOARD_NOTIFY || kind == XKB_MAP_NOTIFY) && keymap_) {
            XkbFreeKeyboard(keymap_, XkbAllComponentsMask, True);
            keymap_ = nullptr;
        }
        return false;
    }
    if (type != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (IsDeadKeySymbol(KeySymbol(press->detail, press->state))) {
        onDeadKey_(press->time, press->event);
    }
    return false;
}

}  // namespace quirtel
