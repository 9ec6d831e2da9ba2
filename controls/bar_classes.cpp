#include "controls/bar_classes.h"

#include "controls/splitter.h"
#include "controls/status_bar.h"
#include "controls/tool_bar.h"

namespace korvel {

void RegisterBarClasses() {
    RegisterStatusBarClass();
    RegisterToolBarClasses();
    RegisterSplitterClass();
}

}  // namespace korvel
