#pragma once

#include <cstdint>

namespace quirtel {

class TextArea;
class WordList;

// Takes the figures of a finished test from the text area and marks the
// misspelled tokens in it. Lives for one finish of a test.
class TextScanner {
public:
    // Spelling is active when `spellCheck` is on and `wordList` (not owned)
    // exists. All counts start at -1 (not computed).
    TextScanner(TextArea& textArea, bool spellCheck, const WordList* wordList);
    virtual ~TextScanner();

    // Counts, over the display lines, the characters other than line breaks,
    // the capitals A-Z (accented ones not included), and the line breaks.
    void CountText();
    // Cuts each display line into tokens at spaces, checks each with the word
    // list's CheckWord, gives every faulty token the fault mark (underline and
    // FAULT_MARK_COLOUR, nothing else changed) and counts them. Leaves no text
    // selected. When spelling is not active: faults = 0, nothing read or marked.
    void CheckSpelling();

    std::int32_t characters = -1;
    std::int32_t lineBreaks = -1;
    std::int32_t capitals = -1;
    std::int32_t faults = -1;
    bool spellingActive;

private:
    TextArea& textArea;
    const WordList* wordList;
};

}  // namespace quirtel
