// The main frame: the window that fills the control's window. It holds the two-row
// splitter (the main editing pane on top, the read-only reference pane below), the format
// bar with its four combos, the two extension bars (the full one and the short one, one of
// them in use), the drawing colours of the bars' colour buttons, the cursor table, the
// width cache both panes share, the spelling engine, and two timers: the 200 ms idle timer
// that drives the bars' enabled and checked states, and the one-second autosave countdown.
// The frame is the documents' CDocFrame. Its command handlers are bound by BindCommands
// (ql_main_commands.cpp).
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "document/char_width_cache.h"
#include "document/doc_frame.h"
#include "document/spell_engine.h"
#include "editor/cursor_set.h"
#include "editor/pane_splitter.h"
#include "editor/revision_tip_wnd.h"
#include "editor/toolbar_images.h"
#include "platform/base/strings.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/window.h"

class CFontNameCombo;
class CQlDoc;
class CQlRuler;
class CQlView;
class CShapeMenuButton;
class CSpellCheckUi;
class CToolBarEx;
namespace plat {
class ComboBox;
class Font;
}

class CQlMain : public plat::Window, public CDocFrame {
public:
    // Timers and the commands they send the frame.
    static constexpr unsigned kIdleTimerId = 302;
    static constexpr std::int64_t kIdlePeriodMs = 200;
    static constexpr unsigned kAutoSaveTimerId = 306;
    static constexpr std::int64_t kAutoSavePeriodMs = 1000;
    static constexpr unsigned kCmdIdleUpdate = 35000;
    static constexpr unsigned kCmdAutoSave = 35001;
    // Child windows and bars.
    static constexpr int kRevisionTipId = 305;
    static constexpr int kStandardBarId = 0xE800;
    static constexpr int kFormatBarResource = 7004;
    static constexpr int kFullExtensionBarResource = 7002;
    static constexpr int kShortExtensionBarResource = 7005;
    // The combos' command ids.
    static constexpr unsigned kCmdZoomCombo = 35037;
    static constexpr unsigned kCmdChineseFontCombo = 35061;
    static constexpr unsigned kCmdWesternFontCombo = 35062;
    static constexpr unsigned kCmdSizeCombo = 35063;
    // Automatic colours of the file header.
    static constexpr std::int32_t kAutoTextColor = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t kAutoFillColor = static_cast<std::int32_t>(0x80000002u);
    static constexpr std::int32_t kDefaultFillPattern = 2;
    // The clipboard formats the constructor registers, in order.
    static constexpr int kClipboardFormatCount = 5;

    CQlMain();
    ~CQlMain() override;

    // Creates the frame over the parent's client area (a visible child that clips its
    // children). False, after the message box "QlMain Create Fail", when it fails.
    bool Create(plat::Window* parent);

    // ---- panes ----
    CQlView* GetMainView() const { return m_mainView; }
    CQlView* GetReferenceView() const { return m_referenceView; }
    CQlDoc* GetMainDoc() const;
    CQlDoc* GetReferenceDoc() const;
    CQlRuler* GetMainRuler() const;
    CPaneSplitter& GetSplitter() { return m_splitter; }
    // The control window: the frame's parent.
    plat::Window* GetParentWnd() const { return GetParent(); }
    bool IsReferencePaneShown() const { return m_splitter.IsRowShown(); }
    // Hides or shows the reference pane; 0 when it already is so.
    int ShowReferencePane(bool show);

    // ---- bars and combos ----
    CToolBarEx* GetFormatBar() const { return m_formatBar.get(); }
    CToolBarEx* GetFullExtensionBar() const { return m_fullExtensionBar.get(); }
    CToolBarEx* GetShortExtensionBar() const { return m_shortExtensionBar.get(); }
    // The extension bar in use: the short one when the short-bar flag is set.
    CToolBarEx* GetExtensionBar() const;
    // The "常用图形" button over the full extension bar's button 32800.
    CShapeMenuButton* GetShapeButton() const { return m_shapeButton.get(); }
    // The pictures of the drop-down menus and of the buttons that follow the format.
    CToolbarImages& GetToolbarImages() { return m_toolbarImages; }
    CFontNameCombo* GetChineseFontCombo() const { return m_chineseFontCombo.get(); }
    CFontNameCombo* GetWesternFontCombo() const { return m_westernFontCombo.get(); }
    plat::ComboBox* GetSizeCombo() const { return m_sizeCombo.get(); }
    plat::ComboBox* GetZoomCombo() const { return m_zoomCombo.get(); }
    // Lays the bars and the splitter out over the client area: the format bar at the top,
    // the extension bar in use at the bottom, the splitter between.
    void RecalcLayout();

    // ---- drawing state of the bars' buttons ----
    std::int32_t GetCharColor() const { return m_charColor; }
    void SetCharColor(std::int32_t color) { m_charColor = color; }
    std::int32_t GetLineColor() const { return m_lineColor; }
    void SetLineColor(std::int32_t color) { m_lineColor = color; }
    std::int32_t GetFillColor() const { return m_fillColor; }
    void SetFillColor(std::int32_t color) { m_fillColor = color; }
    std::int32_t GetFillPattern() const { return m_fillPattern; }
    void SetFillPattern(std::int32_t pattern) { m_fillPattern = pattern; }
    bool IsShortBar() const { return m_shortBar != 0; }
    void SetShortBar(bool on) { m_shortBar = on ? 1 : 0; }
    bool IsReferenceOpen() const { return m_referenceOpen != 0; }
    void SetReferenceOpen(bool on) { m_referenceOpen = on ? 1 : 0; }
    bool IsSpellMarks() const { return m_spellMarks != 0; }
    void SetSpellMarks(bool on) { m_spellMarks = on ? 1 : 0; }
    const plat::String& GetSentenceCheckerPath() const override { return m_sentenceCheckerPath; }
    void SetSentenceCheckerPath(plat::StringView path) { m_sentenceCheckerPath = plat::String(path); }
    // The spelling dialogs the spell-check command asks the user with (not owned); the
    // command is disabled while none are installed.
    CSpellCheckUi* GetSpellCheckUi() const { return m_spellCheckUi; }
    void SetSpellCheckUi(CSpellCheckUi* dialogs) { m_spellCheckUi = dialogs; }

    CCursorSet& GetCursorSet() { return m_cursors; }
    CCharWidthCache& GetWidthCache() { return m_widthCache; }
    CSpellEngine& GetSpellEngine() { return m_spellEngine; }
    CRevisionTipWnd& GetRevisionTip() { return m_revisionTip; }
    std::uint32_t GetClipboardFormat(int index) const { return m_clipboardFormats.at(static_cast<size_t>(index)); }
    const plat::AcceleratorTable& GetAccelerators() const { return m_accelerators; }

    // ---- timers ----
    void StartIdleTimer() override;
    void StopIdleTimer() override;
    void StartAutoSaveTimer();
    void StopAutoSaveTimer();
    // Autosave to the path every `seconds` + 1 seconds: 1 when the path can be written;
    // 0, autosave off, when it cannot or seconds <= 0.
    int SetAutoSave(plat::StringView path, int seconds);
    int GetAutoSaveSeconds() const { return m_autoSaveSeconds; }
    const plat::String& GetAutoSavePath() const { return m_autoSavePath; }
    int GetAutoSaveCountdown() const { return m_autoSaveCountdown; }
    // Command 35000: the update handlers of the bars' buttons and the idle update of every
    // window of the frame; nothing while an object is being created.
    void OnIdleUpdate();
    // Command 35001: the main document is written to the autosave path.
    void OnAutoSave();

    // The keyboard pre-filter the control passes messages through: navigation and
    // deletion keys go to the main canvas when it has the focus and are always taken;
    // then the accelerators.
    bool PreTranslateMessage(plat::Message& message) override;

    // ---- CDocFrame ----
    void StopAutosave() override;
    void RestartAutosaveTimer() override;
    void PauseAutosaveTimer() override;
    void ShowWaitCursor(bool show) override;
    void ShowBars(bool show) override;
    void RepaintRuler() override;
    void HideReferencePane() override;
    void UpdateRevisionTip(int x, int y, const CTextItem* item) override;
    CFormatComboBox* GetFormatCombo(FormatCombo which) override;
    bool HasRuler() const override;
    void SetRulerIndents(int firstLine, int left, int right) override;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    class ComboAdapter;

    // Creation steps, in the order OnCreate runs them.
    int OnCreate();
    bool OnCreateClient();
    bool CreateFormatBar();
    bool CreateExtensionBars();
    // The documents see the face and size combos through adapters.
    void AdaptFormatCombos();
    void OnTimer(unsigned id);
    void OnClose();
    void OnDestroy();
    // Print preview hides the extension bars; when it closes, the bar in use comes back
    // as it was and the other stays hidden.
    void BeforePreview();
    void AfterPreviewClosed();
    // The command handlers and update handlers of the frame (ql_main_commands.cpp).
    void BindCommands();
    // A combo of the format bar tells its parent of drops, closes and choices; only a
    // choice is its command.
    bool IsComboNotification(plat::WParam wParam, plat::LParam lParam) const;

    CPaneSplitter m_splitter;
    CQlView* m_mainView = nullptr;      // owned by m_views
    CQlView* m_referenceView = nullptr; // owned by m_views
    std::array<std::unique_ptr<CQlView>, 2> m_views;
    std::unique_ptr<CToolBarEx> m_formatBar;
    std::unique_ptr<CToolBarEx> m_fullExtensionBar;
    std::unique_ptr<CToolBarEx> m_shortExtensionBar;
    std::unique_ptr<CShapeMenuButton> m_shapeButton;
    CToolbarImages m_toolbarImages;
    std::int32_t m_shortBar = 0;
    std::unique_ptr<CFontNameCombo> m_chineseFontCombo;
    std::unique_ptr<CFontNameCombo> m_westernFontCombo;
    std::unique_ptr<plat::ComboBox> m_sizeCombo;
    std::unique_ptr<plat::ComboBox> m_zoomCombo;
    std::array<std::unique_ptr<ComboAdapter>, 3> m_formatCombos;
    std::int32_t m_charColor = 0;
    std::int32_t m_lineColor = kAutoTextColor;
    std::int32_t m_fillColor = kAutoFillColor;
    std::int32_t m_fillPattern = kDefaultFillPattern;
    CCursorSet m_cursors;
    CCharWidthCache m_widthCache;
    CRevisionTipWnd m_revisionTip;
    std::int32_t m_referenceOpen = 0;
    std::int32_t m_firstTick = 1;
    plat::String m_autoSavePath;
    std::int32_t m_autoSaveSeconds = 0;
    std::int32_t m_autoSaveCountdown = 0;
    std::array<std::uint32_t, kClipboardFormatCount> m_clipboardFormats{};
    std::int32_t m_spellMarks = 0;
    plat::String m_sentenceCheckerPath;
    CSpellCheckUi* m_spellCheckUi = nullptr; // not owned
    CSpellEngine m_spellEngine;
    plat::AcceleratorTable m_accelerators;
    // The caret paragraph's indents (first line, left, right) as the ruler shows them.
    std::array<int, 3> m_rulerIndents{};
};
