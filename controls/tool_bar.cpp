// The skinned tool bar and tool buttons.
#include "controls/tool_bar.h"

#include <algorithm>
#include <cstring>

#include "controls/bar_divider.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/paint_dc.h"

namespace korvel {

namespace {

constexpr const char* kToolBarSection = "TOOLBAR";
constexpr const char* kFallbackSection = "PANEL";

}  // namespace

// ---- TsToolBar ------------------------------------------------------------------------

TsToolBar::TsToolBar(TComponent* owner) : TsPanel(owner) {
    SetControlStyle(ControlStyle() & ~csSetCaption);
    SetBevelOuter(TBevelCut::bvNone);
    SetBounds(0, 0, 200, 26);
    SetAlign(TAlign::alTop);
    SkinData().ControlCode = ccToolBar;
    SkinData().SetSkinSection(kToolBarSection);
    FallBackToPanel();
}

void TsToolBar::Loaded() {
    TsPanel::Loaded();
    FallBackToPanel();
}

void TsToolBar::FallBackToPanel() {
    TsCommonData& data = SkinData();
    const TsSkinTables* tables = data.Tables();
    if (!tables || data.SkinIndex >= 0 || data.SkinSection() != kToolBarSection) return;
    const int index = tables->SectionIndexOf(kFallbackSection);
    if (!tables->IsValidSectionIndex(index)) return;
    data.SkinIndex = index;
    data.BorderIndex = tables->MaskIndexOf(index, kFallbackSection, "BORDERSMASK");
    data.PatternIndex = tables->TextureIndexOf(index, kFallbackSection, "PATTERN");
    data.HotPatternIndex = tables->TextureIndexOf(index, kFallbackSection, "HOTPATTERN");
    data.BackgroundChanged = true;
}

void TsToolBar::WndProc(TMessage& m) {
    TsPanel::WndProc(m);
    // A new skin re-resolved the section: take the fallback before the skin is applied.
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINCHANGED) FallBackToPanel();
}

// ---- TsToolButton ---------------------------------------------------------------------

TsToolButton::TsToolButton(TComponent* owner) : TToolButtonOf<TsButton>(owner) {
    SkinData.ControlCode = ccToolButton;
    SkinData.SetSkinSection("TOOLBUTTON");
}

void TsToolButton::DownChanged() {
    TsButton::SetDown(Down());
    if (!SkinData.IsSkinned(true)) Invalidate();
}

TColor TsToolButton::DividerColor() const {
    const TsGeneralData* section = SkinData.Section();
    if (!section || section->FontColor[fcText] < 0) return ColorToRGB(const_cast<TsToolButton*>(this)->Font().Color());
    return ColorToRGB(static_cast<TColor>(section->FontColor[fcText]));
}

void TsToolButton::PaintSeparator(TMessage& m) {
    const TPaintDC paint(Handle(), m.WParam);
    HDC dc = paint.Handle();
    if (SkinData.IsUpdating()) return;
    SkinData.PrepareCacheBmp();
    TBitmap24& cache = *SkinData.CacheBmp();
    TParentBackground background;
    SkinData.GetParentCache(background);
    // The bar's own pixels where the separator stands, else its colour.
    const TColor fill = Parent() ? ColorToRGB(Parent()->Color()) : clBtnFace;
    cache.Fill(fill);
    if (background.Ready && background.Bitmap) {
        const TBitmap24& source = *background.Bitmap;
        const int sx = Left() + background.OffsetX, sy = Top() + background.OffsetY;
        const int x0 = std::max(0, -sx), x1 = std::min(cache.Width(), source.Width() - sx);
        const int y0 = std::max(0, -sy), y1 = std::min(cache.Height(), source.Height() - sy);
        for (int y = y0; y < y1 && x0 < x1; ++y)
            std::memcpy(cache.ScanLine(y) + x0 * 3, source.ScanLine(sy + y) + (sx + x0) * 3,
                        static_cast<std::size_t>(x1 - x0) * 3);
    }
    DrawDivider(cache, DividerColumn(), DividerInset, cache.Height() - DividerInset, DividerColor());
    SkinData.BackgroundChanged = false;
    TCacheDC source(cache);
    if (source.Handle()) BitBlt(dc, 0, 0, Width(), Height(), source.Handle(), 0, 0, SRCCOPY);
}

void TsToolButton::WndProc(TMessage& m) {
    const bool skinnedSeparator = Style() == TToolButtonStyle::tbsSeparator && ControlIsReady(this) &&
                                  SkinData.IsSkinned(true);
    if (skinnedSeparator) {
        switch (m.Msg) {
        case WM_PAINT:      return PaintSeparator(m);
        case WM_ERASEBKGND: m.Result = 1; return;   // the separator's paint covers every pixel
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE: return;                 // a separator has no hot look
        }
    }
    TToolButtonOf<TsButton>::WndProc(m);
}

// ---- registration ---------------------------------------------------------------------

void RegisterToolBarClasses() {
    static const bool registered = [] {
        RegisterBarControlClasses();
        RegisterPanelClasses();
        RegisterButtonClass();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsToolBar>("TsToolBar", "TsPanel");
        r.RegisterClass<TsToolButton>("TsToolButton", "TsButton");
        RegisterToolButtonProperties<TsToolButton>("TsToolButton");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
