#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/results/StatisticsRecord.h"

// The figures that sum up the statistics log, shared by the progress window
// and quirtel-score --history.
namespace quirtel {

struct ProgressSummary {
    std::int64_t tests = 0;
    std::int64_t totalSeconds = 0;
    // The highest net speed and the date of its first test; none without tests.
    std::optional<double> bestNetSpeed;
    std::optional<LogDate> bestDate;
    // The mean net speed of the last 10 tests (all of them when fewer), and of
    // the up to 10 before those (none with fewer than 11 tests).
    std::optional<double> averageNetSpeedLast10;
    std::optional<std::int64_t> countLast10;
    std::optional<double> averageNetSpeedPrevious10;
    std::optional<std::int64_t> countPrevious10;
    // (last - previous) / |previous| in percent; none without a previous mean
    // or when it is 0.
    std::optional<double> changePercent;
    // Mean faults over the tests with the spelling check on; none without one.
    std::optional<double> averageFaults;
    std::int64_t testsWithSpellCheck = 0;
};

// Sums up `records` in file order (the last ones are the newest).
ProgressSummary SummarizeProgress(const std::vector<StatisticsRecord>& records);

// "H h MM min SS s", without the hours under one hour: "1 h 05 min 30 s", "5 min 00 s".
std::string FormatTotalTime(std::int64_t seconds);

// The summary in Spanish (Windows-1252), one sentence per line, each ending
// with '\n'.
std::string FormatProgressSummary(const ProgressSummary& summary);

}  // namespace quirtel
