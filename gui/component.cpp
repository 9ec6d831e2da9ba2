#include "gui/component.h"

#include <algorithm>
#include <cctype>

#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {
namespace {

int liveComponents = 0;

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void TPersistent::Assign(const TPersistent& source) {
    if (source.AssignTo(*this)) return;
    throw EConvertError(FormatText("Cannot assign a %s to a %s", {source.ClassName(), ClassName()}));
}

bool TPersistent::AssignTo(TPersistent&) const { return false; }

TComponent::TComponent(TComponent* owner) {
    ++liveComponents;
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Linked components forget this one before anything of it goes.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        std::erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
    --liveComponents;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;   // its destructor removes it from our list
    }
}

int TComponent::LiveCount() { return liveComponents; }

void TComponent::Destroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EInvalidOperation(FormatText("A component named %s already exists", {name}));
    }
    name_ = name;
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto it = std::find(owner_->components_.begin(), owner_->components_.end(), this);
    return static_cast<int>(it - owner_->components_.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_) component->owner_->RemoveComponent(component);
    Insert(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(components_.begin(), components_.end(), component);
    if (it != components_.end()) components_.erase(it);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
        freeNotifies_.push_back(other);
        other->freeNotifies_.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    std::erase(freeNotifies_, other);
    std::erase(other->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    // Owned components learn of their siblings coming and going, so references
    // between them (a label's focus control, a provider's form) can be cleared.
    if (operation == TOperation::opRemove && (state_ & csDestroying)) return;
    for (TComponent* c : components_)
        if (c != component) c->Notification(component, operation);
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::RegisterMethod(const std::string& name, TNotifyEvent handler) { methods_[name] = std::move(handler); }

const TNotifyEvent* TComponent::FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
}

int TCollectionItem::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

TCollectionItem* TCollection::Add() {
    items_.push_back(factory_(this));
    return items_.back().get();
}

void TCollection::Delete(int index) {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
    items_.erase(items_.begin() + index);
}

int TCollection::IndexOf(const TCollectionItem* item) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
}

void TCollection::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TCollection*>(&source);
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    items_.clear();
    for (const auto& item : other->items_) Add()->Assign(*item);
}

}  // namespace korvel
