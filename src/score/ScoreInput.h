#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text that quirtel-score judges.
namespace quirtel {

// The Windows-1252 text of input bytes: UTF-8 when they are well-formed UTF-8
// (a leading byte order mark dropped, characters outside Windows-1252 as '?'),
// else taken as Windows-1252 already. CR LF and a lone CR become '\n'.
std::string DecodeScoreInput(std::string_view bytes);

// All bytes of the file at `path`, or of standard input when `path` is empty;
// nullopt when it cannot be opened or read (a folder, for example).
std::optional<std::string> ReadScoreInput(const std::string& path);

}  // namespace quirtel
