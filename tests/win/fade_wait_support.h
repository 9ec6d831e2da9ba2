#pragma once
// Waiting for the skinned controls' cross-fades instead of for a fixed time.
#include "engine/fade.h"
#include "gui_test_support.h"

namespace korvel::testing {

// Handles messages until no fade runs any more, then lets the last frame's
// repaint happen; fails the running test when a fade is still running after the
// bound. A fade that has not started yet (its pointer event still on its way)
// is not waited for: move the pointer with MovePointer first.
inline void WaitFadesEnded(int limitMillis = WaitLimitMillis) {
    PumpUntil([] { return TsFadeTimer::Live() == 0; }, "every fade to end", limitMillis);
    Application().ProcessMessages();
}

}  // namespace korvel::testing
