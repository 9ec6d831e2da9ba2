#include "gui/text_file.h"

#include <windows.h>

#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

void WriteTextFile(const std::string& path, const std::string& content) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) RaiseLastInOutError();
    size_t written = 0;
    while (written < content.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - written, 1u << 20));
        DWORD done = 0;
        if (!WriteFile(file, content.data() + written, chunk, &done, nullptr) || done == 0) {
            DWORD error = done == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError();
            CloseHandle(file);
            SetLastError(error);
            RaiseLastInOutError();
        }
        written += done;
    }
    if (!CloseHandle(file)) RaiseLastInOutError();
}

}  // namespace korvel
