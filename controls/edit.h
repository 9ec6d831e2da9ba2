#pragma once
// TsEdit: the skinned single-line edit. The native EDIT does all the editing
// (caret, selection, clipboard, input methods). The skin paints the two-pixel
// frame always and the whole face, text included, while the edit is neither
// focused nor under the mouse; while it is active the native edit paints its
// client area in the colours the skin gave it. The edit can carry a bound label.
#include <windows.h>

#include <memory>
#include <string>

#include "controls/bound_label.h"
#include "engine/common_data.h"
#include "gui/std_controls.h"
#include "paint/blend.h"
#include "paint/geometry.h"

namespace korvel {

class TsEdit : public TEdit {
public:
    explicit TsEdit(TComponent* owner);
    ~TsEdit() override;
    std::string ClassName() const override { return "TsEdit"; }

    TsCommonData SkinData;
    TsBoundLabel& BoundLabel() { return *boundLabel_; }

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);

    // The skinned face shows the text inside this rectangle (window coordinates).
    TRect TextRect() const;
    // What the skinned face writes: the text, or one password character per character.
    std::string DisplayText() const;

protected:
    void WndProc(TMessage& message) override;
    void BoundsChanged() override;
    void Loaded() override;

private:
    bool HandleSkinFirst(TMessage& m);
    bool HandleSkinnedBefore(TMessage& m);
    void HandleSkinnedAfter(const TMessage& m);
    void FollowBoundLabel(const TMessage& m);

    void PrepareCache();
    // dc: where to draw (WM_PRINT), or nullptr for the window itself.
    void FullPaint(HDC dc);
    void FramePaint(HDC dc);
    void RepaintNow();

    std::unique_ptr<TsBoundLabel> boundLabel_;
    TsDisabledKind disabledKind_ = dkBlended;
};

// Registers TsEdit, its skin settings and its bound label's properties (once).
void RegisterEditClass();

}  // namespace korvel
