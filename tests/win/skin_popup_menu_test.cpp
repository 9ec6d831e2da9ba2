// Skinned pop-up menus on a skinned form: opened with a real right click,
// looked at on the screen while they are open, closed with real keys. Sizes
// come from the formulas over the skin's values and GDI's own text
// measurement; pixels from the painting core or the master bitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "controls/skinable_menus.h"
#include "gui/cache_dc.h"
#include "form_test_support.h"
#include "gui/image_list.h"
#include "gui/text.h"
#include "gui_input_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::kElegant;
using testing::TMenuWatcher;
using testing::TSkinnedFormRig;

// The screen's menu font as GDI makes it, and text sizes in it.
struct TMenuFont {
    HFONT Font = nullptr;
    // With Source: that font, or Tahoma where it is a bitmap face (which cannot be turned).
    explicit TMenuFont(int escapement = 0, const LOGFONTW* source = nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        LOGFONTW font = source ? *source : metrics.lfMenuFont;
        font.lfEscapement = escapement;
        if (source && std::wstring(font.lfFaceName) == L"MS Sans Serif") wcscpy_s(font.lfFaceName, L"Tahoma");
        Font = CreateFontIndirectW(&font);
    }
    ~TMenuFont() { DeleteObject(Font); }
    SIZE Extent(const std::string& text) const {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, Font);
        SIZE size{};
        const std::wstring wide = Widen(text);
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return size;
    }
};

// One item's rectangle on the screen while its menu is open.
RECT ItemRect(HMENU menu, int position) {
    RECT r{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &r);
    return r;
}

// What a test saw of an open popup.
struct TSeen {
    RECT Window{};
    std::vector<RECT> Items;
    std::vector<std::vector<COLORREF>> Pixels;   // the window's pixels, rows of columns
    HRGN Region = nullptr;
    int RegionKind = ERROR;
    COLORREF At(int x, int y) const { return Pixels[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; }
    int Width() const { return Window.right - Window.left; }
    int Height() const { return Window.bottom - Window.top; }
};

class SkinPopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        Application().OnException = [this](const std::exception& e) { reported.push_back(e.what()); };
        rig = std::make_unique<TSkinnedFormRig>();
        popup = new TPopupMenu(rig->Form);
        rig->Form->SetPopupMenu(popup);
        rig->Show();
    }
    void TearDown() override {
        rig.reset();
        SetMenuSkinningFactory(nullptr);
        Application().OnException = nullptr;
        EXPECT_TRUE(reported.empty()) << reported.front();
    }
    TsSkinableMenus& Menus() { return dynamic_cast<TsSkinableMenus&>(rig->Manager->SkinableMenus()); }
    TMenuItem* Add(const std::string& name, const std::string& caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(rig->Form);
        if (!name.empty()) item->SetName(name);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        popup->Items().Add(item);
        return item;
    }
    // Hooks the form's menus again (new items), opens the popup with a real
    // right click in the client area and reads it while it is open.
    TSeen Open() {
        Menus().HookMenus(rig->Form, true);
        TSeen seen;
        {
            TMenuWatcher watcher([&](HWND window) {
                Sleep(200);
                GetWindowRect(window, &seen.Window);
                for (int i = 0; i < GetMenuItemCount(popup->Handle()); ++i) seen.Items.push_back(ItemRect(popup->Handle(), i));
                HDC screen = GetDC(nullptr);
                for (int y = seen.Window.top; y < seen.Window.bottom; ++y) {
                    seen.Pixels.emplace_back();
                    for (int x = seen.Window.left; x < seen.Window.right; ++x) seen.Pixels.back().push_back(GetPixel(screen, x, y));
                }
                ReleaseDC(nullptr, screen);
                seen.Region = CreateRectRgn(0, 0, 0, 0);
                seen.RegionKind = GetWindowRgn(window, seen.Region);
                testing::SendChord(VK_ESCAPE);
            });
            testing::ClickAt(rig->Screen(rig->Provider->ClientOffsetX() + 40, rig->Provider->ClientOffsetY() + 30),
                             MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            Application().ProcessMessages();
            EXPECT_TRUE(watcher.Seen()) << "a pop-up menu window showed";
        }
        Application().ProcessMessages();
        return seen;
    }
    std::unique_ptr<TSkinnedFormRig> rig;
    TPopupMenu* popup = nullptr;
    std::vector<std::string> reported;
};

int ScaledTextHeight(int h) { return static_cast<int>(std::lround(h * 1.25)); }

TEST_F(SkinPopupMenuTest, ItemsMeasureToTheFormulasWithAndWithoutTheExtraLine) {
    TMenuItem* first = Add("Head", "&Open", scCtrl | 'O');
    TMenuItem* tall = Add("Tall", "Picture");
    tall->Bitmap().SetSize(24, 30);
    TMenuItem* line = Add("", "-");
    TMenuItem* title = Add("Title", "-Section-");
    const TMenuFont font;
    const int h = font.Extent("W").cy;
    const int m = 3, s = 6;
    struct TCase {
        TMenuItem* Item;
        int GlyphWidth;
        std::string Text;   // measured text; empty for the divider
        int Height;
    };
    const TCase cases[] = {
        {first, 16, "Open" + ShortCutToText(scCtrl | 'O'), std::max(ScaledTextHeight(h), 16) + 2 * m},
        {tall, 24, "Picture", std::max(ScaledTextHeight(h), 30) + 2 * m},
        {line, 16, "", 2},
        {title, 16, "--Section--", ScaledTextHeight(h) + 2 * m},
    };
    for (bool extraLine : {false, true}) {
        rig->Manager->MenuSupport().UseExtraLine = extraLine;
        Menus().FreeSharedBitmap();   // the next measure asks for the extra line again
        const TSeen seen = Open();
        ASSERT_EQ(seen.Items.size(), std::size(cases));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const TCase& c = cases[i];
            SCOPED_TRACE(c.Item->Caption() + (extraLine ? " with the extra line" : ""));
            const int text = c.Text.empty() ? 0 : font.Extent(c.Text).cx;
            const int expectedWidth = 2 * c.GlyphWidth + text + 3 * m + s + (extraLine ? 32 : 0);
            HDC screen = GetDC(nullptr);
            int width = 0, height = 0;
            {
                TCanvas canvas(screen);
                c.Item->MeasureItem(canvas, width, height);
            }
            ReleaseDC(nullptr, screen);
            EXPECT_EQ(width, expectedWidth);
            EXPECT_EQ(height, c.Height);
            EXPECT_EQ(seen.Items[i].bottom - seen.Items[i].top, c.Height) << "the open menu's item";
        }
    }
    // The skins submenu's popup (first item "SkinSelectItem") never has the extra line.
    first->SetName(SkinSelectItemName);
    Menus().FreeSharedBitmap();
    HDC screen = GetDC(nullptr);
    int width = 0, height = 0;
    {
        TCanvas canvas(screen);
        first->MeasureItem(canvas, width, height);
    }
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(width, 2 * 16 + font.Extent(cases[0].Text).cx + 3 * m + s);
}

// A picture whose three channels run differently (red across, green down, blue
// against both), so a shifted, flipped or swapped copy shows; never the key colour.
TBitmap24 PatternedPicture(int width, int height, int seed) {
    TBitmap24 picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, RGB((x * 11 + seed) & 0xFF, (y * 9 + 2 * seed) & 0x7F, (200 - x * 3 - y * 5 + seed) & 0xFF));
    return picture;
}

TEST_F(SkinPopupMenuTest, ItemsWithoutABitmapTakeTheirGlyphFromTheMenusImageList) {
    auto* images = new TCustomImageList(rig->Form);
    images->SetSize(20, 24);
    const TBitmap24 pictures[] = {PatternedPicture(20, 24, 0), PatternedPicture(20, 24, 97)};
    for (const TBitmap24& picture : pictures) images->Add(picture);
    popup->SetImages(images);
    TMenuItem* head = Add("Head", "First");
    head->SetImageIndex(1);
    TMenuItem* own = Add("Own", "Own bitmap");
    own->SetImageIndex(0);
    own->Bitmap().SetSize(12, 10);
    const TBitmap24 ownPicture = PatternedPicture(12, 10, 31);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) own->Bitmap().Pixels().SetPixel(x, y, ownPicture.Pixel(x, y));
    TMenuItem* none = Add("None", "No picture");
    const TMenuFont font;
    const int h = ScaledTextHeight(font.Extent("W").cy);
    const int m = 3, s = 6;
    struct TCase {
        TMenuItem* Item;
        SIZE Glyph;
        const TBitmap24* Picture;   // drawn at (d, d) of the item; nullptr: none
    };
    const TCase cases[] = {
        {head, {20, 24}, &pictures[1]},
        {own, {12, 10}, &ownPicture},
        {none, {20, 24}, nullptr},
    };
    const TSeen seen = Open();
    ASSERT_EQ(seen.Items.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const TCase& c = cases[i];
        SCOPED_TRACE(c.Item->Caption());
        HDC screen = GetDC(nullptr);
        int width = 0, height = 0;
        {
            TCanvas canvas(screen);
            c.Item->MeasureItem(canvas, width, height);
        }
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(width, 2 * c.Glyph.cx + font.Extent(c.Item->Caption()).cx + 3 * m + s);
        EXPECT_EQ(height, std::max<int>(h, c.Glyph.cy) + 2 * m);
        const RECT item = seen.Items[i];
        ASSERT_EQ(item.bottom - item.top, height);
        if (!c.Picture) continue;
        const int d = (height - c.Glyph.cy) / 2;
        int wrong = 0;
        for (int y = 0; y < c.Glyph.cy; ++y)
            for (int x = 0; x < c.Glyph.cx; ++x)
                wrong += seen.At(item.left - seen.Window.left + d + x, item.top - seen.Window.top + d + y) !=
                         static_cast<COLORREF>(c.Picture->Pixel(x, y));
        EXPECT_EQ(wrong, 0) << "of " << c.Glyph.cx * c.Glyph.cy;
    }
    // The list going leaves the menu's items at the default glyph size.
    delete images;
    EXPECT_EQ(popup->Images(), nullptr);
    EXPECT_EQ(TsSkinableMenus::GlyphSize(*head).cx, 16);
    EXPECT_EQ(TsSkinableMenus::GlyphSize(*head).cy, 16);
}

// A skin whose popup background is graded across, with fully transparent items:
// every pixel of an open popup is the background's own at that place.
std::string GradedPopupSkin() {
    const std::string gradient = "255;16711680;100;1;0";
    return testing::WriteFolderSkin(
        "popup", "Graded",
        {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256", "HOTCOLOR=12632256", "[MAINMENU]", "COLOR=65280",
         "TRANSPARENCY=0", "GRADIENTPERCENT=100", "GRADIENTDATA=" + gradient, "HOTGRADIENTPERCENT=100",
         "HOTGRADIENTDATA=" + gradient, "[MENUITEM]", "COLOR=65535", "HOTCOLOR=65535", "TRANSPARENCY=100",
         "HOTTRANSPARENCY=100"});
}

TEST_F(SkinPopupMenuTest, ColumnsShowTheBackgroundBelowTheirLastItemAndInTheGapBeforeThem) {
    rig->Manager->SetSkinDirectory(GradedPopupSkin());
    rig->Manager->SetSkinName("Graded");
    // Three columns: two items, one item, three items (the tallest).
    const bool breaks[] = {false, false, true, true, false, false};
    for (std::size_t i = 0; i < std::size(breaks); ++i) Add("Item" + std::to_string(i), "   ")->SetBreak(breaks[i]);
    const TSeen seen = Open();
    ASSERT_EQ(seen.Items.size(), std::size(breaks));
    // The system lays the columns out side by side, 4 pixels apart, each from the top.
    for (std::size_t i = 1; i < seen.Items.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT& previous = seen.Items[i - 1];
        const RECT& item = seen.Items[i];
        if (breaks[i]) {
            EXPECT_EQ(item.left - previous.right, 4);
            EXPECT_EQ(item.top, seen.Items[0].top);
        } else {
            EXPECT_EQ(item.left, previous.left);
            EXPECT_EQ(item.top, previous.bottom);
        }
    }
    TBitmap24 background(seen.Width(), seen.Height());
    PaintSection(rig->Manager->SectionIndexOf("MAINMENU"), TParentBackground{}, &rig->Tables(), background, {0, 0},
                 {0, 0, seen.Width(), seen.Height()}, 0, true);
    ASSERT_NE(background.Pixel(4, 4), background.Pixel(seen.Width() - 5, 4)) << "the background is graded";
    // Below the first two columns and in both gaps, as everywhere else inside the frame.
    const int b = Menus().BorderWidth;
    int wrong = 0, compared = 0;
    for (int y = b; y < seen.Height() - b; ++y)
        for (int x = b; x < seen.Width() - b; ++x) {
            ++compared;
            wrong += seen.At(x, y) != static_cast<COLORREF>(background.Pixel(x, y));
        }
    EXPECT_EQ(wrong, 0) << "of " << compared;
    const RECT& below = seen.Items[1];
    EXPECT_LT(below.bottom - seen.Window.top, seen.Height() - b) << "the first column is shorter";
}

TEST_F(SkinPopupMenuTest, WithoutAMenuWindowTheBackgroundIsAsHighAsTheTallestColumn) {
    const TMenuFont font;
    const int normal = std::max(ScaledTextHeight(font.Extent("W").cy), 16) + 2 * 3, divider = 2;
    struct TCase {
        const char* Name;
        std::vector<std::pair<std::string, bool>> Items;   // caption, break
        int Height;                                         // the tallest column
    };
    const TCase cases[] = {
        {"one column", {{"A", false}, {"-", false}, {"B", false}}, 2 * normal + divider},
        {"two columns", {{"A", false}, {"B", true}, {"-", false}, {"C", false}}, normal + divider + normal},
        {"a break on the first item", {{"A", true}, {"B", false}, {"C", false}}, 3 * normal},
        {"three columns, the first tallest", {{"A", false}, {"B", false}, {"C", true}, {"D", true}}, 2 * normal},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        popup->Items().Clear();
        for (const auto& [caption, brk] : c.Items) Add("", caption)->SetBreak(brk);
        Menus().HookMenus(rig->Form, true);
        Menus().FreeSharedBitmap();
        TBitmap24 target(120, 40);
        TCacheDC dc(target);
        {
            TCanvas canvas(dc.Handle());
            Menus().PopupDraw(popup->Items().Items(0), canvas, RECT{0, 0, 100, normal}, 0);
        }
        EXPECT_EQ(TsSkinableMenus::PopupBackground().Width(), 100 + 2 * Menus().BorderWidth);
        EXPECT_EQ(TsSkinableMenus::PopupBackground().Height(), c.Height + 2 * Menus().BorderWidth);
    }
    Application().ProcessMessages();   // the frame request the drawing posted
}

// The ink of a caption in the extra line: its box inside the strip.
struct TInk {
    int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
    bool Any() const { return Right >= 0; }
};

TEST_F(SkinPopupMenuTest, ExtraLineWritesItsCaptionUpwardsAndTheSkinsPopupHasNone) {
    // A red extra line with white text (colours are 0xBBGGRR).
    rig->Manager->SetCommonSections({"[EXTRALINE]", "COLOR=255", "HOTCOLOR=255", "TRANSPARENCY=0", "FONTCOLOR=16777215"});
    rig->Manager->MenuSupport().UseExtraLine = true;
    rig->Manager->MenuSupport().ExtraLineWidth = 32;
    Add("Head", "First");
    Add("", "-");
    // Tall enough for the whole default caption.
    for (int i = 0; i < 14; ++i) Add("More" + std::to_string(i), "More " + std::to_string(i));
    LOGFONTW lineFont{};
    GetObjectW(rig->Manager->MenuSupport().ExtraLineFont.Handle(), sizeof(lineFont), &lineFont);
    const TMenuFont font(0, &lineFont);
    struct TCase {
        const char* FirstName;
        const char* EventCaption;   // nullptr: no handler for the event
        std::string Shown;          // the caption drawn; empty: no extra line
    };
    const TCase cases[] = {
        {"Head", nullptr, DefaultExtraLineCaption},
        {"Head", "&Tools && more", "Tools  more"},
        {SkinSelectItemName, nullptr, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Shown.empty() ? "skins popup" : c.Shown);
        popup->Items().Items(0)->SetName(c.FirstName);
        rig->Manager->OnGetMenuExtraLineData = nullptr;
        if (c.EventCaption)
            rig->Manager->OnGetMenuExtraLineData = [&](TMenuItem*, std::string&, std::string& caption, TBitmap24&, bool&) {
                caption = c.EventCaption;
            };
        Menus().FreeSharedBitmap();
        const TSeen seen = Open();
        const int sbw = Menus().SkinBorderWidth();
        const int stripHeight = seen.Height() - 2 * sbw;
        ASSERT_GT(stripHeight, font.Extent(DefaultExtraLineCaption).cx + 12);
        int red = 0;
        TInk ink;
        for (int y = sbw; y < sbw + stripHeight; ++y)
            for (int x = sbw; x < sbw + 32; ++x) {
                const COLORREF p = seen.At(x, y);
                red += p == RGB(255, 0, 0);
                if (GetRValue(p) > 128 && GetGValue(p) > 128 && GetBValue(p) > 128) {   // white ink over red
                    ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x);
                    ink.Top = std::min(ink.Top, y), ink.Bottom = std::max(ink.Bottom, y);
                }
            }
        if (c.Shown.empty()) {
            EXPECT_EQ(red, 0);
            continue;
        }
        EXPECT_GT(red, 32 * stripHeight / 2) << "the strip shows the section";
        ASSERT_TRUE(ink.Any());
        const SIZE text = font.Extent(c.Shown);
        // Written upwards from 12 pixels above the strip's bottom: as high as the text is wide.
        EXPECT_LE(ink.Bottom, sbw + stripHeight - 12);
        EXPECT_GE(ink.Bottom, sbw + stripHeight - 12 - 3);
        EXPECT_NEAR(ink.Bottom - ink.Top + 1, text.cx, 3);
        EXPECT_LE(ink.Right - ink.Left + 1, text.cy);
        // Centred across the strip.
        EXPECT_GE(ink.Left, sbw + (32 - text.cy) / 2);
        EXPECT_LE(ink.Right, sbw + (32 - text.cy) / 2 + text.cy);
    }
}

TEST_F(SkinPopupMenuTest, DisabledItemIsBlendedOverThePopupBackground) {
    Add("Head", "Enabled");
    TMenuItem* disabled = Add("Off", "Disabled");
    disabled->SetEnabled(false);
    // A glyph whose three channels run differently, so a shift or a swap shows.
    TBitmap& glyph = disabled->Bitmap();
    glyph.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) glyph.Pixels().SetPixel(x, y, RGB(x * 16, y * 16, 255 - x * 8 - y * 4));
    const TSeen seen = Open();
    ASSERT_EQ(seen.Items.size(), 2u);
    // The popup background as the painting core paints "MAINMENU" over the window.
    TBitmap24 background(seen.Width(), seen.Height());
    PaintSection(rig->Manager->SectionIndexOf("MAINMENU"), TParentBackground{}, &rig->Tables(), background, {0, 0},
                 {0, 0, seen.Width(), seen.Height()}, 0, true);
    const RECT item = seen.Items[1];
    const int d = (item.bottom - item.top - 16) / 2;
    auto blend = [](int item, int bg) { return static_cast<int>(std::nearbyint(0.4 * item + 0.6 * bg)); };
    int checked = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int wx = item.left - seen.Window.left + d + x, wy = item.top - seen.Window.top + d + y;
            const COLORREF g = glyph.Pixels().Pixel(x, y);
            const COLORREF b = background.Pixel(wx, wy);
            const COLORREF expected = RGB(blend(GetRValue(g), GetRValue(b)), blend(GetGValue(g), GetGValue(b)),
                                          blend(GetBValue(g), GetBValue(b)));
            const COLORREF shown = seen.At(wx, wy);
            checked += shown == expected;
            EXPECT_EQ(shown, expected) << x << "," << y;
            if (shown != expected) return;
        }
    EXPECT_EQ(checked, 256);
}

// Pop-ups are painted from MAINMENU and MENUITEM: without them the menu is the
// system's, readable, in its own square window (never black behind black text).
TEST_F(SkinPopupMenuTest, SkinWithoutMainMenuLeavesThePopupTheSystemsLookAndTheWindowSquare) {
    const std::string directory =
        testing::WriteFolderSkin("menus", "Bare", {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256"});
    rig->Manager->SetSkinDirectory(directory);
    rig->Manager->SetSkinName("Bare");
    ASSERT_EQ(rig->Manager->SectionIndexOf("MAINMENU"), -1);
    Add("Head", "One");
    Add("Two", "Two");
    const TSeen seen = Open();
    ASSERT_GT(seen.Height(), 10);
    EXPECT_EQ(Menus().SkinBorderWidth(), 0);
    // Inside the system's frame, every item's row away from its text is the system's menu colour.
    for (const RECT& item : seen.Items) {
        const int y = (item.top + item.bottom) / 2 - seen.Window.top;
        EXPECT_EQ(seen.At(item.right - seen.Window.left - 3, y), GetSysColor(COLOR_MENU)) << "item at " << y;
    }
    EXPECT_NE(seen.RegionKind, COMPLEXREGION);
    DeleteObject(seen.Region);
}

TEST_F(SkinPopupMenuTest, PopupWindowRegionIsCutWhereTheMainMenuBorderIsTransparent) {
    // The internal skin's form frame serves as the menu's frame.
    rig->Manager->SetCommonSections({"[MAINMENU]", "BORDERSMASK=#(0,0,42,45) (1,0,5,0)"});
    const TsMaskData& mask = rig->Mask("MAINMENU", "BORDERSMASK");
    Add("Head", "One");
    Add("Two", "Two");
    Add("Three", "Three");
    const TSeen seen = Open();
    ASSERT_NE(seen.RegionKind, ERROR) << "the window has a region";
    // The key pixels of the corner pieces, placed on the window: a third of the image each way.
    const TBitmap24& master = rig->Tables().MasterBitmap;
    const int imageWidth = mask.R.Width() / mask.ImageCount, colourHeight = mask.R.Height() / (mask.MaskType + 1);
    const int pw = imageWidth / 3, ph = colourHeight / 3;
    std::set<std::pair<int, int>> holes;
    for (int row = 0; row < 2; ++row)
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x) {
                const int imageTop = row == 0 ? 0 : 2 * ph, windowTop = row == 0 ? 0 : seen.Height() - ph;
                if (master.Pixel(mask.R.Left + x, mask.R.Top + imageTop + y) == 0xFF00FF) holes.insert({x, windowTop + y});
                const int rx = imageWidth - pw + x;
                if (master.Pixel(mask.R.Left + rx, mask.R.Top + imageTop + y) == 0xFF00FF)
                    holes.insert({seen.Width() - imageWidth + rx, windowTop + y});
            }
    ASSERT_FALSE(holes.empty()) << "the mask has transparent corners";
    int inside = 0;
    for (int row = 0; row < 2; ++row)
        for (int y = 0; y < ph; ++y)
            for (int x : {0, 1, 2, pw - 1, seen.Width() - pw, seen.Width() - 2, seen.Width() - 1}) {
                const int wy = row == 0 ? y : seen.Height() - ph + y;
                const bool hole = holes.count({x, wy}) != 0;
                inside += !hole;
                EXPECT_EQ(PtInRegion(seen.Region, x, wy) != 0, !hole) << x << "," << wy;
            }
    EXPECT_GT(inside, 0);
    EXPECT_TRUE(PtInRegion(seen.Region, seen.Width() / 2, seen.Height() / 2));
    DeleteObject(seen.Region);
}

TEST_F(SkinPopupMenuTest, ItemsOverATransparentItemSectionShowTheMenuBackgroundWhereTheyStand) {
    // A menu graded from red to blue across (0xBBGGRR), so that a shifted column shows; items fully transparent.
    const std::string gradient = "255;16711680;100;1;0";
    rig->Manager->SetSkinDirectory(testing::WriteFolderSkin(
        "popup", "Graded",
        {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256", "HOTCOLOR=12632256", "[MAINMENU]", "COLOR=65280",
         "TRANSPARENCY=0", "GRADIENTPERCENT=100", "GRADIENTDATA=" + gradient, "HOTGRADIENTPERCENT=100",
         "HOTGRADIENTDATA=" + gradient, "[MENUITEM]", "COLOR=65535", "HOTCOLOR=65535", "TRANSPARENCY=100",
         "HOTTRANSPARENCY=100"}));
    rig->Manager->SetSkinName("Graded");
    // Captions of blanks: an item draws nothing of its own.
    for (int i = 0; i < 4; ++i) Add("Item" + std::to_string(i), "   ");
    const TSeen seen = Open();
    ASSERT_EQ(seen.Items.size(), 4u);
    TBitmap24 background(seen.Width(), seen.Height());
    PaintSection(rig->Manager->SectionIndexOf("MAINMENU"), TParentBackground{}, &rig->Tables(), background, {0, 0},
                 {0, 0, seen.Width(), seen.Height()}, 0, true);
    ASSERT_NE(background.Pixel(2, 2), background.Pixel(seen.Width() - 3, 2)) << "the background is graded";
    int compared = 0;
    for (const RECT& item : seen.Items)
        for (int y = item.top - seen.Window.top; y < item.bottom - seen.Window.top; ++y)
            for (int x = item.left - seen.Window.left; x < item.right - seen.Window.left; ++x) {
                ++compared;
                ASSERT_EQ(seen.At(x, y), static_cast<COLORREF>(background.Pixel(x, y))) << x << "," << y;
            }
    EXPECT_GT(compared, 4 * 100);
}

TEST_F(SkinPopupMenuTest, IconLineRunsUnderTheGlyphColumnWithAndWithoutTheExtraLine) {
    rig->Manager->SetSkinDirectory(testing::SourcePath("skins"));
    rig->Manager->SetSkinName("Basalt");
    EXPECT_EQ(rig->Manager->MenuSupport().IcoLineSkin, "ICOLINE") << "taken when a skin is loaded";
    const int icoLine = rig->Manager->SectionIndexOf("ICOLINE");
    ASSERT_GE(icoLine, 0);
    const TColor colour = rig->Tables().Sections.at(static_cast<std::size_t>(icoLine)).Color;
    Add("Head", "One");
    Add("Two", "Two");
    Add("Three", "Three");
    for (const int extraWidth : {0, 24}) {
        SCOPED_TRACE(extraWidth ? "with the extra line" : "without the extra line");
        rig->Manager->MenuSupport().UseExtraLine = extraWidth > 0;
        rig->Manager->MenuSupport().ExtraLineWidth = extraWidth;
        Menus().FreeSharedBitmap();
        const TSeen seen = Open();
        const int sbw = Menus().SkinBorderWidth();
        const int left = sbw + extraWidth;
        const int width = 3 + 16 + 6;   // Margin + the first item's glyph width + Spacing
        for (const RECT& item : seen.Items) {
            const int y = (item.top + item.bottom) / 2 - seen.Window.top;
            // Inside the strip (its edge columns may carry the section's frame).
            for (int x = left + 3; x < left + width - 3; x += 3)
                EXPECT_EQ(seen.At(x, y), static_cast<COLORREF>(colour)) << x << "," << y;
            EXPECT_NE(seen.At(left + width + 2, y), static_cast<COLORREF>(colour)) << "the line ends";
        }
    }
}

TEST_F(SkinPopupMenuTest, SystemMenuIsPaintedFromTheSkinWithoutTheExtraLine) {
    rig->Manager->SetCommonSections({"[EXTRALINE]", "COLOR=255", "HOTCOLOR=255", "TRANSPARENCY=0"});
    rig->Manager->MenuSupport().UseExtraLine = true;
    rig->Manager->SetSkinDirectory(testing::SourcePath("skins"));
    TsSkinProvider& p = *rig->Provider;
    TSeen seen;
    {
        TMenuWatcher watcher([&](HWND window) {
            Sleep(200);
            GetWindowRect(window, &seen.Window);
            seen.Pixels.assign(1, {});
            for (int x = seen.Window.left; x < seen.Window.right; ++x) seen.Pixels[0].push_back(testing::ScreenPixel(x, seen.Window.top + 1));
            testing::SendChord(VK_ESCAPE);
        });
        testing::ClickAt(rig->Screen(p.IconRect().Right + 60, p.FrameHeight() + p.CaptionHeight() / 2),
                         MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        Application().ProcessMessages();
        ASSERT_TRUE(watcher.Seen());
    }
    Application().ProcessMessages();
    TsSystemMenu& menu = *p.SystemMenu();
    ASSERT_NE(menu.SkinsItem(), nullptr);
    EXPECT_TRUE(menu.OwnerDraw());
    EXPECT_TRUE(menu.ItemClose->OnAdvancedDrawItem.Has(&Menus()));
    EXPECT_TRUE(menu.SkinsItem()->Items(0)->OnMeasureItem.Has(&Menus()));
    // The top frame row is the "MAINMENU" colour across, with no extra line in it.
    const TColor mainMenu = rig->Tables().Sections.at(static_cast<std::size_t>(rig->Manager->SectionIndexOf("MAINMENU"))).Color;
    ASSERT_GT(seen.Width(), 40);
    for (int x = 0; x < seen.Width(); x += 5) EXPECT_EQ(seen.At(x, 0), static_cast<COLORREF>(mainMenu)) << x;
}

// A menu item whose memory becomes unreadable when it is freed (and whose
// address is never handed out again): touching it afterwards faults at once
// instead of reading whatever the heap left there.
class TUnreadableWhenFreedItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;
    static void* operator new(std::size_t size) {
        void* memory = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (!memory) throw std::bad_alloc();
        return memory;
    }
    static void operator delete(void* memory, std::size_t size) {
        DWORD old = 0;
        VirtualProtect(memory, size, PAGE_NOACCESS, &old);
    }
};

TEST_F(SkinPopupMenuTest, AFrameRequestForAnItemFreedMeanwhileIsDroppedWithoutTouchingIt) {
    TMenuItem* stays = Add("Stays", "Stays");
    auto* item = new TUnreadableWhenFreedItem(rig->Form);
    item->SetCaption("Gone");
    popup->Items().Add(item);
    const LPARAM address = reinterpret_cast<LPARAM>(static_cast<TMenuItem*>(item));
    delete item;
    Menus().HookItem(address);   // faults here if the request reads the item
    EXPECT_FALSE(TMenuItem::IsLiving(reinterpret_cast<TMenuItem*>(address)));
    EXPECT_TRUE(TMenuItem::IsLiving(stays));
}

}  // namespace
}  // namespace korvel
