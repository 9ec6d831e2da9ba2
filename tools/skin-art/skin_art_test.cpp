// The artwork of the three skins: the files in the tree are what the program
// draws, the built-in skin carries every fixed value and rectangle, every mask
// can be cut as drawing cuts it, the checks catch broken tables, and Opal's text
// reads on every surface it lies on.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "paint/contrast.h"
#include "skin_uses.h"
#include "tools/skin-art/image_io.h"
#include "tools/skin-art/options_writer.h"
#include "tools/skin-art/parts.h"
#include "tools/skin-art/preview.h"
#include "tools/skin-art/skin_check.h"
#include "tools/skin-art/skins.h"

namespace korvel::art {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = KORVEL_SOURCE_DIR;
const fs::path kElegantDir = kRoot / "skin" / "internal";
const fs::path kBasaltDir = kRoot / "skins" / "Basalt";
const fs::path kOpalDir = kRoot / "skins" / "Opal";

// Every generated skin: its folder in the tree and what the program draws for it.
std::vector<std::pair<fs::path, std::vector<TSkinFile>>> DrawnSkins() {
    return {{kElegantDir, ElegantFiles()}, {kBasaltDir, BasaltFiles()}, {kOpalDir, OpalFiles()}};
}

std::vector<TIniSection> ElegantIni() {
    const auto bytes = ReadFile((kElegantDir / "elegant.ini").string());
    return ParseIni(std::string(bytes.begin(), bytes.end()));
}

const TIniSection& SectionOf(const std::vector<TIniSection>& sections, const std::string& name) {
    for (const auto& s : sections)
        if (s.Name == name) return s;
    throw std::runtime_error("no section " + name);
}

TEST(SkinArtFiles, TreeHoldsExactlyWhatTheProgramDraws) {
    for (const auto& [dir, files] : DrawnSkins()) {
        for (const auto& file : files) {
            SCOPED_TRACE(file.Name);
            EXPECT_EQ(ReadFile((dir / file.Name).string()), file.Bytes) << "run skin-art generate";
        }
    }
}

// Numbers written the way a German desk would write them: a comma before the
// fraction and a dot between groups of three digits.
struct TGroupingNumbers : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

// The files in the tree were drawn on another day, in the developer's time zone
// and locale; drawing them again under a global stream locale that groups digits
// and writes a decimal comma still gives the same bytes.
TEST(SkinArtFiles, DrawingDoesNotDependOnTheStreamLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new TGroupingNumbers));
    std::ostringstream probe;
    probe << 1234567 << ' ' << 1.5;
    const std::string written = probe.str();
    std::vector<std::pair<fs::path, std::vector<TSkinFile>>> drawn;
    try {
        drawn = DrawnSkins();
    } catch (...) {
        std::locale::global(previous);
        throw;
    }
    std::locale::global(previous);
    ASSERT_EQ(written, "1.234.567 1,5") << "the locale in force while drawing";
    for (const auto& [dir, files] : drawn)
        for (const auto& file : files) EXPECT_EQ(ReadFile((dir / file.Name).string()), file.Bytes) << file.Name;
}

// The program run as a separate process, in time zones on both sides of the date
// line and with the environment's locale variables set, checks the tree as it is.
TEST(SkinArtFiles, DrawingDoesNotDependOnTheTimeZoneOrTheLocaleVariables) {
    for (const char* environment : {"TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8",
                                    "TZ=Etc/GMT+12 LC_ALL=POSIX LANG=de_DE.UTF-8"}) {
        SCOPED_TRACE(environment);
        const fs::path out = fs::temp_directory_path() / ("skin-art-test-" + std::to_string(::getpid()) + ".txt");
        const std::string command = std::string("env ") + environment + " " + KORVEL_SKIN_ART_EXE + " check '" +
                                    kRoot.string() + "' >'" + out.string() + "' 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream in(out);
        const std::string said{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        fs::remove(out);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << said;
        EXPECT_EQ(said, "every skin is sound\n");
    }
}

TEST(SkinArtFiles, EverySkinPassesEveryCheckWithoutASkippedFile) {
    EXPECT_EQ(CheckSkinFolder(kElegantDir.string(), "elegant.ini"), std::vector<std::string>{});
    EXPECT_EQ(CheckSkinFolder(kBasaltDir.string()), std::vector<std::string>{});
    EXPECT_EQ(CheckSkinFolder(kOpalDir.string()), std::vector<std::string>{});
}

TEST(ElegantSkin, SkinWideValuesAndSectionOrder) {
    const auto ini = ElegantIni();
    const auto& global = SectionOf(ini, "GLOBALINFO");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"NAME", "Elegant (internal)"},
        {"VERSION", "4.33"},
        {"DESCRIPTION", "Easy and universal skin for business and media applications."},
        {"SHADOW1COLOR", "0"},
        {"SHADOW1OFFSET", "0"},
        {"SHADOW1TRANSPARENCY", "0"},
        {"SHADOW1BLUR", "-1"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(global.Value(key).value_or("<missing>"), value) << key;
    EXPECT_FALSE(global.Value("AUTHOR").value_or("").empty());

    std::vector<std::string> names;
    for (const auto& s : ini) names.push_back(s.Name);
    EXPECT_EQ(names.size(), 56u);
    EXPECT_EQ(names, ElegantSectionOrder());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 56u);
}

TEST(ElegantSkin, ListedSectionValues) {
    const auto ini = ElegantIni();
    const std::string none = " ";
    struct TRow {
        const char* Section;
        const char* Key;
        std::string Value;
    };
    const std::vector<TRow> rows = {
        {"GLOBALINFO", "COLOR", "13750737"}, {"GLOBALINFO", "TRANSPARENCY", "0"}, {"GLOBALINFO", "GRADIENTPERCENT", "0"},
        {"GLOBALINFO", "GRADIENTDATA", none}, {"GLOBALINFO", "HOTCOLOR", "16777215"}, {"GLOBALINFO", "HOTTRANSPARENCY", "0"},
        {"GLOBALINFO", "HOTGRADIENTPERCENT", "0"}, {"GLOBALINFO", "HOTGRADIENTDATA", none},
        {"FORM", "COLOR", "12500670"}, {"FORM", "TRANSPARENCY", "0"}, {"FORM", "GRADIENTPERCENT", "0"},
        {"FORM", "GRADIENTDATA", none}, {"FORM", "HOTCOLOR", "12500670"}, {"FORM", "HOTTRANSPARENCY", "0"},
        {"FORM", "HOTGRADIENTPERCENT", "0"}, {"FORM", "HOTGRADIENTDATA", none},
        {"FORMTITLE", "COLOR", "16777215"}, {"FORMTITLE", "TRANSPARENCY", "0"}, {"FORMTITLE", "GRADIENTPERCENT", "100"},
        {"FORMTITLE", "GRADIENTDATA",
         "12632256;16777215;5;0;0;16777215;6579300;20;0;0;6579300;14079702;85;0;0;14079702;14079702;0;0;0"},
        {"FORMTITLE", "HOTCOLOR", "16777215"}, {"FORMTITLE", "HOTTRANSPARENCY", "0"},
        {"FORMTITLE", "HOTGRADIENTPERCENT", "100"},
        {"FORMTITLE", "HOTGRADIENTDATA",
         "12632256;16777215;5;0;0;16777215;7428938;20;0;0;7428938;4862758;9;0;0;4862758;8279081;19;0;0;8279081;"
         "15238400;23;0;0;15238400;16777215;34;0;0;16777215;16777215;0;0;0"},
        {"FORMTITLE", "FONTCOLOR", "16777215"}, {"FORMTITLE", "TCLEFT", "6250335"}, {"FORMTITLE", "TCTOP", "5197647"},
        {"FORMTITLE", "HOTFONTCOLOR", "16777215"},
        {"PANEL", "COLOR", "14408667"}, {"PANEL", "TRANSPARENCY", "0"}, {"PANEL", "GRADIENTPERCENT", "100"},
        {"PANEL", "GRADIENTDATA", "13816530;11579568;110;0;0;11579568;11579568;0;0;0"},
        {"PANEL", "HOTCOLOR", "16777215"}, {"PANEL", "HOTTRANSPARENCY", "0"}, {"PANEL", "HOTGRADIENTPERCENT", "0"},
        {"PANEL", "HOTGRADIENTDATA", none},
        {"BUTTON", "COLOR", "15724527"}, {"BUTTON", "TRANSPARENCY", "0"}, {"BUTTON", "GRADIENTPERCENT", "100"},
        {"BUTTON", "GRADIENTDATA", "15066597;10790052;110;0;0;10790052;10790052;0;0;0"},
        {"BUTTON", "HOTCOLOR", "16777215"}, {"BUTTON", "HOTTRANSPARENCY", "0"}, {"BUTTON", "HOTGRADIENTPERCENT", "100"},
        {"BUTTON", "HOTGRADIENTDATA",
         "16777215;12632256;34;0;0;12632256;12632256;39;0;0;12632256;16777215;21;0;0;16777215;16777215;16;0;0;"
         "16777215;16777215;0;0;0"},
        {"EDIT", "COLOR", "16777215"}, {"EDIT", "TRANSPARENCY", "0"}, {"EDIT", "GRADIENTPERCENT", "0"},
        {"EDIT", "HOTCOLOR", "16777215"}, {"EDIT", "HOTTRANSPARENCY", "0"}, {"EDIT", "HOTGRADIENTPERCENT", "0"},
        {"CHECKBOX", "COLOR", "16777215"}, {"CHECKBOX", "TRANSPARENCY", "100"}, {"CHECKBOX", "GRADIENTPERCENT", "0"},
        {"CHECKBOX", "HOTCOLOR", "16777215"}, {"CHECKBOX", "HOTTRANSPARENCY", "100"},
        {"CHECKBOX", "HOTGRADIENTPERCENT", "0"},
        {"MENUITEM", "COLOR", "16777215"}, {"MENUITEM", "TRANSPARENCY", "100"}, {"MENUITEM", "GRADIENTPERCENT", "0"},
        {"MENUITEM", "HOTCOLOR", "13016934"}, {"MENUITEM", "HOTTRANSPARENCY", "0"},
        {"MENUITEM", "HOTGRADIENTPERCENT", "100"},
        {"MENUITEM", "HOTGRADIENTDATA",
         "10386025;16777215;7;0;0;16777215;7427390;33;0;0;7427390;11824436;23;0;0;11824436;15838563;31;0;0;15838563;"
         "12287577;9;0;0;12287577;16777215;7;0;0;16777215;16777215;0;0;0"},
        {"MENUITEM", "FONTCOLOR", "0"}, {"MENUITEM", "HOTFONTCOLOR", "16777215"}, {"MENUITEM", "HOTTCLEFT", "7752489"},
        {"MENUITEM", "HOTTCTOP", "7752489"},
        {"MENULINE", "COLOR", "16777215"}, {"MENULINE", "TRANSPARENCY", "100"}, {"MENULINE", "GRADIENTPERCENT", "0"},
        {"MENULINE", "HOTCOLOR", "16777215"}, {"MENULINE", "HOTTRANSPARENCY", "100"},
        {"MENULINE", "HOTGRADIENTPERCENT", "0"}, {"MENULINE", "HOTFONTCOLOR", "16777215"},
        {"MENULINE", "HOTTCLEFT", "6174735"}, {"MENULINE", "HOTTCTOP", "6174735"},
        {"SPLITTER", "PARENTCLASS", "SPEEDBUTTON_SMALL"}, {"TOOLBAR", "PARENTCLASS", "PANEL"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SectionOf(ini, row.Section).Value(row.Key).value_or("<missing>"), row.Value)
            << row.Section << "." << row.Key;
}

TEST(ElegantSkin, ValuesSharedByEverySection) {
    const std::set<std::string> showFocus = {"BUTTON", "COMBOBOX", "ALPHACOMBOBOX"};
    const std::set<std::string> fading = {"BUTTON", "BUTTON_BIG", "SPEEDBUTTON", "SPEEDBUTTON_SMALL",
                                          "TOOLBUTTON", "SPLITTER", "TRACKBAR"};
    const std::set<std::string> withParent = {"SPLITTER", "TOOLBAR"};
    const std::set<std::string> contoured = {"FORMTITLE", "MENUITEM", "MENULINE", "BARTITLE"};
    for (const auto& s : ElegantIni()) {
        SCOPED_TRACE(s.Name);
        const bool big = s.Name == "BUTTON_BIG";
        const std::vector<std::pair<std::string, std::string>> shared = {
            {"BEVEL", "0"}, {"HOTBEVEL", "0"}, {"SHADOWCOLOR", "0"}, {"SHADOWENABLED", "FALSE"},
            {"SHADOWBLUR", "6"}, {"SHADOWOFFSET", "3"}, {"SHADOWTRANSPARENCY", "60"}, {"IMAGEPERCENT", "0"},
            {"HOTIMAGEPERCENT", "0"}, {"BORDERCOLOR1", "0"}, {"BORDERCOLOR2", "0"}, {"FADINGINTERVALOUT", "5"},
            {"FADINGINTERVALIN", big ? "2" : "5"}, {"FADINGITERATIONS", big ? "6" : "5"},
            {"SHOWFOCUS", showFocus.count(s.Name) ? "TRUE" : "FALSE"},
            {"FADINGENABLED", fading.count(s.Name) ? "TRUE" : "FALSE"},
            {"RESERVEDBOOLEAN", s.Name == "FORM" ? "TRUE" : "FALSE"},
        };
        for (const auto& [key, value] : shared) EXPECT_EQ(s.Value(key).value_or("<missing>"), value) << key;
        EXPECT_EQ(s.Value("PARENTCLASS").has_value(), withParent.count(s.Name) == 1);
        if (!contoured.count(s.Name) && s.Name != "WEBBUTTON") {
            EXPECT_EQ(s.Value("FONTCOLOR").value_or(""), "0");
            EXPECT_EQ(s.Value("HOTFONTCOLOR").value_or(""), "0");
            for (const char* key : {"TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM", "HOTTCLEFT", "HOTTCTOP"})
                EXPECT_FALSE(s.Value(key).has_value()) << key;
        }
    }
}

TEST(ElegantSkin, MaskTableHoldsTheListedRectangles) {
    const auto masks = ElegantMasks();
    ASSERT_EQ(masks.size(), 79u);
    struct TListed {
        const char* Section;
        const char* Property;
        TRect Rect;
        int Count, Type, Width;
    };
    const std::vector<TListed> listed = {
        {"FORM", "BORDERSMASK", {0, 0, 42, 45}, 1, 0, 5},
        {"FORMTITLE", "BORDERSMASK", {0, 45, 42, 153}, 1, 1, 0},
        {"FORM", "BICONCLOSE", {0, 251, 54, 270}, 3, 0, 0}, {"GLOBALINFO", "BICONCLOSE", {0, 251, 54, 270}, 3, 0, 0},
        {"FORM", "BICONMIN", {54, 270, 108, 288}, 3, 0, 0}, {"GLOBALINFO", "BICONMIN", {54, 270, 108, 288}, 3, 0, 0},
        {"FORM", "BICONMAX", {54, 289, 108, 307}, 3, 0, 0}, {"GLOBALINFO", "BICONMAX", {54, 289, 108, 307}, 3, 0, 0},
        {"FORM", "BICONNORM", {0, 289, 54, 309}, 3, 0, 0}, {"GLOBALINFO", "BICONNORM", {0, 289, 54, 309}, 3, 0, 0},
        {"FORM", "BICONHELP", {54, 251, 108, 270}, 3, 0, 0}, {"GLOBALINFO", "BICONHELP", {54, 251, 108, 270}, 3, 0, 0},
        {"FORM", "TITLEBUTTON", {0, 270, 54, 289}, 3, 0, 0}, {"GLOBALINFO", "TITLEBUTTON", {0, 270, 54, 289}, 3, 0, 0},
        {"FORM", "GRIPIMAGE", {106, 98, 118, 110}, 1, 0, 0}, {"GLOBALINFO", "GRIPIMAGE", {106, 98, 118, 110}, 1, 0, 0},
        {"PANEL", "BORDERSMASK", {181, 202, 205, 250}, 1, 1, 0},
        {"PANEL", "GLYPHMASK", {42, 138, 66, 152}, 3, 1, 0},
        {"BUTTON", "BORDERSMASK", {69, 114, 123, 150}, 3, 1, 0},
        {"EDIT", "BORDERSMASK", {42, 90, 69, 114}, 1, 0, 2},
        {"GLOBALINFO", "BOXCHECKED", {112, 204, 160, 240}, 3, 1, 0},
        {"GLOBALINFO", "SMALLCHECKED", {112, 204, 160, 240}, 3, 1, 0},
        {"GLOBALINFO", "BOXUNCHECKED", {112, 168, 160, 204}, 3, 1, 0},
        {"GLOBALINFO", "SMALLUNCHECKED", {112, 168, 160, 204}, 3, 1, 0},
        {"GLOBALINFO", "BOXGRAYED", {108, 240, 156, 253}, 3, 0, 0},
        {"GLOBALINFO", "RADIOCHECKED", {63, 204, 111, 240}, 3, 1, 0},
        {"GLOBALINFO", "RADIOUNCHECKED", {63, 168, 111, 204}, 3, 1, 0},
    };
    const auto ini = ElegantIni();
    for (const auto& l : listed) {
        SCOPED_TRACE(std::string(l.Section) + "." + l.Property);
        const auto m = std::find_if(masks.begin(), masks.end(),
                                    [&](const TStoredMask& s) { return s.Section == l.Section && s.Property == l.Property; });
        ASSERT_NE(m, masks.end());
        EXPECT_EQ(std::tie(m->Rect.Left, m->Rect.Top, m->Rect.Right, m->Rect.Bottom, m->ImageCount, m->MaskType, m->BorderWidth),
                  std::tie(l.Rect.Left, l.Rect.Top, l.Rect.Right, l.Rect.Bottom, l.Count, l.Type, l.Width));
        // The options text carries the same values, as the loader decodes them.
        const auto value = SectionOf(ini, l.Section).Value(l.Property);
        ASSERT_TRUE(value.has_value());
        const auto decoded = ParseMaskValue(*value);
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->Form, TMaskForm::RectangleList);
        EXPECT_EQ(std::tie(decoded->Left, decoded->Top, decoded->Right, decoded->Bottom, decoded->ImageCount,
                           decoded->MaskType, decoded->BorderWidth, decoded->StretchMode),
                  std::make_tuple(l.Rect.Left, l.Rect.Top, l.Rect.Right, l.Rect.Bottom, l.Count, l.Type, l.Width, 0));
    }
    // The 79 masks, grouped by section in the stored order; none twice.
    std::set<std::pair<std::string, std::string>> seen;
    std::map<std::string, int> perSection;
    for (const auto& m : masks) {
        EXPECT_TRUE(seen.insert({m.Section, m.Property}).second) << m.Section << "." << m.Property;
        ++perSection[m.Section];
    }
    EXPECT_EQ(masks[3].Property, "MASTERBITMAP");
    EXPECT_EQ(perSection["GLOBALINFO"], 15);
    EXPECT_EQ(perSection["FORM"], 8);
    EXPECT_EQ(perSection["TRACKBAR"], 3);
    for (const char* twoMasks : {"ALPHACOMBOBOX", "COMBOBOX", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT",
                                 "SCROLLBTNTOP", "SCROLLSLIDERH", "SCROLLSLIDERV", "PANEL"})
        EXPECT_EQ(perSection[twoMasks], 2) << twoMasks;
    EXPECT_EQ(perSection.size(), 4u + 8u + 35u);   // GLOBALINFO, PANEL, FORM, TRACKBAR, eight with two masks, 35 with a frame alone
    // The internal skin has no grayed radio or small box, and no patterns.
    for (const char* absent : {"RADIOGRAYED", "SMALLGRAYED", "PATTERN", "HOTPATTERN"})
        EXPECT_EQ(std::count_if(masks.begin(), masks.end(), [&](const TStoredMask& m) { return m.Property == absent; }), 0);
}

// Key-colour runs in a frame's corner pieces are cut out of the window (or refilled
// with the parent's colour), so every one must reach the picture's outer edge.
bool KeyPixelsReachTheOutside(const TImage& image) {
    const int w = image.Width(), h = image.Height();
    std::vector<int> reached(static_cast<std::size_t>(w) * h, 0);
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x == 0 || y == 0 || x == w - 1 || y == h - 1) && image.At(x, y) == clNone) {
                reached[static_cast<std::size_t>(y) * w + x] = 1;
                todo.emplace_back(x, y);
            }
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = x + dx, ny = y + dy;
            if (!image.Inside(nx, ny) || image.At(nx, ny) != clNone) continue;
            auto& r = reached[static_cast<std::size_t>(ny) * w + nx];
            if (!r) {
                r = 1;
                todo.emplace_back(nx, ny);
            }
        }
    }
    const int cw = w / 3, ch = h / 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool corner = (x < cw || x >= w - cw) && (y < ch || y >= h - ch);
            if (corner && image.At(x, y) == clNone && !reached[static_cast<std::size_t>(y) * w + x]) return false;
        }
    return true;
}

TEST(ElegantSkin, MasterBitmapHoldsEachPartAsDrawingCutsIt) {
    const auto bytes = ReadFile((kElegantDir / "elegant_master.bmp").string());
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[28], 8) << "256 colours, 8 bits per pixel";
    const TImage master = DecodeBmp(bytes);
    ASSERT_EQ(master.Width(), 216);
    ASSERT_EQ(master.Height(), 325);
    const TImage drawn = ElegantMaster();
    for (int y = 0; y < 325; ++y)
        for (int x = 0; x < 216; ++x) ASSERT_EQ(master.At(x, y), drawn.At(x, y) & 0xFFFFFF) << x << "," << y;

    for (const auto& m : ElegantMasks()) {
        if (m.Property == "MASTERBITMAP") continue;
        SCOPED_TRACE(m.Section + "." + m.Property);
        const TImage part = master.Crop(m.Rect);
        const int stateWidth = part.Width() / m.ImageCount, colourHeight = part.Height() / (m.MaskType + 1);
        std::vector<TImage> states;
        for (int s = 0; s < m.ImageCount; ++s) states.push_back(part.Crop({s * stateWidth, 0, (s + 1) * stateWidth, colourHeight}));
        for (const auto& state : states) {
            int drawnPixels = 0;
            for (int y = 0; y < state.Height(); ++y)
                for (int x = 0; x < state.Width(); ++x) drawnPixels += state.At(x, y) != clNone;
            EXPECT_GT(drawnPixels, 0) << "an empty state image";
        }
        // States are told apart at a glance: no two are the same picture.
        for (std::size_t a = 0; a < states.size(); ++a)
            for (std::size_t b = a + 1; b < states.size(); ++b) {
                bool differ = false;
                for (int y = 0; y < colourHeight && !differ; ++y)
                    for (int x = 0; x < stateWidth && !differ; ++x) differ = states[a].At(x, y) != states[b].At(x, y);
                EXPECT_TRUE(differ) << "states " << a << " and " << b << " look the same";
            }
        if (m.MaskType == 1) {
            for (int y = colourHeight; y < part.Height(); ++y)
                for (int x = 0; x < part.Width(); ++x) {
                    const TColor c = part.At(x, y);
                    ASSERT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << "see-through half is grey at " << x << "," << y;
                    if (part.At(x, y - colourHeight) == clNone) {
                        EXPECT_EQ(RedOf(c), 255);
                    }
                }
        }
        // Window and field frames (colour only, centre left open) shape windows and have
        // their corners refilled; a menu divider's open middle is never a corner hole.
        if (m.Property == "BORDERSMASK" && m.MaskType == 0 && m.BorderWidth > 0) {
            for (const auto& state : states) EXPECT_TRUE(KeyPixelsReachTheOutside(state));
        }
    }
    // The window's outer corners are cut away; the pixel diagonally inside is the frame.
    for (const TRect frame : {TRect{0, 0, 42, 45}, TRect{0, 45, 42, 99}}) {
        EXPECT_EQ(master.At(frame.Left, frame.Top), clNone);
        EXPECT_EQ(master.At(frame.Right - 1, frame.Top), clNone);
        EXPECT_NE(master.At(frame.Left + 2, frame.Top + 2), clNone);
    }
    EXPECT_EQ(master.At(0, 44), clNone);
    EXPECT_EQ(master.At(41, 44), clNone);
}

TEST(SkinChecks, MaskFormsDecodeAsTheLoaderReadsThem) {
    struct TCase {
        std::string Value;
        TMaskForm Form;
        int Left, Top, Right, Bottom, Count, Type, Border, Stretch, ImgType;
        std::string File;
    };
    const std::vector<TCase> cases = {
        {"@0010,0020,0030,0040,3,1", TMaskForm::Glyph, 10, 20, 30, 40, 3, 1, 0, 0, 2, ""},
        {"^0001,0002,0043,0047,0005,0005,0005,0005,1,0,1,5", TMaskForm::Border, 1, 2, 43, 47, 1, 0, 5, 1, 0, ""},
        {"~  12,  34,  56,  78,10,1", TMaskForm::Texture, 12, 34, 56, 78, 1, 1, 0, 10, 1, ""},
        {"~0000,0000,0008,0008,00", TMaskForm::Texture, 0, 0, 8, 8, 1, 0, 0, 0, 1, ""},   // short: mask type 0
        {"!CHECK.BMP!3!1!2", TMaskForm::OwnWithCounts, 0, 0, 0, 0, 3, 1, 0, 0, 2, "CHECK.BMP"},
        {"button.bmp", TMaskForm::OwnPicture, 0, 0, 0, 0, 3, 1, 0, 0, 0, "button.bmp"},
        {"#(1,2,3,4) (3,1)", TMaskForm::RectangleList, 1, 2, 3, 4, 3, 1, 0, 1, 0, ""},
        {"#(1,2,3,4) (0,-2,7,0)", TMaskForm::RectangleList, 1, 2, 3, 4, 1, 0, 7, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        const auto m = ParseMaskValue(c.Value);
        ASSERT_TRUE(m.has_value());
        EXPECT_EQ(m->Form, c.Form);
        EXPECT_EQ(std::tie(m->Left, m->Top, m->Right, m->Bottom, m->ImageCount, m->MaskType, m->BorderWidth, m->StretchMode, m->ImgType),
                  std::tie(c.Left, c.Top, c.Right, c.Bottom, c.Count, c.Type, c.Border, c.Stretch, c.ImgType));
        EXPECT_EQ(m->File, c.File);
    }
    for (const char* notAMask : {"", "#", "16777215", "TRUE", "Elegant (internal)"}) EXPECT_FALSE(ParseMaskValue(notAMask)) << notAMask;
    EXPECT_THROW(ParseMaskValue("@00x0,0020,0030,0040,3,1"), std::runtime_error);
    EXPECT_THROW(ParseMaskValue("#(1,2,a,4) (3,1)"), std::runtime_error);
}

TEST(SkinChecks, BrokenTablesAreReportedByName) {
    const TSkinFiles files{std::pair{100, 60}, {{"OWN.BMP", 54, 36}, {"TALL.BMP", 54, 54}, {"SHORT.BMP", 54, 24}, {"BIG.JPG", 300, 300}}};
    struct TCase {
        const char* What;
        std::string Ini;
        std::string Fault;   // empty: sound
    };
    const std::vector<TCase> cases = {
        {"sound", "[BUTTON]\nCOLOR=1\nBORDERSMASK=#(0,0,54,36) (3,1,0,0)\nPATTERN=BIG.JPG\n", ""},
        {"own picture", "[BUTTON]\nBORDERSMASK=OWN.BMP\n", ""},
        {"outside the master", "[EDIT]\nBORDERSMASK=#(80,0,101,24) (1,0,2,0)\n",
         "EDIT.BORDERSMASK: rectangle (80, 0, 101, 24) does not lie inside the 100 x 60 master bitmap"},
        {"empty rectangle", "[EDIT]\nBORDERSMASK=#(10,10,10,20) (1,0,2,0)\n", "does not lie inside"},
        {"glyph states", "[GLOBALINFO]\nBICONCLOSE=#(0,0,55,19) (3,0)\n",
         "GLOBALINFO.BICONCLOSE: width 55 is not divisible by 3 (state images)"},
        {"frame columns", "[BUTTON]\nBORDERSMASK=#(0,0,51,36) (3,1)\n", "width 51 is not divisible by 9 (state images x 3 columns)"},
        {"halves", "[GLOBALINFO]\nBOXCHECKED=@0000,0000,0048,0035,3,1\n", "height 35 is not divisible by 2"},
        {"frame rows", "[PANEL]\nBORDERSMASK=#(0,0,24,46) (1,1)\n", "height 46 is not divisible by 6 (parts x 3 rows)"},
        {"two parts", "[BUTTON]\nBORDERSMASK=!SHORT.BMP!3!1!0\n", ""},
        {"three parts", "[BUTTON]\nBORDERSMASK=!SHORT.BMP!3!2!0\n", "height 24 is not divisible by 9 (parts x 3 rows)"},
        {"three parts sound", "[BUTTON]\nBORDERSMASK=!TALL.BMP!3!2!0\n", ""},
        {"missing picture", "[PANEL]\nBORDERSMASK=!GONE.BMP!1!1!0\n", "PANEL.BORDERSMASK: picture GONE.BMP is missing"},
        {"missing JPEG", "[FORM]\nPATTERN=SLATE.JPG\n", "FORM.PATTERN: JPEG SLATE.JPG is missing"},
        {"not a number", "[FORM]\nGRIPIMAGE=@00a0,0000,0012,0012,1,0\n", "'00a0' is not a valid integer value"},
        {"mask type", "[FORM]\nGRIPIMAGE=@0000,0000,0012,0012,1,3\n", "mask type is not 0, 1 or 2"},
        {"loop", "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n", "the parent chain comes back"},
        {"no parent", "[A]\nPARENTCLASS=NOWHERE\n", "A.PARENTCLASS: no section named NOWHERE"},
        {"boolean", "[BUTTON]\nSHOWFOCUS=yes\n", "'yes' is neither TRUE nor FALSE"},
        {"integer key", "[BUTTON]\nCOLOR=white\n", "'white' is not a valid integer value"},
        {"typo", "[BUTTON]\nCOLOUR=12\n", "BUTTON.COLOUR: not a key the loader reads"},
        {"gradient", "[PANEL]\nGRADIENTDATA=1;2;100;0;0;3;4\n", "five values per stop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto faults = CheckSkin(ParseIni(c.Ini), files);
        if (c.Fault.empty()) {
            EXPECT_EQ(faults, std::vector<std::string>{});
        } else {
            ASSERT_FALSE(faults.empty());
            EXPECT_NE(faults.front().find(c.Fault), std::string::npos) << faults.front();
            // A loop is reported from each section on it; anything else once.
            EXPECT_EQ(faults.size(), c.Fault.find("comes back") != std::string::npos ? 2u : 1u);
        }
    }
    const auto noMaster = CheckSkin(ParseIni("[FORM]\nBORDERSMASK=#(0,0,42,45) (1,0,5,0)\n"), TSkinFiles{});
    ASSERT_EQ(noMaster.size(), 1u);
    EXPECT_NE(noMaster.front().find("the skin has none"), std::string::npos);
}

TEST(SkinChecks, FolderCheckReadsThePicturesItNames) {
    const fs::path dir = fs::temp_directory_path() / ("skin-art-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    TImage own(54, 36, Grey(128));
    WriteFile((dir / "OWN.BMP").string(), EncodeBmp24(own));
    WriteFile((dir / "BAD.BMP").string(), {'B', 'M', 1, 2, 3});
    const std::string options = "[BUTTON]\r\nBORDERSMASK=OWN.BMP\r\nGLYPHMASK=!BAD.BMP!3!1!2\r\n";
    WriteFile((dir / "Options.dat").string(), {options.begin(), options.end()});
    const auto faults = CheckSkinFolder(dir.string());
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NE(faults[0].find("BAD.BMP: not a BMP file"), std::string::npos) << faults[0];
    EXPECT_NE(faults[1].find("picture BAD.BMP is missing"), std::string::npos) << faults[1];
    fs::remove_all(dir);
    EXPECT_EQ(CheckSkinFolder(dir.string()).size(), 1u) << "a missing folder is a fault, not a pass";
}

TEST(SkinArtPictures, PalettedBmpKeepsEveryPixelAndRefusesTooManyColours) {
    TImage image(13, 7, 0);   // odd width: rows are padded
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) image.Set(x, y, Rgb(x * 19, y * 37, (x * y) % 256));
    const TImage back = DecodeBmp(EncodeBmp8(image));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) EXPECT_EQ(back.At(x, y), image.At(x, y)) << x << "," << y;
    TImage many(17, 16, 0);
    for (int i = 0; i < 17 * 16; ++i) many.Set(i % 17, i / 17, Rgb(i % 256, i / 256, 0));
    EXPECT_THROW(EncodeBmp8(many), std::runtime_error);
    EXPECT_THROW(DecodeBmp({'B', 'M'}), std::runtime_error);
}

TEST(SkinArtShapes, RoundedOutlineIsClosedAndLitFromTheTopLeft) {
    struct TCase {
        int Width, Height;
        std::vector<int> Corner;
    };
    for (const auto& c : {TCase{42, 45, {4, 2, 1, 1}}, TCase{18, 18, {2, 1}}, TCase{13, 13, {4, 2, 1, 1}}, TCase{9, 9, {1}}}) {
        SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
        const TShape shape(c.Width, c.Height, c.Corner);
        // Corners are cut exactly as listed, on all four sides.
        for (std::size_t row = 0; row < c.Corner.size(); ++row)
            for (int x = 0; x < c.Width; ++x) {
                const bool cut = x < c.Corner[row] || x >= c.Width - c.Corner[row];
                const int y = static_cast<int>(row);
                EXPECT_EQ(shape.Depth(x, y) == 0, cut) << x << "," << y;
                EXPECT_EQ(shape.Depth(x, c.Height - 1 - y) == 0, cut) << x << "," << c.Height - 1 - y;
            }
        // The outline is one closed line: each outline pixel touches two others (8-neighbours).
        for (int y = 0; y < c.Height; ++y)
            for (int x = 0; x < c.Width; ++x) {
                if (shape.Depth(x, y) != 1) continue;
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && x + dx >= 0 && y + dy >= 0 && x + dx < c.Width && y + dy < c.Height)
                            neighbours += shape.Depth(x + dx, y + dy) == 1;
                EXPECT_GE(neighbours, 2) << x << "," << y;
            }
        EXPECT_TRUE(shape.Lit(c.Width / 2, 1));
        EXPECT_TRUE(shape.Lit(1, c.Height / 2));
        EXPECT_FALSE(shape.Lit(c.Width / 2, c.Height - 2));
        EXPECT_FALSE(shape.Lit(c.Width - 2, c.Height / 2));
    }
}

TEST(SkinArtShapes, TurnsAndFlipsAreExact) {
    const TImage tab = TabFrame(ElegantLook(), 1);
    const TImage twice = Transposed(Transposed(tab));
    const TImage flipped = FlippedVertically(FlippedVertically(tab));
    for (int y = 0; y < tab.Height(); ++y)
        for (int x = 0; x < tab.Width(); ++x) {
            ASSERT_EQ(twice.At(x, y), tab.At(x, y));
            ASSERT_EQ(flipped.SeeThrough(x, y), tab.SeeThrough(x, y));
            EXPECT_EQ(Transposed(tab).At(y, x), tab.At(x, y));
        }
}

// The box of the pixels that differ from the face without a glyph.
TRect GlyphBox(const TImage& face, const TImage& withGlyph) {
    TRect box{face.Width(), face.Height(), -1, -1};
    for (int y = 0; y < face.Height(); ++y)
        for (int x = 0; x < face.Width(); ++x)
            if (face.At(x, y) != withGlyph.At(x, y))
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    return box;
}

TEST(SkinArtParts, CaptionGlyphsAreCentredAndSinkWhenPressed) {
    const TLook look = ElegantLook();
    for (auto glyph : {TCaptionGlyph::Close, TCaptionGlyph::Maximise, TCaptionGlyph::Restore, TCaptionGlyph::Help}) {
        SCOPED_TRACE(static_cast<int>(glyph));
        const TRect normal = GlyphBox(CaptionButton(look, 0, TCaptionGlyph::None, 19), CaptionButton(look, 0, glyph, 19));
        const TRect pressed = GlyphBox(CaptionButton(look, 2, TCaptionGlyph::None, 19), CaptionButton(look, 2, glyph, 19));
        ASSERT_GT(normal.Width(), 0);
        EXPECT_LE(std::abs(normal.Left - (18 - normal.Right)), 1) << "horizontally centred";
        EXPECT_LE(std::abs(normal.Top - (18 - normal.Bottom)), 2) << "vertically centred on the face";
        EXPECT_EQ(pressed.Left, normal.Left + 1);
        EXPECT_EQ(pressed.Top, normal.Top + 1);
    }
    // Faces of every height share the same 18-pixel face; the extra rows stay clear.
    const TImage tall = CaptionButton(look, 1, TCaptionGlyph::Restore, 20);
    for (int x = 0; x < 18; ++x) {
        EXPECT_EQ(tall.At(x, 18), clNone);
        EXPECT_EQ(tall.At(x, 19), clNone);
    }
}

TEST(SkinArtPreview, FramePiecesSplitANarrowRectangleAsDrawingDoes) {
    // One state, colour only, 4-pixel columns: left columns red, middle green, right blue.
    TPreviewMask mask;
    mask.Source = TImage(12, 12, 0);
    mask.Source.Fill({0, 0, 4, 12}, Rgb(255, 0, 0));
    mask.Source.Fill({4, 0, 8, 12}, Rgb(0, 255, 0));
    mask.Source.Fill({8, 0, 12, 12}, Rgb(0, 0, 255));
    TImage target(5, 12, Grey(0));
    const TImage parent = target.Crop({0, 0, 5, 12});
    DrawFrame(target, {0, 0, 5, 12}, mask, 0, true, parent);
    const std::vector<TColor> row = {Rgb(255, 0, 0), Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 0, 255), Rgb(0, 0, 255)};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(target.At(x, 6), row[static_cast<std::size_t>(x)]) << x;
    // The gradient text of two stops runs from its first colour to its second.
    TImage g(3, 11, 0);
    PaintGradientText(g, {0, 0, 3, 11}, Gradient(Grey(0), Grey(200)));
    EXPECT_EQ(g.At(1, 0), Grey(0));
    EXPECT_EQ(g.At(1, 10), Grey(200));
    EXPECT_EQ(g.At(1, 5), Grey(100));
}

TEST(SkinArtPictures, JpegKeepsSizeAndRoughColour) {
    TImage image(40, 30, Rgb(46, 50, 55));
    const auto bytes = EncodeJpeg(image, 90);
    EXPECT_EQ(JpegSize(bytes), std::make_pair(40, 30));
    const TImage back = DecodeJpeg(bytes);
    ASSERT_EQ(back.Width(), 40);
    EXPECT_LE(std::abs(RedOf(back.At(20, 15)) - 46), 3);
    EXPECT_LE(std::abs(BlueOf(back.At(20, 15)) - 55), 3);
    EXPECT_THROW(JpegSize({0xFF, 0xD8, 0x00}), std::runtime_error);
}

TEST(BasaltSkin, UsesEveryMaskFormBothJpegSizesAndInheritance) {
    const auto bytes = ReadFile((kBasaltDir / "Options.dat").string());
    const auto ini = ParseIni(std::string(bytes.begin(), bytes.end()));
    std::set<TMaskForm> forms;
    std::vector<std::string> jpegs;
    int parents = 0, contours = 0;
    for (const auto& s : ini)
        for (const auto& [key, value] : s.Keys) {
            if (key == "PARENTCLASS") ++parents;
            if (key.find("TC") != std::string::npos) ++contours;
            if (key == "MASTERBITMAP") continue;
            if (NamesJpeg(value)) jpegs.push_back(value);
            else if (const auto m = ParseMaskValue(value)) forms.insert(m->Form);
        }
    EXPECT_EQ(forms.size(), 6u) << "!, @, ^, ~, own picture and rectangle list";
    EXPECT_GT(parents, 0);
    EXPECT_GT(contours, 0);
    int patterns = 0, textures = 0;
    for (const auto& name : std::set<std::string>(jpegs.begin(), jpegs.end())) {
        const auto [w, h] = JpegSize(ReadFile((kBasaltDir / name).string()));
        (w * h >= 90000 ? patterns : textures)++;
    }
    EXPECT_GE(patterns, 1) << "a pattern of at least 90000 pixels";
    EXPECT_GE(textures, 1) << "a JPEG small enough to become a texture mask";
}


// ---- Opal's text on its surfaces ---------------------------------------------------

// `weight` percent of a, the rest b, per channel.
TColor Percent(TColor a, TColor b, int weight) {
    auto mix = [&](int x, int y) { return (x * weight + y * (100 - weight) + 50) / 100; };
    return Rgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

// What a folder skin's options say a surface looks like, read the way the loader
// reads them (a missing key, or -1, comes from the PARENTCLASS chain), reduced
// to the colours text may meet on it: every colour of its gradient, its texture
// by the average of its picture, mixed as the composition mixes the layers.
class TSurfaces {
public:
    explicit TSurfaces(fs::path folder) : folder_(std::move(folder)) {
        const auto bytes = ReadFile((folder_ / "Options.dat").string());
        ini_ = ParseIni(std::string(bytes.begin(), bytes.end()));
    }

    std::optional<std::string> Read(const std::string& section, const std::string& key) const {
        std::string name = section;
        for (int depth = 0; depth < 16; ++depth) {
            const auto s = std::find_if(ini_.begin(), ini_.end(), [&](const TIniSection& i) { return i.Name == name; });
            if (s == ini_.end()) return std::nullopt;
            const auto value = s->Value(key);
            if (value && *value != "-1") return value;
            const auto parent = s->Value("PARENTCLASS");
            if (!parent || *parent == name) return std::nullopt;
            name = *parent;
        }
        return std::nullopt;
    }
    int Integer(const std::string& section, const std::string& key, int missing) const {
        const auto v = Read(section, key);
        return v ? std::stoi(*v) : missing;
    }

    // The colours of `section` in the normal or hot set; `under` is what lies
    // behind it where it lets the background through.
    std::vector<TColor> Colours(const std::string& section, bool hot, const std::vector<TColor>& under) const {
        const std::string h = hot ? "HOT" : "";
        const int transparency = Integer(section, h + "TRANSPARENCY", 0);
        const int gradient = Integer(section, h + "GRADIENTPERCENT", 0);
        const int image = Integer(section, h + "IMAGEPERCENT", 0);
        const TColor colour = static_cast<TColor>(Integer(section, h + "COLOR", 0xFFFFFF));
        if (transparency >= 100) return under;
        std::vector<TColor> layer;
        const auto stops = Read(section, h + "GRADIENTDATA");
        if (gradient > 0 && stops) {
            std::vector<int> values;
            std::istringstream in(*stops);
            for (std::string v; std::getline(in, v, ';');) values.push_back(std::stoi(v));
            for (std::size_t i = 0; i + 4 < values.size(); i += 5) {
                layer.push_back(static_cast<TColor>(values[i]));
                layer.push_back(static_cast<TColor>(values[i + 1]));
            }
        }
        const auto texture = Read(section, hot ? "HOTPATTERN" : "PATTERN");
        if (image > 0 && texture && NamesJpeg(*texture)) {
            const TColor average = Average(DecodeJpeg(ReadFile((folder_ / *texture).string())));
            if (layer.empty()) layer = {average};
            else
                for (TColor& c : layer) c = Percent(average, c, image);
        }
        if (layer.empty() || gradient + image == 0) layer = {colour};
        else if (gradient + image < 100)
            for (TColor& c : layer) c = Percent(c, colour, gradient + image);
        if (transparency <= 0) return layer;
        std::vector<TColor> mixed;
        for (TColor o : layer)
            for (TColor u : under) mixed.push_back(Percent(u, o, transparency));
        return mixed;
    }

private:
    static TColor Average(const TImage& image) {
        std::int64_t r = 0, g = 0, b = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                r += RedOf(image.At(x, y));
                g += GreenOf(image.At(x, y));
                b += BlueOf(image.At(x, y));
            }
        const std::int64_t n = std::int64_t(image.Width()) * image.Height();
        return Rgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n));
    }

    fs::path folder_;
    std::vector<TIniSection> ini_;
};

TEST(OpalSkin, TextReadsAtLeastFourAndAHalfToOneOnEverySurface) {
    const TSurfaces opal(kOpalDir);
    // The places the launcher and the gallery write text, as korvel-skin check reads them.
    for (const TTextSurface& t : TextSurfaces()) {
        SCOPED_TRACE(t.What);
        const auto font = opal.Read(t.FontSection, t.Hot ? "HOTFONTCOLOR" : "FONTCOLOR");
        ASSERT_TRUE(font.has_value()) << "no font colour";
        const TColor text = static_cast<TColor>(std::stoi(*font));
        const std::vector<TColor> under =
            *t.Under ? opal.Colours(t.Under, t.UnderHot, {}) : std::vector<TColor>{};
        const std::vector<TColor> surface = opal.Colours(t.Section, t.Hot, under);
        ASSERT_FALSE(surface.empty()) << "a see-through surface with nothing under it";
        for (TColor c : surface)
            EXPECT_GE(ContrastRatio(text, c), MinimumTextContrast) << std::hex << "text 0x" << text << " on 0x" << c;
    }
}

// The surface model reads what the composition mixes: a half-transparent section
// over a two-colour parent meets both parent colours, mixed by its transparency,
// and a missing key comes from the parent class.
TEST(OpalSkin, SurfaceColoursFollowTransparencyGradientAndInheritance) {
    const fs::path dir = fs::temp_directory_path() / ("skin-art-surfaces-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string options = "[BACK]\nGRADIENTPERCENT=100\nGRADIENTDATA=255;16711680;100;0;0;16711680;16711680;0;0;0\n"
                                "[HALF]\nCOLOR=65280\nTRANSPARENCY=50\n[CHILD]\nPARENTCLASS=HALF\nTRANSPARENCY=-1\n"
                                "[TINT]\nCOLOR=0\nGRADIENTPERCENT=60\nGRADIENTDATA=16777215;16777215;100;0;0\n";
    WriteFile((dir / "Options.dat").string(), {options.begin(), options.end()});
    const TSurfaces s(dir);
    const auto back = s.Colours("BACK", false, {});
    EXPECT_EQ(back, (std::vector<TColor>{Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 0, 255), Rgb(0, 0, 255)}));
    EXPECT_EQ(s.Colours("CHILD", false, {Rgb(255, 0, 0), Rgb(0, 0, 255)}),
              (std::vector<TColor>{Rgb(128, 128, 0), Rgb(0, 128, 128)}));
    EXPECT_EQ(s.Colours("TINT", false, {}), (std::vector<TColor>{Grey(153), Grey(153)}));
    fs::remove_all(dir);
}
}  // namespace
}  // namespace korvel::art
