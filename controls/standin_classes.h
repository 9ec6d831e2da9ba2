#pragma once
// Placeholders for the skinned controls under their final class names, so the
// main window's stored definition already names TsPanel, TsLabel and
// TsCheckBox. Each is the framework's plain control; the skin settings
// the definition carries are kept but not yet acted on. Replacing a
// placeholder with the real skinned control changes only its registration.
#include <string>

#include "gui/graphic_controls.h"
#include "gui/std_controls.h"

namespace korvel {

// The stored skin settings of a placeholder.
struct TStandinSkinSettings {
    std::string SkinSection;
};

class TsPanel : public TPanel {
public:
    explicit TsPanel(TComponent* owner) : TPanel(owner) {}
    std::string ClassName() const override { return "TsPanel"; }
    TStandinSkinSettings SkinData;
};

class TsCheckBox : public TCheckBox {
public:
    explicit TsCheckBox(TComponent* owner) : TCheckBox(owner) {}
    std::string ClassName() const override { return "TsCheckBox"; }
    TStandinSkinSettings SkinData;
};

class TsLabel : public TLabel {
public:
    explicit TsLabel(TComponent* owner) : TLabel(owner) {}
    std::string ClassName() const override { return "TsLabel"; }
    TStandinSkinSettings SkinData;
    bool UseSkinColor = true;
};

// Registers the placeholders with the class registry (once; later calls do nothing).
void RegisterStandinClasses();

}  // namespace korvel
