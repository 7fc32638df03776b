#include "core/spelling/AccentIndex.h"

#include "core/spelling/LineReader.h"
#include "core/spelling/WordCheck.h"
#include "core/spelling/WordList.h"

namespace quirtel {

namespace {

// The folded lines are handed over in runs of about this many bytes.
constexpr std::size_t RUN_BYTES = std::size_t{1} << 20;

}  // namespace

AccentIndex::AccentIndex(const WordList& list) : list(list) {
    std::size_t total = 0;
    for (int k = 0; k < WordList::BUCKET_COUNT; ++k) {
        for (const std::string_view entry : list.Bucket(k)) {
            total += entry.size() + 1;
        }
    }
    folded.Reserve(total);
    // Fed bucket by bucket in order, every folded entry gets the position its
    // entry has, since folding keeps the length.
    std::string run;
    run.reserve(RUN_BYTES + detail::PAD + 64);
    const auto handOver = [&] {
        const std::size_t size = run.size();
        run.append(detail::PAD, '\0');
        folded.AppendLines(std::string_view(run.data(), size));
        run.clear();
    };
    for (int k = 0; k < WordList::BUCKET_COUNT; ++k) {
        for (const std::string_view entry : list.Bucket(k)) {
            const std::size_t start = run.size();
            for (const char c : entry) {
                run += FoldAccent(c);
            }
            // A CR before the line end would be taken for part of a CR LF.
            if (run.size() > start && run.back() == '\r') {
                run.back() = '\0';
            }
            run += '\n';
            if (run.size() >= RUN_BYTES) {
                handOver();
            }
        }
    }
    if (!run.empty()) {
        handOver();
    }
    folded.Finish();
    index.Build(folded);
}

void AccentIndex::Find(std::string_view key, std::vector<std::string_view>& words) const {
    // Scratch of each thread, so that lookups may run side by side.
    thread_local std::vector<std::uint32_t> positions;
    positions.clear();
    index.FindAll(folded, key, positions);
    const WordList::BucketView bucket = list.Bucket(WordList::BucketOf(key.size()));
    for (const std::uint32_t position : positions) {
        words.push_back(bucket[position]);
    }
}

std::size_t AccentIndex::MemoryBytes() const {
    return folded.MemoryBytes() + index.MemoryBytes();
}

}  // namespace quirtel
