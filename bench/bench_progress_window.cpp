// Opening "Progreso" over a log of 100,000 records: reading, summing up, the
// chart and the table, shown and painted once on the offscreen platform,
// against reading and summing up the same log alone.
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

const quirtel::bench::BenchLog& Log() {
    static const quirtel::bench::BenchLog log(100'000);
    return log;
}

void BM_ReadAndSummarizeBaseline(benchmark::State& state) {
    for (auto _ : state) {
        const quirtel::StatisticsHistory history = quirtel::ReadStatisticsLog(Log().path);
        const quirtel::ProgressSummary summary = quirtel::SummarizeProgress(history.records);
        benchmark::DoNotOptimize(summary.tests);
    }
}
BENCHMARK(BM_ReadAndSummarizeBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenProgressWindow(benchmark::State& state) {
    int rows = 0;
    for (auto _ : state) {
        quirtel::CProgressDlg dialog(Log().path);
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
BENCHMARK(BM_OpenProgressWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
