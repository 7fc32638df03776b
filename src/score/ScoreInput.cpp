#include "score/ScoreInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "core/common/Cp1252.h"

namespace quirtel {

std::string DecodeScoreInput(std::string_view bytes) {
    return DecodeScoreInput(std::string(bytes));
}

std::string DecodeScoreInput(std::string&& input) {
    std::string_view bytes = input;
    std::string text;
    if (cp1252::IsValidUtf8(bytes)) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            bytes.remove_prefix(kByteOrderMark.size());
        }
        text = cp1252::FromUtf8(bytes);
    } else {
        text = std::move(input);
    }
    // Line ends are normalised here so that the text area and the line and
    // column numbers in the report see the same lines. The text between
    // carriage returns is copied in blocks; without any, it stays as it is.
    if (text.find('\r') == std::string::npos) {
        return text;
    }
    std::string lines;
    lines.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', from)) {
        lines.append(text, from, cr - from);
        lines.push_back('\n');
        from = cr + (cr + 1 < text.size() && text[cr + 1] == '\n' ? 2 : 1);
    }
    lines.append(text, from);
    return lines;
}

ScoreInput ReadScoreInput(const std::string& path, std::size_t maxBytes) {
    const int fd = path.empty() ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {ScoreInput::Status::unreadable, {}};
    }
    ScoreInput input;
    // A regular file's size says at once whether it is too large; anything
    // else (a pipe, a device) is read up to the bound and no further.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        input.status = ScoreInput::Status::tooLarge;
    }
    // The file's size saves growing the buffer step by step.
    if (input.status == ScoreInput::Status::read && S_ISREG(info.st_mode) && info.st_size > 0) {
        input.bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::array<char, 65536> buffer;
    while (input.status == ScoreInput::Status::read) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            input.status = ScoreInput::Status::unreadable;
        } else if (got == 0) {
            break;
        } else if (input.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            input.status = ScoreInput::Status::tooLarge;
        } else {
            input.bytes.append(buffer.data(), static_cast<std::size_t>(got));
        }
    }
    if (fd != STDIN_FILENO) {
        ::close(fd);
    }
    if (input.status != ScoreInput::Status::read) {
        input.bytes = std::string();
    }
    return input;
}

}  // namespace quirtel
