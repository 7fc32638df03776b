#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "core/files/FileDescriptor.h"
#include "core/files/FileResult.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quirtel::detail {

// Reading stops here (and reports a failure): positions and counts are kept
// in 32 bits, and nobody ships a word list of gigabytes.
inline constexpr std::size_t MAX_FILE_BYTES = std::size_t{1} << 31;
// A bucket holds at most a line per byte, and the last line without an end.
static_assert(MAX_FILE_BYTES + 1 <= std::uint32_t{0xFFFF'FFFF});

// Readable bytes that follow every run of lines handed over by LineReader:
// lines are copied PAD bytes at a time, since a copy of fixed size is much
// faster for short lines than one of their exact length.
inline constexpr std::size_t PAD = 32;

// Reads a regular file in runs of whole lines, without holding it whole.
class LineReader {
public:
    // Opens `name` for reading, a regular file only (notRegularFile for
    // anything else); never blocks on a FIFO. tooLarge, with the file not
    // opened, when it holds more than `maxBytes`; reading then also stops
    // after `maxBytes` in case it grows.
    FileResult Open(const std::string& name, std::size_t maxBytes = MAX_FILE_BYTES);
    // The file's size when it was opened; only a hint, the file may change.
    std::size_t SizeHint() const { return sizeHint; }

    // Reads the file to its end and hands it to lines(text) in runs of whole
    // lines, each ending with '\n' except the file's last line, which may lack
    // it; PAD readable bytes follow the end of every run. True when the whole
    // file was read; false after a read error or when the file passed
    // the bound given to Open, in which case a line cut off by the stop is not handed
    // over. Throws std::bad_alloc when the buffer cannot be had; exceptions
    // from `lines` pass through.
    bool ReadWholeLines(const std::function<void(std::string_view)>& lines);

private:
    FileDescriptor fd;
    std::size_t sizeHint = 0;
    std::size_t maxBytes = MAX_FILE_BYTES;
};

// Calls line(text) for each line of `text`, without its LF or CR LF; a last
// line without a line end counts too. For small files: ForEachLineFeed is
// the fast way through large ones.
template <typename F>
void ForEachLine(std::string_view text, F&& line) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view one = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!one.empty() && one.back() == '\r') {
            one.remove_suffix(1);
        }
        line(one);
    }
}

// Calls lineFeedAt(i) for each '\n' of `bytes`, in order.
// Most lines are a dozen bytes long, too short for memchr to pay off: this
// finds the line feeds of a block of bytes at once, and then walks them.
template <typename F>
void ForEachLineFeed(std::string_view bytes, F&& lineFeedAt) {
    const char* const begin = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    // One bit per byte of a 64-byte block, set where the byte is a line feed.
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const auto mask16 = [&](std::size_t at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(begin + at));
        const int bits = _mm_movemask_epi8(_mm_cmpeq_epi8(v, lineFeeds));
        return std::uint64_t{static_cast<std::uint16_t>(bits)};
    };
    for (; i + 64 <= size; i += 64) {
        std::uint64_t found =
            mask16(i) | (mask16(i + 16) << 16) | (mask16(i + 32) << 32) | (mask16(i + 48) << 48);
        for (; found != 0; found &= found - 1) {
            lineFeedAt(i + static_cast<std::size_t>(std::countr_zero(found)));
        }
    }
#else
    // Eight bytes at a time; the high bit of a byte of `found` is set exactly
    // where that byte is a line feed.
    constexpr std::uint64_t ONES = 0x0101010101010101ull;
    constexpr std::uint64_t LOW_SEVEN = 0x7F7F7F7F7F7F7F7Full;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t eight;
        std::memcpy(&eight, begin + i, sizeof eight);
        const std::uint64_t v = eight ^ (ONES * '\n');
        std::uint64_t found = ~(((v & LOW_SEVEN) + LOW_SEVEN) | v | LOW_SEVEN);
        while (found != 0) {
            int bit;
            if constexpr (std::endian::native == std::endian::little) {
                bit = std::countr_zero(found);
                found &= found - 1;
            } else {
                bit = std::countl_zero(found);
                found &= ~(std::uint64_t{1} << (63 - bit));
            }
            lineFeedAt(i + static_cast<std::size_t>(bit / 8));
        }
    }
#endif
    for (; i < size; ++i) {
        if (begin[i] == '\n') {
            lineFeedAt(i);
        }
    }
}

}  // namespace quirtel::detail
