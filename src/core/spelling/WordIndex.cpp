#include "core/spelling/WordIndex.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace quirtel::detail {

namespace {

// Entries per index group, on average.
constexpr std::uint32_t GROUP_SIZE = 4;

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

void WordIndex::Build(const WordBuckets& buckets) {
    index.reset();
    indexSize = 0;
    groupCount.fill(0);
    startsAt.fill(0);
    orderAt.fill(0);
    // Bucket 0 needs no index: all its entries are equal.
    std::uint32_t largest = 0;
    std::size_t size = 0;
    for (int k = 1; k < BUCKET_COUNT; ++k) {
        const std::uint32_t n = buckets.Size(k);
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
    const MallocBlock<std::uint32_t> hashes(
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
        const std::uint32_t n = buckets.Size(k);
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
            buckets.ForEachShortEntry(k, [&](std::uint32_t position, std::string_view entry) {
                hash[position] = HashWord(entry);
                ++starts[GroupOf(hash[position], groups) + 1];
            });
        } else {
            for (std::uint32_t position = 0; position < n; ++position) {
                hash[position] = HashWord(buckets.Entry(k, position));
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

template <typename F>
bool WordIndex::ForEachMatch(const WordBuckets& buckets, std::string_view word, F&& match) const {
    const int bucket = BucketOf(word.size());
    const std::uint32_t h = HashWord(word);
    const std::uint32_t* const starts = index.get() + startsAt[bucket];
    const std::uint32_t* const order = index.get() + orderAt[bucket];
    const std::uint32_t group = GroupOf(h, groupCount[bucket]);
    const auto positionMask = static_cast<std::uint32_t>((std::uint64_t{1} << indexEntryBits) - 1);
    const auto tag = static_cast<std::uint32_t>(std::uint64_t{h} << indexEntryBits);
    for (std::uint32_t i = starts[group]; i < starts[group + 1]; ++i) {
        const std::uint32_t value = order[i];
        if ((value & ~positionMask) == tag && buckets.Entry(bucket, value & positionMask) == word &&
            match(value & positionMask)) {
            return true;
        }
    }
    return false;
}

bool WordIndex::Contains(const WordBuckets& buckets, std::string_view word) const {
    const int bucket = BucketOf(word.size());
    if (buckets.Size(bucket) == 0) {
        return false;
    }
    if (bucket == 0) {
        return true;
    }
    return ForEachMatch(buckets, word, [](std::uint32_t) { return true; });
}

void WordIndex::FindAll(const WordBuckets& buckets, std::string_view word,
                        std::vector<std::uint32_t>& positions) const {
    const int bucket = BucketOf(word.size());
    const std::uint32_t size = buckets.Size(bucket);
    if (bucket == 0) {
        for (std::uint32_t position = 0; position < size; ++position) {
            positions.push_back(position);
        }
    } else if (size != 0) {
        ForEachMatch(buckets, word, [&positions](std::uint32_t position) {
            positions.push_back(position);
            return false;
        });
    }
}

}  // namespace quirtel::detail
