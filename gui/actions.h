#pragma once
// Actions: one command (its caption, whether it is enabled, checked and
// visible, and what it does) that several controls show and run. A control
// linked to an action (TControl::SetAction) takes the action's properties at
// once and again at every change of them; clicking it executes the action
// unless the control has an OnClick of its own, which then runs instead.
// A TActionList collects actions; every list updates its actions (OnUpdate)
// each time the application's message loop goes idle.
#include <string>
#include <vector>

#include "gui/component.h"

namespace korvel {

class TActionList;
class TControl;

class TAction : public TComponent {
public:
    // An action created with a list as its owner joins that list.
    explicit TAction(TComponent* owner);
    ~TAction() override;
    std::string ClassName() const override { return "TAction"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);

    // Runs OnExecute; false when the action is disabled or has no handler.
    bool Execute();
    // Runs OnUpdate (the handler sets Enabled, Checked, ... from the program's
    // state); false when there is none.
    bool Update();
    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list);
    // A definition nests an action's object in its list's.
    void SetParentComponent(TComponent* parent) override;

    // The controls that show this action, in the order they linked.
    int ClientCount() const { return static_cast<int>(clients_.size()); }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TControl;   // links and unlinks itself
    void AddClient(TControl* control);
    void RemoveClient(TControl* control);
    void Changed();

    std::string caption_;
    std::string hint_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    TActionList* actionList_ = nullptr;
    std::vector<TControl*> clients_;
};

// Collects actions. Freeing the list frees the actions it holds.
class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner);
    ~TActionList() override;
    std::string ClassName() const override { return "TActionList"; }

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TAction* Actions(int index) const { return actions_.at(static_cast<size_t>(index)); }
    // Runs every action's OnUpdate (and the list's own OnUpdate first).
    void UpdateActions();
    TNotifyEvent OnUpdate;

    // Every live list's UpdateActions: the application calls it when idle.
    static void UpdateAll();

private:
    friend class TAction;
    std::vector<TAction*> actions_;
};

}  // namespace korvel
