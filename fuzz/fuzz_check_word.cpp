// CheckWord on any token: no crash, no undefined behaviour, and the answers
// that do not depend on the word list agree between lists. The advice on a
// marked token agrees with the check, and every suggestion passes it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzTempFile.h"
#include "core/spelling/SpellingAdvisor.h"
#include "core/spelling/WordCheck.h"
#include "core/spelling/WordList.h"

namespace {

using quirtel::WordList;

const WordList& SmallList() {
    static const quirtel::fuzz::FuzzTempFile file("check_word.dic");
    static const WordList list(
        file.Write("hola\nqu\xE9\na\ny\n\xF1"
                   "and\xFA\nping\xFC"
                   "ino\n12:30\ne-mail\nhola,adi\xF3s\n"
                   "\n \nHola\nelectroencefalografista\nelectroencefalografistas\n"
                   "electroencefalografistasssss\nelectroencefalografistassssss\n"));
    return list;
}

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string token(reinterpret_cast<const char*>(data), size);
    static const WordList unloaded("");
    const WordList& list = SmallList();

    const bool accepted = list.CheckWord(token);
    const bool shapeOk = unloaded.CheckWord(token);
    // A token that the word list decides about passes the shape rules first.
    Require(shapeOk || !accepted);

    // The case of the token plays no part.
    std::string lower = token;
    quirtel::ToLowerCp1252(lower);
    Require(list.CheckWord(lower) == accepted);
    Require(unloaded.CheckWord(lower) == shapeOk);

    Require(list.Contains(token) == list.ContainsLinear(token));
    Require(list.Contains(lower) == list.ContainsLinear(lower));
    Require(unloaded.Contains(token));

    static const quirtel::SpellingAdvisor advisor(list, "");
    const auto advice = advisor.Advise(token);
    Require(advice.has_value() == !accepted);
    if (advice) {
        Require((advice->kind == quirtel::FaultKind::Shape) == !shapeOk);
        Require(advice->suggestions.size() <= quirtel::SpellingAdvisor::MAX_SUGGESTIONS);
        for (const std::string& suggestion : advice->suggestions) {
            Require(list.CheckWord(suggestion));
        }
    }
    return 0;
}
