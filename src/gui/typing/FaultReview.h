#pragma once

#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "core/session/FaultList.h"

class QWidget;

namespace quirtel {

class PersonalWordList;
class Prompts;
class TextArea;

// The faults of a finished test as the typing view shows them: the tooltip
// over a mark, and the review that takes words into the personal word list
// and their faults out of the list. The faults themselves are a FaultList.
class FaultReview {
public:
    using Range = FaultList::Range;

    // All must outlive the review.
    FaultReview(const TextArea& text, FaultList& faults, PersonalWordList& personal,
                Prompts& prompts);
    FaultReview(const FaultReview&) = delete;
    FaultReview& operator=(const FaultReview&) = delete;

    // Forgets the faults of the last test and stops showing anything.
    void Clear();
    // From now on tooltips show and the review may run (the result dialog
    // has closed).
    void Activate() { active_ = true; }

    // Active and at least one fault left.
    bool CanReview() const { return active_ && !faults_.Empty(); }

    // The range of the fault that holds the character at `position`; (0, 0)
    // when none does.
    Range MarkAt(int position) const;
    // The tooltip for the character at `position`: the kind of its fault and
    // the suggestions; empty when no fault holds it or while not active.
    QString ToolTipAt(int position) const;

    // Shows "Revisión de faltas" through the prompts. On "Aceptar" the ticked
    // words go into the personal word list; when that worked, every fault of
    // those words is forgotten and its range returned, for the caller to
    // unmark. A failed write is shown as a message and changes nothing.
    std::vector<Range> Run(QWidget* parent);

private:
    // 1-based display line that holds `position`.
    int LineOf(int position) const;

    const TextArea& text_;
    FaultList& faults_;
    PersonalWordList& personal_;
    Prompts& prompts_;
    bool active_ = false;
};

}  // namespace quirtel
