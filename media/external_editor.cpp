#include "media/external_editor.h"

#include <cstdlib>
#include <optional>
#include <unistd.h>

#include "media/external_player.h"
#include "platform/com/registry.h"

const char16_t CExternalEditor::kLibraryName[] = u"libMorvex.so";
const char16_t CExternalEditor::kAdvancedEditorKey[] = u"SoftWare\\Adobe\\Photoshop";
const char16_t CExternalEditor::kAdvancedEditorProgram[] = u"photoshop.exe";

namespace {

// In the order of the slots.
constexpr const char* kExports[] = {"CanEditImage", "EditImage", "CanEditImageAdv", "EditImageAdv",
                                    "CanEditAudio", "EditAudio", "CanEditVideo",    "EditVideo"};
// Simple paint programs first.
constexpr const char* kPaintPrograms[] = {"kolourpaint", "pinta", "gimp", "krita"};

bool IsPlainPictureExt(plat::StringView ext)
{
    plat::String upper(ext);
    for (char16_t& c : upper)
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    return upper == u".BMP" || upper == u".DIB" || upper == u".GIF" || upper == u".JPG";
}

struct RegistryAnswers {
    std::optional<bool> installed;
    std::optional<plat::String> path;
};
RegistryAnswers& Answers()
{
    static RegistryAnswers answers;
    return answers;
}

} // namespace

CExternalEditor::CExternalEditor()
{
    if (!m_library.Load(MediaProgramFolder() + u"/" + kLibraryName)) return;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        m_exports[slot] = m_library.Function<Export>(kExports[slot]);
        if (!m_exports[slot]) {
            // A library that lacks any of them is as good as none.
            m_library.Free();
            m_exports.fill(nullptr);
            return;
        }
    }
    m_bound = true;
}

int CExternalEditor::Call(Slot slot, plat::StringView argument) const
{
    const plat::String text(argument); // zero-terminated for the library
    return m_exports[slot](text.c_str());
}

bool CExternalEditor::CanEditImage(plat::StringView ext) const
{
    return m_bound ? Call(kCanEditImage, ext) != 0 : IsPlainPictureExt(ext);
}

int CExternalEditor::EditImage(const plat::String& path) const
{
    if (m_bound) return Call(kEditImage, path);
    const plat::String program = FindPaintProgram();
    if (program.empty()) return 0;
    return CExternalPlayer().RunProgram(program, path, true) ? 1 : 0;
}

bool CExternalEditor::CanEditImageAdv(plat::StringView ext) const
{
    return m_bound ? Call(kCanEditImageAdv, ext) != 0 : IsPhotoshopInstalled() && IsPlainPictureExt(ext);
}

int CExternalEditor::EditImageAdv(const plat::String& path) const
{
    if (m_bound) return Call(kEditImageAdv, path);
    // Named with its folder: no running copy of it is ended.
    return CExternalPlayer().RunProgram(GetPhotoshopPath() + kAdvancedEditorProgram, path, false) ? 1 : 0;
}

bool CExternalEditor::CanEditAudio(plat::StringView ext) const
{
    return m_bound && Call(kCanEditAudio, ext) != 0;
}

int CExternalEditor::EditAudio(const plat::String& path) const
{
    return m_bound ? Call(kEditAudio, path) : 0;
}

bool CExternalEditor::CanEditVideo(plat::StringView ext) const
{
    return m_bound && Call(kCanEditVideo, ext) != 0;
}

int CExternalEditor::EditVideo(const plat::String& path) const
{
    return m_bound ? Call(kEditVideo, path) : 0;
}

plat::String CExternalEditor::FindPaintProgram()
{
    const char* path = std::getenv("PATH");
    if (!path) return plat::String();
    const std::string dirs(path);
    for (const char* name : kPaintPrograms) {
        std::size_t start = 0;
        while (start <= dirs.size()) {
            const std::size_t end = std::min(dirs.find(':', start), dirs.size());
            const std::string dir = dirs.substr(start, end - start);
            const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0) return plat::Utf8ToUtf16(name);
            start = end + 1;
        }
    }
    return plat::String();
}

bool CExternalEditor::IsPhotoshopInstalled()
{
    RegistryAnswers& a = Answers();
    if (!a.installed) {
        std::vector<plat::String> names;
        a.installed = plat::EnumSubkeys(plat::Hive::kLocalMachine, kAdvancedEditorKey, &names) == plat::RegStatus::kOk;
    }
    return *a.installed;
}

plat::String CExternalEditor::GetPhotoshopPath()
{
    RegistryAnswers& a = Answers();
    if (a.path) return *a.path;
    a.path = plat::String();
    if (!IsPhotoshopInstalled()) return *a.path;
    std::vector<plat::String> versions;
    plat::EnumSubkeys(plat::Hive::kLocalMachine, kAdvancedEditorKey, &versions);
    for (const plat::String& version : versions) {
        const plat::String key = plat::String(kAdvancedEditorKey) + u"\\" + version + u"\\ApplicationPath";
        plat::RegValue value;
        if (plat::QueryValue(plat::Hive::kLocalMachine, key, u"", &value) == plat::RegStatus::kOk &&
            value.type == plat::RegType::kString) {
            a.path = value.text.substr(0, 1023);
            break;
        }
    }
    return *a.path;
}

void CExternalEditor::ResetRegistryAnswers()
{
    Answers() = RegistryAnswers();
}
