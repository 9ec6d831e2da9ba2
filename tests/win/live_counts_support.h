#pragma once
// What a soak compares before and after: the framework's live-object counters,
// the system's GDI and USER object counts, and the committed private memory.
#include <windows.h>
#include <psapi.h>

#include "gui/bitmap24.h"
#include "gui/component.h"
#include "gui/control.h"
#include "gui/graphics.h"

namespace korvel::testing {

struct TCounts {
    TGdiCounters Gdi;
    int Controls = 0, Components = 0, PixelStores = 0;
    DWORD GdiObjects = 0, UserObjects = 0;
    SIZE_T PrivateBytes = 0;
};

inline TCounts Count() {
    TCounts c;
    c.Gdi = GdiCounters();
    c.Controls = TControl::LiveControls();
    c.Components = TComponent::LiveCount();
    c.PixelStores = LivePixelStores();
    c.GdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.UserObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    K32GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    // Wine leaves PrivateUsage at 0; the page-file usage is the committed private memory there too.
    c.PrivateBytes = pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
    return c;
}

}  // namespace korvel::testing
