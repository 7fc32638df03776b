// The test run's keystroke stream over a whole 30-minute test: 350 keys a
// minute, one in ten a Backspace that notes what it took out. Reports the
// time per keystroke, which must stay far below a millisecond of typing.
#include <benchmark/benchmark.h>

#include "core/session/TestSession.h"

namespace {

class StepClock final : public quirtel::Clock {
public:
    quirtel::CalendarTime Now() const override { return 1'800'000'000; }
};

// Moves on a little at every reading, as a real steady clock would.
class StepSteadyClock final : public quirtel::SteadyClock {
public:
    quirtel::SteadyMs NowMs() const override { return now += 86; }
    mutable quirtel::SteadyMs now = 0;
};

void BM_SessionStream(benchmark::State& state) {
    constexpr int KEYS = 350 * 30;
    StepClock clock;
    StepSteadyClock steady;
    quirtel::TestSession session(clock, steady);
    for (auto _ : state) {
        session.Prepare();
        for (int i = 0; i < KEYS; ++i) {
            if (i % 10 == 9) {
                session.AcceptControl(quirtel::ControlKey::Backspace);
                session.NoteDeleted(U'a');
            } else {
                session.AcceptCharacter(static_cast<char32_t>(U'a' + i % 26));
            }
        }
        benchmark::DoNotOptimize(session.Keystrokes().data());
    }
    state.SetItemsProcessed(state.iterations() * KEYS);
    state.counters["per_key"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * KEYS,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["entries"] = static_cast<double>(session.Keystrokes().size());
}

BENCHMARK(BM_SessionStream)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
