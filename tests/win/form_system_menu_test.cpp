// The skinned system menu of a form shaped like the launcher's window (single
// border, icons [biSystemMenu, biMinimize]): opened with the real mouse on the
// caption or the title icon, read from the real Win32 menu while it is shown,
// and driven with real keys to switch the skin.
#include <gtest/gtest.h>

#include "form_test_support.h"
#include "gui/text_convert.h"
#include "gui_input_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::kElegant;
using testing::Pump;
using testing::SendChord;
using testing::TMenuWatcher;
using testing::TSkinnedFormRig;

// One entry of a Win32 menu as the user sees it.
struct TEntry {
    std::string Text;   // "-" for a separator
    bool Grayed = false;
    bool Checked = false;
    bool Radio = false;
    bool Submenu = false;
    friend bool operator==(const TEntry&, const TEntry&) = default;
};

std::ostream& operator<<(std::ostream& out, const TEntry& e) {
    return out << "{" << e.Text << (e.Grayed ? " grayed" : "") << (e.Checked ? " checked" : "")
               << (e.Radio ? " radio" : "") << (e.Submenu ? " submenu" : "") << "}";
}

std::vector<TEntry> Entries(HMENU menu) {
    std::vector<TEntry> entries;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        TEntry e;
        e.Text = (info.fType & MFT_SEPARATOR) ? "-" : Narrow(text);
        e.Grayed = (info.fState & MFS_GRAYED) != 0;
        e.Checked = (info.fState & MFS_CHECKED) != 0;
        e.Radio = (info.fType & MFT_RADIOCHECK) != 0;
        e.Submenu = info.hSubMenu != nullptr;
        entries.push_back(e);
    }
    return entries;
}

// What the open menu showed, read on the watcher's thread while it was open.
struct TShown {
    std::vector<TEntry> Top;
    std::vector<TEntry> Skins;
};

class FormSystemMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [this](const std::exception& e) { reported.push_back(e.what()); };
        rig = std::make_unique<TSkinnedFormRig>();
        rig->Manager->SetSkinDirectory(testing::SourcePath("skins"));
        rig->Show();
    }
    void TearDown() override {
        rig.reset();
        Application().OnException = nullptr;
    }
    TsSkinProvider& P() { return *rig->Provider; }
    POINT CaptionPoint() { return rig->Screen(P().IconRect().Right + 60, P().FrameHeight() + P().CaptionHeight() / 2); }
    POINT IconPoint() {
        const TRect icon = P().IconRect();
        return rig->Screen((icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2);
    }
    // Opens the menu with a real click, reads it, then types Keys (Escape when none).
    TShown Open(POINT at, bool right, std::initializer_list<WORD> keys = {}) {
        TShown shown;
        HMENU menu = P().SystemMenu()->Handle();
        std::vector<WORD> typed(keys);
        if (typed.empty()) typed.push_back(VK_ESCAPE);
        {
            TMenuWatcher watcher([&](HWND) {
                shown.Top = Entries(menu);
                if (HMENU skins = GetSubMenu(menu, 0)) shown.Skins = Entries(skins);
                for (WORD key : typed) {
                    SendChord(key);
                    Sleep(150);
                }
            });
            if (right) testing::ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            else testing::ClickAt(at);
            EXPECT_TRUE(watcher.Seen()) << "a pop-up menu window showed";
        }
        Application().ProcessMessages();
        return shown;
    }
    COLORREF ClientPixel(int x, int y) { return rig->Pixel(P().ClientOffsetX() + x, P().ClientOffsetY() + y); }
    // The form section's background as the painting core paints it over the whole window.
    TBitmap24 FormBackground() {
        const RECT w = rig->WindowRect();
        TBitmap24 bitmap(w.right - w.left, w.bottom - w.top);
        PaintItemBackground(P().SkinData().SkinIndex, TParentBackground{}, clNone, -1, -1, &rig->Tables(), bitmap,
                            {0, 0}, {0, 0, bitmap.Width(), bitmap.Height()}, 1);
        return bitmap;
    }

    std::unique_ptr<TSkinnedFormRig> rig;
    std::vector<std::string> reported;
};

// The skins on offer: the stored skin and every folder of the skin directory, sorted.
std::vector<TEntry> SkinEntries(const std::string& current) {
    std::vector<TEntry> entries;
    for (const char* name : {"Basalt", kElegant}) entries.push_back({name, false, current == name, true, false});
    return entries;
}

TEST_F(FormSystemMenuTest, ItemsFollowTheRulesAndTheSkinsSubmenuIsBuiltOncePerOpening) {
    const TsSystemMenu& menu = *P().SystemMenu();
    // The rules for this window (single border, [biSystemMenu, biMinimize], normal state).
    ASSERT_TRUE(menu.VisibleRestore() && !menu.EnabledRestore());
    ASSERT_TRUE(menu.EnabledMove() && !menu.EnabledSize() && menu.EnabledMinimize() && !menu.VisibleMaximize());
    const std::vector<TEntry> expected = {
        {"Available skins", false, false, false, true},
        {"-"},
        {"Restore", true},
        {"Move"},
        {"Size", true},
        {"Minimize"},
        {"-"},
        {"Close\tAlt+F4"},
    };

    const TShown byCaption = Open(CaptionPoint(), true);
    EXPECT_EQ(byCaption.Top, expected);
    EXPECT_EQ(byCaption.Skins, SkinEntries(kElegant));

    // Again, from the title icon: the same menu, the submenu not doubled.
    const TShown byIcon = Open(IconPoint(), false);
    EXPECT_EQ(byIcon.Top, expected);
    EXPECT_EQ(byIcon.Skins, SkinEntries(kElegant));
    TsSystemMenu& items = *P().SystemMenu();
    int heads = 0;
    for (int i = 0; i < items.Items().Count(); ++i) heads += items.Items().Items(i)->Name() == "SkinSelectItem";
    EXPECT_EQ(heads, 1);
    EXPECT_TRUE(reported.empty());
}

TEST_F(FormSystemMenuTest, ChoosingTheFolderSkinWithKeysSwitchesTheWindow) {
    const COLORREF elegantClient = ClientPixel(150, 80);
    // Down to "Available skins", right into it (Basalt comes first), Enter.
    Open(CaptionPoint(), true, {VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_TRUE(reported.empty()) << reported.front();
    EXPECT_EQ(rig->Manager->SkinName(), "Basalt");
    EXPECT_FALSE(rig->Tables().SkinData.SkinPath.empty()) << "loaded from its folder";
    Pump(300);
    const TBitmap24 expected = FormBackground();
    const int ox = P().ClientOffsetX(), oy = P().ClientOffsetY();
    for (POINT at : {POINT{10, 10}, POINT{150, 80}, POINT{280, 140}, POINT{37, 121}}) {
        EXPECT_EQ(ClientPixel(at.x, at.y), expected.Pixel(ox + at.x, oy + at.y)) << at.x << "," << at.y;
    }
    EXPECT_NE(ClientPixel(150, 80), elegantClient) << "the page took the new skin";

    // The next opening marks the new skin.
    EXPECT_EQ(Open(CaptionPoint(), true).Skins, SkinEntries("Basalt"));

    // A caption carrying an accelerator mark names the skin without it.
    TMenuItem* elegant = P().SystemMenu()->SkinsItem()->Items(1);
    elegant->SetCaption("&Elegant (internal)");
    elegant->Click();
    EXPECT_EQ(rig->Manager->SkinName(), kElegant);
    const std::pair<const char*, const char*> captions[] = {
        {"&Basalt", "Basalt"}, {"Bas&alt", "Basalt"}, {"R&&B", "R&B"}, {"&&&Stone&", "&Stone"}};
    for (auto [caption, name] : captions) EXPECT_EQ(TsSystemMenu::SkinNameOfCaption(caption), name) << caption;
    EXPECT_EQ(TsSystemMenu::SkinNameOfCaption(TsSystemMenu::CaptionOfSkinName("R&B")), "R&B");
}

TEST_F(FormSystemMenuTest, ABrokenSkinFolderIsReportedAndTheWindowKeepsItsSkin) {
    // "Cracked" sorts first; its options file holds a colour that is no number.
    const std::string directory = testing::WriteFolderSkin(
        "sysmenu", "Cracked", {"[GLOBALINFO]", "VERSION=3", "SHADOW1COLOR=red", "[FORM]", "COLOR=255"});
    rig->Manager->SetSkinDirectory(directory);
    const TColor formColour = rig->Tables().Sections.at(static_cast<std::size_t>(P().SkinData().SkinIndex)).HotColor;
    const std::size_t sections = rig->Tables().Sections.size();
    ASSERT_EQ(ClientPixel(150, 80), formColour);

    const TShown shown = Open(CaptionPoint(), true, {VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_EQ(shown.Skins.size(), 2u);
    EXPECT_EQ(shown.Skins[0].Text, "Cracked");
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("'red' is not a valid integer value"), std::string::npos) << reported[0];
    EXPECT_EQ(rig->Manager->SkinName(), kElegant);
    EXPECT_EQ(rig->Manager->SkinInfo(), "4.33");
    EXPECT_EQ(rig->Tables().Sections.size(), sections);

    // Painted afresh, the window still shows its skin whole, and the menu still works.
    RedrawWindow(rig->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application().ProcessMessages();
    EXPECT_EQ(ClientPixel(150, 80), formColour);
    EXPECT_EQ(rig->Pixel(0, 0), testing::kRootColour) << "the shaped corner stays cut";
    EXPECT_EQ(Open(CaptionPoint(), true).Skins[1], (TEntry{kElegant, false, true, true, false}));
}

}  // namespace
}  // namespace korvel
