// The module's toolbar resources: for each bar, the size of its button images and its
// buttons left to right. A bar's image strip is the bitmap resource with the same number
// (res_bitmaps.h: the bitmap resource "#7004" for toolbar 7004), one image a push button,
// in the order of the buttons, separators taking none.
#pragma once
#include <cstdint>
#include <span>

struct ToolbarResource {
    int id;
    std::uint16_t version;     // 1
    std::uint16_t imageWidth;  // pixels of one button image
    std::uint16_t imageHeight;
    std::span<const std::uint16_t> commands; // command ids; 0 is a separator

    // The push buttons, which have one image each in the strip.
    int ImageCount() const;
};

// The format bar.
constexpr int kFormatBarResource = 7004;
// The extension bar, full and short.
constexpr int kExtensionBarResource = 7002;
constexpr int kShortExtensionBarResource = 7005;

// The record of a toolbar resource; null for an id the module does not hold.
const ToolbarResource* FindToolbarResource(int id);

// Every toolbar resource the module holds.
std::span<const ToolbarResource> ToolbarResources();
