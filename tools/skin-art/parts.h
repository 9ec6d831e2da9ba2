#pragma once
// The drawn parts of a skin, one function per part, painted from a colour set
// (TLook) so that the skins share the shapes and differ in colour. Light falls
// from the top left everywhere. States are 0 normal, 1 hot, 2 pressed.
#include <string>
#include <vector>

#include "tools/skin-art/image.h"

namespace korvel::art {

struct TLook {
    TColor Outline, OutlineHot, OutlinePressed;   // one-pixel outlines of controls
    TColor Light, Shade;                          // bevel highlight and shadow
    TColor Face[3][2];                            // top and bottom colour of small faces per state
    TColor Glyph[3];                              // glyph colour per state
    TColor FrameOuter, FrameLight, FrameMid, FrameInner;   // window frame rings, outside in
    TColor TitleOutline;
    TColor Well;                                  // inner shadow of sunken fields
    TColor Mark[3];                               // check mark / radio dot per state
    TColor Track[3];                              // scroll track outline per state
    TColor Groove;                                // track bar groove fill
    // Behind the corner pieces of window and field frames. Every key-colour pixel of a
    // frame corner is cut from the window region or refilled with the parent's colour,
    // so corners are key-coloured only outside the rounding and take these inside.
    TColor FormColour, FieldColour;
};

enum class TCaptionGlyph { None, Close, Minimise, Maximise, Restore, Help };
enum class TCheckKind { Unchecked, Checked, Grayed };
enum class TArrow { Up, Down, Left, Right };

// The glyph of a caption button as text rows ('X' drawn, '.' clear); empty for None.
const std::vector<std::string>& CaptionGlyphRows(TCaptionGlyph glyph);

// Images of equal height side by side, in order.
TImage Strip(const std::vector<TImage>& images);
// Turned a quarter clockwise, and mirrored top to bottom.
TImage Transposed(const TImage& image);
TImage FlippedVertically(const TImage& image);

TImage WindowFrame(const TLook& look, int width, int height);
TImage TitleFrame(const TLook& look, int width, int height);
TImage CaptionButton(const TLook& look, int state, TCaptionGlyph glyph, int height);
TImage SizeGrip(const TLook& look);
TImage PanelFrame(const TLook& look, bool sunken);
TImage PanelGlyph(const TLook& look, int state);
TImage ButtonFrame(const TLook& look, int state);
TImage EditFrame(const TLook& look);
// 16 wide; 18 high, or 13 for the grayed box.
TImage CheckGlyph(const TLook& look, int state, TCheckKind kind, bool radio);
TImage TrackFrame(const TLook& look, int state);
TImage ArrowGlyph(const TLook& look, int state, TArrow arrow);
TImage SliderGrip(const TLook& look, int state, bool vertical);
TImage Channel(const TLook& look);
TImage Divider(const TLook& look);
TImage TrackThumb(const TLook& look, int state, bool vertical);
TImage TabFrame(const TLook& look, int state);

}  // namespace korvel::art
