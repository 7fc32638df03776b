#pragma once

#include <cstddef>
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

// What the word check makes of a token's shape, before any lookup.
struct TokenShape {
    enum class Verdict {
        Correct,  // empty, a lone symbol or a number: correct whatever the list holds
        Faulty,   // a shape the check refuses whatever the list holds
        Word,     // token[begin, end) is the word to look up, once lower-cased
    };
    Verdict verdict = Verdict::Faulty;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Strips at most one opening mark in front of `token` and a closing mark, a
// separator, both, "..." or ",..." behind it, as the word check does.
TokenShape ShapeOfToken(std::string_view token);

// The Windows-1252 lower case of one byte: A-Z, 0xC0-0xD6 and 0xD8-0xDE move up
// by 0x20, Š Œ Ž become š œ ž, Ÿ becomes ÿ; every other byte is unchanged.
char ToLowerCp1252(char c);
// Lower-cases every byte of `text` in place.
void ToLowerCp1252(std::string& text);
// The Windows-1252 upper case of one byte, the inverse of ToLowerCp1252 where
// it changes the byte; every other byte is unchanged.
char ToUpperCp1252(char c);

// The base letter of a lower-case vowel with an accent, a diaeresis, a grave
// or a circumflex (á à â ä ã å -> a ...), of ñ (n) and of ý ÿ (y); every
// other byte is unchanged. Two words that differ only in such marks have the
// same folded form.
char FoldAccent(char c);
// Folds every byte of `text` in place.
void FoldAccents(std::string& text);

}  // namespace quirtel
