#pragma once
// Pictures of a loaded skin for skin authors: one section at a given size and
// state, and a preview sheet of every section the program's controls paint,
// in each of its states, followed by every image of every mask.
#include <ostream>
#include <string>
#include <vector>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "skin/skin_data.h"

namespace korvel {

// Largest side render and the sheet tiles accept.
constexpr int MaxRenderSide = 4096;
constexpr int StateCount = 3;   // normal, hot, pressed

// The section painted over a plain parent of the skin's global colour, centre
// filled, at width x height in state: what PaintSection makes of it.
// sectionIndex must be valid; sizes 1 to MaxRenderSide.
TBitmap24 RenderSection(const TsSkinTables& tables, int sectionIndex, int width, int height, int state);

// One section of the sheet: its name, its tile size and the glyph mask that
// the control draws over it (null for none), centred or at the right end.
struct TPreviewSection {
    const char* Name;
    int Width;
    int Height;
    const char* Glyph = nullptr;
    bool GlyphAtRight = false;
};
// Every section the sheet shows, in sheet order.
const std::vector<TPreviewSection>& PreviewSections();

struct TPreviewTile {
    std::string Name;           // "BUTTON", or "mask FORM.BICONCLOSE, GLOBALINFO.BICONCLOSE" for
                                // the masks that cut the same picture the same way
    int State = 0;              // -1: a picture without states (textures, the master bitmap)
    TRect Bounds;               // on the sheet, before scaling
};

struct TPreviewSheet {
    TBitmap24 Bitmap;
    std::vector<TPreviewTile> Tiles;
    std::vector<std::string> Missing;       // sheet sections this skin does not have
    std::vector<std::string> Undrawable;    // masks whose image cannot be cut ("SECTION.PROPERTY, ...")
};

TPreviewSheet MakePreviewSheet(const TsSkinTables& tables);

// The page beside the sheet: the picture with a map naming each tile, and a
// table of tiles with their place on the picture (scaled by scale).
void WritePreviewHtml(std::ostream& out, const TPreviewSheet& sheet, const std::string& skinName,
                      const std::string& pictureFile, int scale);

}  // namespace korvel
