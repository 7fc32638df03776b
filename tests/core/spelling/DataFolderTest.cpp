#include "core/spelling/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "support/SpellingTestSupport.h"

namespace quirtel {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, LocalListFirstThenTheInstalledOne) {
    // What each folder holds ("" for nothing), and which one is chosen.
    const struct {
        const char* local;
        const char* installed;
        bool installedGiven;
        bool chooseInstalled;
    } cases[] = {
        {"es.dic", "es.dic", true, false},
        {"ES.dic", "es.dic", true, false},   // a case variant counts as the list
        {"es.dic/", "es.dic", true, false},  // so does something unreadable by the name
        {"", "es.dic", true, true},
        {"otro.dic", "ES.DIC", true, true},
        {"", "", true, false},         // nothing better: the local failure is shown
        {"", "es.dic", false, false},  // no installed folder known
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        const std::string local = dir.Path() + "/datos";
        const std::string installed = dir.Path() + "/share/quirtel/datos";
        fs::create_directories(local);
        fs::create_directories(installed);
        for (const auto& [folder, name] : {std::pair{local, c.local}, {installed, c.installed}}) {
            const std::string file = name;
            if (file.ends_with('/')) {
                fs::create_directory(folder + "/" + file);
            } else if (!file.empty()) {
                std::ofstream(folder + "/" + file) << "hola\n";
            }
        }
        const DataFolder chosen = ChooseDataFolder(c.installedGiven ? installed : "", local);
        EXPECT_EQ(chosen.installed, c.chooseInstalled) << c.local << " | " << c.installed;
        EXPECT_EQ(chosen.folder, c.chooseInstalled ? installed : local) << c.local;
    }
}

TEST(DataFolder, PathsAndTheNote) {
    EXPECT_EQ(DataFile(LOCAL_DATA_FOLDER, WORD_LIST_NAME), "./datos/es.dic");
    EXPECT_EQ(DataFile("/usr/share/quirtel/datos", "frecuencias.txt"),
              "/usr/share/quirtel/datos/frecuencias.txt");
    EXPECT_EQ(InstalledDataNote("quirtel", {"/usr/share/quirtel/datos", true}),
              "quirtel: no hay ./datos/es.dic; uso los datos instalados en "
              "/usr/share/quirtel/datos");
}

}  // namespace
}  // namespace quirtel
