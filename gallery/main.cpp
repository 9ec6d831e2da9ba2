// Korvel Gallery: the skinning engine's demonstration program.
//
//   korvel-gallery.exe [SKIN]
//
// starts in the named skin (one the Skins menu lists) instead of its own.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "gallery/gallery_frame.h"
#include "gui/application.h"
#include "gui/text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace korvel;
    std::string startSkin;
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        if (count > 1) startSkin = Narrow(arguments[1]);
        LocalFree(arguments);
    }
    Application().Initialize();
    Application().CreateForm<TGalleryFrame>(static_cast<HMODULE>(nullptr), startSkin);
    Application().Run();
    return 0;
}
