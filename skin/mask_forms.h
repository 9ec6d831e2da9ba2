#pragma once
// The forms a mask value takes in a skin folder's Options.dat, and their
// decoding into mask entries. Numbers that must be integers and are not end
// the load with EConvertError.
#include <string>
#include <string_view>

#include "skin/skin_data.h"

namespace korvel {

enum class TsMaskForm {
    None,               // empty, just "#", or of another shape
    PictureWithCounts,  // "!FILE.BMP!count!masktype!imgtype"
    Glyph,              // "@" fixed columns on the master bitmap
    Border,             // "^" fixed columns on the master bitmap
    Texture,            // "~" fixed columns on the master bitmap
    Picture,            // no "#": a ".BMP" file of its own
    RectangleList,      // "... (left,top,right,bottom) (count,masktype[,borderwidth[,stretchmode]])" with a "#"
};

TsMaskForm MaskFormOf(std::string_view value);

// The "!" form's words.
struct TsPictureWithCounts {
    std::string FileName;   // empty when the first word does not contain ".BMP"
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;
    TacImgType ImgType = itisaBorder;
};
TsPictureWithCounts DecodePictureWithCounts(std::string_view value);

// An entry on the master bitmap from the "@", "^", "~" or rectangle-list form;
// names are left to the caller. propertyName decides the rectangle list's
// texture rule (PATTERN and HOTPATTERN).
TsMaskData DecodeMasterMask(TsMaskForm form, std::string_view value, std::string_view propertyName);

}  // namespace korvel
