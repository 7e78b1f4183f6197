#include "io/rtf_importer.h"

#include <vector>

#include "document/import_sink.h"
#include "io/rtf_reader.h"
#include "platform/file/file.h"

bool CRtfImporter::Recognises(std::span<const std::uint8_t> head) const
{
    return head.size() >= 5 && head[2] == 'r' && head[3] == 't' && head[4] == 'f';
}

bool CRtfImporter::Import(CQlDoc& doc, plat::Stream& in, ImportMode mode)
{
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (std::size_t n; (n = in.Read(buffer, sizeof buffer)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    PrepareImportSink(doc, mode);
    // A file's read sends the default page (the sink ignores it unless this is an open);
    // a file that could not be read sends nothing.
    if (mode != ImportMode::kPaste && !bytes.empty()) ImportPageSetup(12240, 15840, 1800, 1800, 1440, 1440);
    CRtfReader reader;
    m_lastResult = reader.ReadBuffer(bytes.data(), bytes.size());
    ResetImportSink();
    return true;
}

CRtfImporter& RegisterRtfImporter()
{
    static CRtfImporter importer;
    RegisterDocImporter(&importer);
    return importer;
}
