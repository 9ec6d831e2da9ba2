// The client area of a skinned form is the form section's picture from the
// provider's cache, with windowless children painted over it; a linked child
// is painted alone over that background.
#include <gtest/gtest.h>

#include "engine/skin_message.h"
#include "form_test_support.h"
#include "gui/graphic_controls.h"

namespace korvel {
namespace {

using testing::Pump;
using testing::TSkinnedFormRig;

constexpr TColor kChildColour = 0x00306090;
constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);

// Paints its left half only; the right half shows whatever lies behind it.
class THalfFill : public TGraphicControl {
public:
    explicit THalfFill(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override {
        Canvas().Brush().SetColor(kChildColour);
        Canvas().FillRect(RECT{0, 0, Width() / 2, Height()});
    }
};

TEST(FormClientPaint, BackgroundComesFromTheSkinAndALinkedChildIsPaintedAloneOverIt) {
    TSkinnedFormRig rig;
    auto* child = testing::AddControl<THalfFill>(rig.Form, 40, 30, 60, 40);
    rig.Show();
    TsSkinProvider& p = *rig.Provider;
    const TColor background = rig.Tables().Sections.at(static_cast<std::size_t>(p.SkinData().SkinIndex)).HotColor;
    ASSERT_NE(background, kChildColour);
    const int ox = p.ClientOffsetX(), oy = p.ClientOffsetY();
    // On the screen: the section's colour around and behind the child, the child's own half.
    EXPECT_EQ(rig.Pixel(ox + 10, oy + 10), background);
    EXPECT_EQ(rig.Pixel(ox + 200, oy + 120), background);
    EXPECT_EQ(rig.Pixel(ox + 45, oy + 35), kChildColour);
    EXPECT_EQ(rig.Pixel(ox + 95, oy + 65), background);

    const RECT client = rig.Form->ClientRect();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const auto paintLinked = [&](LPARAM link) {
        HBRUSH brush = CreateSolidBrush(kUntouched);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        SendMessageW(rig.Handle(), SM_ALPHACMD, PackSkinCommand(SMC_SETLINK), link);
        p.PaintClientArea(dc);
        GdiFlush();
    };

    paintLinked(reinterpret_cast<LPARAM>(child));
    EXPECT_EQ(p.SkinData().Link, static_cast<void*>(child));
    EXPECT_EQ(GetPixel(dc, 10, 10), kUntouched) << "only the linked child is painted";
    EXPECT_EQ(GetPixel(dc, 39, 50), kUntouched);
    EXPECT_EQ(GetPixel(dc, 100, 50), kUntouched);
    EXPECT_EQ(GetPixel(dc, 40, 30), kChildColour);
    EXPECT_EQ(GetPixel(dc, 69, 69), kChildColour);
    EXPECT_EQ(GetPixel(dc, 70, 30), background) << "behind the child: the form's background";
    EXPECT_EQ(GetPixel(dc, 99, 69), background);

    // A link to something that is not a child of the form paints nothing.
    int stranger = 0;
    paintLinked(reinterpret_cast<LPARAM>(&stranger));
    EXPECT_EQ(GetPixel(dc, 45, 35), kUntouched);
    EXPECT_EQ(GetPixel(dc, 95, 65), kUntouched);

    SendMessageW(rig.Handle(), SM_ALPHACMD, PackSkinCommand(SMC_SETLINK), 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
}  // namespace korvel
