#pragma once
// Looking at a skin without the program: a simple rendering of its sections
// and masks (background colour, gradient, pattern, transparency, nine-slice
// frames, state glyphs) into pictures for review. It follows the drawing rules
// closely enough to judge the artwork; it is not the program's painter.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/skin-art/image.h"
#include "tools/skin-art/skin_check.h"

namespace korvel::art {

struct TPreviewMask {
    TImage Source;        // colour part, with the see-through half below for mask type 1
    int ImageCount = 1;
    int MaskType = 0;
    int BorderWidth = 0;
    int StretchMode = 0;
};

class TPreviewSkin {
public:
    TPreviewSkin(const std::string& folder, const std::string& optionsFile);

    bool HasSection(const std::string& section) const;
    // A section key with PARENTCLASS inheritance; `fallback` when missing everywhere.
    std::string Key(const std::string& section, const std::string& key, const std::string& fallback) const;
    int IntKey(const std::string& section, const std::string& key, int fallback) const;
    std::optional<TPreviewMask> Mask(const std::string& section, const std::string& property) const;
    std::optional<TImage> Pattern(const std::string& section, const std::string& property) const;

    // Section background and its BORDERSMASK frame over `rect` of `target`, whose
    // pixels are the parent's background.
    void PaintSection(TImage& target, TRect rect, const std::string& section, int state) const;
    void PaintGlyph(TImage& target, int x, int y, const TPreviewMask& mask, int state) const;

private:
    const TIniSection* Find(const std::string& section) const;

    std::vector<TIniSection> sections_;
    std::string folder_;
    TImage master_;
};

void DrawFrame(TImage& target, TRect rect, const TPreviewMask& mask, int state, bool fillCentre, const TImage& parent);
void PaintGradientText(TImage& target, TRect rect, const std::string& data);

// A window with title, caption buttons, a page with buttons in each state, an
// edit, check boxes, radio buttons, a scroll bar and a track bar, followed by
// every section that has a frame, in its three states.
TImage PreviewSheet(const TPreviewSkin& skin);

}  // namespace korvel::art
