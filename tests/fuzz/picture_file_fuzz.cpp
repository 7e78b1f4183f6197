// Reads arbitrary bytes as a picture file the way the picture loader does, the kind from
// the first bytes: EMF and WMF metafiles (with or without the placeable header) go to
// their players, which run in a child process each; the host must neither crash, leak
// nor wait on a child that crashes or hangs. What loads is drawn at two sizes, mirrored.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/picture_file.h"
#include "platform/base/strings.h"
#include "platform/base/system.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/dc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static const std::string path = plat::TempDirUtf8() + "picture_fuzz.bin";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    auto picture = CPictureFile::Load(plat::Utf8ToUtf16(path));
    if (!picture) return 0;
    if (picture->HimetricWidth() <= 0 || picture->HimetricHeight() <= 0) std::abort();
    auto page = plat::Bitmap::Create(64, 48);
    plat::MemoryDc dc;
    dc.Select(page.get());
    picture->Render(dc, 0, 0, 64, 48);
    picture->Render(dc, 64, 48, -64, -48);
    return 0;
}
