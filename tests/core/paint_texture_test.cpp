// Texture draw types with a patterned picture: where the tiles start, where the
// last ones are cut, what a stretched texture holds, which part is left
// uncovered, and that nothing outside the rectangle is written; for a picture of
// a mask entry's own, a state of a master-bitmap mask and a decoded pattern alike.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "paint/texture.h"
#include "paint_picture_support.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

constexpr int kW = 5, kH = 3;   // the texture's size

// What a draw type puts at offset (u, v) of a rectangle W x H: the texture pixel
// (tx, ty), or nothing (false) where the rectangle stays uncovered.
using TTexel = std::function<bool(int u, int v, int W, int H, int& tx, int& ty)>;

bool Tiled(int u, int v, int, int, int& tx, int& ty) { return tx = u % kW, ty = v % kH, true; }

}  // namespace

TEST(DrawTexture, DrawTypesPlaceCutAndStretchAPatternedPicture) {
    // Three textures with the same pixels: a picture of the entry's own (a small
    // JPEG texture: one state, no transparency part), state 0 of a two-state mask
    // on the master bitmap (state 1 must never show), and a pattern picture.
    TsSkinTables master;
    master.MasterBitmap.SetSize(2 * kW + 3, kH + 2);
    master.MasterBitmap.Fill(0x00010101);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            master.MasterBitmap.SetPixel(3 + x, 1 + y, ColourAt(x, y));
            master.MasterBitmap.SetPixel(3 + kW + x, 1 + y, MakeColor(1, 2, 3));
        }
    TsMaskData onMaster;
    onMaster.R = {3, 1, 3 + 2 * kW, 1 + kH};
    onMaster.ImageCount = 2;
    onMaster.ImgType = itisaTexture;
    TsMaskData own;
    own.Bmp = Picture(kW, kH, 1);
    own.ImageCount = 1;
    own.ImgType = itisaTexture;
    TTexture ownTexture, masterTexture, patternTexture;
    ASSERT_TRUE(GetMaskImage(master, own, ownTexture.Mask));
    ASSERT_TRUE(GetMaskImage(master, onMaster, masterTexture.Mask));
    patternTexture.Pattern = own.Bmp.get();

    struct Case { int type; int width, height; TTexel texel; } cases[] = {
        {tdTile, 22, 16, Tiled},
        {tdTileByColumns, 22, 16, Tiled},
        // Stretched by whole factors: every texture pixel becomes a 4 x 4 block.
        {tdStretch, 4 * kW, 4 * kH, [](int u, int v, int, int, int& tx, int& ty) { return tx = u / 4, ty = v / 4, true; }},
        {tdTopRow, 22, 16, [](int u, int v, int, int, int& tx, int& ty) { return tx = u % kW, ty = v, v < kH; }},
        {tdLeftColumn, 22, 16, [](int u, int v, int, int, int& tx, int& ty) { return tx = u, ty = v % kH, u < kW; }},
        {tdTopStretched, 3 * kW, 10, [](int u, int v, int, int, int& tx, int& ty) { return tx = u / 3, ty = v, v < kH; }},
        {tdLeftStretched, 12, 2 * kH, [](int u, int v, int, int, int& tx, int& ty) { return tx = u, ty = v / 2, u < kW; }},
        // Strips: the bottom (right) one is tiled from its own top-left.
        {tdTopBottom, 22, 16,
         [](int u, int v, int, int H, int& tx, int& ty) {
             tx = u % kW, ty = v < kH ? v : v - (H - kH);
             return v < kH || v >= H - kH;
         }},
        {tdLeftRight, 22, 16,
         [](int u, int v, int W, int, int& tx, int& ty) {
             tx = u < kW ? u : u - (W - kW), ty = v % kH;
             return u < kW || u >= W - kW;
         }},
    };
    const std::pair<const char*, const TTexture*> textures[] = {
        {"own picture", &ownTexture}, {"master state 0", &masterTexture}, {"pattern", &patternTexture}};
    for (const auto& [name, texture] : textures)
        for (const Case& c : cases) {
            const TRect rect = Bounds(3, 2, c.width, c.height);
            TBitmap24 b(c.width + 6, c.height + 5);
            FillBackground(b);
            const TBitmap24 before = b.Clone();
            const TRect left = DrawTexture(b, rect, *texture, c.type);
            TRect uncovered{rect.Right, rect.Bottom, rect.Left, rect.Top};   // grown to the pixels left alone
            for (int y = 0; y < b.Height(); ++y)
                for (int x = 0; x < b.Width(); ++x) {
                    int tx = 0, ty = 0;
                    const int u = x - rect.Left, v = y - rect.Top;
                    const bool inside = u >= 0 && v >= 0 && u < c.width && v < c.height;
                    const bool covered = inside && c.texel(u, v, c.width, c.height, tx, ty);
                    if (inside && !covered) {
                        uncovered = {std::min(uncovered.Left, x), std::min(uncovered.Top, y),
                                     std::max(uncovered.Right, x + 1), std::max(uncovered.Bottom, y + 1)};
                    }
                    ASSERT_EQ(b.Pixel(x, y), covered ? ColourAt(tx, ty) : before.Pixel(x, y))
                        << name << ", type " << c.type << " at " << u << "," << v;
                }
            if (uncovered.IsEmpty())
                EXPECT_TRUE(left.IsEmpty()) << name << ", type " << c.type;
            else
                EXPECT_EQ(left, uncovered) << name << ", type " << c.type;
        }
}
