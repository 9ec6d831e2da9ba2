// Switching the skin off gives the form back the system's frame, its own
// border icons and a rectangular window; switching it on takes them away again.
#include <gtest/gtest.h>

#include "form_test_support.h"

namespace korvel {
namespace {

using testing::kRootColour;
using testing::Pump;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

constexpr LONG_PTR kIconStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

bool HasRegion(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(window, region) != ERROR;
    DeleteObject(region);
    return has;
}

TEST(FormSkinSwitch, OffGivesBackTheSystemFrameAndOnTakesItAwayAgain) {
    TFormSetup setup;
    setup.FormIcons = biSystemMenu | biMinimize | biMaximize;
    TSkinnedFormRig rig(setup);
    rig.Show();
    const HWND window = rig.Handle();
    const TsSkinProvider& p = *rig.Provider;
    const TsMaskData& corner = rig.Mask("FORM", "BORDERSMASK");
    ASSERT_EQ(rig.Tables().MasterBitmap.Pixel(corner.R.Left, corner.R.Top), 0xFF00FFu) << "the corner's first pixel is cut";
    const POINT client = {rig.Provider->ClientOffsetX() + 150, rig.Provider->ClientOffsetY() + 80};
    const TColor formColour = rig.Tables().Sections.at(static_cast<std::size_t>(p.SkinData().SkinIndex)).HotColor;
    const POINT caption = {p.IconRect().Right + 60, p.FrameHeight() + p.CaptionHeight() / 2};

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // Skinned: no icons of the form's own, a shaped window, the skin's client colour.
        EXPECT_EQ(rig.Form->BorderIcons(), 0);
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & kIconStyles, 0);
        EXPECT_TRUE(HasRegion(window));
        EXPECT_EQ(rig.Pixel(0, 0), kRootColour);
        EXPECT_EQ(rig.Pixel(client.x, client.y), formColour);

        rig.Manager->SetActive(false);
        Pump(400);
        EXPECT_FALSE(rig.Provider->SkinData().IsSkinned(false));
        EXPECT_EQ(rig.Form->BorderIcons(), setup.FormIcons);
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & kIconStyles, kIconStyles);
        EXPECT_FALSE(HasRegion(window)) << "a plain rectangle again";
        EXPECT_NE(rig.Pixel(0, 0), kRootColour) << "the system's frame fills the corner";
        EXPECT_EQ(rig.Pixel(client.x, client.y), GetSysColor(COLOR_BTNFACE)) << "the form's own colour";
        // Every hit is the system's own, whatever lies under the old skinned buttons.
        const POINT at = rig.Screen(caption.x, caption.y);
        EXPECT_EQ(rig.HitTest(caption.x, caption.y), DefWindowProcW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)));
        EXPECT_TRUE(IsWindowVisible(window));

        rig.Manager->SetActive(true);
        Pump(400);
        EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true));
    }
    EXPECT_EQ(rig.Form->BorderIcons(), 0);
    EXPECT_TRUE(HasRegion(window));
    EXPECT_EQ(rig.Pixel(0, 0), kRootColour);
}

}  // namespace
}  // namespace korvel
