// The statistics log read back from any bytes: no crash, no undefined
// behaviour, every line that is not blank is either a record or counted as
// unreadable, and the summary and the chart points of whatever was read can
// be worked out.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/results/ProgressSeries.h"
#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quirtel::StatisticsHistory history;
    quirtel::ParseStatisticsLog(text, history);
    const auto lines = static_cast<std::int64_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    if (static_cast<std::int64_t>(history.records.size()) + history.unreadableLines > lines) {
        std::abort();
    }
    const quirtel::ProgressSummary summary = quirtel::SummarizeProgress(history.records);
    if (summary.tests != static_cast<std::int64_t>(history.records.size()) ||
        quirtel::FormatProgressSummary(summary).empty()) {
        std::abort();
    }
    const auto points = quirtel::BuildProgressSeries(history.records, 3);
    if (points.size() > std::min<std::size_t>(history.records.size(), 3)) {
        std::abort();
    }
    return 0;
}
