#include "core/spelling/DataFolder.h"

#include <sys/stat.h>

#include "core/spelling/CaseVariant.h"

namespace quirtel {
namespace {

// Anything under the name counts: a list that is there but cannot be read is
// reported by its loader, not replaced by another one.
bool HasWordList(const std::string& folder) {
    const std::string path = DataFile(folder, WORD_LIST_NAME);
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 || !FindCaseVariant(path).empty();
}

}  // namespace

DataFolder ChooseDataFolder(const std::string& installedFolder, const std::string& localFolder) {
    if (HasWordList(localFolder) || installedFolder.empty() || !HasWordList(installedFolder)) {
        return {localFolder, false};
    }
    return {installedFolder, true};
}

std::string DataFile(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += '/';
    path += name;
    return path;
}

std::string InstalledDataNote(std::string_view program, const DataFolder& data) {
    return std::string(program) + ": no hay " + DataFile(LOCAL_DATA_FOLDER, WORD_LIST_NAME) +
           "; uso los datos instalados en " + data.folder;
}

}  // namespace quirtel
