#pragma once

#include <vector>

#include "core/common/TextArea.h"

namespace quirtel {

// A text area that passes every operation on to another one and notes each
// range that gets formatted, so a caller can tell which tokens a scan marked.
class RecordingTextArea final : public TextArea {
public:
    struct FormattedRange {
        int start;  // first position
        int end;    // one past the last position
        CharFormat format;
    };

    explicit RecordingTextArea(TextArea& inner);

    int LineCount() const override;
    int LineIndex(int line) const override;
    int LineLength(int position) const override;
    int GetLine(int line, int capacity, std::string& out) const override;
    int TextLength() const override;

    void SetSelection(int start, int end) override;
    void DeleteSelection() override;
    void CopySelection() override;

    CharFormat DefaultCharFormat() const override;
    void FormatSelection(const CharFormat& format) override;

    // The ranges formatted so far, in call order; formatting the insertion
    // point (nothing selected) is not noted.
    const std::vector<FormattedRange>& FormattedRanges() const;

private:
    int EndOfText() const;

    TextArea& inner;
    int selectionStart = -1;
    int selectionEnd = 0;
    std::vector<FormattedRange> ranges;
};

}  // namespace quirtel
