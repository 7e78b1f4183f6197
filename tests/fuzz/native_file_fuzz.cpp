// Opens arbitrary bytes as a native file through the document, with the drawn shapes
// registered for node type 22 (as the control has them) and a password prompt that answers with a fixed word. A file that is
// refused must leave a new empty document with one author record; a file that opens must
// save, and what it saved must open again to the same body record: the same text and the
// same objects in the same places (an anchored object must not move on opening).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_password.h"
#include "tests/support/headless_windows.h"
#include "document/ql_doc.h"
#include "platform/base/system.h"
#include "platform/file/archive.h"
#include "platform/ui/modal.h"
#include "objects/shape_object.h"
#include "tests/document/test_object.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using fuzzsupport::BodyRecord;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::RegisterKinds();
    RegisterShapeKind(); // node type 22 as a file has it, not the tests' kind
    static CHeadlessWindows window;
    static CQlDoc doc(&window, &window);
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
