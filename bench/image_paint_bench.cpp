// Repainting a page that holds 20 turned 4000 x 3000 JPEG pictures at 100 %, after the
// first paint. The pictures are made at the start in a temporary folder by the JPEG saver.
#include <benchmark/benchmark.h>
#include <filesystem>

#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/format_state.h"
#include "document/ql_doc.h"
#include "document/render_context.h"
#include "media/image_object.h"
#include "media/jpeg_file_saver.h"
#include "media/media_kinds.h"
#include "platform/base/system.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

struct Windows : CHeadlessDocView, CHeadlessDocFrame {};

void BM_RepaintTwentyTurnedPictures(benchmark::State& state)
{
    RegisterMediaKinds();
    Windows windows;
    CQlDoc doc(&windows, &windows);
    doc.Reset();
    const std::filesystem::path dir = std::filesystem::path(plat::TempDirUtf8()) / "image-paint-bench";
    std::filesystem::create_directories(dir);
    for (int i = 0; i < 20; ++i) {
        auto picture = plat::Bitmap::Create(4000, 3000);
        picture->Fill(0x203040 + 0x010101 * i);
        const std::string path = (dir / ("picture" + std::to_string(i) + ".jpg")).string();
        CJpegFileSaver().SaveBitmap(plat::Utf8ToUtf16(path), picture.get());
        doc.GetBody()->DeselectAll();
        // Small boxes over the first page, each turned a little more.
        if (doc.InsertImage(plat::Utf8ToUtf16(path), u"", 1200 + (i % 4) * 2200, 1200 + (i / 4) * 2800, 1800, 1350) != 1)
            state.SkipWithError("insert failed");
        auto& image = dynamic_cast<CImageObject&>(*doc.GetBody()->GetObject(doc.GetBody()->GetObjectCount() - 1));
        image.m_bounds.top = 1200 + (i / 4) * 2800;
        image.OnPlaced();
        doc.GetFormatState()->m_tableZone = CImageObject::kHitP2;
        const plat::Point p0 = image.GetCorners()[0];
        image.TrackTo(p0.x + 1000, p0.y - 100 * (i + 1));
    }
    auto page = plat::Bitmap::Create(800, 1100);
    plat::MemoryDc dc;
    dc.Select(page.get());
    auto paint = [&] {
        CRenderContext rc(&doc, dc);
        for (int i = 0; i < doc.GetBody()->GetObjectCount(); ++i) doc.GetBody()->GetObject(i)->Draw(dc, 1.0, 0, 0, 1, rc);
        rc.Restore(dc);
    };
    paint(); // the first paint scales each picture for the zoom
    for (auto _ : state) paint();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RepaintTwentyTurnedPictures)->Unit(benchmark::kMillisecond);

} // namespace
