#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/results/StatisticsRecord.h"

// The points of the progress chart, worked out from the records.
namespace quirtel {

// One point of the chart: one test, or the tests of a span of days.
struct ProgressPoint {
    LogDate date;  // of the test, or the first day of the span at 00:00
    double netSpeed = 0.0;
    double speed = 0.0;
    // The mean net speed of the 10 tests up to this one (to the last of the
    // span), fewer at the start.
    double movingAverage = 0.0;
    // The mean faults of the tests with the spelling check on; none when the
    // check was off in all of them.
    std::optional<double> faults;
    std::int64_t tests = 1;
    // The number of the (first) test, counting from 1 in date order.
    std::int64_t firstTest = 1;
};

// What the chart's horizontal axis counts: the tests one after another, or
// the calendar.
enum class ProgressAxis { byTest, byDate };

// The points in date order (tests of the same minute in file order). With
// at most `maxPoints` records, one point per test; with more, the records are
// grouped into spans, each as short as lets at most `maxPoints` points
// remain, and a point holds the means of its span. byDate: spans of whole
// days (one day when that is enough), dated at the span's first day 00:00;
// byTest: spans of the same number of consecutive tests (the last may be
// shorter), dated at their first test. `maxPoints` below 1 counts as 1.
std::vector<ProgressPoint> BuildProgressSeries(const std::vector<StatisticsRecord>& records,
                                               std::size_t maxPoints,
                                               ProgressAxis axis = ProgressAxis::byDate);

}  // namespace quirtel
