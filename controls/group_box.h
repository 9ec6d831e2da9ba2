#pragma once
// TsGroupBox: the skinned group box, a skinned container whose face is the
// GROUPBOX section's background (over the parent's pixels where the section is
// see-through) and its frame drawn from the caption's middle line down, the
// frame's top edge interrupted behind the caption. Children paint over it as
// over a panel. Without the section it is the plain group box.
#include <cstdint>
#include <string>

#include "controls/panel.h"
#include "gui/group_box.h"

namespace korvel {

constexpr std::uint32_t ccGroupBox = 74;

class TsGroupBox : public TsPanel {
public:
    explicit TsGroupBox(TComponent* owner);
    std::string ClassName() const override { return "TsGroupBox"; }
    // Where the caption sits and the gap it cuts, in the box's font.
    TGroupCaptionPlace CaptionPlace() const;

protected:
    void PaintWindow(HDC dc) override;
    void PaintFace(TBitmap24& cache, const TParentBackground& background) override;
    void PaintCaption(HDC cacheDC, RECT rect) override;
    // The frame starts below the window's top: its corners are drawn over the box's own background.
    bool FrameAtWindowCorners() const override { return false; }
};

// Registers TsGroupBox (once).
void RegisterGroupBoxClasses();

}  // namespace korvel
