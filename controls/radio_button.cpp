// The skinned radio button.
#include "controls/radio_button.h"

#include "controls/group_box.h"
#include "gui/class_registry.h"
#include "gui/group_box.h"

namespace korvel {

TsRadioButton::TsRadioButton(TComponent* owner) : TsCheckBox(owner) {
    SkinData().ControlCode = ccRadioButton;
    SkinData().SetSkinSection(DefaultSectionOf(ccRadioButton));
}

void TsRadioButton::CreateParams(TCreateParams& params) {
    TsCheckBox::CreateParams(params);
    SetRadioButtonStyle(params);
}

void TsRadioButton::HandleCreated() {
    TsCheckBox::HandleCreated();
    UpdateRadioTabStops(*this);   // the group is complete once its windows exist
}

void TsRadioButton::Loaded() {
    TsCheckBox::Loaded();
    RadioStateChanged(*this);   // of several stored as checked, the first one read keeps the check
}

void TsRadioButton::Toggle() {
    if (ReadOnly()) return;
    SetChecked(true);
}

void TsRadioButton::Click() {
    RadioStateChanged(*this);
    if (Checked()) TsCheckBox::Click();
}

void TsRadioButton::WndProc(TMessage& m) {
    if (AnswerRadioArrow(*this, m)) return;
    TsCheckBox::WndProc(m);
}

const char* TsRadioButton::GlyphMaskName(TCheckBoxState state) const {
    switch (state) {
    case TCheckBoxState::cbChecked: return "RADIOCHECKED";
    case TCheckBoxState::cbGrayed:  return "RADIOGRAYED";
    case TCheckBoxState::cbUnchecked: break;
    }
    return "RADIOUNCHECKED";
}

void RegisterRadioAndGroupClasses() {
    static const bool registered = [] {
        RegisterRadioButtonClass();
        RegisterGroupBoxClass();
        RegisterCheckBoxClass();
        RegisterGroupBoxClasses();
        // Everything stored comes with the skinned check box's properties.
        TClassRegistry::Instance().RegisterClass<TsRadioButton>("TsRadioButton", "TsCheckBox");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
