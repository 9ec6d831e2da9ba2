#pragma once
// Test support shared by the software and GDI caption tests: a BUTTON and a
// WEBBUTTON section whose normal and hot font colours (text and four contour
// sides) are all different, so every pass of the caption drawing shows.
#include "skin/skin_data.h"

namespace korvel::testing {

struct TColours {
    TColor Text, Left, Top, Right, Bottom;
};
constexpr TColours kNormal{0x000000C0, 0x0000C000, 0x00C00000, 0x0000C0C0, 0x00C000C0};
constexpr TColours kHot{0x00000040, 0x00004000, 0x00400000, 0x00004040, 0x00400040};

inline TsFontColor FontColours(const TColours& c) {
    return {std::int32_t(c.Text), std::int32_t(c.Left), std::int32_t(c.Top), std::int32_t(c.Right),
            std::int32_t(c.Bottom)};
}

inline TsSkinTables Sections() {
    TsSkinTables t;
    for (const char* name : {"BUTTON", "WEBBUTTON"}) {
        TsGeneralData s;
        s.SectionName = name;
        s.FontColor = FontColours(kNormal);
        s.HotFontColor = FontColours(kHot);
        t.Sections.push_back(s);
    }
    return t;
}

}  // namespace korvel::testing
