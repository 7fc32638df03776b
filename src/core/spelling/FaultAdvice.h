#pragma once

#include <string>
#include <vector>

namespace quirtel {

// Why the word check marked a token.
enum class FaultKind {
    Shape,    // its marks make it a fault whatever the word list holds
    Accent,   // a list word differs from it only in accents, diaeresis or ñ/n
    Unknown,  // neither
};

// What the program can say about a marked token.
struct FaultAdvice {
    FaultKind kind = FaultKind::Unknown;
    // The word the check looked up (lower case, marks stripped); empty for
    // FaultKind::Shape.
    std::string word;
    // What was probably meant, best first, in the case of the typed word and
    // without the token's marks; each one a word the check accepts.
    std::vector<std::string> suggestions;
};

// "forma", "tilde" or "desconocida": the kind as scripts see it.
const char* FaultKindId(FaultKind kind);
// "Forma incorrecta", "Falta de tilde" or "Palabra desconocida" (Windows-1252):
// the kind as the user reads it.
const char* FaultKindLabel(FaultKind kind);

}  // namespace quirtel
