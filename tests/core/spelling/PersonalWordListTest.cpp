#include "core/spelling/PersonalWordList.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/spelling/WordList.h"
#include "support/FileSizeLimit.h"
#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

using Outcome = PersonalWordList::Outcome;
using testing::FileSizeLimit;
using testing::TempDir;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(PersonalWordList, LoadsWordsAndSkipsDamage) {
    const TempDir dir;
    const std::string content = std::string("Akutagawa\r\nP\xC9REZ\n\nmal\0palabra\n", 27) +
                                std::string(PersonalWordList::MAX_WORD_BYTES + 1, 'x') +
                                "\nakutagawa\n\xFAltimo";
    const PersonalWordList list(dir.Write("personal.dic", content));
    EXPECT_TRUE(list.Readable());
    EXPECT_EQ(list.Size(), 3u);
    for (const char* word : {"akutagawa", "p\xE9rez", "\xFAltimo"}) {
        EXPECT_TRUE(list.Contains(word)) << word;
    }
    EXPECT_FALSE(list.Contains("mal"));
    EXPECT_FALSE(list.Contains("P\xC9REZ"));  // looked up in lower case
    std::vector<std::string_view> found;
    list.FindFolded("perez", found);
    EXPECT_EQ(found, std::vector<std::string_view>{"p\xE9rez"});

    // A missing file is an empty list that can be added to; a folder or a FIFO
    // in its place is skipped without blocking and never replaced.
    EXPECT_TRUE(PersonalWordList(dir.Path() + "/falta.dic").Readable());
    const std::string fifo = dir.Path() + "/fifo.dic";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {dir.Path(), fifo}) {
        PersonalWordList odd(path);
        EXPECT_FALSE(odd.Readable()) << path;
        EXPECT_EQ(odd.Size(), 0u) << path;
        EXPECT_EQ(odd.Add({"hola"}), Outcome::NotReadable) << path;
        EXPECT_NE(odd.SkippedMessage().find("carpeta, una tuber\xED"
                                            "a"),
                  std::string::npos);
    }
    EXPECT_EQ(list.SkippedMessage(), "");
    // Too large to be read: skipped, and said so.
    const std::string large = dir.Write("grande.dic", "");
    ASSERT_EQ(::truncate(large.c_str(), PersonalWordList::MAX_FILE_BYTES + 1), 0);
    const PersonalWordList big(large);
    EXPECT_EQ(big.LoadResult().error, FileError::tooLarge);
    EXPECT_NE(big.SkippedMessage().find("pasa de 16 MiB"), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));

    // The main list passes a word of either list; a missing main list every word.
    WordList words(dir.Write("es.dic", "hola\n"));
    const PersonalWordList personal(dir.Path() + "/personal.dic");
    words.SetPersonalList(&personal);
    EXPECT_TRUE(words.CheckWord("Akutagawa,"));
    EXPECT_TRUE(words.CheckWord("hola"));
    EXPECT_FALSE(words.CheckWord("adi\xF3s"));
    WordList missing(dir.Path() + "/nada.dic");
    missing.SetPersonalList(&personal);
    EXPECT_TRUE(missing.CheckWord("adi\xF3s"));
}

TEST(PersonalWordList, AddAppendsNewWordsInOneReplacement) {
    const TempDir dir;
    const std::string path = dir.Path() + "/sub/quirtel/personal.dic";
    PersonalWordList list(path);
    EXPECT_EQ(list.Add({"Canci\xF3n", "akutagawa", "canci\xF3n", "", "dos\nl\xEDneas"}),
              Outcome::Written);
    EXPECT_EQ(ReadAll(path), "canci\xF3n\nakutagawa\n");
    EXPECT_TRUE(list.Contains("canci\xF3n"));

    // Edited by hand since: the edit is kept byte for byte, a missing last
    // line end is added, words already there are not added again.
    { std::ofstream(path, std::ios::binary | std::ios::app) << "Mishima\r\nbad\0x"; }
    const std::string edited = ReadAll(path);
    EXPECT_EQ(list.Add({"MISHIMA", "akutagawa"}), Outcome::Unchanged);
    EXPECT_EQ(ReadAll(path), edited);
    EXPECT_TRUE(list.Contains("mishima"));
    EXPECT_EQ(list.Add({"kafka", "mishima"}), Outcome::Written);
    EXPECT_EQ(ReadAll(path), edited + "\nkafka\n");

    // A write that fails leaves the old file whole and the list as it was.
    const std::string before = ReadAll(path);
    Outcome failed = Outcome::Written;
    {
        FileSizeLimit limit(8);
        failed = list.Add({"borges"});
    }
    EXPECT_EQ(failed, Outcome::NotWritten);
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(list.Contains("borges"));
    EXPECT_NE(list.FailureMessage(failed).find("personal.dic"), std::string::npos);
    EXPECT_EQ(PersonalWordList("").Add({"hola"}), Outcome::NotReadable);
}

// Instances adding at the same time each keep their words: each addition
// reads the file again under the lock.
TEST(PersonalWordList, ConcurrentAddsKeepEveryWord) {
    const TempDir dir;
    const std::string path = dir.Path() + "/quirtel/personal.dic";
    std::vector<pid_t> writers;
    for (const char* prefix : {"uno", "dos"}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            PersonalWordList list(path);
            bool ok = true;
            for (int i = 0; i < 50; ++i) {
                ok = list.Add({prefix + std::to_string(i)}) == Outcome::Written && ok;
            }
            ::_exit(ok ? 0 : 1);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const PersonalWordList all(path);
    EXPECT_EQ(all.Size(), 100u);
}

}  // namespace
}  // namespace quirtel
