// Switching the skin off gives the form back the system's frame, its own
// border icons and a rectangular window; switching it on takes them away again.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

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

// Every region the window is given, as the kind of region it has right after:
// SetWindowRgn ends in a frame-changing SetWindowPos that neither moves nor sizes.
class TRegionLog {
public:
    explicit TRegionLog(HWND window) : hook_(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId())) {
        window_ = window;
        kinds_ = &Kinds;
    }
    ~TRegionLog() {
        UnhookWindowsHookEx(hook_);
        kinds_ = nullptr;
    }
    TRegionLog(const TRegionLog&) = delete;
    TRegionLog& operator=(const TRegionLog&) = delete;
    std::vector<int> Kinds;   // NULLREGION (hidden), SIMPLEREGION or COMPLEXREGION, ERROR (none)

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
        if (code == HC_ACTION && kinds_ && sent->hwnd == window_ && sent->message == WM_WINDOWPOSCHANGED) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
            constexpr UINT kRegionFlags = SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE;
            if ((pos->flags & kRegionFlags) == kRegionFlags) {
                HRGN region = CreateRectRgn(0, 0, 0, 0);
                kinds_->push_back(GetWindowRgn(window_, region));
                DeleteObject(region);
            }
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    HHOOK hook_;
    static inline HWND window_ = nullptr;
    static inline std::vector<int>* kinds_ = nullptr;
};

// A skin change hides the window behind an empty region once and shapes it once,
// and what shows afterwards is the new cache: title, frame and client.
TEST(FormSkinSwitch, ChangeHidesAndShapesTheWindowOnceAndShowsTheNewPicture) {
    TSkinnedFormRig rig;
    rig.Show();
    const HWND window = rig.Handle();
    TsSkinProvider& p = *rig.Provider;
    const RECT wr = rig.WindowRect();
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    const int titleY = p.FrameHeight() + p.CaptionHeight() / 2;
    const int frameX = p.FrameWidth() / 2;
    const int clientY = p.ClientOffsetY() + 40;
    const int middleY = h / 2;
    const int bottomY = h - 1 - p.FrameHeight() / 2;
    // Points inside the title, the left and bottom frame and the client, clear of the cut corners.
    std::vector<POINT> points;
    for (int x = 12; x < w - 12; x += 9) points.push_back({x, titleY});
    for (int x = 12; x < w - 12; x += 17) points.push_back({x, bottomY});
    for (int x = p.ClientOffsetX() + 3; x < w - p.FrameWidth() - 3; x += 23) points.push_back({x, clientY});
    points.push_back({frameX, middleY});
    points.push_back({w - 1 - frameX, middleY});

    struct TStep {
        const char* Name;
        std::function<void()> Change;
        bool NewColours;   // the hue turns the frame's colours
    };
    const TStep steps[] = {
        {"hue 120 (skin applied only)", [&] { rig.Manager->SetHueOffset(120); }, true},
        {"the same skin again (changed, then applied)", [&] { rig.Manager->SetSkinName(testing::kElegant); }, false},
        {"hue 0", [&] { rig.Manager->SetHueOffset(0); }, true},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.Name);
        const TColor before = p.SkinData().CacheBmp()->Pixel(w / 2, titleY);
        std::vector<int> kinds;
        {
            TRegionLog log(window);
            step.Change();
            kinds = log.Kinds;
        }
        EXPECT_EQ(kinds, (std::vector<int>{NULLREGION, COMPLEXREGION})) << "hidden once, then shaped once";
        Pump(300);
        const TBitmap24& cache = *p.SkinData().CacheBmp();
        if (step.NewColours) EXPECT_NE(cache.Pixel(w / 2, titleY), before) << "the title takes the new colours";
        for (const POINT& at : points) EXPECT_EQ(rig.Pixel(at.x, at.y), cache.Pixel(at.x, at.y)) << at.x << "," << at.y;
        EXPECT_EQ(rig.Pixel(0, 0), kRootColour) << "the corner is cut again";
    }
}

}  // namespace
}  // namespace korvel
