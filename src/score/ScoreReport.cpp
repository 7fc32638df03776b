#include "score/ScoreReport.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "results/FinalResult.h"
#include "spelling/Cp1252.h"
#include "score/ScoreTextArea.h"
#include "spelling/TextScanner.h"

namespace quirtel {
namespace {

std::string Integer(std::int64_t value) {
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// The shortest text that reads back as the same double.
std::string Number(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// A JSON string literal of Windows-1252 bytes (converted to UTF-8 later, which
// leaves the escapes alone since they are ASCII).
std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

// Turns the marked ranges into tokens with line and column. Display lines are
// text lines here, since the area does not wrap.
std::vector<FaultyToken> TokensOf(const TextArea& area,
                                  const std::vector<ScoreTextArea::FormattedRange>& ranges) {
    std::vector<int> lineStarts;
    const int lineCount = area.LineCount();
    lineStarts.reserve(static_cast<std::size_t>(std::max(lineCount, 0)));
    for (int line = 0; line < lineCount; ++line) {
        lineStarts.push_back(area.LineIndex(line));
    }
    std::vector<FaultyToken> tokens;
    tokens.reserve(ranges.size());
    // Each line is copied once, when its first token comes: copying it for
    // every token would make a long line with many faults quadratic.
    std::string lineText;
    int copiedLine = -1;
    for (const auto& range : ranges) {
        const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), range.start);
        if (after == lineStarts.begin()) {
            continue;
        }
        const int line = static_cast<int>(after - lineStarts.begin()) - 1;
        const int lineStart = lineStarts[static_cast<std::size_t>(line)];
        if (line != copiedLine) {
            area.GetLine(line, area.LineLength(lineStart), lineText);
            copiedLine = line;
        }
        const auto column = static_cast<std::size_t>(range.start - lineStart);
        const auto length = static_cast<std::size_t>(range.end - range.start);
        tokens.push_back(
            {line + 1, static_cast<int>(column) + 1,
             column < lineText.size() ? lineText.substr(column, length) : std::string()});
    }
    return tokens;
}

}  // namespace

ScoreReport ScoreText(std::string_view text, std::int32_t elapsedSeconds, bool capitalsDouble,
                      bool spellCheck, const WordList* wordList) {
    ScoreTextArea recorder{std::string(text)};

    ScoreReport report;
    report.result.elapsedSeconds = elapsedSeconds;
    report.spellCheck = spellCheck;
    TextScanner scanner(recorder, spellCheck, wordList);
    scanner.CountText();
    report.characters = scanner.characters;
    report.result.lineBreaks = scanner.lineBreaks;
    report.result.capitals = scanner.capitals;
    report.result.keystrokes = ComputeKeystrokes(report.characters, report.result.lineBreaks,
                                                 report.result.capitals, capitalsDouble);
    report.result.speed = ComputeSpeed(report.result.keystrokes, elapsedSeconds);
    scanner.CheckSpelling();
    report.result.faults = scanner.faults;
    report.faultyTokens = TokensOf(recorder, recorder.FormattedRanges());
    return report;
}

std::string FormatReportText(const ScoreReport& r) {
    std::string out;
    out.reserve(512 + r.faultyTokens.size() * 40);
    out += "Caracteres: " + Integer(r.characters) + "\n";
    out += "Saltos de l\xEDnea: " + Integer(r.result.lineBreaks) + "\n";
    out += "May\xFAsculas: " + Integer(r.result.capitals) + "\n";
    out += "Pulsaciones: " + Integer(r.result.keystrokes) + "\n";
    out += "Tiempo: " + FormatTimeText(r.result.elapsedSeconds) + "\n";
    out += "Velocidad: " + FormatSpeedText(r.result.speed) + "\n";
    out += "Faltas: " + FormatFaultsText(r.result.faults, r.spellCheck) + "\n";
    out += "Velocidad neta: " + FormatNetSpeedText(r.result.speed, r.result.faults) + "\n";
    out += "Palabras con faltas:\n";
    // Appended piece by piece: a temporary string per piece costs more than
    // the rest of the scoring when a long text has millions of faults.
    for (const FaultyToken& token : r.faultyTokens) {
        out.append("l\xEDnea ").append(Integer(token.line));
        out.append(", columna ").append(Integer(token.column));
        out.append(": ").append(token.text).append(" (").append(FaultKindId(token.kind));
        out.append(token.suggestions.empty() ? "; sin sugerencias" : "; sugerencias: ");
        for (std::size_t i = 0; i < token.suggestions.size(); ++i) {
            out.append(i == 0 ? "" : ", ").append(token.suggestions[i]);
        }
        out.append(")\n");
    }
    return cp1252::ToUtf8(out);
}

std::string FormatReportJson(const ScoreReport& r) {
    std::string out;
    out.reserve(1024 + r.faultyTokens.size() * 48);
    out += "{";
    out += "\"characters\":" + Integer(r.characters);
    out += ",\"lineBreaks\":" + Integer(r.result.lineBreaks);
    out += ",\"capitals\":" + Integer(r.result.capitals);
    out += ",\"keystrokes\":" + Integer(r.result.keystrokes);
    out += ",\"elapsedSeconds\":" + Integer(r.result.elapsedSeconds);
    out += ",\"speed\":" + Number(r.result.speed);
    out += ",\"speedText\":" + JsonString(FormatSpeedText(r.result.speed));
    out += ",\"timeText\":" + JsonString(FormatTimeText(r.result.elapsedSeconds));
    out += ",\"spellCheck\":" + std::string(r.spellCheck ? "true" : "false");
    out += ",\"faults\":" + Integer(r.result.faults);
    out += ",\"faultsText\":" + JsonString(FormatFaultsText(r.result.faults, r.spellCheck));
    out += ",\"netSpeedText\":" + JsonString(FormatNetSpeedText(r.result.speed, r.result.faults));
    out += ",\"faultyTokens\":[";
    for (std::size_t i = 0; i < r.faultyTokens.size(); ++i) {
        const FaultyToken& token = r.faultyTokens[i];
        out.append(i == 0 ? "{" : ",{");
        out.append("\"line\":").append(Integer(token.line));
        out.append(",\"column\":").append(Integer(token.column));
        out.append(",\"text\":").append(JsonString(token.text));
        out.append(",\"kind\":").append(JsonString(FaultKindId(token.kind)));
        out.append(",\"suggestions\":[");
        for (std::size_t k = 0; k < token.suggestions.size(); ++k) {
            out.append(k == 0 ? "" : ",").append(JsonString(token.suggestions[k]));
        }
        out.append("]}");
    }
    out += "]}\n";
    return cp1252::ToUtf8(out);
}

}  // namespace quirtel
