#pragma once
// The stored settings of a skinned control's SkinData, registered for any
// control class T whose SkinData() is its TsCommonData.
#include <string>

#include "engine/common_data.h"
#include "engine/skin_manager.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

template <class T>
void RegisterSkinDataProperties(const std::string& className) {
    TClassRegistry& r = TClassRegistry::Instance();
    r.RegisterProperty<T>(className, "SkinData.SkinSection",
                          [](T& c, const TValue& v, TReadContext&) { c.SkinData().SetSkinSection(v.AsString()); });
    r.RegisterProperty<T>(className, "SkinData.CustomColor",
                          [](T& c, const TValue& v, TReadContext&) { c.SkinData().SetCustomColor(v.AsBoolean()); });
    r.RegisterProperty<T>(className, "SkinData.CustomFont",
                          [](T& c, const TValue& v, TReadContext&) { c.SkinData().SetCustomFont(v.AsBoolean()); });
    r.RegisterProperty<T>(className, "SkinData.SkinManager", [](T& c, const TValue& v, TReadContext& context) {
        context.ReferTo(v, [&c](TComponent* target) {
            auto* manager = dynamic_cast<TsSkinManager*>(target);
            if (!manager) throw EConvertError(FormatText("%s is not a skin manager", {target->Name()}));
            c.SkinData().SetSkinManager(manager);
        });
    });
}

}  // namespace korvel
