// Korvel Gallery: the skinning engine's demonstration program.
#include <windows.h>

#include "gallery/gallery_frame.h"
#include "gui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace korvel;
    Application().Initialize();
    Application().CreateForm<TGalleryFrame>();
    Application().Run();
    return 0;
}
