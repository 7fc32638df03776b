#pragma once

#include <cstdint>
#include <optional>

// The exam rules a copy test is judged by.
namespace quirtel {

struct CopyRules {
    static constexpr int MIN_MINUTES = 1;
    static constexpr int MAX_MINUTES = 30;
    static constexpr int MAX_PENALTY = 100;

    int minutes = 10;  // the time limit, 1 to 30
    int penalty = 5;   // keystrokes taken off per error, 0 to 100
    // Net keystrokes per minute needed to pass; 0: no pass mark.
    int passMark = 0;
    // Most errors allowed, as a percentage of the words reached; 0: no limit.
    int maxErrorsPercent = 0;

    // The same rules with each value held within its range (a negative pass
    // mark or limit is none; the percentage is at most 100).
    CopyRules Clamped() const;

    // True when the rules set a pass mark or an error limit, so a verdict
    // ("Apto"/"No apto") is given.
    bool HasVerdict() const;

    // The verdict on a copy's figures: none without a pass mark or limit;
    // else whether netSpeed reaches the pass mark (when set) and errors stay
    // within the limit's share of wordsReached (when set).
    std::optional<bool> Verdict(double netSpeed, std::int64_t errors,
                                std::int64_t wordsReached) const;

    friend bool operator==(const CopyRules&, const CopyRules&) = default;
};

// (keystrokes - errors * penalty) * 60 / elapsedSeconds, never below 0;
// 0 when elapsedSeconds < 1.
double ComputeCopyNetSpeed(std::int64_t keystrokes, std::int64_t errors, int penalty,
                           std::int32_t elapsedSeconds);

}  // namespace quirtel
