#pragma once

#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/SteadyClock.h"
#include "core/results/FinalResult.h"
#include "core/session/CopyRules.h"
#include "core/session/ModelText.h"
#include "core/session/SoundCues.h"
#include "core/session/TestSession.h"
#include "gui/typing/CGuardedEdit.h"
#include "gui/typing/DocumentTextArea.h"

namespace quirtel {

class CopyTestRun;
class FaultList;
class FaultReview;
class KeyInput;
struct FaultRange;
class SpellingResources;
class Prompts;
class SoundPlayer;

// The typing view: the rich-text area in which the user types, and the test
// run around it. The first character of a test starts the clock; a one-second
// timer writes the running time into the main window's caption and ends the
// test when its time is up; F2 finishes, Escape aborts, F3 toggles the key
// click. Clicks, drops and paste never reach the text.
class CTapoView : public CGuardedEdit {
    Q_OBJECT

public:
    static constexpr int TEST_TIMER_PERIOD_MS = 1000;

    using TestSettings = quirtel::TestSettings;
    using TestState = TestSession::State;
    using CommandStates = TestSession::CommandStates;

    // The clock, sound player, prompts and word lists must outlive the view.
    CTapoView(Clock& clock, SoundPlayer& sound, Prompts& prompts, SpellingResources& spelling,
              QWidget* parent = nullptr);
    ~CTapoView() override;

    // Takes the text area's default format as the one every test types in,
    // then prepares a test. Runs at start-up and after a new or opened document.
    void FirstSetUp();

    // Stops the timer, shows the prompt in the document title, empties the
    // text and restores the default colour and underline: state Ready.
    void PrepareTest();
    // Every character message passes here first, with the character typed or
    // the control key it stands for. Starts the clock on the first character
    // of a test and plays the key click when it is on; false (the character
    // is dropped) once the test is finished.
    bool AcceptCharacter(char32_t character);
    bool AcceptControl(ControlKey key);
    // One tick of the test timer while a test runs: writes the caption and
    // finishes the test when its time is up. Ticks of a test that is not
    // running are ignored.
    void OnTestTick();
    // Throws the running test away after "Prueba abortada.": state Ready.
    void AbortTest();
    // Ends the running test: counts, rates, marks the faulty words, shows the
    // result dialog, writes the caption and the statistics record. On a
    // finished test it only shows the kept result again. With the review
    // before the result on, marks and the spelling check on, "Revisión de
    // faltas" comes first and the ticked words' marks leave the count.
    void FinishTest();
    // A key press as the test sees it (F2, F3, Escape by state); true when the
    // key goes on to the text area.
    bool HandleKeyDown(int key);
    // A dead (accent) key was pressed in this view, seen before any input
    // method could swallow it: a character message of its own. A key event
    // for the same press (same time stamp) is then not counted again.
    void DeadKeyPressed(unsigned long timestamp);
    // Copies the whole text to the clipboard and leaves nothing selected.
    void CopyTextToClipboard();
    // Opens the options dialog; OK takes its values and prepares a new test
    // (also without changes), cancel changes nothing.
    void EditOptions();
    // Whether "Revisar faltas" is enabled: the test is finished and its
    // result dialog closed, the spelling check is on, and a mark is left.
    bool CanReviewFaults() const;
    // Opens "Revisión de faltas"; the words the user ticks go into the
    // personal word list and lose their marks. The result stays as it was.
    void ReviewFaults();
    // Whether a finished test opens "Revisión de faltas" before its result
    // dialog; off unless set.
    void SetReviewBeforeResult(bool on) { reviewBeforeResult_ = on; }
    bool ReviewBeforeResult() const { return reviewBeforeResult_; }
    // The tooltip over a marked word at `point` of the viewport: why it is
    // marked and what was probably meant; empty elsewhere and before the
    // result dialog of a finished test has closed.
    QString FaultToolTipAt(QPoint point) const;

    TestState State() const { return session_.CurrentState(); }
    const TestSession& Session() const { return session_; }
    const TestSettings& Settings() const { return session_.Settings(); }
    // Replaces the options as they are; the caller prepares a new test.
    void SetSettings(const TestSettings& settings) { session_.SetSettings(settings); }
    const TestResult& Result() const { return result_; }
    const SpellingResources& Spelling() const { return spelling_; }
    const QTimer& TestTimer() const { return testTimer_; }

    CommandStates EnabledCommands() const { return session_.EnabledCommands(); }

    // Where finished tests are logged; STATISTICS_LOG_PATH unless set.
    void SetStatisticsLogPath(std::string path) { statisticsLogPath_ = std::move(path); }
    const std::string& StatisticsLogPath() const { return statisticsLogPath_; }

    // The text as the core reads and formats it.
    const TextArea& Area() const { return textArea_; }

    // Copy practice: the tests that follow copy `model` under `rules` (the
    // rules' minutes are the time limit) until SetFreeTest. The caller
    // prepares a new test.
    void SetCopyTest(ModelText model, const CopyRules& rules);
    // Back to free typing with the options' own length.
    void SetFreeTest();
    bool IsCopyTest() const;
    // The model being copied; null in free typing.
    const ModelText* CopyModel() const;
    const CopyRules* CopyTestRules() const;

signals:
    // The document's title is to become `title` (the prompt of a new test).
    void documentTitleChanged(const QString& title);
    // The test moved between Ready, Running and Finished (or is being aborted).
    void testStateChanged();
    // In a copy test: the next model word to type starts at byte `offset` of
    // the model (its size once the whole model is typed).
    void nextModelWord(qsizetype offset);

protected:
    friend class CopyTestRun;
    friend class KeyInput;

    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void SetCaption(const QString& caption);
    // Starts the timer and the caption when `outcome` started the test and
    // plays the key click; false when the keystroke was refused.
    bool Accepted(TestSession::Accept outcome);
    // The text area's own handling of a key, a plain key and an input-method
    // commit, for the keyboard input.
    void EditKey(QKeyEvent* event) { CGuardedEdit::keyPressEvent(event); }
    bool EditPlainKey(const QKeyEvent& event) { return SendPlainKey(event); }
    void EditInput(QInputMethodEvent* event) { CGuardedEdit::inputMethodEvent(event); }
    // Gives every fault the fault mark: underline and FAULT_MARK_COLOUR.
    void PaintFaults(const std::vector<FaultRange>& faults);
    // Runs the review and unmarks what it took out; the number of marks gone.
    int RunReview();

    Clock& clock_;
    Prompts& prompts_;
    SoundCues soundCues_;
    DocumentTextArea textArea_;
    SpellingResources& spelling_;
    std::unique_ptr<FaultList> faultList_;
    std::unique_ptr<FaultReview> faultReview_;

    SystemSteadyClock steadyClock_;
    TestSession session_;
    TestResult result_;
    CharFormat savedFormat_;
    QTimer testTimer_;
    std::string statisticsLogPath_;
    bool reviewBeforeResult_ = false;

    std::unique_ptr<CopyTestRun> copyRun_;
    std::unique_ptr<KeyInput> keyInput_;
};

}  // namespace quirtel
