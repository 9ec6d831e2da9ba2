#pragma once
// The geometry of a skinned scroll bar measured along its length: the arrow
// buttons, the thumb's length and centre, and the position a point stands for;
// and the states of its five parts. Platform-free.
#include <array>
#include <cstdint>

namespace korvel {

// What the bar's geometry depends on. Along: the bar's length (Width of a
// horizontal bar, Height of a vertical one); Arrow: the platform's arrow size
// along the bar.
struct TScrollGeometry {
    int Along = 0;
    int Arrow = 0;
    int Min = 0;
    int Max = 100;
    int Position = 0;
    int PageSize = 0;
    bool Enabled = true;
};

// The thumb is never shorter than this.
constexpr int MinThumbLength = 14;

// Rounds to the nearest integer, ties to even (a value outside the int range saturates).
int RoundHalfEven(double value);

// The arrow buttons' hit length: Arrow, at most half the bar.
int ScrollButtonLength(const TScrollGeometry& g);
// The thumb's length: 14 with a page size of 0, else the page's share of the
// track (at least 14).
int ScrollThumbLength(const TScrollGeometry& g);
// The thumb's centre along the bar: the middle when disabled, 0 for an empty range.
int ScrollThumbCentre(const TScrollGeometry& g);
// The position (without Min: dragging uses differences) a point along the bar stands for.
// 0 when disabled or when the track leaves the thumb no room to move.
int ScrollPointToPosition(const TScrollGeometry& g, int along);
// Position clamped into [min, max]; with a reversed range the minimum wins.
int ClampScrollPosition(int position, int min, int max);

// The length a button's BORDERSMASK paints when its section asks for it
// (ReservedBoolean): the larger of the hit length and one frame of the mask.
// Frame of a picture of its own: width / 3 by height div 2; of a rectangle of
// the master bitmap: width / image count by height / (mask type + 1).
struct TMaskFrameSize {
    int Width = 0;
    int Height = 0;
};
TMaskFrameSize MaskFrameSize(bool ownBitmap, int width, int height, int imageCount, int maskType);

// The five parts of the bar and their states (0 normal, 1 hot, 2 pressed).
enum TScrollPart { spFirstButton, spSecondButton, spFirstTrack, spSecondTrack, spThumb };

class TScrollPartStates {
public:
    int State(TScrollPart part) const { return states_[part]; }
    // Hot or pressed: every button and the thumb other than part become normal
    // and every track half other than part hot. Normal: only part changes.
    // Answers whether part's state changed (nothing happens when it did not).
    bool Set(TScrollPart part, int state);
    void Reset() { states_ = {}; }

private:
    std::array<int, 5> states_{};
};

}  // namespace korvel
