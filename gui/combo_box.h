#pragma once
// TComboBox: the native COMBOBOX, of the edit kind (csDropDown: an edit field
// with a drop-down list) or the list kind (csDropDownList: the face shows the
// chosen item). The items, the chosen index and the text are kept here too, so
// that they survive a window being created again.
#include <string>
#include <vector>

#include "gui/win_control.h"

namespace korvel {

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox;

// The items of a combo box, in order; with a window, each change goes to it at once.
class TComboBoxItems {
public:
    explicit TComboBoxItems(TComboBox& combo) : combo_(combo) {}
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EInvalidOperation for an index outside the list.
    const std::string& Strings(int index) const;
    void Add(const std::string& item);
    void Clear();
    void Assign(const std::vector<std::string>& items);
    // The index of the item equal to text (exactly), or -1.
    int IndexOf(const std::string& text) const;

private:
    friend class TComboBox;
    TComboBox& combo_;
    std::vector<std::string> items_;
};

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    std::string ClassName() const override { return "TComboBox"; }

    TComboBoxStyle Style() const { return style_; }
    // The kind is fixed when Win32 creates the window: a change creates it again.
    void SetStyle(TComboBoxStyle value);
    TComboBoxItems& Items() { return items_; }
    const TComboBoxItems& Items() const { return items_; }
    // The chosen item, -1 for none. Setting it changes the text without OnChange.
    int ItemIndex() const;
    void SetItemIndex(int value);
    // How many items the open list shows before it scrolls (at least 1).
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    // Whether the list is open now.
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    // Raised when the user changes the text: typing into the edit kind, or
    // choosing another item from the list (mouse or keys). Not for the program's
    // own changes, nor while the definition is read.
    TNotifyEvent OnChange;
    // The list opened and closed.
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    // A derived combo that draws its items itself answers true; it is asked when
    // the window is created, and gets DrawItem for every item Win32 would draw.
    virtual bool OwnerDrawn() const { return false; }
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // The height of one item of the list (and of the face's text) in the control's font.
    int ItemHeight();

private:
    friend class TComboBoxItems;
    void OnSelectionChanged();
    void OnEditChanged();
    void OnDroppedDown();
    void OnClosedUp();
    // Enter takes the item chosen in the open list, Escape closes it without change.
    bool AnswerDialogKey(TMessage& m);
    void RestoreDroppedChoice();
    void OnMeasureItem(TMessage& m);
    void ApplyDropDownCount();
    std::string SelectedItemText() const;

    TComboBoxItems items_{*this};
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int itemIndex_ = -1;          // kept while there is no window
    int dropDownCount_ = 8;
    std::string announced_;      // the text OnChange last told of (or that the program set)
    // While the list is open a move through it is not yet a choice: it becomes
    // one when the list closes with the item taken, and is undone when it closes
    // without (Escape, a click elsewhere).
    enum class TClosing { None, Take, Undo };
    bool dropped_ = false;
    TClosing closing_ = TClosing::None;
    int droppedIndex_ = -1;
    std::string droppedText_;
};

// Registers TComboBox and its stored properties (once).
void RegisterComboBoxClass();

}  // namespace korvel
