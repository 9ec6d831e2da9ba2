#pragma once
// The page control: the native tab control (SysTabControl32) with a page
// (TTabSheet, a container window) per tab. The tabs stand on one side of the
// control (TabPosition); the active page is shown in the control's display
// area and the others are hidden. The native control keeps the hit testing,
// the keyboard (arrows on the focused tabs) and accessibility; Ctrl+Tab and
// Ctrl+Shift+Tab move to the next or previous page from anywhere inside.
#include <string>
#include <vector>

#include "gui/win_control.h"

namespace korvel {

enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    std::string ClassName() const override { return "TTabSheet"; }

    // The page control the sheet is a page of (its parent), or nullptr.
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* value);
    // The sheet's place among the pages, -1 when it is no page.
    int PageIndex() const;
    void SetParent(TWinControl* parent) override;

protected:
    void SetTextValue(const std::string& value) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    std::string ClassName() const override { return "TPageControl"; }

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    TTabSheet* ActivePage() const { return activePage_; }
    // Shows the page and hides the others; the tab of the page is selected.
    // OnChange is not raised: it tells of the user's changes.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value);
    // The next (or previous) page after the active one, wrapping; raises OnChange.
    void SelectNextPage(bool forward);
    // The tab of a page in client coordinates (as the native control lays it out).
    RECT TabRect(int index);
    // The tab under a client point, -1 for none (asked of the native control).
    int IndexOfTabAt(POINT client);
    // Where the pages lie, in client coordinates.
    RECT DisplayRect();

    // After the user (a click, the keyboard, Ctrl+Tab) made another page active.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void Loaded() override;
    // After the active page changed by the user; raises OnChange.
    virtual void Change();

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageCaptionChanged(TTabSheet* page);
    void ShowActivePage();
    void PlacePages();
    void InsertTab(int index);
    void OnSelectionChanged();

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    TTabPosition tabPosition_ = TTabPosition::tpTop;
};

// Registers TPageControl and TTabSheet with their stored properties (once).
void RegisterPageControlClasses();

}  // namespace korvel
