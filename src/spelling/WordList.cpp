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

// Reading stops here (and reports a failure): entries are numbered with 32
// bits, and nobody ships a word list of gigabytes.
constexpr std::size_t MAX_FILE_BYTES = std::size_t{1} << 31;
constexpr std::uint32_t MAX_ENTRIES = 0xFFFF'FFF0u;

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

// Maps the pages of a fresh block writable in one call, instead of one fault
// per page (two where the first access reads, as in a hash table). A hint
// only: kernels before 5.14 refuse it.
void PrefaultForWriting(void* block, std::size_t bytes) {
#ifdef MADV_POPULATE_WRITE
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto first = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t begin = (first + page - 1) / page * page;
    const std::uintptr_t end = (first + bytes) / page * page;
    if (end > begin) {
        static_cast<void>(
            ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE));
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

// Calls lineFeedAt(i) for each '\n' of `bytes`, in order, while it answers true.
// Most lines are a dozen bytes long, too short for memchr to pay off: this
// finds the line feeds of a block of bytes at once, and then walks them.
template <typename F>
bool ForEachLineFeed(std::string_view bytes, F&& lineFeedAt) {
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
            if (!lineFeedAt(i + static_cast<std::size_t>(std::countr_zero(found)))) {
                return false;
            }
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
            if (!lineFeedAt(i + static_cast<std::size_t>(bit / 8))) {
                return false;
            }
        }
    }
#endif
    for (; i < size; ++i) {
        if (begin[i] == '\n' && !lineFeedAt(i)) {
            return false;
        }
    }
    return true;
}

// Reads the file behind `fd` to its end and hands it to lines(text) in runs
// of whole lines, each ending with '\n' except the file's last line, which may
// lack it; PAD readable bytes follow the end of every run. Stops when lines()
// answers false. True when the whole file was read; false after a read error
// or a stop, in which case a line cut off by the stop is not handed over.
template <std::size_t PAD, typename F>
bool ReadWholeLines(int fd, std::size_t sizeHint, F&& lines) {
    // The file is read in pieces through one buffer, so that its bytes are
    // held only once, in the buckets: fresh memory costs a page fault a page.
    // The size is only a hint (the file may change, /proc files say 0); a
    // small file still gets a buffer that holds it whole, with a byte to spare
    // to see its end at once.
    const std::size_t pieceSize =
        std::min(std::size_t{1} << 18, std::max(sizeHint + 1, std::size_t{4096}));
    const auto piece = std::make_unique<char[]>(pieceSize + PAD);
    std::string partial;  // the start of a line that goes on in the next piece
    const auto passPartial = [&] {
        const std::size_t size = partial.size();
        partial.append(PAD, '\0');
        const bool more = lines(std::string_view(partial.data(), size));
        partial.clear();
        return more;
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
            return partial.empty() || passPartial();
        }
        total += static_cast<std::size_t>(got);
        if (total > MAX_FILE_BYTES) {
            return false;
        }
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
            if (!passPartial()) {
                return false;
            }
        }
        const std::size_t whole = lastEnd + 1 - (static_cast<std::size_t>(got) - bytes.size());
        if (whole > 0 && !lines(bytes.substr(0, whole))) {
            return false;
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

// Words of up to 16 bytes, nearly all of them, are read as two (possibly
// overlapping) 8- or 4-byte values, multiplied independently and mixed once.
// Longer ones go through a chain of bijective steps.
inline std::uint64_t HashWord(std::string_view word) {
    const char* p = word.data();
    const std::size_t n = word.size();
    const std::uint64_t seed = 0x9E3779B97F4A7C15ull * (n + 1);
    if (n > 16) {
        std::uint64_t h = seed;
        const char* const last = p + n - 8;
        for (; p < last; p += 8) {
            h = Mix(h ^ Load64(p));
        }
        return Mix(h ^ Load64(last));
    }
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
    return Mix(((a ^ seed) * 0xBF58476D1CE4E5B9ull) ^ ((b + seed) * 0x94D049BB133111EBull));
}

// Maps a hash onto 0..capacity-1 without a division.
std::size_t SlotOf(std::uint64_t hash, std::size_t capacity) {
    __extension__ using Wide = unsigned __int128;
    return static_cast<std::size_t>((static_cast<Wide>(hash) * capacity) >> 64);
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

void WordList::Bytes::AppendShort(const char* from, std::size_t n) {
    if (capacity - size < PAD) {
        Reserve(size + PAD);
    }
    char* const to = data.get() + size;
    std::memcpy(to, from, PAD);
    size += n;
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
        complete = ReadWholeLines<Bytes::PAD>(
            fd, size, [this](std::string_view lines) { return AppendLines(lines); });
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
    bucketBytes = {};
    bucketSize.fill(0);
    entryCount = 0;
    longStarts = std::vector<std::size_t>();
    indexSlots.reset();
    indexStart.fill(0);
    indexEntryBits = 0;
}

bool WordList::AppendLines(std::string_view lines) {
    // The one loop that every byte of the file goes through: kept small.
    const char* const text = lines.data();
    std::size_t start = 0;
    const auto append = [&](std::size_t length) {
        if (entryCount == MAX_ENTRIES) {
            return false;
        }
        const int bucket = BucketOf(length);
        Bytes& bytes = bucketBytes[bucket];
        if (bucket == LONG_WORD_BUCKET) {
            longStarts.push_back(bytes.size);
            bytes.Append(std::string_view(text + start, length));
        } else {
            bytes.AppendShort(text + start, length);
        }
        ++bucketSize[bucket];
        ++entryCount;
        return true;
    };
    const bool more = ForEachLineFeed(lines, [&](std::size_t lf) {
        // CR LF ends a line like LF.
        const std::size_t length = lf - start - (lf > start && text[lf - 1] == '\r' ? 1 : 0);
        if (!append(length)) {
            return false;
        }
        start = lf + 1;
        return true;
    });
    // The file's last line, without a line end: a CR in it is its own.
    return more && (start == lines.size() || append(lines.size() - start));
}

void WordList::FinishBuckets() {
    for (Bytes& bytes : bucketBytes) {
        bytes.Fit();
    }
    longStarts.push_back(bucketBytes[LONG_WORD_BUCKET].size);
    longStarts.shrink_to_fit();
}

void WordList::BuildIndex() {
    // Each table at most three quarters full, so that a probe for a missing
    // word ends after a few slots, which sit next to each other in memory.
    std::uint32_t largest = 0;
    for (int k = 0; k < BUCKET_COUNT; ++k) {
        const std::size_t n = bucketSize[k];
        indexStart[k + 1] = indexStart[k] + (n == 0 ? 0 : n + n / 3 + 1);
        largest = std::max(largest, bucketSize[k]);
    }
    // calloc: memory fresh from the system is known to be zero and is not
    // cleared a second time.
    const std::size_t slotCount = std::max<std::size_t>(indexStart[BUCKET_COUNT], 1);
    indexSlots.reset(static_cast<std::uint32_t*>(std::calloc(slotCount, sizeof(std::uint32_t))));
    if (!indexSlots) {
        throw std::bad_alloc();
    }
    PrefaultForWriting(indexSlots.get(), slotCount * sizeof(std::uint32_t));
    indexEntryBits = static_cast<int>(std::bit_width(largest));

    // The slots are visited in random order, so most insertions miss the
    // cache. Hashing some entries ahead and prefetching their slots lets those
    // misses overlap instead of waiting for each in turn.
    struct Pending {
        std::uint64_t hash;
        std::uint32_t position;
    };
    constexpr std::uint32_t AHEAD = 16;
    for (int k = 0; k < BUCKET_COUNT; ++k) {
        std::uint32_t* const slots = indexSlots.get() + indexStart[k];
        const std::size_t capacity = indexStart[k + 1] - indexStart[k];
        const auto insert = [&](const Pending& item) {
            const std::uint32_t tag = TagOf(item.hash);
            for (std::size_t slot = SlotOf(item.hash, capacity);;) {
                const std::uint32_t value = slots[slot];
                if (value == 0) {
                    slots[slot] = tag | (item.position + 1);
                    return;
                }
                // A duplicate is not indexed again: the copy already there
                // answers for both.
                if (TagOfSlot(value) == tag &&
                    Entry(k, PositionOfSlot(value)) == Entry(k, item.position)) {
                    return;
                }
                if (++slot == capacity) {
                    slot = 0;
                }
            }
        };
        std::array<Pending, AHEAD> pending{};
        const std::uint32_t count = bucketSize[k];
        for (std::uint32_t position = 0; position < count; ++position) {
            const std::uint64_t hash = HashWord(Entry(k, position));
            __builtin_prefetch(&slots[SlotOf(hash, capacity)], 1);
            Pending& place = pending[position % AHEAD];
            if (position >= AHEAD) {
                insert(place);
            }
            place = Pending{hash, position};
        }
        for (std::uint32_t i = count > AHEAD ? count - AHEAD : 0; i < count; ++i) {
            insert(pending[i % AHEAD]);
        }
    }
}

std::uint32_t WordList::TagOf(std::uint64_t hash) const {
    // The hash's low bits; its high bits choose the slot.
    return static_cast<std::uint32_t>((hash << indexEntryBits) & 0xFFFF'FFFFu);
}

std::uint32_t WordList::TagOfSlot(std::uint32_t value) const {
    return static_cast<std::uint32_t>((std::uint64_t{value} >> indexEntryBits) << indexEntryBits);
}

std::uint32_t WordList::PositionOfSlot(std::uint32_t value) const {
    return (value & static_cast<std::uint32_t>((std::uint64_t{1} << indexEntryBits) - 1)) - 1;
}

std::string_view WordList::Entry(int bucket, std::size_t position) const {
    const char* const bytes = bucketBytes[bucket].data.get();
    if (bucket == LONG_WORD_BUCKET) {
        const std::size_t start = longStarts[position];
        return std::string_view(bytes + start, longStarts[position + 1] - start);
    }
    const auto length = static_cast<std::size_t>(bucket);
    return std::string_view(bytes + position * length, length);
}

bool WordList::Contains(std::string_view word) const {
    if (!loaded) {
        return true;
    }
    const int bucket = BucketOf(word.size());
    const std::uint32_t* const slots = indexSlots.get() + indexStart[bucket];
    const std::size_t capacity = indexStart[bucket + 1] - indexStart[bucket];
    if (capacity == 0) {
        return false;
    }
    const std::uint64_t hash = HashWord(word);
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t slot = SlotOf(hash, capacity);;) {
        const std::uint32_t value = slots[slot];
        if (value == 0) {
            return false;
        }
        if (TagOfSlot(value) == tag && Entry(bucket, PositionOfSlot(value)) == word) {
            return true;
        }
        if (++slot == capacity) {
            slot = 0;
        }
    }
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
    std::size_t bytes = longStarts.capacity() * sizeof(std::size_t) +
                        indexStart[BUCKET_COUNT] * sizeof(std::uint32_t);
    for (const Bytes& bucket : bucketBytes) {
        bytes += bucket.capacity;
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
