#include "document/sentence_checker.h"

#include <algorithm>
#include <cstring>

#include "document/check_text_buffer.h"
#include "document/names.h"

namespace {

constexpr int kStartOffset = 0;
constexpr int kTextOffset = 8;
constexpr int kTextLength = 32;
constexpr int kSlotsOffset = 40;

// A code page 936 string of at most n bytes, ending at its 0 or after n bytes.
plat::String Decode(const unsigned char* bytes, int n)
{
    const auto* p = reinterpret_cast<const char*>(bytes);
    return plat::Cp936ToUtf16(std::string_view(p, strnlen(p, static_cast<size_t>(n))));
}

plat::String FolderOf(const plat::String& path)
{
    const auto slash = path.rfind(u'/');
    return slash == plat::String::npos ? plat::String(u".") : path.substr(0, slash);
}

} // namespace

CSentenceChecker::CSentenceChecker(const plat::String& libraryPath)
{
    if (!m_module.Load(libraryPath)) return;
    m_check = m_module.Function<CheckFn>("CheckSentence");
    m_fetch = m_module.Function<FetchFn>("FetchCheckResult");
    m_available = m_check && m_fetch;
    if (!m_available) {
        m_module.Free();
        return;
    }
    m_dataPath = FolderOf(libraryPath) + u"/" + kSentenceCheckDataName;
}

int CSentenceChecker::Check(const CCheckTextBuffer& buffer)
{
    if (!m_available) return 0;
    char text[kTextSize];
    WideToMultiByte936(buffer.GetText(), text, kTextSize);
    const int found = m_check(kSentenceCheckProfile, text, 1, 1, 2, 1, 1, 1, 0, m_dataPath.c_str(), 1);
    return found > 0 ? found : 0;
}

int CSentenceChecker::Fetch(int index)
{
    m_resultCount = 0;
    m_block.fill(0);
    if (!m_available) return 0;
    if (m_fetch(index, m_block.data()) == 0) return 0;
    for (int i = 0; i < kSlotCount; ++i)
        if (m_block[static_cast<size_t>(kSlotsOffset + i * kSlotSize)] != 0) ++m_resultCount;
    return m_resultCount;
}

int CSentenceChecker::GetErrorStart() const
{
    if (!m_available || m_resultCount <= 0) return 0;
    std::int32_t start;
    std::memcpy(&start, m_block.data() + kStartOffset, sizeof start);
    return start;
}

int CSentenceChecker::GetErrorLength() const
{
    if (!m_available || m_resultCount <= 0) return 0;
    const auto* text = m_block.data() + kTextOffset;
    return static_cast<int>(std::count_if(text, text + kTextLength, [](unsigned char b) { return b != 0; }));
}

plat::String CSentenceChecker::GetErrorText() const
{
    return Decode(m_block.data() + kTextOffset, kTextLength);
}

plat::String CSentenceChecker::GetSuggestion(int slot) const
{
    if (slot < 0 || slot >= kSlotCount) return plat::String();
    return Decode(m_block.data() + kSlotsOffset + slot * kSlotSize, kSlotSize);
}
