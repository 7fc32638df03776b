#pragma once

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/session/RecordingTextArea.h"
#include "core/spelling/FaultAdvice.h"

class QWidget;

namespace quirtel {

class PersonalWordList;
class Prompts;
class SpellingAdvisor;
class TextArea;

// The faulty tokens of a finished test as the typing view shows them: where
// the marks lie, why each token is marked and what was probably meant
// (worked out when first asked for), the tooltip over a mark, and the review
// that takes words into the personal word list and their marks out of the
// text. The statistics record of the test is none of its business.
class FaultReview {
public:
    // A range of positions [start, end) whose mark is to go.
    using Range = std::pair<int, int>;

    // All must outlive the review.
    FaultReview(const TextArea& text, const SpellingAdvisor& advisor, PersonalWordList& personal,
                Prompts& prompts);
    ~FaultReview();
    FaultReview(const FaultReview&) = delete;
    FaultReview& operator=(const FaultReview&) = delete;

    // Forgets the marks of the last test and stops showing anything.
    void Clear();
    // Takes the ranges a spelling scan marked, in text order, and reads their
    // tokens from the text. Nothing is shown until Activate.
    void Take(const std::vector<RecordingTextArea::FormattedRange>& ranges);
    // From now on tooltips show and the review may run (the result dialog
    // has closed).
    void Activate() { active_ = true; }

    // Active and at least one mark left.
    bool CanReview() const { return active_ && !marks_.empty(); }
    std::size_t MarkCount() const { return marks_.size(); }

    // The range of the mark that holds the character at `position`; (0, 0)
    // when none does.
    Range MarkAt(int position) const;
    // The tooltip for the character at `position`: the kind of its mark and
    // the suggestions; empty when no mark holds it or while not active.
    QString ToolTipAt(int position) const;

    // Shows "Revisión de faltas" through the prompts. On "Aceptar" the ticked
    // words go into the personal word list; when that worked, every mark of
    // those words is forgotten and its range returned, for the caller to
    // unmark. A failed write is shown as a message and changes nothing.
    std::vector<Range> Run(QWidget* parent);

private:
    struct Mark {
        int start;
        int end;
        std::string token;  // Windows-1252
        mutable std::optional<FaultAdvice> advice;
    };

    const FaultAdvice& AdviceOf(const Mark& mark) const;
    const Mark* Find(int position) const;
    // 1-based display line that holds `position`.
    int LineOf(int position) const;

    const TextArea& text_;
    const SpellingAdvisor& advisor_;
    PersonalWordList& personal_;
    Prompts& prompts_;
    std::vector<Mark> marks_;
    bool active_ = false;
};

}  // namespace quirtel
