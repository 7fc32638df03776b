#include "core/results/ProgressSeries.h"

#include <algorithm>
#include <numeric>

namespace quirtel {
namespace {

constexpr std::size_t kAverageWindow = 10;

LogDate DateOfDay(std::int64_t day) {
    // The inverse of the civil-day count (Howard Hinnant's algorithm).
    day += 719468;
    const std::int64_t era = (day >= 0 ? day : day - 146096) / 146097;
    const std::int64_t dayOfEra = day - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int dayOfMonth = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const auto year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, dayOfMonth, 0, 0};
}

// Adds the tests of one point up and turns the sums into means.
struct Accumulator {
    double net = 0.0;
    double speed = 0.0;
    double faults = 0.0;
    std::int64_t withFaults = 0;
    std::int64_t tests = 0;

    void Add(const StatisticsRecord& record) {
        net += record.netSpeed;
        speed += record.speed;
        if (record.faults) {
            faults += *record.faults;
            ++withFaults;
        }
        ++tests;
    }
    ProgressPoint Point(const LogDate& date, double movingAverage) const {
        const auto n = static_cast<double>(tests);
        ProgressPoint point{date, net / n, speed / n, movingAverage, std::nullopt, tests};
        if (withFaults > 0) {
            point.faults = faults / static_cast<double>(withFaults);
        }
        return point;
    }
};

}  // namespace

std::vector<ProgressPoint> BuildProgressSeries(const std::vector<StatisticsRecord>& records,
                                               std::size_t maxPoints, ProgressAxis axis) {
    maxPoints = std::max<std::size_t>(maxPoints, 1);
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<std::int64_t> minutes(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        minutes[i] = records[i].date.Minutes();
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return minutes[a] < minutes[b]; });

    // The moving average follows the tests in date order.
    std::vector<double> average(records.size());
    double windowSum = 0.0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        windowSum += records[order[k]].netSpeed;
        if (k >= kAverageWindow) {
            windowSum -= records[order[k - kAverageWindow]].netSpeed;
        }
        average[k] = windowSum / static_cast<double>(std::min(k + 1, kAverageWindow));
    }

    std::vector<ProgressPoint> points;
    if (records.empty()) {
        return points;
    }
    // The span each test falls in, and the date that stands for a span.
    const bool grouped = records.size() > maxPoints;
    const std::size_t testsPerSpan = (records.size() + maxPoints - 1) / maxPoints;
    const std::int64_t firstDay = records[order.front()].date.Day();
    const std::int64_t days = records[order.back()].date.Day() - firstDay + 1;
    const auto daysPerSpan =
        std::max<std::int64_t>(1, (days + static_cast<std::int64_t>(maxPoints) - 1) /
                                      static_cast<std::int64_t>(maxPoints));
    const auto spanOf = [&](std::size_t k) -> std::int64_t {
        if (!grouped) {
            return static_cast<std::int64_t>(k);
        }
        return axis == ProgressAxis::byTest
                   ? static_cast<std::int64_t>(k / testsPerSpan)
                   : (records[order[k]].date.Day() - firstDay) / daysPerSpan;
    };
    const auto dateOf = [&](std::int64_t span, std::size_t first) {
        return grouped && axis == ProgressAxis::byDate ? DateOfDay(firstDay + span * daysPerSpan)
                                                       : records[order[first]].date;
    };

    points.reserve(grouped ? maxPoints : records.size());
    Accumulator bucket;
    std::int64_t span = spanOf(0);
    std::size_t first = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::int64_t index = spanOf(k);
        if (index != span) {
            points.push_back(bucket.Point(dateOf(span, first), average[k - 1]));
            points.back().firstTest = static_cast<std::int64_t>(first) + 1;
            bucket = Accumulator();
            span = index;
            first = k;
        }
        bucket.Add(records[order[k]]);
    }
    points.push_back(bucket.Point(dateOf(span, first), average.back()));
    points.back().firstTest = static_cast<std::int64_t>(first) + 1;
    return points;
}

}  // namespace quirtel
