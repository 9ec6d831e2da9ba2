#pragma once
// TGroupBox: a container with a caption, its frame's top line running through
// the middle of the caption's line and interrupted behind the caption. A
// window of our own (as the panel is), so that it holds and paints under its
// children like any container.
#include <string>

#include "gui/win_control.h"

namespace korvel {

// Where a group box's caption sits: text of textWidth x textHeight (the
// font's line height, measured also for an empty caption).
struct TGroupCaptionPlace {
    RECT Text{};    // the caption's box
    RECT Gap{};     // the part of the top rows the frame leaves out (empty without a caption)
    int FrameTop = 0;   // the frame's top edge: half the caption's line height
};

constexpr int kGroupCaptionIndent = 8;    // from the left edge to the caption
constexpr int kGroupCaptionPadding = 2;   // free columns on each side of the caption
TGroupCaptionPlace GroupCaptionPlace(int textWidth, int textHeight, bool hasCaption);

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    std::string ClassName() const override { return "TGroupBox"; }

protected:
    void CreateParams(TCreateParams& params) override;
    void PaintWindow(HDC dc) override;
};

// The plain look of a group box on dc: its background brush, an etched frame and the caption in its font.
void PaintPlainGroupBox(TWinControl& box, HDC dc, HBRUSH background);

// Registers TGroupBox (once).
void RegisterGroupBoxClass();

}  // namespace korvel
