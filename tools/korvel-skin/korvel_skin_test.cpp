// korvel-skin as a skin author runs it: render and preview write PNG files whose
// pixels are the section's look (computed here from the skin's numbers), and the
// preview's page names every tile it drew.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "folder_watch.h"
#include "gradient_rule_support.h"
#include "png_file.h"
#include "skin_render.h"
#include "skin_source.h"

using namespace korvel;
using korvel::testing::RuleBands;
using korvel::testing::RuleLines;
using korvel::testing::TRuleStop;

namespace {

const std::string SourceDir = KORVEL_SOURCE_DIR;
const std::string SkinDir = SourceDir + "/skins";

// A skin without pictures whose every pixel follows from its numbers: a global
// colour, a button whose normal face is a vertical gradient of three stops (one
// above 100 %) and whose hot face a horizontal one, a plain panel with a hot
// colour of its own and a see-through check box.
const TColor GlobalColour = MakeColor(90, 120, 150), PanelColour = MakeColor(17, 34, 51),
             HotPanelColour = MakeColor(200, 180, 160);
const std::vector<TRuleStop> ButtonStops = {{MakeColor(10, 200, 60), MakeColor(250, 20, 90), 30},
                                            {MakeColor(0, 0, 255), MakeColor(255, 128, 0), 300},
                                            {MakeColor(33, 66, 99), MakeColor(99, 66, 33), 50}};
const std::vector<TRuleStop> HotButtonStops = {{MakeColor(200, 10, 0), MakeColor(0, 90, 250), 40},
                                               {MakeColor(5, 6, 7), MakeColor(250, 251, 252), 0}};

std::string GradientText(const std::vector<TRuleStop>& stops, int mode) {
    std::string text;
    for (const TRuleStop& s : stops)
        text += std::to_string(s.Color1) + ";" + std::to_string(s.Color2) + ";" + std::to_string(s.Percent) + ";" +
                std::to_string(mode) + ";0;";
    return text;
}

std::string BandsOptions() {
    return "[GLOBALINFO]\nNAME=Bands\nCOLOR=" + std::to_string(GlobalColour) +
           "\n[BUTTON]\nCOLOR=255\nGRADIENTPERCENT=100\nGRADIENTDATA=" + GradientText(ButtonStops, 0) +
           "\nHOTCOLOR=65280\nHOTGRADIENTPERCENT=100\nHOTGRADIENTDATA=" + GradientText(HotButtonStops, 1) +
           "\n[PANEL]\nCOLOR=" + std::to_string(PanelColour) + "\nHOTCOLOR=" + std::to_string(HotPanelColour) + "\n[CHECKBOX]\nCOLOR=255\nTRANSPARENCY=100\n";
}

// What a section of "Bands" looks like at width x height in a state, from the rules:
// a gradient line by line by the band rule, a plain colour, the parent (the
// global colour) under a fully transparent section. Any state but 0 shows the hot set.
TBitmap24 BandsLook(const std::string& section, int width, int height, int state) {
    TBitmap24 b(width, height);
    if (section == "BUTTON" && state == 0) {
        const std::vector<TColor> rows = RuleLines(ButtonStops, RuleBands(ButtonStops, height), height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) b.SetPixel(x, y, rows[std::size_t(y)]);
    } else if (section == "BUTTON") {
        const std::vector<TColor> columns = RuleLines(HotButtonStops, RuleBands(HotButtonStops, width), width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) b.SetPixel(x, y, columns[std::size_t(x)]);
    } else {
        b.Fill(section != "PANEL" ? GlobalColour : state == 0 ? PanelColour : HotPanelColour);
    }
    return b;
}

// Pixels of `picture` at (left, top) that differ from `expected`, the first named in where.
int Differing(const TBitmap24& picture, int left, int top, const TBitmap24& expected, std::string& where) {
    int differing = 0;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            if (picture.Pixel(left + x, top + y) != expected.Pixel(x, y) && differing++ == 0)
                where = std::to_string(x) + "," + std::to_string(y);
    return differing;
}

class KorvelSkin : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = std::filesystem::temp_directory_path() /
               ("korvel-skin-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(out_);
    }
    void TearDown() override { std::filesystem::remove_all(out_); }

    // Runs the tool; its exit status.
    int Run(const std::string& arguments) const {
        const std::string command = std::string(KORVEL_SKIN_EXE) + " " + arguments + " >" + (out_ / "stdout").string() +
                                    " 2>" + (out_ / "stderr").string();
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Output(const char* stream) const {
        std::ifstream in(out_ / stream);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Path(const std::string& name) const { return (out_ / name).string(); }

    static void Load(const std::string& name, TsSkinTables& tables, const std::string& folder = SkinDir) {
        TsSkinLoadReport report;
        LoadToolSkin({folder, name, "/", {}, true}, tables, report);
    }
    // Writes the skin "Bands" (BandsOptions) into the test's folder; answers its skin directory.
    std::string WriteBandsSkin() const {
        std::filesystem::create_directories(out_ / "skins" / "Bands");
        std::ofstream(out_ / "skins" / "Bands" / "Options.dat") << BandsOptions();
        return (out_ / "skins").string();
    }

    std::filesystem::path out_;
};

TEST_F(KorvelSkin, RenderWritesTheSectionsPixelsAtTheAskedSize) {
    const std::string bands = WriteBandsSkin();
    const struct {
        std::string Folder;
        const char* Skin;
        const char* Section;
        int Width, Height, State;
    } cases[] = {
        {bands, "Bands", "BUTTON", 75, 25, 0},    // three bands down
        {bands, "Bands", "BUTTON", 75, 25, 2},    // pressed shows the hot set: two bands across
        {bands, "Bands", "BUTTON", 7, 61, 0},
        {bands, "Bands", "BUTTON", 61, 3, 1},
        {bands, "Bands", "PANEL", 30, 7, 0},
        {bands, "Bands", "PANEL", 30, 7, 2},      // the hot colour
        {bands, "Bands", "CHECKBOX", 40, 17, 0},  // fully transparent: the parent shows
        {SkinDir, "Elegant (internal)", "FORMTITLE", 200, 24, 0},
        {SkinDir, "Elegant (internal)", "EDIT", 3, 2, 2},
        {SkinDir, "Basalt", "PANEL", 90, 60, 0},          // gradient, JPEG pattern, own frame picture
        {SkinDir, "Basalt", "SCROLLBAR1H", 120, 17, 1},   // "~" texture
        {SkinDir, "Basalt", "MAINMENU", 150, 20, 0},      // small JPEG texture
        {SkinDir, "Opal", "BUTTON", 75, 25, 1},           // hot pattern, own frame picture of three parts
        {SkinDir, "Opal", "FORMTITLE", 200, 24, 1},       // gradient under a texture
        {SkinDir, "Opal", "MENUITEM", 120, 20, 0},        // partly transparent over the parent
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Skin) + " " + c.Section + " " + std::to_string(c.Width) + "x" +
                     std::to_string(c.Height) + " state " + std::to_string(c.State));
        const std::string png = Path("one.png");
        ASSERT_EQ(Run("render '" + c.Folder + "' '" + c.Skin + "' " + c.Section + " " + std::to_string(c.Width) + " " +
                      std::to_string(c.Height) + " " + std::to_string(c.State) + " " + png),
                  0)
            << Output("stderr");
        TBitmap24 written;
        ASSERT_EQ(ReadPng(png, written), "");
        ASSERT_EQ(written.Width(), c.Width);
        ASSERT_EQ(written.Height(), c.Height);
        if (c.Folder == bands) {
            std::string where;
            EXPECT_EQ(Differing(written, 0, 0, BandsLook(c.Section, c.Width, c.Height, c.State), where), 0)
                << "first at " << where;
        }
    }
    // Not a picture of the parent alone: the button's frame and face are there.
    TBitmap24 button;
    ASSERT_EQ(Run("render '" + SkinDir + "' 'Elegant (internal)' BUTTON 75 25 0 " + Path("b.png")), 0);
    ASSERT_EQ(ReadPng(Path("b.png"), button), "");
    TsSkinTables tables;
    Load("Elegant (internal)", tables);
    EXPECT_NE(button.Pixel(37, 12), tables.GlobalColor());
    EXPECT_NE(button.Pixel(37, 0), button.Pixel(37, 12));
}

TEST_F(KorvelSkin, RenderRefusesWhatItCannotPaint) {
    const struct {
        std::string Arguments;
        int Status;
        const char* Message;
    } cases[] = {
        {"BUTTON 75 25 3", 2, "STATE must be 0, 1 or 2"},
        {"BUTTON 0 25 0", 2, "WIDTH and HEIGHT must be numbers from 1 to 4096"},
        {"BUTTON 75 5000 0", 2, "WIDTH and HEIGHT"},
        {"BUTTON wide 25 0", 2, "WIDTH and HEIGHT"},
        {"Button 75 25 0", 1, "has no section \"Button\""},
        {"BUTTON 75 25", 2, "wrong number of arguments"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments);
        EXPECT_EQ(Run("render '" + SkinDir + "' Basalt " + c.Arguments + " " + Path("x.png")), c.Status);
        EXPECT_NE(Output("stderr").find(c.Message), std::string::npos) << Output("stderr");
        EXPECT_FALSE(std::filesystem::exists(Path("x.png")));
    }
    EXPECT_EQ(Run("render '" + SkinDir + "' Basalt BUTTON 75 25 0 " + Path("no-such-folder/x.png")), 1);
    EXPECT_NE(Output("stderr").find("cannot write"), std::string::npos);
}

TEST_F(KorvelSkin, PreviewNamesEveryTileItPaints) {
    for (const char* skin : {"Elegant (internal)", "Basalt", "Opal"}) {
        SCOPED_TRACE(skin);
        ASSERT_EQ(Run("preview '" + SkinDir + "' '" + skin + "' " + Path("sheet.png") + " --scale 1"), 0)
            << Output("stderr");
        EXPECT_EQ(Output("stderr"), "");   // no picture skipped
        TBitmap24 sheet;
        ASSERT_EQ(ReadPng(Path("sheet.png"), sheet), "");
        std::ifstream in(Path("sheet.html"));
        const std::string html{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_NE(html.find("src=\"sheet.png\""), std::string::npos);

        TsSkinTables tables;
        Load(skin, tables);
        // Every promised section the skin has is on the page, in each of its states.
        for (const TPreviewSection& s : PreviewSections()) {
            const int index = tables.SectionIndexOf(s.Name);
            const std::string normal = "<tr><td>" + std::string(s.Name) + "</td><td>0 normal</td>";
            const std::string hot = "<tr><td>" + std::string(s.Name) + "</td><td>1 hot</td>";
            EXPECT_EQ(html.find(normal) != std::string::npos, index >= 0) << s.Name;
            EXPECT_EQ(html.find(hot) != std::string::npos, index >= 0) << s.Name;
        }
        EXPECT_NE(html.find("<tr><td>BUTTON</td><td>2 pressed</td>"), std::string::npos);
        // Every mask, and every tile inside the picture.
        std::set<std::string> listed;   // masks named in the table, shared tiles naming several
        const std::string mask = "<tr><td>mask ";
        for (std::size_t at = html.find(mask); at != std::string::npos; at = html.find(mask, at + 1)) {
            std::string names = html.substr(at + mask.size(), html.find("</td>", at) - at - mask.size()) + ", ";
            for (std::size_t start = 0, comma; (comma = names.find(", ", start)) != std::string::npos; start = comma + 2)
                listed.insert(names.substr(start, comma - start));
        }
        for (const TsMaskData& m : tables.Masks)
            EXPECT_EQ(listed.count(m.SectionName + "." + m.PropertyName), 1u) << m.SectionName << "." << m.PropertyName;
        // Each table row ends in four numbers: left, top, width, height.
        const std::string cell = "<td class=\"n\">";
        int rows = 0;
        for (std::size_t at = html.find(cell); at != std::string::npos; ++rows) {
            int v[4];
            for (int& n : v) {
                EXPECT_EQ(html.compare(at, cell.size(), cell), 0);
                n = std::stoi(html.substr(at + cell.size()));
                at = html.find(cell, at + 1);
            }
            EXPECT_LE(v[0] + v[2], sheet.Width());
            EXPECT_LE(v[1] + v[3], sheet.Height());
        }
        EXPECT_GT(rows, 100);
    }
}

TEST_F(KorvelSkin, PreviewTilesShowTheSectionsLooks) {
    TsSkinTables tables;
    Load("Bands", tables, WriteBandsSkin());
    ASSERT_GE(tables.SectionIndexOf("BUTTON"), 0);
    const TPreviewSheet sheet = MakePreviewSheet(tables);
    // Without a frame picture a section has two tiles, normal and hot.
    const struct {
        const char* Section;
        int State;
    } cases[] = {{"BUTTON", 0}, {"BUTTON", 1}, {"PANEL", 0}, {"PANEL", 1}, {"CHECKBOX", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Section) + " state " + std::to_string(c.State));
        const auto tile = std::find_if(sheet.Tiles.begin(), sheet.Tiles.end(),
                                       [&](const TPreviewTile& t) { return t.Name == c.Section && t.State == c.State; });
        ASSERT_NE(tile, sheet.Tiles.end());
        const auto size = std::find_if(PreviewSections().begin(), PreviewSections().end(),
                                       [&](const TPreviewSection& s) { return c.Section == std::string(s.Name); });
        ASSERT_EQ(tile->Bounds.Width(), size->Width);
        ASSERT_EQ(tile->Bounds.Height(), size->Height);
        std::string where;
        EXPECT_EQ(Differing(sheet.Bitmap, tile->Bounds.Left, tile->Bounds.Top,
                            BandsLook(c.Section, size->Width, size->Height, c.State), where),
                  0)
            << "first at " << where;
    }
    EXPECT_EQ(std::count_if(sheet.Tiles.begin(), sheet.Tiles.end(), [](const TPreviewTile& t) { return t.Name == "BUTTON"; }), 2);
    // Tiles never overlap.
    TsSkinTables basalt;
    Load("Basalt", basalt);
    const TPreviewSheet full = MakePreviewSheet(basalt);
    for (std::size_t i = 0; i < full.Tiles.size(); ++i)
        for (std::size_t j = i + 1; j < full.Tiles.size(); ++j)
            ASSERT_TRUE(Intersect(full.Tiles[i].Bounds, full.Tiles[j].Bounds).IsEmpty())
                << full.Tiles[i].Name << " and " << full.Tiles[j].Name;
}

// Bands with another panel colour, or with a value that breaks the load.
std::string BandsWithPanel(TColor panel, bool broken = false) {
    std::string text = BandsOptions();
    const std::string from = "[PANEL]\nCOLOR=" + std::to_string(PanelColour);
    text.replace(text.find(from), from.size(), "[PANEL]\nCOLOR=" + std::to_string(panel));
    if (broken) text.replace(0, std::string("[GLOBALINFO]\n").size(), "[GLOBALINFO]\nSHADOW1OFFSET=x9\n");
    return text;
}

template <class Condition>
bool WaitFor(Condition done, std::chrono::milliseconds limit = std::chrono::milliseconds(8000)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TEST_F(KorvelSkin, PreviewWatchPaintsAgainAfterEverySaveAndKeepsTheSheetOverABrokenOne) {
    const std::string skins = WriteBandsSkin();
    TsSkinTables tables;
    Load("Bands", tables, skins);
    const TPreviewSheet layout = MakePreviewSheet(tables);
    const auto tile = std::find_if(layout.Tiles.begin(), layout.Tiles.end(),
                                   [](const TPreviewTile& t) { return t.Name == "PANEL" && t.State == 0; });
    ASSERT_NE(tile, layout.Tiles.end());
    const int x = tile->Bounds.Left + tile->Bounds.Width() / 2, y = tile->Bounds.Top + tile->Bounds.Height() / 2;
    // The panel's tile as the sheet on disk shows it; magenta while there is no whole sheet.
    const auto shown = [&] {
        TBitmap24 sheet;
        if (!ReadPng(Path("sheet.png"), sheet).empty() || sheet.Width() != layout.Bitmap.Width()) return TColor{0xFF00FF};
        return sheet.Pixel(x, y);
    };
    const std::string command = std::string(KORVEL_SKIN_EXE) + " preview '" + skins + "' Bands " + Path("sheet.png") +
                                " --scale 1 --watch 60 >" + Path("stdout") + " 2>" + Path("stderr");
    const pid_t tool = fork();
    ASSERT_GE(tool, 0);
    if (tool == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    struct TStop {   // the watch ends with the test, whatever it found
        pid_t Pid;
        ~TStop() {
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
    } stop{tool};
    ASSERT_TRUE(WaitFor([&] { return shown() == PanelColour; })) << Output("stderr");
    ASSERT_TRUE(WaitFor([&] { return Output("stdout").find("watching ") != std::string::npos; }));
    const std::string options = (out_ / "skins" / "Bands" / "Options.dat").string();
    struct TStep {
        const char* What;
        TColor Written;
        bool Broken;
        TColor Shown;
    };
    const TStep steps[] = {
        {"a good save", MakeColor(1, 2, 250), false, MakeColor(1, 2, 250)},
        {"a broken save", MakeColor(250, 2, 1), true, MakeColor(1, 2, 250)},
        {"the fix", MakeColor(40, 200, 90), false, MakeColor(40, 200, 90)},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.What);
        const std::size_t reports = Output("stderr").size();
        std::ofstream(options, std::ios::trunc) << BandsWithPanel(step.Written, step.Broken);
        if (step.Broken) {
            ASSERT_TRUE(WaitFor([&] { return Output("stderr").find("is not a valid integer value", reports) != std::string::npos; }))
                << Output("stderr");
            EXPECT_NE(Output("stderr").find("the sheet stays as it was", reports), std::string::npos);
        } else {
            ASSERT_TRUE(WaitFor([&] { return shown() == step.Shown; })) << Output("stderr");
        }
        EXPECT_EQ(shown(), step.Shown);
    }
}

TEST_F(KorvelSkin, PreviewWatchEndsAfterItsTimeAndNeedsASkinFolder) {
    const std::string skins = WriteBandsSkin();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Run("preview '" + skins + "' Bands " + Path("sheet.png") + " --watch 1"), 0) << Output("stderr");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "it watched";
    EXPECT_EQ(Run("preview '" + skins + "' 'Elegant (internal)' " + Path("sheet.png") + " --watch 1"), 1);
    EXPECT_NE(Output("stderr").find("nothing to watch"), std::string::npos) << Output("stderr");
    for (const char* seconds : {"0", "86401", "x"})
        EXPECT_EQ(Run("preview '" + skins + "' Bands " + Path("sheet.png") + " --watch " + seconds), 2) << seconds;
}

// A save is seen once it has settled, and only a change is a save.
TEST(FolderWatch, StampFollowsNamesSizesAndTimesAndAWaitEndsAtItsDeadline) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("korvel-watch-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Options.dat") << "[PANEL]\n";
    const std::string first = FolderStamp(folder);
    EXPECT_NE(first.find("Options.dat\t8\t"), std::string::npos) << first;
    const TWatchTiming quick{std::chrono::milliseconds(10), std::chrono::milliseconds(50)};
    const auto soon = [] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(300); };
    EXPECT_FALSE(WaitForSave(folder, first, soon(), quick)) << "nothing changed";
    std::ofstream(folder / "Options.dat", std::ios::app) << "COLOR=1\n";
    const auto saved = WaitForSave(folder, first, soon(), quick);
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("Options.dat\t16\t"), std::string::npos) << *saved;
    std::ofstream(folder / "panel.bmp") << "x";
    const auto added = WaitForSave(folder, *saved, soon(), quick);
    ASSERT_TRUE(added);
    EXPECT_NE(added->find("panel.bmp\t1\t"), std::string::npos);
    EXPECT_EQ(FolderStamp(folder / "missing"), "");
    std::filesystem::remove_all(folder);
}

}  // namespace
