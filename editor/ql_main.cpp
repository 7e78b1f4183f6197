#include "editor/ql_main.h"

#include "document/format_state.h"
#include "document/ql_doc.h"
#include "editor/annotation_dialog.h"
#include "editor/color_picker_dlg.h"
#include "editor/font_name_combo.h"
#include "editor/ql_canvas.h"
#include "editor/ql_ruler.h"
#include "editor/ql_view.h"
#include "editor/shape_menu_button.h"
#include "editor/toolbar_ex.h"
#include "platform/file/file.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/focus.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/toolbar.h"
#include "resources/res_accelerators.h"
#include "resources/res_strings.h"

namespace {

// Splitter panes: their initial sizes (width x height).
constexpr plat::Size kMainPaneSize{170, 400};
constexpr plat::Size kReferencePaneSize{200, 100};

constexpr char16_t kCreateFailText[] = u"QlMain Create Fail";

constexpr const char16_t* kClipboardFormatNames[CQlMain::kClipboardFormatCount] = {
    u"QUILN-PAGE-CLIPBOARD", u"QUILN-TEXT-CLIPBOARD", u"Rich Text Format", u"QUILN-BLOCK-CLIPBOARD",
    u"QUILN-UNIT-CLIPBOARD",
};

// Every window under the root, deep, parents before children.
template <typename Visit>
void ForEachDescendant(plat::Window& root, const Visit& visit)
{
    // A copy: a window may add or remove children while it handles the message.
    const std::vector<plat::Window*> children = root.GetChildren();
    for (plat::Window* child : children) {
        visit(*child);
        ForEachDescendant(*child, visit);
    }
}

// Commands of print preview: the preview itself, and the preview's close button.
constexpr unsigned kCmdPrintPreview = 57609;
constexpr unsigned kCmdPreviewClose = 0xE300;
// Whether the extension bar in use was visible when the last preview began (one for the
// module, as the preview's own bars are).
bool g_extensionBarShownBeforePreview = true;

bool IsPreFilteredKey(plat::WParam key)
{
    return key == plat::kVkBack || (key >= plat::kVkPrior && key <= plat::kVkDown) || key == plat::kVkDelete;
}

} // namespace

// A combo window of the format bar as the documents see it.
class CQlMain::ComboAdapter : public CFormatComboBox {
public:
    explicit ComboAdapter(plat::ComboBox& combo) : m_combo(combo) {}
    int GetCount() const override { return m_combo.GetCount(); }
    int GetCurSel() const override { return m_combo.GetCurSel(); }
    void SetCurSel(int index) override
    {
        if (index < -1 || index >= m_combo.GetCount()) return;
        m_combo.SetCurSel(index);
    }
    plat::String GetItemText(int index) const override { return m_combo.GetLBText(index); }
    std::int32_t GetItemData(int index) const override
    {
        return static_cast<std::int32_t>(m_combo.GetItemData(index));
    }

private:
    plat::ComboBox& m_combo;
};

CQlMain::CQlMain()
    : m_formatBar(std::make_unique<CToolBarEx>()),
      m_fullExtensionBar(std::make_unique<CToolBarEx>()),
      m_shortExtensionBar(std::make_unique<CToolBarEx>()),
      m_shapeButton(std::make_unique<CShapeMenuButton>())
{
    for (int i = 0; i < kClipboardFormatCount; ++i)
        m_clipboardFormats[static_cast<size_t>(i)] = plat::RegisterClipboardFormat(kClipboardFormatNames[i]);
    OnCommand(kCmdIdleUpdate, [this](unsigned) { OnIdleUpdate(); });
    OnCommand(kCmdAutoSave, [this](unsigned) { OnAutoSave(); });
    BindCommands();
}

CQlMain::~CQlMain()
{
    // The annotation dialog opens over this frame: it goes with it.
    CAnnotationList::SetAnnotationDialog({});
    CQlDoc::SetColorPickerDialog({});
    Destroy();
    // The views (and their documents) go with their windows, before the frame's own
    // members they point to: the width cache and the spelling engine.
    m_mainView = m_referenceView = nullptr;
    m_views = {};
}

bool CQlMain::Create(plat::Window* parent)
{
    const plat::Rect rect = parent ? parent->GetClientRect() : plat::Rect();
    if (!parent || !plat::Window::Create(parent, rect, plat::kWsChild | plat::kWsVisible | plat::kWsClipChildren)) {
        plat::MessageBox(kCreateFailText);
        return false;
    }
    return true;
}

// ---- panes ----

CQlDoc* CQlMain::GetMainDoc() const
{
    return m_mainView ? m_mainView->GetDocument() : nullptr;
}

CQlDoc* CQlMain::GetReferenceDoc() const
{
    return m_referenceView ? m_referenceView->GetDocument() : nullptr;
}

CQlRuler* CQlMain::GetMainRuler() const
{
    return m_mainView ? m_mainView->GetRuler() : nullptr;
}

int CQlMain::ShowReferencePane(bool show)
{
    if (show == IsReferencePaneShown()) return 0;
    CQlCanvas* canvas = m_referenceView ? m_referenceView->GetCanvas() : nullptr;
    if (!show && canvas) canvas->ShowWindow(plat::kSwHide);
    m_splitter.ShowSecondRow(show);
    if (show && canvas) canvas->ShowWindow(plat::kSwShow);
    return 1;
}

bool CQlMain::OnCreateClient()
{
    if (!m_splitter.CreateStatic(this, 2, 1, plat::kWsChild | plat::kWsVisible, CPaneSplitter::kFirstPaneId))
        return false;
    m_views[0] = std::make_unique<CQlView>(this, &m_widthCache);
    m_views[1] = std::make_unique<CQlView>(this, &m_widthCache);
    if (!m_splitter.CreateView(0, 0, *m_views[0], kMainPaneSize) ||
        !m_splitter.CreateView(1, 0, *m_views[1], kReferencePaneSize)) {
        m_views = {};
        m_splitter.Destroy();
        return false;
    }
    m_mainView = m_views[0].get();
    m_referenceView = m_views[1].get();
    for (CQlView* view : {m_mainView, m_referenceView}) {
        view->SetControlWindow(GetParent());
        view->SetMenuOwner(this);
        view->SetCursorSet(&m_cursors);
        view->ResetScroll();
    }
    m_referenceView->ShowRuler(false);
    CQlDoc& reference = *m_referenceView->GetDocument();
    reference.SetReference(true);
    reference.SetRevisionsShown(false);
    reference.SetAnnotationsShown(false);
    m_splitter.SetActivePane(0, 0);

    m_mainView->SetZoomComboSelect([this](int index) {
        if (m_zoomCombo && index >= 0 && index < m_zoomCombo->GetCount()) m_zoomCombo->SetCurSel(index);
    });
    // Commands go to the main view first (zoom, printing), then to the frame's own handlers.
    SetCommandRoute({m_mainView, this});
    return true;
}

int CQlMain::OnCreate()
{
    if (!OnCreateClient()) return -1;
    if (!CreateFormatBar() || !CreateExtensionBars()) return -1;
    const auto formatState = [this]() -> CFormatState* {
        CQlDoc* doc = GetMainDoc();
        return doc ? doc->GetFormatState() : nullptr;
    };
    for (CToolBarEx* bar : {m_formatBar.get(), m_fullExtensionBar.get(), m_shortExtensionBar.get()})
        bar->SetOwnerFrame(this, formatState);
    m_shapeButton->SetOwnerFrame(this);
    m_toolbarImages.Create(this);

    // Without the spelling library the marks and the spelling menus simply find nothing.
    if (m_spellEngine.Load()) {
        GetMainDoc()->SetSpellEngine(&m_spellEngine);
        GetReferenceDoc()->SetSpellEngine(&m_spellEngine);
    }
    if (const plat::AcceleratorTable* table = FindAcceleratorTable(kMainAcceleratorsName)) m_accelerators = *table;
    m_revisionTip.Create(this);
    // New and opened notes are edited in the annotation dialog over the frame; the main
    // canvas takes the focus back after it.
    CAnnotationList::SetAnnotationDialog([this](CAnnotationDlgValues& values) {
        CQlView* view = GetMainView();
        return RunAnnotationDialog(values, this, view ? view->GetCanvas() : nullptr);
    });
    // Dialogs of the object kinds pick colours through the document.
    InstallColorPickerDialog();
    RecalcLayout();
    StartIdleTimer();
    return 0;
}

// ---- bars and layout ----

void CQlMain::AdaptFormatCombos()
{
    m_formatCombos[static_cast<size_t>(FormatCombo::kChineseFace)] = std::make_unique<ComboAdapter>(*m_chineseFontCombo);
    m_formatCombos[static_cast<size_t>(FormatCombo::kWesternFace)] = std::make_unique<ComboAdapter>(*m_westernFontCombo);
    m_formatCombos[static_cast<size_t>(FormatCombo::kSize)] = std::make_unique<ComboAdapter>(*m_sizeCombo);
}

CToolBarEx* CQlMain::GetExtensionBar() const
{
    return m_shortBar ? m_shortExtensionBar.get() : m_fullExtensionBar.get();
}

void CQlMain::RecalcLayout()
{
    if (!IsCreated()) return;
    const plat::Rect client = GetClientRect();
    int top = client.top;
    int bottom = client.bottom;
    // Docked bars stretch across the frame and keep their own height.
    if (m_formatBar->IsCreated() && m_formatBar->IsWindowVisible()) {
        const int height = m_formatBar->CalcFixedLayout(true, true).cy;
        m_formatBar->MoveWindow(plat::Rect(client.left, top, client.right, top + height));
        top += height;
    }
    for (CToolBarEx* bar : {m_fullExtensionBar.get(), m_shortExtensionBar.get()}) {
        if (!bar->IsCreated() || !bar->IsWindowVisible()) continue;
        const int height = bar->CalcFixedLayout(true, true).cy;
        bar->MoveWindow(plat::Rect(client.left, bottom - height, client.right, bottom));
        bottom -= height;
    }
    if (m_splitter.IsCreated())
        m_splitter.MoveWindow(plat::Rect(client.left, top, client.right, std::max(top, bottom)));
}

void CQlMain::ShowBars(bool show)
{
    const int command = show ? plat::kSwShow : plat::kSwHide;
    if (m_mainView) m_mainView->ShowRuler(show);
    if (m_formatBar->IsCreated()) m_formatBar->ShowWindow(command);
    if (CToolBarEx* bar = GetExtensionBar(); bar->IsCreated()) bar->ShowWindow(command);
    RecalcLayout();
}

// ---- timers ----

void CQlMain::StartIdleTimer()
{
    if (IsCreated()) SetTimer(kIdleTimerId, kIdlePeriodMs);
}

void CQlMain::StopIdleTimer()
{
    KillTimer(kIdleTimerId);
}

void CQlMain::StartAutoSaveTimer()
{
    if (m_autoSavePath.empty() || m_autoSaveSeconds <= 0 || !IsCreated()) return;
    m_autoSaveCountdown = m_autoSaveSeconds;
    SetTimer(kAutoSaveTimerId, kAutoSavePeriodMs);
}

void CQlMain::StopAutoSaveTimer()
{
    KillTimer(kAutoSaveTimerId);
}

int CQlMain::SetAutoSave(plat::StringView path, int seconds)
{
    // The probe opens the file for writing without truncating it: an existing file keeps
    // its content until the first autosave replaces it whole.
    plat::File probe;
    if (seconds > 0 && !path.empty() &&
        probe.TryOpen(plat::String(path), plat::File::kWrite | plat::File::kCreate | plat::File::kNoTruncate)) {
        probe.Close();
        m_autoSavePath = plat::String(path);
        m_autoSaveSeconds = seconds;
        StartAutoSaveTimer();
        return 1;
    }
    // A running timer is left to find the period gone at its next tick.
    m_autoSaveSeconds = 0;
    m_autoSavePath.clear();
    return 0;
}

void CQlMain::OnAutoSave()
{
    CQlDoc* doc = GetMainDoc();
    if (!doc || m_autoSavePath.empty()) return;
    // Only a save the user asks for makes the document unmodified.
    const bool modified = doc->IsModified();
    doc->FileSave(m_autoSavePath);
    doc->SetModified(modified);
    m_autoSaveCountdown = m_autoSaveSeconds;
}

void CQlMain::OnIdleUpdate()
{
    CQlDoc* doc = GetMainDoc();
    // While a creation tool is out, the bars keep the state they had.
    if (doc && doc->GetFormatState() && doc->GetFormatState()->GetCreationTracker()) return;
    // The bars run their buttons' update handlers against the frame when the message
    // reaches them.
    plat::SendMessage(this, plat::kWmIdleUpdateCmdUi, 1);
    ForEachDescendant(*this, [](plat::Window& w) { plat::SendMessage(&w, plat::kWmIdleUpdateCmdUi, 1); });
}

void CQlMain::OnTimer(unsigned id)
{
    if (id == kIdleTimerId) {
        KillTimer(kIdleTimerId);
        plat::SendMessage(this, plat::kWmCommand, kCmdIdleUpdate);
        if (m_firstTick) {
            m_firstTick = 0;
            // A reference opened before this first tick stays shown.
            if (!m_referenceOpen) ShowReferencePane(false);
        }
        SetTimer(kIdleTimerId, kIdlePeriodMs);
    } else if (id == kAutoSaveTimerId) {
        KillTimer(kAutoSaveTimerId);
        if (m_autoSaveSeconds <= 0) return;
        if (m_autoSaveCountdown > 0)
            --m_autoSaveCountdown;
        else
            plat::SendMessage(this, plat::kWmCommand, kCmdAutoSave);
        SetTimer(kAutoSaveTimerId, kAutoSavePeriodMs);
    }
}

// ---- keyboard ----

bool CQlMain::PreTranslateMessage(plat::Message& message)
{
    if ((message.message == plat::kWmKeyDown || message.message == plat::kWmKeyUp) && IsPreFilteredKey(message.wParam)) {
        CQlCanvas* canvas = m_mainView ? m_mainView->GetCanvas() : nullptr;
        if (canvas && plat::GetFocus() == canvas)
            plat::SendMessage(canvas, message.message, message.wParam, message.lParam);
        // Taken in every case: these keys never reach accelerators, combos or other windows.
        return true;
    }
    return m_accelerators.Translate(*this, message);
}

// ---- CDocFrame ----

void CQlMain::StopAutosave()
{
    StopAutoSaveTimer();
    m_autoSaveSeconds = 0;
    m_autoSavePath.clear();
}

void CQlMain::RestartAutosaveTimer()
{
    StartAutoSaveTimer();
}

void CQlMain::PauseAutosaveTimer()
{
    StopAutoSaveTimer();
}

void CQlMain::ShowWaitCursor(bool show)
{
    plat::SetCursor(show ? plat::kIdcWait : plat::kIdcArrow);
}

void CQlMain::RepaintRuler()
{
    if (CQlRuler* ruler = GetMainRuler()) ruler->Invalidate();
}

void CQlMain::HideReferencePane()
{
    ShowReferencePane(false);
}

void CQlMain::UpdateRevisionTip(int x, int y, const CTextItem* item)
{
    CQlDoc* doc = GetMainDoc();
    if (!doc || !m_revisionTip.IsCreated()) return;
    m_revisionTip.Update(*doc, x, y, item, m_mainView->GetScrollPosition());
}

CFormatComboBox* CQlMain::GetFormatCombo(FormatCombo which)
{
    const auto index = static_cast<size_t>(which);
    return index < m_formatCombos.size() ? m_formatCombos[index].get() : nullptr;
}

bool CQlMain::HasRuler() const
{
    return m_mainView && m_mainView->IsRulerShown();
}

void CQlMain::SetRulerIndents(int firstLine, int left, int right)
{
    const std::array<int, 3> indents{firstLine, left, right};
    if (indents == m_rulerIndents) return;
    m_rulerIndents = indents;
    RepaintRuler();
}

// ---- messages ----

void CQlMain::BeforePreview()
{
    CToolBarEx* bar = GetExtensionBar();
    g_extensionBarShownBeforePreview = bar->IsCreated() && bar->IsWindowVisible();
}

void CQlMain::AfterPreviewClosed()
{
    CToolBarEx* inUse = GetExtensionBar();
    CToolBarEx* other = m_shortBar ? m_fullExtensionBar.get() : m_shortExtensionBar.get();
    if (other->IsCreated()) other->ShowWindow(plat::kSwHide);
    if (inUse->IsCreated()) inUse->ShowWindow(g_extensionBarShownBeforePreview ? plat::kSwShow : plat::kSwHide);
    RecalcLayout();
}

void CQlMain::OnClose()
{
    KillTimer(kIdleTimerId);
    KillTimer(kAutoSaveTimerId);
}

void CQlMain::OnDestroy()
{
    m_formatCombos = {};
    if (m_chineseFontCombo) FreeFontComboItems(*m_chineseFontCombo);
    if (m_westernFontCombo) FreeFontComboItems(*m_westernFontCombo);
}

plat::LResult CQlMain::WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam)
{
    switch (message) {
    case plat::kWmCreate:
        return OnCreate();
    case plat::kWmSize:
        RecalcLayout();
        return 0;
    case plat::kWmTimer:
        OnTimer(static_cast<unsigned>(wParam));
        return 0;
    case plat::kWmClose:
        OnClose();
        break;
    case plat::kWmCommand: {
        if (IsComboNotification(wParam, lParam)) return 0;
        const unsigned id = plat::LoWord(wParam);
        if (id == kCmdPrintPreview) BeforePreview();
        const plat::LResult result = DefWindowProc(message, wParam, lParam);
        if (id == kCmdPreviewClose) AfterPreviewClosed();
        return result;
    }
    case plat::kWmNotify: {
        // The bars ask for their buttons' tooltips.
        const auto* header = reinterpret_cast<const plat::NotifyHeader*>(lParam);
        if (header && header->code == plat::kTtnNeedText) {
            auto* request = reinterpret_cast<plat::ToolTipTextRequest*>(lParam);
            request->text = LoadTooltip(static_cast<unsigned>(header->idFrom));
            return 1;
        }
        break;
    }
    case plat::kWmDestroy:
        OnDestroy();
        break;
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}
