#include "score/ScoreInput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

#include "core/common/Cp1252.h"
#include "core/files/FileDescriptor.h"
#include "core/files/RegularFile.h"

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
    // A named file may be a pipe (a shell's process substitution) or a
    // device: it is read up to the bound and no further.
    FileDescriptor file;
    struct stat info {};
    if (!path.empty() && !OpenFile(path, O_RDONLY, file, info, FileKind::waiting).ok()) {
        return {ScoreInput::Status::unreadable, {}};
    }
    const int fd = path.empty() ? STDIN_FILENO : file.Get();
    if (path.empty() && ::fstat(fd, &info) != 0) {
        info = {};
    }
    ScoreInput input;
    // A regular file's size says at once whether it is too large, and saves
    // growing the buffer step by step.
    if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return {ScoreInput::Status::tooLarge, {}};
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        input.bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    const FileResult read = ReadAll(fd, input.bytes, maxBytes);
    if (!read.ok()) {
        input.status = read.error == FileError::tooLarge ? ScoreInput::Status::tooLarge
                                                         : ScoreInput::Status::unreadable;
        input.bytes = std::string();
    }
    return input;
}

}  // namespace quirtel
