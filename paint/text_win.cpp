#include "paint/text_win.h"

#include <string>

namespace korvel {
namespace {

static_assert(dtCenter == DT_CENTER && dtRight == DT_RIGHT && dtVCenter == DT_VCENTER && dtBottom == DT_BOTTOM &&
              dtWordBreak == DT_WORDBREAK && dtSingleLine == DT_SINGLELINE && dtNoClip == DT_NOCLIP &&
              dtCalcRect == DT_CALCRECT && dtNoPrefix == DT_NOPREFIX);

COLORREF Ref(TColor c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

}  // namespace

TGdiTextCanvas::TGdiTextCanvas(HDC dc, HFONT font, TColor color)
    : dc_(dc), font_(font ? font : static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT))), color_(color),
      level_(SaveDC(dc)) {
    SelectObject(dc_, font_);
    SetTextColor(dc_, Ref(color_));
    SetBkMode(dc_, TRANSPARENT);
}

TGdiTextCanvas::~TGdiTextCanvas() {
    // Restoring the DC deselects the underlined font before it is freed.
    if (level_) RestoreDC(dc_, level_);
    if (underlined_) DeleteObject(underlined_);
}

TTextSize TGdiTextCanvas::TextExtent(std::string_view text) {
    const std::wstring wide = Wide(text);
    SIZE size{0, 0};
    if (!GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size)) return {};
    return {size.cx, size.cy};
}

void TGdiTextCanvas::DrawTextIn(std::string_view text, TRect& rect, unsigned format) {
    std::wstring wide = Wide(text);
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
    if (format & dtCalcRect) rect = {r.left, r.top, r.right, r.bottom};
}

void TGdiTextCanvas::SetFontColor(TColor color) {
    color_ = color;
    SetTextColor(dc_, Ref(color));
}

void TGdiTextCanvas::SetUnderline(bool underline) {
    if (underline == underline_) return;
    if (underline && !underlined_) {
        LOGFONTW description{};
        if (!GetObjectW(font_, sizeof(description), &description)) return;
        description.lfUnderline = TRUE;
        underlined_ = CreateFontIndirectW(&description);
        if (!underlined_) return;
    }
    SelectObject(dc_, underline ? underlined_ : font_);
    underline_ = underline;
}

void TGdiTextCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(dc_, x, y, Ref(color)); }

int TGdiTextCanvas::SaveState() {
    saved_.push_back({SaveDC(dc_), color_, underline_});
    return static_cast<int>(saved_.size());
}

void TGdiTextCanvas::RestoreState(int saved) {
    if (saved < 1 || saved > static_cast<int>(saved_.size())) return;
    const TSaved& s = saved_[static_cast<std::size_t>(saved) - 1];
    // The DC's font comes back with the DC; colour and underline with our record.
    if (s.DcLevel) RestoreDC(dc_, s.DcLevel);
    color_ = s.Color;
    underline_ = s.Underline;
    saved_.resize(static_cast<std::size_t>(saved) - 1);
}

void TGdiTextCanvas::IntersectClip(const TRect& rect) {
    IntersectClipRect(dc_, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

TRect TGdiTextCanvas::ClipBox() const {
    RECT r{};
    const int kind = GetClipBox(dc_, &r);
    if (kind == ERROR || kind == NULLREGION) return {};
    return {r.left, r.top, r.right, r.bottom};
}

TTextSize GetTextSize(HFONT font, std::string_view text) {
    if (!font) return {};
    HDC screen = GetDC(nullptr);
    if (!screen) return {};
    TTextSize result;
    HGDIOBJ old = SelectObject(screen, font);
    if (old && old != HGDI_ERROR) {
        const std::wstring wide = Wide(text);
        SIZE size{0, 0};
        if (GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size)) result = {size.cx, size.cy};
        SelectObject(screen, old);
    }
    ReleaseDC(nullptr, screen);
    return result;
}

}  // namespace korvel
