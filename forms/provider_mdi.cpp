// How the skin provider of an MDI frame or of an MDI child behaves: the
// frame's TsMDIForm, the buttons of a maximised child in the frame's menu line,
// and what a child tells its frame when it is activated, moved, sized,
// maximised, restored or leaves.
#include <windowsx.h>

#include <algorithm>

#include "engine/skin_manager.h"
#include "forms/mdi_form.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "paint/mask.h"

namespace korvel {

namespace {

bool Creating(const TForm* form) { return (form->ControlState() & csCreating) != 0; }

bool IsMaximizedForm(TForm* form) { return form && form->HandleAllocated() && IsZoomed(form->Handle()); }

// The frame's active child, without making any window.
TForm* ActiveChildOf(TForm* frame) {
    return frame && frame->HandleAllocated() && frame->FormStyle() == TFormStyle::fsMDIForm ? frame->ActiveMDIChild()
                                                                                              : nullptr;
}

void RepaintNow(TForm* form) {
    if (form && form->HandleAllocated()) RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

}  // namespace

bool TsSkinProvider::IsMDIFrame() const { return form_->FormStyle() == TFormStyle::fsMDIForm; }

bool TsSkinProvider::IsMDIChild() const { return form_->FormStyle() == TFormStyle::fsMDIChild; }

// MDIFrameProvider while it and its form can still take notes.
TsSkinProvider* TsSkinProvider::FrameProvider() const {
    TsSkinProvider* frame = MDIFrameProvider;
    if (!frame || frame->InState(csDestroying) || frame->Form()->InState(csDestroying)) return nullptr;
    return frame;
}

TsMDIForm* TsSkinProvider::FrameExtension() const {
    TsSkinProvider* frame = FrameProvider();
    return frame ? frame->MDIExtension : nullptr;
}

void TsSkinProvider::MarkFrameStale(TsSkinProvider& frame) {
    frame.SkinData().BackgroundChanged = true;
    frame.MenuRowsCache = -1;
}

void TsSkinProvider::SetMDISupport(bool on) {
    if (on) {
        MDIFrameProvider = this;
        if (!MDIExtension) MDIExtension = new TsMDIForm(this);
    } else {
        delete MDIExtension;
        MDIExtension = nullptr;
    }
}

void TsSkinProvider::RefreshMDIFrame() {
    if (!FrameProvider()) return;
    Application().ProcessMessages();
    TsSkinProvider* frame = FrameProvider();   // pending messages may have taken it
    if (!frame) return;
    MarkFrameStale(*frame);
    if (frame->MDIExtension) frame->MDIExtension->MergeChildButtons();
    frame->SkinData().Updating = false;
    frame->SendToForm(WM_NCPAINT);
    TForm* form = frame->Form();
    if (form->HandleAllocated() && form->ClientHandle()) SendMessageW(form->ClientHandle(), WM_NCPAINT, 1, 0);
}

// ---- skin arrival and departure ---------------------------------------------------------

void TsSkinProvider::MDIChildSkinning() {
    if (!IsMDIChild() || !skinData_->IsSkinned(true)) return;
    TsSkinProvider* frame = FrameProvider();
    if (!frame) return;
    MarkFrameStale(*frame);
    if (frame->MDIExtension) frame->MDIExtension->MergeChildButtons();
}

void TsSkinProvider::MDIFrameSkinArrival() {
    if (!IsMDIFrame()) return;
    if (ActiveChildOf(form_) && GetActiveWindow() == form_->Handle()) FormActive = true;
    SetMDISupport(true);
    if (MDIExtension) MDIExtension->HookClient();
}

void TsSkinProvider::MDIChildLeaving() {
    if (IsMDIChild() && form_->Menu()) {
        if (TsSkinProvider* frame = FrameProvider()) {
            MarkFrameStale(*frame);
            frame->SendToForm(WM_NCPAINT);
        }
    }
    SetMDISupport(false);
    if (MDIFrameProvider == this) MDIFrameProvider = nullptr;
}

void TsSkinProvider::MDIPaintAfterSkinApplied() {
    TForm* child = ActiveChildOf(form_);
    if (IsMaximizedForm(child)) return RepaintNow(child);
    SendToForm(WM_PAINT);
    if (!IsMDIFrame() || !form_->HandleAllocated()) return;
    HWND client = form_->ClientHandle();
    RECT r{};
    GetClientRect(client, &r);
    SendMessageW(client, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
    SendMessageW(client, WM_NCPAINT, 1, 0);
}

// ---- the buttons of a maximised child in the frame's menu line ------------------------------

void TsSkinProvider::SetMDIButtonMasks(int minimize, int restore, int close) {
    if (!IsMDIFrame()) return;
    MDIButtonMin.MaskIndex = minimize;
    MDIButtonRestore.MaskIndex = restore;
    MDIButtonClose.MaskIndex = close;
}

bool TsSkinProvider::MDIChildButtonsShown() {
    return IsMDIFrame() && form_->Menu() && IsMaximizedForm(ActiveChildOf(form_));
}

bool TsSkinProvider::MDIChildIconShown() { return MDIFrameProvider == this && MDIChildButtonsShown(); }

int TsSkinProvider::MDIButtonWidth() const {
    const TsSkinTables* tables = skinData_->Tables();
    if (!tables || !tables->IsValidMaskIndex(MDIButtonClose.MaskIndex)) return 16;
    const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(MDIButtonClose.MaskIndex)];
    if (mask.Bmp) return mask.Bmp->Width() / 3;
    return mask.R.Width() / std::max<int>(1, mask.ImageCount);
}

int TsSkinProvider::MDIButtonHeight() const {
    const TsSkinTables* tables = skinData_->Tables();
    if (!tables || !tables->IsValidMaskIndex(MDIButtonClose.MaskIndex)) return 16;
    const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(MDIButtonClose.MaskIndex)];
    if (mask.Bmp) return mask.Bmp->Height() / 2;
    return mask.R.Height() / (mask.MaskType + 1);
}

// The restore button's face: the form section's small "normal size" icon, else the big one of FORM.
int TsSkinProvider::MDIRestoreMask() const {
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager) return -1;
    const int global = manager->SectionIndexOf("GLOBALINFO");
    int mask = manager->MaskIndexOf(global, "GLOBALINFO", "SICONNORM");
    if (!manager->IsValidMaskIndex(mask)) mask = manager->MaskIndexOf(skinData_->SkinIndex, skinData_->SkinSection(), "BICONNORM");
    // A skin that keeps its restore face only among the global icons (as the frame's own
    // restore button finds it) must not leave the child's restore button blank.
    if (!manager->IsValidMaskIndex(mask)) mask = manager->MaskIndexOf(global, "GLOBALINFO", "BICONNORM");
    return manager->IsValidMaskIndex(mask) ? mask : -1;
}

void TsSkinProvider::PaintMDIChildButtons() {
    MDIButtonMin.Rect = MDIButtonRestore.Rect = MDIButtonClose.Rect = TRect{};
    if (!MDIChildButtonsShown()) return;
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    if (!tables || !cache || cache->Empty()) return;
    const int w = MDIButtonWidth(), h = MDIButtonHeight();
    const int top = NonClientTopHeight() - (MenuHeight() - h) / 2 - h - 1;
    const int mode = FormActive ? 1 : 2;
    const auto place = [&](CaptionButtonInfo& info, int left, int mask) {
        info.Rect = TRect{left, top, left + w, top + h};
        if (tables->IsValidMaskIndex(mask))
            DrawSkinGlyph(*cache, {left, top}, info.State, *tables, tables->Masks[static_cast<std::size_t>(mask)], mode);
    };
    if (tables->IsValidMaskIndex(MDIButtonMin.MaskIndex))
        place(MDIButtonMin, WindowWidth() - FrameWidth() - 3 * w - 3, MDIButtonMin.MaskIndex);
    place(MDIButtonRestore, form_->Width() - FrameWidth() - 2 * w - 2, MDIRestoreMask());
    if (tables->IsValidMaskIndex(MDIButtonClose.MaskIndex))
        place(MDIButtonClose, form_->Width() - FrameWidth() - w - 1, MDIButtonClose.MaskIndex);
}

int TsSkinProvider::MDIChildButtonHit(POINT p) {
    if (!MDIChildButtonsShown()) return htsNowhere;
    const std::pair<const CaptionButtonInfo*, int> buttons[] = {
        {&MDIButtonClose, htsMDIClose}, {&MDIButtonRestore, htsMDIRestore}, {&MDIButtonMin, htsMDIMinimize}};
    for (const auto& [info, code] : buttons) {
        const TRect& r = info->Rect;
        if (!r.IsEmpty() && p.x >= r.Left && p.x < r.Right && p.y >= r.Top && p.y < r.Bottom) {
            SetHotButton(code);
            return code;
        }
    }
    return htsNowhere;
}

void TsSkinProvider::MDIChildButtonUp(int code) {
    TForm* child = ActiveChildOf(form_);
    if (!child || !child->HandleAllocated()) return SetHotButton(0);
    switch (code) {
        case htsMDIClose:
            MDIButtonClose.State = bsNormalState;
            SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        case htsMDIRestore:
            SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
            return SetHotButton(0);
        case htsMDIMinimize:
            skinData_->Updating = true;   // the child's minimising repaints the frame once
            SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            // A child without a provider of its own does not give the frame back its painting.
            skinData_->Updating = false;
            return SetHotButton(0);
        default: return;
    }
}

// ---- what a child tells its frame -------------------------------------------------------------

bool TsSkinProvider::HiddenBehindMaximizedSibling() const {
    if (!IsMDIChild()) return false;
    TForm* active = ActiveChildOf(TForm::MDIParentForm());
    return active && active != form_ && IsMaximizedForm(active);
}

void TsSkinProvider::NcPaintOtherMDIChildren() {
    TForm* frame = TForm::MDIParentForm();
    if (!frame || !frame->HandleAllocated()) return;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        TForm* child = frame->MDIChildren(i);
        if (child && child != form_ && child->Visible() && child->HandleAllocated())
            SendMessageW(child->Handle(), WM_NCPAINT, 1, 0);
    }
}

void TsSkinProvider::OnMove(TMessage& m) {
    PassOn(m);
    if (!IsMDIChild() || Maximized() || form_->InState(csLoading)) return;
    TsSkinProvider* frame = FrameProvider();
    if (!frame || !frame->MDIExtension) return;
    frame->SkinData().Updating = false;
    frame->MDIExtension->UpdateChildControls();
}

void TsSkinProvider::MDISize() {
    if (IsMDIFrame()) {
        if (MDIExtension) MDIExtension->UpdateChildControls();
        return;
    }
    TsSkinProvider* frame = FrameProvider();
    if (!frame) return;
    // The client window maximises and restores children without a system command
    // (another child activated while one is maximised): the menu follows the sizes.
    if (frame->MDIExtension) frame->MDIExtension->MergeChildButtons();
    if (Maximized()) {
        // Whatever the child's new size, the frame's menu line shows it.
        frame->SkinData().BackgroundChanged = true;
        frame->SendToForm(WM_NCPAINT);
    }
    if (resizeMode_ == TResizeMode::rmBorder && frame->MDIExtension) frame->MDIExtension->UpdateChildControls();
}

// An MDI child is shown and activated inside its own CreateWindowEx, while its
// controls do not exist yet: every paint there is left out, and the title strip
// the activation took out of its shape stays out. Once the creation has ended
// (the posted message arrives), the child paints its frame, gets its whole shape
// back and paints its client area and controls over the fresh picture.
void TsSkinProvider::PaintAfterCreation() {
    if (createdPaintPosted_ || !IsMDIChild() || !form_->HandleAllocated() || !Creating(form_)) return;
    if (PostMessageW(form_->Handle(), WM_PAINTCREATEDCHILD, 0, 0)) createdPaintPosted_ = true;
}

void TsSkinProvider::PaintCreatedChild() {
    createdPaintPosted_ = false;
    if (!form_->HandleAllocated() || Creating(form_) || !IsWindowVisible(form_->Handle())) return;
    // Its controls exist only now: content beyond its client area gets the bars.
    MeasureContent();
    UpdateFormScrollBars();
    RegionChanged = true;
    skinData_->BackgroundChanged = true;
    MenuRowsCache = -1;
    SendToForm(WM_NCPAINT);
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TsSkinProvider::MDIActivate() {
    TForm* child = ActiveChildOf(form_);
    if (IsMaximizedForm(child)) RepaintNow(child);
    else if (MDIExtension) MDIExtension->UpdateChildControls();
}

void TsSkinProvider::OnMDIActivate(TMessage& m) {
    PassOn(m);
    if (!IsMDIChild()) return;
    TsSkinProvider* frame = FrameProvider();
    if (!frame) return;
    MenuOwnerDrawDone = false;
    frame->MenuLineChanged = true;
    MarkFrameStale(*frame);
    frame->SendToForm(WM_NCPAINT);
}

void TsSkinProvider::MDINcActivate(bool /*active*/) {
    if (!form_->Visible() || Creating(form_)) return;
    TsSkinProvider* frame = FrameProvider();
    if (!frame || !frame->MDIExtension) return;
    MarkFrameStale(*frame);
    frame->MDIExtension->MergeChildButtons();
    frame->SendToForm(WM_NCPAINT);
    TForm* frameForm = frame->Form();
    if (frameForm->HandleAllocated()) {
        HWND client = frameForm->ClientHandle();
        SendMessageW(client, WM_NCPAINT, 1, 0);
        InvalidateRect(client, nullptr, TRUE);
    }
    if (TsMDIForm* mdi = FrameExtension()) mdi->UpdateChildControls();
}

void TsSkinProvider::MDIFrameActiveLook(bool active, bool& look, bool& assign) {
    TForm* child = ActiveChildOf(form_);
    if (!IsMaximizedForm(child) || !child->Menu()) return;
    const TsSkinProvider* childProvider = FindSkinProvider(child);
    const bool childActive = childProvider && childProvider->FormActive;
    look = active || childActive;
    assign = look;
}

void TsSkinProvider::MDIChildSysCommand(TMessage& m) {
    const WPARAM command = m.WParam & 0xFFF0;
    const bool wasMaximized = Maximized();
    if (TsSkinProvider* frame = FrameProvider(); frame && wasMaximized && command != SC_MAXIMIZE)
        frame->SkinData().Updating = true;
    const auto updateFrame = [this] {
        if (TsMDIForm* mdi = FrameExtension()) mdi->UpdateChildControls();
    };
    const auto releaseFrame = [this] {
        if (TsSkinProvider* frame = FrameProvider()) frame->SkinData().Updating = false;
    };
    switch (command) {
        case SC_MINIMIZE:
            PassOn(m);
            if (wasMaximized) RefreshMDIFrame();
            updateFrame();
            if (systemMenu_) systemMenu_->UpdateItems();
            TitleAreaCache.reset();
            skinData_->BackgroundChanged = true;
            SendToForm(WM_NCPAINT);
            return;
        case SC_MAXIMIZE:
            PassOn(m);
            if (TsSkinProvider* frame = FrameProvider()) {
                frame->MenuRowsCache = -1;
                if (frame->MDIExtension) frame->MDIExtension->MergeChildButtons();
                // A frame without a main menu merges nothing: it must not stay frozen by a
                // caption button's press that asked it to wait for the merge.
                if (frame->SkinData().Updating) {
                    frame->SkinData().Updating = false;
                    frame->RepaintNonClient();
                }
            }
            if (systemMenu_) systemMenu_->UpdateItems();
            return;
        case SC_CLOSE:
            PassOn(m);
            if (FrameExtension()) {
                if (wasMaximized) RefreshMDIFrame();
                updateFrame();
            }
            return;
        case SC_RESTORE:
            skinData_->Updating = true;
            PassOn(m);
            skinData_->BackgroundChanged = true;
            skinData_->Updating = false;
            SendToForm(WM_NCPAINT);
            if (wasMaximized) RefreshMDIFrame();
            NcPaintOtherMDIChildren();
            Application().ProcessMessages();
            updateFrame();
            if (systemMenu_) systemMenu_->UpdateItems();
            return;
        case SC_KEYMENU:
            // Alt and Alt+letter open the frame's menu line through the child's own
            // handling; swallowing them would leave the keyboard without the menus.
            // Alt+Space would open the system's unskinned window menu: kept from it.
            if (m.LParam != ' ') PassOn(m);
            return releaseFrame();
        default:
            PassOn(m);
            return releaseFrame();
    }
}

void TsSkinProvider::MDIFrameSysCommand(TMessage& m) {
    PassOn(m);
    const WPARAM command = m.WParam & 0xFFF0;
    if (command != SC_MINIMIZE && command != SC_MAXIMIZE && command != SC_RESTORE) return;
    skinData_->BackgroundChanged = true;
    MenuRowsCache = -1;
    SendToForm(WM_NCPAINT);
    if (MDIExtension) MDIExtension->UpdateChildControls();
}

}  // namespace korvel
