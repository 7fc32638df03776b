#include "gui/typing/CTapoView.h"

#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "core/results/StatisticsLog.h"
#include "core/session/CopyJudge.h"
#include "core/session/FaultList.h"
#include "core/session/KeyTimes.h"
#include "core/session/TestJudge.h"
#include "core/spelling/SpellingResources.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/copy/CCopyResultDlg.h"
#include "gui/results/CResultDlg.h"
#include "gui/settings/COptionsDlg.h"
#include "gui/typing/DocumentTextArea.h"
#include "gui/typing/FaultReview.h"
#include "gui/typing/KeyClassifier.h"

namespace quirtel {

namespace {

QString PromptTitle(std::int32_t testLength) {
    return QStringLiteral("Empieza a escribir cuando quieras... (tiempo total ") +
           FromCp1252(FormatTimeSpan(testLength)) +
           QStringLiteral(" minutos) F2 para acabar y ESC para abortar");
}

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
struct CTapoView::CopyTest {
    ModelText model;
    CopyRules rules;
    std::vector<std::size_t> wordStarts;  // byte offsets of the model's words
    int typedWords = 0;                   // words in the typed text
    bool afterSpace = true;               // the typed text ends in whitespace (or is empty)
    int typedLength = 0;                  // characters in the typed text
    qsizetype nextWord = -1;              // last offset told through nextModelWord
};

CTapoView::CTapoView(Clock& clock, SoundPlayer& sound, Prompts& prompts,
                     SpellingResources& spelling, QWidget* parent)
    : CGuardedEdit(parent),
      clock_(clock),
      prompts_(prompts),
      soundCues_(sound),
      textArea_(*this),
      spelling_(spelling),
      faultList_(std::make_unique<FaultList>(spelling.Advisor())),
      faultReview_(
          std::make_unique<FaultReview>(textArea_, *faultList_, spelling.Personal(), prompts)),
      session_(clock, steadyClock_),
      statisticsLogPath_(STATISTICS_LOG_PATH) {
    setObjectName(QStringLiteral("typingView"));
    setAccessibleName(QStringLiteral("Texto de la prueba"));

    testTimer_.setObjectName(QStringLiteral("testTimer"));
    testTimer_.setInterval(TEST_TIMER_PERIOD_MS);
    testTimer_.setSingleShot(false);
    connect(&testTimer_, &QTimer::timeout, this, &CTapoView::OnTestTick);
    connect(document(), &QTextDocument::contentsChange, this, &CTapoView::FollowCopy);
}

CTapoView::~CTapoView() = default;

void CTapoView::FirstSetUp() {
    savedFormat_ = textArea_.DefaultCharFormat();
    PrepareTest();
}

void CTapoView::PrepareTest() {
    testTimer_.stop();
    emit documentTitleChanged(PromptTitle(Settings().testLength));
    session_.Prepare();
    faultReview_->Clear();
    copyMarks_.clear();
    copyMarksShown_ = false;
    textArea_.SetSelection(0, -1);
    textArea_.DeleteSelection();
    // Deleting keeps the format of the deleted text at the caret (a fault mark
    // included); start from the plain format before applying the saved one.
    setCurrentCharFormat(QTextCharFormat());
    textArea_.FormatSelection(savedFormat_);
    // Undo must not bring back the previous test's text into this one.
    document()->clearUndoRedoStacks();
    if (copy_) {
        FollowCopy(0, 0, 0);
    }
    emit testStateChanged();
}

void CTapoView::SetCopyTest(ModelText model, const CopyRules& rules) {
    if (!copy_) {
        freeTestLength_ = Settings().testLength;
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
    TestSettings settings = Settings();
    settings.testLength = copy_->rules.minutes * 60;
    session_.SetSettings(settings);
}

void CTapoView::SetFreeTest() {
    if (!copy_) {
        return;
    }
    copy_.reset();
    TestSettings settings = Settings();
    settings.testLength = freeTestLength_;
    session_.SetSettings(settings);
}

const ModelText* CTapoView::CopyModel() const {
    return copy_ ? &copy_->model : nullptr;
}

const CopyRules* CTapoView::CopyTestRules() const {
    return copy_ ? &copy_->rules : nullptr;
}

void CTapoView::FollowCopy(int position, int removed, int added) {
    if (!copy_) {
        return;
    }
    CopyTest& copy = *copy_;
    const QTextDocument* doc = document();
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
        emit nextModelWord(offset);
    }

    if (State() != TestState::Running || modelWords == 0 || copy.typedWords < modelWords) {
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
        QTimer::singleShot(0, this, [this] {
            if (copy_ && State() == TestState::Running) {
                FinishTest();
            }
        });
    }
}

bool CTapoView::AcceptCharacter(char32_t character) {
    return Accepted(session_.AcceptCharacter(character));
}

bool CTapoView::AcceptControl(ControlKey key) {
    return Accepted(session_.AcceptControl(key));
}

bool CTapoView::Accepted(TestSession::Accept outcome) {
    if (outcome == TestSession::Accept::Refused) {
        return false;
    }
    if (outcome == TestSession::Accept::Started) {
        testTimer_.start();
        SetCaption(QStringLiteral(u"\u00A1Empezando!"));
        emit testStateChanged();
    }
    if (Settings().keySound) {
        soundCues_.PlayKeyClick();
    }
    return true;
}

void CTapoView::OnTestTick() {
    const TestSession::Tick tick = session_.OnTick();
    if (!tick.counted) {
        return;
    }
    const std::int32_t length = Settings().testLength;
    SetCaption(QStringLiteral("(Total ") + FromCp1252(FormatTimeSpan(length)) +
               QStringLiteral(") --- ") + FromCp1252(FormatTimeSpan(tick.elapsed)) +
               QStringLiteral(" ---"));
    if (tick.timeUp) {
        FinishTest();
    }
}

void CTapoView::AbortTest() {
    // Set before the message runs its own loop: characters arriving meanwhile
    // are dropped.
    session_.Abort();
    testTimer_.stop();
    emit testStateChanged();
    prompts_.ShowMessage("Prueba abortada.");
    PrepareTest();
}

void CTapoView::FinishTest() {
    if (copy_) {
        FinishCopyTest();
        return;
    }
    const bool firstFinish = session_.Finish();
    if (firstFinish) {
        testTimer_.stop();
        emit testStateChanged();

        TestJudge::Judgement judgement =
            TestJudge::Judge(textArea_, Settings(), session_.ElapsedSeconds(), &spelling_.Words());
        result_ = judgement.result;
        soundCues_.PlayRatingSound(result_.speed);
        PaintFaults(judgement.faults);
        faultList_->Take(std::move(judgement.faults));
        // The words the user clears in the review were never faults: the
        // result dialog starts from the marks that are left.
        if (reviewBeforeResult_ && Settings().spellCheck && result_.faults > 0) {
            result_.faults -= RunReview();
        }
    }

    const std::string timeText = FormatTimeText(result_.elapsedSeconds);
    const std::string speedText = FormatSpeedText(result_.speed);
    std::string netSpeedText = FormatSpeedText(result_.speed - result_.faults);

    CResultDlg dialog(speedText, netSpeedText, timeText, result_.capitals, result_.faults,
                      firstFinish && Settings().spellCheck, prompts_, this);
    const int answer = prompts_.RunDialog(dialog);
    if (!firstFinish) {
        return;
    }
    if (answer == QDialog::Accepted) {
        result_.faults = static_cast<std::int32_t>(dialog.RealFaults());
        netSpeedText = FormatSpeedText(result_.speed - result_.faults);
    }
    SetCaption(FromCp1252(FinishedCaption(netSpeedText, timeText)));
    const std::string record = BuildStatisticsRecord(
        speedText, netSpeedText, timeText, FormatFaultsText(result_.faults, Settings().spellCheck),
        FormatDateText(session_.TimeLastTick()));
    if (const auto failure = AppendStatisticsRecord(statisticsLogPath_, record)) {
        prompts_.ShowMessage(FileFailureMessage(*failure));
    }
    faultReview_->Activate();
    emit testStateChanged();
}

void CTapoView::FinishCopyTest() {
    if (!session_.Finish()) {
        return;
    }
    testTimer_.stop();
    emit testStateChanged();

    const std::string typed = ToCp1252(toPlainText());
    const std::int64_t keystrokes = CopyJudge::CountKeystrokes(typed, Settings().capitalsDouble);
    const std::int32_t elapsed = session_.ElapsedSeconds();
    const CopyJudgement judgement =
        CopyJudge::Judge(copy_->model.text, typed, copy_->rules, keystrokes, elapsed);
    result_ = TestResult{};
    result_.elapsedSeconds = elapsed;
    result_.keystrokes = static_cast<std::int32_t>(std::min<std::int64_t>(keystrokes, INT32_MAX));
    result_.faults =
        static_cast<std::int32_t>(std::min<std::int64_t>(judgement.ErrorCount(), INT32_MAX));
    result_.speed = judgement.grossSpeed;
    soundCues_.PlayRatingSound(judgement.netSpeed);

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
        copyMarks_.push_back({start, end, CopyErrorTip(error)});
    }
    PaintFaults(ranges);

    CopyResultView view;
    view.keystrokes = result_.keystrokes;
    view.elapsedSeconds = elapsed;
    view.errors = result_.faults;
    view.wordsReached =
        static_cast<std::int32_t>(std::min<std::int64_t>(judgement.wordsReached, INT32_MAX));
    view.accuracyPercent = judgement.accuracy;
    view.grossSpeed = judgement.grossSpeed;
    view.netSpeed = judgement.netSpeed;
    view.pass = judgement.pass;
    for (const CopyError& error : judgement.errors) {
        view.errorRows.push_back(
            {error.line, error.model, error.typed, CopyErrorKindName(error.kind)});
    }
    for (const KeySlip& slip : judgement.keySlips) {
        view.mistyped.push_back(
            {std::string(1, slip.expected), std::string(1, slip.typed), slip.count});
    }
    for (const KeyTime& key : SlowestKeys(session_.Keystrokes())) {
        view.slowest.push_back({KeyText(key.character), key.meanMs});
    }
    CCopyResultDlg dialog(view, this);
    prompts_.RunDialog(dialog);

    const std::string timeText = FormatTimeText(elapsed);
    const std::string netSpeedText = FormatSpeedText(judgement.netSpeed);
    SetCaption(FromCp1252(FinishedCaption(netSpeedText, timeText)));
    const std::string record =
        BuildStatisticsRecord(FormatSpeedText(judgement.grossSpeed), netSpeedText, timeText,
                              std::to_string(judgement.ErrorCount()),
                              FormatDateText(session_.TimeLastTick())) +
        BuildCopyRecordSuffix(copy_->model.title, judgement.accuracy);
    if (const auto failure = AppendStatisticsRecord(statisticsLogPath_, record)) {
        prompts_.ShowMessage(FileFailureMessage(*failure));
    }
    copyMarksShown_ = true;
    emit testStateChanged();
}

int CTapoView::CopyMarkAt(int character) const {
    if (!copyMarksShown_ || character < 0) {
        return -1;
    }
    for (std::size_t i = 0; i < copyMarks_.size(); ++i) {
        if (character >= copyMarks_[i].start && character < copyMarks_[i].end) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CTapoView::CanReviewFaults() const {
    return State() == TestState::Finished && Settings().spellCheck && faultReview_->CanReview();
}

void CTapoView::ReviewFaults() {
    if (!CanReviewFaults()) {
        return;
    }
    RunReview();
    emit testStateChanged();
}

int CTapoView::RunReview() {
    const int caret = textCursor().position();
    const std::vector<FaultReview::Range> unmarked = faultReview_->Run(this);
    for (const auto& [start, end] : unmarked) {
        textArea_.SetSelection(start, end);
        textArea_.FormatSelection(savedFormat_);
    }
    // The caret goes back where it stood, with nothing selected.
    textArea_.SetSelection(caret, caret);
    setCurrentCharFormat(QTextCharFormat());
    return static_cast<int>(unmarked.size());
}

QString CTapoView::FaultToolTipAt(QPoint point) const {
    const int character = CharacterAt(point);
    if (copy_) {
        const int mark = CopyMarkAt(character);
        return mark < 0 ? QString() : copyMarks_[static_cast<std::size_t>(mark)].tip;
    }
    return faultReview_->ToolTipAt(character);
}

bool CTapoView::HandleKeyDown(int key) {
    if (key == Qt::Key_F3) {
        session_.ToggleKeySound();
        return false;
    }
    const TestState state = State();
    if (state != TestState::Finished) {
        if (key == Qt::Key_F2 && state == TestState::Running) {
            FinishTest();
            return false;
        }
        if (key == Qt::Key_Escape && state == TestState::Running) {
            AbortTest();
            return false;
        }
        return true;
    }
    if (key == Qt::Key_F2) {
        PrepareTest();
    }
    return false;
}

void CTapoView::PaintFaults(const std::vector<FaultRange>& faults) {
    CharFormat mark = textArea_.DefaultCharFormat();
    mark.underline = true;
    mark.colour = FAULT_MARK_COLOUR;
    for (const FaultRange& fault : faults) {
        textArea_.SetSelection(fault.start, fault.end);
        textArea_.FormatSelection(mark);
    }
    textArea_.SetSelection(-1, 0);
    // The caret stands after the last mark; typing is refused, but keep the
    // mark out of the caret's format all the same.
    setCurrentCharFormat(QTextCharFormat());
}

void CTapoView::CopyTextToClipboard() {
    textArea_.SetSelection(0, -1);
    textArea_.CopySelection();
    textArea_.SetSelection(-1, 0);
}

void CTapoView::EditOptions() {
    TestSettings settings = Settings();
    // A copy test's length is its rules' minutes; the options keep their own.
    if (copy_) {
        settings.testLength = freeTestLength_;
    }
    if (COptionsDlg::Edit(settings, prompts_, this)) {
        if (copy_) {
            freeTestLength_ = settings.testLength;
            settings.testLength = copy_->rules.minutes * 60;
        }
        session_.SetSettings(settings);
        // Also without changes: the text is cleared and the title shows the length.
        PrepareTest();
    }
}

void CTapoView::SetCaption(const QString& caption) {
    window()->setWindowTitle(caption);
}

bool CTapoView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int character = CharacterAt(help->pos());
        const int copyMark = copy_ ? CopyMarkAt(character) : -1;
        const QString tip =
            copy_ ? (copyMark < 0 ? QString() : copyMarks_[static_cast<std::size_t>(copyMark)].tip)
                  : faultReview_->ToolTipAt(character);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        // The tip goes as soon as the pointer leaves the marked token, which
        // lies on one display line.
        const auto [start, end] =
            copy_ ? std::pair{copyMarks_[static_cast<std::size_t>(copyMark)].start,
                              copyMarks_[static_cast<std::size_t>(copyMark)].end}
                  : faultReview_->MarkAt(character);
        QToolTip::showText(help->globalPos(), tip, viewport(), RangeRect(start, end));
        return true;
    }
    return CGuardedEdit::viewportEvent(event);
}

void CTapoView::keyPressEvent(QKeyEvent* event) {
    event->accept();
    const KeyRole role = ClassifyKey(event->key(), event->modifiers(), event->text());
    const bool deadKey =
        event->key() >= Qt::Key_Dead_Grave && event->key() <= Qt::Key_Dead_Longsolidusoverlay;
    if (!IsModifierKey(event->key())) {
        deadKeySeen_ = deadKey;
    }

    // The edit commands come before the key reaches the test, as accelerators
    // do, and send no character: they never start the clock.
    switch (role) {
        case KeyRole::Undo:
            // A finished text stays as it was counted.
            if (State() != TestState::Finished) {
                undo();
            }
            return;
        case KeyRole::Cut:
            if (State() != TestState::Finished) {
                cut();
            }
            return;
        case KeyRole::Copy:
            copy();
            return;
        case KeyRole::Paste:
            return;
        default:
            break;
    }

    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    if (!HandleKeyDown(event->key())) {
        return;
    }

    switch (role) {
        case KeyRole::Character: {
            const bool counted = deadKey && countedDeadKey_ == event->timestamp();
            if ((!counted && !AcceptKey(*event)) || event->key() == Qt::Key_Escape) {
                return;
            }
            // The text area gets what the character means: Shift+Tab is a tab,
            // and Shift+Enter or Ctrl+Enter a paragraph break (every line
            // break the text holds is a paragraph).
            if (!SendPlainKey(*event)) {
                CGuardedEdit::keyPressEvent(event);
            }
            return;
        }
        case KeyRole::ControlCharacter: {
            // Ctrl+H, Ctrl+I, Ctrl+J and Ctrl+M are the control characters of
            // Backspace, Tab and Enter and act like them; other Ctrl+letters
            // only count.
            if (AcceptKey(*event)) {
                SendPlainKey(*event);
            }
            return;
        }
        case KeyRole::Editing:
            CGuardedEdit::keyPressEvent(event);
            return;
        default:
            event->ignore();
            return;
    }
}

bool CTapoView::AcceptKey(const QKeyEvent& event) {
    const KeystrokeCode keystroke = KeystrokeOf(event.key(), event.modifiers(), event.text());
    if (!keystroke.control) {
        return AcceptCharacter(keystroke.code);
    }
    const auto key = static_cast<ControlKey>(keystroke.code);
    if (key != ControlKey::Backspace) {
        return AcceptControl(key);
    }
    // What Backspace takes out of the text goes into the stream too.
    const QString gone = TextBackspaceRemoves();
    if (!AcceptControl(key)) {
        return false;
    }
    for (const char32_t c : gone.toUcs4()) {
        session_.NoteDeleted(c);
    }
    return true;
}

void CTapoView::DeadKeyPressed(unsigned long timestamp) {
    countedDeadKey_ = timestamp;
    deadKeySeen_ = true;
    AcceptControl(ControlKey::DeadKey);
}

void CTapoView::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
    if (State() == TestState::Finished) {
        return;
    }
    // Each committed character is one character message. X11's compose input
    // context swallows the dead key of an accented letter and commits only the
    // letter; that dead key was a character message of its own.
    const QList<uint> committed = event->commitString().toUcs4();
    const bool swallowedDeadKey = !deadKeySeen_ && committed.size() == 1 &&
                                  QChar::decompositionTag(committed.front()) == QChar::Canonical;
    if (!committed.isEmpty()) {
        deadKeySeen_ = false;
    }
    // The swallowed dead key comes first, then the committed characters.
    if (swallowedDeadKey && !AcceptControl(ControlKey::DeadKey)) {
        return;
    }
    for (const uint character : committed) {
        if (!AcceptCharacter(character)) {
            return;
        }
    }
    CGuardedEdit::inputMethodEvent(event);
}

void CTapoView::resizeEvent(QResizeEvent* event) {
    CGuardedEdit::resizeEvent(event);
    textArea_.Invalidate();
}

void CTapoView::changeEvent(QEvent* event) {
    CGuardedEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        textArea_.Invalidate();
    }
}

}  // namespace quirtel
