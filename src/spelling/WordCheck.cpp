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

}  // namespace quirtel
