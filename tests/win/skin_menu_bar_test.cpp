// A skinned form's menu bar: measured by the menu skinning, painted into the
// form's menu line from the skin, checked on the screen against the painting
// core's form background.
#include <gtest/gtest.h>

#include "controls/skinable_menus.h"
#include "form_test_support.h"
#include "gui/text.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::TSkinnedFormRig;

class SkinMenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinableMenus();
        rig = std::make_unique<TSkinnedFormRig>();
        menu = new TMainMenu(rig->Form);
        for (const char* caption : {"&File", "&Edit", "Locked"}) {
            auto* item = new TMenuItem(rig->Form);
            item->SetCaption(caption);
            auto* inner = new TMenuItem(rig->Form);
            inner->SetCaption("Inner");
            item->Add(inner);
            menu->Items().Add(item);
        }
        menu->Items().Items(2)->SetEnabled(false);
        rig->Form->SetMenu(menu);
        rig->Show();
        rig->Provider->RepaintNonClient();
        Application().ProcessMessages();
    }
    void TearDown() override {
        rig.reset();
        SetMenuSkinningFactory(nullptr);
    }
    std::unique_ptr<TSkinnedFormRig> rig;
    TMainMenu* menu = nullptr;
};

TEST_F(SkinMenuBarTest, BarItemsAreMeasuredAndPaintedOverTheSkinnedMenuLine) {
    TsSkinProvider& p = *rig->Provider;
    const int lineHeight = GetSystemMetrics(SM_CYMENU) - 1;
    ASSERT_TRUE(p.MenuLineVisible());
    ASSERT_EQ(p.MenuHeight(), lineHeight);
    ASSERT_EQ(p.MenuRowCount(), 1);
    EXPECT_TRUE(menu->OwnerDraw()) << "the skin draws the bar";

    // Measure: the platform's menu-bar height less one, at least the caption's width.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    for (int i = 0; i < 3; ++i) {
        TMenuItem* item = menu->Items().Items(i);
        std::wstring text = Widen(item->Caption());
        std::erase(text, L'&');
        SIZE size{};
        GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
        int width = 0, height = 0;
        {
            TCanvas canvas(screen);
            item->MeasureItem(canvas, width, height);
        }
        EXPECT_EQ(height, lineHeight) << item->Caption();
        EXPECT_GE(width, size.cx) << item->Caption();
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);

    // OnDrawItem gets each item's own bitmap: a red mark in its corner lands on the line.
    std::vector<std::pair<std::string, TsMenuItemType>> drawn;
    auto& menus = dynamic_cast<TsSkinableMenus&>(rig->Manager->SkinableMenus());
    menus.OnDrawItem = [&](TMenuItem* item, TCanvas& canvas, const RECT&, TOwnerDrawState, TsMenuItemType type) {
        drawn.push_back({item->Caption(), type});
        canvas.Brush().SetColor(0x0000FF);
        canvas.FillRect(RECT{0, 0, 3, 3});
    };
    p.RepaintNonClient();
    Application().ProcessMessages();
    const std::vector<std::pair<std::string, TsMenuItemType>> expectedDrawn = {
        {"&File", TsMenuItemType::smTopLine}, {"&Edit", TsMenuItemType::smTopLine}, {"Locked", TsMenuItemType::smTopLine}};
    EXPECT_EQ(drawn, expectedDrawn);

    // The line: the form's background (the internal skin's menu line and items
    // are transparent), the captions black over it, the locked one blended.
    const RECT w = rig->WindowRect();
    TBitmap24 form(w.right - w.left, w.bottom - w.top);
    PaintItemBackground(p.SkinData().SkinIndex, TParentBackground{}, clNone, -1, -1, &rig->Tables(), form, {0, 0},
                        {0, 0, form.Width(), form.Height()}, 1);
    const int top = p.FrameHeight() + p.CaptionHeight();
    int right = 0;
    for (int i = 0; i < 3; ++i) {
        RECT r{};
        GetMenuItemRect(rig->Handle(), menu->Handle(), static_cast<UINT>(i), &r);
        OffsetRect(&r, -w.left, -w.top);
        right = std::max<int>(right, r.right);
        int black = 0, other = 0;
        for (int y = top; y < top + lineHeight; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF shown = rig->Pixel(x, y);
                if (x < r.left + 3 && y < top + 3) continue;   // the mark
                black += shown == RGB(0, 0, 0);
                other += shown != RGB(0, 0, 0) && shown != form.Pixel(x, y);
            }
        SCOPED_TRACE(menu->Items().Items(i)->Caption());
        const COLORREF mark = rig->Pixel(r.left + 1, top + 1);
        if (i < 2) {
            EXPECT_EQ(mark, RGB(255, 0, 0));
            EXPECT_GT(black, 10) << "the caption";
        } else {
            EXPECT_GT(GetRValue(mark), GetGValue(mark)) << "the mark, blended";
            EXPECT_NE(mark, RGB(255, 0, 0));
            EXPECT_EQ(black, 0) << "blended with the line";
            EXPECT_GT(other, 10) << "the blended caption";
        }
    }
    for (int x = right + 2; x < right + 40; x += 3)
        for (int y = top; y < top + lineHeight; y += 2) EXPECT_EQ(rig->Pixel(x, y), form.Pixel(x, y)) << x << "," << y;
}

TEST_F(SkinMenuBarTest, ItemsOverATransparentItemSectionShowTheMenuLineWhereTheyStand) {
    // A menu line graded from red to blue across the window (0xBBGGRR), items fully transparent.
    const std::string gradient = "255;16711680;100;1;0";
    rig->Manager->SetSkinDirectory(testing::WriteFolderSkin(
        "menubar", "Graded",
        {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256", "HOTCOLOR=12632256", "[MENULINE]", "COLOR=65280",
         "HOTCOLOR=65280", "TRANSPARENCY=0", "HOTTRANSPARENCY=0", "GRADIENTPERCENT=100", "GRADIENTDATA=" + gradient,
         "HOTGRADIENTPERCENT=100", "HOTGRADIENTDATA=" + gradient, "FONTCOLOR=0", "HOTFONTCOLOR=0", "[MENUITEM]",
         "COLOR=65535", "HOTCOLOR=65535", "TRANSPARENCY=100", "HOTTRANSPARENCY=100", "FONTCOLOR=0"}));
    rig->Manager->SetSkinName("Graded");
    TsSkinProvider& p = *rig->Provider;
    p.RepaintNonClient();   // paints the line and its items before it returns
    Application().ProcessMessages();
    ASSERT_TRUE(p.MenuLineVisible());
    const RECT w = rig->WindowRect();
    const int top = p.FrameHeight() + p.CaptionHeight();
    const int height = p.MenuRowCount() * p.MenuHeight();
    TBitmap24 line(w.right - w.left, height);
    PaintSection(rig->Manager->SectionIndexOf("MENULINE"), TParentBackground{}, &rig->Tables(), line, {0, 0},
                 {0, 0, line.Width(), height}, 1, true);
    for (int i = 0; i < 2; ++i) {   // the enabled items: black captions over the line
        SCOPED_TRACE(menu->Items().Items(i)->Caption());
        RECT r{};
        GetMenuItemRect(rig->Handle(), menu->Handle(), static_cast<UINT>(i), &r);
        OffsetRect(&r, -w.left, -w.top);
        int background = 0, caption = 0;
        for (int y = std::max<int>(r.top, top); y < std::min<int>(r.bottom, top + height); ++y)
            for (int x = r.left; x < r.right; ++x) {
                const COLORREF shown = rig->Pixel(x, y);
                if (shown == RGB(0, 0, 0)) {
                    ++caption;
                    continue;
                }
                if (shown == static_cast<COLORREF>(line.Pixel(x, y - top))) ++background;
            }
        EXPECT_GT(caption, 10);
        // Every pixel but the caption's ink (and its smoothed edge) is the line's own at that place.
        EXPECT_GT(background, (r.right - r.left) * height * 8 / 10);
    }
}

}  // namespace
}  // namespace korvel
