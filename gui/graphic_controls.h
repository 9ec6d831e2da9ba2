#pragma once
// Windowless controls: painted by their parent during its paint, given mouse
// messages by their parent when the pointer is over them.
#include <string>

#include "gui/control.h"
#include "gui/std_controls.h"

namespace korvel {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    std::string ClassName() const override { return "TGraphicControl"; }
    // Valid only while the control paints.
    TCanvas& Canvas() { return canvas_; }

protected:
    void WndProc(TMessage& message) override;
    // Draws the control at (0, 0) of Canvas, which is clipped to the control.
    virtual void Paint() {}

private:
    TCanvas canvas_;
};

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    std::string ClassName() const override { return "TLabel"; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    // The control the caption's accelerator focuses; forgotten when it is freed.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* value);
    // Resizes to the caption when AutoSize is on (the height only when word-wrapping).
    void AdjustBounds();

protected:
    void Paint() override;
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    UINT DrawFlags() const;
    // Focuses FocusControl for the caption's accelerator; true when answered.
    bool AnswerDialogChar(TMessage& message);

private:
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

// A picture: a bitmap drawn at the control's top-left (or stretched, or centred).
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    std::string ClassName() const override { return "TImage"; }
    TBitmap& Picture() { return picture_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);

protected:
    void Paint() override;

private:
    TBitmap picture_;
    bool stretch_ = false;
    bool center_ = false;
};

}  // namespace korvel
