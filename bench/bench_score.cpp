// quirtel-score on a hostile input: one line of 50 MB in which every second
// word is misspelled, scored as the command does (decode, count, check, the
// text report), against a baseline that only cuts the same line into words and
// looks each one up in the same word list.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>

#include "BenchWordList.h"
#include "score/ScoreInput.h"
#include "score/ScoreReport.h"
#include "spelling/WordList.h"

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

void BM_ScoreFiftyMegabyteLine(benchmark::State& state) {
    const std::string& line = Line();
    std::size_t reportBytes = 0;
    int faults = 0;
    for (auto _ : state) {
        const quirtel::ScoreReport report =
            quirtel::ScoreText(quirtel::DecodeScoreInput(line), 600, true, true, &List());
        reportBytes = quirtel::FormatReportText(report).size();
        faults = report.result.faults;
        benchmark::DoNotOptimize(reportBytes);
    }
    state.counters["faults"] = faults;
    state.counters["reportBytes"] = static_cast<double>(reportBytes);
    state.SetLabel(quirtel::bench::FindBenchWordList().real ? "datos/es.dic" : "synthetic list");
}
BENCHMARK(BM_ScoreFiftyMegabyteLine)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
