#pragma once

#include <cstdint>
#include <string>

#include "core/session/CopyJudgement.h"

// The two printed forms of quirtel-score --model (UTF-8).
namespace quirtel {

// One "Label: value" line per figure (the verdict only when the rules give
// one), the keys mistyped most, then one line per error:
// "línea L, columna C: modelo -> escrito (tipo)".
std::string FormatCopyReportText(const CopyJudgement& judgement, std::int32_t elapsedSeconds);

// One JSON object: errors, errorsByKind, accuracy, keystrokes,
// elapsedSeconds, grossSpeed, netSpeed, pass (true, false or null),
// wordsReached, correctWords, keySlips and alignment (one object per error
// with kind, model, typed, line and column of the typed text).
std::string FormatCopyReportJson(const CopyJudgement& judgement, std::int32_t elapsedSeconds);

}  // namespace quirtel
