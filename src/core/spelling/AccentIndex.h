#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/spelling/WordBuckets.h"
#include "core/spelling/WordIndex.h"

namespace quirtel {

class WordList;

// The entries of a loaded word list found by their accent-folded form
// (FoldAccents): "cancion" finds "canción", "pinguino" finds "pingüino". It
// holds a folded copy of the entries, bucket for bucket and position for
// position, with a hash index over it.
class AccentIndex {
public:
    // Builds the index over `list`, which must outlive it and stay unchanged.
    // Throws std::bad_alloc.
    explicit AccentIndex(const WordList& list);

    // Appends to `words` every entry of the list whose folded form is
    // `folded`, duplicates included. Safe to call from several threads.
    void Find(std::string_view folded, std::vector<std::string_view>& words) const;

    // Bytes of memory the copy and its index occupy.
    std::size_t MemoryBytes() const;

private:
    const WordList& list;
    detail::WordBuckets folded;
    detail::WordIndex index;
};

}  // namespace quirtel
