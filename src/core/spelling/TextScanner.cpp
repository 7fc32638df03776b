#include "core/spelling/TextScanner.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/TextArea.h"
#include "core/spelling/WordList.h"

namespace quirtel {

namespace {

// The characters of display line `line`: a view into the area when it offers
// one, else a copy in `buffer`. Nothing when the area does not know the line.
std::optional<std::string_view> ReadLine(const TextArea& area, int line, std::string& buffer) {
    if (const auto view = area.LineView(line)) {
        return view;
    }
    const int start = area.LineIndex(line);
    if (start < 0) {
        return std::nullopt;
    }
    const int length = area.LineLength(start);
    const int got = area.GetLine(line, length, buffer);
    // Trust only the bytes actually handed over.
    buffer.resize(static_cast<std::size_t>(std::clamp(got, 0, static_cast<int>(buffer.size()))));
    return std::string_view(buffer);
}

}  // namespace

TextScanner::TextScanner(const TextArea& textArea, bool spellCheck, const WordList* wordList)
    : spellingActive(spellCheck && wordList != nullptr), textArea(textArea), wordList(wordList) {}

TextScanner::~TextScanner() = default;

void TextScanner::CountText() {
    std::int32_t count = 0;
    std::int32_t capitalCount = 0;
    std::string buffer;
    const int lineCount = textArea.LineCount();
    for (int i = 0; i < lineCount; ++i) {
        const std::string_view line = ReadLine(textArea, i, buffer).value_or(std::string_view());
        count += static_cast<std::int32_t>(line.size());
        for (const char c : line) {
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
    std::int32_t count = 0;
    std::string buffer;
    const int lineCount = textArea.LineCount();
    for (int i = 0; i < lineCount; ++i) {
        const auto read = ReadLine(textArea, i, buffer);
        if (!read) {
            continue;
        }
        const std::string_view line = *read;
        const std::size_t size = line.size();
        std::size_t s = 0;
        for (;;) {
            while (s < size && line[s] == ' ') {
                ++s;
            }
            if (s == size) {
                break;
            }
            std::size_t e = s;
            while (e + 1 < size && line[e + 1] != ' ') {
                ++e;
            }
            const std::string_view token = line.substr(s, e - s + 1);
            if (!wordList->CheckWord(std::string(token))) {
                ++count;
                const int p = textArea.LineIndex(i);
                faultRanges.push_back(
                    {p + static_cast<int>(s), p + static_cast<int>(e) + 1, i, std::string(token)});
            }
            s = e + 1;
        }
    }
    faults = count;
}

}  // namespace quirtel
