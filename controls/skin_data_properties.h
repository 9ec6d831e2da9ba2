#pragma once
// The stored settings of a skinned control's SkinData, registered for any
// control class T whose SkinData (a member, or a SkinData() accessor) is its
// TsCommonData.
#include <string>

#include "engine/common_data.h"
#include "engine/skin_manager.h"
#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

template <class T>
TsCommonData& SkinDataOf(T& control) {
    if constexpr (requires { control.SkinData(); }) {
        return control.SkinData();
    } else {
        return control.SkinData;
    }
}

template <class T>
void RegisterSkinDataProperties(const std::string& className) {
    TClassRegistry& r = TClassRegistry::Instance();
    r.RegisterProperty<T>(className, "SkinData.SkinSection",
                          [](T& c, const TValue& v, TReadContext&) { SkinDataOf(c).SetSkinSection(v.AsString()); });
    r.RegisterProperty<T>(className, "SkinData.CustomColor",
                          [](T& c, const TValue& v, TReadContext&) { SkinDataOf(c).SetCustomColor(v.AsBoolean()); });
    r.RegisterProperty<T>(className, "SkinData.CustomFont",
                          [](T& c, const TValue& v, TReadContext&) { SkinDataOf(c).SetCustomFont(v.AsBoolean()); });
    r.RegisterProperty<T>(className, "SkinData.SkinManager", [](T& c, const TValue& v, TReadContext& context) {
        context.ReferTo(v, [&c](TComponent* target) {
            auto* manager = dynamic_cast<TsSkinManager*>(target);
            if (!manager) throw EConvertError(FormatText("%s is not a skin manager", {target->Name()}));
            SkinDataOf(c).SetSkinManager(manager);
        });
    });
}

}  // namespace korvel
