#pragma once
// The stored form of skins, as the main window's definition carries them:
// TsStoredSkins (the manager's InternalSkins) of TsStoredSkin, each with its
// sections (TsSkinGenerals), masks (TsSkinImages) and patterns (TsSkinPatterns).
//
// Every class offers a property table (name, kind, getter, setter, in published
// order) so a reader of stored definitions can assign properties by name
// without knowing the class. Setters store the value and do nothing else;
// collection-valued ones copy the given collection item by item, picture-valued
// ones copy the picture. Pictures are given decoded (DecodeBmp, DecodeJpeg).
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "gui/bitmap24.h"
#include "gui/colors.h"
#include "skin/skin_data.h"

namespace korvel {

class TsCollection;
class TsPersistent;
class TsStoredSkin;

enum class TsPropertyKind { String, Integer, Float, Boolean, Color, Enumeration, Bitmap, JpegImage, Collection };

// Integer, Color and Enumeration values travel as int32 (a colour as its bit
// pattern); Bitmap and JpegImage as a picture to copy (null for none);
// Collection as a collection to copy item by item.
using TsPropertyValue = std::variant<std::string, std::int32_t, double, bool, const TBitmap24*, const TsCollection*>;

struct TsPropertyInfo {
    const char* Name;
    TsPropertyKind Kind;
    std::span<const char* const> EnumNames;             // Enumeration only, in ordinal order
    TsPropertyValue (*Get)(const TsPersistent&);
    bool (*Set)(TsPersistent&, const TsPropertyValue&);  // false: wrong value type or out of range
    TsCollection* (*Items)(TsPersistent&);               // Collection only: the collection to fill
};

using TsPropertyTable = std::span<const TsPropertyInfo>;

class TsPersistent {
public:
    virtual ~TsPersistent() = default;
    virtual TsPropertyTable Properties() const = 0;

    const TsPropertyInfo* FindProperty(std::string_view name) const;
    // False when the class has no such property or the value does not fit it.
    bool SetProperty(std::string_view name, const TsPropertyValue& value);
    std::optional<TsPropertyValue> GetProperty(std::string_view name) const;
    // Copies every property of a persistent of the same class, in published order.
    bool Assign(const TsPersistent& source);
};

// An ordered collection that owns its items.
class TsCollection : public TsPersistent {
public:
    TsPropertyTable Properties() const override { return {}; }
    virtual int Count() const = 0;
    virtual TsPersistent& Add() = 0;
    virtual TsPersistent& Item(int index) = 0;
    virtual const TsPersistent& Item(int index) const = 0;
    virtual void Clear() = 0;
    // Replaces the items by copies of the source's items.
    bool AssignItems(const TsCollection& source);
};

template <class TItem, class TOwner>
class TsOwnedCollection : public TsCollection {
public:
    explicit TsOwnedCollection(TOwner* owner) : owner_(owner) {}
    TsOwnedCollection(const TsOwnedCollection&) = delete;
    TsOwnedCollection& operator=(const TsOwnedCollection&) = delete;

    TOwner* Owner() const { return owner_; }
    int Count() const override { return static_cast<int>(items_.size()); }
    TItem& Add() override { return *items_.emplace_back(std::make_unique<TItem>()); }
    TItem& Item(int index) override { return *items_.at(static_cast<std::size_t>(index)); }
    const TItem& Item(int index) const override { return *items_.at(static_cast<std::size_t>(index)); }
    TItem& operator[](int index) { return Item(index); }
    const TItem& operator[](int index) const { return Item(index); }
    void Clear() override { items_.clear(); }

private:
    TOwner* owner_;
    std::vector<std::unique_ptr<TItem>> items_;
};

// One section.
class TsSkinGeneral : public TsPersistent {
public:
    std::string SectionName;
    std::string ParentClass;
    TColor Color = 0;
    TsControlBevel Bevel = cbNone;
    std::int32_t ShadowBlur = 0;
    TColor ShadowColor = 0;
    bool ShadowDontUse = false;
    bool ShadowEnabled = false;
    bool ReservedBoolean = false;
    std::int32_t ShadowOffset = 0;
    std::int32_t ShadowTransparency = 0;
    std::string FontColor;           // five integers separated by single spaces
    std::string HotFontColor;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::string GradientData;
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
    std::int32_t HotImagePercent = 0;
    TColor BorderColor1 = 0;
    TColor BorderColor2 = 0;
    std::string Name;

    TsPropertyTable Properties() const override;
};

// One mask.
class TsSkinImage : public TsPersistent {
public:
    std::string SectionName;
    TBitmap24 Image;                 // a picture of its own, used only when Name is not empty
    std::string Name;                // file the picture came from
    std::string PropertyName;
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::int32_t ImageCount = 0;
    std::int32_t MaskType = 0;
    std::int32_t BorderWidth = 0;
    std::int32_t StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    std::int32_t WL = 0, WR = 0, WT = 0, WB = 0;

    TsPropertyTable Properties() const override;
};

// One JPEG pattern, held decoded.
class TsSkinPattern : public TsPersistent {
public:
    std::string SectionName;
    TBitmap24 Image;
    std::string Name;
    std::string PropertyName;

    TsPropertyTable Properties() const override;
};

using TsSkinGenerals = TsOwnedCollection<TsSkinGeneral, TsStoredSkin>;

// Copies the values a stored section and a loaded section hold in the same form,
// either way (TsSkinGeneral <-> TsGeneralData). The font colours (text against
// five colours), the parsed gradients and ShadowDontUse differ and are the
// caller's.
template <class To, class From>
void CopyCommonSectionValues(To& to, const From& from) {
    to.SectionName = from.SectionName;
    to.ParentClass = from.ParentClass;
    to.Color = from.Color;
    to.Bevel = from.Bevel;
    to.ShadowBlur = from.ShadowBlur;
    to.ShadowColor = from.ShadowColor;
    to.ShadowEnabled = from.ShadowEnabled;
    to.ReservedBoolean = from.ReservedBoolean;
    to.ShadowOffset = from.ShadowOffset;
    to.ShadowTransparency = from.ShadowTransparency;
    to.Transparency = from.Transparency;
    to.GradientPercent = from.GradientPercent;
    to.GradientData = from.GradientData;
    to.ImagePercent = from.ImagePercent;
    to.ShowFocus = from.ShowFocus;
    to.FadingEnabled = from.FadingEnabled;
    to.FadingIntervalIn = from.FadingIntervalIn;
    to.FadingIntervalOut = from.FadingIntervalOut;
    to.FadingIterations = from.FadingIterations;
    to.HotColor = from.HotColor;
    to.HotTransparency = from.HotTransparency;
    to.HotBevel = from.HotBevel;
    to.HotGradientPercent = from.HotGradientPercent;
    to.HotGradientData = from.HotGradientData;
    to.HotImagePercent = from.HotImagePercent;
    to.BorderColor1 = from.BorderColor1;
    to.BorderColor2 = from.BorderColor2;
}
using TsSkinImages = TsOwnedCollection<TsSkinImage, TsStoredSkin>;
using TsSkinPatterns = TsOwnedCollection<TsSkinPattern, TsStoredSkin>;

class TsStoredSkin : public TsPersistent {
public:
    TsStoredSkin() = default;
    TsStoredSkin(const TsStoredSkin&) = delete;
    TsStoredSkin& operator=(const TsStoredSkin&) = delete;

    std::string Name;
    TsSkinGenerals GeneralData{this};
    TsSkinImages Images{this};
    TsSkinPatterns Patterns{this};
    TBitmap24 MasterBitmap;
    TColor Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    double Version = 0;
    std::string Author;
    std::string Description;

    TsPropertyTable Properties() const override;
};

// The manager's InternalSkins; keeps a reference to its manager.
using TsStoredSkins = TsOwnedCollection<TsStoredSkin, TsSkinManager>;

}  // namespace korvel
