#pragma once
// TsToolBar and TsToolButton: the skinned tool bar and its buttons.
// - The bar is a skinned panel aligned to the top, of section TOOLBAR; a skin
//   without TOOLBAR paints it from its PANEL section (a bar is a panel to a
//   skin author first), and only a skin with neither leaves the plain panel.
// - A button is a skinned push button of section TOOLBUTTON (normal, hot,
//   pressed, Down and disabled faces, fading where the section fades); its
//   native window keeps the focus, Space and accessibility. A separator shows
//   the bar's pixels with a divider in the middle, in the button section's
//   text colour.
#include <string>

#include "controls/button.h"
#include "controls/panel.h"
#include "gui/bar_controls.h"

namespace korvel {

constexpr std::uint32_t ccToolBar = 53;
constexpr std::uint32_t ccToolButton = 98;

class TsToolBar : public TsPanel {
public:
    explicit TsToolBar(TComponent* owner);
    std::string ClassName() const override { return "TsToolBar"; }

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    // With SkinSection TOOLBAR missing from the skin, the PANEL section's indexes instead.
    void FallBackToPanel();
};

class TsToolButton : public TToolButtonOf<TsButton> {
public:
    explicit TsToolButton(TComponent* owner);
    std::string ClassName() const override { return "TsToolButton"; }

    // The divider's column in a separator, and the colour it is mixed with.
    int DividerColumn() const { return Width() / 2; }
    TColor DividerColor() const;

protected:
    void WndProc(TMessage& message) override;
    void DownChanged() override;

private:
    void PaintSeparator(TMessage& m);
};

// Registers TsToolBar and TsToolButton with their stored properties (once).
void RegisterToolBarClasses();

}  // namespace korvel
