// The skinned bars and splitter in every listed skin, driven by the real
// pointer: tool buttons click and check buttons toggle, the splitter resizes
// its neighbour by the distance dragged within MinSize, the status bar's grip
// sizes its form, and the status bar's panels, dividers, texts and grip, the
// separator and the splitter show what the painting core makes of the skin's
// values. Without an active skin the native controls keep everything; a soak
// of hovering, skin changes and new bars leaves the live counts as they were.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "controls/panel.h"
#include "controls/splitter.h"
#include "controls/status_bar.h"
#include "controls/tool_bar.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::Differences;
using testing::kFormColor;
using testing::MovePointer;
using testing::PointerButton;
using testing::TListedSkin;

constexpr int kPanelWidths[] = {90, 110};   // the third panel takes the rest
const char* const kPanelTexts[] = {"Ready", "Line 12", "Bars"};
constexpr int kLeftWidth = 120;
constexpr int kSplitterWidth = 6;
constexpr int kMinSize = 40;

// The form of the shared fixture with a tool bar (a push button, a separator, a
// check button and a disabled button), a status bar of three panels with a grip,
// and a host panel holding a left panel, the splitter and a right panel.
class BarsTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        manager->SetSkinDirectory(testing::SourcePath("skins"));
        BuildBars();
    }

    void BuildBars() {
        bar = new TsToolBar(form);
        bar->SetParent(form);
        bar->SetHeight(28);
        open = AddButton("Open", 50);
        separator = AddButton("", 0);
        separator->SetStyle(TToolButtonStyle::tbsSeparator);
        bold = AddButton("Bold", 50);
        bold->SetStyle(TToolButtonStyle::tbsCheck);
        print = AddButton("Print", 50);
        print->SetEnabled(false);
        for (TsToolButton* b : {open, bold, print}) b->OnClick = [this](TObject* sender) { clicks.push_back(sender); };

        status = new TsStatusBar(form);
        status->SetParent(form);
        status->SetHeight(22);
        status->SetPanels({{kPanelWidths[0], kPanelTexts[0]}, {kPanelWidths[1], kPanelTexts[1]}, {50, kPanelTexts[2]}});

        host = new TsPanel(form);
        host->SkinData().SetSkinSection("GRADPANEL");
        host->SetAlign(TAlign::alClient);
        host->SetParent(form);
        left = NewPanel(TAlign::alLeft, kLeftWidth);
        splitter = new TsSplitter(host);
        splitter->SetWidth(kSplitterWidth);
        splitter->SetMinSize(kMinSize);
        splitter->SetParent(host);
        right = NewPanel(TAlign::alClient, 50);
    }

    TsToolButton* AddButton(const std::string& caption, int width) {
        auto* b = new TsToolButton(bar);   // freed with the bar
        b->SetCaption(caption);
        if (width > 0) b->SetWidth(width);
        b->SetParent(bar);
        return b;
    }

    TsPanel* NewPanel(TAlign align, int width) {
        auto* p = new TsPanel(host);   // freed with the host
        p->SkinData().SetSkinSection("PANEL");
        p->SetWidth(width);
        p->SetAlign(align);
        p->SetParent(host);
        return p;
    }

    void UseSkin(const TListedSkin& skin) {
        manager->SetSkinName(skin.Name);
        ASSERT_EQ(manager->SkinName(), skin.Name);
        ASSERT_TRUE(manager->SkinData().Active);
        testing::WaitFadesEnded();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application().ProcessMessages();
    }

    // The section a tool bar takes: TOOLBAR, or PANEL in a skin without it.
    std::string BarSection() const { return SectionIndex("TOOLBAR") >= 0 ? "TOOLBAR" : "PANEL"; }
    TColor TextColorOf(const std::string& section) const {
        return ColorToRGB(static_cast<TColor>(Section(section).FontColor[fcText]));
    }

    // Each channel halfway between the face and the text colour, on column x over rows [2, height - 2).
    static void ExpectDivider(TBitmap24& face, int x, TColor text) {
        for (int y = 2; y < face.Height() - 2; ++y) {
            const std::uint32_t f = face.Pixel(x, y);
            std::uint32_t mixed = 0;
            for (int shift : {0, 8, 16})
                mixed |= ((((f >> shift) & 0xFF) + ((text >> shift) & 0xFF)) / 2) << shift;
            face.SetPixel(x, y, mixed);
        }
    }

    // The status bar as the rules place its parts: the section's face, a divider
    // at the right edge of the first two panels, each text 4 pixels inside its
    // panel (the last one stopping 4 pixels before the grip), the grip image in
    // the bottom right corner.
    TBitmap24 ExpectedStatusBar() {
        const int w = status->Width(), h = status->Height();
        TBitmap24 face = ExpectedFace("STATUSBAR", *status, {}, kFormColor, false);
        const TsSkinTables& t = Tables();
        const int gripIndex = t.MaskIndexOf(t.SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
        EXPECT_TRUE(t.IsValidMaskIndex(gripIndex));
        const TsMaskData& grip = t.Masks[static_cast<std::size_t>(gripIndex)];
        const int gw = grip.Bmp ? grip.Bmp->Width() / 3 : grip.R.Width() / std::max<int>(1, grip.ImageCount);
        const int gh = grip.Bmp ? grip.Bmp->Height() / 2 : grip.R.Height() / (grip.MaskType + 1);
        DrawSkinGlyph(face, TPoint{w - gw, h - gh}, 0, t, grip, 1);
        const int edges[] = {kPanelWidths[0], kPanelWidths[0] + kPanelWidths[1]};
        for (int edge : edges) ExpectDivider(face, edge - 1, TextColorOf("STATUSBAR"));
        const RECT texts[] = {{4, 0, edges[0] - 4, h}, {edges[0] + 4, 0, edges[1] - 4, h}, {edges[1] + 4, 0, w - gw - 4, h}};
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(face.Handle()));
        {
            TGdiTextCanvas canvas(dc, status->Font().Handle(), ColorToRGB(status->Font().Color()));
            for (int i = 0; i < 3; ++i) {
                TRect r{texts[i].left, texts[i].top, texts[i].right, texts[i].bottom};
                WriteTextEx(canvas, kPanelTexts[i], true, false, TTextSource{&t, SectionIndex("STATUSBAR"), false},
                            dtSingleLine | dtVCenter | dtNoPrefix, r);
            }
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        GdiFlush();
        return face;
    }

    TBitmap24 Crop(const TBitmap24& from, const TControl& c) {
        TBitmap24 part(c.Width(), c.Height());
        part.Fill(0);   // what lies outside from stays black, and cannot match
        for (int y = 0; y < c.Height() && c.Top() + y < from.Height(); ++y)
            for (int x = 0; x < c.Width() && c.Left() + x < from.Width(); ++x)
                part.SetPixel(x, y, from.Pixel(c.Left() + x, c.Top() + y));
        return part;
    }

    void ExpectControlPixels(const TControl& c, const TBitmap24& expected, const std::string& what,
                             const std::vector<RECT>& skip = {}) {
        testing::PumpWhileNot([&] {
            std::string ignored;
            return Differences(CaptureControl(c), expected, ignored, skip) == 0;
        });
        std::string where;
        EXPECT_EQ(Differences(CaptureControl(c), expected, where, skip), 0) << what << ":" << where;
    }

    // A real drag of the splitter's middle by dx pixels.
    void DragSplitter(int dx) {
        const POINT from = splitter->ClientToScreen({splitter->Width() / 2, splitter->Height() / 2});
        testing::PointerTo(from);
        PointerButton(true);
        testing::PointerTo({from.x + dx / 2, from.y});
        testing::PointerTo({from.x + dx, from.y});
        PointerButton(false);
        MovePointer({5, 5});
    }

    TsToolBar* bar = nullptr;
    TsToolButton* open = nullptr;
    TsToolButton* separator = nullptr;
    TsToolButton* bold = nullptr;
    TsToolButton* print = nullptr;
    TsStatusBar* status = nullptr;
    TsPanel* host = nullptr;
    TsPanel* left = nullptr;
    TsSplitter* splitter = nullptr;
    TsPanel* right = nullptr;
    std::vector<TObject*> clicks;
};

TEST_F(BarsTest, ToolButtonsLineUpAndRealClicksFireOnClickAndToggleCheckButtons) {
    ShowForm();
    // Each button follows the one before it from the bar's left edge; a separator is 8 wide.
    const int lefts[] = {0, 50, 58, 108};
    const TsToolButton* buttons[] = {open, separator, bold, print};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->Left(), lefts[i]) << i;
        EXPECT_EQ(buttons[i]->Height(), bar->ClientRect().bottom) << i;
    }
    struct Step {
        const char* what;
        TsToolButton* target;
        bool clicked;
        bool boldDown;
    };
    const Step steps[] = {
        {"push button", open, true, false},
        {"check button down", bold, true, true},
        {"separator", separator, false, true},
        {"disabled button", print, false, true},
        {"check button up", bold, true, false},
    };
    for (const Step& s : steps) {
        clicks.clear();
        testing::ClickAt(Center(s.target));
        testing::PassDoubleClickTime();
        EXPECT_EQ(clicks.size(), s.clicked ? 1u : 0u) << s.what;
        if (s.clicked && !clicks.empty()) EXPECT_EQ(clicks[0], s.target) << s.what;
        EXPECT_EQ(bold->Down(), s.boldDown) << s.what;
        // The native check state follows Down, for whoever reads the window.
        EXPECT_EQ(SendMessageW(bold->Handle(), BM_GETCHECK, 0, 0), s.boldDown ? BST_CHECKED : BST_UNCHECKED) << s.what;
    }
}

TEST_F(BarsTest, DraggingTheSplitterResizesItsNeighbourByTheDistanceWithinMinSize) {
    ShowForm();
    const int room = host->ClientRect().right - kSplitterWidth;   // left + right panel widths
    struct Drag {
        const char* what;
        int dx;
        int leftWidth;
    };
    const Drag drags[] = {
        {"right by 40", 40, kLeftWidth + 40},
        {"left by 25", -25, kLeftWidth + 15},
        {"far left", -250, kMinSize},
        {"far right", 400, room - kMinSize},
    };
    for (const Drag& d : drags) {
        DragSplitter(d.dx);
        EXPECT_EQ(left->Width(), d.leftWidth) << d.what;
        EXPECT_EQ(splitter->Left(), left->Width()) << d.what;
        EXPECT_EQ(right->Left(), left->Width() + kSplitterWidth) << d.what;
        EXPECT_EQ(left->Width() + right->Width(), room) << d.what;
    }
}

TEST_F(BarsTest, StatusBarGripSizesItsForm) {
    auto* sizeable = new TForm(&Application());
    sizeable->SetBorderStyle(TFormBorderStyle::bsSizeable);
    sizeable->SetBounds(200, 120, 360, 240);
    auto* grip = new TsStatusBar(sizeable);
    grip->SetParent(sizeable);
    grip->SetPanels({{100, "Grip"}});
    sizeable->Show();
    testing::PumpUntil([&] { return IsWindowVisible(sizeable->Handle()) != FALSE; }, "the sizeable form");
    Application().ProcessMessages();
    RECT before{};
    GetWindowRect(sizeable->Handle(), &before);
    const POINT from = grip->ClientToScreen({grip->Width() - 3, grip->Height() - 3});
    testing::PointerTo(from);
    // The system's sizing loop runs inside the press: the drag comes from another thread.
    std::atomic<bool> done{false};
    std::thread dragger([&] {
        Sleep(300);
        for (int step = 1; step <= 4; ++step) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
            const POINT p{from.x + 10 * step, from.y + 8 * step};
            input.mi.dx = static_cast<LONG>((static_cast<long long>(p.x) * 65536 + w - 1) / w);
            input.mi.dy = static_cast<LONG>((static_cast<long long>(p.y) * 65536 + h - 1) / h);
            input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            SendInput(1, &input, sizeof input);
            Sleep(100);
        }
        INPUT up{};
        up.type = INPUT_MOUSE;
        up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &up, sizeof up);
        Sleep(200);
        done = true;
    });
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &down, sizeof down);
    testing::PumpWhileNot([&] { return done.load(); });
    dragger.join();
    Application().ProcessMessages();
    RECT after{};
    GetWindowRect(sizeable->Handle(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 40);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 32);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    // The bar stays at the bottom of the larger form.
    EXPECT_EQ(grip->Top() + grip->Height(), sizeable->ClientRect().bottom);
    MovePointer({5, 5});
    delete sizeable;
    Application().ProcessMessages();
}

TEST_F(BarsTest, StatusBarSeparatorAndSplitterShowTheSkinsValuesInEveryListedSkin) {
    ShowForm();
    for (const TListedSkin& skin : testing::ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        UseSkin(skin);
        MovePointer({5, 5});
        testing::WaitFadesEnded();
        ExpectControlPixels(*status, ExpectedStatusBar(), "status bar");

        // The separator: the bar's face with the divider in its middle in the button section's text colour.
        const TBitmap24 barFace = ExpectedFace(BarSection(), *bar, {}, kFormColor, false);
        TBitmap24 separatorLook = Crop(barFace, *separator);
        ExpectDivider(separatorLook, separator->Width() / 2, TextColorOf("TOOLBUTTON"));
        ExpectControlPixels(*separator, separatorLook, "separator");

        // The splitter: its section over the host's face, normal and hot; without one, the host's face.
        TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
        const TParentBackground hostBg{&hostFace, 0, 0, true};
        for (int state : {0, 1}) {
            if (state == 1) MovePointer(splitter->ClientToScreen({splitter->Width() / 2, splitter->Height() / 2}));
            const TBitmap24 look = SectionIndex("SPLITTER") >= 0
                                       ? ExpectedFace("SPLITTER", *splitter, hostBg, kFormColor, true, state)
                                       : Crop(hostFace, *splitter);
            ExpectControlPixels(*splitter, look, state ? "hot splitter" : "splitter");
        }
        MovePointer({5, 5});

        // A check button held down shows the pressed face of its section around its caption.
        if (!bold->Down()) bold->SetDown(true);
        TBitmap24 barCache = barFace.Clone();
        const TParentBackground barBg{&barCache, 0, 0, true};
        ExpectControlPixels(*bold, ExpectedFace("TOOLBUTTON", *bold, barBg, kFormColor, true, 2), "down button",
                            {RECT{6, 3, bold->Width() - 6, bold->Height() - 3}});
        bold->SetDown(false);
    }
}

TEST_F(BarsTest, WithoutAnActiveSkinTheNativeControlsKeepEverything) {
    ShowForm();
    const TBitmap24 skinned = ExpectedStatusBar();
    manager->SetActive(false);
    Application().ProcessMessages();
    for (const TsCommonData* data : {&status->SkinData(), &bar->SkinData(), &open->SkinData, &splitter->SkinData()})
        EXPECT_FALSE(data->IsSkinned(false));
    // The native status bar holds the panels' edges and texts.
    int edges[4] = {};
    ASSERT_EQ(SendMessageW(status->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], kPanelWidths[0]);
    EXPECT_EQ(edges[1], kPanelWidths[0] + kPanelWidths[1]);
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        SendMessageW(status->Handle(), SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(Narrow(text), kPanelTexts[i]) << i;
    }
    // The skinned look is gone from the screen.
    std::string ignored;
    EXPECT_GT(Differences(CaptureControl(*status), skinned, ignored), 0);
    // Clicks, toggles and drags work as before.
    testing::ClickAt(Center(bold));
    testing::PassDoubleClickTime();
    EXPECT_TRUE(bold->Down());
    EXPECT_EQ(SendMessageW(bold->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    DragSplitter(30);
    EXPECT_EQ(left->Width(), kLeftWidth + 30);
    manager->SetActive(true);
    Application().ProcessMessages();
    EXPECT_TRUE(status->SkinData().IsSkinned(true));
    ExpectControlPixels(*status, ExpectedStatusBar(), "status bar after the skin came back");
}

TEST_F(BarsTest, SoakOfHoverSkinChangesAndNewBarsKeepsLiveCountsFlat) {
    ShowForm();
    const std::vector<TListedSkin> skins = testing::ListedSkins();
    const auto round = [&] {
        for (int index : testing::EveryOrderedPairChain(static_cast<int>(skins.size()))) {
            manager->SetSkinName(skins[static_cast<std::size_t>(index)].Name);
            Application().ProcessMessages();
            for (TControl* c : std::initializer_list<TControl*>{open, bold, splitter, status}) {
                MovePointer(Center(c));
                Application().ProcessMessages();
            }
            MovePointer({5, 5});
            testing::WaitFadesEnded();
        }
        delete bar;
        delete status;
        delete host;
        Application().ProcessMessages();
        BuildBars();
        Application().ProcessMessages();
    };
    round();   // the first round fills what stays for the process (classes, fonts, skin pictures)
    const testing::TCounts before = testing::Count();
    for (int i = 0; i < 2; ++i) round();
    const testing::TCounts after = testing::Count();
    testing::PrintCounts("bars soak", before, after);
    testing::ExpectSameCounts(before, after);
}

}  // namespace
}  // namespace korvel
