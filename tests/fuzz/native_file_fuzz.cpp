// Opens arbitrary bytes as a native file through the document, with the tests' object
// kind registered and a password prompt that answers with a fixed word. A file that is
// refused must leave a new empty document with one author record; a file that opens must
// save, and what it saved must open again to the same text record and the same objects
// with the same sizes. Object positions are not compared: an anchored object that the
// layout pushes on (see tests/fuzz/findings/native_file_anchor_drift) may settle lower
// after each open, which is still an open question of the anchoring rules.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_password.h"
#include "document/float_object.h"
#include "document/doc_window.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/ui/modal.h"
#include "tests/document/test_object.h"

namespace {

// The text part of the body's record, then each object's node type and size.
std::vector<std::uint8_t> BodyRecord(CDocBody& body)
{
    plat::MemFile mem;
    plat::Archive ar(mem, plat::Archive::kStore);
    body.CTextFlow::Save(ar, kArchiveFile);
    ar.WriteI32(body.GetObjectCount());
    for (int i = 0; i < body.GetObjectCount(); ++i) {
        CFloatObject* object = body.GetObject(i);
        plat::Rect r = object->GetBounds();
        ar.WriteU16(object->GetNodeType());
        ar.WriteI32(r.Width());
        ar.WriteI32(r.Height());
    }
    ar.Close();
    return mem.Detach();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static objtest::ScopedTestKind kind;
    static CHeadlessDocWindow window;
    static CQlDoc doc(&window);
    static const plat::String input = plat::TempDir() + u"fuzz_native_file.qln";
    static const plat::String output = plat::TempDir() + u"fuzz_native_file_saved.qln";
    SetPasswordPrompt([] { return plat::String(u"fuzz"); });
    plat::ClearModalLog();

    {
        std::FILE* f = std::fopen(plat::Utf16ToUtf8(input).c_str(), "wb");
        if (!f) return 0;
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    if (!doc.FileOpen(input, false)) {
        if (doc.GetBody()->GetCount() != 1 || doc.GetBody()->GetObjectCount() != 0 ||
            doc.GetAuthors().GetCount() != 1 || doc.GetAnnotations().GetCount() != 0 ||
            doc.GetImageStore().GetCount() + doc.GetVideoStore().GetCount() + doc.GetAudioStore().GetCount() != 0)
            __builtin_trap();
        return 0;
    }
    const std::vector<std::uint8_t> record = BodyRecord(*doc.GetBody());
    if (!doc.FileSave(output)) __builtin_trap();
    if (!doc.FileOpen(output, false)) __builtin_trap();
    if (BodyRecord(*doc.GetBody()) != record) __builtin_trap();
    return 0;
}
