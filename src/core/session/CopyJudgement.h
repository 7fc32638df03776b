#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What judging a copy against its model gives: the errors as data and the
// figures. Texts are Windows-1252.
namespace quirtel {

// Why a word counts as an error. A model word typed differently gets the
// first of tilde, mayuscula, puntuacion whose folding makes the two words
// equal, each folding on top of the ones before; else letra (see
// ClassifyCopySubstitution).
enum class CopyErrorKind {
    tilde,       // only accents, diaeresis or ñ differ
    mayuscula,   // case differs (accents may differ too)
    letra,       // letters wrong, missing, extra or swapped
    puntuacion,  // only punctuation differs (case and accents may too)
    unidas,      // two model words typed as one
    separadas,   // one model word typed as two
    omitida,     // a model word left out
    anadida,     // a typed word the model does not have
};
inline constexpr std::size_t COPY_ERROR_KIND_COUNT = 8;

// The kind's Spanish name as the program shows it, Windows-1252: "tilde",
// "mayúscula", "letra", "puntuación", "unidas", "separadas", "omitida",
// "añadida".
const char* CopyErrorKindName(CopyErrorKind kind);

struct CopyError {
    CopyErrorKind kind = CopyErrorKind::letra;
    // The model's word(s) ("de la" for unidas); empty for anadida.
    std::string model;
    // The typed word(s) ("aun que" for separadas); empty for omitida.
    std::string typed;
    // Byte offsets in the typed text, end exclusive; an omitted word has an
    // empty range where it was left out (the start of the next typed word).
    std::size_t start = 0;
    std::size_t end = 0;
    // Of `start` in the typed text, from 1; the column counts characters.
    int line = 1;
    int column = 1;
    // Byte offsets of the model word(s) in the model; empty for anadida (at
    // the place in the model).
    std::size_t modelStart = 0;
    std::size_t modelEnd = 0;

    friend bool operator==(const CopyError&, const CopyError&) = default;
};

// A key typed in place of another inside a word typed differently.
struct KeySlip {
    char expected = 0;
    char typed = 0;
    int count = 0;

    friend bool operator==(const KeySlip&, const KeySlip&) = default;
};

struct CopyJudgement {
    std::vector<CopyError> errors;  // in typed-text order
    std::array<std::int64_t, COPY_ERROR_KIND_COUNT> errorsByKind{};
    std::int64_t keystrokes = 0;
    std::int64_t wordsReached = 0;  // model words up to the last one reached
    std::int64_t correctWords = 0;  // of those, typed exactly
    // correctWords / wordsReached * 100; 0 when no word was reached.
    double accuracy = 0.0;
    double grossSpeed = 0.0;   // keystrokes per minute
    double netSpeed = 0.0;     // after the penalty for errors, never below 0
    std::optional<bool> pass;  // none when the rules set no pass mark or limit
    // Where the reached part of the model ends (byte offset).
    std::size_t modelReachedEnd = 0;
    // Expected -> typed pairs, most frequent first.
    std::vector<KeySlip> keySlips;

    std::int64_t ErrorCount() const { return static_cast<std::int64_t>(errors.size()); }
};

}  // namespace quirtel
