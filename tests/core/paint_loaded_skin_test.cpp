// A skin folder loaded as the program loads it and painted as the controls paint
// it: a small JPEG texture (under 90000 pixels, so a mask of its own without a
// transparency part) is the texture of its section, at full strength and mixed
// with the section's colour, and a counted picture of its own drawn as a glyph.
#include <gtest/gtest.h>

#include <cmath>

#include "paint/item.h"
#include "paint/mask.h"
#include "skin/skin_loader.h"
#include "skin_test_support.h"

using namespace korvel;
using namespace korvel::testing;

TEST(LoadedSkin, SmallJpegTextureAndCountedPictureOfTheirOwnPaintTheirPixels) {
    TTempDir dir;
    dir.Write("skins/Grain/Options.dat",
              "[STATUSBAR]\nCOLOR=3025190\nPATTERN=GRAIN.JPG\nIMAGEPERCENT=100\n"
              "[MAINMENU]\nCOLOR=255\nPATTERN=GRAIN.JPG\nIMAGEPERCENT=60\nGLYPH=!GLYPH.BMP!2!0!2\n");
    // A grain with columns and rows that differ (the decoder's exact pixels are read back below).
    dir.Write("skins/Grain/GRAIN.JPG", MakeJpeg(24, 16, [](int x, int y) {
                  return std::uint32_t((40 + 6 * x) << 16 | (30 + 9 * y) << 8 | (x * y) % 90);
              }));
    dir.Write("skins/Grain/GLYPH.BMP", MakeBmp(6, 3, 24, false, [](int x, int y) {
                  return x == 4 && y == 1 ? 0xFF00FFu : std::uint32_t((10 + 30 * x) << 16 | (50 + 60 * y) << 8 | 7 * x);
              }));
    TsStoredSkins internal{nullptr};
    TsSkinLoadRequest request;
    request.SkinDirectory = "skins";
    request.SkinName = "Grain";
    request.ProgramFolder = dir.Path();
    request.InternalSkins = &internal;
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);
    ASSERT_TRUE(report.FromFolder);

    for (const char* name : {"STATUSBAR", "MAINMENU"}) {
        const int section = tables.SectionIndexOf(name);
        ASSERT_GE(section, 0) << name;
        const int texture = tables.MaskIndexOf(section, name, "PATTERN");
        ASSERT_GE(texture, 0) << name;
        const TsMaskData& m = tables.Masks[std::size_t(texture)];
        ASSERT_TRUE(m.Bmp);
        EXPECT_EQ(m.MaskType, 0);
        EXPECT_EQ(m.ImageCount, 1);
        const TBitmap24& grain = *m.Bmp;
        const TsGeneralData& s = tables.Sections[std::size_t(section)];
        TItemSource source;
        source.Tables = &tables;
        source.SkinIndex = section;
        TBitmap24 b(53, 21);
        PaintItem(source, {}, true, b, {0, 0}, {0, 0, 53, 21}, 0);
        const double f = s.ImagePercent / 100.0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) {
                const TColor t = grain.Pixel(x % grain.Width(), y % grain.Height());
                auto mixed = [&](int tv, int cv) { return std::uint8_t(std::nearbyint(f * tv + (1 - f) * cv)); };
                const TColor want = s.ImagePercent >= 100 ? t
                                                          : MakeColor(mixed(RedOf(t), RedOf(s.Color)),
                                                                      mixed(GreenOf(t), GreenOf(s.Color)),
                                                                      mixed(BlueOf(t), BlueOf(s.Color)));
                ASSERT_EQ(b.Pixel(x, y), want) << name << " at " << x << "," << y;
            }
    }

    // The glyph: two states of 3 x 3, colour only; state 1 copied with its key pixel left out.
    const int menu = tables.SectionIndexOf("MAINMENU");
    const int glyph = tables.MaskIndexOf(menu, "MAINMENU", "GLYPH");
    ASSERT_GE(glyph, 0);
    const TsMaskData& g = tables.Masks[std::size_t(glyph)];
    for (int mode : {1, 0}) {
        TBitmap24 b(5, 5);
        b.Fill(0x00123456);
        DrawSkinGlyph(b, {1, 1}, 1, tables, g, mode);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool inside = x >= 1 && y >= 1 && x < 4 && y < 4;
                const TColor source = inside ? g.Bmp->Pixel(3 + x - 1, y - 1) : 0x00123456u;
                ASSERT_EQ(b.Pixel(x, y), source == 0x00FF00FFu ? 0x00123456u : source) << mode << " " << x << "," << y;
            }
    }
}
