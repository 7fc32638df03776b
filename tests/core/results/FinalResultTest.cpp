#include "core/results/FinalResult.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace quirtel {
namespace {

// Runs a test body in a fixed time zone and puts the old one back afterwards.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~TimeZone() {
        if (old_) {
            ::setenv("TZ", old_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> old_;
};

// Calendar time of a local date and time.
CalendarTime LocalTime(int year, int month, int day, int hour, int minute) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TEST(FinalResult, SpeedTextRoundsLikePrintfWithTwoDecimals) {
    const struct {
        double speed;
        const char* text;
    } cases[] = {
        {212.4, "212.40 caracteres/min"},
        {1062 * 60.0 / 300, "212.40 caracteres/min"},
        {150.0, "150.00 caracteres/min"},
        {0.0, "0.00 caracteres/min"},
        {-1.0, "-1.00 caracteres/min"},
        {0.125, "0.12 caracteres/min"},  // exact tie in binary: to even
        {0.375, "0.38 caracteres/min"},
        {2.675, "2.67 caracteres/min"},  // just below 2.675 in binary
        {199.999, "200.00 caracteres/min"},
        {-0.004, "-0.00 caracteres/min"},
        {1e6, "1000000.00 caracteres/min"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatSpeedText(c.speed), c.text) << c.speed;
    }
}

TEST(FinalResult, TimeSpanShowsMinutesWithinTheHourAndKeepsSigns) {
    const struct {
        std::int32_t seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},
        {59, "00:59"},
        {75, "01:15"},
        {120, "02:00"},
        {600, "10:00"},
        {1800, "30:00"},
        {3599, "59:59"},
        {3600, "00:00"},
        {3725, "02:05"},
        {-5, "00:-5"},
        {-65, "-1:-5"},
        {-600, "-10:00"},
        {std::numeric_limits<std::int32_t>::max(), "14:07"},
        {std::numeric_limits<std::int32_t>::min(), "-14:-8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatTimeSpan(c.seconds), c.text) << c.seconds;
    }
    EXPECT_EQ(FormatTimeText(120), "02:00 minutos");
    EXPECT_EQ(FormatTimeText(0), "00:00 minutos");
}

TEST(FinalResult, KeystrokesAndSpeedFollowTheCounts) {
    const struct {
        std::int32_t characters, lineBreaks, capitals;
        bool capitalsDouble;
        std::int32_t elapsed;
        std::int32_t keystrokes;
        const char* speedText;
    } cases[] = {
        {10, 0, 2, true, 60, 12, "12.00 caracteres/min"},  // "Hola Mundo"
        {10, 0, 2, false, 60, 10, "10.00 caracteres/min"},
        {5, 1, 0, true, 60, 6, "6.00 caracteres/min"},  // "abc" / "de"
        {8, 0, 0, true, 240, 8, "2.00 caracteres/min"},
        {299, 1, 0, true, 120, 300, "150.00 caracteres/min"},
        {1062, 0, 0, true, 300, 1062, "212.40 caracteres/min"},
        {0, 0, 0, true, 0, 0, "0.00 caracteres/min"},
        {50, 0, 0, true, 0, 50, "0.00 caracteres/min"},    // finished before the first tick
        {50, 0, 0, true, -30, 50, "0.00 caracteres/min"},  // clock set back
    };
    for (const auto& c : cases) {
        const std::int32_t keystrokes =
            ComputeKeystrokes(c.characters, c.lineBreaks, c.capitals, c.capitalsDouble);
        EXPECT_EQ(keystrokes, c.keystrokes) << c.characters;
        EXPECT_EQ(FormatSpeedText(ComputeSpeed(keystrokes, c.elapsed)), c.speedText)
            << c.characters;
    }
    EXPECT_EQ(ComputeSpeed(50, 0), 0.0);
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(ComputeKeystrokes(max, max, max, true), max);
}

TEST(FinalResult, NetSpeedTakesOneKeystrokePerFault) {
    const struct {
        double speed;
        std::int32_t faults;
        const char* text;
    } cases[] = {
        {150.0, 5, "145.00 caracteres/min"},  {150.0, 3, "147.00 caracteres/min"},
        {212.4, 11, "201.40 caracteres/min"}, {2.0, 3, "-1.00 caracteres/min"},
        {0.0, 4, "-4.00 caracteres/min"},     {180.0, 0, "180.00 caracteres/min"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNetSpeedText(c.speed, c.faults), c.text) << c.speed << " " << c.faults;
    }
}

TEST(FinalResult, FaultsTextAndCaption) {
    EXPECT_EQ(FormatFaultsText(11, true), "11");
    EXPECT_EQ(FormatFaultsText(0, true), "0");
    EXPECT_EQ(FormatFaultsText(2147483647, true), "2147483647");
    EXPECT_EQ(FormatFaultsText(5, false),
              "<ortograf\xED"
              "a desactivada>");
    EXPECT_EQ(FinishedCaption("147.00 caracteres/min", "02:00 minutos"),
              "Prueba acabada: 147.00 caracteres/min en 02:00 minutos");
}

TEST(FinalResult, DateTextUsesEnglishMonthsInLocalTime) {
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(FormatDateText(LocalTime(2026, month, 9, 7, 5)),
                  std::string("09-") + months[month - 1] + "-2026 07:05");
    }
    EXPECT_EQ(FormatDateText(LocalTime(2026, 12, 6, 8, 15)), "06-Dec-2026 08:15");
    EXPECT_EQ(FormatDateText(LocalTime(2026, 12, 31, 23, 59)), "31-Dec-2026 23:59");
}

TEST(FinalResult, DateTextAroundTheLimitsOfCalendarTime) {
    const TimeZone utc("UTC0");
    EXPECT_EQ(FormatDateText(0), "01-Jan-1970 00:00");
    EXPECT_EQ(FormatDateText(-1), "31-Dec-1969 23:59");
    // Past the end of 32-bit seconds: 64-bit calendar time does not wrap.
    EXPECT_EQ(FormatDateText(2147483648LL), "19-Jan-2038 03:14");
    EXPECT_EQ(FormatDateText(4102444800LL), "01-Jan-2100 00:00");
    EXPECT_EQ(FormatDateText(std::numeric_limits<CalendarTime>::max()), "");
    EXPECT_EQ(FormatDateText(std::numeric_limits<CalendarTime>::min()), "");
}

TEST(FinalResult, DateTextFollowsTheTimeZone) {
    const TimeZone madrid("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(FormatDateText(0), "01-Jan-1970 01:00");
    EXPECT_EQ(FormatDateText(1782000000), "21-Jun-2026 02:00");  // summer time
}

TEST(FinalResult, StatisticsRecordsOfTheWorkedExamples) {
    const std::string first = BuildStatisticsRecord(FormatSpeedText(ComputeSpeed(1062, 300)),
                                                    FormatNetSpeedText(ComputeSpeed(1062, 300), 11),
                                                    FormatTimeText(300), FormatFaultsText(11, true),
                                                    FormatDateText(LocalTime(2026, 12, 6, 8, 15)));
    EXPECT_EQ(first,
              "\r\n06-Dec-2026 08:15 --- 212.40 caracteres/min --- 05:00 minutos --- Faltas: 11 "
              "--- Pulsaciones: 201.40 caracteres/min");

    const std::string second = BuildStatisticsRecord(
        FormatSpeedText(ComputeSpeed(1800, 600)), FormatNetSpeedText(ComputeSpeed(1800, 600), 0),
        FormatTimeText(600), FormatFaultsText(0, false),
        FormatDateText(LocalTime(2026, 12, 6, 8, 25)));
    EXPECT_EQ(second,
              "\r\n06-Dec-2026 08:25 --- 180.00 caracteres/min --- 10:00 minutos --- Faltas: "
              "<ortograf\xED"
              "a desactivada> --- Pulsaciones: 180.00 caracteres/min");

    // A time that cannot be converted leaves the date empty, nothing else.
    EXPECT_EQ(BuildStatisticsRecord("a", "b", "c", "d", ""),
              "\r\n --- a --- c --- Faltas: d --- Pulsaciones: b");
}

}  // namespace
}  // namespace quirtel
