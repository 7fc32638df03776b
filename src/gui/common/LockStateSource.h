#pragma once

#include <memory>
#include <optional>

namespace quirtel {

// Caps Lock, Num Lock and Scroll Lock; an empty value when the system does not
// tell (its status-bar pane then stays empty).
struct LockStates {
    std::optional<bool> caps;
    std::optional<bool> num;
    std::optional<bool> scroll;

    friend bool operator==(const LockStates&, const LockStates&) = default;
};

// Where the status bar reads the lock keys from; injected so tests can turn
// the locks on.
class LockStateSource {
public:
    virtual ~LockStateSource() = default;
    virtual LockStates Read() = 0;
};

// Always answers the states it was given: the source on systems that do not
// report their lock keys (Wayland, offscreen), and the fake of tests.
class FixedLockStateSource final : public LockStateSource {
public:
    explicit FixedLockStateSource(LockStates states = {}) : states(states) {}
    LockStates Read() override { return states; }

    LockStates states;
};

// The keyboard indicators of the X11 display the application runs on, read
// through XKB; elsewhere a source that knows nothing. Needs a running
// QGuiApplication, which must outlive the source.
std::unique_ptr<LockStateSource> CreateSystemLockStateSource();

}  // namespace quirtel
