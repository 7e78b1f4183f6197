// The outside editors of pictures, sounds and videos. First choice is the outside editor
// library "libMorvex.so" in the control's folder (MediaProgramFolder): when it loads and
// offers all eight functions, every question and every edit goes to it. Without it,
// pictures of four formats are edited in the first paint program found on PATH
// (kolourpaint, pinta, gimp, krita: simple ones first), waited for; the advanced edit uses
// the image editor that the local machine's registry names, not waited for. Sounds and
// videos cannot be edited without the library.
//
// An editor object lives for one question or one edit: the library is loaded and freed
// around each use.
#pragma once
#include <array>

#include "platform/base/strings.h"
#include "platform/com/library.h"

class CExternalEditor {
public:
    static const char16_t kLibraryName[];   // "libMorvex.so"
    // Where the advanced image editor registers itself (local machine).
    static const char16_t kAdvancedEditorKey[];
    static const char16_t kAdvancedEditorProgram[]; // appended to its application folder

    CExternalEditor();
    ~CExternalEditor() = default;
    CExternalEditor(const CExternalEditor&) = delete;
    CExternalEditor& operator=(const CExternalEditor&) = delete;

    bool IsBound() const { return m_bound; }

    // Each answers through the library when bound. Unbound: pictures ".BMP", ".DIB",
    // ".GIF" and ".JPG" (any case) can be edited, and edited further when the advanced
    // editor is installed; sounds and videos cannot.
    bool CanEditImage(plat::StringView ext) const;
    // Edits the picture file in place and returns when the editor is done; 0 when nothing
    // could be started.
    int EditImage(const plat::String& path) const;
    bool CanEditImageAdv(plat::StringView ext) const;
    // Starts the advanced edit and returns at once; 0 when nothing could be started.
    int EditImageAdv(const plat::String& path) const;
    bool CanEditAudio(plat::StringView ext) const;
    int EditAudio(const plat::String& path) const;
    bool CanEditVideo(plat::StringView ext) const;
    int EditVideo(const plat::String& path) const;

    // The paint program: the first of the four names found on PATH; "" when none is.
    static plat::String FindPaintProgram();
    // Read from the registry once for the process, a negative answer as well.
    static bool IsPhotoshopInstalled();
    static plat::String GetPhotoshopPath();
    // Forgets the remembered answers (a test's clean-up).
    static void ResetRegistryAnswers();

private:
    using Export = int (*)(const char16_t*);
    enum Slot { kCanEditImage, kEditImage, kCanEditImageAdv, kEditImageAdv, kCanEditAudio, kEditAudio,
                kCanEditVideo, kEditVideo, kSlotCount };
    int Call(Slot slot, plat::StringView argument) const;

    bool m_bound = false;
    plat::Library m_library;
    std::array<Export, kSlotCount> m_exports{};
};
