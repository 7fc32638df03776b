#include "core/session/KeyTimes.h"

#include <gtest/gtest.h>

namespace quirtel {
namespace {

Keystroke Char(std::uint32_t ms, char32_t c) {
    return {ms, c, Keystroke::Kind::Character};
}

TEST(KeyTimes, SlowestKeysByMeanTimeBeforeThem) {
    const std::vector<Keystroke> stream = {
        Char(0, U'a'),  // the first key: no time before it
        Char(100, U'a'),
        Char(200, U'a'),
        Char(500, U'\u00F1'),  // 300
        {600, static_cast<char32_t>(ControlKey::Backspace), Keystroke::Kind::Control},
        {600, U'\u00F1', Keystroke::Kind::Deleted},
        Char(1000, U'\u00F1'),  // 400 after the deletion
        Char(1100, U'\u00F1'),  // 100
        Char(1150, U'a'),       // 50
        Char(1300, U'b'),
        Char(1400, U'b'),  // typed twice only
    };
    const std::vector<KeyTime> keys = SlowestKeys(stream);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], (KeyTime{U'\u00F1', 800.0 / 3, 3}));
    EXPECT_EQ(keys[1], (KeyTime{U'a', 250.0 / 3, 3}));
    EXPECT_EQ(SlowestKeys(stream, 2, 1), (std::vector<KeyTime>{keys[0]}));
    EXPECT_TRUE(SlowestKeys({}).empty());
}

}  // namespace
}  // namespace quirtel
