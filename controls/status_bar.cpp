// The skinned status bar.
#include "controls/status_bar.h"

#include <algorithm>

#include "controls/bar_divider.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/paint_dc.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

TsStatusBar::TsStatusBar(TComponent* owner) : TStatusBar(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
    skinData_->ControlCode = ccStatusBar;
    skinData_->Loaded();
}

TsStatusBar::~TsStatusBar() {
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsStatusBar::Loaded() {
    TStatusBar::Loaded();
    skinData_->Loaded();
}

void TsStatusBar::PanelsChanged() {
    if (skinData_) skinData_->Invalidate();
}

// ---- geometry -------------------------------------------------------------------------

int TsStatusBar::GripMaskIndex() const {
    const TsSkinTables* tables = skinData_->Tables();
    if (!tables || !SizeGrip()) return -1;
    const int index = tables->MaskIndexOf(tables->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
    return tables->IsValidMaskIndex(index) ? index : -1;
}

SIZE TsStatusBar::GripSize() const {
    const int index = GripMaskIndex();
    if (index < 0) return SIZE{0, 0};
    const TsMaskData& mask = skinData_->Tables()->Masks[static_cast<std::size_t>(index)];
    if (mask.Bmp) return SIZE{mask.Bmp->Width() / 3, mask.Bmp->Height() / 2};
    const int count = std::max<int>(1, mask.ImageCount);
    return SIZE{mask.R.Width() / count, mask.R.Height() / (mask.MaskType + 1)};
}

RECT TsStatusBar::TextRect(int index) const {
    const int m = StatusTextMargin;
    RECT r = index < 0 ? RECT{0, 0, Width(), Height()} : PanelRect(index);
    const bool last = index < 0 || index == PanelCount() - 1;
    r.left += m;
    r.right -= m;
    if (last) r.right = std::min<LONG>(r.right, Width() - GripSize().cx - m);
    return r;
}

TColor TsStatusBar::DividerColor() const {
    const TsGeneralData* section = skinData_->Section();
    if (!section || section->FontColor[fcText] < 0) return ColorToRGB(Font().Color());
    return ColorToRGB(static_cast<TColor>(section->FontColor[fcText]));
}

// ---- painting -------------------------------------------------------------------------

void TsStatusBar::PaintDividers(TBitmap24& cache) const {
    if (SimplePanel()) return;
    for (int i = 0; i + 1 < PanelCount(); ++i)
        DrawDivider(cache, PanelRect(i).right - 1, DividerInset, cache.Height() - DividerInset, DividerColor());
}

void TsStatusBar::PaintTexts(TBitmap24& cache) {
    TCacheDC dc(cache);
    if (!dc.Handle()) return;
    TFont font;
    font.Assign(Font());
    TGdiTextCanvas canvas(dc.Handle(), font.Handle(), ColorToRGB(Font().Color()));
    const TTextSource source{skinData_->Tables(), skinData_->SkinIndex, skinData_->CustomFont()};
    const auto write = [&](const std::string& text, int index) {
        if (text.empty()) return;
        const RECT r = TextRect(index);
        TRect rect{r.left, r.top, r.right, r.bottom};
        WriteTextEx(canvas, text, Enabled(), false, source, dtSingleLine | dtVCenter | dtNoPrefix, rect);
    };
    if (SimplePanel()) return write(SimpleText(), -1);
    for (int i = 0; i < PanelCount(); ++i) write(Panel(i).Text, i);
}

void TsStatusBar::PaintGrip(TBitmap24& cache) const {
    const int index = GripMaskIndex();
    if (index < 0) return;
    const SIZE size = GripSize();
    const TsSkinTables& tables = *skinData_->Tables();
    DrawSkinGlyph(cache, TPoint{Width() - size.cx, Height() - size.cy}, 0, tables,
                  tables.Masks[static_cast<std::size_t>(index)], 1);
}

void TsStatusBar::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    PaintItem(data, background, true, cache, TPoint{Left(), Top()}, TRect{0, 0, cache.Width(), cache.Height()}, 0);
    PaintDividers(cache);
    PaintTexts(cache);   // flushed when its DC goes
    PaintGrip(cache);
    data.BackgroundChanged = false;
}

void TsStatusBar::OnPaintMessage(TMessage& m) {
    const TPaintDC paint(Handle(), m.WParam);
    HDC dc = paint.Handle();
    TsCommonData& data = *skinData_;
    if (data.IsUpdating()) {
        data.Updating = true;
        return;
    }
    if (data.BackgroundChanged || !data.CacheBmp() || data.CacheBmp()->Width() != Width() ||
        data.CacheBmp()->Height() != Height())
        RebuildCache();
    data.UpdateCorners(0, crAll);
    TCacheDC cache(*data.CacheBmp());
    if (cache.Handle()) BitBlt(dc, 0, 0, Width(), Height(), cache.Handle(), 0, 0, SRCCOPY);
}

// ---- window procedure -----------------------------------------------------------------

void TsStatusBar::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this)) {
        skinData_->CommonWndProc(m);
        if (skinData_->IsSkinned(true) && SkinnedMessage(m)) return;
    }
    if (m.Msg == SM_ALPHACMD) return;   // answered by the skin state, or by nobody
    TStatusBar::WndProc(m);
    // The native bar repaints only the parts a new size uncovers; the skinned face spans the whole bar.
    if (m.Msg == WM_SIZE && skinData_->IsSkinned(true)) TWinControl::Invalidate();
}

bool TsStatusBar::OnSkinAnnouncement(TMessage& m) {
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Removed =
            [this] {
                TWinControl::Invalidate();
                Repaint();
            },
        .Applied =
            [this] {
                if (!skinData_->IsSkinned(false)) {
                    // Without a section the native bar paints.
                    if (!skinData_->Updating) skinData_->RepaintSystemLook();   // else SMC_PARENTUPDATED
                    return;
                }
                if (!skinData_->Updating) Repaint();   // else the parent's paint repaints it (SMC_PARENTUPDATED)
            },
    });
}

bool TsStatusBar::SkinnedMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:      OnPaintMessage(m); return true;
    case WM_ERASEBKGND: m.Result = 1; return true;   // the cache covers every pixel
    case WM_NCPAINT:    return true;
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        TStatusBar::WndProc(m);
        skinData_->Invalidate();
        return true;
    }
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_PARENTUPDATED &&
        (skinData_->Updating || skinData_->PartlyHidden)) {
        skinData_->Updating = false;
        skinData_->BackgroundChanged = true;
        Repaint();
    }
    return false;
}

// ---- registration ---------------------------------------------------------------------

void RegisterStatusBarClass() {
    static const bool registered = [] {
        RegisterBarControlClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsStatusBar>("TsStatusBar", "TStatusBar");
        RegisterSkinDataProperties<TsStatusBar>("TsStatusBar");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
