#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/spelling/MemoryBlock.h"
#include "core/spelling/WordBuckets.h"

namespace quirtel::detail {

// A hash index over finished WordBuckets that answers, in constant time, the
// same as a search of the word's bucket.
class WordIndex {
public:
    // Indexes the entries of `buckets`, replacing any earlier index. Throws
    // std::bad_alloc.
    void Build(const WordBuckets& buckets);
    // Whether `word` is byte for byte an entry of `buckets`, the ones indexed.
    bool Contains(const WordBuckets& buckets, std::string_view word) const;
    // Appends to `positions` the position in its bucket of every entry of
    // `buckets` that is byte for byte `word` (duplicates each once), in no
    // particular order.
    void FindAll(const WordBuckets& buckets, std::string_view word,
                 std::vector<std::uint32_t>& positions) const;
    // Bytes of memory the index occupies.
    std::size_t MemoryBytes() const { return indexSize * sizeof(std::uint32_t); }

private:
    // Calls match(position) for each entry of `word`'s group that equals it,
    // until match returns true; true when one did.
    template <typename F>
    bool ForEachMatch(const WordBuckets& buckets, std::string_view word, F&& match) const;

    // The index of bucket k (k >= 1) splits its entries by hash into
    // groupCount[k] groups: group g's entries are order[starts[g]] ..
    // order[starts[g+1] - 1], where starts lies at index + startsAt[k] and
    // order at index + orderAt[k]. An element of order holds the entry's
    // position in its bucket in its low indexEntryBits bits and, above them,
    // as many bits of the word's hash as fit: most entries of other words are
    // passed over without looking at their bytes.
    MallocBlock<std::uint32_t> index;
    std::size_t indexSize = 0;
    std::array<std::uint32_t, BUCKET_COUNT> groupCount{};
    std::array<std::size_t, BUCKET_COUNT> startsAt{};
    std::array<std::size_t, BUCKET_COUNT> orderAt{};
    int indexEntryBits = 0;
};

}  // namespace quirtel::detail
