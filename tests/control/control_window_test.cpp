// The control's window inside a host window: the frame it builds, sizing, the keys,
// characters and wheel turns it sends on, and what is left once the window is gone.
#include <gtest/gtest.h>

#include <string>

#include "control/quiln_app.h"
#include "control/quiln_ctrl.h"
#include "control/quiln_typelib.h"
#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "editor/ql_main.h"
#include "editor/ql_view.h"
#include "platform/ui/message_queue.h"
#include "tests/platform/ui_test_window.h"

namespace {

class ControlWindow : public uitest::UiTest {
protected:
    static constexpr plat::Rect kHostRect{0, 0, 800, 600};

    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_host.Create(nullptr, kHostRect, plat::kWsVisible));
        m_control = CQuilnCtrl::CreateObject();
        ASSERT_TRUE(m_control->CreateControl(&m_host, m_host.GetClientRect()));
        plat::PumpMessages();
    }
    void TearDown() override
    {
        m_control->Release();
        m_host.Destroy();
        UiTest::TearDown();
    }

    CQlDoc& doc() const { return *m_control->GetMainFrame()->GetMainDoc(); }
    CDocBody& body() const { return *doc().GetBody(); }
    int Caret() const { return body().GetCaretPos().m_index; }
    std::string Text() const
    {
        std::u16string out;
        for (int i = 0; i + 1 < body().GetCount(); ++i) out += body().GetItem(i)->GetCode();
        return plat::Utf16ToUtf8(out);
    }
    // A key press or a character as the message loop delivers it to the control's window.
    void Post(unsigned message, plat::WParam wParam)
    {
        plat::PostMessage(m_control, message, wParam, 1);
        plat::PumpMessages();
    }
    void Type(const std::u16string& text)
    {
        for (char16_t c : text) Post(plat::kWmChar, c);
    }

    uitest::TestWindow m_host{"host"};
    CQuilnCtrl* m_control = nullptr;
};

TEST_F(ControlWindow, BuildsTheFrameOverItsClientAreaAndFollowsItsSize)
{
    ASSERT_TRUE(m_control->HasFrame());
    CQlMain* frame = m_control->GetMainFrame();
    ASSERT_TRUE(frame->IsCreated());
    EXPECT_EQ(frame->GetParent(), m_control);
    EXPECT_EQ(frame->GetRect(), m_control->GetClientRect());
    EXPECT_EQ(m_control->GetClientRect(), (plat::Rect{0, 0, 800, 600}));
    // The main document starts empty: only its final paragraph end.
    EXPECT_EQ(body().GetCount(), 1);

    for (plat::Rect rect : {plat::Rect{0, 0, 520, 330}, plat::Rect{10, 20, 910, 720}}) {
        m_control->MoveWindow(rect);
        plat::PumpMessages();
        EXPECT_EQ(frame->GetRect(), (plat::Rect{0, 0, rect.Width(), rect.Height()}));
    }
}

TEST_F(ControlWindow, CharactersAndKeysActOnTheMainDocument)
{
    Type(u"abcd");
    EXPECT_EQ(Text(), "abcd");
    EXPECT_EQ(Caret(), 4);
    Post(plat::kWmKeyDown, plat::kVkLeft);
    Post(plat::kWmKeyDown, plat::kVkLeft);
    EXPECT_EQ(Caret(), 2);
    Post(plat::kWmKeyDown, plat::kVkBack);
    EXPECT_EQ(Text(), "acd");
    Post(plat::kWmKeyDown, plat::kVkDelete);
    EXPECT_EQ(Text(), "ad");
    Post(plat::kWmKeyDown, plat::kVkEnd);
    EXPECT_EQ(Caret(), 2);
    Post(plat::kWmKeyDown, plat::kVkHome);
    EXPECT_EQ(Caret(), 0);
}

// The page canvas paints the document's caret itself; the control reports where, in the
// host window's coordinates, so that a host puts an input method's window there.
TEST_F(ControlWindow, ReportsWhereTheDocumentsCaretIsForAnInputMethod)
{
    plat::Rect empty, typed, home;
    ASSERT_EQ(m_control->GetCaretRect(&empty), plat::S_OK);
    Type(u"abcd");
    ASSERT_EQ(m_control->GetCaretRect(&typed), plat::S_OK);
    // The caret's top follows the character beside it, a pixel up or down.
    EXPECT_NEAR(typed.top, empty.top, 2) << "the same line";
    EXPECT_GT(typed.left, empty.left + 10) << "past the four letters";
    EXPECT_GE(typed.Width(), 1);
    EXPECT_GT(typed.Height(), 5);
    EXPECT_TRUE(kHostRect.Contains(plat::Point(typed.left, typed.top)) &&
                kHostRect.Contains(plat::Point(typed.right - 1, typed.bottom - 1)));
    Post(plat::kWmKeyDown, plat::kVkHome);
    ASSERT_EQ(m_control->GetCaretRect(&home), plat::S_OK);
    EXPECT_EQ(home.left, empty.left) << "back at the start of the line";
    EXPECT_NEAR(home.top, typed.top, 2);
}

TEST_F(ControlWindow, AReadOnlyDocumentTakesNoTextButTheCaretStillMoves)
{
    Type(u"xyz");
    doc().SetReadOnly(true);
    Type(u"q");
    Post(plat::kWmKeyDown, plat::kVkBack);
    Post(plat::kWmKeyDown, plat::kVkDelete);
    EXPECT_EQ(Text(), "xyz");
    Post(plat::kWmKeyDown, plat::kVkLeft);
    EXPECT_EQ(Caret(), 2);
    Post(plat::kWmKeyDown, plat::kVkHome);
    EXPECT_EQ(Caret(), 0);
}

TEST_F(ControlWindow, ThePreFilterSendsNavigationKeysToTheControlWindowAndPassesTheRest)
{
    Type(u"ab");
    struct Case {
        unsigned message;
        plat::WParam key;
        bool taken;
    };
    for (const Case& c : {Case{plat::kWmKeyDown, plat::kVkBack, true}, Case{plat::kWmKeyUp, plat::kVkLeft, true},
                          Case{plat::kWmKeyDown, plat::kVkPrior, true}, Case{plat::kWmKeyDown, plat::kVkDelete, true},
                          Case{plat::kWmKeyDown, plat::kVkTab, false}, Case{plat::kWmKeyDown, plat::kVkInsert, false},
                          Case{plat::kWmChar, plat::kVkBack, false}}) {
        plat::Message message{};
        message.window = &m_host;
        message.message = c.message;
        message.wParam = c.key;
        EXPECT_EQ(m_control->PreTranslateMessage(message), c.taken) << c.message << " " << c.key;
    }
    // The Backspace press taken above reached the document through the control's window.
    EXPECT_EQ(Text(), "a");
}

TEST_F(ControlWindow, TheWheelScrollsTheMainPane)
{
    for (int i = 0; i < 120; ++i) doc().InsertString(u"line\r");
    body().SetCaret(CTextPos(0, body().GetName()));
    CQlMain* frame = m_control->GetMainFrame();
    frame->ShowReferencePane(true);
    plat::PumpMessages();
    CQlView* mainView = frame->GetMainView();
    CQlView* referenceView = frame->GetReferenceView();
    ASSERT_GT(mainView->GetScrollInfo(plat::kSbVert).MaxPos(), 0) << "the text must be taller than the pane";
    const int mainBefore = mainView->GetScrollInfo(plat::kSbVert).pos;
    const int referenceBefore = referenceView->GetScrollInfo(plat::kSbVert).pos;
    // One notch towards the user.
    plat::SendMessage(m_control, plat::kWmMouseWheel, plat::MakeWParam(0, static_cast<unsigned>(-120) & 0xFFFF), 0);
    plat::PumpMessages();
    EXPECT_GT(mainView->GetScrollInfo(plat::kSbVert).pos, mainBefore);
    EXPECT_EQ(referenceView->GetScrollInfo(plat::kSbVert).pos, referenceBefore);
}

TEST_F(ControlWindow, TheFrameGoesWithTheWindow)
{
    CQlMain* frame = m_control->GetMainFrame();
    ASSERT_NE(frame, nullptr);
    // The host's window goes first, taking the control's with it.
    m_host.Destroy();
    EXPECT_FALSE(m_control->IsCreated());
    EXPECT_FALSE(m_control->HasFrame());
    EXPECT_EQ(m_control->GetMainFrame(), nullptr);
    // Keys that still arrive find no frame and change nothing.
    plat::Message message{};
    message.window = m_control;
    message.message = plat::kWmKeyDown;
    message.wParam = plat::kVkTab;
    EXPECT_FALSE(m_control->PreTranslateMessage(message));
}

TEST(Control, HasNoFrameBeforeItsWindowIsMade)
{
    CQuilnCtrl* control = CQuilnCtrl::CreateObject();
    EXPECT_FALSE(control->HasFrame());
    plat::Rect a, b;
    EXPECT_EQ(control->GetWindowRects(&a, &b), plat::E_UNEXPECTED);
    EXPECT_EQ(control->GetMiscStatus(), 0x30191u);
    control->Release();
}

} // namespace

namespace {

TEST(QuilnTypeLibrary, DescribesTheControlClassWithItsTwoInterfaces)
{
    const quiln::TypeLibrary& library = quiln::QuilnTypeLib();
    EXPECT_EQ(library.name, u"QUILNLib");
    EXPECT_EQ(library.major, 1u);
    EXPECT_EQ(library.minor, 0u);
    ASSERT_EQ(library.classes.size(), 1u);
    const plat::ClassInfo& control = *library.classes[0];
    EXPECT_EQ(control.clsid, CQuilnCtrl::GetClassID());
    EXPECT_EQ(control.doc, u"Quiln Control");
    ASSERT_NE(control.defaultInterface, nullptr);
    ASSERT_NE(control.defaultSource, nullptr);
    EXPECT_EQ(control.defaultInterface, &CQuilnCtrl::Members().Info());
    EXPECT_EQ(control.defaultInterface->name, u"_DQuiln");
    EXPECT_EQ(control.defaultInterface->doc, u"Dispatch interface for Quiln Control");
    EXPECT_FALSE(control.defaultInterface->source);
    // The control fires no events.
    EXPECT_EQ(control.defaultSource->name, u"_DQuilnEvents");
    EXPECT_TRUE(control.defaultSource->source);
    EXPECT_TRUE(control.defaultSource->members.empty());
    // Every id is its own, and the property page is the control's one page.
    const std::vector<plat::Guid> ids{library.id, control.clsid, control.defaultInterface->iid,
                                      control.defaultSource->iid, CQuilnPropPage::GetClassID()};
    for (size_t i = 0; i < ids.size(); ++i)
        for (size_t j = i + 1; j < ids.size(); ++j) EXPECT_NE(ids[i], ids[j]) << i << " " << j;
    EXPECT_EQ(CQuilnCtrl::GetPropPageIDs(), std::vector<plat::Guid>{CQuilnPropPage::GetClassID()});
}

TEST_F(ControlWindow, ItsViewsAskTheOutsideEditorsWhatCanBeEdited)
{
    CQlMain* frame = m_control->GetMainFrame();
    for (CQlView* view : {frame->GetMainView(), frame->GetReferenceView()}) {
        ASSERT_NE(view, nullptr);
        const CMediaEditorQuery& editors = view->GetMediaEditorQuery();
        // No editor library beside the control: the paint program's four kinds only.
        EXPECT_TRUE(editors.CanEditImage(u".jpg"));
        EXPECT_TRUE(editors.CanEditImage(u".BMP"));
        EXPECT_FALSE(editors.CanEditImage(u".PNG"));
        EXPECT_FALSE(editors.CanEditAudio(u".wav"));
        EXPECT_FALSE(editors.CanEditVideo(u".avi"));
    }
}

} // namespace
