#include "media/metafile_playback.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

// Larger renderings are made at this many pixels and stretched.
constexpr std::int64_t kMaxRenderPixels = std::int64_t(2048) * 2048;
MetafileWaits g_waits;
constexpr std::uint32_t kPlayedMark = 0x574D4621;

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
    // The pixels, then a word the child sets once they are all there.
    const std::size_t count = std::size_t(width) * std::size_t(height);
    const std::size_t bytes = (count + 1) * 4;
    void* shared = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) return nullptr;
    std::unique_ptr<CMetafilePlayback> playback(
        new CMetafilePlayback(static_cast<std::uint32_t*>(shared), bytes, width, height));
    const pid_t child = ::fork();
    if (child == 0) {
        // The alarm must end the child whatever the host did with the signal.
        ::signal(SIGALRM, SIG_DFL);
        sigset_t alarmOnly;
        sigemptyset(&alarmOnly);
        sigaddset(&alarmOnly, SIGALRM);
        ::sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
        ::alarm(kPlaySeconds);
        const bool played = play(playback->m_pixels, width, height);
        if (played) *playback->Done() = kPlayedMark;
        ::_exit(played ? 0 : 1);
    }
    if (child < 0) {
        playback->m_state = State::kFailed;
        return nullptr;
    }
    playback->m_child = child;
    return playback;
}

CMetafilePlayback::~CMetafilePlayback()
{
    if (m_state == State::kRunning && m_child > 0) {
        ::kill(m_child, SIGKILL);
        // Never a blocking wait: a host that ignores SIGCHLD would have it wait for
        // every child it has.
        while (Poll() == State::kRunning) ::usleep(200);
    }
    ::munmap(m_pixels, m_bytes);
}

CMetafilePlayback::State CMetafilePlayback::Wait(std::chrono::milliseconds budget)
{
    const auto until = std::chrono::steady_clock::now() + budget;
    useconds_t pause = 100;
    while (Poll() == State::kRunning) {
        if (std::chrono::steady_clock::now() >= until) break;
        ::usleep(pause);
        pause = std::min<useconds_t>(pause * 2, 2000);
    }
    return m_state;
}

std::unique_ptr<plat::Bitmap> CMetafilePlayback::TakeBitmap() const
{
    if (m_state != State::kPlayed) return nullptr;
    auto bitmap = plat::Bitmap::Create(m_width, m_height);
    if (!bitmap) return nullptr;
    for (int y = 0; y < m_height; ++y) {
        std::uint32_t* row = bitmap->MutableRow(y);
        const std::uint32_t* in = m_pixels + std::size_t(y) * std::size_t(m_width);
        for (int x = 0; x < m_width; ++x) row[x] = in[x] & 0xFFFFFF;
    }
    return bitmap;
}

CMetafilePlayback::State CMetafilePlayback::Poll()
{
    if (m_state != State::kRunning) return m_state;
    int status = 0;
    pid_t r;
    while ((r = ::waitpid(m_child, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (r == 0) return m_state;
    // A host that ignores SIGCHLD (or reaps its children itself) gets no status, only
    // the end of the child.
    const bool ended = r == m_child ? WIFEXITED(status) && WEXITSTATUS(status) == 0 : errno == ECHILD;
    m_state = ended && *Done() == kPlayedMark ? State::kPlayed : State::kFailed;
    return m_state;
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
