// The end of a 30-minute test: counting and spell-checking a typed text of
// about 12,000 characters and 2,000 words, one word in ten misspelled, over
// the in-memory text area with the shipped word list loaded.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "BenchWordList.h"
#include "core/session/InMemoryTextArea.h"
#include "core/spelling/TextScanner.h"
#include "core/spelling/WordList.h"

namespace {

using quirtel::InMemoryTextArea;
using quirtel::TextScanner;
using quirtel::WordList;

const WordList& List() {
    static const WordList list(quirtel::bench::FindBenchWordList().path);
    return list;
}

struct TypedText {
    std::string text;
    int tokens = 0;
    int misspelled = 0;
};

const TypedText& Text() {
    static const TypedText typed = [] {
        // Word lengths roughly as in written Spanish, where short words abound.
        std::discrete_distribution<int> length({0, 6, 20, 12, 11, 11, 10, 9, 8, 6, 4, 3});
        std::mt19937 random(5);
        const auto randomWord = [&] {
            for (;;) {
                const WordList::BucketView bucket = List().Bucket(length(random));
                if (!bucket.empty()) {
                    return std::string(bucket[random() % bucket.size()]);
                }
            }
        };
        TypedText t;
        bool sentenceStart = true;
        while (t.text.size() < 12'000) {
            std::string word = randomWord();
            if (t.tokens % 10 == 9) {
                word += "qx";  // never an entry
                ++t.misspelled;
            }
            if (sentenceStart && word[0] >= 'a' && word[0] <= 'z') {
                word[0] = static_cast<char>(word[0] - 'a' + 'A');
            }
            sentenceStart = random() % 12 == 0;
            t.text += word;
            ++t.tokens;
            t.text += sentenceStart ? ". " : (random() % 8 == 0 ? ", " : " ");
            if (t.tokens % 90 == 0) {
                t.text += '\n';
            }
        }
        return t;
    }();
    return typed;
}

void BM_CountAndCheckThirtyMinuteText(benchmark::State& state) {
    const TypedText& typed = Text();
    InMemoryTextArea area(80);
    int faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        area.SetText(typed.text);
        area.LineCount();  // lay the text out before the clock runs, as a window would have
        state.ResumeTiming();
        TextScanner scanner(area, true, &List());
        scanner.CountText();
        scanner.CheckSpelling();
        faults = scanner.faults;
        benchmark::DoNotOptimize(scanner.characters);
    }
    state.counters["characters"] = static_cast<double>(typed.text.size());
    state.counters["tokens"] = typed.tokens;
    state.counters["faults"] = faults;
    state.SetLabel(quirtel::bench::FindBenchWordList().real ? "datos/es.dic" : "synthetic list");
}
BENCHMARK(BM_CountAndCheckThirtyMinuteText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
