// TsSkinProvider in the class registry: the class a stored definition names and
// the settings it may carry.
#include "forms/mdi_form.h"
#include "forms/skin_provider.h"

#include <functional>

#include "gui/class_registry.h"
#include "gui/exceptions.h"

namespace korvel {

namespace {

using P = TsSkinProvider;
using TSetter = std::function<void(P&, const TValue&, TReadContext&)>;

void Prop(const std::string& name, TSetter setter) {
    TClassRegistry::Instance().RegisterProperty<P>("TsSkinProvider", name, std::move(setter));
}

// A picture a definition names: resource 'NAME' in the definition's module.
void ReadGlyph(TBitmap& glyph, const TValue& v, TReadContext& context) {
    if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
    glyph.LoadFromResourceName(context.Module(), v.Text);
}

// One title button from its stored settings.
void ReadTitleButton(TsTitleButton& button, const std::vector<TNamedValue>& item, TReadContext& context) {
    for (const TNamedValue& assignment : item) {
        if (assignment.Name == "Enabled") button.Enabled = assignment.Value.AsBoolean();
        else if (assignment.Name == "Glyph") ReadGlyph(button.Glyph, assignment.Value, context);
        else if (assignment.Name == "Name") button.Name = assignment.Value.AsString();
        else if (assignment.Name == "UseSkinData") button.UseSkinData = assignment.Value.AsBoolean();
        else throw EConvertError("unknown title button property '" + assignment.Name + "'");
    }
}

}  // namespace

void RegisterSkinProviderClass() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFrameworkClasses();
    TClassRegistry::Instance().RegisterClass<P>("TsSkinProvider", "TComponent");
    RegisterMDIFormClass();   // an MDI frame's definition may name its TsMDIForm
    Prop("BorderIcons", [](P& p, const TValue& v, TReadContext&) {
        p.SetBorderIcons(static_cast<TBorderIcons>(
            v.AsSet({{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}})));
    });
    Prop("CaptionAlignment", [](P& p, const TValue& v, TReadContext&) {
        p.SetCaptionAlignment(static_cast<TAlignment>(v.AsEnum({{"taLeftJustify", int(TAlignment::taLeftJustify)},
                                                                {"taRightJustify", int(TAlignment::taRightJustify)},
                                                                {"taCenter", int(TAlignment::taCenter)}})));
    });
    Prop("SkinData.SkinSection", [](P& p, const TValue& v, TReadContext&) { p.SkinData().SetSkinSection(v.AsString()); });
    Prop("SkinData.CustomColor", [](P& p, const TValue& v, TReadContext&) { p.SkinData().SetCustomColor(v.AsBoolean()); });
    Prop("SkinData.CustomFont", [](P& p, const TValue& v, TReadContext&) { p.SkinData().SetCustomFont(v.AsBoolean()); });
    Prop("GripMode", [](P& p, const TValue& v, TReadContext&) {
        p.SetGripMode(static_cast<TGripMode>(v.AsEnum({{"gmNone", 0}, {"gmRightBottom", 1}})));
    });
    Prop("MakeSkinMenu", [](P& p, const TValue& v, TReadContext&) { p.SetMakeSkinMenu(v.AsBoolean()); });
    Prop("MenuLineSkin", [](P& p, const TValue& v, TReadContext&) { p.SetMenuLineSkin(v.AsString()); });
    Prop("ResizeMode", [](P& p, const TValue& v, TReadContext&) {
        p.SetResizeMode(static_cast<TResizeMode>(v.AsEnum({{"rmStandard", 0}, {"rmBorder", 1}})));
    });
    Prop("ScreenSnap", [](P& p, const TValue& v, TReadContext&) { p.SetScreenSnap(v.AsBoolean()); });
    Prop("SnapBuffer", [](P& p, const TValue& v, TReadContext&) { p.SetSnapBuffer(v.AsInteger()); });
    Prop("ShowAppIcon", [](P& p, const TValue& v, TReadContext&) { p.SetShowAppIcon(v.AsBoolean()); });
    Prop("TitleIcon.Glyph", [](P& p, const TValue& v, TReadContext& c) { ReadGlyph(p.TitleIcon().Glyph, v, c); });
    Prop("TitleIcon.Height", [](P& p, const TValue& v, TReadContext&) { p.TitleIcon().Height = v.AsInteger(); });
    Prop("TitleIcon.Width", [](P& p, const TValue& v, TReadContext&) { p.TitleIcon().Width = v.AsInteger(); });
    Prop("TitleSkin", [](P& p, const TValue& v, TReadContext&) { p.SetTitleSkin(v.AsString()); });
    Prop("UseGlobalColor", [](P& p, const TValue& v, TReadContext&) { p.SetUseGlobalColor(v.AsBoolean()); });
    // Every item is read completely before the provider's buttons are replaced.
    Prop("TitleButtons", [](P& p, const TValue& v, TReadContext& c) {
        if (v.Kind != TValueKind::Collection) throw EConvertError("TitleButtons needs a collection");
        TsTitleButtons buttons(&p);
        for (const auto& item : v.CollectionItems) ReadTitleButton(buttons.Add(), item, c);
        p.SetTitleButtons(buttons);
    });
}

}  // namespace korvel
