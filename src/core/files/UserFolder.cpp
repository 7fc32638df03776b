#include "core/files/UserFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace quirtel {

std::string UserFolder(const char* xdgVariable, std::string_view homeRelative) {
    if (const char* xdg = std::getenv(xdgVariable); xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    std::string home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
        home = env;
    } else {
        passwd entry{};
        passwd* found = nullptr;
        std::vector<char> buffer(16384);
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
            found != nullptr && found->pw_dir != nullptr) {
            home = found->pw_dir;
        }
    }
    if (home.empty()) {
        return {};
    }
    return home + "/" + std::string(homeRelative);
}

}  // namespace quirtel
