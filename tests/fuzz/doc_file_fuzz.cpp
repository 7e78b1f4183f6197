// Feeds arbitrary bytes to the readers of the native file's first sections: the document
// header, the image, video and audio stores (fresh or appending) and the annotation list.
// The first byte picks the reader. Anything may be refused with the archive's error or the
// header's message; nothing may crash, leak, read out of bounds, or leave a file in the
// temporary folder once the stores are gone. What loads must save a record that loads
// back to the same record.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <type_traits>
#include <vector>

#include "document/annotation.h"
#include "document/doc_header.h"
#include "media/media_store.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/ui/message_box.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

template <class Write>
Bytes Saved(Write write)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    write(ar);
    ar.Close();
    return mem.Detach();
}

template <class Read>
void LoadFrom(const Bytes& bytes, Read read)
{
    plat::MemFile mem(bytes);
    plat::Archive ar(mem, plat::Archive::kLoad);
    read(ar);
}

void TempFolderMustBeEmpty()
{
    if (!std::filesystem::is_empty(plat::TempDirUtf8())) __builtin_trap();
}

void Header(plat::Archive& ar)
{
    CDocHeader header;
    if (!header.Load(ar)) return;
    const Bytes first = Saved([&](plat::Archive& out) { header.Store(out); });
    CDocHeader again;
    bool ok = false;
    LoadFrom(first, [&](plat::Archive& in) { ok = again.Load(in); });
    // A protected header loaded because "" (what an absent prompt answers) is its
    // password, so it loads again as well.
    if (!ok || Saved([&](plat::Archive& out) { again.Store(out); }) != first) __builtin_trap();
}

template <class Store>
void MediaStore(plat::Archive& ar, bool append)
{
    {
        Store store;
        // Appending adds to what is there (a link: pictures have none).
        if constexpr (!std::is_same_v<Store, CImageStore>) {
            if (append) store.AddFile(u"http://already/there");
        }
        store.Load(ar, append);
        store.ClearUsed();
        // Every entry, not by key: keys may repeat, and a key marks only its first entry.
        for (int i = 0; i < store.GetCount(); ++i) store.GetAt(i)->SetUsed(true);
        store.CountUsed();
        const Bytes first = Saved([&](plat::Archive& out) { store.Save(out); });
        Store again;
        LoadFrom(first, [&](plat::Archive& in) { again.Load(in, false); });
        if (again.GetCount() != store.GetCount()) __builtin_trap();
        for (int i = 0; i < store.GetCount(); ++i) {
            if (again.GetAt(i)->GetKey() != store.GetAt(i)->GetKey()) __builtin_trap();
            if (!(again.GetAt(i)->GetInfo() == store.GetAt(i)->GetInfo())) __builtin_trap();
        }
    }
    TempFolderMustBeEmpty();
}

void Annotations(plat::Archive& ar)
{
    CAnnotationList list;
    list.Load(ar);
    const Bytes first = Saved([&](plat::Archive& out) { list.Save(out); });
    CAnnotationList again;
    LoadFrom(first, [&](plat::Archive& in) { again.Load(in); });
    if (Saved([&](plat::Archive& out) { again.Save(out); }) != first) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    plat::MemFile mem(Bytes(data + 1, data + size));
    plat::Archive ar(mem, plat::Archive::kLoad);
    const bool append = (data[0] & 0x80) != 0;
    try {
        switch (data[0] % 5) {
        case 0: Header(ar); break;
        case 1: MediaStore<CImageStore>(ar, append); break;
        case 2: MediaStore<CVideoStore>(ar, append); break;
        case 3: MediaStore<CAudioStore>(ar, append); break;
        default: Annotations(ar); break;
        }
    } catch (const plat::ArchiveException&) {
        TempFolderMustBeEmpty();
    }
    // The message boxes of refused headers are recorded; keep the record from growing.
    plat::ClearMessageBoxLog();
    return 0;
}
