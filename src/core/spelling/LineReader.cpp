#include "core/spelling/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>

#include "core/files/RegularFile.h"
#include "core/spelling/MemoryBlock.h"

namespace quirtel::detail {

namespace {

// The file is read in pieces of this size through one buffer that stays in
// the cache; its bytes are then held only once, by whoever takes the lines.
constexpr std::size_t PIECE_BYTES = std::size_t{1} << 17;
constexpr std::size_t PAGE_BYTES = 4096;

}  // namespace

FileResult LineReader::Open(const std::string& name, std::size_t limit) {
    sizeHint = 0;
    maxBytes = std::min(limit, MAX_FILE_BYTES);
    // Anything but a regular file (directory, FIFO, device) counts as not
    // openable, so the load can neither block nor read an endless stream.
    struct stat info {};
    const FileResult opened = OpenFile(name, O_RDONLY, fd, info);
    if (!opened.ok()) {
        return opened;
    }
    sizeHint = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    if (sizeHint > maxBytes) {
        fd.Reset();
        return {FileError::tooLarge, 0};
    }
    return {};
}

bool LineReader::ReadWholeLines(const std::function<void(std::string_view)>& lines) {
    // The size is only a hint (the file may change, /proc files say 0); a
    // small file still gets a buffer that holds it whole, with a byte to spare
    // to see its end at once. The buffer starts on a page boundary: the
    // kernel copies a file's pages much faster to an address at the same
    // offset within a page (measured: several times faster than at offset 16,
    // where a plain allocation of this size starts).
    const std::size_t pieceSize =
        std::min(PIECE_BYTES, (sizeHint + PAGE_BYTES) / PAGE_BYTES * PAGE_BYTES);
    const MallocBlock<char> piece(
        static_cast<char*>(std::aligned_alloc(PAGE_BYTES, pieceSize + PAGE_BYTES)));
    if (!piece) {
        throw std::bad_alloc();
    }
    static_assert(PAD <= PAGE_BYTES);
    std::string partial;  // the start of a line that goes on in the next piece
    const auto passPartial = [&] {
        const std::size_t size = partial.size();
        partial.append(PAD, '\0');
        lines(std::string_view(partial.data(), size));
        partial.clear();
    };
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd.Get(), piece.get(), pieceSize);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            if (!partial.empty()) {
                passPartial();
            }
            return true;
        }
        total += static_cast<std::size_t>(got);
        if (total > maxBytes) {
            return false;
        }
        std::memset(piece.get() + got, 0, PAD);
        std::string_view bytes(piece.get(), static_cast<std::size_t>(got));
        const std::size_t lastEnd = bytes.rfind('\n');
        if (lastEnd == std::string_view::npos) {
            partial += bytes;
            continue;
        }
        if (!partial.empty()) {
            const std::size_t firstEnd = bytes.find('\n');
            partial += bytes.substr(0, firstEnd + 1);
            bytes.remove_prefix(firstEnd + 1);
            passPartial();
        }
        const std::size_t whole = lastEnd + 1 - (static_cast<std::size_t>(got) - bytes.size());
        if (whole > 0) {
            lines(bytes.substr(0, whole));
        }
        partial = bytes.substr(whole);
    }
}

}  // namespace quirtel::detail
