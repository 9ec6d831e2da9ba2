// The skinned check box.
#include "controls/check_box.h"

#include <windowsx.h>

#include <algorithm>

#include "gui/cache_dc.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

namespace {

// What a glyph drawn from a user bitmap or a skin mask needs.
constexpr int NoGlyphSize = 16;

const char* MaskNameOf(TCheckBoxState state) {
    switch (state) {
    case TCheckBoxState::cbChecked: return "BOXCHECKED";
    case TCheckBoxState::cbGrayed:  return "BOXGRAYED";
    case TCheckBoxState::cbUnchecked: break;
    }
    return "BOXUNCHECKED";
}

}  // namespace

struct TsCheckBox::TGlyph {
    int Width = NoGlyphSize;
    int Height = NoGlyphSize;
    int ListIndex = -1;                  // a picture of Images, drawn through its transparency half
    const TBitmap* User = nullptr;       // else a user glyph, drawn the same way
    int MaskIndex = -1;                  // else a skin mask of GLOBALINFO
};

namespace {

// Frame state of a glyph picture (three frames over their transparency) into
// rect of the cache: each channel image + (cache - image) * transparency / 256,
// the transparency being the same channel one frame height lower. Clipped.
void CopyThroughTransparency(TBitmap24& cache, const RECT& rect, const TBitmap24& image, int state) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int sourceLeft = std::min(state, 2) * width;
    const int rows = std::min({height, image.Height() - height, cache.Height() - static_cast<int>(rect.top)});
    const int columns = std::min({width, image.Width() - sourceLeft, cache.Width() - static_cast<int>(rect.left)});
    for (int y = std::max(0, -static_cast<int>(rect.top)); y < rows; ++y) {
        const std::uint8_t* colour = image.ScanLine(y);
        const std::uint8_t* mask = image.ScanLine(y + height);
        std::uint8_t* out = cache.ScanLine(rect.top + y);
        for (int x = std::max(0, -static_cast<int>(rect.left)); x < columns; ++x) {
            const int sx = (sourceLeft + x) * 3;
            const int dx = (rect.left + x) * 3;
            for (int c = 0; c < 3; ++c) {
                const int i = colour[sx + c];
                out[dx + c] = static_cast<std::uint8_t>(i + (out[dx + c] - i) * mask[sx + c] / 256);
            }
        }
    }
}

}  // namespace

TsCheckBox::TsCheckBox(TComponent* owner) : TCheckBox(owner), skinData_(std::make_unique<TsCommonData>(this, false)) {
    skinData_->ControlCode = ccCheckBox;
    skinData_->Loaded();
    glyphChecked_.OnChange = [this] { GlyphChanged(); };
    glyphUnChecked_.OnChange = [this] { GlyphChanged(); };
}

TsCheckBox::~TsCheckBox() {
    StopFade();
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsCheckBox::Loaded() {
    TCheckBox::Loaded();
    skinData_->Loaded();
    AdjustSize();
}

// ---- properties -----------------------------------------------------------------

void TsCheckBox::Toggle() {
    // The user cannot change a read-only box, whichever way the toggle came
    // (release, accelerator, the native control's click).
    if (readOnly_) return;
    TCheckBox::Toggle();
}

void TsCheckBox::StateChanged() {
    skinData_->BackgroundChanged = true;
    if (!ControlIsReady(this) || !skinData_->IsSkinned(true)) return;
    if (InState(csDesigning)) return Invalidate();
    RequestFadeOrRepaint(aeMouseUp);
}

void TsCheckBox::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    skinData_->Invalidate();
}

void TsCheckBox::GlyphChanged() {
    AdjustSize();
    skinData_->BackgroundChanged = true;
    Repaint();
}

void TsCheckBox::SetImages(TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    // Forgotten when the list is freed, whoever owns it.
    if (images_) images_->FreeNotification(this);
    GlyphChanged();
}

void TsCheckBox::SetImgChecked(int value) {
    if (value == imgChecked_) return;
    imgChecked_ = value;
    if (State() == TCheckBoxState::cbChecked) GlyphChanged();
}

void TsCheckBox::SetImgUnchecked(int value) {
    if (value == imgUnchecked_) return;
    imgUnchecked_ = value;
    if (State() == TCheckBoxState::cbUnchecked) GlyphChanged();
}

void TsCheckBox::Notification(TComponent* component, TOperation operation) {
    TCheckBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == images_) {
        images_ = nullptr;
        if (!InState(csDestroying)) GlyphChanged();
    }
}

void TsCheckBox::SetMargin(int value) {
    if (value == margin_) return;
    margin_ = value;
    AdjustSize();
    Repaint();
}

void TsCheckBox::SetTextIndent(int value) {
    if (value == textIndent_) return;
    textIndent_ = value;
    AdjustSize();
    Repaint();
}

void TsCheckBox::SetMultiLine(bool value) {
    if (value == multiLine_) return;
    multiLine_ = value;
    if (autoSize_) autoSize_ = false;   // a wrapped caption keeps the size it is given
    skinData_->Invalidate();
}

void TsCheckBox::SetShowFocus(bool value) {
    if (value == showFocus_) return;
    showFocus_ = value;
    skinData_->Invalidate();
}

void TsCheckBox::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustSize();
}

void TsCheckBox::Invalidate() {
    if (autoSize_) multiLine_ = false;
    TCheckBox::Invalidate();
}

// ---- geometry -------------------------------------------------------------------

TsCheckBox::TGlyph TsCheckBox::CurrentGlyph() const {
    TGlyph glyph;
    if (images_ && imgChecked_ >= 0 && imgUnchecked_ >= 0) {
        glyph.Width = images_->Width() / 3;
        glyph.Height = images_->Height() / 2;
        glyph.ListIndex = State() == TCheckBoxState::cbChecked ? imgChecked_ : imgUnchecked_;
        return glyph;
    }
    if (glyphChecked_.Width() > 0) {
        glyph.Width = glyphChecked_.Width() / 3;
        glyph.Height = glyphChecked_.Height() / 2;
        if (State() == TCheckBoxState::cbChecked) glyph.User = &glyphChecked_;
        else if (glyphUnChecked_.Width() > 0) glyph.User = &glyphUnChecked_;
        return glyph;
    }
    const TsSkinTables* tables = skinData_->Tables();
    if (!tables) return glyph;
    const int global = tables->SectionIndexOf("GLOBALINFO");
    const int index = tables->MaskIndexOf(global, "GLOBALINFO", GlyphMaskName(State()));
    if (!tables->IsValidMaskIndex(index)) return glyph;
    const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(index)];
    if (mask.Bmp) {
        glyph.Width = mask.Bmp->Width() / 3;
        glyph.Height = mask.Bmp->Height() / 2;
    } else if (mask.ImageCount > 0) {
        glyph.Width = mask.R.Width() / mask.ImageCount;
        glyph.Height = mask.R.Height() / (mask.MaskType + 1);
    } else {
        return glyph;
    }
    glyph.MaskIndex = index;
    return glyph;
}

RECT TsCheckBox::GlyphRect(int width, int height) const {
    const int top = (Height() - height) / 2;
    const int left = Alignment() == TAlignment::taRightJustify ? margin_ : Width() - width - margin_;
    return RECT{left, top, left + width, top + height};
}

const char* TsCheckBox::GlyphMaskName(TCheckBoxState state) const { return MaskNameOf(state); }

bool TsCheckBox::Hot() const { return skinData_->IsActive() && !readOnly_; }

int TsCheckBox::GlyphState() const { return pressed_ ? 2 : (Hot() ? 1 : 0); }

void TsCheckBox::AdjustSize() {
    if (!autoSize_ || IsLoading() || !skinData_->IsSkinned(false)) return;
    const std::string caption = Caption();
    TTextSize text;
    if (!caption.empty()) {
        TFont font;
        font.Assign(Font());
        text = GetTextSize(font.Handle(), caption);
    }
    const TGlyph glyph = CurrentGlyph();
    const int width = glyph.Width + 2 * margin_ + (caption.empty() ? 0 : text.Width + textIndent_ + 8);
    const int height = std::max(glyph.Height, text.Height + 2 * margin_) + 2;
    if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

// ---- painting -------------------------------------------------------------------

void TsCheckBox::PaintCaption(HDC cacheDC, int glyphWidth) {
    const std::string caption = Caption();
    if (caption.empty()) return;
    const int a = glyphWidth + textIndent_ + margin_ + 4;
    const bool glyphLeft = Alignment() == TAlignment::taRightJustify;
    RECT r = glyphLeft ? RECT{a, margin_, Width() - margin_ - 2, Height() - margin_}
                       : RECT{margin_, margin_, Width() - a - 2, Height() - margin_};
    unsigned format = multiLine_ ? (dtWordBreak | dtCenter) : (dtSingleLine | dtVCenter);
    if (!glyphLeft && !multiLine_) format |= dtRight;
    TFont font;
    font.Assign(Font());
    TGdiTextCanvas canvas(cacheDC, font.Handle(), ColorToRGB(Font().Color()));
    TRect text{r.left, r.top, r.right, r.bottom - 2};
    const TTextSource source{skinData_->Tables(), skinData_->SkinIndex, skinData_->CustomFont()};
    WriteTextEx(canvas, caption, true, Hot(), source, format, text);
    if (!Focused() || !showFocus_) return;
    text.Bottom += 2;   // the bottom as it was before writing
    TRect frame{text.Left - 1, text.Top + 1 - 1, text.Right + 1, text.Bottom - 2 + 1};
    DrawDottedFrame(canvas, frame);
}

void TsCheckBox::PaintGlyph(TBitmap24& cache) {
    const TGlyph glyph = CurrentGlyph();
    const RECT r = GlyphRect(glyph.Width, glyph.Height);
    const int state = GlyphState();
    if (glyph.MaskIndex >= 0) {
        const TsSkinTables& tables = *skinData_->Tables();
        DrawSkinGlyph(cache, TPoint{r.left, r.top}, state, tables, tables.Masks[static_cast<std::size_t>(glyph.MaskIndex)], 1);
        return;
    }
    if (glyph.ListIndex >= 0 && images_) {
        if (glyph.ListIndex >= images_->Count()) return;   // no such picture: no glyph
        TBitmap24 picture(images_->Width(), images_->Height());
        images_->Draw(picture, 0, 0, glyph.ListIndex);
        CopyThroughTransparency(cache, r, picture, state);
        return;
    }
    if (glyph.User) CopyThroughTransparency(cache, r, glyph.User->Pixels(), state);
}

void TsCheckBox::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    PaintItem(data, background, true, cache, TPoint{Left(), Top()}, TRect{0, 0, cache.Width(), Height()}, Hot() ? 1 : 0);
    {
        TCacheDC dc(cache);
        if (dc.Handle()) PaintCaption(dc.Handle(), CurrentGlyph().Width);
    }
    GdiFlush();   // the text is in the pixels before the glyph is blended over them
    PaintGlyph(cache);
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), TPoint{Left(), Top()}, background);
    data.BackgroundChanged = false;
}

void TsCheckBox::OnPaintMessage(TMessage& m) {
    PAINTSTRUCT ps{};
    const bool own = m.WParam == 0;
    HDC dc = own ? BeginPaint(Handle(), &ps) : reinterpret_cast<HDC>(m.WParam);
    GlobalFillColor = Parent() ? ColorToRGB(Parent()->Color()) : clNone;
    struct TEnd {
        TsCheckBox* self;
        bool own;
        PAINTSTRUCT* ps;
        ~TEnd() {
            GlobalFillColor = clNone;
            if (own) EndPaint(self->Handle(), ps);
        }
    } end{this, own, &ps};
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
    data.UpdateCorners(0, crAll);
    TCacheDC cache(*data.CacheBmp());
    if (cache.Handle()) BitBlt(dc, 0, 0, Width(), Height(), cache.Handle(), 0, 0, SRCCOPY);
}

void TsCheckBox::RequestFadeOrRepaint(TacAnimatEvent event) {
    RequestFade(fadeTimer_, *skinData_, false, 1, AnimationAllowed(event));
}

void TsCheckBox::StopFade() { korvel::StopFade(fadeTimer_, *skinData_); }

// ---- window procedure -----------------------------------------------------------

void TsCheckBox::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    const bool skinned = skinData_->IsSkinned(true) && !InState(csDesigning);
    if (skinned && OnFocusOrMouse(m)) return;
    if (ControlIsReady(this)) {
        skinData_->CommonWndProc(m);
        if (skinData_->IsSkinned(true) ? SkinnedMessage(m) : PlainMessage(m)) return;
    }
    if (m.Msg == SM_ALPHACMD) return;   // answered by the skin state, or by nobody
    TCheckBox::WndProc(m);
}

bool TsCheckBox::OnSkinAnnouncement(TMessage& m) {
    switch (SkinCommandOf(m.WParam)) {
    case SMC_STOPFADE: StopFade(); return true;
    case SMC_FADEPREPARE: RebuildCache(); return false;
    }
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Before = [this] { StopFade(); },
        .Removed =
            [this] {
                // The native control shows the state again; it never changed it itself while skinned.
                if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(State()), 0);
                Repaint();
            },
        .Applied =
            [this] {
                AdjustSize();
                if (!skinData_->IsSkinned(false)) {
                    // Without a section the native box paints, with the state it has now.
                    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(State()), 0);
                    if (!skinData_->Updating) skinData_->RepaintSystemLook();   // else SMC_PARENTUPDATED
                    return;
                }
                if (!skinData_->Updating) Repaint();   // else the parent's paint repaints it (SMC_PARENTUPDATED)
            },
    });
}

bool TsCheckBox::OnFocusOrMouse(TMessage& m) {
    TsCommonData& data = *skinData_;
    switch (m.Msg) {
    case WM_SETFOCUS:
    case CM_ENTER:
        if (!Enabled()) return true;
        TCheckBox::WndProc(m);
        data.BackgroundChanged = true;
        if (fadeTimer_) fadeTimer_->DrawFrame();
        else Repaint();
        return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
        if (!Enabled()) return false;
        StopFade();
        TCheckBox::WndProc(m);
        data.Focused = false;
        data.MouseAbove = false;
        data.Invalidate();
        return true;
    case CM_MOUSEENTER:
        if (Enabled() && !data.MouseAbove) {
            data.MouseAbove = true;
            RequestFadeOrRepaint(aeMouseEnter);
        }
        return false;
    case CM_MOUSELEAVE:
        if (Enabled()) {
            data.MouseAbove = false;
            // A press keeps the pointer: its release toggles wherever it happens.
            if (GetCapture() != Handle()) pressed_ = false;
            RequestFadeOrRepaint(aeMouseLeave);
        }
        return false;
    }
    return false;
}

bool TsCheckBox::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_ENABLE:
    case WM_NCPAINT:        return true;
    case WM_PAINT:          OnPaintMessage(m); return true;
    case WM_ERASEBKGND:     m.Result = 1; return true;
    case WM_UPDATEUISTATE:  return true;   // the native control would draw its focus cues over the skin
    case BM_SETCHECK:       // the framework tells the window its new state; the native control keeps its own
        StopFade();
        if (!IsLoading()) StateChanged();
        return true;
    case WM_KEYDOWN:        return OnKeyDownMessage(m);
    case WM_KEYUP:          return OnKeyUpMessage(m);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  return OnButtonDown(m);
    case WM_LBUTTONUP:      return OnButtonUp(m);
    case CM_ENABLEDCHANGED: TCheckBox::WndProc(m); Repaint(); return true;
    case CM_TEXTCHANGED:    AdjustSize(); Repaint(); return true;
    }
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_PARENTUPDATED &&
        (skinData_->Updating || skinData_->PartlyHidden)) {
        skinData_->Updating = false;
        Repaint();
    }
    return false;
}

void TsCheckBox::TakeFocus() {
    if (!Focused() && CanFocus()) SetFocus();
}

bool TsCheckBox::OnKeyDownMessage(TMessage& m) {
    if (m.WParam != VK_SPACE || !Enabled()) return false;
    if (readOnly_) return true;
    pressed_ = true;
    TakeFocus();
    Repaint();
    WORD key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyboardShiftState());
    return true;
}

bool TsCheckBox::OnKeyUpMessage(TMessage& m) {
    if (!Enabled()) return false;
    if (readOnly_) return true;
    if (pressed_) {
        pressed_ = false;
        Toggle();
    }
    WORD key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyboardShiftState());
    return true;
}

bool TsCheckBox::OnButtonDown(TMessage& m) {
    if (!Enabled()) return false;
    if (readOnly_) return true;
    pressed_ = true;
    // The release toggles wherever it happens, so it must come here.
    SetCapture(Handle());
    RequestFadeOrRepaint(aeMouseDown);
    TakeFocus();
    if (m.Msg == WM_LBUTTONDBLCLK) DblClick();
    else MouseDown(TMouseButton::mbLeft, MouseShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    return true;
}

bool TsCheckBox::OnButtonUp(TMessage& m) {
    if (!Enabled()) return false;
    if (readOnly_) return true;
    if (GetCapture() == Handle()) ReleaseCapture();
    if (pressed_) {
        pressed_ = false;
        Toggle();
    }
    MouseUp(TMouseButton::mbLeft, MouseShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    return true;
}

bool TsCheckBox::PlainMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        pressed_ = true;
        return false;
    case WM_KEYUP:
    case WM_LBUTTONUP:
        pressed_ = false;
        return false;
    case WM_LBUTTONDBLCLK:
        return readOnly_;
    case BM_SETCHECK:
    case BM_SETSTATE:
        return readOnly_ && pressed_ && !(ControlState() & csCreating);
    }
    return false;
}

// ---- registration -----------------------------------------------------------------

void RegisterCheckBoxClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsCheckBox>("TsCheckBox", "TCheckBox");
        RegisterSkinDataProperties<TsCheckBox>("TsCheckBox");
        using B = TsCheckBox;
        using S = std::function<void(B&, const TValue&, TReadContext&)>;
        const auto prop = [&r](const std::string& name, S setter) { r.RegisterProperty<B>("TsCheckBox", name, std::move(setter)); };
        prop("DisabledKind", [](B& b, const TValue& v, TReadContext&) {
            b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("GlyphChecked", [](B& b, const TValue& v, TReadContext& c) {
            if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
            b.GlyphChecked().LoadFromResourceName(c.Module(), v.Text);
        });
        prop("GlyphUnChecked", [](B& b, const TValue& v, TReadContext& c) {
            if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
            b.GlyphUnChecked().LoadFromResourceName(c.Module(), v.Text);
        });
        prop("Images", [](B& b, const TValue& v, TReadContext& c) {
            c.ReferTo(v, [&b](TComponent* target) {
                auto* list = dynamic_cast<TCustomImageList*>(target);
                if (!list) throw EConvertError(FormatText("%s is not an image list", {target->Name()}));
                b.SetImages(list);
            });
        });
        prop("ImgChecked", [](B& b, const TValue& v, TReadContext&) { b.SetImgChecked(v.AsInteger()); });
        prop("ImgUnchecked", [](B& b, const TValue& v, TReadContext&) { b.SetImgUnchecked(v.AsInteger()); });
        prop("Margin", [](B& b, const TValue& v, TReadContext&) { b.SetMargin(v.AsInteger()); });
        prop("TextIndent", [](B& b, const TValue& v, TReadContext&) { b.SetTextIndent(v.AsInteger()); });
        prop("MultiLine", [](B& b, const TValue& v, TReadContext&) { b.SetMultiLine(v.AsBoolean()); });
        prop("ShowFocus", [](B& b, const TValue& v, TReadContext&) { b.SetShowFocus(v.AsBoolean()); });
        prop("ReadOnly", [](B& b, const TValue& v, TReadContext&) { b.SetReadOnly(v.AsBoolean()); });
        prop("AutoSize", [](B& b, const TValue& v, TReadContext&) { b.SetAutoSize(v.AsBoolean()); });
        prop("AnimatEvents", [](B& b, const TValue& v, TReadContext&) {
            b.SetAnimatEvents(v.AsSet({{"aeMouseEnter", aeMouseEnter}, {"aeMouseLeave", aeMouseLeave},
                                       {"aeMouseDown", aeMouseDown}, {"aeMouseUp", aeMouseUp},
                                       {"aeGlobalDef", aeGlobalDef}}));
        });
        prop("OnDblClick", [](B& b, const TValue& v, TReadContext& c) { b.OnDblClick = c.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
