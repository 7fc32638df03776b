#include "gui/common/LockStateSource.h"

#include <QGuiApplication>

// The X11 headers define macros such as None and Bool: include them last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace quirtel {
namespace {

class X11LockStateSource final : public LockStateSource {
public:
    explicit X11LockStateSource(Display* display)
        : display_(display),
          caps_(XInternAtom(display, "Caps Lock", True)),
          num_(XInternAtom(display, "Num Lock", True)),
          scroll_(XInternAtom(display, "Scroll Lock", True)) {}

    LockStates Read() override { return {Indicator(caps_), Indicator(num_), Indicator(scroll_)}; }

private:
    // Empty when the server has no such indicator (or no XKB).
    std::optional<bool> Indicator(Atom name) const {
        if (name == 0) {
            return std::nullopt;
        }
        Bool on = False;
        if (!XkbGetNamedIndicator(display_, name, nullptr, &on, nullptr, nullptr)) {
            return std::nullopt;
        }
        return on != False;
    }

    Display* display_;
    Atom caps_;
    Atom num_;
    Atom scroll_;
};

}  // namespace

std::unique_ptr<LockStateSource> CreateSystemLockStateSource() {
    if (const auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* display = x11->display()) {
            return std::make_unique<X11LockStateSource>(display);
        }
    }
    return std::make_unique<FixedLockStateSource>();
}

}  // namespace quirtel
