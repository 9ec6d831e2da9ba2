#pragma once
// TsButton: the skinned push button. The native BUTTON keeps the focus, the
// keyboard and accessibility; the button paints its whole face from its skin
// section into its cache (normal, hot or pressed), cuts its window to the
// section's border mask and cross-fades between looks with the fade timer.
#include <windows.h>

#include <optional>
#include <string>

#include "engine/common_data.h"
#include "engine/fade.h"
#include "gui/std_controls.h"
#include "paint/blend.h"
#include "paint/geometry.h"
#include "paint/platform_canvas.h"

namespace korvel {

class TsButton : public TButton {
public:
    explicit TsButton(TComponent* owner);
    ~TsButton() override;
    std::string ClassName() const override { return "TsButton"; }

    TsCommonData SkinData;

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    // Holds the button pressed.
    bool Down() const { return downValue_; }
    void SetDown(bool value);
    // How far outside the text the focus frame is drawn; setting it does not repaint.
    int FocusMargin() const { return focusMargin_; }
    void SetFocusMargin(int value) { focusMargin_ = value; }
    TacAnimatEvents AnimatEvents() const { return animatEvents_; }
    void SetAnimatEvents(TacAnimatEvents value) { animatEvents_ = value; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Drawn pressed: by the mouse, the space key or Down.
    bool IsDown() const { return pressedLook_ || downValue_; }
    // 2 pressed, 1 hot (active or the default look), 0 normal.
    int StateIndex() const;
    bool DefaultLook() const { return defaultLook_; }
    // The running fade, or nullptr.
    TsFadeTimer* FadeTimer() const { return fadeTimer_; }

    // Overridable steps of the caption: its rectangle, its drawing, and both with the focus frame.
    virtual TRect TextRect(TTextCanvas& canvas);
    virtual void DrawCaption(TTextCanvas& canvas, TRect& rect, unsigned format);
    virtual void PaintTextAndFocus(TTextCanvas& canvas);

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    // The skin messages handled whatever the state; true when done.
    bool HandleSkinFirst(TMessage& m);
    void ReturnToSystemLook();
    // The table of the skinned, ready button; true when done.
    bool HandleSkinned(TMessage& m);
    void HandleAfter(const TMessage& m);

    void OnPaint(TMessage& m);
    void OnMouseDown(bool left);
    // True when the release is ignored entirely.
    bool OnMouseUp(const TMessage& m, bool left);
    void OnMouseEnterLeave(TMessage& m);
    void OnFocusGained(TMessage& m);
    void OnFocusLost(TMessage& m);
    void OnDialogChar(const TMessage& m);
    void OnKeyUp(const TMessage& m);
    void OnFocusChanged(const TMessage& m);

    void PrepareCache();
    void StopFade();
    void FreeRegion();
    void ApplyRegion();
    void RepaintNow();
    // The caption, read from the window once per text change rather than at
    // every paint (each read is two messages to the native button).
    const std::string& ShownCaption();

    bool mouseDown_ = false;
    bool pressedLook_ = false;
    bool regionRenewal_ = true;
    TsFadeTimer* fadeTimer_ = nullptr;
    bool downValue_ = false;
    HRGN region_ = nullptr;
    bool defaultLook_ = false;

    TsDisabledKind disabledKind_ = dkBlended;
    int focusMargin_ = 1;
    TacAnimatEvents animatEvents_ = aeGlobalDef;
    bool savedShowHint_ = true;
    // Set while the native button handles a release we have already judged: its
    // own click notification then is not a second click.
    bool nativeClickMuted_ = false;
    std::optional<std::string> caption_;
};

// Registers TsButton and its stored properties with the class registry (once).
void RegisterButtonClass();

}  // namespace korvel
