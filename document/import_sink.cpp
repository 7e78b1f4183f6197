#include "document/import_sink.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

#include "document/char_format.h"
#include "document/doc_body.h"
#include "document/doc_commands.h"
#include "document/doc_header.h"
#include "document/float_object.h"
#include "document/ql_doc.h"
#include "document/text_item.h"
#include "media/image_cache.h"
#include "platform/base/saturate.h"
#include "platform/base/system.h"

namespace {

using NodeVector = std::vector<std::unique_ptr<CDocNode>>;

// Gap between the insertion paragraph and a pasted table or picture.
constexpr int kBelowInsertionGap = 210;
// A paragraph format of the sink always has this line-spacing code.
constexpr std::uint8_t kImportLineSpacing = 4;
// Page setup values the header keeps (its own record's limits).
constexpr std::int32_t kMaxPaperMm = 10000;
// Text area an imported page setup must leave, in millimetres.
constexpr std::int32_t kMinTextAreaMm = 10;

struct PageGeometry {
    plat::Rect margins;
    plat::Size paper;
    bool operator==(const PageGeometry&) const = default;
};

class CImportSink {
public:
    void Prepare(CQlDoc& doc, ImportMode mode);
    void Reset();
    void Flush();

    int InsertPos()
    {
        if (m_cell || m_cellJoined) return m_insertPos;
        CloseTextRun();
        return m_insertPos + static_cast<int>(m_pending.size());
    }

    CCharFormat& CharFormat() { return m_charFormat; }
    CParaFormat& ParaFormat() { return m_paraFormat; }
    bool HasTarget() const { return m_doc != nullptr; }

    // Text and paragraph ends go to the current cell or the body, through the gathered run.
    void AddText(plat::StringView text);
    void AddTextInFormat(plat::StringView text, const CCharFormat& format);
    void EndParagraph();

    void SetHeaderField(std::int32_t CDocHeader::*field, std::int32_t twips, bool paper);

    bool BeginTable(int rows, int columns, std::span<const std::int32_t> widths);
    void MergeRowCells(int row, std::span<const std::uint8_t> flags);
    void SetTableCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment, bool mergeUp);
    void EndTable();
    bool InsertPicture(std::string_view path, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                       std::int32_t xOffset);

    bool m_wholeRelayout = false;

private:
    // The gathered text becomes items of the target container.
    void CloseTextRun();
    CNamedContainer* TargetContainer() const;
    // Before a table or picture is placed: the page frames from the header, the regions,
    // and the lines of what was added since the last such relayout (or all of them).
    void RelayoutForPlacement();
    int PlacementTop() const;
    void DropTable();

    CQlDoc* m_doc = nullptr;
    int m_insertPos = 0;
    CCharFormat m_charFormat;
    CParaFormat m_paraFormat;
    bool m_pageSetupLocked = false;
    bool m_placeBelowInsertion = false;
    std::int32_t m_previousBottom = 0;

    // The table in progress and the cell its text goes to.
    std::unique_ptr<CFloatObject> m_table;
    CTableBuildTarget* m_tableBuild = nullptr;
    int m_tableRows = 0;
    int m_tableColumns = 0;
    CTextFlow* m_cell = nullptr;
    int m_cellPos = 0;
    // The current cell was joined to the one above: its text has nowhere to go and is
    // dropped (never put into the body at the table's place).
    bool m_cellJoined = false;

    // The gathered run: text in one format not yet made into items, and made items not yet
    // inserted (all of them go in at the container's position).
    plat::String m_text;
    std::optional<CCharFormat> m_textFormat;
    NodeVector m_pending;

    // The body index from which text has not been laid out yet, and the page geometry of
    // the last layout.
    int m_layoutFrom = 0;
    std::optional<PageGeometry> m_laidOutGeometry;
};

CImportSink& Sink()
{
    static CImportSink sink;
    return sink;
}

PageGeometry HeaderGeometry(const CDocHeader& h)
{
    return {h.GetMargins(), h.GetPaperSize()};
}

void CImportSink::Prepare(CQlDoc& doc, ImportMode mode)
{
    Reset();
    m_doc = &doc;
    m_charFormat = CCharFormat(&doc);
    m_paraFormat = CParaFormat();
    CDocBody& body = *doc.GetBody();
    switch (mode) {
    case ImportMode::kOpen:
        m_insertPos = 0;
        m_pageSetupLocked = false;
        m_placeBelowInsertion = false;
        break;
    case ImportMode::kAppend:
        m_insertPos = body.GetEndPos().m_index;
        m_pageSetupLocked = true;
        m_placeBelowInsertion = false;
        break;
    case ImportMode::kPaste:
        m_insertPos = body.GetCaretPos().m_index;
        m_pageSetupLocked = true;
        m_placeBelowInsertion = true;
        m_previousBottom = 0;
        break;
    }
    m_layoutFrom = m_insertPos;
    // The body is laid out in the document's geometry; a page setup that changes it asks
    // for a whole layout.
    m_laidOutGeometry = HeaderGeometry(*doc.GetHeader());
}

void CImportSink::Reset()
{
    // Gathered text belongs to the document it was meant for, never to the next one.
    m_text.clear();
    m_textFormat.reset();
    m_pending.clear();
    DropTable();
    m_doc = nullptr;
    m_laidOutGeometry.reset();
}

void CImportSink::DropTable()
{
    m_table.reset();
    m_tableBuild = nullptr;
    m_cell = nullptr;
    m_cellPos = 0;
    m_cellJoined = false;
    m_tableRows = m_tableColumns = 0;
}

CNamedContainer* CImportSink::TargetContainer() const
{
    if (m_cellJoined) return nullptr;
    if (m_cell) return m_cell;
    return m_doc ? m_doc->GetBody() : nullptr;
}

void CImportSink::CloseTextRun()
{
    if (m_text.empty()) return;
    if (CNamedContainer* target = TargetContainer()) target->MakeStringItems(m_pending, m_text, *m_textFormat);
    m_text.clear();
}

void CImportSink::Flush()
{
    CloseTextRun();
    CNamedContainer* target = TargetContainer();
    if (!target || m_pending.empty()) {
        m_pending.clear();
        return;
    }
    int& pos = m_cell ? m_cellPos : m_insertPos;
    pos = std::clamp(pos, 0, target->GetCount());
    target->InsertMadeItems(pos, m_pending);
}

void CImportSink::AddTextInFormat(plat::StringView text, const CCharFormat& format)
{
    if (!m_doc || text.empty()) return;
    if (m_textFormat && !(*m_textFormat == format)) CloseTextRun();
    if (m_text.empty()) m_textFormat = format;
    m_text.append(text.begin(), text.end());
}

void CImportSink::AddText(plat::StringView text)
{
    // Cut at the first zero, as the container's insertion is.
    const auto zero = std::find(text.begin(), text.end(), u'\0');
    text = text.substr(0, static_cast<size_t>(zero - text.begin()));
    if (text.empty()) return;
    if (text.front() == u'\t') {
        CCharFormat tabbed(m_charFormat);
        tabbed.m_westernFace = u"Times New Roman";
        AddTextInFormat(text, tabbed);
    } else {
        AddTextInFormat(text, m_charFormat);
    }
}

void CImportSink::EndParagraph()
{
    CNamedContainer* target = TargetContainer();
    if (!target) return;
    CloseTextRun();
    const std::size_t before = m_pending.size();
    target->MakeStringItems(m_pending, u"\r", m_charFormat);
    if (m_pending.size() > before)
        if (auto* end = dynamic_cast<CParaEndItem*>(m_pending.back().get())) end->SetParaFormat(m_paraFormat);
}

void CImportSink::SetHeaderField(std::int32_t CDocHeader::*field, std::int32_t twips, bool paper)
{
    if (!m_doc || m_pageSetupLocked) return;
    CDocHeader& header = *m_doc->GetHeader();
    const std::int32_t mm = static_cast<std::int32_t>(std::int64_t(twips) * 254 / 14400);
    // Values the header's own record would refuse, or that leave no text area, are not
    // taken: the page stays as it was.
    if (mm < (paper ? 1 : 0) || mm > kMaxPaperMm) return;
    const std::int32_t old = header.*field;
    header.*field = mm;
    if (header.m_paperWidth - header.m_marginLeft - header.m_marginRight < kMinTextAreaMm ||
        header.m_paperHeight - header.m_marginTop - header.m_marginBottom < kMinTextAreaMm)
        header.*field = old;
}

void CImportSink::RelayoutForPlacement()
{
    Flush();
    CDocBody& body = *m_doc->GetBody();
    const CDocHeader& h = *m_doc->GetHeader();
    const PageGeometry geometry = HeaderGeometry(h);
    body.SetPageGeometry(h.m_marginLeft, h.m_marginTop, h.m_marginRight, h.m_marginBottom, h.m_paperWidth,
                         h.m_paperHeight);
    body.BuildPageRegions();
    const int end = std::min(m_insertPos, body.GetCount() - 1);
    if (m_wholeRelayout || m_laidOutGeometry != geometry || m_layoutFrom <= 0) {
        body.RelayoutWhole();
    } else if (m_layoutFrom < end) {
        // A partial relayout over the items added since the last one: it places lines from
        // two paragraphs before them and stops where the text after them lands in place.
        CTextPos caret, anchor;
        body.GetSelectionPositions(caret, anchor);
        body.SetSelection(CTextPos(end, body.GetName()), CTextPos(m_layoutFrom, body.GetName()));
        body.RelayoutAroundEdit();
        body.SetSelection(caret, anchor);
    }
    m_laidOutGeometry = geometry;
    m_layoutFrom = m_insertPos;
}

int CImportSink::PlacementTop() const
{
    CDocBody& body = *m_doc->GetBody();
    if (!m_placeBelowInsertion) return body.GetContentBottom();
    int top = 0;
    if (const CTextItem* item = body.GetItem(m_insertPos))
        top = plat::SaturateI32(std::int64_t(item->GetTop()) + item->GetHeight() + kBelowInsertionGap);
    return std::max(top, m_previousBottom);
}

bool CImportSink::BeginTable(int rows, int columns, std::span<const std::int32_t> widths)
{
    if (!m_doc) return false;
    if (rows < 1 || columns < 1 || rows > kImportMaxTableRows || columns > kImportMaxTableColumns ||
        (rows == 1 && columns == 1) || widths.size() < static_cast<size_t>(columns))
        return false;
    // The table is made and its grid built before the old one goes, so that a refusal
    // leaves the state as it was.
    std::unique_ptr<CFloatObject> table = m_doc->MakeObject(kNodeTable, CNewObjectSource());
    auto* build = dynamic_cast<CTableBuildTarget*>(table.get());
    if (!build || !build->BeginGrid(rows, columns, widths.first(static_cast<size_t>(columns)))) return false;
    Flush();
    DropTable();
    m_table = std::move(table);
    m_tableBuild = build;
    m_tableRows = rows;
    m_tableColumns = columns;
    return true;
}

void CImportSink::MergeRowCells(int row, std::span<const std::uint8_t> flags)
{
    if (!m_tableBuild || row < 0 || row >= m_tableRows) return;
    if (flags.size() > static_cast<size_t>(m_tableColumns)) flags = flags.first(static_cast<size_t>(m_tableColumns));
    m_tableBuild->MergeRowCells(row, flags);
}

void CImportSink::SetTableCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                               bool mergeUp)
{
    if (!m_tableBuild || row < 0 || row >= m_tableRows || column < 0 || column >= m_tableColumns) return;
    Flush();
    m_cell = m_tableBuild->SetCell(row, column, alignment, verticalAlignment, mergeUp);
    m_cellJoined = m_cell == nullptr;
    m_cellPos = 0;
}

void CImportSink::EndTable()
{
    if (!m_table) return;
    // The last cell's text goes in before the cell stops being current.
    Flush();
    m_cell = nullptr;
    m_cellJoined = false;
    m_cellPos = 0;
    RelayoutForPlacement();
    std::unique_ptr<CFloatObject> table = std::move(m_table);
    DropTable();

    plat::Size size;
    if (auto* host = dynamic_cast<CTextHostObject*>(table.get())) size = host->RelayoutGrid();
    table->m_width = std::max(1, size.cx);
    table->m_height = std::max(1, size.cy);
    const int top = PlacementTop();
    const plat::Rect page = m_doc->GetPageRect(0);
    const int left = plat::SaturateI32(std::int64_t(page.left) + (std::int64_t(page.Width()) - table->m_width) / 2);
    table->m_bounds = plat::Rect(left, top, plat::SaturateI32(std::int64_t(left) + table->m_width),
                                 plat::SaturateI32(std::int64_t(top) + table->m_height));
    table->RecalcLayout();
    if (auto* insertable = dynamic_cast<CInsertableObject*>(table.get())) insertable->OnPlaced();
    m_previousBottom = table->m_bounds.bottom;
    m_doc->GetBody()->AddObject(std::move(table));
}

// Whether the path names a file directly inside the process's private temporary folder.
bool InPrivateTempDir(const plat::String& path)
{
    const plat::String dir = plat::TempDir();
    if (dir.empty() || path.size() <= dir.size() || path.compare(0, dir.size(), dir) != 0) return false;
    const plat::StringView rest = plat::StringView(path).substr(dir.size());
    return rest.find(u'/') == plat::StringView::npos && rest != u"." && rest != u"..";
}

bool CImportSink::InsertPicture(std::string_view path8, std::int32_t width, std::int32_t height,
                                std::uint8_t wrapMode, std::int32_t xOffset)
{
    if (!m_doc) return false;
    RelayoutForPlacement();
    const plat::String path = plat::Cp936ToUtf16(path8);
    CNewObjectSource source;
    source.path = path;
    source.noDeduplication = true;
    // A picture whose kind is missing or whose file does not read is not placed; the file
    // is still cleaned up below.
    if (std::unique_ptr<CFloatObject> picture = m_doc->MakeObject(kNodeImage, source)) {
        picture->m_wrapMode = std::min<std::uint8_t>(wrapMode, kWrapBoth);
        picture->m_width = std::max(1, width);
        picture->m_height = std::max(1, height);
        const int top = PlacementTop();
        const plat::Rect margins = m_doc->GetMargins();
        const int area = m_doc->GetTextAreaSize().cx;
        const std::int64_t marginLeft = std::int64_t(margins.left) * 1440 * 10 / 254;
        const std::int64_t offset = xOffset == kImportCentred ? (std::int64_t(area) - picture->m_width) / 2 : xOffset;
        const int left = plat::SaturateI32(marginLeft + offset);
        picture->m_bounds = plat::Rect(left, top, plat::SaturateI32(std::int64_t(left) + picture->m_width),
                                       plat::SaturateI32(std::int64_t(top) + picture->m_height));
        picture->RecalcLayout();
        dynamic_cast<CInsertableObject&>(*picture).OnPlaced();
        m_previousBottom = picture->m_bounds.bottom;
        m_doc->GetBody()->AddObject(std::move(picture));
    }
    // Only a reader's own picture file is ever deleted.
    if (!InPrivateTempDir(path)) return false;
    return std::remove(plat::Utf16ToUtf8(path).c_str()) == 0;
}

std::uint8_t ClampUnderline(std::uint8_t u)
{
    return u > 3 ? 1 : u;
}

} // namespace

void PrepareImportSink(CQlDoc& doc, ImportMode mode)
{
    Sink().Prepare(doc, mode);
}

void ImportFlush()
{
    Sink().Flush();
}

int GetImportInsertPos()
{
    return Sink().InsertPos();
}

void ResetImportSink()
{
    Sink().Reset();
}

void SetImportWholeRelayout(bool whole)
{
    Sink().m_wholeRelayout = whole;
}

void ImportSetFontNames(plat::StringView chineseFace, plat::StringView westernFace)
{
    CCharFormat& f = Sink().CharFormat();
    f.m_chineseFace = chineseFace == westernFace ? plat::String(u"宋体") : plat::String(chineseFace);
    f.m_westernFace = plat::String(westernFace);
}

void ImportSetFonts(plat::StringView chineseFace, plat::StringView westernFace, std::uint16_t size, std::uint8_t bold,
                    std::uint8_t italic, std::uint8_t underline, std::int32_t color, std::uint8_t position)
{
    ImportSetFontNames(chineseFace, westernFace);
    CCharFormat& f = Sink().CharFormat();
    f.m_size = size;
    f.m_bold = bold ? 1 : 0;
    f.m_italic = italic ? 1 : 0;
    f.m_underline = ClampUnderline(underline);
    f.m_color = color;
    f.m_position = position > 2 ? 0 : position;
}

void ImportSetFontSize(std::uint16_t size)
{
    Sink().CharFormat().m_size = size;
}

void ImportSetBold(std::uint8_t bold)
{
    Sink().CharFormat().m_bold = bold ? 1 : 0;
}

void ImportSetItalic(std::uint8_t italic)
{
    Sink().CharFormat().m_italic = italic ? 1 : 0;
}

void ImportSetUnderline(std::uint8_t underline)
{
    Sink().CharFormat().m_underline = ClampUnderline(underline);
}

void ImportSetColor(std::int32_t color)
{
    Sink().CharFormat().m_color = color;
}

void ImportSetCharPosition(std::uint8_t position)
{
    Sink().CharFormat().m_position = position > 2 ? 0 : position;
}

void ImportSetParaFormat(std::int32_t firstIndent, std::int32_t leftIndent, std::int32_t rightIndent,
                         std::uint8_t alignment)
{
    CImportSink& sink = Sink();
    CParaFormat& p = sink.ParaFormat();
    p.m_firstIndent = firstIndent;
    p.m_leftIndent = leftIndent;
    p.m_rightIndent = rightIndent;
    p.m_align = alignment;
    p.m_spacing = kImportLineSpacing;
    CDocContext* doc = sink.CharFormat().GetDoc();
    sink.CharFormat() = CCharFormat(doc);
}

void ImportEndParagraph()
{
    Sink().EndParagraph();
}

void ImportInsertText(plat::StringView text)
{
    Sink().AddText(text);
}

void ImportInsertTextA(std::string_view text)
{
    const auto zero = text.find('\0');
    ImportInsertText(plat::Cp936ToUtf16(text.substr(0, zero)));
}

void ImportInsertFieldText(std::string_view text)
{
    ImportInsertTextA(text);
}

void ImportInsertDate()
{
    const std::time_t now = static_cast<std::time_t>(plat::Now());
    std::tm tm{};
    localtime_r(&now, &tm);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    ImportInsertText(plat::Utf8ToUtf16(buffer));
}

void ImportPageSetup(std::int32_t paperWidth, std::int32_t paperHeight, std::int32_t left, std::int32_t right,
                     std::int32_t top, std::int32_t bottom)
{
    ImportPaperWidth(paperWidth);
    ImportPaperHeight(paperHeight);
    ImportMarginLeft(left);
    ImportMarginRight(right);
    ImportMarginTop(top);
    ImportMarginBottom(bottom);
}

void ImportPaperWidth(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_paperWidth, twips, true);
}

void ImportPaperHeight(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_paperHeight, twips, true);
}

void ImportMarginLeft(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_marginLeft, twips, false);
}

void ImportMarginRight(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_marginRight, twips, false);
}

void ImportMarginTop(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_marginTop, twips, false);
}

void ImportMarginBottom(std::int32_t twips)
{
    Sink().SetHeaderField(&CDocHeader::m_marginBottom, twips, false);
}

bool ImportBeginTable(int rows, int columns, std::span<const std::int32_t> widths)
{
    return Sink().BeginTable(rows, columns, widths);
}

void ImportMergeRowCells(int row, std::span<const std::uint8_t> flags)
{
    Sink().MergeRowCells(row, flags);
}

void ImportSetTableCell(int row, int column, std::uint8_t alignment, std::uint8_t verticalAlignment,
                        std::uint8_t mergeUp)
{
    Sink().SetTableCell(row, column, alignment, verticalAlignment, mergeUp != 0);
}

void ImportEndTable()
{
    Sink().EndTable();
}

bool ImportInsertPicture(std::string_view path, std::int32_t width, std::int32_t height, std::uint8_t wrapMode,
                         std::int32_t xOffset)
{
    return Sink().InsertPicture(path, width, height, wrapMode, xOffset);
}

void ImportInsertPictureFile(std::string_view path, std::int32_t width, std::int32_t height)
{
    if (width == 0 || height == 0) {
        CImageCache cache;
        cache.Load(plat::Cp936ToUtf16(path));
        const plat::Size pixels = cache.GetSize();
        cache.Release();
        width = static_cast<std::int32_t>(std::int64_t(pixels.cx) * 1440 / 96);
        height = static_cast<std::int32_t>(std::int64_t(pixels.cy) * 1440 / 96);
    }
    ImportInsertPicture(path, width, height, kWrapBoth, kImportCentred);
}
