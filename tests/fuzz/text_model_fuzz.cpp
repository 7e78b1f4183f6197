// Feeds arbitrary bytes to the loaders of the text model: containers and text blocks in
// the four archive modes, character and paragraph formats, the author table, the palette
// and text positions. The first byte picks the loader (bits 2-4) and the mode (bits 0-1).
// Anything may be refused with the archive's error; nothing may crash, leak or read out of
// bounds. A container that loads in mode 1 or 2 must save a record that loads back to the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/author_list.h"
#include "document/color_palette.h"
#include "document/named_container.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "platform/file/archive.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

CQlDoc& Doc()
{
    static CQlDoc* doc = fuzzsupport::NewThreeAuthorDoc();
    return *doc;
}

std::vector<std::uint8_t> SaveBox(CNamedContainer& box, int mode)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    CCharFormat running(&Doc());
    box.Save(ar, running, mode);
    ar.Close();
    return mem.Detach();
}

void LoadBox(const std::vector<std::uint8_t>& bytes, CNamedContainer& box, int mode)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    CCharFormat running(&Doc());
    box.Load(ar, running, mode);
}

void Container(plat::Archive& ar, int mode)
{
    CNamedContainer box(&Doc(), nullptr);
    CCharFormat running(&Doc());
    box.Load(ar, running, mode);
    if (mode != kArchiveFile && mode != kArchiveUndo) return;
    std::vector<std::uint8_t> first = SaveBox(box, mode);
    CNamedContainer again(&Doc(), nullptr);
    LoadBox(first, again, mode); // must not throw: what we write, we read
    if (SaveBox(again, mode) != first) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int mode = 1 + (data[0] & 3);
    plat::MemFile mem(std::vector<std::uint8_t>(data + 1, data + size));
    plat::Archive ar(mem, plat::Archive::kLoad);
    try {
        switch ((data[0] >> 2) % 7) {
        case 0:
            Container(ar, mode);
            break;
        case 1: {
            CNamedContainer box(&Doc(), nullptr);
            int at = 0;
            box.InsertString(at, u"ab", CCharFormat());
            at = 1;
            box.ReadTextBlock(ar, mode, at);
            break;
        }
        case 2: {
            CCharFormat f(&Doc());
            f.Load(ar, mode);
            break;
        }
        case 3: {
            CParaFormat p;
            p.Load(ar, mode);
            break;
        }
        case 4: {
            CAuthorList authors;
            authors.Load(ar);
            break;
        }
        case 5: {
            CColorPalette palette;
            palette.Load(ar);
            break;
        }
        default: {
            CTextPos pos;
            pos.Load(ar, mode);
            break;
        }
        }
    } catch (const plat::ArchiveException&) {
    }
    return 0;
}
