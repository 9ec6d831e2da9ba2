#pragma once
// The run-time form of one loaded skin: the section, mask and pattern tables,
// the master bitmap, the skin information and the cached indexes, and the
// lookups every painting routine uses to find its section and masks.
//
// The skin manager owns one TsSkinTables; only the loader and the manager
// write it. Pictures are owned by the table entries and freed when the tables
// are emptied (Clear*). Lookups compare names exactly (case-sensitive).
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/bitmap24.h"
#include "gui/colors.h"
#include "skin/gradient_data.h"

namespace korvel {

class TsSkinManager;

enum TsControlBevel : std::uint8_t { cbNone, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };
enum TacImgType : std::uint8_t { itisaBorder, itisaTexture, itisaGlyph };

// Text colour, then the outline colours at left, top, right and bottom; -1 is
// "no outline on that side".
using TsFontColor = std::array<std::int32_t, 5>;
enum TsFontColorPart { fcText = 0, fcLeft = 1, fcTop = 2, fcRight = 3, fcBottom = 4 };
constexpr TsFontColor DefaultFontColor = {0, -1, -1, -1, -1};

// One section of the skin.
struct TsGeneralData {
    std::string ParentClass;            // section it inherits from; empty for none
    std::string SectionName;
    TColor Color = 0;                   // RGB
    TsControlBevel Bevel = cbNone;
    TsFontColor FontColor = DefaultFontColor;
    TsFontColor HotFontColor = DefaultFontColor;
    bool ReservedBoolean = false;       // section-specific switch (the scroll bar reads it)
    std::int32_t ShadowBlur = 0;
    TColor ShadowColor = 0;
    bool ShadowEnabled = false;
    std::int32_t ShadowOffset = 0;
    std::int32_t ShadowTransparency = 0;
    std::int32_t Transparency = 0;      // percent: 0 opaque, 100 fully see-through
    std::int32_t GradientPercent = 0;
    std::string GradientData;           // "" or " " for none
    TsGradArray GradientArray;
    std::int32_t ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    std::int32_t FadingIntervalIn = 0;
    std::int32_t FadingIntervalOut = 0;
    std::int32_t FadingIterations = 0;
    TColor HotColor = 0;
    std::int32_t HotTransparency = 0;
    TsControlBevel HotBevel = cbNone;
    std::int32_t HotGradientPercent = 0;
    std::string HotGradientData;
    TsGradArray HotGradientArray;
    std::int32_t HotImagePercent = 0;
    TColor BorderColor1 = 0;
    TColor BorderColor2 = 0;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

struct TsMaskRect {
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TsMaskRect&, const TsMaskRect&) = default;
};

// One mask. Drawing code copies the record whole; a copy shares the picture,
// which the table entry owns.
struct TsMaskData {
    std::shared_ptr<TBitmap24> Bmp;     // a picture of its own; null when the mask lies on the master bitmap
    std::string SectionName;
    std::string PropertyName;           // BORDERSMASK, GLYPHMASK, PATTERN, ...
    TsMaskRect R;                       // on the master bitmap, or (0, 0, width, height) of Bmp
    std::int16_t ImageCount = 0;        // state images side by side (1, or 3: normal, hot, pressed)
    std::int16_t MaskType = 0;          // 1: the lower half is the transparency mask of the upper half
    std::int16_t BorderWidth = 0;
    std::int16_t StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    const TsSkinManager* Manager = nullptr;
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};
using TsMaskArray = std::vector<TsMaskData>;

// One JPEG pattern, decoded.
struct TsPatternData {
    std::shared_ptr<TBitmap24> Img;     // may be empty (an internal pattern without a picture)
    std::string SectionName;
    std::string PropertyName;           // PATTERN or HOTPATTERN
};
using TsPatternArray = std::vector<TsPatternData>;

// What is known of the loaded skin as a whole.
class TsSkinData {
public:
    std::string SkinPath;               // folder with a trailing backslash; empty for an internal skin
    bool Active = false;                // loaded and announced
    double Version = 0;
    std::string Author;
    std::string Description;
    std::int32_t Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = 0;
    std::int32_t Shadow1Transparency = 0;
};

// Indexes of one scrolling part (button, slider or bar); -1 is none.
struct TsScrollPartIndexes {
    std::int16_t SkinIndex = -1;
    std::int16_t BordersMask = -1;
    std::int16_t GlyphMask = -1;        // buttons and sliders only
    std::int16_t Pattern = -1;
    std::int16_t HotPattern = -1;
};

struct TsTabIndexes {
    std::int16_t SkinIndex = -1;
    std::int16_t BordersMask = -1;
};

enum TsTabSide { tsTop, tsBottom, tsLeft, tsRight };          // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
enum TsScrollButton { sbTop, sbBottom, sbLeft, sbRight };     // SCROLLBTNTOP ... SCROLLBTNRIGHT
enum TsScrollSlider { ssVertical, ssHorizontal };             // SCROLLSLIDERV, SCROLLSLIDERH
enum TsScrollTrack { sb1H, sb1V, sb2H, sb2V };                // SCROLLBAR1H ... SCROLLBAR2V

// Computed once after every load so that controls need not search.
struct TsCachedIndexes {
    std::int16_t GlobalInfo = -1;
    std::int16_t BoxChecked = -1, BoxUnchecked = -1, BoxGrayed = -1;
    std::int16_t RadioChecked = -1, RadioUnchecked = -1, RadioGrayed = -1;
    std::int16_t SmallChecked = -1, SmallUnchecked = -1, SmallGrayed = -1;
    std::array<TsTabIndexes, 4> Tabs{};                   // by TsTabSide
    std::array<TsScrollPartIndexes, 4> ScrollButtons{};   // by TsScrollButton
    std::array<TsScrollPartIndexes, 2> ScrollSliders{};   // by TsScrollSlider
    std::array<TsScrollPartIndexes, 4> ScrollBars{};      // by TsScrollTrack; GlyphMask stays -1
};

// The section names behind the cached index arrays, in array order.
extern const std::array<const char*, 4> TabSectionNames;
extern const std::array<const char*, 4> ScrollButtonSectionNames;
extern const std::array<const char*, 2> ScrollSliderSectionNames;
extern const std::array<const char*, 4> ScrollBarSectionNames;

// The loaded skin. Owned by the skin manager.
struct TsSkinTables {
    TsGeneralDataArray Sections;
    TsMaskArray Masks;
    TsPatternArray Patterns;
    TBitmap24 MasterBitmap;             // empty when the skin has none; transparent colour clNone
    TsSkinData SkinData;
    TsCachedIndexes CachedIndexes;

    // Emptying, in the order a load and the manager use: masks (freeing each
    // picture) together with the master bitmap, then patterns, then sections.
    void ClearMasks();
    void ClearPatterns();
    void ClearSections();
    void Clear();                       // all of the above, in that order

    int SectionIndexOf(std::string_view sectionName) const;
    int MaskIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;
    int PatternIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;
    int TextureIndexOf(int sectionIndex, std::string_view sectionName, std::string_view propertyName) const;
    int OwnMaskIndexOf(std::string_view sectionName, std::string_view propertyName) const;
    bool IsValidSectionIndex(int index) const { return index >= 0 && index < static_cast<int>(Sections.size()); }
    bool IsValidMaskIndex(int index) const { return index >= 0 && index < static_cast<int>(Masks.size()); }

    // GLOBALINFO's Color as RGB; the system button-face colour without GLOBALINFO.
    TColor GlobalColor() const;
    // GLOBALINFO's text colour as RGB; clNone without GLOBALINFO.
    TColor GlobalFontColor() const;

    void ComputeCachedIndexes();
};

// Free forms of the lookups: a null table ("no manager") finds nothing.
int SectionIndexOf(const TsSkinTables* tables, std::string_view sectionName);
int MaskIndexOf(const TsSkinTables* tables, int sectionIndex, std::string_view sectionName, std::string_view propertyName);
int PatternIndexOf(const TsSkinTables* tables, int sectionIndex, std::string_view sectionName, std::string_view propertyName);
int TextureIndexOf(const TsSkinTables* tables, int sectionIndex, std::string_view sectionName, std::string_view propertyName);
int OwnMaskIndexOf(const TsSkinTables* tables, std::string_view sectionName, std::string_view propertyName);
bool IsValidSectionIndex(const TsSkinTables* tables, int index);
bool IsValidMaskIndex(const TsSkinTables* tables, int index);
TColor GlobalColor(const TsSkinTables* tables);
TColor GlobalFontColor(const TsSkinTables* tables);

}  // namespace korvel
