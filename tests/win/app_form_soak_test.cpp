// The launcher's real main window (built from the program's resources) over a
// long run: hover cycles over the launch buttons and skin changes between the
// internal skin and Basalt leave the framework's live objects, Windows' GDI and
// USER objects and the committed memory where they were after warm-up. And the
// skinned buttons and edits still answer WM_GETTEXT with their texts.
#include "app/main_form.h"

#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/edit.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/text.h"
#include "fade_wait_support.h"
#include "gui_input_support.h"
#include "gui_test_support.h"
#include "live_counts_support.h"

using namespace korvel;
using korvel::testing::Count;
using korvel::testing::TCounts;
using korvel::testing::Pump;
using korvel::testing::SourcePath;
using korvel::testing::WaitFadesEnded;

namespace {

const char* const kLaunchButtons[] = {"rootgenbtn",  "vicinorbtn",  "invettabtn",  "idlorabtn",  "hubriftbtn",
                                      "pullvanebtn", "pushvanebtn", "memlatchbtn", "triquerybtn"};

void ExpectSameObjects(const TCounts& before, const TCounts& after, const char* what) {
    SCOPED_TRACE(what);
    korvel::testing::ExpectSameCounts(before, after);
    korvel::testing::PrintCounts(what, before, after);
}

class LauncherSoak : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        // Owned by the application, as the program's form: skin changes are announced to it.
        form = new TForm1(&Application());
        form->ShellCall = [](HWND, const std::string&, const std::string&, const std::string&) {};
        form->ExecuteDialog = [](TOpenDialog&) { return false; };
        Application().SetMainForm(form);
        form->Show();
        Application().ProcessMessages();
        WaitFadesEnded();
        Manager().SetSkinDirectory(SourcePath("skins"));
    }
    void TearDown() override {
        Application().SetMainForm(nullptr);
        delete form;
        Application().ProcessMessages();
        Application().OnException = nullptr;
    }
    TsSkinManager& Manager() { return form->Part<TsSkinManager>("sSkinManager1"); }
    void ShowPage(const char* pageButton) {
        SendMessageW(form->Part<TWinControl>(pageButton).Handle(), BM_CLICK, 0, 0);
        Application().ProcessMessages();
    }
    // One hover cycle: the mouse-enter and mouse-leave notifications the
    // framework sends when the pointer crosses the button, each handled with
    // its repaint (and fade start) before the next.
    void Hover(TsButton& button) {
        button.Perform(CM_MOUSEENTER);
        Application().ProcessMessages();
        button.Perform(CM_MOUSELEAVE);
        Application().ProcessMessages();
    }
    TForm1* form = nullptr;
};

TEST_F(LauncherSoak, TenThousandHoverCyclesOverLaunchButtonsLeaveObjectsAndMemory) {
    std::vector<TsButton*> buttons;
    for (const char* name : kLaunchButtons) buttons.push_back(&form->Part<TsButton>(name));
    const char* const pages[] = {"btnrootgen", "btnvicinor", "btninvetta"};
    auto run = [&](int cycles) {
        for (int i = 0; i < cycles; ++i) {
            // A few visible buttons on their page, and the others on hidden pages.
            if (i % 1000 == 0) ShowPage(pages[(i / 1000) % 3]);
            Hover(*buttons[static_cast<std::size_t>(i) % buttons.size()]);
            if (i % 50 == 49) WaitFadesEnded();   // running fades end and free their timers
        }
        WaitFadesEnded();
    };
    // Warm-up: every page the run shows, with each launch button hovered on it
    // (pages paint their controls, and so make their caches, when first shown).
    for (const char* page : pages) {
        ShowPage(page);
        for (TsButton* b : buttons)
            for (int i = 0; i < 20; ++i) Hover(*b);
        WaitFadesEnded();
    }
    ShowPage(pages[0]);
    run(300);
    const TCounts before = Count();
    const auto start = std::chrono::steady_clock::now();
    run(10000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TCounts after = Count();
    for (TsButton* b : buttons) {
        EXPECT_EQ(b->FadeTimer(), nullptr) << b->Name();
        EXPECT_FALSE(b->SkinData.MouseAbove) << b->Name();
    }
    ExpectSameObjects(before, after, "10,000 hover cycles");
    // A leaked fade image of one button (75 x 25) per cycle would be 56 MiB; a
    // leaked timer record per cycle about 1 MiB.
    const long long grown = static_cast<long long>(after.PrivateBytes) - static_cast<long long>(before.PrivateBytes);
    EXPECT_LT(grown, 256 * 1024) << "private bytes grew by " << grown;
    std::printf("10,000 hover cycles in %.1f s\n", seconds);
}

TEST_F(LauncherSoak, ThousandSkinChangesOfTheLauncherLeaveObjectsAndMemory) {
    for (int i = 0; i < 5; ++i) {
        Manager().SetSkinName("Basalt");
        Manager().SetSkinName("Elegant (internal)");
    }
    Application().ProcessMessages();
    WaitFadesEnded();
    const TCounts before = Count();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 500; ++i) {
        Manager().SetSkinName("Basalt");
        ASSERT_EQ(Manager().SkinName(), "Basalt");
        Manager().SetSkinName("Elegant (internal)");
        // The window repaints as it would between a user's changes.
        if (i % 25 == 0) Pump(10);
        else Application().ProcessMessages();
    }
    Application().ProcessMessages();
    WaitFadesEnded();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TCounts after = Count();
    EXPECT_EQ(Manager().SkinName(), "Elegant (internal)");
    EXPECT_TRUE(Manager().Active());
    ExpectSameObjects(before, after, "1,000 skin changes");
    // The same skin is loaded at both points; a leaked Basalt picture would be
    // several MiB, one leaked mask record per change 200 KiB.
    const long long grown = static_cast<long long>(after.PrivateBytes) - static_cast<long long>(before.PrivateBytes);
    EXPECT_LT(grown, 256 * 1024) << "private bytes grew by " << grown;
    std::printf("1,000 skin changes in %.1f s\n", seconds);
}

// The skin chosen in the system menu: the "Available skins" items' commands
// (WM_COMMAND, as the menu posts them to the window) switch between Basalt and
// the internal skin 1,000 times; every hundred switches the menu is opened for
// real (a right click on the caption) and closed with Escape, so its skinned
// popups are painted, subclassed and dropped again.
TEST_F(LauncherSoak, ThousandSkinChoicesThroughTheSystemMenuLeaveObjectsAndMemory) {
    auto& provider = form->Part<TsSkinProvider>("sSkinProvider1");
    HWND window = form->Handle();
    // The menu's skin items of this opening (the submenu is built afresh at each one).
    UINT basalt = 0, elegant = 0;
    auto open = [&] {
        RECT w{};
        GetWindowRect(window, &w);
        const POINT caption{w.left + provider.IconRect().Right + 60,
                            w.top + provider.FrameHeight() + provider.CaptionHeight() / 2};
        {
            korvel::testing::TMenuWatcher watcher([](HWND) { korvel::testing::SendChord(VK_ESCAPE); });
            korvel::testing::ClickAt(caption, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            EXPECT_TRUE(watcher.Seen()) << "the system menu opened";
        }
        Application().ProcessMessages();
        TMenuItem* skins = provider.SystemMenu()->SkinsItem();
        ASSERT_NE(skins, nullptr);
        for (int i = 0; i < skins->Count(); ++i) {
            const std::string name = TsSystemMenu::SkinNameOfCaption(skins->Items(i)->Caption());
            if (name == "Basalt") basalt = skins->Items(i)->Command();
            if (name == "Elegant (internal)") elegant = skins->Items(i)->Command();
        }
        ASSERT_NE(basalt, 0u);
        ASSERT_NE(elegant, 0u);
    };
    auto choose = [&](UINT command) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0); };
    auto run = [&](int pairs) {
        for (int i = 0; i < pairs; ++i) {
            if (i % 50 == 0) open();
            choose(basalt);
            ASSERT_EQ(Manager().SkinName(), "Basalt");
            choose(elegant);
            if (i % 25 == 0) Pump(10);
            else Application().ProcessMessages();
        }
        Application().ProcessMessages();
        WaitFadesEnded();
    };
    run(5);
    const TCounts before = Count();
    const int menusBefore = GdiCounters().Menus, itemsBefore = LiveMenuItems();
    const auto start = std::chrono::steady_clock::now();
    run(500);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TCounts after = Count();
    EXPECT_EQ(Manager().SkinName(), "Elegant (internal)");
    ExpectSameObjects(before, after, "1,000 skin choices through the system menu");
    EXPECT_EQ(GdiCounters().Menus, menusBefore);
    EXPECT_EQ(LiveMenuItems(), itemsBefore);
    const long long grown = static_cast<long long>(after.PrivateBytes) - static_cast<long long>(before.PrivateBytes);
    EXPECT_LT(grown, 256 * 1024) << "private bytes grew by " << grown;
    std::printf("1,000 skin choices through the system menu in %.1f s\n", seconds);
}

// Every skinned button and edit answers WM_GETTEXT, what assistive technology
// reads first, with its caption or text. (Wine's oleacc gives no IAccessible
// object even for the standard Button and Edit classes: no accessibility
// object can be checked here.)
TEST_F(LauncherSoak, SkinnedButtonsAndEditsAnswerWmGetText) {
    int buttons = 0, edits = 0;
    std::vector<TControl*> all;
    std::function<void(TWinControl*)> collect = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            all.push_back(parent->Controls(i));
            if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i))) collect(w);
        }
    };
    collect(form);
    for (TControl* c : all) {
        auto* button = dynamic_cast<TsButton*>(c);
        auto* edit = dynamic_cast<TsEdit*>(c);
        if (!button && !edit) continue;
        auto* window = dynamic_cast<TWinControl*>(c);
        window->HandleNeeded();
        const std::string expected = button ? button->Caption() : edit->Text();
        wchar_t text[512] = {};
        const LRESULT length = SendMessageW(window->Handle(), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(Narrow(std::wstring(text, static_cast<std::size_t>(length))), expected) << c->Name();
        (button ? buttons : edits)++;
    }
    EXPECT_GT(buttons, 30);
    EXPECT_GT(edits, 30);
}

}  // namespace
