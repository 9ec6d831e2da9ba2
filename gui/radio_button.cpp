// The radio button and the rule of its group.
#include "gui/radio_button.h"

#include <algorithm>

#include "gui/class_registry.h"

namespace korvel {

// ---- the group rule -------------------------------------------------------------

void SetRadioButtonStyle(TCreateParams& params) {
    // A radio button that never checks itself: the state is the program's.
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_RADIOBUTTON;
}

std::vector<TRadioItem*> RadioGroupOf(TCheckBox& radio) {
    std::vector<TRadioItem*> group;
    TWinControl* parent = radio.Parent();
    if (!parent) {
        if (auto* item = dynamic_cast<TRadioItem*>(&radio)) group.push_back(item);
        return group;
    }
    for (TWinControl* c : parent->TabOrderList())
        if (c->Parent() == parent)
            if (auto* item = dynamic_cast<TRadioItem*>(c)) group.push_back(item);
    return group;
}

void UpdateRadioTabStops(TCheckBox& radio) {
    const std::vector<TRadioItem*> group = RadioGroupOf(radio);
    const bool anyChecked = std::any_of(group.begin(), group.end(), [](TRadioItem* r) { return r->RadioBox().Checked(); });
    bool first = true;
    for (TRadioItem* r : group) {
        TCheckBox& box = r->RadioBox();
        bool stop = box.Checked();
        if (!anyChecked && first && box.Enabled()) {
            stop = true;
            first = false;
        }
        box.SetTabStop(stop);
    }
}

void RadioStateChanged(TCheckBox& radio) {
    if (radio.Checked()) {
        for (TRadioItem* r : RadioGroupOf(radio))
            if (&r->RadioBox() != &radio && r->RadioBox().Checked()) r->RadioBox().SetChecked(false);
    }
    UpdateRadioTabStops(radio);
}

bool MoveRadioCheck(TCheckBox& radio, bool forward) {
    const std::vector<TRadioItem*> group = RadioGroupOf(radio);
    const int n = static_cast<int>(group.size());
    if (n < 2) return false;
    const auto at = std::find_if(group.begin(), group.end(), [&radio](TRadioItem* r) { return &r->RadioBox() == &radio; });
    const int start = static_cast<int>(at - group.begin());
    for (int step = 1; step < n; ++step) {
        TRadioItem* next = group[static_cast<std::size_t>(((start + (forward ? step : -step)) % n + n) % n)];
        if (!next->RadioBox().CanFocus()) continue;
        next->RadioBox().SetFocus();
        next->ClickRadio();
        break;
    }
    return true;   // the arrows stay inside a group, even one with no other button to reach
}

bool AnswerRadioArrow(TCheckBox& radio, TMessage& m) {
    if (m.Msg != CM_DIALOGKEY || !radio.Focused()) return false;
    switch (m.WParam) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!MoveRadioCheck(radio, m.WParam == VK_RIGHT || m.WParam == VK_DOWN)) return false;
        m.Result = 1;
        return true;
    }
    return false;
}

// ---- TRadioButton -----------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TCheckBox(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::CreateParams(TCreateParams& params) {
    TCheckBox::CreateParams(params);
    SetRadioButtonStyle(params);
}

void TRadioButton::HandleCreated() {
    TCheckBox::HandleCreated();
    UpdateRadioTabStops(*this);   // the group is complete once its windows exist
}

void TRadioButton::Loaded() {
    TCheckBox::Loaded();
    RadioStateChanged(*this);   // of several stored as checked, the first one read keeps the check
}

void TRadioButton::Toggle() { SetChecked(true); }

void TRadioButton::Click() {
    RadioStateChanged(*this);
    if (Checked()) TCheckBox::Click();
}

void TRadioButton::WndProc(TMessage& m) {
    if (AnswerRadioArrow(*this, m)) return;
    TCheckBox::WndProc(m);
}

void RegisterRadioButtonClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        // Caption, Checked, Alignment and the rest come with the check box's.
        TClassRegistry::Instance().RegisterClass<TRadioButton>("TRadioButton", "TCheckBox");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
