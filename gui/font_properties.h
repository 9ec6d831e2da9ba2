#pragma once
// The stored settings of a font that a component carries, under a prefix:
// PREFIX.Name, .Height, .Size, .Color, .Charset and .Style.
#include <functional>
#include <string>

#include "gui/class_registry.h"
#include "gui/graphics.h"

namespace korvel {

template <class T>
void RegisterFontProperties(const std::string& className, const std::string& prefix, TFont& (*font)(T&)) {
    using TFontSetter = void (*)(TFont&, const TValue&);
    const auto prop = [&](const char* field, TFontSetter set) {
        TClassRegistry::Instance().RegisterProperty<T>(
            className, prefix + field, [font, set](T& component, const TValue& v, TReadContext&) { set(font(component), v); });
    };
    prop("Name", [](TFont& f, const TValue& v) { f.SetName(v.AsString()); });
    prop("Height", [](TFont& f, const TValue& v) { f.SetHeight(v.AsInteger()); });
    prop("Size", [](TFont& f, const TValue& v) { f.SetSize(v.AsInteger()); });
    prop("Color", [](TFont& f, const TValue& v) { f.SetColor(v.AsColor()); });
    prop("Charset", [](TFont& f, const TValue& v) { f.SetCharset(v.AsInteger()); });
    prop("Style", [](TFont& f, const TValue& v) {
        f.SetStyle(static_cast<TFontStyles>(
            v.AsSet({{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}})));
    });
}

}  // namespace korvel
