// A long run of skin changes among every shipped skin and the folders that lack
// sections (tests/win/incomplete_skins_support.h), on a form with skinned
// controls: the frame steps aside and comes back, controls lose their sections
// and get them back, pictures are missing; the framework's live objects,
// Windows' GDI and USER objects and the committed memory come back to where
// they were after a warm-up, and the window stays visible and usable.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/check_box.h"
#include "controls/edit.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "form_test_support.h"
#include "gui_input_support.h"
#include "incomplete_skins_support.h"
#include "live_counts_support.h"

namespace korvel {
namespace {

using testing::Count;
using testing::Pump;
using testing::TCounts;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

TEST(SkinWithoutSectionsSoak, ChangesAmongShippedAndIncompleteSkinsLeaveObjectsAndMemory) {
    std::vector<std::string> reported;
    Application().OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    const std::string directory = testing::WriteIncompleteSkins("soak");
    TFormSetup setup;
    setup.ClientWidth = 320;
    setup.ClientHeight = 180;
    TSkinnedFormRig rig(setup);
    rig.Manager->SetSkinDirectory(directory);
    auto* page = testing::AddControl<TsPanel>(rig.Form, 8, 8, 304, 164);
    auto add = [&](auto* control, int left, int top, int width, int height) {
        control->SetParent(page);
        control->SetBounds(left, top, width, height);
        return control;
    };
    auto* button = add(new TsButton(rig.Form), 10, 10, 90, 25);
    auto* edit = add(new TsEdit(rig.Form), 10, 45, 130, 21);
    auto* box = add(new TsCheckBox(rig.Form), 10, 75, 130, 20);
    auto* label = add(new TsLabel(rig.Form), 10, 105, 100, 13);
    auto* onForm = testing::AddControl<TsButton>(rig.Form, 200, 140, 100, 25);
    button->SetCaption("Launch");
    edit->SetText("192.168.100.1");
    box->SetCaption("Step Thru");
    label->SetCaption("IP Address:");
    onForm->SetCaption("View");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    rig.Show();

    // Every shipped skin and every incomplete folder, in turn.
    std::vector<std::string> skins = testing::ShippedSkins();
    for (const testing::TIncompleteSkin& skin : testing::IncompleteSkins()) skins.push_back(skin.Name);
    const int n = static_cast<int>(skins.size());
    auto change = [&](int i) {
        rig.Manager->SetSkinName(skins[static_cast<std::size_t>(i % n)]);
        Application().ProcessMessages();
        if (i % 10 == 0) Pump(10);   // now and then the timers and late paints run too
    };
    // Warm-up: every skin twice, so each one's tables, caches and frames have been made.
    for (int i = 0; i < 2 * n; ++i) change(i);
    ASSERT_EQ(rig.Manager->SkinName(), skins.back());
    Pump(200);
    const TCounts before = Count();
    // At least 1,000 changes, in whole rounds: the run ends in the skin it started from.
    const int rounds = (1000 + n - 1) / n;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds * n; ++i) {
        change(i);
        // Each skin was loaded by its own name, from its folder unless it is the stored one.
        ASSERT_EQ(rig.Manager->SkinName(), skins[static_cast<std::size_t>(i % n)]) << "change " << i;
    }
    Pump(300);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TCounts after = Count();
    testing::ExpectSameCounts(before, after);
    testing::PrintCounts("incomplete skins soak", before, after);
    // Both points hold the same skin, the window's caches and the controls'. A
    // leaked Basalt table set per change (its master bitmap alone is 200 x 125,
    // 75 KB) would be tens of MB, a leaked control cache per change hundreds of
    // KB; Wine's heap commits in 64 KiB steps: one step of slack.
    const long long grown = static_cast<long long>(after.PrivateBytes) - static_cast<long long>(before.PrivateBytes);
    EXPECT_LE(grown, 64 * 1024) << "private bytes grew by " << grown;
    std::printf("%d skin changes among %d skins in %.1f s\n", rounds * n, n, seconds);

    // Still visible and usable: a real click on the button runs its handler.
    EXPECT_TRUE(IsWindowVisible(rig.Handle()));
    const POINT centre = button->ClientToScreen({button->Width() / 2, button->Height() / 2});
    EXPECT_EQ(WindowFromPoint(centre), button->Handle());
    testing::ClickAt(centre);
    Pump(200);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(reported.empty()) << reported.front();
    Application().OnException = nullptr;
}

}  // namespace
}  // namespace korvel
