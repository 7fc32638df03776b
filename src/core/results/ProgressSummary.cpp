#include "core/results/ProgressSummary.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/results/FinalResult.h"

namespace quirtel {
namespace {

constexpr std::size_t kWindow = 10;

std::string Fixed(double value, int decimals) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

std::string TwoDigits(std::int64_t value) {
    std::string text = std::to_string(value);
    if (value < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

double MeanNetSpeed(const std::vector<StatisticsRecord>& records, std::size_t from,
                    std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        sum += records[i].netSpeed;
    }
    return sum / static_cast<double>(to - from);
}

}  // namespace

ProgressSummary SummarizeProgress(const std::vector<StatisticsRecord>& records) {
    ProgressSummary summary;
    summary.tests = static_cast<std::int64_t>(records.size());
    std::int64_t faults = 0;
    for (const StatisticsRecord& record : records) {
        summary.totalSeconds += record.elapsedSeconds;
        if (!summary.bestNetSpeed || record.netSpeed > *summary.bestNetSpeed) {
            summary.bestNetSpeed = record.netSpeed;
            summary.bestDate = record.date;
        }
        if (record.faults) {
            faults += *record.faults;
            ++summary.testsWithSpellCheck;
        }
    }
    if (summary.testsWithSpellCheck > 0) {
        summary.averageFaults =
            static_cast<double>(faults) / static_cast<double>(summary.testsWithSpellCheck);
    }
    const std::size_t n = records.size();
    if (n == 0) {
        return summary;
    }
    const std::size_t lastFrom = n > kWindow ? n - kWindow : 0;
    summary.averageNetSpeedLast10 = MeanNetSpeed(records, lastFrom, n);
    summary.countLast10 = static_cast<std::int64_t>(n - lastFrom);
    if (lastFrom > 0) {
        const std::size_t previousFrom = lastFrom > kWindow ? lastFrom - kWindow : 0;
        const double previous = MeanNetSpeed(records, previousFrom, lastFrom);
        summary.averageNetSpeedPrevious10 = previous;
        summary.countPrevious10 = static_cast<std::int64_t>(lastFrom - previousFrom);
        if (previous != 0.0) {
            summary.changePercent =
                (*summary.averageNetSpeedLast10 - previous) / std::fabs(previous) * 100.0;
        }
    }
    return summary;
}

std::string FormatTotalTime(std::int64_t seconds) {
    const bool negative = seconds < 0;
    const std::int64_t s = negative ? -seconds : seconds;
    std::string text = negative ? "-" : "";
    if (s >= 3600) {
        text += std::to_string(s / 3600) + " h " + TwoDigits(s / 60 % 60) + " min ";
    } else {
        text += std::to_string(s / 60) + " min ";
    }
    return text + TwoDigits(s % 60) + " s";
}

std::string FormatProgressSummary(const ProgressSummary& summary) {
    if (summary.tests == 0) {
        return "A\xFAn no hay pruebas registradas.\n";
    }
    std::string text = "Pruebas: " + std::to_string(summary.tests) + "\n";
    text += "Tiempo total de escritura: " + FormatTotalTime(summary.totalSeconds) + "\n";
    text +=
        "Mejor velocidad neta (pulsaciones finales): " + FormatSpeedText(*summary.bestNetSpeed) +
        ", el " + summary.bestDate->ShownText() + "\n";
    const std::int64_t last = *summary.countLast10;
    text += last == 1
                ? std::string("Velocidad neta de la \xFAltima prueba: ")
                : "Velocidad neta media de las " + std::to_string(last) + " \xFAltimas pruebas: ";
    text += FormatSpeedText(*summary.averageNetSpeedLast10) + "\n";
    if (summary.averageNetSpeedPrevious10) {
        const std::int64_t previous = *summary.countPrevious10;
        text += previous == 1
                    ? std::string("Velocidad neta de la prueba anterior: ")
                    : "Velocidad neta media de las " + std::to_string(previous) + " anteriores: ";
        text += FormatSpeedText(*summary.averageNetSpeedPrevious10);
        if (summary.changePercent) {
            text += std::string(" (") + (*summary.changePercent >= 0 ? "+" : "") +
                    Fixed(*summary.changePercent, 1) + " %)";
        }
        text += "\n";
    } else {
        text += "A\xFAn no hay pruebas anteriores con las que comparar.\n";
    }
    if (summary.averageFaults) {
        text += "Faltas por prueba: " + Fixed(*summary.averageFaults, 2) + " (en " +
                std::to_string(summary.testsWithSpellCheck) +
                (summary.testsWithSpellCheck == 1 ? " prueba" : " pruebas") +
                " con comprobaci\xF3n ortogr\xE1"
                "fica)\n";
    } else {
        text +=
            "Faltas por prueba: ninguna prueba con comprobaci\xF3n ortogr\xE1"
            "fica\n";
    }
    return text;
}

}  // namespace quirtel
