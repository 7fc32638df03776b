#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text that quirtel-score judges.
namespace quirtel {

// The Windows-1252 text of input bytes: UTF-8 when they are well-formed UTF-8
// (a leading byte order mark dropped, characters outside Windows-1252 as '?'),
// else taken as Windows-1252 already. CR LF and a lone CR become '\n'.
std::string DecodeScoreInput(std::string_view bytes);
// The same, reusing the bytes' own storage where it can.
std::string DecodeScoreInput(std::string&& bytes);

// The most bytes quirtel-score reads from a file or standard input: many
// times any typed text, and a bound on endless input (/dev/zero, `yes |`).
inline constexpr std::size_t MAX_SCORE_INPUT_BYTES = std::size_t{64} << 20;

// What reading the input gave.
struct ScoreInput {
    enum class Status { read, unreadable, tooLarge };
    Status status = Status::read;
    std::string bytes;  // all of them when read, else empty
};

// All bytes of the file at `path`, or of standard input when `path` is empty.
// unreadable when it cannot be opened or read (a folder, for example);
// tooLarge, without reading on, once it holds more than `maxBytes`.
ScoreInput ReadScoreInput(const std::string& path, std::size_t maxBytes = MAX_SCORE_INPUT_BYTES);

}  // namespace quirtel
