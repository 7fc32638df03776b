#include "core/results/FaultsEntry.h"

namespace quirtel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

FaultsEntryError ParseRealFaults(std::string_view text, std::uint32_t& value) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos < text.size() && text[pos] == '-') {
        return FaultsEntryError::NotPositive;
    }
    // A reading of 0 counts only when the number was written starting with '0':
    // this refuses an empty field, letters and a bare sign ("+0" too, since its
    // first character is the sign).
    const bool startsWithZero = pos < text.size() && text[pos] == '0';
    if (pos < text.size() && text[pos] == '+') {
        ++pos;
    }
    // 64 bits with a sticky overflow flag: numbers too long for the unsigned
    // 32-bit reading are out of range, not wrapped around.
    std::uint64_t number = 0;
    bool overflow = false;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        number = number * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        if (number > 0xFFFFFFFFu) {
            overflow = true;
            number = 0xFFFFFFFFu;
        }
        ++pos;
    }
    if (number == 0 && !overflow && !startsWithZero) {
        return FaultsEntryError::NotPositive;
    }
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    if (pos != text.size()) {
        return FaultsEntryError::NotPositive;
    }
    if (overflow || number > MAX_REAL_FAULTS) {
        return FaultsEntryError::OutOfRange;
    }
    value = static_cast<std::uint32_t>(number);
    return FaultsEntryError::None;
}

std::string_view FaultsEntryMessage(FaultsEntryError error) {
    switch (error) {
        case FaultsEntryError::NotPositive:
            return FAULTS_NOT_POSITIVE_TEXT;
        case FaultsEntryError::OutOfRange:
            return FAULTS_OUT_OF_RANGE_TEXT;
        case FaultsEntryError::None:
            break;
    }
    return {};
}

}  // namespace quirtel
