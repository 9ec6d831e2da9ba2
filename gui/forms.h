#pragma once
// Top-level windows. A form is created by the application (or a test), may be
// built from a stored window definition, and ends the program when it is the
// main form and closes.
#include <string>

#include "gui/win_control.h"

namespace korvel {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = std::uint8_t;
enum class TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm: a frame whose client area holds MDI child forms; fsMDIChild: a
// form inside the frame of the application's MDI form.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm };

class TForm;

// One direction of a form's own scrolling (the window's own scroll bar).
class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TForm* form, bool vertical) : form_(form), vertical_(vertical) {}
    std::string ClassName() const override { return "TControlScrollBar"; }
    bool Vertical() const { return vertical_; }
    // The content's extent asked for (0: none): the larger of it and the
    // children's extent is scrolled. Negative values throw EInvalidOperation.
    int Range() const { return range_; }
    void SetRange(int value);
    // One line of scrolling, 1 to 32767 (else EInvalidOperation); 8 by default.
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    // A hidden bar never shows, and its direction does not scroll.
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // Dragging the thumb scrolls at once (else at the release).
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value) { smooth_ = value; }
    // How far the content is scrolled (0: not at all).
    int Position() const { return position_; }
    void SetPosition(int value);
    void Assign(const TPersistent& source) override;

private:
    friend class TForm;
    TForm* form_;
    bool vertical_;
    int range_ = 0;
    int increment_ = 8;
    bool visible_ = true;
    bool smooth_ = false;
    int position_ = 0;
};

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;
    std::string ClassName() const override { return "TForm"; }

    // Reads a stored window definition into this form (see gui/README.md):
    // creates the components it lists, assigns their properties, calls Loaded,
    // then raises OnCreate (an exception from it is reported, not thrown).
    // Resources the definition names come from Module (nullptr: the program).
    void ReadDefinition(const std::string& text, HMODULE module = nullptr);
    // The same, from an RCDATA resource of the module, which also holds the named resources.
    void ReadDefinitionResource(HMODULE module, const std::string& resourceName);

    // Client size: the outer size follows from the border style and icons.
    void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
    void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
    void SetClientSize(int width, int height);
    RECT ClientRect() const override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    TIcon& Icon() { return icon_; }

    // The form's own scrolling: with AutoScroll, the window shows its own scroll
    // bars when the children reach beyond the client area, and scrolling moves
    // the children. Switching it off scrolls back and hides the bars.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    TControlScrollBar& HorzScrollBar() { return horzScrollBar_; }
    TControlScrollBar& VertScrollBar() { return vertScrollBar_; }
    // How far the visible children, aligned to none or to the top (vertical) or
    // left (horizontal), reach in the content, scrolled or not.
    int ContentExtent(bool vertical) const;

    // The menu bar (nullptr: none); forgotten when the menu is freed. An MDI
    // child keeps it without showing it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* value);
    // Told by the menu of any change: redraws the bar, sends CM_MENUCHANGED.
    void MenuChanged();

    // Shows the form and runs the message loop until ModalResult is set (a
    // button with a ModalResult, Escape or closing give mrCancel), with every
    // other window of the program disabled; then hides it and answers ModalResult.
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }

    // Asks OnClose what to do (the main form: free and end the program; an MDI
    // child: minimise; other forms: hide) and does it; caFree releases the form.
    void Close();
    // Frees the form once the current message has been handled (a message
    // posted to the form); safe from the form's own event handlers.
    void Release();
    // The control that has the focus inside the form, or, while the form is not
    // active, the one that will get it back when the form is activated again.
    TWinControl* ActiveControl() const;
    // Focuses Control now if the form is active, else when it is next activated.
    // Throws EInvalidOperation for a control that is not on this form.
    void SetActiveControl(TWinControl* control);

    TFormStyle FormStyle() const { return formStyle_; }
    // fsMDIChild needs an MDI form in the application (EInvalidOperation otherwise).
    void SetFormStyle(TFormStyle value);
    // An MDI form's client window (class "MDICLIENT"), created with the form's
    // window and filling the client area the aligned controls leave; nullptr otherwise.
    HWND ClientHandle();
    // An MDI form's children in the client window's Z-order, the top one first.
    int MDIChildCount();
    TForm* MDIChildren(int index);
    TForm* ActiveMDIChild();
    void Cascade();
    void Tile();
    // Activates the next child (the active one goes to the bottom), or the previous one.
    void Next();
    void Previous();
    // The application's MDI form, which holds an MDI child; nullptr when there is none.
    static TForm* MDIParentForm();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    std::function<void(TObject* sender, TCloseAction& action)> OnClose;

    // Live forms in creation order (the application's list of forms).
    static int FormCount();
    static TForm* Forms(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void ClientAreaAligned(const RECT& rest) override;
    void Loaded() override;
    void VisibleChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Styles for the border style and icons.
    void FrameStyles(DWORD& style, DWORD& exStyle) const;

private:
    void PlaceOnScreen(TCreateParams& params) const;
    void ApplyIcon();
    void CreateClientWindow();
    // The form's answer to a navigation key no child took.
    bool DialogKey(WPARAM key);
    void OnDialogKey(TMessage& message);
    void OnFocusChanged(TMessage& message);
    // Saves the focused control on deactivation and gives it the focus back on
    // activation (the first tab stop when there is none); CM_ACTIVATE, CM_DEACTIVATE.
    void OnActivate(TMessage& message);
    void OnSize(TMessage& message);
    // The form's own scrolling (gui/form_scrolling.cpp).
    friend class TControlScrollBar;
    void UpdateScrollBars();
    void OnScrollMessage(TMessage& message);
    // Moves the content to a bar's new position.
    void ScrollTo(TControlScrollBar& bar, int position);
    // The focused control inside the form, nullptr when the focus is elsewhere.
    TWinControl* FocusedControl() const;
    // The focus is on a control of this form that the form would focus itself.
    bool FocusIsOnActiveControl() const;
    void RememberActiveControl(TWinControl* control);
    void FocusActiveControl();
    bool Contains(const TControl* control) const;
    // Queues the form for FreeReleasedForms.
    void OnRelease();
    TForm* MDIChildOf(HWND window) const;
    void MDICommand(UINT msg, WPARAM wparam, LPARAM lparam);
    bool HasMenuBar() const { return menu_ && formStyle_ != TFormStyle::fsMDIChild; }
    // An MDI child's menu shows in its frame's bar while the child is active.
    void OnMDIActivate(TMessage& message);
    void MergeIntoFrame(bool merge);
    // The modal loop's end: OnClose may keep the form open (caNone).
    bool CloseModal(TCloseAction& action);
    // Hides the forms this form's window owns while it is minimised, and shows them again.
    void ShowOwnedForms(bool show);

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    TIcon icon_;
    int clientWidth_ = -1;    // the client size asked for, kept until the window exists
    int clientHeight_ = -1;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    HWND clientHandle_ = nullptr;
    TWinControl* activeControl_ = nullptr;   // linked by FreeNotification
    TMainMenu* menu_ = nullptr;
    bool modal_ = false;
    bool hiddenWithOwner_ = false;
    TModalResult modalResult_ = mrNone;
    bool autoScroll_ = false;
    TControlScrollBar horzScrollBar_{this, false};
    TControlScrollBar vertScrollBar_{this, true};
    bool updatingScrollBars_ = false;
    bool scrolling_ = false;
};

// Frees the forms whose release message has arrived; the last TDispatchScope
// to end calls it, when no code of ours entered from Win32 is running any more.
void FreeReleasedForms();

// Marks a call from Win32 or the message loop into our code (a window
// procedure, a dialog key, a timer, an enumeration callback) for as long as it
// runs. Released forms are freed only when the outermost scope ends, so no
// handler returns into a freed form, even one that runs a nested message loop.
class TDispatchScope {
public:
    TDispatchScope();
    ~TDispatchScope();
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;
    // How many scopes are open on this thread.
    static int Depth();
};

}  // namespace korvel
