#pragma once

#include <string>
#include <string_view>

namespace quirtel {

// The data folder of a program started in a folder of its own: the word list,
// the word frequencies and the sounds.
inline constexpr const char* LOCAL_DATA_FOLDER = "./datos";
// The word list's name inside a data folder.
inline constexpr const char* WORD_LIST_NAME = "es.dic";

// Where the program's data comes from, and whether that is the installed copy.
struct DataFolder {
    std::string folder;
    // True when `localFolder` had no word list and `installedFolder` is used.
    bool installed = false;
};

// `localFolder` when it holds WORD_LIST_NAME or a name that differs from it
// only in ASCII case; else `installedFolder` when that holds one (so a
// start from any folder finds the installed data); else `localFolder`, whose
// missing list is then reported as always. An empty `installedFolder` never
// replaces the local one.
DataFolder ChooseDataFolder(const std::string& installedFolder,
                            const std::string& localFolder = LOCAL_DATA_FOLDER);

// `folder` + "/" + `name`: "./datos/es.dic" for the local folder.
std::string DataFile(std::string_view folder, std::string_view name);

// The one line a program says on standard error when it uses the installed
// data: "<program>: no hay ./datos/es.dic; uso los datos instalados en <folder>".
std::string InstalledDataNote(std::string_view program, const DataFolder& data);

}  // namespace quirtel
