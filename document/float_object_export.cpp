// The base bodies of the page objects' HTML and RTF writers: the object as a picture of
// its own appearance at zoom 1.0, written as a JPEG file that the page refers to, or as
// hexadecimal picture data inside the RTF. The wrapped HTML writers also write the text
// that stands beside the object. Kinds with content of their own (tables, media, charts)
// override what applies to them.
#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "document/doc_body.h"
#include "document/float_object.h"
#include "document/html_export.h"
#include "document/rtf_tables.h"
#include "document/text_item.h"
#include "document/units.h"
#include "media/jpeg_file_saver.h"
#include "platform/base/system.h"
#include "platform/file/file.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

// The object's box in screen pixels at zoom 1.0, both edges included.
plat::Size PicturePixels(CFloatObject& object)
{
    const plat::Dc desktop;
    const plat::Rect box = object.GetBounds();
    const plat::Rect px = TwipsToPixelsRect(desktop, 1.0, box.left, box.top, box.right, box.bottom);
    return plat::Size(px.right - px.left + 1, px.bottom - px.top + 1);
}

// Renders the object into a JPEG file; a picture that could not be written fails the
// export, which then reports it instead of referring to a missing or partial file.
plat::Size RenderPicture(CFloatObject& object, const plat::String& path, plat::FileDurability durability)
{
    const plat::Size size = PicturePixels(object);
    std::unique_ptr<plat::Bitmap> bitmap;
    if (size.cx > 0 && size.cy > 0 && size.cx <= plat::Bitmap::kMaxSide && size.cy <= plat::Bitmap::kMaxSide)
        bitmap = object.RenderBitmap(size.cx, size.cy, 3);
    if (!bitmap || !CJpegFileSaver(durability).SaveBitmap(path, bitmap.get()))
        throw plat::FileException(plat::FileException::kGeneric, plat::Utf16ToUtf8(path), errno);
    return size;
}

// The RTF picture data of the object: rendered into a scratch file of its own in the
// private temporary folder, read back and removed.
std::vector<std::uint8_t> RenderRtfJpeg(CFloatObject& object, plat::Size& size)
{
    static std::atomic<int> serial{0};
    const plat::String path = plat::TempDir() + plat::Format(u"rtf-%d.jpg", serial++);
    std::vector<std::uint8_t> bytes;
    try {
        size = RenderPicture(object, path, plat::FileDurability::kScratch);
        plat::File file(path, plat::File::kRead);
        bytes.resize(static_cast<size_t>(file.GetLength()));
        if (file.Read(bytes.data(), bytes.size()) != bytes.size())
            throw plat::FileException(plat::FileException::kEndOfFile, plat::Utf16ToUtf8(path));
    } catch (...) {
        plat::File::Remove(path);
        throw;
    }
    plat::File::Remove(path);
    return bytes;
}

void WritePictGroupBody(plat::Stream& out, CFloatObject& object)
{
    plat::Size size;
    const std::vector<std::uint8_t> jpeg = RenderRtfJpeg(object, size);
    const plat::Rect box = object.GetBounds();
    WriteAscii(out, "\\picw" + std::to_string(size.cx) + "\\pich" + std::to_string(size.cy) + "\\picwgoal" +
                        std::to_string(box.right - box.left) + "\\pichgoal" + std::to_string(box.bottom - box.top) +
                        "\\jpegblip\n");
    WriteRtfHexLines(out, jpeg);
}

plat::String PicturePath(const plat::String& folderPath, const plat::String& name)
{
    return folderPath + u"/" + name + u".jpg";
}

// The text of one side of a wrapped object: the items from the index whose top-left
// corner lies in the region, up to the final paragraph end, as paragraphs and runs of the
// variant. The index stays on the first item not written.
void WriteRegionText(plat::Stream& out, bool wide, CDocBody& body, plat::Dc& dc, const plat::Rect& region,
                     int& index)
{
    CParaFormatHtmlState para;
    CHtmlRunState run;
    auto open = [&](int i) {
        para.Assign(body.GetParaFormatAt(i));
        if (wide) {
            body.HtmlOpenParagraphW(out, dc, para, i);
            body.HtmlOpenRunW(out, *body.GetItem(i), run);
        } else {
            body.HtmlOpenParagraph(out, dc, para, i);
            body.HtmlOpenRun(out, *body.GetItem(i), run);
        }
    };
    auto close = [&] {
        if (wide) {
            CTextFlow::HtmlCloseRunW(out, run);
            CTextFlow::HtmlCloseParagraphW(out);
        } else {
            HtmlCloseRun(out, run);
            CTextFlow::HtmlCloseParagraph(out);
        }
    };
    open(index);
    for (; index < body.GetCount(); ++index) {
        const CTextItem& item = *body.GetItem(index);
        if (!region.Contains(plat::Point(item.GetLeft(), item.GetTop())) || item.GetNodeType() == kItemFinalParaEnd)
            break;
        if (item.IsDeleted() || item.GetNodeType() == kItemAnchor) continue;
        if (IsParaBreakType(item.GetNodeType())) {
            close();
            open(index + 1);
        } else if (item.GetNodeType() == kItemSpace) {
            if (wide)
                CTextFlow::HtmlWriteSpaceItemW(out, item);
            else
                CTextFlow::HtmlWriteSpaceItem(out, item);
        } else if (wide) {
            body.HtmlUpdateRunW(out, item, run);
            CTextFlow::HtmlWriteCharW(out, item);
        } else {
            body.HtmlUpdateRun(out, item, run);
            CTextFlow::HtmlWriteChar(out, item);
        }
    }
    close();
}

plat::Rect Normalized(int left, int top, int right, int bottom)
{
    return plat::Rect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

} // namespace

int CFloatObject::WriteHtml(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                            const plat::String& name, bool rightAligned)
{
    const plat::Size size = RenderPicture(*this, PicturePath(folderPath, name), plat::FileDurability::kSynced);
    WriteCp936(out, plat::Format(rightAligned ? u"<img width=%d height=%d src=\"%s/%s.jpg\" align=right>\n"
                                              : u"<img width=%d height=%d src=\"%s/%s.jpg\" align=left>\n",
                                 size.cx, size.cy, folderRef, name));
    return 1;
}

int CFloatObject::WriteHtmlW(plat::Stream& out, const plat::String& folderPath, const plat::String& folderRef,
                             const plat::String& name, bool rightAligned)
{
    const plat::String path = PicturePath(folderPath, name);
    const plat::Size size = RenderPicture(*this, path, plat::FileDurability::kSynced);
    m_exportName = path;
    WriteStringW(out, plat::Format(rightAligned
                                       ? u"<img width=\"%d\" height=\"%d\" src=\"%s/%s.jpg\" align=\"right\"/>\n"
                                       : u"<img width=\"%d\" height=\"%d\" src=\"%s/%s.jpg\" align=\"left\"/>\n",
                                   size.cx, size.cy, folderRef, name));
    return 1;
}

int CFloatObject::WriteHtmlWrapped(plat::Stream& out, const plat::String& folderPath,
                                   const plat::String& folderRef, const plat::String& name, CDocBody& body,
                                   plat::Dc& refDc, const plat::Rect& areaTwips, const plat::Rect& areaPixels,
                                   int& itemIndex)
{
    return WriteWrapped(out, false, folderPath, folderRef, name, body, refDc, areaTwips, areaPixels, itemIndex);
}

int CFloatObject::WriteHtmlWrappedW(plat::Stream& out, const plat::String& folderPath,
                                    const plat::String& folderRef, const plat::String& name, CDocBody& body,
                                    plat::Dc& refDc, const plat::Rect& areaTwips, const plat::Rect& areaPixels,
                                    int& itemIndex)
{
    return WriteWrapped(out, true, folderPath, folderRef, name, body, refDc, areaTwips, areaPixels, itemIndex);
}

int CFloatObject::WriteWrapped(plat::Stream& out, bool wide, const plat::String& folderPath,
                               const plat::String& folderRef, const plat::String& name, CDocBody& body,
                               plat::Dc& refDc, const plat::Rect& areaTwips, const plat::Rect& areaPixels,
                               int& itemIndex)
{
    const plat::Rect box = GetBounds();
    const int leftWidth = TwipsToPixels(refDc, 1.0, box.left - areaTwips.left);
    const int middleWidth = TwipsToPixels(refDc, 1.0, box.right - box.left);
    const int rightWidth = TwipsToPixels(refDc, 1.0, areaTwips.right - box.right);
    const plat::Rect leftRegion = Normalized(areaTwips.left, box.top, box.left, box.bottom);
    const plat::Rect rightRegion =
        Normalized(box.right, box.top, areaTwips.right + CDocBody::kRegionGap, box.bottom);
    const auto put = [&](const plat::String& text) {
        if (wide)
            WriteStringW(out, text);
        else
            WriteCp936(out, text);
    };
    const auto startsIn = [&](const plat::Rect& region) {
        const CTextItem* item = body.GetItem(itemIndex);
        return item && region.Contains(plat::Point(item->GetLeft(), item->GetTop()));
    };

    put(plat::Format(u"<table border=\"0\" width=\"%dpx\">\n", areaPixels.right - areaPixels.left));
    if (leftWidth > 0 && startsIn(leftRegion)) {
        put(plat::Format(u"<td width=\"%dpx\">\n", leftWidth));
        WriteRegionText(out, wide, body, refDc, leftRegion, itemIndex);
        put(u"</td>\n");
    }
    if (wide) {
        put(plat::Format(u"<td width=\"%dpx\" style=\"text-align:center\">\n", middleWidth));
        WriteHtmlW(out, folderPath, folderRef, name, false);
    } else {
        put(plat::Format(u"<td width=%dpx; style='text-align:center'>\n", middleWidth));
        WriteHtml(out, folderPath, folderRef, name, false);
    }
    put(u"</td>\n");
    if (rightWidth > 0 && startsIn(rightRegion)) {
        put(plat::Format(wide ? u"<td width=\"%dpx\">\n" : u"<td width=%dpx>\n", rightWidth));
        WriteRegionText(out, wide, body, refDc, rightRegion, itemIndex);
        put(u"</td>\n");
    }
    put(u"</table>\n");
    return 1;
}

void CFloatObject::WriteRtfPicture(plat::Stream& out, const CRtfFontTable&, const CRtfColorTable&)
{
    WriteAscii(out, "{\\pict");
    WritePictGroupBody(out, *this);
    WriteAscii(out, "}\n");
}

void CFloatObject::WriteRtfShape(plat::Stream& out, int originX, int originY, const CRtfFontTable&,
                                 const CRtfColorTable&)
{
    const plat::Rect box = GetBounds();
    std::string head = "\n{\\shp{\\*\\shpinst";
    head += "\\shpleft" + std::to_string(std::int64_t(box.left) - originX);
    head += "\\shptop" + std::to_string(std::int64_t(box.top) - originY);
    head += "\\shpright" + std::to_string(std::int64_t(box.right) - originX);
    head += "\\shpbottom" + std::to_string(std::int64_t(box.bottom) - originY);
    head += "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypara";
    switch (m_wrapMode) {
    case kWrapNone: head += "\\shpwr1"; break;
    case kWrapLeft: head += "\\shpwr2\\shpwrk1"; break;
    case kWrapRight: head += "\\shpwr2\\shpwrk2"; break;
    case kWrapBoth: head += "\\shpwr2\\shpwrk0"; break;
    default: break;
    }
    head += "\\shpz" + std::to_string(m_layer) + "\n";
    WriteAscii(out, head);
    WriteAscii(out, "{\\sp{\\sn shapeType}{\\sv 75}}\n{\\sp{\\sn pib}{\\sv {\\pict\\picscalex100\\picscaley100"
                    "\\piccropl0\\piccropr0\\piccropt0\\piccropb0");
    WritePictGroupBody(out, *this);
    WriteAscii(out, "}}}}}\n");
}
