// Progress bars and track bars under the skin: the filled length of a progress
// bar against its rule for a table of ranges and positions, in both directions
// and in every listed skin (a skin without PROGRESSV shows PROGRESSH turned);
// the track bar's thumb in its states at the place the native control gives,
// moved by a real drag and by real keys; the plain native controls without a
// skin or a section; and a soak of hovering, skin changes and new controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/panel.h"
#include "controls/progress_bar.h"
#include "controls/track_bar.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::Differences;
using testing::Key;
using testing::kFormColor;
using testing::MovePointer;
using testing::PointerButton;

// The rule, written out: the filled pixels of a bar length long.
int RuleLength(int min, int max, int position, int length) {
    if (max <= min) return 0;
    const int p = std::min(std::max(position, min), max);
    return (p - min) * length / (max - min);
}

// Rows and columns swapped, pixel by pixel.
TBitmap24 Transposed(const TBitmap24& b) {
    TBitmap24 t(b.Height(), b.Width());
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) t.SetPixel(y, x, b.Pixel(x, y));
    return t;
}

bool Contains(const TRect& r, POINT p) { return p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom; }

class GaugeTest : public testing::SkinnedControlTest {
protected:
    // A section's face at width x height over the parent's pixels behind (or
    // a plain parent of the form's colour), with its frame's corners showing
    // them when corners is set.
    TBitmap24 Face(const std::string& section, int width, int height, TPoint at, int state, bool corners,
                   const TParentBackground& behind = {}) const {
        const TsSkinTables& t = Tables();
        TItemSource s;
        s.Tables = &t;
        s.SkinIndex = SectionIndex(section);
        s.BorderIndex = t.MaskIndexOf(s.SkinIndex, section, "BORDERSMASK");
        s.HasParent = true;
        s.ParentColor = kFormColor;
        s.NeedsParentRepaint = false;
        s.ParentControlColor = [] { return kFormColor; };
        TBitmap24 out(width, height);
        PaintItem(s, behind, true, out, at, TRect{0, 0, width, height}, state);
        TCornerFill fill{TCornerFill::cfColor, kFormColor};
        if (behind.Ready) fill = {TCornerFill::cfParentPixels, clNone, behind.Bitmap, at.X, at.Y};
        if (corners && t.IsValidMaskIndex(s.BorderIndex))
            UpdateCorners(out, t, t.Masks[static_cast<std::size_t>(s.BorderIndex)], state, crAll, fill);
        return out;
    }

    // The bar over its parent's pixels behind (or the plain form): the
    // section's normal face, and inside the frame's widths its hot face over
    // the filled length, from the left (horizontal) or from the bottom
    // (vertical); a turned section is drawn horizontally over the parent's
    // pixels turned the same way, filled from its right end, then turned.
    TBitmap24 ExpectedBar(const TsProgressBar& bar, const std::string& section, bool turned,
                          const TParentBackground& behind = {}) const {
        const bool vertical = bar.Orientation() == TProgressBarOrientation::pbVertical;
        const int w = turned ? bar.Height() : bar.Width(), h = turned ? bar.Width() : bar.Height();
        const TPoint at = turned ? TPoint{0, 0} : TPoint{bar.Left(), bar.Top()};
        TBitmap24 lyingBehind;
        TParentBackground below = behind;
        if (turned && behind.Ready) {
            TBitmap24 crop(bar.Width(), bar.Height());
            for (int y = 0; y < bar.Height(); ++y)
                for (int x = 0; x < bar.Width(); ++x) crop.SetPixel(x, y, behind.Bitmap->Pixel(bar.Left() + x, bar.Top() + y));
            lyingBehind = Transposed(crop);
            below = TParentBackground{&lyingBehind, 0, 0, true};
        }
        TBitmap24 face = Face(section, w, h, at, 0, !turned, below);
        const TBitmap24 hot = Face(section, w, h, at, 1, !turned, below);
        const TsMaskData& frame = BorderMask(section);
        const int left = frame.WL, top = frame.WT, right = w - frame.WR, bottom = h - frame.WB;
        const bool down = vertical && !turned;
        const int length = RuleLength(bar.Min(), bar.Max(), bar.Position(), down ? bottom - top : right - left);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const bool filled = down ? y >= bottom - length : turned ? x >= right - length : x < left + length;
                if (filled) face.SetPixel(x, y, hot.Pixel(x, y));
            }
        }
        if (turned) return Transposed(face);
        return face;
    }
};

TEST_F(GaugeTest, FilledLengthFollowsThePositionInTheRange) {
    auto* bar = testing::AddControl<TsProgressBar>(form, 20, 20, 203, 17);
    ShowForm();
    struct Case { const char* what; bool vertical; int min, max, position, shown; };
    const Case cases[] = {
        {"empty", false, 0, 100, 0, 0},
        {"half", false, 0, 100, 50, 50},
        {"full", false, 0, 100, 100, 100},
        {"odd range, 4 of 3..7", false, 3, 7, 4, 4},
        {"odd range, 6 of 3..7", false, 3, 7, 6, 6},
        {"above the range", false, 0, 100, 250, 100},
        {"below the range", false, 10, 20, -5, 10},
        {"range across 0", false, -50, 50, 13, 13},
        {"empty range", false, 5, 5, 5, 5},
        {"vertical, 37", true, 0, 100, 37, 37},
        {"vertical, 6 of 3..7", true, 3, 7, 6, 6},
        {"vertical, above the range", true, 0, 10, 99, 10},
        {"vertical, empty", true, 0, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bar->SetOrientation(c.vertical ? TProgressBarOrientation::pbVertical : TProgressBarOrientation::pbHorizontal);
        bar->SetBounds(20, 20, c.vertical ? 17 : 203, c.vertical ? 123 : 17);
        bar->SetMin(-1000);   // any order of range and position settles on the clamped position
        bar->SetMax(c.max);
        bar->SetMin(c.min);
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->Position(), c.shown);
        EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), c.shown);
        const std::string section = c.vertical ? "PROGRESSV" : "PROGRESSH";
        EXPECT_EQ(bar->SkinData().SkinSection(), section);
        ASSERT_FALSE(bar->Look().Turned);
        // The two faces differ, so a fill of the wrong length shows.
        std::string ignored;
        ASSERT_GT(Differences(Face(section, bar->Width(), bar->Height(), {20, 20}, 0, true),
                              Face(section, bar->Width(), bar->Height(), {20, 20}, 1, true), ignored), 0);
        ExpectScreen(bar, ExpectedBar(*bar, section, false), c.what);
    }
    // Disabled, the whole bar is blended toward what lies behind it.
    bar->SetOrientation(TProgressBarOrientation::pbHorizontal);
    bar->SetBounds(20, 20, 203, 17);
    bar->SetMin(0);
    bar->SetMax(100);
    bar->SetPosition(60);
    bar->SetEnabled(false);
    const TBitmap24 enabled = ExpectedBar(*bar, "PROGRESSH", false);
    TBitmap24 expected = enabled.Clone();
    DisabledLook(expected, dkBlended, ColorToRGB(bar->Color()), TPoint{bar->Left(), bar->Top()}, TParentBackground{});
    std::string where;
    ASSERT_GT(Differences(enabled, expected, where), 0) << "the disabled look differs from the enabled one";
    ExpectScreen(bar, expected, "disabled");
}

TEST_F(GaugeTest, EveryListedSkinPaintsBothDirectionsAndTurnsTheHorizontalLookWithoutAVerticalSection) {
    manager->SetSkinDirectory(testing::SourcePath("skins"));
    // On a gradient page, so that what the frames let through differs pixel by pixel.
    auto* page = testing::AddControl<TsPanel>(form, 10, 10, 380, 290);
    page->SkinData().SetSkinSection("GRADPANEL");
    const auto add = [&](int left, int top, int width, int height) {
        auto* bar = new TsProgressBar(form);
        bar->SetParent(page);
        bar->SetBounds(left, top, width, height);
        return bar;
    };
    auto* across = add(20, 20, 180, 17);
    auto* up = add(220, 20, 19, 140);
    auto* full = add(260, 20, 17, 101);
    auto* plain = testing::AddControl<TsProgressBar>(form, 20, 250, 17, 40);   // on the plain form
    plain->SetOrientation(TProgressBarOrientation::pbVertical);
    plain->SetPosition(50);
    up->SetOrientation(TProgressBarOrientation::pbVertical);
    full->SetOrientation(TProgressBarOrientation::pbVertical);
    across->SetPosition(37);
    up->SetPosition(37);
    full->SetPosition(100);
    for (const testing::TListedSkin& skin : testing::ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        manager->SetSkinName(skin.Name);
        ASSERT_EQ(manager->SkinName(), skin.Name);
        ShowForm();
        const bool hasVertical = SectionIndex("PROGRESSV") >= 0;
        EXPECT_EQ(hasVertical, skin.Name == "Elegant (internal)") << "the shipped folders carry no PROGRESSV";
        TBitmap24 pageFace = ExpectedFace("GRADPANEL", *page, {}, kFormColor, false);
        const TParentBackground behind{&pageFace, 0, 0, true};
        const std::string vertical = hasVertical ? "PROGRESSV" : "PROGRESSH";
        for (TsProgressBar* bar : {up, full, plain}) {
            EXPECT_EQ(bar->Look().Turned, !hasVertical);
            EXPECT_EQ(bar->Look().SkinIndex, SectionIndex(vertical));
            ExpectScreen(bar, ExpectedBar(*bar, vertical, !hasVertical, bar == plain ? TParentBackground{} : behind),
                         "vertical");
        }
        ExpectScreen(across, ExpectedBar(*across, "PROGRESSH", false, behind), "horizontal");
    }
}

// ---- track bars -----------------------------------------------------------------

class TrackBarTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        host = new TsPanel(form);
        host->SkinData().SetSkinSection("GRADPANEL");
        host->SetParent(form);
        host->SetBounds(10, 10, 380, 290);
        bar = Add(false, 20, 30);
    }
    TsTrackBar* Add(bool vertical, int left, int top) {
        auto* b = new TsTrackBar(form);
        if (vertical) b->SetOrientation(TTrackBarOrientation::trVertical);
        b->SetParent(host);
        b->SetBounds(left, top, vertical ? 40 : 220, vertical ? 220 : 40);
        b->SetMax(20);
        b->SetFrequency(5);
        b->SetPosition(7);
        b->OnChange = [this](TObject*) { ++changes; };
        return b;
    }
    const TsMaskData& Mask(const char* name) const {
        const int index = Tables().MaskIndexOf(SectionIndex("TRACKBAR"), "TRACKBAR", name);
        EXPECT_TRUE(Tables().IsValidMaskIndex(index)) << name;
        return Tables().Masks[static_cast<std::size_t>(index)];
    }
    static TPoint FrameOf(const TsMaskData& m) { return {m.R.Width() / m.ImageCount, m.R.Height() / (m.MaskType + 1)}; }
    static RECT NativeThumb(TsTrackBar* b) {
        RECT r{};
        SendMessageW(b->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static RECT NativeChannel(TsTrackBar* b) {
        RECT r{};
        SendMessageW(b->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    // The skin's thumb centred on the native thumb.
    TRect Thumb(TsTrackBar* b) const {
        const RECT n = NativeThumb(b);
        const TPoint f = FrameOf(Mask(b->Orientation() == TTrackBarOrientation::trVertical ? "SLIDERVMASK" : "SLIDERMASK"));
        const int cx = (n.left + n.right) / 2, cy = (n.top + n.bottom) / 2;
        return TRect{cx - f.X / 2, cy - f.Y / 2, cx - f.X / 2 + f.X, cy - f.Y / 2 + f.Y};
    }
    POINT ThumbOnScreen(TsTrackBar* b) const {
        const TRect t = Thumb(b);
        return b->ClientToScreen({(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2});
    }
    // The bar as the painting core draws it from the skin's values over the
    // host's face: the section's background, the channel along the native one
    // (turned on a vertical bar), the ticks in the font colour past the thumb,
    // the thumb in state; disabled, all of it blended with the host's face.
    TBitmap24 Expected(TsTrackBar* b, int state) {
        const bool vertical = b->Orientation() == TTrackBarOrientation::trVertical;
        TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
        const TParentBackground behind{&hostFace, 0, 0, true};
        TBitmap24 face = ExpectedFace("TRACKBAR", *b, behind, kFormColor, true);
        const TsSkinTables& t = Tables();
        const RECT channel = NativeChannel(b), native = NativeThumb(b);
        const TsMaskData& groove = Mask("SLIDERCHANNEL");
        const int thickness = FrameOf(groove).Y;
        const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
        const int across = vertical ? (native.left + native.right) / 2 - thickness / 2 : (native.top + native.bottom) / 2 - thickness / 2;
        // Drawn lying down, over what lies under it lying down too.
        TBitmap24 lying(length, thickness);
        for (int y = 0; y < thickness; ++y)
            for (int x = 0; x < length; ++x)
                lying.SetPixel(x, y, vertical ? face.Pixel(across + y, channel.top + x) : face.Pixel(channel.left + x, across + y));
        TBitmap24 under = lying.Clone();
        DrawSkinRect(lying, TRect{0, 0, length, thickness}, true, TParentBackground{&under, 0, 0, true}, 0, t, groove);
        for (int y = 0; y < thickness; ++y)
            for (int x = 0; x < length; ++x) {
                if (vertical) face.SetPixel(across + y, channel.top + x, lying.Pixel(x, y));
                else face.SetPixel(channel.left + x, across + y, lying.Pixel(x, y));
            }
        // Ticks: along a horizontal bar where the native control puts its own
        // (TBM_GETTICPOS) and where the thumb's centre stands at both ends; along
        // a vertical one (Wine answers TBM_GETTICPOS wrongly there) where the
        // thumb's centre stands at each tick's value, rounded to nearest.
        const int thumbLength = vertical ? native.bottom - native.top : native.right - native.left;
        const int start = vertical ? channel.top : channel.left;
        std::vector<int> ticks{start + thumbLength / 2, start + length - thumbLength / 2 - 1};
        const int count = static_cast<int>(SendMessageW(b->Handle(), TBM_GETNUMTICS, 0, 0));
        for (int i = 0; i + 2 < count; ++i) {
            if (!vertical) {
                ticks.push_back(static_cast<int>(SendMessageW(b->Handle(), TBM_GETTICPOS, static_cast<WPARAM>(i), 0)));
                continue;
            }
            const int value = static_cast<int>(SendMessageW(b->Handle(), TBM_GETTIC, static_cast<WPARAM>(i), 0));
            const double share = double(length - thumbLength) * (value - b->Min()) / (b->Max() - b->Min());
            ticks.push_back(start + thumbLength / 2 + static_cast<int>(share + 0.5));
        }
        const TRect thumb = Thumb(b);
        const TColor ink = static_cast<TColor>(Section("TRACKBAR").FontColor[fcText]);
        const int from = vertical ? std::max<int>(thumb.Right, native.right) + 1 : std::max<int>(thumb.Bottom, native.bottom) + 1;
        for (const int at : ticks)
            for (int i = 0; i < 3; ++i) vertical ? face.SetPixel(from + i, at, ink) : face.SetPixel(at, from + i, ink);
        DrawSkinGlyph(face, TPoint{thumb.Left, thumb.Top}, state, t, Mask(vertical ? "SLIDERVMASK" : "SLIDERMASK"), 1);
        if (!b->Enabled()) DisabledLook(face, dkBlended, ColorToRGB(b->Color()), TPoint{b->Left(), b->Top()}, behind);
        return face;
    }
    void Settle() {
        Application().ProcessMessages();
        testing::WaitFadesEnded();
    }

    TsPanel* host = nullptr;
    TsTrackBar* bar = nullptr;
    int changes = 0;
};

TEST_F(TrackBarTest, ThumbShowsNormalHotPressedAndDisabledWhereTheNativeThumbIs) {
    auto* upright = Add(true, 280, 30);
    ShowForm();
    for (TsTrackBar* b : {bar, upright}) {
        SCOPED_TRACE(b == bar ? "horizontal" : "vertical");
        struct Step { const char* what; int action; int state; };
        enum { None, Over, Down, Up, Away, Disable };
        const Step steps[] = {
            {"normal", None, 0}, {"hot", Over, 1}, {"pressed", Down, 2}, {"released", Up, 1},
            {"left", Away, 0}, {"disabled, pointer over it", Disable, 0},
        };
        for (const Step& s : steps) {
            switch (s.action) {
            case Over: MovePointer(ThumbOnScreen(b)); break;
            case Down: PointerButton(true); break;
            case Up: PointerButton(false); break;
            case Away:
                MovePointer({5, 5});
                testing::PumpWhileNot([&] { return b->ThumbState() == 0; });
                break;
            case Disable:
                b->SetEnabled(false);
                MovePointer(ThumbOnScreen(b));
                break;
            }
            Settle();
            EXPECT_EQ(b->ThumbState(), s.state) << s.what;
            ExpectScreen(b, Expected(b, s.state), s.what);
        }
        b->SetEnabled(true);
        MovePointer({5, 5});
        Settle();
    }
    EXPECT_EQ(changes, 0) << "a press and release on the thumb moves nothing";
    // The states really look different, so the steps above could tell them apart.
    std::string ignored;
    EXPECT_GT(Differences(Expected(bar, 0), Expected(bar, 1), ignored), 0);
    EXPECT_GT(Differences(Expected(bar, 1), Expected(bar, 2), ignored), 0);
}

TEST_F(TrackBarTest, DraggingTheThumbMovesThePositionAndTheThumbFollows) {
    auto* upright = Add(true, 280, 30);
    ShowForm();
    struct Case { const char* what; TsTrackBar* b; POINT by; };
    const Case cases[] = {{"right", bar, {60, 0}}, {"down", upright, {0, 45}}, {"back left", bar, {-100, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = c.b->Position();
        const int changesBefore = changes;
        POINT p = ThumbOnScreen(c.b);
        testing::PointerTo(p);
        PointerButton(true);
        for (int i = 1; i <= 5; ++i) testing::PointerTo({p.x + c.by.x * i / 5, p.y + c.by.y * i / 5});
        Settle();
        EXPECT_EQ(c.b->ThumbState(), 2) << "pressed while dragged";
        ExpectScreen(c.b, Expected(c.b, 2), "while dragged");
        PointerButton(false);
        MovePointer({5, 5});
        Settle();
        const int now = static_cast<int>(SendMessageW(c.b->Handle(), TBM_GETPOS, 0, 0));
        EXPECT_EQ(c.b->Position(), now);
        EXPECT_NE(now, before);
        EXPECT_EQ(now > before, c.by.x + c.by.y > 0);
        EXPECT_GT(changes, changesBefore);
        ExpectScreen(c.b, Expected(c.b, 0), "after the drag");
    }
}

TEST_F(TrackBarTest, KeysMoveThePositionAndRaiseOnChange) {
    auto* upright = Add(true, 280, 30);
    ShowForm();
    struct Case { TsTrackBar* b; WORD key; int position; };
    // The native page is a fifth of the range (4 of 0..20).
    const Case cases[] = {
        {bar, VK_RIGHT, 8}, {bar, VK_LEFT, 7}, {bar, VK_NEXT, 11}, {bar, VK_PRIOR, 7}, {bar, VK_END, 20},
        {bar, VK_RIGHT, 20}, {bar, VK_HOME, 0}, {upright, VK_DOWN, 8}, {upright, VK_END, 20}, {upright, VK_UP, 19},
    };
    int expectedChanges = 0;
    TsTrackBar* focused = nullptr;
    for (const Case& c : cases) {
        if (focused != c.b) {
            c.b->SetFocus();
            focused = c.b;
        }
        const int before = c.b->Position();
        Key(c.key, true);
        Key(c.key, false);
        Settle();
        EXPECT_EQ(c.b->Position(), c.position) << "key " << c.key;
        if (c.position != before) ++expectedChanges;
        EXPECT_EQ(changes, expectedChanges) << "key " << c.key;
        ExpectScreen(c.b, Expected(c.b, 0), "after key " + std::to_string(c.key));
    }
}

// The old look keeps weight 255 - level x 256 / iterations (at least 0) in each frame.
TBitmap24 FadeFrame(const TBitmap24& from, const TBitmap24& to, int level, int iterations) {
    const int a = std::max(0, 255 - level * 256 / iterations);
    TBitmap24 frame(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y)
        for (int i = 0; i < from.Width() * 3; ++i)
            frame.ScanLine(y)[i] =
                static_cast<std::uint8_t>((from.ScanLine(y)[i] * a + to.ScanLine(y)[i] * (255 - a) + 127) >> 8);
    return frame;
}

TEST_F(TrackBarTest, TheThumbFadesToItsHotLookWhereTheSectionFadesAndTheEventMayAnimate) {
    std::vector<TBitmap24> frames;
    bar->HookWindowProc(this, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_FADEFRAME)
            frames.push_back(reinterpret_cast<TBitmap24*>(m.LParam)->Clone());
        next(m);
    });
    struct TUnhook {
        TsTrackBar* bar;
        const void* owner;
        ~TUnhook() { bar->UnhookWindowProc(owner); }
    } unhook{bar, this};
    ShowForm();
    const int iterations = Section("TRACKBAR").FadingIterations;
    ASSERT_TRUE(Section("TRACKBAR").FadingEnabled);
    ASSERT_GT(iterations, 1);
    const TBitmap24 from = CaptureControl(*bar);
    MovePointer(ThumbOnScreen(bar));
    ASSERT_TRUE(testing::PumpUntil([&] { return static_cast<int>(frames.size()) >= iterations && !bar->FadeTimer(); },
                                   "the fade's frames and its end"));
    const TBitmap24 to = Expected(bar, 1);
    ASSERT_EQ(static_cast<int>(frames.size()), iterations);
    std::string where;
    for (int level = 1; level <= iterations; ++level)
        EXPECT_EQ(Differences(frames[static_cast<std::size_t>(level - 1)], FadeFrame(from, to, level, iterations), where), 0)
            << "frame " << level << where;
    ExpectScreen(bar, to, "hot after the fade");
    // Leaving may not animate: the normal look returns at once, without frames.
    bar->SetAnimatEvents(aeMouseEnter);
    frames.clear();
    MovePointer({5, 5});
    testing::PumpWhileNot([&] { return bar->ThumbState() == 0; });
    EXPECT_EQ(bar->FadeTimer(), nullptr);
    EXPECT_TRUE(frames.empty());
    ExpectScreen(bar, Expected(bar, 0), "normal at once");
}

TEST_F(TrackBarTest, FocusShowsDotsAroundTheBarOnlyWhereTheSectionAsksForThem) {
    std::vector<std::string> sections = testing::TestSections();
    for (const char* line : {"[FOCUSTRACK]", "PARENTCLASS=TRACKBAR", "SHOWFOCUS=TRUE"}) sections.push_back(line);
    manager->SetCommonSections(sections);
    manager->SetSkinName("Elegant (internal)");
    auto* shows = Add(false, 20, 100);
    shows->SkinData().SetSkinSection("FOCUSTRACK");
    ShowForm();
    ASSERT_FALSE(Section("TRACKBAR").ShowFocus);
    for (TsTrackBar* b : {bar, shows}) {
        b->SetFocus();
        Settle();
        ASSERT_TRUE(b->Focused());
        TBitmap24 expected = Expected(b, 0);
        if (b == shows) {
            TCacheDC dc(expected);
            TGdiTextCanvas canvas(dc.Handle(), b->Font().Handle(), ColorToRGB(b->Font().Color()));
            DrawDottedFrame(canvas, TRect{0, 0, b->Width(), b->Height()});
        }
        ExpectScreen(b, expected, b == shows ? "focused, with dots" : "focused, no dots");
    }
    ::SetFocus(form->Handle());
    Settle();
    ExpectScreen(shows, Expected(shows, 0), "the dots go with the focus");
}

// ---- without the skin -------------------------------------------------------------

TEST_F(TrackBarTest, WithoutTheSkinOrTheSectionTheNativeControlsPaintAndStillWork) {
    auto* progress = new TsProgressBar(form);
    progress->SetParent(host);
    progress->SetBounds(20, 120, 200, 17);
    progress->SetPosition(60);
    auto* noSection = Add(false, 20, 180);
    noSection->SkinData().SetSkinSection("NOSUCHSECTION");
    ShowForm();
    std::string ignored;
    const TBitmap24 skinned = Expected(bar, 0);
    EXPECT_EQ(Differences(CaptureControl(*bar), skinned, ignored), 0) << "skinned first";
    EXPECT_NE(Differences(CaptureControl(*noSection), Expected(noSection, 0), ignored), 0) << "no section: native";
    manager->SetActive(false);
    ShowForm();
    EXPECT_EQ(progress->Look().SkinIndex, -1);
    EXPECT_FALSE(bar->SkinData().IsSkinned(false));
    // The native progress bar fills in the system's highlight colour.
    const TBitmap24 shot = CaptureControl(*progress);
    const TColor fill = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(shot.Pixel(30, progress->Height() / 2), fill);
    EXPECT_NE(shot.Pixel(progress->Width() - 20, progress->Height() / 2), fill);
    EXPECT_NE(Differences(CaptureControl(*bar), skinned, ignored), 0);
    // Keys and the drag stay the native control's.
    for (TsTrackBar* b : {bar, noSection}) {
        b->SetFocus();
        const int before = changes;
        Key(VK_RIGHT, true);
        Key(VK_RIGHT, false);
        Application().ProcessMessages();
        EXPECT_EQ(b->Position(), 8);
        EXPECT_EQ(changes, before + 1);
    }
    // And the skin comes back.
    manager->SetActive(true);
    ShowForm();
    ExpectScreen(bar, Expected(bar, 0), "skinned again");
}

// ---- soak -------------------------------------------------------------------------

TEST_F(TrackBarTest, SoakOfHoverSkinChangesAndNewBarsLeavesCountsFlat) {
    manager->SetSkinDirectory(testing::SourcePath("skins"));
    std::vector<std::string> skins;
    for (const testing::TListedSkin& skin : testing::ListedSkins()) skins.push_back(skin.Name);
    ShowForm();
    const auto round = [&](int i) {
        auto* progress = new TsProgressBar(form);
        progress->SetParent(host);
        progress->SetBounds(20, 120, 17, 100);
        progress->SetOrientation(TProgressBarOrientation::pbVertical);
        progress->SetPosition(i * 13 % 101);
        auto* extra = Add(i % 2 == 1, 60, 120);
        Application().ProcessMessages();
        MovePointer(ThumbOnScreen(bar));
        Application().ProcessMessages();
        MovePointer(ThumbOnScreen(extra));
        Application().ProcessMessages();
        MovePointer({5, 5});
        manager->SetSkinName(skins[static_cast<std::size_t>(i) % skins.size()]);
        Application().ProcessMessages();
        delete extra;
        delete progress;
        Application().ProcessMessages();
    };
    for (int i = 0; i < 6; ++i) round(i);   // every skin's tables and caches made once
    manager->SetSkinName(skins.front());
    Settle();
    testing::Pump(200);
    const testing::TCounts before = testing::Count();
    for (int i = 0; i < 30; ++i) round(i);
    manager->SetSkinName(skins.front());
    Settle();
    testing::Pump(200);
    const testing::TCounts after = testing::Count();
    testing::PrintCounts("progress and track bars", before, after);
    testing::ExpectSameCounts(before, after);
    EXPECT_LT(after.PrivateBytes, before.PrivateBytes + 2 * 1024 * 1024) << "memory grows with every round";
}

// ---- the framework's controls -------------------------------------------------------

TEST(RangeControls, StoredDefinitionClampingAndStepping) {
    RegisterGaugeClasses();
    TForm form(nullptr);
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object plain: TsProgressBar\n"
        "  end\n"
        "  object early: TsProgressBar\n"
        "    Position = 150\n"
        "    Max = 200\n"
        "    Step = 60\n"
        "    Orientation = pbVertical\n"
        "  end\n"
        "  object track: TsTrackBar\n"
        "    Min = -5\n"
        "    Max = 5\n"
        "    Position = 9\n"
        "    Frequency = 2\n"
        "    Orientation = trVertical\n"
        "    SkinData.SkinSection = 'MYTRACK'\n"
        "  end\n"
        "end\n");
    auto* plain = dynamic_cast<TsProgressBar*>(form.FindComponent("plain"));
    auto* early = dynamic_cast<TsProgressBar*>(form.FindComponent("early"));
    auto* track = dynamic_cast<TsTrackBar*>(form.FindComponent("track"));
    ASSERT_TRUE(plain && early && track);
    EXPECT_EQ(plain->Min(), 0);
    EXPECT_EQ(plain->Max(), 100);
    EXPECT_EQ(plain->Position(), 0);
    EXPECT_EQ(plain->Step(), 10);
    EXPECT_EQ(plain->SkinData().SkinSection(), "PROGRESSH");
    EXPECT_EQ(plain->SkinData().ControlCode, ccGauge);
    EXPECT_EQ(early->Position(), 150) << "given before its range, kept once the range is read";
    EXPECT_EQ(early->SkinData().SkinSection(), "PROGRESSV");
    EXPECT_EQ(track->Position(), 5) << "clamped into the range once read";
    EXPECT_EQ(track->Frequency(), 2);
    EXPECT_EQ(track->Orientation(), TTrackBarOrientation::trVertical);
    EXPECT_EQ(track->SkinData().SkinSection(), "MYTRACK");
    EXPECT_EQ(track->SkinData().ControlCode, ccTrackBar);
    TsTrackBar defaults(nullptr);
    EXPECT_EQ(defaults.SkinData().SkinSection(), "TRACKBAR");
    // StepIt moves by Step and starts again from Min past Max, step for step
    // with a native progress bar of the same range and step.
    early->HandleNeeded();   // the common controls' classes are there once a bar has its window
    HWND native = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_POPUP, 0, 0, 100, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(native, nullptr);
    struct Stepping { int min, max, step, from; };
    const Stepping runs[] = {{0, 200, 60, 150}, {3, 7, 2, 3}, {-10, 10, -7, 5}};
    for (const Stepping& r : runs) {
        early->SetMin(r.min);
        early->SetMax(r.max);
        early->SetStep(r.step);
        early->SetPosition(r.from);
        SendMessageW(native, PBM_SETRANGE32, static_cast<WPARAM>(r.min), r.max);
        SendMessageW(native, PBM_SETSTEP, static_cast<WPARAM>(r.step), 0);
        SendMessageW(native, PBM_SETPOS, static_cast<WPARAM>(r.from), 0);
        for (int i = 0; i < 8; ++i) {
            early->StepIt();
            SendMessageW(native, PBM_STEPIT, 0, 0);
            EXPECT_EQ(early->Position(), SendMessageW(native, PBM_GETPOS, 0, 0)) << r.min << ".." << r.max << " step " << i;
        }
    }
    DestroyWindow(native);
    // A section the program chose stays when the orientation changes; the default one follows.
    plain->SetOrientation(TProgressBarOrientation::pbVertical);
    EXPECT_EQ(plain->SkinData().SkinSection(), "PROGRESSV");
    plain->SkinData().SetSkinSection("GAUGE");
    plain->SetOrientation(TProgressBarOrientation::pbHorizontal);
    EXPECT_EQ(plain->SkinData().SkinSection(), "GAUGE");
    // The rule for a table of ranges, and the fill's place inside a frame's widths.
    struct Fill { int min, max, position, length, filled; };
    const Fill fills[] = {{0, 100, 37, 200, 74}, {3, 7, 4, 99, 24}, {3, 7, 9, 99, 99}, {3, 7, -1, 99, 0},
                          {5, 5, 5, 50, 0}, {0, 3, 1, 10, 3}, {-10, 10, 0, 7, 3}};
    for (const Fill& f : fills) EXPECT_EQ(FilledLength(f.min, f.max, f.position, f.length), f.filled);
    TsMaskData frame;
    frame.WL = 2, frame.WT = 1, frame.WR = 3, frame.WB = 4;
    const TRect area = FillArea(TRect{0, 0, 50, 20}, &frame);
    EXPECT_EQ(area.Left, 2);
    EXPECT_EQ(area.Bottom, 16);
    const TRect up = FilledPart(area, 0, 10, 5, true);
    EXPECT_EQ(up.Top, 16 - 7);   // half of 15 rows, from the bottom
    const TRect across = FilledPart(area, 0, 10, 5, false, true);
    EXPECT_EQ(across.Left, 47 - 22);   // half of 45 columns, from the right end
}

}  // namespace
}  // namespace korvel
