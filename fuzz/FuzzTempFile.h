#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

namespace quirtel::fuzz {

// A file of this process's own under the temporary directory, rewritten by
// Write and removed when the process ends normally.
class FuzzTempFile {
public:
    explicit FuzzTempFile(std::string_view name) {
        const char* base = std::getenv("TMPDIR");
        path = std::string(base != nullptr ? base : "/tmp") + "/quirtel-fuzz-" +
               std::to_string(::getpid()) + "-" + std::string(name);
    }
    ~FuzzTempFile() { ::unlink(path.c_str()); }
    FuzzTempFile(const FuzzTempFile&) = delete;
    FuzzTempFile& operator=(const FuzzTempFile&) = delete;

    const std::string& Write(std::string_view bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string path;
};

}  // namespace quirtel::fuzz
