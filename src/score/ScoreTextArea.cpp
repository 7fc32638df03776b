#include "score/ScoreTextArea.h"

#include <algorithm>
#include <utility>

namespace quirtel {

ScoreTextArea::ScoreTextArea(std::string source) : text(std::move(source)) {
    if (text.size() > MAX_CHARACTERS) {
        text.resize(MAX_CHARACTERS);
    }
    FindLines();
}

void ScoreTextArea::FindLines() {
    lineStarts.assign(1, 0);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        lineStarts.push_back(static_cast<int>(at + 1));
    }
}

int ScoreTextArea::LineCount() const {
    return static_cast<int>(lineStarts.size());
}

int ScoreTextArea::LineIndex(int line) const {
    if (line < 0 || line >= LineCount()) {
        return -1;
    }
    return lineStarts[static_cast<std::size_t>(line)];
}

int ScoreTextArea::LineLength(int position) const {
    if (position < 0 || position > static_cast<int>(text.size())) {
        return 0;
    }
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), position);
    const int start = *(after - 1);
    const int end = after == lineStarts.end() ? static_cast<int>(text.size()) : *after - 1;
    return end - start;
}

int ScoreTextArea::GetLine(int line, int capacity, std::string& out) const {
    out.clear();
    const int start = LineIndex(line);
    if (start < 0 || capacity <= 0) {
        return 0;
    }
    const int count = std::min(capacity, LineLength(start));
    out.assign(text, static_cast<std::size_t>(start), static_cast<std::size_t>(count));
    return count;
}

std::optional<std::string_view> ScoreTextArea::LineView(int line) const {
    const int start = LineIndex(line);
    if (start < 0) {
        return std::nullopt;
    }
    return std::string_view(text).substr(static_cast<std::size_t>(start),
                                         static_cast<std::size_t>(LineLength(start)));
}

int ScoreTextArea::TextLength() const {
    return static_cast<int>(text.size() + lineStarts.size() - 1);
}

void ScoreTextArea::SetSelection(int start, int end) {
    ResolveSelection(start, end, static_cast<int>(text.size()), selectionStart, selectionEnd);
}

void ScoreTextArea::DeleteSelection() {
    if (selectionStart == selectionEnd) {
        return;
    }
    text.erase(static_cast<std::size_t>(selectionStart),
               static_cast<std::size_t>(selectionEnd - selectionStart));
    selectionEnd = selectionStart;
    FindLines();
}

void ScoreTextArea::CopySelection() {}

CharFormat ScoreTextArea::DefaultCharFormat() const {
    return {};
}

void ScoreTextArea::FormatSelection(const CharFormat&) {}

std::string_view ScoreTextArea::Text() const {
    return text;
}

}  // namespace quirtel
