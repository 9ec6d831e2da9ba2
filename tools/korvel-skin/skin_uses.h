#pragma once
// What the launcher and the gallery ask of a skin: the sections their windows
// and controls look up, with what a user sees when a skin lacks one, and the
// places where they write text on a section, for the contrast check.
#include <span>

namespace korvel {

struct TUsedSection {
    const char* Name;       // as looked up: upper case, compared exactly
    const char* UsedBy;     // what the launcher or the gallery paints with it
    const char* Instead;    // what is drawn when the skin has no such section
};

// Every section the launcher and the gallery look up, in the order a window is built.
std::span<const TUsedSection> UsedSections();

// One place where text is written on a skinned surface.
struct TTextSurface {
    const char* What;
    const char* FontSection;    // whose FONTCOLOR (HOTFONTCOLOR when Hot) the text takes
    const char* Section;        // the surface the text is written on
    bool Hot;
    const char* Under;          // what that surface lies on ("" none), in the state of UnderHot
    bool UnderHot;
};

std::span<const TTextSurface> TextSurfaces();

}  // namespace korvel
