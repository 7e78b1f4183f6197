#include <gtest/gtest.h>

#include "media/image_prop_dlg.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/window.h"
#include "tests/media/image_object_support.h"

using namespace imagetest;

namespace {

// The dialog draws its preview control into a black bitmap of that size.
std::unique_ptr<plat::Bitmap> DrawPreview(plat::Dialog& dialog, int width, int height)
{
    auto bitmap = plat::Bitmap::Create(width, height);
    bitmap->Fill(0);
    plat::MemoryDc dc;
    dc.Select(bitmap.get());
    plat::DrawItem item;
    item.ctlId = CImagePropDlg::kIdcPreview;
    item.dc = &dc;
    item.rect = plat::Rect(0, 0, width, height);
    SendMessage(&dialog, plat::kWmDrawItem, CImagePropDlg::kIdcPreview, reinterpret_cast<plat::LParam>(&item));
    return bitmap;
}

} // namespace

TEST(ImagePropDlg, PreviewsFitTheBoxKeepingTheirProportions)
{
    const plat::Rect box(1, 1, 351, 263); // 350 x 262
    const struct {
        int w, h;
        plat::Rect at;
    } cases[] = {
        {100, 50, plat::Rect(1 + 125, 1 + 106, 1 + 225, 1 + 156)}, // own size, centred
        {1000, 500, plat::Rect(1, 1 + 43, 351, 1 + 43 + 175)},      // 350 x 175
        {500, 1000, plat::Rect(1 + 109, 1, 1 + 109 + 131, 263)},     // 131 x 262
        {700, 524, plat::Rect(1, 1, 351, 263)},                      // same proportions: fills
    };
    for (const auto& c : cases) EXPECT_EQ(CImagePropDlg::PreviewRect(box, c.w, c.h), c.at) << c.w << "x" << c.h;
}

TEST(ImagePropDlg, OkChangesCaptionAndWrapModeAndCancelLeavesThem)
{
    ShownDoc d;
    CImageObject& image = d.Insert(TwoColours());
    image.m_wrapMode = kWrapBoth;
    d.doc.SetModified(false);
    int previewWhite = -1, previewRed = -1;
    // "Right" sinks, then Cancel: nothing changes.
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* dialog = plat::DialogOf(run);
        if (!dialog) return std::nullopt;
        EXPECT_EQ(dialog->GetDlgItemText(CImagePropDlg::kIdcWidth), u"40");
        EXPECT_EQ(dialog->GetDlgItemText(CImagePropDlg::kIdcHeight), u"20");
        EXPECT_TRUE(dialog->PressButton(CImagePropDlg::kIdcWrapNone + 2));
        EXPECT_EQ(static_cast<CImagePropDlg*>(dialog)->m_wrapMode, 2);
        // The preview: the picture at its own size in the middle, white around it.
        auto bitmap = DrawPreview(*dialog, 352, 264);
        previewWhite = static_cast<int>(bitmap->GetPixel(5, 5));
        previewRed = static_cast<int>(bitmap->GetPixel(176 - 15, 132));
        return plat::kIdCancel;
    });
    EXPECT_EQ(image.ShowProperties(), 0);
    EXPECT_EQ(previewWhite, 0xFFFFFF);
    EXPECT_EQ(previewRed, 0x0000FF);
    EXPECT_EQ(d.Image().m_wrapMode, kWrapBoth);
    EXPECT_FALSE(d.doc.IsModified());

    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* dialog = plat::DialogOf(run);
        if (!dialog) return std::nullopt;
        dialog->PressButton(CImagePropDlg::kIdcWrapNone + 2);
        dialog->TypeInto(CImagePropDlg::kIdcNote, u"图注");
        return plat::kIdOk;
    });
    EXPECT_EQ(d.Image().ShowProperties(), 1);
    EXPECT_EQ(d.Image().m_wrapMode, kWrapRight);
    EXPECT_EQ(d.Image().GetCaption(), u"图注");
    EXPECT_TRUE(d.doc.IsModified());
    EXPECT_GT(d.Image().m_bounds.Height(), d.Image().m_height) << "the caption sits under the picture";
    d.doc.EditUndo();
    EXPECT_EQ(d.Image().m_wrapMode, kWrapBoth);
    EXPECT_EQ(d.Image().GetCaption(), u"");
}

TEST(ImagePropDlg, AnUnreadablePictureLeavesAWhitePreview)
{
    ShownDoc d;
    CImagePropDlg dialog(nullptr);
    dialog.m_picturePath = u"/no/such/picture.bmp";
    plat::AnswerNextModal([&](const plat::ModalRecord& run) -> std::optional<int> {
        plat::Dialog* shown = plat::DialogOf(run);
        if (!shown) return std::nullopt;
        auto bitmap = DrawPreview(*shown, 40, 40);
        for (int y = 0; y < 40; y += 13)
            for (int x = 0; x < 40; x += 13) EXPECT_EQ(bitmap->GetPixel(x, y), 0xFFFFFFu);
        return plat::kIdCancel;
    });
    EXPECT_EQ(dialog.DoModal(), plat::kIdCancel);
}
