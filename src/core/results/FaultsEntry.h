#pragma once

#include <cstdint>
#include <string_view>

// Reading the number of real faults that the user types into the result dialog.
namespace quirtel {

enum class FaultsEntryError { None, NotPositive, OutOfRange };

// The messages shown for an invalid entry and for a number out of range
// (Windows-1252).
inline constexpr const char* FAULTS_NOT_POSITIVE_TEXT = "Introduzca un n\xFAmero entero positivo.";
inline constexpr const char* FAULTS_OUT_OF_RANGE_TEXT =
    "Introduzca un n\xFAmero entero entre 0 y 2147483647.";

// The largest number the field accepts (the largest signed 32-bit value).
inline constexpr std::uint32_t MAX_REAL_FAULTS = 2147483647;

// Reads `text` as an unsigned decimal number: blanks and tabs around it are
// allowed, so is one leading '+'; a '-', any other character, an empty field or
// a number that reads as 0 without starting with '0' ("+0" included) gives
// NotPositive. A well-formed number above MAX_REAL_FAULTS, also one too long for
// 32 bits, gives OutOfRange. `value` is set only when the result is None.
FaultsEntryError ParseRealFaults(std::string_view text, std::uint32_t& value);

// The message for an error (FAULTS_NOT_POSITIVE_TEXT or FAULTS_OUT_OF_RANGE_TEXT);
// empty for None.
std::string_view FaultsEntryMessage(FaultsEntryError error);

}  // namespace quirtel
