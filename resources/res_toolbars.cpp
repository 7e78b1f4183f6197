#include "resources/res_toolbars.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kFormatBar[] = {
    57607, 57609, 0,     57643, 57644, 57635, 57634, 57637, 32787, 0,     35037, 0,     35020, 0,
    35061, 35062, 35063, 35065, 35066, 35067, 35071, 35080, 35085, 35093, 35092, 0,     37900, 32770,
};

constexpr std::uint16_t kExtensionBar[] = {
    32800, 0,     32802, 32803, 32841, 32849, 0,     33271, 33300, 0,     33274, 33276, 33330,
    0,     33370, 0,     35041, 35042, 35043, 35046, 0,     32784, 32783, 0,     35044, 37801,
    37802, 37803, 37804, 37807, 37808, 37810, 0,     35055, 37814, 0,     32774,
};

constexpr std::uint16_t kShortExtensionBar[] = {
    35041, 35042, 35043, 35046, 0,     32784, 32783, 0,     35044, 37801, 37802,
    37803, 37804, 37807, 37808, 37810, 0,     35055, 37814, 0,     32774,
};

constexpr ToolbarResource kToolbars[] = {
    {kFormatBarResource, 1, 16, 15, kFormatBar},
    {kExtensionBarResource, 1, 16, 15, kExtensionBar},
    {kShortExtensionBarResource, 1, 16, 15, kShortExtensionBar},
};

} // namespace

int ToolbarResource::ImageCount() const
{
    return static_cast<int>(std::count_if(commands.begin(), commands.end(), [](std::uint16_t c) { return c != 0; }));
}

const ToolbarResource* FindToolbarResource(int id)
{
    for (const ToolbarResource& t : kToolbars)
        if (t.id == id) return &t;
    return nullptr;
}

std::span<const ToolbarResource> ToolbarResources()
{
    return kToolbars;
}
