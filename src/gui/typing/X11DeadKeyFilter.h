#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>

struct _XDisplay;
struct _XkbDesc;

namespace quirtel {

// Reports dead-key presses as X11 delivers them. Qt's compose input context
// swallows a dead key before any Qt event exists, so only the raw X11 event
// shows it; this filter looks at every key press, filters nothing, and tells
// `onDeadKey` the press's time stamp and the X11 window it went to.
class X11DeadKeyFilter final : public QAbstractNativeEventFilter {
public:
    using Callback = std::function<void(unsigned long timestamp, unsigned long window)>;

    // Installed on the application at once; null when the program does not
    // run on X11.
    static std::unique_ptr<X11DeadKeyFilter> Create(Callback onDeadKey);
    ~X11DeadKeyFilter() override;
    X11DeadKeyFilter(const X11DeadKeyFilter&) = delete;
    X11DeadKeyFilter& operator=(const X11DeadKeyFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Whether an X11 key symbol is one of the dead (accent) keys.
    static bool IsDeadKeySymbol(unsigned long keysym);

private:
    X11DeadKeyFilter(_XDisplay* display, int xkbEventBase, Callback onDeadKey);
    unsigned long KeySymbol(unsigned keycode, unsigned state);

    _XDisplay* display_;
    int xkbEventBase_;
    Callback onDeadKey_;
    // The keyboard map, fetched again after the server announces a new one.
    _XkbDesc* keymap_ = nullptr;
};

}  // namespace quirtel
