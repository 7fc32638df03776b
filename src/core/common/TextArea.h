#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quirtel {

// Colour and underline of a run of text; the only attributes the program sets.
// colour is 0x00BBGGRR (red in the lowest byte).
struct CharFormat {
    std::uint32_t colour = 0;
    bool underline = false;

    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// Red 200, green 100, blue 100: the mark of a faulty token.
inline constexpr std::uint32_t FAULT_MARK_COLOUR = 0x006464C8;

// Applies SetSelection's arguments to the selection [selectionStart,
// selectionEnd) of a text of `size` positions held in memory: (-1, x)
// collapses it to its end, an end of -1 stands for the end of the text, and
// positions outside the text are held at its bounds.
inline void ResolveSelection(int start, int end, int size, int& selectionStart, int& selectionEnd) {
    if (start == -1) {
        selectionStart = selectionEnd;
        return;
    }
    if (end == -1) {
        end = size;
    }
    start = std::clamp(start, 0, size);
    end = std::clamp(end, 0, size);
    selectionStart = std::min(start, end);
    selectionEnd = std::max(start, end);
}

// The operations the program asks of the multi-line text area in which the user
// types. Positions count characters from 0 in the area's own numbering; the only
// promise about them is that LineIndex, SetSelection and the formatting agree.
// Lines are display lines, after wrapping. Text crosses this interface as
// Windows-1252 bytes.
class TextArea {
public:
    virtual ~TextArea() = default;

    // Number of display lines (an empty text has one).
    virtual int LineCount() const = 0;
    // Position of the first character of display line `line`, -1 when out of range.
    virtual int LineIndex(int line) const = 0;
    // Characters of the display line that holds `position`, line break excluded.
    virtual int LineLength(int position) const = 0;
    // Copies at most `capacity` characters of display line `line` into `out`
    // (replacing its content); returns the number copied.
    virtual int GetLine(int line, int capacity, std::string& out) const = 0;
    // Length of the whole text, each line break counted as two characters.
    virtual int TextLength() const = 0;
    // The characters of display line `line` where the area holds them as one
    // run, valid until the text changes; nullopt when it does not (then
    // GetLine copies them). Lets a reader of a long line skip the copy.
    virtual std::optional<std::string_view> LineView(int line) const {
        static_cast<void>(line);
        return std::nullopt;
    }

    // (0, -1) selects all; (-1, 0) selects nothing; (a, b) selects a .. b - 1.
    virtual void SetSelection(int start, int end) = 0;
    // Removes the selected text.
    virtual void DeleteSelection() = 0;
    // Puts the selected text on the clipboard.
    virtual void CopySelection() = 0;

    // The area's default character format.
    virtual CharFormat DefaultCharFormat() const = 0;
    // Replaces colour and underline of the selection, or of the insertion point
    // when nothing is selected.
    virtual void FormatSelection(const CharFormat& format) = 0;
};

}  // namespace quirtel
