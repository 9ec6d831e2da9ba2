#pragma once
// The native controls: push button, check box, single-line and multi-line
// edit, and the panel (a window of our own that holds other controls).
#include <string>
#include <vector>

#include "gui/win_control.h"

namespace korvel {

// A push button. On a form, Enter clicks the focused button, or the default
// one while the focus is on a control that is not a button; Escape clicks the
// cancel button; the caption's accelerator (Alt+letter, or the letter alone
// while a button has the focus) clicks it. The button Enter would click shows
// the default push-button look.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    std::string ClassName() const override { return "TButton"; }
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // A click first gives the button's form this ModalResult (ending its ShowModal).
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    // Whether Enter clicks this button with Focused the control that has the focus.
    bool ActiveFor(const TControl* focused) const;
    const TControl* FocusedOnSameForm() const;
    // Click for Enter, Escape or the accelerator; true when answered.
    bool AnswerDialogKey(TMessage& message);
    bool AnswerDialogChar(TMessage& message);
    void ShowDefaultLook(bool value);

    bool default_ = false;
    bool cancel_ = false;
    bool defaultLook_ = false;
    TModalResult modalResult_ = mrNone;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    std::string ClassName() const override { return "TCheckBox"; }
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) { SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    // A change of state raises OnClick (except while the definition is read).
    void SetState(TCheckBoxState value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // A linked action's Checked follows the box's new state, then OnClick or
    // the action runs. A state that comes from the action clicks nothing.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    // The state a user's click moves to.
    virtual void Toggle();
    // Also takes the action's Checked as the box's state.
    void ActionChanged(const TAction& action) override;

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool takingAction_ = false;   // the state changes because the action did
    bool allowGrayed_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
};

enum class TBorderStyle { bsNone, bsSingle };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    std::string ClassName() const override { return "TCustomEdit"; }

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // A UTF-8 character shown for every typed one; empty shows the text.
    const std::string& PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const std::string& value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    void SelectAll();

    // Raised after every real change of the text: synchronously inside the
    // Text setter, after each keystroke that alters it; never while the
    // definition is read, never for a text equal to the current one.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void SetTextValue(const std::string& value) override;
    virtual void Change();

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    std::string passwordChar_;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool settingText_ = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
    std::string ClassName() const override { return "TEdit"; }
};

class TMemo;

// The lines of a multi-line edit. With a window, a line is a row as the
// control lays it out (wrapped text gives several rows) and an empty last row
// (left by a final line break) is not counted.
class TMemoLines {
public:
    explicit TMemoLines(TMemo& memo) : memo_(memo) {}
    int Count() const;
    std::string Strings(int index) const;
    void Add(const std::string& line);
    void Clear();
    std::string Text() const;
    void SetText(const std::string& text);
    void Assign(const std::vector<std::string>& lines);
    // Reads a text file (UTF-8, or the ANSI code page when it is not valid
    // UTF-8), replacing the lines. Throws EFOpenError; the lines stay as they were.
    void LoadFromFile(const std::string& path);

private:
    TMemo& memo_;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);
    std::string ClassName() const override { return "TMemo"; }
    TMemoLines& Lines() { return lines_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    // Whether Tab and Enter stay in the control (typed) rather than going to
    // the form first (next tab stop, default button): by default Enter stays
    // and Tab moves on. Escape always goes to the form.
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    friend class TMemoLines;
    // Text with CR LF line breaks, as the control holds it.
    void SetMemoText(const std::string& text) { TCustomEdit::SetTextValue(text); }
    bool HasUsableHandle();

    TMemoLines lines_{*this};
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);
    std::string ClassName() const override { return "TPanel"; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;

private:
    TAlignment alignment_ = TAlignment::taCenter;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
};

// DrawText flags for a horizontal alignment, vertically centred, adjusted for right-to-left reading.
UINT AlignmentDrawFlags(const TControl& control, TAlignment alignment);

}  // namespace korvel
