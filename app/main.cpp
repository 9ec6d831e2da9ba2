// Korvel Pro: the launcher's entry point.
#include <windows.h>

#include "app/main_form.h"
#include "gui/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace korvel;
    Application().Initialize();
    Application().CreateForm<TForm1>();
    Application().Run();
    return 0;
}
