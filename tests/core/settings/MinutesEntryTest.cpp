#include "core/settings/MinutesEntry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace quirtel {
namespace {

constexpr std::int32_t INT_MAX32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t INT_MIN32 = std::numeric_limits<std::int32_t>::min();

TEST(MinutesEntry, ChecksTheFieldText) {
    const auto V = MinutesCheck::Valid;
    const auto N = MinutesCheck::NotANumber;
    const auto R = MinutesCheck::OutOfRange;
    const struct {
        std::string text;
        MinutesCheck check;
        std::int32_t minutes;  // what the field parsed to; -99 when nothing
    } cases[] = {
        {"10", V, 10},
        {"1", V, 1},
        {"30", V, 30},
        {" 7 ", V, 7},
        {"\t7\t", V, 7},
        {"+7", V, 7},
        {"030", V, 30},
        {"0", R, 0},
        {"00", R, 0},
        {"31", R, 31},
        {"-3", R, -3},
        {"-05", R, -5},
        {"", N, -99},
        {"   ", N, -99},
        {"abc", N, -99},
        {"+0", N, -99},
        {"-0", N, -99},
        {"+", N, -99},
        {"- 5", N, -99},
        {"12a", N, -99},
        {"1.5", N, -99},
        {"1,5", N, -99},
        {"7 8", N, -99},
        {"0x10", N, -99},
        {"\n7", N, -99},
        {"7\n", N, -99},
        {"2\xB2", N, -99},  // superscript two is no digit
        {std::string(40, ' ') + "5", N, -99},
        {std::string(30, ' ') + "5", V, 5},
        {std::string(29, '0') + "12", V, 12},
        {std::string(30, '0') + "12", V, 1},
        {"5" + std::string(30, ' ') + "x", V, 5},
        {"99999999999999999999", R, INT_MAX32},
        {"2147483647", R, INT_MAX32},
        {"2147483648", R, INT_MAX32},
        {"-2147483648", R, INT_MIN32},
        {"-99999999999999999999999999999", R, INT_MIN32},
        {std::string(31, '9'), R, INT_MAX32},
    };
    for (const auto& c : cases) {
        std::int32_t minutes = -99;
        EXPECT_EQ(CheckMinutesText(c.text, minutes), c.check) << '"' << c.text << '"';
        EXPECT_EQ(minutes, c.minutes) << '"' << c.text << '"';
    }
}

TEST(MinutesEntry, OpeningValueAndMessages) {
    const struct {
        std::uint32_t given;
        std::int32_t shown;
    } cases[] = {
        {0, 10},  {1, 1},   {10, 10},          {30, 30},
        {31, 10}, {45, 10}, {0xFFFFFFFFu, 10}, {0x80000001u, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InitialMinutes(c.given), c.shown) << c.given;
    }
    EXPECT_EQ(MinutesMessage(MinutesCheck::NotANumber), "Introduzca un n\xFAmero entero.");
    EXPECT_EQ(MinutesMessage(MinutesCheck::OutOfRange),
              "Introduzca un n\xFAmero entero entre 1 y 30.");
}

}  // namespace
}  // namespace quirtel
