// The shape of a skinned window: its corners show the root window exactly
// where the frame masks of FORM and FORMTITLE hold the key colour, and the
// rest of the corners shows the skin.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "form_test_support.h"
#include "paint/mask.h"

namespace korvel {
namespace {

using testing::kRootColour;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

constexpr TColor kKey = 0xFF00FF;

using TPixelSet = std::set<std::pair<int, int>>;

// The key pixels of the four (or, with topOnly, the two upper) corner pieces of
// a frame mask's first image, placed on a window of the given size. The pieces
// are a third of the colour image each way; a MaskType 1 image's colour part is its upper half.
void AddCornerHoles(TPixelSet& holes, const TsSkinTables& tables, const TsMaskData& mask, int width, int height,
                    bool topOnly) {
    const int imageWidth = mask.R.Width() / mask.ImageCount;
    const int colourHeight = mask.R.Height() / (mask.MaskType + 1);
    const int pw = imageWidth / 3, ph = colourHeight / 3;
    for (int row = 0; row < (topOnly ? 1 : 2); ++row) {
        const int imageTop = row == 0 ? 0 : 2 * ph;
        const int windowTop = row == 0 ? 0 : height - ph;
        for (int y = 0; y < ph; ++y) {
            for (int x = 0; x < pw; ++x) {
                if (tables.MasterBitmap.Pixel(mask.R.Left + x, mask.R.Top + imageTop + y) == kKey)
                    holes.insert({x, windowTop + y});
                const int rx = imageWidth - pw + x;
                if (tables.MasterBitmap.Pixel(mask.R.Left + rx, mask.R.Top + imageTop + y) == kKey)
                    holes.insert({width - imageWidth + rx, windowTop + y});
            }
        }
    }
}

TEST(FormRegion, CornersShowTheRootExactlyWhereTheFrameMasksAreTransparent) {
    struct TCase {
        TFormBorderStyle Style;
        const char* Section;   // GLOBALINFO has no frame mask: only the title's corners cut
    };
    for (const TCase& c : {TCase{TFormBorderStyle::bsSingle, "FORM"}, TCase{TFormBorderStyle::bsSizeable, "FORM"},
                           TCase{TFormBorderStyle::bsSingle, "GLOBALINFO"}}) {
        SCOPED_TRACE(c.Section);
        const TFormBorderStyle style = c.Style;
        TFormSetup setup;
        setup.BorderStyle = style;
        setup.ClientWidth = style == TFormBorderStyle::bsSingle ? 260 : 333;
        TSkinnedFormRig rig(setup);
        rig.Provider->SkinData().SetSkinSection(c.Section);
        rig.Show();
        const RECT wr = rig.WindowRect();
        const int w = wr.right - wr.left, h = wr.bottom - wr.top;
        const TsMaskData& form = rig.Mask("FORM", "BORDERSMASK");
        const TsMaskData& title = rig.Mask("FORMTITLE", "BORDERSMASK");
        ASSERT_EQ(form.Bmp, nullptr);
        ASSERT_EQ(title.Bmp, nullptr);
        TPixelSet holes;
        if (std::string(c.Section) == "FORM") AddCornerHoles(holes, rig.Tables(), form, w, h, false);
        AddCornerHoles(holes, rig.Tables(), title, w, h, true);
        ASSERT_FALSE(holes.empty()) << "the internal skin rounds its corners";

        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(rig.Handle(), region), ERROR) << "a bordered skinned form has a region";
        const TBitmap24& cache = *rig.Provider->SkinData().CacheBmp();
        const int pieceW = form.R.Width() / form.ImageCount / 3;
        const int pieceH = std::max(form.R.Height() / 3, title.R.Height() / 2 / 3);
        int checked = 0;
        for (int cy : {0, h - pieceH}) {
            for (int cx : {0, w - pieceW}) {
                for (int y = cy; y < cy + pieceH; ++y) {
                    for (int x = cx; x < cx + pieceW; ++x) {
                        const bool hole = holes.count({x, y}) != 0;
                        EXPECT_EQ(PtInRegion(region, x, y) != FALSE, !hole) << x << "," << y;
                        if (hole) {
                            EXPECT_EQ(rig.Pixel(x, y), kRootColour) << "hole at " << x << "," << y;
                            // Were the hole missing, the cache's pixel would show, and it is not the root's colour.
                            EXPECT_NE(cache.Pixel(x, y), kRootColour) << x << "," << y;
                        } else {
                            EXPECT_EQ(rig.Pixel(x, y), cache.Pixel(x, y)) << "skin at " << x << "," << y;
                        }
                        ++checked;
                    }
                }
            }
        }
        EXPECT_EQ(checked, 4 * pieceW * pieceH);
        DeleteObject(region);
    }
}

// A resized window is shaped for its new size: the bottom-right hole follows the corner.
TEST(FormRegion, ResizedWindowIsShapedForItsNewSize) {
    TFormSetup setup;
    setup.BorderStyle = TFormBorderStyle::bsSizeable;
    TSkinnedFormRig rig(setup);
    rig.Show();
    const TsMaskData& form = rig.Mask("FORM", "BORDERSMASK");
    const int imageWidth = form.R.Width() / form.ImageCount;
    const int imageHeight = form.R.Height();
    // The bottom-right corner's last pixel is cut by the skin.
    ASSERT_EQ(rig.Tables().MasterBitmap.Pixel(form.R.Left + imageWidth - 1, form.R.Top + imageHeight - 1), kKey);
    for (const SIZE size : {SIZE{420, 260}, SIZE{260, 180}}) {
        rig.Form->SetBounds(rig.Form->Left(), rig.Form->Top(), size.cx, size.cy);
        Application().ProcessMessages();
        const RECT wr = rig.WindowRect();
        ASSERT_EQ(wr.right - wr.left, size.cx);
        EXPECT_EQ(rig.Pixel(size.cx - 1, size.cy - 1), kRootColour);
        EXPECT_EQ(rig.Pixel(size.cx - 1, 0), kRootColour);
        EXPECT_NE(rig.Pixel(size.cx - 8, size.cy - 1), kRootColour);
        EXPECT_EQ(rig.Provider->SkinData().CacheBmp()->Width(), size.cx);
        EXPECT_EQ(rig.Provider->SkinData().CacheBmp()->Height(), size.cy);
    }
}

// Where the title's frame colour pixel is fully opaque (transparency 0), the
// window shows exactly the mask's colour: the rule of the transparency blend.
TEST(FormRegion, OpaqueTitleCornerPixelsShowTheMaskColourExactly) {
    TSkinnedFormRig rig;
    rig.Show();
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left;
    const TsMaskData& title = rig.Mask("FORMTITLE", "BORDERSMASK");
    ASSERT_EQ(title.MaskType, 1);
    const int imageWidth = title.R.Width() / title.ImageCount;
    const int colourHeight = title.R.Height() / 2;
    const int pw = imageWidth / 3, ph = colourHeight / 3;
    const TBitmap24& master = rig.Tables().MasterBitmap;
    const TRect icon = rig.Provider->IconRect();
    const TRect& close = rig.Provider->ButtonClose.Rect;
    int exact = 0;
    for (int y = 0; y < ph; ++y) {
        for (int x = 0; x < pw; ++x) {
            for (int right = 0; right < 2; ++right) {
                const int ix = right ? imageWidth - pw + x : x;
                const int wx = right ? w - imageWidth + ix : ix;
                const TColor colour = master.Pixel(title.R.Left + ix, title.R.Top + y);
                const TColor alpha = master.Pixel(title.R.Left + ix, title.R.Top + colourHeight + y);
                if (colour == kKey || alpha != 0) continue;
                // Icon and buttons lie over parts of the corners.
                if (wx >= icon.Left && wx < icon.Right && y >= icon.Top && y < icon.Bottom) continue;
                if (wx >= close.Left && wx < close.Right && y >= close.Top && y < close.Bottom) continue;
                EXPECT_EQ(rig.Pixel(wx, y), colour) << wx << "," << y;
                ++exact;
            }
        }
    }
    EXPECT_GT(exact, 10);
}

}  // namespace
}  // namespace korvel
