#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdio>
#include "controls/track_bar.h"
#include "controls/progress_bar.h"
#include "skinned_control_support.h"
namespace korvel {
namespace {
class GaugeTest : public testing::SkinnedControlTest {};
TEST_F(GaugeTest, Probe) {
    for (int vertical = 0; vertical < 2; ++vertical) {
        auto* bar = testing::AddControl<TsTrackBar>(form, 10, 10, vertical ? 40 : 200, vertical ? 200 : 40);
        if (vertical) bar->SetOrientation(TTrackBarOrientation::trVertical);
        bar->SetMax(20); bar->SetFrequency(5);
        ShowForm();
        for (int pos : {0, 7, 20}) {
            bar->SetPosition(pos);
            Application().ProcessMessages();
            RECT t = bar->NativeThumbRect(), c = bar->NativeChannelRect();
            std::printf("v%d pos %d thumb %ld,%ld,%ld,%ld channel %ld,%ld,%ld,%ld tics %d:", vertical, pos, t.left, t.top, t.right, t.bottom,
                        c.left, c.top, c.right, c.bottom, (int)SendMessageW(bar->Handle(), TBM_GETNUMTICS, 0, 0));
            for (int i = 0; i < 6; ++i) std::printf(" %d/%d", (int)SendMessageW(bar->Handle(), TBM_GETTIC, i, 0), (int)SendMessageW(bar->Handle(), TBM_GETTICPOS, i, 0));
            std::printf("\n");
        }
        delete bar;
    }
}
}  // namespace
}  // namespace korvel
