#include "spelling/WordList.h"

#include <new>
#include <utility>

#include "app/MessagePrompt.h"
#include "spelling/CaseVariant.h"
#include "spelling/LineReader.h"
#include "spelling/WordCheck.h"

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
    if (!reader.Open(name)) {
        const std::string variant = FindCaseVariant(name);
        if (variant.empty() || !reader.Open(variant)) {
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
