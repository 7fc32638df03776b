#include "score/CopyReport.h"

#include <array>
#include <charconv>
#include <string_view>

#include "core/common/Cp1252.h"
#include "core/results/FinalResult.h"
#include "score/JsonText.h"

namespace quirtel {
namespace {

constexpr std::array<CopyErrorKind, COPY_ERROR_KIND_COUNT> kKinds = {
    CopyErrorKind::tilde,      CopyErrorKind::mayuscula, CopyErrorKind::letra,
    CopyErrorKind::puntuacion, CopyErrorKind::unidas,    CopyErrorKind::separadas,
    CopyErrorKind::omitida,    CopyErrorKind::anadida};

std::string Shown(const std::string& word) {
    return word.empty() ? "(nada)" : word;
}

}  // namespace

std::string FormatCopyReportText(const CopyJudgement& j, std::int32_t elapsedSeconds) {
    std::string out;
    out += "Pulsaciones: " + std::to_string(j.keystrokes) + "\n";
    out += "Tiempo: " + FormatTimeText(elapsedSeconds) + "\n";
    out += "Palabras alcanzadas: " + std::to_string(j.wordsReached) + "\n";
    out += "Palabras correctas: " + std::to_string(j.correctWords) + "\n";
    out += "Errores: " + std::to_string(j.ErrorCount()) + "\n";
    for (const CopyErrorKind kind : kKinds) {
        out += "  " + std::string(CopyErrorKindName(kind)) + ": " +
               std::to_string(j.errorsByKind[static_cast<std::size_t>(kind)]) + "\n";
    }
    out += "Precisi\xF3n: " + FormatAccuracyText(j.accuracy) + "\n";
    out += "Velocidad bruta: " + FormatSpeedText(j.grossSpeed) + "\n";
    out += "Velocidad neta: " + FormatSpeedText(j.netSpeed) + "\n";
    if (j.pass) {
        out += std::string("Resultado: ") + (*j.pass ? "Apto" : "No apto") + "\n";
    }
    out += "Teclas m\xE1s falladas:";
    for (std::size_t i = 0; i < j.keySlips.size() && i < 10; ++i) {
        const KeySlip& slip = j.keySlips[i];
        out += std::string(i == 0 ? " " : ", ") + slip.expected + " -> " + slip.typed + " (" +
               std::to_string(slip.count) + ")";
    }
    out += j.keySlips.empty() ? " ninguna\n" : "\n";
    out += "Errores por palabra:\n";
    for (const CopyError& e : j.errors) {
        out.append("l\xEDnea ").append(std::to_string(e.line));
        out.append(", columna ").append(std::to_string(e.column)).append(": ");
        out.append(Shown(e.model)).append(" -> ").append(Shown(e.typed));
        out.append(" (").append(CopyErrorKindName(e.kind)).append(")\n");
    }
    return cp1252::ToUtf8(out);
}

std::string FormatCopyReportJson(const CopyJudgement& j, std::int32_t elapsedSeconds) {
    std::string out = "{\"errors\":" + std::to_string(j.ErrorCount());
    out += ",\"errorsByKind\":{";
    for (std::size_t k = 0; k < kKinds.size(); ++k) {
        if (k > 0) {
            out += ',';
        }
        out.append(JsonText(CopyErrorKindName(kKinds[k])))
            .append(":")
            .append(std::to_string(j.errorsByKind[static_cast<std::size_t>(kKinds[k])]));
    }
    out += "},\"accuracy\":" + JsonNumber(j.accuracy);
    out += ",\"keystrokes\":" + std::to_string(j.keystrokes);
    out += ",\"elapsedSeconds\":" + std::to_string(elapsedSeconds);
    out += ",\"grossSpeed\":" + JsonNumber(j.grossSpeed);
    out += ",\"netSpeed\":" + JsonNumber(j.netSpeed);
    out += std::string(",\"pass\":") + (!j.pass ? "null" : *j.pass ? "true" : "false");
    out += ",\"wordsReached\":" + std::to_string(j.wordsReached);
    out += ",\"correctWords\":" + std::to_string(j.correctWords);
    out += ",\"keySlips\":[";
    for (std::size_t i = 0; i < j.keySlips.size(); ++i) {
        const KeySlip& slip = j.keySlips[i];
        out += (i == 0 ? "{" : ",{") + std::string("\"expected\":") +
               JsonText(std::string(1, slip.expected)) +
               ",\"typed\":" + JsonText(std::string(1, slip.typed)) +
               ",\"count\":" + std::to_string(slip.count) + "}";
    }
    out += "],\"alignment\":[";
    for (std::size_t i = 0; i < j.errors.size(); ++i) {
        const CopyError& e = j.errors[i];
        out.append(i == 0 ? "{" : ",{");
        out.append("\"kind\":").append(JsonText(CopyErrorKindName(e.kind)));
        out.append(",\"model\":").append(JsonText(e.model));
        out.append(",\"typed\":").append(JsonText(e.typed));
        out.append(",\"line\":").append(std::to_string(e.line));
        out.append(",\"column\":").append(std::to_string(e.column)).append("}");
    }
    out += "]}\n";
    return cp1252::ToUtf8(out);
}

}  // namespace quirtel
