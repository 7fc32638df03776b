#pragma once

#include <string>
#include <vector>

#include "core/common/Clock.h"
#include "core/common/SteadyClock.h"
#include "core/session/SoundPlayer.h"

namespace quirtel::testing {

// A clock that moves only when told to.
class FakeClock final : public Clock {
public:
    CalendarTime Now() const override { return now; }
    void Advance(CalendarTime seconds) { now += seconds; }

    CalendarTime now = 1'800'000'000;  // 15 Jan 2027
};

// A steady clock that moves only when told to.
class FakeSteadyClock final : public SteadyClock {
public:
    SteadyMs NowMs() const override { return now; }
    SteadyMs now = 5'000;
};

// Records what would have been played.
class FakeSoundPlayer final : public SoundPlayer {
public:
    bool PlayFile(const std::string& path) override {
        played.push_back(path);
        return playable;
    }
    void Beep() override { ++beeps; }

    std::vector<std::string> played;
    int beeps = 0;
    bool playable = true;
};

}  // namespace quirtel::testing
