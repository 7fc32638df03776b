#include "score/ScoreInput.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "spelling/Cp1252.h"

namespace quirtel {

std::string DecodeScoreInput(std::string_view bytes) {
    std::string text;
    if (cp1252::IsValidUtf8(bytes)) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            bytes.remove_prefix(kByteOrderMark.size());
        }
        text = cp1252::FromUtf8(bytes);
    } else {
        text = bytes;
    }
    // Line ends are normalised here so that the text area and the line and
    // column numbers in the report see the same lines.
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            lines.push_back(text[i]);
        }
    }
    return lines;
}

std::optional<std::string> ReadScoreInput(const std::string& path) {
    const int fd = path.empty() ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    std::array<char, 65536> buffer;
    bool failed = false;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace quirtel
