// The skinned scroll bar: its window (plain under a skin, the native bar
// without), its parts' pixels in their rectangles and states against the
// painting core, the auto-repeat counted in timer ticks, thumb drags with the
// real pointer, Smooth, keys, and the range rules with and without a skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
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

    // The five parts' rectangles worked out from the rule: buttons S long at
    // both ends, the track split at the thumb's centre (the bar's middle when
    // disabled), the thumb T long around that centre.
    struct TParts {
        TRect Button[2], Half[2], Thumb;
        bool ThumbFits;
    };
    TParts PartsOf(TsScrollBar* b) const {
        const TRule r = RuleOf(b);
        const bool h = b->Kind() == sbHorizontal;
        const int across = h ? b->Height() : b->Width();
        const auto span = [&](int from, int to) { return h ? TRect{from, 0, to, across} : TRect{0, from, across, to}; };
        const int c = b->Enabled() ? r.Centre(b->Position()) : r.Along / 2;
        return {{span(0, r.S), span(r.Along - r.S, r.Along)},
                {span(0, c), span(c, r.Along)},
                span(c - r.T / 2, c - r.T / 2 + r.T),
                r.Along - 2 * r.S >= r.T};
    }

    // The bar as the rule composes it, each part being its section painted by the
    // painting core at the part's rectangle and state: the track halves over the
    // parent, the buttons over the track with their glyphs centred, the slider over
    // both (when it fits) with its glyph centred, one pixel right and down while
    // pressed. States: first and second button, first and second track half, thumb.
    TBitmap24 ExpectedBar(TsScrollBar* b, const std::array<int, 5>& states) {
        const TsSkinTables& t = Tables();
        const TsCachedIndexes& ci = t.CachedIndexes;
        const bool h = b->Kind() == sbHorizontal;
        const TParts parts = PartsOf(b);
        TBitmap24 out(b->Width(), b->Height());
        // A part over what is below it: its own picture at its place, its transparent pixels showing the track.
        const auto layer = [&](const TsScrollPartIndexes& idx, TRect at, int state) {
            TParentBackground behind;
            behind.Bitmap = &out;
            behind.Ready = 1;
            TBitmap24 part(at.Width(), at.Height());
            PaintSection(idx.SkinIndex, behind, &t, part, {at.Left, at.Top}, {0, 0, at.Width(), at.Height()}, state, true,
                         idx.Pattern, idx.HotPattern, idx.BordersMask);
            for (int y = 0; y < part.Height(); ++y)
                for (int x = 0; x < part.Width(); ++x) out.SetPixel(at.Left + x, at.Top + y, part.Pixel(x, y));
        };
        const auto glyph = [&](const TsScrollPartIndexes& idx, TRect in, int state, int shift) {
            const TsMaskData& g = t.Masks.at(static_cast<std::size_t>(idx.GlyphMask));
            const int gw = g.R.Width() / g.ImageCount, gh = g.R.Height() / (g.MaskType + 1);
            DrawSkinGlyph(out, {in.Left + (in.Width() - gw) / 2 + shift, in.Top + (in.Height() - gh) / 2 + shift},
                          state, t, g, 1);
        };
        for (int i = 0; i < 2; ++i) {   // the halves lie over the parent (no cache: an empty background)
            const TsScrollPartIndexes& idx = ci.ScrollBars[h ? (i ? sb2H : sb1H) : (i ? sb2V : sb1V)];
            const TRect half = parts.Half[i];
            if (half.Width() > 0)
                PaintSection(idx.SkinIndex, {}, &t, out, {b->Left() + half.Left, b->Top() + half.Top}, half,
                             states[2 + i], true, idx.Pattern, idx.HotPattern, idx.BordersMask);
        }
        for (int i = 0; i < 2; ++i) {
            const TsScrollPartIndexes& idx = ci.ScrollButtons[h ? (i ? sbRight : sbLeft) : (i ? sbBottom : sbTop)];
            layer(idx, parts.Button[i], states[i]);
            glyph(idx, parts.Button[i], states[i], 0);
        }
        if (parts.ThumbFits) {
            const TsScrollPartIndexes& slider = ci.ScrollSliders[h ? ssHorizontal : ssVertical];
            layer(slider, parts.Thumb, states[4]);
            glyph(slider, parts.Thumb, states[4], states[4] == 2 ? 1 : 0);
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

TEST_F(ScrollBarTest, EachPartShowsItsSectionInItsRectangleAndState) {
    // Where the real pointer rests (and whether its button is down), and the
    // part states that follow: hot or pressed sets the other buttons and the
    // thumb normal and the other track half hot; entering the bar makes both
    // halves hot. Presses that leave the position where it is: the first button
    // at Min, a track half with a LargeChange of 0, the thumb held still.
    enum TAt { atNone, atFirstButton, atSecondButton, atFirstHalf, atSecondHalf, atThumb };
    struct Case {
        TScrollBarKind kind;
        int width, height, position;
        TAt at;
        bool down;
        std::array<int, 5> states;   // first, second button; first, second half; thumb
    } cases[] = {
        {sbHorizontal, 200, 17, 0, atNone, false, {0, 0, 0, 0, 0}},
        {sbHorizontal, 200, 17, 37, atNone, false, {0, 0, 0, 0, 0}},
        {sbHorizontal, 161, 19, 100, atNone, false, {0, 0, 0, 0, 0}},
        {sbVertical, 17, 180, 63, atNone, false, {0, 0, 0, 0, 0}},
        {sbVertical, 18, 150, 0, atNone, false, {0, 0, 0, 0, 0}},
        {sbHorizontal, 40, 17, 50, atNone, false, {0, 0, 0, 0, 0}},   // too short for its thumb
        {sbHorizontal, 200, 17, 37, atThumb, false, {0, 0, 1, 1, 1}},
        {sbHorizontal, 200, 17, 37, atSecondButton, false, {0, 1, 1, 1, 0}},
        {sbVertical, 17, 180, 63, atFirstButton, false, {1, 0, 1, 1, 0}},
        {sbHorizontal, 200, 17, 0, atFirstButton, true, {2, 0, 1, 1, 0}},
        {sbVertical, 17, 180, 100, atSecondButton, true, {0, 2, 1, 1, 0}},
        {sbHorizontal, 200, 17, 60, atThumb, true, {0, 0, 1, 1, 2}},
        {sbVertical, 17, 180, 40, atThumb, true, {0, 0, 1, 1, 2}},
        {sbHorizontal, 200, 17, 70, atFirstHalf, true, {0, 0, 2, 1, 0}},
        {sbVertical, 17, 180, 20, atSecondHalf, true, {0, 0, 1, 2, 0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TsScrollBar* b = AddBar(c.kind, 30, 30, c.width, c.height);
        b->SetPosition(c.position);
        b->SetLargeChange(0);
        ShowForm();
        const TRule r = RuleOf(b);
        const int centre = r.Centre(c.position);
        const int along[] = {0, r.S / 2, r.Along - 1 - r.S / 2, (r.S + centre - r.T / 2) / 2,
                             (centre + r.T / 2 + r.Along - r.S) / 2, centre};
        if (c.at != atNone) MovePointer(b->ClientToScreen(AlongPoint(b, along[c.at])));
        if (c.down) PointerButton(true);
        for (int part = 0; part < 5; ++part)
            EXPECT_EQ(b->PartState(static_cast<TScrollPart>(part)), c.states[static_cast<std::size_t>(part)])
                << "case " << i << " part " << part;
        EXPECT_EQ(b->Position(), c.position) << "case " << i;
        std::string where;
        EXPECT_EQ(Differences(testing::CaptureScreen(testing::ScreenRectOf(b)), ExpectedBar(b, c.states), where), 0)
            << "case " << i << ":" << where;
        if (c.down) PointerButton(false);
        MovePointer({5, 5});
        delete b;
    }
    // The short bar has no room for a thumb between its buttons.
    TsScrollBar* shortBar = AddBar(sbHorizontal, 30, 30, 40, 17);
    EXPECT_LT(RuleOf(shortBar).Along - 2 * RuleOf(shortBar).S, 14);
}

TEST_F(ScrollBarTest, HoldingAButtonScrollsAtOnceThenEveryTimerTick) {
    TsScrollBar* bar = AddBar(sbHorizontal, 20, 40, 240, 17);
    bar->SetPosition(10);
    ShowForm();
    const TRule r = RuleOf(bar);
    const POINT second = AlongPoint(bar, r.Along - r.S / 2);
    std::vector<int> previous;
    std::vector<bool> suspended;   // whether the bar paints while its owner reacts
    bar->OwnerNotification = [&](int p) {
        previous.push_back(p);
        suspended.push_back(bar->Suspended());
    };
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
    EXPECT_EQ(suspended, (std::vector<bool>{true, false, false, false, false})) << "only the press holds the painting";
    EXPECT_FALSE(bar->Suspended()) << "painted once after the press";
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
        EXPECT_EQ(Differences(testing::CaptureScreen(testing::ScreenRectOf(b)), ExpectedBar(b, {0, 0, 0, 0, 0}), where), 0)
            << where;
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
