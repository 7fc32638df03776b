#include "core/common/Clock.h"

#include <ctime>

namespace quirtel {

CalendarTime SystemClock::Now() const {
    return static_cast<CalendarTime>(std::time(nullptr));
}

}  // namespace quirtel
