#include "spelling/WordList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

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

// Opens `name` for reading; -1 unless it is a regular file.
int OpenRegularFile(const std::string& name) {
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
    return fd;
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
// looks at eight bytes at a time and picks out the line feeds among them.
template <typename F>
bool ForEachLineFeed(std::string_view bytes, F&& lineFeedAt) {
    constexpr std::uint64_t ONES = 0x0101010101010101ull;
    constexpr std::uint64_t LOW_SEVEN = 0x7F7F7F7F7F7F7F7Full;
    const char* const begin = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t v = Load64(begin + i) ^ (ONES * '\n');
        // The high bit of a byte is set exactly where that byte is a line feed.
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
    for (; i < size; ++i) {
        if (begin[i] == '\n' && !lineFeedAt(i)) {
            return false;
        }
    }
    return true;
}

// Reads the file behind `fd` to its end and calls line(text, padded) for
// each line, while it answers true; `padded` tells that at least PAD readable
// bytes follow the start of the text. Lines end with LF or CR LF (the file is
// read as text); a lone CR is an ordinary character. The last line may lack
// its line end; a file that ends with one has no empty line after it. True
// when the whole file was read; false after a read error or when line()
// refused more, in which case a line cut off by the stop is not passed on.
template <std::size_t PAD, typename F>
bool ReadLines(int fd, F&& line) {
    // The file is read in pieces through one buffer, so that its bytes are
    // held only once, in the buckets: fresh memory costs a page fault a page.
    constexpr std::size_t PIECE = std::size_t{1} << 18;
    const auto piece = std::make_unique<char[]>(PIECE + PAD);
    std::string partial;  // the start of a line that goes on in the next piece
    std::size_t total = 0;
    const auto pass = [&line](std::string_view text, bool padded) {
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        return line(text, padded);
    };
    for (;;) {
        const ssize_t got = ::read(fd, piece.get(), PIECE);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::size_t>(got);
        if (total > MAX_FILE_BYTES) {
            return false;
        }
        const std::string_view bytes(piece.get(), static_cast<std::size_t>(got));
        std::size_t lineStart = 0;
        const bool more = ForEachLineFeed(bytes, [&](std::size_t lf) {
            const std::string_view text = bytes.substr(lineStart, lf - lineStart);
            lineStart = lf + 1;
            if (partial.empty()) {
                return pass(text, true);
            }
            partial += text;
            const bool accepted = pass(partial, false);
            partial.clear();
            return accepted;
        });
        if (!more) {
            return false;
        }
        partial += bytes.substr(lineStart);
    }
    return partial.empty() || line(std::string_view(partial), false);
}

std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
}

// Each step is a bijection of the running state, so no input can cancel the
// state out and make a whole family of words collide.
std::uint64_t HashWord(std::string_view word) {
    const char* p = word.data();
    const std::size_t n = word.size();
    std::uint64_t h = 0x9E3779B97F4A7C15ull * (n + 1);
    if (n >= 8) {
        const char* const last = p + n - 8;
        for (; p < last; p += 8) {
            h = Mix(h ^ Load64(p));
        }
        return Mix(h ^ Load64(last));
    }
    std::uint64_t v = 0;
    if (n >= 4) {
        v = Load32(p) | (Load32(p + n - 4) << 32);
    } else if (n > 0) {
        const auto byte = [p](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        v = byte(0) | (byte(n / 2) << 8) | (byte(n - 1) << 16);
    }
    return Mix(h ^ v);
}

// Maps a hash onto 0..capacity-1 without a division.
std::size_t SlotOf(std::uint64_t hash, std::size_t capacity) {
    __extension__ using Wide = unsigned __int128;
    return static_cast<std::size_t>((static_cast<Wide>(hash) * capacity) >> 64);
}


}  // namespace

void WordList::Bytes::Free::operator()(char* bytes) const { std::free(bytes); }

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
    Reserve(size + PAD);
    std::memcpy(data.get() + size, from, PAD);
    size += n;
}

void WordList::Bytes::Fit() {
    if (size == capacity || size == 0) {
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
    const int fd = OpenRegularFile(name);
    if (fd < 0) {
        ReportFailure();
        return;
    }
    const FileDescriptor closer(fd);
    bool complete = false;
    try {
        complete = ReadLines<Bytes::PAD>(
            fd, [this](std::string_view line, bool padded) { return Append(line, padded); });
        FinishBuckets();
        BuildIndex();
    } catch (const std::bad_alloc&) {
        Clear();
        complete = false;
    }
    loaded = true;
    if (!complete) {
        ReportFailure();
    }
}

void WordList::Clear() {
    loaded = false;
    bucketBytes = {};
    bucketSize.fill(0);
    bucketFirst.fill(0);
    longStarts = std::vector<std::size_t>();
    indexSlots.reset();
    indexStart.fill(0);
    indexEntryBits = 0;
}

bool WordList::Append(std::string_view line, bool padded) {
    if (bucketFirst[BUCKET_COUNT] == MAX_ENTRIES) {
        return false;
    }
    const int bucket = BucketOf(line.size());
    Bytes& bytes = bucketBytes[bucket];
    if (bucket == LONG_WORD_BUCKET) {
        longStarts.push_back(bytes.size);
        bytes.Append(line);
    } else if (padded) {
        bytes.AppendShort(line.data(), line.size());
    } else {
        bytes.Append(line);
    }
    ++bucketSize[bucket];
    // Counts every entry while reading; FinishBuckets turns it into offsets.
    ++bucketFirst[BUCKET_COUNT];
    return true;
}

void WordList::FinishBuckets() {
    for (Bytes& bytes : bucketBytes) {
        bytes.Fit();
    }
    longStarts.push_back(bucketBytes[LONG_WORD_BUCKET].size);
    longStarts.shrink_to_fit();
    for (int k = 0; k < BUCKET_COUNT; ++k) {
        bucketFirst[k + 1] = bucketFirst[k] + bucketSize[k];
    }
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
    indexSlots = std::make_unique<std::uint32_t[]>(indexStart[BUCKET_COUNT]);
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

bool WordList::IsLoaded() const { return loaded; }

const std::string& WordList::FileName() const { return fileName; }

WordList::BucketView WordList::Bucket(int index) const {
    if (index < 0 || index >= BUCKET_COUNT) {
        return BucketView(this, 0, 0);
    }
    return BucketView(this, index, bucketFirst[index + 1] - bucketFirst[index]);
}

int WordList::BucketOf(std::size_t length) {
    return static_cast<int>(std::min<std::size_t>(length, LONG_WORD_BUCKET));
}

std::size_t WordList::EntryCount() const { return bucketFirst[BUCKET_COUNT]; }

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
