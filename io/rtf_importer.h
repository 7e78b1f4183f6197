// The RTF reader as the document's reader of RTF files and blocks: registered once by
// RegisterRtfImporter, which the control, the tests and the fuzz target call.
#pragma once
#include <cstdint>
#include <span>

#include "document/doc_importer.h"

class CRtfImporter : public CDocImporter {
public:
    plat::StringView GetFormatName() const override { return kRtfFormatName; }
    // "{\rtf" (bytes 2 to 4 are "rtf").
    bool Recognises(std::span<const std::uint8_t> head) const override;
    // Prepares the import sink for the mode and reads the stream whole. What the reader
    // took before an error stays, so the read is never refused; an open or an empty
    // stream gets the default page setup first.
    bool Import(CQlDoc& doc, plat::Stream& in, ImportMode mode) override;
    // What the last read returned: 1 read to its end, 0 stopped at an error.
    int GetLastResult() const { return m_lastResult; }

private:
    int m_lastResult = 0;
};

// Registers the RTF reader with the document (once per process; again after a test's
// clean-up). Returns it.
CRtfImporter& RegisterRtfImporter();
