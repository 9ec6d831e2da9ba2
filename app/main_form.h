#pragma once
// The launcher's main window: built from its stored definition (resource
// "MAINWINDOW"), with the page switching, the launches, the Views, the browse
// buttons, the linked fields, the seed site file and the web address. Every
// handler is generic and bound by name from the tool, view, browse, link and
// page tables.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "gui/dialogs.h"
#include "gui/forms.h"
#include "gui/std_controls.h"

namespace korvel {

// The maker's web address, opened by sLabel36 and sButton3.
inline constexpr std::string_view kMakerWebAddress = "http://kvl.example/";

class TForm1 : public TForm {
public:
    // Builds the window from the definition resource of Module (nullptr: the program).
    explicit TForm1(TComponent* owner, HMODULE module = nullptr);
    std::string ClassName() const override { return "TForm1"; }

    // The call that hands a program or file to the shell: owner, verb, file,
    // parameters. Defaults to ShellOpen with SW_SHOW; tests record it instead.
    using TShellCall = std::function<void(HWND owner, const std::string& verb, const std::string& file,
                                          const std::string& parameters)>;
    TShellCall ShellCall;
    // Shows a file dialog modally; true when confirmed. Defaults to Execute.
    std::function<bool(TOpenDialog& dialog)> ExecuteDialog;

    // A named component of the window as a control of the expected kind; throws when missing.
    template <class T>
    T& Part(std::string_view name) const {
        return dynamic_cast<T&>(Component(name));
    }

private:
    void RegisterHandlers();
    TComponent& Component(std::string_view name) const;

    void ShowPage(std::string_view page);
    void Launch(std::string_view button);
    void View(std::string_view outputField);
    void Browse(std::string_view dialog, std::string_view field);
    void OpenWebAddress();
    void Propagate(std::string_view source);
    void rootgenipChange();
    void rootgenbtnClick();
    void vicinorviewClick();
};

}  // namespace korvel
