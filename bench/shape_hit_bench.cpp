// A page of 200 drawn shapes (straight lines, polylines and curve chains of up to 200
// points, overlapping): hit-testing a click as the page body does it (every object, front
// layer first, each shape under the click painted off-screen and its pixels read), and
// painting the page at 100 %; and the catalogue page of every basic shape, block arrow,
// polygon, star and flow-chart symbol at three sizes and as a rubber band, painted at 200 %.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "document/doc_body.h"
#include "document/doc_frame.h"
#include "document/doc_view.h"
#include "document/ql_doc.h"
#include "objects/drawing_kinds.h"
#include "objects/shape_object.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "tests/objects/shape_catalogue.h"

namespace {

constexpr int kShapes = 200;
constexpr int kMaxPoints = 200;

struct ShapePage {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CQlDoc doc{&view, &frame};
    std::vector<plat::Point> clicks;

    ShapePage()
    {
        RegisterDrawingKinds();
        doc.Reset();
        std::mt19937 rng(20261211);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const std::uint16_t codes[] = {0x1101, 0x1102, 0x1107};
        for (int k = 0; k < kShapes; ++k) {
            const std::uint16_t code = codes[k % 3];
            const int count = code == 0x1101 ? 2 : code == 0x1102 ? uniform(3, kMaxPoints) : 3 * uniform(1, 66) + 1;
            auto s = std::make_unique<CShapeObject>(&doc, nullptr, code);
            s->m_lineStyle = static_cast<std::uint8_t>(uniform(2, 9));
            const int left = uniform(1500, 9000), top = uniform(1500, 14000);
            const int w = uniform(300, 3000), h = uniform(300, 3000);
            s->m_bounds = plat::Rect(left, top, left + 1, top + 1);
            for (int i = 0; i < count; ++i) s->GetPoints().AddPoint(uniform(0, w), uniform(0, h));
            s->NormalizeToPoints();
            doc.GetBody()->AddObject(std::move(s));
        }
        doc.GetBody()->BuildPageRegions();
        doc.GetBody()->RelayoutWhole();
        for (int i = 0; i < 64; ++i) clicks.emplace_back(uniform(1500, 12000), uniform(1500, 17000));
    }
};

ShapePage& Page()
{
    static ShapePage* page = new ShapePage; // built once for every benchmark
    return *page;
}

void BM_HitTestClick(benchmark::State& state)
{
    ShapePage& page = Page();
    std::size_t i = 0;
    int hits = 0;
    for (auto _ : state) {
        const plat::Point p = page.clicks[i++ % page.clicks.size()];
        hits += page.doc.GetBody()->HitTest(p.x, p.y) != 1;
    }
    state.counters["hit share"] = benchmark::Counter(double(hits) / double(state.iterations()));
}
BENCHMARK(BM_HitTestClick)->Unit(benchmark::kMillisecond);

void BM_PaintShapePage(benchmark::State& state)
{
    ShapePage& page = Page();
    const plat::Size paper = page.doc.GetPaperSizeTwips();
    auto bmp = plat::Bitmap::Create(paper.cx / 15 + 2, paper.cy / 15 + 10);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    for (auto _ : state) {
        bmp->Fill(0xFFFFFF);
        page.doc.DrawPage(dc, 1.0, 0, 0, 0, 0);
    }
}
BENCHMARK(BM_PaintShapePage)->Unit(benchmark::kMillisecond);

struct CataloguePage {
    CHeadlessDocView view;
    CHeadlessDocFrame frame;
    CQlDoc doc{&view, &frame};

    CataloguePage()
    {
        RegisterDrawingKinds();
        doc.Reset();
        int k = 0;
        for (const shapetest::CatalogueShape& c : shapetest::Catalogue()) {
            auto s = std::make_unique<CShapeObject>(&doc, nullptr, c.code);
            s->m_fillStyle = static_cast<std::uint8_t>(k++ % 8 + 1);
            s->m_bounds = plat::Rect(600, 1200, 601, 1201);
            for (const plat::Point& p : c.points) s->GetPoints().AddPoint(p.x * 15, p.y * 15);
            s->NormalizeToPoints();
            doc.GetBody()->AddObject(std::move(s));
        }
        doc.GetBody()->BuildPageRegions();
        doc.GetBody()->RelayoutWhole();
    }
};

void BM_PaintCataloguePage200(benchmark::State& state)
{
    static CataloguePage* page = new CataloguePage;
    const plat::Size paper = page->doc.GetPaperSizeTwips();
    auto bmp = plat::Bitmap::Create(paper.cx * 2 / 15 + 4, paper.cy * 2 / 15 + 20);
    plat::MemoryDc dc;
    dc.Select(bmp.get());
    for (auto _ : state) {
        bmp->Fill(0xFFFFFF);
        page->doc.DrawPage(dc, 2.0, 0, 0, 0, 0);
    }
    state.counters["shapes"] = double(page->doc.GetBody()->GetObjectCount());
    // The share of the page the shapes painted, so that a page left blank shows.
    long inked = 0;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) inked += (bmp->GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    state.counters["inked share"] = double(inked) / (double(bmp->Width()) * bmp->Height());
}
BENCHMARK(BM_PaintCataloguePage200)->Unit(benchmark::kMillisecond);

} // namespace
