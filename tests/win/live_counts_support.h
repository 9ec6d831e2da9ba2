#pragma once
// What a soak compares before and after: the framework's live-object counters,
// the system's GDI and USER object counts, and the committed private memory.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>

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

// Every counted object of before is there after, and nothing more.
inline void ExpectSameCounts(const TCounts& before, const TCounts& after) {
    EXPECT_EQ(after.Gdi.Bitmaps, before.Gdi.Bitmaps);
    EXPECT_EQ(after.Gdi.Fonts, before.Gdi.Fonts);
    EXPECT_EQ(after.Gdi.Brushes, before.Gdi.Brushes);
    EXPECT_EQ(after.Gdi.Pens, before.Gdi.Pens);
    EXPECT_EQ(after.Gdi.Icons, before.Gdi.Icons);
    EXPECT_EQ(after.Gdi.DeviceContexts, before.Gdi.DeviceContexts);
    EXPECT_EQ(after.Gdi.Windows, before.Gdi.Windows);
    EXPECT_EQ(after.Gdi.Regions, before.Gdi.Regions);
    EXPECT_EQ(after.Controls, before.Controls);
    EXPECT_EQ(after.Components, before.Components);
    EXPECT_EQ(after.PixelStores, before.PixelStores);
    EXPECT_EQ(after.GdiObjects, before.GdiObjects);
    EXPECT_EQ(after.UserObjects, before.UserObjects);
}

// One line with the counts before and after, for the test's output.
inline void PrintCounts(const char* what, const TCounts& before, const TCounts& after) {
    std::printf("%s: pixel stores %d -> %d, windows %d -> %d, bitmaps %d -> %d, fonts %d -> %d, regions %d -> %d, "
                "DCs %d -> %d, controls %d -> %d, "
                "components %d -> %d, GDI objects %lu -> %lu, USER objects %lu -> %lu, private bytes %zu -> %zu\n",
                what, before.PixelStores, after.PixelStores, before.Gdi.Windows, after.Gdi.Windows,
                before.Gdi.Bitmaps, after.Gdi.Bitmaps, before.Gdi.Fonts, after.Gdi.Fonts, before.Gdi.Regions,
                after.Gdi.Regions, before.Gdi.DeviceContexts, after.Gdi.DeviceContexts, before.Controls,
                after.Controls, before.Components, after.Components, before.GdiObjects, after.GdiObjects,
                before.UserObjects, after.UserObjects, static_cast<size_t>(before.PrivateBytes),
                static_cast<size_t>(after.PrivateBytes));
}

}  // namespace korvel::testing
