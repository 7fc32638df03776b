#pragma once

#include <cstdint>
#include <string>

#include "core/common/Clock.h"

// The figures and texts of a finished test. The typing view and the
// command-line scorer both use these, so the two never differ.
// All texts are Windows-1252.
namespace quirtel {

// The figures of the last finished test.
struct TestResult {
    std::int32_t elapsedSeconds = 0;
    std::int32_t keystrokes = 0;
    std::int32_t capitals = 0;
    std::int32_t lineBreaks = 0;
    std::int32_t faults = 0;
    double speed = 0.0;
};

// "%M:%S": minutes within the hour and seconds, "%02d" each (a negative part
// keeps its sign). 75 gives "01:15", 3725 gives "02:05".
std::string FormatTimeSpan(std::int32_t seconds);

// FormatTimeSpan + " minutos".
std::string FormatTimeText(std::int32_t seconds);

// "%.2f caracteres/min", always with a decimal point whatever the locale.
std::string FormatSpeedText(double speed);

// speed - faults: each fault takes one keystroke per minute off, whatever the
// length of the test. Can be negative.
double ComputeNetSpeed(double speed, std::int32_t faults);

// FormatSpeedText(ComputeNetSpeed(speed, faults)).
std::string FormatNetSpeedText(double speed, std::int32_t faults);

// characters + lineBreaks + (capitals when capitalsDouble), held at the 32-bit
// limits instead of overflowing.
std::int32_t ComputeKeystrokes(std::int32_t characters, std::int32_t lineBreaks,
                               std::int32_t capitals, bool capitalsDouble);

// keystrokes * 60 / elapsedSeconds; exactly 0.0 when elapsedSeconds < 1.
double ComputeSpeed(std::int32_t keystrokes, std::int32_t elapsedSeconds);

// "%d" of faults, or "<ortografía desactivada>" when the spelling check is off.
std::string FormatFaultsText(std::int32_t faults, bool spellCheck);

// "%d-%b-%Y %H:%M" of the local time, English month abbreviations whatever the
// locale, the year with at least four digits; empty when the time cannot be
// converted.
std::string FormatDateText(CalendarTime time);

// "Prueba acabada: " + netSpeedText + " en " + timeText.
std::string FinishedCaption(const std::string& netSpeedText, const std::string& timeText);

// The bytes one finished test appends to the statistics log: a leading CR LF,
// then date, speed, time, faults and net speed joined by their separators, no
// final line break.
std::string BuildStatisticsRecord(const std::string& speedText, const std::string& netSpeedText,
                                  const std::string& timeText, const std::string& faultsText,
                                  const std::string& dateText);

// "%.2f %" of a percentage, with a decimal point whatever the locale:
// "98.40 %".
std::string FormatAccuracyText(double accuracy);

// What a copy test adds after the free test's record:
// " --- Copia: " + title + " --- Precisión: " + FormatAccuracyText(accuracy).
// Line breaks and other control characters in the title become spaces, so the
// record stays one line.
std::string BuildCopyRecordSuffix(const std::string& title, double accuracy);

}  // namespace quirtel
