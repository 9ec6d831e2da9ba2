// The title bar a skinned form shows after an activation change, a caption
// change or a hot caption button is, pixel for pixel, the one a complete
// repaint of the window's picture paints, however often its two looks (active
// and inactive) have been shown before.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "form_test_support.h"

namespace korvel {
namespace {

using testing::TSkinnedFormRig;

// The title strip of the provider's cache as bytes.
std::vector<TColor> TitleStrip(const TsSkinProvider& p) {
    const TBitmap24* cache = const_cast<TsSkinProvider&>(p).SkinData().CacheBmp();
    std::vector<TColor> pixels;
    const int height = p.FrameHeight() + p.CaptionHeight();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < cache->Width(); ++x) pixels.push_back(cache->Pixel(x, y));
    return pixels;
}

// The strip a complete repaint paints in the same state: background, frame and
// every title step again (the kept background under the title stays).
std::vector<TColor> CompleteRepaintStrip(TsSkinProvider& p) {
    p.MenuLineChanged = true;
    p.SkinData().BackgroundChanged = true;
    p.RepaintCache();
    return TitleStrip(p);
}

TEST(FormTitleLooks, EveryLookIsTheOneACompleteRepaintPaints) {
    TSkinnedFormRig rig;
    rig.Show();
    TsSkinProvider& p = *rig.Provider;
    ASSERT_TRUE(p.SkinData().Section()->ReservedBoolean) << "the form section keeps its title area";
    // Activation alone: the look the frame paints after WM_ACTIVATE.
    const auto activate = [&](bool active) {
        SendMessageW(rig.Handle(), WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
        Application().ProcessMessages();
    };
    struct TStep {
        const char* What;
        std::function<void()> Do;
    };
    const std::vector<TStep> steps = {
        {"inactive", [&] { activate(false); }},
        {"active", [&] { activate(true); }},
        {"inactive again", [&] { activate(false); }},
        {"new caption while inactive", [&] { rig.Form->SetCaption("A caption long enough to be cut short, surely, at this width"); }},
        {"active with the new caption", [&] { activate(true); }},
        {"close button hot", [&] {
             p.SetHotButton(htsClose);
             p.SkinData().BackgroundChanged = true;
             SendMessageW(rig.Handle(), WM_NCPAINT, 1, 0);
         }},
        {"inactive with the close button hot", [&] { activate(false); }},
        {"close button normal again", [&] {
             p.SetHotButton(0);
             activate(true);
         }},
        {"short caption", [&] { rig.Form->SetCaption("Short"); }},
        {"inactive with the short caption", [&] { activate(false); }},
        {"active with the short caption", [&] { activate(true); }},
    };
    int differentLooks = 0;
    std::vector<TColor> previous = TitleStrip(p);
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.What);
        step.Do();
        const std::vector<TColor> shown = TitleStrip(p);
        const bool active = p.FormActive;
        const std::string drawn = p.DrawnCaption;
        if (shown != previous) ++differentLooks;
        previous = shown;
        EXPECT_TRUE(shown == CompleteRepaintStrip(p)) << "the kept look differs from a complete repaint";
        EXPECT_EQ(p.DrawnCaption, drawn);
        EXPECT_EQ(p.FormActive, active);
    }
    EXPECT_GE(differentLooks, 8) << "the steps change the title bar";
}

}  // namespace
}  // namespace korvel
