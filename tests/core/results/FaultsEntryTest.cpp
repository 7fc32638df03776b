#include "core/results/FaultsEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace quirtel {
namespace {

using E = FaultsEntryError;

TEST(FaultsEntry, ReadsTheFieldOfTheResultDialog) {
    const struct {
        std::string text;
        E error;
        std::uint32_t value;  // when accepted
    } cases[] = {
        {"13", E::None, 13},
        {" 7 ", E::None, 7},
        {"\t7\t ", E::None, 7},
        {"+7", E::None, 7},
        {"0", E::None, 0},
        {"000", E::None, 0},
        {"0007", E::None, 7},
        {"20", E::None, 20},
        {"2147483647", E::None, 2147483647},
        {"00000000002147483647", E::None, 2147483647},
        {"", E::NotPositive, 0},
        {"   ", E::NotPositive, 0},
        {"7a", E::NotPositive, 0},
        {"a7", E::NotPositive, 0},
        {"-1", E::NotPositive, 0},
        {" -0", E::NotPositive, 0},
        {"1.5", E::NotPositive, 0},
        {"+", E::NotPositive, 0},
        {"+0", E::NotPositive, 0},  // reads 0 without starting with '0'
        {"++1", E::NotPositive, 0},
        {"+-1", E::NotPositive, 0},
        {"1 2", E::NotPositive, 0},
        {"0x10", E::NotPositive, 0},
        {"\n7", E::NotPositive, 0},  // only blanks and tabs are skipped
        {"7\r", E::NotPositive, 0},
        {std::string("7\0", 2), E::NotPositive, 0},
        {"\xBD", E::NotPositive, 0},
        {"99999999999x", E::NotPositive, 0},  // shape is judged before range
        {"2147483648", E::OutOfRange, 0},
        {"4294967295", E::OutOfRange, 0},
        {"4294967296", E::OutOfRange, 0},  // does not wrap to 0
        {"12345678901", E::OutOfRange, 0},
        {" +99999999999999999999999 ", E::OutOfRange, 0},
    };
    for (const auto& c : cases) {
        std::uint32_t value = 4242;
        EXPECT_EQ(ParseRealFaults(c.text, value), c.error) << '"' << c.text << '"';
        EXPECT_EQ(value, c.error == E::None ? c.value : 4242u) << '"' << c.text << '"';
    }
}

TEST(FaultsEntry, MessagesAreTheDialogTexts) {
    EXPECT_EQ(FaultsEntryMessage(E::NotPositive), "Introduzca un n\xFAmero entero positivo.");
    EXPECT_EQ(FaultsEntryMessage(E::OutOfRange),
              "Introduzca un n\xFAmero entero entre 0 y 2147483647.");
    EXPECT_EQ(FaultsEntryMessage(E::None), "");
}

}  // namespace
}  // namespace quirtel
