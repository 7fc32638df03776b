#include "core/common/SteadyClock.h"

#include <chrono>

namespace quirtel {

SteadyMs SystemSteadyClock::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace quirtel
