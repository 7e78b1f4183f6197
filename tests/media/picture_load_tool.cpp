// quiln_picture_load FILE [WxH...]: loads a picture the way the image cache does (by the
// file's extension), prints its natural size or that it was refused and how long the load
// took, then draws it at each size given and prints how long each drawing took. Run under
// `/usr/bin/time -v` it gives the peak memory of loading and drawing one file, which is how
// the bounds of the decoders were measured.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/image_cache.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [WxH...]\n", argv[0]);
        return 2;
    }
    CImageCache cache;
    auto start = std::chrono::steady_clock::now();
    const int loaded = cache.Load(plat::Utf8ToUtf16(argv[1]));
    std::printf("load: %s in %.3f s", loaded ? "loaded" : "refused", SecondsSince(start));
    if (loaded) std::printf(", %d x %d pixels", cache.GetSize().cx, cache.GetSize().cy);
    std::printf("\n");
    if (!loaded) return 1;
    for (int i = 2; i < argc; ++i) {
        int w = 0, h = 0;
        if (std::sscanf(argv[i], "%dx%d", &w, &h) != 2) {
            std::fprintf(stderr, "not a size: %s\n", argv[i]);
            return 2;
        }
        auto page = plat::Bitmap::Create(w, h);
        if (!page) {
            std::fprintf(stderr, "cannot make a %d x %d bitmap\n", w, h);
            return 2;
        }
        plat::MemoryDc dc;
        dc.Select(page.get());
        start = std::chrono::steady_clock::now();
        cache.Draw(dc, 0, 0, w, h);
        std::printf("draw %d x %d: %.3f s\n", w, h, SecondsSince(start));
    }
    return 0;
}
