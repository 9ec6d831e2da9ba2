// The skin provider's life: construction and destruction, the hook in the
// form's window-procedure slot, skinning set-up, and the arrival and removal of
// a skin.
#include "forms/skin_provider.h"

#include <exception>

#include "engine/skin_manager.h"
#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "engine/skin_message.h"
#include "forms/mdi_form.h"
#include "gui/application.h"
#include "gui/exceptions.h"

namespace korvel {

namespace {

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// Lets the system draw the window's frame in its own style again; looked up at
// run time, not every system has the theme library.
void RestoreSystemTheme(HWND handle) {
    HMODULE theme = GetModuleHandleW(L"uxtheme.dll");
    if (!theme) theme = LoadLibraryW(L"uxtheme.dll");
    if (!theme) return;
    auto fn = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme")));
    if (fn) fn(handle, nullptr, nullptr);
}

}  // namespace

TsSkinProvider::TsSkinProvider(TComponent* owner)
    : TComponent(owner),
      skinData_(std::make_unique<TsCommonData>(this, true)),
      titleIcon_(std::make_unique<TsTitleIcon>()),
      titleButtons_(std::make_unique<TsTitleButtons>(this)),
      form_(GetOwnerForm(owner)) {
    if (!form_) throw EInvalidOperation("A skin provider needs a form among its owners");
    // The menu skinning paints menu-bar items over the clean menu line kept here.
    static const bool menuLineSource = [] {
        SetMenuLineSource([](TForm* form, TMenuLineBackground& line) {
            TsSkinProvider* provider = FindSkinProvider(form);
            if (!provider || provider->MenuLineBackground.Empty() || !provider->MenuLineVisible()) return false;
            line.Bitmap = &provider->MenuLineBackground;
            line.Top = provider->FrameHeight() + provider->CaptionHeight();
            return true;
        });
        SetMDIChildIconSource([](TForm* frame) {
            TsSkinProvider* provider = FindSkinProvider(frame);
            return provider && provider->MDIChildIconShown();
        });
        return true;
    }();
    (void)menuLineSource;
    skinData_->ControlCode = ProviderControlCode;
    skinData_->SetSkinSection("FORM");
    if (!InState(csDesigning)) {
        SavedAutoScroll = form_->AutoScroll();
        TakeOverScrolling();
        SavedBorderIcons = form_->BorderIcons();
        RegionHoles.clear();
        MenuRowsCache = -1;
        InstallWindowHook();
        FormActive = true;
    }
    if (skinData_->SkinManager()) InitSkinning();
}

TsSkinProvider::~TsSkinProvider() {
    if (!InState(csDesigning)) {
        RemoveWindowHook();
        MDIChildLeaving();
        EndOutline(false);
        if (!form_->InState(csDestroying)) GiveBackScrolling();
        for (TsScrollBar* bar : {VScrollBar, HScrollBar})
            if (bar) bar->OwnerNotification = nullptr;
        delete systemMenu_;
        systemMenu_ = nullptr;
        TitleAreaCache.reset();
    }
    titleIcon_.reset();
    titleButtons_.reset();
    skinData_.reset();
}

void TsSkinProvider::InstallWindowHook() {
    form_->HookWindowProc(this, [this](TMessage& message, const TWndNext& next) {
        // Messages nest (a handler sends the form further messages): each call
        // passes on through its own chain.
        const TWndNext* outer = SavedWindowProc;
        SavedWindowProc = &next;
        try {
            ProviderWndProc(message);
        } catch (...) {
            SavedWindowProc = outer;
            throw;
        }
        SavedWindowProc = outer;
    });
}

// Removes only our own hook, wherever it now sits in the form's chain.
void TsSkinProvider::RemoveWindowHook() { form_->UnhookWindowProc(this); }

void TsSkinProvider::PassOn(TMessage& message) {
    if (SavedWindowProc) (*SavedWindowProc)(message);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
    if (value == captionAlignment_) return;
    captionAlignment_ = value;
    skinData_->BackgroundChanged = true;
    if (form_->Visible()) SendToForm(WM_NCPAINT);
}

void TsSkinProvider::SetShowAppIcon(bool value) {
    if (value == showAppIcon_) return;
    showAppIcon_ = value;
    skinData_->BackgroundChanged = true;
    if (form_->Visible()) SendToForm(WM_NCPAINT);
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
    if (value == titleSkin_) return;
    titleSkin_ = value;
    skinData_->BackgroundChanged = true;
    if (form_->Visible()) SendToForm(WM_NCPAINT);
}

void TsSkinProvider::SetUseGlobalColor(bool value) {
    if (value == useGlobalColor_) return;
    useGlobalColor_ = value;
    TsSkinManager* manager = skinData_->SkinManager();
    if (manager && skinData_->IsSkinned(false) && value && !skinData_->CustomColor()) {
        form_->SetColor(manager->GlobalColor());
    } else {
        form_->SetColor(clBtnFace);
    }
}

void TsSkinProvider::ApplyGlobalColor() {
    TsSkinManager* manager = skinData_->SkinManager();
    if (manager && useGlobalColor_ && !skinData_->CustomColor()) form_->SetColor(manager->GlobalColor());
}

void TsSkinProvider::SetFormBorderIcons(TBorderIcons icons) {
    try {
        form_->SetBorderIcons(icons);
    } catch (const std::exception&) {
        // The form keeps the icons it had; the skinned buttons are drawn all the same.
    }
}

bool TsSkinProvider::OwnManager(const TMessage& message) const {
    return reinterpret_cast<TsSkinManager*>(message.LParam) == skinData_->SkinManager();
}

void TsSkinProvider::ForwardToChildren(TMessage& message) { BroadcastSkinMessage(form_, message); }

void TsSkinProvider::HideWindowForChange() {
    if (!form_->HandleAllocated()) return;
    // An empty region hides the window while the skin changes under it.
    SetWindowRgn(form_->Handle(), CreateRectRgn(0, 0, 0, 0), FALSE);
}

// Under WM_SETREDRAW the window keeps showing its old picture, whole, while the
// skin changes under it, and nothing is drawn until the new picture is painted
// at once: no frame of the new skin over the old client, no flash of what lies
// behind the window (as behind an empty region), and no region change unless
// the shape changes. Only a window that shows: releasing the hold sets WS_VISIBLE.
void TsSkinProvider::HoldDrawingForChange() {
    if (drawingHeld_ || !form_->HandleAllocated() || !IsWindowVisible(form_->Handle())) return;
    SendMessageW(form_->Handle(), WM_SETREDRAW, FALSE, 0);
    drawingHeld_ = true;
}

void TsSkinProvider::ReleaseDrawing() {
    if (!drawingHeld_) return;
    drawingHeld_ = false;
    if (form_->HandleAllocated()) SendMessageW(form_->Handle(), WM_SETREDRAW, TRUE, 0);
}

void TsSkinProvider::DropSystemMenu(int x, int y) {
    if (systemMenu_) systemMenu_->Drop(x, y);
}

void TsSkinProvider::InitSkinning() {
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager) return;
    if (!systemMenu_) {
        systemMenu_ = new TsSystemMenu(this, form_);
        systemMenu_->UpdateItems();
    }
    if (FirstSkinPending && manager->SkinData().Active) {
        FirstSkinPending = false;
        if (form_->BorderIcons() != 0) SetFormBorderIcons(0);
        if (IsMDIFrame()) SetMDISupport(true);
    }
    skinData_->UpdateIndexes();
    LoadButtonMasks();
    MDIChildSkinning();
    if (useGlobalColor_ && !skinData_->CustomColor()) form_->SetColor(manager->GlobalColor());
}

void TsSkinProvider::Loaded() {
    TComponent::Loaded();
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager || !skinData_->IsSkinned(true)) return;
    InitSkinning();
    if (systemMenu_) systemMenu_->UpdateItems();
    int mask = manager->MaskIndexOf(manager->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "TITLEBUTTON");
    if (!manager->IsValidMaskIndex(mask)) {
        mask = manager->MaskIndexOf(skinData_->SkinIndex, skinData_->SkinSection(), "TITLEBUTTON");
    }
    for (int i = 0; i < titleButtons_->Count(); ++i) {
        TsTitleButton& button = titleButtons_->Items(i);
        button.MaskIndex = button.UseSkinData ? mask : -1;
    }
    if (MDIExtension) {
        Application().ProcessMessages();
        if (MDIExtension) MDIExtension->HookClient();
    }
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (!skinData_) return;
    if (operation == TOperation::opRemove) {
        if (component == VScrollBar) VScrollBar = nullptr;
        if (component == HScrollBar) HScrollBar = nullptr;
        if (component == FormGrip) FormGrip = nullptr;
    }
    auto* manager = dynamic_cast<TsSkinManager*>(component);
    if (!manager) return;   // seam: menus inserted or removed are handed to the menu skinning
    if (operation == TOperation::opInsert && !skinData_->SkinManager()) {
        skinData_->SetSkinManager(manager);
    } else if (operation == TOperation::opRemove && skinData_->StoredSkinManager() == manager) {
        skinData_->SetSkinManager(nullptr);
    }
}

void TsSkinProvider::SkinArrival(TMessage& message) {
    if (TsSkinManager* manager = skinData_->SkinManager()) manager->SkinableMenus().FreeSharedBitmap();
    skinData_->UpdateIndexes();
    // A skin without a section for this form leaves it the system's frame: nothing
    // is held or hidden that the skin-applied command would have to give back.
    if (!skinData_->IsSkinned(false)) return StepAsideForSkinWithoutSection();
    if (ShapedOnceOnSkinApplied()) HoldDrawingForChange();
    else if (HasBorder()) HideWindowForChange();
    if (skinData_->SkinManager()) {
        LoadButtonMasks();
        SetFormBorderIcons(0);
        SkinFormMenus(true);
        TakeOverScrolling();
        skinData_->BackgroundChanged = true;
        MenuRowsCache = -1;
        MDIFrameSkinArrival();
        ApplyGlobalColor();
    }
    (void)message;
}

void TsSkinProvider::SkinRemoval(TMessage& message) {
    ReleaseDrawing();   // a change that never reached its end must not leave the window drawing nothing
    const bool border = HasBorder();
    if (border) HideWindowForChange();
    skinData_->HandleSkinCommand(message);
    MenuRowsCache = -1;
    ForwardToChildren(message);
    if (useGlobalColor_ && !skinData_->CustomColor()) form_->SetColor(clBtnFace);
    GiveFrameBack(border);
    message.Result = 0;
}

void TsSkinProvider::GiveFrameBack(bool border) {
    GiveBackScrolling();
    if (TsSkinManager* manager = skinData_->SkinManager()) {
        manager->SkinableMenus().FreeSharedBitmap();   // painted from the skin that goes
        SkinFormMenus(false);
        if (form_->BorderIcons() != SavedBorderIcons) SetFormBorderIcons(SavedBorderIcons);
        if (IsMDIFrame() && MDIExtension) SetMDISupport(false);
        if (ThemeServicesEnabled() && form_->HandleAllocated()) RestoreSystemTheme(form_->Handle());
    }
    // Whatever else happened, the window must not stay hidden behind the empty region.
    if (border && form_->HandleAllocated()) SetWindowRgn(form_->Handle(), nullptr, TRUE);
}

// The new skin has no section for this form: the form takes the system's frame
// and stays usable, while its controls go on with the skin's other sections.
// A later skin with the section brings the skinned frame back (SkinArrival).
void TsSkinProvider::StepAsideForSkinWithoutSection() {
    ReleaseDrawing();
    MenuRowsCache = -1;
    TitleAreaCache.reset();
    GiveFrameBack(HasBorder() || IsMDIChild());
    if (!form_->HandleAllocated()) return;
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TsSkinProvider::RepaintNonClient() {
    skinData_->BackgroundChanged = true;
    MenuLineChanged = true;
    MenuRowsCache = -1;
    SendToForm(WM_NCPAINT);
}

void TsSkinProvider::SendToForm(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (!form_->HandleAllocated() || form_->InState(csDestroying)) return;
    if (msg == WM_PAINT) {
        // A sent WM_PAINT paints nothing outside the update region: ask for a repaint now.
        RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return;
    }
    SendMessageW(form_->Handle(), msg, msg == WM_NCPAINT && wparam == 0 ? 1 : wparam, lparam);
}

TsSkinProvider* FindSkinProvider(TForm* form) {
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        if (auto* provider = dynamic_cast<TsSkinProvider*>(form->Components(i))) return provider;
    }
    return nullptr;
}

}  // namespace korvel
