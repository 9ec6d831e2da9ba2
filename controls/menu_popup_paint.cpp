// Pop-up menus: the shared background (the "MAINMENU" section, the vertical
// extra line with its caption written upwards, the icon line), the items and
// dividers painted over it, and the popup window's frame and shape.
#include <algorithm>
#include <string>

#include "gui/cache_dc.h"
#include "controls/menu_popup_state.h"
#include "controls/skinable_menus.h"
#include "engine/skin_manager.h"
#include "gui/application.h"
#include "gui/forms.h"
#include "gui/image_list.h"
#include "gui/text.h"
#include "paint/blend.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

namespace {

constexpr TColor kKeyColour = 0xFF00FF;
constexpr wchar_t kSavedProcProperty[] = L"KorvelMenuWindowProc";
// Text flags of item captions (the Win32 values of the painting core's format bits).
constexpr unsigned kItemTextFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_HIDEPREFIX | DT_NOCLIP | DT_VCENTER;

int CornerHeight(const TsMaskData& mask) {
    if (mask.Bmp) return mask.Bmp->Height() / 6;
    return mask.R.Height() / ((mask.MaskType + 1) * 3);
}

int GlyphMaskHeight(const TsMaskData& mask) {
    if (mask.Bmp) return mask.Bmp->Height() / 2;
    return mask.R.Height() / (mask.MaskType + 1);
}

// Copies part of a working bitmap to a device context.
void CopyToDC(HDC dc, int x, int y, const TBitmap24& source, int sx, int sy, int w, int h) {
    if (!dc || source.Empty() || w <= 0 || h <= 0) return;
    TCacheDC memory(const_cast<TBitmap24&>(source));
    if (memory.Handle()) BitBlt(dc, x, y, w, h, memory.Handle(), sx, sy, SRCCOPY);
}

// A part of source (Right and Bottom exclusive) copied into dest at (x, y); both are clipped.
void CopyPart(TBitmap24& dest, int x, int y, const TBitmap24& source, const TRect& part) {
    if (part.IsEmpty()) return;
    CopyTransparent(dest, source, x, clNoKey, {part.Left, part.Top, part.Right - 1, part.Bottom - 1}, y);
}

// The font turned as Font asks. A bitmap face ("MS Sans Serif") cannot be
// turned, and GDI then writes it level whatever the escapement says (Windows and
// Wine alike): the outline face Tahoma of the same height stands in for it.
HFONT TurnedFont(LOGFONTW font) {
    HFONT turned = CreateFontIndirectW(&font);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, turned);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    if (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) return turned;
    DeleteObject(turned);
    wcscpy_s(font.lfFaceName, L"Tahoma");
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    return CreateFontIndirectW(&font);
}

bool IsPopupMenuWindow(HWND window) {
    wchar_t name[16] = {};
    return window && GetClassNameW(window, name, 16) && std::wstring(name) == L"#32768";
}

LRESULT CALLBACK PopupMenuWindowProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kSavedProcProperty));
    switch (msg) {
    case WM_ERASEBKGND: return 1;   // the items and the frame cover every pixel
    case WM_NCPAINT:    return 0;   // the frame comes from the popup background
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(window, kSavedProcProperty);
        if (PopupState().Window == window) {
            PopupState().Window = nullptr;
            PopupState().DropBackground();
            PopupState().HasFirstItem = false;
        }
        break;
    }
    return previous ? CallWindowProcW(previous, window, msg, wparam, lparam) : DefWindowProcW(window, msg, wparam, lparam);
}

// Where the client area of a popup window starts inside the window: the
// platform's popup frame (Windows draws it outside the client area, Wine inside).
POINT ClientOrigin(HWND window) {
    RECT w{};
    GetWindowRect(window, &w);
    POINT p{0, 0};
    ClientToScreen(window, &p);
    return {p.x - w.left, p.y - w.top};
}

TMenuItem* FirstItemOf(TMenuItem* item) {
    TMenuItem* parent = item ? item->Parent() : nullptr;
    return parent && parent->Count() > 0 ? parent->Items(0) : item;
}

bool IsFirstVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) return parent->Items(i) == item;
    return false;
}

bool IsLastVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    for (int i = parent ? parent->Count() - 1 : -1; i >= 0; --i)
        if (parent->Items(i)->Visible()) return parent->Items(i) == item;
    return false;
}

// The next visible item after Item in its popup, or nullptr.
TMenuItem* NextVisible(TMenuItem* item) {
    TMenuItem* parent = item->Parent();
    for (int i = parent ? parent->IndexOf(item) + 1 : 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) return parent->Items(i);
    return nullptr;
}

// Whether the item begins a column of its popup other than the first.
bool StartsColumn(TMenuItem* item) { return item && item->Visible() && item->Break() && !IsFirstVisible(item); }

}  // namespace

// ---- the background ------------------------------------------------------------------

void TsSkinableMenus::PreparePopupBackground(TMenuItem* first, int width, int height, HWND window) {
    TPopupState& state = PopupState();
    if (width <= 0 || height <= 0 || !first) return;
    CheckFirstItem(first);
    if (state.Background.Empty() || state.Background.Width() != width || state.Background.Height() != height) {
        FetchExtraLineData(first);
        state.Background = TBitmap24(width, height);
        state.GlyphWidth = GlyphSize(*first).cx;
        state.IcoLineWidth = Margin + state.GlyphWidth + Spacing;
        const TsSkinTables* tables = Tables();
        const int mainMenu = SectionIndex("MAINMENU");
        if (tables && mainMenu >= 0)
            PaintSection(mainMenu, TParentBackground{}, tables, state.Background, {0, 0}, {0, 0, width, height}, 0, true);
        PaintExtraLine(height);
        PaintIconLine(height);
        RebuildHoles(width, height);
    }
    if (window) PopupWindowFrame(window);
}

void TsSkinableMenus::PaintExtraLine(int height) {
    TPopupState& state = PopupState();
    const int section = SectionIndex(state.ExtraSection);
    const int sbw = SkinBorderWidth();
    const int width = manager_ ? manager_->MenuSupport().ExtraLineWidth : 0;
    const int stripHeight = height - 2 * sbw;
    if (!manager_ || !manager_->MenuSupport().UseExtraLine || !state.ExtraVisible || section < 0 || width <= 0 ||
        stripHeight <= 0)
        return;
    TBitmap24 strip(width, stripHeight);
    PaintSection(section, TParentBackground{&state.Background, 0, 0, true}, Tables(), strip, {sbw, sbw},
                 {0, 0, width, stripHeight}, 0, true);
    int bottom = stripHeight - 12;   // where the glyph ends and the caption starts, counted from the top
    if (!state.ExtraGlyph.Empty()) {
        const TBitmap24& glyph = state.ExtraGlyph;
        CopyPart(strip, (width - glyph.Width()) / 2, bottom - glyph.Height(), glyph,
                 {0, 0, glyph.Width(), glyph.Height()});
        bottom = stripHeight - (glyph.Height() + 20);
    }
    if (!state.ExtraCaption.empty()) {
        TFont& source = manager_->MenuSupport().ExtraLineFont;
        LOGFONTW font{};
        GetObjectW(source.Handle(), sizeof(font), &font);
        font.lfEscapement = font.lfOrientation = 900;   // -270 degrees: the text runs upwards
        HFONT turned = TurnedFont(font);
        const auto& colours = manager_->Tables().Sections[static_cast<std::size_t>(section)].FontColor;
        TCacheDC dc(strip);
        if (dc.Handle() && turned) {
            const int saved = SaveDC(dc.Handle());
            SelectObject(dc.Handle(), turned);
            SetBkMode(dc.Handle(), TRANSPARENT);
            SetTextColor(dc.Handle(), static_cast<COLORREF>(colours[fcText]));
            SetTextAlign(dc.Handle(), TA_LEFT | TA_TOP);
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc.Handle(), &metrics);
            // Turned upwards, the text's height lies across the strip, its start at the bottom.
            const std::wstring text = Widen(state.ExtraCaption);
            TextOutW(dc.Handle(), (width - metrics.tmHeight) / 2, bottom, text.c_str(), static_cast<int>(text.size()));
            RestoreDC(dc.Handle(), saved);
        }
        if (turned) DeleteObject(turned);
    }
    CopyPart(state.Background, sbw, sbw, strip, {0, 0, width, stripHeight});
    state.ExtraGlyph = TBitmap24();
}

void TsSkinableMenus::PaintIconLine(int height) {
    TPopupState& state = PopupState();
    const int section = manager_ ? SectionIndex(manager_->MenuSupport().IcoLineSkin) : -1;
    const int sbw = SkinBorderWidth();
    const int stripHeight = height - 2 * sbw;
    if (section < 0 || state.IcoLineWidth <= 0 || stripHeight <= 0) return;
    const int left = ExtraLineWidth(false) + sbw;
    TBitmap24 strip(state.IcoLineWidth, stripHeight);
    PaintSection(section, TParentBackground{&state.Background, 0, 0, true}, Tables(), strip, {left, sbw},
                 {0, 0, strip.Width(), stripHeight}, 0, true);
    CopyPart(state.Background, left, sbw, strip, {0, 0, strip.Width(), stripHeight});
}

void TsSkinableMenus::RebuildHoles(int width, int height) {
    TPopupState& state = PopupState();
    state.Holes.clear();
    const int section = SectionIndex("MAINMENU");
    const int mask = section >= 0 ? manager_->MaskIndexOf(section, "MAINMENU", "BORDERSMASK") : -1;
    if (!manager_ || !manager_->IsValidMaskIndex(mask)) return;
    const TsMaskData& data = manager_->Tables().Masks[static_cast<std::size_t>(mask)];
    try {
        ScanCornerHoles(state.Holes, width, manager_->Tables(), data, 0, 0);
        ScanCornerHoles(state.Holes, width, manager_->Tables(), data, 1, height - CornerHeight(data));
    } catch (const std::exception&) {
        // A mask that cannot be scanned leaves the holes found so far.
    }
}

// ---- the popup window ------------------------------------------------------------------

void TsSkinableMenus::PopupWindowFrame(HWND window) {
    TPopupState& state = PopupState();
    if (!IsPopupMenuWindow(window)) return;
    if (!GetPropW(window, kSavedProcProperty)) {
        SetPropW(window, kSavedProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PopupMenuWindowProc));
    }
    const bool newWindow = state.Window != window;
    state.Window = window;
    if (state.DrawingFrame || state.Background.Empty()) return;
    state.DrawingFrame = true;
    const TBitmap24& bg = state.Background;
    if (state.Holes.empty()) {
        HDC dc = GetWindowDC(window);
        const int w = bg.Width(), h = bg.Height(), b = BorderWidth;
        const int left = ExtraLineWidth(true) + b;
        CopyToDC(dc, 0, 0, bg, 0, 0, left, h);
        CopyToDC(dc, 0, 0, bg, 0, 0, w, b);
        CopyToDC(dc, w - b, 0, bg, w - b, 0, b, h);
        CopyToDC(dc, 0, h - b, bg, 0, h - b, w, b);
        ReleaseDC(window, dc);
    } else if (newWindow) {
        // The system owns the region once it is set; the window keeps it until it goes.
        HRGN region = CreateRectRgn(0, 0, bg.Width(), bg.Height());
        for (const TRect& hole : state.Holes) {
            HRGN cut = CreateRectRgn(hole.Left, hole.Top, hole.Right, hole.Bottom);
            CombineRgn(region, region, cut, RGN_DIFF);
            DeleteObject(cut);
        }
        if (!SetWindowRgn(window, region, TRUE)) DeleteObject(region);
    }
    state.DrawingFrame = false;
}

// The tallest column's height: the visible items' heights summed per column.
int TsSkinableMenus::PopupHeightWithoutWindow(TMenuItem* item) const {
    TMenuItem* parent = item->Parent();
    int column = 0, tallest = 0;
    for (int i = 0; parent && i < parent->Count(); ++i) {
        TMenuItem* sibling = parent->Items(i);
        if (!sibling->Visible()) continue;
        if (StartsColumn(sibling)) column = 0;
        column += ItemHeight(*sibling);
        tallest = std::max(tallest, column);
    }
    return tallest;
}

void TsSkinableMenus::PaintPopupFrameStrips(TMenuItem* item, HWND window, const RECT& rect) {
    const TBitmap24& bg = PopupState().Background;
    if (bg.Empty()) return;
    const POINT offset = ClientOrigin(window);
    HDC dc = GetWindowDC(window);
    const int w = bg.Width(), h = bg.Height(), b = BorderWidth;
    const int top = rect.top + offset.y, bottom = rect.bottom + offset.y;
    if (IsFirstVisible(item)) CopyToDC(dc, 0, 0, bg, 0, 0, w, b);
    if (IsLastVisible(item)) CopyToDC(dc, 0, h - b, bg, 0, h - b, w, b);
    const int left = ExtraLineWidth(true) + std::max(SkinBorderWidth(), BorderWidth);
    CopyToDC(dc, 0, top, bg, 0, top, left, bottom - top);
    CopyToDC(dc, w - b, top, bg, w - b, top, b, bottom - top);
    ReleaseDC(window, dc);
}

// ---- items ----------------------------------------------------------------------------

void TsSkinableMenus::PopupDraw(TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
    if (!item || item->InState(csDestroying)) return;
    TPopupState& popup = PopupState();
    TMenuItem* first = FirstItemOf(item);
    CheckFirstItem(first);
    HWND window = WindowFromDC(canvas.Handle());
    if (!IsPopupMenuWindow(window)) window = nullptr;
    POINT offset{BorderWidth, BorderWidth};
    if (window) {
        RECT w{};
        GetWindowRect(window, &w);
        offset = ClientOrigin(window);
        PreparePopupBackground(first, w.right - w.left, w.bottom - w.top, window);
        PaintPopupFrameStrips(item, window, rect);
    } else {
        PreparePopupBackground(first, rect.right - rect.left + 2 * BorderWidth,
                               PopupHeightWithoutWindow(item) + 2 * BorderWidth, nullptr);
        HWND main = Application().MainForm() && Application().MainForm()->HandleAllocated()
                        ? Application().MainForm()->Handle()
                        : nullptr;
        if (main && !popup.FrameMessageQueued) {
            popup.FrameMessageQueued = true;
            PostMessageW(main, WM_SKINMENUITEM, 0, reinterpret_cast<LPARAM>(item));
        }
    }
    switch (ItemType(*item)) {
    case TsMenuItemType::smDivider: return DrawDivider(item, canvas.Handle(), rect);
    case TsMenuItemType::smCaption: return;   // a title row shows the background only
    default: return PaintPopupItem(item, canvas.Handle(), rect, state, offset);
    }
}

// Where a column ends above the frame, the background shows below its last
// item; a column other than the first has a 4-pixel strip of background before it.
void TsSkinableMenus::ShowColumnEdges(TMenuItem* item, HDC dc, const RECT& rect, POINT offset) {
    const TBitmap24& bg = PopupState().Background;
    const int below = bg.Height() - BorderWidth - (rect.bottom + offset.y);
    if (below > 0 && (StartsColumn(NextVisible(item)) || IsLastVisible(item)))
        CopyToDC(dc, rect.left, rect.bottom, bg, rect.left + offset.x, rect.bottom + offset.y, rect.right - rect.left, below);
    constexpr int kColumnGap = 4;
    if (StartsColumn(item))
        CopyToDC(dc, rect.left - kColumnGap, rect.top, bg, rect.left - kColumnGap + offset.x, rect.top + offset.y, kColumnGap,
                 bg.Height() - 2 * BorderWidth);
}

void TsSkinableMenus::PaintPopupItem(TMenuItem* item, HDC dc, const RECT& rect, TOwnerDrawState state, POINT offset) {
    const TBitmap24& bg = PopupState().Background;
    const TsSkinTables* tables = Tables();
    const int extra = ExtraLineWidth(true);
    const int w = rect.right - rect.left - extra, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || !tables) return;
    ShowColumnEdges(item, dc, rect, offset);
    const bool enabled = item->Enabled() && !(state & (odDisabled | odGrayed));
    const bool hot = enabled && (state & (odSelected | odHotLight));
    const int bx = rect.left + extra + offset.x, by = rect.top + offset.y;   // the item inside the background
    TBitmap24 face(w, h);
    const int menuItem = SectionIndex("MENUITEM");
    CopyPart(face, 0, 0, bg, {bx, by, bx + w, by + h});
    if (menuItem >= 0)
        PaintSection(menuItem, TParentBackground{const_cast<TBitmap24*>(&bg), 0, 0, true}, tables, face, {bx, by},
                     {0, 0, w, h}, hot ? 1 : 0, true);

    if (item->Checked()) {
        const int global = SectionIndex("GLOBALINFO");
        int mask = -1;
        if (item->RadioItem()) mask = manager_->MaskIndexOf(global, "GLOBALINFO", "RADIOCHECKED");
        if (!manager_->IsValidMaskIndex(mask)) mask = manager_->MaskIndexOf(global, "GLOBALINFO", "CHECK");
        if (!manager_->IsValidMaskIndex(mask)) mask = manager_->MaskIndexOf(global, "GLOBALINFO", "BOXCHECKED");
        if (manager_->IsValidMaskIndex(mask)) {
            const TsMaskData& data = tables->Masks[static_cast<std::size_t>(mask)];
            DrawSkinGlyph(face, {Margin, (h - GlyphMaskHeight(data)) / 2}, hot ? 1 : 0, *tables, data, 1);
        }
    }
    const SIZE glyph = GlyphSize(*item);
    const int d = (h - glyph.cy) / 2;
    if (item->HasBitmap()) {
        const TBitmap24& pixels = item->Bitmap().Pixels();
        CopyTransparent(face, pixels, d, kKeyColour, {0, 0, pixels.Width() - 1, pixels.Height() - 1}, d);
    } else if (const TCustomImageList* images = ImagesOf(*item)) {
        images->Draw(face, d, d, item->ImageIndex());
    }

    {
        TCacheDC faceDC(face);
        TCanvas faceCanvas(faceDC.Handle());
        UseMenuFont(faceCanvas, item->Default());
        std::string caption = item->Caption();
        unsigned align = Alignment == TAlignment::taRightJustify ? DT_RIGHT
                         : Alignment == TAlignment::taCenter     ? DT_CENTER
                                                                 : DT_LEFT;
        if (!caption.empty() && caption.front() == '\b') {
            caption = caption.substr(1) + "      ";
            align = DT_RIGHT;
        }
        {
            TGdiTextCanvas text(faceDC.Handle(), faceCanvas.Font().Handle(), 0);
            TRect textRect{glyph.cx + 2 * Margin + Spacing, 0, w, h};
            WriteSectionText(text, caption, enabled, tables, hot, menuItem, kItemTextFlags | align, textRect);
            if (item->ShortCut()) {
                TRect keyRect{0, 0, w - 8, h};
                WriteSectionText(text, ShortCutToText(item->ShortCut()), enabled, tables, hot, menuItem,
                                 kItemTextFlags | DT_RIGHT, keyRect);
            }
        }
        if (OnDrawItem) OnDrawItem(item, faceCanvas, RECT{0, 0, w, h}, state, TsMenuItemType::smNormal);
    }
    // Disabled: 0.4 of the item over 0.6 of the background (key-coloured background pixels stay the item's).
    if (!item->Enabled()) BlendOver(face, 0, 0, kKeyColour, 0.4, {bx, by, bx + w - 1, by + h - 1}, bg);
    CopyToDC(dc, rect.left + extra, rect.top, face, 0, 0, w, h);
}

void TsSkinableMenus::DrawDivider(TMenuItem* item, HDC dc, const RECT& rect) {
    (void)item;
    const TBitmap24& bg = PopupState().Background;
    const POINT offset = IsPopupMenuWindow(WindowFromDC(dc)) ? ClientOrigin(WindowFromDC(dc)) : POINT{BorderWidth, BorderWidth};
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0 || !manager_) return;
    int mask = -1;
    const int dividerV = SectionIndex("DIVIDERV");
    if (dividerV >= 0) {
        mask = manager_->MaskIndexOf(dividerV, "DIVIDERV", "BORDERSMASK");
    } else {
        const int trackBar = SectionIndex("TRACKBAR");
        if (trackBar >= 0) mask = manager_->MaskIndexOf(trackBar, "TRACKBAR", "SLIDERCHANNEL");
    }
    const int extra = ExtraLineWidth(true);
    TBitmap24 line(w, h);
    CopyPart(line, 0, 0, bg, {rect.left + offset.x, rect.top + offset.y, rect.left + offset.x + w, rect.top + offset.y + h});
    if (manager_->IsValidMaskIndex(mask)) {
        const TRect where{extra + Margin + Spacing, 0, w - (extra + 2 * Margin + Spacing), h};
        if (!where.IsEmpty())
            DrawSkinRect(line, where, true, TParentBackground{&line, 0, 0, true}, 0, manager_->Tables(),
                         manager_->Tables().Masks[static_cast<std::size_t>(mask)]);
    } else {
        // An etched line: grey over white.
        const int y = h / 2 - 1;
        for (int x = extra; x < w; ++x) {
            if (y >= 0) line.SetPixel(x, y, 0x808080);
            if (y + 1 < h) line.SetPixel(x, y + 1, 0xFFFFFF);
        }
    }
    CopyToDC(dc, rect.left, rect.top, line, 0, 0, w, h);
}

}  // namespace korvel
