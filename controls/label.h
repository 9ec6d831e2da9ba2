#pragma once
// The skinned labels: windowless text that takes its colour from the active
// skin (the default skin manager's GLOBALINFO text colour) and draws a
// skin-matched disabled text. TsLabel can keep its own font colour
// (UseSkinColor off); TsEditLabel is the label a bound label creates (in
// controls/bound_label.h).
#include <string>

#include "gui/graphic_controls.h"

namespace korvel {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TsCustomLabel : public TLabel {
public:
    explicit TsCustomLabel(TComponent* owner);
    std::string ClassName() const override { return "TsCustomLabel"; }

    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The label's own font, recoloured from the skin first (see the overrides).
    virtual TFont& SkinFont();

protected:
    void WndProc(TMessage& message) override;
    void Paint() override;
    void FontChanged() override;
    // The text drawing step of painting: rect in the label's coordinates.
    virtual void DoDrawText(RECT& rect, UINT flags);
    // Recolours the font from the skin's GLOBALINFO section; false when there is no active skin to take it from.
    bool RecolourFromSkin();

private:
    void DrawPlainText(RECT& rect, UINT flags);
    void DrawDisabledSkinned(RECT& rect, UINT flags);
    TTextLayout layout_ = TTextLayout::tlTop;
};

class TsLabel : public TsCustomLabel {
public:
    explicit TsLabel(TComponent* owner) : TsCustomLabel(owner) {}
    std::string ClassName() const override { return "TsLabel"; }

    // Whether the font colour follows the skin while a skin is active.
    bool UseSkinColor() const { return useSkinColor_; }
    void SetUseSkinColor(bool value) { useSkinColor_ = value; }

    TFont& SkinFont() override;

protected:
    void WndProc(TMessage& message) override;

private:
    bool useSkinColor_ = true;
};

// True while a label recolours its font as it paints; shared by all labels.
bool LabelPaintingFlag();

// Registers TsCustomLabel's and TsLabel's stored properties (once). TsEditLabel
// is created by bound labels only.
void RegisterLabelClasses();

}  // namespace korvel
