#include "core/settings/CopyChoice.h"

#include <gtest/gtest.h>

#include "core/settings/RegistryFile.h"
#include "support/TempFolder.h"

namespace quirtel {
namespace {

TEST(CopyChoice, KeptAcrossRunsAndMendedWhenDamaged) {
    testing::TempFolder folder;
    const std::string path = folder.File("registry.reg");
    {
        RegistryFile registry(path);
        EXPECT_EQ(LoadCopyChoice(registry), CopyChoice{});  // nothing stored: free test
    }
    // A user's path keeps its bytes as they are (not UTF-8, spaces, backslash).
    const CopyChoice copy{CopyChoice::Kind::UserFile, "/home/ana/ex\xE1menes\\ 2026.txt",
                          CopyRules{15, 10, 250, 5}};
    {
        RegistryFile registry(path);
        ASSERT_TRUE(SaveCopyChoice(registry, copy));
    }
    {
        RegistryFile registry(path);
        EXPECT_EQ(LoadCopyChoice(registry), copy);
        // Back to free typing: the rules stay for the next copy.
        ASSERT_TRUE(SaveCopyChoice(registry, CopyChoice{CopyChoice::Kind::Free, "x", copy.rules}));
    }
    {
        RegistryFile registry(path);
        EXPECT_EQ(LoadCopyChoice(registry), (CopyChoice{CopyChoice::Kind::Free, "", copy.rules}));
    }
    // Values out of range, written by hand, come back clamped; a copy without
    // its text is a free test.
    testing::WriteBytes(path,
                        "Windows Registry Editor Version 5.00\r\n\r\n"
                        "[HKEY_CURRENT_USER\\Software\\Quirtel\\Tapo\\Copy]\r\n"
                        "\"Kind\"=hex:01,00,00,00\r\n"
                        "\"Minutes\"=hex:63,00,00,00\r\n"
                        "\"Penalty\"=hex:ff,ff,ff,ff\r\n");
    RegistryFile registry(path);
    const CopyChoice mended = LoadCopyChoice(registry);
    EXPECT_EQ(mended.kind, CopyChoice::Kind::Free);
    EXPECT_EQ(mended.rules.minutes, CopyRules::MAX_MINUTES);
    EXPECT_EQ(mended.rules.penalty, 0);
}

}  // namespace
}  // namespace quirtel
