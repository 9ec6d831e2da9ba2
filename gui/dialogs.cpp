#include "gui/dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "gui/application.h"
#include "gui/text.h"

namespace korvel {

bool TOpenDialog::Execute() {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    std::wstring filter = Widen(filter_);
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    if (!filter.empty()) filter += std::wstring(2, L'\0');

    std::vector<wchar_t> file(32768, L'\0');
    std::wstring current = Widen(fileName_);
    current.copy(file.data(), std::min(current.size(), file.size() - 1));
    std::wstring initialDir = Widen(initialDir_);
    std::wstring defaultExt = Widen(defaultExt_);
    std::wstring title = Widen(title_);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    HWND owner = GetActiveWindow();
    if (!owner && Application().MainForm() && Application().MainForm()->HandleAllocated())
        owner = Application().MainForm()->Handle();
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The framework's defaults only: like any plain file dialog, a confirmed
    // one leaves the process in the chosen file's folder.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    BOOL confirmed = IsSaveDialog() ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!confirmed) return false;
    fileName_ = Narrow(file.data());
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    return true;
}

}  // namespace korvel
