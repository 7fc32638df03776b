#include "core/session/RecordingTextArea.h"

namespace quirtel {

RecordingTextArea::RecordingTextArea(TextArea& inner) : inner(inner) {}

int RecordingTextArea::LineCount() const {
    return inner.LineCount();
}
int RecordingTextArea::LineIndex(int line) const {
    return inner.LineIndex(line);
}
int RecordingTextArea::LineLength(int position) const {
    return inner.LineLength(position);
}
int RecordingTextArea::GetLine(int line, int capacity, std::string& out) const {
    return inner.GetLine(line, capacity, out);
}
int RecordingTextArea::TextLength() const {
    return inner.TextLength();
}

void RecordingTextArea::SetSelection(int start, int end) {
    inner.SetSelection(start, end);
    if (start == 0 && end == -1) {
        selectionStart = 0;
        selectionEnd = EndOfText();
    } else if (start < 0) {
        selectionStart = -1;
        selectionEnd = 0;
    } else {
        selectionStart = start;
        selectionEnd = end;
    }
}

void RecordingTextArea::DeleteSelection() {
    inner.DeleteSelection();
    selectionEnd = selectionStart;
}

void RecordingTextArea::CopySelection() {
    inner.CopySelection();
}

CharFormat RecordingTextArea::DefaultCharFormat() const {
    return inner.DefaultCharFormat();
}

void RecordingTextArea::FormatSelection(const CharFormat& format) {
    inner.FormatSelection(format);
    if (selectionStart >= 0 && selectionEnd > selectionStart) {
        ranges.push_back({selectionStart, selectionEnd, format});
    }
}

const std::vector<RecordingTextArea::FormattedRange>& RecordingTextArea::FormattedRanges() const {
    return ranges;
}

// Positions count line breaks once, so the end is found through the last
// line rather than through TextLength.
int RecordingTextArea::EndOfText() const {
    const int lastStart = inner.LineIndex(inner.LineCount() - 1);
    return lastStart < 0 ? 0 : lastStart + inner.LineLength(lastStart);
}

}  // namespace quirtel
