#include "core/session/TestSession.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "support/TypingFakes.h"

namespace quirtel {
namespace {

using State = TestSession::State;
using Accept = TestSession::Accept;
using Commands = TestSession::CommandStates;

struct Fixture {
    testing::FakeClock clock;
    testing::FakeSteadyClock steady;
    TestSession session{clock, steady};

    // Space-separated steps: a letter types it, Esc a control key, +N moves
    // both clocks N seconds, tick, abort, finish, prepare.
    void Run(const std::string& script) {
        std::istringstream steps(script);
        for (std::string step; steps >> step;) {
            if (step[0] == '+') {
                clock.Advance(std::stoi(step.substr(1)));
                steady.now += 1000 * std::stoi(step.substr(1));
            } else if (step == "tick") {
                session.OnTick();
            } else if (step == "abort") {
                session.Abort();
            } else if (step == "finish") {
                session.Finish();
            } else if (step == "prepare") {
                session.Prepare();
            } else if (step == "Esc") {
                session.AcceptControl(ControlKey::Escape);
            } else {
                session.AcceptCharacter(static_cast<unsigned char>(step[0]));
            }
        }
    }
};

TEST(TestSessionTest, TransitionsAndEnabledCommands) {
    const Commands ready{true, false, false, false, true};
    const Commands running{false, true, true, false, false};
    const Commands finished{true, true, false, true, false};
    struct Case {
        const char* script;
        State state;
        Commands commands;
        std::size_t keystrokes;
    } cases[] = {
        {"", State::Ready, ready, 0},
        {"tick", State::Ready, ready, 0},
        {"Esc", State::Running, running, 1},
        {"a b", State::Running, running, 2},
        {"a +599 tick", State::Running, running, 1},
        {"a +600 tick", State::Running, running, 1},  // the window finishes on time up
        {"a finish", State::Finished, finished, 1},
        {"a finish b Esc", State::Finished, finished, 1},
        {"a finish +900 tick", State::Finished, finished, 1},
        {"a abort", State::Finished, finished, 1},
        {"a abort prepare", State::Ready, ready, 0},
        {"a finish prepare c", State::Running, running, 1},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Run(c.script);
        EXPECT_EQ(f.session.CurrentState(), c.state) << c.script;
        EXPECT_EQ(f.session.EnabledCommands(), c.commands) << c.script;
        EXPECT_EQ(f.session.Keystrokes().size(), c.keystrokes) << c.script;
    }
}

TEST(TestSessionTest, FirstKeystrokeStartsTheClockAndTicksMeasureIt) {
    Fixture f;
    EXPECT_EQ(f.session.AcceptCharacter(U'h'), Accept::Started);
    EXPECT_EQ(f.session.TimeStart(), f.clock.now);
    EXPECT_EQ(f.session.AcceptCharacter(U'o'), Accept::Accepted);

    f.Run("+205");
    const TestSession::Tick early = f.session.OnTick();
    EXPECT_TRUE(early.counted);
    EXPECT_EQ(early.elapsed, 205);
    EXPECT_FALSE(early.timeUp);
    f.Run("+395");
    EXPECT_TRUE(f.session.OnTick().timeUp);
    EXPECT_EQ(f.session.TimeLastTick(), f.clock.now);

    EXPECT_TRUE(f.session.Finish());
    EXPECT_FALSE(f.session.Finish());
    EXPECT_EQ(f.session.AcceptCharacter(U'x'), Accept::Refused);
    EXPECT_FALSE(f.session.OnTick().counted);
    EXPECT_EQ(f.session.ElapsedSeconds(), 600);

    // A clock set far forward is held within 32 bits.
    Fixture far;
    far.Run("a");
    far.clock.Advance(CalendarTime{1} << 40);
    EXPECT_EQ(far.session.OnTick().elapsed, std::numeric_limits<std::int32_t>::max());
}

TEST(TestSessionTest, StreamKeepsWhatWhenAndWhatWasDeleted) {
    Fixture f;
    f.session.NoteDeleted(U'z');  // Ready: nothing to note
    f.session.AcceptCharacter(U'\u00F1');
    f.steady.now += 250;
    f.session.AcceptControl(ControlKey::Backspace);
    f.session.NoteDeleted(U'\u00F1');
    f.steady.now -= 1000;  // a clock going back never gives a huge offset
    f.session.AcceptControl(ControlKey::Enter);
    using K = Keystroke::Kind;
    const std::vector<Keystroke> expected{
        {0, U'\u00F1', K::Character},
        {250, static_cast<char32_t>(ControlKey::Backspace), K::Control},
        {250, U'\u00F1', K::Deleted},
        {0, static_cast<char32_t>(ControlKey::Enter), K::Control},
    };
    EXPECT_EQ(f.session.Keystrokes(), expected);

    f.session.Finish();
    f.session.NoteDeleted(U'a');
    EXPECT_EQ(f.session.Keystrokes().size(), expected.size());
    f.session.Prepare();
    EXPECT_TRUE(f.session.Keystrokes().empty());
}

TEST(TestSessionTest, KeySoundToggleKeepsTheTest) {
    Fixture f;
    f.Run("a");
    f.session.ToggleKeySound();
    EXPECT_TRUE(f.session.Settings().keySound);
    EXPECT_EQ(f.session.CurrentState(), State::Running);
}

}  // namespace
}  // namespace quirtel
