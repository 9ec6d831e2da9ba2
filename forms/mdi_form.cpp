// TsMDIForm: the MDI client window of a skinned frame (its hook, background and
// edge), the skinned scroll bars and grip that stand in for the client window's
// own scroll bars, and the menu item of a maximised child's window commands.
#include "forms/mdi_form.h"

#include <algorithm>

#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/menus.h"
#include "paint/platform_canvas_win.h"

namespace korvel {

TsSkinProvider* MDIFrameProvider = nullptr;

namespace {

// The MDI client posts itself this message to recalculate its scroll ranges
// after a child moved or was sized; the skinned bars follow the new ranges.
constexpr UINT MDICalcChildScrollMessage = 0x003F;

constexpr const wchar_t* kInstanceProperty = L"KorvelMDIClientInstance";
constexpr const wchar_t* kSavedProcProperty = L"KorvelMDIClientSavedProc";

// The items of a maximised child's window commands, under ChildButtonsItem.
struct TChildButtonEntry {
    const char* Name;
    const char* Caption;
    TShortCut ShortCut;
    WPARAM Command;   // sent to the active MDI child; 0 for the divider
};
constexpr TChildButtonEntry kChildButtons[] = {
    {"ItemMDIRestore", "Restore", 0, SC_RESTORE},
    {"ItemMDIMinimize", "Minimize", 0, SC_MINIMIZE},
    {"", "-", 0, 0},
    {"ItemMDIClose", "Close", scCtrl | VK_F4, SC_CLOSE},
};

bool Skinnable(const TsSkinProvider* provider) { return provider && provider->SkinData().IsSkinned(true); }

bool BeingMadeOrFreed(const TControl* control) {
    return control->InState(csDestroying) || (control->ControlState() & csCreating) != 0;
}

}  // namespace

// ---- the procedure instance ------------------------------------------------------

TClientProcInstance::TClientProcInstance(HWND window, TTarget target) : window_(window), target_(std::move(target)) {}

TClientProcInstance::~TClientProcInstance() { Uninstall(); }

WNDPROC TClientProcInstance::Install() {
    if (installed_ || !IsWindow(window_)) return saved_;
    SetPropW(window_, kInstanceProperty, this);
    saved_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
    SetPropW(window_, kSavedProcProperty, reinterpret_cast<HANDLE>(saved_));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    installed_ = true;
    return saved_;
}

bool TClientProcInstance::Uninstall() {
    if (!installed_) return true;
    installed_ = false;
    if (!IsWindow(window_)) return true;
    RemovePropW(window_, kInstanceProperty);
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC)) != &Procedure) {
        // Someone subclassed the window after us: our procedure stays in its chain
        // and passes everything on to the one it replaced.
        return false;
    }
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
    RemovePropW(window_, kSavedProcProperty);
    return true;
}

LRESULT TClientProcInstance::PassOn(UINT msg, WPARAM wparam, LPARAM lparam) const {
    if (saved_) return CallWindowProcW(saved_, window_, msg, wparam, lparam);
    return DefWindowProcW(window_, msg, wparam, lparam);
}

LRESULT CALLBACK TClientProcInstance::Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = static_cast<TClientProcInstance*>(GetPropW(window, kInstanceProperty));
    LRESULT result = 0;
    if (self && self->installed_) {
        GuardedEntry([&] { result = self->target_(window, msg, wparam, lparam); });
    } else if (auto saved = reinterpret_cast<WNDPROC>(GetPropW(window, kSavedProcProperty))) {
        result = CallWindowProcW(saved, window, msg, wparam, lparam);
    } else {
        result = DefWindowProcW(window, msg, wparam, lparam);
    }
    if (msg == WM_NCDESTROY) {
        // The window is gone: nothing is left to give back.
        RemovePropW(window, kInstanceProperty);
        RemovePropW(window, kSavedProcProperty);
        if (self) self->installed_ = false;
    }
    return result;
}

// ---- life --------------------------------------------------------------------------

TsMDIForm::TsMDIForm(TComponent* owner) : TComponent(owner) {
    if (auto* provider = dynamic_cast<TsSkinProvider*>(owner)) {
        Attach(provider);
        return;
    }
    // Named in a stored definition: the form's provider may come later in the text.
    TForm* form = GetOwnerForm(owner);
    if (form && !form->InState(csLoading)) Attach(FindSkinProvider(form));
}

TsMDIForm::~TsMDIForm() {
    Destroying();
    delete ChildButtonsItem;
    ChildButtonsItem = nullptr;
    UnhookClient();
    // The bars and the grip call back into this object: they go with it.
    delete Grip;
    delete HScrollBar;
    delete VScrollBar;
    if (provider_) {
        provider_->RemoveFreeNotification(this);
        if (provider_->MDIExtension == this) provider_->MDIExtension = nullptr;
    }
}

void TsMDIForm::Loaded() {
    TComponent::Loaded();
    if (!provider_) Attach(FindSkinProvider(GetOwnerForm(Owner())));
}

void TsMDIForm::Attach(TsSkinProvider* provider) {
    if (!provider) return;
    provider_ = provider;
    form_ = provider->Form();
    ScrollOriginV = 0;
    ScrollOriginH = 0;
    if (provider_ != Owner()) provider_->FreeNotification(this);
    if (!provider_->MDIExtension) {
        provider_->MDIExtension = this;
        MDIFrameProvider = provider_;
    }
    if (InState(csDesigning)) return;
    form_->HandleNeeded();
    CreateChildButtonsItem();
    HookClient();
}

void TsMDIForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == ChildButtonsItem) ChildButtonsItem = nullptr;
    if (component == VScrollBar) VScrollBar = nullptr;
    if (component == HScrollBar) HScrollBar = nullptr;
    if (component == Grip) Grip = nullptr;
    if (component == provider_) {
        UnhookClient();
        provider_ = nullptr;
    }
}

void TsMDIForm::CreateChildButtonsItem() {
    if (ChildButtonsItem) return;
    ChildButtonsItem = new TMenuItem(this);
    ChildButtonsItem->SetName("sMDICII");
    ChildButtonsItem->SetGroupIndex(0);
    // It stands first in the frame's bar whatever groups a merged child's menu has.
    ChildButtonsItem->SetFixedInMerge(true);
    ChildButtonsItem->FreeNotification(this);
    TsSkinManager* manager = provider_ ? provider_->SkinData().SkinManager() : nullptr;
    for (const TChildButtonEntry& entry : kChildButtons) {
        auto* item = new TMenuItem(this);
        if (*entry.Name) item->SetName(entry.Name);
        item->SetCaption(entry.Caption);
        item->SetShortCut(entry.ShortCut);
        if (entry.Command) {
            const WPARAM command = entry.Command;
            item->OnClick = [this, command](TObject*) {
                TForm* child = form_ ? form_->ActiveMDIChild() : nullptr;
                if (child && child->HandleAllocated()) SendMessageW(child->Handle(), WM_SYSCOMMAND, command, 0);
            };
        }
        ChildButtonsItem->Add(item);
        // The menu skinning hooks the application's menus when it is switched on, which
        // may have been before this item existed: it is handed over now.
        if (manager && manager->SkinableMenus().Active()) manager->SkinableMenus().HookMenu(item, true);
    }
}

// ---- the client window's hook --------------------------------------------------------

void TsMDIForm::HookClient() {
    if (InState(csDesigning) || !form_) return;
    HWND client = form_->ClientHandle();
    if (!client) return;
    if (ClientProcInstance && ClientProcInstance->Window() != client) {
        // The frame's window was made anew, and its client window with it.
        ClientProcInstance.reset();
        SavedClientProc = nullptr;
        ClientHooked = false;
    }
    if (ClientHooked) return;
    if (SendSkinCommand(client, SMC_ISSKINNED) != 0) {
        ClientHooked = true;   // another TsMDIForm's hook answered
        return;
    }
    ClientProcInstance = std::make_unique<TClientProcInstance>(
        client, [this](HWND window, UINT msg, WPARAM wparam, LPARAM lparam) { return ClientWndProc(window, msg, wparam, lparam); });
    WNDPROC previous = ClientProcInstance->Install();
    if (previous) SavedClientProc = previous;
    ClientHooked = true;
}

void TsMDIForm::UnhookClient() {
    if (!ClientProcInstance) return;
    const HWND client = ClientProcInstance->Window();
    ClientProcInstance.reset();
    SavedClientProc = nullptr;
    ClientHooked = false;
    // The client window shows the system's look again.
    if (IsWindow(client)) RedrawWindow(client, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT TsMDIForm::PassOn(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (ClientProcInstance) return ClientProcInstance->PassOn(msg, wparam, lparam);
    return 0;
}

bool TsMDIForm::Skinned() const { return Skinnable(provider_); }

bool TsMDIForm::ActiveChildMaximized() const {
    if (!form_) return false;
    TForm* child = form_->ActiveMDIChild();
    return child && child->HandleAllocated() && IsZoomed(child->Handle());
}

LRESULT TsMDIForm::ClientWndProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (!provider_) return PassOn(msg, wparam, lparam);
    if (msg == SM_ALPHACMD) return OnClientSkinMessage(window, wparam, lparam);   // never passed on
    switch (msg) {
        case WM_SIZE:
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const LRESULT result = PassOn(msg, wparam, lparam);
            if (Skinned()) InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_PAINT: {
            if (!Skinned() || ActiveChildMaximized()) return PassOn(msg, wparam, lparam);
            PAINTSTRUCT ps{};
            HDC dc = wparam ? reinterpret_cast<HDC>(wparam) : BeginPaint(window, &ps);
            if (dc) PaintClient(dc);
            if (!wparam) EndPaint(window, &ps);
            return 0;
        }
        case WM_NCPAINT:
            if (!Skinned()) return PassOn(msg, wparam, lparam);
            // A maximised child leaves the edge to us as well: while it is being maximised,
            // its content is drawn over the bottom strip before the client window's last
            // frame change, and nothing else would paint the strip again.
            PaintClientEdge(window);
            return 0;
        case WM_MDIDESTROY: {
            // The child's window is gone once this returns: the menu and the bars follow.
            const LRESULT result = PassOn(msg, wparam, lparam);
            if (Skinned()) {
                MergeChildButtons();
                provider_->RepaintNonClient();
                if (!form_->ActiveMDIChild()) SendMessageW(window, WM_SIZE, 0, 0);
            }
            return result;
        }
        case MDICalcChildScrollMessage: {
            if (Skinned()) {
                // Wine's client window recalculates its ranges only while it has the scroll bar
                // styles, and hiding its bars once (every child inside) takes them away.
                const LONG style = GetWindowLongW(window, GWL_STYLE);
                if (!(style & (WS_HSCROLL | WS_VSCROLL))) SetWindowLongW(window, GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
            }
            const LRESULT result = PassOn(msg, wparam, lparam);
            // With the styles back, Wine draws its own bars at once, where its stale client
            // rectangle ends: over the edge's right and bottom strips (a maximised child's
            // recalculation included, which takes the bars away again).
            if (Skinned()) PaintClientEdge(window);
            if (Skinned() && !ScrollGuard) UpdateChildControls();
            return result;
        }
        case WM_NCDESTROY: {
            const LRESULT result = PassOn(msg, wparam, lparam);
            SavedClientProc = nullptr;
            ClientHooked = false;
            return result;
        }
        default: return PassOn(msg, wparam, lparam);
    }
}

LRESULT TsMDIForm::OnClientSkinMessage(HWND window, WPARAM wparam, LPARAM lparam) {
    switch (SkinCommandOf(wparam)) {
        case SMC_SKINREMOVED:
            if (reinterpret_cast<TsSkinManager*>(lparam) == provider_->SkinData().SkinManager()) {
                ClientHooked = false;
                RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
            }
            return 0;
        case SMC_ISSKINNED:
            ClientHooked = true;
            return 1;
        default: return 0;
    }
}

// ---- the MDI area ----------------------------------------------------------------------

TAlignedSums AlignedSums(const TForm* form) {
    TAlignedSums sums;
    if (!form) return sums;
    for (int i = 0; i < form->ControlCount(); ++i) {
        const TControl* control = form->Controls(i);
        if (!control->Visible()) continue;
        switch (control->Align()) {
            case TAlign::alLeft: sums.Left += control->Width(); break;
            case TAlign::alRight: sums.Right += control->Width(); break;
            case TAlign::alTop: sums.Top += control->Height(); break;
            case TAlign::alBottom: sums.Bottom += control->Height(); break;
            default: break;
        }
    }
    return sums;
}

int TsMDIForm::MDIAreaLeft() const {
    if (!provider_) return 0;
    return AlignedSums(form_).Left + provider_->FrameWidth() + provider_->FormBorderWidth();
}

int TsMDIForm::MDIAreaTop() const {
    if (!provider_) return 0;
    const int menu = provider_->MenuLineVisible() ? provider_->MenuRowCount() * provider_->MenuHeight() : 0;
    return AlignedSums(form_).Top + provider_->FrameHeight() + provider_->CaptionHeight() + menu +
           provider_->FormBorderWidth() + 1;
}

int TsMDIForm::MDIAreaWidth() const {
    if (!form_) return 0;
    const TAlignedSums sums = AlignedSums(form_);
    return form_->ClientWidth() - sums.Left - sums.Right;
}

int TsMDIForm::MDIAreaHeight() const {
    if (!form_) return 0;
    const TAlignedSums sums = AlignedSums(form_);
    return form_->ClientHeight() - sums.Top - sums.Bottom;
}

void TsMDIForm::PaintMDIArea() {
    if (!provider_) return;
    TBitmap24* cache = provider_->SkinData().CacheBmp();
    const TsSkinTables* tables = provider_->SkinData().Tables();
    TsSkinManager* manager = provider_->SkinData().SkinManager();
    if (!cache || cache->Empty() || !tables || !manager) return;
    const int section = manager->SectionIndexOf("MDIAREA");
    // A skin without the section leaves the form's own background there.
    if (!tables->IsValidSectionIndex(section)) return;
    const int left = MDIAreaLeft(), top = MDIAreaTop();
    TCacheDC dc(*cache);
    if (!dc.Handle()) return;
    PaintSectionToDC(section, TParentBackground{cache, 0, 0, true}, tables, {left, top}, 0, true, dc.Handle(),
                     {left, top, left + MDIAreaWidth(), top + MDIAreaHeight()});
    GdiFlush();
}

void TsMDIForm::PaintClient(HDC dc) {
    provider_->RepaintCache();   // only when it is stale
    const TBitmap24* cache = provider_->SkinData().CacheBmp();
    if (!cache || cache->Empty()) return;
    const TAlignedSums sums = AlignedSums(form_);
    // The frame's controls over the client window, in its coordinates.
    const int shiftX = -(sums.Left + 2), shiftY = -(sums.Top + 2);
    const RECT source{MDIAreaLeft() + 2, MDIAreaTop() + 2, shiftX, shiftY};
    provider_->SkinData().CopyCacheToDC(form_, source, false, dc, {0, 0, MDIAreaWidth(), MDIAreaHeight()});
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, shiftX, shiftY, nullptr);
    PaintGraphicChildren(dc, form_);
    RestoreDC(dc, saved);
    NotifyChildrenParentUpdated(form_);
}

void TsMDIForm::PaintClientEdge(HWND window) {
    provider_->RepaintCache();
    const TBitmap24* cache = provider_->SkinData().CacheBmp();
    if (!cache || cache->Empty()) return;
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int left = MDIAreaLeft(), top = MDIAreaTop();
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    TCacheDC memory(*cache);
    if (memory.Handle()) {
        constexpr int edge = 2;
        BitBlt(dc, 0, 0, w, edge, memory.Handle(), left, top, SRCCOPY);
        BitBlt(dc, 0, 0, edge, h, memory.Handle(), left, top, SRCCOPY);
        BitBlt(dc, 0, h - edge, w, edge, memory.Handle(), left, top + h - edge, SRCCOPY);
        BitBlt(dc, w - edge, 0, edge, h, memory.Handle(), left + w - edge, top, SRCCOPY);
    }
    ReleaseDC(window, dc);
}

// ---- scroll bars and grip ------------------------------------------------------------------

namespace {

// The client window's range in one direction, made relative to its start;
// false when the whole range fits in a page.
bool ReadClientRange(HWND client, int bar, SCROLLINFO& info, int& origin) {
    info = SCROLLINFO{};
    info.cbSize = sizeof(SCROLLINFO);
    info.fMask = SIF_ALL;
    if (!client || !GetScrollInfo(client, bar, &info)) return false;
    // An empty range (what the client window sets while every child fits) scrolls nothing.
    if (info.nMax <= info.nMin || info.nMax - info.nMin < static_cast<int>(info.nPage)) return false;
    origin = info.nMin;
    info.nMax = info.nMax + 1 - static_cast<int>(info.nPage) - info.nMin;
    info.nPos -= origin;
    info.nMin = 0;
    if (info.nPage == 0) info.nPage = 80;
    return true;
}

void GiveRange(TsScrollBar& bar, const SCROLLINFO& info) {
    bar.SetParams(std::clamp(info.nPos, info.nMin, std::max(info.nMin, info.nMax)), info.nMin, info.nMax);
    bar.SetPageSize(static_cast<int>(info.nPage));
    bar.SkinData.Updating = false;
    bar.SkinData.BackgroundChanged = true;
}

}  // namespace

TsScrollBar* TsMDIForm::NeedBar(TsScrollBar*& bar, bool vertical) {
    if (bar) return bar;
    bar = new TsScrollBar(form_);
    bar->FreeNotification(this);
    bar->SetVisible(false);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    bar->SkinData.SetSkinManager(provider_->SkinData().SkinManager());
    bar->SetParent(form_);
    TsScrollBar* created = bar;
    bar->OnChange = [this, created](TObject*) { ScrollBarChanged(created); };
    return bar;
}

void TsMDIForm::UpdateChildControls() {
    if (!form_ || !provider_ || form_->InState(csDestroying)) return;
    const TAlignedSums sums = AlignedSums(form_);
    HWND client = form_->ClientHandle();
    SCROLLINFO vertical{}, horizontal{};
    bool needV = false, needH = false;
    if (Skinned() && form_->ActiveMDIChild() && !ActiveChildMaximized()) {
        needV = ReadClientRange(client, SB_VERT, vertical, ScrollOriginV);
        needH = ReadClientRange(client, SB_HORZ, horizontal, ScrollOriginH);
        if (needH && horizontal.nMax == ScrollOriginH) {
            needH = false;
            ++horizontal.nMax;
        }
    }
    const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
    const bool guarded = ScrollGuard;
    ScrollGuard = true;   // setting the ranges scrolls nothing
    try {
        if (needV) {
            TsScrollBar& bar = *NeedBar(VScrollBar, true);
            GiveRange(bar, vertical);
            bar.SetBounds(form_->ClientWidth() - cx - sums.Right - 2, sums.Top, cx + 1,
                          MDIAreaHeight() - (needH ? cy : 0) - 1);
            bar.Show();
            bar.BringToFront();
        } else if (VScrollBar) {
            VScrollBar->Hide();
        }
        if (needH) {
            TsScrollBar& bar = *NeedBar(HScrollBar, false);
            GiveRange(bar, horizontal);
            const int vWidth = VScrollBar && VScrollBar->Visible() ? VScrollBar->Width() : 0;
            bar.SetBounds(sums.Left, form_->ClientHeight() - cy - sums.Bottom - 2, MDIAreaWidth() - vWidth, cy + 1);
            bar.Show();
            bar.BringToFront();
        } else if (HScrollBar) {
            HScrollBar->Hide();
        }
        if (VScrollBar && HScrollBar && VScrollBar->Visible() && HScrollBar->Visible()) {
            if (!Grip) {
                Grip = new TsGrip(form_);
                Grip->FreeNotification(this);
                Grip->SkinData().SetSkinManager(provider_->SkinData().SkinManager());
                Grip->SetParent(form_);
            }
            Grip->SetBounds(VScrollBar->Left() + 1, HScrollBar->Top() + 1, HScrollBar->Height() - 1, VScrollBar->Width() - 1);
            Grip->Show();
            Grip->BringToFront();
        } else if (Grip) {
            Grip->Hide();
        }
    } catch (...) {
        ScrollGuard = guarded;
        throw;
    }
    ScrollGuard = guarded;
}

void TsMDIForm::ScrollBarChanged(TsScrollBar* bar) {
    if (!form_ || BeingMadeOrFreed(bar) || ScrollGuard) return;
    HWND client = form_->ClientHandle();
    if (!client) return;
    ScrollGuard = true;
    const bool vertical = bar == VScrollBar;
    const int position = bar->Position() + (vertical ? ScrollOriginV : ScrollOriginH);
    const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    const int kind = vertical ? SB_VERT : SB_HORZ;
    if (position < 0 || position > 0xFFFF) {
        // A range that starts above or left of the area (a child moved there) has
        // positions a 16-bit thumb position cannot carry (Wine reads it unsigned):
        // the children are scrolled by the difference, as the client window would.
        const int current = GetScrollPos(client, kind);
        if (position != current) {
            SetScrollPos(client, kind, position, FALSE);
            const int by = current - position;
            ScrollWindowEx(client, vertical ? 0 : by, vertical ? by : 0, nullptr, nullptr, nullptr, nullptr,
                           SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        }
    } else {
        const WORD thumb = static_cast<WORD>(position);
        SendMessageW(client, msg, MAKEWPARAM(SB_THUMBPOSITION, thumb), 0);
        if (GetScrollPos(client, kind) != position) {
            // Wine's client window takes the position only in the 16-bit form: the code alone
            // in the first parameter, the position in the second.
            SendMessageW(client, msg, SB_THUMBPOSITION, thumb);
        }
    }
    ScrollGuard = false;
}

// ---- the child buttons item -------------------------------------------------------------------

void TsMDIForm::MergeChildButtons() {
    if (!form_ || !provider_ || !ChildButtonsItem) return;
    TMainMenu* menu = form_->Menu();
    TMenuItem* items = menu ? &menu->Items() : nullptr;
    const bool first = items && items->Count() > 0 && items->Items(0) == ChildButtonsItem;
    if (ActiveChildMaximized() && items && !first) {
        provider_->SkinData().Updating = true;
        Application().ProcessMessages();
        if (ChildButtonsItem) {
            // Left behind in a menu the frame no longer shows, or further down this one.
            if (TMenuItem* parent = ChildButtonsItem->Parent()) parent->Remove(ChildButtonsItem);
            if (form_->Menu() == menu) items->Insert(0, ChildButtonsItem);
        }
        provider_->SkinData().Updating = false;
        provider_->RepaintNonClient();
    } else if (!ActiveChildMaximized() && ChildButtonsItem->Parent()) {
        ChildButtonsItem->Parent()->Remove(ChildButtonsItem);
        provider_->RefreshMenuOwnerDraw();
        // The menu line loses the buttons and the title its "- [child]" (which the
        // client window sets without a WM_SETTEXT the provider would see).
        provider_->RepaintNonClient();
    }
    if (!ScrollGuard) UpdateChildControls();
}

// ---- registration ------------------------------------------------------------------------------

void RegisterMDIFormClass() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFrameworkClasses();
    TClassRegistry::Instance().RegisterClass<TsMDIForm>("TsMDIForm", "TComponent");
}

}  // namespace korvel
