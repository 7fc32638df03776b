#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/spelling/WordBuckets.h"
#include "core/spelling/WordIndex.h"

namespace quirtel {

class MessagePrompt;
class PersonalWordList;

// Where the program finds its word list, relative to the current directory.
inline constexpr const char* WORD_LIST_PATH = "./datos/es.dic";
// Shown when the word list cannot be read. It names "./datos/ES.dic" whatever
// the file name was.
inline constexpr const char* WORD_LIST_LOAD_FAILED =
    "No se consigui\xF3 cargar el diccionario ortogr\xE1"
    "fico (./datos/ES.dic)";

// The Spanish word list against which typed words are judged: the lines of a
// Windows-1252 text file, split by length into BUCKET_COUNT buckets (bucket k
// holds the entries of k bytes, LONG_WORD_BUCKET those of 30 bytes or more),
// each in file order with duplicates kept. Filled once and never changed.
// A hash index over the entries answers lookups in constant time with the
// same answers as a search of the word's bucket.
class WordList {
public:
    static constexpr int BUCKET_COUNT = detail::BUCKET_COUNT;
    static constexpr int LONG_WORD_BUCKET = detail::LONG_WORD_BUCKET;

    class BucketView;

    // Loads `fileName` at once unless it is empty. `prompt` (not owned, may be
    // null) shows the message when the file cannot be read.
    explicit WordList(std::string fileName, MessagePrompt* prompt = nullptr);
    virtual ~WordList();
    WordList(const WordList&) = delete;
    WordList& operator=(const WordList&) = delete;

    // Reads the file: one entry per line, LF or CR LF removed and nothing else
    // changed (a lone CR belongs to the entry). When no file has the exact
    // name, one whose name differs only in ASCII case is read instead
    // ("ES.dic" for "es.dic"). A file that cannot be opened
    // (missing, unreadable, not a regular file) shows WORD_LIST_LOAD_FAILED and
    // leaves the list not loaded. A read error after the open shows the same
    // message and keeps the lines read completely before it; the list counts
    // as loaded. Running out of memory shows it too and leaves the list not
    // loaded. Replaces any earlier content. No lock is taken on the file.
    void Load(const std::string& fileName);

    // True when `word` is byte for byte an entry, or when the list is not loaded.
    bool Contains(std::string_view word) const;
    // The same answer as Contains, found by searching the word's bucket from
    // its head. For tests and measurements.
    bool ContainsLinear(std::string_view word) const;

    // Whether a typed token (a run of characters between spaces) counts as
    // correctly spelled: at most one opening mark in front and a closing mark,
    // a separator, both, "..." or ",..." behind are stripped; any other shape
    // is a fault; numbers are correct; the rest is lower-cased and looked up,
    // in this list and in the personal list when there is one.
    bool CheckWord(std::string token) const;

    // The user's own words, which CheckWord accepts too (not owned, may be
    // null; must outlive its use here).
    void SetPersonalList(const PersonalWordList* list) { personal = list; }
    const PersonalWordList* PersonalList() const { return personal; }

    // True once the file has been opened and held, even if a read failed later.
    bool IsLoaded() const;
    const std::string& FileName() const;

    // The entries of bucket `index` in file order; empty for an index outside
    // 0..BUCKET_COUNT-1. Valid while the list is alive and not reloaded.
    BucketView Bucket(int index) const;
    // The bucket that holds entries, and is searched for words, of `length` bytes.
    static int BucketOf(std::size_t length);

    // Number of entries, duplicates and empty lines included.
    std::size_t EntryCount() const;
    // Bytes of memory the entries and the index occupy.
    std::size_t MemoryBytes() const;

private:
    void Clear();
    std::string_view Entry(int bucket, std::size_t position) const;
    void ReportFailure() const;

    std::string fileName;
    MessagePrompt* prompt;
    const PersonalWordList* personal = nullptr;
    bool loaded = false;
    // The entries split by length, and the hash index over them.
    detail::WordBuckets buckets;
    detail::WordIndex index;
};

// The entries of one bucket, as string views into the list's storage.
class WordList::BucketView {
public:
    class Iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        std::string_view operator*() const { return (*view)[position]; }
        Iterator& operator++() {
            ++position;
            return *this;
        }
        Iterator operator++(int) {
            Iterator old = *this;
            ++position;
            return old;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) {
            return a.position == b.position;
        }

    private:
        friend class BucketView;
        Iterator(const BucketView* view, std::size_t position) : view(view), position(position) {}
        const BucketView* view = nullptr;
        std::size_t position = 0;
    };

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    std::string_view operator[](std::size_t position) const;
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, count); }

private:
    friend class WordList;
    BucketView(const WordList* list, int bucket, std::size_t count)
        : list(list), bucket(bucket), count(count) {}
    const WordList* list;
    int bucket;
    std::size_t count;
};

}  // namespace quirtel
