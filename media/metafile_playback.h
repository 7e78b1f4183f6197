// Internal to the picture loader: metafiles played by outside libraries (libwmf for WMF,
// libemf2svg and librsvg for EMF). Those libraries are not ours and read outside data, so
// each playing runs in a child process that hands the pixels back through shared memory:
// a crash or a hang costs the picture, never the host. A playing is waited on only as
// long as the caller can afford (a load, a repaint); one that takes longer goes on in the
// background, up to kPlaySeconds, and a later drawing picks up its pixels.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "media/picture_file.h"
#include "platform/base/process.h"
#include "platform/gfx/bitmap.h"

// Plays a metafile into width × height pixels, 0x00RRGGBB in native byte order, already
// laid on white as the page under a picture is; true when it played. Runs in the child.
using MetafilePlayer = std::function<bool(std::uint32_t* pixels, int width, int height)>;

// How long a load waits for the first playing, and a drawing for a playing at a new size:
// what a page repaint can afford. A playing that takes longer goes on in the background.
// Tests that check what a playing drew wait longer, so that a busy machine does not show
// them the picture played before. UI thread only.
struct MetafileWaits {
    std::chrono::milliseconds load{500};
    std::chrono::milliseconds repaint{250};
};
MetafileWaits GetMetafileWaits();
void SetMetafileWaits(const MetafileWaits& waits);

// One playing in a child process (a forked run of the platform's process service).
class CMetafilePlayback {
public:
    enum class State { kRunning, kPlayed, kFailed };
    // A metafile that takes longer than this to play is given up.
    static constexpr unsigned kPlaySeconds = 10;

    // Starts playing into width × height pixels; nullptr when no child can be started.
    static std::unique_ptr<CMetafilePlayback> Start(const MetafilePlayer& play, int width, int height);
    ~CMetafilePlayback();
    CMetafilePlayback(const CMetafilePlayback&) = delete;
    CMetafilePlayback& operator=(const CMetafilePlayback&) = delete;

    // Waits for the child at most that long, without blocking past it.
    State Wait(std::chrono::milliseconds budget);
    // The played pixels; nullptr unless played.
    std::unique_ptr<plat::Bitmap> TakeBitmap() const;

private:
    CMetafilePlayback(std::unique_ptr<plat::ForkedRun> run, int width, int height)
        : m_run(std::move(run)), m_width(width), m_height(height) {}

    std::unique_ptr<plat::ForkedRun> m_run;
    int m_width;
    int m_height;
};

// A metafile picture: played once into a bitmap at the largest size drawn so far, which
// every smaller drawing reuses, stretched; only a larger size plays it again. While
// nothing has been played it shows the placeholder frame.
class CPlayedMetafile : public CPictureFile {
public:
    CPlayedMetafile(Kind kind, std::int32_t himetricWidth, std::int32_t himetricHeight, MetafilePlayer play)
        : CPictureFile(kind, himetricWidth, himetricHeight), m_play(std::move(play)) {}
    ~CPlayedMetafile() override;

    // Starts playing the metafile at its own size, so that a file its player cannot play
    // is refused when it is loaded; one still playing after the load's wait is kept, and
    // drawn once it is done.
    bool Prepare();
    void Render(plat::Dc& dc, int x, int y, int cx, int cy) override;

private:
    bool Covers(int width, int height) const;
    bool Rendering(int width, int height, std::chrono::milliseconds budget);
    void Collect(std::chrono::milliseconds budget);

    MetafilePlayer m_play;
    std::unique_ptr<plat::Bitmap> m_rendered;
    std::unique_ptr<CMetafilePlayback> m_playing;
    bool m_failed = false;
};
