#include "gui/class_registry.h"

#include "gui/exceptions.h"
#include "gui/graphics.h"
#include "gui/text.h"

namespace korvel {

int TValue::AsInteger() const {
    if (Kind != TValueKind::Integer) throw EConvertError("an integer value is expected");
    return static_cast<int>(Integer);
}

const std::string& TValue::AsString() const {
    if (Kind != TValueKind::String) throw EConvertError("a quoted string is expected");
    return Text;
}

const std::string& TValue::AsIdentifier() const {
    if (Kind != TValueKind::Identifier) throw EConvertError("a name is expected");
    return Text;
}

bool TValue::AsBoolean() const {
    if (Kind == TValueKind::Identifier && Text == "True") return true;
    if (Kind == TValueKind::Identifier && Text == "False") return false;
    throw EConvertError("True or False is expected");
}

int TValue::AsEnum(const std::vector<std::pair<std::string, int>>& names) const {
    const std::string& name = AsIdentifier();
    for (const auto& [text, value] : names)
        if (text == name) return value;
    throw EConvertError(FormatText("'%s' is not a valid value here", {name}));
}

unsigned TValue::AsSet(const std::vector<std::pair<std::string, unsigned>>& names) const {
    if (Kind != TValueKind::Set) throw EConvertError("a set in brackets is expected");
    unsigned bits = 0;
    for (const auto& item : Items) {
        bool found = false;
        for (const auto& [text, value] : names)
            if (text == item) {
                bits |= value;
                found = true;
            }
        if (!found) throw EConvertError(FormatText("'%s' is not a valid set member here", {item}));
    }
    return bits;
}

TColor TValue::AsColor() const {
    static const std::vector<std::pair<std::string, int>> names = {
        {"clBlack", static_cast<int>(clBlack)},         {"clWhite", static_cast<int>(clWhite)},
        {"clRed", static_cast<int>(clRed)},             {"clLime", static_cast<int>(clLime)},
        {"clBlue", static_cast<int>(clBlue)},           {"clFuchsia", static_cast<int>(clFuchsia)},
        {"clBtnFace", static_cast<int>(clBtnFace)},     {"clBtnText", static_cast<int>(clBtnText)},
        {"clWindow", static_cast<int>(clWindow)},       {"clWindowText", static_cast<int>(clWindowText)},
        {"clHighlight", static_cast<int>(clHighlight)}, {"clHighlightText", static_cast<int>(clHighlightText)},
        {"clGrayText", static_cast<int>(clGrayText)},   {"clBtnShadow", static_cast<int>(clBtnShadow)},
        {"clBtnHighlight", static_cast<int>(clBtnHighlight)}, {"clInfoBk", static_cast<int>(clInfoBk)},
        {"clNone", static_cast<int>(clNone)},
    };
    if (Kind == TValueKind::Integer) return static_cast<TColor>(Integer);
    return static_cast<TColor>(AsEnum(names));
}

TNotifyEvent TReadContext::Handler(const TValue& value) const {
    const std::string& name = value.AsIdentifier();
    const TNotifyEvent* handler = root_.FindMethod(name);
    if (!handler) throw EConvertError(FormatText("the form has no event handler named %s", {name}));
    return *handler;
}

void TReadContext::ReferTo(const TValue& value, std::function<void(TComponent*)> assign) {
    references_.push_back({value.AsIdentifier(), value.Line, std::move(assign)});
}

void TReadContext::ResolveReferences() {
    for (auto& reference : references_) {
        TComponent* target = root_.Name() == reference.Name ? &root_ : root_.FindComponent(reference.Name);
        if (!target) throw EDefinitionError(reference.Line, FormatText("no component named %s", {reference.Name}));
        try {
            reference.Assign(target);
        } catch (const EDefinitionError&) {
            throw;
        } catch (const std::exception& e) {   // a component of the wrong kind: reported at its line too
            throw EDefinitionError(reference.Line, e.what());
        }
    }
    references_.clear();
}

TClassRegistry& TClassRegistry::Instance() {
    static auto* registry = new TClassRegistry;
    return *registry;
}

TClassInfo& TClassRegistry::Add(const std::string& name, const std::string& parentName, TComponentFactory factory,
                                std::function<bool(const TComponent&)> isInstance) {
    auto& slot = classes_[name];
    if (!slot) slot = std::make_unique<TClassInfo>();
    slot->Name = name;
    slot->ParentName = parentName;
    slot->Factory = std::move(factory);
    slot->IsInstance = std::move(isInstance);
    return *slot;
}

void TClassRegistry::AddProperty(const std::string& className, const std::string& property, TPropertySetter setter) {
    auto it = classes_.find(className);
    if (it == classes_.end())
        throw EInvalidOperation(FormatText("Class %s is not registered", {className}));
    it->second->Properties[property] = std::move(setter);
}

const TClassInfo* TClassRegistry::Find(const std::string& name) const {
    auto it = classes_.find(name);
    return it == classes_.end() ? nullptr : it->second.get();
}

int TClassRegistry::Depth(const TClassInfo& info) const {
    int depth = 0;
    for (const TClassInfo* c = &info; c && depth < 64; c = Find(c->ParentName)) ++depth;
    return depth;
}

const TClassInfo* TClassRegistry::InfoFor(const TComponent& component) const {
    if (const TClassInfo* exact = Find(component.ClassName())) return exact;
    const TClassInfo* best = nullptr;
    for (const auto& [name, info] : classes_)
        if (info->IsInstance && info->IsInstance(component) && (!best || Depth(*info) > Depth(*best)))
            best = info.get();
    return best;
}

const TPropertySetter* TClassRegistry::FindProperty(const TClassInfo& info, const std::string& property) const {
    int guard = 0;
    for (const TClassInfo* c = &info; c && guard < 64; c = Find(c->ParentName), ++guard) {
        auto it = c->Properties.find(property);
        if (it != c->Properties.end()) return &it->second;
    }
    return nullptr;
}

}  // namespace korvel
