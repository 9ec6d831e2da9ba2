#include "forms/skinned_program.h"

#include <windows.h>

#include "controls/control_classes.h"
#include "controls/skinable_menus.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/system_colors.h"
#include "paint/platform_canvas_win.h"

namespace korvel {
namespace {

TColor WindowsSystemColor(int index) { return static_cast<TColor>(GetSysColor(index)); }

}  // namespace

void PrepareSkinnedProgram() {
    static const bool prepared = [] {
        RegisterSkinManagerClass();
        RegisterSkinProviderClass();
        RegisterSkinnedControlClasses();
        InstallSkinableMenus();
        InstallGdiPaintPlatform();
        SetSystemColorSource(&WindowsSystemColor);
        return true;
    }();
    (void)prepared;
}

}  // namespace korvel
