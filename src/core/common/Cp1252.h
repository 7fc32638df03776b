#pragma once

#include <string>
#include <string_view>

// Windows-1252 is the program's text encoding: typed text, the word list, the
// statistics log. These helpers convert at the boundaries (Qt, UTF-8 files).
namespace quirtel::cp1252 {

// The Unicode code point of one Windows-1252 byte. The five bytes that
// Windows-1252 leaves undefined (0x81 0x8D 0x8F 0x90 0x9D) map to the C1
// controls of the same value, as the platform's converters do.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or '?' when it has none.
char FromUnicode(char32_t codePoint);

// Whole strings. FromUtf8 turns each ill-formed sequence into one '?'.
std::string ToUtf8(std::string_view cp1252);
std::string FromUtf8(std::string_view utf8);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

}  // namespace quirtel::cp1252
