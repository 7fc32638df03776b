#pragma once

#include <cstdint>

namespace quirtel {

// Milliseconds from a fixed but unspecified start; never goes back.
using SteadyMs = std::int64_t;

// A monotonic clock for the times of keystrokes, behind an interface so tests
// can move time by hand. Unlike Clock it ignores changes of the system time.
class SteadyClock {
public:
    virtual ~SteadyClock() = default;
    virtual SteadyMs NowMs() const = 0;
};

class SystemSteadyClock final : public SteadyClock {
public:
    SteadyMs NowMs() const override;
};

}  // namespace quirtel
