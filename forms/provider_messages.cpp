// The skin provider's window procedure: which messages of the form it takes
// over, and its answers to the skin message.
#include <windowsx.h>

#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "forms/mdi_form.h"
#include "forms/skin_provider.h"

namespace korvel {

namespace {

bool Creating(const TForm* form) { return (form->ControlState() & csCreating) != 0; }

bool HasClientAlignedChild(const TForm* form) {
    for (int i = 0; i < form->ControlCount(); ++i)
        if (form->Controls(i)->Align() == TAlign::alClient) return true;
    return false;
}

}  // namespace

void TsSkinProvider::ProviderWndProc(TMessage& m) {
    if (InState(csDesigning)) return PassOn(m);
    if (m.Msg == SM_ALPHACMD) {
        switch (SkinCommandOf(m.WParam)) {
            case SMC_SKINCHANGED:
                if (!systemMenu_) InitSkinning();
                break;
            case SMC_SKINREMOVED:
                if (OwnManager(m)) return SkinRemoval(m);
                break;
            case SMC_ISSKINNED:
                m.LParam = 1;
                m.Result = 1;
                return;
            default: break;
        }
    }
    const bool destroying = form_->InState(csDestroying);
    if (destroying || !skinData_->IsSkinned(true)) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SKINCHANGED && OwnManager(m) && !destroying) {
            SkinArrival(m);
            ForwardToChildren(m);
            m.Result = SkinCommandPassedOn;   // the controls heard it: the broadcast does not repeat it
            return;
        }
        if (m.Msg == WM_PAINTCREATEDCHILD) createdPaintPosted_ = false;
        if (!destroying && SteppedAsideWindowMenu(m)) return;
        // The framework drops this hook before an MDI child's window goes: its frame
        // hears of it from its client window (WM_MDIDESTROY, TsMDIForm).
        return PassOn(m);
    }
    if (m.Msg == SM_ALPHACMD) return SkinCommand(m);
    switch (m.Msg) {
        case WM_MOVE:              return OnMove(m);
        case WM_SIZE:              return OnSize(m);
        case WM_ACTIVATE:          return OnActivate(m);
        case WM_SETTEXT:           return OnSetText(m);
        case WM_PAINT:             return OnPaint(m);
        case WM_ERASEBKGND:        // the cache covers every pixel
            if (ThemeServicesEnabled()) PassOn(m);
            m.Result = 1;
            return;
        case WM_SYSCOLORCHANGE:    PassOn(m); return RefreshMenuOwnerDraw();
        case WM_CHILDACTIVATE:
            PassOn(m);
            RefreshMenuOwnerDraw();
            if (TsMDIForm* mdi = FrameExtension()) mdi->UpdateChildControls();
            return;
        case WM_GETMINMAXINFO:     return MaximisedSize(m);
        case WM_MEASUREITEM:       return OnMeasureItem(m);
        case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(m);
        case WM_WINDOWPOSCHANGED:
        case WM_EXITSIZEMOVE:      return OnWindowPosChanged(m);
        case WM_NCHITTEST:         return OnNcHitTest(m);
        case WM_NCPAINT:
        case WM_PRINT:             return NonClientPaint(m);
        case WM_NCACTIVATE:        return OnNcActivate(m);
        case WM_NCLBUTTONDOWN:     return OutlinePress(m) ? void() : OnNcLButtonDown(m);
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:         EndOutline(); return OnButtonUp(m);
        case WM_NCLBUTTONDBLCLK:   EndOutline(); return OnNcLButtonDblClk(m);
        case WM_NCRBUTTONDOWN:     return OnNcRButtonDown(m);
        case WM_NCRBUTTONUP:       return OnNcRButtonUp(m);
        case WM_SYSCOMMAND:        return OnSysCommand(m);
        case WM_MOUSEMOVE:         PassOn(m); return TrackOutline(m);
        case WM_CAPTURECHANGED:    EndOutline(false); return PassOn(m);   // the drag lost the mouse: nothing moves
        case WM_SIZING:            return OnSizing(m);
        case WM_MDIDESTROY:
        case WM_MDIACTIVATE:       return OnMDIActivate(m);
        case WM_PAINTCREATEDCHILD: return PaintCreatedChild();
        case WM_MOUSELEAVE:
        case WM_NCMOUSELEAVE:      // the pointer left the window over its frame
        case CM_MOUSELEAVE:        return OnMouseLeave(m);
        case CM_COLORCHANGED:      return OnColorChanged(m);
        case CM_MENUCHANGED:       return OnMenuChanged(m);
        case CM_CHILDBOUNDSCHANGED: return OnChildBoundsChanged(m);
        default:                   return PassOn(m);
    }
}

// ---- the skin message on the skinned path ------------------------------------------

void TsSkinProvider::SkinCommand(TMessage& m) {
    const std::uint32_t argument = SkinArgumentOf(m.WParam);
    switch (SkinCommandOf(m.WParam)) {
        case SMC_SKINCHANGED:
            if (!OwnManager(m)) return;
            skinData_->UpdateIndexes();
            // A skin without this form's section is not held or hidden first: the form steps aside.
            if (!skinData_->IsSkinned(false)) return StepAsideForSkinWithoutSection();
            if (ShapedOnceOnSkinApplied()) HoldDrawingForChange();
            else if (HasBorder()) HideWindowForChange();
            if (skinData_->SkinManager()) {
                LoadButtonMasks();
                if (form_->BorderIcons() != 0) SetFormBorderIcons(0);
                skinData_->BackgroundChanged = true;
                MenuRowsCache = -1;
                // A bordered window draws nothing until the skin-applied command
                // that follows paints it and gives it its shape: painting it now
                // would be a complete repaint nobody sees. MDI forms keep their order.
                if (!ShapedOnceOnSkinApplied()) SendToForm(WM_NCPAINT);
                if (IsMDIFrame()) {
                    SetMDISupport(true);
                    if (MDIExtension) MDIExtension->HookClient();
                }
            }
            return;
        case SMC_SKINAPPLIED: {
            if (!OwnManager(m)) return;
            const bool border = HasBorder();
            if (ShapedOnceOnSkinApplied()) HoldDrawingForChange();
            else if (border) HideWindowForChange();
            skinData_->BackgroundChanged = true;
            MenuRowsCache = -1;
            skinData_->Updating = false;
            TitleAreaCache.reset();
            SkinFormMenus(skinData_->IsSkinned(false));
            if (!ShapedOnceOnSkinApplied()) {
                if (border) RegionChanged = true;
                SendToForm(WM_NCPAINT);
                MDIPaintAfterSkinApplied();
                ApplyGlobalColor();
                if (border && form_->HandleAllocated()) {
                    SetWindowRgn(form_->Handle(), nullptr, FALSE);
                    ApplyRegion();
                    ApplyingRegion = false;
                }
                return;
            }
            // One complete repaint of the cache while nothing is drawn (the
            // non-client paint leaves the region alone).
            RegionChanged = false;
            SendToForm(WM_NCPAINT);
            ApplyGlobalColor();
            // The controls take the new skin while the form still says it is
            // updating, so none paints yet: the client paint below paints each of
            // them once (SMC_PARENTUPDATED), with the new skin. The broadcast is
            // told not to pass the command on again.
            skinData_->Updating = true;
            ForwardToChildren(m);   // a failing control ends the walk, never the change
            skinData_->Updating = false;
            m.Result = SkinCommandPassedOn;
            ReleaseDrawing();
            // Holding the drawing validated the window, and Windows does not
            // repaint when it is released (Wine happens to): the client paint
            // below must cover the whole client area (the controls paint themselves).
            if (form_->HandleAllocated()) InvalidateRect(form_->Handle(), nullptr, FALSE);
            // Each SetWindowRgn is a frame change with its round of position
            // messages under Wine: a new shape only. Its redraw copies the new
            // frame; an unchanged shape has the frame copied from the cache.
            RebuildRegionHoles();
            RegionChanged = false;
            if (!WindowHasWantedRegion()) {
                ApplyRegion();
                ApplyingRegion = false;
            } else {
                SendToForm(WM_NCPAINT);
            }
            MDIPaintAfterSkinApplied();
            return;
        }
        case SMC_GETPROVIDER:
            m.Result = reinterpret_cast<LRESULT>(this);
            return;
        case SMC_GETCACHE:
            if (!InState(csLoading)) ParentBackground = TParentBackground{skinData_->CacheBmp(), ClientOffsetX(), ClientOffsetY(), true};
            return;
        case SMC_SETUPDATING:
            skinData_->Updating = argument == 1;
            if (skinData_->IsUpdating()) skinData_->BackgroundChanged = true;
            return;
        case SMC_SETPREPARING:
            skinData_->Preparing = argument != 0;
            if (skinData_->Preparing) RepaintCache();
            return skinData_->HandleSkinCommand(m);
        case SMC_QUERYUPDATING:
            m.LParam = skinData_->BackgroundChanged || skinData_->IsUpdating() ? 1 : 0;
            m.Result = 1;
            return;
        case SMC_SETLINK:
            skinData_->Link = reinterpret_cast<void*>(m.LParam);
            return;
        case SMC_QUERYTEXTURED: {
            const TsGeneralData* s = skinData_->Section();
            m.LParam = s && s->GradientPercent + s->ImagePercent > 0 ? 1 : 0;
            m.Result = 1;
            return;
        }
        case SMC_GETCONTROLCOLOR: {
            const TsGeneralData* s = skinData_->Section();
            SharedColor = skinData_->IsSkinned(false) && s ? s->HotColor : ColorToRGB(form_->Color());
            m.Result = 1;
            return;
        }
        default: return;
    }
}

// A bordered form that is neither an MDI frame nor an MDI child is painted and
// shaped once, at the skin-applied command; MDI frames and their children keep
// the paint at each command, which their client window and merged buttons follow.
bool TsSkinProvider::ShapedOnceOnSkinApplied() const {
    return HasBorder() && form_->HandleAllocated() && !IsMDIFrame() && !IsMDIChild();
}

// ---- messages ----------------------------------------------------------------------

void TsSkinProvider::OnSize(TMessage& m) {
    PassOn(m);
    if (form_->Visible()) {
        if (IsMDIFrame() || IsMDIChild()) MDISize();
        if (!IsMDIFrame()) UpdateFormScrollBars();   // an MDI child scrolls its own content
    }
    const TsGeneralData* s = skinData_->Section();
    if (s && s->GradientPercent >= 1) {
        for (int i = 0; i < form_->ControlCount(); ++i) {
            TControl* child = form_->Controls(i);
            if (!child->InState(csDestroying)) SkinCommandToControl(child, SMC_INVALIDATE, 1);
        }
    }
}

void TsSkinProvider::OnActivate(TMessage& m) {
    PassOn(m);
    if (Creating(form_)) return;
    FormActive = LOWORD(m.WParam) != WA_INACTIVE;
    skinData_->BackgroundChanged = true;
    MenuRowsCache = -1;
    if (IsMDIChild()) {
        NcPaintOtherMDIChildren();
        if (TsSkinProvider* frame = FrameProvider()) MarkFrameStale(*frame);
    }
    SendToForm(WM_NCPAINT);
    SkinFormMenus(true);
    if (IsMDIFrame() && form_->ActiveMDIChild()) MDIActivate();
    else UpdateFormScrollBars();
    if (systemMenu_) systemMenu_->UpdateItems();
    if (!HasBorder() && HasClientAlignedChild(form_)) SendToForm(WM_PAINT);
}

void TsSkinProvider::OnSetText(TMessage& m) {
    if (!form_->Visible() || !HasBorder()) return PassOn(m);
    SuppressCaption();
    PassOn(m);
    skinData_->BackgroundChanged = true;
    form_->Perform(WM_NCPAINT, 1, 0);
}

void TsSkinProvider::OnPaint(TMessage& m) {
    if (!form_->Visible() || Creating(form_)) {
        PassOn(m);
    } else {
        HandlePaint(m);
    }
    m.Result = 1;
    if (skinData_->Preparing) LeavePreparingTree(form_);
}

void TsSkinProvider::OnWindowPosChanging(TMessage& m) {
    if (ApplyingRegion) return;   // the region being set moves nothing
    if (auto* position = reinterpret_cast<WINDOWPOS*>(m.LParam)) SnapToWorkArea(*position);
    PassOn(m);
    MeasureContent();
}

bool TsSkinProvider::CacheSizeDiffers() const {
    const TBitmap24* cache = skinData_->CacheBmp();
    return !cache || cache->Width() != WindowWidth() || cache->Height() != FormHeight();
}

void TsSkinProvider::OnWindowPosChanged(TMessage& m) {
    if (ApplyingRegion || SkinChanging) return;
    RegionChanged = true;
    PassOn(m);
    if (!CacheSizeDiffers()) return;
    if (!Creating(form_)) skinData_->BackgroundChanged = true;
    MenuRowsCache = -1;
    SendToForm(WM_NCPAINT);
    SendToForm(WM_PAINT);
}

void TsSkinProvider::OnNcHitTest(TMessage& m) {
    if (!HasBorder()) return PassOn(m);
    m.Result = SkinHitTest(WindowPoint(m.LParam), 0);
    if (m.Result == htsNowhere || m.Result == htsCaption) {
        PassOn(m);
        SetHotButton(0);
    } else if (CurrentButton != 0 && form_->HandleAllocated()) {
        // Tell us when the pointer leaves the window over its frame, so the button goes back to normal.
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE | TME_NONCLIENT, form_->Handle(), HOVER_DEFAULT};
        TrackMouseEvent(&track);
    }
    RecordOutlineHit(static_cast<int>(m.Result));
}

void TsSkinProvider::OnNcActivate(TMessage& m) {
    const bool active = m.WParam != 0;
    if ((active || form_->FormStyle() == TFormStyle::fsMDIChild) && HasBorder() && !InState(csLoading)) SuppressCaption();
    PassOn(m);
    if (IsMDIChild()) MDINcActivate(active);
    if (!Creating(form_)) SendToForm(WM_NCPAINT);
    if (HasBorder()) {
        bool look = active, assign = true;
        if (IsMDIFrame()) MDIFrameActiveLook(active, look, assign);
        if (assign && FormActive != look) {
            FormActive = look;
            MenuRowsCache = -1;
            // An MDI child gets no WM_ACTIVATE: its look is painted by the
            // non-client paint below, from a picture made again.
            skinData_->BackgroundChanged = true;
        }
    }
    if (IsMDIChild()) {
        NcPaintOtherMDIChildren();
        SendToForm(WM_NCPAINT);
    }
    SkinFormMenus(skinData_->IsSkinned(false));
    if (!MenuOwnerDrawDone) {
        MenuOwnerDrawDone = true;
        RefreshMenuOwnerDraw();
    }
    if (!HasBorder() && HasClientAlignedChild(form_)) SendToForm(WM_PAINT);
}

void TsSkinProvider::OnNcLButtonDblClk(TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    if (code == htsCaption && systemMenu_ && (systemMenu_->EnabledMaximize() || systemMenu_->EnabledRestore())) {
        if (Maximized() || Minimized()) {
            SendToForm(WM_SYSCOMMAND, SC_RESTORE);
        } else {
            if (form_->FormStyle() != TFormStyle::fsMDIChild) form_->SetWindowState(TWindowState::wsMaximized);
            SendToForm(WM_SYSCOMMAND, SC_MAXIMIZE);
        }
        systemMenu_->UpdateItems();
        m.WParam = 0;
    } else if (code == htsIcon) {
        form_->Close();
    }
}

void TsSkinProvider::OnNcRButtonDown(TMessage& m) {
    TsSkinManager* manager = skinData_->SkinManager();
    const int code = static_cast<int>(m.WParam);
    if ((code == htsCaption || code == htsIcon) && manager && manager->SkinnedPopups()) return;
    PassOn(m);
}

void TsSkinProvider::OnNcRButtonUp(TMessage& m) {
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager || !manager->SkinnedPopups()) return PassOn(m);
    const int code = static_cast<int>(m.WParam);
    if (code == htsCaption || code == htsIcon) {
        SetHotButton(0);
        if (systemMenu_) DropSystemMenu(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
    }
}

bool TsSkinProvider::SteppedAsideWithSkinMenu() const {
    const TsSkinManager* manager = skinData_->SkinManager();
    return systemMenu_ && makeSkinMenu_ && manager && manager->Active() && manager->SkinData().Active &&
           !skinData_->IsSkinned(false) && !IsMDIChild() && form_->HandleAllocated();
}

// The system's frame opens its window menu from a right click on the caption
// (WM_CONTEXTMENU), a click on its icon (SC_MOUSEMENU) and Alt+Space
// (SC_KEYMENU): without this, a skin lacking the form's section would leave the
// user no way back to another skin.
bool TsSkinProvider::SteppedAsideWindowMenu(TMessage& m) {
    if (m.Msg != WM_CONTEXTMENU && m.Msg != WM_SYSCOMMAND) return false;
    if (!SteppedAsideWithSkinMenu()) return false;
    RECT window{};
    GetWindowRect(form_->Handle(), &window);
    TITLEBARINFO title{};
    title.cbSize = sizeof(title);
    GetTitleBarInfo(form_->Handle(), &title);
    const POINT belowIcon{window.left + GetSystemMetrics(SM_CXFRAME), title.rcTitleBar.bottom};
    if (m.Msg == WM_CONTEXTMENU) {
        POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const bool fromKeyboard = m.LParam == -1;
        const LRESULT hit = fromKeyboard ? HTCLIENT : SendMessageW(form_->Handle(), WM_NCHITTEST, 0, m.LParam);
        if (hit != HTCAPTION && hit != HTSYSMENU) return false;
        DropSystemMenu(at.x, at.y);
        m.Result = 0;
        return true;
    }
    const WPARAM command = m.WParam & 0xFFF0;
    const bool iconClick = command == SC_MOUSEMENU && (m.WParam & 0x000F) == HTSYSMENU;
    const bool altSpace = command == SC_KEYMENU && m.LParam == ' ';
    if (!iconClick && !altSpace) return false;
    DropSystemMenu(belowIcon.x, belowIcon.y);
    m.Result = 0;
    return true;
}

void TsSkinProvider::OnSysCommand(TMessage& m) {
    const WPARAM command = m.WParam & 0xFFF0;
    if (LOWORD(m.WParam) == 0xF012) form_->Repaint();   // a move by the caption starts from a fresh picture
    if (OutlineCommand(m)) return;
    if (IsMDIChild()) return MDIChildSysCommand(m);
    if (IsMDIFrame()) return MDIFrameSysCommand(m);
    PassOn(m);
    if (command == SC_MAXIMIZE || command == SC_RESTORE) {
        if (systemMenu_ && systemMenu_->VisibleMaximize()) CurrentButton = htsMaximize;
        SetHotButton(0);
    }
}

void TsSkinProvider::OnSizing(TMessage& m) {
    PassOn(m);
    if (!CacheSizeDiffers()) return;
    skinData_->BackgroundChanged = true;
    MenuRowsCache = -1;
    if (IsMDIFrame() && MDIExtension) MDIExtension->UpdateChildControls();
}

void TsSkinProvider::OnMouseLeave(TMessage& m) {
    SetHotButton(0);
    PassOn(m);
}

void TsSkinProvider::OnColorChanged(TMessage& m) {
    if (!skinData_->CustomColor()) return;   // the skin paints the form: its own colour shows nowhere
    if (!Creating(form_)) skinData_->BackgroundChanged = true;
    PassOn(m);
}

void TsSkinProvider::OnMenuChanged(TMessage& m) {
    if (form_->Visible() && !Creating(form_)) MenuLineChanged = true;
    PassOn(m);
}

// A main-menu item about to be measured is handed to the menu skinning (items
// added after the menus were hooked get their handlers here).
void TsSkinProvider::OnMeasureItem(TMessage& m) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
    TsSkinManager* manager = skinData_->SkinManager();
    if (measure && measure->CtlType == ODT_MENU && manager && form_->Menu() &&
        form_->FormStyle() != TFormStyle::fsMDIChild) {
        const UINT command = static_cast<UINT>(measure->itemData);
        TMenuItem* item = form_->Menu()->FindItem(command);
        // An MDI child's items merged into the frame's bar are measured by the frame.
        if (!item && form_->Menu()->Merged()) item = form_->Menu()->Merged()->FindItem(command);
        if (item) manager->SkinableMenus().HookMenu(item, skinData_->IsSkinned(false));
    }
    PassOn(m);
}

void TsSkinProvider::SkinFormMenus(bool on) {
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager || InState(csDesigning)) return;
    manager->SkinableMenus().SetActive(on);
    manager->SkinableMenus().HookMenus(form_, on);
}

void TsSkinProvider::RefreshMenuOwnerDraw() {
    TMainMenu* menu = form_->Menu();
    if (!menu || menu->Items().Count() == 0) return;
    // Switching owner drawing rebuilds the Win32 menu, so the switch shows at once.
    skinData_->Updating = true;
    menu->SetOwnerDraw(skinData_->IsSkinned(false));
    skinData_->Updating = false;
}

}  // namespace korvel
