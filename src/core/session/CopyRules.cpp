#include "core/session/CopyRules.h"

#include <algorithm>

namespace quirtel {

CopyRules CopyRules::Clamped() const {
    CopyRules rules;
    rules.minutes = std::clamp(minutes, MIN_MINUTES, MAX_MINUTES);
    rules.penalty = std::clamp(penalty, 0, MAX_PENALTY);
    rules.passMark = std::max(passMark, 0);
    rules.maxErrorsPercent = std::clamp(maxErrorsPercent, 0, 100);
    return rules;
}

bool CopyRules::HasVerdict() const {
    return passMark > 0 || maxErrorsPercent > 0;
}

std::optional<bool> CopyRules::Verdict(double netSpeed, std::int64_t errors,
                                       std::int64_t wordsReached) const {
    if (!HasVerdict()) {
        return std::nullopt;
    }
    bool pass = true;
    if (passMark > 0) {
        pass = pass && netSpeed >= passMark;
    }
    if (maxErrorsPercent > 0) {
        // Compared in whole numbers: errors / wordsReached <= percent / 100.
        pass = pass && errors * 100 <= std::int64_t{maxErrorsPercent} * wordsReached;
    }
    return pass;
}

double ComputeCopyNetSpeed(std::int64_t keystrokes, std::int64_t errors, int penalty,
                           std::int32_t elapsedSeconds) {
    if (elapsedSeconds < 1) {
        return 0.0;
    }
    const double net = static_cast<double>(keystrokes - errors * penalty) * 60.0 / elapsedSeconds;
    return std::max(net, 0.0);
}

}  // namespace quirtel
