#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/spelling/MemoryBlock.h"

namespace quirtel::detail {

inline constexpr int BUCKET_COUNT = 31;
inline constexpr int LONG_WORD_BUCKET = 30;

// The bucket that holds entries, and is searched for words, of `length` bytes.
inline int BucketOf(std::size_t length) {
    return static_cast<int>(std::min<std::size_t>(length, LONG_WORD_BUCKET));
}

// The entries of a word list split by length: bucket k holds the entries of
// k bytes, LONG_WORD_BUCKET those of LONG_WORD_BUCKET bytes or more, each in
// file order with duplicates kept. Filled by Reserve, AppendLines and Finish,
// in that order; read only afterwards.
class WordBuckets {
public:
    // Prepares for a file of about `sizeHint` bytes. Throws std::bad_alloc.
    void Reserve(std::size_t sizeHint);
    // Appends each line of `lines` (whole lines, each ended by LF or CR LF but
    // the file's last one) to its bucket. At least PAD readable bytes follow
    // `lines`. Throws std::bad_alloc.
    void AppendLines(std::string_view lines);
    // Ends the filling and gives back spare memory.
    void Finish();

    // The entry at `position` of `bucket`; both must be in range.
    std::string_view Entry(int bucket, std::size_t position) const {
        if (bucket == LONG_WORD_BUCKET) {
            const std::size_t start = longStarts[position];
            return std::string_view(longBytes.data.get() + start, longStarts[position + 1] - start);
        }
        if (bucket == 0) {
            return std::string_view();
        }
        const auto length = static_cast<std::size_t>(bucket);
        const std::size_t within = position & ((std::size_t{1} << segmentShift) - 1);
        return std::string_view(
            shortBytes.get() + segmentsOf[bucket][position >> segmentShift] + within * length,
            length);
    }
    // Number of entries in `bucket` (0..BUCKET_COUNT-1).
    std::uint32_t Size(int bucket) const { return bucketSize[bucket]; }
    // Number of entries in all buckets, once finished.
    std::size_t EntryCount() const { return entryCount; }
    // Bytes of memory the entries occupy.
    std::size_t MemoryBytes() const;

    // Calls entries(position, entry) for each entry of short bucket `bucket`
    // (1..LONG_WORD_BUCKET-1) in order, walking its segments directly.
    template <typename F>
    void ForEachShortEntry(int bucket, F&& entries) const {
        const std::uint32_t n = bucketSize[bucket];
        const auto length = static_cast<std::size_t>(bucket);
        const std::uint32_t perSegment = std::uint32_t{1} << segmentShift;
        std::uint32_t position = 0;
        for (const std::size_t segment : segmentsOf[bucket]) {
            const char* entry = shortBytes.get() + segment;
            const std::uint32_t last = std::min(n, position + perSegment);
            for (; position < last; ++position, entry += length) {
                entries(position, std::string_view(entry, length));
            }
        }
    }

private:
    // The free part of the segment that a short bucket's next entry goes to.
    struct Cursor {
        char* write = nullptr;
        char* end = nullptr;
    };

    void AppendShortSlowly(int bucket, const char* from, std::size_t length);
    void StartSegment(int bucket);

    // The short buckets 0..LONG_WORD_BUCKET-1, each in file order. They share
    // one block of segments of 2^segmentShift entries; a bucket k's segment
    // holds its entries back to back, k bytes each, and segmentsOf[k] lists
    // where its segments start. Bucket 0 needs no bytes.
    MallocBlock<char> shortBytes;
    std::size_t shortBytesUsed = 0;
    std::size_t shortBytesCapacity = 0;
    int segmentShift = 0;
    std::array<std::vector<std::size_t>, LONG_WORD_BUCKET> segmentsOf;
    std::array<Cursor, LONG_WORD_BUCKET> cursors{};  // while filling

    // The long bucket, found by its entries' start offsets (plus its end).
    GrowingBytes longBytes;
    std::vector<std::size_t> longStarts;

    std::array<std::uint32_t, BUCKET_COUNT> bucketSize{};
    std::size_t entryCount = 0;
};

}  // namespace quirtel::detail
