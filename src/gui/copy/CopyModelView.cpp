#include "gui/copy/CopyModelView.h"

#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

#include "gui/common/QtText.h"

namespace quirtel {
namespace {

constexpr int LONG_PARAGRAPH = 8192;

// The whitespace that separates words when the copy is judged: ASCII only, so
// a no-break space stays inside its word.
bool IsSpace(QChar c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

CopyModelView::CopyModelView(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("copyModel"));
    setAccessibleName(QStringLiteral("Texto modelo"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void CopyModelView::SetModel(std::string_view cp1252Model) {
    // Each Windows-1252 byte is one character; the document keeps only the
    // "\n" of a "\r\n" and turns a lone "\r" into a line break of its own.
    droppedReturns_.clear();
    text_ = FromCp1252(cp1252Model);
    QString shown;
    shown.reserve(text_.size());
    for (qsizetype i = 0; i < text_.size(); ++i) {
        if (text_[i] == u'\r') {
            if (i + 1 < text_.size() && text_[i + 1] == u'\n') {
                droppedReturns_.push_back(static_cast<std::size_t>(i));
                continue;
            }
            shown.append(u'\n');
            continue;
        }
        shown.append(text_[i]);
    }
    text_ = std::move(shown);
    setPlainText(text_);
    // A layout drops its shaped text after each paint unless told to keep it;
    // then the next highlight of a long paragraph shapes all of it again
    // (measured: 150 ms a word on a 1 MB paragraph). Short ones are cheap.
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() > LONG_PARAGRAPH) {
            block.layout()->setCacheEnabled(true);
        }
    }
    SetNextWord(0);
}

int CopyModelView::DocumentPosition(std::size_t offset) const {
    const auto dropped = std::lower_bound(droppedReturns_.begin(), droppedReturns_.end(), offset);
    const std::size_t position =
        offset - static_cast<std::size_t>(dropped - droppedReturns_.begin());
    return static_cast<int>(std::min(position, static_cast<std::size_t>(text_.size())));
}

void CopyModelView::SetNextWord(std::size_t offset) {
    const int size = static_cast<int>(text_.size());
    int start = DocumentPosition(offset);
    if (start >= size || IsSpace(text_[start])) {
        while (start < size && IsSpace(text_[start])) {
            ++start;
        }
    } else {
        while (start > 0 && !IsSpace(text_[start - 1])) {
            --start;
        }
    }
    int end = start;
    while (end < size && !IsSpace(text_[end])) {
        ++end;
    }
    wordStart_ = start;
    wordEnd_ = end;

    // One extra selection moved per word: the document itself never changes.
    QList<QTextEdit::ExtraSelection> selections;
    if (start < end) {
        QTextEdit::ExtraSelection word;
        word.cursor = QTextCursor(document());
        word.cursor.setPosition(start);
        word.cursor.setPosition(end, QTextCursor::KeepAnchor);
        word.format.setBackground(palette().brush(QPalette::Highlight));
        word.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(word);
    }
    setExtraSelections(selections);
    ScrollToWord();
}

void CopyModelView::ScrollToWord() {
    // The caret follows the word so that a screen reader can find it.
    QTextCursor caret(document());
    caret.setPosition(wordStart_);
    setTextCursor(caret);
    // Keep some of the text that follows in sight: once the word passes two
    // thirds of the height, bring it back to the middle.
    const QRect word = cursorRect(caret);
    const int height = viewport()->height();
    if (word.top() < 0 || word.bottom() > height * 2 / 3) {
        centerCursor();
    }
}

}  // namespace quirtel
