#pragma once
// TsMemo: the skinned multi-line edit. The native EDIT does all the editing
// and scrolling and paints its client area in the colours the skin state gave
// it; the skin paints the frame around it (state 1 while the memo is focused or
// under the mouse) and the engine's skinned scroll bars stand over the native
// ones, following them exactly.
#include <windows.h>

#include <cstdint>
#include <string>

#include "controls/control_scroll_bars.h"
#include "engine/common_data.h"
#include "gui/std_controls.h"
#include "paint/blend.h"

namespace korvel {

// An edit-like control: it takes the EDIT section and its colours.
constexpr std::uint32_t ccMemo = 4;

class TsMemo : public TMemo {
public:
    explicit TsMemo(TComponent* owner);
    std::string ClassName() const override { return "TsMemo"; }

    TsCommonData SkinData;
    // The skinned bars standing over the native ones.
    const TsControlScrollBars& SkinnedScrollBars() const { return scrollBars_; }

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    bool HandleSkinFirst(TMessage& m);
    bool HandleSkinnedBefore(TMessage& m);
    void HandleSkinnedAfter(const TMessage& m);
    void PrepareCache();
    void PaintFrame(HDC given);

    TsDisabledKind disabledKind_ = dkBlended;
    TsControlScrollBars scrollBars_{*this, SkinData};   // after SkinData: goes first
};

// Registers TsMemo and its skin settings (once).
void RegisterMemoClass();

}  // namespace korvel
