// Internal to the picture loader: EMF pictures, their records turned into SVG by
// libemf2svg and drawn by librsvg with Cairo, in the playing's child process.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/picture_file.h"

// An EMF file's bytes as a picture sized by its header's frame; nullptr when its header
// is not sound or the file cannot be played.
std::unique_ptr<CPictureFile> LoadEmfPicture(std::vector<std::uint8_t> data);
