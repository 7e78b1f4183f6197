// The control object: what a host creates through the control's class factory. Its
// window hosts the whole editor: when the window is made it builds the main frame CQlMain
// over its client area, and from then on it sends keyboard, wheel and size events on to
// the frame and the main document. The members a host calls by name live in one table
// (Members(), quiln_ctrl_members.cpp); every member refuses while the control has no
// frame, that is before its window exists and after it was destroyed (HasFrame).
#pragma once
#include <cstdint>
#include <memory>

#include "control/control_window.h"
#include "platform/com/dispatch.h"
#include "platform/ui/window.h"

class CQlMain;

class CQuilnCtrl : public plat::DispatchObject<CQuilnCtrl, IControlWindow>, public plat::Window {
public:
    // OLEMISC_SETCLIENTSITEFIRST | SIMPLEFRAME | ACTIVATEWHENVISIBLE | INSIDEOUT |
    // CANTLINKINSIDE | RECOMPOSEONRESIZE.
    static constexpr std::uint32_t kMiscStatus = 0x30191;
    // The initial extent in pixels.
    static constexpr int kInitialWidth = 400;
    static constexpr int kInitialHeight = 200;
    // The version the property exchange stores (1.0).
    static constexpr std::int32_t kVersion = 0x10000;
    // The grey that fills whatever the frame does not cover.
    static constexpr std::uint32_t kBackColor = 0x808080;

    // A new control, with one reference the caller owns; its window does not exist yet.
    static CQuilnCtrl* CreateObject();

    // The members of the dispatch interface _DQuiln (quiln_ctrl_members.cpp).
    static const plat::DispatchTable& Members();

    // ---- the object ----
    static const plat::Guid& GetClassID();
    std::uint32_t GetMiscStatus() const { return kMiscStatus; }
    // The property pages the control shows for its Properties verb: one.
    static std::vector<plat::Guid> GetPropPageIDs();

    // ---- the window ----
    // Makes the control's window as a child of `parent` over `rect`, with the frame inside.
    // False when the window or the frame cannot be made (the frame has shown "QlMain
    // Create Fail"); the control then has no frame.
    bool CreateControl(plat::Window* parent, const plat::Rect& rect);
    // Destroys the window; the frame goes with it.
    void DestroyControl();
    // The frame, null before the window is made and after it was destroyed. Every member
    // of the dispatch interface reads the frame from here.
    CQlMain* GetMainFrame() const { return m_frame.get(); }
    bool HasFrame() const { return m_frame != nullptr; }

    // ---- IControlWindow ----
    plat::HRESULT CreateInHost(std::int32_t width, std::int32_t height) override;
    plat::HRESULT ResizeHost(std::int32_t width, std::int32_t height) override;
    plat::HRESULT DestroyInHost() override;
    plat::HRESULT GetWindowRects(plat::Rect* control, plat::Rect* frame) override;
    plat::HRESULT KeyInput(std::int32_t virtualKey, bool down, bool textElsewhere) override;
    plat::HRESULT PressKey(std::int32_t virtualKey, std::uint32_t modifiers) override;
    plat::HRESULT TypeText(const char16_t* text, std::int32_t length) override;
    plat::HRESULT MouseInput(std::uint32_t message, std::int32_t x, std::int32_t y, std::uint32_t keyFlags,
                             std::int32_t wheelDelta) override;
    plat::HRESULT Pump(std::int32_t* dispatched) override;
    plat::HRESULT NextTimerDelay(std::int64_t* ms) override;
    plat::HRESULT UseManualClock(std::int64_t startMs) override;
    plat::HRESULT AdvanceClock(std::int64_t ms) override;
    plat::HRESULT AnswerNextModal(std::int32_t answer, const char16_t* const* texts, const std::int32_t* lengths,
                                  std::int32_t count) override;
    plat::HRESULT SetModalSite(IModalSite* site) override;
    plat::HRESULT GetUnansweredModalCount(std::int32_t* count) override;
    plat::HRESULT RenderHost(std::int32_t* width, std::int32_t* height, std::uint32_t* pixels,
                             std::int32_t stride) override;
    plat::HRESULT GetCaretRect(plat::Rect* rect) override;
    plat::HRESULT GetCursorId(std::int32_t* id) override;
    plat::HRESULT ConnectDesktopClipboard(IDesktopClipboard* clipboard) override;

    // Keyboard pre-filter: navigation and deletion key presses go to the control's own
    // window; every other message goes to the frame's pre-filter.
    bool PreTranslateMessage(plat::Message& message) override;

protected:
    CQuilnCtrl();
    ~CQuilnCtrl() override;
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;

private:
    class HostWindow;
    class DesktopClipboard;

    int OnCreate();
    void OnSize(int width, int height);
    void OnMouseWheel(plat::WParam wParam, plat::LParam lParam);
    void ForwardToMainCanvas(unsigned message, plat::WParam wParam, plat::LParam lParam);
    void OnPaint();
    void OnDestroy();

    // The top window input goes to and pictures are taken of: the host window when the
    // control made one, else the top of the tree the control's window is in.
    plat::Window* TopWindow();

    std::unique_ptr<CQlMain> m_frame;
    bool m_manualClock = false;
    // Unanswered modal runs counted before the control was made.
    std::size_t m_unansweredBefore = 0;
    // The window standing in for the host's, when the host asked for one (CreateInHost).
    std::unique_ptr<HostWindow> m_host;
    // The host's desktop clipboard, as the control's clipboard is connected to it.
    std::unique_ptr<DesktopClipboard> m_desktopClipboard;
    // The host's site that shows dialogs and message boxes, while connected.
    IModalSite* m_modalSite = nullptr;
};
