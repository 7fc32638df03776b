#include "gui/typing/FaultReview.h"

#include <QDialog>
#include <algorithm>

#include "core/common/TextArea.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordCheck.h"
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

FaultReview::FaultReview(const TextArea& text, const SpellingAdvisor& advisor,
                         PersonalWordList& personal, Prompts& prompts)
    : text_(text), advisor_(advisor), personal_(personal), prompts_(prompts) {}

FaultReview::~FaultReview() = default;

void FaultReview::Clear() {
    marks_.clear();
    active_ = false;
}

void FaultReview::Take(const std::vector<RecordingTextArea::FormattedRange>& ranges) {
    marks_.clear();
    std::string line;
    for (const auto& range : ranges) {
        const int lineIndex = LineOf(range.start) - 1;
        const int lineStart = text_.LineIndex(lineIndex);
        text_.GetLine(lineIndex, text_.LineLength(lineStart), line);
        const auto column = static_cast<std::size_t>(std::max(range.start - lineStart, 0));
        const auto length = static_cast<std::size_t>(range.end - range.start);
        marks_.push_back({range.start, range.end,
                          column < line.size() ? line.substr(column, length) : std::string(),
                          std::nullopt});
    }
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

const FaultAdvice& FaultReview::AdviceOf(const Mark& mark) const {
    if (!mark.advice) {
        mark.advice = advisor_.Advise(mark.token);
        if (!mark.advice) {
            // The check accepts the token by now (the personal list was
            // edited meanwhile): it is still marked, so say what it is.
            FaultAdvice unknown;
            const TokenShape shape = ShapeOfToken(mark.token);
            unknown.word = mark.token.substr(shape.begin, shape.end - shape.begin);
            ToLowerCp1252(unknown.word);
            mark.advice = std::move(unknown);
        }
    }
    return *mark.advice;
}

const FaultReview::Mark* FaultReview::Find(int position) const {
    const auto mark = std::find_if(marks_.begin(), marks_.end(), [position](const Mark& m) {
        return m.start <= position && position < m.end;
    });
    return mark == marks_.end() ? nullptr : &*mark;
}

FaultReview::Range FaultReview::MarkAt(int position) const {
    const Mark* mark = Find(position);
    return mark == nullptr ? Range(0, 0) : Range(mark->start, mark->end);
}

QString FaultReview::ToolTipAt(int position) const {
    const Mark* mark = active_ ? Find(position) : nullptr;
    if (mark == nullptr) {
        return {};
    }
    const FaultAdvice& advice = AdviceOf(*mark);
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
    rows.reserve(marks_.size());
    for (const Mark& mark : marks_) {
        const FaultAdvice& advice = AdviceOf(mark);
        rows.push_back({LineOf(mark.start), FromCp1252(mark.token),
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
    // none of them stays marked.
    std::vector<Range> unmarked;
    std::vector<Mark> kept;
    for (Mark& mark : marks_) {
        const FaultAdvice& advice = AdviceOf(mark);
        const bool added = advice.kind != FaultKind::Shape &&
                           std::find(words.begin(), words.end(), advice.word) != words.end();
        if (added) {
            unmarked.emplace_back(mark.start, mark.end);
        } else {
            // What is suggested may have changed with the new words.
            mark.advice.reset();
            kept.push_back(std::move(mark));
        }
    }
    marks_ = std::move(kept);
    return unmarked;
}

}  // namespace quirtel
