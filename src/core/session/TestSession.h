#pragma once

#include <cstdint>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/SteadyClock.h"
#include "core/session/Keystroke.h"
#include "core/session/TestSettings.h"

namespace quirtel {

// One typing test from preparation to its end, without any window: the state,
// the clock of the run, the options, and the stream of keystrokes with their
// times. A window feeds it events and shows what it answers.
class TestSession {
public:
    enum class State { Ready, Running, Finished };

    // Which of the five test commands are enabled.
    struct CommandStates {
        bool start = false;     // "Empezar prueba"
        bool finish = false;    // "Finalizar prueba"
        bool abort = false;     // "Abortar"
        bool copyText = false;  // "Texto a portapapeles"
        bool options = false;   // "Opciones"
        friend bool operator==(const CommandStates&, const CommandStates&) = default;
    };

    // What a keystroke did to the test.
    enum class Accept { Refused, Started, Accepted };

    // What a timer tick found.
    struct Tick {
        bool counted = false;  // the test was running
        std::int32_t elapsed = 0;
        bool timeUp = false;
    };

    // Both clocks must outlive the session. The stream has room for a
    // 30-minute test at 600 keys a minute before it grows.
    TestSession(const Clock& clock, const SteadyClock& steady);

    // A new test: state Ready, the stream emptied (its memory kept).
    void Prepare();
    // A character typed; Refused once the test is finished. The first
    // keystroke of a test starts its clock (Started).
    Accept AcceptCharacter(char32_t character);
    // A control key counted as a character (Backspace, Enter, Tab, Escape or
    // a Ctrl+letter), as AcceptCharacter.
    Accept AcceptControl(ControlKey key);
    // Notes the character that a keystroke just took out of the text; nothing
    // unless the test runs.
    void NoteDeleted(char32_t character);
    // A timer tick: while running, takes the time and says whether the test's
    // length is reached; ignored (counted false) in any other state.
    Tick OnTick();
    // Ends the test without a result: state Finished until the next Prepare.
    void Abort();
    // Ends the test; true the first time, false when it was already finished.
    bool Finish();

    State CurrentState() const;
    CommandStates EnabledCommands() const;
    // Seconds from the first keystroke to the last tick, held within 32 bits.
    std::int32_t ElapsedSeconds() const;
    CalendarTime TimeStart() const { return timeStart_; }
    CalendarTime TimeLastTick() const { return timeLastTick_; }
    const std::vector<Keystroke>& Keystrokes() const { return keystrokes_; }

    const TestSettings& Settings() const { return settings_; }
    // Replaces the options as they are; the caller prepares a new test.
    void SetSettings(const TestSettings& settings) { settings_ = settings; }
    // F3: the key click on or off, the test left as it is.
    void ToggleKeySound() { settings_.keySound = !settings_.keySound; }

private:
    Accept Record(char32_t code, Keystroke::Kind kind);
    std::uint32_t SinceStart() const;

    const Clock& clock_;
    const SteadyClock& steady_;
    TestSettings settings_;
    CalendarTime timeStart_ = 0;
    CalendarTime timeLastTick_ = 0;
    SteadyMs startMs_ = 0;
    bool started_ = false;
    bool finished_ = false;
    std::vector<Keystroke> keystrokes_;
};

}  // namespace quirtel
