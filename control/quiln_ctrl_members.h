// The automation interface `_DQuiln` of the control: every member a host calls by name through
// the dispatch interface (the type library, quiln_typelib.h, describes the same). Nothing is
// kept here: each call looks up the frame (GetMainFrame), its main document and view, the
// reference pane's document and view, and acts on them, mostly by calling the same document
// operations or sending the same commands as the user interface does.
//
// Tests the members apply before they act (a refused member returns FALSE, 0 or an empty string
// as its result type requires):
// - every member refuses while there is no frame (before the control's window exists and after
//   it was destroyed);
// - P: refused while the main view prints or shows the print preview;
// - E: P, and refused while the main document is read-only;
// - an action with a Can twin calls it first and is refused when it says no.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/strings.h"
#include "platform/com/dispatch.h"

class CQlDoc;
class CQlMain;
class CQlView;
class CStatistics;
namespace plat {
class Window;
}

// The members of `_DQuiln` at work on one frame, which may be null (then every member refuses).
// The dispatch tables below make one for each call.
class CQuilnMembers {
public:
    using Bool = plat::AutoBool;
    using Long = std::int32_t;
    using Short = std::int16_t;
    using Str = plat::String;

    explicit CQuilnMembers(CQlMain* frame) : m_frame(frame) {}

    // ---- files and the reference pane (1-26) ----
    Bool FileNew();
    Bool FileOpen(const Str& filePath, Long bReadOnly);
    Bool FileOpenMsWord(const Str& filePath, Long bReadOnly);
    Bool FileOpenRTF(const Str& filePath, Long bReadOnly);
    Bool FileOpenText(const Str& filePath, Long bReadOnly);
    Bool FileSave(const Str& filePath);
    Bool SetAutoSave(const Str& savePath, Long saveTime);
    Long GetAutoSave();
    Bool IsFileModified();
    Bool FileSetup();
    Bool HasFilePassword();
    Bool SetFilePassword();
    Bool SetFileAuthor(Long authorID, const Str& authorName);
    void FileAuthorInfo();
    Bool CanFilePrint();
    void FilePrint();
    void FilePrintPreview();
    Bool IsFilePrinting();
    Bool OpenReference(const Str& filePath);
    Bool OpenReferenceMsWord(const Str& filePath);
    Bool OpenReferenceRTF(const Str& filePath);
    Bool OpenReferenceText(const Str& filePath);
    Long CloseReference();
    Bool CanShowReference();
    Bool ShowReference(Long bShow);
    Bool IsShowReference();

    // ---- editing (27-44) ----
    Bool CanEditUndo();
    Bool EditUndo();
    Bool CanEditRedo();
    Bool EditRedo();
    Bool CanEditCut();
    Bool EditCut();
    Bool CanEditCopy();
    Bool EditCopy();
    Bool CanEditPaste();
    Bool EditPaste();
    Bool CanEditDelete();
    Bool EditDelete();
    Bool CanEditSelectAll();
    Bool EditSelectAll();
    Bool CanEditFind();
    Bool EditFind();
    Bool CanEditReplace();
    Bool EditReplace();

    // ---- bars, ruler, zoom and display (45-63) ----
    Bool CanBasebar();
    Bool IsBasebarVisible();
    Bool ShowBasebar(Long bShow);
    Bool CanExtbar();
    Bool IsExtbarVisible();
    Bool ShowExtbar(Long bShow);
    void SetGraphBarMode(Long bMini);
    Bool CanRulerbar();
    Bool IsRulerbarVisible();
    Bool ShowRulerbar(Long bShow);
    Bool CanDispRatio();
    Long GetDispRatio();
    Bool SetDispRatio(Long iRatio);
    Bool CanDispEditStatus();
    Bool IsDispEditStatus();
    Bool SetDispEditStatus(Long bShow);
    Bool CanDispMarkStatus();
    Bool IsDispMarkStatus();
    Bool SetDispMarkStatus(Long bShow);

    // ---- insertion (64-85) ----
    Bool CanInsertImage();
    Bool InsertImage(const Str& fileName, const Str& imageMark, Long x, Long y, Long cx, Long cy);
    Bool CanInsertVideo();
    Bool InsertVideo(const Str& videoName, const Str& imageName, const Str& videoMark, Long x, Long y, Long cx,
                     Long cy);
    Bool CanInsertAudio();
    Bool InsertAudio(const Str& fileName, const Str& audioMark, Long x, Long y, Long cx, Long cy);
    Bool CanInsertChart();
    Bool InsertChart();
    Bool CanInsertTable();
    Bool InsertTable();
    Bool CanInsertText();
    Bool InsertText();
    Bool CanInsertNewPage();
    Bool InsertNewPage();
    Bool CanInsertString();
    Bool InsertString(const Str& lpString);
    Bool CanInsertDate();
    Bool InsertDate(const Str& pDateStr);
    Bool CanInsertCharext();
    Bool InsertCharext(Short charCode);
    Bool CanInsertMark();
    Bool InsertMark(const Str& pMarkStr);

    // ---- character and paragraph format (86-108) ----
    Bool CanCharAttr();
    Bool CharAttr();
    Str GetChFont();
    Bool SetChFont(const Str& fontName);
    Str GetAscFont();
    Bool SetAscFont(const Str& fontName);
    Long GetFontSize();
    Bool SetFontSize(Long fontSize);
    Long GetCharBold();
    Bool SetCharBold(Long bBold);
    Long GetCharItalic();
    Bool SetCharItalic(Long bItalic);
    Long GetCharUnderline();
    Bool SetCharUnderline(Long bUnderline);
    Long GetCharPos();
    Bool SetCharPos(Long charPos);
    Long GetCharColor();
    Bool SetCharColor(Long dwColor);
    Bool CharColorMore();
    Long GetParaFormat();
    Bool SetParaFormat(Long paraFormat);
    Long GetParaGap();
    Bool SetParaGap(Long paraGap);

    // ---- floating objects and tables (109-129) ----
    Bool CanBlockAttr();
    Bool BlockAttr();
    Bool BlockPosUp();
    Bool BlockPosDown();
    Bool BlockPosFirst();
    Bool BlockPosLast();
    Bool CanTableInsertRow();
    Bool TableInsertRow();
    Bool CanTableInsertCol();
    Bool TableInsertCol();
    Bool CanTableDeleteRow();
    Bool TableDeleteRow();
    Bool CanTableDeleteCol();
    Bool TableDeleteCol();
    Bool CanTableMerge();
    Bool TableMerge();
    Bool CanTableSeparate();
    Bool TableSeparate();
    Bool CanTableUDFormat();
    Long GetTableUDFormat();
    Bool SetTableUDFormat(Long udFormat);

    // ---- spelling and statistics (130-136) ----
    void UserDictionary();
    Bool CanSpellCheck();
    Bool SetSpellCheck(const Str& dllPath);
    Bool SpellCheck();
    Bool RussianConvert(Short nMode);
    Bool CanRussianConvert();
    void FileStatistics();

    // ---- append and export (139-157) ----
    Bool AppendQuiln(const Str& fileName);
    Bool AppendMsWord(const Str& fileName);
    Bool AppendRTF(const Str& fileName);
    Bool AppendText(const Str& fileName);
    Bool AppendImage(const Str& fileName);
    Bool AppendVideo(const Str& fileName);
    Bool AppendAudio(const Str& fileName);
    Bool AppendTable(const Str& fileName);
    Long ExportTotal();
    Long ExportType(Long nExport);
    Str ExportExt(Long nExport);
    Str ExportMark(Long nExport);
    Bool ExportFile(Long nExport, const Str& fileName);
    Bool ExportFileTitle(const Str& fileName);
    Bool ExportHTML(const Str& filePath);
    Bool ExportEHTML(const Str& fileName, const Str& listName);
    Bool ExportPDF(const Str& filePath);
    Bool ExportRTF(const Str& filePath);
    Bool ExportDoc(const Str& filePath);

    // ---- counting (158-170) ----
    Long StatisticsChinese();
    Long StatisticsAscii();
    Long StatisticsSpace();
    Long StatisticsSymbol();
    Long StatisticsPara();
    Long StatisticsPage();
    Long StatisticsAudio();
    Long StatisticsVideo();
    Long StatisticsImage();
    Long StatisticsChart();
    Long StatisticsTable();
    Long StatisticsGraph();
    Long StatisticsWord();

private:
    // The frame, refusing nothing but its absence.
    CQlMain* Frame() const;
    // P: the frame while its main view neither prints nor previews.
    CQlMain* Printable() const;
    // E: the main document while P passes and the document is not read-only.
    CQlDoc* Editable() const;
    // The control's window (the frame's parent), which takes the focus back after dialogs.
    void FocusControl() const;
    // A command sent to the frame or to the main view, run to completion.
    void SendToFrame(unsigned id) const;
    void SendToView(unsigned id) const;
    // E with a test of the main document.
    Bool Test(bool (CQlDoc::*test)() const) const;
    // An action of the main document, or a command sent to the frame, when its Can twin said
    // yes; TRUE then.
    Bool Gate(Bool can, void (CQlDoc::*action)());
    Bool SendIf(Bool can, unsigned id);
    // Opens through the native reader into the main or the reference document.
    // The document's open of the format: the native file, RTF or text.
    using DocOpen = int (CQlDoc::*)(const plat::String& path, bool readOnly);
    Bool OpenMain(const Str& path, Long readOnly, DocOpen open);
    Bool OpenInReference(const Str& path, DocOpen open);
    // An append of the format to the main document.
    Bool AppendMain(const Str& path, int (CQlDoc::*append)(const plat::String& path));
    // One counter of a full counting pass over the main body; 0 when E refuses.
    Long Count(int counter);
    // The E test with the selection accepting text (date, symbols, annotations).
    Bool AcceptsText();

    CQlMain* m_frame;
};

// The table entries of `_DQuiln` for a dispatch object whose class gives the frame: `frameOf`
// is handed the object a call is made on.
std::vector<plat::DispatchTable::Entry> QuilnMemberEntries(std::function<CQlMain*(void* self)> frameOf);

// A dispatch object of `_DQuiln` over a frame that lives elsewhere (a frame in a window of the
// caller's own); the control itself answers the same table (CQuilnCtrl::Members).
class CQuilnAutomation : public plat::DispatchObject<CQuilnAutomation> {
public:
    explicit CQuilnAutomation(CQlMain* frame = nullptr) : m_frame(frame) {}
    static const plat::DispatchTable& Members();
    CQlMain* GetMainFrame() const { return m_frame; }
    // Null when the frame goes away before this object does.
    void SetMainFrame(CQlMain* frame) { m_frame = frame; }

protected:
    ~CQuilnAutomation() override = default;

private:
    CQlMain* m_frame;
};
