#include "core/spelling/WordList.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/Sanitizer.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

using testing::Entries;
using testing::RecordingPrompt;
using testing::TempDir;

using Buckets = std::array<std::vector<std::string>, WordList::BUCKET_COUNT>;

// The lines of a file as the word list must read them: split at LF, one CR
// before an LF removed, no empty line after a final line end.
Buckets ExpectedBuckets(std::string_view bytes) {
    Buckets buckets;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, lf == std::string_view::npos ? lf : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        buckets[WordList::BucketOf(line.size())].emplace_back(line);
        start = lf == std::string_view::npos ? bytes.size() : lf + 1;
    }
    return buckets;
}

void ExpectBuckets(const WordList& list, const Buckets& expected, const std::string& context) {
    for (int k = 0; k < WordList::BUCKET_COUNT; ++k) {
        EXPECT_EQ(Entries(list, k), expected[k]) << context << ", bucket " << k;
    }
}

std::string Repeat(char c, std::size_t n) {
    return std::string(n, c);
}

struct LoadCase {
    const char* name;
    std::string file;
    std::vector<std::pair<int, std::vector<std::string>>> buckets;  // the others are empty
};

TEST(WordListLoad, SplitsLinesIntoBucketsByLength) {
    const std::string long35 = Repeat('l', 35);
    const std::vector<LoadCase> cases = {
        {"case and accents", "hola\nHola\n\xE1rbol\n", {{4, {"hola", "Hola"}}, {5, {"\xE1rbol"}}}},
        {"empty line", "a\n\nb", {{0, {""}}, {1, {"a", "b"}}}},
        {"only line ends", "\n\n\n", {{0, {"", "", ""}}}},
        {"trailing space kept", "hola \n", {{5, {"hola "}}}},
        {"29, 30 and 35 bytes",
         Repeat('a', 29) + "\n" + Repeat('b', 30) + "\n" + long35 + "\n",
         {{29, {Repeat('a', 29)}}, {30, {Repeat('b', 30), long35}}}},
        {"last line without line end", "uno\ndos", {{3, {"uno", "dos"}}}},
        {"final line end adds nothing", "uno\n", {{3, {"uno"}}}},
        {"empty file", "", {}},
        {"CR LF", "uno\r\ndos\r\n", {{3, {"uno", "dos"}}}},
        {"CR LF alone", "\r\n", {{0, {""}}}},
        {"lone CR is a character", "a\rb\nc\r", {{2, {"c\r"}}, {3, {"a\rb"}}}},
        {"only the CR before LF goes", "ab\r\r\n", {{3, {"ab\r"}}}},
        {"NUL bytes kept",
         std::string("a\0b\n\0", 5),
         {{1, {std::string(1, '\0')}}, {3, {std::string("a\0b", 3)}}}},
        {"duplicates kept in order",
         "casa\nperro\ncasa\n",
         {{4, {"casa", "casa"}}, {5, {"perro"}}}},
    };
    const TempDir dir;
    for (const LoadCase& c : cases) {
        RecordingPrompt prompt;
        const WordList list(dir.Write("list.dic", c.file), &prompt);
        Buckets expected;
        for (const auto& [bucket, entries] : c.buckets) {
            expected[bucket] = entries;
        }
        EXPECT_TRUE(list.IsLoaded()) << c.name;
        EXPECT_TRUE(prompt.messages.empty()) << c.name;
        ExpectBuckets(list, expected, c.name);
    }
}

TEST(WordListLoad, KeepsEveryByteValue) {
    std::string file;
    for (int b = 0; b < 256; ++b) {
        if (b != '\n') {
            file += 'x';
            file += static_cast<char>(b);
            file += "y\n";
        }
    }
    const TempDir dir;
    const WordList list(dir.Write("bytes.dic", file));
    ExpectBuckets(list, ExpectedBuckets(file), "every byte");
    EXPECT_EQ(list.Bucket(3).size(), 255u);
    EXPECT_TRUE(list.Contains("x\ry"));
    EXPECT_TRUE(list.Contains(std::string("x\0y", 3)));
}

// Random files, small ones and one that is read in several pieces, with line
// ends, CRs and long lines falling on the boundaries between the pieces.
TEST(WordListLoad, MatchesLineSplittingOnRandomFiles) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("ab\r\n\n\n \xF1\xE1\x80\xFF") + '\0';
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    const TempDir dir;
    for (int round = 0; round < 200; ++round) {
        std::string file(std::uniform_int_distribution<std::size_t>(0, 120)(random), ' ');
        for (char& c : file) {
            c = alphabet[pick(random)];
        }
        const WordList list(dir.Write("small.dic", file));
        ExpectBuckets(list, ExpectedBuckets(file), "round " + std::to_string(round));
    }

    std::string big;
    std::uniform_int_distribution<int> length(0, 45);
    while (big.size() < 900'000) {
        big += Repeat(static_cast<char>('a' + big.size() % 26),
                      static_cast<std::size_t>(length(random)));
        big += random() % 3 == 0 ? "\r\n" : "\n";
        if (big.size() > 300'000 && big.size() < 300'100) {
            big += Repeat('L', 300'000) + "\n";  // longer than a piece
        }
    }
    for (const std::size_t boundary : {std::size_t{1} << 18, std::size_t{2} << 18}) {
        big[boundary - 1] = '\r';
        big[boundary] = '\n';
    }
    big[(3 << 18) - 1] = '\n';
    big += "tail without line end\r";
    const WordList list(dir.Write("big.dic", big));
    ExpectBuckets(list, ExpectedBuckets(big), "big file");
    EXPECT_EQ(list.EntryCount(), std::count(big.begin(), big.end(), '\n') + 1);
}

TEST(WordListLoad, ReadsAFiftyMegabyteLine) {
    const std::string line = Repeat('a', 50'000'000);
    const TempDir dir;
    const WordList list(dir.Write("long.dic", line + "\nhola"));
    ASSERT_EQ(list.Bucket(WordList::LONG_WORD_BUCKET).size(), 1u);
    EXPECT_EQ(list.Bucket(WordList::LONG_WORD_BUCKET)[0].size(), line.size());
    EXPECT_TRUE(list.Contains(line));
    EXPECT_FALSE(list.Contains(std::string_view(line).substr(1)));
    EXPECT_EQ(Entries(list, 4), std::vector<std::string>{"hola"});
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A child process that sleeps with the environment `variable`; its
// /proc/<pid>/environ is a regular file that reports a size of 0 and holds
// exactly the bytes of `variable` and a NUL.
class SleepingChild {
public:
    explicit SleepingChild(std::string variable) : variable(std::move(variable)) {
        char name[] = "sleep";
        char seconds[] = "60";
        char* argv[] = {name, seconds, nullptr};
        char* envp[] = {this->variable.data(), nullptr};
        if (::posix_spawn(&pid, "/bin/sleep", nullptr, nullptr, argv, envp) != 0) {
            pid = -1;
        }
    }
    ~SleepingChild() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    SleepingChild(const SleepingChild&) = delete;
    SleepingChild& operator=(const SleepingChild&) = delete;

    std::string EnvironPath() const { return "/proc/" + std::to_string(pid) + "/environ"; }
    // Whether the child runs with its environment in place, which may take
    // a moment after the spawn has returned.
    bool Ready() const {
        for (int wait = 0; pid > 0 && wait < 2000; ++wait) {
            if (ReadAll(EnvironPath()) == variable + '\0') {
                return true;
            }
            ::usleep(1000);
        }
        return false;
    }

private:
    std::string variable;
    pid_t pid = -1;
};

// The size taken when the file is opened is only a hint: the whole file is
// read whether it holds more bytes than it said (the buckets' storage must
// grow while lines are being added) or fewer.
TEST(WordListLoad, ReadsFilesWhoseContentDiffersFromTheirSize) {
    std::mt19937 random(5);
    std::string lines = "W=";
    while (lines.size() < 100'000) {
        const std::size_t length = 1 + random() % 34;
        for (std::size_t i = 0; i < length; ++i) {
            lines += static_cast<char>('a' + random() % 26);
        }
        lines += random() % 4 == 0 ? "\r\n" : "\n";
    }
    const SleepingChild child(lines);
    if (!child.Ready()) {
        GTEST_SKIP() << "cannot read the environment of /bin/sleep";
    }
    struct Case {
        const char* name;
        std::string path;
        bool larger;
    };
    const std::vector<Case> cases = {
        {"larger than said", child.EnvironPath(), true},
        {"smaller than said", "/sys/devices/system/cpu/online", false},
    };
    for (const Case& c : cases) {
        struct stat info {};
        const std::string bytes = ReadAll(c.path);
        if (::stat(c.path.c_str(), &info) != 0 || bytes.empty() ||
            (c.larger ? bytes.size() <= static_cast<std::size_t>(info.st_size)
                      : bytes.size() >= static_cast<std::size_t>(info.st_size))) {
            std::cout << "[  SKIPPED ] " << c.name << ": " << c.path << " does not serve\n";
            continue;
        }
        RecordingPrompt prompt;
        const WordList list(c.path, &prompt);
        EXPECT_TRUE(list.IsLoaded()) << c.name;
        EXPECT_TRUE(prompt.messages.empty()) << c.name;
        ExpectBuckets(list, ExpectedBuckets(bytes), c.name);
    }
}

// A list of the shipped list's shape is held in less than twice its file size,
// index included.
TEST(WordListLoad, HoldsAListInLessThanTwiceItsSize) {
    std::mt19937 random(9);
    std::string file;
    std::size_t lines = 0;
    while (file.size() < 3'000'000) {
        const std::size_t length = 2 + random() % 12 + random() % 10;
        for (std::size_t i = 0; i < length; ++i) {
            file += static_cast<char>('a' + random() % 26);
        }
        file += '\n';
        ++lines;
    }
    const TempDir dir;
    const WordList list(dir.Write("shape.dic", file));
    EXPECT_EQ(list.EntryCount(), lines);
    EXPECT_LT(list.MemoryBytes(), 2 * file.size());
    EXPECT_GT(list.MemoryBytes(), file.size() - lines);  // the entries' own bytes
}

#if !QUIRTEL_ASAN  // the sanitizer needs more address space
// Loads `path` in a process that may not map more than it holds now and
// 64 MB; exits with 0 when the list is left not loaded, with the message.
[[noreturn]] void LoadWithLittleMemory(const std::string& path) {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    const auto pageBytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const auto limit = static_cast<rlim_t>(pages * pageBytes + (std::size_t{64} << 20));
    const struct rlimit cap = {limit, limit};
    if (pages == 0 || ::setrlimit(RLIMIT_AS, &cap) != 0) {
        std::_Exit(2);
    }
    RecordingPrompt prompt;
    const WordList list(path, &prompt);
    const bool sound = !list.IsLoaded() && list.EntryCount() == 0 && list.Contains("qwz") &&
                       prompt.messages == std::vector<std::string>{WORD_LIST_LOAD_FAILED};
    std::_Exit(sound ? 0 : 1);
}

// The file says it is 1 GiB long (a hole, read as NUL bytes).
TEST(WordListLoadDeathTest, RunningOutOfMemoryLeavesTheListNotLoaded) {
    const TempDir dir;
    const std::string path = dir.Write("huge.dic", "");
    ASSERT_EQ(::truncate(path.c_str(), off_t{1} << 30), 0);
    EXPECT_EXIT(LoadWithLittleMemory(path), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(WordListLoad, FileThatCannotBeOpenedIsReportedOnceAndAcceptsEverything) {
    const TempDir dir;
    const std::string fifo = dir.Path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        const char* name;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"missing", dir.Path() + "/missing.dic"},
        {"directory", dir.Path()},
        {"FIFO without writer", fifo},
        {"empty name given to Load", ""},
    };
    for (const Case& c : cases) {
        RecordingPrompt prompt;
        WordList list("", &prompt);
        list.Load(c.path);
        EXPECT_EQ(prompt.messages, std::vector<std::string>{WORD_LIST_LOAD_FAILED}) << c.name;
        EXPECT_FALSE(list.IsLoaded()) << c.name;
        EXPECT_EQ(list.FileName(), c.path) << c.name;
        EXPECT_EQ(list.EntryCount(), 0u) << c.name;
        EXPECT_TRUE(list.Contains("qwz")) << c.name;
        EXPECT_TRUE(list.ContainsLinear("qwz")) << c.name;
    }
}

// The failure message names "ES.dic": a list under another case of the name
// is read when the exact name is missing, and never preferred to it.
TEST(WordListLoad, TakesAnotherCaseOfTheNameWhenTheExactOneIsMissing) {
    const TempDir dir;
    dir.Write("ES.dic", "hola\n");
    dir.Write("Es.Dic", "adios\n");
    RecordingPrompt prompt;
    WordList variant(dir.Path() + "/es.dic", &prompt);
    EXPECT_TRUE(variant.IsLoaded());
    EXPECT_FALSE(variant.Contains("adios"));  // "ES.dic" comes first in byte order
    EXPECT_TRUE(variant.Contains("hola"));
    dir.Write("es.dic", "exacta\n");
    WordList exact(dir.Path() + "/es.dic", &prompt);
    EXPECT_TRUE(exact.Contains("exacta"));
    EXPECT_FALSE(exact.Contains("hola"));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(WordListLoad, UnreadableFileIsReported) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    const TempDir dir;
    const std::string path = dir.Write("secret.dic", "hola\n");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    RecordingPrompt prompt;
    const WordList list(path, &prompt);
    EXPECT_EQ(prompt.messages.size(), 1u);
    EXPECT_FALSE(list.IsLoaded());
}

// /proc/self/mem opens as a regular file, and reading it at offset 0 fails.
TEST(WordListLoad, ReadErrorAfterTheOpenIsReportedAndTheListCountsAsLoaded) {
    if (::access("/proc/self/mem", R_OK) != 0) {
        GTEST_SKIP() << "no /proc/self/mem";
    }
    RecordingPrompt prompt;
    const WordList list("/proc/self/mem", &prompt);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{WORD_LIST_LOAD_FAILED});
    EXPECT_TRUE(list.IsLoaded());
    EXPECT_EQ(list.EntryCount(), 0u);
    EXPECT_FALSE(list.Contains("hola"));
}

TEST(WordListLoad, MessageTextIsFixed) {
    EXPECT_EQ(std::string(WORD_LIST_LOAD_FAILED),
              "No se consigui\xF3 cargar el diccionario ortogr\xE1"
              "fico (./datos/ES.dic)");
}

TEST(WordListLoad, EmptyNameReadsNothingAndLoadReplacesTheContent) {
    RecordingPrompt prompt;
    WordList list("", &prompt);
    EXPECT_FALSE(list.IsLoaded());
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(list.Contains("cualquiera"));

    const TempDir dir;
    list.Load(dir.Write("a.dic", "uno\ndos\n"));
    list.Load(dir.Write("b.dic", "tres\n"));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(list.Contains("uno"));
    EXPECT_TRUE(list.Contains("tres"));
    EXPECT_EQ(list.EntryCount(), 1u);
    EXPECT_EQ(list.FileName(), dir.Path() + "/b.dic");
}

TEST(WordListLoad, BucketOutsideTheRangeIsEmpty) {
    const TempDir dir;
    const WordList list(dir.Write("a.dic", "a\n"));
    EXPECT_TRUE(list.Bucket(-1).empty());
    EXPECT_TRUE(list.Bucket(WordList::BUCKET_COUNT).empty());
}

struct LookupCase {
    std::string word;
    bool found;
};

TEST(WordListContains, ExactBytesOfEqualLength) {
    const TempDir dir;
    const WordList list(dir.Write("l.dic", "hola\nHola\n\xE1rbol\nhola \n" + Repeat('x', 35) +
                                               "\n" + Repeat('y', 30) + "\ncasa\ncasa\n\n"));
    const std::vector<LookupCase> cases = {
        {"hola", true},           {"Hola", true},           {"HOLA", false},
        {"hol", false},           {"holaa", false},         {"\xE1rbol", true},
        {"arbol", false},         {"hola ", true},          {Repeat('x', 35), true},
        {Repeat('x', 30), false}, {Repeat('x', 36), false}, {Repeat('y', 30), true},
        {Repeat('y', 31), false}, {"casa", true},           {"", true},  // the empty line
    };
    for (const LookupCase& c : cases) {
        EXPECT_EQ(list.Contains(c.word), c.found) << c.word;
        EXPECT_EQ(list.ContainsLinear(c.word), c.found) << c.word;
    }
    const WordList empty(dir.Write("empty.dic", ""));
    EXPECT_TRUE(empty.IsLoaded());
    EXPECT_FALSE(empty.Contains("casa"));
    EXPECT_FALSE(empty.Contains(""));
}

// The index must give the answers of the bucket search, also with many
// duplicates and with words that share their first or last bytes.
TEST(WordListContains, IndexAgreesWithBucketSearchOnRandomLists) {
    std::mt19937 random(11);
    const TempDir dir;
    for (int round = 0; round < 40; ++round) {
        const int alphabet = 2 + round % 5;
        std::uniform_int_distribution<int> letter(0, alphabet - 1);
        std::uniform_int_distribution<int> length(0, round % 2 == 0 ? 12 : 40);
        const auto word = [&] {
            std::string w(static_cast<std::size_t>(length(random)), 'a');
            for (char& c : w) {
                c = static_cast<char>('a' + letter(random));
            }
            return w;
        };
        std::set<std::string> words;
        std::string file;
        for (int i = 0; i < 300 + round * 50; ++i) {
            const std::string w = word();
            words.insert(w);
            file += w + "\n";
        }
        const WordList list(dir.Write("r.dic", file));
        for (int i = 0; i < 2000; ++i) {
            const std::string probe = word();
            const bool expected = words.count(probe) > 0;
            ASSERT_EQ(list.Contains(probe), expected) << "round " << round << ": " << probe;
            ASSERT_EQ(list.ContainsLinear(probe), expected) << "round " << round << ": " << probe;
        }
        for (const std::string& w : words) {
            ASSERT_TRUE(list.Contains(w)) << w;
        }
    }
}

// The shipped word list: the index answers as the bucket search does for every
// entry and for near misses of every length. The bucket search is slow on a
// million entries, so it runs on small buckets whole and on a sample of the rest.
TEST(WordListContains, IndexAgreesWithBucketSearchOnTheShippedList) {
    const char* source = std::getenv("QUIRTEL_SOURCE_DIR");
    const std::string path = std::string(source != nullptr ? source : "../..") + "/datos/es.dic";
    if (::access(path.c_str(), R_OK) != 0) {
        GTEST_SKIP() << path << " is not there";
    }
    RecordingPrompt prompt;
    const WordList list(path, &prompt);
    ASSERT_TRUE(prompt.messages.empty());
    ASSERT_GT(list.EntryCount(), 100'000u);

    std::size_t checked = 0;
    for (int k = 0; k < WordList::BUCKET_COUNT; ++k) {
        for (const std::string_view entry : list.Bucket(k)) {
            ASSERT_TRUE(list.Contains(entry)) << entry;
            ++checked;
        }
    }
    EXPECT_EQ(checked, list.EntryCount());

    // Each probe of a large bucket costs a search through up to 160,000 entries;
    // a sanitizer build is some ten times slower at it.
#if QUIRTEL_ASAN
    constexpr std::size_t SMALL_BUCKET = 300;
    constexpr std::size_t SAMPLE = 6;
#else
    constexpr std::size_t SMALL_BUCKET = 2000;
    constexpr std::size_t SAMPLE = 60;
#endif
    std::mt19937 random(3);
    std::vector<std::string> probes;
    for (int k = 1; k < WordList::BUCKET_COUNT; ++k) {
        const WordList::BucketView bucket = list.Bucket(k);
        const bool whole = bucket.size() <= SMALL_BUCKET;
        std::uniform_int_distribution<std::size_t> pick(0, bucket.empty() ? 0 : bucket.size() - 1);
        for (std::size_t i = 0; !bucket.empty() && i < (whole ? bucket.size() : SAMPLE); ++i) {
            std::string entry(bucket[whole ? i : pick(random)]);
            probes.push_back(entry);
            probes.push_back(entry + "s");
            entry[entry.size() / 2] = entry[entry.size() / 2] == 'q' ? 'k' : 'q';
            probes.push_back(entry);
            probes.push_back(entry.substr(1));
        }
        probes.push_back(Repeat('z', static_cast<std::size_t>(k)));
    }
    for (const std::size_t n : {30, 31, 35, 60}) {
        probes.push_back(Repeat('e', n));
        probes.push_back("electroencefalografistas" + Repeat('s', n - 24));
    }
    for (const std::string& probe : probes) {
        ASSERT_EQ(list.Contains(probe), list.ContainsLinear(probe)) << probe;
    }
}

}  // namespace
}  // namespace quirtel
