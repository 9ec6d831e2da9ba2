// The skinned track bar.
#include "controls/track_bar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/paint_dc.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"
#include "paint/transpose.h"

namespace korvel {

namespace {

constexpr int kTickLength = 3;
constexpr int kTickGap = 1;   // between the thumb and its ticks

// A mask's one state image: its width and height.
TPoint FrameSize(const TsMaskData& mask) {
    const int count = std::max<int>(1, mask.ImageCount);
    return TPoint{mask.R.Width() / count, mask.R.Height() / (mask.MaskType + 1)};
}

TPoint Centre(const RECT& r) { return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

TsTrackBar::TsTrackBar(TComponent* owner) : TTrackBar(owner), skinData_(std::make_unique<TsCommonData>(this, false)) {
    skinData_->ControlCode = ccTrackBar;
    skinData_->Loaded();
}

TsTrackBar::~TsTrackBar() {
    StopFade();
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsTrackBar::Loaded() {
    TTrackBar::Loaded();
    skinData_->Loaded();
}

void TsTrackBar::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    skinData_->Invalidate();
}

void TsTrackBar::OrientationChanged() { skinData_->Invalidate(); }

// ---- geometry -------------------------------------------------------------------

const TsMaskData* TsTrackBar::SkinMask(const char* name) const {
    const TsSkinTables* t = skinData_->Tables();
    if (!t || skinData_->SkinIndex < 0) return nullptr;
    const int index = MaskIndexOf(t, skinData_->SkinIndex, skinData_->SkinSection(), name);
    return t->IsValidMaskIndex(index) ? &t->Masks[static_cast<std::size_t>(index)] : nullptr;
}

RECT TsTrackBar::NativeThumbRect() {
    RECT r{};
    SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT TsTrackBar::NativeChannelRect() {
    RECT r{};
    SendMessageW(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

TRect TsTrackBar::ThumbRect() {
    const TsMaskData* mask = SkinMask(Vertical() ? "SLIDERVMASK" : "SLIDERMASK");
    if (!mask) return {};
    const TPoint size = FrameSize(*mask);
    const TPoint c = Centre(NativeThumbRect());
    return Bounds(c.X - size.X / 2, c.Y - size.Y / 2, size.X, size.Y);
}

TRect TsTrackBar::ChannelRect() {
    const TsMaskData* mask = SkinMask("SLIDERCHANNEL");
    if (!mask) return {};
    const int thickness = FrameSize(*mask).Y;
    const RECT channel = NativeChannelRect();
    const TPoint c = Centre(NativeThumbRect());
    if (Vertical()) return TRect{c.X - thickness / 2, channel.top, c.X - thickness / 2 + thickness, channel.bottom};
    return TRect{channel.left, c.Y - thickness / 2, channel.right, c.Y - thickness / 2 + thickness};
}

std::vector<int> TsTrackBar::TickPositions() {
    // Where the thumb's centre stands at value v: the channel's start, half the
    // thumb, and the travel (channel less thumb) times the value's share of the
    // range, rounded to nearest. The native control's own answer (TBM_GETTICPOS)
    // is the same along a horizontal bar, but Wine's is wrong along a vertical one.
    const RECT channel = NativeChannelRect();
    const RECT thumb = NativeThumbRect();
    const bool vertical = Vertical();
    const int start = vertical ? channel.top : channel.left;
    const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
    const int thumbLength = vertical ? thumb.bottom - thumb.top : thumb.right - thumb.left;
    const long long range = static_cast<long long>(Max()) - Min();
    const auto place = [&](int value) {
        if (range <= 0) return start + thumbLength / 2;
        const long long share = (2LL * (length - thumbLength) * (value - static_cast<long long>(Min())) + range) / (2 * range);
        return start + thumbLength / 2 + static_cast<int>(share);
    };
    std::vector<int> ticks{place(Min()), place(Max())};
    const int count = static_cast<int>(SendMessageW(Handle(), TBM_GETNUMTICS, 0, 0));
    for (int i = 0; i + 2 < count; ++i)
        ticks.push_back(place(static_cast<int>(SendMessageW(Handle(), TBM_GETTIC, static_cast<WPARAM>(i), 0))));
    return ticks;
}

int TsTrackBar::ThumbState() const {
    if (!Enabled()) return 0;
    return pressed_ ? 2 : (hot_ ? 1 : 0);
}

// ---- painting -------------------------------------------------------------------

void TsTrackBar::PaintChannel(TBitmap24& cache) {
    const TsMaskData* mask = SkinMask("SLIDERCHANNEL");
    const TRect r = ChannelRect();
    if (!mask || r.Width() <= 0 || r.Height() <= 0) return;
    const TsSkinTables& tables = *skinData_->Tables();
    // What lies under the channel shows through its transparent pixels.
    if (!Vertical()) {
        TBitmap24 under = cache.Clone();
        DrawSkinRect(cache, r, true, TParentBackground{&under, 0, 0, true}, 0, tables, *mask);
        return;
    }
    // The horizontal channel drawn along the turned bar, then turned back.
    TBitmap24 turned(r.Height(), r.Width());
    CopyTransposed(cache, r, turned, TPoint{0, 0});
    TBitmap24 under = turned.Clone();
    DrawSkinRect(turned, TRect{0, 0, turned.Width(), turned.Height()}, true, TParentBackground{&under, 0, 0, true}, 0,
                 tables, *mask);
    CopyTransposed(turned, TRect{0, 0, turned.Width(), turned.Height()}, cache, TPoint{r.Left, r.Top});
}

void TsTrackBar::PaintTicks(TBitmap24& cache) {
    const TsGeneralData* section = skinData_->Section();
    if (!section) return;
    const TColor colour = ColorToRGB(static_cast<TColor>(section->FontColor[fcText]));
    const TRect thumb = ThumbRect();
    const RECT native = NativeThumbRect();
    // Past the skin's thumb, or the native one when the skin has none.
    const int from = Vertical() ? std::max<int>(thumb.Right, native.right) + kTickGap
                                : std::max<int>(thumb.Bottom, native.bottom) + kTickGap;
    for (const int at : TickPositions()) {
        const TRect tick = Vertical() ? TRect{from, at, from + kTickLength, at + 1} : TRect{at, from, at + 1, from + kTickLength};
        FillDC(cache, tick, colour);
    }
}

void TsTrackBar::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    PaintItem(data, background, true, cache, TPoint{Left(), Top()}, TRect{0, 0, Width(), Height()}, 0);
    PaintChannel(cache);
    PaintTicks(cache);
    if (const TsMaskData* thumb = SkinMask(Vertical() ? "SLIDERVMASK" : "SLIDERMASK")) {
        const TRect r = ThumbRect();
        DrawSkinGlyph(cache, TPoint{r.Left, r.Top}, ThumbState(), *data.Tables(), *thumb, 1);
    }
    // The focus, where the section shows it: dots around the whole bar.
    if (Enabled() && HandleAllocated() && Focused() && data.Section() && data.Section()->ShowFocus) {
        TCacheDC dc(cache);
        if (dc.Handle()) {
            TGdiTextCanvas canvas(dc.Handle(), Font().Handle(), ColorToRGB(Font().Color()));
            DrawDottedFrame(canvas, TRect{0, 0, Width(), Height()});
        }
    }
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), TPoint{Left(), Top()}, background);
    data.BackgroundChanged = false;
}

void TsTrackBar::OnPaintMessage(TMessage& m) {
    const TPaintDC paint(Handle(), m.WParam);
    HDC dc = paint.Handle();
    TsCommonData& data = *skinData_;
    if (data.IsUpdating()) {
        data.Updating = true;
        return;
    }
    if (fadeTimer_) {
        if (fadeTimer_->Direction() != 0) return;   // the fade timer draws the frames
        StopFade();
    }
    RebuildCache();
    TCacheDC cache(*data.CacheBmp());
    if (cache.Handle()) BitBlt(dc, 0, 0, Width(), Height(), cache.Handle(), 0, 0, SRCCOPY);
}

void TsTrackBar::SetThumbState(bool hot, bool pressed, TacAnimatEvent event) {
    if (hot == hot_ && pressed == pressed_) return;
    hot_ = hot;
    pressed_ = pressed;
    RequestFade(fadeTimer_, *skinData_, false, 1, AnimatEventAllowed(animatEvents_, event));
}

void TsTrackBar::TrackHot(POINT p) {
    const TRect r = ThumbRect();
    const bool over = p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
    SetThumbState(over, pressed_, over ? aeMouseEnter : aeMouseLeave);
}

void TsTrackBar::StopFade() { korvel::StopFade(fadeTimer_, *skinData_); }

// ---- window procedure -----------------------------------------------------------

void TsTrackBar::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this)) {
        skinData_->CommonWndProc(m);
        if (skinData_->IsSkinned(true) && !InState(csDesigning) && SkinnedMessage(m)) return;
    }
    if (m.Msg == SM_ALPHACMD) return;   // answered by the skin state, or by nobody
    TTrackBar::WndProc(m);
}

bool TsTrackBar::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:          OnPaintMessage(m); return true;
    case WM_ERASEBKGND:     m.Result = 1; return true;   // the cache covers every pixel
    case WM_UPDATEUISTATE:  return true;   // the native control would draw its focus cues over the skin
    case WM_MOUSEMOVE:      // the native control drags first; the thumb is where it put it
        TTrackBar::WndProc(m);
        TrackHot({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        return true;
    case WM_LBUTTONDOWN: {
        const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const TRect r = ThumbRect();
        const bool onThumb = p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom;
        TTrackBar::WndProc(m);
        if (onThumb) SetThumbState(true, true, aeMouseDown);
        return true;
    }
    case WM_LBUTTONUP:
        TTrackBar::WndProc(m);
        SetThumbState(hot_, false, aeMouseUp);
        TrackHot({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        return true;
    case WM_CAPTURECHANGED:
        TTrackBar::WndProc(m);
        SetThumbState(hot_, false, aeMouseUp);
        return true;
    case CM_MOUSELEAVE:
        TTrackBar::WndProc(m);
        if (!pressed_) SetThumbState(false, false, aeMouseLeave);
        return true;
    case CM_ENABLEDCHANGED:
        TTrackBar::WndProc(m);
        StopFade();
        hot_ = pressed_ = false;
        skinData_->BackgroundChanged = true;
        Repaint();
        return true;
    }
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_PARENTUPDATED &&
        (skinData_->Updating || skinData_->PartlyHidden)) {
        skinData_->Updating = false;
        skinData_->BackgroundChanged = true;
        Repaint();
        return true;
    }
    return false;
}

bool TsTrackBar::OnSkinAnnouncement(TMessage& m) {
    switch (SkinCommandOf(m.WParam)) {
    case SMC_STOPFADE: StopFade(); return true;
    case SMC_FADEPREPARE: RebuildCache(); return false;
    }
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Before = [this] { StopFade(); },
        .Removed = [this] { skinData_->RepaintSystemLook(); },
        .Applied =
            [this] {
                if (skinData_->Updating) return;   // the parent's paint repaints it (SMC_PARENTUPDATED)
                if (skinData_->IsSkinned(false)) Repaint();
                else skinData_->RepaintSystemLook();
            },
    });
}

// ---- registration -----------------------------------------------------------------

void RegisterTrackBarClass() {
    static const bool registered = [] {
        RegisterRangeControlClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsTrackBar>("TsTrackBar", "TTrackBar");
        RegisterSkinDataProperties<TsTrackBar>("TsTrackBar");
        using B = TsTrackBar;
        r.RegisterProperty<B>("TsTrackBar", "DisabledKind", [](B& b, const TValue& v, TReadContext&) {
            b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        r.RegisterProperty<B>("TsTrackBar", "AnimatEvents", [](B& b, const TValue& v, TReadContext&) {
            b.SetAnimatEvents(v.AsSet({{"aeMouseEnter", aeMouseEnter}, {"aeMouseLeave", aeMouseLeave},
                                       {"aeMouseDown", aeMouseDown}, {"aeMouseUp", aeMouseUp},
                                       {"aeGlobalDef", aeGlobalDef}}));
        });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
