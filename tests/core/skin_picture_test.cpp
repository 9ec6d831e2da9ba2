#include <gtest/gtest.h>

#include "gui/colors.h"
#include "skin/picture_decode.h"
#include "skin_test_support.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

// 0x00RRGGBB as files store it -> 0x00BBGGRR as bitmaps answer.
TColor FromFile(std::uint32_t rgb) { return MakeColor(std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)); }

std::uint32_t Pattern(int x, int y) { return std::uint32_t(0x010203 * (x + 1) + 0x100000 * y) & 0xFFFFFF; }

}  // namespace

TEST(BmpDecode, EveryDepthAndRowOrderGivesThePixelsAsDrawn) {
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF,
                                                0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666,
                                                0x777777, 0x888888, 0x999999, 0xAAAAAA};
    struct Case { int bpp; bool topDown; int width; int height; };
    const Case cases[] = {{1, false, 13, 3}, {1, true, 9, 2},  {4, false, 7, 5},  {4, true, 3, 4},
                          {8, false, 5, 3},  {8, true, 6, 2},  {24, false, 5, 4}, {24, true, 3, 3},
                          {32, false, 4, 3}, {32, true, 2, 5}};
    for (const Case& c : cases) {
        const int colors = c.bpp == 1 ? 2 : c.bpp == 4 ? 16 : 16;
        auto value = [&](int x, int y) -> std::uint32_t {
            return c.bpp <= 8 ? std::uint32_t((x + 3 * y) % colors) : Pattern(x, y);
        };
        const auto pal = c.bpp <= 8 ? std::vector<std::uint32_t>(palette.begin(), palette.begin() + colors) : std::vector<std::uint32_t>{};
        const TsDecodedPicture d = DecodeBmp(MakeBmp(c.width, c.height, c.bpp, c.topDown, value, pal));
        ASSERT_TRUE(d.Ok()) << c.bpp << " " << d.Error;
        ASSERT_EQ(d.Bitmap.Width(), c.width);
        ASSERT_EQ(d.Bitmap.Height(), c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::uint32_t v = value(x, y);
                const TColor expected = FromFile(c.bpp <= 8 ? pal[v] : v);
                ASSERT_EQ(d.Bitmap.Pixel(x, y), expected) << "bpp " << c.bpp << " top-down " << c.topDown << " at " << x << "," << y;
            }
    }
}

TEST(BmpDecode, RunLengthEncodedPicturesDecode) {
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // RLE8, 4x3 picture, bottom row first: a run, a literal, a move and the end mark.
    const TBytes rle8 = {3, 1, 0, 0,               // bottom row: 1 1 1, end of line
                         0, 3, 2, 3, 1, 0, 0, 0,   // middle row: literal 2 3 1 (padded), end of line
                         0, 2, 2, 0,               // move right 2 on the top row
                         2, 3, 0, 1};              // top row from x=2: 3 3; end of bitmap
    TBytes file = BmpHeaders(4, 3, 8, 1, palette, rle8.size());
    file.insert(file.end(), rle8.begin(), rle8.end());
    TsDecodedPicture d = DecodeBmp(file);
    ASSERT_TRUE(d.Ok()) << d.Error;
    const std::uint32_t expected8[3][4] = {{0, 0, 3, 3}, {2, 3, 1, 0}, {1, 1, 1, 0}};   // top row first
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(d.Bitmap.Pixel(x, y), FromFile(palette[expected8[y][x]])) << x << "," << y;

    // RLE4, 5x1: a run alternating 1 and 2, then a literal of 3 nibbles.
    const TBytes rle4 = {2, 0x12, 0, 3, 0x30, 0x10, 0, 1};
    file = BmpHeaders(5, 1, 4, 2, palette, rle4.size());
    file.insert(file.end(), rle4.begin(), rle4.end());
    d = DecodeBmp(file);
    ASSERT_TRUE(d.Ok()) << d.Error;
    const std::uint32_t expected4[5] = {1, 2, 3, 0, 1};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(d.Bitmap.Pixel(x, 0), FromFile(palette[expected4[x]])) << x;
}

TEST(BmpDecode, DamagedOrAbsurdFilesAreRefusedWithAReason) {
    const TBytes good = SolidBmp(4, 4);
    auto with = [&](std::size_t at, std::uint32_t v, bool wide = true) {
        TBytes b = good;
        wide ? Put32(b, at, v) : Put16(b, at, v);
        return b;
    };
    TBytes truncated(good.begin(), good.end() - 5);
    TBytes headerOnly(good.begin(), good.begin() + 30);
    const std::vector<std::uint32_t> palette = {0, 0xFFFFFF};
    TBytes rleNoEnd = BmpHeaders(4, 2, 8, 1, palette, 4);
    for (std::uint8_t v : {4, 1, 0, 0}) rleNoEnd.push_back(v);
    TBytes rleTopDown = BmpHeaders(4, -2, 8, 1, palette, 2);
    rleTopDown.push_back(0);
    rleTopDown.push_back(1);
    TBytes rleHuge = BmpHeaders(16000, 16000, 8, 1, palette, 2);
    rleHuge.push_back(0);
    rleHuge.push_back(1);
    struct Case { const char* what; TBytes bytes; };
    const Case cases[] = {
        {"empty", {}},
        {"not a bitmap", TBytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"truncated pixels", truncated},
        {"truncated header", headerOnly},
        {"zero width", with(18, 0)},
        {"negative width", with(18, 0xFFFFFFFF)},
        {"wider than 16384", with(18, 16385)},
        {"taller than 16384", with(22, 20000)},
        {"more pixels than bytes", with(18, 4000)},
        {"16 bits per pixel", with(28, 16, false)},
        {"unknown compression", with(30, 7)},
        {"JPEG inside a bitmap", with(30, 4)},
        {"pixel data past the end", with(10, 100000)},
        {"pixel data inside the header", with(10, 20)},
        {"header size unknown", with(14, 20)},
        {"RLE without end mark", rleNoEnd},
        {"RLE top-down", rleTopDown},
        {"RLE declaring far too many pixels", rleHuge},
    };
    for (const Case& c : cases) {
        const TsDecodedPicture d = DecodeBmp(c.bytes);
        EXPECT_FALSE(d.Ok()) << c.what;
        EXPECT_TRUE(d.Bitmap.Empty()) << c.what;
    }
}

TEST(JpegDecode, DecodesSizeAndColourAndRefusesDamage) {
    const TBytes jpeg = MakeJpeg(40, 24, 200, 100, 50);
    const TsDecodedPicture d = DecodeJpeg(jpeg);
    ASSERT_TRUE(d.Ok()) << d.Error;
    EXPECT_EQ(d.Bitmap.Width(), 40);
    EXPECT_EQ(d.Bitmap.Height(), 24);
    const TColor c = d.Bitmap.Pixel(20, 12);
    EXPECT_NEAR(RedOf(c), 200, 3);
    EXPECT_NEAR(GreenOf(c), 100, 3);
    EXPECT_NEAR(BlueOf(c), 50, 3);

    TBytes truncated(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
    TBytes garbled = jpeg;
    for (std::size_t i = garbled.size() / 3; i < garbled.size() - 2; i += 7) garbled[i] ^= 0x5A;
    TBytes huge = jpeg;
    // The frame header's height and width (SOF0: FF C0, length, precision, height, width).
    for (std::size_t i = 0; i + 9 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0x7F, huge[i + 6] = 0xFF, huge[i + 7] = 0x7F, huge[i + 8] = 0xFF;
            break;
        }
    const TBytes cases[] = {TBytes{}, TBytes{0xFF, 0xD8}, truncated, garbled, huge, SolidBmp(3, 3)};
    for (const TBytes& bad : cases) {
        const TsDecodedPicture r = DecodeJpeg(bad);
        EXPECT_FALSE(r.Ok()) << bad.size();
        EXPECT_TRUE(r.Bitmap.Empty());
    }
}

TEST(BmpDecode, OldHeaderAndPlainBitFieldsDecode) {
    // A 12-byte header with a three-byte palette: 2x1 pixels at 8 bits.
    TBytes core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0,
                   12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 8, 0,
                   0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0,
                   1, 0, 0, 0};
    TsDecodedPicture d = DecodeBmp(core);
    ASSERT_TRUE(d.Ok()) << d.Error;
    EXPECT_EQ(d.Bitmap.Pixel(0, 0), MakeColor(0xC0, 0xB0, 0xA0));
    EXPECT_EQ(d.Bitmap.Pixel(1, 0), MakeColor(0x30, 0x20, 0x10));

    // 32 bits with the masks that equal plain pixels; other masks are refused.
    TBytes fields = BmpHeaders(1, 1, 32, 3, {0x00FF0000, 0x0000FF00, 0x000000FF}, 4);
    for (std::uint8_t b : {0x11, 0x22, 0x33, 0x00}) fields.push_back(b);
    d = DecodeBmp(fields);
    ASSERT_TRUE(d.Ok()) << d.Error;
    EXPECT_EQ(d.Bitmap.Pixel(0, 0), MakeColor(0x33, 0x22, 0x11));
    Put32(fields, 54, 0x0000FF00);
    EXPECT_FALSE(DecodeBmp(fields).Ok());
}
