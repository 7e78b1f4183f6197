// Readers of other formats (RTF, Word, ...) live above the document core and plug into it
// here: each registers once, and the document's own entry points (opening a file,
// appending one, pasting a clipboard block) hand the bytes to the reader that recognises
// them or that is named. The document keeps its own steps around the read - resetting,
// timers, the caret, relayout, the author record of the next editor - so every reader gets
// them alike.
#pragma once
#include <cstdint>
#include <span>

#include "platform/base/strings.h"

class CQlDoc;
namespace plat {
class Stream;
}

// The name the RTF reader registers under.
inline constexpr plat::StringView kRtfFormatName = u"rtf";

// Why a reader is called: to fill a new document, to add at the end of the body, or to
// insert a clipboard block at the caret.
enum class ImportMode { kOpen, kAppend, kPaste };

class CDocImporter {
public:
    virtual ~CDocImporter() = default;
    // The format's name, e.g. "rtf"; one reader per name.
    virtual plat::StringView GetFormatName() const = 0;
    // Whether a file or block starting with these bytes (up to kSniffBytes) is this format.
    virtual bool Recognises(std::span<const std::uint8_t> head) const = 0;
    // Reads the stream (positioned at its start) into the document at the body's caret.
    // False refuses the input; the document then takes back what the read added.
    virtual bool Import(CQlDoc& doc, plat::Stream& in, ImportMode mode) = 0;

    // How many leading bytes the document shows Recognises.
    static constexpr std::size_t kSniffBytes = 16;
};

// Registers a reader for the life of the process (not owned: readers are static objects
// of their libraries). A reader of the same name is replaced; the one replaced is
// returned, so that a test can put it back. Null is ignored.
CDocImporter* RegisterDocImporter(CDocImporter* importer);
// Takes the reader of the name, or every reader, off the list (a test's clean-up).
void UnregisterDocImporter(plat::StringView formatName);
void UnregisterDocImporters();
// The first registered reader that recognises the bytes / has the name; null when none.
CDocImporter* FindDocImporter(std::span<const std::uint8_t> head);
CDocImporter* FindDocImporterByName(plat::StringView formatName);
