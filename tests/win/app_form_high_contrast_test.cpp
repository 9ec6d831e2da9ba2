// The launcher's main window under the system's high-contrast mode: the skin
// steps aside for the system's look and colours, and comes back to the exact
// skinned pixels when the mode ends, with every field and the page kept.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/high_contrast.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui_test_support.h"

using namespace korvel;
using korvel::testing::PumpUntil;
using korvel::testing::ScreenPixel;

namespace {

// Switches the mode for the whole system as a user does, and always off again.
// Where the system refuses to switch it (Wine keeps it off), the test answers
// for the system and broadcasts the change as Windows would.
class THighContrastSwitch {
public:
    THighContrastSwitch() = default;
    THighContrastSwitch(const THighContrastSwitch&) = delete;
    THighContrastSwitch& operator=(const THighContrastSwitch&) = delete;
    ~THighContrastSwitch() { Set(false); }

    void Set(bool on) {
        if (on == on_) return;
        on_ = on;
        HIGHCONTRASTW state{};
        state.cbSize = sizeof(state);
        state.dwFlags = on ? HCF_HIGHCONTRASTON : 0;
        if (!systemSwitched_ && on &&
            SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(state), &state, SPIF_SENDCHANGE)) {
            systemSwitched_ = true;
            return;
        }
        if (systemSwitched_) {
            SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(state), &state, SPIF_SENDCHANGE);
            if (!on) systemSwitched_ = false;
            return;
        }
        SetHighContrastQuery(on ? std::function<bool()>([] { return true; }) : std::function<bool()>());
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST,
                            reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000, &result);
    }

private:
    bool on_ = false;
    bool systemSwitched_ = false;
};

// The window's pixels on the screen, row by row, copied in one block (as 0x00RRGGBB).
std::vector<COLORREF> WindowPicture(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// How many pixels differ (the pictures have the same size).
std::size_t Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
}

class LauncherHighContrastTest : public ::testing::Test {
protected:
    void SetUp() override { Open(); }
    void TearDown() override { Close(); }
    void Open() {
        form = new TForm1(nullptr);
        form->ShellCall = [](HWND, const std::string&, const std::string&, const std::string&) {};
        Application().SetMainForm(form);
        form->Show();
        korvel::testing::BringToFront(form->Handle());
    }
    void Close() {
        Application().SetMainForm(nullptr);
        delete form;
        form = nullptr;
        Application().ProcessMessages();
    }
    TsSkinManager& Manager() { return form->Part<TsSkinManager>("sSkinManager1"); }
    TsSkinProvider& Provider() { return form->Part<TsSkinProvider>("sSkinProvider1"); }
    void Press(const std::string& name) {
        SendMessageW(form->Part<TWinControl>(name).Handle(), BM_CLICK, 0, 0);
        Application().ProcessMessages();
    }
    // A point of the page with no child over it, on the screen.
    COLORREF PagePixel(const std::string& page) {
        auto& panel = form->Part<TWinControl>(page);
        POINT p{panel.Width() - 12, panel.Height() - 12};
        ClientToScreen(panel.Handle(), &p);
        return ScreenPixel(p.x, p.y);
    }
    // Waits until the window's picture stops changing (bounded), then returns it.
    std::vector<COLORREF> SettledPicture() {
        std::vector<COLORREF> last = WindowPicture(form->Handle());
        korvel::testing::PumpWhileNot([&] {
            korvel::testing::Pump(60);
            std::vector<COLORREF> now = WindowPicture(form->Handle());
            const bool same = now == last;
            last = std::move(now);
            return same;
        });
        return last;
    }
    bool HasRegion() {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const bool has = GetWindowRgn(form->Handle(), region) != ERROR;
        DeleteObject(region);
        return has;
    }
    bool ShowsSystemLook(const std::string& page) {
        return !Provider().SkinData().IsSkinned(false) && !HasRegion() &&
               PagePixel(page) == GetSysColor(COLOR_BTNFACE);
    }

    TForm1* form = nullptr;
    THighContrastSwitch highContrast;
};

TEST_F(LauncherHighContrastTest, PagesAndFrameTakeTheSystemLookAndComeBackWithNothingLost) {
    const std::string page = "pnlidlora";
    Press("btnidlora");
    form->Part<TControl>("idloraconfig").SetText("c:\\sites\\north.cfg");
    form->Part<TControl>("hubriftvlan").SetText("7");
    ASSERT_TRUE(PumpUntil([&] { return Provider().SkinData().IsSkinned(true); }, "the skinned frame"));
    const std::vector<COLORREF> skinned = SettledPicture();
    ASSERT_NE(PagePixel(page), static_cast<COLORREF>(GetSysColor(COLOR_BTNFACE)))
        << "the skin's page differs from the system's, or the check below proves nothing";

    struct TStep {
        const char* What;
        bool HighContrast;
        bool Keep;            // KeepSkinInHighContrast
        bool Skinned;         // what the window shows after the step
    };
    const TStep steps[] = {
        {"mode on", true, false, false},
        {"mode off", false, false, true},
        {"mode on, skin kept", true, true, true},
        {"mode on, skin no longer kept", true, false, false},
        {"mode off again", false, false, true},
    };
    std::vector<COLORREF> highContrastLook;
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.What);
        Manager().SetKeepSkinInHighContrast(step.Keep);
        highContrast.Set(step.HighContrast);
        if (step.Skinned) {
            ASSERT_TRUE(PumpUntil([&] { return Provider().SkinData().IsSkinned(true) && HasRegion(); }, "the skin"));
            EXPECT_EQ(Differences(SettledPicture(), skinned), 0u) << "the exact skinned pixels";
        } else {
            ASSERT_TRUE(PumpUntil([&] { return ShowsSystemLook(page); }, "the system's look"));
            highContrastLook = SettledPicture();
        }
        EXPECT_EQ(Manager().Active(), step.Skinned);
        EXPECT_EQ(Manager().SteppedAside(), !step.Skinned);
        EXPECT_EQ(Manager().SkinName(), "Elegant (internal)");
        EXPECT_EQ(form->Part<TControl>("idloraconfig").Text(), "c:\\sites\\north.cfg");
        EXPECT_EQ(form->Part<TControl>("hubriftvlan").Text(), "7");
        EXPECT_TRUE(form->Part<TControl>(page).Visible());
        EXPECT_FALSE(form->Part<TControl>("pnlrootgen").Visible());
    }

    // The look under high contrast is the system's own: the window with its skin switched off.
    ASSERT_FALSE(highContrastLook.empty());
    Manager().SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return ShowsSystemLook(page); }, "the unskinned look"));
    EXPECT_EQ(Differences(SettledPicture(), highContrastLook), 0u);
    Manager().SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return Provider().SkinData().IsSkinned(true) && HasRegion(); }, "the skin"));
    EXPECT_EQ(Differences(SettledPicture(), skinned), 0u);
}

// A program started while the mode is on never shows its skin until the mode
// ends; a program that switches its skin off meanwhile keeps it off.
TEST_F(LauncherHighContrastTest, StartsInTheSystemLookAndTheProgramsOwnSwitchWins) {
    struct TCase {
        const char* What;
        bool SwitchedOff;     // the program sets Active false while the mode is on
        bool SkinnedAfter;    // when the mode has ended
    };
    const TCase cases[] = {{"the mode ends", false, true}, {"the program switched the skin off", true, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Close();
        highContrast.Set(true);
        Open();
        ASSERT_TRUE(PumpUntil([&] { return ShowsSystemLook("pnlrootgen"); }, "the system's look from the start"));
        EXPECT_FALSE(Manager().Active());
        EXPECT_TRUE(Manager().SteppedAside());
        EXPECT_TRUE(Manager().Tables().Sections.empty()) << "no skin is loaded for nothing";
        if (c.SwitchedOff) Manager().SetActive(false);
        highContrast.Set(false);
        EXPECT_EQ(Manager().Active(), c.SkinnedAfter);
        EXPECT_FALSE(Manager().SteppedAside());
        if (c.SkinnedAfter) {
            EXPECT_TRUE(PumpUntil([&] { return Provider().SkinData().IsSkinned(true) && HasRegion(); }, "the skin"));
            EXPECT_EQ(Manager().SkinInfo(), "4.33");
        } else {
            korvel::testing::Pump(korvel::testing::NothingHappensMillis);
            EXPECT_TRUE(ShowsSystemLook("pnlrootgen"));
        }
    }
}

// A definition read while the mode is on loads no skin unless it keeps its
// skin, wherever the keeping stands among the manager's properties; the live
// reload setting is read as well and watches nothing while no folder is shown.
TEST(HighContrastDefinition, AManagerReadWhileTheModeIsOnLoadsOnlyASkinItKeeps) {
    RegisterSkinManagerClass();
    const std::string skin =
        "    InternalSkins = <\n"
        "      item\n"
        "        Data = resource 'ELEGANT_INI'\n"
        "        MasterBitmap = resource 'ELEGANT_MASTER'\n"
        "      end\n"
        "    >\n"
        "    SkinDirectory = 'Z:\\nonexistent'\n"
        "    SkinName = 'Elegant (internal)'\n";
    const std::string keep = "    KeepSkinInHighContrast = True\n";
    const std::string live = "    LiveReload = True\n";
    struct TCase {
        const char* What;
        std::string Properties;
        bool Keeps;
    };
    const TCase cases[] = {
        {"no keeping", skin + live, false},
        {"kept after the name", skin + keep + live, true},
        {"kept before the name", keep + live + skin, true},
    };
    THighContrastSwitch highContrast;
    highContrast.Set(true);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        auto* form = new TForm(&Application());
        form->ReadDefinition("object Form1: TForm\n  object sSkinManager1: TsSkinManager\n" + c.Properties +
                             "  end\nend\n");
        auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
        ASSERT_NE(manager, nullptr);
        EXPECT_EQ(manager->KeepSkinInHighContrast(), c.Keeps);
        EXPECT_TRUE(manager->LiveReload());
        EXPECT_EQ(manager->WatchedFolder(), "") << "an internal skin is not watched";
        EXPECT_EQ(manager->Active(), c.Keeps);
        EXPECT_EQ(manager->SteppedAside(), !c.Keeps);
        EXPECT_EQ(manager->SkinInfo(), c.Keeps ? "4.33" : "N/A");
        EXPECT_EQ(manager->SkinData().Active, c.Keeps);
        // Switching the keeping off under the mode steps aside at once.
        manager->SetKeepSkinInHighContrast(false);
        EXPECT_FALSE(manager->Active());
        EXPECT_TRUE(manager->SteppedAside());
        delete form;
    }
}

}  // namespace
