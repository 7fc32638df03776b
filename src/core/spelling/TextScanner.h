#pragma once

#include <cstdint>
#include <vector>

#include "core/spelling/FaultRange.h"

namespace quirtel {

class TextArea;
class WordList;

// Takes the figures of a finished test from the text area and finds the
// misspelled tokens in it, changing nothing. Lives for one finish of a test.
class TextScanner {
public:
    // Spelling is active when `spellCheck` is on and `wordList` (not owned)
    // exists. All counts start at -1 (not computed).
    TextScanner(const TextArea& textArea, bool spellCheck, const WordList* wordList);
    virtual ~TextScanner();

    // Counts, over the display lines, the characters other than line breaks,
    // the capitals A-Z (accented ones not included), and the line breaks.
    void CountText();
    // Cuts each display line into tokens at spaces, checks each with the word
    // list's CheckWord, and notes every faulty token in `faultRanges`, in text
    // order, and counts them. When spelling is not active: faults = 0,
    // nothing read.
    void CheckSpelling();

    std::int32_t characters = -1;
    std::int32_t lineBreaks = -1;
    std::int32_t capitals = -1;
    std::int32_t faults = -1;
    std::vector<FaultRange> faultRanges;
    bool spellingActive;

private:
    const TextArea& textArea;
    const WordList* wordList;
};

}  // namespace quirtel
