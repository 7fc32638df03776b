#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "results/FinalResult.h"
#include "spelling/FaultAdvice.h"

// What quirtel-score finds in a text, and its two printed forms.
namespace quirtel {

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
ScoreReport ScoreText(std::string_view text, std::int32_t elapsedSeconds, bool capitalsDouble,
                      bool spellCheck, const WordList* wordList);

// One "Label: value" line per figure, then the faulty tokens as
// "línea L, columna C: text (kind; sugerencias: a, b)", or "(kind; sin
// sugerencias)". UTF-8.
std::string FormatReportText(const ScoreReport& report);

// One JSON object (UTF-8) with the figures, their texts and the faulty tokens.
std::string FormatReportJson(const ScoreReport& report);

}  // namespace quirtel
