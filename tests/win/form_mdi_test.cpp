// A skinned MDI frame on the virtual display: the frame's TsMDIForm hooks the
// real MDI client window once, paints it from the frame's cache, puts skinned
// scroll bars on the frame while a child lies beyond the client area, and
// shows a maximised child's window commands in the frame's menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "engine/skin_message.h"
#include "forms/mdi_form.h"
#include "gui/class_registry.h"
#include "form_test_support.h"
#include "gui/menus.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "mdi_frame_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::kElegant;
using testing::TFrameMetrics;
using testing::PumpWhileNot;
using testing::ScreenPixel;

using testing::TMDIFrameRig;

bool Shown(const TControl* control) { return control && control->Visible(); }

TEST(FormMDITest, MaximisingAChildInsertsTheChildButtonsItemOnceAndRestoringRemovesIt) {
    TMDIFrameRig rig;
    ASSERT_EQ(MDIFrameProvider, rig.Provider);
    ASSERT_NE(rig.Provider->MDIExtension, nullptr);
    TMenuItem* item = rig.MDI().ChildButtonsItem;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Name(), "sMDICII");
    EXPECT_EQ(item->Caption(), "");
    struct TEntry {
        std::string Name, Caption;
        TShortCut ShortCut;
    };
    const TEntry entries[] = {{"ItemMDIRestore", "Restore", 0},
                              {"ItemMDIMinimize", "Minimize", 0},
                              {"", "-", 0},
                              {"ItemMDIClose", "Close", static_cast<TShortCut>(scCtrl | VK_F4)}};
    ASSERT_EQ(item->Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(item->Items(i)->Name(), entries[i].Name) << i;
        EXPECT_EQ(item->Items(i)->Caption(), entries[i].Caption) << i;
        EXPECT_EQ(item->Items(i)->ShortCut(), entries[i].ShortCut) << i;
    }
    EXPECT_EQ(entries[3].ShortCut, 0x4073);

    TForm* first = rig.AddChild(10, 10);
    EXPECT_EQ(rig.ChildButtonsCount(), 0);
    rig.Command(first, SC_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(first->Handle()));
    EXPECT_TRUE(rig.ChildButtonsFirst());
    EXPECT_EQ(rig.Menu->Items().Count(), 2);

    // Another child, maximised in turn; activation goes back and forth: still one item.
    TForm* second = rig.AddChild(30, 30);
    rig.Command(rig.Frame->ActiveMDIChild(), SC_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(rig.Frame->ActiveMDIChild()->Handle()));
    EXPECT_EQ(rig.ChildButtonsCount(), 1);
    rig.Frame->Next();
    rig.Settle();
    rig.Frame->Next();
    rig.Settle();
    EXPECT_EQ(IsZoomed(rig.Frame->ActiveMDIChild()->Handle()), rig.ChildButtonsCount() == 1);
    EXPECT_EQ(rig.ChildButtonsCount(), 1);
    EXPECT_TRUE(rig.ChildButtonsFirst());

    // The item's own "Restore" restores the active child; the item leaves the menu.
    TForm* active = rig.Frame->ActiveMDIChild();
    item->Items(0)->Click();
    PumpWhileNot([&] { return !IsZoomed(active->Handle()) && rig.ChildButtonsCount() == 0; });
    EXPECT_FALSE(IsZoomed(active->Handle()));
    EXPECT_EQ(rig.ChildButtonsCount(), 0);
    EXPECT_EQ(rig.Menu->Items().Items(0)->Caption(), "&File");

    rig.Command(active, SC_MAXIMIZE);
    EXPECT_EQ(rig.ChildButtonsCount(), 1);
    rig.Command(active, SC_RESTORE);
    EXPECT_EQ(rig.ChildButtonsCount(), 0);
    EXPECT_EQ(rig.Menu->Items().Count(), 1);

    // A maximised child that is freed takes the item with it when no child is left.
    rig.Command(second, SC_MAXIMIZE);
    ASSERT_EQ(rig.ChildButtonsCount(), 1);
    delete first;
    delete second;
    PumpWhileNot([&] { return rig.Frame->MDIChildCount() == 0 && rig.ChildButtonsCount() == 0; });
    EXPECT_EQ(rig.Frame->MDIChildCount(), 0);
    EXPECT_EQ(rig.ChildButtonsCount(), 0);
}

TEST(FormMDITest, SkinnedScrollBarsShowOnlyWhileANormalActiveChildLiesBeyondTheClientArea) {
    TMDIFrameRig rig;
    TsMDIForm& mdi = rig.MDI();
    // Panels on all four sides, each of its own size, leave the MDI area smaller than the client area.
    struct TSide {
        TAlign Align;
        int Size;
    } const sides[] = {{TAlign::alTop, 26}, {TAlign::alBottom, 21}, {TAlign::alLeft, 37}, {TAlign::alRight, 45}};
    for (const TSide& side : sides) {
        TPanel* panel = testing::AddControl<TPanel>(rig.Frame, 0, 0, side.Size, side.Size);
        panel->SetAlign(side.Align);
    }
    Application().ProcessMessages();
    const int top = sides[0].Size, bottom = sides[1].Size, left = sides[2].Size, right = sides[3].Size;
    mdi.UpdateChildControls();
    EXPECT_FALSE(Shown(mdi.VScrollBar) || Shown(mdi.HScrollBar) || Shown(mdi.Grip)) << "no child";

    TForm* child = rig.AddChild(10, 10);
    EXPECT_FALSE(Shown(mdi.VScrollBar) || Shown(mdi.HScrollBar)) << "a child inside the MDI area";

    const int clientW = rig.Frame->ClientWidth(), clientH = rig.Frame->ClientHeight();
    const int areaW = clientW - left - right, areaH = clientH - top - bottom;
    child->SetBounds(areaW - 60, areaH - 50, 220, 150);   // beyond the MDI area's right and bottom
    PumpWhileNot([&] { return Shown(mdi.VScrollBar) && Shown(mdi.HScrollBar) && Shown(mdi.Grip); });
    ASSERT_TRUE(Shown(mdi.VScrollBar) && Shown(mdi.HScrollBar) && Shown(mdi.Grip));
    const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    const TsScrollBar& v = *mdi.VScrollBar;
    const TsScrollBar& h = *mdi.HScrollBar;
    const TsGrip& grip = *mdi.Grip;
    EXPECT_EQ(v.Kind(), sbVertical);
    EXPECT_EQ(h.Kind(), sbHorizontal);
    // The vertical bar stands inside the right panel, from the top panel down to the
    // horizontal bar; the horizontal one above the bottom panel, from the left panel
    // to the vertical bar; the grip fills the corner between them.
    const int vLeft = clientW - cx - right - 2, vWidth = cx + 1;
    const int hTop = clientH - cy - bottom - 2, hHeight = cy + 1;
    const RECT expected[] = {{vLeft, top, vLeft + vWidth, top + areaH - cy - 1},
                             {left, hTop, left + areaW - vWidth, hTop + hHeight},
                             {vLeft + 1, hTop + 1, vLeft + 1 + hHeight - 1, hTop + 1 + vWidth - 1}};
    const TControl* controls[] = {&v, &h, &grip};
    for (int i = 0; i < 3; ++i) {
        const RECT got = controls[i]->BoundsRect();
        EXPECT_TRUE(EqualRect(&got, &expected[i])) << i << ": " << got.left << "," << got.top << "," << got.right << ","
                                                   << got.bottom;
    }
    // Ranges: the client window's own, made to start at 0 and to end one page early.
    for (auto [bar, kind] : {std::pair{&v, SB_VERT}, std::pair{&h, SB_HORZ}}) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(rig.Client(), kind, &info));
        EXPECT_EQ(bar->Min(), 0);
        EXPECT_EQ(bar->Max(), info.nMax + 1 - static_cast<int>(info.nPage) - info.nMin);
        EXPECT_EQ(bar->Position(), info.nPos - info.nMin);
        EXPECT_EQ(bar->PageSize(), info.nPage ? static_cast<int>(info.nPage) : 80);
    }

    // Moving the skinned bar scrolls the client window's children by as much.
    const int topBefore = child->Top();
    mdi.VScrollBar->SetPosition(mdi.VScrollBar->Position() + 25);
    PumpWhileNot([&] { return child->Top() == topBefore - 25; });
    EXPECT_EQ(child->Top(), topBefore - 25);

    rig.Command(child, SC_MAXIMIZE);
    EXPECT_FALSE(Shown(mdi.VScrollBar) || Shown(mdi.HScrollBar) || Shown(mdi.Grip)) << "a maximised child";
    rig.Command(child, SC_RESTORE);
    EXPECT_TRUE(Shown(mdi.VScrollBar) && Shown(mdi.HScrollBar)) << "restored beyond the area again";
    delete child;
    PumpWhileNot([&] { return !(Shown(mdi.VScrollBar) || Shown(mdi.HScrollBar) || Shown(mdi.Grip)); });
    EXPECT_FALSE(Shown(mdi.VScrollBar) || Shown(mdi.HScrollBar) || Shown(mdi.Grip)) << "the last child closed";
}

TEST(FormMDITest, AChildAboveAndLeftOfTheAreaIsReachedByTheSkinnedBars) {
    TMDIFrameRig rig;
    TsMDIForm& mdi = rig.MDI();
    TForm* child = rig.AddChild(10, 10);
    // A new size too: Wine's client window works its range out again when a child is sized.
    child->SetBounds(-40, -60, 210, 150);
    ASSERT_TRUE(testing::PumpUntil([&] { return Shown(mdi.VScrollBar) && Shown(mdi.HScrollBar); }, "both bars"));
    // The range starts where the child starts: the bars stand 60 and 40 from their start.
    EXPECT_EQ(mdi.VScrollBar->Position(), 60);
    EXPECT_EQ(mdi.HScrollBar->Position(), 40);
    mdi.VScrollBar->SetPosition(0);
    EXPECT_TRUE(testing::PumpUntil([&] { return child->Top() == 0; }, "the child's top back at 0"));
    mdi.HScrollBar->SetPosition(0);
    EXPECT_TRUE(testing::PumpUntil([&] { return child->Left() == 0; }, "the child's left back at 0"));
}

TEST(FormMDITest, ASecondTsMDIFormFindsTheClientHookedAndLeavesItAlone) {
    TMDIFrameRig rig;
    TsMDIForm& first = rig.MDI();
    const LONG_PTR hooked = GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC);
    ASSERT_TRUE(first.ClientHooked);
    ASSERT_NE(first.SavedClientProc, nullptr);
    EXPECT_NE(reinterpret_cast<LONG_PTR>(first.SavedClientProc), hooked);
    EXPECT_EQ(SendSkinCommand(rig.Client(), SMC_ISSKINNED), 1);

    auto* second = new TsMDIForm(rig.Provider);
    EXPECT_TRUE(second->ClientHooked) << "the client answered that it is hooked";
    EXPECT_EQ(second->SavedClientProc, nullptr);
    EXPECT_EQ(second->ClientProcInstance, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), hooked);
    EXPECT_EQ(rig.Provider->MDIExtension, &first);
    delete second;
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), hooked);
    EXPECT_EQ(SendSkinCommand(rig.Client(), SMC_ISSKINNED), 1) << "the first hook still answers";

    // Switching MDI support off gives the client its own procedure back; on again hooks once more.
    const WNDPROC original = first.SavedClientProc;
    rig.Provider->SetMDISupport(false);
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(original));
    EXPECT_EQ(SendSkinCommand(rig.Client(), SMC_ISSKINNED), 0);
    rig.Provider->SetMDISupport(true);
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), hooked);
    EXPECT_EQ(rig.Provider->MDIExtension->SavedClientProc, original);
}

TEST(FormMDITest, SwitchingTheSkinOffGivesTheClientWindowBackAndOnHooksItAgain) {
    TMDIFrameRig rig;
    TForm* child = rig.AddChild(10, 10);
    child->SetBounds(rig.Frame->ClientWidth() - 60, 20, 220, 150);   // beyond the right: a skinned bar
    PumpWhileNot([&] { return Shown(rig.MDI().HScrollBar); });
    ASSERT_TRUE(Shown(rig.MDI().HScrollBar));
    const WNDPROC original = rig.MDI().SavedClientProc;
    const LONG_PTR hooked = GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC);

    rig.Manager->SetActive(false);
    PumpWhileNot([&] { return rig.Provider->MDIExtension == nullptr; });
    EXPECT_EQ(rig.Provider->MDIExtension, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(original));
    EXPECT_EQ(SendSkinCommand(rig.Client(), SMC_ISSKINNED), 0);
    for (int i = 0; i < rig.Frame->ControlCount(); ++i) {
        EXPECT_EQ(dynamic_cast<TsScrollBar*>(rig.Frame->Controls(i)), nullptr) << "the skinned bars went with it";
    }
    child->SetBounds(rig.Frame->ClientWidth() - 80, 30, 220, 150);   // moving a child touches nothing freed
    rig.Settle();

    rig.Manager->SetActive(true);
    PumpWhileNot([&] { return rig.Provider->MDIExtension != nullptr; });
    ASSERT_NE(rig.Provider->MDIExtension, nullptr);
    EXPECT_EQ(MDIFrameProvider, rig.Provider);
    EXPECT_EQ(GetWindowLongPtrW(rig.Client(), GWLP_WNDPROC), hooked);
    EXPECT_EQ(SendSkinCommand(rig.Client(), SMC_ISSKINNED), 1);
    child->SetBounds(rig.Frame->ClientWidth() - 60, 20, 230, 150);
    PumpWhileNot([&] { return Shown(rig.MDI().HScrollBar); });
    EXPECT_TRUE(Shown(rig.MDI().HScrollBar)) << "the bars come back with the skin";
}

TEST(FormMDITest, TheClientWindowShowsTheMDIAreaSectionOrTheFormBackground) {
    TMDIFrameRig rig;
    const RECT client = rig.ClientWindowRect();
    const int w = client.right - client.left, h = client.bottom - client.top;
    const POINT origin = rig.MDIAreaOrigin();
    const int left = origin.x, top = origin.y;
    ASSERT_EQ(rig.MDI().MDIAreaWidth(), w);
    ASSERT_EQ(rig.MDI().MDIAreaHeight(), h);
    // Window pixels of the client window: its 2-pixel edge and its inside.
    const POINT samples[] = {{0, 0}, {1, h / 2}, {w - 1, h - 1}, {w / 2, 1}, {2, 2}, {w / 2, h / 2}, {37, 121}, {w - 3, h - 3}};

    // The internal skin has no MDIAREA section: the form's own background shows.
    ASSERT_FALSE(rig.Manager->IsValidSectionIndex(rig.Manager->SectionIndexOf("MDIAREA")));
    TBitmap24 form = rig.FormBackground();
    for (POINT p : samples) {
        EXPECT_EQ(ScreenPixel(client.left + p.x, client.top + p.y), form.Pixel(left + p.x, top + p.y)) << p.x << "," << p.y;
    }

    rig.Manager->SetSkinName("Basalt");
    rig.Settle();
    const int section = rig.Manager->SectionIndexOf("MDIAREA");
    ASSERT_TRUE(rig.Manager->IsValidSectionIndex(section));
    form = rig.FormBackground();
    TBitmap24 area(w, h);
    PaintSection(section, TParentBackground{&form, 0, 0, true}, &rig.Manager->Tables(), area, {left, top}, {0, 0, w, h}, 0,
                 true);
    bool varied = false;
    for (POINT p : samples) {
        EXPECT_EQ(ScreenPixel(client.left + p.x, client.top + p.y), area.Pixel(p.x, p.y)) << p.x << "," << p.y;
        varied = varied || area.Pixel(p.x, p.y) != area.Pixel(samples[0].x, samples[0].y);
    }
    EXPECT_TRUE(varied) << "a textured section tells shifted pixels apart";
}

// Wine recalculates the client window's scroll ranges when a child comes, and draws its
// own bars while doing so where its client rectangle ends: over the edge's strips.
TEST(FormMDITest, TheClientEdgeStaysTheFramesPictureWhenChildrenCome) {
    TMDIFrameRig rig;
    rig.AddChild(10, 10);
    rig.AddChild(40, 30);
    const RECT client = rig.ClientWindowRect();
    const int w = client.right - client.left, h = client.bottom - client.top;
    const POINT origin = rig.MDIAreaOrigin();
    const int left = origin.x, top = origin.y;
    const TBitmap24 form = rig.FormBackground();
    int wrong = 0;
    for (int edge = 0; edge < 2; ++edge) {
        for (int y = 0; y < h; ++y) {   // right strip, beside where a vertical bar would start
            const int x = w - 1 - edge;
            wrong += ScreenPixel(client.left + x, client.top + y) != form.Pixel(left + x, top + y) ? 1 : 0;
        }
        for (int x = 0; x < w; ++x) {   // bottom strip
            const int y = h - 1 - edge;
            wrong += ScreenPixel(client.left + x, client.top + y) != form.Pixel(left + x, top + y) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0) << "pixels of the right and bottom edge strips that are not the frame's picture";
}

// A child that reaches beyond the area's bottom, maximised for the first time: the
// client window's edge around it shows the frame's picture, never the child's
// content painted there while the child was being maximised.
TEST(FormMDITest, TheClientEdgeStaysTheFramesPictureAroundAMaximisedChild) {
    TMDIFrameRig rig;
    const int areaH = rig.MDI().MDIAreaHeight();
    auto* child = new TForm(rig.Frame);
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->SetBorderStyle(TFormBorderStyle::bsSizeable);
    child->SetBounds(180, areaH - 150, 300, 200);
    // Colours no skin picture holds: the whole client area and a corner button
    // anchored to the right and bottom, as the gallery's sizeable window has.
    auto* page = new TPanel(child);
    page->SetAlign(TAlign::alClient);
    page->SetColor(RGB(255, 0, 255));
    page->SetParent(child);
    auto* corner = new TPanel(child);
    corner->SetBounds(200, 120, 75, 25);
    corner->SetAnchors(akRight | akBottom);
    corner->SetColor(RGB(0, 255, 0));
    corner->SetParent(page);
    new TsSkinProvider(child);
    child->Show();
    testing::PumpUntil([&] { return rig.Frame->ActiveMDIChild() == child; }, "the child to become the active one");
    rig.Settle();

    rig.Command(child, SC_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(child->Handle()));
    const RECT client = rig.ClientWindowRect();
    const int w = client.right - client.left, h = client.bottom - client.top;
    const POINT origin = rig.MDIAreaOrigin();
    const TBitmap24 form = rig.FormBackground();
    const auto wrongIn = [&](int x0, int y0, int x1, int y1) {
        int wrong = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                wrong += ScreenPixel(client.left + x, client.top + y) != form.Pixel(origin.x + x, origin.y + y) ? 1 : 0;
        return wrong;
    };
    constexpr int edge = 2;
    struct TStrip {
        const char* Name;
        int X0, Y0, X1, Y1;
    } const strips[] = {{"top", 0, 0, w, edge},
                        {"left", 0, 0, edge, h},
                        {"bottom", 0, h - edge, w, h},
                        {"right", w - edge, 0, w, h}};
    for (const TStrip& s : strips)
        EXPECT_EQ(wrongIn(s.X0, s.Y0, s.X1, s.Y1), 0) << "pixels of the " << s.Name << " edge strip that are not the frame's picture";
}

TEST(FormMDITest, AMaximisedChildsButtonsAnswerTheirHitCodesInTheMenuLine) {
    TMDIFrameRig rig;
    TForm* child = rig.AddChild(10, 10);
    rig.Command(child, SC_MAXIMIZE);
    // Sizes from the close mask (BICONCLOSE of GLOBALINFO in the internal skin), places from the metrics.
    const TsMaskData& close =
        rig.Manager->Tables().Masks.at(static_cast<std::size_t>(rig.Manager->MaskIndexOf(
            rig.Manager->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "BICONCLOSE")));
    const int bw = close.R.Width() / close.ImageCount, bh = close.R.Height() / (close.MaskType + 1);
    RECT window{}, clientRect{};
    GetWindowRect(rig.Frame->Handle(), &window);
    GetClientRect(rig.Frame->Handle(), &clientRect);
    const TFrameMetrics metrics = TFrameMetrics::Of(TFormBorderStyle::bsSizeable);
    const int width = window.right - window.left;
    const int t = (window.bottom - window.top) - clientRect.bottom - metrics.FrameY;
    const int m = GetSystemMetrics(SM_CYMENU) - 1;
    const int top = t - (m - bh) / 2 - bh - 1;
    const int closeLeft = width - metrics.FrameX - bw - 1;
    const int restoreLeft = width - metrics.FrameX - 2 * bw - 2;
    const int minLeft = width - metrics.FrameX - 3 * bw - 3;
    // The close button's face: the opaque pixels of the mask's normal image, as they stand.
    const TBitmap24& master = rig.Manager->Tables().MasterBitmap;
    int opaque = 0;
    for (int y = 0; y < bh; ++y) {
        for (int x = 0; x < bw; ++x) {
            const TColor expected = master.Pixel(close.R.Left + x, close.R.Top + y);
            if (expected == clNone) continue;
            ++opaque;
            EXPECT_EQ(ScreenPixel(window.left + closeLeft + x, window.top + top + y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(opaque, bw * bh / 4);
    const auto hit = [&](int x, int y) {
        return SendMessageW(rig.Frame->Handle(), WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
    };
    struct TCase {
        int X, Y;
        LRESULT Code;
    };
    const TCase cases[] = {{closeLeft + bw / 2, top + bh / 2, htsMDIClose},   {closeLeft, top, htsMDIClose},
                           {closeLeft + bw - 1, top + bh - 1, htsMDIClose},   {restoreLeft + bw / 2, top + bh / 2, htsMDIRestore},
                           {minLeft + bw / 2, top + bh / 2, htsMDIMinimize},  {minLeft, top + bh - 1, htsMDIMinimize}};
    for (const TCase& c : cases) EXPECT_EQ(hit(c.X, c.Y), c.Code) << c.X << "," << c.Y;
    // The pixel between restore and close, and those just outside, belong to no button.
    for (POINT p : {POINT{closeLeft - 1, top + bh / 2}, POINT{minLeft - 1, top + bh / 2}, POINT{closeLeft + 2, top + bh}}) {
        const LRESULT code = hit(p.x, p.y);
        EXPECT_TRUE(code != htsMDIClose && code != htsMDIRestore && code != htsMDIMinimize) << p.x << "," << p.y << ": " << code;
    }

    // A real click on the restore button restores the child and takes the item away.
    testing::ClickAt({window.left + restoreLeft + bw / 2, window.top + top + bh / 2});
    PumpWhileNot([&] { return !IsZoomed(child->Handle()) && rig.ChildButtonsCount() == 0; });
    EXPECT_FALSE(IsZoomed(child->Handle()));
    EXPECT_EQ(rig.ChildButtonsCount(), 0);
    EXPECT_NE(hit(closeLeft + bw / 2, top + bh / 2), htsMDIClose) << "no buttons without a maximised child";
}

// Basalt keeps its restore face only among the global icons (no SICONNORM, no BICONNORM in
// FORM): the child's restore button shows that face rather than nothing.
TEST(FormMDITest, AMaximisedChildsRestoreButtonShowsTheGlobalRestoreFace) {
    TMDIFrameRig rig;
    rig.Manager->SetSkinName("Basalt");
    rig.Settle();
    TsSkinManager& m = *rig.Manager;
    const int global = m.SectionIndexOf("GLOBALINFO");
    ASSERT_FALSE(m.IsValidMaskIndex(m.MaskIndexOf(global, "GLOBALINFO", "SICONNORM")));
    ASSERT_FALSE(m.IsValidMaskIndex(m.MaskIndexOf(m.SectionIndexOf("FORM"), "FORM", "BICONNORM")));
    TForm* child = rig.AddChild(10, 10);
    rig.Command(child, SC_MAXIMIZE);
    const auto maskAt = [&](const char* name) -> const TsMaskData& {
        return m.Tables().Masks.at(static_cast<std::size_t>(m.MaskIndexOf(global, "GLOBALINFO", name)));
    };
    const TsMaskData& close = maskAt("BICONCLOSE");
    const TsMaskData& restore = maskAt("BICONNORM");
    const int bw = close.R.Width() / close.ImageCount, bh = close.R.Height() / (close.MaskType + 1);
    RECT window{}, clientRect{};
    GetWindowRect(rig.Frame->Handle(), &window);
    GetClientRect(rig.Frame->Handle(), &clientRect);
    const TFrameMetrics metrics = TFrameMetrics::Of(TFormBorderStyle::bsSizeable);
    const int t = (window.bottom - window.top) - clientRect.bottom - metrics.FrameY;
    const int top = t - (GetSystemMetrics(SM_CYMENU) - 1 - bh) / 2 - bh - 1;
    const int restoreLeft = (window.right - window.left) - metrics.FrameX - 2 * bw - 2;
    const TBitmap24& master = m.Tables().MasterBitmap;
    int opaque = 0;
    for (int y = 0; y < bh; ++y) {
        for (int x = 0; x < bw; ++x) {
            const TColor expected = master.Pixel(restore.R.Left + x, restore.R.Top + y);
            if (expected == clNone) continue;
            ++opaque;
            EXPECT_EQ(ScreenPixel(window.left + restoreLeft + x, window.top + top + y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(opaque, bw * bh / 4);
}

TEST(FormMDITest, AFrameWithoutAMenuKeepsPaintingAfterAChildIsMaximisedByItsCaptionButton) {
    TMDIFrameRig rig;
    rig.Frame->SetMenu(nullptr);
    TForm* child = rig.AddChild(10, 10);
    // The release on the child's maximise button asks the frame to wait for the menu merge.
    SendMessageW(child->Handle(), WM_NCLBUTTONUP, htsMaximize, 0);
    PumpWhileNot([&] { return IsZoomed(child->Handle()) && !rig.Provider->SkinData().Updating; });
    ASSERT_TRUE(IsZoomed(child->Handle()));
    EXPECT_FALSE(rig.Provider->SkinData().Updating);
    rig.Provider->SkinData().BackgroundChanged = true;
    SendMessageW(rig.Frame->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_FALSE(rig.Provider->SkinData().BackgroundChanged) << "the frame painted its picture again";
}

// (A normal active child's Alt+letter is driven through the real gallery by e2e_gallery.)
TEST(FormMDITest, AltAndALetterInAMaximisedChildOpenTheFramesMenu) {
    TMDIFrameRig rig;
    TMenuItem* file = rig.Menu->Items().Items(0);
    auto* item = new TMenuItem(rig.Frame);
    item->SetCaption("&New");
    int clicks = 0;
    item->OnClick = [&](TObject*) { ++clicks; };
    file->Add(item);
    TForm* child = rig.AddChild(20, 20);
    rig.Command(child, SC_MAXIMIZE);
    testing::BringToFront(rig.Frame->Handle());
    ::SetFocus(child->Handle());
    {
        testing::TMenuWatcher watcher([](HWND) { testing::SendChord('N'); });
        testing::PressChord('F', {VK_MENU});   // Alt+F opens File; the watcher presses N in it
        PumpWhileNot([&] { return clicks == 1; });
        EXPECT_TRUE(watcher.Seen());
    }
    EXPECT_EQ(clicks, 1);
}

// The provider takes an MDI child's own scrolling over as any form's: the child
// gets the skinned bars, or content beyond its client area could not be reached.
TEST(FormMDITest, AChildWhoseContentReachesBeyondItScrollsWithSkinnedBars) {
    TMDIFrameRig rig;
    auto* child = new TForm(rig.Frame);
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->SetBorderStyle(TFormBorderStyle::bsSizeable);
    child->SetBounds(10, 10, 260, 180);
    child->SetAutoScroll(true);
    auto* page = new TsPanel(child);   // there before the window shows, as a stored definition makes it
    page->SetBounds(8, 8, 400, 300);
    page->SetParent(child);
    auto* provider = new TsSkinProvider(child);
    child->Show();
    PumpWhileNot([&] { return provider->VScrollBar && provider->HScrollBar; });
    const int cw = child->ClientWidth(), ch = child->ClientHeight();
    ASSERT_LT(cw, 408);
    ASSERT_LT(ch, 308);
    ASSERT_NE(provider->VScrollBar, nullptr);
    ASSERT_NE(provider->HScrollBar, nullptr);
    EXPECT_TRUE(provider->VScrollBar->Visible());
    EXPECT_TRUE(provider->HScrollBar->Visible());
    EXPECT_NE(provider->FormGrip, nullptr) << "the corner between two bars";
    EXPECT_EQ(provider->VScrollBar->Parent(), child);
    EXPECT_EQ(rig.MDI().VScrollBar == nullptr || !rig.MDI().VScrollBar->Visible(), true) << "the frame's bars stay away";

    provider->VScrollBar->SetPosition(40);
    provider->HScrollBar->SetPosition(30);
    PumpWhileNot([&] { return page->Top() == 8 - 40 && page->Left() == 8 - 30; });
    EXPECT_EQ(page->Top(), 8 - 40);
    EXPECT_EQ(page->Left(), 8 - 30);

    // Large enough for the page: the bars go and the page is back in place.
    child->SetClientSize(440, 340);
    PumpWhileNot([&] { return provider->VScrollBar == nullptr && provider->HScrollBar == nullptr; });
    EXPECT_EQ(provider->VScrollBar, nullptr);
    EXPECT_EQ(provider->HScrollBar, nullptr);
    EXPECT_EQ(page->Top(), 8);
    EXPECT_EQ(page->Left(), 8);
}

TEST(FormMDITest, ClosingChildrenAndTheFrameLeavesTheLiveCountsFlat) {
    const auto round = [] {
        TMDIFrameRig rig;
        std::vector<TForm*> children;
        for (int i = 0; i < 3; ++i) children.push_back(rig.AddChild(20 * i, 20 * i));
        children[1]->SetBounds(500, 400, 200, 140);   // scroll bars and grip
        rig.Settle();
        rig.Command(children[2], SC_MAXIMIZE);
        for (TForm* child : children) {
            child->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
            rig.Command(child, SC_CLOSE);
        }
        PumpWhileNot([&] { return rig.Frame->MDIChildCount() == 0 && rig.ChildButtonsCount() == 0; });
        EXPECT_EQ(rig.Frame->MDIChildCount(), 0);
        EXPECT_EQ(rig.ChildButtonsCount(), 0);
    };
    round();   // first-use allocations (classes, fonts, the skin's pictures)
    const testing::TCounts before = testing::Count();
    for (int i = 0; i < 3; ++i) round();
    const testing::TCounts after = testing::Count();
    EXPECT_EQ(MDIFrameProvider, nullptr);
    EXPECT_EQ(after.Controls, before.Controls);
    EXPECT_EQ(after.Components, before.Components);
    EXPECT_EQ(after.PixelStores, before.PixelStores);
    const std::pair<const char*, int TGdiCounters::*> gdi[] = {
        {"bitmaps", &TGdiCounters::Bitmaps}, {"fonts", &TGdiCounters::Fonts},     {"brushes", &TGdiCounters::Brushes},
        {"pens", &TGdiCounters::Pens},       {"regions", &TGdiCounters::Regions}, {"DCs", &TGdiCounters::DeviceContexts},
        {"icons", &TGdiCounters::Icons},     {"windows", &TGdiCounters::Windows}, {"menus", &TGdiCounters::Menus}};
    for (auto [name, field] : gdi) EXPECT_EQ(after.Gdi.*field, before.Gdi.*field) << name;
    EXPECT_EQ(after.GdiObjects, before.GdiObjects);
    EXPECT_EQ(after.UserObjects, before.UserObjects);
}

TEST(FormMDITest, AStoredDefinitionMayNameTheTsMDIForm) {
    RegisterSkinProviderClass();
    const TClassInfo* info = TClassRegistry::Instance().Find("TsMDIForm");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->Factory);
    TMDIFrameRig rig;
    // Named after the provider in a frame's definition: it serves the frame's provider,
    // finds the client window hooked and hooks nothing.
    std::unique_ptr<TComponent> made(info->Factory(rig.Frame));
    auto* named = dynamic_cast<TsMDIForm*>(made.get());
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->Provider(), rig.Provider);
    EXPECT_TRUE(named->ClientHooked);
    EXPECT_EQ(named->ClientProcInstance, nullptr);
    EXPECT_EQ(rig.Provider->MDIExtension, &rig.MDI());
}

}  // namespace
}  // namespace korvel
