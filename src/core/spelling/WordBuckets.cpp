#include "core/spelling/WordBuckets.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/spelling/LineReader.h"

namespace quirtel::detail {

void WordBuckets::Reserve(std::size_t sizeHint) {
    // Segments of a few hundred bytes for small files, up to some tens of
    // kilobytes for large ones: each bucket leaves at most one segment
    // partly empty.
    const auto sizeBits = static_cast<int>(std::bit_width(std::min(sizeHint, MAX_FILE_BYTES)));
    segmentShift = std::clamp(sizeBits - 14, 4, 10);
    // All short entries of the file as it is now, plus a partly empty
    // segment per bucket; a file that grows meanwhile makes the block grow.
    std::size_t wanted = std::min(sizeHint, MAX_FILE_BYTES);
    for (std::size_t k = 1; k < LONG_WORD_BUCKET; ++k) {
        wanted += k << segmentShift;
    }
    shortBytes.reset(static_cast<char*>(std::malloc(wanted)));
    if (!shortBytes) {
        throw std::bad_alloc();
    }
    shortBytesCapacity = wanted;
    AdviseHugePages(shortBytes.get(), wanted);
}

void WordBuckets::AppendLines(std::string_view lines) {
    // The one loop that every byte of the file goes through: kept small.
    const char* const text = lines.data();
    std::size_t start = 0;
    const auto append = [&](std::size_t length) {
        const char* const from = text + start;
        if (length - 1 < std::size_t{LONG_WORD_BUCKET - 1}) {
            Cursor& cursor = cursors[length];
            if (cursor.end - cursor.write >= static_cast<std::ptrdiff_t>(PAD)) {
                std::memcpy(cursor.write, from, PAD);
                cursor.write += length;
            } else {
                AppendShortSlowly(static_cast<int>(length), from, length);
            }
        } else if (length == 0) {
            ++bucketSize[0];
        } else {
            longStarts.push_back(longBytes.size);
            longBytes.Append(std::string_view(from, length));
            ++bucketSize[LONG_WORD_BUCKET];
        }
    };
    ForEachLineFeed(lines, [&](std::size_t lf) {
        // CR LF ends a line like LF.
        append(lf - start - (lf > start && text[lf - 1] == '\r' ? 1 : 0));
        start = lf + 1;
    });
    // The file's last line, without a line end: a CR in it is its own.
    if (start != lines.size()) {
        append(lines.size() - start);
    }
}

void WordBuckets::AppendShortSlowly(int bucket, const char* from, std::size_t length) {
    // Near the end of a segment only the entry's own bytes may be written:
    // the bytes after the segment belong to another one.
    if (cursors[bucket].end - cursors[bucket].write < static_cast<std::ptrdiff_t>(length)) {
        StartSegment(bucket);
    }
    Cursor& cursor = cursors[bucket];
    std::memcpy(cursor.write, from, length);
    cursor.write += length;
}

void WordBuckets::StartSegment(int bucket) {
    const std::size_t bytes = static_cast<std::size_t>(bucket) << segmentShift;
    if (shortBytesCapacity - shortBytesUsed < bytes) {
        // The file has grown since its size was taken. The cursors move with
        // the block.
        std::array<std::size_t, LONG_WORD_BUCKET> writeAt{};
        std::array<std::size_t, LONG_WORD_BUCKET> endAt{};
        for (int k = 1; k < LONG_WORD_BUCKET; ++k) {
            if (cursors[k].write != nullptr) {
                writeAt[k] = static_cast<std::size_t>(cursors[k].write - shortBytes.get());
                endAt[k] = static_cast<std::size_t>(cursors[k].end - shortBytes.get());
            }
        }
        const std::size_t wanted = std::max(shortBytesCapacity * 2, shortBytesUsed + bytes);
        auto* grown = static_cast<char*>(std::realloc(shortBytes.get(), wanted));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        static_cast<void>(shortBytes.release());
        shortBytes.reset(grown);
        shortBytesCapacity = wanted;
        AdviseHugePages(grown, wanted);
        for (int k = 1; k < LONG_WORD_BUCKET; ++k) {
            if (cursors[k].write != nullptr) {
                cursors[k] = Cursor{grown + writeAt[k], grown + endAt[k]};
            }
        }
    }
    segmentsOf[bucket].push_back(shortBytesUsed);
    char* const begin = shortBytes.get() + shortBytesUsed;
    cursors[bucket] = Cursor{begin, begin + bytes};
    shortBytesUsed += bytes;
}

void WordBuckets::Finish() {
    // A short bucket's size follows from its segments and its cursor.
    for (int k = 1; k < LONG_WORD_BUCKET; ++k) {
        const std::vector<std::size_t>& segments = segmentsOf[k];
        if (!segments.empty()) {
            const char* const last = shortBytes.get() + segments.back();
            const auto inLast = static_cast<std::size_t>(cursors[k].write - last) / k;
            bucketSize[k] =
                static_cast<std::uint32_t>(((segments.size() - 1) << segmentShift) + inLast);
        }
    }
    cursors = {};
    if (shortBytesUsed == 0) {
        shortBytes.reset();
        shortBytesCapacity = 0;
    } else if (shortBytesUsed < shortBytesCapacity) {
        // Gives back what the file did not need; the segments are found by
        // their offsets, so the block may move.
        if (auto* fitted = static_cast<char*>(std::realloc(shortBytes.get(), shortBytesUsed))) {
            static_cast<void>(shortBytes.release());
            shortBytes.reset(fitted);
            shortBytesCapacity = shortBytesUsed;
        }
    }
    for (std::vector<std::size_t>& segments : segmentsOf) {
        segments.shrink_to_fit();
    }
    longBytes.Fit();
    longStarts.push_back(longBytes.size);
    longStarts.shrink_to_fit();
    entryCount = 0;
    for (const std::uint32_t size : bucketSize) {
        entryCount += size;
    }
}

std::size_t WordBuckets::MemoryBytes() const {
    std::size_t bytes =
        shortBytesCapacity + longBytes.capacity + longStarts.capacity() * sizeof(std::size_t);
    for (const std::vector<std::size_t>& segments : segmentsOf) {
        bytes += segments.capacity() * sizeof(std::size_t);
    }
    return bytes;
}

}  // namespace quirtel::detail
