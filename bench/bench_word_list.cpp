// Loading and lookup of the word list against plain baselines measured in the
// same run: reading with std::getline into one std::vector<std::string> per
// bucket, and searching the word's bucket from its head.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "BenchWordList.h"
#include "core/spelling/WordList.h"

namespace {

using quirtel::WordList;
using quirtel::bench::BenchWordList;

// The machine running the benchmarks may be shared: each one is repeated and
// its fastest repetition, the least disturbed, is the one compared.
void Repeated(benchmark::internal::Benchmark* benchmark) {
    benchmark->Repetitions(5)->ReportAggregatesOnly(true)->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

const BenchWordList& List() {
    static const BenchWordList list = quirtel::bench::FindBenchWordList();
    return list;
}

std::size_t FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return static_cast<std::size_t>(in.tellg());
}

std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

using GetlineBuckets = std::array<std::vector<std::string>, WordList::BUCKET_COUNT>;

void LoadWithGetline(const std::string& path, GetlineBuckets& buckets) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        buckets[WordList::BucketOf(line.size())].push_back(line);
    }
}

void SetMemoryCounters(benchmark::State& state, std::size_t heapBytes) {
    const auto fileBytes = static_cast<double>(FileSize(List().path));
    state.counters["heap_MB"] = static_cast<double>(heapBytes) / 1e6;
    state.counters["heap_per_file_byte"] = static_cast<double>(heapBytes) / fileBytes;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fileBytes));
    state.SetLabel(List().real ? "datos/es.dic" : "synthetic list");
}

void BM_LoadGetlineBaseline(benchmark::State& state) {
    std::size_t heap = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto buckets = std::make_unique<GetlineBuckets>();
        LoadWithGetline(List().path, *buckets);
        heap = HeapInUse() - before;
        benchmark::DoNotOptimize(buckets.get());
        state.PauseTiming();
        buckets.reset();
        state.ResumeTiming();
    }
    SetMemoryCounters(state, heap);
}
BENCHMARK(BM_LoadGetlineBaseline)->Apply(Repeated)->Unit(benchmark::kMillisecond);

void BM_LoadWordList(benchmark::State& state) {
    std::size_t heap = 0;
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto list = std::make_unique<WordList>(List().path);
        heap = HeapInUse() - before;
        held = list->MemoryBytes();
        benchmark::DoNotOptimize(list.get());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    SetMemoryCounters(state, heap);
    state.counters["held_per_file_byte"] =
        static_cast<double>(held) / static_cast<double>(FileSize(List().path));
}
BENCHMARK(BM_LoadWordList)->Apply(Repeated)->Unit(benchmark::kMillisecond);

const WordList& LoadedList() {
    static const WordList list(List().path);
    return list;
}

// Half entries of the list, half near misses (one letter changed or added),
// spread over the buckets as the list is.
const std::vector<std::string>& Probes() {
    static const std::vector<std::string> probes = [] {
        std::vector<std::string> all;
        for (int k = 1; k < WordList::BUCKET_COUNT; ++k) {
            for (const std::string_view entry : LoadedList().Bucket(k)) {
                all.emplace_back(entry);
            }
        }
        std::mt19937 random(42);
        std::uniform_int_distribution<std::size_t> pick(0, all.size() - 1);
        std::vector<std::string> chosen;
        for (int i = 0; i < 1000; ++i) {
            chosen.push_back(all[pick(random)]);
            std::string miss = all[pick(random)];
            if (i % 2 == 0) {
                miss[miss.size() / 2] = 'q';
            } else {
                miss += 'z';
            }
            chosen.push_back(miss);
        }
        return chosen;
    }();
    return probes;
}

template <bool Linear>
void Lookup(benchmark::State& state) {
    const WordList& list = LoadedList();
    const std::vector<std::string>& probes = Probes();
    std::size_t found = 0;
    for (auto _ : state) {
        for (const std::string& probe : probes) {
            found += Linear ? list.ContainsLinear(probe) : list.Contains(probe);
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * probes.size()));
    state.SetLabel(List().real ? "datos/es.dic" : "synthetic list");
}

void BM_LookupLinearBaseline(benchmark::State& state) {
    Lookup<true>(state);
}
BENCHMARK(BM_LookupLinearBaseline)->Unit(benchmark::kMillisecond);

void BM_LookupIndexed(benchmark::State& state) {
    Lookup<false>(state);
}
BENCHMARK(BM_LookupIndexed)->Apply(Repeated)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // A single run, or the fastest of the repetitions.
            if (run.run_type == Run::RT_Iteration) {
                Keep(run.benchmark_name(), run.cpu_accumulated_time / run.iterations);
            } else if (run.aggregate_name == "min") {
                Keep(run.run_name.function_name, run.cpu_accumulated_time / run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatio(const char* what, const std::string& baseline, const std::string& ours,
                    double goal) {
        if (seconds.count(baseline) == 0 || seconds.count(ours) == 0) {
            return;
        }
        const double ratio = seconds[baseline] / seconds[ours];
        std::printf("%-34s %10.2fx faster (goal %gx): %s\n", what, ratio, goal,
                    ratio >= goal ? "met" : "NOT MET");
    }

private:
    void Keep(const std::string& name, double cpuSeconds) {
        const auto found = seconds.find(name);
        if (found == seconds.end() || cpuSeconds < found->second) {
            seconds[name] = cpuSeconds;
        }
    }

    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("load vs getline baseline", "BM_LoadGetlineBaseline", "BM_LoadWordList", 2);
    reporter.PrintRatio("lookup vs linear bucket search", "BM_LookupLinearBaseline",
                        "BM_LookupIndexed", 1000);
    benchmark::Shutdown();
    return 0;
}
