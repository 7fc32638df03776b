// The fault review of a 30-minute test: kind and suggestions for its 200
// faulty tokens, over the shipped word list and frequency list, against the
// word check of the same tokens (the baseline, measured in the same run).
// Also the one-time cost of the indexes that the advice builds when it is
// first needed (accents, frequency list, sound-alikes and two edits): their
// time and their memory.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchWordList.h"
#include "core/common/Cp1252.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordCheck.h"
#include "core/spelling/WordFrequencies.h"
#include "core/spelling/WordList.h"

namespace {

using quirtel::SpellingAdvisor;
using quirtel::WordList;

constexpr std::size_t FAULTY_TOKENS = 200;

const std::string& ListPath() {
    static const std::string path = quirtel::bench::FindBenchWordList().path;
    return path;
}

const WordList& List() {
    static const WordList list(ListPath());
    return list;
}

// Words of the prose corpus with one typing error each, as a typist makes
// them: accents dropped, a neighbouring key, two letters swapped, a letter
// doubled or left out; capitalised now and then. Only tokens the check marks.
const std::vector<std::string>& FaultyTokens() {
    static const std::vector<std::string> tokens = [] {
        std::ifstream in(std::string(QUIRTEL_SOURCE_DIR) + "/tests/data/prosa_es.txt",
                         std::ios::binary);
        std::stringstream words(quirtel::cp1252::FromUtf8(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())));
        std::vector<std::string> prose;
        for (std::string word; words >> word;) {
            quirtel::ToLowerCp1252(word);
            if (word.size() >= 3 && std::all_of(word.begin(), word.end(), quirtel::IsWordChar)) {
                prose.push_back(word);
            }
        }
        std::mt19937 random(9);
        static constexpr char NEIGHBOURS[] = "wqesrdtfygu";
        std::vector<std::string> out;
        for (std::size_t i = 0; out.size() < FAULTY_TOKENS && !prose.empty(); ++i) {
            std::string w = prose[random() % prose.size()];
            const std::size_t at = random() % (w.size() - 1);
            switch (i % 5) {
                case 0:
                    quirtel::FoldAccents(w);
                    break;
                case 1:
                    w[at] = NEIGHBOURS[random() % (sizeof NEIGHBOURS - 1)];
                    break;
                case 2:
                    std::swap(w[at], w[at + 1]);
                    break;
                case 3:
                    w.insert(at, 1, w[at]);
                    break;
                default:
                    w.erase(at, 1);
            }
            if (i % 7 == 0) {
                w[0] = quirtel::ToUpperCp1252(w[0]);
            }
            if (!List().CheckWord(w)) {
                out.push_back(w);
            }
        }
        // The longest words the two-edit search still takes, and longer.
        for (const char* longWord : {"electroencefalografistass", "anticonstitucionalmentte",
                                     "internacionalizacionesdelosmercados"}) {
            out.emplace_back(longWord);
        }
        return out;
    }();
    return tokens;
}

void BM_CheckFaultyTokens(benchmark::State& state) {
    const auto& tokens = FaultyTokens();
    for (auto _ : state) {
        int faults = 0;
        for (const std::string& token : tokens) {
            faults += List().CheckWord(token) ? 0 : 1;
        }
        benchmark::DoNotOptimize(faults);
    }
    state.counters["tokens"] = static_cast<double>(tokens.size());
}
BENCHMARK(BM_CheckFaultyTokens)->Unit(benchmark::kMillisecond);

void BM_AdviseFaultyTokens(benchmark::State& state) {
    const auto& tokens = FaultyTokens();
    const SpellingAdvisor advisor(List(), quirtel::FrequencyPathFor(ListPath()));
    advisor.Prepare();
    // Each token's own time is its fastest of all iterations: the machine's
    // other work lengthens single runs at random.
    std::vector<double> fastest(tokens.size(), 1e9);
    std::size_t suggested = 0;
    for (auto _ : state) {
        suggested = 0;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            const auto advice = advisor.Advise(tokens[i]);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            fastest[i] = std::min(fastest[i], took.count());
            suggested += advice && !advice->suggestions.empty() ? 1 : 0;
        }
    }
    const double worst = *std::max_element(fastest.begin(), fastest.end());
    state.counters["tokens"] = static_cast<double>(tokens.size());
    state.counters["with_suggestions"] = static_cast<double>(suggested);
    state.counters["worst_token_ms"] = worst;
    state.SetLabel(quirtel::bench::FindBenchWordList().real ? "datos/es.dic" : "synthetic list");
}
BENCHMARK(BM_AdviseFaultyTokens)->Unit(benchmark::kMillisecond);

// The first advice of a run: building the accent index and reading the
// frequency list.
void BM_BuildAccentIndex(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        const SpellingAdvisor advisor(List(), quirtel::FrequencyPathFor(ListPath()));
        advisor.Prepare();
        bytes = advisor.MemoryBytes();
    }
    state.counters["index_MB"] = static_cast<double>(bytes) / (1 << 20);
    state.counters["word_list_MB"] = static_cast<double>(List().MemoryBytes()) / (1 << 20);
}
BENCHMARK(BM_BuildAccentIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
