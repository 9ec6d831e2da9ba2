// The skinned system menu: opened with the real mouse on the caption or the
// title icon, read from the real Win32 menu while it is shown, for border
// styles, icons and window states that show and enable different commands;
// each command clicked with the real mouse; real keys switch the skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

#include "form_test_support.h"
#include "gui/text_convert.h"
#include "gui_input_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::kElegant;
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
    // Opens the menu with a real click (or, with no point, through the provider as
    // its icon or caption would), reads it, then clicks the item whose text is
    // choose (when given) and types keys (Escape when there is neither).
    TShown Open(std::optional<POINT> at, bool right, std::vector<WORD> typed = {}, const std::string& choose = "") {
        TShown shown;
        HMENU menu = P().SystemMenu()->Handle();
        if (typed.empty() && choose.empty()) typed.push_back(VK_ESCAPE);
        {
            TMenuWatcher watcher([&](HWND) {
                shown.Top = Entries(menu);
                if (HMENU skins = GetSubMenu(menu, 0)) shown.Skins = Entries(skins);
                for (std::size_t i = 0; i < shown.Top.size(); ++i) {
                    RECT item{};
                    if (shown.Top[i].Text != choose || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item))
                        continue;
                    SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
                    Sleep(100);
                    testing::SendMouseButton(MOUSEEVENTF_LEFTDOWN);
                    testing::SendMouseButton(MOUSEEVENTF_LEFTUP);
                    Sleep(500);   // the command runs, a move or size loop starts
                }
                for (WORD key : typed) {
                    SendChord(key);
                    Sleep(150);
                }
            });
            if (!at) P().DropSystemMenu(200, 200);
            else if (right) testing::ClickAt(*at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            else testing::ClickAt(*at);
            // The watcher waits up to 5 s for the menu, then acts and closes it (at most 3 s more).
            testing::PumpUntil([&] { return watcher.Done(); }, "the menu watcher to finish", 10000);
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

// The skins on offer: the stored skin and every folder of the skin directory
// that holds an options file, sorted without regard to case.
std::vector<TEntry> SkinEntries(const std::string& current) {
    std::vector<std::string> names = {kElegant};
    for (const auto& entry : std::filesystem::directory_iterator(testing::SourcePath("skins"))) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && name[0] != '.' && std::filesystem::exists(entry.path() / "Options.dat"))
            names.push_back(name);
    }
    auto lower = [](std::string t) {
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    std::vector<TEntry> entries;
    for (const std::string& name : names) entries.push_back({name, false, current == name, true, false});
    return entries;
}

TEST_F(FormSystemMenuTest, ItemsFollowTheRulesAndTheSkinsSubmenuIsBuiltOncePerOpening) {
    // The launcher's window: single border, [biSystemMenu, biMinimize], normal state.
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

TEST_F(FormSystemMenuTest, CommandsShowAndWorkByBorderStyleIconsAndState) {
    using BS = TFormBorderStyle;
    using WS = TWindowState;
    // Each command (Restore, Move, Size, Minimize, Maximize, Close) enabled ('E'),
    // grayed ('G') or hidden ('-'), and the command then clicked and its effect.
    // The launcher's own window is the application's main form: its Minimize
    // minimises the application.
    enum TEffect { Maximised, Minimised, Restored, Hidden, MovedRight, Widened };
    const TBorderIcons all = biSystemMenu | biMinimize | biMaximize, sysMax = biSystemMenu | biMaximize;
    struct Case {
        const char* what;
        BS style;
        TBorderIcons icons;
        bool mainForm;
        WS state;
        const char* commands;
        const char* click;
        TEffect effect;
    } cases[] = {
        // Sizeable shows Minimize without biMinimize, grayed.
        {"sizeable without minimise", BS::bsSizeable, sysMax, false, WS::wsNormal, "GEEGEE", "Maximize", Maximised},
        {"sizeable without minimise", BS::bsSizeable, sysMax, false, WS::wsNormal, "GEEGEE", "Size", Widened},
        {"dialog", BS::bsDialog, all, false, WS::wsNormal, "-E---E", "Close\tAlt+F4", Hidden},
        {"tool window", BS::bsToolWindow, all, false, WS::wsNormal, "-E---E", "Move", MovedRight},
        {"sizeable tool window", BS::bsSizeToolWin, all, false, WS::wsNormal, "-EE--E", "Size", Widened},
        // Minimised: Minimize and Maximize show whatever the style and icons; Size and Minimize cannot act.
        {"minimised", BS::bsSingle, biSystemMenu | biMinimize, true, WS::wsMinimized, "EEGGGE", "Restore", Restored},
        {"minimised sizeable", BS::bsSizeable, all, true, WS::wsMinimized, "EEGGEE", "Maximize", Maximised},
        {"maximisable", BS::bsSingle, all, true, WS::wsNormal, "GEGEEE", "Minimize", Minimised},
        {"maximised", BS::bsSizeable, all, false, WS::wsMaximized, "EGEEGE", "Restore", Restored},
    };
    const char* names[] = {"Restore", "Move", "Size", "Minimize", "Maximize", "Close\tAlt+F4"};
    for (const Case& c : cases) {
        testing::TFormSetup setup;
        setup.BorderStyle = c.style;
        setup.ProviderIcons = setup.FormIcons = c.icons;
        Application().SetMainForm(nullptr);
        rig.reset();   // one skin manager at a time
        rig = std::make_unique<TSkinnedFormRig>(setup);
        if (c.mainForm) Application().SetMainForm(rig->Form);
        rig->Manager->SetSkinDirectory(testing::SourcePath("skins"));
        rig->Show();
        if (c.state != WS::wsNormal) {   // as the user gets there: with the menu's own command
            Open(CaptionPoint(), true, {}, c.state == WS::wsMaximized ? "Maximize" : "Minimize");
            if (rig->Form->WindowState() != c.state) {
                ADD_FAILURE() << c.what << ": the menu did not change the state";
                continue;
            }
        }
        std::vector<TEntry> expected = {{"Available skins", false, false, false, true}, {"-"}};
        for (int i = 0; i < 6; ++i) {
            if (i == 5) expected.push_back({"-"});
            if (c.commands[i] != '-') expected.push_back({names[i], c.commands[i] == 'G'});
        }
        const RECT before = rig->WindowRect();
        const bool byProvider = c.state == WS::wsMinimized;   // no caption on the screen to click
        // A move or size loop started from the menu is driven by keys: an arrow picks the edge or
        // starts the move, the next moves it, Return ends it.
        const std::vector<WORD> keys = c.effect == MovedRight || c.effect == Widened
                                           ? std::vector<WORD>{VK_RIGHT, VK_RIGHT, VK_RETURN}
                                           : std::vector<WORD>{};
        const TShown shown =
            Open(byProvider ? std::nullopt : std::optional<POINT>(CaptionPoint()), true, keys, c.click);
        EXPECT_EQ(shown.Top, expected) << c.what;
        const RECT after = rig->WindowRect();
        const HWND h = rig->Handle();
        switch (c.effect) {
        case Maximised: EXPECT_TRUE(IsZoomed(h)) << c.what; break;
        case Minimised: EXPECT_TRUE(IsIconic(h)) << c.what; break;
        case Restored: EXPECT_TRUE(!IsIconic(h) && !IsZoomed(h) && IsWindowVisible(h)) << c.what; break;
        case Hidden: EXPECT_FALSE(IsWindowVisible(h)) << c.what; break;
        case MovedRight:
            EXPECT_GT(after.left, before.left) << c.what;
            EXPECT_EQ(after.right - after.left, before.right - before.left) << c.what;
            break;
        case Widened:
            EXPECT_GT(after.right - after.left, before.right - before.left) << c.what;
            EXPECT_EQ(after.left, before.left) << c.what;
            break;
        }
        EXPECT_TRUE(reported.empty()) << c.what;
    }
    Application().SetMainForm(nullptr);
}

TEST_F(FormSystemMenuTest, ChoosingTheFolderSkinWithKeysSwitchesTheWindow) {
    const COLORREF elegantClient = ClientPixel(150, 80);
    // Down to "Available skins", right into it (Basalt comes first), Enter.
    Open(CaptionPoint(), true, {VK_DOWN, VK_RIGHT, VK_RETURN});
    ASSERT_TRUE(reported.empty()) << reported.front();
    EXPECT_EQ(rig->Manager->SkinName(), "Basalt");
    EXPECT_FALSE(rig->Tables().SkinData.SkinPath.empty()) << "loaded from its folder";
    const TBitmap24 expected = FormBackground();
    const int ox = P().ClientOffsetX(), oy = P().ClientOffsetY();
    const POINT points[] = {{10, 10}, {150, 80}, {280, 140}, {37, 121}};
    // On the screen once the idle pass has put the window's surface there (bounded).
    testing::PumpWhileNot([&] {
        for (POINT at : points)
            if (ClientPixel(at.x, at.y) != expected.Pixel(ox + at.x, oy + at.y)) return false;
        return true;
    });
    for (POINT at : points) {
        EXPECT_EQ(ClientPixel(at.x, at.y), expected.Pixel(ox + at.x, oy + at.y)) << at.x << "," << at.y;
    }
    EXPECT_NE(ClientPixel(150, 80), elegantClient) << "the page took the new skin";

    // The next opening marks the new skin.
    EXPECT_EQ(Open(CaptionPoint(), true).Skins, SkinEntries("Basalt"));

    // A caption carrying an accelerator mark names the skin without it.
    const std::vector<TEntry> skins = SkinEntries("Basalt");
    const auto at = std::find_if(skins.begin(), skins.end(), [](const TEntry& e) { return e.Text == kElegant; });
    TMenuItem* elegant = P().SystemMenu()->SkinsItem()->Items(static_cast<int>(at - skins.begin()));
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
