#include "media/metafile_playback.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

// Larger renderings are made at this many pixels and stretched.
constexpr std::int64_t kMaxRenderPixels = std::int64_t(2048) * 2048;
MetafileWaits g_waits;

// The size a rendering for width × height pixels is made at.
std::pair<int, int> RenderSize(std::int64_t w, std::int64_t h)
{
    w = std::max<std::int64_t>(1, std::llabs(w));
    h = std::max<std::int64_t>(1, std::llabs(h));
    if (w * h > kMaxRenderPixels) {
        const double scale = std::sqrt(double(kMaxRenderPixels) / (double(w) * double(h)));
        w = std::max<std::int64_t>(1, std::int64_t(double(w) * scale));
        h = std::max<std::int64_t>(1, std::int64_t(double(h) * scale));
    }
    return {static_cast<int>(std::min<std::int64_t>(w, plat::Bitmap::kMaxSide)),
            static_cast<int>(std::min<std::int64_t>(h, plat::Bitmap::kMaxSide))};
}

} // namespace

std::unique_ptr<CMetafilePlayback> CMetafilePlayback::Start(const MetafilePlayer& play, int width, int height)
{
    const std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    auto run = plat::ForkedRun::Start(
        [&](void* shared) { return play(static_cast<std::uint32_t*>(shared), width, height); }, bytes,
        std::chrono::seconds(kPlaySeconds));
    if (!run) return nullptr;
    return std::unique_ptr<CMetafilePlayback>(new CMetafilePlayback(std::move(run), width, height));
}

CMetafilePlayback::~CMetafilePlayback() = default;

CMetafilePlayback::State CMetafilePlayback::Wait(std::chrono::milliseconds budget)
{
    switch (m_run->Wait(budget)) {
    case plat::ForkedRun::State::kRunning:
        return State::kRunning;
    case plat::ForkedRun::State::kDone:
        return State::kPlayed;
    case plat::ForkedRun::State::kFailed:
        break;
    }
    return State::kFailed;
}

std::unique_ptr<plat::Bitmap> CMetafilePlayback::TakeBitmap() const
{
    if (m_run->GetState() != plat::ForkedRun::State::kDone) return nullptr;
    auto bitmap = plat::Bitmap::Create(m_width, m_height);
    if (!bitmap) return nullptr;
    const auto* pixels = static_cast<const std::uint32_t*>(m_run->Shared());
    for (int y = 0; y < m_height; ++y) {
        std::uint32_t* row = bitmap->MutableRow(y);
        const std::uint32_t* in = pixels + std::size_t(y) * std::size_t(m_width);
        for (int x = 0; x < m_width; ++x) row[x] = in[x] & 0xFFFFFF;
    }
    return bitmap;
}

CPlayedMetafile::~CPlayedMetafile() = default;

bool CPlayedMetafile::Prepare()
{
    const auto [w, h] = RenderSize(HimetricToPixels(HimetricWidth(), plat::kScreenDpi),
                                   HimetricToPixels(HimetricHeight(), plat::kScreenDpi));
    return Rendering(w, h, g_waits.load) || !m_failed;
}

void CPlayedMetafile::Render(plat::Dc& dc, int x, int y, int cx, int cy)
{
    if (cx == 0 || cy == 0) return;
    const auto [w, h] = RenderSize(cx, cy);
    Rendering(w, h, g_waits.repaint);
    if (!m_rendered) {
        DrawMetafilePlaceholder(dc, x, y, cx, cy);
        return;
    }
    plat::MemoryDc source(&dc);
    source.Select(m_rendered.get());
    plat::StretchBlt(dc, x, y, cx, cy, &source, 0, 0, m_rendered->Width(), m_rendered->Height(), plat::kSrcCopy);
}

bool CPlayedMetafile::Covers(int width, int height) const
{
    return m_rendered && m_rendered->Width() >= width && m_rendered->Height() >= height;
}

// Makes sure a rendering of at least width × height pixels exists or is on its way; true
// when one is there. A playing started here is waited on at most budget, and so is one
// already under way while there is nothing at all to show; otherwise what was played
// before is drawn at once.
bool CPlayedMetafile::Rendering(int width, int height, std::chrono::milliseconds budget)
{
    Collect(std::chrono::milliseconds(0));
    if (Covers(width, height)) return true;
    if (m_playing && m_rendered) return false;
    if (!m_playing && !m_failed) {
        // At the largest size asked for so far in each direction.
        const auto [w, h] = m_rendered ? RenderSize(std::max(width, m_rendered->Width()),
                                                    std::max(height, m_rendered->Height()))
                                       : std::pair<int, int>(width, height);
        if (!Covers(w, h)) m_playing = CMetafilePlayback::Start(m_play, w, h);
        if (!m_playing) m_failed = true;
    }
    Collect(budget);
    return Covers(width, height);
}

// Takes the pixels of the playing under way once it is done, waiting at most budget.
void CPlayedMetafile::Collect(std::chrono::milliseconds budget)
{
    if (!m_playing) return;
    switch (m_playing->Wait(budget)) {
    case CMetafilePlayback::State::kRunning:
        return;
    case CMetafilePlayback::State::kPlayed:
        if (auto fresh = m_playing->TakeBitmap()) m_rendered = std::move(fresh);
        else m_failed = true;
        break;
    case CMetafilePlayback::State::kFailed:
        // A size that cannot be played is not tried again; what was played stays.
        m_failed = true;
        break;
    }
    m_playing.reset();
}

MetafileWaits GetMetafileWaits()
{
    return g_waits;
}

void SetMetafileWaits(const MetafileWaits& waits)
{
    g_waits = waits;
}
