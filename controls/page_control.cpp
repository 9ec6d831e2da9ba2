// The skinned page control and its pages.
#include "controls/page_control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "gui/text.h"
#include "paint/blend.h"
#include "paint/item.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

namespace {

bool SkinIsActive(const TsCommonData& data) {
    const TsSkinManager* manager = data.SkinManager();
    return manager && manager->SkinData().Active;
}

TRect ToTRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Section skinIndex in state painted over what cache holds at rect, turned as turn says.
void PaintTurnedSection(TBitmap24& cache, const TsSkinTables* tables, int skinIndex, TRect rect, int state, TTurn turn) {
    if (rect.IsEmpty()) return;
    TBitmap24 backdrop = TakeUpright(cache, rect, turn);
    TBitmap24 look(backdrop.Width(), backdrop.Height());
    PaintSection(skinIndex, TParentBackground{&backdrop, 0, 0, true}, tables, look, {0, 0},
                 {0, 0, look.Width(), look.Height()}, state, true);
    PutTurned(look, cache, rect, turn);
}

// The windowed control's DC work around a skinned paint: begin and end
// painting (or the DC in WParam), the DC saved and restored, csCustomPaint on.
class TSkinnedPaint {
public:
    TSkinnedPaint(TWinControl& control, TMessage& m) : control_(control), own_(m.WParam == 0) {
        dc_ = own_ ? BeginPaint(control.Handle(), &ps_) : reinterpret_cast<HDC>(m.WParam);
        control_.SetControlState(control_.ControlState() | csCustomPaint);
        saved_ = SaveDC(dc_);
    }
    ~TSkinnedPaint() {
        RestoreDC(dc_, saved_);
        control_.SetControlState(control_.ControlState() & ~csCustomPaint);
        if (own_) EndPaint(control_.Handle(), &ps_);
    }
    TSkinnedPaint(const TSkinnedPaint&) = delete;
    TSkinnedPaint& operator=(const TSkinnedPaint&) = delete;
    HDC DC() const { return dc_; }

private:
    TWinControl& control_;
    bool own_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
    int saved_ = 0;
};

}  // namespace

const char* TabSectionOf(TTabPosition position) {
    switch (position) {
    case TTabPosition::tpTop:    return "TABTOP";
    case TTabPosition::tpBottom: return "TABBOTTOM";
    case TTabPosition::tpLeft:   return "TABLEFT";
    case TTabPosition::tpRight:  return "TABRIGHT";
    }
    return "TABTOP";
}

TTurn LentTabTurn(TTabPosition position) {
    switch (position) {
    case TTabPosition::tpTop:    return TTurn::None;
    case TTabPosition::tpBottom: return TTurn::FlipVertical;
    case TTabPosition::tpLeft:   return TTurn::Left;
    case TTabPosition::tpRight:  return TTurn::Right;
    }
    return TTurn::None;
}

TTurn CaptionTurn(TTabPosition position) {
    switch (position) {
    case TTabPosition::tpLeft:  return TTurn::Left;
    case TTabPosition::tpRight: return TTurn::Right;
    default:                    return TTurn::None;
    }
}

// ---- TsTabSheet -------------------------------------------------------------------

TsTabSheet::TsTabSheet(TComponent* owner) : TTabSheet(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
    skinData_->ControlCode = ccTabSheet;
    // The page's colour for its children is the page area's: the page control's section.
    skinData_->SetSkinSection("PAGECONTROL");
    skinData_->Loaded();
}

TsTabSheet::~TsTabSheet() {
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsTabSheet::Loaded() {
    TTabSheet::Loaded();
    skinData_->Loaded();
}

void TsTabSheet::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    if (background.Ready && background.Bitmap) {
        const TRect under = TRect{0, 0, Width(), Height()}.Offset(Left() + background.OffsetX, Top() + background.OffsetY);
        PutTurned(TakeUpright(*background.Bitmap, under, TTurn::None), cache, {0, 0, Width(), Height()}, TTurn::None);
    } else if (Parent()) {
        FillDC(cache, {0, 0, Width(), Height()}, ColorToRGB(Parent()->Color()));
    }
    data.BackgroundChanged = false;
}

void TsTabSheet::PaintSkinned(HDC dc) {
    TsCommonData& data = *skinData_;
    data.Updating = data.IsUpdating();
    if (data.Updating) return;
    if (data.BackgroundChanged) RebuildCache();
    data.CopyCacheToDC(this, RECT{0, 0, 0, 0}, false, dc, RECT{0, 0, Width(), Height()});
    PaintGraphicChildren(dc, this);
    NotifyChildrenParentUpdated(this);
}

bool TsTabSheet::Skinned() const {
    // The page shows its page control's pixels: it is skinned exactly when that is.
    const auto* pages = dynamic_cast<const TsPageControl*>(Parent());
    return pages && pages->Skinned() && skinData_ && skinData_->IsSkinned(false);
}

void TsTabSheet::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (!ControlIsReady(this) || !Skinned()) return TTabSheet::WndProc(m);
    if (m.Msg == SM_ALPHACMD) return OnSkinCommand(m);
    switch (m.Msg) {
    case WM_PAINT:      return OnPaintMessage(m);
    case WM_ERASEBKGND: m.Result = 1; return;   // the cache covers every pixel
    case CM_VISIBLECHANGED:
        skinData_->BackgroundChanged = true;   // the page control may have changed while the page was hidden
        break;
    }
    skinData_->CommonWndProc(m);
    TTabSheet::WndProc(m);
}

bool TsTabSheet::OnSkinAnnouncement(TMessage& m) {
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Changing = [this, &m] { BroadcastSkinMessage(this, m); },
        .Removed =
            [this, &m] {
                TTabSheet::Invalidate();
                BroadcastSkinMessage(this, m);
            },
        .Applied = [this, &m] { BroadcastSkinMessage(this, m); },
    });
}

void TsTabSheet::OnSkinCommand(TMessage& m) {
    TsCommonData& data = *skinData_;
    switch (SkinCommandOf(m.WParam)) {
    case SMC_PARENTUPDATED:
        // The page control painted; the page follows when its picture of it is stale.
        if (data.Updating || data.BackgroundChanged) {
            data.Updating = false;
            Repaint();
        }
        return;
    case SMC_QUERYUPDATING:
        m.LParam = (data.BackgroundChanged || data.IsUpdating()) ? 1 : 0;
        m.Result = 1;
        return;
    }
    data.HandleSkinCommand(m);
}

void TsTabSheet::OnPaintMessage(TMessage& m) {
    if (!Visible()) return TTabSheet::WndProc(m);
    TSkinnedPaint paint(*this, m);
    PaintSkinned(paint.DC());
}

// ---- TsPageControl ----------------------------------------------------------------

TsPageControl::TsPageControl(TComponent* owner)
    : TPageControl(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
    skinData_->ControlCode = ccPageControl;
    skinData_->Loaded();
}

TsPageControl::~TsPageControl() {
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsPageControl::Loaded() {
    TPageControl::Loaded();
    skinData_->Loaded();
}

RECT TsPageControl::PageRect() {
    RECT page = ClientRect();
    for (int i = 0; i < PageCount(); ++i) {
        const RECT t = TabRect(i);
        switch (TabPosition()) {
        case TTabPosition::tpTop:    page.top = std::max(page.top, t.bottom); break;
        case TTabPosition::tpBottom: page.bottom = std::min(page.bottom, t.top); break;
        case TTabPosition::tpLeft:   page.left = std::max(page.left, t.right); break;
        case TTabPosition::tpRight:  page.right = std::min(page.right, t.left); break;
        }
    }
    return page;
}

RECT TsPageControl::PaintedTabRect(int index) {
    RECT r = TabRect(index);
    if (index != ActivePageIndex()) return r;
    switch (TabPosition()) {
    case TTabPosition::tpTop:    r.bottom += kSelectedTabJoin; break;
    case TTabPosition::tpBottom: r.top -= kSelectedTabJoin; break;
    case TTabPosition::tpLeft:   r.right += kSelectedTabJoin; break;
    case TTabPosition::tpRight:  r.left -= kSelectedTabJoin; break;
    }
    return r;
}

void TsPageControl::PaintTab(TBitmap24& cache, int index, HFONT font) {
    const TsSkinTables* tables = skinData_->Tables();
    const TTabPosition side = TabPosition();
    int section = tables->SectionIndexOf(TabSectionOf(side));
    TTurn turn = TTurn::None;
    if (!tables->IsValidSectionIndex(section)) {
        section = tables->SectionIndexOf("TABTOP");
        turn = LentTabTurn(side);
    }
    if (!tables->IsValidSectionIndex(section)) return;
    const int state = index == ActivePageIndex() ? 2 : index == hotTab_ ? 1 : 0;
    PaintTurnedSection(cache, tables, section, ToTRect(PaintedTabRect(index)), state, turn);

    // The caption, in the place the native control gives the tab, read along the tab.
    const TRect place = ToTRect(TabRect(index));
    const TTurn captionTurn = CaptionTurn(side);
    TBitmap24 upright = TakeUpright(cache, place, captionTurn);
    {
        TCacheDC dc(upright);
        if (!dc.Handle()) return;
        TGdiTextCanvas canvas(dc.Handle(), font, ColorToRGB(Font().Color()));
        TRect text{0, 0, upright.Width(), upright.Height()};
        WriteSectionText(canvas, Pages(index)->Caption(), Enabled(), tables, state != 0, section,
                         dtCenter | dtSingleLine | dtVCenter | dtNoPrefix, text);
        if (state == 2 && Focused()) DrawDottedFrame(canvas, text);
    }
    PutTurned(upright, cache, place, captionTurn);
}

void TsPageControl::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    const TRect whole{0, 0, Width(), Height()};
    TParentBackground background;
    data.GetParentCache(background);
    if (background.Ready && background.Bitmap) {
        const TRect under = whole.Offset(Left() + background.OffsetX, Top() + background.OffsetY);
        PutTurned(TakeUpright(*background.Bitmap, under, TTurn::None), cache, whole, TTurn::None);
    } else if (Parent()) {
        FillDC(cache, whole, ColorToRGB(Parent()->Color()));
    }
    PaintTurnedSection(cache, data.Tables(), data.SkinIndex, ToTRect(PageRect()), 0, TTurn::None);
    TFont font;
    font.Assign(Font());
    const int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i)
        if (i != active) PaintTab(cache, i, font.Handle());
    if (active >= 0) PaintTab(cache, active, font.Handle());   // last: it reaches over the page and its neighbours
    GdiFlush();
}

void TsPageControl::SetHotTab(int index) {
    if (index == hotTab_) return;
    hotTab_ = index;
    TabsChanged();
}

void TsPageControl::TabsChanged() {
    tabsChanged_ = true;
    if (HandleAllocated() && Showing()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TsPageControl::Change() {
    TabsChanged();
    TPageControl::Change();
}

// ---- window procedure -------------------------------------------------------------

bool TsPageControl::Skinned() const {
    return skinData_ && skinData_->IsSkinned(false) && SkinIsActive(*skinData_);
}

void TsPageControl::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this) && Skinned()) return SkinnedWndProc(m);
    if (m.Msg == CM_MOUSELEAVE) hotTab_ = -1;
    TPageControl::WndProc(m);
}

bool TsPageControl::OnSkinAnnouncement(TMessage& m) {
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Changing = [this, &m] { BroadcastSkinMessage(this, m); },   // the pages re-resolve before the control
        .Removed =
            [this, &m] {
                BroadcastSkinMessage(this, m);
                hotTab_ = -1;
                if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            },
        .Applied =
            [this, &m] {
                BroadcastSkinMessage(this, m);
                if (!skinData_->Updating) Repaint();
            },
    });
}

void TsPageControl::SkinnedWndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD) return OnSkinCommand(m);
    switch (m.Msg) {
    case WM_PAINT:          return OnPaintMessage(m);
    case WM_ERASEBKGND:     m.Result = 1; return;   // the cache covers every pixel
    case WM_MOUSEMOVE:      OnMouseMove(m); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:      TabsChanged(); break;   // the selected tab's focus frame
    case CM_MOUSELEAVE:     SetHotTab(-1); break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED: skinData_->BackgroundChanged = true; break;
    }
    skinData_->CommonWndProc(m);
    TPageControl::WndProc(m);
    // A new tab (a page added, a caption changed) moves the others.
    if (m.Msg == TCM_INSERTITEMW || m.Msg == TCM_DELETEITEM || m.Msg == TCM_SETITEMW) skinData_->BackgroundChanged = true;
}

void TsPageControl::OnMouseMove(TMessage& m) {
    // The native control answers which tab is under the pointer.
    SetHotTab(IndexOfTabAt({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
}

void TsPageControl::OnSkinCommand(TMessage& m) {
    TsCommonData& data = *skinData_;
    switch (SkinCommandOf(m.WParam)) {
    case SMC_PARENTUPDATED:
        if (data.Updating) {
            data.Updating = false;
            Repaint();
        }
        return;
    case SMC_QUERYUPDATING:
        m.LParam = (data.BackgroundChanged || data.IsUpdating()) ? 1 : 0;
        m.Result = 1;
        return;
    }
    data.HandleSkinCommand(m);
}

void TsPageControl::OnPaintMessage(TMessage& m) {
    if (!Visible()) return TPageControl::WndProc(m);
    TSkinnedPaint paint(*this, m);
    TsCommonData& data = *skinData_;
    data.Updating = data.IsUpdating();
    if (data.Updating) return;
    const bool pagesStale = data.BackgroundChanged;
    if (pagesStale || tabsChanged_) RebuildCache();
    data.BackgroundChanged = false;
    tabsChanged_ = false;
    if (pagesStale)
        for (int i = 0; i < PageCount(); ++i) Pages(i)->Perform(SM_ALPHACMD, static_cast<WPARAM>(SMC_SETBGCHANGED) << 16, 0);
    data.CopyCacheToDC(this, RECT{0, 0, 0, 0}, false, paint.DC(), RECT{0, 0, Width(), Height()});
    NotifyChildrenParentUpdated(this);
}

// ---- registration -----------------------------------------------------------------

void RegisterPageControlSkinClasses() {
    static const bool registered = [] {
        RegisterPageControlClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsPageControl>("TsPageControl", "TPageControl");
        RegisterSkinDataProperties<TsPageControl>("TsPageControl");
        r.RegisterClass<TsTabSheet>("TsTabSheet", "TTabSheet");
        RegisterSkinDataProperties<TsTabSheet>("TsTabSheet");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
