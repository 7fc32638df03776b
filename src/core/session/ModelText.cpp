#include "core/session/ModelText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/common/Cp1252.h"

namespace quirtel {

namespace {

ModelTextResult Failure(ModelTextError error, int err = 0) {
    ModelTextResult result;
    result.error = error;
    result.systemError = err;
    return result;
}

ModelTextError ErrorFromErrno(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return ModelTextError::notFound;
        case EACCES:
        case EPERM:
            return ModelTextError::accessDenied;
        case EISDIR:
        case ENXIO:
        case ENODEV:
            return ModelTextError::notRegularFile;
        default:
            return ModelTextError::readFailed;
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// A NUL byte, or control characters (other than whitespace) in more than a
// tenth of the bytes: no text a typist would copy.
bool LooksBinary(std::string_view bytes) {
    std::size_t controls = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            return true;
        }
        if ((byte < 0x20 && !IsBlank(c)) || byte == 0x7F) {
            ++controls;
        }
    }
    return controls * 10 > bytes.size();
}

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

std::string_view ModelTextKindName(ModelTextKind kind) {
    switch (kind) {
        case ModelTextKind::administrative:
            return "administrativo";
        case ModelTextKind::informative:
            return "informativo";
        case ModelTextKind::narrative:
            return "narrativo";
        case ModelTextKind::userFile:
            break;
    }
    return {};
}

ModelTextResult ReadModelTextFile(const std::string& path, std::size_t maxBytes,
                                  std::string& bytes) {
    bytes.clear();
    if (path.empty()) {
        return Failure(ModelTextError::notFound, ENOENT);
    }
    // O_NONBLOCK: a named pipe opens at once instead of waiting for a writer,
    // and is then refused as not regular.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        return Failure(ErrorFromErrno(err), err);
    }
    ModelTextResult result;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result = Failure(ModelTextError::readFailed, errno);
    } else if (!S_ISREG(info.st_mode)) {
        result = Failure(ModelTextError::notRegularFile);
    } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        result = Failure(ModelTextError::tooLarge);
    } else {
        // The size may change while reading: read one byte past the limit
        // to notice a file that grew beyond it.
        char buffer[65536];
        while (true) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                result = Failure(ModelTextError::readFailed, errno);
                break;
            }
            if (got == 0) {
                break;
            }
            bytes.append(buffer, static_cast<std::size_t>(got));
            if (bytes.size() > maxBytes) {
                result = Failure(ModelTextError::tooLarge);
                break;
            }
        }
    }
    ::close(fd);
    if (!result.ok()) {
        bytes.clear();
    }
    return result;
}

std::string ModelTextTitleFromPath(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) {
        name = name.substr(0, dot);
    }
    return std::string(name);
}

ModelTextResult LoadUserModelText(const std::string& path) {
    std::string bytes;
    ModelTextResult result = ReadModelTextFile(path, MODEL_TEXT_MAX_BYTES, bytes);
    if (!result.ok()) {
        return result;
    }
    if (LooksBinary(bytes)) {
        return Failure(ModelTextError::binary);
    }
    std::string_view content = bytes;
    std::string text;
    if (cp1252::IsValidUtf8(content)) {
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            content.remove_prefix(kByteOrderMark.size());
        }
        text = cp1252::FromUtf8(content);
    } else {
        text = bytes;
    }
    bool onlyBlanks = true;
    for (const char c : text) {
        if (!IsBlank(c)) {
            onlyBlanks = false;
            break;
        }
    }
    if (onlyBlanks) {
        return Failure(ModelTextError::empty);
    }
    result.model.text = NormalizeLineBreaks(text);
    result.model.kind = ModelTextKind::userFile;
    // File names are normally UTF-8; an old one in Windows-1252 is kept as is.
    const std::string title = ModelTextTitleFromPath(path);
    result.model.title = cp1252::IsValidUtf8(title) ? cp1252::FromUtf8(title) : title;
    return result;
}

}  // namespace quirtel
