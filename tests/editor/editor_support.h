// A pane for the editor tests: a top-level window standing in for the frame (it owns the
// context menus and routes their commands to the view) with a scroll view inside, on a
// clean UI thread with the hand-driven clock. The view's document is empty until a test
// fills it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "editor/ql_canvas.h"
#include "editor/ql_view.h"
#include "tests/platform/ui_test_window.h"

namespace edtest {

class PaneTest : public uitest::UiTest {
protected:
    // The frame's client area and the view's place in it.
    static constexpr plat::Rect kFrameRect{0, 0, 700, 520};
    static constexpr plat::Rect kViewRect{0, 0, 700, 520};

    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_frameWindow.Create(nullptr, kFrameRect, plat::kWsVisible));
        m_view = MakeView();
        ASSERT_TRUE(m_view->CreateView(&m_frameWindow, kViewRect, 1));
        m_frameWindow.SetCommandRoute({m_view.get(), &m_frameWindow});
        plat::SetFocus(m_view->GetCanvas());
        plat::PumpMessages();
    }
    void TearDown() override
    {
        m_view.reset();
        UiTest::TearDown();
    }
    virtual std::unique_ptr<CQlView> MakeView() { return std::make_unique<CQlView>(&m_frame); }

    CQlDoc& doc() const { return *m_view->GetDocument(); }
    CDocBody& body() const { return *doc().GetBody(); }
    CQlCanvas& canvas() const { return *m_view->GetCanvas(); }
    // The body's text without its final paragraph end, as UTF-8.
    std::string Text() const
    {
        std::u16string out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out += body().GetItem(i)->GetCode();
        return plat::Utf16ToUtf8(out);
    }
    int Caret() const { return body().GetCaretPos().m_index; }
    // Fills the body with the text, the caret at `caret`, laid out and painted.
    void Fill(plat::StringView text, int caret = 0)
    {
        body().SetCaret(CTextPos(0, body().GetName()));
        body().InsertItemsAtCaret(text);
        body().RelayoutWhole();
        body().SetCaret(CTextPos(caret, body().GetName()));
        doc().SetModified(false);
        canvas().RequestRepaint();
        plat::PumpMessages();
    }

    CHeadlessDocFrame m_frame;
    uitest::TestWindow m_frameWindow{"frame"};
    std::unique_ptr<CQlView> m_view;
};

} // namespace edtest
