#include "media/wmf_picture.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <utility>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/base/byte_order.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"
#include "platform/gfx/raster_ops.h"

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kHeaderBytes = 18;
// Larger renderings are made at this many pixels and stretched.
constexpr std::int64_t kMaxRenderPixels = std::int64_t(2048) * 2048;
// A metafile that takes longer than this to play is given up.
constexpr unsigned kPlaySeconds = 10;
// How long a load waits for the first playing, and a drawing for a playing at a new size:
// what a page repaint can afford. A playing that takes longer goes on in the background.
constexpr std::chrono::milliseconds kLoadWait{500};
constexpr std::chrono::milliseconds kRepaintWait{250};
constexpr std::uint32_t kPlayedMark = 0x574D4621;

// Plays the metafile into width × height pixels (0xAARRGGBB, the alpha byte 0 for
// opaque up to 127 for clear) in this process.
bool PlayHere(const std::vector<std::uint8_t>& data, double pointsWide, double pointsHigh, int width, int height,
              std::uint32_t* out)
{
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_gd_function;
    wmfAPI* api = nullptr;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return false;
    }
    wmf_gd_t* gd = WMF_GD_GetData(api);
    gd->type = wmf_gd_image;
    bool ok = wmf_mem_open(api, const_cast<unsigned char*>(data.data()), static_cast<long>(data.size())) == wmf_E_None;
    wmfD_Rect bounds{};
    ok = ok && wmf_scan(api, 0, &bounds) == wmf_E_None;
    if (ok) {
        // Map the picture's frame from the placeable header, not the extent of what it
        // draws, onto the pixels: libwmf's units are points from the window origin.
        gd->bbox.TL.x = 0;
        gd->bbox.TL.y = 0;
        gd->bbox.BR.x = static_cast<float>(pointsWide);
        gd->bbox.BR.y = static_cast<float>(pointsHigh);
        gd->width = static_cast<unsigned>(width);
        gd->height = static_cast<unsigned>(height);
        ok = wmf_play(api, 0, &bounds) == wmf_E_None;
    }
    const int* pixels = ok && gd->gd_image ? wmf_gd_image_pixels(gd->gd_image) : nullptr;
    if (pixels) std::memcpy(out, pixels, std::size_t(width) * std::size_t(height) * 4);
    wmf_api_destroy(api);
    return pixels != nullptr;
}

// libwmf is not ours and has a long record of faults on bad files: it plays each
// metafile in a child process, which hands the pixels back through shared memory, so
// that a crash or a hang costs the picture and not the host. A playing is waited on only
// as long as the caller can afford (a load, a repaint); one that takes longer goes on in
// the background, up to kPlaySeconds, and a later drawing picks up its pixels.
class CPlayback {
public:
    enum class State { kRunning, kPlayed, kFailed };

    // Starts playing into width × height pixels; nullptr when no child can be started.
    static std::unique_ptr<CPlayback> Start(const std::vector<std::uint8_t>& data, double pointsWide,
                                            double pointsHigh, int width, int height)
    {
        // The pixels, then a word the child sets once they are all there.
        const std::size_t count = std::size_t(width) * std::size_t(height);
        const std::size_t bytes = (count + 1) * 4;
        void* shared = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (shared == MAP_FAILED) return nullptr;
        std::unique_ptr<CPlayback> playback(new CPlayback(static_cast<std::uint32_t*>(shared), bytes, width, height));
        const pid_t child = ::fork();
        if (child == 0) {
            // The alarm must end the child whatever the host did with the signal.
            ::signal(SIGALRM, SIG_DFL);
            sigset_t alarmOnly;
            sigemptyset(&alarmOnly);
            sigaddset(&alarmOnly, SIGALRM);
            ::sigprocmask(SIG_UNBLOCK, &alarmOnly, nullptr);
            ::alarm(kPlaySeconds);
            const bool played = PlayHere(data, pointsWide, pointsHigh, width, height, playback->m_pixels);
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

    ~CPlayback()
    {
        if (m_state == State::kRunning && m_child > 0) {
            ::kill(m_child, SIGKILL);
            // Never a blocking wait: a host that ignores SIGCHLD would have it wait for
            // every child it has.
            while (Poll() == State::kRunning) ::usleep(200);
        }
        ::munmap(m_pixels, m_bytes);
    }
    CPlayback(const CPlayback&) = delete;
    CPlayback& operator=(const CPlayback&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Waits for the child at most that long, without blocking past it.
    State Wait(std::chrono::milliseconds budget)
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

    // The played pixels onto white, as the page under a picture is; nullptr unless played.
    std::unique_ptr<plat::Bitmap> TakeBitmap() const
    {
        if (m_state != State::kPlayed) return nullptr;
        auto bitmap = plat::Bitmap::Create(m_width, m_height);
        if (!bitmap) return nullptr;
        for (int y = 0; y < m_height; ++y) {
            std::uint32_t* row = bitmap->MutableRow(y);
            const std::uint32_t* in = m_pixels + std::size_t(y) * std::size_t(m_width);
            for (int x = 0; x < m_width; ++x) {
                const std::uint32_t p = in[x];
                const std::uint32_t clear = std::min<std::uint32_t>((p >> 24) & 0x7F, 127);
                auto channel = [&](int shift) {
                    const std::uint32_t c = (p >> shift) & 0xFF;
                    return ((c * (127 - clear) + 255 * clear + 63) / 127) << shift;
                };
                row[x] = channel(16) | channel(8) | channel(0);
            }
        }
        return bitmap;
    }

private:
    CPlayback(std::uint32_t* pixels, std::size_t bytes, int width, int height)
        : m_pixels(pixels), m_bytes(bytes), m_width(width), m_height(height) {}

    volatile std::uint32_t* Done() const { return m_pixels + std::size_t(m_width) * std::size_t(m_height); }

    State Poll()
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

    std::uint32_t* m_pixels;
    std::size_t m_bytes;
    int m_width;
    int m_height;
    pid_t m_child = -1;
    State m_state = State::kRunning;
};

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

// A WMF picture: played once into a bitmap at the largest size drawn so far, which every
// smaller drawing reuses, stretched; only a larger size plays it again. While nothing has
// been played it shows the placeholder frame.
class CWmfPicture : public CPictureFile {
public:
    CWmfPicture(std::vector<std::uint8_t> data, std::int32_t himetricWidth, std::int32_t himetricHeight,
                double pointsWide, double pointsHigh)
        : CPictureFile(Kind::kMetafile, himetricWidth, himetricHeight), m_data(std::move(data)),
          m_pointsWide(pointsWide), m_pointsHigh(pointsHigh) {}

    // Starts playing the metafile at its own size, so that a file libwmf cannot play is
    // refused when it is loaded; one still playing after kLoadWait is kept, and drawn
    // once it is done.
    bool Prepare()
    {
        const auto [w, h] = RenderSize(HimetricToPixels(HimetricWidth(), plat::kScreenDpi),
                                       HimetricToPixels(HimetricHeight(), plat::kScreenDpi));
        return Rendering(w, h, kLoadWait) || !m_failed;
    }

    void Render(plat::Dc& dc, int x, int y, int cx, int cy) override
    {
        if (cx == 0 || cy == 0) return;
        const auto [w, h] = RenderSize(cx, cy);
        Rendering(w, h, kRepaintWait);
        if (!m_rendered) {
            DrawMetafilePlaceholder(dc, x, y, cx, cy);
            return;
        }
        plat::MemoryDc source(&dc);
        source.Select(m_rendered.get());
        plat::StretchBlt(dc, x, y, cx, cy, &source, 0, 0, m_rendered->Width(), m_rendered->Height(), plat::kSrcCopy);
    }

private:
    bool Covers(int width, int height) const
    {
        return m_rendered && m_rendered->Width() >= width && m_rendered->Height() >= height;
    }

    // Makes sure a rendering of at least width × height pixels exists or is on its way;
    // true when one is there. A playing started here is waited on at most budget, and so
    // is one already under way while there is nothing at all to show; otherwise what
    // was played before is drawn at once.
    bool Rendering(int width, int height, std::chrono::milliseconds budget)
    {
        Collect(std::chrono::milliseconds(0));
        if (Covers(width, height)) return true;
        if (m_playing && m_rendered) return false;
        if (!m_playing && !m_failed) {
            // At the largest size asked for so far in each direction.
            const auto [w, h] = m_rendered ? RenderSize(std::max(width, m_rendered->Width()),
                                                        std::max(height, m_rendered->Height()))
                                           : std::pair<int, int>(width, height);
            if (!Covers(w, h)) m_playing = CPlayback::Start(m_data, m_pointsWide, m_pointsHigh, w, h);
            if (!m_playing) m_failed = true;
        }
        Collect(budget);
        return Covers(width, height);
    }

    // Takes the pixels of the playing under way once it is done, waiting at most budget.
    void Collect(std::chrono::milliseconds budget)
    {
        if (!m_playing) return;
        switch (m_playing->Wait(budget)) {
        case CPlayback::State::kRunning:
            return;
        case CPlayback::State::kPlayed:
            if (auto fresh = m_playing->TakeBitmap()) m_rendered = std::move(fresh);
            else m_failed = true;
            break;
        case CPlayback::State::kFailed:
            // A size that cannot be played is not tried again; what was played stays.
            m_failed = true;
            break;
        }
        m_playing.reset();
    }

    std::vector<std::uint8_t> m_data;
    double m_pointsWide;
    double m_pointsHigh;
    std::unique_ptr<plat::Bitmap> m_rendered;
    std::unique_ptr<CPlayback> m_playing;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<CPictureFile> LoadWmfPicture(std::vector<std::uint8_t> data)
{
    if (data.size() < kPlaceableBytes + kHeaderBytes || plat::LoadU32(data.data()) != kPlaceableKey) return nullptr;
    const std::uint8_t* p = data.data();
    const auto signed16 = [](const std::uint8_t* at) { return static_cast<std::int16_t>(plat::LoadU16(at)); };
    const std::int32_t wide = std::abs(std::int32_t(signed16(p + 10)) - signed16(p + 6));
    const std::int32_t high = std::abs(std::int32_t(signed16(p + 12)) - signed16(p + 8));
    const std::uint16_t unitsPerInch = plat::LoadU16(p + 14);
    // The metafile header proper: memory or disk type, nine words long.
    const std::uint16_t type = plat::LoadU16(p + kPlaceableBytes);
    const std::uint16_t headerWords = plat::LoadU16(p + kPlaceableBytes + 2);
    if (wide == 0 || high == 0 || unitsPerInch == 0 || (type != 1 && type != 2) || headerWords != 9) return nullptr;

    const auto himetric = [&](std::int32_t units) {
        return static_cast<std::int32_t>((std::int64_t(units) * 2540 + unitsPerInch / 2) / unitsPerInch);
    };
    const plat::Size natural = ClampMetafileSize(himetric(wide), himetric(high));
    auto picture = std::make_unique<CWmfPicture>(std::move(data), natural.cx, natural.cy,
                                                 wide * 72.0 / unitsPerInch, high * 72.0 / unitsPerInch);
    if (!picture->Prepare()) return nullptr;
    return picture;
}
