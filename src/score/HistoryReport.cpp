#include "score/HistoryReport.h"

#include <array>
#include <charconv>
#include <optional>

#include "core/common/Cp1252.h"
#include "core/results/FinalResult.h"

namespace quirtel {
namespace {

// The shortest text that reads back as the same double, with a point.
std::string Number(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// A JSON string of Windows-1252 text, still in Windows-1252: the escapes are
// ASCII, so converting the whole afterwards keeps them.
std::string JsonText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

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
        out.append(",\"speed\":").append(Number(r.speed));
        out.append(",\"faults\":").append(OrNull(r.faults, [](int f) {
            return std::to_string(f);
        }));
        out.append(",\"spellCheck\":").append(r.faults ? "true" : "false");
        out.append(",\"netSpeed\":").append(Number(r.netSpeed));
        const bool copy = r.kind == TestKind::copy;
        out.append(",\"kind\":").append(copy ? "\"copia\"" : "\"libre\"");
        out.append(",\"text\":").append(copy ? JsonText(r.text) : "null");
        out.append(",\"accuracy\":").append(OrNull(r.accuracy, Number)).append("}");
    }
    out += "],\"unreadableLines\":" + std::to_string(history.unreadableLines);
    const auto date = [](const LogDate& d) { return "\"" + d.IsoText() + "\""; };
    out += ",\"summary\":{\"tests\":" + std::to_string(summary.tests);
    out += ",\"totalSeconds\":" + std::to_string(summary.totalSeconds);
    out += ",\"bestNetSpeed\":" + OrNull(summary.bestNetSpeed, Number);
    out += ",\"bestDate\":" + OrNull(summary.bestDate, date);
    out += ",\"averageNetSpeedLast10\":" + OrNull(summary.averageNetSpeedLast10, Number);
    out += ",\"averageNetSpeedPrevious10\":" + OrNull(summary.averageNetSpeedPrevious10, Number);
    out += ",\"averageFaults\":" + OrNull(summary.averageFaults, Number);
    out += "}}\n";
    return cp1252::ToUtf8(out);
}

std::string FormatHistoryCsv(const StatisticsHistory& history) {
    std::string out = "fecha,segundos,velocidad,faltas,pulsaciones\n";
    out.reserve(history.records.size() * 48 + out.size());
    for (const StatisticsRecord& r : history.records) {
        out.append(r.date.IsoText()).append(",");
        out.append(std::to_string(r.elapsedSeconds)).append(",");
        out.append(Number(r.speed)).append(",");
        out.append(r.faults ? std::to_string(*r.faults) : std::string()).append(",");
        out.append(Number(r.netSpeed)).append("\n");
    }
    return out;
}

}  // namespace quirtel
