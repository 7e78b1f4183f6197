// Internal to the picture loader: WMF pictures, played by libwmf.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/picture_file.h"

// A WMF file's bytes as a picture, with or without the placeable header (without it, the
// picture is sized by its window extent at 1440 units to the inch); nullptr when its
// headers are not sound or libwmf cannot play it.
std::unique_ptr<CPictureFile> LoadWmfPicture(std::vector<std::uint8_t> data);
