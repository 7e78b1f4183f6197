// The header of a native document file: magic and version, the password salt and digest,
// and the page settings (paper, margins, page numbers, running head, default colours).
// The document's sections follow it in the file.
#pragma once
#include <cstdint>

#include "document/doc_password.h"
#include "platform/base/geometry.h"
#include "platform/base/strings.h"
#include "platform/file/archive.h"

class CQlDoc;

class CDocHeader {
public:
    // The version this code writes and the newest it reads.
    static constexpr std::uint8_t kMajorVersion = 1;
    static constexpr std::uint8_t kMinorVersion = 1;
    static constexpr int kMagicSize = 9;
    // The magic field's meaningful bytes, first in every native file ("Quiln" and a 0; the
    // rest of the field is 0). Programs that only need to recognise a document read these.
    static constexpr char kMagic[] = {'Q', 'u', 'i', 'l', 'n', '\0'};
    static constexpr int kMagicBytes = sizeof kMagic;
    static constexpr int kReservedInts = 16;

    // Page-number styles and header rules.
    enum PageNumberStyle : std::uint8_t { kNoPageNumber = 0, kPageOfPages = 1, kPageOnly = 2 };
    enum HeaderRule : std::uint8_t { kNoHeader = 0, kSingleRule = 1, kDoubleRule = 2 };

    // The defaults of a new document; the salt is drawn here, from the runtime's generator
    // seeded with the current time.
    explicit CDocHeader(CQlDoc* owner = nullptr);
    // The settings of a document that has no header yet. Made once: every header made
    // draws a salt.
    static const CDocHeader& NewDocument();

    // Reads a header. Refuses, with the system's message, a file of another format, a
    // newer version, or a protected file whose password is not given (asked through the
    // installed password prompt); the header then keeps what it held. Data that ends or is
    // damaged inside the record raises the archive's error, also leaving the header as it
    // was.
    bool Load(plat::Archive& ar);
    // Writes the record with this code's version and the current salt and digest.
    void Store(plat::Archive& ar) const;

    CQlDoc* GetDocument() const { return m_owner; }
    // The version of the file last read, major * 256 + minor (that of a new header before).
    int GetFileVersion() const { return m_majorVersion * 256 + m_minorVersion; }

    std::int16_t GetSalt() const { return m_salt; }
    const PasswordDigest& GetDigest() const { return m_digest; }
    bool HasPassword() const { return !IsNoPassword(m_digest); }
    // True when the password's digest with this header's salt is the stored one.
    bool CheckPassword(plat::StringView password) const;
    // Protects the document with the password (in memory; the next save writes it).
    // Returns true: the document is changed and should be marked modified.
    bool SetPassword(plat::StringView password);
    // With the right password, removes the protection and returns true; otherwise shows
    // "口令错误，无法解除保护。" and returns false, the protection kept.
    bool RemovePassword(plat::StringView password);

    // Margins (left, top, right, bottom) and paper size, in millimetres.
    plat::Rect GetMargins() const { return plat::Rect(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom); }
    plat::Size GetPaperSize() const { return plat::Size(m_paperWidth, m_paperHeight); }

    // Page settings; sizes in millimetres, font sizes in twips.
    std::uint8_t m_flag = 1; // read and written, with no other use
    std::int32_t m_paperWidth = 200;
    std::int32_t m_paperHeight = 287;
    std::int32_t m_marginLeft = 20;
    std::int32_t m_marginTop = 20;
    std::int32_t m_marginRight = 20;
    std::int32_t m_marginBottom = 20;
    plat::String m_pageNumberFace = u"宋体";
    std::int32_t m_pageNumberSize = 180;
    std::uint8_t m_pageNumberStyle = kPageOfPages;
    std::uint8_t m_pageNumberOnFirst = 0;
    plat::String m_headerText;
    plat::String m_headerFace = u"宋体";
    std::int32_t m_headerSize = 180;
    std::uint8_t m_headerRule = kNoHeader;
    std::uint8_t m_headerOnFirst = 0;
    plat::ColorRef m_defaultTextColor = 0;
    plat::ColorRef m_defaultFillColor = 0x00FFFF00;

private:
    // The page settings, after the digest; raises the archive's error on values no page
    // can have.
    void LoadSettings(plat::Archive& ar);

    CQlDoc* m_owner; // not owned
    std::uint8_t m_majorVersion = kMajorVersion;
    std::uint8_t m_minorVersion = kMinorVersion;
    std::int16_t m_salt = 0;
    PasswordDigest m_digest{};
};
