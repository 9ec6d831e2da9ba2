// The skinned scroll bar: its window (plain under a skin, the native bar
// without), its pixels against the painting core, the auto-repeat counted in
// timer ticks, thumb drags with the real pointer, Smooth, keys, and the range
// rules with and without a skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstring>
#include <vector>

#include "controls/control_classes.h"
#include "controls/scroll_bar.h"
#include "gui/exceptions.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::Differences;
using testing::Key;
using testing::MovePointer;
using testing::PointerButton;

// The bar's rules once more, worked out here along the bar.
struct TRule {
    int Along, S, T, Min, Max;
    static int Nearest(double v) {
        std::fesetround(FE_TONEAREST);
        return static_cast<int>(std::nearbyint(v));
    }
    int Centre(int position) const {
        return S + T / 2 + Nearest((Along - 2.0 * S - T) / (Max - Min) * (position - Min));
    }
    int PointToPosition(int p) const { return Nearest((p - S - T / 2.0) * (Max - Min) / (Along - 2.0 * S - T)); }
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

class ScrollBarTest : public testing::SkinnedControlTest {
protected:
    TsScrollBar* AddBar(TScrollBarKind kind, int left, int top, int width, int height) {
        auto* b = new TsScrollBar(form);
        b->SetKind(kind);
        b->SetBounds(left, top, width, height);
        b->SetParent(form);
        b->OnChange = [this](TObject*) { ++changes; };
        b->OnScroll = [this](TObject*, TScrollCode code, int& p) { scrolls.push_back({code, p}); };
        return b;
    }
    TRule RuleOf(TsScrollBar* b) const {
        const bool h = b->Kind() == sbHorizontal;
        const int along = h ? b->Width() : b->Height();
        const int s = std::min(GetSystemMetrics(h ? SM_CXHSCROLL : SM_CYVSCROLL), along / 2);
        int t = 14;
        if (b->PageSize() > 0)
            t = TRule::Nearest(std::max((along - 2.0 * s) / (b->Max() + b->PageSize() - b->Min()) * b->PageSize(), 14.0));
        return {along, s, t, b->Min(), b->Max()};
    }
    static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
    // A point on the bar, given along it and in the middle across it.
    static POINT AlongPoint(TsScrollBar* b, int along) {
        return b->Kind() == sbHorizontal ? POINT{along, b->Height() / 2} : POINT{b->Width() / 2, along};
    }
    void Press(TsScrollBar* b, POINT p) { SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y)); }
    void Release(TsScrollBar* b, POINT p) { SendMessageW(b->Handle(), WM_LBUTTONUP, 0, At(p.x, p.y)); }
    void Tick(TsScrollBar* b) { SendMessageW(b->Handle(), WM_TIMER, TsScrollBar::TimerId, 0); }

    // The whole bar painted by the painting core from the rules: the track
    // halves split at the thumb's centre, the buttons and their glyphs over the
    // track, the slider over the track where the thumb lies, when it fits.
    TBitmap24 ExpectedBar(TsScrollBar* b, int trackState) {
        const TsSkinTables& t = Tables();
        const TsCachedIndexes& ci = t.CachedIndexes;
        const bool h = b->Kind() == sbHorizontal;
        const TRule r = RuleOf(b);
        const int across = h ? b->Height() : b->Width();
        const auto rect = [&](int from, int to) {
            return h ? TRect{from, 0, to, across} : TRect{0, from, across, to};
        };
        TBitmap24 out(b->Width(), b->Height());
        const auto paint = [&](const TsScrollPartIndexes& idx, const TParentBackground& bg, TBitmap24& into, TPoint at,
                               TRect area, int state) {
            PaintSection(idx.SkinIndex, bg, &t, into, at, area, state, true, idx.Pattern, idx.HotPattern,
                         idx.BordersMask);
        };
        const int c = b->Enabled() ? r.Centre(b->Position()) : r.Along / 2;
        const TRect half1 = rect(0, c), half2 = rect(c, r.Along);
        paint(ci.ScrollBars[h ? sb1H : sb1V], {}, out, {b->Left(), b->Top()}, half1, trackState);
        paint(ci.ScrollBars[h ? sb2H : sb2V], {}, out, {b->Left() + half2.Left, b->Top() + half2.Top}, half2,
              trackState);
        TParentBackground self;
        self.Bitmap = &out;
        self.Ready = 1;
        const TsScrollPartIndexes* buttons[2] = {&ci.ScrollButtons[h ? sbLeft : sbTop],
                                                 &ci.ScrollButtons[h ? sbRight : sbBottom]};
        for (int i = 0; i < 2; ++i) {
            const TRect hit = i == 0 ? rect(0, r.S) : rect(r.Along - r.S, r.Along);
            paint(*buttons[i], self, out, {hit.Left, hit.Top}, hit, 0);
            const TsMaskData& glyph = t.Masks.at(static_cast<std::size_t>(buttons[i]->GlyphMask));
            const int gw = glyph.R.Width() / glyph.ImageCount, gh = glyph.R.Height() / (glyph.MaskType + 1);
            DrawSkinGlyph(out, {hit.Left + (hit.Width() - gw) / 2, hit.Top + (hit.Height() - gh) / 2}, 0, t, glyph, 1);
        }
        if (r.Along - 2 * r.S >= r.T) {
            const TRect thumb = rect(c - r.T / 2, c - r.T / 2 + r.T);
            TBitmap24 piece(thumb.Width(), thumb.Height());
            for (int y = 0; y < piece.Height(); ++y)
                for (int x = 0; x < piece.Width(); ++x) piece.SetPixel(x, y, out.Pixel(thumb.Left + x, thumb.Top + y));
            TParentBackground own;
            own.Bitmap = &piece;
            own.Ready = 1;
            const TsScrollPartIndexes& slider = ci.ScrollSliders[h ? ssHorizontal : ssVertical];
            paint(slider, own, piece, {0, 0}, {0, 0, piece.Width(), piece.Height()}, 0);
            for (int y = 0; y < piece.Height(); ++y)
                for (int x = 0; x < piece.Width(); ++x) out.SetPixel(thumb.Left + x, thumb.Top + y, piece.Pixel(x, y));
            const TsMaskData& glyph = t.Masks.at(static_cast<std::size_t>(slider.GlyphMask));
            const int gw = glyph.R.Width() / glyph.ImageCount, gh = glyph.R.Height() / (glyph.MaskType + 1);
            DrawSkinGlyph(out, {thumb.Left + (thumb.Width() - gw) / 2, thumb.Top + (thumb.Height() - gh) / 2}, 0, t,
                          glyph, 1);
        }
        // Disabled, without a linked control: blended toward what lies behind (a parent without a cache).
        if (!b->Enabled()) DisabledLook(out, dkBlended, ColorToRGB(b->Color()), {b->Left(), b->Top()}, {});
        return out;
    }

    int changes = 0;
    struct TScrollSeen {
        TScrollCode Code;
        int Position;
    };
    std::vector<TScrollSeen> scrolls;
};

TEST_F(ScrollBarTest, SkinnedBarIsAPlainWindowAndTheNativeBarReturnsWithoutTheSkin) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 200, 17);
    ShowForm();
    EXPECT_TRUE(bar->Skinned());
    EXPECT_TRUE(bar->PlainWindow());
    EXPECT_NE(ClassOf(bar->Handle()), L"ScrollBar");
    EXPECT_EQ(SendMessageW(bar->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);

    manager->SetActive(false);   // SMC_SKINREMOVED
    Application().ProcessMessages();
    EXPECT_FALSE(bar->Skinned());
    EXPECT_FALSE(bar->PlainWindow());
    EXPECT_EQ(ClassOf(bar->Handle()), L"ScrollBar");
    bar->SetPosition(37);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 37) << "the native bar shows the position";

    manager->SetActive(true);    // SMC_SKINCHANGED, SMC_SKINAPPLIED
    Application().ProcessMessages();
    EXPECT_TRUE(bar->PlainWindow());
    EXPECT_NE(ClassOf(bar->Handle()), L"ScrollBar");
    // The plain window still answers what a scroll bar is asked.
    EXPECT_EQ(SendMessageW(bar->Handle(), SBM_GETPOS, 0, 0), 37);
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(bar->Handle(), SB_CTL, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPos, 37);
}

TEST_F(ScrollBarTest, PaintedTrackButtonsAndThumbMatchThePaintingCore) {
    struct Case {
        TScrollBarKind kind;
        int left, top, width, height, position;
    } cases[] = {
        {sbHorizontal, 10, 10, 200, 17, 0}, {sbHorizontal, 10, 40, 200, 17, 37}, {sbHorizontal, 10, 70, 161, 19, 100},
        {sbVertical, 250, 10, 17, 180, 63}, {sbVertical, 290, 10, 18, 150, 0},
        {sbHorizontal, 10, 110, 40, 17, 50},   // too short for buttons and thumb: no thumb
    };
    std::vector<TsScrollBar*> bars;
    for (const Case& c : cases) {
        TsScrollBar* b = AddBar(c.kind, c.left, c.top, c.width, c.height);
        b->SetPosition(c.position);
        bars.push_back(b);
    }
    ShowForm();
    for (std::size_t i = 0; i < bars.size(); ++i) {
        TsScrollBar* b = bars[i];
        const int trackState = GetFocus() == b->Handle() ? 1 : 0;
        std::string where;
        EXPECT_EQ(Differences(testing::CaptureScreen(testing::ScreenRectOf(b)), ExpectedBar(b, trackState), where), 0)
            << "case " << i << ":" << where;
    }
    // A bar too short for its thumb shows the track where a thumb would be.
    const TRule shortRule = RuleOf(bars.back());
    EXPECT_LT(shortRule.Along - 2 * shortRule.S, 14);
}

TEST_F(ScrollBarTest, HoldingAButtonScrollsAtOnceThenEveryTimerTick) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 240, 17);
    bar->SetPosition(10);
    ShowForm();
    const TRule r = RuleOf(bar);
    const POINT second = AlongPoint(bar, r.Along - r.S / 2);
    std::vector<int> previous;
    bar->OwnerNotification = [&previous](int p) { previous.push_back(p); };
    changes = 0;
    Press(bar, second);
    EXPECT_EQ(bar->Position(), 11);
    EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stLine);
    EXPECT_EQ(bar->TimerInterval(), 500u);
    EXPECT_EQ(bar->PartState(spSecondButton), 2);
    Tick(bar);   // the first repeat, after the delay
    EXPECT_EQ(bar->Position(), 12);
    EXPECT_EQ(bar->TimerInterval(), 100u);
    for (int i = 0; i < 3; ++i) Tick(bar);
    EXPECT_EQ(bar->Position(), 15);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(previous, (std::vector<int>{10, 11, 12, 13, 14})) << "the owner hears each previous position";
    bar->OwnerNotification = nullptr;
    Release(bar, second);
    EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stNone);
    EXPECT_EQ(bar->PartState(spSecondButton), 1) << "released over the button: hot";
    ASSERT_FALSE(scrolls.empty());
    EXPECT_EQ(scrolls.back().Code, scEndScroll);
    EXPECT_EQ(scrolls.back().Position, 15);

    // At Min the first button only tells, with the unchanged position.
    bar->SetPosition(0);
    scrolls.clear();
    changes = 0;
    const POINT firstButton = AlongPoint(bar, r.S / 2);
    Press(bar, firstButton);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(changes, 0);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0].Code, scLineUp);
    EXPECT_EQ(scrolls[0].Position, 0);
    Release(bar, firstButton);

    // At Max the second button sends nothing and starts no timer.
    bar->SetPosition(100);
    scrolls.clear();
    changes = 0;
    Press(bar, second);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_TRUE(scrolls.empty());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stNone);
    Release(bar, second);
}

TEST_F(ScrollBarTest, PageRepeatStopsWhenTheThumbReachesTheCursor) {
    struct Case {
        int min, max, large, start, along;
    } cases[] = {{0, 100, 15, 0, 200}, {0, 100, 10, 0, 150}, {-50, 50, 7, -50, 190}, {0, 100, 15, 100, 60}};
    for (const Case& c : cases) {
        TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 300, 17);
        bar->SetParams(c.start, c.min, c.max);
        bar->SetLargeChange(static_cast<std::uint16_t>(c.large));
        ShowForm();
        const TRule r = RuleOf(bar);
        const POINT p = AlongPoint(bar, c.along);
        MovePointer(bar->ClientToScreen(p));
        POINT cursor{};
        GetCursorPos(&cursor);
        const int under = r.PointToPosition(bar->ScreenToClient(cursor).x) + c.min;
        // Expected: one step at the press, then one per tick while the cursor lies beyond the position.
        const bool down = c.along >= r.Centre(c.start);
        int want = std::clamp(c.start + (down ? c.large : -c.large), c.min, c.max);
        int ticks = 0;
        Press(bar, p);
        EXPECT_EQ(bar->Position(), want);
        while (bar->RunningTimer() == TsScrollBar::stPage && ticks < 100) {
            Tick(bar);
            ++ticks;
            if (down ? under > want : under < want) want = std::clamp(want + (down ? c.large : -c.large), c.min, c.max);
            ASSERT_EQ(bar->Position(), want) << "tick " << ticks;
        }
        EXPECT_LT(ticks, 100) << "the repeat ends";
        EXPECT_TRUE(down ? want >= under : want <= under) << "stopped at the cursor";
        Release(bar, p);
        delete bar;
    }
}

TEST_F(ScrollBarTest, DraggingTheThumbFollowsThePointerAndSmoothOffAnnouncesOnceAtRelease) {
    for (const bool smooth : {true, false}) {
        for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
            TsScrollBar* bar = kind == sbHorizontal ? AddBar(kind, 30, 50, 260, 17) : AddBar(kind, 30, 20, 17, 240);
            bar->SetParams(20, 0, 80);
            bar->SetSmooth(smooth);
            ShowForm();
            const TRule r = RuleOf(bar);
            const auto along = [&](POINT screen) {
                const POINT c = bar->ScreenToClient(screen);
                return kind == sbHorizontal ? c.x : c.y;
            };
            const auto cursor = [] {
                POINT p{};
                GetCursorPos(&p);
                return p;
            };
            MovePointer(bar->ClientToScreen(AlongPoint(bar, r.Centre(20) + 2)));
            const int offset = r.PointToPosition(along(cursor())) - 20;
            changes = 0;
            scrolls.clear();
            PointerButton(true);
            ASSERT_EQ(bar->PartState(spThumb), 2) << "the press took the thumb";
            for (const int to : {r.Centre(20) + 60, r.Centre(20) + 95, r.Centre(20) - 30}) {
                MovePointer(bar->ClientToScreen(AlongPoint(bar, to)));
                const int want = std::clamp(r.PointToPosition(along(cursor())) - offset, 0, 80);
                EXPECT_EQ(bar->Position(), want) << (smooth ? "smooth" : "held") << " to " << to;
            }
            if (smooth) EXPECT_GE(changes, 3);
            else EXPECT_EQ(changes, 0) << "nothing is announced during the drag";
            const int want = std::clamp(r.PointToPosition(along(cursor())) - offset, 0, 80);
            PointerButton(false);
            EXPECT_EQ(bar->Position(), want);
            if (!smooth) {
                EXPECT_EQ(changes, 1) << "one change at the release";
                ASSERT_GE(scrolls.size(), 2u);
                EXPECT_EQ(scrolls[scrolls.size() - 2].Code, scPosition);
            }
            EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stNone);
            EXPECT_EQ(scrolls.back().Code, scEndScroll);
            MovePointer({5, 5});
            delete bar;
        }
    }
}

TEST_F(ScrollBarTest, KeysMoveTheSkinnedBarAndTheNativeBar) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 240, 17);
    bar->SetLargeChange(10);
    bar->SetSmallChange(3);
    ShowForm();
    for (const bool skinned : {true, false}) {
        if (!skinned) {
            manager->SetActive(false);
            Application().ProcessMessages();
            ASSERT_FALSE(bar->PlainWindow());
        }
        bar->SetPosition(50);
        bar->SetFocus();
        Application().ProcessMessages();
        ASSERT_EQ(GetFocus(), bar->Handle());
        struct Step {
            WORD key;
            int want;
        } steps[] = {{VK_RIGHT, 53}, {VK_LEFT, 50}, {VK_NEXT, 60}, {VK_PRIOR, 50}, {VK_END, 100}, {VK_HOME, 0}};
        for (const Step& s : steps) {
            Key(s.key, true);
            Key(s.key, false);
            EXPECT_EQ(bar->Position(), s.want) << (skinned ? "skinned" : "native") << " key " << s.key;
        }
    }
}

TEST_F(ScrollBarTest, ReversedRangeClampsUnderTheSkinAndFailsWithout) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 240, 17);
    ShowForm();
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 100) << "clamped to Max";
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 0) << "clamped to Min";
    EXPECT_NO_THROW(bar->SetMax(-5));
    EXPECT_EQ(bar->Max(), -5) << "the reversed range is kept";
    EXPECT_EQ(bar->Position(), 0);
    bar->SetParams(40, 0, 100);

    manager->SetActive(false);
    Application().ProcessMessages();
    try {
        bar->SetMax(-5);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Scrollbar property out of range");
    }
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_THROW(bar->SetParams(0, 10, 9), EInvalidOperation);
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 100);
}

TEST_F(ScrollBarTest, DisabledBarDrawsItsThumbCentredAndBlended) {
    TsScrollBar* bar = AddBar(sbVertical, 20, 20, 17, 201);
    TsScrollBar* across = AddBar(sbHorizontal, 60, 20, 180, 17);
    for (TsScrollBar* b : {bar, across}) {
        b->SetPosition(90);
        b->SetEnabled(false);
    }
    ShowForm();
    const RECT t = bar->ThumbRect();
    EXPECT_EQ(t.top, 201 / 2 - 7);
    EXPECT_EQ(t.bottom - t.top, 14);
    for (TsScrollBar* b : {bar, across}) {
        std::string where;
        EXPECT_EQ(Differences(testing::CaptureScreen(testing::ScreenRectOf(b)), ExpectedBar(b, 0), where), 0) << where;
    }
    bar->SetEnabled(true);
    EXPECT_EQ(bar->ThumbRect().top, RuleOf(bar).Centre(90) - 7);
}

TEST_F(ScrollBarTest, LosingTheCaptureEndsAPressAndAHeldDragAnnouncesOnce) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 240, 17);
    bar->SetSmooth(false);
    bar->SetPosition(30);
    ShowForm();
    const TRule r = RuleOf(bar);
    // A held thumb, moved by the drag, then the capture goes to another window.
    Press(bar, AlongPoint(bar, r.Centre(30)));
    ASSERT_EQ(bar->RunningTimer(), TsScrollBar::stDrag);
    changes = 0;
    bar->SetPosition(45);   // as the drag timer moves it
    EXPECT_EQ(changes, 0) << "held during the drag";
    SetCapture(form->Handle());
    EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stNone);
    EXPECT_EQ(bar->PartState(spThumb), 0);
    EXPECT_EQ(changes, 1) << "one change for the drag that ended";
    ReleaseCapture();
    // A held button stops repeating.
    Press(bar, AlongPoint(bar, r.Along - 2));
    ASSERT_EQ(bar->RunningTimer(), TsScrollBar::stLine);
    SendMessageW(bar->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(bar->RunningTimer(), TsScrollBar::stNone);
    EXPECT_EQ(bar->PartState(spSecondButton), 0);
    ReleaseCapture();
}

TEST_F(ScrollBarTest, StoredDefinitionSetsEveryPublishedProperty) {
    RegisterSkinnedControlClasses();
    TForm root(nullptr);
    root.ReadDefinition(
        "object F: TForm\n"
        "  object sb: TsScrollBar\n"
        "    Left = 10\n    Top = 12\n    Width = 17\n    Height = 150\n"
        "    Kind = sbVertical\n    Max = 50\n    Min = -4\n    Position = 70\n    PageSize = 5\n"
        "    SmallChange = 3\n    LargeChange = 7\n    Smooth = False\n    DisabledKind = [dkGrayed]\n"
        "  end\n"
        "end\n");
    auto* bar = dynamic_cast<TsScrollBar*>(root.FindComponent("sb"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Kind(), sbVertical);
    EXPECT_EQ(bar->Width(), 17) << "a stored kind keeps the stored bounds";
    EXPECT_EQ(bar->Height(), 150);
    EXPECT_EQ(bar->Min(), -4);
    EXPECT_EQ(bar->Max(), 50);
    EXPECT_EQ(bar->Position(), 50) << "clamped under the skin";
    EXPECT_EQ(bar->PageSize(), 5);
    EXPECT_EQ(bar->SmallChange(), 3);
    EXPECT_EQ(bar->LargeChange(), 7);
    EXPECT_FALSE(bar->Smooth());
    EXPECT_EQ(bar->DisabledKind(), static_cast<TsDisabledKind>(dkGrayed));
    EXPECT_TRUE(bar->TabStop());
    // A kind set later turns the bar.
    bar->SetKind(sbHorizontal);
    EXPECT_EQ(bar->Width(), 150);
    EXPECT_EQ(bar->Height(), 17);
}

}  // namespace
}  // namespace korvel
