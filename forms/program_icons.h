#pragma once
// The program file's own shell icons, asked of the shell once and kept for the
// program's life: the title bar and an MDI frame's menu line fall back on them.
#include <windows.h>

namespace korvel {

// The large (large = true) or small icon of the program file; nullptr when it has none.
HICON ProgramShellIcon(bool large);

}  // namespace korvel
