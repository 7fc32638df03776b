#pragma once

#include <cstdint>
#include <vector>

#include "core/results/FinalResult.h"
#include "core/spelling/FaultRange.h"

namespace quirtel {

class TextArea;
class WordList;
struct TestSettings;

// Judges a typed text the one way both the window and the command-line
// scorer do: counts it, works out the speed and finds the faulty tokens.
class TestJudge {
public:
    struct Judgement {
        TestResult result;
        std::int32_t characters = 0;  // other than line breaks
        std::vector<FaultRange> faults;
    };

    // Judges `text` typed in `elapsedSeconds` under `settings` (capitals
    // doubled, spelling check). `wordList` may be null: then nothing is a
    // fault. Reads the area only; time grows linearly with the text.
    static Judgement Judge(const TextArea& text, const TestSettings& settings,
                           std::int32_t elapsedSeconds, const WordList* wordList);
};

}  // namespace quirtel
