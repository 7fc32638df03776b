#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/TextArea.h"

namespace quirtel {

// The scorer's text area: a text that does not wrap (display lines are its
// lines) and keeps no formats. It holds the text
// and one position per line, nothing per character, so a text of tens of
// megabytes costs little more than its own bytes.
class ScoreTextArea final : public TextArea {
public:
    // The longest text the area takes: every position and TextLength (which
    // counts a line break twice) stay within an int.
    static constexpr std::size_t MAX_CHARACTERS = (std::size_t{1} << 30) - 1;

    // `text` is Windows-1252; each '\n' ends a line and takes one position.
    // Text beyond MAX_CHARACTERS is not taken: callers bound their input first.
    explicit ScoreTextArea(std::string text);

    int LineCount() const override;
    int LineIndex(int line) const override;
    int LineLength(int position) const override;
    int GetLine(int line, int capacity, std::string& out) const override;
    int TextLength() const override;
    std::optional<std::string_view> LineView(int line) const override;

    void SetSelection(int start, int end) override;
    void DeleteSelection() override;
    // The scorer has no clipboard: nothing happens.
    void CopySelection() override;

    CharFormat DefaultCharFormat() const override;
    // Formats are not kept: nothing happens.
    void FormatSelection(const CharFormat& format) override;

    // The text as given.
    std::string_view Text() const;

private:
    void FindLines();

    std::string text;
    std::vector<int> lineStarts;  // ascending; the first is 0
    int selectionStart = 0;
    int selectionEnd = 0;
};

}  // namespace quirtel
