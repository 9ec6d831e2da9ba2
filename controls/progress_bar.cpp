// The skinned progress bar.
#include "controls/progress_bar.h"

#include "controls/skin_data_properties.h"
#include "controls/track_bar.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/paint_dc.h"
#include "paint/mask.h"
#include "paint/transpose.h"

namespace korvel {

namespace {

const char* const kHorizontalSection = "PROGRESSH";
const char* const kVerticalSection = "PROGRESSV";

}  // namespace

int FilledLength(int min, int max, int position, int length) {
    if (max <= min || length <= 0) return 0;
    const long long done = ClampToRange(position, min, max) - static_cast<long long>(min);
    return static_cast<int>(done * length / (static_cast<long long>(max) - min));
}

TRect FillArea(TRect rect, const TsMaskData* frame) {
    if (!frame) return rect;
    return TRect{rect.Left + frame->WL, rect.Top + frame->WT, rect.Right - frame->WR, rect.Bottom - frame->WB};
}

TRect FilledPart(TRect area, int min, int max, int position, bool vertical, bool fromEnd) {
    if (area.Right <= area.Left || area.Bottom <= area.Top) return TRect{area.Left, area.Top, area.Left, area.Top};
    if (vertical) {
        const int length = FilledLength(min, max, position, area.Height());
        return TRect{area.Left, area.Bottom - length, area.Right, area.Bottom};
    }
    const int length = FilledLength(min, max, position, area.Width());
    return fromEnd ? TRect{area.Right - length, area.Top, area.Right, area.Bottom}
                   : TRect{area.Left, area.Top, area.Left + length, area.Bottom};
}

TsProgressBar::TsProgressBar(TComponent* owner)
    : TProgressBar(owner), skinData_(std::make_unique<TsCommonData>(this, false)) {
    skinData_->ControlCode = ccGauge;
    skinData_->SetSkinSection(kHorizontalSection);
    skinData_->Loaded();
}

TsProgressBar::~TsProgressBar() {
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsProgressBar::Loaded() {
    TProgressBar::Loaded();
    skinData_->Loaded();
}

void TsProgressBar::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    skinData_->Invalidate();
}

void TsProgressBar::OrientationChanged() {
    // The default section follows the orientation; a section the program chose stays.
    const bool vertical = Orientation() == TProgressBarOrientation::pbVertical;
    const std::string& section = skinData_->SkinSection();
    if (section == (vertical ? kHorizontalSection : kVerticalSection))
        skinData_->SetSkinSection(vertical ? kVerticalSection : kHorizontalSection);
    skinData_->Invalidate();
}

TsProgressBar::TLook TsProgressBar::Look() const {
    const TsCommonData& data = *skinData_;
    const bool vertical = Orientation() == TProgressBarOrientation::pbVertical;
    if (data.IsSkinned(true))
        return {data.SkinIndex, data.BorderIndex, data.PatternIndex, data.HotPatternIndex,
                vertical && data.SkinSection() != kVerticalSection};
    // A skin without a vertical bar's section: its horizontal one, turned.
    TsSkinManager* manager = data.SkinManager();
    if (!vertical || data.SkinSection() != kVerticalSection || !manager || !manager->SkinData().Active) return {};
    const TsSkinTables* t = data.Tables();
    const int index = SectionIndexOf(t, kHorizontalSection);
    if (index < 0) return {};
    return {index, MaskIndexOf(t, index, kHorizontalSection, "BORDERSMASK"),
            TextureIndexOf(t, index, kHorizontalSection, "PATTERN"),
            TextureIndexOf(t, index, kHorizontalSection, "HOTPATTERN"), true};
}

// ---- painting -------------------------------------------------------------------

void TsProgressBar::PaintBar(const TLook& look, TBitmap24& bitmap, const TParentBackground& background, TPoint point,
                             bool vertical, bool fromEnd) {
    TItemSource source = skinData_->ItemSource();
    source.SkinIndex = look.SkinIndex;
    source.BorderIndex = look.BorderIndex;
    source.PatternIndex = look.PatternIndex;
    source.HotPatternIndex = look.HotPatternIndex;
    const TRect whole{0, 0, bitmap.Width(), bitmap.Height()};
    PaintItem(source, background, true, bitmap, point, whole, 0);
    const TsSkinTables& tables = *source.Tables;
    const TsMaskData* frame =
        tables.IsValidMaskIndex(look.BorderIndex) ? &tables.Masks[static_cast<std::size_t>(look.BorderIndex)] : nullptr;
    const TRect filled = FilledPart(FillArea(whole, frame), Min(), Max(), Position(), vertical, fromEnd);
    if (filled.Right <= filled.Left || filled.Bottom <= filled.Top) return;
    TBitmap24 hot(bitmap.Width(), bitmap.Height());
    PaintItem(source, background, true, hot, point, whole, 1);
    for (int y = filled.Top; y < filled.Bottom; ++y)
        std::copy_n(hot.ScanLine(y) + filled.Left * 3, filled.Width() * 3, bitmap.ScanLine(y) + filled.Left * 3);
}

void TsProgressBar::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    const TLook look = Look();
    const bool vertical = Orientation() == TProgressBarOrientation::pbVertical;
    if (!look.Turned) {
        PaintBar(look, cache, background, TPoint{Left(), Top()}, vertical, false);
    } else {
        // The horizontal look over the parent's pixels turned the same way,
        // filled from its right end, which turned back is the bottom.
        TBitmap24 under;
        TParentBackground turnedBackground;
        if (background.Ready && background.Bitmap) {
            under.SetSize(Height(), Width());
            under.Fill(Parent() ? ColorToRGB(Parent()->Color()) : clBlack);
            const TRect beneath = Bounds(background.OffsetX + Left(), background.OffsetY + Top(), Width(), Height());
            CopyTransposed(*background.Bitmap, beneath, under, TPoint{0, 0});
            turnedBackground = TParentBackground{&under, 0, 0, true};
        }
        TBitmap24 turned(Height(), Width());
        PaintBar(look, turned, turnedBackground, TPoint{0, 0}, false, true);
        CopyTransposed(turned, TRect{0, 0, turned.Width(), turned.Height()}, cache, TPoint{0, 0});
    }
    if (!look.Turned) data.UpdateCorners(0, crAll);   // the turned look's corners came with the turned background
    if (!Enabled()) DisabledLook(cache, disabledKind_, ColorToRGB(Color()), TPoint{Left(), Top()}, background);
    data.BackgroundChanged = false;
}

void TsProgressBar::OnPaintMessage(TMessage& m) {
    const TPaintDC paint(Handle(), m.WParam);
    HDC dc = paint.Handle();
    TsCommonData& data = *skinData_;
    if (data.IsUpdating()) {
        data.Updating = true;
        return;
    }
    RebuildCache();
    TCacheDC cache(*data.CacheBmp());
    if (cache.Handle()) BitBlt(dc, 0, 0, Width(), Height(), cache.Handle(), 0, 0, SRCCOPY);
}

void TsProgressBar::RepaintSkinned() {
    skinData_->BackgroundChanged = true;
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---- window procedure -----------------------------------------------------------

void TsProgressBar::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this)) {
        skinData_->CommonWndProc(m);
        switch (m.Msg) {
        case WM_PAINT:
            if (Skinned()) return OnPaintMessage(m);
            break;
        case WM_ERASEBKGND:   // the cache covers every pixel
            if (Skinned()) return void(m.Result = 1);
            break;
        case CM_ENABLEDCHANGED:
            if (Skinned()) return TProgressBar::WndProc(m), Repaint();
            break;
        }
    }
    if (m.Msg == SM_ALPHACMD) return;   // answered by the skin state, or by nobody
    TProgressBar::WndProc(m);
}

bool TsProgressBar::OnSkinAnnouncement(TMessage& m) {
    TsCommonData& data = *skinData_;
    // The parent has drawn: a bar that waited for it paints now, from the skin or as the system does.
    if (SkinCommandOf(m.WParam) == SMC_PARENTUPDATED) {
        if (!data.Updating && !data.PartlyHidden) return true;
        data.Updating = false;
        if (Skinned()) RepaintSkinned();
        else data.RepaintSystemLook();
        return true;
    }
    const auto removed = [this] {
        TsCommonData& d = *skinData_;
        if (!Skinned()) return d.RepaintSystemLook();
        // The section is missing but the turned horizontal look stands in: drawn at once.
        d.Updating = false;
        RepaintSkinned();
    };
    const auto applied = [this] {
        TsCommonData& d = *skinData_;
        if (d.Updating) return;   // the parent's paint repaints it (SMC_PARENTUPDATED)
        if (Skinned()) RepaintSkinned();
        else d.RepaintSystemLook();
    };
    return AnswerCommonSkinCommand(&data, m, {.Removed = removed, .Applied = applied});
}

// ---- registration -----------------------------------------------------------------

void RegisterGaugeClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        RegisterRangeControlClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsProgressBar>("TsProgressBar", "TProgressBar");
        RegisterSkinDataProperties<TsProgressBar>("TsProgressBar");
        r.RegisterProperty<TsProgressBar>("TsProgressBar", "DisabledKind",
                                          [](TsProgressBar& b, const TValue& v, TReadContext&) {
                                              b.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
                                          });
        RegisterTrackBarClass();
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
