#include "gui/definition_reader.h"

#include <vector>

#include "gui/class_registry.h"
#include "gui/control.h"
#include "gui/definition_parser.h"
#include "gui/exceptions.h"
#include "gui/text.h"
#include "gui/win_control.h"

namespace korvel {
namespace {

TValueKind KindOf(TDefinitionValueKind kind) {
    switch (kind) {
    case TDefinitionValueKind::Integer:     return TValueKind::Integer;
    case TDefinitionValueKind::String:      return TValueKind::String;
    case TDefinitionValueKind::Identifier:  return TValueKind::Identifier;
    case TDefinitionValueKind::Set:         return TValueKind::Set;
    case TDefinitionValueKind::StringList:  return TValueKind::StringList;
    case TDefinitionValueKind::Resource:    return TValueKind::Resource;
    case TDefinitionValueKind::Collection:  return TValueKind::Collection;
    }
    return TValueKind::Integer;
}

// The registry's view of a parsed value; collections nest no deeper than the
// parser allows.
TValue ToValue(const TDefinitionValue& parsed) {
    TValue value;
    value.Kind = KindOf(parsed.Kind);
    value.Integer = parsed.Integer;
    value.Text = parsed.Text;
    value.Items = parsed.Items;
    value.Line = parsed.Line;
    for (const auto& parsedItem : parsed.CollectionItems) {
        auto& item = value.CollectionItems.emplace_back();
        for (const auto& assignment : parsedItem) item.push_back({assignment.Name, ToValue(assignment.Value)});
    }
    return value;
}

[[noreturn]] void Fail(int line, const std::string& problem) { throw EDefinitionError(line, problem); }

class TReader {
public:
    TReader(TComponent& root, HMODULE module) : root_(root), context_(root, module) {}

    void Read(const TDefinitionObject& definition) {
        root_.SetLoading();
        ReadObject(definition, &root_, nullptr);
        context_.ResolveReferences();
        // Stored tab orders name places among all siblings, so they wait for the last one.
        if (auto* root = dynamic_cast<TWinControl*>(&root_)) root->ApplyStoredTabOrders();
        for (TComponent* c : created_)
            if (auto* container = dynamic_cast<TWinControl*>(c)) container->ApplyStoredTabOrders();
        for (TComponent* c : created_) c->EndReading();
        root_.EndReading();
        for (TComponent* c : created_) c->Loaded();
        root_.Loaded();
    }

private:
    // Target is the component to read into (the root), or nullptr to create
    // one owned by the root with Parent as its parent.
    void ReadObject(const TDefinitionObject& object, TComponent* target, TComponent* parent) {
        auto& registry = TClassRegistry::Instance();
        const TClassInfo* info = nullptr;
        if (target) {
            info = registry.InfoFor(*target);
            if (!info) Fail(object.Line, FormatText("class %s is not registered", {object.ClassName}));
            if (object.ClassName != target->ClassName() && object.ClassName != info->Name)
                Fail(object.Line, FormatText("the root is a %s, not a %s", {target->ClassName(), object.ClassName}));
            Assign(object.Line, [&] { target->SetName(object.Name); });
        } else {
            info = registry.Find(object.ClassName);
            if (!info || !info->Factory) Fail(object.Line, FormatText("unknown class %s", {object.ClassName}));
            target = info->Factory(&root_);
            target->SetLoading();
            created_.push_back(target);
            Assign(object.Line, [&] { target->SetName(object.Name); });
            if (auto* control = dynamic_cast<TControl*>(target); control && parent) {
                auto* container = dynamic_cast<TWinControl*>(parent);
                if (!container)
                    Fail(object.Line, FormatText("%s cannot hold the control %s", {parent->Name(), object.Name}));
                control->SetParent(container);
            } else if (parent) {
                Assign(object.Line, [&] { target->SetParentComponent(parent); });
            }
        }

        VisitInFileOrder(
            object, [&](const TDefinitionAssignment& property) { ReadProperty(*target, *info, property); },
            [&](const TDefinitionObject& child) { ReadObject(child, nullptr, target); });
    }

    void ReadProperty(TComponent& target, const TClassInfo& info, const TDefinitionAssignment& assignment) {
        const int line = assignment.Value.Line;
        const TPropertySetter* setter = TClassRegistry::Instance().FindProperty(info, assignment.Name);
        if (!setter) Fail(line, FormatText("unknown property %s of %s", {assignment.Name, target.ClassName()}));
        TValue value = ToValue(assignment.Value);
        Assign(line, [&] { (*setter)(target, value, context_); });
    }

    // Runs a setter; whatever it throws is reported with the line it came from.
    template <class F>
    void Assign(int line, F&& apply) {
        try {
            apply();
        } catch (const EDefinitionError&) {
            throw;
        } catch (const std::exception& e) {
            Fail(line, e.what());
        }
    }

    TComponent& root_;
    TReadContext context_;
    std::vector<TComponent*> created_;
};

}  // namespace

void ReadComponentDefinition(TComponent& root, const std::string& text, HMODULE module) {
    TDefinitionObject definition = ParseDefinition(text);
    RegisterFrameworkClasses();
    TReader reader(root, module ? module : GetModuleHandleW(nullptr));
    reader.Read(definition);
}

}  // namespace korvel
