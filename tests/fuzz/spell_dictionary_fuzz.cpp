// Reads arbitrary bytes as an English dictionary file and as a Russian word list, then
// looks words up and asks for suggestions over what was read. Anything may be refused;
// nothing may crash, leak or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "spell/english_dictionary.h"
#include "spell/russian_word_list.h"

namespace {

const char16_t* const kEnglishWords[] = {u"receive", u"recieve", u"Paris", u"BRKN", u"", u"a'b"};
const char16_t* const kRussianWords[] = {u"мир", u"МИР", u"прривет", u"ёж"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    std::vector<plat::String> list;

    CEnglishDictionary english;
    if (english.Read(data, size) == kDictOk) {
        for (const char16_t* w : kEnglishWords) {
            english.Find(w);
            english.Suggest(w, list);
        }
        // The first record's own word, which the lookup must find its way to.
        if (!english.Records().empty()) {
            const plat::String w(english.Records().front().Word());
            english.Find(w);
            english.Suggest(w, list);
        }
        english.Add(u"  Added  ");
        english.Find(u"added");
    }

    CRussianWordList russian;
    russian.Read(data, size);
    for (const char16_t* w : kRussianWords) {
        russian.Contains(w);
        list.clear();
        russian.Suggest(w, list);
    }
    if (russian.Count() > 0) {
        const plat::String w(russian.Word(0).substr(0, 64));
        russian.Contains(w);
        list.clear();
        russian.Suggest(w, list);
    }
    return 0;
}
