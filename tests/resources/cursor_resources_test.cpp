// The cursor resources: pictures, masks and hot spots.
#include <gtest/gtest.h>

#include <vector>

#include "resources/res_cursors.h"

namespace {

constexpr plat::ColorRef kBlack = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kWhite = plat::Rgb(255, 255, 255);

constexpr int kWithPictures[] = {7050, 7053, 7055, 7056, 7057, 7058, 7059, 7060, 7061, 7063};

std::vector<plat::ColorRef> Pixels(const plat::Bitmap& b)
{
    std::vector<plat::ColorRef> px;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) px.push_back(b.GetPixel(x, y));
    return px;
}

TEST(CursorResources, PicturesMasksAndHotSpots)
{
    std::vector<std::vector<plat::ColorRef>> masks;
    for (int id : kWithPictures) {
        SCOPED_TRACE(id);
        const ResCursor* c = FindResCursor(id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->id, id);
        ASSERT_TRUE(c->image && c->mask);
        EXPECT_EQ(c->image->GetSize(), plat::Size(16, 16));
        EXPECT_EQ(c->mask->GetSize(), plat::Size(16, 16));
        EXPECT_TRUE(plat::Rect(0, 0, 16, 16).Contains(c->hotSpot));
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const plat::ColorRef m = c->mask->GetPixel(x, y);
                ASSERT_TRUE(m == kBlack || m == kWhite);
                // Transparent pixels have a black image, so the XOR leaves the screen alone.
                if (m == kWhite) EXPECT_EQ(c->image->GetPixel(x, y), kBlack) << x << "," << y;
                else ++drawn;
            }
        EXPECT_GE(drawn, 12);
        masks.push_back(Pixels(*c->mask));
        EXPECT_EQ(FindResCursor(id), c); // made once
    }
    for (std::size_t i = 0; i < masks.size(); ++i)
        for (std::size_t j = i + 1; j < masks.size(); ++j)
            EXPECT_NE(masks[i], masks[j]) << kWithPictures[i] << " and " << kWithPictures[j];
}

TEST(CursorResources, MarginArrowsPointAtTheirHotSpot)
{
    // The hot spot is the arrow's tip: drawn, with nothing drawn beyond it in the arrow's
    // direction.
    struct Case {
        int id;
        int dx, dy;
    };
    const Case cases[] = {{7060, 1, 0}, {7061, -1, 0}, {7059, 0, 1}, {7058, 0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const ResCursor* cur = FindResCursor(c.id);
        ASSERT_NE(cur, nullptr);
        const plat::Point h = cur->hotSpot;
        EXPECT_EQ(cur->mask->GetPixel(h.x, h.y), kBlack);
        for (plat::Point p(h.x + c.dx, h.y + c.dy); plat::Rect(0, 0, 16, 16).Contains(p); p = p + plat::Point(c.dx, c.dy))
            EXPECT_EQ(cur->mask->GetPixel(p.x, p.y), kWhite) << p.x << "," << p.y;
    }
}

TEST(CursorResources, IdsWithoutPictures)
{
    for (int id : {7051, 7052, 7054, 7062, 7064, 7049, 7065, 0}) EXPECT_EQ(FindResCursor(id), nullptr) << id;
}

} // namespace
