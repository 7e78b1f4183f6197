#include "media/media_file_info.h"

#include "platform/file/file_ops.h"

namespace {

// Longest file name the file systems we run on accept, in bytes.
constexpr size_t kMaxFileNameBytes = 255;

size_t FileNameStart(plat::StringView path)
{
    size_t slash = path.find_last_of(u"/\\");
    return slash == plat::StringView::npos ? 0 : slash + 1;
}

// The schemes of the addresses a document may link to, lower case.
constexpr plat::StringView kLinkSchemes[] = {u"http", u"https", u"mms", u"rtsp"};

bool IsLinkScheme(plat::StringView scheme)
{
    plat::String lower(scheme);
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    for (plat::StringView s : kLinkSchemes)
        if (lower == s) return true;
    return false;
}

} // namespace

bool IsAllowedMediaLink(plat::StringView link)
{
    if (link.empty()) return false;
    for (char16_t c : link)
        if (c < 0x20 || c == 0x7F) return false;
    const size_t colon = link.find(u':');
    // Without a scheme, one file name: nothing that names a folder or climbs out of one.
    if (colon == plat::StringView::npos) return IsSafeFileNamePart(link);
    if (!IsLinkScheme(link.substr(0, colon))) return false;
    // "scheme://host...": an address that names no host ("http:///etc/x") is a path.
    const plat::StringView rest = link.substr(colon + 1);
    return rest.size() > 2 && rest.substr(0, 2) == u"//" && rest[2] != u'/' && rest[2] != u'\\';
}

bool IsSafeFileNamePart(plat::StringView part)
{
    if (part.find_first_of(plat::StringView(u"/\\\0", 3)) != plat::StringView::npos) return false;
    if (part.find(u"..") != plat::StringView::npos) return false;
    return plat::Utf16ToUtf8(part).size() <= kMaxFileNameBytes;
}

CMediaFileInfo::CMediaFileInfo(std::int32_t kind, plat::String name, plat::String path)
    : m_kind(kind), m_name(std::move(name)), m_ext(ExtensionOf(path)), m_sourcePath(std::move(path))
{
    UpdateStatus(m_sourcePath);
}

CMediaFileInfo::CMediaFileInfo(std::int32_t kind, plat::String link) : m_kind(kind), m_url(std::move(link))
{
}

bool CMediaFileInfo::operator==(const CMediaFileInfo& other) const
{
    return m_createTime == other.m_createTime && m_modifyTime == other.m_modifyTime &&
           m_size == other.m_size && m_kind == other.m_kind && m_ext == other.m_ext &&
           m_url == other.m_url;
}

void CMediaFileInfo::UpdateStatus(const plat::String& path)
{
    plat::FileStatus status;
    if (!plat::GetFileStatus(path, status)) status = plat::FileStatus();
    // The record keeps 32-bit times and the low 32 bits of the size.
    m_createTime = static_cast<std::uint32_t>(status.created);
    m_modifyTime = static_cast<std::uint32_t>(status.modified);
    m_size = static_cast<std::int32_t>(static_cast<std::uint32_t>(status.size));
}

plat::String CMediaFileInfo::ExtensionOf(plat::StringView path)
{
    plat::StringView file = path.substr(FileNameStart(path));
    size_t dot = file.rfind(u'.');
    return dot == plat::StringView::npos ? plat::String() : plat::String(file.substr(dot));
}

plat::String CMediaFileInfo::BaseNameOf(plat::StringView path)
{
    plat::StringView file = path.substr(FileNameStart(path));
    return plat::String(file.substr(0, file.rfind(u'.')));
}

void CMediaFileInfo::Load(plat::Archive& ar)
{
    m_createTime = ar.ReadU32();
    m_modifyTime = ar.ReadU32();
    m_size = ar.ReadI32();
    m_kind = ar.ReadI32();
    m_name = ar.ReadString();
    m_ext = ar.ReadString();
    if (!IsSafeFileNamePart(m_name) || !IsSafeFileNamePart(m_ext))
        throw plat::ArchiveException(plat::ArchiveException::kBadSchema, "media file name");
    m_url = IsLink() ? ar.ReadString() : plat::String();
    // A link that could name a file of this machine is never handed to a player nor
    // written again; the entry stays, so the objects that show it still find their key.
    if (IsLink() && !IsAllowedMediaLink(m_url)) m_url.clear();
    m_sourcePath.clear();
}

void CMediaFileInfo::Save(plat::Archive& ar) const
{
    ar.WriteU32(m_createTime);
    ar.WriteU32(m_modifyTime);
    ar.WriteI32(m_size);
    ar.WriteI32(m_kind);
    ar.WriteString(m_name);
    ar.WriteString(m_ext);
    if (IsLink()) ar.WriteString(m_url);
}
