#pragma once

#include <cstdint>

namespace quirtel {

// Calendar time in whole seconds since 1970-01-01 00:00 UTC, kept in 64 bits so
// it does not wrap in 2038.
using CalendarTime = std::int64_t;

// The system clock, behind an interface so tests can move time by hand.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalendarTime Now() const = 0;
};

class SystemClock final : public Clock {
public:
    CalendarTime Now() const override;
};

}  // namespace quirtel
