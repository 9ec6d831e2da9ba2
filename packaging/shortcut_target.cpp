// shortcut_target FILE.lnk: prints what a shortcut starts, read through the
// shell's own link object as the Start menu does, one item per line:
//   target  <path>
//   arguments  <text>
//   folder  <working folder>
// Exit code 0 when the shortcut was read, 1 when it cannot be.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "gui/text.h"

namespace {

void Print(const char* what, const wchar_t* text) { printf("%s\t%s\n", what, korvel::Narrow(text).c_str()); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fwprintf(stderr, L"usage: shortcut_target FILE.lnk\n");
        return 64;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int result = 1;
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(argv[1], STGM_READ))) {
        wchar_t text[MAX_PATH + 1] = {};   // GetPath and GetWorkingDirectory are limited to MAX_PATH
        wchar_t arguments[INFOTIPSIZE] = {};
        if (link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK) {
            Print("target", text);
            link->GetArguments(arguments, INFOTIPSIZE);
            Print("arguments", arguments);
            text[0] = L'\0';
            link->GetWorkingDirectory(text, MAX_PATH);
            Print("folder", text);
            result = 0;
        }
    } else {
        fwprintf(stderr, L"shortcut_target: cannot read %ls\n", argv[1]);
    }
    if (file) file->Release();
    if (link) link->Release();
    CoUninitialize();
    return result;
}
