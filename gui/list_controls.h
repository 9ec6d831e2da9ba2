#pragma once
// TListBox: the native LISTBOX with its items kept by the control, so that
// they survive a re-created window and can be set before there is one.
#include <string>
#include <vector>

#include "gui/std_controls.h"
#include "gui/win_control.h"

namespace korvel {

class TListBox;

// The items of a list box, in order.
class TListBoxItems {
public:
    explicit TListBoxItems(TListBox& box) : box_(box) {}
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EInvalidOperation for an index outside the list.
    const std::string& Strings(int index) const;
    // Answers the new item's index.
    int Add(const std::string& item);
    void Insert(int index, const std::string& item);
    void Delete(int index);
    void Clear();
    void Assign(const std::vector<std::string>& items);
    int IndexOf(const std::string& item) const;

private:
    friend class TListBox;
    TListBox& box_;
    std::vector<std::string> items_;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    std::string ClassName() const override { return "TListBox"; }
    TListBoxItems& Items() { return items_; }
    const TListBoxItems& Items() const { return items_; }

    // The selected item (with MultiSelect: the item with the focus rectangle); -1 for none.
    int ItemIndex() const;
    // -1 clears the selection; another index outside the list throws EInvalidOperation.
    void SetItemIndex(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    // The first item shown.
    int TopIndex() const;
    void SetTopIndex(int value);
    // The height of a row as the window lays it out (0 without a window).
    int ItemHeight() const;
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;

private:
    friend class TListBoxItems;
    HWND LiveHandle() const;
    void CheckIndex(int index, bool allowEnd) const;
    // Remembers what the window holds that the control keeps across a re-creation.
    void KeepSelection();

    TListBoxItems items_{*this};
    bool multiSelect_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    int itemIndex_ = -1;
    int topIndex_ = 0;
    std::vector<bool> selected_;   // MultiSelect: kept while there is no window
};

// Registers TListBox and its stored properties (once).
void RegisterListControlClasses();

}  // namespace korvel
