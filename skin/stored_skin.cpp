#include "skin/stored_skin.h"

#include <array>

namespace korvel {
namespace {

constexpr std::array<const char*, 5> bevelNames = {"cbNone", "cbRaisedSoft", "cbLoweredSoft", "cbRaisedHard",
                                                   "cbLoweredHard"};
constexpr std::array<const char*, 3> imgTypeNames = {"itisaBorder", "itisaTexture", "itisaGlyph"};

// Conversions between a member's type and the value that travels.
template <class T>
struct TValueOf;

template <>
struct TValueOf<std::string> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::String;
    static TsPropertyValue Get(const std::string& v) { return v; }
    static bool Set(std::string& m, const TsPropertyValue& v) {
        auto p = std::get_if<std::string>(&v);
        if (p) m = *p;
        return p != nullptr;
    }
};

template <>
struct TValueOf<std::int32_t> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Integer;
    static TsPropertyValue Get(std::int32_t v) { return v; }
    static bool Set(std::int32_t& m, const TsPropertyValue& v) {
        auto p = std::get_if<std::int32_t>(&v);
        if (p) m = *p;
        return p != nullptr;
    }
};

template <>
struct TValueOf<TColor> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Color;
    static TsPropertyValue Get(TColor v) { return static_cast<std::int32_t>(v); }
    static bool Set(TColor& m, const TsPropertyValue& v) {
        auto p = std::get_if<std::int32_t>(&v);
        if (p) m = static_cast<TColor>(*p);
        return p != nullptr;
    }
};

template <>
struct TValueOf<double> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Float;
    static TsPropertyValue Get(double v) { return v; }
    static bool Set(double& m, const TsPropertyValue& v) {
        if (auto p = std::get_if<double>(&v)) {
            m = *p;
            return true;
        }
        if (auto p = std::get_if<std::int32_t>(&v)) {
            m = *p;
            return true;
        }
        return false;
    }
};

template <>
struct TValueOf<bool> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Boolean;
    static TsPropertyValue Get(bool v) { return v; }
    static bool Set(bool& m, const TsPropertyValue& v) {
        auto p = std::get_if<bool>(&v);
        if (p) m = *p;
        return p != nullptr;
    }
};

template <class E, std::size_t N>
struct TEnumValue {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Enumeration;
    static TsPropertyValue Get(E v) { return static_cast<std::int32_t>(v); }
    static bool Set(E& m, const TsPropertyValue& v) {
        auto p = std::get_if<std::int32_t>(&v);
        if (!p || *p < 0 || *p >= static_cast<std::int32_t>(N)) return false;
        m = static_cast<E>(*p);
        return true;
    }
};
template <>
struct TValueOf<TsControlBevel> : TEnumValue<TsControlBevel, bevelNames.size()> {};
template <>
struct TValueOf<TacImgType> : TEnumValue<TacImgType, imgTypeNames.size()> {};

template <>
struct TValueOf<TBitmap24> {
    static constexpr TsPropertyKind Kind = TsPropertyKind::Bitmap;
    static TsPropertyValue Get(const TBitmap24& v) { return &v; }
    static bool Set(TBitmap24& m, const TsPropertyValue& v) {
        auto p = std::get_if<const TBitmap24*>(&v);
        if (!p) return false;
        m = *p ? (*p)->Clone() : TBitmap24();
        return true;
    }
};

template <class C, class T, T C::*Member>
constexpr TsPropertyInfo Field(const char* name, std::span<const char* const> enumNames = {}) {
    return TsPropertyInfo{
        name, TValueOf<T>::Kind, enumNames,
        [](const TsPersistent& o) { return TValueOf<T>::Get(static_cast<const C&>(o).*Member); },
        [](TsPersistent& o, const TsPropertyValue& v) { return TValueOf<T>::Set(static_cast<C&>(o).*Member, v); },
        nullptr};
}

template <class C, TBitmap24 C::*Member>
constexpr TsPropertyInfo Jpeg(const char* name) {
    TsPropertyInfo info = Field<C, TBitmap24, Member>(name);
    info.Kind = TsPropertyKind::JpegImage;
    return info;
}

template <class C, class T, T C::*Member>
constexpr TsPropertyInfo Items(const char* name) {
    return TsPropertyInfo{
        name, TsPropertyKind::Collection, {},
        [](const TsPersistent& o) -> TsPropertyValue { return static_cast<const TsCollection*>(&(static_cast<const C&>(o).*Member)); },
        [](TsPersistent& o, const TsPropertyValue& v) {
            auto p = std::get_if<const TsCollection*>(&v);
            return p && *p && (static_cast<C&>(o).*Member).AssignItems(**p);
        },
        [](TsPersistent& o) -> TsCollection* { return &(static_cast<C&>(o).*Member); }};
}

using G = TsSkinGeneral;
const TsPropertyInfo generalProperties[] = {
    Field<G, std::string, &G::SectionName>("SectionName"),
    Field<G, std::string, &G::ParentClass>("ParentClass"),
    Field<G, TColor, &G::Color>("Color"),
    Field<G, TsControlBevel, &G::Bevel>("Bevel", bevelNames),
    Field<G, std::int32_t, &G::ShadowBlur>("ShadowBlur"),
    Field<G, TColor, &G::ShadowColor>("ShadowColor"),
    Field<G, bool, &G::ShadowDontUse>("ShadowDontUse"),
    Field<G, bool, &G::ShadowEnabled>("ShadowEnabled"),
    Field<G, bool, &G::ReservedBoolean>("ReservedBoolean"),
    Field<G, std::int32_t, &G::ShadowOffset>("ShadowOffset"),
    Field<G, std::int32_t, &G::ShadowTransparency>("ShadowTransparency"),
    Field<G, std::string, &G::FontColor>("FontColor"),
    Field<G, std::string, &G::HotFontColor>("HotFontColor"),
    Field<G, std::int32_t, &G::Transparency>("Transparency"),
    Field<G, std::int32_t, &G::GradientPercent>("GradientPercent"),
    Field<G, std::string, &G::GradientData>("GradientData"),
    Field<G, std::int32_t, &G::ImagePercent>("ImagePercent"),
    Field<G, bool, &G::ShowFocus>("ShowFocus"),
    Field<G, bool, &G::FadingEnabled>("FadingEnabled"),
    Field<G, std::int32_t, &G::FadingIntervalIn>("FadingIntervalIn"),
    Field<G, std::int32_t, &G::FadingIntervalOut>("FadingIntervalOut"),
    Field<G, std::int32_t, &G::FadingIterations>("FadingIterations"),
    Field<G, TColor, &G::HotColor>("HotColor"),
    Field<G, std::int32_t, &G::HotTransparency>("HotTransparency"),
    Field<G, TsControlBevel, &G::HotBevel>("HotBevel", bevelNames),
    Field<G, std::int32_t, &G::HotGradientPercent>("HotGradientPercent"),
    Field<G, std::string, &G::HotGradientData>("HotGradientData"),
    Field<G, std::int32_t, &G::HotImagePercent>("HotImagePercent"),
    Field<G, TColor, &G::BorderColor1>("BorderColor1"),
    Field<G, TColor, &G::BorderColor2>("BorderColor2"),
    Field<G, std::string, &G::Name>("Name"),
};

using I = TsSkinImage;
const TsPropertyInfo imageProperties[] = {
    Field<I, std::string, &I::SectionName>("SectionName"),
    Field<I, TBitmap24, &I::Image>("Image"),
    Field<I, std::string, &I::Name>("Name"),
    Field<I, std::string, &I::PropertyName>("PropertyName"),
    Field<I, std::int32_t, &I::Left>("Left"),
    Field<I, std::int32_t, &I::Top>("Top"),
    Field<I, std::int32_t, &I::Right>("Right"),
    Field<I, std::int32_t, &I::Bottom>("Bottom"),
    Field<I, std::int32_t, &I::ImageCount>("ImageCount"),
    Field<I, std::int32_t, &I::MaskType>("MaskType"),
    Field<I, std::int32_t, &I::BorderWidth>("BorderWidth"),
    Field<I, std::int32_t, &I::StretchMode>("StretchMode"),
    Field<I, TacImgType, &I::ImgType>("ImgType", imgTypeNames),
    Field<I, std::int32_t, &I::WL>("WL"),
    Field<I, std::int32_t, &I::WR>("WR"),
    Field<I, std::int32_t, &I::WT>("WT"),
    Field<I, std::int32_t, &I::WB>("WB"),
};

using P = TsSkinPattern;
const TsPropertyInfo patternProperties[] = {
    Field<P, std::string, &P::SectionName>("SectionName"),
    Jpeg<P, &P::Image>("Image"),
    Field<P, std::string, &P::Name>("Name"),
    Field<P, std::string, &P::PropertyName>("PropertyName"),
};

using S = TsStoredSkin;
const TsPropertyInfo storedSkinProperties[] = {
    Field<S, std::string, &S::Name>("Name"),
    Items<S, TsSkinGenerals, &S::GeneralData>("GeneralData"),
    Items<S, TsSkinImages, &S::Images>("Images"),
    Items<S, TsSkinPatterns, &S::Patterns>("Patterns"),
    Field<S, TBitmap24, &S::MasterBitmap>("MasterBitmap"),
    Field<S, TColor, &S::Shadow1Color>("Shadow1Color"),
    Field<S, std::int32_t, &S::Shadow1Offset>("Shadow1Offset"),
    Field<S, std::int32_t, &S::Shadow1Blur>("Shadow1Blur"),
    Field<S, std::int32_t, &S::Shadow1Transparency>("Shadow1Transparency"),
    Field<S, double, &S::Version>("Version"),
    Field<S, std::string, &S::Author>("Author"),
    Field<S, std::string, &S::Description>("Description"),
};

}  // namespace

const TsPropertyInfo* TsPersistent::FindProperty(std::string_view name) const {
    for (const TsPropertyInfo& p : Properties())
        if (name == p.Name) return &p;
    return nullptr;
}

bool TsPersistent::SetProperty(std::string_view name, const TsPropertyValue& value) {
    const TsPropertyInfo* p = FindProperty(name);
    return p && p->Set(*this, value);
}

std::optional<TsPropertyValue> TsPersistent::GetProperty(std::string_view name) const {
    const TsPropertyInfo* p = FindProperty(name);
    if (!p) return std::nullopt;
    return p->Get(*this);
}

bool TsPersistent::Assign(const TsPersistent& source) {
    if (source.Properties().data() != Properties().data()) return false;
    bool ok = true;
    for (const TsPropertyInfo& p : Properties())
        if (&source != this) ok = p.Set(*this, p.Get(source)) && ok;
    return ok;
}

bool TsCollection::AssignItems(const TsCollection& source) {
    if (&source == this) return true;
    Clear();
    bool ok = true;
    for (int i = 0; i < source.Count(); ++i) ok = Add().Assign(source.Item(i)) && ok;
    return ok;
}

TsPropertyTable TsSkinGeneral::Properties() const { return generalProperties; }
TsPropertyTable TsSkinImage::Properties() const { return imageProperties; }
TsPropertyTable TsSkinPattern::Properties() const { return patternProperties; }
TsPropertyTable TsStoredSkin::Properties() const { return storedSkinProperties; }

}  // namespace korvel
