#pragma once
// TsTrackBar: the skinned track bar. The native msctls_trackbar32 keeps the
// keyboard (arrows, Page Up/Down, Home/End), the dragging, the notifications
// and accessibility, and it lays out the channel and the thumb; what the user
// sees is painted from the section (TRACKBAR) into the cache of its skin
// state, at the places the native control gives:
// - the section's background (state 0) over the parent's pixels;
// - the channel: the SLIDERCHANNEL frame along the native channel, as thick as
//   the mask, centred on the thumb's line (drawn turned on a vertical bar);
// - the ticks: 3 pixels long in the section's font colour, past the thumb on
//   the native control's tick side (below, or right of a vertical bar);
// - the thumb: SLIDERMASK (SLIDERVMASK on a vertical bar) centred on the
//   native thumb, image 0 normal, 1 hot (the pointer over it), 2 pressed
//   (while it is dragged); a disabled bar is drawn with the disabled look;
// - the focus, when the section's ShowFocus is set: dots around the bar.
// Thumb changes fade when the section fades.
#include <memory>
#include <string>
#include <vector>

#include "engine/common_data.h"
#include "engine/fade.h"
#include "gui/range_controls.h"
#include "paint/blend.h"
#include "paint/geometry.h"

namespace korvel {

constexpr std::uint32_t ccTrackBar = 165;

class TsTrackBar : public TTrackBar {
public:
    explicit TsTrackBar(TComponent* owner);
    ~TsTrackBar() override;
    std::string ClassName() const override { return "TsTrackBar"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }
    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    TacAnimatEvents AnimatEvents() const { return animatEvents_; }
    void SetAnimatEvents(TacAnimatEvents value) { animatEvents_ = value; }
    TsFadeTimer* FadeTimer() const { return fadeTimer_; }

    // 0 normal, 1 hot, 2 pressed (being dragged).
    int ThumbState() const;
    // The native control's layout, in client coordinates.
    RECT NativeThumbRect();
    RECT NativeChannelRect();
    // Where the skin's thumb and channel are drawn (empty without their masks).
    TRect ThumbRect();
    TRect ChannelRect();
    // The ticks' places along the bar (x, or y on a vertical bar): where the
    // thumb's centre stands at Min, at Max and at each of the native control's ticks.
    std::vector<int> TickPositions();

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void OrientationChanged() override;

private:
    bool Vertical() const { return Orientation() == TTrackBarOrientation::trVertical; }
    const TsMaskData* SkinMask(const char* name) const;
    bool OnSkinAnnouncement(TMessage& m);
    bool SkinnedMessage(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void RebuildCache();
    void PaintChannel(TBitmap24& cache);
    void PaintTicks(TBitmap24& cache);
    // The thumb under the pointer at client point p, or not.
    void TrackHot(POINT p);
    void SetThumbState(bool hot, bool pressed, TacAnimatEvent event);
    void StopFade();

    std::unique_ptr<TsCommonData> skinData_;
    TsDisabledKind disabledKind_ = dkBlended;
    TacAnimatEvents animatEvents_ = aeGlobalDef;
    TsFadeTimer* fadeTimer_ = nullptr;
    bool hot_ = false;
    bool pressed_ = false;
};

// Registers TsTrackBar and its stored properties (once); RegisterGaugeClasses calls it.
void RegisterTrackBarClass();

}  // namespace korvel
