#include "media/media_store.h"

#include <algorithm>
#include <limits>

#include "platform/base/system.h"
#include "platform/file/archive_records.h"
#include "platform/file/file.h"
#include "platform/file/file_ops.h"

const MediaStoreTraits kImageStoreTraits{u"IMAGE", MEDIA_KIND_IMAGE, false, false};
const MediaStoreTraits kVideoStoreTraits{u"VIDEO", MEDIA_KIND_VIDEO, true, true};
const MediaStoreTraits kAudioStoreTraits{u"AUDIO", MEDIA_KIND_AUDIO, false, true};

namespace {

// Media bytes travel between the document and the working copy through one buffer of
// this size, whatever the file's size.
constexpr size_t kCopyChunk = 64 * 1024;

// The smallest entry record: an empty key (one length byte), a descriptor of two empty
// names (16 + 1 + 1 bytes).
constexpr std::uint64_t kMinEntryRecord = 1 + 18;

[[noreturn]] void Damaged(const char* what)
{
    throw plat::ArchiveException(plat::ArchiveException::kBadSchema, what);
}

} // namespace

// ---------------------------------------------------------------------------------------

CMediaStoreEntry::~CMediaStoreEntry()
{
    DeleteTempFile();
}

plat::String CMediaStoreEntry::NewWorkingName() const
{
    return m_traits.namePrefix + m_key + u"-" + plat::NewGuid();
}

bool CMediaStoreEntry::AcceptsKind(std::int32_t kind) const
{
    return kind == m_traits.localKind || (kind == MEDIA_KIND_RTSP && m_traits.rtspLinks) ||
           (kind == MEDIA_KIND_HTTP && m_traits.httpLinks);
}

void CMediaStoreEntry::Init(const CMediaFileInfo& info)
{
    m_key = plat::NewGuid();
    m_info = info;
    if (!IsLocal()) return;
    m_info.SetName(NewWorkingName());
    // Descriptors are built with a file name's own extension, so the working copy's name
    // is one file name of the temporary folder; anything else is not copied.
    if (!IsSafeFileNamePart(m_info.GetFileName())) {
        m_info.SetName(plat::String());
        return;
    }
    plat::CopyFile(m_info.GetSourcePath(), GetFilePath(), true);
}

plat::String CMediaStoreEntry::GetFilePath() const
{
    if (!IsLocal()) return m_info.GetUrl();
    // No working copy (never made, or deleted): no path, rather than one made of the
    // extension alone.
    if (m_info.GetName().empty()) return plat::String();
    return plat::TempDir() + m_info.GetFileName();
}

void CMediaStoreEntry::DeleteTempFile()
{
    if (!IsLocal() || m_info.GetName().empty()) return;
    plat::File::Remove(GetFilePath());
    m_info.SetName(plat::String());
}

void CMediaStoreEntry::Load(plat::Archive& ar)
{
    plat::String key = ar.ReadString();
    // The key becomes part of the working copy's name.
    if (key.empty() || !IsSafeFileNamePart(key)) Damaged("media key");
    CMediaFileInfo info;
    info.Load(ar);
    if (!AcceptsKind(info.GetKind())) Damaged("media kind");
    m_key = std::move(key);
    m_info = std::move(info);
    if (!IsLocal()) return;

    m_info.SetName(plat::String());
    const std::int32_t length = ar.ReadI32();
    if (length < 0) throw plat::ArchiveException(plat::ArchiveException::kBadIndex, "media length");
    ar.Require(static_cast<std::uint64_t>(length));
    plat::String name = NewWorkingName();
    if (!IsSafeFileNamePart(name + m_info.GetExt())) Damaged("media file name");

    // From here the entry owns the file, so a failure below deletes it with the entry.
    m_info.SetName(std::move(name));
    plat::File copy(GetFilePath(), plat::File::kWrite | plat::File::kCreate);
    std::vector<std::uint8_t> buffer(std::min<size_t>(kCopyChunk, static_cast<size_t>(length)));
    for (std::int32_t left = length; left > 0;) {
        const size_t n = std::min<size_t>(buffer.size(), static_cast<size_t>(left));
        ar.Read(buffer.data(), n);
        copy.Write(buffer.data(), n);
        left -= static_cast<std::int32_t>(n);
    }
    copy.Close();
}

void CMediaStoreEntry::Save(plat::Archive& ar) const
{
    ar.WriteString(m_key);
    m_info.Save(ar);
    if (!IsLocal()) return;

    plat::File copy(GetFilePath(), plat::File::kRead);
    const std::uint64_t recorded = static_cast<std::uint64_t>(std::max<std::int32_t>(m_info.GetSize(), 0));
    const std::uint64_t length = std::min(copy.GetLength(), recorded);
    ar.WriteI32(static_cast<std::int32_t>(length));
    std::vector<std::uint8_t> buffer(std::min<size_t>(kCopyChunk, static_cast<size_t>(length)));
    for (std::uint64_t left = length; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<std::uint64_t>(buffer.size(), left));
        // The length is already written: a copy that shrank under us fails the save
        // rather than leave a record that does not match its length.
        if (copy.Read(buffer.data(), n) != n)
            throw plat::FileException(plat::FileException::kEndOfFile, plat::Utf16ToUtf8(GetFilePath()));
        ar.Write(buffer.data(), n);
        left -= n;
    }
}

// ---------------------------------------------------------------------------------------

CMediaStore::~CMediaStore()
{
    RemoveAll();
}

CMediaStoreEntry* CMediaStore::Find(plat::StringView key) const
{
    for (const auto& entry : m_entries)
        if (entry->GetKey() == key) return entry.get();
    return nullptr;
}

CMediaFileInfo CMediaStore::GetInfo(plat::StringView key) const
{
    const CMediaStoreEntry* entry = Find(key);
    return entry ? entry->GetInfo() : CMediaFileInfo();
}

plat::String CMediaStore::GetFilePath(plat::StringView key) const
{
    const CMediaStoreEntry* entry = Find(key);
    return entry ? entry->GetFilePath() : plat::String();
}

void CMediaStore::MarkUsed(plat::StringView key)
{
    if (CMediaStoreEntry* entry = Find(key)) entry->SetUsed(true);
}

void CMediaStore::ClearUsed()
{
    for (auto& entry : m_entries) entry->SetUsed(false);
}

int CMediaStore::CountUsed()
{
    m_usedCount = static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
                                                 [](const auto& e) { return e->IsUsed(); }));
    return m_usedCount;
}

CMediaStoreEntry* CMediaStore::GetAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_entries[static_cast<size_t>(index)].get() : nullptr;
}

void CMediaStore::RemoveAll()
{
    while (!m_entries.empty()) m_entries.pop_back();
}

CMediaFileInfo CMediaStore::InfoForSource(const plat::String& source) const
{
    plat::String head = source.substr(0, 5);
    for (char16_t& c : head)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (m_traits.httpLinks && head == u"http:") return CMediaFileInfo(MEDIA_KIND_HTTP, source);
    if (m_traits.rtspLinks && head == u"rtsp:") return CMediaFileInfo(MEDIA_KIND_RTSP, source);
    return CMediaFileInfo(m_traits.localKind, CMediaFileInfo::BaseNameOf(source), source);
}

plat::String CMediaStore::AddInfo(const CMediaFileInfo& info, bool deduplicate)
{
    if (deduplicate) {
        for (const auto& entry : m_entries)
            if (entry->GetInfo() == info) return entry->GetKey();
    }
    std::unique_ptr<CMediaStoreEntry> entry = NewEntry();
    entry->Init(info);
    m_entries.push_back(std::move(entry));
    return m_entries.back()->GetKey();
}

void CMediaStore::Load(plat::Archive& ar, bool append)
{
    if (!append) RemoveAll();
    // Entries read before a refused one die with their working copies.
    auto loaded = plat::ReadOwnedRecords<CMediaStoreEntry>(ar, kMinEntryRecord, "media count",
                                                           [this] { return NewEntry(); });
    for (auto& entry : loaded) m_entries.push_back(std::move(entry));
}

void CMediaStore::Save(plat::Archive& ar) const
{
    // The count written is the number of records that follow, whatever happened to the
    // marks since the last CountUsed.
    const auto used = std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) { return e->IsUsed(); });
    ar.WriteI32(static_cast<std::int32_t>(used));
    for (const auto& entry : m_entries)
        if (entry->IsUsed()) entry->Save(ar);
}
