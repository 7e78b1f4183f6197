// The automation interface through the dispatch interface, by name, as a host calls it: the
// members a host sees, and the members at work on a main frame in a host window.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "control/quiln_ctrl.h"
#include "control/quiln_ctrl_members.h"
#include "control/quiln_typelib.h"
#include "io/rtf_importer.h"
#include "document/doc_body.h"
#include "document/ql_doc.h"
#include "platform/com/dispatch.h"
#include "tests/control/automation_support.h"
#include "tests/editor/main_frame_support.h"

namespace {

using plat::Variant;
using autotest::AutomationTest;

// Every member of _DQuiln with its id, parameters and result, as the interface is published
// (the first line break only opens the list).
constexpr char kPublishedMembers[] = R"(
1 FileNew() BOOL
2 FileOpen(string filePath, long bReadOnly) BOOL
3 FileOpenMsWord(string filePath, long bReadOnly) BOOL
4 FileOpenRTF(string filePath, long bReadOnly) BOOL
5 FileOpenText(string filePath, long bReadOnly) BOOL
6 FileSave(string filePath) BOOL
7 SetAutoSave(string savePath, long saveTime) BOOL
8 GetAutoSave() long
9 IsFileModified() BOOL
10 FileSetup() BOOL
11 HasFilePassword() BOOL
12 SetFilePassword() BOOL
13 SetFileAuthor(long authorID, string authorName) BOOL
14 FileAuthorInfo() void
15 CanFilePrint() BOOL
16 FilePrint() void
17 FilePrintPreview() void
18 IsFilePrinting() BOOL
19 OpenReference(string filePath) BOOL
20 OpenReferenceMsWord(string filePath) BOOL
21 OpenReferenceRTF(string filePath) BOOL
22 OpenReferenceText(string filePath) BOOL
23 CloseReference() long
24 CanShowReference() BOOL
25 ShowReference(long bShow) BOOL
26 IsShowReference() BOOL
27 CanEditUndo() BOOL
28 EditUndo() BOOL
29 CanEditRedo() BOOL
30 EditRedo() BOOL
31 CanEditCut() BOOL
32 EditCut() BOOL
33 CanEditCopy() BOOL
34 EditCopy() BOOL
35 CanEditPaste() BOOL
36 EditPaste() BOOL
37 CanEditDelete() BOOL
38 EditDelete() BOOL
39 CanEditSelectAll() BOOL
40 EditSelectAll() BOOL
41 CanEditFind() BOOL
42 EditFind() BOOL
43 CanEditReplace() BOOL
44 EditReplace() BOOL
45 CanBasebar() BOOL
46 IsBasebarVisible() BOOL
47 ShowBasebar(long bShow) BOOL
48 CanExtbar() BOOL
49 IsExtbarVisible() BOOL
50 ShowExtbar(long bShow) BOOL
51 SetGraphBarMode(long bMini) void
52 CanRulerbar() BOOL
53 IsRulerbarVisible() BOOL
54 ShowRulerbar(long bShow) BOOL
55 CanDispRatio() BOOL
56 GetDispRatio() long
57 SetDispRatio(long iRatio) BOOL
58 CanDispEditStatus() BOOL
59 IsDispEditStatus() BOOL
60 SetDispEditStatus(long bShow) BOOL
61 CanDispMarkStatus() BOOL
62 IsDispMarkStatus() BOOL
63 SetDispMarkStatus(long bShow) BOOL
64 CanInsertImage() BOOL
65 InsertImage(string fileName, string imageMark, long x, long y, long cx, long cy) BOOL
66 CanInsertVideo() BOOL
67 InsertVideo(string videoName, string imageName, string videoMark, long x, long y, long cx, long cy) BOOL
68 CanInsertAudio() BOOL
69 InsertAudio(string fileName, string audioMark, long x, long y, long cx, long cy) BOOL
70 CanInsertChart() BOOL
71 InsertChart() BOOL
72 CanInsertTable() BOOL
73 InsertTable() BOOL
74 CanInsertText() BOOL
75 InsertText() BOOL
76 CanInsertNewPage() BOOL
77 InsertNewPage() BOOL
78 CanInsertString() BOOL
79 InsertString(string lpString) BOOL
80 CanInsertDate() BOOL
81 InsertDate(string pDateStr) BOOL
82 CanInsertCharext() BOOL
83 InsertCharext(short charCode) BOOL
84 CanInsertMark() BOOL
85 InsertMark(string pMarkStr) BOOL
86 CanCharAttr() BOOL
87 CharAttr() BOOL
88 GetChFont() string
89 SetChFont(string fontName) BOOL
90 GetAscFont() string
91 SetAscFont(string fontName) BOOL
92 GetFontSize() long
93 SetFontSize(long fontSize) BOOL
94 GetCharBold() long
95 SetCharBold(long bBold) BOOL
96 GetCharItalic() long
97 SetCharItalic(long bItalic) BOOL
98 GetCharUnderline() long
99 SetCharUnderline(long bUnderline) BOOL
100 GetCharPos() long
101 SetCharPos(long charPos) BOOL
102 GetCharColor() long
103 SetCharColor(long dwColor) BOOL
104 CharColorMore() BOOL
105 GetParaFormat() long
106 SetParaFormat(long paraFormat) BOOL
107 GetParaGap() long
108 SetParaGap(long paraGap) BOOL
109 CanBlockAttr() BOOL
110 BlockAttr() BOOL
111 BlockPosUp() BOOL
112 BlockPosDown() BOOL
113 BlockPosFirst() BOOL
114 BlockPosLast() BOOL
115 CanTableInsertRow() BOOL
116 TableInsertRow() BOOL
117 CanTableInsertCol() BOOL
118 TableInsertCol() BOOL
119 CanTableDeleteRow() BOOL
120 TableDeleteRow() BOOL
121 CanTableDeleteCol() BOOL
122 TableDeleteCol() BOOL
123 CanTableMerge() BOOL
124 TableMerge() BOOL
125 CanTableSeparate() BOOL
126 TableSeparate() BOOL
127 CanTableUDFormat() BOOL
128 GetTableUDFormat() long
129 SetTableUDFormat(long udFormat) BOOL
130 UserDictionary() void
131 CanSpellCheck() BOOL
132 SetSpellCheck(string dllPath) BOOL
133 SpellCheck() BOOL
134 RussianConvert(short nMode) BOOL
135 CanRussianConvert() BOOL
136 FileStatistics() void
139 AppendQuiln(string fileName) BOOL
140 AppendMsWord(string fileName) BOOL
141 AppendRTF(string fileName) BOOL
142 AppendText(string fileName) BOOL
143 AppendImage(string fileName) BOOL
144 AppendVideo(string fileName) BOOL
145 AppendAudio(string fileName) BOOL
146 AppendTable(string fileName) BOOL
147 ExportTotal() long
148 ExportType(long nExport) long
149 ExportExt(long nExport) string
150 ExportMark(long nExport) string
151 ExportFile(long nExport, string fileName) BOOL
152 ExportFileTitle(string fileName) BOOL
153 ExportHTML(string filePath) BOOL
154 ExportEHTML(string fileName, string listName) BOOL
155 ExportPDF(string filePath) BOOL
156 ExportRTF(string filePath) BOOL
157 ExportDoc(string filePath) BOOL
158 StatisticsChinese() long
159 StatisticsAscii() long
160 StatisticsSpace() long
161 StatisticsSymbol() long
162 StatisticsPara() long
163 StatisticsPage() long
164 StatisticsAudio() long
165 StatisticsVideo() long
166 StatisticsImage() long
167 StatisticsChart() long
168 StatisticsTable() long
169 StatisticsGraph() long
170 StatisticsWord() long
)";

std::string Describe(const plat::InterfaceInfo& info)
{
    std::string out;
    for (const plat::MemberInfo& member : info.members)
        out += plat::Utf16ToUtf8(plat::DescribeMember(member)) + "\n";
    return out;
}

TEST(AutomationTypeInfo, ListsExactlyThePublishedMembers)
{
    EXPECT_EQ(Describe(CQuilnCtrl::Members().Info()), kPublishedMembers + 1);
    EXPECT_EQ(CQuilnCtrl::Members().Info().name, u"_DQuiln");
    EXPECT_FALSE(CQuilnCtrl::Members().Info().source);
    // The type library describes the control class with the same interface.
    const quiln::TypeLibrary& library = quiln::QuilnTypeLib();
    ASSERT_EQ(library.classes.size(), 1u);
    ASSERT_NE(library.classes[0]->defaultInterface, nullptr);
    EXPECT_EQ(Describe(*library.classes[0]->defaultInterface), kPublishedMembers + 1);
    // A dispatch object over a frame of the caller's answers the same interface.
    EXPECT_EQ(Describe(CQuilnAutomation::Members().Info()), kPublishedMembers + 1);
    EXPECT_EQ(CQuilnAutomation::Members().Info().iid, CQuilnCtrl::Members().Info().iid);
}

TEST(AutomationTypeInfo, EventInterfaceHasNoMembers)
{
    const quiln::TypeLibrary& library = quiln::QuilnTypeLib();
    ASSERT_EQ(library.classes.size(), 1u);
    const plat::InterfaceInfo* events = library.classes[0]->defaultSource;
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->name, u"_DQuilnEvents");
    EXPECT_TRUE(events->source);
    EXPECT_TRUE(events->members.empty());
    EXPECT_NE(events->iid, CQuilnCtrl::Members().Info().iid);
}

// An argument of the parameter's type, for calls that only look at the result.
Variant AnyArgument(plat::VarType type)
{
    switch (type) {
    case plat::VarType::kBStr: return Variant::Str(u"x");
    case plat::VarType::kI2: return Variant::Short(1);
    default: return Variant::Long(1);
    }
}

// The refusal value of a result type.
Variant Refusal(plat::VarType type)
{
    switch (type) {
    case plat::VarType::kBool: return Variant::Bool(false);
    case plat::VarType::kI4: return Variant::Long(0);
    case plat::VarType::kBStr: return Variant::Str(u"");
    default: return Variant();
    }
}

// Calls every member but those skipped and expects each to return its refusal value.
void ExpectRefusals(plat::Dispatch& object, const std::vector<plat::String>& skipped)
{
    for (const plat::MemberInfo& member : CQuilnAutomation::Members().Info().members) {
        if (std::find(skipped.begin(), skipped.end(), member.name) != skipped.end()) continue;
        SCOPED_TRACE(plat::Utf16ToUtf8(member.name));
        std::vector<Variant> args;
        for (const plat::ParamInfo& param : member.params)
            args.push_back(AnyArgument(param.type));
        Variant result;
        ASSERT_EQ(object.Invoke(member.id, plat::kInvokeMethod, args, &result), plat::S_OK);
        // The zoom reads 100 when refused.
        EXPECT_EQ(result, member.name == u"GetDispRatio" ? Variant::Long(100) : Refusal(member.result));
    }
}

TEST(AutomationWithoutFrame, EveryMemberRefuses)
{
    CQuilnAutomation* object = new CQuilnAutomation(nullptr);
    ExpectRefusals(*object, {});
    object->Release();
}

// The control itself: no frame before its window exists and after it is destroyed.
class AutomationOfTheControl : public uitest::UiTest {
protected:
    uitest::TestWindow m_host{"host"};
};

TEST_F(AutomationOfTheControl, MembersWorkOnlyWhileTheWindowExists)
{
    ASSERT_TRUE(m_host.Create(nullptr, plat::Rect{0, 0, 800, 600}, plat::kWsVisible));
    CQuilnCtrl* control = CQuilnCtrl::CreateObject();
    plat::Dispatch* object = nullptr;
    ASSERT_EQ(control->QueryInterface(plat::Dispatch::Iid(), reinterpret_cast<void**>(&object)), plat::S_OK);
    {
        SCOPED_TRACE("before the window");
        ExpectRefusals(*object, {});
    }
    ASSERT_TRUE(control->CreateControl(&m_host, m_host.GetClientRect()));
    plat::PumpMessages();
    std::vector<plat::DispId> ids;
    ASSERT_EQ(object->GetIDsOfNames({u"InsertString", u"lpString"}, &ids), plat::S_OK);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], 79);
    Variant result;
    ASSERT_EQ(object->Invoke(ids[0], plat::kInvokeMethod, {Variant::Str(u"in the control")}, &result), plat::S_OK);
    EXPECT_EQ(result, Variant::Bool(true));
    EXPECT_EQ(control->GetMainFrame()->GetMainDoc()->GetBody()->GetCount(), 15);
    ASSERT_EQ(object->GetIDsOfNames({u"StatisticsWord"}, &ids), plat::S_OK);
    ASSERT_EQ(object->Invoke(ids[0], plat::kInvokeMethod, {}, &result), plat::S_OK);
    EXPECT_EQ(result, Variant::Long(3));
    control->DestroyControl();
    plat::PumpMessages();
    {
        SCOPED_TRACE("after the window");
        ExpectRefusals(*object, {});
    }
    object->Release();
    control->Release();
    m_host.Destroy();
}

TEST_F(AutomationTest, InsertStringTypesIntoTheMainDocument)
{
    EXPECT_TRUE(CallBool(u"FileNew"));
    EXPECT_FALSE(CallBool(u"IsFileModified"));
    EXPECT_TRUE(CallBool(u"CanInsertString"));
    EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(u"Quiln")}));
    EXPECT_EQ(Text(), "Quiln");
    EXPECT_TRUE(CallBool(u"IsFileModified"));
    // Names are found without regard to case, and arguments convert to the parameter's type.
    EXPECT_TRUE(CallBool(u"insertstring", {Variant::Long(42)}));
    EXPECT_EQ(Text(), "Quiln42");
    EXPECT_TRUE(CallBool(u"FileNew"));
    EXPECT_EQ(Text(), "");
}

TEST_F(AutomationTest, FontSizeTakesOnlyTheSizesOfTheSizeTable)
{
    ASSERT_TRUE(CallBool(u"SetFontSize", {Variant::Long(240)}));
    ExpectTaken(u"SetFontSize", u"GetFontSize", 240,
                {{210, true},
                 {200, false},
                 {105, true},
                 {104, false},
                 {1920, true},
                 {1921, false},
                 {0, false},
                 {-210, false},
                 {158, true},
                 {160, false}});
}

TEST_F(AutomationTest, ZoomTakesOnlyTheZoomTable)
{
    EXPECT_EQ(CallLong(u"GetDispRatio"), 100);
    ExpectTaken(u"SetDispRatio", u"GetDispRatio", 100,
                {{150, true},
                 {110, false},
                 {200, true},
                 {25, true},
                 {0, false},
                 {99, false},
                 {75, true},
                 {125, true},
                 {50, true},
                 {-100, false}});
    EXPECT_DOUBLE_EQ(doc().GetZoom(), 0.5);
}

TEST_F(AutomationTest, SaveAndOpenRoundTrip)
{
    const plat::String path = SavedDocument("round.qln", u"saved text");
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(0)}));
    EXPECT_EQ(Text(), "saved text");
    EXPECT_FALSE(CallBool(u"IsFileModified"));
    EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(u"!")}));
    EXPECT_TRUE(CallBool(u"IsFileModified"));
    EXPECT_TRUE(CallBool(u"FileSave", {Variant::Str(path)}));
    EXPECT_FALSE(CallBool(u"IsFileModified"));
    // A folder that does not exist cannot be written to.
    EXPECT_FALSE(CallBool(u"FileSave", {Variant::Str(PathOf("missing/x.qln"))}));
}

TEST_F(AutomationTest, ReadOnlyOpeningRefusesEdits)
{
    const plat::String path = SavedDocument("readonly.qln", u"fixed");
    ASSERT_TRUE(CallBool(u"SetDispRatio", {Variant::Long(200)}));
    ASSERT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(1)}));
    ASSERT_TRUE(doc().IsReadOnly());
    EXPECT_EQ(Text(), "fixed");
    for (const char16_t* can : {u"CanInsertString", u"CanEditSelectAll", u"CanCharAttr", u"CanDispRatio"}) {
        EXPECT_FALSE(CallBool(can)) << plat::Utf16ToUtf8(can);
    }
    EXPECT_FALSE(CallBool(u"InsertString", {Variant::Str(u"more")}));
    EXPECT_FALSE(CallBool(u"SetFontSize", {Variant::Long(210)}));
    EXPECT_FALSE(CallBool(u"FileSave", {Variant::Str(PathOf("copy.qln"))}));
    EXPECT_FALSE(std::filesystem::exists(Folder() / "copy.qln"));
    EXPECT_FALSE(CallBool(u"IsFileModified"));
    EXPECT_EQ(CallLong(u"GetDispRatio"), 100);
    EXPECT_EQ(CallLong(u"StatisticsAscii"), 0);
    EXPECT_EQ(Text(), "fixed");
    // A read-only document may still be printed.
    EXPECT_TRUE(CallBool(u"CanFilePrint"));
}

TEST_F(AutomationTest, OpeningARefusedFileReportsIt)
{
    const plat::String path = SavedDocument("damaged.qln", u"some text to lose");
    // The file cut short inside its body.
    const auto size = std::filesystem::file_size(Folder() / "damaged.qln");
    std::filesystem::resize_file(Folder() / "damaged.qln", size / 2);
    EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(u"before")}));
    EXPECT_FALSE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(0)}));
    // The reader leaves a new empty document, which takes edits.
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(u"after")}));
    EXPECT_EQ(Text(), "after");

    // Not a document at all.
    std::ofstream(Folder() / "text.qln") << "plainly not a document";
    EXPECT_FALSE(CallBool(u"FileOpen", {Variant::Str(PathOf("text.qln")), Variant::Long(0)}));
    // A file that is not there leaves the document as it was.
    EXPECT_TRUE(CallBool(u"InsertString", {Variant::Str(u"kept")}));
    EXPECT_FALSE(CallBool(u"FileOpen", {Variant::Str(PathOf("absent.qln")), Variant::Long(0)}));
    EXPECT_FALSE(CallBool(u"OpenReference", {Variant::Str(PathOf("absent.qln"))}));
}

TEST_F(AutomationTest, StatisticsCountAKnownText)
{
    ASSERT_TRUE(CallBool(u"FileNew"));
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"Hello, world 你好。")}));
    const struct {
        const char16_t* member;
        std::int32_t count;
    } cases[] = {
        {u"StatisticsChinese", 2}, {u"StatisticsAscii", 10}, {u"StatisticsSpace", 2}, {u"StatisticsSymbol", 2},
        {u"StatisticsPara", 0},    {u"StatisticsPage", 1},   {u"StatisticsAudio", 0}, {u"StatisticsVideo", 0},
        {u"StatisticsImage", 0},   {u"StatisticsChart", 0},  {u"StatisticsTable", 0}, {u"StatisticsGraph", 0},
        {u"StatisticsWord", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CallLong(c.member), c.count) << plat::Utf16ToUtf8(c.member);
}

TEST_F(AutomationTest, ReferenceOpenedBeforeTheFirstIdleTickStaysShown)
{
    const plat::String path = SavedDocument("reference.qln", u"to look at");
    EXPECT_EQ(CallLong(u"CloseReference"), 0);
    EXPECT_FALSE(CallBool(u"CanShowReference"));
    EXPECT_TRUE(CallBool(u"OpenReference", {Variant::Str(path)}));
    EXPECT_TRUE(CallBool(u"IsShowReference"));
    Run(CQlMain::kIdlePeriodMs * 3);
    EXPECT_TRUE(CallBool(u"IsShowReference"));
    EXPECT_TRUE(CallBool(u"CanShowReference"));
    // Showing what is shown changes nothing.
    EXPECT_FALSE(CallBool(u"ShowReference", {Variant::Long(1)}));
    EXPECT_TRUE(CallBool(u"ShowReference", {Variant::Long(0)}));
    EXPECT_FALSE(CallBool(u"IsShowReference"));
    EXPECT_EQ(CallLong(u"CloseReference"), 0);
    EXPECT_FALSE(CallBool(u"CanShowReference"));
}

TEST_F(AutomationTest, CanTwinsGateTheirActions)
{
    ASSERT_TRUE(CallBool(u"FileNew"));
    EXPECT_FALSE(CallBool(u"CanEditUndo"));
    EXPECT_FALSE(CallBool(u"EditUndo"));
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"undo me")}));
    EXPECT_TRUE(CallBool(u"CanEditUndo"));
    EXPECT_TRUE(CallBool(u"EditUndo"));
    EXPECT_EQ(Text(), "");
    EXPECT_TRUE(CallBool(u"CanEditRedo"));
    EXPECT_TRUE(CallBool(u"EditRedo"));
    EXPECT_EQ(Text(), "undo me");
    // Ranges are checked after the tests and before the action.
    EXPECT_FALSE(CallBool(u"SetCharUnderline", {Variant::Long(4)}));
    EXPECT_TRUE(CallBool(u"SetCharUnderline", {Variant::Long(2)}));
    EXPECT_EQ(CallLong(u"GetCharUnderline"), 2);
    EXPECT_FALSE(CallBool(u"SetParaFormat", {Variant::Long(5)}));
    EXPECT_FALSE(CallBool(u"SetCharPos", {Variant::Long(3)}));
    EXPECT_FALSE(CallBool(u"SetParaGap", {Variant::Long(0)}));
}

TEST_F(AutomationTest, AuthorsRevisionsAndAnnotations)
{
    ASSERT_TRUE(CallBool(u"FileNew"));
    EXPECT_TRUE(CallBool(u"SetFileAuthor", {Variant::Long(1), Variant::Str(u"First")}));
    // One author: no revisions to show.
    EXPECT_FALSE(CallBool(u"CanDispEditStatus"));
    EXPECT_FALSE(CallBool(u"IsDispEditStatus"));
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"first words")}));
    const plat::String path = PathOf("authors.qln");
    ASSERT_TRUE(CallBool(u"FileSave", {Variant::Str(path)}));
    // The next editor of the file is another author.
    ASSERT_TRUE(CallBool(u"FileOpen", {Variant::Str(path), Variant::Long(0)}));
    EXPECT_TRUE(CallBool(u"SetFileAuthor", {Variant::Long(2), Variant::Str(u"Second")}));
    EXPECT_TRUE(CallBool(u"CanDispEditStatus"));
    EXPECT_TRUE(CallBool(u"IsDispEditStatus"));
    EXPECT_TRUE(CallBool(u"SetDispEditStatus", {Variant::Long(0)}));
    EXPECT_FALSE(CallBool(u"IsDispEditStatus"));
    // The same author again: the revisions go.
    EXPECT_TRUE(CallBool(u"SetFileAuthor", {Variant::Long(1), Variant::Str(u"First")}));
    EXPECT_FALSE(CallBool(u"CanDispEditStatus"));

    EXPECT_TRUE(CallBool(u"SetDispMarkStatus", {Variant::Long(1)}));
    EXPECT_TRUE(CallBool(u"IsDispMarkStatus"));
    EXPECT_TRUE(CallBool(u"SetDispMarkStatus", {Variant::Long(0)}));
    EXPECT_FALSE(CallBool(u"IsDispMarkStatus"));
    EXPECT_TRUE(CallBool(u"InsertMark", {Variant::Str(u"a note")}));
    EXPECT_TRUE(CallBool(u"IsFileModified"));
}

TEST_F(AutomationTest, ExportsTheDocument)
{
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"to paper")}));
    EXPECT_EQ(CallLong(u"ExportTotal"), 1);
    const plat::String pdf = PathOf("out.pdf");
    ASSERT_TRUE(CallBool(u"ExportPDF", {Variant::Str(pdf)}));
    std::ifstream in(Folder() / "out.pdf", std::ios::binary);
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_FALSE(CallBool(u"ExportPDF", {Variant::Str(PathOf("missing/out.pdf"))}));
}

TEST_F(AutomationTest, RtfAndTextFilesOpenAndAppend)
{
    // The control registers its RTF reader when the library starts; the fixture's clean-up
    // takes readers away between tests.
    RegisterRtfImporter();
    // Paragraph ends as line breaks.
    auto Paragraphs = [this] {
        std::string text = Text();
        std::replace(text.begin(), text.end(), '\0', '\n');
        return text;
    };
    const std::filesystem::path rtf = Folder() / "letter.rtf";
    std::ofstream(rtf) << "{\\rtf1{\\b bold} text\\par second}";
    const std::filesystem::path txt = Folder() / "notes.txt";
    std::ofstream(txt) << "plain\r\n\xb0\xa1";
    const plat::String rtfPath = PathOf("letter.rtf");
    const plat::String txtPath = PathOf("notes.txt");

    EXPECT_TRUE(CallBool(u"FileOpenRTF", {Variant::Str(rtfPath), Variant::Long(0)}));
    EXPECT_EQ(Paragraphs(), "bold text\nsecond");
    EXPECT_TRUE(CallBool(u"AppendText", {Variant::Str(txtPath)}));
    EXPECT_EQ(Paragraphs(), "bold text\nsecond\nplain\n啊");
    EXPECT_TRUE(CallBool(u"IsFileModified"));
    EXPECT_TRUE(CallBool(u"FileOpenText", {Variant::Str(txtPath), Variant::Long(0)}));
    EXPECT_EQ(Paragraphs(), "plain\n啊");
    EXPECT_FALSE(CallBool(u"IsFileModified"));
    EXPECT_TRUE(CallBool(u"AppendRTF", {Variant::Str(rtfPath)}));
    EXPECT_EQ(Paragraphs(), "plain\n啊\nbold text\nsecond");
    // A missing RTF file opens as an empty document; a missing text file is refused.
    EXPECT_TRUE(CallBool(u"FileOpenRTF", {Variant::Str(PathOf("missing.rtf")), Variant::Long(0)}));
    EXPECT_EQ(Paragraphs(), "");
    EXPECT_FALSE(CallBool(u"FileOpenText", {Variant::Str(PathOf("missing.txt")), Variant::Long(0)}));
    // The native open hands an RTF file to the RTF reader too.
    EXPECT_TRUE(CallBool(u"FileOpen", {Variant::Str(rtfPath), Variant::Long(1)}));
    EXPECT_EQ(Paragraphs(), "bold text\nsecond");
    EXPECT_TRUE(doc().IsReadOnly());
    EXPECT_FALSE(CallBool(u"AppendRTF", {Variant::Str(rtfPath)}));
    EXPECT_FALSE(CallBool(u"AppendText", {Variant::Str(txtPath)}));
    EXPECT_TRUE(CallBool(u"OpenReferenceRTF", {Variant::Str(rtfPath)}));
    EXPECT_TRUE(CallBool(u"OpenReferenceText", {Variant::Str(txtPath)}));
    EXPECT_TRUE(CallBool(u"IsShowReference"));
}

TEST_F(AutomationTest, PrintingRefusesEveryTestedMember)
{
    ASSERT_TRUE(CallBool(u"InsertString", {Variant::Str(u"on paper")}));
    ASSERT_TRUE(CallBool(u"CanFilePrint"));
    ASSERT_TRUE(CallBool(u"CanInsertString"));
    frame().GetMainView()->SetPrinting(true);
    EXPECT_TRUE(CallBool(u"IsFilePrinting"));
    // The members without a test of their own in the published interface.
    const std::vector<plat::String> untested = {
        u"GetAutoSave",         u"IsFileModified",   u"FileAuthorInfo",    u"IsFilePrinting", u"OpenReference",
        u"OpenReferenceMsWord", u"OpenReferenceRTF", u"OpenReferenceText", u"CloseReference", u"CanShowReference",
        u"ShowReference",       u"IsShowReference",  u"SetGraphBarMode",   u"UserDictionary", u"FileStatistics"};
    ExpectRefusals(*m_object, untested);
    EXPECT_EQ(Text(), "on paper");
    frame().GetMainView()->SetPrinting(false);
    EXPECT_TRUE(CallBool(u"CanInsertString"));
}

} // namespace
