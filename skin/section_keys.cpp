#include "skin/section_keys.h"

#include <optional>
#include <vector>

#include "gui/system_colors.h"
#include "gui/text_convert.h"

namespace korvel {
namespace {

bool IsTrue(std::string_view v) { return SameText(v, "TRUE"); }

std::int32_t Int(std::string_view v) { return TryStrToInt(v).value_or(0); }

TsControlBevel BevelOf(std::int32_t v) {
    // Values outside 0..4 are not bevels; they would index past the bevel kinds.
    return v >= cbNone && v <= cbLoweredHard ? static_cast<TsControlBevel>(v) : cbNone;
}

void StoreGradient(std::string& text, TsGradArray& array, std::string_view value) {
    text = std::string(value);
    array = value == " " ? TsGradArray() : ParseGradientData(value);
}

#define KORVEL_INT_KEY(key, inherits, def, field, convert)                                                   \
    TsSectionKey {                                                                                           \
        key, TsKeyKind::Integer, inherits, def,                                                             \
            [](TsGeneralData& d, std::string_view v) { d.field = convert(Int(v)); },                         \
            [](TsGeneralData& d, const TsGeneralData& p) { d.field = p.field; }                              \
    }
#define KORVEL_BOOL_KEY(key, field)                                                                          \
    TsSectionKey {                                                                                           \
        key, TsKeyKind::Boolean, true, "FALSE", [](TsGeneralData& d, std::string_view v) { d.field = IsTrue(v); }, \
            [](TsGeneralData& d, const TsGeneralData& p) { d.field = p.field; }                              \
    }
#define KORVEL_GRADIENT_KEY(key, def, text, array)                                                           \
    TsSectionKey {                                                                                           \
        key, TsKeyKind::Text, true, def,                                                                     \
            [](TsGeneralData& d, std::string_view v) { StoreGradient(d.text, d.array, v); },                 \
            [](TsGeneralData& d, const TsGeneralData& p) {                                                   \
                d.text = p.text;                                                                             \
                d.array = p.array;                                                                           \
            }                                                                                                \
    }

constexpr std::int32_t AsIs(std::int32_t v) { return v; }
constexpr TColor AsColor(std::int32_t v) { return static_cast<TColor>(v); }

const TsSectionKey keys[] = {
    KORVEL_INT_KEY("COLOR", true, "16777215", Color, AsColor),
    KORVEL_INT_KEY("BEVEL", true, "0", Bevel, BevelOf),
    KORVEL_INT_KEY("SHADOWBLUR", true, "6", ShadowBlur, AsIs),
    KORVEL_INT_KEY("SHADOWOFFSET", true, "3", ShadowOffset, AsIs),
    KORVEL_INT_KEY("SHADOWCOLOR", false, "0", ShadowColor, AsColor),
    KORVEL_INT_KEY("SHADOWTRANSPARENCY", true, "50", ShadowTransparency, AsIs),
    KORVEL_BOOL_KEY("SHADOWENABLED", ShadowEnabled),
    KORVEL_BOOL_KEY("RESERVEDBOOLEAN", ReservedBoolean),
    KORVEL_INT_KEY("FONTCOLOR", true, "0", FontColor[fcText], AsIs),
    KORVEL_INT_KEY("TCLEFT", true, "-1", FontColor[fcLeft], AsIs),
    KORVEL_INT_KEY("TCTOP", true, "-1", FontColor[fcTop], AsIs),
    KORVEL_INT_KEY("TCRIGHT", true, "-1", FontColor[fcRight], AsIs),
    KORVEL_INT_KEY("TCBOTTOM", true, "-1", FontColor[fcBottom], AsIs),
    KORVEL_INT_KEY("HOTFONTCOLOR", true, "0", HotFontColor[fcText], AsIs),
    KORVEL_INT_KEY("HOTTCLEFT", true, "-1", HotFontColor[fcLeft], AsIs),
    KORVEL_INT_KEY("HOTTCTOP", true, "-1", HotFontColor[fcTop], AsIs),
    KORVEL_INT_KEY("HOTTCRIGHT", true, "-1", HotFontColor[fcRight], AsIs),
    KORVEL_INT_KEY("HOTTCBOTTOM", true, "-1", HotFontColor[fcBottom], AsIs),
    KORVEL_INT_KEY("TRANSPARENCY", true, "0", Transparency, AsIs),
    KORVEL_INT_KEY("GRADIENTPERCENT", true, "0", GradientPercent, AsIs),
    KORVEL_INT_KEY("IMAGEPERCENT", true, "0", ImagePercent, AsIs),
    KORVEL_GRADIENT_KEY("GRADIENTDATA", " ", GradientData, GradientArray),
    KORVEL_BOOL_KEY("SHOWFOCUS", ShowFocus),
    KORVEL_BOOL_KEY("FADINGENABLED", FadingEnabled),
    KORVEL_INT_KEY("FADINGINTERVALIN", true, "5", FadingIntervalIn, AsIs),
    KORVEL_INT_KEY("FADINGINTERVALOUT", true, "5", FadingIntervalOut, AsIs),
    KORVEL_INT_KEY("FADINGITERATIONS", true, "5", FadingIterations, AsIs),
    KORVEL_INT_KEY("HOTCOLOR", true, "16777215", HotColor, AsColor),
    KORVEL_INT_KEY("HOTTRANSPARENCY", true, "0", HotTransparency, AsIs),
    KORVEL_INT_KEY("HOTBEVEL", true, "0", HotBevel, BevelOf),
    KORVEL_INT_KEY("HOTGRADIENTPERCENT", true, "0", HotGradientPercent, AsIs),
    KORVEL_GRADIENT_KEY("HOTGRADIENTDATA", "", HotGradientData, HotGradientArray),
    KORVEL_INT_KEY("HOTIMAGEPERCENT", true, "0", HotImagePercent, AsIs),
    KORVEL_INT_KEY("BORDERCOLOR1", true, "0", BorderColor1, AsColor),
    KORVEL_INT_KEY("BORDERCOLOR2", true, "0", BorderColor2, AsColor),
};

#undef KORVEL_INT_KEY
#undef KORVEL_BOOL_KEY
#undef KORVEL_GRADIENT_KEY

// A value as given in one section: integers must be valid and not -1, texts
// (Booleans included) not "?".
std::optional<std::string> Given(const TsIniFile::Section* section, const TsSectionKey& key) {
    const std::string* v = section ? section->FindUpper(key.Key) : nullptr;
    if (!v) return std::nullopt;
    if (key.Kind == TsKeyKind::Integer) {
        const auto n = TryStrToInt(*v);
        if (!n || *n == -1) return std::nullopt;
    } else if (*v == "?") {
        return std::nullopt;
    }
    return *v;
}

// The section and its PARENTCLASS chain, in the order keys are looked for.
std::vector<const TsIniFile::Section*> ParentChain(const TsIniFile& ini, std::string_view section) {
    std::vector<const TsIniFile::Section*> chain;
    std::string current(section);
    const TsIniFile::Section* s = ini.FindSection(section);
    for (int step = 0; step < MaxParentChain; ++step) {
        chain.push_back(s);
        const std::string* given = s ? s->FindUpper("PARENTCLASS") : nullptr;
        const std::string parent = given ? *given : "?";
        if (parent.empty() || parent == "?" || SameText(parent, current)) break;
        current = parent;
        s = ini.FindSection(parent);
    }
    return chain;
}

}  // namespace

std::span<const TsSectionKey> SectionKeys() { return keys; }

TsGeneralData ReadFolderSection(const TsIniFile& ini, std::string_view section) {
    TsGeneralData d;
    d.SectionName = std::string(section);
    d.ParentClass = ini.ReadString(section, "PARENTCLASS", "");
    const auto chain = ParentChain(ini, section);
    for (const TsSectionKey& key : keys) {
        if (key.Kind == TsKeyKind::Integer && !key.Inherits) {
            // Read as written: -1 is a value here, and an invalid text the default.
            const auto v = ini.Value(section, key.Key);
            key.Store(d, v && TryStrToInt(*v) ? std::string_view(*v) : std::string_view(key.Default));
            continue;
        }
        std::optional<std::string> v;
        for (std::size_t i = 0; i < chain.size() && !v && (i == 0 || key.Inherits); ++i) v = Given(chain[i], key);
        key.Store(d, v ? std::string_view(*v) : std::string_view(key.Default));
    }
    d.Color = ColorToRgb(d.Color);
    return d;
}

TsGeneralData ReadCommonSection(const TsIniFile& ini, std::string_view section, const TsGeneralDataArray& present) {
    TsGeneralData d;
    d.SectionName = std::string(section);
    const std::string parentName = UpperCase(ini.ReadString(section, "PARENTCLASS", "-1"));
    const TsGeneralData* parent = nullptr;
    for (const TsGeneralData& entry : present) {
        if (UpperCase(entry.SectionName) == parentName) {
            parent = &entry;
            break;
        }
    }
    if (parentName != "-1") d.ParentClass = parentName;
    for (const TsSectionKey& key : keys) {
        if (auto v = Given(ini.FindSection(section), key)) key.Store(d, *v);
        else if (parent) key.Inherit(d, *parent);
        else key.Store(d, key.Default);
    }
    return d;
}

}  // namespace korvel
