#include "skin/skin_data.h"

#include "gui/system_colors.h"

namespace korvel {
namespace {

// Parent chains are followed at most this far, so a chain that loops through
// two or more sections ends instead of recursing without bound.
constexpr int MaxParentSteps = 64;

template <class Array, class Match>
int FirstIndex(const Array& array, Match match) {
    for (std::size_t i = 0; i < array.size(); ++i)
        if (match(array[i])) return static_cast<int>(i);
    return -1;
}

// The search shared by the mask, pattern and texture lookups: the section's
// own entry, else its parent's, and so on up the chain.
template <class Array, class Match>
int InheritedIndexOf(const TsSkinTables& tables, const Array& array, int sectionIndex, std::string_view sectionName,
                     std::string_view propertyName, Match extra) {
    for (int step = 0; step < MaxParentSteps; ++step) {
        if (sectionIndex < 0 || sectionName.empty()) return -1;
        const int found = FirstIndex(array, [&](const auto& e) {
            return e.SectionName == sectionName && e.PropertyName == propertyName && extra(e);
        });
        if (found >= 0) return found;
        if (!tables.IsValidSectionIndex(sectionIndex)) return -1;
        const std::string& parent = tables.Sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
        if (parent.empty() || parent == sectionName) return -1;
        sectionName = parent;
        sectionIndex = tables.SectionIndexOf(parent);
    }
    return -1;
}

std::int16_t Index16(int index) { return static_cast<std::int16_t>(index < 0 || index > INT16_MAX ? -1 : index); }

}  // namespace

const std::array<const char*, 4> TabSectionNames = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
const std::array<const char*, 4> ScrollButtonSectionNames = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT",
                                                             "SCROLLBTNRIGHT"};
const std::array<const char*, 2> ScrollSliderSectionNames = {"SCROLLSLIDERV", "SCROLLSLIDERH"};
const std::array<const char*, 4> ScrollBarSectionNames = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};

void TsSkinTables::ClearMasks() {
    Masks.clear();
    MasterBitmap = TBitmap24();
}

void TsSkinTables::ClearPatterns() { Patterns.clear(); }

void TsSkinTables::ClearSections() { Sections.clear(); }

void TsSkinTables::Clear() {
    ClearMasks();
    ClearPatterns();
    ClearSections();
}

int TsSkinTables::SectionIndexOf(std::string_view sectionName) const {
    return FirstIndex(Sections, [&](const TsGeneralData& s) { return s.SectionName == sectionName; });
}

int TsSkinTables::MaskIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    return InheritedIndexOf(*this, Masks, sectionIndex, sectionName, propertyName, [](const TsMaskData&) { return true; });
}

int TsSkinTables::PatternIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    if (Patterns.empty()) return -1;
    return InheritedIndexOf(*this, Patterns, sectionIndex, sectionName, propertyName,
                            [](const TsPatternData&) { return true; });
}

int TsSkinTables::TextureIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const {
    if (Masks.empty()) return -1;
    return InheritedIndexOf(*this, Masks, sectionIndex, sectionName, propertyName,
                            [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
}

int TsSkinTables::OwnMaskIndexOf(std::string_view sectionName, std::string_view propertyName) const {
    if (sectionName.empty()) return -1;
    return FirstIndex(Masks, [&](const TsMaskData& m) {
        return m.SectionName == sectionName && m.PropertyName == propertyName;
    });
}

TColor TsSkinTables::GlobalColor() const {
    const int index = SectionIndexOf("GLOBALINFO");
    if (index < 0) return ColorToRgb(clBtnFace);
    return ColorToRgb(Sections[static_cast<std::size_t>(index)].Color);
}

TColor TsSkinTables::GlobalFontColor() const {
    const int index = SectionIndexOf("GLOBALINFO");
    if (index < 0) return clNone;
    return ColorToRgb(static_cast<TColor>(Sections[static_cast<std::size_t>(index)].FontColor[fcText]));
}

void TsSkinTables::ComputeCachedIndexes() {
    TsCachedIndexes c;
    c.GlobalInfo = Index16(SectionIndexOf("GLOBALINFO"));
    if (c.GlobalInfo >= 0) {
        auto mask = [&](const char* property) { return Index16(MaskIndexOf(c.GlobalInfo, "GLOBALINFO", property)); };
        c.BoxChecked = mask("BOXCHECKED");
        c.BoxUnchecked = mask("BOXUNCHECKED");
        c.BoxGrayed = mask("BOXGRAYED");
        c.RadioChecked = mask("RADIOCHECKED");
        c.RadioUnchecked = mask("RADIOUNCHECKED");
        c.RadioGrayed = mask("RADIOGRAYED");
        c.SmallChecked = mask("SMALLCHECKED");
        c.SmallUnchecked = mask("SMALLUNCHECKED");
        c.SmallGrayed = mask("SMALLGRAYED");
    }
    for (std::size_t i = 0; i < TabSectionNames.size(); ++i) {
        const char* name = TabSectionNames[i];
        c.Tabs[i].SkinIndex = Index16(SectionIndexOf(name));
        c.Tabs[i].BordersMask = Index16(MaskIndexOf(c.Tabs[i].SkinIndex, name, "BORDERSMASK"));
    }
    auto scrollPart = [&](const char* name, bool withGlyph) {
        TsScrollPartIndexes p;
        p.SkinIndex = Index16(SectionIndexOf(name));
        p.BordersMask = Index16(MaskIndexOf(p.SkinIndex, name, "BORDERSMASK"));
        if (withGlyph && p.SkinIndex >= 0) p.GlyphMask = Index16(MaskIndexOf(p.SkinIndex, name, "GLYPHMASK"));
        // Textures converted to masks, so the mask table is searched.
        p.Pattern = Index16(MaskIndexOf(p.SkinIndex, name, "PATTERN"));
        p.HotPattern = Index16(MaskIndexOf(p.SkinIndex, name, "HOTPATTERN"));
        return p;
    };
    for (std::size_t i = 0; i < ScrollButtonSectionNames.size(); ++i)
        c.ScrollButtons[i] = scrollPart(ScrollButtonSectionNames[i], true);
    for (std::size_t i = 0; i < ScrollSliderSectionNames.size(); ++i)
        c.ScrollSliders[i] = scrollPart(ScrollSliderSectionNames[i], true);
    for (std::size_t i = 0; i < ScrollBarSectionNames.size(); ++i)
        c.ScrollBars[i] = scrollPart(ScrollBarSectionNames[i], false);
    CachedIndexes = c;
}

int SectionIndexOf(const TsSkinTables* t, std::string_view s) { return t ? t->SectionIndexOf(s) : -1; }
int MaskIndexOf(const TsSkinTables* t, int i, std::string_view s, std::string_view p) {
    return t ? t->MaskIndexOf(i, s, p) : -1;
}
int PatternIndexOf(const TsSkinTables* t, int i, std::string_view s, std::string_view p) {
    return t ? t->PatternIndexOf(i, s, p) : -1;
}
int TextureIndexOf(const TsSkinTables* t, int i, std::string_view s, std::string_view p) {
    return t ? t->TextureIndexOf(i, s, p) : -1;
}
int OwnMaskIndexOf(const TsSkinTables* t, std::string_view s, std::string_view p) {
    return t ? t->OwnMaskIndexOf(s, p) : -1;
}
bool IsValidSectionIndex(const TsSkinTables* t, int i) { return t && t->IsValidSectionIndex(i); }
bool IsValidMaskIndex(const TsSkinTables* t, int i) { return t && t->IsValidMaskIndex(i); }
TColor GlobalColor(const TsSkinTables* t) { return t ? t->GlobalColor() : ColorToRgb(clBtnFace); }
TColor GlobalFontColor(const TsSkinTables* t) { return t ? t->GlobalFontColor() : clNone; }

}  // namespace korvel
