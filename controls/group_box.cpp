// The skinned group box.
#include "controls/group_box.h"

#include <algorithm>

#include "controls/skin_data_properties.h"
#include "gui/class_registry.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

TsGroupBox::TsGroupBox(TComponent* owner) : TsPanel(owner) {
    SkinData().ControlCode = ccGroupBox;
    SkinData().SetSkinSection(DefaultSectionOf(ccGroupBox));
    SetBevelOuter(TBevelCut::bvNone);
    SetBounds(Left(), Top(), 185, 105);
}

TGroupCaptionPlace TsGroupBox::CaptionPlace() const {
    TFont font;
    font.Assign(Font());
    const std::string caption = Caption();
    const TTextSize line = GetTextSize(font.Handle(), "W");
    const TTextSize text = caption.empty() ? TTextSize{} : GetTextSize(font.Handle(), caption);
    return GroupCaptionPlace(text.Width, line.Height, !caption.empty());
}

void TsGroupBox::PaintWindow(HDC dc) {
    PaintPlainGroupBox(*this, dc, ColorBrush());
    PaintSkinned(dc);
}

void TsGroupBox::PaintFace(TBitmap24& cache, const TParentBackground& background) {
    const TsCommonData& data = SkinData();
    TItemSource source = data.ItemSource();
    const int border = source.BorderIndex;
    source.BorderIndex = -1;   // the frame comes next, from the caption's middle line down
    const TPoint at{Left(), Top()};
    const int width = cache.Width(), height = cache.Height();
    PaintItem(source, background, true, cache, at, TRect{0, 0, width, height}, 0);
    const TsSkinTables* tables = source.Tables;
    if (!tables || !tables->IsValidMaskIndex(border)) return;
    const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(border)];
    TMaskImage image;
    if (!GetMaskImage(*tables, mask, image)) return;
    const TGroupCaptionPlace place = CaptionPlace();
    if (height - place.FrameTop < 2 * image.RowHeight) return;   // no room for the frame's corners
    // The frame's key pixels show the box's own background, as does the gap behind the caption.
    TBitmap24 under = cache.Clone();
    DrawSkinRect(cache, TRect{0, place.FrameTop, width, height}, false, TParentBackground{&under, 0, 0, true}, 0, *tables,
                 mask);
    if (place.Gap.right <= place.Gap.left) return;
    const int left = std::max(0, static_cast<int>(place.Gap.left));
    const int right = std::min(width, static_cast<int>(place.Gap.right));
    const int bottom = std::min(height, std::max(static_cast<int>(place.Gap.bottom), place.FrameTop + image.RowHeight));
    for (int y = 0; y < bottom; ++y)
        std::copy(under.ScanLine(y) + 3 * left, under.ScanLine(y) + 3 * right, cache.ScanLine(y) + 3 * left);
}

void TsGroupBox::PaintCaption(HDC cacheDC, RECT) {
    const std::string caption = Caption();
    if (caption.empty()) return;
    TFont font;
    font.Assign(Font());
    TGdiTextCanvas canvas(cacheDC, font.Handle(), ColorToRGB(Font().Color()));
    const RECT t = CaptionPlace().Text;
    TRect r{t.left, t.top, t.right, t.bottom};
    const TsCommonData& data = SkinData();
    const TTextSource source{data.Tables(), data.SkinIndex, data.CustomFont()};
    WriteTextEx(canvas, caption, Enabled(), false, source, dtSingleLine | dtLeft | dtNoPrefix, r);
}

void RegisterGroupBoxClasses() {
    static const bool registered = [] {
        RegisterPanelClasses();
        // SkinData and everything else stored come with the panel's properties.
        TClassRegistry::Instance().RegisterClass<TsGroupBox>("TsGroupBox", "TsPanel");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
