#pragma once

#include <string>
#include <string_view>

// The character classes and the case mapping of the word check. All of them
// work on Windows-1252 bytes and need no state.
namespace quirtel {

// a-z, A-Z, 0-9 and the Spanish letters á é í ó ú ñ Á É Í Ó Ú Ñ.
bool IsWordChar(char c);
// 0-9 and . , - / * +
bool IsNumberChar(char c);
// Marks allowed in front of a word: ¿ ¡ " ( { [ < - + '
bool IsOpeningMark(char c);
// Marks allowed behind a word: ? ! " ) } ] > ' - %
bool IsClosingMark(char c);
// Punctuation allowed behind a word: . , ; :
bool IsSeparator(char c);
// Symbols accepted as a token of their own: & $
bool IsLoneSymbol(char c);

// True when every character of `word` is a number character (also when empty).
bool IsNumber(std::string_view word);

// The Windows-1252 lower case of one byte: A-Z, 0xC0-0xD6 and 0xD8-0xDE move up
// by 0x20, Š Œ Ž become š œ ž, Ÿ becomes ÿ; every other byte is unchanged.
char ToLowerCp1252(char c);
// Lower-cases every byte of `text` in place.
void ToLowerCp1252(std::string& text);

}  // namespace quirtel
