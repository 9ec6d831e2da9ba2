#include "gui/graphic_controls.h"

#include "gui/text.h"
#include "gui/win_control.h"

namespace korvel {

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT && m.WParam) {
        // The parent has moved the origin to our top-left and clipped to our bounds.
        canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
        canvas_.Font().Assign(Font());
        struct TRelease {
            TCanvas& canvas;
            ~TRelease() { canvas.SetHandle(nullptr); }
        } release{canvas_};
        Paint();
        return;
    }
    TControl::WndProc(m);
}

// ---- TLabel --------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~csOpaque : ControlStyle() | csOpaque);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | (showAccelChar_ ? 0 : DT_NOPREFIX);
    TAlignment alignment = alignment_;
    if (UseRightToLeftAlignment() && alignment != TAlignment::taCenter)
        alignment = alignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
    if (alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    return flags;
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCountedMemoryDC(screen);
    ReleaseDC(nullptr, screen);
    TFont font;
    font.Assign(Font());
    HGDIOBJ old = SelectObject(dc, font.Handle());
    std::wstring text = Widen(Caption());
    if (text.empty() || (showAccelChar_ && text.front() == L'&' && text.size() == 1)) text = L" ";
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    DeleteCountedDC(dc);
    int left = Left();
    if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - r.right;
    if (!wordWrap_ && alignment_ == TAlignment::taCenter) left += (Width() - r.right) / 2;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    SetBkMode(canvas.Handle(), TRANSPARENT);
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    canvas.DrawText(Caption(), r, DrawFlags());
}

bool TLabel::AnswerDialogChar(TMessage& m) {
    if (!focusControl_ || !showAccelChar_ || !Showing() || !IsAccel(static_cast<UINT>(m.WParam), Caption())) return false;
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Enabled()) return false;
    if (!focusControl_->CanFocus()) return false;
    m.Result = 1;
    focusControl_->SetFocus();
    return true;
}

void TLabel::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR && AnswerDialogChar(m)) return;
    TGraphicControl::WndProc(m);
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED: AdjustBounds(); Invalidate(); break;
    }
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();   // sizes were left alone while the definition was read
}

void TLabel::SetFocusControl(TWinControl* value) {
    if (value == focusControl_) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = value;
    // Cleared when that control is freed, whoever owns it.
    if (focusControl_) focusControl_->FreeNotification(this);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

// ---- TImage ---------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this] { Invalidate(); };
}

void TImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    Invalidate();
}

void TImage::Paint() {
    if (picture_.Empty()) return;
    HDC source = picture_.Canvas().Handle();
    HDC dc = Canvas().Handle();
    if (stretch_) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, Width(), Height(), source, 0, 0, picture_.Width(), picture_.Height(), SRCCOPY);
        return;
    }
    int x = center_ ? (Width() - picture_.Width()) / 2 : 0;
    int y = center_ ? (Height() - picture_.Height()) / 2 : 0;
    BitBlt(dc, x, y, picture_.Width(), picture_.Height(), source, 0, 0, SRCCOPY);
}

}  // namespace korvel
