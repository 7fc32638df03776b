#include "core/results/StatisticsRecord.h"

#include <array>
#include <charconv>
#include <cmath>

namespace quirtel {
namespace {

struct MonthName {
    std::string_view name;  // lower case
    int month;
};

// English as the program writes it, then the Spanish abbreviations that
// differ from them (feb, mar, may, jun, jul, sep, oct, nov are the same).
constexpr std::array<MonthName, 17> kMonthNames = {{
    {"jan", 1},
    {"feb", 2},
    {"mar", 3},
    {"apr", 4},
    {"may", 5},
    {"jun", 6},
    {"jul", 7},
    {"aug", 8},
    {"sep", 9},
    {"oct", 10},
    {"nov", 11},
    {"dec", 12},
    {"ene", 1},
    {"abr", 4},
    {"ago", 8},
    {"sept", 9},
    {"dic", 12},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) {
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    }
    return digits;
}

// Reads a line from left to right; every step fails once one has failed.
class Cursor {
public:
    explicit Cursor(std::string_view text) : rest(text) {}

    bool Ok() const { return ok; }
    bool AtEnd() const { return ok && rest.empty(); }

    void Literal(std::string_view expected) {
        if (ok && rest.substr(0, expected.size()) == expected) {
            rest.remove_prefix(expected.size());
        } else {
            ok = false;
        }
    }

    bool TryLiteral(std::string_view expected) {
        if (ok && rest.substr(0, expected.size()) == expected) {
            rest.remove_prefix(expected.size());
            return true;
        }
        return false;
    }

    // Between `minDigits` and `maxDigits` decimal digits.
    int Digits(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t n = 0;
        int value = 0;
        while (ok && n < rest.size() && n < maxDigits && IsDigit(rest[n])) {
            value = value * 10 + (rest[n] - '0');
            ++n;
        }
        if (n < minDigits) {
            ok = false;
        }
        rest.remove_prefix(ok ? n : 0);
        return value;
    }

    // "%02d" of a small signed number: an optional minus sign, then digits.
    int SignedSmall() {
        const bool negative = TryLiteral("-");
        const int value = Digits(1, 4);
        return negative ? -value : value;
    }

    // "%d" of a 32-bit integer.
    std::int32_t Int32() {
        std::int32_t value = 0;
        if (!ok || rest.empty() || (rest[0] != '-' && !IsDigit(rest[0]))) {
            ok = false;
            return 0;
        }
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        ok = ec == std::errc();
        rest.remove_prefix(ok ? static_cast<std::size_t>(end - rest.data()) : 0);
        return value;
    }

    // "%.2f" (any number of decimals is taken): -?digits(.digits)?
    double Decimal() {
        std::size_t n = rest.substr(0, 1) == "-" ? 1 : 0;
        const std::size_t firstDigit = n;
        while (n < rest.size() && IsDigit(rest[n])) {
            ++n;
        }
        if (n == firstDigit) {
            ok = false;
        }
        if (ok && n < rest.size() && rest[n] == '.') {
            const std::size_t point = ++n;
            while (n < rest.size() && IsDigit(rest[n])) {
                ++n;
            }
            ok = n > point;
        }
        double value = 0.0;
        if (ok) {
            const auto result = std::from_chars(rest.data(), rest.data() + n, value);
            ok = result.ec == std::errc() && result.ptr == rest.data() + n;
            rest.remove_prefix(n);
        }
        return value;
    }

    // The rest of the line, which is then used up.
    std::string_view TakeRest() {
        const std::string_view taken = ok ? rest : std::string_view();
        rest = std::string_view();
        return taken;
    }

    // A month abbreviation up to the next '-', English or Spanish, any case.
    int Month() {
        const std::size_t dash = rest.find('-');
        if (!ok || dash == std::string_view::npos || dash < 3 || dash > 4) {
            ok = false;
            return 0;
        }
        std::string name(rest.substr(0, dash));
        for (char& c : name) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        for (const MonthName& entry : kMonthNames) {
            if (entry.name == name) {
                rest.remove_prefix(dash);
                return entry.month;
            }
        }
        ok = false;
        return 0;
    }

private:
    std::string_view rest;
    bool ok = true;
};

constexpr std::string_view kSeparator = " --- ";
// No typist comes near this; a figure beyond it is damage, and sums of
// figures near the double limit would overflow to infinity.
constexpr double kMaxSpeed = 100000.0;
constexpr std::string_view kSpeedUnit = " caracteres/min";
// "<ortografía desactivada>" in Windows-1252, and in UTF-8 for a log that an
// editor has converted.
constexpr std::string_view kSpellingOff =
    "<ortograf\xED"
    "a desactivada>";
constexpr std::string_view kSpellingOffUtf8 =
    "<ortograf\xC3\xAD"
    "a desactivada>";

// "Precisión: " in Windows-1252, and in UTF-8 for a converted log.
constexpr std::string_view kAccuracyLabel = " --- Precisi\xF3n: ";
constexpr std::string_view kAccuracyLabelUtf8 = " --- Precisi\xC3\xB3n: ";

// After " --- Copia: ": the title up to the last accuracy label (so a title
// may hold the separator itself), then "A %".
bool ReadCopyFields(Cursor& in, StatisticsRecord& record) {
    const std::string_view rest = in.TakeRest();
    std::string_view label = kAccuracyLabel;
    std::size_t at = rest.rfind(kAccuracyLabel);
    const std::size_t atUtf8 = rest.rfind(kAccuracyLabelUtf8);
    if (atUtf8 != std::string_view::npos && (at == std::string_view::npos || atUtf8 > at)) {
        at = atUtf8;
        label = kAccuracyLabelUtf8;
    }
    if (at == std::string_view::npos) {
        return false;
    }
    Cursor figures(rest.substr(at + label.size()));
    const double accuracy = figures.Decimal();
    figures.Literal(" %");
    if (!figures.AtEnd()) {
        return false;
    }
    record.kind = TestKind::copy;
    record.text = std::string(rest.substr(0, at));
    record.accuracy = accuracy;
    return true;
}

}  // namespace

std::int64_t LogDate::Day() const {
    return DaysFromCivil(year, month, day);
}

std::int64_t LogDate::Minutes() const {
    return Day() * 1440 + hour * 60 + minute;
}

std::string LogDate::IsoText() const {
    return Padded(year, 4) + "-" + Padded(month, 2) + "-" + Padded(day, 2) + "T" + Padded(hour, 2) +
           ":" + Padded(minute, 2);
}

std::string LogDate::ShownText() const {
    return Padded(day, 2) + "/" + Padded(month, 2) + "/" + Padded(year, 4) + " " + Padded(hour, 2) +
           ":" + Padded(minute, 2);
}

std::optional<StatisticsRecord> ParseStatisticsRecord(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    Cursor in(line);
    StatisticsRecord record;
    LogDate& date = record.date;
    date.day = in.Digits(1, 2);
    in.Literal("-");
    date.month = in.Month();
    in.Literal("-");
    date.year = in.Digits(4, 4);
    in.Literal(" ");
    date.hour = in.Digits(2, 2);
    in.Literal(":");
    date.minute = in.Digits(2, 2);
    in.Literal(kSeparator);
    record.speed = in.Decimal();
    in.Literal(kSpeedUnit);
    in.Literal(kSeparator);
    // Both parts keep their own sign ("%02d" of a negative span).
    const int minutes = in.SignedSmall();
    in.Literal(":");
    const int seconds = in.SignedSmall();
    in.Literal(" minutos");
    in.Literal(kSeparator);
    in.Literal("Faltas: ");
    if (!in.TryLiteral(kSpellingOff) && !in.TryLiteral(kSpellingOffUtf8)) {
        record.faults = in.Int32();
    }
    in.Literal(kSeparator);
    in.Literal("Pulsaciones: ");
    record.netSpeed = in.Decimal();
    in.Literal(kSpeedUnit);
    if (in.TryLiteral(" --- Copia: ")) {
        if (!ReadCopyFields(in, record)) {
            return std::nullopt;
        }
    }
    if (!in.AtEnd()) {
        return std::nullopt;
    }
    if (date.year < 1 || date.day < 1 || date.day > DaysInMonth(date.year, date.month) ||
        date.hour > 23 || date.minute > 59 || minutes < -59 || minutes > 59 || seconds < -59 ||
        seconds > 59) {
        return std::nullopt;
    }
    if (!(std::fabs(record.speed) <= kMaxSpeed) || !(std::fabs(record.netSpeed) <= kMaxSpeed)) {
        return std::nullopt;
    }
    record.elapsedSeconds = minutes * 60 + seconds;
    return record;
}

}  // namespace quirtel
