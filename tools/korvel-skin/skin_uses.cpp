#include "skin_uses.h"

namespace korvel {
namespace {

const char* const SystemControl = "the system's own control of that kind, unskinned";
const char* const ScrollPart = "nothing there: that part of the skinned scroll bars is left unpainted and what lies behind it shows";

const TUsedSection usedSections[] = {
    {"GLOBALINFO", "the skin's global colour and the check box glyphs",
     "the system's button-face colour as the global colour, and check boxes without skinned glyphs"},
    {"FORM", "the frame of the launcher's window and of every gallery window",
     "the system's own window frame and title bar"},
    {"FORMTITLE", "title bars", "the FORM section's background under the caption"},
    {"MENULINE", "the gallery's menu bar", "the FORM section's background under the menu bar"},
    {"MENUITEM", "menu bar items and pop-up menu items",
     "menu bar items without a hot look, and pop-up menus in the system's look"},
    {"MAINMENU", "pop-up menus (the window menu, the gallery's menus)", "pop-up menus in the system's look"},
    {"MDIAREA", "the gallery frame's client area", "the frame's own background colour"},
    {"PANEL", "the launcher's pages and the gallery's panels", SystemControl},
    {"PANEL_LOW", "the gallery's sunken panel", SystemControl},
    {"BUTTON", "push buttons", SystemControl},
    {"EDIT", "edit fields", SystemControl},
    {"CHECKBOX", "check boxes", SystemControl},
    {"SCROLLBAR1H", "the left half of horizontal scroll bar tracks", ScrollPart},
    {"SCROLLBAR2H", "the right half of horizontal scroll bar tracks", ScrollPart},
    {"SCROLLBAR1V", "the upper half of vertical scroll bar tracks", ScrollPart},
    {"SCROLLBAR2V", "the lower half of vertical scroll bar tracks", ScrollPart},
    {"SCROLLBTNLEFT", "scroll bar arrow buttons (left)", ScrollPart},
    {"SCROLLBTNRIGHT", "scroll bar arrow buttons (right)", ScrollPart},
    {"SCROLLBTNTOP", "scroll bar arrow buttons (up)", ScrollPart},
    {"SCROLLBTNBOTTOM", "scroll bar arrow buttons (down)", ScrollPart},
    {"SCROLLSLIDERH", "horizontal scroll bar thumbs", ScrollPart},
    {"SCROLLSLIDERV", "vertical scroll bar thumbs", ScrollPart},
};

const TTextSurface textSurfaces[] = {
    {"labels on a page", "GLOBALINFO", "PANEL", false, "", false},
    {"a page's caption", "PANEL", "PANEL", false, "", false},
    {"a group box", "GROUPBOX", "GROUPBOX", false, "PANEL", false},
    {"a sunken panel", "PANEL_LOW", "PANEL_LOW", false, "", false},
    {"a button", "BUTTON", "BUTTON", false, "", false},
    {"a hot or pressed button", "BUTTON", "BUTTON", true, "", false},
    {"a field", "EDIT", "EDIT", false, "", false},
    {"a focused field", "EDIT", "EDIT", true, "", false},
    {"a check box", "CHECKBOX", "CHECKBOX", false, "PANEL", false},
    {"a hot check box", "CHECKBOX", "CHECKBOX", true, "PANEL", false},
    {"a radio button", "RADIOBUTTON", "RADIOBUTTON", false, "PANEL", false},
    {"a hot radio button", "RADIOBUTTON", "RADIOBUTTON", true, "PANEL", false},
    {"the title of an inactive window", "FORMTITLE", "FORMTITLE", false, "", false},
    {"the title of the active window", "FORMTITLE", "FORMTITLE", true, "", false},
    {"a tab", "TABTOP", "TABTOP", false, "", false},
    {"a hot tab", "TABTOP", "TABTOP", true, "", false},
    {"the menu line", "MENULINE", "MENULINE", false, "FORM", true},
    {"a hot menu line item", "MENULINE", "MENUITEM", true, "FORM", true},
    {"a menu item", "MENUITEM", "MENUITEM", false, "MAINMENU", false},
    {"a hot menu item", "MENUITEM", "MENUITEM", true, "MAINMENU", false},
    {"the menus' extra line", "EXTRALINE", "EXTRALINE", false, "MAINMENU", false},
    {"the status bar", "STATUSBAR", "STATUSBAR", false, "", false},
};

}  // namespace

std::span<const TUsedSection> UsedSections() { return usedSections; }
std::span<const TTextSurface> TextSurfaces() { return textSurfaces; }

}  // namespace korvel
