#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The program's own command-line switches. Any other argument is a file name.
namespace quirtel {

// The UTF-8 text to print for "--help" (usage) or "--version", the first one
// given; nullopt when neither is among `args` (the arguments after the
// program's name) and the program should start.
std::optional<std::string> CommandLineAnswer(const std::vector<std::string_view>& args,
                                             std::string_view version);

}  // namespace quirtel
