#include "core/session/CopyJudge.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quirtel {
namespace {

using Table = std::array<unsigned char, 256>;

constexpr Table MakeAccentFold() {
    Table t{};
    for (int c = 0; c < 256; ++c) {
        t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    }
    const auto set = [&t](int from, int to, char letter) {
        for (int c = from; c <= to; ++c) {
            t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(letter);
        }
    };
    set(0xC0, 0xC5, 'A');
    set(0xC7, 0xC7, 'C');
    set(0xC8, 0xCB, 'E');
    set(0xCC, 0xCF, 'I');
    set(0xD1, 0xD1, 'N');
    set(0xD2, 0xD6, 'O');
    set(0xD9, 0xDC, 'U');
    set(0xDD, 0xDD, 'Y');
    set(0x8A, 0x8A, 'S');
    set(0x8E, 0x8E, 'Z');
    set(0x9F, 0x9F, 'Y');
    set(0xE0, 0xE5, 'a');
    set(0xE7, 0xE7, 'c');
    set(0xE8, 0xEB, 'e');
    set(0xEC, 0xEF, 'i');
    set(0xF1, 0xF1, 'n');
    set(0xF2, 0xF6, 'o');
    set(0xF9, 0xFC, 'u');
    set(0xFD, 0xFD, 'y');
    set(0xFF, 0xFF, 'y');
    set(0x9A, 0x9A, 's');
    set(0x9E, 0x9E, 'z');
    return t;
}

constexpr Table MakeCaseFold() {
    Table t{};
    for (int c = 0; c < 256; ++c) {
        int folded = c;
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            folded = c + 0x20;
        } else if (c == 0x8A || c == 0x8C || c == 0x8E) {
            folded = c + 0x10;
        } else if (c == 0x9F) {
            folded = 0xFF;
        }
        t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(folded);
    }
    return t;
}

// Letters and digits of Windows-1252; everything else in a word is
// punctuation (symbols such as % and € included).
constexpr std::array<bool, 256> MakeLetterOrDigit() {
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c) {
        t[static_cast<std::size_t>(c)] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x83 || c == 0x8A || c == 0x8C ||
            c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F || c == 0xAA ||
            c == 0xBA || c == 0xB5 || c == 0xB2 || c == 0xB3 || c == 0xB9;
    }
    return t;
}

constexpr Table kAccentFold = MakeAccentFold();
constexpr Table kCaseFold = MakeCaseFold();
constexpr std::array<bool, 256> kLetterOrDigit = MakeLetterOrDigit();

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' ||
           Byte(c) == 0xA0;
}

std::string Folded(std::string_view word, bool foldCase, bool dropPunctuation) {
    std::string out;
    out.reserve(word.size());
    for (const char c : word) {
        if (dropPunctuation && !kLetterOrDigit[Byte(c)]) {
            continue;
        }
        unsigned char folded = kAccentFold[Byte(c)];
        if (foldCase) {
            folded = kCaseFold[folded];
        }
        out += static_cast<char>(folded);
    }
    return out;
}

struct Word {
    std::size_t start;
    std::size_t end;
    int id;  // equal words have equal ids
};

struct TypedPlace {
    int line;
    int column;
};

std::vector<Word> SplitWords(std::string_view text) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsSpace(text[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back({start, i, 0});
        }
    }
    return words;
}

// Words i and i+1 of `text`, with one space between them.
std::string WordPair(std::string_view text, const std::vector<Word>& words, std::size_t i) {
    std::string pair(text.substr(words[i].start, words[i].end - words[i].start));
    pair += ' ';
    pair += text.substr(words[i + 1].start, words[i + 1].end - words[i + 1].start);
    return pair;
}

// The moves of the alignment. A cell's move says how it was reached.
enum Move : unsigned char { kNone, kMatch, kSubstitute, kJoin, kSplit, kOmit, kAdd };

struct Op {
    Move move;
    std::size_t model;  // index of the (first) model word
    std::size_t typed;  // index of the (first) typed word
};

struct Alignment {
    std::vector<Op> ops;  // in order
    std::size_t modelEnd = 0;
    std::int32_t cost = 0;
    // Where each typed row's band began, and its half-width.
    std::vector<std::size_t> first;
    std::size_t band = 0;
};

constexpr std::int32_t kInf = std::numeric_limits<std::int32_t>::max() / 4;
// Texts whose whole table fits here are aligned exactly in one pass.
constexpr std::size_t kExactCells = std::size_t{4} << 20;
// The most cells a band may hold (one byte of move each).
constexpr std::size_t kMaxCells = std::size_t{100} << 20;
// A run of this many errors in a row suggests the band lost the typist
// (a skipped paragraph, say), so the band is widened.
constexpr std::size_t kSuspectRun = 6;

// Aligns the typed words with the model's within a band: on each typed row
// only the model indices within `band` of the row's centre are considered,
// the centre being one past the cheapest cell of the row before, so the band
// follows the typist as words are left out or added. A band as wide as the
// texts is the exact, whole table.
class Aligner {
public:
    Aligner(std::string_view model, std::string_view typed, const std::vector<Word>& m,
            const std::vector<Word>& t)
        : modelText(model), typedText(typed), m(m), t(t) {}

    // The alignment of least cost among those that stay within the band.
    Alignment Align(std::size_t band) const {
        const std::size_t n = t.size();
        const std::size_t width = 2 * band + 1;
        std::vector<unsigned char> moves((n + 1) * width, kNone);
        std::vector<std::size_t> first(n + 1, 0);
        // Each row holds its band between margins that stay infinite: a row's
        // band starts at most band + 1 from the one before, so every look at
        // the two rows above lands in the row or its margins, unchecked.
        const std::size_t margin = 2 * band + 4;
        std::array<std::vector<std::int32_t>, 3> rows;
        for (auto& row : rows) {
            row.assign(margin + width + margin, kInf);
        }
        std::size_t centre = 0;
        for (std::size_t j = 0; j <= n; ++j) {
            first[j] = centre > band ? centre - band : 0;
            const std::size_t lo = first[j];
            const std::size_t hi = std::min(m.size(), lo + width - 1);
            std::int32_t* row = rows[j % 3].data() + margin;
            std::fill(row, row + width, kInf);
            // The same model index in the rows above, as an offset from row.
            const std::int32_t* up = rows[(j + 2) % 3].data() + margin +
                                     (j > 0 ? static_cast<std::ptrdiff_t>(lo - first[j - 1]) : 0);
            const std::int32_t* up2 = rows[(j + 1) % 3].data() + margin +
                                      (j > 1 ? static_cast<std::ptrdiff_t>(lo - first[j - 2]) : 0);
            unsigned char* rowMoves = moves.data() + j * width;
            std::int32_t rowBest = kInf;
            const Word* typedWord = j > 0 ? &t[j - 1] : nullptr;
            for (std::size_t i = lo; i <= hi; ++i) {
                // Signed: the cells left of the band's first one are the
                // margin, reached as k - 1 and k - 2 from k = 0.
                const auto k = static_cast<std::ptrdiff_t>(i - lo);
                std::int32_t best = i == 0 && j == 0 ? 0 : kInf;
                unsigned char how = kNone;
                if (i > 0 && j > 0) {
                    const bool same = m[i - 1].id == typedWord->id;
                    const std::int32_t c = up[k - 1] + (same ? 0 : 1);
                    if (c < best) {
                        best = c;
                        how = same ? kMatch : kSubstitute;
                    }
                    // A match reached from within the band is never beaten:
                    // neighbouring cells differ by at most one.
                    if (same && c < kInf) {
                        row[k] = best;
                        rowMoves[k] = how;
                        if (best < rowBest) {
                            rowBest = best;
                            centre = i;
                        }
                        continue;
                    }
                }
                if (i > 0 && row[k - 1] + 1 < best) {
                    best = row[k - 1] + 1;
                    how = kOmit;
                }
                if (j > 0 && up[k] + 1 < best) {
                    best = up[k] + 1;
                    how = kAdd;
                }
                if (i > 1 && j > 0 && up[k - 2] + 1 < best && Joined(i - 2, j - 1)) {
                    best = up[k - 2] + 1;
                    how = kJoin;
                }
                if (i > 0 && j > 1 && up2[k - 1] + 1 < best && Split(i - 1, j - 2)) {
                    best = up2[k - 1] + 1;
                    how = kSplit;
                }
                row[k] = best;
                rowMoves[k] = how;
                if (best < rowBest) {
                    rowBest = best;
                    centre = i;
                }
            }
            centre = std::min(centre + 1, m.size());
        }
        // The typed text must be used whole; the model may stop anywhere. Of
        // equal costs the one reaching further wins: the typist's last word
        // is then a wrong model word rather than an extra one.
        const std::int32_t* last = rows[n % 3].data() + margin;
        std::size_t endI = first[n];
        std::int32_t endCost = kInf;
        for (std::size_t i = first[n]; i <= std::min(m.size(), first[n] + width - 1); ++i) {
            if (last[i - first[n]] <= endCost) {
                endCost = last[i - first[n]];
                endI = i;
            }
        }
        Alignment result;
        result.modelEnd = endI;
        result.cost = endCost;
        result.first = std::move(first);
        result.band = band;
        std::size_t i = endI;
        std::size_t j = n;
        while (i > 0 || j > 0) {
            const std::size_t k = i - result.first[j];
            const Move how = k < width ? static_cast<Move>(moves[j * width + k]) : kNone;
            switch (how) {
                case kMatch:
                case kSubstitute:
                    --i;
                    --j;
                    break;
                case kJoin:
                    i -= 2;
                    --j;
                    break;
                case kSplit:
                    --i;
                    j -= 2;
                    break;
                case kOmit:
                    --i;
                    break;
                case kAdd:
                    --j;
                    break;
                case kNone:
                    // Not reached: every cell of a band has a way in, since
                    // the band of each row overlaps the one above.
                    i = 0;
                    j = 0;
                    continue;
            }
            result.ops.push_back({how, i, j});
        }
        std::reverse(result.ops.begin(), result.ops.end());
        return result;
    }

private:
    std::string_view ModelWord(std::size_t i) const {
        return modelText.substr(m[i].start, m[i].end - m[i].start);
    }
    std::string_view TypedWord(std::size_t j) const {
        return typedText.substr(t[j].start, t[j].end - t[j].start);
    }
    // Model words i and i+1 typed as typed word j.
    bool Joined(std::size_t i, std::size_t j) const {
        if (t[j].end - t[j].start != (m[i].end - m[i].start) + (m[i + 1].end - m[i + 1].start)) {
            return false;
        }
        const std::string_view a = ModelWord(i);
        const std::string_view w = TypedWord(j);
        return w.substr(0, a.size()) == a && w.substr(a.size()) == ModelWord(i + 1);
    }
    // Typed words j and j+1 making model word i.
    bool Split(std::size_t i, std::size_t j) const {
        if (m[i].end - m[i].start != (t[j].end - t[j].start) + (t[j + 1].end - t[j + 1].start)) {
            return false;
        }
        const std::string_view a = TypedWord(j);
        const std::string_view w = ModelWord(i);
        return w.substr(0, a.size()) == a && w.substr(a.size()) == TypedWord(j + 1);
    }

    std::string_view modelText;
    std::string_view typedText;
    const std::vector<Word>& m;
    const std::vector<Word>& t;
};

// Whether an alignment found within a band may be beaten by one outside it:
// it comes near the band's edge, or it holds a long run of errors (as when
// the typist skipped more of the model than the band spans).
enum class Doubt { none, nearEdge, lost };

Doubt Suspect(const Alignment& alignment, std::size_t modelWords) {
    const std::size_t margin = alignment.band / 8;
    std::size_t run = 0;
    for (const Op& op : alignment.ops) {
        const std::size_t endI = op.model + (op.move == kJoin ? 2 : op.move == kAdd ? 0 : 1);
        const std::size_t endJ = op.typed + (op.move == kSplit ? 2 : op.move == kOmit ? 0 : 1);
        const std::size_t lo = alignment.first[endJ];
        const std::size_t hi = lo + 2 * alignment.band;
        if ((lo > 0 && endI < lo + margin) || (hi < modelWords && endI + margin > hi)) {
            return Doubt::nearEdge;
        }
        // Words left out in a row are a skip the band has followed; words
        // typed wrong in a row are what a band that lost the typist shows.
        run = op.move == kMatch ? 0 : op.move == kOmit ? run : run + 1;
        if (run >= kSuspectRun) {
            return Doubt::lost;
        }
    }
    return Doubt::none;
}

// Short texts get the whole table. Long ones start with a narrow band; while
// the result looks doubtful the band is doubled, up to a width that bounds
// the memory.
Alignment AlignWords(std::string_view model, std::string_view typed, const std::vector<Word>& m,
                     const std::vector<Word>& t) {
    const Aligner aligner(model, typed, m, t);
    const std::size_t rows = t.size() + 1;
    const std::size_t full = std::max(m.size(), t.size());
    if (rows * (2 * full + 1) <= kExactCells) {
        return aligner.Align(full);
    }
    const std::size_t perRow = kMaxCells / rows;
    const std::size_t widest = perRow > 2 ? (perRow - 1) / 2 : 1;
    std::size_t band = std::min<std::size_t>(64, widest);
    for (;;) {
        Alignment alignment = aligner.Align(band);
        const Doubt doubt = Suspect(alignment, m.size());
        if (band >= full || band >= widest || doubt == Doubt::none) {
            return alignment;
        }
        // A band that lost the typist has missed a skip wider than itself.
        band = std::min({band * (doubt == Doubt::lost ? 4 : 2), widest, full});
    }
}

// Gives equal words equal ids, over both texts.
void NumberWords(std::string_view model, std::string_view typed, std::vector<Word>& m,
                 std::vector<Word>& t) {
    std::unordered_map<std::string_view, int> ids;
    ids.reserve(m.size() + t.size());
    const auto number = [&ids](std::string_view text, std::vector<Word>& words) {
        for (Word& word : words) {
            const auto [it, added] = ids.emplace(text.substr(word.start, word.end - word.start),
                                                 static_cast<int>(ids.size()));
            word.id = it->second;
        }
    };
    number(model, m);
    number(typed, t);
}

// Counts the keys typed in place of others between a model word and its
// typed form, by a character alignment of least edits. Long words are left
// out: their table would cost more than the figure is worth.
void CountKeySlips(std::string_view expected, std::string_view typed,
                   std::map<std::pair<char, char>, int>& slips) {
    constexpr std::size_t kLongest = 64;
    if (expected.size() > kLongest || typed.size() > kLongest) {
        return;
    }
    const std::size_t a = expected.size();
    const std::size_t b = typed.size();
    std::vector<int> d((a + 1) * (b + 1));
    const auto at = [b](std::size_t i, std::size_t j) { return i * (b + 1) + j; };
    for (std::size_t i = 0; i <= a; ++i) {
        for (std::size_t j = 0; j <= b; ++j) {
            if (i == 0 || j == 0) {
                d[at(i, j)] = static_cast<int>(i + j);
                continue;
            }
            const int diagonal = d[at(i - 1, j - 1)] + (expected[i - 1] == typed[j - 1] ? 0 : 1);
            d[at(i, j)] = std::min({diagonal, d[at(i - 1, j)] + 1, d[at(i, j - 1)] + 1});
        }
    }
    std::size_t i = a;
    std::size_t j = b;
    while (i > 0 && j > 0) {
        const bool same = expected[i - 1] == typed[j - 1];
        if (d[at(i, j)] == d[at(i - 1, j - 1)] + (same ? 0 : 1)) {
            if (!same) {
                ++slips[{expected[i - 1], typed[j - 1]}];
            }
            --i;
            --j;
        } else if (d[at(i, j)] == d[at(i - 1, j)] + 1) {
            --i;
        } else {
            --j;
        }
    }
}

}  // namespace

const char* CopyErrorKindName(CopyErrorKind kind) {
    switch (kind) {
        case CopyErrorKind::tilde:
            return "tilde";
        case CopyErrorKind::mayuscula:
            return "may\xFAscula";
        case CopyErrorKind::letra:
            return "letra";
        case CopyErrorKind::puntuacion:
            return "puntuaci\xF3n";
        case CopyErrorKind::unidas:
            return "unidas";
        case CopyErrorKind::separadas:
            return "separadas";
        case CopyErrorKind::omitida:
            return "omitida";
        case CopyErrorKind::anadida:
            break;
    }
    return "a\xF1"
           "adida";
}

CopyErrorKind CopyJudge::ClassifySubstitution(std::string_view model, std::string_view typed) {
    if (Folded(model, false, false) == Folded(typed, false, false)) {
        return CopyErrorKind::tilde;
    }
    if (Folded(model, true, false) == Folded(typed, true, false)) {
        return CopyErrorKind::mayuscula;
    }
    if (Folded(model, true, true) == Folded(typed, true, true)) {
        return CopyErrorKind::puntuacion;
    }
    return CopyErrorKind::letra;
}

std::int64_t CopyJudge::CountKeystrokes(std::string_view typed, bool capitalsDouble) {
    std::int64_t count = static_cast<std::int64_t>(typed.size());
    if (capitalsDouble) {
        count +=
            std::count_if(typed.begin(), typed.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    }
    return count;
}

CopyJudgement CopyJudge::Judge(std::string_view model, std::string_view typed,
                               const CopyRules& givenRules, std::int64_t keystrokes,
                               std::int32_t elapsedSeconds) {
    const CopyRules rules = givenRules.Clamped();
    std::vector<Word> m = SplitWords(model);
    std::vector<Word> t = SplitWords(typed);
    NumberWords(model, typed, m, t);
    Alignment alignment = AlignWords(model, typed, m, t);

    // A last word cut short by the end of the test is not judged.
    std::size_t reached = alignment.modelEnd;
    if (!alignment.ops.empty() && !typed.empty() && !IsSpace(typed.back())) {
        const Op& op = alignment.ops.back();
        if (op.move == kSubstitute && op.typed + 1 == t.size() &&
            model.substr(m[op.model].start, m[op.model].end - m[op.model].start)
                .starts_with(typed.substr(t[op.typed].start))) {
            alignment.ops.pop_back();
            reached = op.model;
        }
    }

    // Line and column of each typed word's start.
    std::vector<TypedPlace> places(t.size() + 1);
    {
        int line = 1;
        std::size_t lineStart = 0;
        std::size_t pos = 0;
        for (std::size_t j = 0; j <= t.size(); ++j) {
            const std::size_t target = j < t.size() ? t[j].start : typed.size();
            for (; pos < target; ++pos) {
                if (typed[pos] == '\n') {
                    ++line;
                    lineStart = pos + 1;
                }
            }
            places[j] = {line, static_cast<int>(target - lineStart) + 1};
        }
    }

    CopyJudgement judgement;
    std::map<std::pair<char, char>, int> slips;
    const auto modelWords = [&](std::size_t i, std::size_t count) {
        return std::string(model.substr(m[i].start, m[i + count - 1].end - m[i].start));
    };
    const auto typedWords = [&](std::size_t j, std::size_t count) {
        return std::string(typed.substr(t[j].start, t[j + count - 1].end - t[j].start));
    };
    for (const Op& op : alignment.ops) {
        CopyError error;
        const std::size_t modelPlace = op.model < m.size() ? m[op.model].start : model.size();
        switch (op.move) {
            case kMatch:
                ++judgement.correctWords;
                continue;
            case kSubstitute:
                error.model = modelWords(op.model, 1);
                error.typed = typedWords(op.typed, 1);
                error.kind = ClassifySubstitution(error.model, error.typed);
                CountKeySlips(error.model, error.typed, slips);
                break;
            case kJoin:
                error.kind = CopyErrorKind::unidas;
                error.model = WordPair(model, m, op.model);
                error.typed = typedWords(op.typed, 1);
                break;
            case kSplit:
                error.kind = CopyErrorKind::separadas;
                error.model = modelWords(op.model, 1);
                error.typed = WordPair(typed, t, op.typed);
                break;
            case kOmit:
                error.kind = CopyErrorKind::omitida;
                error.model = modelWords(op.model, 1);
                break;
            case kAdd:
                error.kind = CopyErrorKind::anadida;
                error.typed = typedWords(op.typed, 1);
                break;
            case kNone:
                continue;
        }
        const bool hasTyped = op.move != kOmit;
        const bool hasModel = op.move != kAdd;
        const std::size_t typedCount = op.move == kSplit ? 2 : 1;
        const std::size_t modelCount = op.move == kJoin ? 2 : 1;
        error.start = op.typed < t.size() ? t[op.typed].start : typed.size();
        error.end = hasTyped ? t[op.typed + typedCount - 1].end : error.start;
        error.line = places[op.typed].line;
        error.column = places[op.typed].column;
        error.modelStart = modelPlace;
        error.modelEnd = hasModel ? m[op.model + modelCount - 1].end : modelPlace;
        ++judgement.errorsByKind[static_cast<std::size_t>(error.kind)];
        judgement.errors.push_back(std::move(error));
    }

    judgement.keystrokes = keystrokes;
    judgement.wordsReached = static_cast<std::int64_t>(reached);
    judgement.modelReachedEnd = reached > 0 ? m[reached - 1].end : 0;
    judgement.accuracy =
        reached > 0 ? judgement.correctWords * 100.0 / static_cast<double>(reached) : 0.0;
    judgement.grossSpeed =
        elapsedSeconds < 1 ? 0.0 : static_cast<double>(keystrokes) * 60.0 / elapsedSeconds;
    judgement.netSpeed =
        ComputeCopyNetSpeed(keystrokes, judgement.ErrorCount(), rules.penalty, elapsedSeconds);
    judgement.pass =
        rules.Verdict(judgement.netSpeed, judgement.ErrorCount(), judgement.wordsReached);
    for (const auto& [pair, count] : slips) {
        judgement.keySlips.push_back({pair.first, pair.second, count});
    }
    std::stable_sort(judgement.keySlips.begin(), judgement.keySlips.end(),
                     [](const KeySlip& a, const KeySlip& b) { return a.count > b.count; });
    return judgement;
}

}  // namespace quirtel
