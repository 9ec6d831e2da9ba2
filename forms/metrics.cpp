// The non-client metrics of a skinned form. Sizes come from the system's
// metrics and the form's settings; the skin only supplies the images.
#include "forms/skin_provider.h"

#include <algorithm>

namespace korvel {

namespace {

using BS = TFormBorderStyle;

bool IsToolWindow(BS style) { return style == BS::bsToolWindow || style == BS::bsSizeToolWin; }

struct TWindowRects {
    RECT Window{};
    RECT Client{};
};

TWindowRects RectsOf(TForm* form) {
    TWindowRects r;
    if (form->HandleAllocated()) {
        GetWindowRect(form->Handle(), &r.Window);
        GetClientRect(form->Handle(), &r.Client);
    } else {
        r.Window = {0, 0, form->Width(), form->Height()};
        r.Client = form->ClientRect();
    }
    return r;
}

int WidthOf(const RECT& r) { return r.right - r.left; }
int HeightOf(const RECT& r) { return r.bottom - r.top; }

}  // namespace

bool TsSkinProvider::HasBorder() const { return form_->BorderStyle() != BS::bsNone; }

bool TsSkinProvider::Minimized() const {
    return form_->HandleAllocated() && IsIconic(form_->Handle());
}

bool TsSkinProvider::Maximized() const {
    return form_->HandleAllocated() && IsZoomed(form_->Handle());
}

int TsSkinProvider::CaptionHeight() const {
    const BS style = form_->BorderStyle();
    if (style == BS::bsNone) return 0;
    return GetSystemMetrics(IsToolWindow(style) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int TsSkinProvider::FrameHeight() const {
    const BS style = form_->BorderStyle();
    if (style == BS::bsNone) return 0;
    bool fixed;
    if (form_->FormStyle() == TFormStyle::fsMDIChild) fixed = style == BS::bsSingle || style == BS::bsToolWindow;
    else fixed = style == BS::bsSingle || style == BS::bsDialog || style == BS::bsToolWindow;
    return GetSystemMetrics(fixed ? SM_CYFIXEDFRAME : SM_CYSIZEFRAME);
}

int TsSkinProvider::FrameWidth() const {
    const BS style = form_->BorderStyle();
    if (style == BS::bsNone) return 0;
    bool fixed;
    if (form_->FormStyle() == TFormStyle::fsMDIChild) fixed = style == BS::bsSingle || style == BS::bsToolWindow;
    else fixed = style == BS::bsSingle || style == BS::bsDialog || style == BS::bsToolWindow;
    return GetSystemMetrics(fixed ? SM_CXFIXEDFRAME : SM_CXSIZEFRAME);
}

int TsSkinProvider::MenuHeight() const { return form_->Menu() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

int TsSkinProvider::WindowWidth() const {
    if (Minimized()) return WidthOf(RectsOf(form_).Window);
    return form_->Width();
}

int TsSkinProvider::FormHeight() const { return form_->Height(); }

int TsSkinProvider::NonClientTopHeight() const {
    const TWindowRects r = RectsOf(form_);
    int height = HeightOf(r.Window) - HeightOf(r.Client);
    if (HasBorder()) height -= FrameHeight();
    height = std::max(height, 0);
    if (Minimized()) height += FrameHeight();
    return height;
}

int TsSkinProvider::ClientOffsetX() const {
    const TWindowRects r = RectsOf(form_);
    return (WidthOf(r.Window) - WidthOf(r.Client)) / 2;
}

int TsSkinProvider::ClientOffsetY() const {
    const TWindowRects r = RectsOf(form_);
    int offset = HeightOf(r.Window) - HeightOf(r.Client);
    if (HasBorder()) offset -= FrameHeight() + FormBorderWidth();
    return offset;
}

bool TsSkinProvider::IconVisible() const {
    const BS style = form_->BorderStyle();
    return (style == BS::bsSingle || style == BS::bsSizeable) && showAppIcon_;
}

int IconSizeClass(int captionHeight) {
    if (captionHeight < 9) return 0;
    if (captionHeight <= 16) return 8;
    if (captionHeight <= 27) return 16;
    return 32;
}

int TsSkinProvider::IconWidth() const {
    if (!IconVisible()) return 0;
    return titleIcon_->Width != 0 ? titleIcon_->Width : IconSizeClass(CaptionHeight());
}

int TsSkinProvider::IconHeight() const {
    if (!IconVisible()) return 0;
    return titleIcon_->Height != 0 ? titleIcon_->Height : IconSizeClass(CaptionHeight());
}

TRect TsSkinProvider::IconRect() const {
    TRect r;
    r.Left = FrameWidth();
    r.Right = r.Left + IconWidth();
    r.Top = (CaptionHeight() + FrameHeight() - IconHeight()) / 2;
    r.Bottom = r.Top + IconHeight();
    return r;
}

}  // namespace korvel
