// Opening "Progreso" over a log of 5,000 and of 100,000 records: reading,
// summing up, the chart and the table, shown and painted once on the
// offscreen platform, against reading and summing up the same log alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "BenchLog.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"
#include "gui/results/CProgressDlg.h"
#include "gui/results/ProgressTableModel.h"

namespace {

const quirtel::bench::BenchLog& Log(std::int64_t records) {
    static const quirtel::bench::BenchLog small(5'000);
    static const quirtel::bench::BenchLog large(100'000);
    return records <= 5'000 ? small : large;
}

void BM_ReadAndSummarizeBaseline(benchmark::State& state) {
    for (auto _ : state) {
        const quirtel::StatisticsHistory history =
            quirtel::ReadStatisticsLog(Log(state.range(0)).path);
        const quirtel::ProgressSummary summary = quirtel::SummarizeProgress(history.records);
        benchmark::DoNotOptimize(summary.tests);
    }
}
BENCHMARK(BM_ReadAndSummarizeBaseline)
    ->Arg(5'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_OpenProgressWindow(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        quirtel::CProgressDlg dialog(Log(state.range(0)).path, nullptr, std::string());
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog)) {
            state.SkipWithError("window not exposed");
        }
        // The first paint of chart and table happens here.
        dialog.grab();
        rows = dialog.Model().rowCount();
        state.PauseTiming();
        dialog.close();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_OpenProgressWindow)
    ->Arg(5'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
