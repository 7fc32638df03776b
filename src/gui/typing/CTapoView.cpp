#include "gui/typing/CTapoView.h"

#include <QHelpEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/results/StatisticsLog.h"
#include "core/session/FaultList.h"
#include "core/session/TestJudge.h"
#include "core/spelling/SpellingResources.h"
#include "gui/common/Prompts.h"
#include "gui/common/QtText.h"
#include "gui/results/CResultDlg.h"
#include "gui/settings/COptionsDlg.h"
#include "gui/typing/CopyTestRun.h"
#include "gui/typing/DocumentTextArea.h"
#include "gui/typing/FaultReview.h"
#include "gui/typing/KeyInput.h"

namespace quirtel {

namespace {

QString PromptTitle(std::int32_t testLength) {
    return QStringLiteral("Empieza a escribir cuando quieras... (tiempo total ") +
           FromCp1252(FormatTimeSpan(testLength)) +
           QStringLiteral(" minutos) F2 para acabar y ESC para abortar");
}

}  // namespace

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
      statisticsLogPath_(STATISTICS_LOG_PATH),
      copyRun_(std::make_unique<CopyTestRun>(*this)),
      keyInput_(std::make_unique<KeyInput>(*this)) {
    setObjectName(QStringLiteral("typingView"));
    setAccessibleName(QStringLiteral("Texto de la prueba"));

    testTimer_.setObjectName(QStringLiteral("testTimer"));
    testTimer_.setInterval(TEST_TIMER_PERIOD_MS);
    testTimer_.setSingleShot(false);
    connect(&testTimer_, &QTimer::timeout, this, &CTapoView::OnTestTick);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                copyRun_->Follow(position, removed, added);
            });
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
    copyRun_->ClearMarks();
    textArea_.SetSelection(0, -1);
    textArea_.DeleteSelection();
    // Deleting keeps the format of the deleted text at the caret (a fault mark
    // included); start from the plain format before applying the saved one.
    setCurrentCharFormat(QTextCharFormat());
    textArea_.FormatSelection(savedFormat_);
    // Undo must not bring back the previous test's text into this one.
    document()->clearUndoRedoStacks();
    copyRun_->Follow(0, 0, 0);
    emit testStateChanged();
}

void CTapoView::SetCopyTest(ModelText model, const CopyRules& rules) {
    copyRun_->Set(std::move(model), rules);
}

void CTapoView::SetFreeTest() {
    copyRun_->SetFree();
}

bool CTapoView::IsCopyTest() const {
    return copyRun_->Active();
}

const ModelText* CTapoView::CopyModel() const {
    return copyRun_->Model();
}

const CopyRules* CTapoView::CopyTestRules() const {
    return copyRun_->Rules();
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
    if (copyRun_->Active()) {
        copyRun_->Finish();
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
    if (copyRun_->Active()) {
        const auto mark = copyRun_->MarkAt(character);
        return mark ? mark->tip : QString();
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
    settings.testLength = copyRun_->OptionsLength(settings.testLength);
    if (COptionsDlg::Edit(settings, prompts_, this)) {
        settings.testLength = copyRun_->TakeOptionsLength(settings.testLength);
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
        const auto copyMark = copyRun_->Active() ? copyRun_->MarkAt(character) : std::nullopt;
        const QString tip = copyRun_->Active() ? (copyMark ? copyMark->tip : QString())
                                               : faultReview_->ToolTipAt(character);
        if (tip.isEmpty()) {
            QToolTip::hideText();
            return true;
        }
        // The tip goes as soon as the pointer leaves the marked token, which
        // lies on one display line.
        const auto [start, end] = copyRun_->Active() ? std::pair{copyMark->start, copyMark->end}
                                                     : faultReview_->MarkAt(character);
        QToolTip::showText(help->globalPos(), tip, viewport(), RangeRect(start, end));
        return true;
    }
    return CGuardedEdit::viewportEvent(event);
}

void CTapoView::keyPressEvent(QKeyEvent* event) {
    keyInput_->KeyPress(*event);
}

void CTapoView::DeadKeyPressed(unsigned long timestamp) {
    keyInput_->DeadKeyPressed(timestamp);
}

void CTapoView::inputMethodEvent(QInputMethodEvent* event) {
    keyInput_->InputMethod(*event);
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
