#include "core/session/ModelText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "core/common/Cp1252.h"
#include "core/session/ModelTextCatalogue.h"
#include "support/TempFolder.h"

namespace quirtel {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Every shipped text must load, be typable in Windows-1252 and be long enough
// for a ten-minute test; together they must use the whole Spanish keyboard.
TEST(ModelText, ShippedTextsAreCompleteAndUseTheWholeKeyboard) {
    const char* root = std::getenv("QUIRTEL_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::string folder = std::string(root) + "/datos/textos";
    const ModelTextCatalogue catalogue(folder);
    const std::vector<ModelTextEntry> entries = catalogue.List();

    std::size_t files = 0;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        files += item.path().extension() == ".txt" ? 1 : 0;
    }
    EXPECT_EQ(entries.size(), files) << "a text file of an unknown kind or without a passage";

    std::map<ModelTextKind, int> kinds;
    std::set<char> used;
    for (const ModelTextEntry& entry : entries) {
        SCOPED_TRACE(entry.fileName);
        const std::string bytes = ReadBytes(folder + "/" + entry.fileName);
        ASSERT_TRUE(cp1252::IsValidUtf8(bytes));
        EXPECT_EQ(cp1252::ToUtf8(cp1252::FromUtf8(bytes)), bytes) << "a character cp1252 lacks";
        EXPECT_EQ(bytes.find('\r'), std::string::npos);
        EXPECT_FALSE(entry.title.empty());
        EXPECT_NE(entry.title.back(), '.');
        EXPECT_GE(entry.length, 3500u);
        const ModelTextResult loaded = catalogue.Load(entry.fileName);
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.model.text.size(), entry.length);
        used.insert(loaded.model.text.begin(), loaded.model.text.end());
        ++kinds[entry.kind];
    }
    EXPECT_GE(entries.size(), 24u);
    for (const ModelTextKind kind :
         {ModelTextKind::administrative, ModelTextKind::informative, ModelTextKind::narrative}) {
        EXPECT_GE(kinds[kind], 8) << ModelTextKindName(kind);
    }
    const std::string required = cp1252::FromUtf8(
        "áéíóúüñÁÉÍÓÚÜÑ¿¡0123456789%€ºª«»“”'():;,.-/"
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (const char c : required) {
        EXPECT_TRUE(used.count(c)) << "unused: " << cp1252::ToUtf8(std::string(1, c));
    }
}

TEST(ModelText, UserFileIsLoadedWholeOrRefusedWithItsCause) {
    TempFolder temp;
    ASSERT_FALSE(temp.Path().empty());
    struct Case {
        const char* name;
        std::string bytes;
        ModelTextError error;
        std::string text;  // Windows-1252
        const char* title;
    };
    const std::string limit(MODEL_TEXT_MAX_BYTES, 'a');
    const Case cases[] = {
        {"utf8.txt", "Pingüino: ¿año 2º?\n", ModelTextError::none,
         "Ping\xFCino: \xBF"
         "a\xF1o 2\xBA?\n",
         "utf8"},
        {"ventana.cp1252.txt", "Ping\xFCino \x80 \x93hola\x94", ModelTextError::none,
         "Ping\xFCino \x80 \x93hola\x94", "ventana.cp1252"},
        {"marca", "\xEF\xBB\xBFuna\r\ndos\rtres ☃", ModelTextError::none, "una\ndos\ntres ?",
         "marca"},
        {".oculto", limit, ModelTextError::none, limit, ".oculto"},
        {"vacio.txt", "", ModelTextError::empty, "", ""},
        {"blancos.txt", " \n\t\r\n", ModelTextError::empty, "", ""},
        {"solo-marca.txt", "\xEF\xBB\xBF\n", ModelTextError::empty, "", ""},
        {"nul.txt", std::string("texto\0texto", 11), ModelTextError::binary, "", ""},
        {"controles.txt",
         "ab\x01\x02\x03\x04\x05\x06\x07\x08"
         "cdefghijkl",
         ModelTextError::binary, "", ""},
        {"grande.txt", limit + "a", ModelTextError::tooLarge, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(temp.File(c.name), c.bytes);
        const ModelTextResult result = LoadUserModelText(temp.File(c.name));
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.model.text, c.text);
        EXPECT_EQ(result.model.title, c.title);
    }

    const std::string fifo = temp.File("tuberia.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadUserModelText(fifo).error, ModelTextError::notRegularFile);
    EXPECT_EQ(LoadUserModelText(temp.Path().string()).error, ModelTextError::notRegularFile);
    EXPECT_EQ(LoadUserModelText(temp.File("falta.txt")).error, ModelTextError::notFound);
    EXPECT_EQ(LoadUserModelText("").error, ModelTextError::notFound);
}

// The catalogue lists only "<kind>-*.txt" files with a title and a passage,
// in name order, and loads nothing outside its folder.
TEST(ModelText, CatalogueListsTextsOfKnownKindsInNameOrder) {
    TempFolder temp;
    WriteBytes(temp.File("narrativo-02-b.txt"), "Título\n\nÉrase una vez.\n\n");
    WriteBytes(temp.File("informativo-01-a.txt"), "Noticia \nCuerpo\r\n");
    WriteBytes(temp.File("administrativo-01-solo-titulo.txt"), "Solo el título\n");
    WriteBytes(temp.File("poesia-01-x.txt"), "Kind\nunknown\n");
    WriteBytes(temp.File("narrativo-01-x.md"), "Wrong\nextension\n");
    WriteBytes(temp.File("otro/narrativo-09-dentro.txt"), "Dentro\nde otra carpeta\n");

    const ModelTextCatalogue catalogue(temp.Path().string());
    const std::vector<ModelTextEntry> entries = catalogue.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fileName, "informativo-01-a.txt");
    EXPECT_EQ(entries[0].title, "Noticia");
    EXPECT_EQ(entries[0].kind, ModelTextKind::informative);
    EXPECT_EQ(entries[0].length, 6u);
    EXPECT_EQ(entries[1].title, "T\xEDtulo");
    EXPECT_EQ(entries[1].kind, ModelTextKind::narrative);

    const ModelTextResult story = catalogue.Load("narrativo-02-b.txt");
    ASSERT_TRUE(story.ok());
    EXPECT_EQ(story.model.text, "\xC9rase una vez.");
    EXPECT_EQ(catalogue.Load("administrativo-01-solo-titulo.txt").error, ModelTextError::empty);
    EXPECT_EQ(catalogue.Load("../narrativo-02-b.txt").error, ModelTextError::notFound);
    EXPECT_TRUE(ModelTextCatalogue(temp.File("falta")).List().empty());
    EXPECT_EQ(ModelTextCatalogue().Folder(), "./datos/textos");
}

}  // namespace
}  // namespace quirtel
