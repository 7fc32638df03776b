// Judging a typed copy against its model: a ten-minute copy (5,000
// characters) and a megabyte typed against a megabyte of model, with about 3%
// of the words wrong in every way the judge counts. The baseline in the same
// run cuts both texts into words and compares them in step, which is all a
// judge could do without aligning. Peak memory is the process's maximum
// resident size (getrusage) once the run is over.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/session/CopyJudge.h"

namespace {

struct CopyPair {
    std::string model;
    std::string typed;
    std::int64_t slips = 0;
};

// Spanish-looking words with accents and punctuation; every 33rd word or so
// is typed wrong (accent dropped, letter changed, left out, one added, two
// joined, one split); `skip` words of model are left out halfway, as a line
// skipped by the typist.
CopyPair MakePair(std::size_t bytes, int skip) {
    static const std::vector<std::string> words = {"de",
                                                   "la",
                                                   "que",
                                                   "el",
                                                   "en",
                                                   "y",
                                                   "a",
                                                   "los",
                                                   "se",
                                                   "del",
                                                   "las",
                                                   "un",
                                                   "por",
                                                   "con",
                                                   "no",
                                                   "una",
                                                   "su",
                                                   "para",
                                                   "es",
                                                   "al",
                                                   "est\xE1",
                                                   "m\xE1s",
                                                   "administraci\xF3n",
                                                   "resoluci\xF3n",
                                                   "p\xFA"
                                                   "blico",
                                                   "art\xED"
                                                   "culo",
                                                   "ni\xF1o",
                                                   "ping\xFCino",
                                                   "Madrid,",
                                                   "plazo.",
                                                   "\xBF"
                                                   "C\xF3mo",
                                                   "solicitud",
                                                   "convocatoria",
                                                   "interesados;",
                                                   "(anexo)",
                                                   "25 %",
                                                   "aunque",
                                                   "mediante"};
    std::mt19937 random(2026);
    CopyPair pair;
    std::size_t count = 0;
    while (pair.model.size() < bytes) {
        std::string word = words[random() % words.size()];
        pair.model += word;
        pair.model += ++count % 12 == 0 ? '\n' : ' ';
        if (skip > 0 && pair.model.size() > bytes / 2) {
            for (; skip > 0; --skip) {
                pair.model += words[random() % words.size()] + " ";
            }
            pair.slips += 1;
        }
        const int roll = static_cast<int>(random() % 200);
        if (roll >= 6) {
            pair.typed += word + ' ';
            continue;
        }
        ++pair.slips;
        switch (roll) {
            case 0:  // letter
                word[word.size() / 2] = 'x';
                pair.typed += word + ' ';
                break;
            case 1:  // accent or case
                word[0] = static_cast<char>(word[0] ^ 0x20);
                pair.typed += word + ' ';
                break;
            case 2:  // left out
                break;
            case 3:  // added
                pair.typed += word + " que ";
                break;
            case 4:  // joined with the next word, which is typed now
            {
                const std::string next = words[random() % words.size()];
                pair.model += next + ' ';
                pair.typed += word + next + ' ';
                break;
            }
            default:  // split
                pair.typed += word.substr(0, 1) + ' ' + word.substr(1) + ' ';
                break;
        }
    }
    return pair;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\n')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\n') {
            ++i;
        }
        if (i > start) {
            words.push_back(text.substr(start, i - start));
        }
    }
    return words;
}

const CopyPair& Pair(std::size_t bytes, int skip) {
    static const CopyPair small = MakePair(5'000, 0);
    static const CopyPair large = MakePair(1'000'000, 0);
    static const CopyPair skipped = MakePair(1'000'000, 150);
    return bytes < 10'000 ? small : skip > 0 ? skipped : large;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Baseline: both texts cut into words and compared in step.
void BM_WordsInStepBaseline(benchmark::State& state) {
    const CopyPair& pair = Pair(static_cast<std::size_t>(state.range(0)), 0);
    std::size_t differ = 0;
    for (auto _ : state) {
        const auto model = Words(pair.model);
        const auto typed = Words(pair.typed);
        differ = 0;
        for (std::size_t i = 0; i < std::min(model.size(), typed.size()); ++i) {
            differ += model[i] != typed[i] ? 1 : 0;
        }
        benchmark::DoNotOptimize(differ);
    }
    state.counters["differ"] = static_cast<double>(differ);
}
BENCHMARK(BM_WordsInStepBaseline)->Arg(5'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The judge; the argument is the model's size, the second how many words of
// model the typist skipped halfway.
void BM_CopyJudge(benchmark::State& state) {
    const CopyPair& pair =
        Pair(static_cast<std::size_t>(state.range(0)), static_cast<int>(state.range(1)));
    quirtel::CopyJudgement judgement;
    for (auto _ : state) {
        judgement =
            quirtel::CopyJudge::Judge(pair.model, pair.typed, quirtel::CopyRules{},
                                      quirtel::CopyJudge::CountKeystrokes(pair.typed, true), 600);
        benchmark::DoNotOptimize(judgement.errors.data());
    }
    state.counters["errors"] = static_cast<double>(judgement.ErrorCount());
    state.counters["slipsPutIn"] = static_cast<double>(pair.slips);
    state.counters["words"] = static_cast<double>(judgement.wordsReached);
    state.counters["peakRssMB"] = PeakMegabytes();
}
BENCHMARK(BM_CopyJudge)
    ->Args({5'000, 0})
    ->Args({1'000'000, 0})
    ->Args({1'000'000, 150})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
