#include "controls/edit.h"

#include <functional>

#include "gui/cache_dc.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"
#include "gui/font_properties.h"
#include "gui/text.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {
namespace {

constexpr int FrameWidth = 2;   // the skinned frame the edit always paints itself

// Copies the block (x, y, width, height) of bitmap to the same place of dc.
void CopyBlock(HDC dc, const TBitmap24& bitmap, int x, int y, int width, int height) {
    if (!bitmap.Handle() || width <= 0 || height <= 0) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(bitmap.Handle()));
    BitBlt(dc, x, y, width, height, memory, x, y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

// The window DC of a control, or the DC a caller gave, saved and given back on scope exit.
class TWindowDC {
public:
    TWindowDC(HWND window, HDC given) : window_(window), dc_(given ? given : GetWindowDC(window)), own_(!given) {
        if (dc_) saved_ = SaveDC(dc_);
    }
    ~TWindowDC() {
        if (!dc_) return;
        RestoreDC(dc_, saved_);
        if (own_) ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    bool own_;
    int saved_ = 0;
};

int Utf8Length(const std::string& text) {
    int n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

TsEdit::TsEdit(TComponent* owner)
    : TEdit(owner), SkinData(this, true), boundLabel_(std::make_unique<TsBoundLabel>(this)) {
    SetControlStyle(ControlStyle() | csOpaque);
    SkinData.ControlCode = ccEdit;
    SkinData.Loaded();
}

// The bound label (and with it the label) goes first, while the edit is whole.
TsEdit::~TsEdit() { boundLabel_.reset(); }

void TsEdit::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

// Without a window no position message arrives; the label follows the bounds all the same.
void TsEdit::BoundsChanged() {
    TEdit::BoundsChanged();
    if (!HandleAllocated() && boundLabel_) boundLabel_->AlignLabel();
}

// The definition may set the bounds after activating the label.
void TsEdit::Loaded() {
    TEdit::Loaded();
    SkinData.Loaded();
    boundLabel_->AlignLabel();
}

TRect TsEdit::TextRect() const {
    // A classic edit's border is three-dimensional: one pixel more than a flat one.
    const int inset = BorderStyle() == TBorderStyle::bsSingle ? 2 : 0;
    return {inset + 1, inset + 1, Width() - inset, Height() - inset};
}

std::string TsEdit::DisplayText() const {
    const std::string text = Text();
    if (PasswordChar().empty()) return text;
    std::string shown;
    for (int i = Utf8Length(text); i > 0; --i) shown += PasswordChar();
    return shown;
}

void TsEdit::RepaintNow() {
    SkinData.BackgroundChanged = true;
    if (!HandleAllocated()) return;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

// ---- painting -------------------------------------------------------------------------

void TsEdit::PrepareCache() {
    SkinData.PrepareCacheBmp();
    TBitmap24& cache = *SkinData.CacheBmp();
    TParentBackground background;
    SkinData.GetParentCache(background);
    const bool active = SkinData.IsActive();
    PaintItem(SkinData, background, true, cache, {Left(), Top()}, {0, 0, Width(), Height()}, active ? 1 : 0);
    {
        TCacheDC dc(cache);
        if (dc.Handle()) {
            TGdiTextCanvas canvas(dc.Handle(), Font().Handle(), ColorToRGB(Font().Color()));
            TRect rect = TextRect();
            WriteTextEx(canvas, DisplayText(), true, active,
                        TTextSource{SkinData.Tables(), SkinData.SkinIndex, SkinData.CustomFont()},
                        dtSingleLine | dtWordBreak | dtNoPrefix, rect);
        }
    }
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, background);
    SkinData.BackgroundChanged = false;
}

void TsEdit::FullPaint(HDC given) {
    PAINTSTRUCT ps{};
    if (!given) BeginPaint(Handle(), &ps);
    struct TEnd {
        HWND window;
        PAINTSTRUCT* ps;
        bool own;
        ~TEnd() {
            if (own) EndPaint(window, ps);
        }
    } end{Handle(), &ps, !given};
    TWindowDC dc(Handle(), given);
    if (!dc.Get()) return;
    if (SkinData.IsUpdating()) {
        SkinData.Updating = true;
        return;
    }
    SkinData.BackgroundChanged = SkinData.BackgroundChanged || SkinData.PartlyHidden ||
                                 (Parent() && QuerySkinCommand(Parent(), SMC_QUERYPARTLYHIDDEN));
    if (Parent()) {
        const RECT client = Parent()->ClientRect();
        SkinData.PartlyHidden = Left() < client.left || Top() < client.top || Left() + Width() > client.right ||
                                Top() + Height() > client.bottom;
    }
    if (SkinData.BackgroundChanged && !SkinData.Preparing) PrepareCache();
    SkinData.UpdateCorners(0, crAll);
    if (const TBitmap24* cache = SkinData.CacheBmp()) CopyBlock(dc.Get(), *cache, 0, 0, cache->Width(), cache->Height());
}

void TsEdit::FramePaint(HDC given) {
    SkinData.Updating = SkinData.IsUpdating();
    if (SkinData.Updating) return;
    TWindowDC dc(Handle(), given);
    if (!dc.Get()) return;
    if (SkinData.BackgroundChanged) PrepareCache();
    SkinData.UpdateCorners(0, crAll);
    const TBitmap24* cache = SkinData.CacheBmp();
    if (!cache) return;
    const int w = Width(), h = Height();
    CopyBlock(dc.Get(), *cache, 0, 0, w, FrameWidth);
    CopyBlock(dc.Get(), *cache, 0, FrameWidth, FrameWidth, h);
    CopyBlock(dc.Get(), *cache, FrameWidth, h - FrameWidth, w - 2 * FrameWidth, FrameWidth);
    CopyBlock(dc.Get(), *cache, w - FrameWidth, FrameWidth, FrameWidth, h - FrameWidth);
}

// ---- window procedure -------------------------------------------------------------------

bool TsEdit::HandleSkinFirst(TMessage& m) {
    if (SkinCommandOf(m.WParam) == SMC_QUERYTEXTURED) {   // an edit's face is never a texture to its children
        m.LParam = 0;
        m.Result = 1;
        return true;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Removed =
            [this] {
                // The native frame returns.
                if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
            },
        .Applied =
            [this] {
                // Without a section the native frame and face return, painted by the system.
                if (!SkinData.IsSkinned(false)) {
                    if (!SkinData.Updating) SkinData.RepaintSystemLook();   // else SMC_PARENTUPDATED
                    return;
                }
                if (!SkinData.Updating) RepaintNow();   // else the parent's paint repaints it (SMC_PARENTUPDATED)
            },
    });
}

bool TsEdit::HandleSkinnedBefore(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
        // Active: the frame only, then the native edit paints its client area.
        // Otherwise the whole face, which leaves the native edit nothing to paint.
        if (SkinData.IsActive()) {
            FramePaint(nullptr);
            return false;
        }
        FullPaint(reinterpret_cast<HDC>(m.WParam));
        return m.WParam != 0;   // the native edit would paint into a given DC whatever the update region
    case WM_ERASEBKGND:    m.Result = 1; return true;
    case WM_NCPAINT:       FramePaint(nullptr); return true;   // the native frame is never drawn
    case WM_PRINT: {
        auto dc = reinterpret_cast<HDC>(m.WParam);
        FullPaint(dc);
        FramePaint(dc);
        return true;
    }
    case CM_COLORCHANGED:
        if (SkinData.CustomColor()) SkinData.BackgroundChanged = true;
        return false;
    default: return false;
    }
}

void TsEdit::HandleSkinnedAfter(const TMessage& m) {
    if (m.Msg == SM_ALPHACMD) {
        if (SkinCommandOf(m.WParam) == SMC_PARENTUPDATED && SkinData.Updating) {
            SkinData.Updating = false;
            RepaintNow();
        } else if (SkinCommandOf(m.WParam) == SMC_SETPREPARING && SkinData.Preparing) {
            PrepareCache();
        }
        return;
    }
    switch (m.Msg) {
    case WM_KILLFOCUS:
    case CM_EXIT:
        SkinData.Focused = false;
        SkinData.MouseAbove = false;
        SkinData.BackgroundChanged = true;
        if (Visible()) RepaintNow();
        break;
    case WM_SETTEXT:
    case WM_SETFONT:
    case CM_FONTCHANGED:   // a new colour alone comes without WM_SETFONT
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        if (!IsLoading()) SkinData.Invalidate();
        break;
    default: break;
    }
}

void TsEdit::FollowBoundLabel(const TMessage& m) {
    if (!boundLabel_ || !boundLabel_->Label()) return;
    switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: boundLabel_->AlignLabel(); break;
    case CM_VISIBLECHANGED:   boundLabel_->EditVisibleChanged(); break;
    case CM_ENABLEDCHANGED:   boundLabel_->EditEnabledChanged(); break;
    case CM_BIDIMODECHANGED:  boundLabel_->EditBiDiModeChanged(); break;
    default: break;
    }
}

void TsEdit::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && HandleSkinFirst(m)) return;
    if (!ControlIsReady(this) || !SkinData.IsSkinned(false)) {
        TEdit::WndProc(m);
        FollowBoundLabel(m);
        return;
    }
    if (HandleSkinnedBefore(m)) return;
    const bool wasActive = SkinData.IsActive();
    SkinData.CommonWndProc(m);
    if (m.Msg != SM_ALPHACMD) TEdit::WndProc(m);   // the native edit has nothing to say to skin commands
    HandleSkinnedAfter(m);
    // The mouse moving onto or off an unfocused edit switches between the native
    // face and the skinned one.
    if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && SkinData.IsActive() != wasActive) SkinData.Invalidate();
    FollowBoundLabel(m);
}

// ---- registration -------------------------------------------------------------------------

void RegisterEditClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TsEdit>("TsEdit", "TEdit");
        using S = std::function<void(TsEdit&, const TValue&, TReadContext&)>;
        const auto prop = [&registry](const std::string& name, S setter) {
            registry.RegisterProperty<TsEdit>("TsEdit", name, std::move(setter));
        };
        RegisterSkinDataProperties<TsEdit>("TsEdit");
        prop("DisabledKind", [](TsEdit& e, const TValue& v, TReadContext&) {
            e.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("BoundLabel.Active", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetActive(v.AsBoolean()); });
        prop("BoundLabel.Caption", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetCaption(v.AsString()); });
        prop("BoundLabel.Indent", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetIndent(v.AsInteger()); });
        prop("BoundLabel.Layout", [](TsEdit& e, const TValue& v, TReadContext&) {
            e.BoundLabel().SetLayout(static_cast<TsCaptionLayout>(v.AsEnum(
                {{"sclLeft", sclLeft}, {"sclTopLeft", sclTopLeft}, {"sclTopCenter", sclTopCenter}, {"sclTopRight", sclTopRight}})));
        });
        prop("BoundLabel.MaxWidth", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetMaxWidth(v.AsInteger()); });
        RegisterFontProperties<TsEdit>("TsEdit", "BoundLabel.Font.", [](TsEdit& e) -> TFont& { return e.BoundLabel().Font(); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
