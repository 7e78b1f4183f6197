// The descriptor of one media file or media link that a document embeds: times, size,
// kind, working-copy name, extension, source path and link. The media stores keep one per
// entry, compare them to avoid embedding a file twice and write them into the document.
#pragma once
#include <cstdint>

#include "platform/base/strings.h"
#include "platform/file/archive.h"

// Media kinds; the local ones share their numbers with the node types of the objects.
constexpr std::int32_t MEDIA_KIND_AUDIO = 17;
constexpr std::int32_t MEDIA_KIND_IMAGE = 18;
constexpr std::int32_t MEDIA_KIND_VIDEO = 19;
constexpr std::int32_t MEDIA_KIND_RTSP = 24; // a link beginning "rtsp:"
constexpr std::int32_t MEDIA_KIND_HTTP = 30; // a link beginning "http:"

// True when the text can stand inside a single file name of the temporary folder: no
// path separator (either kind), no "..", no NUL, and short enough for a file name.
bool IsSafeFileNamePart(plat::StringView part);

// True when a stored document may carry the text as a media link: an address of a web or
// streaming scheme (http, https, mms, rtsp) that names a host, or a plain file name. A
// local path (absolute, climbing out by "..", a drive or a share, either separator), any
// other scheme ("file:" among them) and control characters are not links.
bool IsAllowedMediaLink(plat::StringView link);

class CMediaFileInfo {
public:
    // Empty: kind 0.
    CMediaFileInfo() = default;
    // A local file: times and size read from the file system (0 when they cannot be).
    CMediaFileInfo(std::int32_t kind, plat::String name, plat::String path);
    // A link.
    CMediaFileInfo(std::int32_t kind, plat::String link);

    // Same media: equal times, size and kind, and the same extension and link (exact
    // case). Name and source path are not compared.
    bool operator==(const CMediaFileInfo& other) const;

    bool IsEmpty() const { return m_kind == 0; }
    bool IsRtspLink() const { return m_kind == MEDIA_KIND_RTSP; }
    bool IsHttpLink() const { return m_kind == MEDIA_KIND_HTTP; }
    bool IsLink() const { return IsRtspLink() || IsHttpLink(); }

    std::int32_t GetKind() const { return m_kind; }
    std::uint32_t GetCreateTime() const { return m_createTime; }
    std::uint32_t GetModifyTime() const { return m_modifyTime; }
    std::int32_t GetSize() const { return m_size; }
    plat::String GetName() const { return m_name; }
    plat::String GetExt() const { return m_ext; }
    plat::String GetSourcePath() const { return m_sourcePath; }
    plat::String GetUrl() const { return m_url; }
    // Name followed by extension.
    plat::String GetFileName() const { return m_name + m_ext; }
    void SetName(plat::String name) { m_name = std::move(name); }

    // Re-reads times and size from the file at the path (0 when it cannot be read).
    void UpdateStatus(const plat::String& path);

    // The record: times, size, kind, name, extension, and the link for link kinds only.
    // The source path is never written; a loaded descriptor has none. A stored name or
    // extension that could name a path outside one folder is refused as damaged data; a
    // stored link that is not an allowed link is dropped, leaving a link descriptor
    // without a link, which names nothing and is saved without one.
    void Load(plat::Archive& ar);
    void Save(plat::Archive& ar) const;

    // The extension of a path: its file name's text from the last "." on, dot included,
    // or "" when the file name has no ".". Dots in folder names do not count.
    static plat::String ExtensionOf(plat::StringView path);
    // The path's file name (after the last separator), up to its last ".".
    static plat::String BaseNameOf(plat::StringView path);

private:
    std::uint32_t m_createTime = 0;
    std::uint32_t m_modifyTime = 0;
    std::int32_t m_size = 0;
    std::int32_t m_kind = 0;
    plat::String m_name;
    plat::String m_ext;
    plat::String m_sourcePath;
    plat::String m_url;
};
