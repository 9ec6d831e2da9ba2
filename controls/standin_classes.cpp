#include "controls/standin_classes.h"

#include "controls/bound_label.h"
#include "gui/class_registry.h"

namespace korvel {

// ---- TsEdit -----------------------------------------------------------------------

TsEdit::TsEdit(TComponent* owner) : TEdit(owner), boundLabel_(std::make_unique<TsBoundLabel>(this)) {}

// The bound label (and with it the label) goes first, while the edit is whole.
TsEdit::~TsEdit() { boundLabel_.reset(); }

void TsEdit::WndProc(TMessage& m) {
    TEdit::WndProc(m);
    if (!boundLabel_ || !boundLabel_->Label()) return;
    switch (m.Msg) {
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED: boundLabel_->AlignLabel(); break;
        case CM_VISIBLECHANGED:   boundLabel_->EditVisibleChanged(); break;
        case CM_ENABLEDCHANGED:   boundLabel_->EditEnabledChanged(); break;
        case CM_BIDIMODECHANGED:  boundLabel_->EditBiDiModeChanged(); break;
        default: break;
    }
}

// Without a window no position message arrives; the label follows the bounds all the same.
void TsEdit::BoundsChanged() {
    TEdit::BoundsChanged();
    if (!HandleAllocated() && boundLabel_) boundLabel_->AlignLabel();
}

// The definition may set the bounds after activating the label.
void TsEdit::Loaded() {
    TEdit::Loaded();
    boundLabel_->AlignLabel();
}

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

void RegisterBoundLabelProperties() {
    using S = std::function<void(TsEdit&, const TValue&, TReadContext&)>;
    const auto prop = [](const std::string& name, S setter) {
        TClassRegistry::Instance().RegisterProperty<TsEdit>("TsEdit", name, std::move(setter));
    };
    prop("BoundLabel.Active", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetActive(v.AsBoolean()); });
    prop("BoundLabel.Caption", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetCaption(v.AsString()); });
    prop("BoundLabel.Indent", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetIndent(v.AsInteger()); });
    prop("BoundLabel.Layout", [](TsEdit& e, const TValue& v, TReadContext&) {
        e.BoundLabel().SetLayout(static_cast<TsCaptionLayout>(v.AsEnum(
            {{"sclLeft", sclLeft}, {"sclTopLeft", sclTopLeft}, {"sclTopCenter", sclTopCenter}, {"sclTopRight", sclTopRight}})));
    });
    prop("BoundLabel.MaxWidth", [](TsEdit& e, const TValue& v, TReadContext&) { e.BoundLabel().SetMaxWidth(v.AsInteger()); });
}

}  // namespace

void RegisterStandinClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        RegisterStandin<TsButton>("TsButton", "TButton");
        RegisterPanelClasses();
        RegisterStandin<TsEdit>("TsEdit", "TEdit");
        RegisterBoundLabelProperties();
        RegisterCheckBoxClass();
        RegisterLabelClasses();
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
