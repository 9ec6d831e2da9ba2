#pragma once
// TsMDIForm: what an MDI frame's skin provider adds to the frame. It subclasses
// the frame's MDI client window, paints the client window's background and
// edge from the frame's cache, puts skinned scroll bars (and a grip between
// them) on the frame in place of the client window's own, and supplies the
// menu item that stands for a maximised child's window commands.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "gui/component.h"

namespace korvel {

class TForm;
class TMenuItem;
class TsGrip;
class TsScrollBar;
class TsSkinProvider;

// The provider of the form that has MDI frame support, or nullptr. MDI
// children reach their frame through it.
extern TsSkinProvider* MDIFrameProvider;

// A window procedure bound to one object. The window carries the object in a
// property that one shared procedure reads; the procedure it replaced stays
// with the window too, so messages still pass on if another party subclassed
// the window after us and we could not take our procedure out again.
class TClientProcInstance {
public:
    using TTarget = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
    TClientProcInstance(HWND window, TTarget target);
    ~TClientProcInstance();
    TClientProcInstance(const TClientProcInstance&) = delete;
    TClientProcInstance& operator=(const TClientProcInstance&) = delete;

    // Installs the shared procedure; answers the procedure it replaced.
    WNDPROC Install();
    // Gives the window back the procedure it had, when ours is still the
    // outermost; answers whether it could.
    bool Uninstall();
    HWND Window() const { return window_; }
    // Calls the replaced procedure.
    LRESULT PassOn(UINT msg, WPARAM wparam, LPARAM lparam) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    HWND window_;
    TTarget target_;
    WNDPROC saved_ = nullptr;
    bool installed_ = false;
};

class TsMDIForm : public TComponent {
public:
    // Owner: the frame's provider; or any component of the frame form, whose
    // provider it then serves (a stored definition names it so).
    explicit TsMDIForm(TComponent* owner);
    ~TsMDIForm() override;
    std::string ClassName() const override { return "TsMDIForm"; }

    // The MDI client window's previous procedure (nullptr: we did not hook it).
    WNDPROC SavedClientProc = nullptr;
    std::unique_ptr<TClientProcInstance> ClientProcInstance;
    TsScrollBar* VScrollBar = nullptr;
    TsScrollBar* HScrollBar = nullptr;
    TsGrip* Grip = nullptr;
    // The client window answered that it is already hooked.
    bool ClientHooked = false;
    TForm* Form() const { return form_; }
    // Inserted into the frame's main menu while its active child is maximised.
    TMenuItem* ChildButtonsItem = nullptr;
    TsSkinProvider* Provider() const { return provider_; }

    // Where the client window's scroll ranges start, and the guard that keeps
    // the scroll bar changes and UpdateChildControls from re-entering each other.
    int ScrollOriginV = 0;
    int ScrollOriginH = 0;
    bool ScrollGuard = false;

    // Subclasses the MDI client window, unless it answers that it is hooked already.
    void HookClient();
    // Places or hides the skinned scroll bars and the grip.
    void UpdateChildControls();
    // Inserts or removes ChildButtonsItem as the active child is maximised or not.
    void MergeChildButtons();

    // The MDI area in the frame's window coordinates.
    int MDIAreaLeft() const;
    int MDIAreaTop() const;
    int MDIAreaWidth() const;
    int MDIAreaHeight() const;
    // The MDI area background in the frame's cache (the MDIAREA section).
    void PaintMDIArea();

    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Attach(TsSkinProvider* provider);
    void CreateChildButtonsItem();
    void UnhookClient();
    bool Skinned() const;
    bool ActiveChildMaximized() const;
    TsScrollBar* NeedBar(TsScrollBar*& bar, bool vertical);
    void ScrollBarChanged(TsScrollBar* bar);

    // The client window's messages.
    LRESULT ClientWndProc(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT PassOn(UINT msg, WPARAM wparam, LPARAM lparam);
    LRESULT OnClientSkinMessage(HWND window, WPARAM wparam, LPARAM lparam);
    void PaintClient(HDC dc);
    void PaintClientEdge(HWND window);

    TsSkinProvider* provider_ = nullptr;
    TForm* form_ = nullptr;
};

// The sums of the sizes of a form's visible child controls of each alignment.
struct TAlignedSums {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};
TAlignedSums AlignedSums(const TForm* form);

// Registers TsMDIForm with the class registry (once).
void RegisterMDIFormClass();

}  // namespace korvel
