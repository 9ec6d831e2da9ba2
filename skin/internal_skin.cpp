// The internal skin from its options text and master bitmap, and the text form
// of a stored skin.
#include "skin/internal_skin.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "skin/ini_file.h"
#include "skin/mask_forms.h"
#include "skin/picture_decode.h"
#include "skin/section_keys.h"
#include "gui/text_convert.h"

namespace korvel {
namespace {

// GLOBALINFO keys that describe the skin as a whole rather than a section.
constexpr std::array<std::string_view, 9> skinWideKeys = {
    "NAME", "VERSION", "AUTHOR", "DESCRIPTION", "SHADOW1COLOR", "SHADOW1OFFSET", "SHADOW1BLUR",
    "SHADOW1TRANSPARENCY", "MASTERBITMAP"};

// The stored collection lists the masks section by section: first the sections
// that own more than a frame, in this order, then every other section in file
// order. Within a section the masks keep file order.
constexpr std::array<std::string_view, 12> leadingMaskSections = {
    "GLOBALINFO", "PANEL", "FORM", "TRACKBAR", "ALPHACOMBOBOX", "COMBOBOX", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT",
    "SCROLLBTNRIGHT", "SCROLLBTNTOP", "SCROLLSLIDERH", "SCROLLSLIDERV"};

// Position of the master bitmap's own entry among GLOBALINFO's masks.
constexpr int masterMaskPosition = 3;

[[noreturn]] void Fail(std::string_view section, std::string_view key, std::string_view value,
                       std::string_view problem) {
    std::string where = "[" + std::string(section) + "]";
    if (!key.empty()) where += " " + std::string(key) + "=" + std::string(value);
    throw EInternalSkinError("internal skin: " + where + ": " + std::string(problem));
}

bool IsSkinWideKey(std::string_view key) {
    return std::any_of(skinWideKeys.begin(), skinWideKeys.end(), [&](std::string_view k) { return SameText(k, key); });
}

const TsSectionKey* FindSectionKey(std::string_view key) {
    for (const TsSectionKey& k : SectionKeys())
        if (SameText(k.Key, key)) return &k;
    return nullptr;
}

// A section key's value must read as its kind; the folder reader would take a
// misspelt value as missing and use the default without a word.
void CheckSectionKey(const TsSectionKey& k, const std::string& section, const TsIniFile::Key& key) {
    switch (k.Kind) {
    case TsKeyKind::Integer:
        if (!TryStrToInt(key.Value)) Fail(section, key.Name, key.Value, "not an integer");
        break;
    case TsKeyKind::Boolean:
        if (!SameText(key.Value, "TRUE") && !SameText(key.Value, "FALSE"))
            Fail(section, key.Name, key.Value, "neither TRUE nor FALSE");
        break;
    case TsKeyKind::Text:
        break;
    }
}

std::string FontColorText(const TsFontColor& c) {
    std::string text;
    for (std::size_t i = 0; i < c.size(); ++i) text += (i ? " " : "") + std::to_string(c[i]);
    return text;
}

void StoreSection(TsSkinGeneral& g, const TsGeneralData& d) {
    CopyCommonSectionValues(g, d);
    g.ShadowDontUse = false;
    g.FontColor = FontColorText(d.FontColor);
    g.HotFontColor = FontColorText(d.HotFontColor);
}

void StoreMask(TsStoredSkin& skin, const std::string& section, const TsIniFile::Key& key, TsMaskForm form) {
    TsMaskData m;
    try {
        m = DecodeMasterMask(form, key.Value, UpperCase(key.Name));
    } catch (const EConvertError& e) {
        Fail(section, key.Name, key.Value, e.what());
    }
    const TBitmap24& master = skin.MasterBitmap;
    if (m.R.Right <= m.R.Left || m.R.Bottom <= m.R.Top) Fail(section, key.Name, key.Value, "the rectangle is empty");
    if (m.R.Left < 0 || m.R.Top < 0 || m.R.Right > master.Width() || m.R.Bottom > master.Height())
        Fail(section, key.Name, key.Value,
             "the rectangle does not lie inside the " + std::to_string(master.Width()) + " x " +
                 std::to_string(master.Height()) + " master bitmap");
    TsSkinImage& image = skin.Images.Add();
    image.SectionName = section;
    image.PropertyName = key.Name;
    image.Left = m.R.Left;
    image.Top = m.R.Top;
    image.Right = m.R.Right;
    image.Bottom = m.R.Bottom;
    image.ImageCount = m.ImageCount;
    image.MaskType = m.MaskType;
    image.BorderWidth = m.BorderWidth;
    image.StretchMode = m.StretchMode;
    image.ImgType = m.ImgType;
    image.WL = m.WL;
    image.WR = m.WR;
    image.WT = m.WT;
    image.WB = m.WB;
}

void StoreMasterMask(TsStoredSkin& skin) {
    TsSkinImage& image = skin.Images.Add();
    image.SectionName = "GLOBALINFO";
    image.PropertyName = "MASTERBITMAP";
    image.Name = std::string(InternalMasterName);
    image.Image = skin.MasterBitmap.Clone();
}

// The masks of one section in file order; the section keys are checked on the way.
void StoreSectionMasks(TsStoredSkin& skin, const TsIniFile::Section& section) {
    const bool global = SameText(section.Name, "GLOBALINFO");
    int masks = 0;
    for (const TsIniFile::Key& key : section.Keys) {
        if (global && masks == masterMaskPosition) StoreMasterMask(skin), ++masks;
        if ((global && IsSkinWideKey(key.Name)) || SameText(key.Name, "PARENTCLASS")) continue;
        if (const TsSectionKey* k = FindSectionKey(key.Name)) {
            CheckSectionKey(*k, section.Name, key);
            continue;
        }
        const TsMaskForm form = MaskFormOf(key.Value);
        switch (form) {
        case TsMaskForm::Glyph:
        case TsMaskForm::Border:
        case TsMaskForm::Texture:
        case TsMaskForm::RectangleList:
            StoreMask(skin, section.Name, key, form);
            ++masks;
            break;
        case TsMaskForm::Picture:
        case TsMaskForm::PictureWithCounts:
            Fail(section.Name, key.Name, key.Value, "the internal skin keeps its masks on the master bitmap");
        case TsMaskForm::None:
            Fail(section.Name, key.Name, key.Value, "neither a section key nor a mask");
        }
    }
    if (global && masks <= masterMaskPosition) StoreMasterMask(skin);
}

std::int32_t SkinWideInteger(const TsIniFile& ini, std::string_view key, std::string_view fallback) {
    const std::string value = ini.ReadString("GLOBALINFO", key, fallback);
    const auto v = TryStrToInt(value);
    if (!v) Fail("GLOBALINFO", key, value, "not an integer");
    return *v;
}

void ResetSkin(TsStoredSkin& skin) {
    skin.Name.clear();
    skin.GeneralData.Clear();
    skin.Images.Clear();
    skin.Patterns.Clear();
    skin.MasterBitmap = TBitmap24();
    skin.Shadow1Color = 0;
    skin.Shadow1Offset = 0;
    skin.Shadow1Blur = -1;
    skin.Shadow1Transparency = 0;
    skin.Version = 0;
    skin.Author.clear();
    skin.Description.clear();
}

// ---- the text form ---------------------------------------------------------

std::string Quoted(std::string_view text) {
    std::string out;
    bool open = false;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F) {
            if (open) out += '\'', open = false;
            out += '#' + std::to_string(c);
            continue;
        }
        if (!open) out += '\'', open = true;
        out += ch;
        if (ch == '\'') out += '\'';
    }
    if (open) out += '\'';
    return out.empty() ? "''" : out;
}

void WriteObject(std::ostream& out, const TsPersistent& object, const TsPictureNamer& pictureName,
                 const std::string& indent) {
    for (const TsPropertyInfo& p : object.Properties()) {
        const TsPropertyValue v = p.Get(object);
        switch (p.Kind) {
        case TsPropertyKind::String:
            out << indent << p.Name << " = " << Quoted(std::get<std::string>(v)) << '\n';
            break;
        case TsPropertyKind::Integer:
        case TsPropertyKind::Color:
            out << indent << p.Name << " = " << std::get<std::int32_t>(v) << '\n';
            break;
        case TsPropertyKind::Enumeration: {
            const auto n = static_cast<std::size_t>(std::get<std::int32_t>(v));
            out << indent << p.Name << " = " << (n < p.EnumNames.size() ? p.EnumNames[n] : "?") << '\n';
            break;
        }
        case TsPropertyKind::Float:
            out << indent << p.Name << " = " << FloatToStr(std::get<double>(v)) << '\n';
            break;
        case TsPropertyKind::Boolean:
            out << indent << p.Name << " = " << (std::get<bool>(v) ? "True" : "False") << '\n';
            break;
        case TsPropertyKind::Bitmap:
        case TsPropertyKind::JpegImage: {
            const TBitmap24* picture = std::get<const TBitmap24*>(v);
            if (!picture || picture->Empty() || !pictureName) break;
            const std::string name = pictureName(object, *picture);
            if (!name.empty()) out << indent << p.Name << " = resource " << Quoted(name) << '\n';
            break;
        }
        case TsPropertyKind::Collection: {
            const TsCollection& items = *std::get<const TsCollection*>(v);
            out << indent << p.Name << " = <\n";
            for (int i = 0; i < items.Count(); ++i) {
                out << indent << "  item\n";
                WriteObject(out, items.Item(i), pictureName, indent + "    ");
                out << indent << "  end\n";
            }
            out << indent << ">\n";
            break;
        }
        }
    }
}

}  // namespace

void BuildInternalSkin(TsStoredSkin& skin, std::string_view options, const TBitmap24& master) {
    ResetSkin(skin);
    const TsIniFile ini(options);
    if (!ini.SectionExists("GLOBALINFO")) Fail("GLOBALINFO", "", "", "the section is missing");
    skin.Name = ini.ReadString("GLOBALINFO", "NAME", "");
    if (skin.Name.empty()) Fail("GLOBALINFO", "NAME", "", "the stored skin needs a name");
    const std::string version = ini.ReadString("GLOBALINFO", "VERSION", "0");
    const auto v = TryStrToFloat(version);
    if (!v) Fail("GLOBALINFO", "VERSION", version, "not a number");
    skin.Version = *v;
    skin.Author = ini.ReadString("GLOBALINFO", "AUTHOR", "");
    skin.Description = ini.ReadString("GLOBALINFO", "DESCRIPTION", "");
    skin.Shadow1Color = static_cast<TColor>(SkinWideInteger(ini, "SHADOW1COLOR", "0"));
    skin.Shadow1Offset = SkinWideInteger(ini, "SHADOW1OFFSET", "0");
    skin.Shadow1Blur = SkinWideInteger(ini, "SHADOW1BLUR", "-1");
    skin.Shadow1Transparency = SkinWideInteger(ini, "SHADOW1TRANSPARENCY", "0");
    if (master.Empty()) Fail("GLOBALINFO", "MASTERBITMAP", "", "the master bitmap is empty");
    skin.MasterBitmap = master.Clone();

    for (const TsIniFile::Section& section : ini.Sections())
        StoreSection(skin.GeneralData.Add(), ReadFolderSection(ini, section.Name));

    for (std::string_view name : leadingMaskSections)
        if (const TsIniFile::Section* section = ini.FindSection(name)) StoreSectionMasks(skin, *section);
    for (const TsIniFile::Section& section : ini.Sections()) {
        const bool leading = std::any_of(leadingMaskSections.begin(), leadingMaskSections.end(),
                                         [&](std::string_view n) { return SameText(n, section.Name); });
        if (!leading) StoreSectionMasks(skin, section);
    }
}

void BuildInternalSkin(TsStoredSkin& skin, std::string_view options, std::span<const std::uint8_t> masterFile) {
    TsDecodedPicture master = DecodeBmp(masterFile);
    if (!master.Ok()) Fail("GLOBALINFO", "MASTERBITMAP", "", "the master bitmap cannot be decoded: " + master.Error);
    BuildInternalSkin(skin, options, master.Bitmap);
}

std::string WriteStoredSkin(const TsStoredSkin& skin, const TsPictureNamer& pictureName, std::string_view indent) {
    std::ostringstream out;
    WriteObject(out, skin, pictureName, std::string(indent));
    return out.str();
}

}  // namespace korvel
