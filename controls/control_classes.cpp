#include "controls/control_classes.h"

#include "controls/button.h"
#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/edit.h"
#include "controls/label.h"
#include "controls/list_box.h"
#include "controls/page_control.h"
#include "controls/panel.h"
#include "controls/progress_bar.h"
#include "controls/radio_button.h"
#include "controls/scroll_bar.h"
#include "controls/bar_classes.h"
#include "gui/class_registry.h"

namespace korvel {

void RegisterSkinnedControlClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        RegisterPanelClasses();
        RegisterButtonClass();
        RegisterEditClass();
        RegisterCheckBoxClass();
        RegisterLabelClasses();
        RegisterScrollBarClass();
        RegisterComboBoxClasses();
        RegisterGaugeClasses();
        RegisterPageControlSkinClasses();
        RegisterBarClasses();
        RegisterRadioAndGroupClasses();
        RegisterTextAndListClasses();
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
