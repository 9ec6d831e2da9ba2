#pragma once
// TRadioButton: a native radio button whose check is one of a group. The
// radio buttons that share a parent are one group: checking one unchecks the
// others, the arrow keys move the focus and the check to the next one, and
// Tab enters the group at the checked one (the only tab stop of the group; the
// first one while none is checked). The state is the framework's, as the
// check box keeps it: the native button never checks itself.
#include <string>
#include <vector>

#include "gui/std_controls.h"

namespace korvel {

// What every radio button class (plain or skinned) is, so that the group rule
// finds its members whatever else they derive from.
class TRadioItem {
public:
    virtual ~TRadioItem() = default;
    virtual TCheckBox& RadioBox() = 0;
    // The user's click (or arrow key) reached the button: it checks itself
    // unless it refuses (a read-only button).
    virtual void ClickRadio() = 0;
};

class TRadioButton : public TCheckBox, public TRadioItem {
public:
    explicit TRadioButton(TComponent* owner);
    std::string ClassName() const override { return "TRadioButton"; }
    TCheckBox& RadioBox() override { return *this; }
    void ClickRadio() override { Toggle(); }
    // Unchecks the rest of the group when the button is checked; OnClick only then.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void HandleCreated() override;
    void Loaded() override;
    // A click only checks.
    void Toggle() override;
};

// ---- the group rule, shared by every radio button class ----------------------

// Native style of a radio button that leaves its check to the program.
void SetRadioButtonStyle(TCreateParams& params);
// The radio buttons sharing radio's parent, radio included, in tab order.
std::vector<TRadioItem*> RadioGroupOf(TCheckBox& radio);
// After radio's state changed: a checked radio unchecks the others of its group;
// the group's tab stops follow.
void RadioStateChanged(TCheckBox& radio);
// The checked radio button of the group is its tab stop; while none is
// checked, the first enabled one is.
void UpdateRadioTabStops(TCheckBox& radio);
// An arrow key while radio has the focus: the next (forward) or previous enabled
// and visible radio of the group takes the focus and is clicked. True when one did.
bool MoveRadioCheck(TCheckBox& radio, bool forward);
// CM_DIALOGKEY at a radio button: answers an arrow key while it has the focus.
bool AnswerRadioArrow(TCheckBox& radio, TMessage& message);

// Registers TRadioButton and its stored properties (once).
void RegisterRadioButtonClass();

}  // namespace korvel
