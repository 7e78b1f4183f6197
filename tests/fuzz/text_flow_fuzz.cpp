// Feeds arbitrary bytes to the readers of text flows: the flow record in its four archive
// modes, the format-state snapshot and a pasted text block. The first byte picks the
// reader (bits 2-3) and the mode (bits 0-1). Anything may be refused with the archive's
// error; nothing may crash, leak or read out of bounds, and whatever loads must be a sound
// flow: its one final paragraph end last, the caret and anchor inside it. A flow that
// loads in mode 1 or 2 must save a record that loads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_flow.h"
#include "document/text_item.h"
#include "platform/file/archive.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

CQlDoc& Doc()
{
    static CQlDoc* doc = [] {
        CQlDoc* d = fuzzsupport::NewThreeAuthorDoc();
        d->ResetFormatState();
        return d;
    }();
    return *doc;
}

std::vector<std::uint8_t> SaveFlow(CTextFlow& flow, int mode)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    flow.Save(ar, mode);
    ar.Close();
    return mem.Detach();
}

// A flow with some text, as the records are read into.
void Seed(CTextFlow& flow)
{
    flow.AppendFinalParaEnd();
    flow.InsertItemsAtCaret(u"ab\rc");
    flow.SetSelection(CTextPos(1, flow.GetName()), CTextPos(3, flow.GetName()));
}

void LoadFlow(plat::Archive& ar, int mode)
{
    CTextFlow flow(&Doc(), nullptr);
    Seed(flow);
    flow.Load(ar, mode);
    fuzzsupport::CheckSoundFlow(flow);
    if (mode != kArchiveFile && mode != kArchiveUndo) return;
    std::vector<std::uint8_t> first = SaveFlow(flow, mode);
    CTextFlow again(&Doc(), nullptr);
    plat::MemFile mem(first);
    plat::Archive in(mem, plat::Archive::kLoad);
    again.Load(in, mode); // must not throw: what we write, we read
    if (SaveFlow(again, mode) != first) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int mode = 1 + (data[0] & 3);
    std::vector<std::uint8_t> rest(data + 1, data + size);
    try {
        switch ((data[0] >> 2) % 3) {
        case 0: {
            plat::MemFile mem(rest);
            plat::Archive ar(mem, plat::Archive::kLoad);
            LoadFlow(ar, mode);
            break;
        }
        case 1: {
            plat::MemFile mem(rest);
            plat::Archive ar(mem, plat::Archive::kLoad);
            CFormatState state(&Doc());
            state.Load(ar, mode);
            break;
        }
        default: {
            CTextFlow flow(&Doc(), nullptr);
            Seed(flow);
            try {
                flow.PasteTextBlock(rest, kArchiveClipboard);
            } catch (const plat::ArchiveException&) {
            }
            fuzzsupport::CheckSoundFlow(flow);
            break;
        }
        }
    } catch (const plat::ArchiveException&) {
    }
    return 0;
}
