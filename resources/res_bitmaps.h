// The module's bitmap resources: small pictures the control carries in its own code, so
// that painting never depends on a file being found at run time.
//
// A resource is named by a string ("IDB_ENDPAR") or by a number; a number n is written as
// the name "#n" (ResourceIdName), so the image strip of toolbar resource 7004 is the bitmap
// resource "#7004". Each resource is held as the bytes of a device-independent bitmap: a
// 40-byte information header, the colour table (4-byte entries blue, green, red, 0; as many
// as the header's colour-used count), then the rows of pixels bottom row first, each padded
// to 4 bytes.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/base/strings.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/raster_ops.h"

// "#7004" for 7004.
plat::String ResourceIdName(int id);

// The bytes of the bitmap resource, made on first use and kept for the life of the process;
// empty for a name the module does not hold. UI thread only.
std::span<const std::uint8_t> FindBitmapResource(plat::StringView name);

// The picture of a resource name ("IDB_ENDPAR"), made on first use and kept for the life
// of the process; null for a name the module does not hold. UI thread only.
const plat::Bitmap* LoadResBitmap(plat::StringView name);

// A toolbar strip (any bitmap resource of up to 16 colours) as a new bitmap whose colours
// follow the current system colours: table entries black, grey 0x808080, light grey
// 0xC0C0C0 and white become the button text, shadow, face and highlight colours. With
// monochrome set, the grey, light grey and white entries all become white instead (black
// still takes the button text colour). Null when the resource is missing or unreadable.
std::unique_ptr<plat::Bitmap> LoadSysColorBitmap(plat::StringView name, bool monochrome);
std::unique_ptr<plat::Bitmap> LoadSysColorBitmap(int id, bool monochrome);

// What the header of a bitmap resource says, read by the rules of both header forms:
// a 40-byte information header (colour count = its colour-used field when not 0, else 2,
// 16 or 256 for 1, 4 or 8 bits a pixel, else 0; 4-byte entries) or a 12-byte core header
// (count by bits a pixel; 3-byte entries). The bits follow the header and the table.
struct DibLayout {
    int headerSize = 0;
    int width = 0;
    int height = 0;      // as the header has it: positive for bottom-up rows
    int bitCount = 0;
    int colorsUsed = 0;  // the header's colour-used field (0 for a core header)
    int tableEntries = 0;
    int entrySize = 0;   // 4 or 3
    std::size_t bitsOffset = 0;
    std::int64_t rowBytes = 0;
    std::vector<std::uint8_t> table; // the colour table as 4-byte entries blue, green, red, 0

    // The bits of `bytes` (the bytes this layout was read from) for the raster operations.
    plat::DibView View(std::span<const std::uint8_t> bytes) const;
};
// Nullopt when the bytes are too short for what the header says, the header size is
// neither 40 nor 12, or a field is out of range.
std::optional<DibLayout> ReadDibLayout(std::span<const std::uint8_t> bytes);

// The bitmap the DIB shows, pixel for pixel; null when it cannot be read.
std::unique_ptr<plat::Bitmap> DibToBitmap(std::span<const std::uint8_t> bytes);
