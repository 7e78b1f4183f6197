// What a document asks of the frame window around its view: the idle and autosave timers,
// the wait cursor, the bars (ruler, format bar, extension bar), the revision tip and the
// reference pane. The format bar's three combos and the ruler's indent markers follow the
// caret (CFormatState::SyncToolbar). The main frame implements it; a document without a
// screen uses CHeadlessDocFrame, which keeps everything as flags and lists in memory.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/base/strings.h"

class CTextItem;

// One combo of the format bar: a list of items, each with its text and a number stored
// with it (the size in twips for the size combo), and the current item (-1: none).
class CFormatComboBox {
public:
    virtual ~CFormatComboBox() = default;
    virtual int GetCount() const = 0;
    virtual int GetCurSel() const = 0;
    // Selects an item (-1: none); an index out of range changes nothing.
    virtual void SetCurSel(int index) = 0;
    virtual plat::String GetItemText(int index) const = 0;
    virtual std::int32_t GetItemData(int index) const = 0;
    // The first item whose text is the given one; -1 when none is.
    int FindItemText(plat::StringView text) const;
    // The first item whose number is the given one; -1 when none is.
    int FindItemData(std::int32_t data) const;
};

// The combos of the format bar.
enum class FormatCombo { kChineseFace, kWesternFace, kSize };

class CDocFrame {
public:
    virtual ~CDocFrame() = default;

    // ---- timers ----
    // The idle timer drives the toolbars' update handlers.
    virtual void StopIdleTimer() = 0;
    virtual void StartIdleTimer() = 0;
    // Stops the autosave timer and switches autosave off (no path, no period).
    virtual void StopAutosave() = 0;
    // Starts the autosave timer again with the configured period (nothing when off).
    virtual void RestartAutosaveTimer() = 0;
    // Stops the autosave timer for a while, keeping autosave on.
    virtual void PauseAutosaveTimer() = 0;
    // The wait cursor over a long operation, and taken away.
    virtual void ShowWaitCursor(bool show) = 0;

    // ---- bars and panes ----
    // Shows or hides the ruler, the format bar and the extension bar, then lays the frame
    // out again.
    virtual void ShowBars(bool show) = 0;
    // The ruler paints again.
    virtual void RepaintRuler() = 0;
    // The frame hides its reference pane when it shows one.
    virtual void HideReferencePane() = 0;
    // The revision tip follows the item under the mouse (null: none) at the point (body
    // twips).
    virtual void UpdateRevisionTip(int x, int y, const CTextItem* item) = 0;

    // ---- what follows the caret ----
    // A combo of the format bar; null when the bar has no such combo window.
    virtual CFormatComboBox* GetFormatCombo(FormatCombo which) = 0;
    // Whether the view shows a ruler; the ruler takes the caret paragraph's first-line,
    // left and right indents (twips) and repaints when they changed.
    virtual bool HasRuler() const = 0;
    virtual void SetRulerIndents(int firstLine, int left, int right) = 0;

    // ---- spelling ----
    // The host's sentence-checking library, which the screen's spelling marks use too;
    // empty when the host gave none.
    virtual const plat::String& GetSentenceCheckerPath() const = 0;
};

// A combo without a window: a list of items in memory.
class CHeadlessFormatCombo : public CFormatComboBox {
public:
    struct Item {
        plat::String text;
        std::int32_t data = 0;
    };
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    int GetCurSel() const override { return m_current; }
    void SetCurSel(int index) override;
    plat::String GetItemText(int index) const override;
    std::int32_t GetItemData(int index) const override;

    std::vector<Item> m_items;
    int m_current = -1;
    int m_selections = 0; // SetCurSel calls that changed the current item
};

// A frame without a screen: timers and bars are flags, the cursor and the tip remembered,
// the face combos hold the faces a test gives them and the size combo the 22 Chinese
// sizes from the largest, the first selected, as the format bar starts.
class CHeadlessDocFrame : public CDocFrame {
public:
    CHeadlessDocFrame();
    CHeadlessDocFrame(const CHeadlessDocFrame&) = delete;
    CHeadlessDocFrame& operator=(const CHeadlessDocFrame&) = delete;

    void StopIdleTimer() override { m_idleTimer = false; }
    void StartIdleTimer() override { m_idleTimer = true; }
    void StopAutosave() override
    {
        m_autosaveTimer = false;
        m_autosaveOn = false;
    }
    void RestartAutosaveTimer() override { m_autosaveTimer = m_autosaveOn; }
    void PauseAutosaveTimer() override { m_autosaveTimer = false; }
    void ShowWaitCursor(bool show) override
    {
        m_waitCursor = show;
        if (show) ++m_waitCursorShows;
    }
    void ShowBars(bool show) override { m_barsShown = show; }
    void RepaintRuler() override { ++m_rulerRepaints; }
    void HideReferencePane() override { m_referencePaneShown = false; }
    void UpdateRevisionTip(int x, int y, const CTextItem* item) override;
    CFormatComboBox* GetFormatCombo(FormatCombo which) override;
    bool HasRuler() const override { return m_hasRuler; }
    void SetRulerIndents(int firstLine, int left, int right) override;
    const plat::String& GetSentenceCheckerPath() const override { return m_sentenceCheckerPath; }

    plat::String m_sentenceCheckerPath;
    bool m_idleTimer = true;
    bool m_autosaveTimer = false;
    bool m_autosaveOn = false;
    bool m_waitCursor = false;
    int m_waitCursorShows = 0;
    bool m_barsShown = true;
    int m_rulerRepaints = 0;
    bool m_referencePaneShown = false;
    int m_tipUpdates = 0;
    const CTextItem* m_tipItem = nullptr; // not owned; only compared
    // The format bar: false stands for a frame whose combos are not windows.
    bool m_hasFormatBar = true;
    CHeadlessFormatCombo m_chineseFaces;
    CHeadlessFormatCombo m_westernFaces;
    CHeadlessFormatCombo m_sizes;
    // The ruler: its indents (first line, left, right) as last given.
    bool m_hasRuler = true;
    int m_rulerIndents[3] = {0, 0, 0};
};
