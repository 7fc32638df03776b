#pragma once

#include <QtGlobal>
#include <vector>

#include "core/common/TextArea.h"

class QTextEdit;

namespace quirtel {

// The text area the core reads and formats, over the document of a text
// editor. Positions are the document's positions; a paragraph break takes one
// position and counts two characters in TextLength. Display lines are worked
// out only when the text is read, never per keystroke.
class DocumentTextArea final : public TextArea {
public:
    // The editor must outlive the area.
    explicit DocumentTextArea(QTextEdit& editor);

    // Drops the display lines: the editor's font, style or width changed.
    void Invalidate() { linesValid_ = false; }

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

private:
    struct DisplayLine {
        int position;
        int length;
    };

    const std::vector<DisplayLine>& DisplayLines() const;

    QTextEdit& editor_;
    mutable std::vector<DisplayLine> lines_;
    mutable bool linesValid_ = false;
    mutable qreal linesWidth_ = -1;
    // Colour and underline leave the wrapping as it was.
    bool formatting_ = false;
};

}  // namespace quirtel
