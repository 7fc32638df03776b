#include "core/results/ProgressSeries.h"

#include <gtest/gtest.h>

namespace quirtel {
namespace {

StatisticsRecord At(int day, int hour, double net, std::optional<std::int32_t> faults) {
    return {{2026, 1, day, hour, 0}, 300, net + faults.value_or(0), faults, net};
}

TEST(ProgressSeries, OnePointPerTestOrPerSpanOfDays) {
    // Out of date order in the file; one test without spelling check.
    const std::vector<StatisticsRecord> few = {At(3, 8, 30, 1), At(1, 8, 10, std::nullopt),
                                               At(2, 8, 20, 3)};
    std::vector<ProgressPoint> points = BuildProgressSeries(few, 3);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].date, (LogDate{2026, 1, 1, 8, 0}));
    EXPECT_EQ(points[0].faults, std::nullopt);
    EXPECT_EQ(points[1].speed, 23.0);
    EXPECT_EQ(points[2].movingAverage, 20.0);
    EXPECT_EQ(points[2].firstTest, 3);

    // Twelve tests over three days, four a day: a point per day holds its means,
    // and the moving average as it stood after the day's last test.
    std::vector<StatisticsRecord> many;
    for (int i = 0; i < 12; ++i) {
        many.push_back(At(1 + i / 4, 8 + i % 4, i, i % 2 == 0 ? std::optional(2) : std::nullopt));
    }
    points = BuildProgressSeries(many, 5);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].date, (LogDate{2026, 1, 2, 0, 0}));
    EXPECT_EQ(points[1].netSpeed, 5.5);
    EXPECT_EQ(points[1].faults, 2.0);
    EXPECT_EQ(points[1].tests, 4);
    EXPECT_EQ(points[2].movingAverage, 6.5);  // tests 2 to 11

    // Twelve days for five points: spans of three days, counted from the first.
    for (int i = 0; i < 12; ++i) {
        many[static_cast<std::size_t>(i)].date.day = 1 + i;
    }
    points = BuildProgressSeries(many, 5);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[3].date, (LogDate{2026, 1, 10, 0, 0}));
    EXPECT_EQ(points[3].netSpeed, 10.0);

    // By test: spans of three consecutive tests, dated at their first.
    points = BuildProgressSeries(many, 5, ProgressAxis::byTest);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_EQ(points[1].firstTest, 4);
    EXPECT_EQ(points[1].tests, 3);
    EXPECT_EQ(points[1].date, (LogDate{2026, 1, 4, 11, 0}));
    EXPECT_EQ(points[1].netSpeed, 4.0);
    EXPECT_EQ(BuildProgressSeries(many, 12, ProgressAxis::byTest)[11].firstTest, 12);
    EXPECT_TRUE(BuildProgressSeries({}, 5).empty());
}

}  // namespace
}  // namespace quirtel
