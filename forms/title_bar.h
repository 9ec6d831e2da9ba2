#pragma once
// The replacement title icon of a skinned form. The title bar steps themselves
// are members of the provider (forms/title_bar.cpp).
#include <string>

#include "gui/component.h"
#include "gui/graphics.h"

namespace korvel {

class TsTitleIcon : public TPersistent {
public:
    std::string ClassName() const override { return "TsTitleIcon"; }
    void Assign(const TPersistent& source) override;

    TBitmap Glyph;     // drawn stretched; magenta is transparent
    int Height = 0;    // 0: from the caption height
    int Width = 0;     // 0: from the caption height
};

// The icon size class of a caption height: below 9 none, to 16 → 8, to 27 → 16, above → 32.
int IconSizeClass(int captionHeight);

}  // namespace korvel
