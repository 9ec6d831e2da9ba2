// The page control and its pages.
#include "gui/page_controls.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/messages.h"
#include "gui/text.h"

namespace korvel {

namespace {

// The tab control's class comes with the common controls, which must be loaded first.
void LoadTabControlClass() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)loaded;
}

DWORD TabPositionStyle(TTabPosition position) {
    switch (position) {
    case TTabPosition::tpTop:    return 0;
    case TTabPosition::tpBottom: return TCS_BOTTOM;
    case TTabPosition::tpLeft:   return TCS_VERTICAL | TCS_MULTILINE;
    case TTabPosition::tpRight:  return TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
    }
    return 0;
}

}  // namespace

// ---- TTabSheet --------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    // Hidden until its page control shows it as the active page.
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    Destroying();
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (pageControl_) pageControl_->RemovePage(this);
    pageControl_ = nullptr;
    TWinControl::SetParent(parent);
    if (auto* pages = dynamic_cast<TPageControl*>(parent)) {
        pageControl_ = pages;
        pages->InsertPage(this);
    }
}

void TTabSheet::SetTextValue(const std::string& value) {
    TWinControl::SetTextValue(value);
    if (pageControl_) pageControl_->PageCaptionChanged(this);
}

// ---- TPageControl -----------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    Destroying();
    // The pages are children: they leave before the tabs do.
    DestroyComponents();
    for (TTabSheet* page : pages_) page->pageControl_ = nullptr;
    pages_.clear();
}

void TPageControl::CreateParams(TCreateParams& params) {
    LoadTabControlClass();
    TWinControl::CreateParams(params);
    params.WinClassName = WC_TABCONTROLW;
    params.SystemClass = true;
    params.Style |= WS_CLIPCHILDREN | TabPositionStyle(tabPosition_);
}

void TPageControl::HandleCreated() {
    for (int i = 0; i < PageCount(); ++i) InsertTab(i);
    ShowActivePage();
}

void TPageControl::Loaded() {
    TWinControl::Loaded();
    if (!activePage_ && !pages_.empty()) activePage_ = pages_.front();
    ShowActivePage();
}

void TPageControl::InsertTab(int index) {
    if (!HandleAllocated()) return;
    std::wstring text = Widen(Pages(index)->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    InsertTab(PageCount() - 1);
    if (!activePage_) activePage_ = page;
    ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
    const auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (HandleAllocated()) SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
    if (activePage_ == page) activePage_ = pages_.empty() ? nullptr : pages_[std::min<std::size_t>(index, pages_.size() - 1)];
    if (!InState(csDestroying)) ShowActivePage();
}

void TPageControl::PageCaptionChanged(TTabSheet* page) {
    const int index = page->PageIndex();
    if (index < 0 || !HandleAllocated()) return;
    std::wstring text = Widen(page->Caption());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    PlacePages();   // a longer caption may take another row of tabs
}

int TPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    if (page == activePage_) return;
    activePage_ = page;
    ShowActivePage();
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

void TPageControl::SetTabPosition(TTabPosition value) {
    if (value == tabPosition_) return;
    tabPosition_ = value;
    RecreateWnd();
    PlacePages();
}

void TPageControl::SelectNextPage(bool forward) {
    if (pages_.empty()) return;
    const int count = PageCount();
    const int from = std::max(ActivePageIndex(), 0);
    const int next = (from + (forward ? 1 : count - 1)) % count;
    if (next == ActivePageIndex()) return;
    SetActivePageIndex(next);
    Change();
}

RECT TPageControl::TabRect(int index) {
    RECT r{};
    if (index >= 0 && index < PageCount()) SendMessageW(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int TPageControl::IndexOfTabAt(POINT client) {
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO info{client, 0};
    return static_cast<int>(SendMessageW(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

RECT TPageControl::DisplayRect() {
    RECT r = ClientRect();
    if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::PlacePages() {
    if (!HandleAllocated()) return;
    const RECT r = DisplayRect();
    for (TTabSheet* page : pages_) page->SetBounds(r.left, r.top, std::max(0L, r.right - r.left), std::max(0L, r.bottom - r.top));
}

void TPageControl::ShowActivePage() {
    if (InState(csLoading) || InState(csDestroying)) return;
    if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    PlacePages();
    // The new page first, so that the control never shows an empty display area.
    if (activePage_) activePage_->SetVisible(true);
    for (TTabSheet* page : pages_)
        if (page != activePage_) page->SetVisible(false);
}

void TPageControl::OnSelectionChanged() {
    const int index = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
    if (index == ActivePageIndex()) return;
    SetActivePageIndex(index);
    Change();
}

void TPageControl::Change() {
    if (OnChange) OnChange(this);
}

void TPageControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(m.LParam)->code == TCN_SELCHANGE) OnSelectionChanged();
        return;
    case CM_CHILDKEY:
    case CN_KEYDOWN:
        // Ctrl+Tab and Ctrl+Shift+Tab, from the tabs or from anything on a page.
        if (m.WParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000)) {
            SelectNextPage(!(GetKeyState(VK_SHIFT) & 0x8000));
            m.Result = 1;
            return;
        }
        break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_SIZE) PlacePages();
}

// ---- registration -----------------------------------------------------------------

void RegisterPageControlClasses() {
    static const bool registered = [] {
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TPageControl>("TPageControl", "TWinControl");
        r.RegisterClass<TTabSheet>("TTabSheet", "TWinControl");
        r.RegisterProperty<TPageControl>("TPageControl", "TabPosition", [](TPageControl& c, const TValue& v, TReadContext&) {
            c.SetTabPosition(static_cast<TTabPosition>(
                v.AsEnum({{"tpTop", 0}, {"tpBottom", 1}, {"tpLeft", 2}, {"tpRight", 3}})));
        });
        r.RegisterProperty<TPageControl>("TPageControl", "ActivePage", [](TPageControl& c, const TValue& v, TReadContext& context) {
            context.ReferTo(v, [&c](TComponent* target) {
                auto* page = dynamic_cast<TTabSheet*>(target);
                if (!page) throw EConvertError(FormatText("%s is not a tab sheet", {target->Name()}));
                c.SetActivePage(page);
            });
        });
        r.RegisterProperty<TPageControl>("TPageControl", "OnChange", [](TPageControl& c, const TValue& v, TReadContext& context) {
            c.OnChange = context.Handler(v);
        });
        r.RegisterProperty<TTabSheet>("TTabSheet", "PageControl", [](TTabSheet& s, const TValue& v, TReadContext& context) {
            context.ReferTo(v, [&s](TComponent* target) {
                auto* pages = dynamic_cast<TPageControl*>(target);
                if (!pages) throw EConvertError(FormatText("%s is not a page control", {target->Name()}));
                s.SetPageControl(pages);
            });
        });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
