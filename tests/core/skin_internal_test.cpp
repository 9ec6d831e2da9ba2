// The internal skin "Elegant (internal)" as the program loads it (no skin
// folder of that name: the stored skin), the converter that builds the stored
// skin from its options text and master bitmap, its text form, and the shipped
// folder skin Basalt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "internal_skin_support.h"
#include "skin/internal_skin.h"
#include "skin/ini_file.h"
#include "skin/mask_forms.h"
#include "skin/skin_loader.h"
#include "paint/mask.h"
#include "paint/scroll_metrics.h"
#include "gui/text_convert.h"

using namespace korvel;
using korvel::testing::ReadBytes;
using korvel::testing::ReadText;
using korvel::testing::SourceDir;

namespace {

constexpr TColor White = 16777215;

// Parts of the master bitmap are either the same part (one frame shared by
// several sections) or apart: a part drawn over another's pixels shows up as
// stray colours in both.
void ExpectMasterPartsApart(const TsSkinTables& tables) {
    std::vector<const TsMaskData*> parts;
    for (const TsMaskData& m : tables.Masks)
        if (!m.Bmp) parts.push_back(&m);
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (std::size_t j = i + 1; j < parts.size(); ++j) {
            const TsMaskRect a = parts[i]->R, b = parts[j]->R;
            const bool apart = a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top;
            EXPECT_TRUE(a == b || apart) << parts[i]->SectionName << "." << parts[i]->PropertyName << " and "
                                         << parts[j]->SectionName << "." << parts[j]->PropertyName;
        }
}

// The internal skin loaded exactly as the program loads it: the skin directory
// has no folder of that name, so the stored skin is taken.
class InternalSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        stored_ = new TsStoredSkins(nullptr);
        korvel::testing::BuildInternalSkins(*stored_);
    }
    static void TearDownTestSuite() {
        delete stored_;
        stored_ = nullptr;
    }

    void SetUp() override { korvel::testing::LoadInternalSkin(*stored_, tables, report); }

    const TsGeneralData& Section(const std::string& name) const {
        const int i = tables.SectionIndexOf(name);
        EXPECT_GE(i, 0) << name;
        return tables.Sections.at(std::size_t(std::max(i, 0)));
    }
    const TsMaskData* Mask(const std::string& section, const std::string& property) const {
        const int i = tables.OwnMaskIndexOf(section, property);
        return i < 0 ? nullptr : &tables.Masks[std::size_t(i)];
    }
    const TsStoredSkin& Stored() const { return (*stored_)[0]; }

    static TsStoredSkins* stored_;
    TsSkinTables tables;
    TsSkinLoadReport report;
};
TsStoredSkins* InternalSkin::stored_ = nullptr;

TEST_F(InternalSkin, LoadsFromTheStoredSkinWithItsSkinWideValues) {
    EXPECT_FALSE(report.FromFolder);
    EXPECT_TRUE(report.Warnings.empty());
    EXPECT_EQ(report.SkinName, "Elegant (internal)");
    EXPECT_EQ(tables.SkinData.SkinPath, "");
    EXPECT_DOUBLE_EQ(tables.SkinData.Version, 4.33);
    EXPECT_EQ(tables.SkinData.Description, "Easy and universal skin for business and media applications.");
    EXPECT_FALSE(tables.SkinData.Author.empty());
    EXPECT_EQ(tables.SkinData.Shadow1Color, 0);
    EXPECT_EQ(tables.SkinData.Shadow1Offset, 0);
    EXPECT_EQ(tables.SkinData.Shadow1Transparency, 0);
    EXPECT_EQ(tables.SkinData.Shadow1Blur, -1);
    EXPECT_TRUE(tables.Patterns.empty());
    EXPECT_EQ(tables.MasterBitmap.Width(), 216);
    EXPECT_EQ(tables.MasterBitmap.Height(), 325);
    // 256 colours: the file is an 8-bit palette bitmap.
    const auto file = ReadBytes(SourceDir + "/skin/internal/elegant_master.bmp");
    ASSERT_GT(file.size(), 30u);
    EXPECT_EQ(file[28] | file[29] << 8, 8);
}

TEST_F(InternalSkin, HasItsSectionsInTableOrderWithTwoParents) {
    const std::vector<std::string> order = {
        "GLOBALINFO", "MENULINE", "SPLITTER", "TOOLBAR", "PANEL", "PAGECONTROL", "PAGECONTROLBOTTOM",
        "PAGECONTROLLEFT", "PAGECONTROLRIGHT", "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V",
        "ALPHACOMBOBOX", "COMBOBOX", "ALPHAEDIT", "MENUITEM", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT",
        "SCROLLBTNTOP", "SCROLLSLIDERH", "SCROLLSLIDERV", "SPEEDBUTTON_SMALL", "TABCONTROL", "TABCONTROLBOTTOM",
        "TABCONTROLLEFT", "TABCONTROLRIGHT", "TRACKBAR", "DIVIDER", "GROUPBOX", "MAINMENU", "FORM", "BUTTON",
        "FORMTITLE", "DIALOG", "RADIOBUTTON", "CHECKBOX", "PROGRESSH", "GAUGE", "PROGRESSV", "EDIT", "TABTOP",
        "TABBOTTOM", "TABRIGHT", "TABLEFT", "SPEEDBUTTON", "TOOLBUTTON", "STATUSBAR", "BAR", "BARTITLE",
        "BUTTON_BIG", "BARPANEL", "WEBBUTTON", "DRAGBAR", "PANEL_LOW"};
    ASSERT_EQ(tables.Sections.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        const TsGeneralData& s = tables.Sections[i];
        EXPECT_EQ(s.SectionName, order[i]) << i;
        const std::string parent = s.SectionName == "SPLITTER" ? "SPEEDBUTTON_SMALL"
                                   : s.SectionName == "TOOLBAR" ? "PANEL"
                                                                : "";
        EXPECT_EQ(s.ParentClass, parent) << s.SectionName;
    }
}

TEST_F(InternalSkin, EverySectionSharesTheCommonValues) {
    const std::set<std::string> showFocus = {"BUTTON", "COMBOBOX", "ALPHACOMBOBOX"};
    const std::set<std::string> fading = {"BUTTON", "BUTTON_BIG", "SPEEDBUTTON", "SPEEDBUTTON_SMALL",
                                          "TOOLBUTTON", "SPLITTER", "TRACKBAR"};
    for (const TsGeneralData& s : tables.Sections) {
        SCOPED_TRACE(s.SectionName);
        EXPECT_EQ(s.Bevel, cbNone);
        EXPECT_EQ(s.HotBevel, cbNone);
        EXPECT_EQ(s.ShadowColor, 0u);
        EXPECT_FALSE(s.ShadowEnabled);
        EXPECT_EQ(s.ShadowBlur, 6);
        EXPECT_EQ(s.ShadowOffset, 3);
        EXPECT_EQ(s.ShadowTransparency, 60);
        EXPECT_EQ(s.ImagePercent, 0);
        EXPECT_EQ(s.HotImagePercent, 0);
        EXPECT_EQ(s.BorderColor1, 0u);
        EXPECT_EQ(s.BorderColor2, 0u);
        EXPECT_EQ(s.FadingIntervalOut, 5);
        const bool big = s.SectionName == "BUTTON_BIG";
        EXPECT_EQ(s.FadingIntervalIn, big ? 2 : 5);
        EXPECT_EQ(s.FadingIterations, big ? 6 : 5);
        EXPECT_EQ(s.ShowFocus, showFocus.count(s.SectionName) == 1);
        EXPECT_EQ(s.FadingEnabled, fading.count(s.SectionName) == 1);
        EXPECT_EQ(s.ReservedBoolean, s.SectionName == "FORM");
    }
}

TEST_F(InternalSkin, TheLauncherSectionsHaveTheirListedValues) {
    const std::string defaults = "0 -1 -1 -1 -1";
    struct TRow {
        const char* Name;
        TColor Color;
        int Transparency, GradientPercent;
        const char* GradientData;
        TColor HotColor;
        int HotTransparency, HotGradientPercent;
        const char* HotGradientData;
        std::string FontColor, HotFontColor;
    };
    const TRow rows[] = {
        {"GLOBALINFO", 13750737, 0, 0, " ", White, 0, 0, " ", defaults, defaults},
        {"FORM", 12500670, 0, 0, " ", 12500670, 0, 0, " ", defaults, defaults},
        {"FORMTITLE", White, 0, 100,
         "12632256;16777215;5;0;0;16777215;6579300;20;0;0;6579300;14079702;85;0;0;14079702;14079702;0;0;0", White, 0,
         100,
         "12632256;16777215;5;0;0;16777215;7428938;20;0;0;7428938;4862758;9;0;0;4862758;8279081;19;0;0;8279081;"
         "15238400;23;0;0;15238400;16777215;34;0;0;16777215;16777215;0;0;0",
         "16777215 6250335 5197647 -1 -1", "16777215 -1 -1 -1 -1"},
        {"PANEL", 14408667, 0, 100, "13816530;11579568;110;0;0;11579568;11579568;0;0;0", White, 0, 0, " ", defaults,
         defaults},
        {"BUTTON", 15724527, 0, 100, "15066597;10790052;110;0;0;10790052;10790052;0;0;0", White, 0, 100,
         "16777215;12632256;34;0;0;12632256;12632256;39;0;0;12632256;16777215;21;0;0;16777215;16777215;16;0;0;"
         "16777215;16777215;0;0;0",
         defaults, defaults},
        {"EDIT", White, 0, 0, " ", White, 0, 0, " ", defaults, defaults},
        {"CHECKBOX", White, 100, 0, " ", White, 100, 0, " ", defaults, defaults},
        {"MENUITEM", White, 100, 0, " ", 13016934, 0, 100,
         "10386025;16777215;7;0;0;16777215;7427390;33;0;0;7427390;11824436;23;0;0;11824436;15838563;31;0;0;"
         "15838563;12287577;9;0;0;12287577;16777215;7;0;0;16777215;16777215;0;0;0",
         defaults, "16777215 7752489 7752489 -1 -1"},
        {"MENULINE", White, 100, 0, " ", White, 100, 0, " ", defaults, "16777215 6174735 6174735 -1 -1"},
    };
    auto stops = [](const std::string& data) { return data == " " ? 0u : unsigned(std::count(data.begin(), data.end(), ';') + 1) / 5; };
    for (const TRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TsGeneralData& s = Section(r.Name);
        EXPECT_EQ(s.Color, r.Color);
        EXPECT_EQ(s.Transparency, r.Transparency);
        EXPECT_EQ(s.GradientPercent, r.GradientPercent);
        EXPECT_EQ(s.GradientData, r.GradientData);
        EXPECT_EQ(s.GradientArray.size(), stops(r.GradientData));
        EXPECT_EQ(s.HotColor, r.HotColor);
        EXPECT_EQ(s.HotTransparency, r.HotTransparency);
        EXPECT_EQ(s.HotGradientPercent, r.HotGradientPercent);
        EXPECT_EQ(s.HotGradientData, r.HotGradientData);
        EXPECT_EQ(s.HotGradientArray.size(), stops(r.HotGradientData));
        // The stored form keeps the five colours as text; the table holds them parsed.
        const TsSkinGeneral& g = Stored().GeneralData[tables.SectionIndexOf(r.Name)];
        EXPECT_EQ(g.FontColor, r.FontColor);
        EXPECT_EQ(g.HotFontColor, r.HotFontColor);
    }
    EXPECT_EQ(Section("FORMTITLE").FontColor, (TsFontColor{16777215, 6250335, 5197647, -1, -1}));
    EXPECT_EQ(Section("MENUITEM").HotFontColor, (TsFontColor{16777215, 7752489, 7752489, -1, -1}));
}

TEST_F(InternalSkin, HasItsMasksInStoredOrder) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const char* p : {"BOXCHECKED", "BOXGRAYED", "BOXUNCHECKED", "MASTERBITMAP", "RADIOCHECKED", "RADIOUNCHECKED",
                          "SMALLCHECKED", "SMALLUNCHECKED", "GRIPIMAGE", "BICONCLOSE", "BICONMAX", "BICONHELP",
                          "BICONNORM", "BICONMIN", "TITLEBUTTON"})
        expected.emplace_back("GLOBALINFO", p);
    expected.emplace_back("PANEL", "GLYPHMASK");
    expected.emplace_back("PANEL", "BORDERSMASK");
    for (const char* p : {"GRIPIMAGE", "BICONCLOSE", "BICONMAX", "BICONHELP", "BICONNORM", "BICONMIN", "TITLEBUTTON",
                          "BORDERSMASK"})
        expected.emplace_back("FORM", p);
    for (const char* p : {"SLIDERCHANNEL", "SLIDERMASK", "SLIDERVMASK"}) expected.emplace_back("TRACKBAR", p);
    for (const char* s : {"ALPHACOMBOBOX", "COMBOBOX", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT",
                          "SCROLLBTNTOP", "SCROLLSLIDERH", "SCROLLSLIDERV"}) {
        expected.emplace_back(s, "BORDERSMASK");
        expected.emplace_back(s, "GLYPHMASK");
    }
    for (const char* s :
         {"PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT", "SCROLLBAR1H", "SCROLLBAR2H",
          "SCROLLBAR1V", "SCROLLBAR2V", "ALPHAEDIT", "SPEEDBUTTON_SMALL", "TABCONTROL", "TABCONTROLBOTTOM",
          "TABCONTROLLEFT", "TABCONTROLRIGHT", "DIVIDER", "GROUPBOX", "BUTTON", "FORMTITLE", "DIALOG", "PROGRESSH",
          "GAUGE", "PROGRESSV", "EDIT", "TABTOP", "TABBOTTOM", "TABRIGHT", "TABLEFT", "SPEEDBUTTON", "TOOLBUTTON",
          "BAR", "BARTITLE", "BUTTON_BIG", "BARPANEL", "DRAGBAR", "PANEL_LOW"})
        expected.emplace_back(s, "BORDERSMASK");
    ASSERT_EQ(expected.size(), 79u);
    ASSERT_EQ(tables.Masks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const TsMaskData& m = tables.Masks[i];
        SCOPED_TRACE(m.SectionName + " " + m.PropertyName);
        EXPECT_EQ(m.SectionName, expected[i].first) << i;
        EXPECT_EQ(m.PropertyName, expected[i].second) << i;
        EXPECT_EQ(m.StretchMode, 0);
        EXPECT_EQ(m.ImgType, itisaBorder);
        EXPECT_EQ(m.WL | m.WT | m.WR | m.WB, 0);
        // Only the master bitmap's own entry has a picture of its own.
        EXPECT_EQ(m.Bmp != nullptr, m.PropertyName == "MASTERBITMAP");
    }
}

TEST_F(InternalSkin, TheLauncherMasksHaveTheirListedRectangles) {
    struct TRow {
        std::vector<const char*> Sections;
        std::vector<const char*> Properties;
        TsMaskRect R;
        int ImageCount, MaskType, BorderWidth;
    };
    const TRow rows[] = {
        {{"FORM"}, {"BORDERSMASK"}, {0, 0, 42, 45}, 1, 0, 5},
        {{"FORMTITLE"}, {"BORDERSMASK"}, {0, 45, 42, 153}, 1, 1, 0},
        {{"FORM", "GLOBALINFO"}, {"BICONCLOSE"}, {0, 251, 54, 270}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"BICONMIN"}, {54, 270, 108, 288}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"BICONMAX"}, {54, 289, 108, 307}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"BICONNORM"}, {0, 289, 54, 309}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"BICONHELP"}, {54, 251, 108, 270}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"TITLEBUTTON"}, {0, 270, 54, 289}, 3, 0, 0},
        {{"FORM", "GLOBALINFO"}, {"GRIPIMAGE"}, {106, 98, 118, 110}, 1, 0, 0},
        {{"PANEL"}, {"BORDERSMASK"}, {181, 202, 205, 250}, 1, 1, 0},
        {{"PANEL"}, {"GLYPHMASK"}, {42, 138, 66, 152}, 3, 1, 0},
        {{"BUTTON"}, {"BORDERSMASK"}, {69, 114, 123, 150}, 3, 1, 0},
        {{"EDIT"}, {"BORDERSMASK"}, {42, 90, 69, 114}, 1, 0, 2},
        {{"GLOBALINFO"}, {"BOXCHECKED", "SMALLCHECKED"}, {112, 204, 160, 240}, 3, 1, 0},
        {{"GLOBALINFO"}, {"BOXUNCHECKED", "SMALLUNCHECKED"}, {112, 168, 160, 204}, 3, 1, 0},
        {{"GLOBALINFO"}, {"BOXGRAYED"}, {108, 240, 156, 253}, 3, 0, 0},
        {{"GLOBALINFO"}, {"RADIOCHECKED"}, {63, 204, 111, 240}, 3, 1, 0},
        {{"GLOBALINFO"}, {"RADIOUNCHECKED"}, {63, 168, 111, 204}, 3, 1, 0},
    };
    for (const TRow& r : rows)
        for (const char* section : r.Sections)
            for (const char* property : r.Properties) {
                SCOPED_TRACE(std::string(section) + " " + property);
                const TsMaskData* m = Mask(section, property);
                ASSERT_NE(m, nullptr);
                EXPECT_EQ(m->R, r.R);
                EXPECT_EQ(m->ImageCount, r.ImageCount);
                EXPECT_EQ(m->MaskType, r.MaskType);
                EXPECT_EQ(m->BorderWidth, r.BorderWidth);
            }
}

TEST_F(InternalSkin, StoresTheMasterBitmapOnceMoreAsItsOwnMask) {
    const TsSkinImage& stored = Stored().Images[3];
    EXPECT_EQ(stored.PropertyName, "MASTERBITMAP");
    EXPECT_EQ(stored.Name, "MASTER.BMP");
    EXPECT_EQ(stored.ImageCount, 0);
    EXPECT_EQ(stored.MaskType, 0);
    EXPECT_EQ(stored.BorderWidth, 0);
    // Loading reads a count of 0 as three states over a transparency half.
    const TsMaskData* m = Mask("GLOBALINFO", "MASTERBITMAP");
    ASSERT_NE(m, nullptr);
    ASSERT_NE(m->Bmp, nullptr);
    EXPECT_EQ(m->R, (TsMaskRect{0, 0, 216, 325}));
    EXPECT_EQ(m->ImageCount, 3);
    EXPECT_EQ(m->MaskType, 1);
    for (int y = 0; y < 325; y += 7)
        for (int x = 0; x < 216; x += 5) ASSERT_EQ(m->Bmp->Pixel(x, y), tables.MasterBitmap.Pixel(x, y)) << x << "," << y;
}

TEST_F(InternalSkin, HasNoGrayedRadiosSmallGrayedOrPatterns) {
    const TsCachedIndexes& c = tables.CachedIndexes;
    EXPECT_EQ(c.GlobalInfo, 0);
    EXPECT_EQ(c.RadioGrayed, -1);
    EXPECT_EQ(c.SmallGrayed, -1);
    for (int i : {c.BoxChecked, c.BoxUnchecked, c.BoxGrayed, c.RadioChecked, c.RadioUnchecked, c.SmallChecked,
                  c.SmallUnchecked})
        EXPECT_GE(i, 0);
    for (const auto& parts : {std::vector<TsScrollPartIndexes>(c.ScrollButtons.begin(), c.ScrollButtons.end()),
                              std::vector<TsScrollPartIndexes>(c.ScrollSliders.begin(), c.ScrollSliders.end()),
                              std::vector<TsScrollPartIndexes>(c.ScrollBars.begin(), c.ScrollBars.end())})
        for (const TsScrollPartIndexes& p : parts) {
            EXPECT_GE(p.SkinIndex, 0);
            EXPECT_GE(p.BordersMask, 0);
            EXPECT_EQ(p.Pattern, -1);
            EXPECT_EQ(p.HotPattern, -1);
        }
    // TOOLBAR owns no mask and finds PANEL's frame through its parent.
    EXPECT_EQ(tables.MaskIndexOf(tables.SectionIndexOf("TOOLBAR"), "TOOLBAR", "BORDERSMASK"),
              tables.OwnMaskIndexOf("PANEL", "BORDERSMASK"));
}

// Drawing cuts every mask into state images, colour and transparency halves
// and, for frames, 3 x 3 pieces; every cut must come out whole.
TEST_F(InternalSkin, EveryMaskRectangleLiesInsideTheMasterAndDividesEvenly) {
    for (const TsMaskData& m : tables.Masks) {
        if (m.Bmp) continue;   // the master bitmap's own entry
        SCOPED_TRACE(m.SectionName + " " + m.PropertyName);
        EXPECT_GE(m.R.Left, 0);
        EXPECT_GE(m.R.Top, 0);
        EXPECT_LE(m.R.Right, tables.MasterBitmap.Width());
        EXPECT_LE(m.R.Bottom, tables.MasterBitmap.Height());
        ASSERT_GT(m.ImageCount, 0);
        ASSERT_GE(m.MaskType, 0);
        const bool frame = m.PropertyName == "BORDERSMASK" || m.PropertyName == "SLIDERCHANNEL";
        const int columns = m.ImageCount * (frame ? 3 : 1), rows = (m.MaskType + 1) * (frame ? 3 : 1);
        EXPECT_GT(m.R.Width(), 0);
        EXPECT_GT(m.R.Height(), 0);
        EXPECT_EQ(m.R.Width() % columns, 0) << m.R.Width() << " by " << columns;
        EXPECT_EQ(m.R.Height() % rows, 0) << m.R.Height() << " by " << rows;
    }
    ExpectMasterPartsApart(tables);
}

// ---- the converter -----------------------------------------------------------

TBitmap24 Master(int width = 20, int height = 20) {
    TBitmap24 b(width, height);
    b.Fill(0x808080);
    return b;
}

TEST(InternalSkinBuild, MasksFollowTheStoredSectionOrderWithTheMasterFourth) {
    TsStoredSkin skin;
    BuildInternalSkin(skin,
                      "[GLOBALINFO]\nNAME=Mine\nMASTERBITMAP=m.bmp\nA=#(0,0,4,4) (1,0)\n"
                      "[EDIT]\nBORDERSMASK=#(0,0,6,6) (1,0,2,0)\n"
                      "[PANEL]\nCOLOR=255\nGLYPHMASK=@0001,0002,0004,0004,1,0\nBORDERSMASK=#(0,0,6,6) (1,1,0,0)\n",
                      Master());
    EXPECT_EQ(skin.Name, "Mine");
    ASSERT_EQ(skin.GeneralData.Count(), 3);
    EXPECT_EQ(skin.GeneralData[2].Color, 255u);
    std::vector<std::string> order;
    for (int i = 0; i < skin.Images.Count(); ++i)
        order.push_back(skin.Images[i].SectionName + "." + skin.Images[i].PropertyName);
    EXPECT_EQ(order, (std::vector<std::string>{"GLOBALINFO.A", "GLOBALINFO.MASTERBITMAP", "PANEL.GLYPHMASK",
                                               "PANEL.BORDERSMASK", "EDIT.BORDERSMASK"}));
    EXPECT_EQ(skin.Images[2].ImgType, itisaGlyph);
    EXPECT_EQ(skin.Images[2].Left, 1);
    EXPECT_EQ(skin.Images[4].BorderWidth, 2);
    EXPECT_EQ(skin.Images[1].Image.Width(), 20);
}

TEST(InternalSkinBuild, RefusesTextsThatCannotBecomeAStoredSkin) {
    const std::string head = "[GLOBALINFO]\nNAME=Mine\n";
    const struct {
        std::string Text;
        const char* Problem;
    } cases[] = {
        {"[PANEL]\nCOLOR=1\n", "[GLOBALINFO]: the section is missing"},
        {"[GLOBALINFO]\nCOLOR=1\n", "NAME=: the stored skin needs a name"},
        {head + "VERSION=four\n", "VERSION=four: not a number"},
        {head + "SHADOW1BLUR=x\n", "SHADOW1BLUR=x: not an integer"},
        {head + "[PANEL]\nCOLOR=red\n", "[PANEL] COLOR=red: not an integer"},
        {head + "[PANEL]\nSHOWFOCUS=yes\n", "SHOWFOCUS=yes: neither TRUE nor FALSE"},
        {head + "[PANEL]\nCOLOUR=5\n", "COLOUR=5: neither a section key nor a mask"},
        {head + "[PANEL]\nBORDERSMASK=PANEL.BMP\n", "keeps its masks on the master bitmap"},
        {head + "[PANEL]\nBORDERSMASK=#(0,0,21,6) (1,0)\n", "does not lie inside the 20 x 20 master bitmap"},
        {head + "[PANEL]\nBORDERSMASK=#(5,0,5,6) (1,0)\n", "the rectangle is empty"},
        {head + "[PANEL]\nBORDERSMASK=#(a,0,4,6) (1,0)\n", "'a' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TsStoredSkin skin;
        try {
            BuildInternalSkin(skin, c.Text, Master());
            ADD_FAILURE() << "no error";
        } catch (const EInternalSkinError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Problem), std::string::npos) << e.what();
        }
    }
    TsStoredSkin skin;
    EXPECT_THROW(BuildInternalSkin(skin, head, TBitmap24()), EInternalSkinError);
    const std::uint8_t notABitmap[] = {'B', 'M', 1, 2, 3};
    EXPECT_THROW(BuildInternalSkin(skin, head, std::span<const std::uint8_t>(notABitmap)), EInternalSkinError);
}

// ---- the text form ------------------------------------------------------------

// Reads the text form back through the property tables, as the definition
// reader assigns properties: one assignment per line, collections as blocks.
class TStoredSkinReader {
public:
    TStoredSkinReader(const std::string& text, const std::map<std::string, const TBitmap24*>& pictures)
        : pictures_(pictures) {
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            std::string line = text.substr(start, end - start);
            line.erase(0, line.find_first_not_of(' '));
            lines_.push_back(line);
            start = end == std::string::npos ? text.size() : end + 1;
        }
    }
    void Read(TsPersistent& object) {
        while (next_ < lines_.size()) {
            const std::string& line = lines_[next_];
            if (line == "end" || line == ">") return;
            ++next_;
            const std::size_t eq = line.find(" = ");
            ASSERT_NE(eq, std::string::npos) << line;
            const std::string name = line.substr(0, eq), value = line.substr(eq + 3);
            const TsPropertyInfo* p = object.FindProperty(name);
            ASSERT_NE(p, nullptr) << name;
            if (p->Kind == TsPropertyKind::Collection) {
                TsCollection& items = *p->Items(object);
                items.Clear();
                while (lines_.at(next_) == "item") {
                    ++next_;
                    Read(items.Add());
                    ASSERT_EQ(lines_.at(next_++), "end");
                }
                ASSERT_EQ(lines_.at(next_++), ">");
                continue;
            }
            EXPECT_TRUE(p->Set(object, Value(*p, value))) << line;
        }
    }

private:
    TsPropertyValue Value(const TsPropertyInfo& p, const std::string& text) {
        switch (p.Kind) {
        case TsPropertyKind::String: return Unquote(text);
        case TsPropertyKind::Integer:
        case TsPropertyKind::Color: return StrToInt(text);
        case TsPropertyKind::Float: return *TryStrToFloat(text);
        case TsPropertyKind::Boolean: return text == "True";
        case TsPropertyKind::Enumeration:
            for (std::size_t i = 0; i < p.EnumNames.size(); ++i)
                if (text == p.EnumNames[i]) return std::int32_t(i);
            return std::int32_t(-1);
        case TsPropertyKind::Bitmap:
        case TsPropertyKind::JpegImage: return pictures_.at(Unquote(text.substr(std::string("resource ").size())));
        case TsPropertyKind::Collection: break;
        }
        return std::int32_t(0);
    }
    static std::string Unquote(const std::string& text) {
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            if (text[i] == '#') {
                std::size_t end = i + 1;
                while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
                out += char(std::stoi(text.substr(i + 1, end - i - 1)));
                i = end;
            } else if (text[i] == '\'') {
                for (++i; i < text.size(); ++i) {
                    if (text[i] == '\'' && (i + 1 >= text.size() || text[i + 1] != '\'')) break;
                    if (text[i] == '\'') ++i;
                    out += text[i];
                }
                ++i;
            } else {
                ADD_FAILURE() << "unexpected text " << text;
                break;
            }
        }
        return out;
    }

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    const std::map<std::string, const TBitmap24*>& pictures_;
};

TEST_F(InternalSkin, TextFormReadsBackToTheSameStoredSkin) {
    const TsPictureNamer name = [](const TsPersistent& owner, const TBitmap24&) {
        return dynamic_cast<const TsSkinImage*>(&owner) ? std::string("MASTER.BMP") : std::string("MASTER");
    };
    const std::string text = WriteStoredSkin(Stored(), name);
    EXPECT_NE(text.find("Name = 'Elegant (internal)'\n"), std::string::npos);
    EXPECT_NE(text.find("Version = 4.33\n"), std::string::npos);
    EXPECT_NE(text.find("MasterBitmap = resource 'MASTER'\n"), std::string::npos);
    EXPECT_NE(text.find("Image = resource 'MASTER.BMP'\n"), std::string::npos);
    EXPECT_NE(text.find("HotBevel = cbNone\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '<'), 3);   // three collections

    const std::map<std::string, const TBitmap24*> pictures = {{"MASTER", &Stored().MasterBitmap},
                                                              {"MASTER.BMP", &Stored().MasterBitmap}};
    TsStoredSkin copy;
    TStoredSkinReader reader(text, pictures);
    reader.Read(copy);
    EXPECT_EQ(copy.GeneralData.Count(), 56);
    EXPECT_EQ(copy.Images.Count(), 79);
    EXPECT_EQ(copy.MasterBitmap.Width(), 216);
    EXPECT_EQ(WriteStoredSkin(copy, name), text);
}

TEST(StoredSkinText, QuotesEveryCharacterSoItReadsBack) {
    TsStoredSkin skin;
    skin.Name = "it's";
    skin.Author = "line one\r\nline 'two'";
    skin.Description = "";
    skin.Version = 1.5;
    const std::string text = WriteStoredSkin(skin, nullptr, "  ");
    EXPECT_NE(text.find("  Name = 'it''s'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Author = 'line one'#13#10'line ''two'''\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Description = ''\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("MasterBitmap"), std::string::npos);   // an empty picture is left out
    TsStoredSkin copy;
    TStoredSkinReader(text, {}).Read(copy);
    EXPECT_EQ(copy.Name, skin.Name);
    EXPECT_EQ(copy.Author, skin.Author);
    EXPECT_DOUBLE_EQ(copy.Version, 1.5);
}

// ---- the shipped folder skin ---------------------------------------------------

TEST(ShippedSkin, BasaltLoadsEveryFileUsesEveryMaskFormAndKeepsItsPartsApart) {
    TsSkinLoadRequest request;
    request.SkinDirectory = SourceDir + "/skins";
    request.SkinName = "Basalt";
    request.ProgramFolder = "/";
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);
    ASSERT_TRUE(report.FromFolder);
    EXPECT_TRUE(report.Warnings.empty()) << report.Warnings.front();
    EXPECT_FALSE(tables.MasterBitmap.Empty());
    ExpectMasterPartsApart(tables);

    const TsIniFile options(ReadText(SourceDir + "/skins/Basalt/Options.dat"));
    std::set<TsMaskForm> forms;
    for (const auto& section : options.Sections())
        for (const auto& key : section.Keys) forms.insert(MaskFormOf(key.Value));
    for (TsMaskForm f : {TsMaskForm::PictureWithCounts, TsMaskForm::Glyph, TsMaskForm::Border, TsMaskForm::Texture,
                         TsMaskForm::Picture, TsMaskForm::RectangleList})
        EXPECT_EQ(forms.count(f), 1u) << int(f);

    // A pattern of at least 90000 pixels, and a small JPEG turned texture mask.
    EXPECT_TRUE(std::any_of(tables.Patterns.begin(), tables.Patterns.end(), [](const TsPatternData& p) {
        return p.Img && std::int64_t(p.Img->Width()) * p.Img->Height() >= 90000;
    }));
    EXPECT_TRUE(std::any_of(tables.Masks.begin(), tables.Masks.end(), [](const TsMaskData& m) {
        return m.ImgType == itisaTexture && m.Bmp && std::int64_t(m.Bmp->Width()) * m.Bmp->Height() < 90000;
    }));
    // Parent classes, and font contour colours.
    EXPECT_TRUE(std::any_of(tables.Sections.begin(), tables.Sections.end(),
                            [](const TsGeneralData& s) { return !s.ParentClass.empty(); }));
    EXPECT_TRUE(std::any_of(tables.Sections.begin(), tables.Sections.end(), [](const TsGeneralData& s) {
        return std::any_of(s.FontColor.begin() + 1, s.FontColor.end(), [](int c) { return c != -1; });
    }));
}


// Opal, as the loader reads it, carries what the other two skins leave out, so
// that every rule of the painting core meets a skin a user can pick.
TEST(ShippedSkin, OpalLoadsEveryFileAndCarriesWhatTheOtherSkinsLeaveOut) {
    TsSkinLoadRequest request;
    request.SkinDirectory = SourceDir + "/skins";
    request.SkinName = "Opal";
    request.ProgramFolder = "/";
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);
    ASSERT_TRUE(report.FromFolder);
    EXPECT_TRUE(report.Warnings.empty()) << report.Warnings.front();
    ExpectMasterPartsApart(tables);

    const TsGeneralData none;
    auto section = [&](const char* name) -> const TsGeneralData& {
        const int i = tables.SectionIndexOf(name);
        return tables.IsValidSectionIndex(i) ? tables.Sections[std::size_t(i)] : none;
    };
    auto mask = [&](const char* sectionName, const char* property) -> const TsMaskData* {
        const int i = tables.MaskIndexOf(tables.SectionIndexOf(sectionName), sectionName, property);
        return tables.IsValidMaskIndex(i) ? &tables.Masks[std::size_t(i)] : nullptr;
    };
    auto texture = [&](const char* sectionName, const char* property) {
        return tables.IsValidMaskIndex(tables.TextureIndexOf(tables.SectionIndexOf(sectionName), sectionName, property));
    };
    auto all = [](std::initializer_list<bool> v) { return std::all_of(v.begin(), v.end(), [](bool b) { return b; }); };
    auto ownStates = [&](const char* sectionName, const char* property, int count) {
        const TsMaskData* m = mask(sectionName, property);
        return m && m->Bmp && m->ImageCount == count;
    };
    auto wideButton = [&](const char* name) {
        const TsMaskData* frame = mask(name, "BORDERSMASK");
        if (!section(name).ReservedBoolean || !frame || frame->Bmp) return false;
        const TMaskFrameSize f = MaskFrameSize(false, frame->R.Width(), frame->R.Height(), frame->ImageCount, frame->MaskType);
        // Wider and higher than any system scroll arrow (16 or 17 pixels), so the painted button outgrows its hit box.
        return f.Width > 20 && f.Height > 20 && ownStates(name, "GLYPHMASK", 3);
    };
    const TsGeneralData& title = section("FORMTITLE");
    const TsGeneralData& button = section("BUTTON");
    const TsGeneralData& check = section("CHECKBOX");
    const TsGeneralData& item = section("MENUITEM");
    const struct {
        const char* What;
        bool Present;
    } features[] = {
        {"a title with a gradient under a texture, active and inactive",
         all({title.GradientPercent > 0, title.ImagePercent > 0, title.HotGradientPercent > 0, title.HotImagePercent > 0,
              texture("FORMTITLE", "PATTERN"), texture("FORMTITLE", "HOTPATTERN")})},
        {"caption buttons with pictures of their own in three states",
         all({ownStates("GLOBALINFO", "BICONCLOSE", 3), ownStates("GLOBALINFO", "BICONMAX", 3),
              ownStates("GLOBALINFO", "BICONMIN", 3), ownStates("GLOBALINFO", "BICONNORM", 3),
              ownStates("GLOBALINFO", "BICONHELP", 3), ownStates("GLOBALINFO", "TITLEBUTTON", 3)})},
        {"fading buttons and check boxes, each with its own frame count",
         all({button.FadingEnabled, check.FadingEnabled, button.FadingIterations != 5, check.FadingIterations != 5,
              button.FadingIterations != check.FadingIterations})},
        {"a hot pattern on buttons and none in their normal set",
         all({texture("BUTTON", "HOTPATTERN"), !texture("BUTTON", "PATTERN"), button.HotImagePercent > 0})},
        {"a frame picture of its own with mask type 2 (colour, see-through, a spare part)",
         std::any_of(tables.Masks.begin(), tables.Masks.end(), [](const TsMaskData& m) {
             return m.Bmp && m.MaskType == 2 && m.ImgType == itisaBorder && m.Bmp->Height() % 9 == 0;
         })},
        {"glyphs for the three check box states and the radio buttons",
         all({ownStates("GLOBALINFO", "BOXCHECKED", 3), ownStates("GLOBALINFO", "BOXUNCHECKED", 3),
              ownStates("GLOBALINFO", "BOXGRAYED", 3), ownStates("GLOBALINFO", "RADIOCHECKED", 3),
              ownStates("GLOBALINFO", "RADIOUNCHECKED", 3), ownStates("GLOBALINFO", "RADIOGRAYED", 3)})},
        {"wide scroll buttons with glyph pictures of their own",
         all({wideButton("SCROLLBTNTOP"), wideButton("SCROLLBTNBOTTOM"), wideButton("SCROLLBTNLEFT"),
              wideButton("SCROLLBTNRIGHT")})},
        {"a menu background with a gradient and a frame",
         all({section("MAINMENU").GradientPercent > 0, mask("MAINMENU", "BORDERSMASK") != nullptr})},
        {"menu items partly transparent over it", item.Transparency > 0 && item.Transparency < 100},
        {"the icon line, the divider and the menus' extra line",
         all({tables.SectionIndexOf("ICOLINE") >= 0, mask("DIVIDERV", "BORDERSMASK") != nullptr,
              section("EXTRALINE").GradientPercent > 0})},
        {"an MDI area with a pattern over a gradient",
         all({section("MDIAREA").ImagePercent > 0, section("MDIAREA").GradientPercent > 0,
              tables.PatternIndexOf(tables.SectionIndexOf("MDIAREA"), "MDIAREA", "PATTERN") >= 0})},
    };
    for (const auto& f : features) EXPECT_TRUE(f.Present) << f.What;

    // The window's corners are quarter circles of radius 10: the region loses, in
    // each corner row y, the pixels outside the circle, round(10 - sqrt(100 - (9.5 - y)^2)).
    const TsMaskData* frame = mask("FORM", "BORDERSMASK");
    ASSERT_NE(frame, nullptr);
    std::vector<TRect> holes;
    ScanCornerHoles(holes, 400, tables, *frame, 0, 0);
    std::vector<TRect> expected;
    for (int y = 0; y < 10; ++y) {
        const int cut = int(std::lround(10 - std::sqrt(100 - (9.5 - y) * (9.5 - y))));
        if (cut == 0) break;
        expected.push_back({0, y, cut, y + 1});
        expected.push_back({400 - cut, y, 400, y + 1});
    }
    std::sort(holes.begin(), holes.end(), [](const TRect& a, const TRect& b) { return std::tie(a.Top, a.Left) < std::tie(b.Top, b.Left); });
    EXPECT_EQ(holes, expected);
    EXPECT_GE(expected.size() / 2, 6u) << "several rows deep";
    EXPECT_GE(expected.front().Width(), 6) << "several pixels wide at the top";
}

}  // namespace
