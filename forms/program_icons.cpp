#include "forms/program_icons.h"

#include <shellapi.h>

namespace korvel {

namespace {

struct TProgramIcons {
    HICON Large = nullptr;
    HICON Small = nullptr;
    TProgramIcons() {
        wchar_t path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return;
        if (ExtractIconExW(path, 0, &Large, &Small, 1) == 0) Large = Small = nullptr;
    }
    ~TProgramIcons() {
        if (Large) DestroyIcon(Large);
        if (Small) DestroyIcon(Small);
    }
    TProgramIcons(const TProgramIcons&) = delete;
    TProgramIcons& operator=(const TProgramIcons&) = delete;
};

}  // namespace

HICON ProgramShellIcon(bool large) {
    static const TProgramIcons icons;
    return large ? icons.Large : icons.Small;
}

}  // namespace korvel
