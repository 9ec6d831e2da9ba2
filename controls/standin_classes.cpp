#include "controls/standin_classes.h"

#include "controls/button.h"
#include "controls/edit.h"
#include "gui/class_registry.h"

namespace korvel {

// ---- registration -----------------------------------------------------------------

namespace {

template <class T>
void RegisterStandin(const std::string& name, const std::string& parentName) {
    TClassRegistry& registry = TClassRegistry::Instance();
    registry.RegisterClass<T>(name, parentName);
    registry.RegisterProperty<T>(name, "SkinData.SkinSection",
                                 [](T& control, const TValue& value, TReadContext&) {
                                     control.SkinData.SkinSection = value.AsString();
                                 });
}

}  // namespace

void RegisterStandinClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        RegisterButtonClass();
        RegisterStandin<TsPanel>("TsPanel", "TPanel");
        RegisterEditClass();
        RegisterStandin<TsCheckBox>("TsCheckBox", "TCheckBox");
        RegisterStandin<TsLabel>("TsLabel", "TLabel");
        TClassRegistry::Instance().RegisterProperty<TsLabel>(
            "TsLabel", "UseSkinColor",
            [](TsLabel& label, const TValue& value, TReadContext&) { label.UseSkinColor = value.AsBoolean(); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
