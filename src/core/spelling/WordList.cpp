#include "core/spelling/WordList.h"

#include <new>
#include <utility>

#include "core/common/MessagePrompt.h"
#include "core/spelling/CaseVariant.h"
#include "core/spelling/LineReader.h"
#include "core/spelling/PersonalWordList.h"
#include "core/spelling/WordCheck.h"

namespace quirtel {

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
    detail::LineReader reader;
    // The failure message names "ES.dic", so a list saved under another case
    // of its name is taken when the exact name is missing.
    if (!reader.Open(name).ok()) {
        const std::string variant = FindCaseVariant(name);
        if (variant.empty() || !reader.Open(variant).ok()) {
            ReportFailure();
            return;
        }
    }
    bool complete = false;
    try {
        buckets.Reserve(reader.SizeHint());
        complete =
            reader.ReadWholeLines([this](std::string_view lines) { buckets.AppendLines(lines); });
        buckets.Finish();
        index.Build(buckets);
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
    buckets = detail::WordBuckets();
    index = detail::WordIndex();
}

std::string_view WordList::Entry(int bucket, std::size_t position) const {
    return buckets.Entry(bucket, position);
}

bool WordList::Contains(std::string_view word) const {
    if (!loaded) {
        return true;
    }
    return index.Contains(buckets, word);
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
    const TokenShape shape = ShapeOfToken(token);
    if (shape.verdict != TokenShape::Verdict::Word) {
        return shape.verdict == TokenShape::Verdict::Correct;
    }
    // The word is cut out of the token's own buffer: no allocation per token.
    token.resize(shape.end);
    token.erase(0, shape.begin);
    ToLowerCp1252(token);
    return Contains(token) || (personal != nullptr && personal->Contains(token));
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
    return BucketView(this, index, buckets.Size(index));
}

int WordList::BucketOf(std::size_t length) {
    return detail::BucketOf(length);
}

std::size_t WordList::EntryCount() const {
    return buckets.EntryCount();
}

std::size_t WordList::MemoryBytes() const {
    return buckets.MemoryBytes() + index.MemoryBytes();
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
