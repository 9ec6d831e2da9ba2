#pragma once
// TsProgressBar: the skinned progress bar. The native msctls_progress32 keeps
// the range, the position and accessibility; what the user sees is painted
// from the skin into the cache of its skin state: the section's normal look
// (state 0) over the whole bar, and, in the filled part, the section's hot
// look (state 1) of the whole bar, cut to that part.
//
// Sections: PROGRESSH for a horizontal bar, PROGRESSV for a vertical one.
// PROGRESSV is drawn as it stands, filled from the bottom. Any other section
// on a vertical bar is a horizontal look, drawn turned a quarter (rows and
// columns swapped, so a frame lit from the top left stays lit from there) and
// filled from the bottom; a skin without PROGRESSV shows PROGRESSH that way.
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "gui/range_controls.h"
#include "paint/blend.h"
#include "paint/geometry.h"

namespace korvel {

constexpr std::uint32_t ccGauge = 161;

// The filled length of a bar length pixels long: (Position - Min) x length /
// (Max - Min), truncated, with Position clamped into the range; 0 for an
// empty range (Max <= Min).
int FilledLength(int min, int max, int position, int length);

// Where the fill may go: rect inside the section's frame, as far as the frame's
// own widths (WL, WT, WR, WB of a border mask that gives them) reach.
TRect FillArea(TRect rect, const TsMaskData* frame);

// The filled part of area: from the left for a horizontal bar, from the bottom
// for a vertical one, fromEnd from the right instead of the left.
TRect FilledPart(TRect area, int min, int max, int position, bool vertical, bool fromEnd = false);

class TsProgressBar : public TProgressBar {
public:
    explicit TsProgressBar(TComponent* owner);
    ~TsProgressBar() override;
    std::string ClassName() const override { return "TsProgressBar"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }
    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);

    // The section the bar is painted with, or -1 (the native bar paints), and
    // whether that look is drawn turned.
    struct TLook {
        int SkinIndex = -1;
        int BorderIndex = -1;
        int PatternIndex = -1;
        int HotPatternIndex = -1;
        bool Turned = false;
    };
    TLook Look() const;

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void OrientationChanged() override;

private:
    bool Skinned() const { return Look().SkinIndex >= 0; }
    bool OnSkinAnnouncement(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void RebuildCache();
    // The whole bar, state 0 with the filled part in state 1, into bitmap.
    void PaintBar(const TLook& look, TBitmap24& bitmap, const TParentBackground& background, TPoint point,
                  bool vertical, bool fromEnd);
    void RepaintSkinned();

    std::unique_ptr<TsCommonData> skinData_;
    TsDisabledKind disabledKind_ = dkBlended;
};

// Registers TsProgressBar and TsTrackBar and their stored properties (once).
void RegisterGaugeClasses();

}  // namespace korvel
