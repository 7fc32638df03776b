#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/results/FinalResult.h"
#include "core/spelling/FaultAdvice.h"

// What quirtel-score finds in a text, and its two printed forms.
namespace quirtel {

class SpellingAdvisor;
class WordList;

// A token the spelling check marked. Line and column count from 1; the column
// counts characters of the line. The texts are Windows-1252.
struct FaultyToken {
    int line = 0;
    int column = 0;
    std::string text;
    // Why it is marked and what was probably meant (SpellingAdvisor).
    FaultKind kind = FaultKind::Unknown;
    std::vector<std::string> suggestions{};

    friend bool operator==(const FaultyToken&, const FaultyToken&) = default;
};

// The figures of a finished test, plus what only the scorer reports.
struct ScoreReport {
    TestResult result;
    std::int32_t characters = 0;
    bool spellCheck = true;
    std::vector<FaultyToken> faultyTokens;
};

// Counts and checks `text` (Windows-1252, '\n' between lines, no wrapping)
// exactly as a finished test is counted and checked, taking `elapsedSeconds`
// as the typing time. `wordList` may be null (then nothing is a fault). The
// text is taken whole up to ScoreTextArea::MAX_CHARACTERS; time and memory
// grow linearly with its size.
ScoreReport ScoreText(std::string text, std::int32_t elapsedSeconds, bool capitalsDouble,
                      bool spellCheck, const WordList* wordList);

// How many different faulty tokens get suggestions: far more than any typed
// test holds, and few enough that a text with millions of faults is judged in
// seconds.
inline constexpr std::size_t MAX_ADVISED_TOKENS = 2000;

// Runs work(i) for every i below `count`, on up to four threads when there is
// enough to share (each call must be independent of the others). An exception
// thrown by work on any thread is thrown here, after all threads have ended.
void ForEachIndex(std::size_t count, const std::function<void(std::size_t)>& work);

// Gives every faulty token its kind and, for the first `maxAdvised` different
// tokens (by their text), its suggestions; a token seen before gets the same
// advice again. Returns the number of tokens left with their kind alone.
// Exceptions from the advisor (std::bad_alloc) reach the caller.
std::size_t AdviseFaultyTokens(ScoreReport& report, const SpellingAdvisor& advisor,
                               std::size_t maxAdvised = MAX_ADVISED_TOKENS);

// One "Label: value" line per figure, then the faulty tokens as
// "línea L, columna C: text (kind; sugerencias: a, b)", or "(kind; sin
// sugerencias)". UTF-8.
std::string FormatReportText(const ScoreReport& report);

// One JSON object (UTF-8) with the figures, their texts and the faulty tokens.
std::string FormatReportJson(const ScoreReport& report);

// The report as FormatReportJson (`json`) or FormatReportText give it, handed
// to `write` in pieces of about a megabyte; stops and returns false as soon as
// `write` does.
bool WriteReport(const ScoreReport& report, bool json,
                 const std::function<bool(std::string_view)>& write);

}  // namespace quirtel
