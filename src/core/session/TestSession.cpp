#include "core/session/TestSession.h"

#include <algorithm>
#include <limits>

namespace quirtel {

namespace {

constexpr std::size_t RESERVED_KEYSTROKES = 30 * 600;

}  // namespace

TestSession::TestSession(const Clock& clock, const SteadyClock& steady)
    : clock_(clock), steady_(steady) {
    keystrokes_.reserve(RESERVED_KEYSTROKES);
}

void TestSession::Prepare() {
    started_ = false;
    finished_ = false;
    keystrokes_.clear();
}

TestSession::Accept TestSession::AcceptCharacter(char32_t character) {
    return Record(character, Keystroke::Kind::Character);
}

TestSession::Accept TestSession::AcceptControl(ControlKey key) {
    return Record(static_cast<char32_t>(key), Keystroke::Kind::Control);
}

TestSession::Accept TestSession::Record(char32_t code, Keystroke::Kind kind) {
    if (finished_) {
        return Accept::Refused;
    }
    Accept outcome = Accept::Accepted;
    if (!started_) {
        timeStart_ = clock_.Now();
        timeLastTick_ = timeStart_;
        startMs_ = steady_.NowMs();
        started_ = true;
        outcome = Accept::Started;
    }
    keystrokes_.push_back({SinceStart(), code, kind});
    return outcome;
}

std::uint32_t TestSession::SinceStart() const {
    // A steady clock never goes back, but a fake one may: hold the offset
    // within what the entry keeps.
    return static_cast<std::uint32_t>(std::clamp<SteadyMs>(
        steady_.NowMs() - startMs_, 0, std::numeric_limits<std::uint32_t>::max()));
}

void TestSession::NoteDeleted(char32_t character) {
    if (CurrentState() == State::Running) {
        keystrokes_.push_back({SinceStart(), character, Keystroke::Kind::Deleted});
    }
}

TestSession::Tick TestSession::OnTick() {
    // A tick queued before the timer stopped, or one that arrives while a
    // result dialog runs its own loop, must not count.
    if (!started_ || finished_) {
        return {};
    }
    timeLastTick_ = clock_.Now();
    const std::int32_t elapsed = ElapsedSeconds();
    return {true, elapsed, elapsed >= settings_.testLength};
}

void TestSession::Abort() {
    finished_ = true;
}

bool TestSession::Finish() {
    const bool first = !finished_;
    finished_ = true;
    return first;
}

TestSession::State TestSession::CurrentState() const {
    if (finished_) {
        return State::Finished;
    }
    return started_ ? State::Running : State::Ready;
}

TestSession::CommandStates TestSession::EnabledCommands() const {
    CommandStates states;
    states.start = !started_ || finished_;
    states.finish = started_;
    states.abort = started_ && !finished_;
    states.copyText = finished_;
    states.options = !started_;
    return states;
}

std::int32_t TestSession::ElapsedSeconds() const {
    // A clock set far back or forward must not overflow the 32-bit span.
    const CalendarTime span = timeLastTick_ - timeStart_;
    return static_cast<std::int32_t>(std::clamp<CalendarTime>(
        span, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace quirtel
