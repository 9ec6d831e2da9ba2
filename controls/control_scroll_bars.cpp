#include "controls/control_scroll_bars.h"

#include <algorithm>

#include "controls/scroll_bar.h"
#include "engine/skin_manager.h"
#include "gui/cache_dc.h"

namespace korvel {
namespace {

// Sets Flag for as long as the scope runs, exceptions included.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

// The native bar's request for what the user did on the skinned bar: the
// control itself decides how far a line or a page goes.
WORD NativeRequest(TScrollCode code) {
    switch (code) {
    case scLineUp:   return SB_LINEUP;
    case scLineDown: return SB_LINEDOWN;
    case scPageUp:   return SB_PAGEUP;
    case scPageDown: return SB_PAGEDOWN;
    case scTop:      return SB_TOP;
    case scBottom:   return SB_BOTTOM;
    // A tracking request is not used: a multi-line edit stops reporting its
    // position while it believes its own thumb is being dragged.
    default:         return SB_THUMBPOSITION;
    }
}

}  // namespace

TsControlScrollBars::~TsControlScrollBars() {
    for (TsScrollBar*& bar : bars_) {
        TsScrollBar* gone = bar;
        bar = nullptr;
        delete gone;
    }
}

TsScrollBar* TsControlScrollBars::ShownBar(bool vertical) const {
    TsScrollBar* bar = bars_[vertical ? 1 : 0];
    return bar && bar->Visible() ? bar : nullptr;
}

RECT TsControlScrollBars::NativeBarRect(bool vertical) const {
    auto& host = const_cast<TWinControl&>(host_);
    if (!host.HandleAllocated()) return {};
    HWND h = host.Handle();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    if (!(style & (vertical ? WS_VSCROLL : WS_HSCROLL))) return {};
    RECT client{}, window{};
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    const int ox = origin.x - window.left, oy = origin.y - window.top;
    if (vertical) return {ox + client.right, oy, ox + client.right + GetSystemMetrics(SM_CXVSCROLL), oy + client.bottom};
    return {ox, oy + client.bottom, ox + client.right, oy + client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

RECT TsControlScrollBars::CornerRect() const {
    const RECT v = NativeBarRect(true), h = NativeBarRect(false);
    if (IsRectEmpty(&v) || IsRectEmpty(&h)) return {};
    return {v.left, h.top, v.right, h.bottom};
}

bool TsControlScrollBars::Wanted() const {
    if (host_.InState(csDestroying) || !host_.HandleAllocated() || !host_.Visible() || !host_.Parent()) return false;
    if (!data_.IsSkinned(false)) return false;
    const TsSkinManager* manager = data_.SkinManager();
    return manager && manager->Active() && manager->SkinData().Active;
}

void TsControlScrollBars::Follow() {
    if (following_) return;
    TFlagScope following(following_);
    const bool wanted = Wanted();
    FollowOne(false, wanted);
    FollowOne(true, wanted);
}

void TsControlScrollBars::HideAll() {
    for (TsScrollBar* bar : bars_)
        if (bar && bar->Visible()) bar->SetVisible(false);
}

void TsControlScrollBars::FaceChanged() {
    for (TsScrollBar* bar : bars_)
        if (bar && bar->Visible() && bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, FALSE);
}

void TsControlScrollBars::ComposeFace(TsDisabledKind disabledKind) {
    data_.PrepareCacheBmp();
    TBitmap24& cache = *data_.CacheBmp();
    TParentBackground background;
    data_.GetParentCache(background);
    const TPoint at{host_.Left(), host_.Top()};
    PaintItem(data_, background, true, cache, at, {0, 0, host_.Width(), host_.Height()}, data_.IsActive() ? 1 : 0);
    if (!host_.Enabled()) DisabledLook(cache, disabledKind, ColorToRGB(host_.Color()), at, background);
    data_.BackgroundChanged = false;
    FaceChanged();
}

void TsControlScrollBars::EnsureFace(TsDisabledKind disabledKind) {
    const TBitmap24* cache = data_.CacheBmp();
    // A cache of another size was made before the control took its bounds.
    if (data_.BackgroundChanged || !cache || cache->Width() != host_.Width() || cache->Height() != host_.Height())
        ComposeFace(disabledKind);
}

void TsControlScrollBars::PaintFrame(TsDisabledKind disabledKind, HDC given) {
    data_.Updating = data_.IsUpdating();
    if (data_.Updating || !host_.HandleAllocated()) return;
    EnsureFace(disabledKind);
    data_.UpdateCorners(data_.IsActive() ? 1 : 0, crAll);
    PaintFrameFromCache(host_, *data_.CacheBmp(), *this, given);
}

TsScrollBar* TsControlScrollBars::MakeBar(bool vertical) {
    auto* bar = new TsScrollBar(&host_);
    bar->SetVisible(false);   // shown once placed
    bar->SetTabStop(false);   // the keyboard stays with the control
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SkinData.SetSkinManager(data_.StoredSkinManager());
    bar->SetLinkedControl(&host_);
    bar->OwnerNotification = [this, vertical](int) { Steer(vertical); };
    return bar;
}

void TsControlScrollBars::FollowOne(bool vertical, bool wanted) {
    TsScrollBar*& bar = bars_[vertical ? 1 : 0];
    const RECT r = NativeBarRect(vertical);
    if (!wanted || IsRectEmpty(&r)) {
        // Hidden rather than freed: a skin change reaches the bars while the
        // parent's children are walked, and a freed one would shift that walk.
        if (bar && bar->Visible()) bar->SetVisible(false);
        return;
    }
    if (!bar) bar = MakeBar(vertical);
    if (bar->Parent() != host_.Parent()) bar->SetParent(host_.Parent());
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(host_.Handle(), vertical ? SB_VERT : SB_HORZ, &info)) info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    const int page = static_cast<int>(info.nPage);
    // The highest first row or column the control scrolls to.
    const int last = info.nMax - std::max(page - 1, 0);
    const bool scrolls = info.nMin < last;
    const int position = scrolls ? info.nPos : info.nMin, max = scrolls ? last : info.nMin;
    const bool enabled = scrolls && host_.Enabled();
    if (bar->Position() != position || bar->Min() != info.nMin || bar->Max() != max || bar->PageSize() != page ||
        bar->Enabled() != enabled) {
        bar->SetSuspended(true);   // range, page and position together, then one paint
        bar->SetEnabled(enabled);
        bar->SetPageSize(page);
        bar->SetSmallChange(1);
        bar->SetLargeChange(static_cast<std::uint16_t>(std::clamp(page, 1, 0xFFFF)));
        bar->SetParams(position, info.nMin, max);
        if (bar->Suspended()) {   // the position stayed: nothing painted it yet
            bar->SetSuspended(false);
            if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, FALSE);
        }
    }
    const int left = host_.Left() + r.left, top = host_.Top() + r.top;
    const int width = r.right - r.left, height = r.bottom - r.top;
    const bool moved = bar->Left() != left || bar->Top() != top || bar->Width() != width || bar->Height() != height;
    if (moved) {
        bar->SetBounds(left, top, width, height);
        // Moving keeps the old pixels, and what shows through them is the face at the new place.
        if (bar->HandleAllocated()) InvalidateRect(bar->Handle(), nullptr, FALSE);
    }
    if (!bar->Visible()) {
        bar->SetVisible(true);
        // Shown in the middle of the control's own first paint, the bar paints once
        // more when that work is over, over the face as it then stands.
        PostMessageW(bar->Handle(), WM_REPAINTAFTERSKINCHANGE, 0, 0);
    }
    HWND above = GetWindow(host_.Handle(), GW_HWNDPREV);
    if (above != bar->Handle()) {
        // Directly above the control, whatever came above it since (a re-created control comes on top).
        SetWindowPos(bar->Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TsControlScrollBars::Steer(bool vertical) {
    if (following_ || steering_) return;
    TsScrollBar* bar = bars_[vertical ? 1 : 0];
    if (!bar || !host_.HandleAllocated()) return;
    TFlagScope steering(steering_);
    const WORD request = NativeRequest(bar->LastScrollCode());
    const auto position = static_cast<WORD>(std::clamp(bar->Position(), 0, 0xFFFF));
    SendMessageW(host_.Handle(), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(request, position), 0);
    // The control may stop elsewhere (a line or page of its own, the end of its range).
    steering_ = false;
    Follow();
}

}  // namespace korvel

namespace korvel {

void PaintFrameFromCache(TWinControl& host, const TBitmap24& cache, const TsControlScrollBars& bars, HDC given) {
    if (!host.HandleAllocated() || !cache.Handle()) return;
    HWND h = host.Handle();
    HDC dc = given ? given : GetWindowDC(h);
    if (!dc) return;
    const int saved = SaveDC(dc);
    RECT client{}, window{};
    GetClientRect(h, &client);
    GetWindowRect(h, &window);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    for (bool vertical : {false, true}) {
        if (!bars.ShownBar(vertical)) continue;
        const RECT r = bars.NativeBarRect(vertical);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    {
        TCacheDC memory(cache);
        if (memory.Handle()) BitBlt(dc, 0, 0, cache.Width(), cache.Height(), memory.Handle(), 0, 0, SRCCOPY);
    }
    RestoreDC(dc, saved);
    if (!given) ReleaseDC(h, dc);
}

}  // namespace korvel
