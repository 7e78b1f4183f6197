// The tests' own reader of another format: a file that starts "QLTEXT 1\n" followed by
// UTF-8 text. It inserts the text at the body's caret; any other version is refused.
// Registered through the document's importer registry, as the RTF and Word readers are.
#pragma once
#include <cstring>
#include <span>
#include <string>

#include "document/doc_body.h"
#include "document/doc_importer.h"
#include "document/ql_doc.h"
#include "platform/file/file.h"

namespace objtest {

class CTestImporter : public CDocImporter {
public:
    static constexpr char kMagic[] = "QLTEXT ";

    plat::StringView GetFormatName() const override { return u"qltext"; }
    bool Recognises(std::span<const std::uint8_t> head) const override
    {
        const std::size_t n = sizeof kMagic - 1;
        return head.size() >= n && std::memcmp(head.data(), kMagic, n) == 0;
    }
    bool Import(CQlDoc& doc, plat::Stream& in, ImportMode mode) override
    {
        std::string bytes;
        char buffer[4096];
        for (std::size_t n; (n = in.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
        const std::string header = std::string(kMagic) + "1\n";
        if (bytes.compare(0, header.size(), header) != 0) return false;
        ++m_reads;
        m_lastMode = mode;
        doc.GetBody()->InsertItemsAtCaret(plat::Utf8ToUtf16(bytes.substr(header.size())));
        return true;
    }

    int m_reads = 0;
    ImportMode m_lastMode = ImportMode::kPaste;
};

// The test reader's library function, as each importer library has one.
inline CTestImporter& RegisterTestImporter()
{
    static CTestImporter importer;
    RegisterDocImporter(&importer);
    return importer;
}

} // namespace objtest
