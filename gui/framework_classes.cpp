// The framework's classes as a stored window definition names them, with the
// setter of every property a definition may assign.
#include <mutex>

#include "gui/actions.h"
#include "gui/class_registry.h"
#include "gui/dialogs.h"
#include "gui/exceptions.h"
#include "gui/font_properties.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/image_list.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/text.h"
#include "gui/timer.h"

namespace korvel {
namespace {

template <class T>
void Prop(const std::string& className, const std::string& name, std::function<void(T&, const TValue&, TReadContext&)> setter) {
    TClassRegistry::Instance().RegisterProperty<T>(className, name, std::move(setter));
}

const std::vector<std::pair<std::string, int>> kAlignments = {
    {"taLeftJustify", int(TAlignment::taLeftJustify)},
    {"taRightJustify", int(TAlignment::taRightJustify)},
    {"taCenter", int(TAlignment::taCenter)},
};

TAlignment AlignmentValue(const TValue& v) { return static_cast<TAlignment>(v.AsEnum(kAlignments)); }

void RegisterControlProperties() {
    Prop<TControl>("TControl", "Left", [](TControl& c, const TValue& v, TReadContext&) { c.SetLeft(v.AsInteger()); });
    Prop<TControl>("TControl", "Top", [](TControl& c, const TValue& v, TReadContext&) { c.SetTop(v.AsInteger()); });
    Prop<TControl>("TControl", "Width", [](TControl& c, const TValue& v, TReadContext&) { c.SetWidth(v.AsInteger()); });
    Prop<TControl>("TControl", "Height", [](TControl& c, const TValue& v, TReadContext&) { c.SetHeight(v.AsInteger()); });
    Prop<TControl>("TControl", "Visible", [](TControl& c, const TValue& v, TReadContext&) { c.SetVisible(v.AsBoolean()); });
    Prop<TControl>("TControl", "Enabled", [](TControl& c, const TValue& v, TReadContext&) { c.SetEnabled(v.AsBoolean()); });
    Prop<TControl>("TControl", "Color", [](TControl& c, const TValue& v, TReadContext&) { c.SetColor(v.AsColor()); });
    Prop<TControl>("TControl", "ParentColor", [](TControl& c, const TValue& v, TReadContext&) { c.SetParentColor(v.AsBoolean()); });
    Prop<TControl>("TControl", "ParentFont", [](TControl& c, const TValue& v, TReadContext&) { c.SetParentFont(v.AsBoolean()); });
    RegisterFontProperties<TControl>("TControl", "Font.", [](TControl& c) -> TFont& { return c.Font(); });
    Prop<TControl>("TControl", "Align", [](TControl& c, const TValue& v, TReadContext&) {
        c.SetAlign(static_cast<TAlign>(v.AsEnum({{"alNone", 0}, {"alTop", 1}, {"alBottom", 2}, {"alLeft", 3}, {"alRight", 4}, {"alClient", 5}})));
    });
    Prop<TControl>("TControl", "Anchors", [](TControl& c, const TValue& v, TReadContext&) {
        c.SetAnchors(static_cast<TAnchors>(v.AsSet({{"akLeft", akLeft}, {"akTop", akTop}, {"akRight", akRight}, {"akBottom", akBottom}})));
    });
    Prop<TControl>("TControl", "BiDiMode", [](TControl& c, const TValue& v, TReadContext&) {
        c.SetBiDiMode(static_cast<TBiDiMode>(v.AsEnum({{"bdLeftToRight", 0}, {"bdRightToLeft", 1}, {"bdRightToLeftNoAlign", 2}, {"bdRightToLeftReadingOnly", 3}})));
    });
    Prop<TControl>("TControl", "Cursor", [](TControl& c, const TValue& v, TReadContext&) {
        c.SetCursor(v.AsEnum({{"crDefault", crDefault}, {"crArrow", crArrow}, {"crIBeam", crIBeam}, {"crHandPoint", crHandPoint}}));
    });
    Prop<TControl>("TControl", "Caption", [](TControl& c, const TValue& v, TReadContext&) { c.SetCaption(v.AsString()); });
    Prop<TControl>("TControl", "Text", [](TControl& c, const TValue& v, TReadContext&) { c.SetText(v.AsString()); });
    Prop<TControl>("TControl", "Hint", [](TControl& c, const TValue& v, TReadContext&) { c.SetHint(v.AsString()); });
    Prop<TControl>("TControl", "Tag", [](TControl& c, const TValue& v, TReadContext&) { c.SetTag(v.AsInteger()); });
    Prop<TControl>("TControl", "OnClick", [](TControl& c, const TValue& v, TReadContext& r) { c.OnClick = r.Handler(v); });
    Prop<TControl>("TControl", "OnDblClick", [](TControl& c, const TValue& v, TReadContext& r) { c.OnDblClick = r.Handler(v); });
    Prop<TControl>("TControl", "Constraints.MinWidth", [](TControl& c, const TValue& v, TReadContext&) { c.Constraints().SetMinWidth(v.AsInteger()); });
    Prop<TControl>("TControl", "Constraints.MinHeight", [](TControl& c, const TValue& v, TReadContext&) { c.Constraints().SetMinHeight(v.AsInteger()); });
    Prop<TControl>("TControl", "Constraints.MaxWidth", [](TControl& c, const TValue& v, TReadContext&) { c.Constraints().SetMaxWidth(v.AsInteger()); });
    Prop<TControl>("TControl", "Constraints.MaxHeight", [](TControl& c, const TValue& v, TReadContext&) { c.Constraints().SetMaxHeight(v.AsInteger()); });
    Prop<TControl>("TControl", "PopupMenu", [](TControl& c, const TValue& v, TReadContext& r) {
        r.ReferTo(v, [&c](TComponent* target) {
            auto* menu = dynamic_cast<TPopupMenu*>(target);
            if (!menu) throw EConvertError(FormatText("%s is not a pop-up menu", {target->Name()}));
            c.SetPopupMenu(menu);
        });
    });
    Prop<TControl>("TControl", "Action", [](TControl& c, const TValue& v, TReadContext& r) {
        r.ReferTo(v, [&c](TComponent* target) {
            auto* action = dynamic_cast<TAction*>(target);
            if (!action) throw EConvertError(FormatText("%s is not an action", {target->Name()}));
            c.SetAction(action);
        });
    });

    Prop<TWinControl>("TWinControl", "TabStop", [](TWinControl& c, const TValue& v, TReadContext&) { c.SetTabStop(v.AsBoolean()); });
    Prop<TWinControl>("TWinControl", "TabOrder", [](TWinControl& c, const TValue& v, TReadContext&) { c.SetTabOrder(v.AsInteger()); });
}

void RegisterFormProperties() {
    Prop<TForm>("TForm", "ClientWidth", [](TForm& f, const TValue& v, TReadContext&) { f.SetClientWidth(v.AsInteger()); });
    Prop<TForm>("TForm", "ClientHeight", [](TForm& f, const TValue& v, TReadContext&) { f.SetClientHeight(v.AsInteger()); });
    Prop<TForm>("TForm", "BorderStyle", [](TForm& f, const TValue& v, TReadContext&) {
        f.SetBorderStyle(static_cast<TFormBorderStyle>(v.AsEnum(
            {{"bsNone", 0}, {"bsSingle", 1}, {"bsSizeable", 2}, {"bsDialog", 3}, {"bsToolWindow", 4}, {"bsSizeToolWin", 5}})));
    });
    Prop<TForm>("TForm", "BorderIcons", [](TForm& f, const TValue& v, TReadContext&) {
        f.SetBorderIcons(static_cast<TBorderIcons>(
            v.AsSet({{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}, {"biHelp", biHelp}})));
    });
    Prop<TForm>("TForm", "Position", [](TForm& f, const TValue& v, TReadContext&) {
        f.SetPosition(static_cast<TPosition>(v.AsEnum(
            {{"poDesigned", 0}, {"poDefault", 1}, {"poScreenCenter", 2}, {"poDesktopCenter", 3}, {"poMainFormCenter", 4}})));
    });
    Prop<TForm>("TForm", "WindowState", [](TForm& f, const TValue& v, TReadContext&) {
        f.SetWindowState(static_cast<TWindowState>(v.AsEnum({{"wsNormal", 0}, {"wsMinimized", 1}, {"wsMaximized", 2}})));
    });
    Prop<TForm>("TForm", "FormStyle", [](TForm& f, const TValue& v, TReadContext&) {
        f.SetFormStyle(static_cast<TFormStyle>(v.AsEnum({{"fsNormal", 0}, {"fsMDIChild", 1}, {"fsMDIForm", 2}})));
    });
    Prop<TForm>("TForm", "Icon", [](TForm& f, const TValue& v, TReadContext& r) {
        if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
        f.Icon().LoadFromResourceName(r.Module(), v.Text);
    });
    Prop<TForm>("TForm", "OnCreate", [](TForm& f, const TValue& v, TReadContext& r) { f.OnCreate = r.Handler(v); });
    Prop<TForm>("TForm", "Menu", [](TForm& f, const TValue& v, TReadContext& r) {
        r.ReferTo(v, [&f](TComponent* target) {
            auto* menu = dynamic_cast<TMainMenu*>(target);
            if (!menu) throw EConvertError(FormatText("%s is not a main menu", {target->Name()}));
            f.SetMenu(menu);
        });
    });
    Prop<TForm>("TForm", "OnShow", [](TForm& f, const TValue& v, TReadContext& r) { f.OnShow = r.Handler(v); });
    Prop<TForm>("TForm", "AutoScroll", [](TForm& f, const TValue& v, TReadContext&) { f.SetAutoScroll(v.AsBoolean()); });
    for (const char* bar : {"HorzScrollBar", "VertScrollBar"}) {
        const bool vertical = bar[0] == 'V';
        const auto of = [vertical](TForm& f) -> TControlScrollBar& { return vertical ? f.VertScrollBar() : f.HorzScrollBar(); };
        const std::string prefix = std::string(bar) + ".";
        Prop<TForm>("TForm", prefix + "Range", [of](TForm& f, const TValue& v, TReadContext&) { of(f).SetRange(v.AsInteger()); });
        Prop<TForm>("TForm", prefix + "Increment", [of](TForm& f, const TValue& v, TReadContext&) { of(f).SetIncrement(v.AsInteger()); });
        Prop<TForm>("TForm", prefix + "Visible", [of](TForm& f, const TValue& v, TReadContext&) { of(f).SetVisible(v.AsBoolean()); });
        Prop<TForm>("TForm", prefix + "Smooth", [of](TForm& f, const TValue& v, TReadContext&) { of(f).SetSmooth(v.AsBoolean()); });
    }
}

void RegisterStandardControlProperties() {
    Prop<TButton>("TButton", "Default", [](TButton& b, const TValue& v, TReadContext&) { b.SetDefault(v.AsBoolean()); });
    Prop<TButton>("TButton", "Cancel", [](TButton& b, const TValue& v, TReadContext&) { b.SetCancel(v.AsBoolean()); });
    Prop<TButton>("TButton", "ModalResult", [](TButton& b, const TValue& v, TReadContext&) {
        if (v.Kind == TValueKind::Integer) return b.SetModalResult(v.AsInteger());
        b.SetModalResult(v.AsEnum({{"mrNone", mrNone}, {"mrOk", mrOk}, {"mrCancel", mrCancel}, {"mrAbort", mrAbort},
                                   {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore}, {"mrYes", mrYes}, {"mrNo", mrNo},
                                   {"mrAll", mrAll}, {"mrNoToAll", mrNoToAll}, {"mrYesToAll", mrYesToAll}}));
    });

    Prop<TCheckBox>("TCheckBox", "Checked", [](TCheckBox& c, const TValue& v, TReadContext&) { c.SetChecked(v.AsBoolean()); });
    Prop<TCheckBox>("TCheckBox", "State", [](TCheckBox& c, const TValue& v, TReadContext&) {
        c.SetState(static_cast<TCheckBoxState>(v.AsEnum({{"cbUnchecked", 0}, {"cbChecked", 1}, {"cbGrayed", 2}})));
    });
    Prop<TCheckBox>("TCheckBox", "AllowGrayed", [](TCheckBox& c, const TValue& v, TReadContext&) { c.SetAllowGrayed(v.AsBoolean()); });
    Prop<TCheckBox>("TCheckBox", "Alignment", [](TCheckBox& c, const TValue& v, TReadContext&) { c.SetAlignment(AlignmentValue(v)); });

    Prop<TCustomEdit>("TCustomEdit", "MaxLength", [](TCustomEdit& e, const TValue& v, TReadContext&) { e.SetMaxLength(v.AsInteger()); });
    Prop<TCustomEdit>("TCustomEdit", "ReadOnly", [](TCustomEdit& e, const TValue& v, TReadContext&) { e.SetReadOnly(v.AsBoolean()); });
    Prop<TCustomEdit>("TCustomEdit", "PasswordChar", [](TCustomEdit& e, const TValue& v, TReadContext&) { e.SetPasswordChar(v.AsString()); });
    Prop<TCustomEdit>("TCustomEdit", "BorderStyle", [](TCustomEdit& e, const TValue& v, TReadContext&) {
        e.SetBorderStyle(static_cast<TBorderStyle>(v.AsEnum({{"bsNone", 0}, {"bsSingle", 1}})));
    });
    Prop<TCustomEdit>("TCustomEdit", "OnChange", [](TCustomEdit& e, const TValue& v, TReadContext& r) { e.OnChange = r.Handler(v); });

    Prop<TMemo>("TMemo", "Lines", [](TMemo& m, const TValue& v, TReadContext&) {
        if (v.Kind != TValueKind::StringList) throw EConvertError("a list of strings in parentheses is expected");
        m.Lines().Assign(v.Items);
    });
    Prop<TMemo>("TMemo", "WantTabs", [](TMemo& m, const TValue& v, TReadContext&) { m.SetWantTabs(v.AsBoolean()); });
    Prop<TMemo>("TMemo", "WantReturns", [](TMemo& m, const TValue& v, TReadContext&) { m.SetWantReturns(v.AsBoolean()); });
    Prop<TMemo>("TMemo", "WordWrap", [](TMemo& m, const TValue& v, TReadContext&) { m.SetWordWrap(v.AsBoolean()); });
    Prop<TMemo>("TMemo", "Alignment", [](TMemo& m, const TValue& v, TReadContext&) { m.SetAlignment(AlignmentValue(v)); });
    Prop<TMemo>("TMemo", "ScrollBars", [](TMemo& m, const TValue& v, TReadContext&) {
        m.SetScrollBars(static_cast<TScrollStyle>(v.AsEnum({{"ssNone", 0}, {"ssHorizontal", 1}, {"ssVertical", 2}, {"ssBoth", 3}})));
    });

    Prop<TPanel>("TPanel", "Alignment", [](TPanel& p, const TValue& v, TReadContext&) { p.SetAlignment(AlignmentValue(v)); });
    Prop<TPanel>("TPanel", "BevelOuter", [](TPanel& p, const TValue& v, TReadContext&) {
        p.SetBevelOuter(static_cast<TBevelCut>(v.AsEnum({{"bvNone", 0}, {"bvLowered", 1}, {"bvRaised", 2}})));
    });
}

void RegisterGraphicControlProperties() {
    Prop<TLabel>("TLabel", "Alignment", [](TLabel& l, const TValue& v, TReadContext&) { l.SetAlignment(AlignmentValue(v)); });
    Prop<TLabel>("TLabel", "AutoSize", [](TLabel& l, const TValue& v, TReadContext&) { l.SetAutoSize(v.AsBoolean()); });
    Prop<TLabel>("TLabel", "WordWrap", [](TLabel& l, const TValue& v, TReadContext&) { l.SetWordWrap(v.AsBoolean()); });
    Prop<TLabel>("TLabel", "Transparent", [](TLabel& l, const TValue& v, TReadContext&) { l.SetTransparent(v.AsBoolean()); });
    Prop<TLabel>("TLabel", "ShowAccelChar", [](TLabel& l, const TValue& v, TReadContext&) { l.SetShowAccelChar(v.AsBoolean()); });
    Prop<TLabel>("TLabel", "FocusControl", [](TLabel& l, const TValue& v, TReadContext& r) {
        r.ReferTo(v, [&l](TComponent* target) {
            auto* control = dynamic_cast<TWinControl*>(target);
            if (!control) throw EConvertError(FormatText("%s is not a windowed control", {target->Name()}));
            l.SetFocusControl(control);
        });
    });

    Prop<TImage>("TImage", "Picture", [](TImage& i, const TValue& v, TReadContext& r) {
        if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
        i.Picture().LoadFromResourceName(r.Module(), v.Text);
    });
    Prop<TImage>("TImage", "Stretch", [](TImage& i, const TValue& v, TReadContext&) { i.SetStretch(v.AsBoolean()); });
    Prop<TImage>("TImage", "Center", [](TImage& i, const TValue& v, TReadContext&) { i.SetCenter(v.AsBoolean()); });
}

void RegisterMenuProperties() {
    Prop<TMenuItem>("TMenuItem", "Caption", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetCaption(v.AsString()); });
    Prop<TMenuItem>("TMenuItem", "Checked", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetChecked(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "RadioItem", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetRadioItem(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "GroupIndex", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetGroupIndex(v.AsInteger()); });
    Prop<TMenuItem>("TMenuItem", "Enabled", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetEnabled(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "Visible", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetVisible(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "Default", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetDefault(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "ShortCut", [](TMenuItem& i, const TValue& v, TReadContext&) {
        // A number as stored (16467 is Ctrl+S) or the shown text ('Ctrl+S').
        if (v.Kind == TValueKind::Integer) {
            if (v.Integer < 0 || v.Integer > 0xFFFF) throw EConvertError("a shortcut is a number from 0 to 65535");
            return i.SetShortCut(static_cast<TShortCut>(v.Integer));
        }
        TShortCut value = TextToShortCut(v.AsString());
        if (value == scNone && !v.Text.empty()) throw EConvertError(FormatText("'%s' is not a shortcut", {v.Text}));
        i.SetShortCut(value);
    });
    Prop<TMenuItem>("TMenuItem", "ImageIndex", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetImageIndex(v.AsInteger()); });
    Prop<TMenuItem>("TMenuItem", "Break", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetBreak(v.AsBoolean()); });
    Prop<TMenuItem>("TMenuItem", "Bitmap", [](TMenuItem& i, const TValue& v, TReadContext& r) {
        if (v.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' is expected");
        i.Bitmap().LoadFromResourceName(r.Module(), v.Text);
    });
    Prop<TMenuItem>("TMenuItem", "Hint", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetHint(v.AsString()); });
    Prop<TMenuItem>("TMenuItem", "Tag", [](TMenuItem& i, const TValue& v, TReadContext&) { i.SetTag(v.AsInteger()); });
    Prop<TMenuItem>("TMenuItem", "OnClick", [](TMenuItem& i, const TValue& v, TReadContext& r) { i.OnClick = r.Handler(v); });

    Prop<TMenu>("TMenu", "OwnerDraw", [](TMenu& m, const TValue& v, TReadContext&) { m.SetOwnerDraw(v.AsBoolean()); });
    Prop<TMenu>("TMenu", "Images", [](TMenu& m, const TValue& v, TReadContext& r) {
        r.ReferTo(v, [&m](TComponent* target) {
            auto* list = dynamic_cast<TCustomImageList*>(target);
            if (!list) throw EConvertError(FormatText("%s is not an image list", {target->Name()}));
            m.SetImages(list);
        });
    });
    Prop<TPopupMenu>("TPopupMenu", "AutoPopup", [](TPopupMenu& m, const TValue& v, TReadContext&) { m.SetAutoPopup(v.AsBoolean()); });
    Prop<TPopupMenu>("TPopupMenu", "MenuAnimation", [](TPopupMenu& m, const TValue& v, TReadContext&) {
        m.SetMenuAnimation(static_cast<TMenuAnimation>(v.AsSet({{"maLeftToRight", maLeftToRight}, {"maRightToLeft", maRightToLeft},
                                                                 {"maTopToBottom", maTopToBottom}, {"maBottomToTop", maBottomToTop},
                                                                 {"maNone", maNone}})));
    });
    Prop<TPopupMenu>("TPopupMenu", "OnPopup", [](TPopupMenu& m, const TValue& v, TReadContext& r) { m.OnPopup = r.Handler(v); });
}

void RegisterComponentProperties() {
    Prop<TAction>("TAction", "Caption", [](TAction& a, const TValue& v, TReadContext&) { a.SetCaption(v.AsString()); });
    Prop<TAction>("TAction", "Enabled", [](TAction& a, const TValue& v, TReadContext&) { a.SetEnabled(v.AsBoolean()); });
    Prop<TAction>("TAction", "Checked", [](TAction& a, const TValue& v, TReadContext&) { a.SetChecked(v.AsBoolean()); });
    Prop<TAction>("TAction", "Visible", [](TAction& a, const TValue& v, TReadContext&) { a.SetVisible(v.AsBoolean()); });
    Prop<TAction>("TAction", "Hint", [](TAction& a, const TValue& v, TReadContext&) { a.SetHint(v.AsString()); });
    Prop<TAction>("TAction", "OnExecute", [](TAction& a, const TValue& v, TReadContext& r) { a.OnExecute = r.Handler(v); });
    Prop<TAction>("TAction", "OnUpdate", [](TAction& a, const TValue& v, TReadContext& r) { a.OnUpdate = r.Handler(v); });
    Prop<TActionList>("TActionList", "OnUpdate", [](TActionList& l, const TValue& v, TReadContext& r) { l.OnUpdate = r.Handler(v); });

    Prop<TTimer>("TTimer", "Interval", [](TTimer& t, const TValue& v, TReadContext&) {
        if (v.AsInteger() < 0) throw EConvertError("the interval cannot be negative");
        t.SetInterval(static_cast<unsigned>(v.AsInteger()));
    });
    Prop<TTimer>("TTimer", "Enabled", [](TTimer& t, const TValue& v, TReadContext&) { t.SetEnabled(v.AsBoolean()); });
    Prop<TTimer>("TTimer", "OnTimer", [](TTimer& t, const TValue& v, TReadContext& r) { t.SetOnTimer(r.Handler(v)); });

    Prop<TOpenDialog>("TOpenDialog", "Filter", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetFilter(v.AsString()); });
    Prop<TOpenDialog>("TOpenDialog", "FilterIndex", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetFilterIndex(v.AsInteger()); });
    Prop<TOpenDialog>("TOpenDialog", "DefaultExt", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetDefaultExt(v.AsString()); });
    Prop<TOpenDialog>("TOpenDialog", "InitialDir", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetInitialDir(v.AsString()); });
    Prop<TOpenDialog>("TOpenDialog", "FileName", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetFileName(v.AsString()); });
    Prop<TOpenDialog>("TOpenDialog", "Title", [](TOpenDialog& d, const TValue& v, TReadContext&) { d.SetTitle(v.AsString()); });
}

}  // namespace

void RegisterFrameworkClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        auto& r = TClassRegistry::Instance();
        r.RegisterClass<TComponent>("TComponent", "", false);
        r.RegisterClass<TControl>("TControl", "TComponent", false);
        r.RegisterClass<TWinControl>("TWinControl", "TControl", false);
        r.RegisterClass<TForm>("TForm", "TWinControl", false);
        r.RegisterClass<TButton>("TButton", "TWinControl");
        r.RegisterClass<TCheckBox>("TCheckBox", "TWinControl");
        r.RegisterClass<TCustomEdit>("TCustomEdit", "TWinControl", false);
        r.RegisterClass<TEdit>("TEdit", "TCustomEdit");
        r.RegisterClass<TMemo>("TMemo", "TCustomEdit");
        r.RegisterClass<TPanel>("TPanel", "TWinControl");
        r.RegisterClass<TGraphicControl>("TGraphicControl", "TControl", false);
        r.RegisterClass<TLabel>("TLabel", "TGraphicControl");
        r.RegisterClass<TImage>("TImage", "TGraphicControl");
        r.RegisterClass<TTimer>("TTimer", "TComponent");
        r.RegisterClass<TOpenDialog>("TOpenDialog", "TComponent");
        r.RegisterClass<TSaveDialog>("TSaveDialog", "TOpenDialog");
        r.RegisterClass<TMenuItem>("TMenuItem", "TComponent");
        r.RegisterClass<TMenu>("TMenu", "TComponent", false);
        r.RegisterClass<TMainMenu>("TMainMenu", "TMenu");
        r.RegisterClass<TPopupMenu>("TPopupMenu", "TMenu");
        r.RegisterClass<TActionList>("TActionList", "TComponent");
        r.RegisterClass<TAction>("TAction", "TComponent");
        RegisterControlProperties();
        RegisterFormProperties();
        RegisterStandardControlProperties();
        RegisterGraphicControlProperties();
        RegisterComponentProperties();
        RegisterMenuProperties();
    });
}

}  // namespace korvel
