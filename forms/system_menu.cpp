// The skinned system menu: its items and commands, the rules that show and
// enable them (and the caption buttons), and the skins submenu.
#include "forms/system_menu.h"

#include <exception>
#include <vector>

#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/application.h"

namespace korvel {

namespace {

using BS = TFormBorderStyle;

// The program's texts for the menu (its string table: id and text).
struct TMenuText {
    int Id;
    const char* Text;
};
constexpr TMenuText kSkinsText{58964, "Available skins"};
constexpr TMenuText kRestoreText{58981, "Restore"};
constexpr TMenuText kMoveText{58980, "Move"};
constexpr TMenuText kSizeText{58979, "Size"};
constexpr TMenuText kMinimizeText{58978, "Minimize"};
constexpr TMenuText kMaximizeText{58977, "Maximize"};
constexpr TMenuText kCloseText{58976, "Close"};

constexpr const char* kSkinsItemName = "SkinSelectItem";
constexpr TShortCut kAltF4 = scAlt | VK_F4;

}  // namespace

TsSystemMenu::TsSystemMenu(TsSkinProvider* provider, TForm* form)
    : TPopupMenu(provider), provider_(provider), form_(form) {
    ItemRestore = AddCommand("ItemRestore", kRestoreText.Text, scNone, &TsSystemMenu::Restore);
    ItemMove = AddCommand("ItemMove", kMoveText.Text, scNone, &TsSystemMenu::Move);
    ItemSize = AddCommand("ItemSize", kSizeText.Text, scNone, &TsSystemMenu::Size);
    ItemMinimize = AddCommand("ItemMinimize", kMinimizeText.Text, scNone, &TsSystemMenu::Minimize);
    ItemMaximize = AddCommand("ItemMaximize", kMaximizeText.Text, scNone, &TsSystemMenu::Maximize);
    auto* line = new TMenuItem(this);
    line->SetCaption("-");
    Items().Add(line);
    ItemClose = AddCommand("ItemClose", kCloseText.Text, kAltF4, &TsSystemMenu::Close);
}

TMenuItem* TsSystemMenu::AddCommand(const char* name, const char* caption, TShortCut shortCut,
                                    void (TsSystemMenu::*command)()) {
    auto* item = new TMenuItem(this);
    item->SetName(name);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->OnClick = [this, command](TObject*) { (this->*command)(); };
    Items().Add(item);
    return item;
}

TsSkinManager* TsSystemMenu::Manager() const { return provider_->SkinData().SkinManager(); }

// ---- rules ------------------------------------------------------------------------------

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

void TsSystemMenu::UpdateItems() {
    using Rule = bool (TsSystemMenu::*)() const;
    struct TItemRules {
        TMenuItem* Item;
        Rule Visible;
        Rule Enabled;
    };
    const TItemRules rules[] = {
        {ItemRestore, &TsSystemMenu::VisibleRestore, &TsSystemMenu::EnabledRestore},
        {ItemMove, &TsSystemMenu::VisibleMove, &TsSystemMenu::EnabledMove},
        {ItemSize, &TsSystemMenu::VisibleSize, &TsSystemMenu::EnabledSize},
        {ItemMinimize, &TsSystemMenu::VisibleMinimize, &TsSystemMenu::EnabledMinimize},
        {ItemMaximize, &TsSystemMenu::VisibleMaximize, &TsSystemMenu::EnabledMaximize},
        {ItemClose, &TsSystemMenu::VisibleClose, &TsSystemMenu::EnabledClose},
    };
    for (const TItemRules& r : rules) {
        // One item that cannot change leaves the others to follow their rules.
        try {
            r.Item->SetVisible((this->*r.Visible)());
            r.Item->SetEnabled((this->*r.Enabled)());
        } catch (const std::exception&) {
        }
    }
}

// ---- commands ---------------------------------------------------------------------------

// Every command goes through the form's window, so the provider sees it as a user's would.
void TsSystemMenu::Restore() {
    SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    UpdateItems();
}

void TsSystemMenu::Move() { SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_MOVE, 0); }

void TsSystemMenu::Size() { SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_SIZE, 0); }

void TsSystemMenu::Minimize() {
    if (form_ == Application().MainForm()) {
        Application().Minimize();
        UpdateItems();
        return;
    }
    SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TsSystemMenu::Maximize() {
    if (form_->FormStyle() != TFormStyle::fsMDIChild) form_->SetWindowState(TWindowState::wsMaximized);
    SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    UpdateItems();
}

void TsSystemMenu::Close() { SendMessageW(form_->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }

// ---- the skins submenu and dropping ---------------------------------------------------

std::string TsSystemMenu::CaptionOfSkinName(const std::string& name) {
    std::string caption;
    for (char c : name) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

std::string TsSystemMenu::SkinNameOfCaption(const std::string& caption) {
    std::string name;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            name += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            name += '&';
            ++i;
        }
    }
    return name;
}

TMenuItem* TsSystemMenu::SkinsItem() const {
    TMenuItem& root = const_cast<TsSystemMenu*>(this)->Items();
    if (root.Count() == 0) return nullptr;
    TMenuItem* first = root.Items(0);
    return first->Name() == kSkinsItemName ? first : nullptr;
}

void TsSystemMenu::RebuildSkinsMenu() {
    // The previous opening's submenu goes, and with it the line that followed it.
    if (TMenuItem* old = SkinsItem()) {
        old->Clear();
        delete old;
        TMenuItem& root = Items();
        if (root.Count() > 0 && root.Items(0)->IsLine()) root.Delete(0);
    }
    TsSkinManager* manager = Manager();
    if (!manager) return;
    std::vector<std::string> skins;
    manager->ListSkins(skins);
    if (skins.empty()) return;

    auto* head = new TMenuItem(this);
    head->SetName(kSkinsItemName);
    head->SetCaption(kSkinsText.Text);
    for (std::size_t i = 0; i < skins.size(); ++i) {
        auto* item = new TMenuItem(this);
        item->SetName(kSkinsItemName + std::to_string(i));
        item->SetCaption(CaptionOfSkinName(skins[i]));
        item->SetRadioItem(true);
        item->SetChecked(skins[i] == manager->SkinName());
        item->OnClick = [this](TObject* sender) { SkinClick(sender); };
        head->Add(item);
    }
    Items().Insert(0, head);
    auto* line = new TMenuItem(this);
    line->SetCaption("-");
    Items().Insert(1, line);
}

void TsSystemMenu::SkinClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    TsSkinManager* manager = Manager();
    if (!item || !manager) return;
    manager->SetSkinName(SkinNameOfCaption(item->Caption()));
}

void TsSystemMenu::Drop(int x, int y) {
    if (provider_->MakeSkinMenu()) {
        RebuildSkinsMenu();
        TsSkinManager* manager = Manager();
        if (manager && manager->Active() && manager->SkinnedPopups()) manager->SkinableMenus().HookMenu(this, true);
    }
    SetWindowHandle(form_->Handle());
    Popup(x, y);
}

}  // namespace korvel
