// Live reload: a skin manager that watches its skin's folder follows every
// good save within the bound, keeps its look over a broken save (reported
// once), moves its watch with the skin, and ends its watching thread with it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "engine/skin_watch.h"
#include "form_test_support.h"
#include "live_counts_support.h"

namespace korvel {
namespace {

using testing::PumpUntil;
using testing::TSkinnedFormRig;

// Colours as Options.dat writes them (decimal 0x00BBGGRR), three channels apart.
constexpr TColor kFirst = 0x00336699, kSecond = 0x00CC2211, kThird = 0x0011AA44;
// Within a second of a save (the quiet wait, the load and the paint take about 170 ms here).
constexpr int kFollowMillis = 1000;

std::vector<std::string> SkinLines(TColor panel, const std::string& shadowOffset = "0") {
    return {"[GLOBALINFO]", "VERSION=3", "SHADOW1OFFSET=" + shadowOffset,
            "[FORM]", "COLOR=10079487", "HOTCOLOR=10079487",
            "[PANEL]", "COLOR=" + std::to_string(panel), "HOTCOLOR=" + std::to_string(panel)};
}

// Saves Options.dat of the skin folder as an editor does: the whole file anew.
void Save(const std::string& directory, const std::string& name, const std::vector<std::string>& lines) {
    std::ofstream out(Widen(directory + "\\" + name + "\\Options.dat").c_str(), std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) out << line << "\r\n";
}

// A form with a panel in the folder skin "LiveA" (or "LiveB") of its own
// directory, live reload on; every report of the application is counted.
struct TLiveRig {
    TLiveRig() {
        directory = testing::WriteFolderSkin("live", "LiveA", SkinLines(kFirst));
        testing::WriteFolderSkin("live", "LiveB", SkinLines(kThird));
        previousHandler = Application().OnException;
        Application().OnException = [this](const std::exception& e) {
            ++reports;
            lastReport = e.what();
        };
        rig.Manager->SetSkinDirectory(directory);
        rig.Manager->SetLiveReload(true);
        rig.Manager->SetSkinName("LiveA");
        panel = testing::AddControl<TsPanel>(rig.Form, 20, 20, 160, 80);
        panel->SetCaption("");
        rig.Show();
    }
    ~TLiveRig() { Application().OnException = previousHandler; }
    // The panel's middle on the screen.
    COLORREF PanelPixel() const {
        POINT p{100, 60};
        ClientToScreen(rig.Form->Handle(), &p);
        return testing::ScreenPixel(p.x, p.y);
    }
    bool PanelShows(TColor colour) const { return PanelPixel() == colour; }

    TSkinnedFormRig rig;
    std::string directory;
    TsPanel* panel = nullptr;
    int reports = 0;
    std::string lastReport;
    std::function<void(const std::exception&)> previousHandler;
};

TEST(SkinLiveReload, IsOffByDefaultAndWatchesNothing) {
    TSkinnedFormRig rig;
    EXPECT_FALSE(rig.Manager->LiveReload());
    EXPECT_EQ(rig.Manager->WatchedFolder(), "");
}

TEST(SkinLiveReload, SavesAreFollowedABrokenSaveKeepsTheLookAndIsReportedOnce) {
    TLiveRig live;
    ASSERT_TRUE(PumpUntil([&] { return live.PanelShows(kFirst); }, "the panel in the first colour"));
    ASSERT_EQ(live.rig.Manager->WatchedFolder(), live.directory + "\\LiveA");
    struct TStep {
        const char* What;
        std::vector<std::string> Lines;
        TColor Shown;       // the panel's colour after the save
        int Reports;        // reports so far
    };
    const TStep steps[] = {
        {"a good save", SkinLines(kSecond), kSecond, 0},
        {"a broken save", SkinLines(kThird, "x1"), kSecond, 1},
        {"another broken save", SkinLines(kFirst, "x2"), kSecond, 1},
        {"the fix", SkinLines(kThird), kThird, 1},
        {"a new breakage", SkinLines(kFirst, "x3"), kThird, 2},
        {"the next fix", SkinLines(kFirst), kFirst, 2},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.What);
        const int reportsBefore = live.reports;
        Save(live.directory, "LiveA", step.Lines);
        if (step.Reports > reportsBefore) {
            ASSERT_TRUE(PumpUntil([&] { return live.reports == step.Reports; }, "the report", kFollowMillis));
            EXPECT_NE(live.lastReport.find("is not a valid integer value"), std::string::npos) << live.lastReport;
        } else if (step.Shown != live.PanelPixel()) {
            const DWORD saved = GetTickCount();
            ASSERT_TRUE(PumpUntil([&] { return live.PanelShows(step.Shown); }, "the saved colour", kFollowMillis));
            std::printf("%s: on the screen %lu ms after the save\n", step.What, GetTickCount() - saved);
        } else {
            // Nothing may change: the reload has had its time when a burst would have settled twice over.
            testing::Pump(2 * TsSkinWatch::LongestBurstMs + testing::NothingHappensMillis);
        }
        EXPECT_EQ(live.PanelPixel(), step.Shown);
        EXPECT_EQ(live.reports, step.Reports);
        EXPECT_EQ(live.rig.Manager->SkinName(), "LiveA");
        EXPECT_TRUE(live.rig.Manager->Active());
    }
}

// An editor writes a file in pieces: the skin is loaded once, from the last piece.
TEST(SkinLiveReload, ABurstOfWritesReloadsOnce) {
    TLiveRig live;
    auto* recorder = testing::AddControl<testing::TSkinnedPanel>(live.rig.Form, 200, 20, 60, 40);
    ASSERT_TRUE(PumpUntil([&] { return live.PanelShows(kFirst); }, "the panel in the first colour"));
    testing::TCommandLog& log = recorder->Log;
    log = {};
    const std::vector<std::string> full = SkinLines(kSecond);
    for (std::size_t n = 1; n <= full.size(); ++n) Save(live.directory, "LiveA", {full.begin(), full.begin() + n});
    ASSERT_TRUE(PumpUntil([&] { return live.PanelShows(kSecond); }, "the saved colour", kFollowMillis));
    testing::Pump(2 * TsSkinWatch::LongestBurstMs);
    const std::vector<std::uint32_t> once = {SMC_SKINCHANGED, SMC_STOPFADE, SMC_SKINAPPLIED};
    EXPECT_EQ(log.Announcements(), once);
    EXPECT_EQ(live.reports, 0) << live.lastReport;
}

TEST(SkinLiveReload, TheWatchFollowsTheSkinAndTheInternalSkinWatchesNothing) {
    TLiveRig live;
    struct TCase {
        const char* Skin;
        std::string Watched;     // relative to the directory; "" for none
        const char* Saved;       // the folder saved into while the skin is shown
        bool Follows;
    };
    const TCase cases[] = {
        {"LiveB", "\\LiveB", "LiveB", true},
        {"LiveB", "\\LiveB", "LiveA", false},
        {testing::kElegant, "", "LiveA", false},
        {"LiveA", "\\LiveA", "LiveA", true},
    };
    TColor colour = kFirst;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Skin) + ", saving into " + c.Saved);
        live.rig.Manager->SetSkinName(c.Skin);
        EXPECT_EQ(live.rig.Manager->WatchedFolder(), c.Watched.empty() ? "" : live.directory + c.Watched);
        Application().ProcessMessages();
        const COLORREF before = live.PanelPixel();
        colour = colour == kSecond ? kThird : kSecond;
        Save(live.directory, c.Saved, SkinLines(colour));
        if (c.Follows) {
            EXPECT_TRUE(PumpUntil([&] { return live.PanelShows(colour); }, "the saved colour", kFollowMillis));
        } else {
            testing::Pump(2 * TsSkinWatch::LongestBurstMs + testing::NothingHappensMillis);
            EXPECT_EQ(live.PanelPixel(), before) << "a folder not shown is not followed";
        }
    }
    live.rig.Manager->SetLiveReload(false);
    EXPECT_EQ(live.rig.Manager->WatchedFolder(), "");
}

TEST(SkinLiveReload, TheWatchingThreadEndsWithTheWatchAndTheManager) {
    const int threadsBefore = TsSkinWatch::LiveThreads();
    const testing::TCounts countsBefore = testing::Count();
    {
        TLiveRig live;
        EXPECT_EQ(TsSkinWatch::LiveThreads(), threadsBefore + 1);
        live.rig.Manager->SetActive(false);
        EXPECT_EQ(TsSkinWatch::LiveThreads(), threadsBefore) << "an inactive manager watches nothing";
        live.rig.Manager->SetActive(true);
        EXPECT_EQ(TsSkinWatch::LiveThreads(), threadsBefore + 1);
        live.rig.Manager->SetSkinName("LiveB");
        EXPECT_EQ(TsSkinWatch::LiveThreads(), threadsBefore + 1) << "one thread per watch";
    }
    EXPECT_EQ(TsSkinWatch::LiveThreads(), threadsBefore) << "freeing the manager ends the thread";
    Application().ProcessMessages();
    const testing::TCounts countsAfter = testing::Count();
    testing::ExpectSameCounts(countsBefore, countsAfter);
}

}  // namespace
}  // namespace korvel
