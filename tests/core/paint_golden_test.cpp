// Golden images: the internal skin's sections that the launcher paints, at the
// launcher's sizes and in their states, over a plain parent and over a gradient
// parent, compared pixel by pixel with the reference images in
// tests/data/golden. A mismatch writes the actual image and a difference image
// (changed pixels red over a dimmed copy) into the test's working folder.
// With KORVEL_UPDATE_GOLDEN=1 (scripts/test.sh regenerate-golden) it re-makes the
// references after a deliberate change of the look and reports its cases as
// skipped; look at the pictures before committing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "internal_skin_support.h"
#include "paint/item.h"
#include "skin/picture_decode.h"

using namespace korvel;
using korvel::testing::ReadBytes;
using korvel::testing::SourceDir;

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A plain bottom-up 24-bit BMP of the bitmap.
bool WriteBmp(const std::string& path, const TBitmap24& bmp) {
    const std::uint32_t rowBytes = static_cast<std::uint32_t>(TBitmap24::RowBytesFor(bmp.Width()));
    const std::uint32_t image = rowBytes * static_cast<std::uint32_t>(bmp.Height());
    std::vector<std::uint8_t> out = {'B', 'M'};
    Put32(out, 54 + image);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(bmp.Width()));
    Put32(out, static_cast<std::uint32_t>(bmp.Height()));
    Put32(out, 1 | (24 << 16));
    Put32(out, 0);
    Put32(out, image);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = bmp.Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = bmp.ScanLine(y);
        out.insert(out.end(), row, row + rowBytes);
    }
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

class Golden : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        stored_ = new TsStoredSkins(nullptr);
        korvel::testing::BuildInternalSkins(*stored_);
        tables_ = new TsSkinTables;
        TsSkinLoadReport report;
        korvel::testing::LoadInternalSkin(*stored_, *tables_, report);
    }
    static void TearDownTestSuite() {
        delete tables_;
        delete stored_;
    }

    // The page's pixels a control is painted over: the window's light grey, or
    // a diagonal gradient that shows every offset mistake.
    static TBitmap24 Parent(bool gradient) {
        TBitmap24 parent(432, 334);
        for (int y = 0; y < parent.Height(); ++y)
            for (int x = 0; x < parent.Width(); ++x)
                parent.SetPixel(x, y, gradient ? MakeColor(static_cast<std::uint8_t>(x * 255 / 431),
                                                           static_cast<std::uint8_t>(y * 255 / 333), 160)
                                               : TColor(13750737));
        return parent;
    }

    void Check(const std::string& section, int width, int height, int state, TPoint position) {
        for (bool gradient : {false, true}) {
            TBitmap24 parent = Parent(gradient);
            TParentBackground background;
            background.Bitmap = &parent;
            background.Ready = true;
            TItemSource source;
            source.Tables = tables_;
            source.SkinIndex = tables_->SectionIndexOf(section);
            ASSERT_GE(source.SkinIndex, 0) << section;
            source.BorderIndex = tables_->MaskIndexOf(source.SkinIndex, section, "BORDERSMASK");
            source.HasParent = true;
            source.ParentColor = 13750737;
            TBitmap24 actual(width, height);
            PaintItem(source, background, true, actual, position, TRect{0, 0, width, height}, state);

            const std::string name = section + "_" + std::to_string(width) + "x" + std::to_string(height) + "_s" +
                                     std::to_string(state) + (gradient ? "_gradient" : "_plain");
            const std::string reference = SourceDir + "/tests/data/golden/" + name + ".bmp";
            if (std::getenv("KORVEL_UPDATE_GOLDEN")) {
                ASSERT_TRUE(WriteBmp(reference, actual)) << reference;
                continue;
            }
            const auto bytes = ReadBytes(reference);
            ASSERT_FALSE(bytes.empty()) << "missing reference " << reference
                                        << " (make them with scripts/test.sh regenerate-golden)";
            TsDecodedPicture decoded = DecodeBmp(bytes);
            ASSERT_TRUE(decoded.Ok()) << reference << ": " << decoded.Error;
            const TBitmap24& expected = decoded.Bitmap;
            ASSERT_EQ(expected.Width(), width);
            ASSERT_EQ(expected.Height(), height);
            int differing = 0;
            TBitmap24 diff(width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const TColor a = actual.Pixel(x, y), e = expected.Pixel(x, y);
                    differing += a != e;
                    diff.SetPixel(x, y, a != e ? 0x0000FF : ((a >> 2) & 0x3F3F3F) + 0x404040);
                }
            if (differing) {
                WriteBmp(name + ".actual.bmp", actual);
                WriteBmp(name + ".diff.bmp", diff);
            }
            EXPECT_EQ(differing, 0) << name << ": actual and difference images written beside the test";
        }
        // Writing the references compares nothing: the case is skipped, never passed.
        if (std::getenv("KORVEL_UPDATE_GOLDEN"))
            GTEST_SKIP() << "wrote the references of " << section << ", compared nothing";
    }

    static TsStoredSkins* stored_;
    static TsSkinTables* tables_;
};

TsStoredSkins* Golden::stored_ = nullptr;
TsSkinTables* Golden::tables_ = nullptr;

TEST_F(Golden, PageAtItsPlaceOnTheWindow) { Check("PANEL", 329, 281, 0, {96, 8}); }

TEST_F(Golden, PageButtonInItsThreeStates) {
    for (int state = 0; state < 3; ++state) Check("BUTTON", 75, 25, state, {8, 40});
}

TEST_F(Golden, BrowseButtonAndEditFieldOnAPage) {
    Check("BUTTON", 25, 21, 0, {248, 88});
    Check("EDIT", 121, 21, 0, {120, 88});
    Check("EDIT", 121, 21, 1, {120, 88});
}

TEST_F(Golden, StepThruCheckBox) {
    Check("CHECKBOX", 75, 20, 0, {336, 24});
    Check("CHECKBOX", 75, 20, 1, {336, 24});
}

}  // namespace
