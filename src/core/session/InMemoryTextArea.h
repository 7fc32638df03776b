#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/TextArea.h"

namespace quirtel {

// A text area held in memory, for tools without a window and for tests. The
// text is Windows-1252; '\n' is a paragraph break that takes one position,
// like the paragraph separator of a rich-text control, and counts as two
// characters in TextLength. Display lines wrap like a word-wrapping editor at
// `wrapWidth` characters: a line breaks after the last space that fits (spaces
// at the end of a line stay on it, even beyond the width), and a word longer
// than the width is cut at the width. A width of 0 turns wrapping off.
class InMemoryTextArea final : public TextArea {
public:
    explicit InMemoryTextArea(int wrapWidth = 0, CharFormat defaultFormat = {});

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

    // Replaces the whole text; every character gets the default format, as
    // does the insertion point. CR LF and a lone CR become paragraph breaks.
    // Nothing is selected and the caret stands at the end.
    void SetText(std::string_view text);
    // Types `text` at the caret in the insertion-point format, replacing the
    // selection; the caret ends after it. Line ends as in SetText.
    void InsertText(std::string_view text);
    // The text, paragraph breaks as '\n'.
    const std::string& Text() const;

    // The format of the character at `position` (the default outside the text).
    CharFormat FormatAt(int position) const;
    // The format that typed text gets.
    CharFormat InsertionFormat() const;
    // What CopySelection last put there; paragraph breaks as '\n'.
    const std::string& Clipboard() const;
    // The selected range [start, end); start == end when nothing is selected.
    int SelectionStart() const;
    int SelectionEnd() const;

private:
    struct Line {
        int start;
        int length;
    };

    void Layout() const;
    int LineOf(int position) const;
    void Replace(int start, int end, std::string_view text, const CharFormat& format);

    int wrapWidth;
    CharFormat defaultFormat;
    CharFormat insertionFormat;
    std::string text;
    std::vector<CharFormat> formats;
    std::string clipboard;
    int selectionStart = 0;
    int selectionEnd = 0;

    // Display lines, worked out again after each change of the text.
    mutable std::vector<Line> lines;
    mutable bool layoutValid = false;
};

}  // namespace quirtel
