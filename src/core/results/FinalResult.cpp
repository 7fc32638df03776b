#include "core/results/FinalResult.h"

#include <array>
#include <charconv>
#include <ctime>
#include <limits>
#include <system_error>

namespace quirtel {
namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string FormatInteger(std::int64_t value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// printf "%0Nd": zero-padded to `width` characters, the minus sign included in
// the width (-5 with width 2 is "-5", with width 3 "-05").
std::string FormatPadded(std::int64_t value, std::size_t width) {
    const bool negative = value < 0;
    std::string digits = FormatInteger(value);
    if (negative) {
        digits.erase(0, 1);
    }
    const std::size_t used = digits.size() + (negative ? 1 : 0);
    if (used < width) {
        digits.insert(0, width - used, '0');
    }
    return negative ? "-" + digits : digits;
}

}  // namespace

std::string FormatTimeSpan(std::int32_t seconds) {
    // Integer division truncates toward zero, so a negative span keeps its sign
    // in each part, as the C formatting of the two parts would show it.
    const std::int32_t minutes = seconds / 60 - (seconds / 3600) * 60;
    const std::int32_t rest = seconds % 60;
    return FormatPadded(minutes, 2) + ":" + FormatPadded(rest, 2);
}

std::string FormatTimeText(std::int32_t seconds) {
    return FormatTimeSpan(seconds) + " minutos";
}

std::string FormatSpeedText(double speed) {
    // std::to_chars rounds the exact binary value like printf("%.2f") and never
    // looks at the locale, so an es_ES environment still gets a decimal point.
    // 400 characters hold any finite double in fixed notation.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), speed,
                                      std::chars_format::fixed, 2);
    if (result.ec != std::errc()) {
        return " caracteres/min";
    }
    return std::string(buffer.data(), result.ptr) + " caracteres/min";
}

double ComputeNetSpeed(double speed, std::int32_t faults) {
    return speed - faults;
}

std::string FormatNetSpeedText(double speed, std::int32_t faults) {
    return FormatSpeedText(ComputeNetSpeed(speed, faults));
}

std::int32_t ComputeKeystrokes(std::int32_t characters, std::int32_t lineBreaks,
                               std::int32_t capitals, bool capitalsDouble) {
    // Summed in 64 bits and held at the 32-bit limit: a sum that overflowed
    // would be undefined and could turn a huge text into a negative speed.
    std::int64_t sum = std::int64_t{characters} + lineBreaks + (capitalsDouble ? capitals : 0);
    if (sum > std::numeric_limits<std::int32_t>::max()) {
        sum = std::numeric_limits<std::int32_t>::max();
    } else if (sum < std::numeric_limits<std::int32_t>::min()) {
        sum = std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(sum);
}

double ComputeSpeed(std::int32_t keystrokes, std::int32_t elapsedSeconds) {
    if (elapsedSeconds < 1) {
        return 0.0;
    }
    return keystrokes * 60.0 / elapsedSeconds;
}

std::string FormatFaultsText(std::int32_t faults, bool spellCheck) {
    if (!spellCheck) {
        return "<ortograf\xED"
               "a desactivada>";
    }
    return FormatInteger(faults);
}

std::string FormatDateText(CalendarTime time) {
    if (time < std::numeric_limits<std::time_t>::min() ||
        time > std::numeric_limits<std::time_t>::max()) {
        return "";
    }
    const std::time_t converted = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&converted, &local) == nullptr || local.tm_mon < 0 || local.tm_mon > 11) {
        return "";
    }
    const std::int64_t year = std::int64_t{local.tm_year} + 1900;
    return FormatPadded(local.tm_mday, 2) + "-" + kMonths[static_cast<std::size_t>(local.tm_mon)] +
           "-" + FormatPadded(year, 4) + " " + FormatPadded(local.tm_hour, 2) + ":" +
           FormatPadded(local.tm_min, 2);
}

std::string FinishedCaption(const std::string& netSpeedText, const std::string& timeText) {
    return "Prueba acabada: " + netSpeedText + " en " + timeText;
}

std::string BuildStatisticsRecord(const std::string& speedText, const std::string& netSpeedText,
                                  const std::string& timeText, const std::string& faultsText,
                                  const std::string& dateText) {
    // The log is written in binary, so the record carries its own CR LF.
    return "\r\n" + dateText + " --- " + speedText + " --- " + timeText +
           " --- Faltas: " + faultsText + " --- Pulsaciones: " + netSpeedText;
}

std::string FormatAccuracyText(double accuracy) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), accuracy,
                                      std::chars_format::fixed, 2);
    if (result.ec != std::errc()) {
        return " %";
    }
    return std::string(buffer.data(), result.ptr) + " %";
}

std::string BuildCopyRecordSuffix(const std::string& title, double accuracy) {
    std::string line = title;
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
    }
    return " --- Copia: " + line + " --- Precisi\xF3n: " + FormatAccuracyText(accuracy);
}

}  // namespace quirtel
