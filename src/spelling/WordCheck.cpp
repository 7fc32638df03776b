#include "spelling/WordCheck.h"

#include <algorithm>

namespace quirtel {

namespace {

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

bool OneOf(char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
}

}  // namespace

bool IsWordChar(char c) {
    const unsigned char b = Byte(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9')) {
        return true;
    }
    return OneOf(c, "\xE1\xE9\xED\xF3\xFA\xF1\xC1\xC9\xCD\xD3\xDA\xD1");
}

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || OneOf(c, ".,-/*+");
}

bool IsOpeningMark(char c) {
    return OneOf(c, "\xBF\xA1\"({[<-+'");
}

bool IsClosingMark(char c) {
    return OneOf(c, "?!\")}]>'-%");
}

bool IsSeparator(char c) {
    return OneOf(c, ".,;:");
}

bool IsLoneSymbol(char c) {
    return c == '&' || c == '$';
}

bool IsNumber(std::string_view word) {
    return std::all_of(word.begin(), word.end(), IsNumberChar);
}

char ToLowerCp1252(char c) {
    const unsigned char b = Byte(c);
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xD6) || (b >= 0xD8 && b <= 0xDE)) {
        return static_cast<char>(b + 0x20);
    }
    if (b == 0x8A || b == 0x8C || b == 0x8E) {
        return static_cast<char>(b + 0x10);
    }
    if (b == 0x9F) {
        return static_cast<char>(0xFF);
    }
    return c;
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
