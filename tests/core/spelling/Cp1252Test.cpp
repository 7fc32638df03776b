#include "core/common/Cp1252.h"

#include <gtest/gtest.h>

namespace quirtel::cp1252 {
namespace {

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = ToUtf8(one);
        EXPECT_TRUE(IsValidUtf8(utf8)) << b;
        EXPECT_EQ(FromUtf8(utf8), one) << b;
    }
}

TEST(Cp1252, ConvertsSpanishAndTypographicCharacters) {
    EXPECT_EQ(FromUtf8("ñandú ¿€…”"),
              "\xF1"
              "and\xFA \xBF\x80\x85\x94");
    EXPECT_EQ(ToUtf8("\xD1\xE1\x93"), "Ñá“");
}

TEST(Cp1252, MarksWhatItCannotRepresent) {
    EXPECT_EQ(FromUtf8("a→b😀c"), "a?b?c");
    EXPECT_EQ(FromUtf8("x\xFFy\xC3"), "x?y?");  // stray byte, truncated sequence
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_TRUE(IsValidUtf8(""));
}

}  // namespace
}  // namespace quirtel::cp1252
