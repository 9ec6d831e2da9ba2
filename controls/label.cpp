// The skinned labels.
#include "controls/label.h"

#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"
#include "gui/win_control.h"
#include "paint/color.h"

namespace korvel {

namespace {

// Set while a label recolours its font during painting, so that the font's change
// notification neither lays the label out again nor asks for another paint.
bool labelPainting = false;

// The default manager while its skin is active, else nullptr.
TsSkinManager* ActiveDefaultManager() {
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    return manager && manager->Active() && manager->SkinData().Active ? manager : nullptr;
}

bool IsSkinRemovedByDefaultManager(const TMessage& m) {
    return m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINREMOVED &&
           reinterpret_cast<TsSkinManager*>(m.LParam) == TsSkinManager::DefaultManager() && m.LParam != 0;
}

// The text DrawText is given: an empty caption, or a lone accelerator mark,
// still measures one line.
std::string MeasuredText(const std::string& caption, bool showAccelChar, UINT flags) {
    if ((flags & DT_CALCRECT) && (caption.empty() || (showAccelChar && caption == "&"))) return caption + " ";
    return caption;
}

}  // namespace

bool LabelPaintingFlag() { return labelPainting; }

// ---- TsCustomLabel --------------------------------------------------------------

TsCustomLabel::TsCustomLabel(TComponent* owner) : TLabel(owner) { SetTransparent(true); }

void TsCustomLabel::SetLayout(TTextLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Invalidate();
}

bool TsCustomLabel::RecolourFromSkin() {
    TsSkinManager* manager = ActiveDefaultManager();
    if (!manager) return false;
    const TsSkinTables& tables = manager->Tables();
    const int global = tables.SectionIndexOf("GLOBALINFO");
    if (!tables.IsValidSectionIndex(global)) return false;
    const std::int32_t stored = tables.Sections[static_cast<std::size_t>(global)].FontColor[fcText];
    if (stored < 0) return false;
    const TColor color = ColorToRGB(static_cast<TColor>(stored));
    if (color == clNone) return false;
    if (Font().Color() != color) Font().SetColor(color);
    return true;
}

TFont& TsCustomLabel::SkinFont() {
    RecolourFromSkin();
    return Font();
}

TFont& TsLabel::SkinFont() {
    if (useSkinColor_) RecolourFromSkin();
    return Font();
}

void TsCustomLabel::FontChanged() {
    if (labelPainting) return;
    TLabel::FontChanged();
}

void TsCustomLabel::Paint() {
    if (!labelPainting) {
        labelPainting = true;
        struct TClear {
            ~TClear() { labelPainting = false; }
        } clear;
        SkinFont();
    }
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    RECT r{0, 0, Width(), Height()};
    if (!Transparent()) {
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    SetBkMode(canvas.Handle(), TRANSPARENT);
    const UINT flags = DrawFlags();
    if (layout_ != TTextLayout::tlTop) {
        RECT measured = r;
        DoDrawText(measured, flags | DT_CALCRECT);
        const int free = Height() - (measured.bottom - measured.top);
        r.top += layout_ == TTextLayout::tlBottom ? free : free / 2;
    }
    DoDrawText(r, flags);
}

void TsCustomLabel::DoDrawText(RECT& rect, UINT flags) {
    if (Enabled() || !ActiveDefaultManager()) return DrawPlainText(rect, flags);
    DrawDisabledSkinned(rect, flags);
}

void TsCustomLabel::DrawPlainText(RECT& rect, UINT flags) {
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const std::string text = MeasuredText(Caption(), ShowAccelChar(), flags);
    if (Enabled() || (flags & DT_CALCRECT)) {
        canvas.DrawText(text, rect, flags);
        return;
    }
    // Embossed: a highlight one pixel right and down, the shadow on top.
    RECT raised = rect;
    OffsetRect(&raised, 1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    canvas.DrawText(text, raised, flags);
    canvas.Font().SetColor(clBtnShadow);
    canvas.DrawText(text, rect, flags);
}

void TsCustomLabel::DrawDisabledSkinned(RECT& rect, UINT flags) {
    TCanvas& canvas = Canvas();
    const std::string text = MeasuredText(Caption(), ShowAccelChar(), flags);
    if (!ShowAccelChar()) flags |= DT_NOPREFIX;
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    canvas.Font().Assign(Font());
    const TColor background = Parent() ? GetControlColor(Parent()) : ColorToRGB(Color());
    canvas.Font().SetColor(MixColors(ColorToRGB(Font().Color()), background, 0.4));
    canvas.DrawText(text, rect, flags);
}

void TsCustomLabel::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CM_FONTCHANGED:
        if (labelPainting) return;
        AdjustBounds();   // does nothing unless AutoSize
        Invalidate();
        return;
    case CM_MOUSEENTER:
        if (OnMouseEnter) OnMouseEnter(this);
        return TLabel::WndProc(m);
    case CM_MOUSELEAVE:
        TLabel::WndProc(m);
        if (OnMouseLeave) OnMouseLeave(this);
        return;
    }
    TLabel::WndProc(m);
    if (IsSkinRemovedByDefaultManager(m)) Font().SetColor(clWindowText);
}

// ---- TsLabel --------------------------------------------------------------------

void TsLabel::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINREMOVED) {
        if (IsSkinRemovedByDefaultManager(m) && useSkinColor_) Font().SetColor(clWindowText);
        return;
    }
    TsCustomLabel::WndProc(m);
}

// ---- registration -----------------------------------------------------------------

void RegisterLabelClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsCustomLabel>("TsCustomLabel", "TLabel", false);
        r.RegisterProperty<TsCustomLabel>("TsCustomLabel", "Layout", [](TsCustomLabel& l, const TValue& v, TReadContext&) {
            l.SetLayout(static_cast<TTextLayout>(v.AsEnum({{"tlTop", 0}, {"tlCenter", 1}, {"tlBottom", 2}})));
        });
        r.RegisterProperty<TsCustomLabel>("TsCustomLabel", "OnMouseEnter",
                                          [](TsCustomLabel& l, const TValue& v, TReadContext& c) { l.OnMouseEnter = c.Handler(v); });
        r.RegisterProperty<TsCustomLabel>("TsCustomLabel", "OnMouseLeave",
                                          [](TsCustomLabel& l, const TValue& v, TReadContext& c) { l.OnMouseLeave = c.Handler(v); });
        r.RegisterClass<TsLabel>("TsLabel", "TsCustomLabel");
        r.RegisterProperty<TsLabel>("TsLabel", "UseSkinColor",
                                    [](TsLabel& l, const TValue& v, TReadContext&) { l.SetUseSkinColor(v.AsBoolean()); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
