#include "core/results/StatisticsHistory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>

#include "core/files/FileDescriptor.h"
#include "core/files/RegularFile.h"
#include "core/results/HiddenRecords.h"

namespace quirtel {
namespace {

// Reads up to `size` bytes at `offset`; the count read (short at the end of
// the file), or -1 with errno set.
ssize_t ReadAt(int fd, char* buffer, std::size_t size, off_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string Decimal(double value, int decimals) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    return std::string(buffer.data(), result.ptr);
}

std::string ErrorReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return "acceso denegado";
        case EIO:
            return "error de entrada/salida";
        case ENAMETOOLONG:
        case ELOOP:
        case ENOTDIR:
            return "ruta no v\xE1lida";
        case EMFILE:
        case ENFILE:
            return "demasiados archivos abiertos";
        case ENOMEM:
            return "no hay memoria suficiente";
        default:
            return "error del sistema " + std::to_string(error);
    }
}

}  // namespace

void ParseStatisticsLog(std::string_view text, StatisticsHistory& history, std::uint64_t offset,
                        const HiddenRecords* hidden) {
    history.records.reserve(history.records.size() + text.size() / 100);
    history.lineOffsets.reserve(history.records.capacity());
    std::optional<HiddenRecords::Matcher> matcher;
    if (hidden != nullptr && !hidden->Empty()) {
        matcher.emplace(*hidden);
    }
    const char* const start = text.data();
    while (!text.empty()) {
        const void* found = std::memchr(text.data(), '\n', text.size());
        const std::size_t end =
            found == nullptr ? text.size() : static_cast<const char*>(found) - text.data();
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(found == nullptr ? end : end + 1);
        if (IsBlank(line)) {
            continue;
        }
        if (auto record = ParseStatisticsRecord(line)) {
            history.records.push_back(*record);
            history.lineOffsets.push_back(offset + static_cast<std::uint64_t>(line.data() - start));
            const bool isHidden = matcher && matcher->Take(line);
            history.hidden.push_back(isHidden);
            history.hiddenCount += isHidden ? 1 : 0;
        } else {
            ++history.unreadableLines;
        }
    }
}

void DropHidden(StatisticsHistory& history) {
    if (history.hiddenCount == 0) {
        return;
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < history.records.size(); ++i) {
        if (!history.hidden[i]) {
            history.records[kept] = history.records[i];
            history.lineOffsets[kept] = history.lineOffsets[i];
            ++kept;
        }
    }
    history.records.resize(kept);
    history.lineOffsets.resize(kept);
    history.hidden.assign(kept, false);
    history.hiddenCount = 0;
}

std::optional<std::string> ReadLogLine(const std::string& path, std::uint64_t offset) {
    constexpr std::size_t kMaxLine = 4096;
    FileDescriptor file;
    struct stat info {};
    if (!OpenFile(path, O_RDONLY, file, info).ok()) {
        return std::nullopt;
    }
    std::string line(kMaxLine + 1, '\0');
    const ssize_t got = ReadAt(file.Get(), line.data(), line.size(), static_cast<off_t>(offset));
    if (got <= 0) {
        return std::nullopt;
    }
    line.resize(static_cast<std::size_t>(got));
    const std::size_t end = line.find('\n');
    if (end == std::string::npos && line.size() > kMaxLine) {
        return std::nullopt;
    }
    line.resize(std::min(end, line.size()));
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

StatisticsHistory ReadStatisticsLog(const std::string& path, std::size_t maxBytes,
                                    const HiddenRecords* hidden) {
    StatisticsHistory history;
    // Opening a FIFO must not wait for a writer; it is refused before
    // anything is read.
    FileDescriptor file;
    struct stat info {};
    if (const FileResult opened = OpenFile(path, O_RDONLY, file, info); !opened.ok()) {
        if (opened.error == FileError::notRegularFile) {
            history.status = StatisticsHistory::Status::notAFile;
            return history;
        }
        history.error = opened.systemError;
        history.status = opened.systemError == ENOENT ? StatisticsHistory::Status::missing
                                                      : StatisticsHistory::Status::unreadable;
        return history;
    }
    history.fileBytes = static_cast<std::uint64_t>(info.st_size < 0 ? 0 : info.st_size);
    // Only the end of a large log: the newest records are the ones that
    // matter, and the whole of a log of gigabytes would not fit the memory.
    const std::uint64_t start = history.fileBytes > maxBytes ? history.fileBytes - maxBytes : 0;
    const auto wanted = static_cast<std::size_t>(history.fileBytes - start);
    // One byte before the start tells whether the first line read is whole.
    const std::size_t before = start > 0 ? 1 : 0;
    const auto buffer = std::make_unique_for_overwrite<char[]>(wanted + before);
    const ssize_t got =
        ReadAt(file.Get(), buffer.get(), wanted + before, static_cast<off_t>(start - before));
    if (got < 0) {
        history.error = errno;
        history.status = StatisticsHistory::Status::unreadable;
        return history;
    }
    std::string_view text(buffer.get(), static_cast<std::size_t>(got));
    if (before > 0 && !text.empty()) {
        const bool wholeFirstLine = text.front() == '\n';
        text.remove_prefix(1);
        if (!wholeFirstLine) {
            const std::size_t lineEnd = text.find('\n');
            text.remove_prefix(lineEnd == std::string_view::npos ? text.size() : lineEnd + 1);
        }
    }
    // A file that shrank while it was read counts as read whole.
    history.bytesRead = static_cast<std::size_t>(got) < wanted + before
                            ? history.fileBytes
                            : static_cast<std::uint64_t>(wanted);
    ParseStatisticsLog(text, history,
                       start - before + static_cast<std::uint64_t>(text.data() - buffer.get()),
                       hidden);
    return history;
}

std::string HistoryProblemText(const StatisticsHistory& history, const std::string& path) {
    switch (history.status) {
        case StatisticsHistory::Status::read:
            return {};
        case StatisticsHistory::Status::missing:
            return "A\xFAn no hay pruebas: no existe " + path + ".";
        case StatisticsHistory::Status::notAFile:
            return path +
                   " no es un archivo (es una carpeta, una tuber\xED"
                   "a o un dispositivo): no se lee.";
        case StatisticsHistory::Status::unreadable:
            return "No se puede leer " + path + ": " + ErrorReason(history.error) + ".";
    }
    return {};
}

std::string HistoryCutText(const StatisticsHistory& history) {
    if (!history.Cut()) {
        return {};
    }
    constexpr double kMebibyte = 1024.0 * 1024.0;
    return "El registro ocupa " + Decimal(static_cast<double>(history.fileBytes) / kMebibyte, 1) +
           " MiB: solo se han le\xED"
           "do las pruebas de sus \xFAltimos " +
           Decimal(static_cast<double>(history.bytesRead) / kMebibyte, 0) + " MiB.";
}

std::string HistoryUnreadableText(const StatisticsHistory& history) {
    if (history.unreadableLines == 0) {
        return {};
    }
    return "L\xED"
           "neas ilegibles (se han saltado): " +
           std::to_string(history.unreadableLines);
}

}  // namespace quirtel
