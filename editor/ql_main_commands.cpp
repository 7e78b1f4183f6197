// The main frame's command table: what each toolbar button, drop-down item, accelerator and
// context-menu item does, and the update handler that enables and checks it. Nearly every
// command goes to the main pane's document. Commands marked editing do nothing, and their
// items are disabled, while the main document is read-only.
#include <algorithm>
#include <functional>

#include "document/doc_body.h"
#include "document/doc_node.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/spell_check_ui.h"
#include "document/spell_error.h"
#include "document/text_flow.h"
#include "editor/font_name_combo.h"
#include "editor/ql_canvas.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "editor/toolbar_ex.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/focus.h"
#include "platform/ui/menu.h"
#include "platform/ui/message.h"
#include "platform/ui/message_queue.h"

namespace {

using DocAction = std::function<void(CQlDoc&)>;
using DocTest = std::function<bool(const CQlDoc&)>;

// Command ids of the table (the combos' and timers' ids are the frame's constants).
enum FrameCommand : unsigned {
    kCmdUndo = 57643,
    kCmdRedo = 57644,
    kCmdDelete = 35010,
    kCmdSelectAll = 35011,
    kCmdCut = 57635,
    kCmdCopy = 57634,
    kCmdPaste = 57637,
    kCmdReferenceCopy = 35012,
    kCmdReferenceSelectAll = 35013,
    kCmdFind = 57636,
    kCmdReplace = 57641,
    kCmdFindPopup = 32787,
    kCmdViewPopup = 35020,
    kCmdFormatBar = 35021,
    kCmdRuler = 35022,
    kCmdExtensionBar = 35023,
    kCmdReferencePane = 35024,
    kCmdSpellMarks = 37911,
    kCmdRevisionPopup = 32770,
    kCmdShowRevisions = 32771,
    kCmdShowAnnotations = 32772,
    kCmdInsertAnnotation = 32773,
    kCmdBold = 35065,
    kCmdItalic = 35066,
    kCmdUnderline = 35067,
    kCmdUnderlineFirst = 35068, // kinds 1-3
    kCmdUnderlineLast = 35070,
    kCmdCharColor = 35071,
    kCmdCharPosUp = 35073,
    kCmdCharPosDown = 35074,
    kCmdCharPosNormal = 35075,
    kCmdAlignment = 35080,
    kCmdLineSpacing = 35085,
    kCmdLineSpacingFirst = 35086, // codes 1-5
    kCmdLineSpacingLast = 35090,
    kCmdIndentMore = 35092,
    kCmdIndentLess = 35093,
    kCmdInsertPicture = 35041,
    kCmdInsertVideo = 35042,
    kCmdInsertAudio = 35043,
    kCmdInsertTable = 35044,
    kCmdInsertChart = 35046,
    kCmdInsertTextShape = 33271,
    kCmdLineFirst = 32802,
    kCmdLineLast = 32810,
    kCmdSpellCheck = 37900,
    kCmdWordCount = 37920,
    kCmdTableAlignRepeat = 37810,
    kCmdTableAlignTop = 37811, // … 37813 bottom
    kCmdTableAlignBottom = 37813,
};

// The shape commands, four ranges of the shape menus.
struct CommandRange {
    unsigned first, last;
};
constexpr CommandRange kShapeCommandRanges[] = {
    {32821, 32834},
    {32841, 32867},
    {32871, 32902},
    {32911, 32932},
};

// The alignment items of the alignment drop-down, with the code each sets.
struct CodeCommand {
    unsigned id;
    std::uint8_t code;
};
constexpr CodeCommand kAlignmentCommands[] = {
    {35081, 4}, // justify
    {35082, 1}, // left
    {35083, 3}, // centre
    {35084, 2}, // right
};

// The creation tools and the node type whose pending creation checks their button.
constexpr CodeCommand kCreationTools[] = {
    {kCmdInsertPicture, kNodeImage},  {kCmdInsertVideo, kNodeVideo}, {kCmdInsertAudio, kNodeAudio},
    {kCmdInsertChart, kNodeChart},    {kCmdInsertTable, kNodeTable}, {kCmdInsertTextShape, kNodeTextShape},
};

const CCharFormat* RunningCharFormat(const CQlDoc& doc)
{
    const CFormatState* state = doc.GetFormatState();
    return state ? &state->m_charFormat : nullptr;
}

const CParaFormat* RunningParaFormat(const CQlDoc& doc)
{
    const CFormatState* state = doc.GetFormatState();
    return state ? &state->m_paraFormat : nullptr;
}

bool IsCreating(const CQlDoc& doc, std::uint16_t nodeType)
{
    const CFormatState* state = doc.GetFormatState();
    return state && state->IsCreatingType(nodeType);
}

bool AcceptsFormat(const CQlDoc& doc)
{
    return doc.SelectionAcceptsFormat();
}

bool AcceptsText(const CQlDoc& doc)
{
    return doc.SelectionAcceptsText();
}

bool ObjectSelected(const CQlDoc& doc)
{
    return doc.GetSelectedObjectCount() > 0;
}

bool MediaSelected(const CQlDoc& doc)
{
    return doc.IsMediaSelected();
}

bool NoObjectSelected(const CQlDoc& doc)
{
    return doc.GetBody() && doc.GetSelectedObjectCount() == 0;
}

// The new first-line and left indents of the increase (+1) or decrease (-1) indent
// commands: a step of twice the running character size, never to or past the right edge
// of the text area less the right indent, never below 0.
struct Indents {
    std::int32_t first, left, right;
};

Indents ShiftIndents(const Indents& now, std::int32_t charSize, std::int32_t textWidth, int direction)
{
    const std::int32_t step = 2 * charSize;
    Indents out = now;
    if (direction > 0) {
        const std::int32_t limit = textWidth - now.right;
        if (now.first + step < limit) out.first = now.first + step;
        if (now.left + step < limit) out.left = now.left + step;
    } else {
        out.first = std::max(now.first - step, 0);
        out.left = std::max(now.left - step, 0);
    }
    return out;
}

// Binds the frame's handlers. Each handler keeps a copy of the binder (a reference to the
// frame); the main document is looked up at each command, as the panes' views may be
// created after the binding.
class CFrameCommands {
public:
    explicit CFrameCommands(CQlMain& frame) : m_frame(frame) {}

    void BindAll() const
    {
        BindEdit();
        BindView();
        BindRevisions();
        BindCharFormat();
        BindFormatCombos();
        BindParaFormat();
        BindInsertion();
        BindPlacement();
        BindSpelling();
        BindCounting();
        BindTables();
    }

private:
    // The main document once it has content (its first reset made its format state).
    CQlDoc* MainDoc() const
    {
        CQlDoc* doc = m_frame.GetMainDoc();
        return doc && doc->GetFormatState() ? doc : nullptr;
    }
    bool IsReadOnly() const
    {
        const CQlDoc* doc = MainDoc();
        return !doc || doc->IsReadOnly();
    }
    CQlCanvas* MainCanvas() const
    {
        CQlView* view = m_frame.GetMainView();
        return view ? view->GetCanvas() : nullptr;
    }
    void RepaintMain() const
    {
        if (CQlCanvas* canvas = MainCanvas()) canvas->RequestRepaint();
    }
    void FocusControl() const
    {
        if (plat::Window* control = m_frame.GetParentWnd()) plat::SetFocus(control);
    }

    // An editing command: nothing while the main document is read-only, and its item is
    // disabled then; otherwise enabled by `enable` (all the time without one) and, with
    // `check`, checked by it.
    // `whenEnabled` runs after the update of an enabled item (a button picture that follows
    // the format).
    void Editing(unsigned id, DocAction action, DocTest enable = {}, DocTest check = {},
                 std::function<void()> whenEnabled = {}) const
    {
        EditingRange(id, id, [action](CQlDoc& doc, unsigned) { action(doc); }, std::move(enable),
                     std::move(check), std::move(whenEnabled));
    }
    void EditingRange(unsigned first, unsigned last, std::function<void(CQlDoc&, unsigned)> action,
                      DocTest enable = {}, DocTest check = {}, std::function<void()> whenEnabled = {}) const
    {
        m_frame.OnCommandRange(first, last, [*this, action](unsigned id) {
            if (IsReadOnly()) return;
            action(*MainDoc(), id);
        });
        m_frame.OnUpdateRange(first, last, [*this, enable, check, whenEnabled](plat::CommandUi& ui) {
            UpdateEditing(ui, enable, check);
            if (whenEnabled && ui.Enabled().value_or(false)) whenEnabled();
        });
    }
    std::function<void()> RefreshFormatPicture(unsigned id) const
    {
        return [frame = &m_frame, id] { frame->GetToolbarImages().UpdateFormatButton(id); };
    }
    void UpdateEditing(plat::CommandUi& ui, const DocTest& enable, const DocTest& check) const
    {
        const CQlDoc* doc = MainDoc();
        ui.Enable(doc && !doc->IsReadOnly() && (!enable || enable(*doc)));
        if (check) ui.SetCheck(doc && check(*doc) ? 1 : 0);
    }
    // A command that reads the document and works on a read-only one too.
    void Reading(unsigned id, DocAction action, DocTest enable) const
    {
        m_frame.OnCommand(id, [*this, action](unsigned) {
            if (CQlDoc* doc = MainDoc()) action(*doc);
        });
        m_frame.OnUpdate(id, [*this, enable](plat::CommandUi& ui) {
            const CQlDoc* doc = MainDoc();
            ui.Enable(doc && enable(*doc));
        });
    }
    // A command of the reference pane's document, refused with the main document read-only.
    void OnReference(unsigned id, DocAction action, DocTest enable) const
    {
        m_frame.OnCommand(id, [*this, action](unsigned) {
            if (CQlDoc* reference = m_frame.GetReferenceDoc(); reference && !IsReadOnly()) action(*reference);
        });
        m_frame.OnUpdate(id, [*this, enable](plat::CommandUi& ui) {
            const CQlDoc* reference = m_frame.GetReferenceDoc();
            ui.Enable(reference && !IsReadOnly() && enable(*reference));
        });
    }
    // The update of an item whose command is bound elsewhere or comes later.
    void UpdateOnly(unsigned id, bool editing, DocTest enable) const
    {
        m_frame.OnUpdate(id, [*this, editing, enable](plat::CommandUi& ui) {
            const CQlDoc* doc = MainDoc();
            ui.Enable(doc && !(editing && doc->IsReadOnly()) && enable(*doc));
        });
    }

    // ---- edit ----
    void BindEdit() const
    {
        Editing(kCmdUndo, [](CQlDoc& doc) { doc.EditUndo(); }, [](const CQlDoc& doc) { return doc.CanUndo(); });
        Editing(kCmdRedo, [](CQlDoc& doc) { doc.EditRedo(); }, [](const CQlDoc& doc) { return doc.CanRedo(); });
        Editing(kCmdDelete, [](CQlDoc& doc) { doc.EditDelete(); },
                [](const CQlDoc& doc) { return doc.CanDelete(); });
        Reading(kCmdSelectAll, [](CQlDoc& doc) { doc.EditSelectAll(); },
                [](const CQlDoc& doc) { return doc.CanSelectAll(); });
        Editing(kCmdCut, [](CQlDoc& doc) { doc.EditCut(); }, [](const CQlDoc& doc) { return doc.CanCut(); });
        Reading(kCmdCopy, [](CQlDoc& doc) { doc.EditCopy(); }, [](const CQlDoc& doc) { return doc.CanCopy(); });
        // Paste takes the richest clipboard format that fits where the caret is.
        Editing(kCmdPaste, [](CQlDoc& doc) { doc.EditPaste(); }, [](const CQlDoc& doc) { return doc.CanEditPaste(); });
        OnReference(kCmdReferenceCopy, [](CQlDoc& reference) { reference.EditCopy(); },
                    [](const CQlDoc& reference) { return reference.CanCopy(); });
        OnReference(kCmdReferenceSelectAll, [](CQlDoc& reference) { reference.EditSelectAll(); },
                    [](const CQlDoc& reference) { return reference.CanSelectAll(); });
        // Find and replace open their dialogs; their items follow the document here.
        UpdateOnly(kCmdFind, false, [](const CQlDoc& doc) { return doc.CanFind(); });
        UpdateOnly(kCmdReplace, true, [](const CQlDoc& doc) { return doc.CanReplace(); });
        m_frame.OnCommand(kCmdFindPopup, [*this](unsigned) {
            plat::Menu menu;
            menu.AppendItem(plat::kMfString, kCmdFind, u"查找");
            menu.AppendSeparator();
            menu.AppendItem(IsReadOnly() ? plat::kMfGrayed : plat::kMfString, kCmdReplace, u"替换");
            TrackUnderButton(menu, kCmdFindPopup);
        });
        UpdateOnly(kCmdFindPopup, false, [](const CQlDoc& doc) { return doc.CanFind(); });
    }

    // ---- bars, panes and marks ----
    void BindView() const
    {
        EditingFrame(kCmdViewPopup, [*this] {
            CQlView* view = m_frame.GetMainView();
            CToolBarEx* extension = m_frame.GetExtensionBar();
            plat::Menu menu;
            menu.AppendItem(Checked(view && view->IsRulerShown()), kCmdRuler, u"标尺");
            menu.AppendSeparator();
            menu.AppendItem(Checked(extension && extension->IsWindowVisible()), kCmdExtensionBar, u"扩展工具栏");
            menu.AppendSeparator();
            menu.AppendItem(Checked(m_frame.IsReferencePaneShown()) |
                                (m_frame.IsReferenceOpen() ? plat::kMfString : plat::kMfGrayed),
                            kCmdReferencePane, u"参考文档");
            menu.AppendSeparator();
            menu.AppendItem(Checked(m_frame.IsSpellMarks()), kCmdSpellMarks, u"拼写检查");
            TrackUnderButton(menu, kCmdViewPopup);
        });
        EditingFrame(kCmdFormatBar, [*this] { ToggleBar(m_frame.GetFormatBar()); },
                     [*this] { return IsVisible(m_frame.GetFormatBar()); });
        EditingFrame(kCmdRuler,
                     [*this] {
                         if (CQlView* view = m_frame.GetMainView()) view->ShowRuler(!view->IsRulerShown());
                     },
                     [*this] {
                         CQlView* view = m_frame.GetMainView();
                         return view && view->IsRulerShown();
                     });
        EditingFrame(kCmdExtensionBar, [*this] { ToggleBar(m_frame.GetExtensionBar()); },
                     [*this] { return IsVisible(m_frame.GetExtensionBar()); });
        m_frame.OnCommand(kCmdReferencePane,
                          [*this](unsigned) { m_frame.ShowReferencePane(!m_frame.IsReferencePaneShown()); });
        m_frame.OnUpdate(kCmdReferencePane, [*this](plat::CommandUi& ui) {
            ui.Enable(m_frame.IsReferenceOpen());
            ui.SetCheck(m_frame.IsReferencePaneShown() ? 1 : 0);
        });
        m_frame.OnCommand(kCmdSpellMarks, [*this](unsigned) {
            const bool on = !m_frame.IsSpellMarks();
            m_frame.SetSpellMarks(on);
            if (CQlDoc* doc = MainDoc()) {
                // The document's own flag is the one painting reads.
                doc->SetSpellMarks(on);
                if (doc->GetBody()) doc->GetBody()->ClearSpellMarks();
            }
            RepaintMain();
        });
        m_frame.OnUpdate(kCmdSpellMarks,
                         [*this](plat::CommandUi& ui) { ui.SetCheck(m_frame.IsSpellMarks() ? 1 : 0); });
        // The zoom combo's choice: item i is the view's zoom command 35030 + i.
        m_frame.OnCommand(CQlMain::kCmdZoomCombo, [*this](unsigned) {
            plat::ComboBox* combo = m_frame.GetZoomCombo();
            CQlView* view = m_frame.GetMainView();
            if (IsReadOnly() || !combo || !view) return;
            const int index = combo->GetCurSel();
            if (index < 0 || kCmdZoomFirst + static_cast<unsigned>(index) > kCmdZoomLast) return;
            FocusControl();
            plat::SendMessage(view, plat::kWmCommand, plat::MakeWParam(kCmdZoomFirst + static_cast<unsigned>(index), 0),
                              0);
        });
    }

    // An editing command of the frame itself (bars and panes): R, without a document test.
    void EditingFrame(unsigned id, std::function<void()> action, std::function<bool()> check = {}) const
    {
        m_frame.OnCommand(id, [*this, action](unsigned) {
            if (!IsReadOnly()) action();
        });
        m_frame.OnUpdate(id, [*this, check](plat::CommandUi& ui) {
            ui.Enable(!IsReadOnly());
            if (check) ui.SetCheck(check() ? 1 : 0);
        });
    }
    static unsigned Checked(bool on) { return on ? plat::kMfChecked : plat::kMfString; }
    static bool IsVisible(const CToolBarEx* bar) { return bar && bar->IsWindowVisible(); }
    void ToggleBar(CToolBarEx* bar) const
    {
        if (!bar) return;
        bar->ShowWindow(bar->IsWindowVisible() ? plat::kSwHide : plat::kSwShow);
        m_frame.RecalcLayout();
    }

    // The frame's popups open left-aligned at the bottom-left corner of the format bar's
    // button that sent them, or at the screen's origin while the bar is hidden.
    plat::Point PopupPoint(unsigned buttonId) const
    {
        CToolBarEx* bar = m_frame.GetFormatBar();
        if (!bar || !bar->IsWindowVisible()) return plat::Point(0, 0);
        const int index = bar->CommandToIndex(buttonId);
        if (index < 0) return plat::Point(0, 0);
        plat::Rect item;
        bar->GetItemRect(index, item);
        return bar->ClientToScreen(plat::Point(item.left, item.bottom));
    }
    void TrackUnderButton(plat::Menu& menu, unsigned buttonId) const
    {
        plat::TrackPopupMenu(menu, plat::kTpmLeftAlign, PopupPoint(buttonId), &m_frame);
    }

    // ---- revisions and annotations ----
    void BindRevisions() const
    {
        EditingFrame(kCmdRevisionPopup, [*this] {
            const CQlDoc& doc = *MainDoc();
            plat::Menu menu;
            menu.AppendItem(doc.HasRevisions() ? plat::kMfString : plat::kMfGrayed, kCmdShowRevisions,
                            doc.IsRevisionsShown() ? u"隐藏修订" : u"显示修订");
            menu.AppendSeparator();
            menu.AppendItem(plat::kMfString, kCmdShowAnnotations, doc.IsAnnotationsShown() ? u"隐藏批注" : u"显示批注");
            menu.AppendSeparator();
            menu.AppendItem(doc.SelectionAcceptsText() ? plat::kMfString : plat::kMfGrayed, kCmdInsertAnnotation,
                            u"插入批注");
            TrackUnderButton(menu, kCmdRevisionPopup);
        });
        Editing(kCmdShowRevisions,
                [*this](CQlDoc& doc) {
                    doc.SetRevisionsShown(!doc.IsRevisionsShown());
                    if (doc.GetBody()) doc.GetBody()->RecalcAllObjects();
                    if (CQlCanvas* canvas = MainCanvas()) {
                        canvas->RequestRepaint();
                        canvas->ScrollToCaret();
                    }
                },
                [](const CQlDoc& doc) { return doc.HasRevisions(); });
        m_frame.OnCommand(kCmdShowAnnotations, [*this](unsigned) {
            if (IsReadOnly()) return;
            MainDoc()->SetAnnotationsShown(!MainDoc()->IsAnnotationsShown());
            RepaintMain();
        });
        Editing(kCmdInsertAnnotation, [](CQlDoc& doc) { doc.InsertAnnotation(plat::String()); }, AcceptsText);
    }

    // ---- character format ----
    void BindCharFormat() const
    {
        // Bold's update also takes the three combos of the format bar along.
        EditingCommandRange(kCmdBold, kCmdBold,
                            [](CQlDoc& doc, unsigned) { doc.SetCharBold(RunningCharFormat(doc)->m_bold ? 0 : 1); });
        m_frame.OnUpdate(kCmdBold, [*this](plat::CommandUi& ui) {
            UpdateEditing(ui, AcceptsFormat, [](const CQlDoc& doc) { return RunningCharFormat(doc)->m_bold != 0; });
            const bool enable = ui.Enabled().value_or(false);
            for (plat::Window* combo : {static_cast<plat::Window*>(m_frame.GetChineseFontCombo()),
                                        static_cast<plat::Window*>(m_frame.GetWesternFontCombo()),
                                        static_cast<plat::Window*>(m_frame.GetSizeCombo())})
                if (combo) combo->EnableWindow(enable);
        });
        Editing(kCmdItalic, [](CQlDoc& doc) { doc.SetCharItalic(RunningCharFormat(doc)->m_italic ? 0 : 1); },
                AcceptsFormat, [](const CQlDoc& doc) { return RunningCharFormat(doc)->m_italic != 0; });
        Editing(kCmdUnderline,
                [](CQlDoc& doc) { doc.SetCharUnderline(RunningCharFormat(doc)->m_underline != 0 ? 0 : 1); },
                AcceptsFormat, [](const CQlDoc& doc) { return RunningCharFormat(doc)->m_underline != 0; },
                RefreshFormatPicture(kCmdUnderline));
        // One underline kind each; choosing the kind in force removes the underline.
        for (unsigned id = kCmdUnderlineFirst; id <= kCmdUnderlineLast; ++id) {
            const std::uint8_t kind = static_cast<std::uint8_t>(id - kCmdUnderlineFirst + 1);
            Editing(id, [kind](CQlDoc& doc) { doc.SetCharUnderline(RunningCharFormat(doc)->m_underline == kind ? 0 : kind); },
                    AcceptsFormat, [kind](const CQlDoc& doc) { return RunningCharFormat(doc)->m_underline == kind; });
        }
        Editing(kCmdCharColor, [*this](CQlDoc& doc) { doc.SetCharColor(m_frame.GetCharColor()); }, AcceptsFormat, {},
                [frame = &m_frame] { frame->GetToolbarImages().UpdateCharColourButton(); });
        // Superscript, subscript and the normal position, from the symbols palette.
        for (const CodeCommand& position : {CodeCommand{kCmdCharPosUp, 1}, CodeCommand{kCmdCharPosDown, 2},
                                            CodeCommand{kCmdCharPosNormal, 0}}) {
            const std::uint8_t code = position.code;
            m_frame.OnCommand(position.id, [*this, code](unsigned) {
                if (!IsReadOnly()) MainDoc()->SetCharPos(code);
            });
        }
    }

    // The face and size combos apply their choice to the selection and give the keyboard
    // back to the control.
    void BindFormatCombos() const
    {
        BindCombo(CQlMain::kCmdChineseFontCombo, [*this](CQlDoc& doc, int index) {
            if (const plat::String* face = m_frame.GetChineseFontCombo()->GetItemName(index)) doc.SetChFont(*face);
        });
        BindCombo(CQlMain::kCmdWesternFontCombo, [*this](CQlDoc& doc, int index) {
            if (const plat::String* face = m_frame.GetWesternFontCombo()->GetItemName(index)) doc.SetAscFont(*face);
        });
        BindCombo(CQlMain::kCmdSizeCombo, [*this](CQlDoc& doc, int index) {
            doc.SetFontSize(static_cast<std::int32_t>(m_frame.GetSizeCombo()->GetItemData(index)));
        });
    }
    plat::ComboBox* ComboOf(unsigned id) const
    {
        switch (id) {
        case CQlMain::kCmdChineseFontCombo: return m_frame.GetChineseFontCombo();
        case CQlMain::kCmdWesternFontCombo: return m_frame.GetWesternFontCombo();
        case CQlMain::kCmdSizeCombo: return m_frame.GetSizeCombo();
        default: return nullptr;
        }
    }
    void BindCombo(unsigned id, std::function<void(CQlDoc&, int index)> apply) const
    {
        m_frame.OnCommand(id, [*this, apply](unsigned comboId) {
            plat::ComboBox* combo = ComboOf(comboId);
            if (IsReadOnly() || !combo) return;
            const int index = combo->GetCurSel();
            if (index < 0) return;
            FocusControl();
            apply(*MainDoc(), index);
        });
    }

    // ---- paragraph format ----
    void BindParaFormat() const
    {
        Editing(kCmdAlignment, [](CQlDoc& doc) { doc.SetParaFormat(RunningParaFormat(doc)->m_align); }, AcceptsFormat,
                {}, RefreshFormatPicture(kCmdAlignment));
        for (const CodeCommand& alignment : kAlignmentCommands) {
            const std::uint8_t code = alignment.code;
            Editing(alignment.id, [code](CQlDoc& doc) { doc.SetParaFormat(code); }, AcceptsFormat,
                    [code](const CQlDoc& doc) { return RunningParaFormat(doc)->m_align == code; });
        }
        Editing(kCmdLineSpacing, [](CQlDoc& doc) { doc.SetParaGap(RunningParaFormat(doc)->m_spacing); },
                AcceptsFormat, {}, RefreshFormatPicture(kCmdLineSpacing));
        for (unsigned id = kCmdLineSpacingFirst; id <= kCmdLineSpacingLast; ++id) {
            const std::uint8_t code = static_cast<std::uint8_t>(id - kCmdLineSpacing);
            Editing(id, [code](CQlDoc& doc) { doc.SetParaGap(code); }, AcceptsFormat,
                    [code](const CQlDoc& doc) { return RunningParaFormat(doc)->m_spacing == code; });
        }
        Editing(kCmdIndentMore, [*this](CQlDoc& doc) { ApplyIndentShift(doc, +1); }, NoObjectSelected);
        Editing(kCmdIndentLess, [*this](CQlDoc& doc) { ApplyIndentShift(doc, -1); }, NoObjectSelected);
    }
    void ApplyIndentShift(CQlDoc& doc, int direction) const
    {
        const CParaFormat& para = *RunningParaFormat(doc);
        const Indents shifted =
            ShiftIndents(Indents{para.m_firstIndent, para.m_leftIndent, para.m_rightIndent},
                         RunningCharFormat(doc)->m_size, doc.GetTextAreaSize().cx, direction);
        // The ruler's markers first, then the paragraphs.
        m_frame.SetRulerIndents(shifted.first, shifted.left, shifted.right);
        doc.SetParaIndents(shifted.first, shifted.left, shifted.right);
    }

    // ---- insertion and creation tools ----
    void BindInsertion() const
    {
        EditingCommandRange(kCmdInsertChart, kCmdInsertChart, [](CQlDoc& doc, unsigned) { doc.InsertChart(); });
        EditingCommandRange(kCmdInsertTable, kCmdInsertTable, [](CQlDoc& doc, unsigned) { doc.BeginInsertTable(); });
        EditingCommandRange(kCmdInsertTextShape, kCmdInsertTextShape,
                            [](CQlDoc& doc, unsigned) { doc.BeginInsertText(); });
        // Every creation button is checked while its kind is pending; the picture, video
        // and audio buttons are enabled once their commands (with the open dialogs) exist.
        for (const CodeCommand& tool : kCreationTools) {
            const unsigned id = tool.id;
            const std::uint16_t type = tool.code;
            m_frame.OnUpdate(id, [*this, id, type](plat::CommandUi& ui) {
                UpdateEditing(ui, [*this, id](const CQlDoc&) { return m_frame.CanRouteCommand(id); },
                              [type](const CQlDoc& doc) { return IsCreating(doc, type); });
            });
        }
        EditingCommandRange(kCmdLineFirst, kCmdLineLast,
                            [](CQlDoc& doc, unsigned id) { doc.BeginInsertLine(static_cast<int>(id)); });
        for (const CommandRange& range : kShapeCommandRanges)
            EditingCommandRange(range.first, range.last,
                                [](CQlDoc& doc, unsigned id) { doc.BeginInsertShapeCommand(static_cast<int>(id)); });
        m_frame.OnCommandRange(kSymbolFirst, kSymbolLast, [*this](unsigned id) {
            if (!IsReadOnly()) MainDoc()->InsertSymbol(static_cast<int>(id));
        });
    }
    // Editing commands without update handlers, or with update handlers of their own.
    void EditingCommandRange(unsigned first, unsigned last, std::function<void(CQlDoc&, unsigned)> action) const
    {
        m_frame.OnCommandRange(first, last, [*this, action](unsigned id) {
            if (!IsReadOnly()) action(*MainDoc(), id);
        });
    }

    // ---- placement of the selected objects ----
    void BindPlacement() const
    {
        Editing(kCmdObjectProperties, [](CQlDoc& doc) { doc.BlockAttr(); }, ObjectSelected);
        Editing(kCmdMediaEdit, [](CQlDoc& doc) { doc.EditObjectExternally(); }, MediaSelected);
        Editing(kCmdImageEditAdvanced, [](CQlDoc& doc) { doc.EditSelectedImage(); }, MediaSelected);
        Editing(kCmdMoveUpLayer, [](CQlDoc& doc) { doc.BlockPosUp(); }, ObjectSelected);
        Editing(kCmdMoveDownLayer, [](CQlDoc& doc) { doc.BlockPosDown(); }, ObjectSelected);
        Editing(kCmdMoveToTop, [](CQlDoc& doc) { doc.BlockPosFirst(); }, ObjectSelected);
        Editing(kCmdMoveToBottom, [](CQlDoc& doc) { doc.BlockPosLast(); }, ObjectSelected);
    }

    // ---- spelling ----
    void BindSpelling() const
    {
        // The sentence check runs with the spelling dialogs installed on the frame; without
        // them it has nothing to ask the user with and stays disabled.
        m_frame.OnCommand(kCmdSpellCheck, [*this](unsigned) {
            CSpellCheckUi* dialogs = m_frame.GetSpellCheckUi();
            if (IsReadOnly() || !dialogs) return;
            MainDoc()->SpellCheckSentences(m_frame.GetSentenceCheckerPath(), *dialogs);
        });
        m_frame.OnUpdate(kCmdSpellCheck, [*this](plat::CommandUi& ui) {
            UpdateEditing(ui, [*this](const CQlDoc& doc) { return m_frame.GetSpellCheckUi() && doc.CanReplace(); },
                          {});
        });
        // A suggestion of the context menu replaces the word it was offered for.
        m_frame.OnCommandRange(kSpellSuggestionFirstId, kSpellSuggestionFirstId + CSpellError::kMaxSuggestions - 1,
                               [*this](unsigned id) {
                                   CQlDoc* doc = MainDoc();
                                   if (!doc) return;
                                   doc->ChooseSpellSuggestion(static_cast<int>(id));
                                   m_frame.GetCursorSet().SetCursorFor(kTextCursorCode, true);
                                   RepaintMain();
                               });
    }
    static constexpr std::uint8_t kTextCursorCode = 1;

    // ---- counting ----
    void BindCounting() const
    {
        // The word count of the main body; the main view has the focus afterwards.
        Editing(kCmdWordCount, [*this](CQlDoc& doc) {
            doc.GetBody()->OnWordCount();
            if (CQlView* view = m_frame.GetMainView()) plat::SetFocus(view);
        }, AcceptsText);
    }

    // ---- the table commands on the selected table ----
    void BindTables() const
    {
        struct TableCommand {
            unsigned id;
            bool (CQlDoc::*run)();
            bool (CQlDoc::*test)() const;
        };
        static constexpr TableCommand kTableCommands[] = {
            {kCmdTableInsertRow, &CQlDoc::TableInsertRow, &CQlDoc::CanTableInsertRow},
            {kCmdTableInsertCol, &CQlDoc::TableInsertCol, &CQlDoc::CanTableInsertCol},
            {kCmdTableDeleteRow, &CQlDoc::TableDeleteRow, &CQlDoc::CanTableDeleteRow},
            {kCmdTableDeleteCol, &CQlDoc::TableDeleteCol, &CQlDoc::CanTableDeleteCol},
            {kCmdTableMerge, &CQlDoc::TableMerge, &CQlDoc::CanTableMerge},
            {kCmdTableSeparate, &CQlDoc::TableSeparate, &CQlDoc::CanTableSeparate},
            {kCmdTableBorders, &CQlDoc::TableBorderLines, &CQlDoc::IsTableSelected},
        };
        for (const TableCommand& c : kTableCommands)
            Editing(c.id, [run = c.run](CQlDoc& doc) { (doc.*run)(); },
                    [test = c.test](const CQlDoc& doc) { return (doc.*test)(); });
        // Top, middle and bottom (codes 16, 32, 64), and the code last applied again.
        EditingRange(kCmdTableAlignTop, kCmdTableAlignBottom,
                     [](CQlDoc& doc, unsigned id) {
                         doc.SetTableUDFormat(static_cast<std::uint8_t>(kAlignTop << (id - kCmdTableAlignTop)));
                     },
                     [](const CQlDoc& doc) { return doc.CanTableUDFormat(); });
        Editing(kCmdTableAlignRepeat, [](CQlDoc& doc) { doc.SetTableUDFormat(doc.GetTableUDFormat()); },
                [](const CQlDoc& doc) { return doc.CanTableUDFormat(); });
    }

    CQlMain& m_frame;
};

} // namespace

bool CQlMain::IsComboNotification(plat::WParam wParam, plat::LParam lParam) const
{
    const plat::Window* from = reinterpret_cast<const plat::Window*>(lParam);
    if (!from) return false;
    const bool combo = from == m_chineseFontCombo.get() || from == m_westernFontCombo.get() ||
                       from == m_sizeCombo.get() || from == m_zoomCombo.get();
    return combo && plat::HiWord(wParam) != plat::kCbnSelChange;
}

void CQlMain::BindCommands()
{
    CFrameCommands(*this).BindAll();
}
