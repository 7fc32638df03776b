#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "core/results/ProgressSeries.h"
#include "core/results/ProgressSummary.h"

class QChart;

namespace quirtel {

// The progress chart over the date: "Pulsaciones finales" (net speed) and
// "Velocidad" (gross speed) as lines, the moving average of the net speed
// over 10 tests, and the faults as points on a second axis (none for tests
// without spelling check).
std::unique_ptr<QChart> BuildProgressChart(const std::vector<ProgressPoint>& points);

// What the chart shows, for assistive tools: the number of tests, the net
// speed of the first and the last test, the best one and its date, and how
// many points a day or span stands for when the tests were grouped.
QString ProgressChartDescription(const std::vector<StatisticsRecord>& records,
                                 const ProgressSummary& summary, std::size_t points);

}  // namespace quirtel
