#include "gui/typing/FaultReview.h"

#include <QDialog>

#include "core/common/TextArea.h"
#include "core/spelling/PersonalWordList.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/results/CReviewDlg.h"

namespace quirtel {

namespace {

QStringList Suggestions(const FaultAdvice& advice) {
    QStringList list;
    for (const std::string& suggestion : advice.suggestions) {
        list.append(FromCp1252(suggestion));
    }
    return list;
}

}  // namespace

FaultReview::FaultReview(const TextArea& text, FaultList& faults, PersonalWordList& personal,
                         Prompts& prompts)
    : text_(text), faults_(faults), personal_(personal), prompts_(prompts) {}

void FaultReview::Clear() {
    faults_.Clear();
    active_ = false;
}

int FaultReview::LineOf(int position) const {
    // The last display line that starts at or before the position.
    int low = 0;
    int high = text_.LineCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (text_.LineIndex(middle) <= position) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low + 1;
}

FaultReview::Range FaultReview::MarkAt(int position) const {
    const std::size_t index = faults_.IndexAt(position);
    if (index == FaultList::NONE) {
        return {0, 0};
    }
    const FaultRange& fault = faults_.Faults()[index];
    return {fault.start, fault.end};
}

QString FaultReview::ToolTipAt(int position) const {
    const std::size_t index = active_ ? faults_.IndexAt(position) : FaultList::NONE;
    if (index == FaultList::NONE) {
        return {};
    }
    const FaultAdvice& advice = faults_.AdviceOf(index);
    QString tip = FromCp1252(FaultKindLabel(advice.kind));
    if (advice.kind == FaultKind::Shape) {
        return tip + QStringLiteral(u"\nLos signos que rodean la palabra no son v\u00E1lidos");
    }
    const QStringList suggestions = Suggestions(advice);
    return tip + (suggestions.isEmpty()
                      ? QStringLiteral("\nSin sugerencias")
                      : QStringLiteral("\nSugerencias: ") + suggestions.join(QStringLiteral(", ")));
}

std::vector<FaultReview::Range> FaultReview::Run(QWidget* parent) {
    std::vector<CReviewDlg::Row> rows;
    rows.reserve(faults_.Faults().size());
    for (std::size_t i = 0; i < faults_.Faults().size(); ++i) {
        const FaultRange& fault = faults_.Faults()[i];
        const FaultAdvice& advice = faults_.AdviceOf(i);
        rows.push_back({LineOf(fault.start), FromCp1252(fault.token),
                        FromCp1252(FaultKindLabel(advice.kind)), Suggestions(advice),
                        FromCp1252(advice.word), advice.kind != FaultKind::Shape});
    }
    CReviewDlg dialog(rows, parent);
    if (prompts_.RunDialog(dialog) != QDialog::Accepted) {
        return {};
    }
    std::vector<std::string> words;
    for (const QString& word : dialog.TickedWords()) {
        words.push_back(ToCp1252(word));
    }
    if (words.empty()) {
        return {};
    }
    const PersonalWordList::Outcome outcome = personal_.Add(words);
    if (outcome != PersonalWordList::Outcome::Written &&
        outcome != PersonalWordList::Outcome::Unchanged) {
        prompts_.ShowMessage(personal_.FailureMessage(outcome));
        return {};
    }
    // Every occurrence of a word now in the personal list passes the check:
    // none of them stays a fault.
    return faults_.ClearWords(words);
}

}  // namespace quirtel
