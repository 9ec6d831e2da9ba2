#pragma once
// Placeholders for the skinned controls not built yet, under their final class
// names, so the main window's stored definition already names them. Each is the
// framework's plain control; the skin settings the definition carries are kept
// but not yet acted on. Replacing a placeholder with the real skinned control
// changes only its registration. The panel, labels and check box are real
// (controls/panel.h, label.h, check_box.h).
#include <memory>
#include <string>

#include "controls/check_box.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"

namespace korvel {

// The stored skin settings of a placeholder.
struct TStandinSkinSettings {
    std::string SkinSection;
};

class TsButton : public TButton {
public:
    explicit TsButton(TComponent* owner) : TButton(owner) {}
    std::string ClassName() const override { return "TsButton"; }
    TStandinSkinSettings SkinData;
};

class TsBoundLabel;

// The edit carries its bound label already: the label follows the edit's
// bounds, visibility and enabled state.
class TsEdit : public TEdit {
public:
    explicit TsEdit(TComponent* owner);
    ~TsEdit() override;
    std::string ClassName() const override { return "TsEdit"; }
    TStandinSkinSettings SkinData;
    TsBoundLabel& BoundLabel() { return *boundLabel_; }

protected:
    void WndProc(TMessage& message) override;
    void BoundsChanged() override;
    void Loaded() override;

private:
    std::unique_ptr<TsBoundLabel> boundLabel_;
};

// Registers the placeholders, and the skinned controls already built, with the
// class registry (once; later calls do nothing).
void RegisterStandinClasses();

}  // namespace korvel
