// A skinned form that is minimised and restored shows the same client
// background as before: the form section's picture, never the form's own
// colour, which the skin's global colour makes a different grey.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_test_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::TSkinnedFormRig;

// Client pixels that differ from the picture the painting core makes of the
// form section for the whole window (state 1: the form is active).
std::vector<POINT> WrongClientPixels(const TSkinnedFormRig& rig) {
    const TsSkinProvider& p = *rig.Provider;
    const RECT window = rig.WindowRect();
    const int width = window.right - window.left, height = window.bottom - window.top;
    TBitmap24 picture(width, height);
    PaintSection(p.SkinData().SkinIndex, TParentBackground{}, &rig.Tables(), picture, {0, 0}, {0, 0, width, height}, 1,
                 true);
    const RECT client = rig.Form->ClientRect();
    std::vector<POINT> wrong;
    // A grid over the client area, its edges included.
    for (int y = 0; y < client.bottom; y += (client.bottom - 1) / 8) {
        for (int x = 0; x < client.right; x += (client.right - 1) / 10) {
            const int wx = p.ClientOffsetX() + x, wy = p.ClientOffsetY() + y;
            if (rig.Pixel(wx, wy) != picture.Pixel(wx, wy)) wrong.push_back({x, y});
        }
    }
    return wrong;
}

TEST(FormRestore, MinimiseAndRestoreKeepTheSkinsClientBackground) {
    TSkinnedFormRig rig;
    rig.Show();
    const TsSkinProvider& p = *rig.Provider;
    const TColor section = rig.Tables().Sections.at(static_cast<std::size_t>(p.SkinData().SkinIndex)).HotColor;
    ASSERT_NE(ColorToRGB(rig.Form->Color()), section) << "the form's own colour must tell itself apart";
    ASSERT_TRUE(WrongClientPixels(rig).empty()) << "before minimising";

    for (const auto how : {"system command", "ShowWindow"}) {
        SCOPED_TRACE(how);
        if (std::string(how) == "system command") {
            SendMessageW(rig.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else {
            ShowWindow(rig.Handle(), SW_MINIMIZE);
        }
        testing::PumpWhileNot([&] { return IsIconic(rig.Handle()) != FALSE; });
        ASSERT_TRUE(IsIconic(rig.Handle()));
        if (std::string(how) == "system command") {
            SendMessageW(rig.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            ShowWindow(rig.Handle(), SW_RESTORE);
        }
        // Restored, and the client area painted as it was.
        testing::PumpWhileNot([&] { return !IsIconic(rig.Handle()) && WrongClientPixels(rig).empty(); });
        ASSERT_FALSE(IsIconic(rig.Handle()));
        const std::vector<POINT> wrong = WrongClientPixels(rig);
        EXPECT_TRUE(wrong.empty()) << wrong.size() << " client pixels differ, the first at (" << wrong.front().x << ", "
                                   << wrong.front().y << "): " << std::hex << rig.Pixel(p.ClientOffsetX() + wrong.front().x,
                                                                                        p.ClientOffsetY() + wrong.front().y);
    }
}

}  // namespace
}  // namespace korvel
