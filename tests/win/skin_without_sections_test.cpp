// Skin folders that lack sections (tests/win/incomplete_skins_support.h): the
// controls without their sections take the system's look, the system's frame of
// a skin without FORM still offers the skins from its window menu, and a load
// reports each missing picture once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "controls/button.h"
#include "controls/check_box.h"
#include "controls/edit.h"
#include "controls/skinable_menus.h"
#include "form_test_support.h"
#include "gui/std_controls.h"
#include "gui/text_convert.h"
#include "gui_input_support.h"
#include "incomplete_skins_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::kElegant;
using testing::Pump;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

class SkinWithoutSections : public ::testing::Test {
protected:
    static void SetUpTestSuite() { directory = testing::WriteIncompleteSkins("sections"); }
    void SetUp() override {
        Application().OnException = [this](const std::exception& e) { reported.push_back(e.what()); };
    }
    void TearDown() override {
        Application().OnException = nullptr;
        EXPECT_TRUE(reported.empty()) << reported.front();
    }
    static inline std::string directory;
    std::vector<std::string> reported;
};

// The pixels of a control's rectangle on the screen.
TBitmap24 Shot(TWinControl* control) { return testing::CaptureScreen(testing::ScreenRectOf(control)); }

int DifferingPixels(const TBitmap24& a, const TBitmap24& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) differ += a.Pixel(x, y) != b.Pixel(x, y);
    return differ;
}

// A button and an edit without their sections look exactly like the system's
// own controls of the same size and text beside them, after a skin that gave
// them a shape, a picture and its own colours; the check box beside them shows
// its state (the native box paints over the form's picture, the plain one over
// its own colour, so their pixels are not compared).
TEST_F(SkinWithoutSections, ControlsWithoutTheirSectionsTakeTheSystemsLook) {
    TFormSetup setup;
    setup.ClientWidth = 320;
    setup.ClientHeight = 140;
    TSkinnedFormRig rig(setup);
    rig.Manager->SetSkinDirectory(directory);
    auto* button = testing::AddControl<TsButton>(rig.Form, 10, 10, 100, 28);
    auto* edit = testing::AddControl<TsEdit>(rig.Form, 10, 50, 130, 21);
    auto* box = testing::AddControl<TsCheckBox>(rig.Form, 10, 90, 130, 20);
    auto* plainButton = testing::AddControl<TButton>(rig.Form, 170, 10, 100, 28);
    auto* plainEdit = testing::AddControl<TEdit>(rig.Form, 170, 50, 130, 21);
    auto* plainBox = testing::AddControl<TCheckBox>(rig.Form, 170, 90, 130, 20);
    button->SetCaption("Press");
    plainButton->SetCaption("Press");
    edit->SetText("192.168.100.1");
    plainEdit->SetText("192.168.100.1");
    box->SetCaption("Step");
    plainBox->SetCaption("Step");
    box->SetChecked(true);
    plainBox->SetChecked(true);
    rig.Show();
    Pump(200);
    for (const std::string& before : {std::string("Basalt"), std::string(kElegant)}) {
        SCOPED_TRACE("after " + before);
        rig.Manager->SetSkinName(before);
        Pump(300);
        ASSERT_TRUE(button->SkinData.IsSkinned(true));
        rig.Manager->SetSkinName("Lacking controls");
        ::SetFocus(rig.Handle());   // no focus rectangle on either side
        Pump(400);
        EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true)) << "the form keeps its skinned frame";
        EXPECT_FALSE(button->SkinData.IsSkinned(false));
        const std::tuple<const char*, TWinControl*, TWinControl*> twins[] = {
            {"button", button, plainButton}, {"edit", edit, plainEdit}};
        for (const auto& [what, skinned, plain] : twins) {
            EXPECT_EQ(DifferingPixels(Shot(skinned), Shot(plain)), 0) << what;
        }
        EXPECT_EQ(edit->Color(), clWindow) << "not the previous skin's field colour";
        EXPECT_EQ(edit->Font().Color(), clWindowText);
        EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    }
}

// The menu that shows at a point, read while it is open, then a skin chosen by keys.
struct TOpened {
    bool Ours = false;
    int Count = 0;
    bool SkinsFirst = false;
};

// A skin without FORM leaves the system's frame, whose window menu (right click
// on the caption, Alt+Space) is still the one with the skins: choosing one there
// brings the skinned frame back.
TEST_F(SkinWithoutSections, SystemsFrameStillOffersTheSkinsFromItsWindowMenu) {
    TSkinnedFormRig rig;
    rig.Manager->SetSkinDirectory(directory);
    rig.Show();
    rig.Manager->SetSkinName("Lacking form");
    Pump(400);
    ASSERT_FALSE(rig.Provider->SkinData().IsSkinned(false)) << "the frame stepped aside";
    std::vector<std::string> skins;
    rig.Manager->ListSkins(skins);
    const auto place = [&](const std::string& name) {
        return static_cast<int>(std::find(skins.begin(), skins.end(), name) - skins.begin());
    };
    ASSERT_LT(place("Lacking menus"), static_cast<int>(skins.size()));

    struct TWay {
        const char* Name;
        std::function<void()> Open;
        const char* Chosen;
    };
    TITLEBARINFO title{};
    title.cbSize = sizeof(title);
    const auto caption = [&] {
        GetTitleBarInfo(rig.Handle(), &title);
        return POINT{(title.rcTitleBar.left + title.rcTitleBar.right) / 2, (title.rcTitleBar.top + title.rcTitleBar.bottom) / 2};
    };
    const TWay ways[] = {
        {"a right click on the caption", [&] { testing::ClickAt(caption(), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); },
         "Only globals"},
        {"Alt+Space", [&] {
             testing::BringToFront(rig.Handle());
             testing::SendChord(VK_SPACE, {VK_MENU});
         },
         "Lacking menus"},
    };
    for (const TWay& way : ways) {
        SCOPED_TRACE(way.Name);
        ASSERT_FALSE(rig.Provider->SkinData().IsSkinned(false));
        TOpened opened;
        {
            const HMENU ours = rig.Provider->SystemMenu()->Handle();
            testing::TMenuWatcher watcher([&](HWND window) {
                const auto shown = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
                opened.Ours = shown == ours;
                opened.Count = GetMenuItemCount(ours);
                opened.SkinsFirst = GetSubMenu(ours, 0) != nullptr;
                if (!opened.Ours) {   // the system's menu: closed (and its menu mode left), no command chosen
                    for (int i = 0; i < 2; ++i) {
                        testing::SendChord(VK_ESCAPE);
                        Sleep(150);
                    }
                    return;
                }
                testing::SendChord(VK_DOWN);
                Sleep(150);
                testing::SendChord(VK_RIGHT);
                Sleep(150);
                for (int i = 0; i < place(way.Chosen); ++i) {
                    testing::SendChord(VK_DOWN);
                    Sleep(100);
                }
                testing::SendChord(VK_RETURN);
                Sleep(300);
            });
            way.Open();
            Pump(400);
            EXPECT_TRUE(watcher.Seen()) << "a pop-up menu showed";
        }
        Application().ProcessMessages();
        EXPECT_TRUE(opened.Ours) << "the provider's window menu, not the system's";
        EXPECT_TRUE(opened.SkinsFirst) << "it starts with the skins";
        EXPECT_EQ(rig.Manager->SkinName(), way.Chosen);
        Pump(300);
        EXPECT_TRUE(IsWindowVisible(rig.Handle()));
        if (std::string(way.Chosen) == "Lacking menus") {
            EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true)) << "the skinned frame is back";
            EXPECT_EQ(rig.Pixel(0, 0), testing::kRootColour) << "its corner cut again";
        } else {
            EXPECT_FALSE(rig.Provider->SkinData().IsSkinned(false)) << way.Chosen << " has no FORM either";
        }
    }
}

// The most common colour of a pop-up menu window while it shows.
COLORREF CommonestColour(HWND menu) {
    RECT r{};
    GetWindowRect(menu, &r);
    const TBitmap24 shot = testing::CaptureScreen(r);
    std::map<COLORREF, int> counts;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) ++counts[shot.Pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
}

// A skin without MAINMENU and MENUITEM (what pop-up menus are painted from)
// leaves the window menu the system's look, readable; a skin with them paints it again.
TEST_F(SkinWithoutSections, PopupMenusWithoutTheirSectionsTakeTheSystemsLook) {
    InstallSkinableMenus();   // before the manager is made
    TSkinnedFormRig rig;
    rig.Manager->SetSkinDirectory(directory);
    rig.Show();
    const struct {
        const char* Skin;
        bool SystemLook;
    } cases[] = {{"Lacking menus", true}, {"Basalt", false}, {"Lacking menus", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Skin);
        rig.Manager->SetSkinName(c.Skin);
        Pump(300);
        ASSERT_TRUE(rig.Provider->SkinData().IsSkinned(true));
        COLORREF commonest = CLR_INVALID;
        {
            testing::TMenuWatcher watcher([&](HWND menu) {
                Sleep(200);
                commonest = CommonestColour(menu);
                testing::SendChord(VK_ESCAPE);
            });
            rig.Provider->DropSystemMenu(200, 200);
            Pump(300);
            EXPECT_TRUE(watcher.Seen());
        }
        Application().ProcessMessages();
        if (c.SystemLook) {
            EXPECT_EQ(commonest, GetSysColor(COLOR_MENU)) << "the system's menu colour";
        } else {
            EXPECT_NE(commonest, GetSysColor(COLOR_MENU)) << "painted from the skin";
        }
    }
}

// A missing picture leaves out what it would have drawn (the master bitmap's
// frame corners: the corner stays the window's), and the load reports each
// missing file once, however many keys name it; the next load reports them again.
TEST_F(SkinWithoutSections, LoadReportsEachMissingPictureOnce) {
    TSkinnedFormRig rig;
    rig.Manager->SetSkinDirectory(directory);
    rig.Show();
    const testing::TIncompleteSkin& skin = testing::IncompleteSkins()[3];
    ASSERT_EQ(skin.Name, "Lacking pictures");
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        rig.Manager->SetSkinName(skin.Name);
        Pump(300);
        const std::vector<std::string>& warnings = rig.Manager->LastLoad().Warnings;
        EXPECT_EQ(warnings.size(), skin.MissingPictures.size()) << ::testing::PrintToString(warnings);
        for (const std::string& file : skin.MissingPictures) {
            const auto times = std::count_if(warnings.begin(), warnings.end(), [&](const std::string& w) {
                return UpperCase(w).find("\\" + file + ": MISSING") != std::string::npos;
            });
            EXPECT_EQ(times, 1) << file;
        }
        EXPECT_TRUE(rig.Tables().MasterBitmap.Empty());
        EXPECT_TRUE(rig.Provider->SkinData().IsSkinned(true)) << "FORM is there, its pictures are not";
        EXPECT_NE(rig.Pixel(0, 0), testing::kRootColour) << "no corner cut by a picture that is not there";
        EXPECT_TRUE(IsWindowVisible(rig.Handle()));
    }
}

}  // namespace
}  // namespace korvel
