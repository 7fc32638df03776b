#include "score/HistoryReport.h"

#include <array>
#include <charconv>
#include <optional>

#include "core/common/Cp1252.h"
#include "core/results/FinalResult.h"
#include "score/JsonText.h"

namespace quirtel {
namespace {

template <typename T, typename Format>
std::string OrNull(const std::optional<T>& value, Format format) {
    return value ? format(*value) : std::string("null");
}

}  // namespace

std::string FormatHistoryText(const StatisticsHistory& history, const ProgressSummary& summary) {
    std::string out;
    out.reserve(history.records.size() * 110 + 1024);
    for (const StatisticsRecord& r : history.records) {
        out.append(r.date.ShownText()).append(" --- ");
        out.append(FormatTimeText(r.elapsedSeconds)).append(" --- ");
        out.append("Velocidad bruta: ").append(FormatSpeedText(r.speed)).append(" --- Faltas: ");
        out.append(FormatFaultsText(r.faults.value_or(0), r.faults.has_value()));
        out.append(" --- Velocidad neta (pulsaciones finales): ")
            .append(FormatSpeedText(r.netSpeed));
        if (r.kind == TestKind::copy) {
            out.append(BuildCopyRecordSuffix(r.text, r.accuracy.value_or(0.0)));
        }
        out.append("\n");
    }
    if (!history.records.empty()) {
        out += "\n";
    }
    out += FormatProgressSummary(summary);
    out +=
        "L\xED"
        "neas ilegibles: " +
        std::to_string(history.unreadableLines) + "\n";
    return cp1252::ToUtf8(out);
}

std::string FormatHistoryJson(const StatisticsHistory& history, const ProgressSummary& summary) {
    std::string out;
    out.reserve(history.records.size() * 120 + 1024);
    out += "{\"records\":[";
    for (std::size_t i = 0; i < history.records.size(); ++i) {
        const StatisticsRecord& r = history.records[i];
        out.append(i == 0 ? "{" : ",{");
        out.append("\"date\":\"").append(r.date.IsoText());
        out.append("\",\"elapsedSeconds\":").append(std::to_string(r.elapsedSeconds));
        out.append(",\"speed\":").append(JsonNumber(r.speed));
        out.append(",\"faults\":").append(OrNull(r.faults, [](int f) {
            return std::to_string(f);
        }));
        out.append(",\"spellCheck\":").append(r.faults ? "true" : "false");
        out.append(",\"netSpeed\":").append(JsonNumber(r.netSpeed));
        const bool copy = r.kind == TestKind::copy;
        out.append(",\"kind\":").append(copy ? "\"copia\"" : "\"libre\"");
        out.append(",\"text\":").append(copy ? JsonText(r.text) : "null");
        out.append(",\"accuracy\":").append(OrNull(r.accuracy, JsonNumber)).append("}");
    }
    out += "],\"unreadableLines\":" + std::to_string(history.unreadableLines);
    const auto date = [](const LogDate& d) { return "\"" + d.IsoText() + "\""; };
    out += ",\"summary\":{\"tests\":" + std::to_string(summary.tests);
    out += ",\"totalSeconds\":" + std::to_string(summary.totalSeconds);
    out += ",\"bestNetSpeed\":" + OrNull(summary.bestNetSpeed, JsonNumber);
    out += ",\"bestDate\":" + OrNull(summary.bestDate, date);
    out += ",\"averageNetSpeedLast10\":" + OrNull(summary.averageNetSpeedLast10, JsonNumber);
    out +=
        ",\"averageNetSpeedPrevious10\":" + OrNull(summary.averageNetSpeedPrevious10, JsonNumber);
    out += ",\"averageFaults\":" + OrNull(summary.averageFaults, JsonNumber);
    out += "}}\n";
    return cp1252::ToUtf8(out);
}

std::string FormatHistoryCsv(const StatisticsHistory& history) {
    std::string out = "fecha,segundos,velocidad,faltas,pulsaciones\n";
    out.reserve(history.records.size() * 48 + out.size());
    for (const StatisticsRecord& r : history.records) {
        out.append(r.date.IsoText()).append(",");
        out.append(std::to_string(r.elapsedSeconds)).append(",");
        out.append(JsonNumber(r.speed)).append(",");
        out.append(r.faults ? std::to_string(*r.faults) : std::string()).append(",");
        out.append(JsonNumber(r.netSpeed)).append("\n");
    }
    return out;
}

}  // namespace quirtel
