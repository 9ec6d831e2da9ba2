#include "gui/exceptions.h"

#include <windows.h>

#include "gui/text.h"

namespace korvel {
namespace {

struct TInOutText {
    int code;
    const char* text;
};

constexpr TInOutText kInOutTexts[] = {
    {2, "File not found"},
    {3, "Invalid filename"},
    {4, "Too many open files"},
    {5, "File access denied"},
    {101, "Disk full"},
};

}  // namespace

std::string InOutErrorText(int errorCode) {
    for (const auto& entry : kInOutTexts)
        if (entry.code == errorCode) return entry.text;
    return FormatText("I/O error %d", {std::to_string(errorCode)});
}

EInOutError::EInOutError(int errorCode) : Exception(InOutErrorText(errorCode)), errorCode_(errorCode) {}

void RaiseLastInOutError() {
    DWORD error = GetLastError();
    // A full disk reaches Win32 callers as ERROR_DISK_FULL or ERROR_HANDLE_DISK_FULL;
    // the runtime reports both with its own number 101.
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) throw EInOutError(101);
    throw EInOutError(static_cast<int>(error));
}

std::string SystemErrorMessage(unsigned long osError) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, osError, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return FormatText("System error.  Code: %d.", {std::to_string(osError)});
    return Narrow(text);
}

EFOpenError::EFOpenError(const std::string& path, unsigned long osError)
    : Exception(FormatText("Cannot open file \"%s\". %s", {path, SystemErrorMessage(osError)})) {}

}  // namespace korvel
