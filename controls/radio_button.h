#pragma once
// TsRadioButton: the skinned radio button. It is the skinned check box in
// every rule of look and input (cache, fade, focus frame, read-only, disabled
// kinds, user glyphs) with the radio's own: its glyphs are the skin's global
// radio masks (RADIOCHECKED, RADIOUNCHECKED, RADIOGRAYED), a click only checks,
// and the radio buttons sharing a parent are one group (TRadioItem): one
// checked at a time, arrows move the check, Tab enters at the checked one.
#include <cstdint>
#include <string>

#include "controls/check_box.h"
#include "gui/radio_button.h"

namespace korvel {

constexpr std::uint32_t ccRadioButton = 33;

class TsRadioButton : public TsCheckBox, public TRadioItem {
public:
    explicit TsRadioButton(TComponent* owner);
    std::string ClassName() const override { return "TsRadioButton"; }
    TCheckBox& RadioBox() override { return *this; }
    void ClickRadio() override { Toggle(); }
    // Unchecks the rest of the group when the button is checked; OnClick only then.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    // A click only checks (a read-only button refuses it).
    void Toggle() override;
    const char* GlyphMaskName(TCheckBoxState state) const override;
};

// Registers the plain and skinned radio buttons and group boxes with their stored properties (once).
void RegisterRadioAndGroupClasses();

}  // namespace korvel
