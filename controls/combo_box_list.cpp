// The skinned combo box's open list: its vertical scroll bar painted from the
// skin's scroll bar sections over the native one, which keeps the scrolling.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "controls/combo_box.h"
#include "engine/skin_manager.h"
#include "gui/cache_dc.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/scroll_metrics.h"

namespace korvel {
namespace {

struct TListHook {
    TsComboBox* Combo;
    WNDPROC Original;
};

// The lists whose window procedure a combo box took, GUI thread only.
std::unordered_map<HWND, TListHook>& ListHooks() {
    static auto* hooks = new std::unordered_map<HWND, TListHook>;
    return *hooks;
}

// Messages after which Win32 may have drawn the native bar again.
bool MayRedrawScrollBar(UINT msg) {
    switch (msg) {
    case WM_NCPAINT:
    case WM_PAINT:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
    case WM_TIMER:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
    case LB_SETTOPINDEX:
    case LB_SETCURSEL:
    case WM_SETREDRAW:
        return true;
    }
    return false;
}

// A section painted over what target holds at rect, so that its see-through
// parts show that.
void PaintPart(const TsSkinTables& tables, const TsScrollPartIndexes& idx, TBitmap24& target, const RECT& r, int state) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || !tables.IsValidSectionIndex(idx.SkinIndex)) return;
    TBitmap24 piece(w, h);
    for (int y = 0; y < h; ++y)
        std::memcpy(piece.ScanLine(y), target.ScanLine(r.top + y) + r.left * 3, static_cast<std::size_t>(w) * 3);
    PaintSection(idx.SkinIndex, TParentBackground{&target, 0, 0, true}, &tables, piece, {r.left, r.top}, {0, 0, w, h},
                 state, true, idx.Pattern, idx.HotPattern, idx.BordersMask);
    for (int y = 0; y < h; ++y)
        std::memcpy(target.ScanLine(r.top + y) + r.left * 3, piece.ScanLine(y), static_cast<std::size_t>(w) * 3);
}

void PaintGlyphCentred(const TsSkinTables& tables, int maskIndex, TBitmap24& target, const RECT& r, int state) {
    if (!tables.IsValidMaskIndex(maskIndex)) return;
    const TsMaskData& glyph = tables.Masks[static_cast<std::size_t>(maskIndex)];
    const TMaskFrameSize f =
        MaskFrameSize(glyph.Bmp != nullptr, glyph.R.Width(), glyph.R.Height(), glyph.ImageCount, glyph.MaskType);
    const int x = r.left + (r.right - r.left - f.Width) / 2, y = r.top + (r.bottom - r.top - f.Height) / 2;
    if (x >= 0 && y >= 0 && f.Width <= r.right - r.left && f.Height <= r.bottom - r.top)
        DrawSkinGlyph(target, {x, y}, state, tables, glyph, 1);
}

}  // namespace

LRESULT CALLBACK TsComboBox::ListProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto it = ListHooks().find(list);
    if (it == ListHooks().end()) return DefWindowProcW(list, msg, wparam, lparam);
    const TListHook hook = it->second;
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.Original));
        ListHooks().erase(list);
        return CallWindowProcW(hook.Original, list, msg, wparam, lparam);
    }
    const LRESULT result = CallWindowProcW(hook.Original, list, msg, wparam, lparam);
    if (MayRedrawScrollBar(msg) && IsWindowVisible(list)) hook.Combo->PaintListScrollBar(list);
    return result;
}

void TsComboBox::HookList() {
    HWND list = ListHandle();
    if (!list || ListHooks().count(list)) return;
    auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
    ListHooks()[list] = TListHook{this, original};
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TsComboBox::ListProc));
}

void TsComboBox::UnhookList() {
    for (auto it = ListHooks().begin(); it != ListHooks().end();) {
        if (it->second.Combo != this) {
            ++it;
            continue;
        }
        if (IsWindow(it->first)) SetWindowLongPtrW(it->first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.Original));
        it = ListHooks().erase(it);
    }
}

bool TsComboBox::ListHooked() const {
    for (const auto& [list, hook] : ListHooks())
        if (hook.Combo == this) return true;
    return false;
}

// The native bar's own geometry (arrows, thumb) with the skin's sections:
// the track halves split at the thumb's centre, the arrow buttons with their
// glyphs, the thumb with its glyph; all in the normal state, the bar being
// the list's and not hot of its own.
void TsComboBox::PaintListScrollBar(HWND list) {
    const TsSkinTables* tables = SkinData.Tables();
    if (!tables || !SkinData.IsSkinned(true)) return;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!GetScrollBarInfo(list, OBJID_VSCROLL, &info) || (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
        return;
    RECT window{};
    GetWindowRect(list, &window);
    const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    if (w <= 0 || h <= 0) return;
    const TsCachedIndexes& ci = tables->CachedIndexes;
    TBitmap24 bar(w, h);
    FillDC(bar, {0, 0, w, h}, tables->GlobalColor());
    const int arrow = std::min(info.dxyLineButton, h / 2);
    const int thumbTop = info.xyThumbTop, thumbBottom = info.xyThumbBottom;
    const bool thumb = thumbBottom > thumbTop && !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    const int centre = thumb ? (thumbTop + thumbBottom) / 2 : h / 2;
    PaintPart(*tables, ci.ScrollBars[sb1V], bar, {0, 0, w, centre}, 0);
    PaintPart(*tables, ci.ScrollBars[sb2V], bar, {0, centre, w, h}, 0);
    const RECT up{0, 0, w, arrow}, down{0, h - arrow, w, h};
    PaintPart(*tables, ci.ScrollButtons[sbTop], bar, up, 0);
    PaintGlyphCentred(*tables, ci.ScrollButtons[sbTop].GlyphMask, bar, up, 0);
    PaintPart(*tables, ci.ScrollButtons[sbBottom], bar, down, 0);
    PaintGlyphCentred(*tables, ci.ScrollButtons[sbBottom].GlyphMask, bar, down, 0);
    if (thumb) {
        const RECT t{0, thumbTop, w, thumbBottom};
        PaintPart(*tables, ci.ScrollSliders[ssVertical], bar, t, 0);
        PaintGlyphCentred(*tables, ci.ScrollSliders[ssVertical].GlyphMask, bar, t, 0);
    }
    HDC dc = GetWindowDC(list);
    if (!dc) return;
    {
        TCacheDC memory(bar);
        if (memory.Handle())
            BitBlt(dc, info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top, w, h, memory.Handle(), 0, 0,
                   SRCCOPY);
    }
    ReleaseDC(list, dc);
}

}  // namespace korvel
