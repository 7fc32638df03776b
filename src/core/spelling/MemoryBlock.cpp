#include "core/spelling/MemoryBlock.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace quirtel::detail {

void FreeBlock::operator()(void* block) const {
    std::free(block);
}

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

void GrowingBytes::Reserve(std::size_t wanted) {
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

void GrowingBytes::Append(std::string_view more) {
    Reserve(size + more.size());
    if (!more.empty()) {
        std::memcpy(data.get() + size, more.data(), more.size());
        size += more.size();
    }
}

void GrowingBytes::Fit() {
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

}  // namespace quirtel::detail
