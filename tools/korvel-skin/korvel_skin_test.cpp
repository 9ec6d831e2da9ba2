// korvel-skin as a skin author runs it: render and preview write PNG files whose
// pixels are the painter's, and the preview's page names every tile it drew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "paint/item.h"
#include "png_file.h"
#include "skin_render.h"
#include "skin_source.h"

using namespace korvel;

namespace {

const std::string SourceDir = KORVEL_SOURCE_DIR;
const std::string SkinDir = SourceDir + "/skins";

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

    static void Load(const std::string& name, TsSkinTables& tables) {
        TsSkinLoadReport report;
        LoadToolSkin({SkinDir, name, "/", {}, true}, tables, report);
    }

    std::filesystem::path out_;
};

TEST_F(KorvelSkin, RenderWritesThePaintersPixelsAtTheAskedSize) {
    const struct {
        const char* Skin;
        const char* Section;
        int Width, Height, State;
    } cases[] = {
        {"Elegant (internal)", "BUTTON", 75, 25, 1},   // three-state frame, hot gradient
        {"Elegant (internal)", "FORMTITLE", 200, 24, 0},
        {"Elegant (internal)", "CHECKBOX", 40, 17, 0},  // fully transparent: the parent shows
        {"Elegant (internal)", "EDIT", 3, 2, 2},
        {"Basalt", "PANEL", 90, 60, 0},                  // gradient, JPEG pattern, own frame picture
        {"Basalt", "SCROLLBAR1H", 120, 17, 1},           // "~" texture
        {"Basalt", "MAINMENU", 150, 20, 0},              // small JPEG texture
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Skin) + " " + c.Section);
        const std::string png = Path("one.png");
        ASSERT_EQ(Run("render '" + SkinDir + "' '" + c.Skin + "' " + c.Section + " " + std::to_string(c.Width) + " " +
                      std::to_string(c.Height) + " " + std::to_string(c.State) + " " + png),
                  0)
            << Output("stderr");
        TBitmap24 written;
        ASSERT_EQ(ReadPng(png, written), "");
        ASSERT_EQ(written.Width(), c.Width);
        ASSERT_EQ(written.Height(), c.Height);

        // The same inputs through the painter directly.
        TsSkinTables tables;
        Load(c.Skin, tables);
        const int index = tables.SectionIndexOf(c.Section);
        ASSERT_GE(index, 0);
        TBitmap24 parent(c.Width, c.Height);
        parent.Fill(tables.GlobalColor());
        TBitmap24 expected = parent.Clone();
        PaintSection(index, {&parent, 0, 0, true}, &tables, expected, {0, 0}, {0, 0, c.Width, c.Height}, c.State, true);
        int differing = 0;
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x) differing += written.Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differing, 0);
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
    for (const char* skin : {"Elegant (internal)", "Basalt"}) {
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

TEST_F(KorvelSkin, PreviewTilesAreRenderedSections) {
    TsSkinTables tables;
    Load("Basalt", tables);
    const TPreviewSheet sheet = MakePreviewSheet(tables);
    const auto tile = std::find_if(sheet.Tiles.begin(), sheet.Tiles.end(),
                                   [](const TPreviewTile& t) { return t.Name == "BUTTON" && t.State == 2; });
    ASSERT_NE(tile, sheet.Tiles.end());
    const TBitmap24 expected =
        RenderSection(tables, tables.SectionIndexOf("BUTTON"), tile->Bounds.Width(), tile->Bounds.Height(), 2);
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(sheet.Bitmap.Pixel(tile->Bounds.Left + x, tile->Bounds.Top + y), expected.Pixel(x, y)) << x << "," << y;
    // Tiles never overlap.
    for (std::size_t i = 0; i < sheet.Tiles.size(); ++i)
        for (std::size_t j = i + 1; j < sheet.Tiles.size(); ++j)
            ASSERT_TRUE(Intersect(sheet.Tiles[i].Bounds, sheet.Tiles[j].Bounds).IsEmpty())
                << sheet.Tiles[i].Name << " and " << sheet.Tiles[j].Name;
}

}  // namespace
