#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quirtel {

inline constexpr std::int32_t MIN_MINUTES = 1;
inline constexpr std::int32_t MAX_MINUTES = 30;
inline constexpr std::int32_t DEFAULT_MINUTES = 10;

// Only this many characters of the minutes field count.
inline constexpr std::size_t MINUTES_TEXT_LIMIT = 31;

// The minutes the options dialog opens with: 0 and anything above 30 become 10.
std::int32_t InitialMinutes(std::uint32_t minutes);

// A whole decimal number as the minutes field takes it: leading blanks and
// tabs, an optional sign, digits, then only blanks and tabs. A value of 0
// counts only when the first character after the blanks is '0' ("0", "00";
// not "+0" or "-0"). Digit runs beyond the 32-bit range saturate at its ends.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

enum class MinutesCheck { Valid, NotANumber, OutOfRange };

// Checks the first 31 characters of the field's Windows-1252 text; `minutes`
// gets the parsed number whenever there is one.
MinutesCheck CheckMinutesText(std::string_view cp1252Text, std::int32_t& minutes);

// The message for a refused text, in Windows-1252.
std::string MinutesMessage(MinutesCheck check);

}  // namespace quirtel
