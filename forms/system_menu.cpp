// Which window commands, and so which caption buttons, a skinned form shows and enables.
#include "forms/system_menu.h"

#include "forms/skin_provider.h"

namespace korvel {

namespace {
using BS = TFormBorderStyle;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider, TForm* form)
    : TComponent(provider), provider_(provider), form_(form) {}

bool TsSystemMenu::Minimized() const { return form_->HandleAllocated() && IsIconic(form_->Handle()); }

TWindowState TsSystemMenu::State() const { return form_->WindowState(); }

bool TsSystemMenu::VisibleSystemMenu() const { return (provider_->BorderIcons() & biSystemMenu) != 0; }

bool TsSystemMenu::VisibleRestore() const {
    const BS style = form_->BorderStyle();
    return (style == BS::bsSingle || style == BS::bsSizeable) && VisibleSystemMenu();
}

bool TsSystemMenu::VisibleSize() const {
    const BS style = form_->BorderStyle();
    return style != BS::bsNone && style != BS::bsDialog && style != BS::bsToolWindow;
}

bool TsSystemMenu::VisibleMinimize() const {
    if (Minimized()) return true;
    const BS style = form_->BorderStyle();
    if (style == BS::bsNone || style == BS::bsDialog || style == BS::bsToolWindow || style == BS::bsSizeToolWin)
        return false;
    if (style == BS::bsSingle && !(provider_->BorderIcons() & biMinimize)) return false;
    return VisibleSystemMenu();
}

bool TsSystemMenu::VisibleMaximize() const {
    if (Minimized()) return true;
    const BS style = form_->BorderStyle();
    if (style == BS::bsNone || style == BS::bsDialog || style == BS::bsToolWindow || style == BS::bsSizeToolWin)
        return false;
    if (style == BS::bsSingle && !(provider_->BorderIcons() & biMaximize)) return false;
    return VisibleSystemMenu();
}

bool TsSystemMenu::EnabledRestore() const {
    const TWindowState state = State();
    return ((provider_->BorderIcons() & biMaximize) && state != TWindowState::wsNormal) ||
           state == TWindowState::wsMinimized;
}

bool TsSystemMenu::EnabledMove() const { return State() != TWindowState::wsMaximized; }

bool TsSystemMenu::EnabledSize() const { return form_->BorderStyle() != BS::bsSingle && !Minimized(); }

bool TsSystemMenu::EnabledMinimize() const {
    return (provider_->BorderIcons() & biMinimize) && State() != TWindowState::wsMinimized;
}

bool TsSystemMenu::EnabledMaximize() const {
    const BS style = form_->BorderStyle();
    return (provider_->BorderIcons() & biMaximize) && State() != TWindowState::wsMaximized &&
           (style == BS::bsSingle || style == BS::bsSizeable || style == BS::bsSizeToolWin);
}

}  // namespace korvel
