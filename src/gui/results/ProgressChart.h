#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "core/results/ProgressSeries.h"
#include "core/results/ProgressSummary.h"

class QChart;

namespace quirtel {

// The progress chart: "Velocidad neta (pulsaciones finales)" and "Velocidad
// bruta" as lines, the moving average of the net speed over 10 tests, and
// the faults as points on a second axis (none for tests without spelling
// check), each in its own colour of the chart's theme. Along the horizontal
// axis the test number (byTest) or the date (byDate). Hovering a point shows
// its tooltip (ProgressPointTip).
std::unique_ptr<QChart> BuildProgressChart(const std::vector<ProgressPoint>& points,
                                           ProgressAxis axis = ProgressAxis::byTest);

// A point's tooltip: its test number (or the numbers of the tests it
// averages) and date, both speeds and the faults.
QString ProgressPointTip(const ProgressPoint& point);

// What the chart shows, for assistive tools: the number of tests, the net
// speed of the first and the last test, the best one and its date, and what
// a point stands for when the tests were grouped.
QString ProgressChartDescription(const std::vector<StatisticsRecord>& records,
                                 const ProgressSummary& summary,
                                 const std::vector<ProgressPoint>& points, ProgressAxis axis);

}  // namespace quirtel
