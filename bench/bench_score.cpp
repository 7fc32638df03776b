// quirtel-score on a hostile input: one line of 50 MB in which every second
// word is misspelled, scored as the command does (decode, count, check, the
// text report), against a baseline that only cuts the same line into words and
// looks each one up in the same word list.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>

#include "BenchWordList.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"
#include "score/ScoreInput.h"
#include "score/ScoreReport.h"

namespace {

using quirtel::WordList;

constexpr std::size_t kLineBytes = 50'000'000;

const WordList& List() {
    static const WordList list(quirtel::bench::FindBenchWordList().path);
    return list;
}

// Words of the list, every second one spoilt with "qx" (never an entry).
const std::string& Line() {
    static const std::string line = [] {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> length(2, 9);
        std::string text;
        text.reserve(kLineBytes + 32);
        for (int word = 0; text.size() < kLineBytes; ++word) {
            const WordList::BucketView bucket = List().Bucket(length(random));
            if (bucket.empty()) {
                continue;
            }
            text += bucket[random() % bucket.size()];
            if (word % 2 == 1) {
                text += "qx";
            }
            text += ' ';
        }
        text.resize(kLineBytes);
        return text;
    }();
    return line;
}

void BM_SplitAndLookUpBaseline(benchmark::State& state) {
    const std::string& line = Line();
    int faults = 0;
    for (auto _ : state) {
        faults = 0;
        std::string_view rest = line;
        while (!rest.empty()) {
            const std::size_t space = rest.find(' ');
            const std::string_view word = rest.substr(0, space);
            if (!word.empty() && !List().CheckWord(std::string(word))) {
                ++faults;
            }
            rest.remove_prefix(space == std::string_view::npos ? rest.size() : space + 1);
        }
        benchmark::DoNotOptimize(faults);
    }
    state.counters["faults"] = faults;
}
BENCHMARK(BM_SplitAndLookUpBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

// As the command scores it: decode, count, check, the kind of every faulty
// token with suggestions for the first ones, and the text report written out
// piece by piece.
void BM_ScoreFiftyMegabyteLine(benchmark::State& state) {
    const std::string& line = Line();
    const quirtel::SpellingAdvisor advisor(List(), quirtel::FrequencyPathFor(List().FileName()));
    std::size_t reportBytes = 0;
    std::size_t kindOnly = 0;
    int faults = 0;
    for (auto _ : state) {
        quirtel::ScoreReport report =
            quirtel::ScoreText(quirtel::DecodeScoreInput(line), 600, true, true, &List());
        kindOnly =
            quirtel::AdviseFaultyTokens(report, advisor, static_cast<std::size_t>(state.range(0)));
        reportBytes = 0;
        quirtel::WriteReport(report, false, [&reportBytes](std::string_view piece) {
            reportBytes += piece.size();
            return true;
        });
        faults = report.result.faults;
        benchmark::DoNotOptimize(reportBytes);
    }
    state.counters["faults"] = faults;
    state.counters["kindOnly"] = static_cast<double>(kindOnly);
    state.counters["reportBytes"] = static_cast<double>(reportBytes);
    state.SetLabel(quirtel::bench::FindBenchWordList().real ? "datos/es.dic" : "synthetic list");
}
// The argument: how many different tokens get suggestions (0: kinds alone).
BENCHMARK(BM_ScoreFiftyMegabyteLine)
    ->Arg(quirtel::MAX_ADVISED_TOKENS)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The same without any advice: what the kinds and suggestions add.
void BM_ScoreFiftyMegabyteLineWithoutAdvice(benchmark::State& state) {
    const std::string& line = Line();
    for (auto _ : state) {
        const quirtel::ScoreReport report =
            quirtel::ScoreText(quirtel::DecodeScoreInput(line), 600, true, true, &List());
        std::size_t reportBytes = 0;
        quirtel::WriteReport(report, false, [&reportBytes](std::string_view piece) {
            reportBytes += piece.size();
            return true;
        });
        benchmark::DoNotOptimize(reportBytes);
    }
}
BENCHMARK(BM_ScoreFiftyMegabyteLineWithoutAdvice)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
