#pragma once
// Captions of skinned controls: the section's font colours with their one-pixel
// contour, the disabled look, text cut to a width with an ellipsis, and the
// dotted focus frame. Drawing goes through the platform's text canvas
// (TTextCanvas), whose font is the control's font.
#include <string>
#include <string_view>

#include "paint/geometry.h"
#include "paint/platform_canvas.h"
#include "skin/skin_data.h"

namespace korvel {

// What caption drawing needs of a control.
struct TTextSource {
    const TsSkinTables* Tables = nullptr;   // null: no manager, the text is drawn plainly
    int SkinIndex = -1;                     // the control's section; invalid: drawn plainly
    bool CustomFont = false;                // the control keeps its own font colour and gets no contour
};

// Writes a caption. Unless format has dtWordBreak, the text is centred vertically
// in rect and placed left, centred (dtCenter) or right (dtRight), and rect comes
// back as the text's box grown by one pixel on each side (callers draw their
// focus frame around it); with dtWordBreak the text is laid out in rect and rect
// is left as it was. Nothing is drawn outside the rect given. The canvas's
// clip, font colour and underline are as they were on return. A rect beyond
// kMaxPaintCoordinate draws nothing and is left as it was.
void WriteTextEx(TTextCanvas& canvas, std::string_view text, bool enabled, bool hot, const TTextSource& source,
                 unsigned format, TRect& rect);

// The same for a window part without a state object of its own.
void WriteSectionText(TTextCanvas& canvas, std::string_view text, bool enabled, const TsSkinTables* tables, bool hot,
                      int skinIndex, unsigned format, TRect& rect);

// text when it fits maxWidth in the canvas font; else the longest start of text
// followed by "..." that fits (characters are never split), or "" when not even
// one character with the ellipsis fits. maxWidth <= 0 gives "".
std::string CutText(TTextCanvas& canvas, std::string_view text, int maxWidth);

// A focus frame of dots every third pixel along the edges of rect (its last
// column and row included): black dots on the edges, white dots one pixel up and
// left of each; where the two meet, the black dot stays.
void DrawDottedFrame(TTextCanvas& canvas, const TRect& rect);

}  // namespace korvel
