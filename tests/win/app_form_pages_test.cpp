// The launcher's ten pages as they show on the screen, in the internal skin and
// in the Basalt folder skin, read back from the screen over the client area.
// Every picture is written as a 24-bit BMP into the folder named by
// KORVEL_PAGE_SHOTS (default: "page-shots" in the working folder), where
// tests/e2e/pages_e2e.sh compares it with its reference in tests/data/pages.
// What needs no reference is checked here: every page looks different from the
// others, the two skins look different, and a hovered launch button changes
// pixels inside its own bounds only and leaves the page as it was when the
// pointer goes.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "controls/button.h"
#include "engine/skin_manager.h"
#include "gui/bitmap24.h"
#include "gui/text.h"
#include "fade_wait_support.h"
#include "gui_test_support.h"

using namespace korvel;
using korvel::testing::MovePointer;
using korvel::testing::SourcePath;
using korvel::testing::WaitFadesEnded;

namespace {

struct TPage {
    const char* Name;     // the page's name in the picture's file name
    const char* Button;   // its page button
    const char* Launch;   // its launch button, or nullptr
};

const TPage kPages[] = {
    {"rootgen", "btnrootgen", "rootgenbtn"},    {"vicinor", "btnvicinor", "vicinorbtn"},
    {"invetta", "btninvetta", "invettabtn"},    {"idlora", "btnidlora", "idlorabtn"},
    {"hubrift", "sButton1", "hubriftbtn"},      {"pullvane", "btnpullvane", "pullvanebtn"},
    {"pushvane", "btnpushvane", "pushvanebtn"}, {"memlatch", "btnmemlatch", "memlatchbtn"},
    {"triquery", "btntriquery", "triquerybtn"}, {"about", "btnabout", nullptr},
};

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A plain bottom-up 24-bit BMP of the bitmap.
bool WriteBmp(const std::string& path, const TBitmap24& bmp) {
    const auto rowBytes = static_cast<std::uint32_t>(TBitmap24::RowBytesFor(bmp.Width()));
    const std::uint32_t image = rowBytes * static_cast<std::uint32_t>(bmp.Height());
    std::vector<std::uint8_t> out = {'B', 'M'};
    for (std::uint32_t v : {54 + image, 0u, 54u, 40u, static_cast<std::uint32_t>(bmp.Width()),
                            static_cast<std::uint32_t>(bmp.Height()), 1u | (24u << 16), 0u, image, 0u, 0u, 0u, 0u})
        Put32(out, v);
    for (int y = bmp.Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = bmp.ScanLine(y);
        out.insert(out.end(), row, row + rowBytes);
    }
    std::ofstream f(Widen(path).c_str(), std::ios::binary);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

std::string ShotFolder() {
    const char* named = std::getenv("KORVEL_PAGE_SHOTS");
    std::string folder = named && *named ? named : "page-shots";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

class LauncherPages : public ::testing::Test {
protected:
    void SetUp() override {
        // Owned by the application as the program's form is: the skin manager
        // announces a change to the application's forms.
        form = new TForm1(&Application());
        form->ShellCall = [this](HWND, const std::string&, const std::string& file, const std::string&) {
            launched.push_back(file);
        };
        form->ExecuteDialog = [](TOpenDialog&) { return false; };
        Application().SetMainForm(form);
        form->Show();
        korvel::testing::BringToFront(form->Handle());
        Park();
    }
    void TearDown() override {
        Application().SetMainForm(nullptr);
        delete form;
        Application().ProcessMessages();   // what the window's end posted
    }

    TsSkinManager& Manager() { return form->Part<TsSkinManager>("sSkinManager1"); }
    TWinControl& W(const std::string& name) { return form->Part<TWinControl>(name); }

    // The pointer off the window and the focus on the form itself, so that no
    // control shows a hover, a focus frame or a blinking caret.
    void Park() {
        RECT window;
        GetWindowRect(form->Handle(), &window);
        MovePointer({window.right + 40, window.bottom + 40});
        SetFocus(form->Handle());
        WaitFadesEnded();
    }
    void UseSkin(const char* name) {
        Manager().SetSkinDirectory(SourcePath("skins"));
        Manager().SetSkinName(name);
        ASSERT_EQ(Manager().SkinName(), name);
        // What the switch posted, then every paint still pending.
        Application().ProcessMessages();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Park();
    }
    void ShowPage(const TPage& page) {
        // A real click, as a user switches pages.
        const RECT bounds = BoundsOf(page.Button);
        POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
        ClientToScreen(form->Handle(), &centre);
        korvel::testing::ClickPointer(centre);
        Park();
    }
    // The client area as the screen shows it.
    TBitmap24 Capture() {
        RECT client;
        GetClientRect(form->Handle(), &client);
        POINT origin{0, 0};
        ClientToScreen(form->Handle(), &origin);
        TBitmap24 shot(client.right, client.bottom, TRowOrder::TopDown);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(shot.Handle()));
        BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return shot;
    }
    // The client-relative bounds of a control.
    RECT BoundsOf(const std::string& name) {
        RECT r;
        GetWindowRect(W(name).Handle(), &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    TForm1* form = nullptr;
    std::vector<std::string> launched;
};

struct TDifference {
    int Count = 0;
    RECT Box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};   // the smallest rectangle holding them
};

TDifference Compare(const TBitmap24& a, const TBitmap24& b) {
    TDifference d;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                ++d.Count;
                d.Box = {std::min<LONG>(d.Box.left, x), std::min<LONG>(d.Box.top, y),
                         std::max<LONG>(d.Box.right, x + 1), std::max<LONG>(d.Box.bottom, y + 1)};
            }
    return d;
}

TEST_F(LauncherPages, EveryPageInBothSkinsIsWrittenAndLooksItsOwn) {
    RECT client, screen;
    GetClientRect(form->Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    GetWindowRect(GetDesktopWindow(), &screen);
    ASSERT_EQ(client.right, 432);
    ASSERT_EQ(client.bottom, 334);
    ASSERT_TRUE(origin.x >= 0 && origin.y >= 0 && origin.x + client.right <= screen.right &&
                origin.y + client.bottom <= screen.bottom)
        << "the client area must lie on the screen to be read back";

    const std::string folder = ShotFolder();
    std::map<std::string, std::vector<TBitmap24>> shots;
    for (const char* skin : {"Elegant (internal)", "Basalt"}) {
        SCOPED_TRACE(skin);
        UseSkin(skin);
        const std::string prefix = std::string(skin) == "Basalt" ? "basalt-" : "elegant-";
        for (const TPage& page : kPages) {
            ShowPage(page);
            ASSERT_TRUE(W(std::string("pnl") + page.Name).Visible()) << page.Name;
            TBitmap24 shot = Capture();
            // Painted everywhere: no row shows only the screen's black root.
            for (int y = 0; y < shot.Height(); ++y) {
                bool painted = false;
                for (int x = 0; x < shot.Width() && !painted; ++x) painted = shot.Pixel(x, y) != 0;
                EXPECT_TRUE(painted) << page.Name << ": row " << y << " is unpainted";
            }
            EXPECT_TRUE(WriteBmp(folder + prefix + page.Name + ".bmp", shot)) << folder;
            shots[skin].push_back(std::move(shot));
        }
    }
    // Every page differs from every other page of its skin inside the two pages'
    // panels, and each page differs between the skins.
    for (auto& [skin, pages] : shots)
        for (std::size_t i = 0; i < pages.size(); ++i)
            for (std::size_t j = i + 1; j < pages.size(); ++j) {
                const TDifference d = Compare(pages[i], pages[j]);
                EXPECT_GT(d.Count, 0) << skin << ": " << kPages[i].Name << " and " << kPages[j].Name;
                // Inside the two pages' panels (some pages start at x 95).
                const RECT a = BoundsOf(std::string("pnl") + kPages[i].Name);
                const RECT b = BoundsOf(std::string("pnl") + kPages[j].Name);
                if (d.Count) {
                    EXPECT_GE(d.Box.left, std::min(a.left, b.left)) << kPages[i].Name << " " << kPages[j].Name;
                    EXPECT_GE(d.Box.top, std::min(a.top, b.top)) << kPages[i].Name << " " << kPages[j].Name;
                    EXPECT_LE(d.Box.right, std::max(a.right, b.right)) << kPages[i].Name << " " << kPages[j].Name;
                    EXPECT_LE(d.Box.bottom, std::max(a.bottom, b.bottom)) << kPages[i].Name << " " << kPages[j].Name;
                }
            }
    for (std::size_t i = 0; i < std::size(kPages); ++i)
        EXPECT_GT(Compare(shots["Elegant (internal)"][i], shots["Basalt"][i]).Count, 10000) << kPages[i].Name;
    EXPECT_EQ(launched, std::vector<std::string>{}) << "page switching launches nothing";
}

TEST_F(LauncherPages, HoveredLaunchButtonChangesOnlyItsOwnBounds) {
    for (const char* skin : {"Elegant (internal)", "Basalt"}) {
        SCOPED_TRACE(skin);
        UseSkin(skin);
        for (const TPage& page : {kPages[0], kPages[5], kPages[8]}) {
            SCOPED_TRACE(page.Name);
            ShowPage(page);
            const TBitmap24 before = Capture();
            const RECT bounds = BoundsOf(page.Launch);
            POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
            ClientToScreen(form->Handle(), &centre);
            MovePointer(centre);
            auto& launch = form->Part<TsButton>(page.Launch);
            korvel::testing::PumpUntil([&] { return launch.SkinData.MouseAbove; }, "the pointer to reach the launch button");
            WaitFadesEnded();
            const TBitmap24 hovered = Capture();
            const TDifference d = Compare(before, hovered);
            EXPECT_GT(d.Count, 0) << "the hovered look differs from the resting one";
            EXPECT_GE(d.Box.left, bounds.left);
            EXPECT_GE(d.Box.top, bounds.top);
            EXPECT_LE(d.Box.right, bounds.right);
            EXPECT_LE(d.Box.bottom, bounds.bottom);
            Park();
            korvel::testing::PumpUntil([&] { return !launch.SkinData.MouseAbove; }, "the pointer to leave the launch button");
            WaitFadesEnded();
            // The fade ends on the resting look itself, on the screen once the idle
            // pass has put the window's surface there (bounded).
            korvel::testing::PumpWhileNot([&] { return Compare(before, Capture()).Count == 0; });
            const TBitmap24 after = Capture();
            EXPECT_EQ(Compare(before, after).Count, 0) << "the resting look comes back when the pointer goes";
            if (::testing::Test::HasFailure()) {
                const std::string name = ShotFolder() + (skin[0] == 'B' ? "basalt-" : "elegant-") + page.Name;
                WriteBmp(name + "-hover-before.bmp", before);
                WriteBmp(name + "-hover.bmp", hovered);
                WriteBmp(name + "-hover-after.bmp", after);
            }
        }
    }
}

}  // namespace
