#include "spelling/TextScanner.h"

#include <algorithm>
#include <string>

#include "spelling/WordList.h"
#include "typing/TextArea.h"

namespace quirtel {

namespace {

// Copies display line `line` whole; returns its first position, or -1 when
// the area does not know the line.
int CopyLine(const TextArea& area, int line, std::string& buffer) {
    const int start = area.LineIndex(line);
    if (start < 0) {
        buffer.clear();
        return -1;
    }
    const int length = area.LineLength(start);
    const int got = area.GetLine(line, length, buffer);
    // Trust only the bytes actually handed over.
    buffer.resize(static_cast<std::size_t>(std::clamp(got, 0, static_cast<int>(buffer.size()))));
    return start;
}

}  // namespace

TextScanner::TextScanner(TextArea& textArea, bool spellCheck, const WordList* wordList)
    : spellingActive(spellCheck && wordList != nullptr), textArea(textArea), wordList(wordList) {}

TextScanner::~TextScanner() = default;

void TextScanner::CountText() {
    std::int32_t count = 0;
    std::int32_t capitalCount = 0;
    std::string buffer;
    const int lineCount = textArea.LineCount();
    for (int i = 0; i < lineCount; ++i) {
        CopyLine(textArea, i, buffer);
        count += static_cast<std::int32_t>(buffer.size());
        for (const char c : buffer) {
            if (c >= 'A' && c <= 'Z') {
                ++capitalCount;
            }
        }
    }
    characters = count;
    capitals = capitalCount;
    lineBreaks = (textArea.TextLength() - count) / 2;
}

void TextScanner::CheckSpelling() {
    if (!spellingActive) {
        faults = 0;
        return;
    }
    CharFormat mark = textArea.DefaultCharFormat();
    mark.underline = true;
    mark.colour = FAULT_MARK_COLOUR;

    std::int32_t count = 0;
    std::string buffer;
    const int lineCount = textArea.LineCount();
    for (int i = 0; i < lineCount; ++i) {
        if (CopyLine(textArea, i, buffer) < 0) {
            continue;
        }
        const std::size_t size = buffer.size();
        std::size_t s = 0;
        for (;;) {
            while (s < size && buffer[s] == ' ') {
                ++s;
            }
            if (s == size) {
                break;
            }
            std::size_t e = s;
            while (e + 1 < size && buffer[e + 1] != ' ') {
                ++e;
            }
            if (!wordList->CheckWord(buffer.substr(s, e - s + 1))) {
                ++count;
                // The line's position is read again: marking does not move text,
                // but the area is the authority on its numbering.
                const int p = textArea.LineIndex(i);
                textArea.SetSelection(p + static_cast<int>(s), p + static_cast<int>(e) + 1);
                textArea.FormatSelection(mark);
                textArea.SetSelection(-1, 0);
            }
            s = e + 1;
        }
    }
    faults = count;
}

}  // namespace quirtel
