#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace quirtel::detail {

// Frees what malloc, realloc or aligned_alloc gave.
struct FreeBlock {
    void operator()(void* block) const;
};

// A block from malloc, which realloc may grow or shrink.
template <typename T>
using MallocBlock = std::unique_ptr<T, FreeBlock>;

// Asks for huge pages for a large block: fresh memory costs one fault per
// page, and a fault per 4 KiB page costs more than clearing the page. A hint
// only; the block works the same without.
void AdviseHugePages(void* block, std::size_t bytes);

// Bytes grown with realloc, which can move a large block without copying it.
struct GrowingBytes {
    MallocBlock<char> data;
    std::size_t size = 0;
    std::size_t capacity = 0;

    // Appends `more`; throws std::bad_alloc when the block cannot grow.
    void Append(std::string_view more);
    // Makes room for `wanted` bytes in all; throws std::bad_alloc on failure.
    void Reserve(std::size_t wanted);
    // Gives back the unused capacity where realloc allows it.
    void Fit();
};

}  // namespace quirtel::detail
