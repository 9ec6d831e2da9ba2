#pragma once
// The skinned bars and splitter as one group: the status bar, the tool bar
// with its buttons, and the splitter.

namespace korvel {

// Registers TsStatusBar, TsToolBar, TsToolButton and TsSplitter (once).
void RegisterBarClasses();

}  // namespace korvel
