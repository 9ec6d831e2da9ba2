#include "gui/actions.h"

#include <algorithm>

#include "gui/control.h"
#include "gui/exceptions.h"

namespace korvel {
namespace {

// Every live action list, in creation order, for the idle pass.
std::vector<TActionList*>& LiveLists() {
    static std::vector<TActionList*> lists;
    return lists;
}

}  // namespace

// ---- TAction ----------------------------------------------------------------------

TAction::TAction(TComponent* owner) : TComponent(owner) {
    if (auto* list = dynamic_cast<TActionList*>(owner)) SetActionList(list);
}

TAction::~TAction() {
    // The controls forget the action before any of it goes.
    while (!clients_.empty()) clients_.back()->SetAction(nullptr);
    SetActionList(nullptr);
}

void TAction::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TAction::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TAction::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    Changed();
}

void TAction::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

void TAction::SetHint(const std::string& value) {
    if (value == hint_) return;
    hint_ = value;
    Changed();
}

bool TAction::Execute() {
    if (!enabled_ || !OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TAction::SetActionList(TActionList* list) {
    if (list == actionList_) return;
    if (actionList_) {
        std::erase(actionList_->actions_, this);
        RemoveFreeNotification(actionList_);
    }
    actionList_ = list;
    if (list) {
        list->actions_.push_back(this);
        FreeNotification(list);
    }
}

void TAction::SetParentComponent(TComponent* parent) {
    auto* list = dynamic_cast<TActionList*>(parent);
    if (!list) throw EInvalidOperation(parent->Name() + " cannot hold the action " + Name());
    SetActionList(list);
}

void TAction::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == actionList_) actionList_ = nullptr;
    std::erase(clients_, component);
}

void TAction::AddClient(TControl* control) {
    clients_.push_back(control);
    FreeNotification(control);
}

void TAction::RemoveClient(TControl* control) {
    std::erase(clients_, control);
    RemoveFreeNotification(control);
}

void TAction::Changed() {
    // A client's answer may unlink it (or another): walk a copy, skip the gone.
    const std::vector<TControl*> clients = clients_;
    for (TControl* client : clients)
        if (std::find(clients_.begin(), clients_.end(), client) != clients_.end()) client->ActionChanged(*this);
}

// ---- TActionList ------------------------------------------------------------------

TActionList::TActionList(TComponent* owner) : TComponent(owner) { LiveLists().push_back(this); }

TActionList::~TActionList() {
    std::erase(LiveLists(), this);
    while (!actions_.empty()) delete actions_.back();   // its destructor leaves the list
}

void TActionList::UpdateActions() {
    if (OnUpdate) OnUpdate(this);
    const std::vector<TAction*> actions = actions_;   // a handler may free an action
    for (TAction* action : actions)
        if (std::find(actions_.begin(), actions_.end(), action) != actions_.end()) action->Update();
}

void TActionList::UpdateAll() {
    const std::vector<TActionList*> lists = LiveLists();   // a handler may free a list
    for (TActionList* list : lists)
        if (std::find(LiveLists().begin(), LiveLists().end(), list) != LiveLists().end()) list->UpdateActions();
}

}  // namespace korvel
