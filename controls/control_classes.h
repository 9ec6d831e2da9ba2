#pragma once
// The skinned controls a stored definition may name: TsPanel, TsGrip, TsButton,
// TsEdit, TsLabel, TsEditLabel, TsCheckBox and TsScrollBar, with their stored properties.
namespace korvel {

// Registers the framework's classes and the skinned controls with the class
// registry (once; later calls do nothing).
void RegisterSkinnedControlClasses();

}  // namespace korvel
