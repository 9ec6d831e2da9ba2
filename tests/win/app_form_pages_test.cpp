// The launcher as it shows on the screen in every skin of tests/data/skins.list,
// read back from the screen: its ten pages and each page with its launch button
// hovered (the client area), and the whole window with its frame active and
// inactive. Each skin's pictures come from a fresh main window built in that
// skin; then one window changes skins through its system menu, the way a user
// does, in an order that takes every ordered pair of the listed skins, and after
// each change the pages and the active frame are read again.
// Every picture is written as a 24-bit BMP into the folder named by
// KORVEL_PAGE_SHOTS (default: "page-shots" in the working folder), where
// tests/e2e/pages_e2e.sh compares it with its reference in tests/data/pages (the
// pictures after a change with the fresh window's references of the new skin).
// What needs no reference is checked here: every page looks different from the
// others, the skins look different, the inactive frame differs from the active
// one outside the client area only, and a hovered launch button changes pixels
// inside its own bounds only and leaves the page as it was when the pointer goes.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/button.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "forms/system_menu.h"
#include "gui/bitmap24.h"
#include "gui/menus.h"
#include "gui/text.h"
#include "fade_wait_support.h"
#include "gui_input_support.h"
#include "skin_list_support.h"

using namespace korvel;
using korvel::testing::ListedSkins;
using korvel::testing::MovePointer;
using korvel::testing::Pump;
using korvel::testing::PumpUntil;
using korvel::testing::SourcePath;
using korvel::testing::TListedSkin;
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
    void TearDown() override { Close(); }

    // A fresh main window in Skin: built, given the skin before its first
    // showing, shown. The window before it goes first.
    void Start(const TListedSkin& skin) {
        Close();
        // Owned by the application as the program's form is: the skin manager
        // announces a change to the application's forms.
        form = new TForm1(&Application());
        form->ShellCall = [this](HWND, const std::string&, const std::string& file, const std::string&) {
            launched.push_back(file);
        };
        form->ExecuteDialog = [](TOpenDialog&) { return false; };
        Manager().SetSkinDirectory(SourcePath("skins"));
        Manager().SetSkinName(skin.Name);
        ASSERT_EQ(Manager().SkinName(), skin.Name);
        ASSERT_TRUE(Manager().Active());
        Application().SetMainForm(form);
        form->Show();
        korvel::testing::BringToFront(form->Handle());
        Park();
    }
    void Close() {
        if (!form) return;
        Application().SetMainForm(nullptr);
        delete form;
        form = nullptr;
        Application().ProcessMessages();   // what the window's end posted
    }

    TsSkinManager& Manager() { return form->Part<TsSkinManager>("sSkinManager1"); }
    TsSkinProvider& Provider() { return form->Part<TsSkinProvider>("sSkinProvider1"); }
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
    // Chooses the skin in the system menu as a user does: a right click on the
    // caption, Down to "Available skins", Right into it, Down to the skin, Enter.
    void ChooseInSystemMenu(const std::string& name) {
        std::vector<std::string> listed;
        Manager().ListSkins(listed);   // the submenu lists them in this order
        const auto at = std::find(listed.begin(), listed.end(), name);
        ASSERT_NE(at, listed.end()) << name << " is not among the skins found";
        const int downs = static_cast<int>(at - listed.begin());
        RECT w{};
        GetWindowRect(form->Handle(), &w);
        const POINT caption{w.left + Provider().IconRect().Right + 60,
                            w.top + Provider().FrameHeight() + Provider().CaptionHeight() / 2};
        {
            korvel::testing::TMenuWatcher watcher([downs](HWND) {
                std::vector<WORD> keys{VK_DOWN, VK_RIGHT};
                keys.insert(keys.end(), static_cast<std::size_t>(downs), VK_DOWN);
                keys.push_back(VK_RETURN);
                for (WORD key : keys) {
                    korvel::testing::SendChord(key);
                    Sleep(150);
                }
            });
            korvel::testing::ClickAt(caption, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            korvel::testing::PumpWhileNot([&] { return Manager().SkinName() == name; });
            ASSERT_TRUE(watcher.Seen()) << "the system menu did not open";
        }
        Application().ProcessMessages();
        ASSERT_EQ(Manager().SkinName(), name) << "the system menu's choice did not change the skin";
        // Every paint the change left pending.
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
        ASSERT_TRUE(W(std::string("pnl") + page.Name).Visible()) << page.Name;
    }
    // A screen rectangle as the screen shows it.
    static TBitmap24 ScreenArea(POINT origin, int width, int height) {
        TBitmap24 shot(width, height, TRowOrder::TopDown);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(shot.Handle()));
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return shot;
    }
    // The client area as the screen shows it.
    TBitmap24 Capture() {
        RECT client;
        GetClientRect(form->Handle(), &client);
        POINT origin{0, 0};
        ClientToScreen(form->Handle(), &origin);
        return ScreenArea(origin, client.right, client.bottom);
    }
    // The whole window, frame included (the corners its shape leaves out show
    // the screen's black root).
    TBitmap24 CaptureWindow() {
        RECT w{};
        GetWindowRect(form->Handle(), &w);
        return ScreenArea({w.left, w.top}, w.right - w.left, w.bottom - w.top);
    }
    // The client-relative bounds of a control.
    RECT BoundsOf(const std::string& name) {
        RECT r;
        GetWindowRect(W(name).Handle(), &r);
        MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // The client area's place in the window's picture.
    RECT ClientInWindow() {
        RECT w{}, client{};
        GetWindowRect(form->Handle(), &w);
        GetClientRect(form->Handle(), &client);
        POINT origin{0, 0};
        ClientToScreen(form->Handle(), &origin);
        return {origin.x - w.left, origin.y - w.top, origin.x - w.left + client.right, origin.y - w.top + client.bottom};
    }
    void Write(const std::string& name, const TBitmap24& shot) {
        EXPECT_TRUE(WriteBmp(ShotFolder() + name + ".bmp", shot)) << ShotFolder() << name;
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

bool Inside(const RECT& box, const RECT& bounds) {
    return box.left >= bounds.left && box.top >= bounds.top && box.right <= bounds.right && box.bottom <= bounds.bottom;
}

// A plain window of this process that takes the focus, away from the launcher
// in the screen's lower right corner, while it lives.
class TOtherWindow {
public:
    TOtherWindow() {
        const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        handle_ = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, sw - 120, sh - 120, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        korvel::testing::BringToFront(handle_);
    }
    ~TOtherWindow() { DestroyWindow(handle_); }
    HWND Handle() const { return handle_; }

private:
    HWND handle_ = nullptr;
};

TEST(LauncherPagesOrder, TheChainOfSkinChangesTakesEveryOrderedPairOnce) {
    for (int count = 2; count <= 6; ++count) {
        SCOPED_TRACE(count);
        const std::vector<int> chain = korvel::testing::EveryOrderedPairChain(count);
        std::set<std::pair<int, int>> pairs;
        for (std::size_t i = 1; i < chain.size(); ++i) {
            EXPECT_NE(chain[i - 1], chain[i]);
            EXPECT_TRUE(pairs.insert({chain[i - 1], chain[i]}).second) << chain[i - 1] << ">" << chain[i] << " twice";
        }
        EXPECT_EQ(pairs.size(), static_cast<std::size_t>(count * (count - 1)));
        EXPECT_EQ(chain.front(), 0);
        EXPECT_EQ(chain.back(), 0);
    }
}

TEST_F(LauncherPages, EveryPageAndTheFrameInEverySkinFromAFreshStart) {
    const std::vector<TListedSkin> skins = ListedSkins();
    std::map<std::string, std::vector<TBitmap24>> shots;
    for (const TListedSkin& skin : skins) {
        SCOPED_TRACE(skin.Name);
        Start(skin);
        if (HasFatalFailure()) return;
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

        // The frame, active, then inactive while another window has the focus:
        // the two differ in the frame only.
        ASSERT_TRUE(Provider().FormActive);
        const TBitmap24 active = CaptureWindow();
        {
            TOtherWindow other;
            PumpUntil([&] { return !Provider().FormActive; }, "the launcher to become inactive");
            WaitFadesEnded();
            Pump(100);
            const TBitmap24 inactive = CaptureWindow();
            const TDifference d = Compare(active, inactive);
            EXPECT_GT(d.Count, 0) << "the inactive frame looks like the active one";
            const RECT inClient = ClientInWindow();
            int insideClient = 0;
            for (int y = inClient.top; y < inClient.bottom; ++y)
                for (int x = inClient.left; x < inClient.right; ++x) insideClient += active.Pixel(x, y) != inactive.Pixel(x, y);
            EXPECT_EQ(insideClient, 0) << "the client area changes with the frame's activation";
            Write(skin.Prefix + "-frame-inactive", inactive);
        }
        korvel::testing::BringToFront(form->Handle());
        PumpUntil([&] { return Provider().FormActive; }, "the launcher to become active again");
        Park();
        EXPECT_EQ(Compare(active, CaptureWindow()).Count, 0) << "the active frame comes back as it was";
        Write(skin.Prefix + "-frame-active", active);

        for (const TPage& page : kPages) {
            ShowPage(page);
            TBitmap24 shot = Capture();
            // Painted everywhere: no row shows only the screen's black root.
            for (int y = 0; y < shot.Height(); ++y) {
                bool painted = false;
                for (int x = 0; x < shot.Width() && !painted; ++x) painted = shot.Pixel(x, y) != 0;
                EXPECT_TRUE(painted) << page.Name << ": row " << y << " is unpainted";
            }
            Write(skin.Prefix + "-" + page.Name, shot);
            shots[skin.Name].push_back(std::move(shot));
        }
        // Every page differs from every other page of its skin inside the two pages' panels.
        const std::vector<TBitmap24>& pages = shots[skin.Name];
        for (std::size_t i = 0; i < pages.size(); ++i)
            for (std::size_t j = i + 1; j < pages.size(); ++j) {
                const TDifference d = Compare(pages[i], pages[j]);
                EXPECT_GT(d.Count, 0) << kPages[i].Name << " and " << kPages[j].Name;
                // Inside the two pages' panels (some pages start at x 95).
                const RECT a = BoundsOf(std::string("pnl") + kPages[i].Name);
                const RECT b = BoundsOf(std::string("pnl") + kPages[j].Name);
                const RECT panels{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                                  std::max(a.bottom, b.bottom)};
                if (d.Count) {
                    EXPECT_TRUE(Inside(d.Box, panels)) << kPages[i].Name << " " << kPages[j].Name;
                }
            }
    }
    // Each page differs between any two skins.
    for (std::size_t a = 0; a < skins.size(); ++a)
        for (std::size_t b = a + 1; b < skins.size(); ++b)
            for (std::size_t i = 0; i < std::size(kPages); ++i)
                EXPECT_GT(Compare(shots[skins[a].Name][i], shots[skins[b].Name][i]).Count, 10000)
                    << skins[a].Name << " and " << skins[b].Name << ": " << kPages[i].Name;
    EXPECT_EQ(launched, std::vector<std::string>{}) << "page switching launches nothing";
}

TEST_F(LauncherPages, EveryHoveredLaunchButtonInEverySkinChangesOnlyItsOwnBounds) {
    for (const TListedSkin& skin : ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        Start(skin);
        if (HasFatalFailure()) return;
        for (const TPage& page : kPages) {
            if (!page.Launch) continue;
            SCOPED_TRACE(page.Name);
            ShowPage(page);
            const TBitmap24 before = Capture();
            const RECT bounds = BoundsOf(page.Launch);
            POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
            ClientToScreen(form->Handle(), &centre);
            MovePointer(centre);
            auto& launch = form->Part<TsButton>(page.Launch);
            PumpUntil([&] { return launch.SkinData.MouseAbove; }, "the pointer to reach the launch button");
            WaitFadesEnded();
            const TBitmap24 hovered = Capture();
            const TDifference d = Compare(before, hovered);
            EXPECT_GT(d.Count, 0) << "the hovered look differs from the resting one";
            EXPECT_TRUE(Inside(d.Box, bounds)) << "changed pixels from " << d.Box.left << "," << d.Box.top << " to "
                                               << d.Box.right << "," << d.Box.bottom;
            Write(skin.Prefix + "-" + page.Name + "-hover", hovered);
            Park();
            PumpUntil([&] { return !launch.SkinData.MouseAbove; }, "the pointer to leave the launch button");
            WaitFadesEnded();
            // The fade ends on the resting look itself, on the screen once the idle
            // pass has put the window's surface there (bounded).
            korvel::testing::PumpWhileNot([&] { return Compare(before, Capture()).Count == 0; });
            const TBitmap24 after = Capture();
            EXPECT_EQ(Compare(before, after).Count, 0) << "the resting look comes back when the pointer goes";
            if (::testing::Test::HasFailure()) {
                Write(skin.Prefix + "-" + page.Name + "-hover-before", before);
                Write(skin.Prefix + "-" + page.Name + "-hover-after", after);
            }
        }
    }
}

// One window through every ordered pair of skins, each change chosen in the
// system menu; after each, the pages and the active frame are written as
// NEW-from-OLD-PAGE.bmp and NEW-from-OLD-frame-active.bmp, which the script
// compares with the fresh window's references of the new skin.
TEST_F(LauncherPages, ASkinChangeBetweenAnyTwoSkinsLeavesTheFreshStartPictures) {
    const std::vector<TListedSkin> skins = ListedSkins();
    const std::vector<int> chain = korvel::testing::EveryOrderedPairChain(static_cast<int>(skins.size()));
    Start(skins[static_cast<std::size_t>(chain[0])]);
    if (HasFatalFailure()) return;
    for (std::size_t step = 1; step < chain.size(); ++step) {
        const TListedSkin& from = skins[static_cast<std::size_t>(chain[step - 1])];
        const TListedSkin& to = skins[static_cast<std::size_t>(chain[step])];
        SCOPED_TRACE(from.Name + " to " + to.Name);
        ChooseInSystemMenu(to.Name);
        if (HasFatalFailure()) return;
        const std::string prefix = to.Prefix + "-from-" + from.Prefix + "-";
        for (const TPage& page : kPages) {
            ShowPage(page);
            Write(prefix + page.Name, Capture());
            // The frame with the first page, which a fresh window shows.
            if (&page == &kPages[0]) Write(prefix + "frame-active", CaptureWindow());
        }
    }
    EXPECT_EQ(launched, std::vector<std::string>{}) << "skin changes launch nothing";
}

}  // namespace
