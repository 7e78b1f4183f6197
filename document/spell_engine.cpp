#include "document/spell_engine.h"

#include <algorithm>
#include <array>

#include "document/names.h"

bool CSpellEngine::Load()
{
    return Load(GetModuleDir());
}

bool CSpellEngine::Load(const plat::String& folder)
{
    Unload();
    if (!m_module.Load(folder + u"/" + kSpellLibraryName)) return false;
    m_loadSpellCheck = m_module.Function<OrthonLoadSpellCheckFn>("LoadSpellCheck");
    m_releaseSpellCheck = m_module.Function<OrthonReleaseSpellCheckFn>("ReleaseSpellCheck");
    m_checkWord = m_module.Function<OrthonCheckWordFn>("CheckWord");
    m_findWord = m_module.Function<OrthonFindWordFn>("FindWord");
    m_getWord = m_module.Function<OrthonGetWordFn>("GetWord");
    m_addWord = m_module.Function<OrthonAddWordFn>("AddWord");
    m_addIgnore = m_module.Function<OrthonAddIgnoreFn>("AddIgnore");
    m_bound = m_loadSpellCheck && m_releaseSpellCheck && m_checkWord && m_findWord && m_getWord && m_addWord &&
              m_addIgnore && m_loadSpellCheck(folder.c_str()) != 0;
    if (!m_bound) m_module.Free();
    return m_bound;
}

void CSpellEngine::Unload()
{
    if (m_bound) m_releaseSpellCheck();
    m_bound = false;
    m_module.Free();
}

int CSpellEngine::IsCorrect(const plat::String& word) const
{
    if (!m_bound) return 1;
    return m_checkWord(word.c_str()) != 0 ? 1 : 0;
}

int CSpellEngine::GetSuggestions(const plat::String& word, std::vector<plat::String>& list)
{
    if (!m_bound) return 1;
    const int count = std::min(m_findWord(word.c_str()), kMaxSuggestions);
    if (count <= 0) return 1;
    list.clear();
    for (int i = 0; i < count; ++i) {
        std::array<char16_t, kSuggestionUnits> buffer{};
        if (!m_getWord(i, buffer.data())) continue;
        // The text ends at its 0, or at the buffer's end should the library leave none.
        const auto end = std::find(buffer.begin(), buffer.end(), u'\0');
        list.emplace_back(buffer.begin(), end);
    }
    return 0;
}

void CSpellEngine::AddWord(const plat::String& word)
{
    if (m_bound) m_addWord(word.c_str());
}

void CSpellEngine::AddIgnore(const plat::String& word)
{
    if (m_bound) m_addIgnore(word.c_str());
}
