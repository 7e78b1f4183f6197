// Feeds arbitrary bytes to the RTF reader's buffer read, as a clipboard block or a file
// from any program would reach it: the first byte picks the preparation (open, append or
// paste into a document that holds text), the rest is the RTF. Whatever the reader makes
// of it, it must not crash or overrun, must leave no picture file in the temporary folder,
// and must leave a body that lays out.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "document/doc_body.h"
#include "document/import_sink.h"
#include "document/ql_doc.h"
#include "io/rtf_importer.h"
#include "io/rtf_reader.h"
#include "platform/base/system.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/io/rtf_support.h"

namespace {

std::size_t TempFileCount()
{
    std::size_t n = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(plat::TempDirUtf8(), ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool once = [] {
        fuzzsupport::RegisterKinds();
        // The table and image kinds are the tests' own until the real ones register.
        CQlDoc probe;
        probe.Reset();
        if (!CreateDocObject(&probe, kNodeTable, nullptr)) RegisterDocObject(kNodeTable, &rtftest::MakeFakeTable);
        if (!CreateDocObject(&probe, kNodeImage, nullptr)) RegisterDocObject(kNodeImage, &rtftest::MakeFakePicture);
        RegisterRtfImporter();
        return true;
    }();
    (void)once;
    if (size == 0) return 0;
    static const ImportMode kModes[] = {ImportMode::kOpen, ImportMode::kAppend, ImportMode::kPaste};
    CQlDoc doc;
    doc.Reset();
    CDocBody& body = *doc.GetBody();
    body.InsertItemsAtCaret(u"first line\rsecond line");
    body.SetSelection(CTextPos(4, body.GetName()), CTextPos(4, body.GetName()));
    body.BuildPageRegions();
    body.RelayoutWhole();

    const std::size_t before = TempFileCount();
    PrepareImportSink(doc, kModes[data[0] % 3]);
    {
        CRtfReader reader;
        reader.ReadBuffer(data + 1, size - 1);
    }
    ResetImportSink();
    // The reader's own picture files are gone; the image store keeps one working copy an
    // entry while the document is open.
    if (TempFileCount() != before + static_cast<std::size_t>(doc.GetImageStore().GetCount())) __builtin_trap();
    body.BuildPageRegions();
    body.RelayoutWhole();
    return 0;
}
