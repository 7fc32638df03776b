#include "core/session/InMemoryTextArea.h"

#include <algorithm>
#include <iterator>

namespace quirtel {

namespace {

// The most characters the area holds, as many as the rich-text control of the
// typing view; it also keeps every position and TextLength within an int.
constexpr std::size_t MAX_CHARACTERS = 16777215;

// Line ends as a rich-text control reads them: CR LF and a lone CR are one
// paragraph break each.
std::string NormaliseLineEnds(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            result += text[i];
        }
    }
    return result;
}

}  // namespace

InMemoryTextArea::InMemoryTextArea(int wrapWidth, CharFormat defaultFormat)
    : wrapWidth(std::max(wrapWidth, 0)),
      defaultFormat(defaultFormat),
      insertionFormat(defaultFormat) {}

void InMemoryTextArea::Layout() const {
    if (layoutValid) {
        return;
    }
    lines.clear();
    const int size = static_cast<int>(text.size());
    const auto wrap = [this](int start, int end) {
        int lineStart = start;
        while (wrapWidth > 0 && end - lineStart > wrapWidth) {
            // The longest run of whole words (with the spaces after them) whose
            // visible part fits the width; trailing spaces may hang beyond it.
            int fits = -1;
            for (int i = lineStart; i < end;) {
                int j = i;
                while (j < end && text[j] != ' ') {
                    ++j;
                }
                if (j - lineStart > wrapWidth) {
                    break;
                }
                while (j < end && text[j] == ' ') {
                    ++j;
                }
                fits = j;
                i = j;
            }
            if (fits == end) {
                break;
            }
            const int lineEnd = fits > lineStart ? fits : lineStart + wrapWidth;
            lines.push_back({lineStart, lineEnd - lineStart});
            lineStart = lineEnd;
        }
        lines.push_back({lineStart, end - lineStart});
    };
    for (int start = 0;;) {
        const auto found = text.find('\n', static_cast<std::size_t>(start));
        const int end = found == std::string::npos ? size : static_cast<int>(found);
        wrap(start, end);
        if (end == size) {
            break;
        }
        start = end + 1;
    }
    layoutValid = true;
}

int InMemoryTextArea::LineOf(int position) const {
    Layout();
    const auto after = std::upper_bound(lines.begin(), lines.end(), position,
                                        [](int p, const Line& line) { return p < line.start; });
    return static_cast<int>(std::distance(lines.begin(), after)) - 1;
}

int InMemoryTextArea::LineCount() const {
    Layout();
    return static_cast<int>(lines.size());
}

int InMemoryTextArea::LineIndex(int line) const {
    Layout();
    if (line < 0 || line >= static_cast<int>(lines.size())) {
        return -1;
    }
    return lines[line].start;
}

int InMemoryTextArea::LineLength(int position) const {
    if (position < 0 || position > static_cast<int>(text.size())) {
        return 0;
    }
    return lines[LineOf(position)].length;
}

int InMemoryTextArea::GetLine(int line, int capacity, std::string& out) const {
    out.clear();
    if (LineIndex(line) < 0 || capacity <= 0) {
        return 0;
    }
    const int count = std::min(capacity, lines[line].length);
    out.assign(text, static_cast<std::size_t>(lines[line].start), static_cast<std::size_t>(count));
    return count;
}

int InMemoryTextArea::TextLength() const {
    return static_cast<int>(text.size() + std::count(text.begin(), text.end(), '\n'));
}

void InMemoryTextArea::SetSelection(int start, int end) {
    ResolveSelection(start, end, static_cast<int>(text.size()), selectionStart, selectionEnd);
}

void InMemoryTextArea::DeleteSelection() {
    Replace(selectionStart, selectionEnd, {}, insertionFormat);
}

void InMemoryTextArea::CopySelection() {
    if (selectionStart < selectionEnd) {
        clipboard = text.substr(static_cast<std::size_t>(selectionStart),
                                static_cast<std::size_t>(selectionEnd - selectionStart));
    }
}

CharFormat InMemoryTextArea::DefaultCharFormat() const {
    return defaultFormat;
}

void InMemoryTextArea::FormatSelection(const CharFormat& format) {
    if (selectionStart == selectionEnd) {
        insertionFormat = format;
        return;
    }
    std::fill(formats.begin() + selectionStart, formats.begin() + selectionEnd, format);
}

void InMemoryTextArea::SetText(std::string_view newText) {
    text.clear();
    formats.clear();
    insertionFormat = defaultFormat;
    Replace(0, 0, NormaliseLineEnds(newText), defaultFormat);
}

void InMemoryTextArea::InsertText(std::string_view typed) {
    Replace(selectionStart, selectionEnd, NormaliseLineEnds(typed), insertionFormat);
}

void InMemoryTextArea::Replace(int start, int end, std::string_view newText,
                               const CharFormat& format) {
    const auto first = static_cast<std::size_t>(start);
    const auto count = static_cast<std::size_t>(end - start);
    const std::size_t room = MAX_CHARACTERS - (text.size() - count);
    newText = newText.substr(0, room);
    text.replace(first, count, newText);
    formats.erase(formats.begin() + start, formats.begin() + end);
    formats.insert(formats.begin() + start, newText.size(), format);
    selectionStart = selectionEnd = start + static_cast<int>(newText.size());
    layoutValid = false;
}

const std::string& InMemoryTextArea::Text() const {
    return text;
}

CharFormat InMemoryTextArea::FormatAt(int position) const {
    if (position < 0 || position >= static_cast<int>(formats.size())) {
        return defaultFormat;
    }
    return formats[position];
}

CharFormat InMemoryTextArea::InsertionFormat() const {
    return insertionFormat;
}

const std::string& InMemoryTextArea::Clipboard() const {
    return clipboard;
}

int InMemoryTextArea::SelectionStart() const {
    return selectionStart;
}

int InMemoryTextArea::SelectionEnd() const {
    return selectionEnd;
}

}  // namespace quirtel
