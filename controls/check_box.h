#pragma once
// TsCheckBox: the skinned check box. The native BUTTON keeps the focus, the
// keyboard and accessibility, and the framework keeps the checked state; what
// the user sees is painted from the skin into the cache of its skin state: the
// section's background over the parent's pixels, a glyph (the skin's global
// masks BOXCHECKED, BOXUNCHECKED, BOXGRAYED, or user glyphs), the caption and
// a focus frame. Pressing and releasing (mouse or space bar) toggles it on the
// release; a read-only box cannot be changed by the user.
#include <functional>
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "engine/fade.h"
#include "gui/graphics.h"
#include "gui/image_list.h"
#include "gui/std_controls.h"
#include "paint/blend.h"

namespace korvel {

class TsCheckBox : public TCheckBox {
public:
    explicit TsCheckBox(TComponent* owner);
    ~TsCheckBox() override;
    std::string ClassName() const override { return "TsCheckBox"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    // Three frames side by side (normal, hot, pressed) over their transparency
    // (the lower half). Changing one resizes (AutoSize) and repaints.
    TBitmap& GlyphChecked() { return glyphChecked_; }
    TBitmap& GlyphUnChecked() { return glyphUnChecked_; }
    // The other glyph source: pictures of three frames over their transparency,
    // taken before the user glyphs while both indexes are 0 or more.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    int ImgChecked() const { return imgChecked_; }
    void SetImgChecked(int value);
    int ImgUnchecked() const { return imgUnchecked_; }
    void SetImgUnchecked(int value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int TextIndent() const { return textIndent_; }
    void SetTextIndent(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TacAnimatEvents AnimatEvents() const { return animatEvents_; }
    void SetAnimatEvents(TacAnimatEvents value) { animatEvents_ = value; }
    // Whether event may animate: in AnimatEvents, or aeGlobalDef and in the default set.
    bool AnimationAllowed(TacAnimatEvent event) const { return AnimatEventAllowed(animatEvents_, event); }
    // The running fade, or nullptr.
    TsFadeTimer* FadeTimer() const { return fadeTimer_; }

    // A mouse button or the space bar went down on the box; its release toggles.
    bool Pressed() const { return pressed_; }

    void Invalidate() override;
    // Sizes the box to glyph and caption (skinned, not loading, AutoSize on).
    void AdjustSize();

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Toggle() override;
    // The skin's global glyph mask of a state (BOXCHECKED, BOXUNCHECKED, BOXGRAYED).
    virtual const char* GlyphMaskName(TCheckBoxState state) const;

private:
    struct TGlyph;
    TGlyph CurrentGlyph() const;
    RECT GlyphRect(int width, int height) const;
    int GlyphState() const;
    bool Hot() const;

    bool OnSkinAnnouncement(TMessage& m);
    bool OnFocusOrMouse(TMessage& m);
    bool SkinnedMessage(TMessage& m);
    bool PlainMessage(TMessage& m);
    void OnPaintMessage(TMessage& m);
    bool OnKeyDownMessage(TMessage& m);
    bool OnKeyUpMessage(TMessage& m);
    bool OnButtonDown(TMessage& m);
    bool OnButtonUp(TMessage& m);
    void RebuildCache();
    void PaintCaption(HDC cacheDC, int glyphWidth);
    void PaintGlyph(TBitmap24& cache);
    void GlyphChanged();
    void TakeFocus();
    void StateChanged();

    // A fade to the new look when event may animate and the section fades, else a repaint.
    void RequestFadeOrRepaint(TacAnimatEvent event);
    void StopFade();

    std::unique_ptr<TsCommonData> skinData_;
    TsDisabledKind disabledKind_ = dkBlended;
    TBitmap glyphChecked_;
    TBitmap glyphUnChecked_;
    TCustomImageList* images_ = nullptr;
    int imgChecked_ = 0;
    int imgUnchecked_ = 0;
    int margin_ = 2;
    int textIndent_ = 0;
    bool multiLine_ = false;
    bool showFocus_ = true;
    bool readOnly_ = false;
    bool autoSize_ = true;
    TacAnimatEvents animatEvents_ = aeGlobalDef;
    TsFadeTimer* fadeTimer_ = nullptr;
    bool pressed_ = false;
};

// Registers TsCheckBox and its stored properties (once).
void RegisterCheckBoxClass();

}  // namespace korvel
