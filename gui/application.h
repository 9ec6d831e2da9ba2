#pragma once
// The application object: creates the main form, runs the message loop until
// the main form closes, and reports exceptions that escape event handlers.
#include <functional>
#include <memory>
#include <string>

#include "gui/component.h"
#include "gui/forms.h"

namespace korvel {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    std::string ClassName() const override { return "TApplication"; }

    void Initialize();
    // Creates a form owned by the application; the first becomes the main form.
    // A form whose definition cannot be read is reported in a message box naming
    // the line, and the application terminates (Run returns at once); returns nullptr then.
    // Arguments after the owner go to the form's constructor.
    template <class T, class... TArgs>
    T* CreateForm(const TArgs&... args) {
        return static_cast<T*>(AddForm([&]() -> TForm* { return new T(this, args...); }));
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Shows the main form and dispatches messages until it closes.
    void Run();
    void ProcessMessages();
    // Waits for one message and dispatches it; when that empties the queue,
    // the application is idle (Idle).
    void HandleMessage();
    // The idle pass: every action list updates its actions.
    void Idle();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void Minimize();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }
    // Whether hints are shown (the hint display switch).
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }

    // Reports an exception that escaped an event handler; the program goes on.
    void HandleException(const std::exception& error);
    void ShowException(const std::string& message);
    // Replaces the default report (a message box owned by the main window).
    std::function<void(const std::exception&)> OnException;

private:
    TForm* AddForm(const std::function<TForm*()>& create);
    bool ProcessMessage(MSG& msg);
    // A key press offered to the focused control as CN_KEYDOWN before Win32
    // translates it (menu shortcuts); true when it was used.
    bool IsKeyMsg(const MSG& msg);
    // Keys the focused control does not claim go to its form (CM_DIALOGKEY,
    // CM_DIALOGCHAR); true when the form answered and the message is done.
    bool IsDialogKey(const MSG& msg);
    // The MDI form's window keys (Ctrl+F4, Ctrl+F6) for its active child.
    bool IsMDIKey(MSG& msg);

    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool showHint_ = true;
    std::string title_;
};

// The program's one application object.
TApplication& Application();

// Called inside a catch block: hands the current exception to the application.
void HandleCurrentException();

// Runs Code entered from Win32 or the message loop (a window procedure, a
// timer, an enumeration callback, a key the loop gives a form): inside a
// TDispatchScope, and with any exception handed to the application's handler,
// so it neither unwinds through Win32's frames nor ends the message loop.
template <class F>
void GuardedEntry(F&& code) noexcept {
    TDispatchScope scope;
    try {
        code();
    } catch (...) {
        HandleCurrentException();
    }
}

}  // namespace korvel
