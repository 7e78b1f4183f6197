// The media stores of a document: one per media type, each an ordered table of entries
// under GUID-string keys. Page objects hold only the key. Every local file lives as a
// working copy in the process's private temporary folder for as long as its entry, and
// all readers of the media use that copy; saving writes the bytes of the copies still in
// use into the document, opening extracts them to fresh copies.
//
// Working copies are only ever created, truncated or deleted inside the temporary folder:
// names and extensions read from a document that could reach outside it are refused as
// damaged data. A stored link that could name a file of this machine is dropped on reading:
// its entry stays, as a link without a path.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/media_file_info.h"
#include "platform/file/archive.h"

// What tells the three kinds of store apart.
struct MediaStoreTraits {
    const char16_t* namePrefix; // of working-copy names: "IMAGE", "VIDEO", "AUDIO"
    std::int32_t localKind;     // kind of a local file added to the store
    bool rtspLinks;             // "rtsp:" sources are links (kind 24)
    bool httpLinks;             // "http:" sources are links (kind 30)
};

class CMediaStoreEntry {
public:
    virtual ~CMediaStoreEntry(); // deletes the working copy
    CMediaStoreEntry(const CMediaStoreEntry&) = delete;
    CMediaStoreEntry& operator=(const CMediaStoreEntry&) = delete;

    const plat::String& GetKey() const { return m_key; }
    const CMediaFileInfo& GetInfo() const { return m_info; }
    // For refreshing times and size after the working copy was changed in place.
    CMediaFileInfo& GetInfo() { return m_info; }
    bool IsUsed() const { return m_used != 0; }
    void SetUsed(bool used) { m_used = used ? 1 : 0; }
    // A local file, with a working copy; links have none.
    bool IsLocal() const { return !m_info.IsLink(); }

    // A new entry: a fresh key; a local file is copied to a new working copy (a failed
    // copy is not reported: the entry stands all the same).
    void Init(const CMediaFileInfo& info);
    // The working copy's path ("" when it has none), or the link of a link entry ("" when
    // the stored link was dropped).
    plat::String GetFilePath() const;
    // Deletes the working copy (nothing for links or when already gone).
    void DeleteTempFile();

    // Key, descriptor, and for a local file its length and bytes, which become a fresh
    // working copy under a new name (the key stays the stored one).
    void Load(plat::Archive& ar);
    // Writes the working copy's bytes, at most the recorded size; a copy that cannot be
    // read raises the file error.
    void Save(plat::Archive& ar) const;

protected:
    explicit CMediaStoreEntry(const MediaStoreTraits& traits) : m_traits(traits) {}

private:
    plat::String NewWorkingName() const;
    bool AcceptsKind(std::int32_t kind) const;

    const MediaStoreTraits& m_traits;
    plat::String m_key;
    CMediaFileInfo m_info;
    std::int32_t m_used = 0;
};

class CMediaStore {
public:
    virtual ~CMediaStore();
    CMediaStore(const CMediaStore&) = delete;
    CMediaStore& operator=(const CMediaStore&) = delete;

    // Copy of the descriptor of the first entry with the key; empty (kind 0) when none.
    CMediaFileInfo GetInfo(plat::StringView key) const;
    // File path of the first entry with the key; "" when none.
    plat::String GetFilePath(plat::StringView key) const;
    CMediaStoreEntry* Find(plat::StringView key) const;

    // Save marks: cleared on every entry, set by each page object for the keys it uses,
    // then counted.
    void MarkUsed(plat::StringView key);
    void ClearUsed();
    int CountUsed();
    int GetUsedCount() const { return m_usedCount; }

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Null outside the table.
    CMediaStoreEntry* GetAt(int index) const;
    // Destroys every entry, last first, each deleting its working copy.
    void RemoveAll();

    // Unless appending, empties the store first; then reads a count and that many entries
    // and appends them as stored (no de-duplication). A refused record adds nothing.
    void Load(plat::Archive& ar, bool append);
    // The number of used entries, then each used entry in table order.
    void Save(plat::Archive& ar) const;

protected:
    explicit CMediaStore(const MediaStoreTraits& traits) : m_traits(traits) {}
    // A descriptor for the source: a link when its first five characters, lower-cased,
    // name a link kind of this store; else a local file.
    CMediaFileInfo InfoForSource(const plat::String& source) const;
    // With de-duplication, the key of the first entry whose descriptor equals the given
    // one; otherwise (or when there is none) the key of a new entry.
    plat::String AddInfo(const CMediaFileInfo& info, bool deduplicate);
    virtual std::unique_ptr<CMediaStoreEntry> NewEntry() const = 0;

private:
    const MediaStoreTraits& m_traits;
    int m_usedCount = 0;
    std::vector<std::unique_ptr<CMediaStoreEntry>> m_entries;
};

extern const MediaStoreTraits kImageStoreTraits;
extern const MediaStoreTraits kVideoStoreTraits;
extern const MediaStoreTraits kAudioStoreTraits;

class CImageStoreEntry final : public CMediaStoreEntry {
public:
    CImageStoreEntry() : CMediaStoreEntry(kImageStoreTraits) {}
};
class CVideoStoreEntry final : public CMediaStoreEntry {
public:
    CVideoStoreEntry() : CMediaStoreEntry(kVideoStoreTraits) {}
};
class CAudioStoreEntry final : public CMediaStoreEntry {
public:
    CAudioStoreEntry() : CMediaStoreEntry(kAudioStoreTraits) {}
};

// Pictures, including the poster pictures of clips. De-duplicates only when asked with
// the flag 1 (the import sink adds every picture anew).
class CImageStore final : public CMediaStore {
public:
    CImageStore() : CMediaStore(kImageStoreTraits) {}
    plat::String AddFile(const plat::String& source, int deduplicate)
    {
        return AddInfo(InfoForSource(source), deduplicate);
    }
    plat::String AddInfo(const CMediaFileInfo& info, int deduplicate)
    {
        return CMediaStore::AddInfo(info, deduplicate == 1);
    }

protected:
    std::unique_ptr<CMediaStoreEntry> NewEntry() const override { return std::make_unique<CImageStoreEntry>(); }
};

// Video clips and "rtsp:"/"http:" video links; always de-duplicates.
class CVideoStore final : public CMediaStore {
public:
    CVideoStore() : CMediaStore(kVideoStoreTraits) {}
    plat::String AddFile(const plat::String& source) { return AddInfo(InfoForSource(source)); }
    plat::String AddInfo(const CMediaFileInfo& info) { return CMediaStore::AddInfo(info, true); }

protected:
    std::unique_ptr<CMediaStoreEntry> NewEntry() const override { return std::make_unique<CVideoStoreEntry>(); }
};

// Sounds and "http:" sound links; always de-duplicates.
class CAudioStore final : public CMediaStore {
public:
    CAudioStore() : CMediaStore(kAudioStoreTraits) {}
    plat::String AddFile(const plat::String& source) { return AddInfo(InfoForSource(source)); }
    plat::String AddInfo(const CMediaFileInfo& info) { return CMediaStore::AddInfo(info, true); }

protected:
    std::unique_ptr<CMediaStoreEntry> NewEntry() const override { return std::make_unique<CAudioStoreEntry>(); }
};
