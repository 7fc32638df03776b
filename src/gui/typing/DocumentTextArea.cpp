#include "gui/typing/DocumentTextArea.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>

#include "core/common/Cp1252.h"

namespace quirtel {

namespace {

QColor ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t FromQColor(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

}  // namespace

DocumentTextArea::DocumentTextArea(QTextEdit& editor) : editor_(editor) {
    QObject::connect(editor.document(), &QTextDocument::contentsChange, &editor,
                     [this](int, int, int) {
                         if (!formatting_) {
                             Invalidate();
                         }
                     });
}

const std::vector<DocumentTextArea::DisplayLine>& DocumentTextArea::DisplayLines() const {
    QTextDocument* doc = editor_.document();
    const qreal width = doc->pageSize().width();
    if (linesValid_ && width == linesWidth_) {
        return lines_;
    }
    lines_.clear();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        // The layout works lazily; asking for the block's rectangle lays it out.
        layout->blockBoundingRect(block);
        const int blockLength = block.length() - 1;
        const QTextLayout* lines = block.layout();
        const int count = lines ? lines->lineCount() : 0;
        if (count == 0) {
            lines_.push_back({block.position(), blockLength});
            continue;
        }
        for (int i = 0; i < count; ++i) {
            const QTextLine line = lines->lineAt(i);
            const int start = std::clamp(line.textStart(), 0, blockLength);
            const int length = std::clamp(line.textLength(), 0, blockLength - start);
            lines_.push_back({block.position() + start, length});
        }
    }
    linesValid_ = true;
    linesWidth_ = width;
    return lines_;
}

int DocumentTextArea::LineCount() const {
    return static_cast<int>(DisplayLines().size());
}

int DocumentTextArea::LineIndex(int line) const {
    const auto& lines = DisplayLines();
    if (line < 0 || line >= static_cast<int>(lines.size())) {
        return -1;
    }
    return lines[static_cast<std::size_t>(line)].position;
}

int DocumentTextArea::LineLength(int position) const {
    const auto& lines = DisplayLines();
    // The last line that starts at or before the position holds it; a
    // paragraph break belongs to the line it ends.
    auto next = std::upper_bound(lines.begin(), lines.end(), position,
                                 [](int pos, const DisplayLine& l) { return pos < l.position; });
    if (next == lines.begin()) {
        return lines.empty() ? 0 : lines.front().length;
    }
    return std::prev(next)->length;
}

int DocumentTextArea::GetLine(int line, int capacity, std::string& out) const {
    out.clear();
    const auto& lines = DisplayLines();
    if (line < 0 || line >= static_cast<int>(lines.size()) || capacity <= 0) {
        return 0;
    }
    const DisplayLine& l = lines[static_cast<std::size_t>(line)];
    const int count = std::min(capacity, l.length);
    const QTextBlock block = editor_.document()->findBlock(l.position);
    const QString text = block.text().mid(l.position - block.position(), count);
    // One byte per position, so offsets in the bytes are offsets in the text
    // (a character outside the BMP takes two positions and gives two '?').
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        out.push_back(c.isSurrogate() ? '?' : cp1252::FromUnicode(c.unicode()));
    }
    return static_cast<int>(out.size());
}

int DocumentTextArea::TextLength() const {
    const QTextDocument* doc = editor_.document();
    // characterCount holds one separator per paragraph, the last one too.
    return doc->characterCount() + doc->blockCount() - 2;
}

void DocumentTextArea::SetSelection(int start, int end) {
    QTextCursor cursor = editor_.textCursor();
    if (start < 0) {
        cursor.clearSelection();
    } else {
        const int last = editor_.document()->characterCount() - 1;
        cursor.setPosition(std::min(start, last));
        cursor.setPosition(end < 0 ? last : std::clamp(end, 0, last), QTextCursor::KeepAnchor);
    }
    editor_.setTextCursor(cursor);
}

void DocumentTextArea::DeleteSelection() {
    QTextCursor cursor = editor_.textCursor();
    cursor.removeSelectedText();
    editor_.setTextCursor(cursor);
}

void DocumentTextArea::CopySelection() {
    editor_.copy();
}

CharFormat DocumentTextArea::DefaultCharFormat() const {
    return CharFormat{FromQColor(editor_.palette().color(QPalette::Text)),
                      editor_.document()->defaultFont().underline()};
}

void DocumentTextArea::FormatSelection(const CharFormat& format) {
    QTextCharFormat change;
    change.setForeground(ToQColor(format.colour));
    change.setFontUnderline(format.underline);
    formatting_ = true;
    editor_.mergeCurrentCharFormat(change);
    formatting_ = false;
}

}  // namespace quirtel
