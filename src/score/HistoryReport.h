#pragma once

#include <string>

#include "core/results/ProgressSummary.h"
#include "core/results/StatisticsHistory.h"

// The three printed forms of quirtel-score --history (UTF-8).
namespace quirtel {

// One line per record (date, duration, gross speed, faults, net speed; the
// title and accuracy for copies), the summary, and the number of unreadable
// lines.
std::string FormatHistoryText(const StatisticsHistory& history, const ProgressSummary& summary);

// {"records": [...], "unreadableLines": N, "summary": {...}}: each record
// with date ("YYYY-MM-DDTHH:MM"), elapsedSeconds, speed, faults (null with
// the spelling check off), spellCheck, netSpeed, kind ("libre" or "copia"),
// text (the model's title, null for free tests) and accuracy (%, null for
// free tests), in file order.
std::string FormatHistoryJson(const StatisticsHistory& history, const ProgressSummary& summary);

// The header "fecha,segundos,velocidad,faltas,pulsaciones", then one line
// per record in file order; faltas is empty with the spelling check off.
std::string FormatHistoryCsv(const StatisticsHistory& history);

}  // namespace quirtel
