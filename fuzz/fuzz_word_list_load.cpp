// Loading any file: no crash, no hang, the buckets hold exactly the file's
// lines, and the index answers as the bucket search does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzTempFile.h"
#include "core/common/MessagePrompt.h"
#include "core/spelling/WordList.h"

namespace {

using quirtel::WordList;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class CountingPrompt final : public quirtel::MessagePrompt {
public:
    void ShowMessage(std::string_view) override { ++messages; }
    int messages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const quirtel::fuzz::FuzzTempFile file("load.dic");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CountingPrompt prompt;
    const WordList list(file.Write(bytes), &prompt);
    Require(list.IsLoaded() && prompt.messages == 0);

    // The lines, split at LF with one CR before it removed.
    std::vector<std::vector<std::string_view>> expected(WordList::BUCKET_COUNT);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? lf : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        expected[WordList::BucketOf(line.size())].push_back(line);
        lines.push_back(line);
        start = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    Require(list.EntryCount() == lines.size());
    for (int k = 0; k < WordList::BUCKET_COUNT; ++k) {
        const WordList::BucketView bucket = list.Bucket(k);
        Require(bucket.size() == expected[k].size());
        for (std::size_t i = 0; i < bucket.size(); ++i) {
            Require(bucket[i] == expected[k][i]);
        }
    }

    // Every line is found; its neighbours by one byte agree with the search.
    for (const std::string_view line : lines) {
        Require(list.Contains(line));
        std::string probe(line);
        probe += 'x';
        Require(list.Contains(probe) == list.ContainsLinear(probe));
        probe.pop_back();
        if (!probe.empty()) {
            probe.back() = static_cast<char>(probe.back() ^ 1);
            Require(list.Contains(probe) == list.ContainsLinear(probe));
            probe.pop_back();
            Require(list.Contains(probe) == list.ContainsLinear(probe));
        }
    }
    return 0;
}
