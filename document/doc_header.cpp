#include "document/doc_header.h"

#include <cstring>

#include "platform/base/system.h"
#include "platform/ui/message_box.h"

namespace {

// Bounds of the page settings a file may carry. Nothing the settings dialog or an import
// makes comes near them; beyond them page arithmetic in twips over hundreds of pages
// would overflow.
constexpr std::int32_t kMaxPaperMm = 10000;
constexpr std::int32_t kMaxFontTwips = 32767;

void CheckRange(std::int64_t value, std::int64_t low, std::int64_t high, const char* what)
{
    if (value < low || value > high) throw plat::ArchiveException(plat::ArchiveException::kBadSchema, what);
}

} // namespace

CDocHeader::CDocHeader(CQlDoc* owner) : m_owner(owner)
{
    plat::RandomSeed(static_cast<std::uint32_t>(plat::Now()));
    m_salt = static_cast<std::int16_t>(plat::RandomNext());
}

const CDocHeader& CDocHeader::NewDocument()
{
    static const CDocHeader newDocument(nullptr);
    return newDocument;
}

bool CDocHeader::Load(plat::Archive& ar)
{
    // A file too short to hold the magic is not one of ours either.
    std::uint8_t magic[kMagicSize] = {};
    if (ar.Remaining() < kMagicSize) {
        plat::MessageBox(u"非法文件");
        return false;
    }
    ar.Read(magic, kMagicSize);
    if (std::memcmp(magic, kMagic, kMagicBytes) != 0) {
        plat::MessageBox(u"非法文件");
        return false;
    }

    // Read into a copy, so that a refused or damaged file leaves this header as it was
    // (a new document's, after the reset before an open) and no digest of a refused file
    // stays behind to protect the empty document.
    CDocHeader read(*this);
    read.m_majorVersion = ar.ReadU8();
    read.m_minorVersion = ar.ReadU8();
    if (read.m_majorVersion > kMajorVersion ||
        (read.m_majorVersion == kMajorVersion && read.m_minorVersion > kMinorVersion)) {
        plat::MessageBox(plat::Format(u"本软件的版本号是%d.%d；该文件的版本号时%d.%d，请升级软件。",
                                      static_cast<int>(kMajorVersion), static_cast<int>(kMinorVersion),
                                      static_cast<int>(read.m_majorVersion),
                                      static_cast<int>(read.m_minorVersion)));
        return false;
    }

    read.m_salt = ar.ReadI16();
    ar.Read(read.m_digest.data(), read.m_digest.size());
    if (read.HasPassword() && !read.CheckPassword(PromptPassword())) {
        plat::MessageBox(u"口令错误，无法打开文件。");
        return false;
    }

    read.LoadSettings(ar);
    *this = read;
    return true;
}

void CDocHeader::LoadSettings(plat::Archive& ar)
{
    m_flag = ar.ReadU8();
    m_paperWidth = ar.ReadI32();
    m_paperHeight = ar.ReadI32();
    m_marginLeft = ar.ReadI32();
    m_marginTop = ar.ReadI32();
    m_marginRight = ar.ReadI32();
    m_marginBottom = ar.ReadI32();
    m_pageNumberFace = ar.ReadString();
    m_pageNumberSize = ar.ReadI32();
    m_pageNumberStyle = ar.ReadU8();
    m_pageNumberOnFirst = ar.ReadU8();
    m_headerText = ar.ReadString();
    m_headerFace = ar.ReadString();
    m_headerSize = ar.ReadI32();
    m_headerRule = ar.ReadU8();
    m_headerOnFirst = ar.ReadU8();
    m_defaultTextColor = ar.ReadU32();
    m_defaultFillColor = ar.ReadU32();
    ar.Require(kReservedInts * 4);
    for (int i = 0; i < kReservedInts; ++i) ar.ReadI32();

    CheckRange(m_paperWidth, 1, kMaxPaperMm, "paper width");
    CheckRange(m_paperHeight, 1, kMaxPaperMm, "paper height");
    for (std::int32_t margin : {m_marginLeft, m_marginTop, m_marginRight, m_marginBottom})
        CheckRange(margin, 0, kMaxPaperMm, "margin");
    CheckRange(m_pageNumberSize, 0, kMaxFontTwips, "page-number size");
    CheckRange(m_headerSize, 0, kMaxFontTwips, "header size");
    CheckRange(m_pageNumberStyle, kNoPageNumber, kPageOnly, "page-number style");
    CheckRange(m_headerRule, kNoHeader, kDoubleRule, "header rule");
}

void CDocHeader::Store(plat::Archive& ar) const
{
    std::uint8_t magic[kMagicSize] = {};
    std::memcpy(magic, kMagic, kMagicBytes);
    ar.Write(magic, kMagicSize);
    ar.WriteU8(kMajorVersion);
    ar.WriteU8(kMinorVersion);
    ar.WriteI16(m_salt);
    ar.Write(m_digest.data(), m_digest.size());
    ar.WriteU8(m_flag);
    ar.WriteI32(m_paperWidth);
    ar.WriteI32(m_paperHeight);
    ar.WriteI32(m_marginLeft);
    ar.WriteI32(m_marginTop);
    ar.WriteI32(m_marginRight);
    ar.WriteI32(m_marginBottom);
    ar.WriteString(m_pageNumberFace);
    ar.WriteI32(m_pageNumberSize);
    ar.WriteU8(m_pageNumberStyle);
    ar.WriteU8(m_pageNumberOnFirst);
    ar.WriteString(m_headerText);
    ar.WriteString(m_headerFace);
    ar.WriteI32(m_headerSize);
    ar.WriteU8(m_headerRule);
    ar.WriteU8(m_headerOnFirst);
    ar.WriteU32(m_defaultTextColor);
    ar.WriteU32(m_defaultFillColor);
    for (int i = 0; i < kReservedInts; ++i) ar.WriteI32(0);
}

bool CDocHeader::CheckPassword(plat::StringView password) const
{
    return DigestPassword(m_salt, password) == m_digest;
}

bool CDocHeader::SetPassword(plat::StringView password)
{
    m_digest = DigestPassword(m_salt, password);
    return true;
}

bool CDocHeader::RemovePassword(plat::StringView password)
{
    if (!CheckPassword(password)) {
        plat::MessageBox(u"口令错误，无法解除保护。");
        return false;
    }
    m_digest = PasswordDigest{};
    return true;
}
