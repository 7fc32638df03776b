#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// One record of the statistics log, read back.
namespace quirtel {

// The local date and time a record carries, to the minute.
struct LogDate {
    int year = 1970;  // 1 to 9999
    int month = 1;    // 1 to 12
    int day = 1;      // 1 to the length of the month
    int hour = 0;
    int minute = 0;

    // Minutes since 1970-01-01 00:00 of the same clock: orders dates and
    // measures the distance between them.
    std::int64_t Minutes() const;
    // Days since 1970-01-01.
    std::int64_t Day() const;
    // "YYYY-MM-DDTHH:MM".
    std::string IsoText() const;
    // "DD/MM/YYYY HH:MM", as dates are written in Spain.
    std::string ShownText() const;

    friend bool operator==(const LogDate&, const LogDate&) = default;
};

// Free typing, or a copy of a model text.
enum class TestKind { free, copy };

// The figures of one finished test as its record states them.
struct StatisticsRecord {
    LogDate date;
    // The typing time as the record shows it ("MM:SS minutos"); whole hours
    // are not in the record, so a test whose clock jumped by hours reads short.
    std::int32_t elapsedSeconds = 0;
    double speed = 0.0;
    // The final fault count; none when the spelling check was off.
    std::optional<std::int32_t> faults;
    double netSpeed = 0.0;
    // A copy test's record also names the model text and the accuracy (%);
    // a free test's has an empty text and no accuracy.
    TestKind kind = TestKind::free;
    std::string text{};
    std::optional<double> accuracy{};

    friend bool operator==(const StatisticsRecord&, const StatisticsRecord&) = default;
};

// Reads one line of the log (Windows-1252, line break removed; a trailing CR
// is ignored) as the program writes a record:
//   DD-Mon-YYYY HH:MM --- S caracteres/min --- MM:SS minutos --- Faltas: F ---
//   Pulsaciones: N caracteres/min
// The month may be abbreviated in English (as the program writes it) or in
// Spanish (ene ... dic, also "sept"), in any case; F is a whole number or
// "<ortografía desactivada>"; the speeds have a decimal point and may be
// negative. A copy test's record follows it with
//   --- Copia: TITLE --- Precisión: A %
// (TITLE any text, A with a decimal point). nullopt for anything else,
// including impossible dates and speeds beyond 100,000 caracteres/min either
// way.
std::optional<StatisticsRecord> ParseStatisticsRecord(std::string_view line);

}  // namespace quirtel
