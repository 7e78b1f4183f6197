// The members of `_DQuiln` and their table.
#include "control/quiln_ctrl_members.h"

#include "control/quiln_ctrl.h"
#include "control/quiln_typelib.h"

#include <algorithm>

#include "document/author_list.h"
#include "document/char_format.h"
#include "document/doc_body.h"
#include "document/doc_header.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/render_context.h"
#include "document/statistics.h"
#include "document/units.h"
#include "editor/author_list_dialog.h"
#include "editor/count_dialogs.h"
#include "editor/font_name_combo.h"
#include "editor/password_dialogs.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "editor/toolbar_ex.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/focus.h"
#include "platform/ui/message.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/window.h"

namespace {

// Commands the members send, the same the menus and bars send.
constexpr unsigned kCmdFilePrint = 57607;
constexpr unsigned kCmdFilePrintPreview = 57609;
constexpr unsigned kCmdEditFind = 57636;
constexpr unsigned kCmdEditPaste = 57637;
constexpr unsigned kCmdEditReplace = 57641;
constexpr unsigned kCmdInsertTextShape = 33271;
constexpr unsigned kCmdInsertTable = 35044;
constexpr unsigned kCmdInsertChart = 35046;
constexpr unsigned kCmdCharAttr = 35060;
constexpr unsigned kCmdCharColorMore = 35072;
constexpr unsigned kCmdSpellCheck = 37900;

// The zoom percentages of commands 35030-35036, in command order.
constexpr std::int32_t kZoomPercents[] = {200, 150, 125, 100, 75, 50, 25};

CQuilnMembers::Bool Refused() { return CQuilnMembers::Bool(0); }

} // namespace

// ---- the tests ----

CQlMain* CQuilnMembers::Frame() const
{
    CQlMain* frame = m_frame;
    return frame && frame->GetMainView() && frame->GetMainDoc() ? frame : nullptr;
}

CQlMain* CQuilnMembers::Printable() const
{
    CQlMain* frame = Frame();
    return frame && !frame->GetMainView()->IsPrinting() ? frame : nullptr;
}

CQlDoc* CQuilnMembers::Editable() const
{
    CQlMain* frame = Printable();
    if (!frame) return nullptr;
    CQlDoc* doc = frame->GetMainDoc();
    return doc->IsReadOnly() ? nullptr : doc;
}

void CQuilnMembers::FocusControl() const
{
    if (CQlMain* frame = Frame(); frame && frame->GetParentWnd()) plat::SetFocus(frame->GetParentWnd());
}

void CQuilnMembers::SendToFrame(unsigned id) const { plat::SendMessage(Frame(), plat::kWmCommand, id, 0); }

void CQuilnMembers::SendToView(unsigned id) const
{
    plat::SendMessage(Frame()->GetMainView(), plat::kWmCommand, id, 0);
}

CQuilnMembers::Bool CQuilnMembers::Test(bool (CQlDoc::*test)() const) const
{
    const CQlDoc* doc = Editable();
    return doc && (doc->*test)();
}

CQuilnMembers::Bool CQuilnMembers::Gate(Bool can, void (CQlDoc::*action)())
{
    if (!can.value) return Refused();
    (Editable()->*action)();
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::SendIf(Bool can, unsigned id)
{
    // A command nothing in the frame takes yet would do nothing: refused, not reported as done.
    if (!can.value || !Frame()->CanRouteCommand(id)) return Refused();
    SendToFrame(id);
    return 1;
}

// ---- files and the reference pane ----

CQuilnMembers::Bool CQuilnMembers::FileNew()
{
    CQlMain* frame = Printable();
    if (!frame) return Refused();
    frame->GetMainDoc()->FileNew();
    frame->GetMainView()->ResetScroll();
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::OpenMain(const Str& path, Long readOnly, DocOpen open)
{
    CQlMain* frame = Printable();
    if (!frame) return Refused();
    // A refused or damaged file leaves the new empty document the reader made; the caller
    // learns of it from the result.
    const int read = (frame->GetMainDoc()->*open)(path, readOnly != 0);
    frame->GetMainView()->ResetScroll();
    return read;
}

CQuilnMembers::Bool CQuilnMembers::FileOpen(const Str& filePath, Long bReadOnly)
{
    return OpenMain(filePath, bReadOnly, &CQlDoc::FileOpen);
}

// The Word reader has no entry point of its own yet.
CQuilnMembers::Bool CQuilnMembers::FileOpenMsWord(const Str&, Long) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::FileOpenRTF(const Str& filePath, Long bReadOnly)
{
    return OpenMain(filePath, bReadOnly, &CQlDoc::OpenRtf);
}
CQuilnMembers::Bool CQuilnMembers::FileOpenText(const Str& filePath, Long bReadOnly)
{
    return OpenMain(filePath, bReadOnly, &CQlDoc::OpenText);
}

CQuilnMembers::Bool CQuilnMembers::FileSave(const Str& filePath)
{
    CQlDoc* doc = Editable();
    return doc ? doc->FileSave(filePath) : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetAutoSave(const Str& savePath, Long saveTime)
{
    return Editable() ? Frame()->SetAutoSave(savePath, saveTime) : 0;
}

CQuilnMembers::Long CQuilnMembers::GetAutoSave()
{
    CQlMain* frame = Frame();
    return frame ? frame->GetAutoSaveSeconds() : 0;
}

CQuilnMembers::Bool CQuilnMembers::IsFileModified()
{
    CQlMain* frame = Frame();
    if (!frame) return Refused();
    const CQlDoc* doc = frame->GetMainDoc();
    return !doc->IsReadOnly() && doc->IsModified();
}

CQuilnMembers::Bool CQuilnMembers::FileSetup()
{
    CQlDoc* doc = Editable();
    if (!doc) return Refused();
    doc->FileSetup();
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::HasFilePassword()
{
    CQlDoc* doc = Editable();
    return doc && doc->GetHeader() && doc->GetHeader()->HasPassword();
}

CQuilnMembers::Bool CQuilnMembers::SetFilePassword()
{
    CQlDoc* doc = Editable();
    if (!doc || !doc->GetHeader()) return Refused();
    CDocHeader& header = *doc->GetHeader();
    CQlMain* frame = Frame();
    if (header.HasPassword())
        RemovePasswordDialog(header, frame, frame->GetMainView());
    else
        SetPasswordDialog(header, frame, frame->GetMainView());
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::SetFileAuthor(Long authorID, const Str& authorName)
{
    CQlDoc* doc = Editable();
    if (!doc) return Refused();
    CAuthorList& authors = doc->GetAuthors();
    authors.SetLastAuthor(authorID, authorName);
    const bool several = !authors.IsSingleAuthor();
    doc->SetHasRevisions(several);
    doc->SetRevisionsShown(several);
    if (several && doc->GetBody()) doc->GetBody()->RecalcAllObjects();
    return 1;
}

void CQuilnMembers::FileAuthorInfo()
{
    CQlMain* frame = Frame();
    if (!frame) return;
    ShowAuthorListDialog(frame->GetMainDoc()->GetAuthors(), frame, frame->GetParentWnd());
}

CQuilnMembers::Bool CQuilnMembers::CanFilePrint()
{
    CQlMain* frame = Printable();
    if (!frame) return Refused();
    const CDocBody* body = frame->GetMainDoc()->GetBody();
    return body && (!body->IsEmpty() || body->GetObjectCount() != 0);
}

void CQuilnMembers::FilePrint()
{
    if (CanFilePrint().value) SendToView(kCmdFilePrint);
}

void CQuilnMembers::FilePrintPreview()
{
    if (CanFilePrint().value) SendToView(kCmdFilePrintPreview);
}

CQuilnMembers::Bool CQuilnMembers::IsFilePrinting()
{
    CQlMain* frame = Frame();
    return frame && frame->GetMainView()->IsPrinting();
}

CQuilnMembers::Bool CQuilnMembers::OpenInReference(const Str& path, DocOpen open)
{
    // Not while the main document prints.
    CQlMain* frame = Printable();
    if (!frame || !frame->GetReferenceDoc() || !frame->GetReferenceView()) return Refused();
    frame->ShowReferencePane(true);
    const int read = (frame->GetReferenceDoc()->*open)(path, false);
    frame->GetReferenceView()->ResetScroll();
    frame->SetReferenceOpen(true);
    FocusControl();
    return read;
}

CQuilnMembers::Bool CQuilnMembers::OpenReference(const Str& filePath) { return OpenInReference(filePath, &CQlDoc::FileOpen); }
CQuilnMembers::Bool CQuilnMembers::OpenReferenceMsWord(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::OpenReferenceRTF(const Str& filePath)
{
    return OpenInReference(filePath, &CQlDoc::OpenRtf);
}
CQuilnMembers::Bool CQuilnMembers::OpenReferenceText(const Str& filePath)
{
    return OpenInReference(filePath, &CQlDoc::OpenText);
}

CQuilnMembers::Long CQuilnMembers::CloseReference()
{
    CQlMain* frame = Frame();
    if (!frame || !frame->IsReferenceOpen()) return 0;
    CQlDoc* doc = frame->GetMainDoc();
    const Long pasted = doc->GetReferencePasteCount();
    doc->SetReferencePasteCount(0);
    frame->ShowReferencePane(false);
    frame->SetReferenceOpen(false);
    if (plat::OpenClipboard(frame)) {
        const unsigned blocks = plat::RegisterClipboardFormat(kBlockClipboardFormat);
        if (plat::IsClipboardFormatAvailable(blocks)) plat::EmptyClipboard();
        plat::CloseClipboard();
    }
    return pasted;
}

CQuilnMembers::Bool CQuilnMembers::CanShowReference()
{
    CQlMain* frame = Frame();
    return frame && frame->IsReferenceOpen();
}

CQuilnMembers::Bool CQuilnMembers::ShowReference(Long bShow)
{
    CQlMain* frame = Frame();
    return frame ? frame->ShowReferencePane(bShow != 0) : 0;
}

CQuilnMembers::Bool CQuilnMembers::IsShowReference()
{
    CQlMain* frame = Frame();
    return frame && frame->IsReferencePaneShown();
}

// ---- editing ----

CQuilnMembers::Bool CQuilnMembers::CanEditUndo() { return Test(&CQlDoc::CanUndo); }

CQuilnMembers::Bool CQuilnMembers::EditUndo() { return Gate(CanEditUndo(), &CQlDoc::EditUndo); }

CQuilnMembers::Bool CQuilnMembers::CanEditRedo() { return Test(&CQlDoc::CanRedo); }

CQuilnMembers::Bool CQuilnMembers::EditRedo() { return Gate(CanEditRedo(), &CQlDoc::EditRedo); }

CQuilnMembers::Bool CQuilnMembers::CanEditCut() { return Test(&CQlDoc::CanCut); }

// A cut or copy the clipboard refused is not reported as done (the cut then deletes nothing).
CQuilnMembers::Bool CQuilnMembers::EditCut() { return CanEditCut().value && Editable()->EditCut(); }

CQuilnMembers::Bool CQuilnMembers::CanEditCopy() { return Test(&CQlDoc::CanCopy); }

CQuilnMembers::Bool CQuilnMembers::EditCopy() { return CanEditCopy().value && Editable()->EditCopy(); }

CQuilnMembers::Bool CQuilnMembers::CanEditPaste()
{
    // The frame's paste command and its enable test: the canvas's own test leaves out the
    // page and RTF formats, and would refuse RTF alone (another program's copy, or the
    // objects a new document's reset left as their RTF).
    return Test(&CQlDoc::CanEditPaste);
}

CQuilnMembers::Bool CQuilnMembers::EditPaste() { return SendIf(CanEditPaste(), kCmdEditPaste); }

CQuilnMembers::Bool CQuilnMembers::CanEditDelete() { return Test(&CQlDoc::CanDelete); }

CQuilnMembers::Bool CQuilnMembers::EditDelete() { return Gate(CanEditDelete(), &CQlDoc::EditDelete); }

CQuilnMembers::Bool CQuilnMembers::CanEditSelectAll() { return Test(&CQlDoc::CanSelectAll); }

CQuilnMembers::Bool CQuilnMembers::EditSelectAll() { return Gate(CanEditSelectAll(), &CQlDoc::EditSelectAll); }

CQuilnMembers::Bool CQuilnMembers::CanEditFind() { return Test(&CQlDoc::CanFind); }

CQuilnMembers::Bool CQuilnMembers::EditFind() { return SendIf(CanEditFind(), kCmdEditFind); }

CQuilnMembers::Bool CQuilnMembers::CanEditReplace() { return Test(&CQlDoc::CanReplace); }

CQuilnMembers::Bool CQuilnMembers::EditReplace() { return SendIf(CanEditReplace(), kCmdEditReplace); }

// ---- bars, ruler, zoom and display ----

// The E test alone: the bars, the ruler, the zoom, the annotation marks and the media
// insertions share it; CanBasebar and the creation tools answer the same.
CQuilnMembers::Bool CQuilnMembers::CanExtbar() { return Editable() != nullptr; }
CQuilnMembers::Bool CQuilnMembers::CanBasebar() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanRulerbar() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanDispRatio() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanDispMarkStatus() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertImage() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertVideo() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertAudio() { return CanExtbar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertChart() { return CanBasebar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertTable() { return CanBasebar(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertText() { return CanBasebar(); }

CQuilnMembers::Bool CQuilnMembers::IsBasebarVisible()
{
    if (!CanBasebar().value) return Refused();
    const CToolBarEx* bar = Frame()->GetFormatBar();
    return bar && bar->IsWindowVisible();
}

CQuilnMembers::Bool CQuilnMembers::ShowBasebar(Long bShow)
{
    if (!CanBasebar().value) return Refused();
    CQlMain* frame = Frame();
    if (CToolBarEx* bar = frame->GetFormatBar()) bar->ShowWindow(bShow ? plat::kSwShow : plat::kSwHide);
    frame->RecalcLayout();
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::IsExtbarVisible()
{
    if (!CanExtbar().value) return Refused();
    const CToolBarEx* bar = Frame()->GetExtensionBar();
    return bar && bar->IsWindowVisible();
}

CQuilnMembers::Bool CQuilnMembers::ShowExtbar(Long bShow)
{
    if (!CanExtbar().value) return Refused();
    CQlMain* frame = Frame();
    if (CToolBarEx* bar = frame->GetExtensionBar()) bar->ShowWindow(bShow ? plat::kSwShow : plat::kSwHide);
    frame->RecalcLayout();
    return 1;
}

void CQuilnMembers::SetGraphBarMode(Long bMini)
{
    CQlMain* frame = Frame();
    if (!frame) return;
    frame->SetShortBar(bMini != 0);
    CToolBarEx* other = bMini ? frame->GetFullExtensionBar() : frame->GetShortExtensionBar();
    if (other) other->ShowWindow(plat::kSwHide);
    if (CToolBarEx* bar = frame->GetExtensionBar()) bar->ShowWindow(plat::kSwShow);
    frame->RecalcLayout();
}

CQuilnMembers::Bool CQuilnMembers::IsRulerbarVisible()
{
    return CanRulerbar().value && Frame()->GetMainView()->IsRulerShown();
}

CQuilnMembers::Bool CQuilnMembers::ShowRulerbar(Long bShow)
{
    if (!CanRulerbar().value) return Refused();
    Frame()->GetMainView()->ShowRuler(bShow != 0);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetDispRatio()
{
    if (!CanDispRatio().value) return 100;
    return static_cast<Long>(Editable()->GetZoom() * 100);
}

CQuilnMembers::Bool CQuilnMembers::SetDispRatio(Long iRatio)
{
    if (!CanDispRatio().value) return Refused();
    const auto* found = std::find(std::begin(kZoomPercents), std::end(kZoomPercents), iRatio);
    if (found == std::end(kZoomPercents)) return Refused();
    SendToView(kCmdZoomFirst + static_cast<unsigned>(found - std::begin(kZoomPercents)));
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::CanDispEditStatus() { return Test(&CQlDoc::HasRevisions); }

CQuilnMembers::Bool CQuilnMembers::IsDispEditStatus()
{
    return CanDispEditStatus().value && Editable()->IsRevisionsShown();
}

CQuilnMembers::Bool CQuilnMembers::SetDispEditStatus(Long bShow)
{
    if (!CanDispEditStatus().value) return Refused();
    CQlDoc* doc = Editable();
    doc->SetRevisionsShown(bShow != 0);
    if (doc->GetBody()) doc->GetBody()->RecalcAllObjects();
    CQlCanvas* canvas = Frame()->GetMainView()->GetCanvas();
    canvas->RequestRepaint();
    canvas->ScrollToCaret();
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::IsDispMarkStatus()
{
    return CanDispMarkStatus().value && Editable()->IsAnnotationsShown();
}

CQuilnMembers::Bool CQuilnMembers::SetDispMarkStatus(Long bShow)
{
    if (!CanDispMarkStatus().value) return Refused();
    Editable()->SetAnnotationsShown(bShow != 0);
    Frame()->GetMainView()->GetCanvas()->RequestRepaint();
    return 1;
}

// ---- insertion ----

CQuilnMembers::Bool CQuilnMembers::InsertImage(const Str& fileName, const Str& imageMark, Long x, Long y, Long cx,
                                               Long cy)
{
    if (!CanInsertImage().value) return Refused();
    // Without a name the image open dialog would ask first; the frame has none yet.
    if (fileName.empty()) return Refused();
    return Editable()->InsertImage(fileName, imageMark, x, y, cx, cy);
}

// The frame's media insertion (poster frames, clip lengths) is not there yet.
CQuilnMembers::Bool CQuilnMembers::InsertVideo(const Str&, const Str&, const Str&, Long, Long, Long, Long)
{
    return Refused();
}
CQuilnMembers::Bool CQuilnMembers::InsertAudio(const Str&, const Str&, Long, Long, Long, Long) { return Refused(); }

CQuilnMembers::Bool CQuilnMembers::InsertChart() { return SendIf(CanInsertChart(), kCmdInsertChart); }

CQuilnMembers::Bool CQuilnMembers::InsertTable() { return SendIf(CanInsertTable(), kCmdInsertTable); }

CQuilnMembers::Bool CQuilnMembers::InsertText() { return SendIf(CanInsertText(), kCmdInsertTextShape); }

CQuilnMembers::Bool CQuilnMembers::AcceptsText() { return Test(&CQlDoc::SelectionAcceptsText); }

CQuilnMembers::Bool CQuilnMembers::CanInsertNewPage() { return AcceptsText(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertString() { return CanInsertNewPage(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertDate() { return AcceptsText(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertCharext() { return AcceptsText(); }
CQuilnMembers::Bool CQuilnMembers::CanInsertMark() { return AcceptsText(); }

CQuilnMembers::Bool CQuilnMembers::InsertNewPage() { return Gate(CanInsertNewPage(), &CQlDoc::InsertNewPage); }

CQuilnMembers::Bool CQuilnMembers::InsertString(const Str& lpString)
{
    if (!CanInsertNewPage().value) return Refused();
    Editable()->InsertString(lpString);
    return 1;
}

// The frame's date and symbol insertion (with their dialogs) are not there yet.
CQuilnMembers::Bool CQuilnMembers::InsertDate(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::InsertCharext(Short) { return Refused(); }

CQuilnMembers::Bool CQuilnMembers::InsertMark(const Str& pMarkStr)
{
    if (!CanInsertMark().value) return Refused();
    Editable()->InsertAnnotation(pMarkStr);
    return 1;
}

// ---- character and paragraph format ----

CQuilnMembers::Bool CQuilnMembers::CanCharAttr()
{
    CQlDoc* doc = Editable();
    return doc && doc->GetFormatState() && doc->SelectionAcceptsFormat();
}

CQuilnMembers::Bool CQuilnMembers::CharAttr() { return SendIf(CanCharAttr(), kCmdCharAttr); }

CQuilnMembers::Str CQuilnMembers::GetChFont()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_chineseFace : Str();
}

CQuilnMembers::Str CQuilnMembers::GetAscFont()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_westernFace : Str();
}

CQuilnMembers::Bool CQuilnMembers::SetChFont(const Str& fontName)
{
    if (!CanCharAttr().value) return Refused();
    const CFontNameCombo* combo = Frame()->GetChineseFontCombo();
    if (!combo || combo->FindFont(fontName) < 0) return Refused();
    Editable()->SetChFont(fontName);
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::SetAscFont(const Str& fontName)
{
    if (!CanCharAttr().value) return Refused();
    const CFontNameCombo* combo = Frame()->GetWesternFontCombo();
    if (!combo || combo->FindFont(fontName) < 0) return Refused();
    Editable()->SetAscFont(fontName);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetFontSize()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_size : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetFontSize(Long fontSize)
{
    if (!CanCharAttr().value) return Refused();
    const bool listed = std::any_of(std::begin(kChineseTypeSizes), std::end(kChineseTypeSizes),
                                    [fontSize](const CTypeSize& size) { return size.twips == fontSize; });
    if (!listed) return Refused();
    Editable()->SetFontSize(fontSize);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetCharBold()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_bold : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetCharBold(Long bBold)
{
    if (!CanCharAttr().value) return Refused();
    Editable()->SetCharBold(bBold);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetCharItalic()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_italic : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetCharItalic(Long bItalic)
{
    if (!CanCharAttr().value) return Refused();
    Editable()->SetCharItalic(bItalic);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetCharUnderline()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_underline : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetCharUnderline(Long bUnderline)
{
    if (!CanCharAttr().value || bUnderline < 0 || bUnderline > 3) return Refused();
    Editable()->SetCharUnderline(bUnderline);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetCharPos()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_charFormat.m_position : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetCharPos(Long charPos)
{
    if (!CanCharAttr().value || charPos < 0 || charPos > 2) return Refused();
    Editable()->SetCharPos(charPos);
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetCharColor()
{
    if (!CanCharAttr().value) return 0;
    CQlDoc* doc = Editable();
    return static_cast<Long>(CColorRef(doc).Resolve(doc->GetFormatState()->m_charFormat.m_color));
}

CQuilnMembers::Bool CQuilnMembers::SetCharColor(Long dwColor)
{
    if (!CanCharAttr().value) return Refused();
    Editable()->SetCharColor(dwColor & 0xFFFFFF);
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::CharColorMore() { return SendIf(CanCharAttr(), kCmdCharColorMore); }

CQuilnMembers::Long CQuilnMembers::GetParaFormat()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_paraFormat.m_align : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetParaFormat(Long paraFormat)
{
    if (!CanCharAttr().value || paraFormat < 1 || paraFormat > 4) return Refused();
    Editable()->SetParaFormat(static_cast<std::uint8_t>(paraFormat));
    return 1;
}

CQuilnMembers::Long CQuilnMembers::GetParaGap()
{
    return CanCharAttr().value ? Editable()->GetFormatState()->m_paraFormat.m_spacing : 0;
}

CQuilnMembers::Bool CQuilnMembers::SetParaGap(Long paraGap)
{
    if (!CanCharAttr().value || paraGap < 1 || paraGap > 5) return Refused();
    Editable()->SetParaGap(static_cast<std::uint8_t>(paraGap));
    return 1;
}

// ---- floating objects and tables ----

CQuilnMembers::Bool CQuilnMembers::CanBlockAttr()
{
    CQlDoc* doc = Editable();
    return doc && doc->GetSelectedObjectCount() > 0;
}

CQuilnMembers::Bool CQuilnMembers::BlockAttr() { return Gate(CanBlockAttr(), &CQlDoc::BlockAttr); }
CQuilnMembers::Bool CQuilnMembers::BlockPosUp() { return Gate(CanBlockAttr(), &CQlDoc::BlockPosUp); }
CQuilnMembers::Bool CQuilnMembers::BlockPosDown() { return Gate(CanBlockAttr(), &CQlDoc::BlockPosDown); }
CQuilnMembers::Bool CQuilnMembers::BlockPosFirst() { return Gate(CanBlockAttr(), &CQlDoc::BlockPosFirst); }
CQuilnMembers::Bool CQuilnMembers::BlockPosLast() { return Gate(CanBlockAttr(), &CQlDoc::BlockPosLast); }

// The table commands on the selected table; the split asks for its counts in its dialog.
namespace {

// The command runs after its test passed; its own answer is the result.
CQuilnMembers::Bool RunIf(CQuilnMembers::Bool can, CQlDoc* doc, bool (CQlDoc::*command)())
{
    return can.value && doc && (doc->*command)() ? 1 : 0;
}

} // namespace

CQuilnMembers::Bool CQuilnMembers::CanTableInsertRow() { return Test(&CQlDoc::CanTableInsertRow); }
CQuilnMembers::Bool CQuilnMembers::TableInsertRow() { return RunIf(CanTableInsertRow(), Editable(), &CQlDoc::TableInsertRow); }
CQuilnMembers::Bool CQuilnMembers::CanTableInsertCol() { return Test(&CQlDoc::CanTableInsertCol); }
CQuilnMembers::Bool CQuilnMembers::TableInsertCol() { return RunIf(CanTableInsertCol(), Editable(), &CQlDoc::TableInsertCol); }
CQuilnMembers::Bool CQuilnMembers::CanTableDeleteRow() { return Test(&CQlDoc::CanTableDeleteRow); }
CQuilnMembers::Bool CQuilnMembers::TableDeleteRow() { return RunIf(CanTableDeleteRow(), Editable(), &CQlDoc::TableDeleteRow); }
CQuilnMembers::Bool CQuilnMembers::CanTableDeleteCol() { return Test(&CQlDoc::CanTableDeleteCol); }
CQuilnMembers::Bool CQuilnMembers::TableDeleteCol() { return RunIf(CanTableDeleteCol(), Editable(), &CQlDoc::TableDeleteCol); }
CQuilnMembers::Bool CQuilnMembers::CanTableMerge() { return Test(&CQlDoc::CanTableMerge); }
CQuilnMembers::Bool CQuilnMembers::TableMerge() { return RunIf(CanTableMerge(), Editable(), &CQlDoc::TableMerge); }
CQuilnMembers::Bool CQuilnMembers::CanTableSeparate() { return Test(&CQlDoc::CanTableSeparate); }
CQuilnMembers::Bool CQuilnMembers::TableSeparate() { return RunIf(CanTableSeparate(), Editable(), &CQlDoc::TableSeparate); }
CQuilnMembers::Bool CQuilnMembers::CanTableUDFormat() { return Test(&CQlDoc::CanTableUDFormat); }
CQuilnMembers::Long CQuilnMembers::GetTableUDFormat()
{
    const CQlDoc* doc = Editable();
    return doc ? doc->GetTableUDFormat() : 0;
}
CQuilnMembers::Bool CQuilnMembers::SetTableUDFormat(Long udFormat)
{
    CQlDoc* doc = Editable();
    if (!doc || (udFormat != kAlignTop && udFormat != kAlignMiddle && udFormat != kAlignBottom)) return Refused();
    return doc->SetTableUDFormat(static_cast<std::uint8_t>(udFormat)) ? 1 : Refused();
}

// ---- spelling and statistics ----

void CQuilnMembers::UserDictionary() {}

CQuilnMembers::Bool CQuilnMembers::CanSpellCheck() { return Test(&CQlDoc::CanReplace); }

CQuilnMembers::Bool CQuilnMembers::SetSpellCheck(const Str& dllPath)
{
    if (!CanSpellCheck().value) return Refused();
    Frame()->SetSentenceCheckerPath(dllPath);
    return 1;
}

CQuilnMembers::Bool CQuilnMembers::SpellCheck() { return SendIf(CanSpellCheck(), kCmdSpellCheck); }

CQuilnMembers::Bool CQuilnMembers::CanRussianConvert() { return Test(&CQlDoc::CanRussianConvert); }

CQuilnMembers::Bool CQuilnMembers::RussianConvert(Short nMode)
{
    if (!CanRussianConvert().value || nMode < 1 || nMode > 3) return Refused();
    return Editable()->RussianConvert(nMode);
}

void CQuilnMembers::FileStatistics()
{
    CQlMain* frame = Frame();
    if (!frame || !frame->GetMainDoc()->GetBody()) return;
    CStatistics stats;
    frame->GetMainDoc()->GetBody()->CountStatistics(stats);
    RunObjectCountDialog(stats, frame);
}

// ---- append and export ----

// The appends by format have no entry points of their own yet.
CQuilnMembers::Bool CQuilnMembers::AppendQuiln(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::AppendMsWord(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::AppendMain(const Str& path, int (CQlDoc::*append)(const plat::String& path))
{
    // An edit: refused while the document is read-only or being printed.
    CQlDoc* doc = Editable();
    if (!doc) return Refused();
    return (doc->*append)(path);
}
CQuilnMembers::Bool CQuilnMembers::AppendRTF(const Str& fileName) { return AppendMain(fileName, &CQlDoc::AppendRtf); }
CQuilnMembers::Bool CQuilnMembers::AppendText(const Str& fileName) { return AppendMain(fileName, &CQlDoc::AppendText); }
CQuilnMembers::Bool CQuilnMembers::AppendImage(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::AppendVideo(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::AppendAudio(const Str&) { return Refused(); }
CQuilnMembers::Bool CQuilnMembers::AppendTable(const Str&) { return Refused(); }

CQuilnMembers::Long CQuilnMembers::ExportTotal()
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportTotal() : 0;
}

CQuilnMembers::Long CQuilnMembers::ExportType(Long nExport)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportType(nExport) : 0;
}

CQuilnMembers::Str CQuilnMembers::ExportExt(Long nExport)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportExt(nExport) : Str();
}

CQuilnMembers::Str CQuilnMembers::ExportMark(Long nExport)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportMark(nExport) : Str();
}

CQuilnMembers::Bool CQuilnMembers::ExportFile(Long nExport, const Str& fileName)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportFile(nExport, fileName) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportFileTitle(const Str& fileName)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportFileTitle(fileName) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportHTML(const Str& filePath)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportHtml(filePath) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportEHTML(const Str& fileName, const Str& listName)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportEHtml(fileName, listName) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportPDF(const Str& filePath)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportPdf(filePath) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportRTF(const Str& filePath)
{
    CQlDoc* doc = Editable();
    return doc ? doc->ExportRtf(filePath) : 0;
}

CQuilnMembers::Bool CQuilnMembers::ExportDoc(const Str& filePath) { return ExportRTF(filePath); }

// ---- counting ----

CQuilnMembers::Long CQuilnMembers::Count(int counter)
{
    CQlDoc* doc = Editable();
    if (!doc || !doc->GetBody()) return 0;
    CStatistics stats;
    doc->GetBody()->CountStatistics(stats);
    return stats[static_cast<CStatistics::Counter>(counter)];
}

CQuilnMembers::Long CQuilnMembers::StatisticsChinese() { return Count(CStatistics::kChinese); }
CQuilnMembers::Long CQuilnMembers::StatisticsAscii() { return Count(CStatistics::kLetters); }
CQuilnMembers::Long CQuilnMembers::StatisticsSpace() { return Count(CStatistics::kSpaces); }
CQuilnMembers::Long CQuilnMembers::StatisticsSymbol() { return Count(CStatistics::kSymbols); }
CQuilnMembers::Long CQuilnMembers::StatisticsPara() { return Count(CStatistics::kParagraphs); }
CQuilnMembers::Long CQuilnMembers::StatisticsPage() { return Count(CStatistics::kPages); }
CQuilnMembers::Long CQuilnMembers::StatisticsAudio() { return Count(CStatistics::kAudio); }
CQuilnMembers::Long CQuilnMembers::StatisticsVideo() { return Count(CStatistics::kVideo); }
CQuilnMembers::Long CQuilnMembers::StatisticsImage() { return Count(CStatistics::kImages); }
CQuilnMembers::Long CQuilnMembers::StatisticsChart() { return Count(CStatistics::kCharts); }
CQuilnMembers::Long CQuilnMembers::StatisticsTable() { return Count(CStatistics::kTables); }
CQuilnMembers::Long CQuilnMembers::StatisticsGraph() { return Count(CStatistics::kGraphics); }
CQuilnMembers::Long CQuilnMembers::StatisticsWord() { return Count(CStatistics::kWords); }

// ---- the table ----

std::vector<plat::DispatchTable::Entry> QuilnMemberEntries(std::function<CQlMain*(void* self)> frameOf)
{
    using A = CQuilnMembers;
    using plat::Method;
    std::vector<plat::DispatchTable::Entry> entries{
        Method(1, u"FileNew", &A::FileNew),
        Method(2, u"FileOpen", &A::FileOpen, {u"filePath", u"bReadOnly"}),
        Method(3, u"FileOpenMsWord", &A::FileOpenMsWord, {u"filePath", u"bReadOnly"}),
        Method(4, u"FileOpenRTF", &A::FileOpenRTF, {u"filePath", u"bReadOnly"}),
        Method(5, u"FileOpenText", &A::FileOpenText, {u"filePath", u"bReadOnly"}),
        Method(6, u"FileSave", &A::FileSave, {u"filePath"}),
        Method(7, u"SetAutoSave", &A::SetAutoSave, {u"savePath", u"saveTime"}),
        Method(8, u"GetAutoSave", &A::GetAutoSave),
        Method(9, u"IsFileModified", &A::IsFileModified),
        Method(10, u"FileSetup", &A::FileSetup),
        Method(11, u"HasFilePassword", &A::HasFilePassword),
        Method(12, u"SetFilePassword", &A::SetFilePassword),
        Method(13, u"SetFileAuthor", &A::SetFileAuthor, {u"authorID", u"authorName"}),
        Method(14, u"FileAuthorInfo", &A::FileAuthorInfo),
        Method(15, u"CanFilePrint", &A::CanFilePrint),
        Method(16, u"FilePrint", &A::FilePrint),
        Method(17, u"FilePrintPreview", &A::FilePrintPreview),
        Method(18, u"IsFilePrinting", &A::IsFilePrinting),
        Method(19, u"OpenReference", &A::OpenReference, {u"filePath"}),
        Method(20, u"OpenReferenceMsWord", &A::OpenReferenceMsWord, {u"filePath"}),
        Method(21, u"OpenReferenceRTF", &A::OpenReferenceRTF, {u"filePath"}),
        Method(22, u"OpenReferenceText", &A::OpenReferenceText, {u"filePath"}),
        Method(23, u"CloseReference", &A::CloseReference),
        Method(24, u"CanShowReference", &A::CanShowReference),
        Method(25, u"ShowReference", &A::ShowReference, {u"bShow"}),
        Method(26, u"IsShowReference", &A::IsShowReference),
        Method(27, u"CanEditUndo", &A::CanEditUndo),
        Method(28, u"EditUndo", &A::EditUndo),
        Method(29, u"CanEditRedo", &A::CanEditRedo),
        Method(30, u"EditRedo", &A::EditRedo),
        Method(31, u"CanEditCut", &A::CanEditCut),
        Method(32, u"EditCut", &A::EditCut),
        Method(33, u"CanEditCopy", &A::CanEditCopy),
        Method(34, u"EditCopy", &A::EditCopy),
        Method(35, u"CanEditPaste", &A::CanEditPaste),
        Method(36, u"EditPaste", &A::EditPaste),
        Method(37, u"CanEditDelete", &A::CanEditDelete),
        Method(38, u"EditDelete", &A::EditDelete),
        Method(39, u"CanEditSelectAll", &A::CanEditSelectAll),
        Method(40, u"EditSelectAll", &A::EditSelectAll),
        Method(41, u"CanEditFind", &A::CanEditFind),
        Method(42, u"EditFind", &A::EditFind),
        Method(43, u"CanEditReplace", &A::CanEditReplace),
        Method(44, u"EditReplace", &A::EditReplace),
        Method(45, u"CanBasebar", &A::CanBasebar),
        Method(46, u"IsBasebarVisible", &A::IsBasebarVisible),
        Method(47, u"ShowBasebar", &A::ShowBasebar, {u"bShow"}),
        Method(48, u"CanExtbar", &A::CanExtbar),
        Method(49, u"IsExtbarVisible", &A::IsExtbarVisible),
        Method(50, u"ShowExtbar", &A::ShowExtbar, {u"bShow"}),
        Method(51, u"SetGraphBarMode", &A::SetGraphBarMode, {u"bMini"}),
        Method(52, u"CanRulerbar", &A::CanRulerbar),
        Method(53, u"IsRulerbarVisible", &A::IsRulerbarVisible),
        Method(54, u"ShowRulerbar", &A::ShowRulerbar, {u"bShow"}),
        Method(55, u"CanDispRatio", &A::CanDispRatio),
        Method(56, u"GetDispRatio", &A::GetDispRatio),
        Method(57, u"SetDispRatio", &A::SetDispRatio, {u"iRatio"}),
        Method(58, u"CanDispEditStatus", &A::CanDispEditStatus),
        Method(59, u"IsDispEditStatus", &A::IsDispEditStatus),
        Method(60, u"SetDispEditStatus", &A::SetDispEditStatus, {u"bShow"}),
        Method(61, u"CanDispMarkStatus", &A::CanDispMarkStatus),
        Method(62, u"IsDispMarkStatus", &A::IsDispMarkStatus),
        Method(63, u"SetDispMarkStatus", &A::SetDispMarkStatus, {u"bShow"}),
        Method(64, u"CanInsertImage", &A::CanInsertImage),
        Method(65, u"InsertImage", &A::InsertImage, {u"fileName", u"imageMark", u"x", u"y", u"cx", u"cy"}),
        Method(66, u"CanInsertVideo", &A::CanInsertVideo),
        Method(67, u"InsertVideo", &A::InsertVideo,
               {u"videoName", u"imageName", u"videoMark", u"x", u"y", u"cx", u"cy"}),
        Method(68, u"CanInsertAudio", &A::CanInsertAudio),
        Method(69, u"InsertAudio", &A::InsertAudio, {u"fileName", u"audioMark", u"x", u"y", u"cx", u"cy"}),
        Method(70, u"CanInsertChart", &A::CanInsertChart),
        Method(71, u"InsertChart", &A::InsertChart),
        Method(72, u"CanInsertTable", &A::CanInsertTable),
        Method(73, u"InsertTable", &A::InsertTable),
        Method(74, u"CanInsertText", &A::CanInsertText),
        Method(75, u"InsertText", &A::InsertText),
        Method(76, u"CanInsertNewPage", &A::CanInsertNewPage),
        Method(77, u"InsertNewPage", &A::InsertNewPage),
        Method(78, u"CanInsertString", &A::CanInsertString),
        Method(79, u"InsertString", &A::InsertString, {u"lpString"}),
        Method(80, u"CanInsertDate", &A::CanInsertDate),
        Method(81, u"InsertDate", &A::InsertDate, {u"pDateStr"}),
        Method(82, u"CanInsertCharext", &A::CanInsertCharext),
        Method(83, u"InsertCharext", &A::InsertCharext, {u"charCode"}),
        Method(84, u"CanInsertMark", &A::CanInsertMark),
        Method(85, u"InsertMark", &A::InsertMark, {u"pMarkStr"}),
        Method(86, u"CanCharAttr", &A::CanCharAttr),
        Method(87, u"CharAttr", &A::CharAttr),
        Method(88, u"GetChFont", &A::GetChFont),
        Method(89, u"SetChFont", &A::SetChFont, {u"fontName"}),
        Method(90, u"GetAscFont", &A::GetAscFont),
        Method(91, u"SetAscFont", &A::SetAscFont, {u"fontName"}),
        Method(92, u"GetFontSize", &A::GetFontSize),
        Method(93, u"SetFontSize", &A::SetFontSize, {u"fontSize"}),
        Method(94, u"GetCharBold", &A::GetCharBold),
        Method(95, u"SetCharBold", &A::SetCharBold, {u"bBold"}),
        Method(96, u"GetCharItalic", &A::GetCharItalic),
        Method(97, u"SetCharItalic", &A::SetCharItalic, {u"bItalic"}),
        Method(98, u"GetCharUnderline", &A::GetCharUnderline),
        Method(99, u"SetCharUnderline", &A::SetCharUnderline, {u"bUnderline"}),
        Method(100, u"GetCharPos", &A::GetCharPos),
        Method(101, u"SetCharPos", &A::SetCharPos, {u"charPos"}),
        Method(102, u"GetCharColor", &A::GetCharColor),
        Method(103, u"SetCharColor", &A::SetCharColor, {u"dwColor"}),
        Method(104, u"CharColorMore", &A::CharColorMore),
        Method(105, u"GetParaFormat", &A::GetParaFormat),
        Method(106, u"SetParaFormat", &A::SetParaFormat, {u"paraFormat"}),
        Method(107, u"GetParaGap", &A::GetParaGap),
        Method(108, u"SetParaGap", &A::SetParaGap, {u"paraGap"}),
        Method(109, u"CanBlockAttr", &A::CanBlockAttr),
        Method(110, u"BlockAttr", &A::BlockAttr),
        Method(111, u"BlockPosUp", &A::BlockPosUp),
        Method(112, u"BlockPosDown", &A::BlockPosDown),
        Method(113, u"BlockPosFirst", &A::BlockPosFirst),
        Method(114, u"BlockPosLast", &A::BlockPosLast),
        Method(115, u"CanTableInsertRow", &A::CanTableInsertRow),
        Method(116, u"TableInsertRow", &A::TableInsertRow),
        Method(117, u"CanTableInsertCol", &A::CanTableInsertCol),
        Method(118, u"TableInsertCol", &A::TableInsertCol),
        Method(119, u"CanTableDeleteRow", &A::CanTableDeleteRow),
        Method(120, u"TableDeleteRow", &A::TableDeleteRow),
        Method(121, u"CanTableDeleteCol", &A::CanTableDeleteCol),
        Method(122, u"TableDeleteCol", &A::TableDeleteCol),
        Method(123, u"CanTableMerge", &A::CanTableMerge),
        Method(124, u"TableMerge", &A::TableMerge),
        Method(125, u"CanTableSeparate", &A::CanTableSeparate),
        Method(126, u"TableSeparate", &A::TableSeparate),
        Method(127, u"CanTableUDFormat", &A::CanTableUDFormat),
        Method(128, u"GetTableUDFormat", &A::GetTableUDFormat),
        Method(129, u"SetTableUDFormat", &A::SetTableUDFormat, {u"udFormat"}),
        Method(130, u"UserDictionary", &A::UserDictionary),
        Method(131, u"CanSpellCheck", &A::CanSpellCheck),
        Method(132, u"SetSpellCheck", &A::SetSpellCheck, {u"dllPath"}),
        Method(133, u"SpellCheck", &A::SpellCheck),
        Method(134, u"RussianConvert", &A::RussianConvert, {u"nMode"}),
        Method(135, u"CanRussianConvert", &A::CanRussianConvert),
        Method(136, u"FileStatistics", &A::FileStatistics),
        Method(139, u"AppendQuiln", &A::AppendQuiln, {u"fileName"}),
        Method(140, u"AppendMsWord", &A::AppendMsWord, {u"fileName"}),
        Method(141, u"AppendRTF", &A::AppendRTF, {u"fileName"}),
        Method(142, u"AppendText", &A::AppendText, {u"fileName"}),
        Method(143, u"AppendImage", &A::AppendImage, {u"fileName"}),
        Method(144, u"AppendVideo", &A::AppendVideo, {u"fileName"}),
        Method(145, u"AppendAudio", &A::AppendAudio, {u"fileName"}),
        Method(146, u"AppendTable", &A::AppendTable, {u"fileName"}),
        Method(147, u"ExportTotal", &A::ExportTotal),
        Method(148, u"ExportType", &A::ExportType, {u"nExport"}),
        Method(149, u"ExportExt", &A::ExportExt, {u"nExport"}),
        Method(150, u"ExportMark", &A::ExportMark, {u"nExport"}),
        Method(151, u"ExportFile", &A::ExportFile, {u"nExport", u"fileName"}),
        Method(152, u"ExportFileTitle", &A::ExportFileTitle, {u"fileName"}),
        Method(153, u"ExportHTML", &A::ExportHTML, {u"filePath"}),
        Method(154, u"ExportEHTML", &A::ExportEHTML, {u"fileName", u"listName"}),
        Method(155, u"ExportPDF", &A::ExportPDF, {u"filePath"}),
        Method(156, u"ExportRTF", &A::ExportRTF, {u"filePath"}),
        Method(157, u"ExportDoc", &A::ExportDoc, {u"filePath"}),
        Method(158, u"StatisticsChinese", &A::StatisticsChinese),
        Method(159, u"StatisticsAscii", &A::StatisticsAscii),
        Method(160, u"StatisticsSpace", &A::StatisticsSpace),
        Method(161, u"StatisticsSymbol", &A::StatisticsSymbol),
        Method(162, u"StatisticsPara", &A::StatisticsPara),
        Method(163, u"StatisticsPage", &A::StatisticsPage),
        Method(164, u"StatisticsAudio", &A::StatisticsAudio),
        Method(165, u"StatisticsVideo", &A::StatisticsVideo),
        Method(166, u"StatisticsImage", &A::StatisticsImage),
        Method(167, u"StatisticsChart", &A::StatisticsChart),
        Method(168, u"StatisticsTable", &A::StatisticsTable),
        Method(169, u"StatisticsGraph", &A::StatisticsGraph),
        Method(170, u"StatisticsWord", &A::StatisticsWord),
    };
    // Each call works on the frame the object has at the time of the call.
    for (plat::DispatchTable::Entry& entry : entries) {
        entry.call = [call = std::move(entry.call), frameOf](void* self, const std::vector<plat::Variant>& args) {
            CQuilnMembers members(frameOf(self));
            return call(&members, args);
        };
    }
    return entries;
}

const plat::DispatchTable& CQuilnAutomation::Members()
{
    static const plat::DispatchTable table(
        quiln::DispatchIid(), u"_DQuiln", u"Dispatch interface for Quiln Control",
        QuilnMemberEntries([](void* self) { return static_cast<CQuilnAutomation*>(self)->GetMainFrame(); }));
    return table;
}

const plat::DispatchTable& CQuilnCtrl::Members()
{
    static const plat::DispatchTable table(
        quiln::DispatchIid(), u"_DQuiln", u"Dispatch interface for Quiln Control",
        QuilnMemberEntries([](void* self) { return static_cast<CQuilnCtrl*>(self)->GetMainFrame(); }));
    return table;
}
