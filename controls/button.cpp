#include "controls/button.h"

#include <exception>
#include <vector>

#include "gui/cache_dc.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/application.h"
#include "gui/class_registry.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {
namespace {

bool Designing(const TComponent* c) { return c->InState(csDesigning); }

TPoint ClientPoint(LPARAM lparam) {
    return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

}  // namespace

TsButton::TsButton(TComponent* owner) : TButton(owner), SkinData(this, true) {
    // Not opaque: the corners the border mask leaves out show the parent.
    SetControlStyle(ControlStyle() & ~csOpaque);
    SkinData.ControlCode = ccButton;
    SkinData.Loaded();
}

TsButton::~TsButton() {
    Destroying();
    StopFade();
    FreeRegion();
}

void TsButton::Loaded() {
    TButton::Loaded();
    SkinData.Loaded();
}

void TsButton::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

void TsButton::SetDown(bool value) {
    if (value == downValue_) return;
    downValue_ = value;
    regionRenewal_ = true;
    SkinData.Invalidate();
}

int TsButton::StateIndex() const {
    if (IsDown()) return 2;
    return SkinData.IsActive() || defaultLook_ ? 1 : 0;
}

void TsButton::StopFade() { korvel::StopFade(fadeTimer_, SkinData); }

void TsButton::FreeRegion() {
    if (region_) DeleteObject(region_);
    region_ = nullptr;
}

void TsButton::ApplyRegion() {
    // This paint was clipped to the old region: pixels the new one adds (after a
    // resize) are painted only if the change redraws the window.
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(Handle(), current) != ERROR && EqualRgn(current, region_);
    DeleteObject(current);
    regionRenewal_ = false;
    if (same) {
        // Setting it again would change nothing on the screen, but it is still a
        // frame-changing SetWindowPos with its round of messages under Wine.
        FreeRegion();
        return;
    }
    SetWindowRgn(Handle(), region_, TRUE);   // the window owns the region from here
    region_ = nullptr;
}

void TsButton::RepaintNow() {
    SkinData.BackgroundChanged = true;
    Repaint();
}

// ---- caption --------------------------------------------------------------------------

const std::string& TsButton::ShownCaption() {
    if (!caption_) caption_ = Caption();
    return *caption_;
}

TRect TsButton::TextRect(TTextCanvas& canvas) {
    const std::string& caption = ShownCaption();
    TRect measured{0, 0, caption.empty() ? 0 : Width() - 2, 0};
    canvas.DrawTextIn(caption, measured, dtCalcRect | DT_EXPANDTABS | dtWordBreak);
    const int tw = measured.Width();
    const int th = measured.Height();
    const int dx = (Width() - tw) / 2;
    const int dy = (Height() - th) / 2;
    TRect r{dx - 1, dy, Width() - dx + 2, Height() - dy};
    return IsDown() ? r.Offset(1, 1) : r;
}

void TsButton::DrawCaption(TTextCanvas& canvas, TRect& rect, unsigned format) {
    const bool hot = SkinData.IsActive() || defaultLook_ || downValue_;
    WriteTextEx(canvas, ShownCaption(), true, hot,
                TTextSource{SkinData.Tables(), SkinData.SkinIndex, SkinData.CustomFont()}, format, rect);
}

void TsButton::PaintTextAndFocus(TTextCanvas& canvas) {
    TRect rect = TextRect(canvas);
    unsigned format = dtCenter | dtWordBreak | DT_EXPANDTABS;
    if (UseRightToLeftReading()) format |= DT_RTLREADING;
    DrawCaption(canvas, rect, format);
    const TsGeneralData* section = SkinData.Section();
    if (Enabled() && HandleAllocated() && Focused() && !ShownCaption().empty() && section && section->ShowFocus) {
        const TRect frame{rect.Left - focusMargin_, rect.Top - focusMargin_, rect.Right + focusMargin_,
                          rect.Bottom + focusMargin_};
        DrawDottedFrame(canvas, frame);
    }
}

// ---- painting -------------------------------------------------------------------------

void TsButton::PrepareCache() {
    TParentBackground background;
    SkinData.GetParentCache(background);
    SkinData.PrepareCacheBmp();
    TBitmap24& cache = *SkinData.CacheBmp();
    const TsSkinTables* tables = SkinData.Tables();
    TWinControl* parent = Parent();
    const int state = StateIndex();

    SharedColor = clNone;
    if (!background.Ready && parent) {
        SharedColor = ColorToRGB(parent->Color());
        GlobalFillColor = SharedColor;
    } else if (background.Ready && parent && !SkinData.NeedsParentRepaint() && SharedColor == clNone) {
        SharedColor = GetControlColor(parent);
    }
    PaintItemBackground(SkinData.SkinIndex, background, SkinData.CustomColor() ? ColorToRGB(Color()) : clNone,
                        SkinData.HotPatternIndex, SkinData.PatternIndex, tables, cache, {Left(), Top()},
                        {0, 0, Width(), Height()}, state);
    if (regionRenewal_) {
        FreeRegion();
        region_ = CreateRectRgn(0, 0, Width(), Height());
    }
    if (tables && tables->IsValidMaskIndex(SkinData.BorderIndex)) {
        std::vector<TRect> holes;
        DrawSkinRectRegion(cache, holes, state, GlobalFillColor, *tables,
                           tables->Masks[static_cast<std::size_t>(SkinData.BorderIndex)]);
        if (region_) {
            for (const TRect& h : holes) {
                HRGN hole = CreateRectRgn(h.Left, h.Top, h.Right, h.Bottom);
                CombineRgn(region_, region_, hole, RGN_DIFF);
                DeleteObject(hole);
            }
        }
    }
    {
        TCacheDC dc(cache);
        if (dc.Handle()) {
            TGdiTextCanvas canvas(dc.Handle(), Font().Handle(), ColorToRGB(Font().Color()));
            PaintTextAndFocus(canvas);
        }
    }
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, background);
    SharedColor = clNone;
    GlobalFillColor = clNone;
    SkinData.BackgroundChanged = false;
}

void TsButton::OnPaint(TMessage& m) {
    PAINTSTRUCT ps{};
    const bool own = m.WParam == 0;
    HDC dc = own ? BeginPaint(Handle(), &ps) : reinterpret_cast<HDC>(m.WParam);
    const int saved = SaveDC(dc);
    struct TEnd {
        TsButton* self;
        HDC dc;
        int saved;
        bool own;
        PAINTSTRUCT* ps;
        ~TEnd() {
            RestoreDC(dc, saved);
            if (own) EndPaint(self->Handle(), ps);
        }
    } end{this, dc, saved, own, &ps};

    SkinData.Updating = SkinData.IsUpdating();
    if (SkinData.Updating) return;
    if (fadeTimer_) {
        if (fadeTimer_->Direction() != 0) return;   // the fade timer draws the frames
        StopFade();
    }
    SkinData.BackgroundChanged = SkinData.BackgroundChanged || SkinData.PartlyHidden ||
                                 (Parent() && QuerySkinCommand(Parent(), SMC_QUERYPARTLYHIDDEN));
    if (Parent()) {
        const RECT client = Parent()->ClientRect();
        SkinData.PartlyHidden = Left() < client.left || Top() < client.top || Left() + Width() > client.right ||
                                Top() + Height() > client.bottom;
    }
    // A region to renew needs a rebuild to be made.
    if (regionRenewal_ && !region_) SkinData.BackgroundChanged = true;
    const int state = StateIndex();
    if (SkinData.BackgroundChanged && (!SkinData.Preparing || state != 0)) PrepareCache();
    if (regionRenewal_) SkinData.UpdateCorners(state, crAll);
    const TBitmap24* cache = SkinData.CacheBmp();
    if (cache && cache->Handle()) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(cache->Handle()));
        BitBlt(dc, 0, 0, Width(), Height(), memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (regionRenewal_ && region_) ApplyRegion();
}

// ---- mouse and keyboard -----------------------------------------------------------------

void TsButton::OnMouseDown(bool left) {
    if (left) {
        savedShowHint_ = Application().ShowHint();
        Application().SetShowHint(false);
    }
    mouseDown_ = true;
    if (left && !IsDown()) {
        pressedLook_ = true;
        regionRenewal_ = true;
        SkinData.Updating = SkinData.IsUpdating();
        RequestFade(fadeTimer_, SkinData, false, 1, AnimatEventAllowed(animatEvents_, aeMouseDown));
    }
}

bool TsButton::OnMouseUp(const TMessage& m, bool left) {
    if (left) Application().SetShowHint(savedShowHint_);
    if (!mouseDown_ || InState(csDestroying)) return true;   // not even the framework sees it
    mouseDown_ = false;
    if (!left) return false;
    if (fadeTimer_ && fadeTimer_->Direction() != 0) fadeTimer_->SetDirection(0);
    RepaintNow();
    pressedLook_ = false;
    const TPoint p = ClientPoint(m.LParam);
    const RECT client = ClientRect();
    if (p.X >= client.left && p.X < client.right && p.Y >= client.top && p.Y < client.bottom) Click();
    if (InState(csDestroying)) return true;
    regionRenewal_ = true;
    RequestFade(fadeTimer_, SkinData, false, 1, AnimatEventAllowed(animatEvents_, aeMouseUp));
    return false;
}

void TsButton::OnMouseEnterLeave(TMessage& m) {
    const bool enter = m.Msg == CM_MOUSEENTER;
    if (const TNotifyEvent& handler = enter ? OnMouseEnter : OnMouseLeave) handler(this);
    SkinData.MouseAbove = enter;
    RequestFade(fadeTimer_, SkinData, false, 1, AnimatEventAllowed(animatEvents_, enter ? aeMouseEnter : aeMouseLeave));
}

void TsButton::OnFocusGained(TMessage& m) {
    TButton::WndProc(m);
    if (fadeTimer_) fadeTimer_->DrawFrame();
    else SkinData.Invalidate();
}

void TsButton::OnFocusLost(TMessage& m) {
    pressedLook_ = false;
    // The native button must see its focus go even when disabled (it releases its capture).
    if (!Enabled()) return TButton::WndProc(m);
    StopFade();
    TButton::WndProc(m);
    SkinData.Focused = false;
    SkinData.MouseAbove = false;
    regionRenewal_ = true;
    SkinData.Invalidate();
}

void TsButton::OnDialogChar(const TMessage& m) {
    if (m.WParam != VK_SPACE || !Enabled() || !HandleAllocated() || !Focused()) return;
    StopFade();
    pressedLook_ = true;
    regionRenewal_ = true;
    RepaintNow();
}

void TsButton::OnKeyUp(const TMessage& m) {
    if (m.WParam != VK_SPACE || !IsDown()) return;
    pressedLook_ = false;
    regionRenewal_ = true;
    RepaintNow();
    Click();
}

void TsButton::OnFocusChanged(const TMessage& m) {
    if (!SkinData.IsSkinned(false) || !Default()) return;
    auto* focused = reinterpret_cast<TControl*>(m.LParam);
    const bool look = dynamic_cast<TsButton*>(focused) ? focused == this : Default();
    if (look == defaultLook_) return;
    defaultLook_ = look;
    SkinData.Invalidate();
}

// ---- window procedure -------------------------------------------------------------------

bool TsButton::HandleSkinFirst(TMessage& m) {
    switch (SkinCommandOf(m.WParam)) {
    case SMC_STOPFADE: StopFade(); return true;
    case SMC_FADEPREPARE: PrepareCache(); return false;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Before = [this] { StopFade(); },
        .Changing = [this] { regionRenewal_ = true; },
        .Removed =
            [this] {
                if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
                FreeRegion();
                Repaint();
            },
        .Applied =
            [this] {
                regionRenewal_ = true;
                // Without a section the native button paints: nobody else repaints it.
                if (!SkinData.IsSkinned(false)) return ReturnToSystemLook();
                if (!SkinData.Updating) Repaint();   // else the parent's paint repaints it (SMC_PARENTUPDATED)
            },
    });
}

// A skin without the button's section: the skinned shape and picture go, and the
// native button paints its own face once its parent draws again (a paint now,
// while the form holds its drawing, would show nothing).
void TsButton::ReturnToSystemLook() {
    if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, FALSE);
    FreeRegion();
    if (!SkinData.Updating) SkinData.RepaintSystemLook();   // else after the parent's paint (SMC_PARENTUPDATED)
}

bool TsButton::HandleSkinned(TMessage& m) {
    if (m.Msg == SM_ALPHACMD) {
        switch (SkinCommandOf(m.WParam)) {
        case SMC_PARENTUPDATED:
            if (SkinData.Updating) {
                SkinData.Updating = false;
                RepaintNow();
            }
            return true;
        case SMC_SETPREPARING:
            if (SkinData.Preparing) PrepareCache();
            SkinData.CommonWndProc(m);
            return true;
        default: return false;
        }
    }
    const bool designing = Designing(this);
    switch (m.Msg) {
    case WM_PAINT:         OnPaint(m); return true;
    case WM_ERASEBKGND:    m.Result = 1; return true;   // the cache covers every pixel
    case WM_ENABLE:        return true;                 // the native button would repaint its own face
    case BM_SETSTATE:      return true;                 // the pressed look is ours
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: return true;
    case WM_MOVE: {
        const TsGeneralData* s = SkinData.Section();
        if (s && (s->Transparency > 0 || (s->HotTransparency > 0 && SkinData.IsActive()))) RepaintNow();
        return false;
    }
    case WM_SIZE:          regionRenewal_ = true; return false;
    case WM_SETFOCUS:
    case CM_ENTER:
        if (designing || !Enabled()) return false;
        OnFocusGained(m);
        return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
        if (designing) return false;
        OnFocusLost(m);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        if (Enabled()) OnMouseDown(m.Msg != WM_RBUTTONDOWN);
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        return Enabled() && OnMouseUp(m, m.Msg == WM_LBUTTONUP);
    case WM_KEYUP:         OnKeyUp(m); return false;
    case CM_DIALOGCHAR:    OnDialogChar(m); return false;
    case CM_ENABLEDCHANGED:
        if (Visible()) {
            SkinData.Updating = false;
            SkinData.Invalidate();
        }
        return false;
    case CM_TEXTCHANGED:   RepaintNow(); return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (!designing && Enabled()) OnMouseEnterLeave(m);
        return false;
    case CM_FOCUSCHANGED:  OnFocusChanged(m); return false;
    default: return false;
    }
}

void TsButton::HandleAfter(const TMessage& m) {
    switch (m.Msg) {
    case CM_FONTCHANGED:
        SkinData.Updating = false;
        SkinData.Invalidate();
        break;
    case CM_VISIBLECHANGED: RepaintNow(); break;
    default: break;
    }
}

void TsButton::WndProc(TMessage& m) {
    // Whatever sets the text (the framework, or anyone through the window) forgets the kept caption.
    const bool textChange = m.Msg == WM_SETTEXT || m.Msg == WM_NCCREATE || m.Msg == WM_NCDESTROY || m.Msg == CM_TEXTCHANGED;
    if (textChange) caption_.reset();
    struct TForget {
        std::optional<std::string>& caption;
        bool active;
        ~TForget() {
            if (active) caption.reset();
        }
    } forget{caption_, textChange};
    if (m.Msg == SM_ALPHACMD && HandleSkinFirst(m)) return;
    // The click the native button reports for a release or space key we judged ourselves.
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED && nativeClickMuted_) return;
    if (!ControlIsReady(this) || !SkinData.IsSkinned(true)) {
        TButton::WndProc(m);
        return;
    }
    if (HandleSkinned(m)) return;
    if (m.Msg == SM_ALPHACMD) {
        SkinData.CommonWndProc(m);
        return;
    }
    SkinData.CommonWndProc(m);
    // A release or space key-up has been judged above: the native button's own
    // notification while it handles the same message is not a second click.
    const bool mute = !nativeClickMuted_ && (m.Msg == WM_LBUTTONUP || (m.Msg == WM_KEYUP && m.WParam == VK_SPACE));
    struct TUnmute {
        bool& flag;
        bool active;
        ~TUnmute() {
            if (active) flag = false;
        }
    } unmute{nativeClickMuted_, mute};
    if (mute) nativeClickMuted_ = true;
    TButton::WndProc(m);
    HandleAfter(m);
}

// ---- registration -------------------------------------------------------------------------

void RegisterButtonClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TsButton>("TsButton", "TButton");
        using S = std::function<void(TsButton&, const TValue&, TReadContext&)>;
        const auto prop = [&registry](const std::string& name, S setter) {
            registry.RegisterProperty<TsButton>("TsButton", name, std::move(setter));
        };
        RegisterSkinDataProperties<TsButton>("TsButton");
        prop("DisabledKind", [](TsButton& b, const TValue& v, TReadContext&) {
            b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("Down", [](TsButton& b, const TValue& v, TReadContext&) { b.SetDown(v.AsBoolean()); });
        prop("FocusMargin", [](TsButton& b, const TValue& v, TReadContext&) { b.SetFocusMargin(v.AsInteger()); });
        prop("AnimatEvents", [](TsButton& b, const TValue& v, TReadContext&) {
            b.SetAnimatEvents(v.AsSet({{"aeMouseEnter", aeMouseEnter},
                                       {"aeMouseLeave", aeMouseLeave},
                                       {"aeMouseDown", aeMouseDown},
                                       {"aeMouseUp", aeMouseUp},
                                       {"aeGlobalDef", aeGlobalDef}}));
        });
        prop("OnMouseEnter", [](TsButton& b, const TValue& v, TReadContext& r) { b.OnMouseEnter = r.Handler(v); });
        prop("OnMouseLeave", [](TsButton& b, const TValue& v, TReadContext& r) { b.OnMouseLeave = r.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
