// The skinned memo and list box: the engine's skinned scroll bars standing
// over the native ones and following every kind of native scrolling (the real
// wheel, real keys, real clicks on the skinned arrows and track, a real drag of
// the thumb, typing past the bottom, adding items), each step checked against
// the native scroll information and the thumb's pixels composed by the painting
// core where the scroll metrics rule puts it; the faces against the painting
// core; the native bars back without the skin; and a soak.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/list_box.h"
#include "controls/memo.h"
#include "controls/scroll_bar.h"
#include "live_counts_support.h"
#include "paint/scroll_metrics.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::Differences;
using testing::kFormColor;
using testing::MovePointer;
using testing::PumpWhileNot;

// The native bar's scroll information.
SCROLLINFO NativeInfo(HWND window, bool vertical) {
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window, vertical ? SB_VERT : SB_HORZ, &info);
    return info;
}

// The highest position the native control scrolls to: the last page's first row.
int LastPosition(const SCROLLINFO& info) { return info.nMax - std::max(static_cast<int>(info.nPage) - 1, 0); }

// The native bar's rectangle on the screen, as the system reports it. With both
// bars Wine reports each one pixel into the square between them (the square is
// the frame's): the bar ends where the other begins.
RECT NativeBarOnScreen(HWND window, bool vertical) {
    const auto reported = [window](bool v) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        GetScrollBarInfo(window, v ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
        return info;
    };
    const SCROLLBARINFO own = reported(vertical), other = reported(!vertical);
    RECT r = own.rcScrollBar;
    if (!(other.rgstate[0] & STATE_SYSTEM_INVISIBLE) && !IsRectEmpty(&other.rcScrollBar)) {
        if (vertical) r.bottom = std::min(r.bottom, other.rcScrollBar.top);
        else r.right = std::min(r.right, other.rcScrollBar.left);
    }
    return r;
}

RECT ClientOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

bool HasNativeBar(HWND window, bool vertical) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & (vertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

void Wheel(int notches) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(-notches * WHEEL_DELTA);
    SendInput(1, &input, sizeof input);
    Application().ProcessMessages();
}

void Chord(WORD key, bool control = false) {
    if (control) testing::Key(VK_CONTROL, true);
    testing::Key(key, true);
    testing::Key(key, false);
    if (control) testing::Key(VK_CONTROL, false);
    Application().ProcessMessages();
}

// The thumb's place along a skinned bar standing over a native one, worked out
// by the scroll metrics rule from the native scroll information alone.
struct TThumbRule {
    TScrollGeometry Geometry;
    int Arrow, Length, Start;
};

TThumbRule ThumbRuleOf(HWND window, bool vertical) {
    const SCROLLINFO info = NativeInfo(window, vertical);
    const RECT bar = NativeBarOnScreen(window, vertical);
    const int along = vertical ? bar.bottom - bar.top : bar.right - bar.left;
    const int last = LastPosition(info);
    const bool scrolls = info.nMin < last;
    TScrollGeometry g{along, GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), info.nMin,
                      scrolls ? last : info.nMin, scrolls ? info.nPos : info.nMin, static_cast<int>(info.nPage),
                      scrolls && IsWindowEnabled(window)};
    const int length = ScrollThumbLength(g);
    return {g, ScrollButtonLength(g), length, ScrollThumbCentre(g) - length / 2};
}

class TextListsTest : public testing::SkinnedControlTest {
protected:
    TsMemo* AddMemo(int left, int top, int width, int height, int lines) {
        auto* m = new TsMemo(form);
        m->SetScrollBars(TScrollStyle::ssBoth);
        m->SetWordWrap(false);
        m->SetBounds(left, top, width, height);
        m->SetParent(form);
        std::vector<std::string> text;
        for (int i = 1; i <= lines; ++i)
            text.push_back("Line " + std::to_string(i) + (i % 4 == 0 ? std::string(60, 'w') : std::string()));
        m->Lines().Assign(text);
        return m;
    }
    TsListBox* AddList(int left, int top, int width, int height, int items) {
        auto* b = new TsListBox(form);
        b->SetBounds(left, top, width, height);
        b->SetParent(form);
        for (int i = 1; i <= items; ++i) b->Items().Add("Item " + std::to_string(i));
        return b;
    }

    // What lies under a skinned bar: the control's face as the painting core composes it.
    TBitmap24 FaceOf(TWinControl* c, const std::string& section) {
        const int state = GetFocus() == c->Handle() ? 1 : 0;
        return ExpectedFace(section, *c, {}, kFormColor, false, state);
    }

    // The skinned bar as the rule composes it over the control's face: the track
    // halves split at the thumb's centre, the arrow buttons with their glyphs, the
    // thumb where the rule puts it for the native position; every part normal.
    TBitmap24 ExpectedBar(TWinControl* host, bool vertical, const TBitmap24& face) {
        const TsSkinTables& t = Tables();
        const TsCachedIndexes& ci = t.CachedIndexes;
        const TThumbRule rule = ThumbRuleOf(host->Handle(), vertical);
        RECT screen = NativeBarOnScreen(host->Handle(), vertical);
        RECT window{};
        GetWindowRect(host->Handle(), &window);
        const int bx = screen.left - window.left, by = screen.top - window.top;   // in the control's window
        const int w = screen.right - screen.left, h = screen.bottom - screen.top;
        const int across = vertical ? w : h, along = rule.Geometry.Along;
        const auto span = [&](int from, int to) { return vertical ? TRect{0, from, across, to} : TRect{from, 0, to, across}; };
        const int centre = rule.Start + rule.Length / 2;
        TBitmap24 out(w, h);
        const TParentBackground behind{const_cast<TBitmap24*>(&face), -host->Left(), -host->Top(), true};
        const TPoint origin{host->Left() + bx, host->Top() + by};
        const TRect halves[2] = {span(0, centre), span(centre, along)};
        for (int i = 0; i < 2; ++i) {
            const TsScrollPartIndexes& idx = ci.ScrollBars[vertical ? (i ? sb2V : sb1V) : (i ? sb2H : sb1H)];
            if (halves[i].Width() > 0 && halves[i].Height() > 0)
                PaintSection(idx.SkinIndex, behind, &t, out, {origin.X + halves[i].Left, origin.Y + halves[i].Top}, halves[i], 0,
                             true, idx.Pattern, idx.HotPattern, idx.BordersMask);
        }
        const auto layer = [&](const TsScrollPartIndexes& idx, TRect at) {
            TParentBackground below{&out, 0, 0, true};
            TBitmap24 part(at.Width(), at.Height());
            PaintSection(idx.SkinIndex, below, &t, part, {at.Left, at.Top}, {0, 0, at.Width(), at.Height()}, 0, true,
                         idx.Pattern, idx.HotPattern, idx.BordersMask);
            for (int y = 0; y < part.Height(); ++y)
                for (int x = 0; x < part.Width(); ++x) out.SetPixel(at.Left + x, at.Top + y, part.Pixel(x, y));
            const TsMaskData& g = t.Masks.at(static_cast<std::size_t>(idx.GlyphMask));
            const int gw = g.R.Width() / g.ImageCount, gh = g.R.Height() / (g.MaskType + 1);
            DrawSkinGlyph(out, {at.Left + (at.Width() - gw) / 2, at.Top + (at.Height() - gh) / 2}, 0, t, g, 1);
        };
        layer(ci.ScrollButtons[vertical ? sbTop : sbLeft], span(0, rule.Arrow));
        layer(ci.ScrollButtons[vertical ? sbBottom : sbRight], span(along - rule.Arrow, along));
        if (along - 2 * rule.Arrow >= rule.Length) layer(ci.ScrollSliders[vertical ? ssVertical : ssHorizontal], span(rule.Start, rule.Start + rule.Length));
        return out;
    }

    // Each native bar of the control is covered by a skinned bar exactly, never
    // over the text; the skinned bar stands where the native one is (range, page,
    // position) and shows its thumb where the rule puts it for the native position.
    void ExpectBarsFollow(TWinControl* host, const TsControlScrollBars& bars, const std::string& section,
                          const std::string& what) {
        MovePointer({5, 5});   // every part of the bar in its normal state
        HWND h = host->Handle();
        const RECT client = ClientOnScreen(h);
        for (bool vertical : {true, false}) {
            if (!HasNativeBar(h, vertical)) continue;
            const std::string which = what + (vertical ? " (vertical)" : " (horizontal)");
            TsScrollBar* bar = bars.ShownBar(vertical);
            ASSERT_NE(bar, nullptr) << which;
            const RECT native = NativeBarOnScreen(h, vertical);
            const RECT shown = testing::ScreenRectOf(bar);
            EXPECT_TRUE(EqualRect(&shown, &native)) << which << ": the skinned bar covers the native one exactly: "
                                                    << Describe(shown) << " over " << Describe(native);
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &shown, &client)) << which << ": the text area is never covered";
            const SCROLLINFO info = NativeInfo(h, vertical);
            const bool scrolls = info.nMin < LastPosition(info);
            EXPECT_EQ(bar->Enabled(), scrolls && host->Enabled()) << which;
            if (scrolls) {
                EXPECT_EQ(bar->Position(), info.nPos) << which;
                EXPECT_EQ(bar->Max(), LastPosition(info)) << which;
                EXPECT_EQ(bar->PageSize(), static_cast<int>(info.nPage)) << which;
            }
            if (!bar->Enabled()) continue;
            const TBitmap24 expected = ExpectedBar(host, vertical, FaceOf(host, section));
            PumpWhileNot([&] {
                std::string ignored;
                return Differences(testing::CaptureScreen(shown), expected, ignored) == 0;
            });
            std::string where;
            if (auto* m = dynamic_cast<TsMemo*>(host); m && m->SkinData.CacheBmp()) {
                const TBitmap24 f = FaceOf(host, section);
                RECT wr{};
                GetWindowRect(h, &wr);
                const int fx = shown.left - wr.left, fy = shown.top - wr.top;
                where += " cache " + testing::Hex(m->SkinData.CacheBmp()->Pixel(fx, fy)) + " face " + testing::Hex(f.Pixel(fx, fy));
            }
            EXPECT_EQ(Differences(testing::CaptureScreen(shown), expected, where), 0)
                << which << ": thumb at " << ThumbRuleOf(h, vertical).Start << " for position " << info.nPos << where;
        }
    }

    // A real press on a point of a skinned bar, given along the bar.
    static POINT OnBar(TsScrollBar* bar, int along) {
        const RECT r = testing::ScreenRectOf(bar);
        return bar->Kind() == sbVertical ? POINT{(r.left + r.right) / 2, r.top + along} : POINT{r.left + along, (r.top + r.bottom) / 2};
    }
    static void ClickOn(POINT p) {
        MovePointer(p);
        testing::PointerButton(true);
        testing::PointerButton(false);
    }
    static void Drag(POINT from, POINT to) {
        MovePointer(from);
        testing::PointerButton(true);
        MovePointer(to);
        testing::PointerButton(false);
    }
};

// One scroll action: what the user does, and the native position it must lead
// to, worked out from the position before (and the native information) by the rule.
struct TScrollStep {
    const char* What;
    bool Vertical;
    std::function<void()> Act;
    std::function<int(const SCROLLINFO& before)> Expected;   // nullptr: moved, wherever the control stops
    // The range grows with the action (typed rows, added items): the rule reads
    // the new range with the old position; else it is worked out before the action.
    bool RangeGrows = false;
};

TEST_F(TextListsTest, SkinnedBarsFollowEveryKindOfNativeScrolling) {
    TsMemo* memo = AddMemo(16, 16, 220, 150, 60);
    TsListBox* list = AddList(260, 16, 130, 150, 40);
    ShowForm();
    UINT wheelLines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
    const auto memoBar = [memo](bool vertical) { return memo->SkinnedScrollBars().ShownBar(vertical); };
    const auto listBar = [list] { return list->SkinnedScrollBars().ShownBar(true); };
    const auto clamp = [](const SCROLLINFO& i, int p) { return std::clamp(p, i.nMin, LastPosition(i)); };
    const auto focusOn = [](TWinControl* c) {
        c->SetFocus();
        Application().ProcessMessages();
    };
    // The thumb's drag target: the rule's point-to-position of the new point, less the grab's offset.
    const auto dragged = [](HWND h, bool vertical, int by) {
        const TThumbRule r = ThumbRuleOf(h, vertical);
        const int grab = r.Start + r.Length / 2;
        return r.Geometry.Position + ScrollPointToPosition(r.Geometry, grab + by) - ScrollPointToPosition(r.Geometry, grab);
    };
    const auto dragThumb = [&](TsScrollBar* bar, HWND h, bool vertical, int by) {
        const TThumbRule r = ThumbRuleOf(h, vertical);
        const int grab = r.Start + r.Length / 2;
        Drag(OnBar(bar, grab), OnBar(bar, grab + by));
    };

    const TScrollStep memoSteps[] = {
        {"wheel one notch down", true,
         [&] { focusOn(memo); MovePointer(Center(memo)); Wheel(1); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + static_cast<int>(wheelLines)); }},
        {"wheel one notch up", true, [&] { MovePointer(Center(memo)); Wheel(-1); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos - static_cast<int>(wheelLines)); }},
        {"Page Down", true, [&] { focusOn(memo); Chord(VK_NEXT); }, nullptr},
        {"Ctrl+End", true, [&] { Chord(VK_END, true); }, [](const SCROLLINFO& i) { return LastPosition(i); }},
        {"Ctrl+Home", true, [&] { Chord(VK_HOME, true); }, [](const SCROLLINFO& i) { return i.nMin; }},
        {"click on the skinned down arrow", true,
         [&] { ClickOn(OnBar(memoBar(true), memoBar(true)->Height() - 3)); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + 1); }},
        {"click on the skinned up arrow", true, [&] { ClickOn(OnBar(memoBar(true), 3)); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos - 1); }},
        {"click on the track below the thumb", true,
         [&] { ClickOn(OnBar(memoBar(true), memoBar(true)->Height() - ThumbRuleOf(memo->Handle(), true).Arrow - 2)); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + static_cast<int>(i.nPage)); }},
        {"drag of the thumb 30 pixels down", true,
         [&] { dragThumb(memoBar(true), memo->Handle(), true, 30); },
         [&](const SCROLLINFO& i) { return clamp(i, dragged(memo->Handle(), true, 30)); }},
        {"drag of the thumb 12 pixels up", true,
         [&] { dragThumb(memoBar(true), memo->Handle(), true, -12); },
         [&](const SCROLLINFO& i) { return clamp(i, dragged(memo->Handle(), true, -12)); }},
        {"typing past the bottom", true,
         [&] {
             focusOn(memo);
             Chord(VK_END, true);
             for (int n = 0; n < 4; ++n) Chord(VK_RETURN);
             Chord('X');
         },
         // Four new rows below the last: the view follows the caret to the new end.
         [&](const SCROLLINFO& i) { return LastPosition(i); }, true},
        {"click on the skinned right arrow", false,
         [&] { ClickOn(OnBar(memoBar(false), memoBar(false)->Width() - 3)); }, nullptr},
        {"drag of the horizontal thumb 40 pixels right", false,
         [&] { dragThumb(memoBar(false), memo->Handle(), false, 40); },
         [&](const SCROLLINFO& i) { return clamp(i, dragged(memo->Handle(), false, 40)); }},
        {"Ctrl+Home back to the start", false, [&] { focusOn(memo); Chord(VK_HOME, true); },
         [](const SCROLLINFO& i) { return i.nMin; }},
    };
    const TScrollStep listSteps[] = {
        {"wheel one notch down", true, [&] { focusOn(list); MovePointer(Center(list)); Wheel(1); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + static_cast<int>(wheelLines)); }},
        {"Page Down", true, [&] { focusOn(list); Chord(VK_NEXT); }, nullptr},
        {"End", true, [&] { Chord(VK_END); }, [](const SCROLLINFO& i) { return LastPosition(i); }},
        {"Home", true, [&] { Chord(VK_HOME); }, [](const SCROLLINFO& i) { return i.nMin; }},
        {"click on the skinned down arrow", true, [&] { ClickOn(OnBar(listBar(), listBar()->Height() - 3)); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + 1); }},
        {"click on the track below the thumb", true,
         [&] { ClickOn(OnBar(listBar(), listBar()->Height() - ThumbRuleOf(list->Handle(), true).Arrow - 2)); },
         [&](const SCROLLINFO& i) { return clamp(i, i.nPos + static_cast<int>(i.nPage)); }},
        {"drag of the thumb 25 pixels down", true, [&] { dragThumb(listBar(), list->Handle(), true, 25); },
         [&](const SCROLLINFO& i) { return clamp(i, dragged(list->Handle(), true, 25)); }},
        {"adding 20 items", true,
         [&] {
             for (int i = 0; i < 20; ++i) list->Items().Add("Added " + std::to_string(i));
             Application().ProcessMessages();
         },
         [](const SCROLLINFO& i) { return i.nPos; }, true},
        {"Ctrl+End after adding", true, [&] { focusOn(list); Chord(VK_END, true); },
         [](const SCROLLINFO& i) { return LastPosition(i); }},
    };
    const auto run = [&](TWinControl* host, const TsControlScrollBars& bars, const std::string& section,
                         const char* name, const auto& steps) {
        ExpectBarsFollow(host, bars, section, std::string(name) + " at the start");
        for (const TScrollStep& step : steps) {
            const std::string what = std::string(name) + ": " + step.What;
            const SCROLLINFO before = NativeInfo(host->Handle(), step.Vertical);
            const int predicted = step.Expected && !step.RangeGrows ? step.Expected(before) : 0;
            step.Act();
            const SCROLLINFO after = NativeInfo(host->Handle(), step.Vertical);
            if (step.Expected) {
                SCROLLINFO grown = after;
                grown.nPos = before.nPos;
                EXPECT_EQ(after.nPos, step.RangeGrows ? step.Expected(grown) : predicted) << what;
            } else {
                EXPECT_NE(after.nPos, before.nPos) << what << ": the control scrolled";
            }
            ExpectBarsFollow(host, bars, section, what);
        }
    };
    run(memo, memo->SkinnedScrollBars(), "EDIT", "memo", memoSteps);
    run(list, list->SkinnedScrollBars(), "EDIT", "list box", listSteps);
}

// The frame around the native client area and the corner between the bars are
// the section's face; the client area is the section's colour; a list box's
// rows are the face's colours and its selected row the skin's selection colours,
// else the system's highlight. A skin with a LISTBOX section gives the list box its face.
TEST_F(TextListsTest, FacesComeFromTheSectionsAndSelectedRowsFromTheSelectionColours) {
    TsMemo* memo = AddMemo(16, 16, 220, 150, 60);
    TsListBox* list = AddList(260, 16, 130, 150, 40);
    list->SetItemIndex(2);
    struct TCase {
        const char* What;
        std::vector<std::string> Sections;
        const char* ListSection;
        bool OwnSelection;
    };
    const TColor listColour = 0x00C0E0F0, selectionBack = 0x00603010, selectionText = 0x0010F0E0;
    const TCase cases[] = {
        {"the internal skin", {}, "EDIT", false},
        {"with LISTBOX and SELECTION sections",
         {"[LISTBOX]", "PARENTCLASS=EDIT", "COLOR=" + std::to_string(listColour), "FONTCOLOR=128",
          "[SELECTION]", "COLOR=" + std::to_string(selectionBack), "FONTCOLOR=" + std::to_string(selectionText)},
         "LISTBOX", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> sections = testing::TestSections();
        sections.insert(sections.end(), c.Sections.begin(), c.Sections.end());
        manager->SetCommonSections(sections);
        ShowForm();
        EXPECT_EQ(list->SkinData.SkinSection(), c.ListSection);
        for (auto [host, section] : {std::pair<TWinControl*, std::string>{memo, "EDIT"}, {list, c.ListSection}}) {
            const TBitmap24 face = ExpectedFace(section, *host, {}, kFormColor, false, 0);
            HWND h = host->Handle();
            RECT window{};
            GetWindowRect(h, &window);
            RECT client = ClientOnScreen(h);
            OffsetRect(&client, -window.left, -window.top);
            RECT bars[2] = {NativeBarOnScreen(h, true), NativeBarOnScreen(h, false)};
            for (RECT& b : bars) OffsetRect(&b, -window.left, -window.top);
            const auto frame = [&](int x, int y) {
                const POINT p{x, y};
                return !PtInRect(&client, p) && !(HasNativeBar(h, true) && PtInRect(&bars[0], p)) &&
                       !(HasNativeBar(h, false) && PtInRect(&bars[1], p));
            };
            PumpWhileNot([&] {
                const TBitmap24 shot = testing::CaptureScreen(testing::ScreenRectOf(host));
                for (int y = 0; y < shot.Height(); ++y)
                    for (int x = 0; x < shot.Width(); ++x)
                        if (frame(x, y) && shot.Pixel(x, y) != face.Pixel(x, y)) return false;
                return true;
            });
            const TBitmap24 shot = testing::CaptureScreen(testing::ScreenRectOf(host));
            int wrong = 0, counted = 0;
            for (int y = 0; y < shot.Height(); ++y) {
                for (int x = 0; x < shot.Width(); ++x) {
                    if (!frame(x, y)) continue;
                    ++counted;
                    if (shot.Pixel(x, y) != face.Pixel(x, y) && wrong++ < 3)
                        ADD_FAILURE() << section << " frame pixel " << x << "," << y << ": " << testing::Hex(shot.Pixel(x, y))
                                      << " not " << testing::Hex(face.Pixel(x, y));
                }
            }
            EXPECT_EQ(wrong, 0) << section;
            // Frame all round plus the corner square between the memo's two bars.
            EXPECT_GE(counted, 2 * (shot.Width() + shot.Height()) * 2 - 16) << section;
            // The client's right edge on the first row: no text there, the section's colour.
            const TColor back = ColorToRGB(Section(section).Color);
            EXPECT_EQ(shot.Pixel(client.right - 2, client.top + 4), back) << section << " client background";
        }
        // The list box's rows: the third selected, in the skin's selection colours (else the system's).
        RECT row{};
        SendMessageW(list->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
        RECT plain{};
        SendMessageW(list->Handle(), LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&plain));
        const TBitmap24 rows = testing::CaptureScreen(ClientOnScreen(list->Handle()));
        const COLORREF wantBack = c.OwnSelection ? selectionBack : GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF wantText = c.OwnSelection ? selectionText : GetSysColor(COLOR_HIGHLIGHTTEXT);
        EXPECT_EQ(rows.Pixel(row.right - 3, (row.top + row.bottom) / 2), wantBack) << "selected row's background";
        EXPECT_EQ(rows.Pixel(plain.right - 3, (plain.top + plain.bottom) / 2), ColorToRGB(Section(c.ListSection).Color))
            << "a plain row's background";
        // The selected row's text is written in the selection's text colour.
        bool textSeen = false;
        for (int y = row.top; y < row.bottom && !textSeen; ++y)
            for (int x = row.left; x < row.left + 30 && !textSeen; ++x) textSeen = rows.Pixel(x, y) == wantText;
        EXPECT_TRUE(textSeen) << "selected row's text colour " << testing::Hex(wantText);
    }
}

// Without the skin the controls are the plain native ones: their own scroll
// bars on the screen, under the pointer and working; with it back, the skinned
// bars stand over them again and follow.
TEST_F(TextListsTest, WithoutTheSkinTheNativeBarsAreBackAndWork) {
    TsMemo* memo = AddMemo(16, 16, 220, 150, 60);
    TsListBox* list = AddList(260, 16, 130, 150, 40);
    ShowForm();
    ASSERT_NE(memo->SkinnedScrollBars().ShownBar(true), nullptr);
    manager->SetActive(false);
    Application().ProcessMessages();
    for (TWinControl* host : {static_cast<TWinControl*>(memo), static_cast<TWinControl*>(list)}) {
        const auto& bars = host == memo ? memo->SkinnedScrollBars() : list->SkinnedScrollBars();
        for (bool vertical : {true, false}) {
            if (!HasNativeBar(host->Handle(), vertical)) continue;
            EXPECT_EQ(bars.ShownBar(vertical), nullptr);
            const RECT native = NativeBarOnScreen(host->Handle(), vertical);
            const POINT middle{(native.left + native.right) / 2, (native.top + native.bottom) / 2};
            EXPECT_EQ(WindowFromPoint(middle), host->Handle()) << "the native bar is under the pointer";
        }
        // A real click on the native down arrow scrolls one row. Press and release go
        // in one batch: the native bar tracks the press in a loop of its own until the release.
        const RECT native = NativeBarOnScreen(host->Handle(), true);
        const int before = NativeInfo(host->Handle(), true).nPos;
        MovePointer({(native.left + native.right) / 2, native.bottom - 3});
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        Application().ProcessMessages();
        PumpWhileNot([&] { return NativeInfo(host->Handle(), true).nPos != before; });
        EXPECT_EQ(NativeInfo(host->Handle(), true).nPos, before + 1) << host->ClassName();
    }
    manager->SetActive(true);
    ShowForm();
    ExpectBarsFollow(memo, memo->SkinnedScrollBars(), "EDIT", "memo with the skin back");
    ExpectBarsFollow(list, list->SkinnedScrollBars(), "EDIT", "list box with the skin back");
}

// A disabled list box shows a disabled skinned bar; a read-only memo still scrolls.
TEST_F(TextListsTest, DisabledListAndReadOnlyMemo) {
    TsListBox* list = AddList(16, 16, 130, 150, 40);
    list->SetEnabled(false);
    TsMemo* memo = AddMemo(160, 16, 220, 150, 60);
    memo->SetReadOnly(true);
    ShowForm();
    TsScrollBar* bar = list->SkinnedScrollBars().ShownBar(true);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->Enabled());
    memo->SetFocus();
    Application().ProcessMessages();
    Chord(VK_NEXT);
    EXPECT_GT(NativeInfo(memo->Handle(), true).nPos, 0);
    ExpectBarsFollow(memo, memo->SkinnedScrollBars(), "EDIT", "read-only memo after Page Down");
}

// Creating, scrolling, skin changes among the listed skins and destroying
// leave every counted object as it was.
TEST_F(TextListsTest, SoakLeavesCountsFlat) {
    manager->SetSkinDirectory(testing::SourcePath("skins"));
    const std::vector<testing::TListedSkin> skins = testing::ListedSkins();
    const std::vector<int> chain = testing::EveryOrderedPairChain(static_cast<int>(skins.size()));
    ShowForm();
    const auto round = [&] {
        TsMemo* memo = AddMemo(16, 16, 220, 150, 60);
        TsListBox* list = AddList(260, 16, 130, 150, 40);
        ShowForm();
        for (int index : chain) {
            manager->SetSkinName(skins[static_cast<std::size_t>(index)].Name);
            Application().ProcessMessages();
            memo->SetFocus();
            Chord(VK_NEXT);
            MovePointer(Center(list));
            Wheel(2);
            SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
            Application().ProcessMessages();
            // The skinned bar agrees with the native one after every change.
            if (TsScrollBar* bar = memo->SkinnedScrollBars().ShownBar(true))
                EXPECT_EQ(bar->Position(), NativeInfo(memo->Handle(), true).nPos);
        }
        delete memo;
        delete list;
        Application().ProcessMessages();
    };
    round();   // the first round fills the caches that stay (fonts, the skins' pictures)
    const testing::TCounts before = testing::Count();
    for (int i = 0; i < 3; ++i) round();
    const testing::TCounts after = testing::Count();
    testing::PrintCounts("text and lists soak", before, after);
    testing::ExpectSameCounts(before, after);
    EXPECT_LE(after.PrivateBytes, before.PrivateBytes + 256 * 1024);
}

}  // namespace
}  // namespace korvel
