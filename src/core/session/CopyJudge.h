#pragma once

#include <cstdint>
#include <string_view>

#include "core/session/CopyJudgement.h"
#include "core/session/CopyRules.h"

namespace quirtel {

// Judges a typed copy against its model, word by word. Words are what
// whitespace separates (space, tab, line breaks, no-break space); punctuation
// belongs to its word; whitespace alone is never an error. The typed words are
// aligned with the model by the fewest errors, where each of these is one
// error: a model word typed differently (however many slips it holds), a
// model word left out, an extra typed word, two model words typed joined, one
// model word typed split. The alignment may stop anywhere in the model: the
// rest after the last word reached is not counted. When the typed text ends
// inside a word (no whitespace after it) that is the start of its model word,
// that word is unfinished: neither an error nor reached.
class CopyJudge {
public:
    // `model` and `typed` are Windows-1252; `keystrokes` is counted as the
    // free test counts them; the speeds are per minute of `elapsedSeconds`
    // (0 when it is below 1). `rules` are used clamped. Time and memory grow
    // with the text's length times the band the alignment needs; on long
    // texts the band is bounded, so memory stays near a hundred megabytes.
    static CopyJudgement Judge(std::string_view model, std::string_view typed,
                               const CopyRules& rules, std::int64_t keystrokes,
                               std::int32_t elapsedSeconds);

    // The kind of a model word typed as a different word (both non-empty,
    // not equal): tilde when they are equal with accents folded (á->a, ü->u,
    // ñ->n ...); else mayuscula when also equal with case folded; else
    // puntuacion when also equal without the characters that are neither
    // letters nor digits; else letra.
    static CopyErrorKind ClassifySubstitution(std::string_view model, std::string_view typed);

    // Keystrokes of a typed text as the free test counts them: every
    // character, each line break ('\n') once, and each capital A-Z once more
    // when `capitalsDouble`.
    static std::int64_t CountKeystrokes(std::string_view typed, bool capitalsDouble);
};

}  // namespace quirtel
