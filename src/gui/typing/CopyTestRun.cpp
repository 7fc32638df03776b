#include "gui/typing/CopyTestRun.h"

#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "core/results/StatisticsLog.h"
#include "core/session/CopyJudge.h"
#include "core/session/FaultList.h"
#include "core/session/KeyTimes.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/copy/CCopyResultDlg.h"
#include "gui/typing/CTapoView.h"

namespace quirtel {

namespace {

// Whitespace as the copy judge sees it, in Windows-1252.
bool IsCopySpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\xA0';
}

bool IsCopySpace(QChar c) {
    return c.isSpace();
}

// The tooltip over a copy error's mark: the model's word and the error kind.
QString CopyErrorTip(const CopyError& error) {
    const QString kind = FromCp1252(CopyErrorKindName(error.kind));
    if (error.kind == CopyErrorKind::anadida) {
        return QStringLiteral(u"Palabra de m\u00E1s: no est\u00E1 en el modelo (") + kind +
               QStringLiteral(")");
    }
    if (error.kind == CopyErrorKind::omitida) {
        return QStringLiteral(u"Falta antes de esta palabra. Modelo: ") + FromCp1252(error.model) +
               QStringLiteral(" (") + kind + QStringLiteral(")");
    }
    return QStringLiteral("Modelo: ") + FromCp1252(error.model) + QStringLiteral(" (") + kind +
           QStringLiteral(")");
}

std::string KeyText(char32_t character) {
    return ToCp1252(QString::fromUcs4(&character, 1));
}

}  // namespace

// The copy test in course: its model, rules and where the typist is.
struct CopyTestRun::CopyTest {
    ModelText model;
    CopyRules rules;
    std::vector<std::size_t> wordStarts;  // byte offsets of the model's words
    int typedWords = 0;                   // words in the typed text
    bool afterSpace = true;               // the typed text ends in whitespace (or is empty)
    int typedLength = 0;                  // characters in the typed text
    qsizetype nextWord = -1;              // last offset told through nextModelWord
};

CopyTestRun::CopyTestRun(CTapoView& view) : view_(view) {}

CopyTestRun::~CopyTestRun() = default;

void CopyTestRun::Set(ModelText model, const CopyRules& rules) {
    if (!copy_) {
        freeTestLength_ = view_.Settings().testLength;
    }
    copy_ = std::make_unique<CopyTest>();
    copy_->model = std::move(model);
    copy_->rules = rules.Clamped();
    const std::string& text = copy_->model.text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsCopySpace(text[i]) && (i == 0 || IsCopySpace(text[i - 1]))) {
            copy_->wordStarts.push_back(i);
        }
    }
    TestSettings settings = view_.Settings();
    settings.testLength = copy_->rules.minutes * 60;
    view_.session_.SetSettings(settings);
}

void CopyTestRun::SetFree() {
    if (!copy_) {
        return;
    }
    copy_.reset();
    TestSettings settings = view_.Settings();
    settings.testLength = freeTestLength_;
    view_.session_.SetSettings(settings);
}

const ModelText* CopyTestRun::Model() const {
    return copy_ ? &copy_->model : nullptr;
}

const CopyRules* CopyTestRun::Rules() const {
    return copy_ ? &copy_->rules : nullptr;
}

std::int32_t CopyTestRun::OptionsLength(std::int32_t current) const {
    return copy_ ? freeTestLength_ : current;
}

std::int32_t CopyTestRun::TakeOptionsLength(std::int32_t length) {
    if (!copy_) {
        return length;
    }
    freeTestLength_ = length;
    return copy_->rules.minutes * 60;
}

void CopyTestRun::ClearMarks() {
    marks_.clear();
    marksShown_ = false;
}

void CopyTestRun::Follow(int position, int removed, int added) {
    if (!copy_) {
        return;
    }
    CopyTest& copy = *copy_;
    const QTextDocument* doc = view_.document();
    // The last paragraph's separator is not part of the text.
    const int length = doc->characterCount() - 1;
    const bool appended =
        removed == 0 && position == copy.typedLength && position + added == length;
    if (!appended) {
        copy.typedWords = 0;
        copy.afterSpace = true;
        position = 0;
    }
    for (int i = position; i < length; ++i) {
        const bool space = IsCopySpace(doc->characterAt(i));
        if (!space && copy.afterSpace) {
            ++copy.typedWords;
        }
        copy.afterSpace = space;
    }
    copy.typedLength = length;

    // The word being typed is the next one until whitespace follows it.
    const auto modelWords = static_cast<int>(copy.wordStarts.size());
    const int next = copy.afterSpace ? copy.typedWords : copy.typedWords - 1;
    const qsizetype offset = next < modelWords ? static_cast<qsizetype>(copy.wordStarts[next])
                                               : static_cast<qsizetype>(copy.model.text.size());
    if (offset != copy.nextWord) {
        copy.nextWord = offset;
        emit view_.nextModelWord(offset);
    }

    if (view_.State() != CTapoView::TestState::Running || modelWords == 0 ||
        copy.typedWords < modelWords) {
        return;
    }
    bool done = copy.afterSpace || copy.typedWords > modelWords;
    if (!done) {
        // The last model word is typed once it is typed whole.
        const std::size_t lastStart = copy.wordStarts.back();
        std::size_t lastEnd = lastStart;
        while (lastEnd < copy.model.text.size() && !IsCopySpace(copy.model.text[lastEnd])) {
            ++lastEnd;
        }
        const auto wordLength = static_cast<int>(lastEnd - lastStart);
        int start = length;
        while (start > 0 && !IsCopySpace(doc->characterAt(start - 1))) {
            --start;
        }
        if (length - start == wordLength) {
            QString typed;
            for (int i = start; i < length; ++i) {
                typed.append(doc->characterAt(i));
            }
            done = ToCp1252(typed) == copy.model.text.substr(lastStart, lastEnd - lastStart);
        }
    }
    if (done) {
        // Finished once the keystroke that completed the model is through.
        QTimer::singleShot(0, &view_, [this] {
            if (copy_ && view_.State() == CTapoView::TestState::Running) {
                view_.FinishTest();
            }
        });
    }
}

void CopyTestRun::Finish() {
    TestSession& session = view_.session_;
    if (!session.Finish()) {
        return;
    }
    view_.testTimer_.stop();
    emit view_.testStateChanged();

    const std::string typed = ToCp1252(view_.toPlainText());
    const std::int64_t keystrokes =
        CopyJudge::CountKeystrokes(typed, view_.Settings().capitalsDouble);
    const std::int32_t elapsed = session.ElapsedSeconds();
    const CopyJudgement judgement =
        CopyJudge::Judge(copy_->model.text, typed, copy_->rules, keystrokes, elapsed);
    TestResult& result = view_.result_;
    result = TestResult{};
    result.elapsedSeconds = elapsed;
    result.keystrokes = static_cast<std::int32_t>(std::min<std::int64_t>(keystrokes, INT32_MAX));
    result.faults =
        static_cast<std::int32_t>(std::min<std::int64_t>(judgement.ErrorCount(), INT32_MAX));
    result.speed = judgement.grossSpeed;
    view_.soundCues_.PlayRatingSound(judgement.netSpeed);

    // Each error marks its typed word(s); an omitted word marks the word typed
    // after the gap, or nothing at the end.
    const auto typedLength = static_cast<int>(typed.size());
    std::vector<FaultRange> ranges;
    for (const CopyError& error : judgement.errors) {
        int start = static_cast<int>(std::min(error.start, typed.size()));
        int end = static_cast<int>(std::min(error.end, typed.size()));
        if (start == end) {
            while (end < typedLength && !IsCopySpace(typed[static_cast<std::size_t>(end)])) {
                ++end;
            }
        }
        if (start == end) {
            continue;
        }
        FaultRange range;
        range.start = start;
        range.end = end;
        ranges.push_back(range);
        marks_.push_back({start, end, CopyErrorTip(error)});
    }
    view_.PaintFaults(ranges);

    CopyResultView shown;
    shown.keystrokes = result.keystrokes;
    shown.elapsedSeconds = elapsed;
    shown.errors = result.faults;
    shown.wordsReached =
        static_cast<std::int32_t>(std::min<std::int64_t>(judgement.wordsReached, INT32_MAX));
    shown.accuracyPercent = judgement.accuracy;
    shown.grossSpeed = judgement.grossSpeed;
    shown.netSpeed = judgement.netSpeed;
    shown.pass = judgement.pass;
    for (const CopyError& error : judgement.errors) {
        shown.errorRows.push_back(
            {error.line, error.model, error.typed, CopyErrorKindName(error.kind)});
    }
    for (const KeySlip& slip : judgement.keySlips) {
        shown.mistyped.push_back(
            {std::string(1, slip.expected), std::string(1, slip.typed), slip.count});
    }
    for (const KeyTime& key : SlowestKeys(session.Keystrokes())) {
        shown.slowest.push_back({KeyText(key.character), key.meanMs});
    }
    CCopyResultDlg dialog(shown, &view_);
    view_.prompts_.RunDialog(dialog);

    const std::string timeText = FormatTimeText(elapsed);
    const std::string netSpeedText = FormatSpeedText(judgement.netSpeed);
    view_.SetCaption(FromCp1252(FinishedCaption(netSpeedText, timeText)));
    const std::string record =
        BuildStatisticsRecord(FormatSpeedText(judgement.grossSpeed), netSpeedText, timeText,
                              std::to_string(judgement.ErrorCount()),
                              FormatDateText(session.TimeLastTick())) +
        BuildCopyRecordSuffix(copy_->model.title, judgement.accuracy);
    if (const auto failure = AppendStatisticsRecord(view_.StatisticsLogPath(), record)) {
        view_.prompts_.ShowMessage(FileFailureMessage(*failure));
    }
    marksShown_ = true;
    emit view_.testStateChanged();
}

std::optional<CopyTestRun::Mark> CopyTestRun::MarkAt(int character) const {
    if (!marksShown_ || character < 0) {
        return std::nullopt;
    }
    for (const Mark& mark : marks_) {
        if (character >= mark.start && character < mark.end) {
            return mark;
        }
    }
    return std::nullopt;
}

}  // namespace quirtel
