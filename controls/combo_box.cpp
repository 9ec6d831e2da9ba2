// The skinned combo box.
#include "controls/combo_box.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/paint_dc.h"
#include "gui/text.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/scroll_metrics.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {
namespace {

// Copies a w x h block between 24-bit bitmaps, clipped to both.
void CopyBlock(TBitmap24& dest, int dx, int dy, const TBitmap24& source, int sx, int sy, int w, int h) {
    for (int y = 0; y < h; ++y) {
        const int ty = dy + y, fy = sy + y;
        if (ty < 0 || fy < 0 || ty >= dest.Height() || fy >= source.Height()) continue;
        const int x0 = std::max({0, -dx, -sx});
        const int x1 = std::min({w, dest.Width() - dx, source.Width() - sx});
        if (x1 <= x0) continue;
        std::memcpy(dest.ScanLine(ty) + (dx + x0) * 3, source.ScanLine(fy) + (sx + x0) * 3,
                    static_cast<std::size_t>(x1 - x0) * 3);
    }
}

// The block (x, y, w, h) of bitmap to the same size at (tx, ty) of dc.
void BlitToDC(HDC dc, int tx, int ty, const TBitmap24& bitmap, int x, int y, int w, int h) {
    if (!bitmap.Handle() || w <= 0 || h <= 0) return;
    TCacheDC memory(bitmap);
    if (memory.Handle()) BitBlt(dc, tx, ty, w, h, memory.Handle(), x, y, SRCCOPY);
}

COMBOBOXINFO InfoOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (combo) GetComboBoxInfo(combo, &info);
    return info;
}

constexpr int kTextIndent = 2;
constexpr UINT_PTR kPointerWatchTimer = 0x4B43;   // checks that the pointer is still over the edit field
constexpr UINT kPointerWatchInterval = 50;   // the item's text from its left edge, as the native list draws it

// The selected item of the open list is drawn as the skin draws a hot menu item.
constexpr const char* kSelectedItemSection = "MENUITEM";

}  // namespace

TsComboBox::TsComboBox(TComponent* owner) : TComboBox(owner), SkinData(this, true) {
    SkinData.ControlCode = ccComboBox;
    SkinData.Loaded();
}

TsComboBox::~TsComboBox() {
    StopFade();
    if (watchingPointer_ && HandleAllocated()) KillTimer(Handle(), kPointerWatchTimer);
    UnhookList();
}

void TsComboBox::Loaded() {
    TComboBox::Loaded();
    SkinData.Loaded();
    FollowSkinnedState();
}

void TsComboBox::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

bool TsComboBox::OwnerDrawn() const { return SkinData.IsSkinned(false); }

void TsComboBox::CreateParams(TCreateParams& params) {
    TComboBox::CreateParams(params);
    windowOwnerDrawn_ = (params.Style & CBS_OWNERDRAWFIXED) != 0;
    watchingPointer_ = false;   // a new window has no timer
}

void TsComboBox::FollowSkinnedState() {
    if (HandleAllocated() && windowOwnerDrawn_ != OwnerDrawn()) RecreateWnd();
}

void TsComboBox::StopFade() { korvel::StopFade(fadeTimer_, SkinData); }

// ---- geometry and state ----------------------------------------------------------------

RECT TsComboBox::ButtonRect() { return HandleAllocated() ? InfoOf(Handle()).rcButton : RECT{}; }

RECT TsComboBox::ItemRect() { return HandleAllocated() ? InfoOf(Handle()).rcItem : RECT{}; }

HWND TsComboBox::ListHandle() { return HandleAllocated() ? InfoOf(Handle()).hwndList : nullptr; }

bool TsComboBox::FocusInside() {
    if (!HandleAllocated()) return false;
    HWND focus = GetFocus();
    return focus && (focus == Handle() || IsChild(Handle(), focus));
}

int TsComboBox::FaceState() {
    if (!Enabled()) return 0;
    return SkinData.MouseAbove || FocusInside() || DroppedDown() ? 1 : 0;
}

int TsComboBox::ButtonState() {
    if (!Enabled()) return 0;
    return DroppedDown() ? 2 : FaceState();
}

// ---- painting ------------------------------------------------------------------------------

void TsComboBox::PaintButton(TBitmap24& cache) {
    const TsSkinTables* tables = SkinData.Tables();
    const RECT r = ButtonRect();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!tables || w <= 0 || h <= 0) return;
    const int state = ButtonState();
    const TsScrollPartIndexes& button = tables->CachedIndexes.ScrollButtons[sbBottom];
    if (tables->IsValidSectionIndex(button.SkinIndex)) {
        // Its transparent parts show the face at the same place.
        TBitmap24 piece(w, h);
        CopyBlock(piece, 0, 0, cache, r.left, r.top, w, h);
        PaintSection(button.SkinIndex, TParentBackground{&cache, 0, 0, true}, tables, piece, {r.left, r.top},
                     {0, 0, w, h}, state, true, button.Pattern, button.HotPattern, button.BordersMask);
        CopyBlock(cache, r.left, r.top, piece, 0, 0, w, h);
    }
    // The arrow: the section's own glyph, else the scroll bar's down arrow; centred.
    int glyphIndex = tables->MaskIndexOf(SkinData.SkinIndex, SkinData.SkinSection(), "GLYPHMASK");
    if (!tables->IsValidMaskIndex(glyphIndex)) glyphIndex = button.GlyphMask;
    if (!tables->IsValidMaskIndex(glyphIndex)) return;
    const TsMaskData& glyph = tables->Masks[static_cast<std::size_t>(glyphIndex)];
    const TMaskFrameSize f = MaskFrameSize(glyph.Bmp != nullptr, glyph.R.Width(), glyph.R.Height(), glyph.ImageCount,
                                           glyph.MaskType);
    const int x = r.left + (w - f.Width) / 2, y = r.top + (h - f.Height) / 2;
    if (x >= 0 && y >= 0) DrawSkinGlyph(cache, {x, y}, state, *tables, glyph, 1);
}

void TsComboBox::PaintFaceText(TBitmap24& cache) {
    if (Style() != TComboBoxStyle::csDropDownList) return;   // the edit field shows its own text
    const RECT item = ItemRect();
    TCacheDC dc(cache);
    if (!dc.Handle()) return;
    TGdiTextCanvas canvas(dc.Handle(), Font().Handle(), ColorToRGB(Font().Color()));
    TRect rect{item.left + kTextIndent, item.top, item.right, item.bottom};
    const bool hot = FaceState() != 0;
    WriteTextEx(canvas, Text(), true, hot, TTextSource{SkinData.Tables(), SkinData.SkinIndex, SkinData.CustomFont()},
                dtSingleLine | dtVCenter | dtNoPrefix, rect);
    const TsGeneralData* section = SkinData.Section();
    if (FocusInside() && !DroppedDown() && section && section->ShowFocus && !Text().empty()) DrawDottedFrame(canvas, rect);
}

void TsComboBox::RebuildCache() {
    SkinData.PrepareCacheBmp();
    TBitmap24& cache = *SkinData.CacheBmp();
    TParentBackground background;
    SkinData.GetParentCache(background);
    PaintItem(SkinData, background, true, cache, {Left(), Top()}, {0, 0, Width(), Height()}, FaceState());
    PaintButton(cache);
    PaintFaceText(cache);
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), {Left(), Top()}, background);
    SkinData.BackgroundChanged = false;
    lastFaceState_ = FaceState();
}

void TsComboBox::OnPaintMessage(TMessage& m) {
    const TPaintDC paint(Handle(), m.WParam);
    HDC dc = paint.Handle();
    if (SkinData.IsUpdating()) {
        SkinData.Updating = true;
        return;
    }
    if (fadeTimer_) {
        if (fadeTimer_->Direction() != 0) return;   // the fade timer draws the frames
        StopFade();
    }
    RebuildCache();
    SkinData.UpdateCorners(FaceState(), crAll);
    BlitToDC(dc, 0, 0, *SkinData.CacheBmp(), 0, 0, Width(), Height());
}

// The face's item, drawn by Win32 outside a paint (a new choice, the focus):
// the cache shows it, rebuilt.
void TsComboBox::DrawFaceItem(const DRAWITEMSTRUCT& item) {
    if (SkinData.IsUpdating() || (fadeTimer_ && fadeTimer_->Direction() != 0)) return;
    RebuildCache();
    const RECT& r = item.rcItem;
    BlitToDC(item.hDC, r.left, r.top, *SkinData.CacheBmp(), r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// One item of the open list: the section's colour and text, or, chosen, the
// skin's hot menu item (the system's highlight where the skin has none).
void TsComboBox::DrawListItem(const DRAWITEMSTRUCT& item) {
    const TsSkinTables* tables = SkinData.Tables();
    const TsGeneralData* section = SkinData.Section();
    const int w = item.rcItem.right - item.rcItem.left, h = item.rcItem.bottom - item.rcItem.top;
    if (!tables || !section || w <= 0 || h <= 0) return TComboBox::DrawItem(item);
    const bool selected = item.itemState & ODS_SELECTED;
    const int selectedIndex = tables->SectionIndexOf(kSelectedItemSection);
    TBitmap24 row(w, h);
    FillDC(row, {0, 0, w, h}, section->Color);
    int textSection = SkinData.SkinIndex;
    bool plainSelection = false;
    if (selected && tables->IsValidSectionIndex(selectedIndex)) {
        TBitmap24 behind = row.Clone();
        PaintSection(selectedIndex, TParentBackground{&behind, 0, 0, true}, tables, row, {0, 0}, {0, 0, w, h}, 1, true);
        textSection = selectedIndex;
    } else if (selected) {
        FillDC(row, {0, 0, w, h}, GetSysColor(COLOR_HIGHLIGHT));
        plainSelection = true;
    }
    const std::string text = static_cast<int>(item.itemID) >= 0 && static_cast<int>(item.itemID) < Items().Count()
                                 ? Items().Strings(static_cast<int>(item.itemID))
                                 : std::string();
    {
        TCacheDC dc(row);
        if (dc.Handle()) {
            TGdiTextCanvas canvas(dc.Handle(), Font().Handle(), plainSelection ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ColorToRGB(Font().Color()));
            TRect rect{kTextIndent, 0, w, h};
            if (plainSelection) WriteTextEx(canvas, text, true, false, TTextSource{}, dtSingleLine | dtVCenter | dtNoPrefix, rect);
            else WriteSectionText(canvas, text, true, tables, selected, textSection, dtSingleLine | dtVCenter | dtNoPrefix, rect);
        }
    }
    BlitToDC(item.hDC, item.rcItem.left, item.rcItem.top, row, 0, 0, w, h);
}

void TsComboBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (!SkinData.IsSkinned(false)) return TComboBox::DrawItem(item);
    if (item.itemState & ODS_COMBOBOXEDIT) return DrawFaceItem(item);
    DrawListItem(item);
}

// The edit field and the list in the section's colours.
void TsComboBox::AnswerColors(TMessage& m, bool list) {
    const TsGeneralData& section = *SkinData.Section();
    const bool hot = !list && FaceState() != 0;
    const TColor background = hot ? section.HotColor : section.Color;
    const std::int32_t text = (hot ? section.HotFontColor : section.FontColor)[fcText];
    auto dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, SkinData.CustomFont() ? ColorToRGB(Font().Color()) : static_cast<COLORREF>(text));
    SetBkColor(dc, background);
    colorBrush_.SetColor(background);
    m.Result = reinterpret_cast<LRESULT>(colorBrush_.Handle());
}

// ---- hot state and the list ---------------------------------------------------------------

void TsComboBox::HotChanged(TacAnimatEvent event) {
    if (FaceState() == lastFaceState_) return;
    RequestFade(fadeTimer_, SkinData, false, 1, AnimatEventAllowed(animatEvents_, event));
}

void TsComboBox::OnChildSetCursor(const TMessage& m) {
    if (!Enabled() || reinterpret_cast<HWND>(m.WParam) == Handle() || SkinData.MouseAbove) return;
    SkinData.MouseAbove = true;
    if (SetTimer(Handle(), kPointerWatchTimer, kPointerWatchInterval, nullptr)) watchingPointer_ = true;
    HotChanged(aeMouseEnter);
}

void TsComboBox::CheckPointerStillInside() {
    POINT p{};
    GetCursorPos(&p);
    HWND under = WindowFromPoint(p);
    if (under && (under == Handle() || IsChild(Handle(), under))) return;
    KillTimer(Handle(), kPointerWatchTimer);
    watchingPointer_ = false;
    SkinData.MouseAbove = false;
    HotChanged(aeMouseLeave);
}

void TsComboBox::DropDown() {
    StopFade();
    SkinData.Invalidate();
    if (SkinData.IsSkinned(true)) HookList();
    TComboBox::DropDown();
}

void TsComboBox::CloseUp() {
    StopFade();
    SkinData.Invalidate();
    TComboBox::CloseUp();
}

// ---- window procedure -------------------------------------------------------------------

void TsComboBox::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this)) {
        SkinData.CommonWndProc(m);
        if (SkinData.IsSkinned(true) && SkinnedMessage(m)) return;
    }
    if (m.Msg == SM_ALPHACMD) return;   // answered by the skin state, or by nobody
    TComboBox::WndProc(m);
}

bool TsComboBox::OnSkinAnnouncement(TMessage& m) {
    switch (SkinCommandOf(m.WParam)) {
    case SMC_STOPFADE: StopFade(); return true;
    case SMC_FADEPREPARE: RebuildCache(); return false;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Before = [this] { StopFade(); },
        .Removed =
            [this] {
                FollowSkinnedState();
                if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            },
        .Applied =
            [this] {
                FollowSkinnedState();
                if (!SkinData.IsSkinned(false)) {
                    if (!SkinData.Updating) SkinData.RepaintSystemLook();   // else SMC_PARENTUPDATED
                    return;
                }
                if (!SkinData.Updating && HandleAllocated())
                    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
            },
    });
}

bool TsComboBox::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:          OnPaintMessage(m); return true;
    case WM_ERASEBKGND:     m.Result = 1; return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: AnswerColors(m, false); return true;   // the edit field asks for STATIC's while disabled
    case WM_CTLCOLORLISTBOX: AnswerColors(m, true); return true;
    case CM_MOUSEENTER:
        if (Enabled()) SkinData.MouseAbove = true;
        HotChanged(aeMouseEnter);
        return false;
    case CM_MOUSELEAVE:
        SkinData.MouseAbove = false;
        HotChanged(aeMouseLeave);
        return false;
    case WM_SETCURSOR:
        OnChildSetCursor(m);
        return false;
    case WM_TIMER:
        if (m.WParam != kPointerWatchTimer) return false;
        CheckPointerStillInside();
        return true;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TComboBox::WndProc(m);
        SkinData.Invalidate();
        return true;
    case CN_COMMAND:
        // The focus came into or left the combo (its edit field included).
        if (HIWORD(m.WParam) == CBN_SETFOCUS || HIWORD(m.WParam) == CBN_KILLFOCUS) {
            StopFade();
            SkinData.Invalidate();
        }
        return false;
    }
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_PARENTUPDATED && SkinData.Updating) {
        SkinData.Updating = false;
        Repaint();
    }
    return false;
}

// ---- registration -----------------------------------------------------------------------

void RegisterComboBoxClasses() {
    static const bool registered = [] {
        RegisterComboBoxClass();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsComboBox>("TsComboBox", "TComboBox");
        RegisterSkinDataProperties<TsComboBox>("TsComboBox");
        using S = std::function<void(TsComboBox&, const TValue&, TReadContext&)>;
        const auto prop = [&r](const std::string& name, S setter) { r.RegisterProperty<TsComboBox>("TsComboBox", name, std::move(setter)); };
        prop("DisabledKind", [](TsComboBox& c, const TValue& v, TReadContext&) {
            c.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        prop("AnimatEvents", [](TsComboBox& c, const TValue& v, TReadContext&) {
            c.SetAnimatEvents(v.AsSet({{"aeMouseEnter", aeMouseEnter}, {"aeMouseLeave", aeMouseLeave},
                                       {"aeMouseDown", aeMouseDown}, {"aeMouseUp", aeMouseUp}, {"aeGlobalDef", aeGlobalDef}}));
        });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
