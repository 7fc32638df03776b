#pragma once

#include <string>
#include <string_view>

namespace quirtel {

// A per-user base folder of the XDG base directory rules: the value of the
// environment variable `xdgVariable` when it is an absolute path, else the
// home folder ($HOME, or the user's entry in the password database) followed
// by "/" and `homeRelative`. Empty when the user has no home folder.
std::string UserFolder(const char* xdgVariable, std::string_view homeRelative);

}  // namespace quirtel
