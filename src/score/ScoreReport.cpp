#include "score/ScoreReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>
#include <functional>
#include <thread>
#include <unordered_map>
#include <utility>

#include "core/common/Cp1252.h"
#include "core/results/FinalResult.h"
#include "core/session/TestJudge.h"
#include "core/session/TestSettings.h"
#include "core/spelling/SpellingAdvisor.h"
#include "score/ScoreTextArea.h"

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

}  // namespace

ScoreReport ScoreText(std::string text, std::int32_t elapsedSeconds, bool capitalsDouble,
                      bool spellCheck, const WordList* wordList) {
    const ScoreTextArea area{std::move(text)};
    TestSettings settings;
    settings.capitalsDouble = capitalsDouble;
    settings.spellCheck = spellCheck;
    TestJudge::Judgement judgement = TestJudge::Judge(area, settings, elapsedSeconds, wordList);

    ScoreReport report;
    report.result = judgement.result;
    report.characters = judgement.characters;
    report.spellCheck = spellCheck;
    // Display lines are text lines here, since the area does not wrap.
    report.faultyTokens.reserve(judgement.faults.size());
    for (FaultRange& fault : judgement.faults) {
        report.faultyTokens.push_back(
            {fault.line + 1, fault.start - area.LineIndex(fault.line) + 1, std::move(fault.token)});
    }
    return report;
}

void ForEachIndex(std::size_t count, const std::function<void(std::size_t)>& work) {
    const std::size_t threads =
        count > 1000 ? std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 4) : 1;
    const std::size_t slice = std::max<std::size_t>(1, (count + threads - 1) / threads);
    // An exception must not leave a helper thread (that would end the
    // process): each slice keeps its own, and the first is thrown here once
    // every thread has been joined.
    std::vector<std::exception_ptr> failures((count + slice - 1) / slice);
    const auto run = [&](std::size_t from) {
        try {
            for (std::size_t i = from; i < std::min(count, from + slice); ++i) {
                work(i);
            }
        } catch (...) {
            failures[from / slice] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (std::size_t from = slice; from < count; from += slice) {
        helpers.emplace_back(run, from);
    }
    run(0);
    for (std::thread& helper : helpers) {
        helper.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

std::size_t AdviseFaultyTokens(ScoreReport& report, const SpellingAdvisor& advisor,
                               std::size_t maxAdvised) {
    // The first different tokens, each once, get the whole advice; the others
    // their kind alone. slots[i] is token i's place in `distinct`, or NONE.
    constexpr std::size_t NONE = static_cast<std::size_t>(-1);
    std::vector<FaultyToken>& tokens = report.faultyTokens;
    std::unordered_map<std::string_view, std::size_t> slotOf;
    std::vector<std::string_view> distinct;
    std::vector<std::size_t> slots(tokens.size(), NONE);
    std::vector<std::size_t> kindOnly;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        auto slot = slotOf.find(tokens[i].text);
        if (slot == slotOf.end() && distinct.size() < maxAdvised) {
            slot = slotOf.emplace(tokens[i].text, distinct.size()).first;
            distinct.push_back(tokens[i].text);
        }
        if (slot != slotOf.end()) {
            slots[i] = slot->second;
        } else {
            kindOnly.push_back(i);
        }
    }
    advisor.Prepare();
    std::vector<FaultAdvice> advice(distinct.size());
    ForEachIndex(distinct.size(), [&](std::size_t k) {
        advice[k] = advisor.Advise(distinct[k]).value_or(FaultAdvice{});
    });
    ForEachIndex(kindOnly.size(), [&](std::size_t k) {
        tokens[kindOnly[k]].kind = advisor.Classify(tokens[kindOnly[k]].text);
    });
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (slots[i] != NONE) {
            tokens[i].kind = advice[slots[i]].kind;
            tokens[i].suggestions = advice[slots[i]].suggestions;
        }
    }
    return kindOnly.size();
}

namespace {

// Collects the Windows-1252 text of a report and hands it on in UTF-8 pieces
// of about a megabyte, so a report of millions of faults never sits in memory
// whole, twice over.
class ReportSink {
public:
    explicit ReportSink(const std::function<bool(std::string_view)>& emit) : emit_(emit) {
        out.reserve(kPiece + 4096);
    }
    // Passes the text gathered so far on once it is large enough.
    void Flush(bool last = false) {
        if ((last || out.size() >= kPiece) && ok_) {
            ok_ = emit_(cp1252::ToUtf8(out));
            out.clear();
        }
    }
    bool Ok() const { return ok_; }

    std::string out;

private:
    static constexpr std::size_t kPiece = 1 << 20;
    const std::function<bool(std::string_view)>& emit_;
    bool ok_ = true;
};

void AppendText(const ScoreReport& r, ReportSink& sink) {
    std::string& out = sink.out;
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
        sink.Flush();
    }
    sink.Flush(true);
}

void AppendJson(const ScoreReport& r, ReportSink& sink) {
    std::string& out = sink.out;
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
        sink.Flush();
    }
    out += "]}\n";
    sink.Flush(true);
}

std::string Collect(const ScoreReport& r, bool json) {
    std::string whole;
    WriteReport(r, json, [&whole](std::string_view utf8) {
        whole.append(utf8);
        return true;
    });
    return whole;
}

}  // namespace

bool WriteReport(const ScoreReport& report, bool json,
                 const std::function<bool(std::string_view)>& write) {
    ReportSink sink(write);
    if (json) {
        AppendJson(report, sink);
    } else {
        AppendText(report, sink);
    }
    return sink.Ok();
}

std::string FormatReportText(const ScoreReport& report) {
    return Collect(report, false);
}

std::string FormatReportJson(const ScoreReport& report) {
    return Collect(report, true);
}

}  // namespace quirtel
