#pragma once

#include <QPlainTextEdit>
#include <cstddef>
#include <string_view>
#include <vector>

namespace quirtel {

// The model text of a copy test, read-only, above the typing area: the next
// word to type is highlighted and kept in sight as the typist goes. It takes
// no keyboard focus (the typist's keys belong to the typing area) but stays a
// text widget for screen readers. Object name "copyModel".
class CopyModelView final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CopyModelView(QWidget* parent = nullptr);

    // Shows `cp1252Model` and highlights its first word.
    void SetModel(std::string_view cp1252Model);

    // Highlights the word (the run of non-whitespace) that holds the byte
    // `offset` of the model, or the next one when `offset` is on whitespace,
    // and scrolls it into view. Nothing is highlighted past the last word.
    void SetNextWord(std::size_t offset);

    // The highlighted word as document positions [start, end); start == end
    // when none.
    int WordStart() const { return wordStart_; }
    int WordEnd() const { return wordEnd_; }

private:
    int DocumentPosition(std::size_t offset) const;
    void ScrollToWord();

    QString text_;  // the model as the document holds it
    // Model offsets of the carriage returns dropped from "\r\n" line breaks,
    // ascending: the document has one character less after each.
    std::vector<std::size_t> droppedReturns_;
    int wordStart_ = 0;
    int wordEnd_ = 0;
};

}  // namespace quirtel
