#include "core/spelling/WordCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace quirtel {

namespace {

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

// The character classes as one table of flags, read once per byte: every
// byte of every typed token is classified.
enum ClassFlag : std::uint8_t {
    WORD = 1,
    NUMBER = 2,
    OPENING = 4,
    CLOSING = 8,
    SEPARATOR = 16,
};

constexpr std::array<std::uint8_t, 256> CLASSES = [] {
    std::array<std::uint8_t, 256> table{};
    const auto mark = [&table](std::string_view bytes, std::uint8_t flag) {
        for (const char c : bytes) {
            table[static_cast<unsigned char>(c)] |= flag;
        }
    };
    for (int c = 'a'; c <= 'z'; ++c) {
        table[static_cast<std::size_t>(c)] |= WORD;
        table[static_cast<std::size_t>(c - 'a' + 'A')] |= WORD;
    }
    mark("0123456789", WORD | NUMBER);
    mark("\xE1\xE9\xED\xF3\xFA\xF1\xC1\xC9\xCD\xD3\xDA\xD1", WORD);
    mark(".,-/*+", NUMBER);
    mark("\xBF\xA1\"({[<-+'", OPENING);
    mark("?!\")}]>'-%", CLOSING);
    mark(".,;:", SEPARATOR);
    return table;
}();

bool Is(char c, std::uint8_t flag) {
    return (CLASSES[Byte(c)] & flag) != 0;
}

}  // namespace

bool IsWordChar(char c) {
    return Is(c, WORD);
}

bool IsNumberChar(char c) {
    return Is(c, NUMBER);
}

bool IsOpeningMark(char c) {
    return Is(c, OPENING);
}

bool IsClosingMark(char c) {
    return Is(c, CLOSING);
}

bool IsSeparator(char c) {
    return Is(c, SEPARATOR);
}

bool IsLoneSymbol(char c) {
    return c == '&' || c == '$';
}

bool IsNumber(std::string_view word) {
    return std::all_of(word.begin(), word.end(), IsNumberChar);
}

namespace {

// The lower case of every byte, worked out once: the word check lower-cases
// every typed token.
constexpr std::array<char, 256> LOWER_CASE = [] {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
        int lower = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xD6) || (b >= 0xD8 && b <= 0xDE)) {
            lower = b + 0x20;
        } else if (b == 0x8A || b == 0x8C || b == 0x8E) {
            lower = b + 0x10;
        } else if (b == 0x9F) {
            lower = 0xFF;
        }
        table[static_cast<std::size_t>(b)] = static_cast<char>(lower);
    }
    return table;
}();

}  // namespace

char ToLowerCp1252(char c) {
    return LOWER_CASE[Byte(c)];
}

void ToLowerCp1252(std::string& text) {
    for (char& c : text) {
        c = ToLowerCp1252(c);
    }
}

char ToUpperCp1252(char c) {
    const unsigned char b = Byte(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xF6) || (b >= 0xF8 && b <= 0xFE)) {
        return static_cast<char>(b - 0x20);
    }
    if (b == 0x9A || b == 0x9C || b == 0x9E) {
        return static_cast<char>(b - 0x10);
    }
    if (b == 0xFF) {
        return static_cast<char>(0x9F);
    }
    return c;
}

char FoldAccent(char c) {
    const unsigned char b = Byte(c);
    if (b < 0xE0) {
        return c;
    }
    // 0xE0..0xFF: à á â ã ä å æ ç è é ê ë ì í î ï ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    static constexpr char kBase[] =
        "aaaaaa\xE6\xE7"
        "eeeeiiii\xF0nooooo\xF7\xF8uuuuy\xFEy";
    static_assert(sizeof kBase == 0x20 + 1);
    return kBase[b - 0xE0];
}

void FoldAccents(std::string& text) {
    for (char& c : text) {
        c = FoldAccent(c);
    }
}

TokenShape ShapeOfToken(std::string_view w) {
    using Verdict = TokenShape::Verdict;
    const std::size_t size = w.size();
    if (size == 0 || (size == 1 && IsLoneSymbol(w[0]))) {
        return {Verdict::Correct};
    }
    // Lower-casing never moves a byte into or out of one of the classes, so
    // the shape can be read from the token as typed.
    std::size_t begin = 0;
    if (!IsWordChar(w[0])) {
        // One opening mark, followed by a word character.
        if (!IsOpeningMark(w[0]) || size < 2 || !IsWordChar(w[1])) {
            return {Verdict::Faulty};
        }
        begin = 1;
    }
    // w[begin] is a word character now, so whenever the last character is not
    // one, the word has at least two characters, and at least three when the
    // last two are not.
    std::size_t end = size;
    const std::size_t n = size - begin;
    const std::string_view rest = w.substr(begin);
    const char last = rest[n - 1];
    if (!IsWordChar(last)) {
        if (!IsClosingMark(last) && !IsSeparator(last)) {
            return {Verdict::Faulty};
        }
        const char beforeLast = rest[n - 2];
        const bool dots = n >= 4 && rest.substr(n - 3) == "...";
        if (IsWordChar(beforeLast)) {
            end -= 1;
        } else if (IsClosingMark(last)) {
            return {Verdict::Faulty};
        } else if (IsClosingMark(beforeLast) && IsWordChar(rest[n - 3])) {
            end -= 2;
        } else if (dots && IsWordChar(rest[n - 4])) {
            end -= 3;
        } else if (dots && n >= 5 && rest[n - 4] == ',' && IsWordChar(rest[n - 5])) {
            end -= 4;
        } else {
            return {Verdict::Faulty};
        }
    }
    if (IsNumber(w.substr(begin, end - begin))) {
        return {Verdict::Correct};
    }
    return {Verdict::Word, begin, end};
}

}  // namespace quirtel
