#include "spelling/WordList.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/MessagePrompt.h"
#include "spelling/WordCheck.h"

namespace quirtel {

namespace {

// Reading stops here (and reports a failure): positions and counts are kept
// in 32 bits, and nobody ships a word list of gigabytes.
constexpr std::size_t MAX_FILE_BYTES = std::size_t{1} << 31;
// A bucket holds at most a line per byte, and the last line without an end.
static_assert(MAX_FILE_BYTES + 1 <= std::uint32_t{0xFFFF'FFFF});

// Lines are copied PAD bytes at a time: a copy of fixed size is much faster
// for short lines than one of their exact length.
constexpr std::size_t PAD = 32;

// The file is read in pieces of this size through one buffer that stays in
// the cache; its bytes are then held only once, in the buckets.
constexpr std::size_t PIECE_BYTES = std::size_t{1} << 17;
constexpr std::size_t PAGE_BYTES = 4096;

// Entries per index group, on average.
constexpr std::uint32_t GROUP_SIZE = 4;

struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() { ::close(fd); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

private:
    int fd;
};

// Opens `name` for reading; -1 unless it is a regular file. `size` gets the
// file's size as it is now.
int OpenRegularFile(const std::string& name, std::size_t& size) {
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; anything
    // but a regular file (directory, FIFO, device) counts as not openable, so
    // the load can neither block nor read an endless stream.
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags != -1) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    size = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    return fd;
}

// Asks for huge pages for a large block: fresh memory costs one fault per
// page, and a fault per 4 KiB page costs more than clearing the page. A hint
// only; the block works the same without.
void AdviseHugePages(void* block, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t HUGE_PAGE = std::uintptr_t{1} << 21;
    const auto first = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t begin = (first + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const std::uintptr_t end = (first + bytes) & ~(HUGE_PAGE - 1);
    if (end > begin) {
        static_cast<void>(::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE));
    }
#else
    static_cast<void>(block);
    static_cast<void>(bytes);
#endif
}

std::uint64_t Load64(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t Load32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
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
        const std::uint64_t v = Load64(begin + i) ^ (ONES * '\n');
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

// Reads the file behind `fd` to its end and hands it to lines(text) in runs
// of whole lines, each ending with '\n' except the file's last line, which may
// lack it; PAD readable bytes follow the end of every run. True when the whole
// file was read; false after a read error or when the file passed
// MAX_FILE_BYTES, in which case a line cut off by the stop is not handed over.
template <typename F>
bool ReadWholeLines(int fd, std::size_t sizeHint, F&& lines) {
    // The size is only a hint (the file may change, /proc files say 0); a
    // small file still gets a buffer that holds it whole, with a byte to spare
    // to see its end at once. The buffer starts on a page boundary: the
    // kernel copies a file's pages much faster to an address at the same
    // offset within a page (measured: several times faster than at offset 16,
    // where a plain allocation of this size starts).
    const std::size_t pieceSize =
        std::min(PIECE_BYTES, (sizeHint + PAGE_BYTES) / PAGE_BYTES * PAGE_BYTES);
    const std::unique_ptr<char, FreeBlock> piece(
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
        const ssize_t got = ::read(fd, piece.get(), pieceSize);
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
        if (total > MAX_FILE_BYTES) {
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

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// The index's 32-bit hash of a word. Words of up to 16 bytes, nearly all of
// them, are read as two (possibly overlapping) 8- or 4-byte values whose full
// 128-bit product is folded into 64 bits: one multiplication mixes every bit
// of both. Longer ones go through a chain of bijective steps.
inline std::uint32_t HashWord(std::string_view word) {
    const char* p = word.data();
    const std::size_t n = word.size();
    const std::uint64_t seed = 0x9E3779B97F4A7C15ull * (n + 1);
    std::uint64_t h;
    if (n > 16) {
        h = seed;
        const char* const last = p + n - 8;
        for (; p < last; p += 8) {
            h = Mix(h ^ Load64(p));
        }
        h = Mix(h ^ Load64(last));
    } else {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        if (n >= 8) {
            a = Load64(p);
            b = Load64(p + n - 8);
        } else if (n >= 4) {
            a = Load32(p);
            b = Load32(p + n - 4);
        } else if (n > 0) {
            const auto byte = [p](std::size_t i) {
                return std::uint64_t{static_cast<unsigned char>(p[i])};
            };
            a = byte(0) | (byte(n / 2) << 8) | (byte(n - 1) << 16);
        }
        __extension__ using Wide = unsigned __int128;
        const Wide product =
            static_cast<Wide>(a ^ seed ^ 0xA0761D6478BD642Full) * (b ^ 0xE7037ED1A0B428DBull);
        h = static_cast<std::uint64_t>(product >> 64) ^ static_cast<std::uint64_t>(product);
    }
    return static_cast<std::uint32_t>(h >> 32);
}

// The group of a hash among `groups`: its high bits, mapped without a division.
std::uint32_t GroupOf(std::uint32_t hash, std::uint32_t groups) {
    return static_cast<std::uint32_t>((std::uint64_t{hash} * groups) >> 32);
}

}  // namespace

void WordList::Free::operator()(void* block) const {
    std::free(block);
}

void WordList::Bytes::Reserve(std::size_t wanted) {
    if (wanted <= capacity) {
        return;
    }
    wanted = std::max({wanted, capacity * 2, std::size_t{256}});
    auto* grown = static_cast<char*>(std::realloc(data.get(), wanted));
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    static_cast<void>(data.release());
    data.reset(grown);
    capacity = wanted;
}

void WordList::Bytes::Append(std::string_view more) {
    Reserve(size + more.size());
    if (!more.empty()) {
        std::memcpy(data.get() + size, more.data(), more.size());
        size += more.size();
    }
}

void WordList::Bytes::Fit() {
    if (size == 0) {
        data.reset();
        capacity = 0;
        return;
    }
    if (size == capacity) {
        return;
    }
    // Shrinking in place or by remapping; if it fails, the larger block serves.
    if (auto* fitted = static_cast<char*>(std::realloc(data.get(), size))) {
        static_cast<void>(data.release());
        data.reset(fitted);
        capacity = size;
    }
}

WordList::WordList(std::string fileName, MessagePrompt* prompt)
    : fileName(std::move(fileName)), prompt(prompt) {
    if (!this->fileName.empty()) {
        Load(this->fileName);
    }
}

WordList::~WordList() = default;

void WordList::Load(const std::string& name) {
    fileName = name;
    Clear();
    std::size_t size = 0;
    const int fd = OpenRegularFile(name, size);
    if (fd < 0) {
        ReportFailure();
        return;
    }
    const FileDescriptor closer(fd);
    bool complete = false;
    try {
        // Segments of a few hundred bytes for small files, up to some tens of
        // kilobytes for large ones: each bucket leaves at most one segment
        // partly empty.
        const auto sizeBits = static_cast<int>(std::bit_width(std::min(size, MAX_FILE_BYTES)));
        segmentShift = std::clamp(sizeBits - 14, 4, 10);
        // All short entries of the file as it is now, plus a partly empty
        // segment per bucket; a file that grows meanwhile makes the block grow.
        std::size_t wanted = std::min(size, MAX_FILE_BYTES);
        for (std::size_t k = 1; k < LONG_WORD_BUCKET; ++k) {
            wanted += k << segmentShift;
        }
        shortBytes.reset(static_cast<char*>(std::malloc(wanted)));
        if (!shortBytes) {
            throw std::bad_alloc();
        }
        shortBytesCapacity = wanted;
        AdviseHugePages(shortBytes.get(), wanted);

        complete = ReadWholeLines(fd, size, [this](std::string_view lines) { AppendLines(lines); });
        FinishBuckets();
        BuildIndex();
        loaded = true;
    } catch (const std::bad_alloc&) {
        // Out of memory: nothing consistent is left, so the list acts as one
        // that could not be read (it accepts every word) rather than as an
        // empty one (which would reject every word).
        Clear();
        complete = false;
    }
    if (!complete) {
        ReportFailure();
    }
}

void WordList::Clear() {
    loaded = false;
    shortBytes.reset();
    shortBytesUsed = 0;
    shortBytesCapacity = 0;
    segmentShift = 0;
    segmentsOf = {};
    cursors = {};
    longBytes = {};
    longStarts = std::vector<std::size_t>();
    bucketSize.fill(0);
    entryCount = 0;
    index.reset();
    indexSize = 0;
    groupCount.fill(0);
    startsAt.fill(0);
    orderAt.fill(0);
    indexEntryBits = 0;
}

void WordList::AppendLines(std::string_view lines) {
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

void WordList::AppendShortSlowly(int bucket, const char* from, std::size_t length) {
    // Near the end of a segment only the entry's own bytes may be written:
    // the bytes after the segment belong to another one.
    if (cursors[bucket].end - cursors[bucket].write < static_cast<std::ptrdiff_t>(length)) {
        StartSegment(bucket);
    }
    Cursor& cursor = cursors[bucket];
    std::memcpy(cursor.write, from, length);
    cursor.write += length;
}

void WordList::StartSegment(int bucket) {
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

void WordList::FinishBuckets() {
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

void WordList::BuildIndex() {
    // Bucket 0 needs no index: all its entries are equal.
    std::uint32_t largest = 0;
    std::size_t size = 0;
    for (int k = 1; k < BUCKET_COUNT; ++k) {
        const std::uint32_t n = bucketSize[k];
        if (n == 0) {
            continue;
        }
        groupCount[k] = n / GROUP_SIZE + 1;
        startsAt[k] = size;
        size += groupCount[k] + 1;
        orderAt[k] = size;
        size += n;
        largest = std::max(largest, n);
    }
    indexEntryBits = static_cast<int>(std::bit_width(largest));
    if (size == 0) {
        return;
    }
    // Every element is written below: no need to clear the block first.
    index.reset(static_cast<std::uint32_t*>(std::malloc(size * sizeof(std::uint32_t))));
    const std::unique_ptr<std::uint32_t, Free> hashes(
        static_cast<std::uint32_t*>(std::malloc(largest * sizeof(std::uint32_t))));
    if (!index || !hashes) {
        throw std::bad_alloc();
    }
    indexSize = size;
    AdviseHugePages(index.get(), size * sizeof(std::uint32_t));

    // A counting sort of each bucket's entries by group: two passes in
    // bucket order, no comparison of words and no probing, so the time does
    // not depend on how the hashes fall (a hash table's inserts wait on a
    // branch per probe that no processor can predict). Each pass works in one
    // bucket's part of the index at a time.
    for (int k = 1; k < BUCKET_COUNT; ++k) {
        const std::uint32_t n = bucketSize[k];
        if (n == 0) {
            continue;
        }
        const std::uint32_t groups = groupCount[k];
        std::uint32_t* const starts = index.get() + startsAt[k];
        std::uint32_t* const order = index.get() + orderAt[k];
        std::fill(starts, starts + groups + 1, 0);
        std::uint32_t* const hash = hashes.get();
        if (k < LONG_WORD_BUCKET) {
            // Segment by segment: the entries of one lie back to back.
            const auto length = static_cast<std::size_t>(k);
            const std::uint32_t perSegment = std::uint32_t{1} << segmentShift;
            std::uint32_t position = 0;
            for (const std::size_t segment : segmentsOf[k]) {
                const char* entry = shortBytes.get() + segment;
                const std::uint32_t last = std::min(n, position + perSegment);
                for (; position < last; ++position, entry += length) {
                    hash[position] = HashWord(std::string_view(entry, length));
                    ++starts[GroupOf(hash[position], groups) + 1];
                }
            }
        } else {
            for (std::uint32_t position = 0; position < n; ++position) {
                hash[position] = HashWord(Entry(k, position));
                ++starts[GroupOf(hash[position], groups) + 1];
            }
        }
        for (std::uint32_t g = 1; g <= groups; ++g) {
            starts[g] += starts[g - 1];
        }
        // starts[g] serves as group g's fill mark, which ends at the start of
        // group g + 1; moving them all up by one restores the starts.
        for (std::uint32_t position = 0; position < n; ++position) {
            const std::uint32_t h = hash[position];
            const auto tag = static_cast<std::uint32_t>(std::uint64_t{h} << indexEntryBits);
            order[starts[GroupOf(h, groups)]++] = tag | position;
        }
        std::memmove(starts + 1, starts, groups * sizeof(std::uint32_t));
        starts[0] = 0;
    }
}

std::string_view WordList::Entry(int bucket, std::size_t position) const {
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
        shortBytes.get() + segmentsOf[bucket][position >> segmentShift] + within * length, length);
}

bool WordList::Contains(std::string_view word) const {
    if (!loaded) {
        return true;
    }
    const int bucket = BucketOf(word.size());
    if (bucketSize[bucket] == 0) {
        return false;
    }
    if (bucket == 0) {
        return true;
    }
    const std::uint32_t h = HashWord(word);
    const std::uint32_t* const starts = index.get() + startsAt[bucket];
    const std::uint32_t* const order = index.get() + orderAt[bucket];
    const std::uint32_t group = GroupOf(h, groupCount[bucket]);
    const auto positionMask = static_cast<std::uint32_t>((std::uint64_t{1} << indexEntryBits) - 1);
    const auto tag = static_cast<std::uint32_t>(std::uint64_t{h} << indexEntryBits);
    for (std::uint32_t i = starts[group]; i < starts[group + 1]; ++i) {
        const std::uint32_t value = order[i];
        if ((value & ~positionMask) == tag && Entry(bucket, value & positionMask) == word) {
            return true;
        }
    }
    return false;
}

bool WordList::ContainsLinear(std::string_view word) const {
    if (!loaded) {
        return true;
    }
    for (const std::string_view entry : Bucket(BucketOf(word.size()))) {
        if (entry == word) {
            return true;
        }
    }
    return false;
}

bool WordList::CheckWord(std::string token) const {
    std::string& w = token;
    if (w.empty()) {
        return true;
    }
    if (w.size() == 1) {
        if (IsLoneSymbol(w[0])) {
            return true;
        }
        if (!IsWordChar(w[0])) {
            return false;
        }
    }
    ToLowerCp1252(w);

    // The front: a word character, or one opening mark followed by one.
    if (!IsWordChar(w[0])) {
        if (!IsOpeningMark(w[0])) {
            return false;
        }
        w.erase(0, 1);
        if (w.empty() || !IsWordChar(w[0])) {
            return false;
        }
    }

    // The end. w[0] is a word character now, so whenever the last character is
    // not one, the word has at least two characters, and at least three when
    // the last two are not.
    const std::size_t n = w.size();
    const char last = w[n - 1];
    if (!IsWordChar(last)) {
        if (!IsClosingMark(last) && !IsSeparator(last)) {
            return false;
        }
        const char beforeLast = w[n - 2];
        if (IsWordChar(beforeLast)) {
            w.resize(n - 1);
        } else if (IsClosingMark(last)) {
            return false;
        } else if (IsClosingMark(beforeLast) && IsWordChar(w[n - 3])) {
            w.resize(n - 2);
        } else if (n >= 4 && w.compare(n - 3, 3, "...") == 0 && IsWordChar(w[n - 4])) {
            w.resize(n - 3);
        } else if (n >= 5 && w.compare(n - 3, 3, "...") == 0 && w[n - 4] == ',' &&
                   IsWordChar(w[n - 5])) {
            w.resize(n - 4);
        } else {
            return false;
        }
    }

    if (IsNumber(w)) {
        return true;
    }
    return Contains(w);
}

bool WordList::IsLoaded() const {
    return loaded;
}

const std::string& WordList::FileName() const {
    return fileName;
}

WordList::BucketView WordList::Bucket(int index) const {
    if (index < 0 || index >= BUCKET_COUNT) {
        return BucketView(this, 0, 0);
    }
    return BucketView(this, index, bucketSize[index]);
}

int WordList::BucketOf(std::size_t length) {
    return static_cast<int>(std::min<std::size_t>(length, LONG_WORD_BUCKET));
}

std::size_t WordList::EntryCount() const {
    return entryCount;
}

std::size_t WordList::MemoryBytes() const {
    std::size_t bytes = shortBytesCapacity + longBytes.capacity +
                        longStarts.capacity() * sizeof(std::size_t) +
                        indexSize * sizeof(std::uint32_t);
    for (const std::vector<std::size_t>& segments : segmentsOf) {
        bytes += segments.capacity() * sizeof(std::size_t);
    }
    return bytes;
}

void WordList::ReportFailure() const {
    if (prompt != nullptr) {
        prompt->ShowMessage(WORD_LIST_LOAD_FAILED);
    }
}

std::string_view WordList::BucketView::operator[](std::size_t position) const {
    return list->Entry(bucket, position);
}

}  // namespace quirtel
