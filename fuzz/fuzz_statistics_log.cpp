// The statistics log read back from any bytes: no crash, no undefined
// behaviour, every line that is not blank is either a record or counted as
// unreadable, and the summary and the chart points of whatever was read can
// be worked out, and the JSON of --history is valid JSON.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/results/ProgressSeries.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"
#include "score/HistoryReport.h"

namespace {

// A strict JSON reader that only says whether the text is one JSON value.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : rest(text) {}

    bool Valid() {
        const bool ok = Value(0);
        Space();
        return ok && rest.empty();
    }

private:
    void Space() {
        while (!rest.empty() &&
               (rest[0] == ' ' || rest[0] == '\n' || rest[0] == '\t' || rest[0] == '\r')) {
            rest.remove_prefix(1);
        }
    }
    bool Take(char c) {
        Space();
        if (!rest.empty() && rest[0] == c) {
            rest.remove_prefix(1);
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (rest.substr(0, word.size()) != word) {
            return false;
        }
        rest.remove_prefix(word.size());
        return true;
    }
    std::size_t Digits() {
        std::size_t n = 0;
        while (n < rest.size() && rest[n] >= '0' && rest[n] <= '9') {
            ++n;
        }
        rest.remove_prefix(n);
        return n;
    }
    bool Number() {
        Word("-");
        if (!Word("0") && Digits() == 0) {
            return false;
        }
        if (Word(".") && Digits() == 0) {
            return false;
        }
        if (Word("e") || Word("E")) {
            if (!Word("+")) {
                Word("-");
            }
            return Digits() > 0;
        }
        return true;
    }
    bool String() {
        while (!rest.empty() && rest[0] != '"') {
            if (static_cast<unsigned char>(rest[0]) < 0x20) {
                return false;
            }
            rest.remove_prefix(rest[0] == '\\' && rest.size() > 1 ? 2 : 1);
        }
        return Word("\"");
    }
    bool Value(int depth) {
        Space();
        if (depth > 64 || rest.empty()) {
            return false;
        }
        if (Take('{')) {
            if (Take('}')) {
                return true;
            }
            do {
                if (!Take('"') || !String() || !Take(':') || !Value(depth + 1)) {
                    return false;
                }
            } while (Take(','));
            return Take('}');
        }
        if (Take('[')) {
            if (Take(']')) {
                return true;
            }
            do {
                if (!Value(depth + 1)) {
                    return false;
                }
            } while (Take(','));
            return Take(']');
        }
        if (Take('"')) {
            return String();
        }
        return Word("true") || Word("false") || Word("null") || Number();
    }

    std::string_view rest;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quirtel::StatisticsHistory history;
    quirtel::ParseStatisticsLog(text, history);
    const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (static_cast<std::int64_t>(history.records.size()) + history.unreadableLines > lines) {
        std::abort();
    }
    const quirtel::ProgressSummary summary = quirtel::SummarizeProgress(history.records);
    if (summary.tests != static_cast<std::int64_t>(history.records.size()) ||
        quirtel::FormatProgressSummary(summary).empty()) {
        std::abort();
    }
    if (!JsonCheck(quirtel::FormatHistoryJson(history, summary)).Valid()) {
        std::abort();
    }
    const auto points = quirtel::BuildProgressSeries(history.records, 3);
    if (points.size() > std::min<std::size_t>(history.records.size(), 3)) {
        std::abort();
    }
    return 0;
}
