#pragma once
// The classes a stored window definition may name: a factory per class and a
// setter per property. Open to every folder: the skinned controls and the
// launcher register their own classes next to the framework's.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "gui/colors.h"
#include "gui/component.h"

namespace korvel {

struct TNamedValue;

enum class TValueKind { Integer, String, Identifier, Set, StringList, Resource, Collection };

// One property value as the definition writes it.
struct TValue {
    TValueKind Kind = TValueKind::Integer;
    long long Integer = 0;
    std::string Text;                    // String, Identifier, Resource (the resource name)
    std::vector<std::string> Items;      // Set members, StringList lines
    // Collection: one list of property assignments per item, in file order.
    std::vector<std::vector<TNamedValue>> CollectionItems;
    int Line = 0;

    // Each throws EConvertError when the value is of another kind.
    int AsInteger() const;
    const std::string& AsString() const;
    bool AsBoolean() const;
    const std::string& AsIdentifier() const;
    // An identifier from a table of enumeration names.
    int AsEnum(const std::vector<std::pair<std::string, int>>& names) const;
    // A set of enumeration names, as the OR of their bits.
    unsigned AsSet(const std::vector<std::pair<std::string, unsigned>>& names) const;
    // An integer, or a colour name (clBlack, clBtnFace, clNone, ...) as the
    // framework's colour of that name.
    TColor AsColor() const;
};

struct TNamedValue {
    std::string Name;
    TValue Value;
};

// What a setter may need beyond the value: the root (event handlers, component
// references), the module holding binary resources, deferred references.
class TReadContext {
public:
    TReadContext(TComponent& root, HMODULE module) : root_(root), module_(module) {}
    TComponent& Root() const { return root_; }
    HMODULE Module() const { return module_; }
    // The handler of the root named by an identifier value; throws when missing.
    TNotifyEvent Handler(const TValue& value) const;
    // Resolves a component name once the whole definition is read.
    void ReferTo(const TValue& value, std::function<void(TComponent*)> assign);
    void ResolveReferences();

private:
    struct TReference {
        std::string Name;
        int Line;
        std::function<void(TComponent*)> Assign;
    };
    TComponent& root_;
    HMODULE module_;
    std::vector<TReference> references_;
};

using TPropertySetter = std::function<void(TComponent& target, const TValue& value, TReadContext& context)>;
using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

struct TClassInfo {
    std::string Name;
    std::string ParentName;
    TComponentFactory Factory;                        // empty: only a root, never created by a definition
    std::function<bool(const TComponent&)> IsInstance;
    std::map<std::string, TPropertySetter> Properties;
};

class TClassRegistry {
public:
    static TClassRegistry& Instance();

    template <class T>
    TClassInfo& RegisterClass(const std::string& name, const std::string& parentName, bool creatable = true) {
        TComponentFactory factory;
        if (creatable) factory = [](TComponent* owner) -> TComponent* { return new T(owner); };
        return Add(name, parentName, std::move(factory),
                   [](const TComponent& c) {
                       if constexpr (std::is_same_v<T, TComponent>) return true;
                       else return dynamic_cast<const T*>(&c) != nullptr;
                   });
    }

    template <class T>
    void RegisterProperty(const std::string& className, const std::string& property,
                          std::function<void(T&, const TValue&, TReadContext&)> setter) {
        AddProperty(className, property, [setter = std::move(setter)](TComponent& c, const TValue& v, TReadContext& r) {
            setter(dynamic_cast<T&>(c), v, r);
        });
    }

    const TClassInfo* Find(const std::string& name) const;
    // The class of a component: its own name if registered, else the most
    // derived registered class it is an instance of.
    const TClassInfo* InfoFor(const TComponent& component) const;
    // The setter of a property, looked up through the parent classes.
    const TPropertySetter* FindProperty(const TClassInfo& info, const std::string& property) const;

    TClassInfo& Add(const std::string& name, const std::string& parentName, TComponentFactory factory,
                    std::function<bool(const TComponent&)> isInstance);
    void AddProperty(const std::string& className, const std::string& property, TPropertySetter setter);

private:
    int Depth(const TClassInfo& info) const;
    std::map<std::string, std::unique_ptr<TClassInfo>> classes_;
};

// Registers the framework's own classes (forms, controls, dialogs, timers) once.
void RegisterFrameworkClasses();

}  // namespace korvel
