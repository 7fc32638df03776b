#include "core/common/Cp1252.h"

#include <array>
#include <cstdint>

namespace quirtel::cp1252 {
namespace {

// 0x80..0x9F; the rest of the upper half equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, 0 when ill-formed.
std::size_t DecodeOne(std::string_view text, std::size_t pos, char32_t& cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// The length of the run of ASCII bytes at the start of `text`: those convert
// to themselves either way, and are copied as a block rather than one by one.
std::size_t AsciiRun(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) {
        ++i;
    }
    return i;
}

}  // namespace

char32_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHigh[byte - 0x80];
    }
    return byte;
}

char FromUnicode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == codePoint) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

std::string ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    while (!cp1252.empty()) {
        const std::size_t ascii = AsciiRun(cp1252);
        out.append(cp1252.substr(0, ascii));
        cp1252.remove_prefix(ascii);
        if (!cp1252.empty()) {
            AppendUtf8(out, ToUnicode(static_cast<unsigned char>(cp1252.front())));
            cp1252.remove_prefix(1);
        }
    }
    return out;
}

std::string FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t ascii = AsciiRun(utf8.substr(pos));
        out.append(utf8.substr(pos, ascii));
        pos += ascii;
        if (pos == utf8.size()) {
            break;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeOne(utf8, pos, cp);
        if (length == 0) {
            out.push_back('?');
            ++pos;
        } else {
            out.push_back(FromUnicode(cp));
            pos += length;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos += AsciiRun(bytes.substr(pos));
        if (pos == bytes.size()) {
            break;
        }
        char32_t cp = 0;
        const std::size_t length = DecodeOne(bytes, pos, cp);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

}  // namespace quirtel::cp1252
