#include "core/settings/MinutesEntry.h"

#include <algorithm>
#include <limits>

namespace quirtel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::int32_t InitialMinutes(std::uint32_t minutes) {
    return (minutes == 0 || minutes > static_cast<std::uint32_t>(MAX_MINUTES))
               ? DEFAULT_MINUTES
               : static_cast<std::int32_t>(minutes);
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    const bool startsWithZero = i < text.size() && text[i] == '0';
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // Accumulated as a magnitude in 64 bits, clamped once past the range, so
    // no digit run can overflow.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), limit);
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i != text.size() || (magnitude == 0 && !startsWithZero)) {
        return std::nullopt;
    }
    if (negative) {
        return static_cast<std::int32_t>(-magnitude);
    }
    return static_cast<std::int32_t>(std::min(magnitude, limit - 1));
}

MinutesCheck CheckMinutesText(std::string_view cp1252Text, std::int32_t& minutes) {
    const auto number = ParseWholeNumber(cp1252Text.substr(0, MINUTES_TEXT_LIMIT));
    if (!number) {
        return MinutesCheck::NotANumber;
    }
    minutes = *number;
    return (minutes >= MIN_MINUTES && minutes <= MAX_MINUTES) ? MinutesCheck::Valid
                                                              : MinutesCheck::OutOfRange;
}

std::string MinutesMessage(MinutesCheck check) {
    switch (check) {
        case MinutesCheck::NotANumber:
            return "Introduzca un n\xFAmero entero.";
        case MinutesCheck::OutOfRange:
            return "Introduzca un n\xFAmero entero entre " + std::to_string(MIN_MINUTES) + " y " +
                   std::to_string(MAX_MINUTES) + ".";
        case MinutesCheck::Valid:
            break;
    }
    return {};
}

}  // namespace quirtel
