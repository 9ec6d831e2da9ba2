#pragma once
// Components: the owner tree, names, component state and insert/remove
// notifications; persistent (assignable) objects and owning collections.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korvel {

class TObject {
public:
    virtual ~TObject() = default;
    // The class name as a stored definition names it ("TButton", "TForm1").
    virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies Source's values; throws EConvertError when the kinds do not match.
    virtual void Assign(const TPersistent& source);

protected:
    // The reverse direction, tried by Assign when the receiver does not know Source.
    virtual bool AssignTo(TPersistent& dest) const;
};

enum TComponentStateFlag : std::uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,   // never set in this program; code may still ask
};
using TComponentState = std::uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    // Throws EInvalidOperation for a name the owner already holds (case-insensitive).
    void SetName(const std::string& name);

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;

    TComponentState ComponentState() const { return state_; }
    bool InState(TComponentState flags) const { return (state_ & flags) != 0; }
    void SetLoading() { state_ |= csLoading | csReading; }
    void EndReading() { state_ &= ~csReading; }

    // Moves the component to another owner (nullptr: nobody frees it).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Links this component and other both ways: whichever is freed first tells
    // the other through Notification(opRemove), whatever their owners, so a
    // reference across owners can be cleared. RemoveFreeNotification unlinks.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Called once after a stored definition was read into the component.
    virtual void Loaded();
    // A stored definition nests this component's object in Parent's (a menu
    // item in its menu); the default keeps nothing of it.
    virtual void SetParentComponent(TComponent* parent) { (void)parent; }

    // Event handlers a stored definition binds by name ("btnrootgenClick").
    void RegisterMethod(const std::string& name, TNotifyEvent handler);
    const TNotifyEvent* FindMethod(const std::string& name) const;

    // Live components, for leak checks in tests.
    static int LiveCount();

protected:
    // Told of every component inserted into or removed from the owner's list.
    virtual void Notification(TComponent* component, TOperation operation);
    // Sets csDestroying on this component and everything it owns.
    void Destroying();
    // Frees every owned component, last created first. Derived destructors call
    // it first, so owned components go while their owner is still whole.
    void DestroyComponents();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;   // owned, in creation order
    std::vector<TComponent*> freeNotifies_;  // linked by FreeNotification, both ways
    TComponentState state_ = 0;
    std::map<std::string, TNotifyEvent> methods_;
};

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection) : collection_(collection) {}
    std::string ClassName() const override { return "TCollectionItem"; }
    TCollection* Collection() const { return collection_; }
    int Index() const;

private:
    TCollection* collection_;
};

// An ordered list that owns its items and knows its owner.
class TCollection : public TPersistent {
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;
    TCollection(TPersistent* owner, TItemFactory factory) : owner_(owner), factory_(std::move(factory)) {}
    std::string ClassName() const override { return "TCollection"; }

    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
    TCollectionItem* Add();
    void Delete(int index);
    void Clear() { items_.clear(); }
    int IndexOf(const TCollectionItem* item) const;

    void Assign(const TPersistent& source) override;

private:
    TPersistent* owner_;
    TItemFactory factory_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};

}  // namespace korvel
