#include "controls/scroll_bar.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "paint/item.h"
#include "paint/mask.h"

namespace korvel {
namespace {

// The auto-repeat's first delay and its pace, and the drag timer's pace.
constexpr unsigned kRepeatDelay = 500;
constexpr unsigned kRepeatPace = 100;
constexpr unsigned kDragPace = 10;

POINT ClientPoint(LPARAM lparam) { return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))}; }

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Copies a w x h block between 24-bit bitmaps, clipped to both.
void CopyBlock(TBitmap24& dest, int dx, int dy, const TBitmap24& source, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y) {
        const int ty = dy + y, fy = sy + y;
        if (ty < 0 || fy < 0 || ty >= dest.Height() || fy >= source.Height()) continue;
        int x0 = std::max({0, -dx, -sx});
        int x1 = std::min({w, dest.Width() - dx, source.Width() - sx});
        if (x1 <= x0) continue;
        std::memcpy(dest.ScanLine(ty) + (dx + x0) * 3, source.ScanLine(fy) + (sx + x0) * 3,
                    static_cast<std::size_t>(x1 - x0) * 3);
    }
}

TMaskFrameSize FrameOf(const TsMaskData& mask) {
    return MaskFrameSize(mask.Bmp != nullptr, mask.R.Width(), mask.R.Height(), mask.ImageCount, mask.MaskType);
}

}  // namespace

TsScrollBar::TsScrollBar(TComponent* owner) : TWinControl(owner), SkinData(this, true) {
    SetControlStyle(csOpaque | csDoubleClicks);
    SetTabStop(true);
    SkinData.ControlCode = ccScrollBar;
    SetBounds(Left(), Top(), Width() == 0 ? 121 : Width(), Height() == 0 ? GetSystemMetrics(SM_CYHSCROLL) : Height());
    SkinData.Loaded();
}

TsScrollBar::~TsScrollBar() {
    Destroying();
    FreeTimer();
}

bool TsScrollBar::Skinned() {
    // Without a manager of its own the bar reads the default one.
    TsSkinManager* manager = SkinData.SkinManager();
    return manager && !manager->InState(csDestroying) && manager->Active() && manager->SkinData().Active;
}

bool TsScrollBar::CanFocus() const { return TWinControl::CanFocus() && TabStop(); }

// ---- properties ---------------------------------------------------------------------------

void TsScrollBar::SetKind(TScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    if (HandleAllocated()) RecreateAs(plainWindow_);
}

void TsScrollBar::SetMin(int value) {
    SetParams(position_, value, max_);
    SkinData.Invalidate();
}

void TsScrollBar::SetMax(int value) {
    SetParams(position_, min_, value);
    SkinData.Invalidate();
}

void TsScrollBar::SetPosition(int value) {
    if (InState(csDestroying) || (ControlState() & csCreating)) return;
    RangeSetter(value, min_, max_);
    RepaintIfNeeded();
}

void TsScrollBar::SetParams(int position, int min, int max) { RangeSetter(position, min, max); }

void TsScrollBar::SetPageSize(int value) {
    if (value < 0 || value == pageSize_) return;
    pageSize_ = value;
    if (HandleAllocated() && !plainWindow_) GiveNativeRange();
    SkinData.Invalidate();
    repaintNeeded_ = true;
}

void TsScrollBar::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

// ---- geometry -----------------------------------------------------------------------------

TScrollGeometry TsScrollBar::Geometry() const {
    const bool horizontal = kind_ == sbHorizontal;
    return {horizontal ? Width() : Height(), GetSystemMetrics(horizontal ? SM_CXHSCROLL : SM_CYVSCROLL),
            min_, max_, position_, pageSize_, Enabled()};
}

int TsScrollBar::Along(POINT p) const { return kind_ == sbHorizontal ? p.x : p.y; }

int TsScrollBar::Direction() const { return kind_ == sbHorizontal && UseRightToLeftAlignment() ? -1 : 1; }

static RECT Span(TScrollBarKind kind, int from, int to, int across) {
    return kind == sbHorizontal ? RECT{from, 0, to, across} : RECT{0, from, across, to};
}

RECT TsScrollBar::FirstButtonRect() const {
    const TScrollGeometry g = Geometry();
    return Span(kind_, 0, ScrollButtonLength(g), kind_ == sbHorizontal ? Height() : Width());
}

RECT TsScrollBar::SecondButtonRect() const {
    const TScrollGeometry g = Geometry();
    return Span(kind_, g.Along - ScrollButtonLength(g), g.Along, kind_ == sbHorizontal ? Height() : Width());
}

RECT TsScrollBar::ThumbRect() const {
    const TScrollGeometry g = Geometry();
    const int t = ScrollThumbLength(g);
    const int from = ScrollThumbCentre(g) - t / 2;
    return Span(kind_, from, from + t, kind_ == sbHorizontal ? Height() : Width());
}

// ---- range, change, states ------------------------------------------------------------------

void TsScrollBar::GiveNativeRange() {
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, min_, max_, static_cast<UINT>(pageSize_),
                    Direction() < 0 ? max_ - position_ : position_, 0};
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TsScrollBar::RangeSetter(int position, int min, int max) {
    if (Skinned()) {
        const int p = ClampScrollPosition(position, min, max);
        if (min != min_ || max != max_) {
            min_ = min;
            max_ = max;
            if (HandleAllocated() && !plainWindow_) {
                SCROLLINFO info{sizeof(info), SIF_RANGE, min_, max_, 0, 0, 0};
                SetScrollInfo(Handle(), SB_CTL, &info, p == position_);
            }
        }
        if (p == position_) {
            SendScroll(lastCode_);
            return;
        }
        const int previous = position_;
        position_ = p;
        repaintNeeded_ = true;
        Change(previous);
        if (!IsLoading() && !InState(csReading) && !(ControlState() & csCreating) && Parent()) RepaintIfNeeded();
        return;
    }
    if (max < min) throw EInvalidOperation("Scrollbar property out of range");
    const int p = ClampScrollPosition(position, min, max);
    const bool rangeChanged = min != min_ || max != max_;
    min_ = min;
    max_ = max;
    if (HandleAllocated() && !plainWindow_ && rangeChanged) {
        SCROLLINFO info{sizeof(info), SIF_RANGE, min_, max_, 0, 0, 0};
        SetScrollInfo(Handle(), SB_CTL, &info, p == position_);
    }
    if (p == position_) return;
    const int previous = position_;
    position_ = p;
    if (HandleAllocated() && !plainWindow_) SetScrollPos(Handle(), SB_CTL, Direction() < 0 ? max_ - p : p, TRUE);
    SetEnabled(true);
    if (OwnerNotification) OwnerNotification(previous);
    if (OnChange) OnChange(this);
}

void TsScrollBar::SendScroll(TScrollCode code) {
    if (!OnScroll) return;
    int p = position_;
    OnScroll(this, code, p);
}

void TsScrollBar::Change(int previous) {
    if (notificationsHeld_) return;
    if (OwnerNotification) OwnerNotification(previous);
    SendScroll(lastCode_);
    if (OnChange) OnChange(this);
}

void TsScrollBar::SetPartState(TScrollPart part, int state) {
    if (parts_.Set(part, state)) repaintNeeded_ = true;
}

void TsScrollBar::RepaintIfNeeded() {
    suspended_ = false;
    if (!repaintNeeded_ || !HandleAllocated() || !Skinned()) return;
    HDC dc = GetDC(Handle());
    Paint(dc);
    ReleaseDC(Handle(), dc);
}

// ---- window -------------------------------------------------------------------------------

void TsScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (plainWindow_) return;   // a window of our own class, registered by the framework
    params.WinClassName = L"SCROLLBAR";
    params.SystemClass = true;
    if (kind_ == sbHorizontal) params.Style |= SBS_HORZ;
    else params.Style |= SBS_VERT | (UseRightToLeftAlignment() ? SBS_LEFTALIGN : SBS_RIGHTALIGN);
    if (Skinned()) recreatePending_ = true;
}

void TsScrollBar::HandleCreated() {
    if (!plainWindow_) GiveNativeRange();
}

void TsScrollBar::Loaded() {
    TWinControl::Loaded();
    SkinData.Loaded();
    if (recreatePending_ && HandleAllocated()) RecreateAs(true);
}

void TsScrollBar::RecreateAs(bool plain) {
    recreatePending_ = false;
    plainWindow_ = plain;
    FreeTimer();
    if (HandleAllocated()) RecreateWnd();
    recreatePending_ = false;   // the new window is what the skin state asks for
}

// ---- painting -----------------------------------------------------------------------------

void TsScrollBar::Paint(HDC dc) {
    if (SkinChanging && HandleAllocated() && repaintAfterChangeWindow_ != Handle()) {
        // The paints of a skin change all come while it runs, and nothing paints
        // the bar after it: the bar asks for its own paint once the change is over.
        if (PostMessageW(Handle(), WM_REPAINTAFTERSKINCHANGE, 0, 0)) repaintAfterChangeWindow_ = Handle();
    }
    if (suspended_ || !ControlIsReady(this) || SkinChanging || IsLoading() || InState(csDestroying)) return;
    SkinData.Updating = SkinData.IsUpdating();
    if (SkinData.Updating) return;
    const TsSkinTables* tables = SkinData.Tables();
    if (!tables || Width() <= 0 || Height() <= 0) return;
    try {
        repaintNeeded_ = false;
        SkinData.PrepareCacheBmp();
        TBitmap24& cache = *SkinData.CacheBmp();
        const bool horizontal = kind_ == sbHorizontal;
        const TsCachedIndexes& ci = tables->CachedIndexes;

        // What lies behind the bar.
        TParentBackground bg;
        const bool linkedIsForm = dynamic_cast<TForm*>(linkedControl_) != nullptr;
        if (linkedControl_) {
            ParentBackground.Ready = 0;
            SkinCommandToControl(linkedControl_, SMC_GETCACHE);
            if (ParentBackground.Ready) {
                bg = ParentBackground;
                if (!linkedIsForm) {
                    bg.OffsetX -= linkedControl_->Left();
                    bg.OffsetY -= linkedControl_->Top();
                }
            }
            ParentBackground.Ready = 0;
        } else {
            SkinData.GetParentCache(bg);
        }

        const TScrollGeometry g = Geometry();
        const int centre = ScrollThumbCentre(g);
        const int across = horizontal ? Height() : Width();
        const auto trackState = [&](TScrollPart part) {
            if (!Enabled()) return 0;
            const int s = parts_.State(part);
            return s != 0 ? s : SkinData.IsActive() ? 1 : 0;
        };
        const auto paintPart = [&](const TsScrollPartIndexes& idx, const TParentBackground& behind, TBitmap24& into,
                                   TPoint point, TRect rect, int state) {
            PaintSection(idx.SkinIndex, behind, tables, into, point, rect, state, true, idx.Pattern, idx.HotPattern,
                         idx.BordersMask);
        };

        // Track halves, over what lies behind.
        const TsScrollPartIndexes& track1 = ci.ScrollBars[horizontal ? sb1H : sb1V];
        const TsScrollPartIndexes& track2 = ci.ScrollBars[horizontal ? sb2H : sb2V];
        const RECT half1 = Span(kind_, 0, centre, across), half2 = Span(kind_, centre, g.Along, across);
        if (half1.right > half1.left && half1.bottom > half1.top)
            paintPart(track1, bg, cache, {Left(), Top()}, {half1.left, half1.top, half1.right, half1.bottom},
                      trackState(spFirstTrack));
        if (half2.right > half2.left && half2.bottom > half2.top)
            paintPart(track2, bg, cache, {Left() + half2.left, Top() + half2.top},
                      {half2.left, half2.top, half2.right, half2.bottom}, trackState(spSecondTrack));

        TBitmap24 copy;
        if (!Enabled()) copy = cache.Clone();
        TBitmap24& target = Enabled() ? cache : copy;
        TParentBackground self;
        self.Bitmap = &target;
        self.Ready = 1;

        // Arrow buttons over the track, each with its glyph centred in its hit rectangle.
        const int hit = ScrollButtonLength(g);
        int painted[2] = {hit, hit};
        const TsScrollPartIndexes* buttons[2] = {&ci.ScrollButtons[horizontal ? sbLeft : sbTop],
                                                 &ci.ScrollButtons[horizontal ? sbRight : sbBottom]};
        for (int i = 0; i < 2; ++i) {
            const TsScrollPartIndexes& idx = *buttons[i];
            if (!tables->IsValidSectionIndex(idx.SkinIndex)) continue;
            const TsGeneralData& section = tables->Sections[static_cast<std::size_t>(idx.SkinIndex)];
            if (section.ReservedBoolean && tables->IsValidMaskIndex(idx.BordersMask)) {
                const TMaskFrameSize f = FrameOf(tables->Masks[static_cast<std::size_t>(idx.BordersMask)]);
                painted[i] = std::max(hit, horizontal ? f.Width : f.Height);
            }
            const TScrollPart part = i == 0 ? spFirstButton : spSecondButton;
            const int state = parts_.State(part);
            const RECT pr = i == 0 ? Span(kind_, 0, painted[i], across) : Span(kind_, g.Along - painted[i], g.Along, across);
            paintPart(idx, self, target, {pr.left, pr.top}, {pr.left, pr.top, pr.right, pr.bottom}, state);
            if (!tables->IsValidMaskIndex(idx.GlyphMask)) continue;
            const TsMaskData& glyph = tables->Masks[static_cast<std::size_t>(idx.GlyphMask)];
            const TMaskFrameSize f = FrameOf(glyph);
            if (glyph.Bmp && (horizontal ? f.Width : f.Height) >= hit) continue;
            const RECT hr = i == 0 ? FirstButtonRect() : SecondButtonRect();
            const int x = hr.left + (hr.right - hr.left - f.Width) / 2;
            const int y = hr.top + (hr.bottom - hr.top - f.Height) / 2;
            if (x >= 0 && y >= 0) DrawSkinGlyph(target, {x, y}, state, *tables, glyph, 1);
        }

        // The thumb, when the bar leaves it room.
        const int t = ScrollThumbLength(g);
        const bool hidden = !Enabled() && linkedControl_ && linkedControl_->Enabled();
        if (!hidden && g.Along - painted[0] - painted[1] >= t) {
            const RECT tr = ThumbRect();
            const int w = tr.right - tr.left, h = tr.bottom - tr.top;
            const TsScrollPartIndexes& idx = ci.ScrollSliders[horizontal ? ssHorizontal : ssVertical];
            const int state = parts_.State(spThumb);
            TBitmap24 thumb(w, h);
            CopyBlock(thumb, 0, 0, target, tr.left, tr.top, w, h);
            TParentBackground own;
            own.Bitmap = &thumb;
            own.Ready = 1;
            paintPart(idx, own, thumb, {0, 0}, {0, 0, w, h}, state);
            CopyBlock(target, tr.left, tr.top, thumb, 0, 0, w, h);
            if (tables->IsValidMaskIndex(idx.GlyphMask)) {
                const TsMaskData& glyph = tables->Masks[static_cast<std::size_t>(idx.GlyphMask)];
                const TMaskFrameSize f = FrameOf(glyph);
                const int half = horizontal ? glyph.R.Width() / 2 : glyph.R.Height() / 2;
                if (!glyph.Bmp || half < t) {
                    const int shift = state == 2 ? 1 : 0;
                    DrawSkinGlyph(target, {tr.left + (w - f.Width) / 2 + shift, tr.top + (h - f.Height) / 2 + shift},
                                  state, *tables, glyph, 1);
                }
            }
        }

        // The disabled look.
        if (!Enabled()) {
            if (linkedControl_) {
                if (bg.Ready) {
                    DisabledLook(target, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, bg);
                } else {
                    const int i = ci.ScrollBars[sb1H].SkinIndex;
                    const TColor c = tables->IsValidSectionIndex(i) ? tables->Sections[static_cast<std::size_t>(i)].Color
                                                                    : ColorToRGB(Color());
                    FadeRectToColor(target, {0, 0, Width() + 1, Height() + 1}, 60, 0, 0, c);
                }
            } else {
                TParentBackground parent;
                SkinData.GetParentCache(parent);
                DisabledLook(target, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, parent);
            }
        }

        if (target.Handle()) {
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(target.Handle()));
            BitBlt(dc, 0, 0, Width(), Height(), memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        SkinData.BackgroundChanged = false;
    } catch (const std::exception&) {
        // A failed paint simply ends; the next one tries again.
    }
}

void TsScrollBar::OnPaintMessage(TMessage& m) {
    PAINTSTRUCT ps{};
    const bool own = m.WParam == 0;
    HDC dc = own ? BeginPaint(Handle(), &ps) : reinterpret_cast<HDC>(m.WParam);
    Paint(dc);
    if (own) EndPaint(Handle(), &ps);
    m.Result = 0;
}

// ---- mouse --------------------------------------------------------------------------------

POINT TsScrollBar::CursorInClient() const {
    POINT p{};
    GetCursorPos(&p);
    return ScreenToClient(p);
}

void TsScrollBar::StartTimer(TScrollTimer kind, unsigned interval) {
    FreeTimer();
    if (!HandleAllocated()) return;
    if (!SetTimer(Handle(), TimerId, interval, nullptr)) return;
    timer_ = kind;
    timerInterval_ = interval;
}

void TsScrollBar::FreeTimer() {
    if (timer_ != stNone && HandleAllocated()) KillTimer(Handle(), TimerId);
    timer_ = stNone;
    timerInterval_ = 0;
}

void TsScrollBar::OnMouseDown(POINT p) {
    savedShowHint_ = Application().ShowHint();
    hintSaved_ = true;
    Application().SetShowHint(false);
    dragOffset_ = 0;
    if (CanFocus() && !Focused()) SetFocus();
    SetCapture(Handle());
    const TScrollGeometry g = Geometry();
    const int along = Along(p);
    // What the owner does on the position's change (moving controls, scrolling
    // a window) paints nothing of this bar: it is painted once, pressed, below.
    suspended_ = true;
    if (Inside(FirstButtonRect(), p)) {
        if (parts_.State(spFirstButton) != 2) {
            lastCode_ = scLineUp;
            SetPartState(spFirstButton, 2);
            if (position_ == min_) SendScroll(scLineUp);
            else SetPosition(position_ - smallChange_);
            StartTimer(stLine, kRepeatDelay);
        }
    } else if (Inside(SecondButtonRect(), p)) {
        if (parts_.State(spSecondButton) != 2) {
            lastCode_ = scLineDown;
            SetPartState(spSecondButton, 2);
            if (position_ != max_) {
                SetPosition(position_ + smallChange_);
                StartTimer(stLine, kRepeatDelay);
            }
        }
    } else if (Inside(ThumbRect(), p)) {
        lastCode_ = scTrack;
        if (!smooth_) {
            notificationsHeld_ = true;
            dragStart_ = position_;
        }
        if (parts_.State(spThumb) != 2) {
            dragOffset_ = ScrollPointToPosition(g, along) - position_;
            SetPartState(spThumb, 2);
            StartTimer(stDrag, kDragPace);
        }
    } else if (along < ScrollThumbCentre(g)) {
        if (parts_.State(spFirstTrack) != 2) {
            lastCode_ = scPageUp;
            SetPartState(spFirstTrack, 2);
            SetPartState(spSecondTrack, SkinData.IsActive() ? 1 : 0);
            if (largeChange_ != 0) SetPosition(position_ - largeChange_);
            StartTimer(stPage, kRepeatDelay);
        }
    } else if (parts_.State(spSecondTrack) != 2) {
        lastCode_ = scPageDown;
        SetPartState(spSecondTrack, 2);
        SetPartState(spFirstTrack, SkinData.IsActive() ? 1 : 0);
        if (largeChange_ != 0) SetPosition(position_ + largeChange_);
        StartTimer(stPage, kRepeatDelay);
    }
    RepaintIfNeeded();
}

void TsScrollBar::OnTimerTick() {
    if (timer_ == stNone) return;
    if (timer_ == stDrag) {
        if (!ControlIsReady(this) || SkinData.MouseAbove) return;
        if (GetCapture() != Handle()) SetCapture(Handle());
        if (parts_.State(spThumb) == 2) DragTo(CursorInClient());
        return;
    }
    if (timerInterval_ != kRepeatPace) StartTimer(timer_, kRepeatPace);
    if (timer_ == stLine) {
        if (parts_.State(spFirstButton) == 2) SetPosition(position_ - smallChange_);
        else if (parts_.State(spSecondButton) == 2) SetPosition(position_ + smallChange_);
        else FreeTimer();
        return;
    }
    // Page: until the thumb reaches the cursor. The point's position is counted from Min.
    const int under = ScrollPointToPosition(Geometry(), Along(CursorInClient())) + min_;
    if (parts_.State(spFirstTrack) == 2 && under < position_) SetPosition(position_ - largeChange_);
    else if (parts_.State(spSecondTrack) == 2 && under > position_) SetPosition(position_ + largeChange_);
    else FreeTimer();
}

void TsScrollBar::DragTo(POINT client) {
    const int p = ScrollPointToPosition(Geometry(), Along(client)) - dragOffset_;
    if (p != position_) SetPosition(p);
}

void TsScrollBar::OnMouseUp(POINT p) {
    FreeTimer();
    const bool thumbPressed = parts_.State(spThumb) == 2;
    if (Inside(ThumbRect(), p) || thumbPressed) {
        lastCode_ = scPosition;
        const int active = SkinData.IsActive() ? 1 : 0;
        SetPartState(spFirstTrack, active);
        SetPartState(spSecondTrack, active);
        if (thumbPressed) {
            SetPosition(ScrollPointToPosition(Geometry(), Along(p)) - dragOffset_);
            SetPartState(spThumb, Inside(ThumbRect(), p) ? 1 : 0);
            if (notificationsHeld_) {
                notificationsHeld_ = false;
                if (position_ != dragStart_) Change(dragStart_);
            }
        }
    } else if (parts_.State(spFirstButton) == 2 && Inside(FirstButtonRect(), p)) {
        SetPartState(spFirstButton, 1);
    } else if (parts_.State(spSecondButton) == 2 && Inside(SecondButtonRect(), p)) {
        SetPartState(spSecondButton, 1);
    } else {
        const int active = SkinData.IsActive() ? 1 : 0;
        if (parts_.State(spFirstTrack) == 2) SetPartState(spFirstTrack, active);
        if (parts_.State(spSecondTrack) == 2) SetPartState(spSecondTrack, active);
        // A pressed button left behind is no longer pressed.
        if (parts_.State(spFirstButton) == 2) SetPartState(spFirstButton, 0);
        if (parts_.State(spSecondButton) == 2) SetPartState(spSecondButton, 0);
    }
    notificationsHeld_ = false;
    RepaintIfNeeded();
    if (GetCapture() == Handle()) ReleaseCapture();
}

void TsScrollBar::CancelPress() {
    // The capture went elsewhere (a menu, a message box) before the release:
    // nothing stays pressed or repeating, and a held drag announces where it ended.
    FreeTimer();
    const int active = SkinData.IsActive() ? 1 : 0;
    bool pressed = false;
    for (TScrollPart part : {spFirstButton, spSecondButton, spThumb, spFirstTrack, spSecondTrack}) {
        if (parts_.State(part) != 2) continue;
        pressed = true;
        SetPartState(part, part == spFirstTrack || part == spSecondTrack ? active : 0);
    }
    if (notificationsHeld_) {
        notificationsHeld_ = false;
        if (position_ != dragStart_) Change(dragStart_);
    }
    if (hintSaved_) Application().SetShowHint(savedShowHint_);
    hintSaved_ = false;
    if (pressed) RepaintIfNeeded();
}

void TsScrollBar::OnHitTest(const TMessage& m) {
    const POINT p = ScreenToClient(ClientPoint(m.LParam));
    if (Inside(ThumbRect(), p) || parts_.State(spThumb) == 2) {
        if (parts_.State(spThumb) == 2) DragTo(p);
        else SetPartState(spThumb, 1);
    } else if (Inside(FirstButtonRect(), p) && parts_.State(spFirstButton) != 2) {
        SetPartState(spFirstButton, 1);
    } else if (Inside(SecondButtonRect(), p) && parts_.State(spSecondButton) != 2) {
        SetPartState(spSecondButton, 1);
    } else if (!Inside(FirstButtonRect(), p) && !Inside(SecondButtonRect(), p)) {
        SetPartState(spThumb, 0);
        SetPartState(spFirstButton, 0);
        SetPartState(spSecondButton, 0);
    }
    RepaintIfNeeded();
}

// ---- keys and native notifications ----------------------------------------------------------

void TsScrollBar::OnKeyDown(TMessage& m) {
    switch (m.WParam) {
    case VK_PRIOR: lastCode_ = scPageUp; SetPosition(position_ - largeChange_); break;
    case VK_NEXT:  lastCode_ = scPageDown; SetPosition(position_ + largeChange_); break;
    case VK_END:   lastCode_ = scBottom; SetPosition(max_); break;
    case VK_HOME:  lastCode_ = scTop; SetPosition(min_); break;
    case VK_RIGHT:
    case VK_DOWN:  lastCode_ = scLineDown; SetPosition(position_ + smallChange_); break;
    case VK_LEFT:
    case VK_UP:    lastCode_ = scLineUp; SetPosition(position_ - smallChange_); break;
    default: break;
    }
}

void TsScrollBar::OnNativeScroll(TMessage& m) {
    static constexpr TScrollCode codes[] = {scLineUp,   scLineDown, scPageUp, scPageDown, scPosition,
                                            scTrack,    scTop,      scBottom, scEndScroll};
    const unsigned native = LOWORD(m.WParam);
    if (native > SB_ENDSCROLL) return;
    const TScrollCode code = codes[native];
    const int dir = Direction();
    long long value = position_;
    switch (code) {
    case scLineUp:   value -= static_cast<long long>(smallChange_) * dir; break;
    case scLineDown: value += static_cast<long long>(smallChange_) * dir; break;
    case scPageUp:   value -= static_cast<long long>(largeChange_) * dir; break;
    case scPageDown: value += static_cast<long long>(largeChange_) * dir; break;
    case scTop:      value = min_; break;
    case scBottom:   value = max_; break;
    case scPosition:
    case scTrack: {
        SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
        if (HandleAllocated() && GetScrollInfo(Handle(), SB_CTL, &info))
            value = dir < 0 ? max_ - info.nTrackPos : info.nTrackPos;
        break;
    }
    default: break;
    }
    int v = static_cast<int>(std::clamp<long long>(value, std::min(min_, max_), std::max(min_, max_)));
    lastCode_ = code;
    if (OnScroll) OnScroll(this, code, v);
    SetPosition(v);
    m.Result = 0;
}

bool TsScrollBar::AnswerScrollQuery(TMessage& m) {
    // The plain window answers what a native scroll bar is asked, so readers of
    // scroll bars (accessibility tools, tests) still find the values.
    switch (m.Msg) {
    case SBM_GETPOS: m.Result = position_; return true;
    case SBM_GETRANGE:
        if (m.WParam) *reinterpret_cast<int*>(m.WParam) = min_;
        if (m.LParam) *reinterpret_cast<int*>(m.LParam) = max_;
        m.Result = 0;
        return true;
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(m.LParam);
        if (!info) return true;
        if (info->fMask & SIF_RANGE) {
            info->nMin = min_;
            info->nMax = max_;
        }
        if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(pageSize_);
        if (info->fMask & SIF_POS) info->nPos = position_;
        if (info->fMask & SIF_TRACKPOS) info->nTrackPos = position_;
        m.Result = 1;
        return true;
    }
    case SBM_SETPOS: {
        const int previous = position_;
        SetPosition(static_cast<int>(m.WParam));
        m.Result = previous;
        return true;
    }
    default: return false;
    }
}

// ---- window procedure ---------------------------------------------------------------------

bool TsScrollBar::HandleSkinMessage(TMessage& m) {
    if (SkinCommandOf(m.WParam) == SMC_PARENTUPDATED) {
        SkinData.Updating = false;
        repaintNeeded_ = true;
        RepaintIfNeeded();
        return true;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Removed =
            [this] {
                parts_.Reset();
                // Also sent when the skin has no section named after the bar, while the
                // manager goes on skinning: the bar stays as it is then.
                if (!Skinned()) RecreateAs(false);
            },
        .Applied =
            [this] {
                SkinData.BackgroundChanged = true;
                RecreateAs(true);
            },
    });
}

bool TsScrollBar::HandleSkinned(TMessage& m) {
    switch (m.Msg) {
    case WM_PRINT:
        SendMessageW(Handle(), WM_PAINT, m.WParam, m.LParam);
        SendMessageW(Handle(), WM_NCPAINT, m.WParam, m.LParam);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!Enabled() || !ControlIsReady(this)) return false;
        OnMouseDown(ClientPoint(m.LParam));
        return false;   // and the framework's press handling
    case WM_LBUTTONUP:
        if (!Enabled() || !ControlIsReady(this)) return false;
        OnMouseUp(ClientPoint(m.LParam));
        TWinControl::WndProc(m);
        SendScroll(scEndScroll);
        if (hintSaved_) Application().SetShowHint(savedShowHint_);
        hintSaved_ = false;
        return true;
    case WM_TIMER:
        if (m.WParam != TimerId) return false;
        OnTimerTick();
        return true;
    case WM_NCHITTEST:
        TWinControl::WndProc(m);
        if (Enabled()) OnHitTest(m);
        return true;
    case CM_MOUSEENTER:
        SetPartState(spFirstTrack, 1);
        SetPartState(spSecondTrack, 1);
        RepaintIfNeeded();
        return false;
    case CM_MOUSELEAVE:
        SetPartState(spFirstButton, 0);
        SetPartState(spSecondButton, 0);
        if (parts_.State(spThumb) != 2) {
            SetPartState(spThumb, 0);
            SetPartState(spFirstTrack, 0);
            SetPartState(spSecondTrack, 0);
        }
        RepaintIfNeeded();
        return false;
    case WM_KEYDOWN:
        OnKeyDown(m);
        return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
        SkinData.CommonWndProc(m);
        TWinControl::WndProc(m);
        repaintNeeded_ = true;
        if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        return true;
    case WM_CANCELMODE:
        CancelPress();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(m.LParam) != Handle()) CancelPress();
        return false;
    default: return false;
    }
}

void TsScrollBar::WndProc(TMessage& m) {
    if (InState(csDestroying)) return TWinControl::WndProc(m);
    if (m.Msg == SM_ALPHACMD && HandleSkinMessage(m)) return;
    if (m.Msg == WM_REPAINTAFTERSKINCHANGE) {
        repaintAfterChangeWindow_ = nullptr;
        if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        return;
    }
    if (recreatePending_ && (m.Msg == WM_PAINT || m.Msg == WM_NCHITTEST) && HandleAllocated() && Skinned()) {
        RecreateAs(true);   // the old window is gone; the new one paints itself
        m.Result = m.Msg == WM_NCHITTEST ? HTCLIENT : 0;
        return;
    }
    if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
        if (!(notificationsHeld_ && Skinned())) OnNativeScroll(m);
        return;
    }
    if (m.Msg == CN_CTLCOLORSCROLLBAR) return DefaultHandler(m);
    if (m.Msg == WM_ERASEBKGND) {
        if (suspended_ || plainWindow_) {
            m.Result = 1;   // the paint covers every pixel
            return;
        }
        return TWinControl::WndProc(m);
    }
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    const bool skinned = Skinned();
    if (m.Msg == WM_PAINT && (plainWindow_ ? skinned || suspended_ : suspended_)) return OnPaintMessage(m);
    if (plainWindow_ && AnswerScrollQuery(m)) return;
    if (skinned && plainWindow_ && HandleSkinned(m)) return;
    SkinData.CommonWndProc(m);
    if (m.Msg == SM_ALPHACMD) return;
    TWinControl::WndProc(m);
}

// ---- registration -------------------------------------------------------------------------

void RegisterScrollBarClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TsScrollBar>("TsScrollBar", "TWinControl");
        using S = std::function<void(TsScrollBar&, const TValue&, TReadContext&)>;
        const auto prop = [&registry](const std::string& name, S setter) {
            registry.RegisterProperty<TsScrollBar>("TsScrollBar", name, std::move(setter));
        };
        RegisterSkinDataProperties<TsScrollBar>("TsScrollBar");
        prop("Kind", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetKind(v.AsEnum({{"sbHorizontal", sbHorizontal}, {"sbVertical", sbVertical}}) == sbVertical
                          ? sbVertical
                          : sbHorizontal);
        });
        prop("Min", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetMin(v.AsInteger()); });
        prop("Max", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetMax(v.AsInteger()); });
        prop("Position", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetPosition(v.AsInteger()); });
        prop("PageSize", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetPageSize(v.AsInteger()); });
        prop("SmallChange", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetSmallChange(static_cast<std::uint16_t>(v.AsInteger()));
        });
        prop("LargeChange", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetLargeChange(static_cast<std::uint16_t>(v.AsInteger()));
        });
        prop("Smooth", [](TsScrollBar& b, const TValue& v, TReadContext&) { b.SetSmooth(v.AsBoolean()); });
        prop("DisabledKind", [](TsScrollBar& b, const TValue& v, TReadContext&) {
            b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("OnChange", [](TsScrollBar& b, const TValue& v, TReadContext& r) { b.OnChange = r.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
