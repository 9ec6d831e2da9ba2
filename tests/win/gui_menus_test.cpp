// Menus over real Win32 menus: the item tree and its Win32 entries, the menu
// bar of a form, pop-up menus opened by a right click, Shift+F10 and the menu
// key (real #32768 windows chosen with real keys), owner drawing, shortcuts
// from the message loop, handlers that several parties attach, definitions
// and the freeing of items and their Win32 menus.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/image_list.h"
#include "gui/menus.h"
#include "gui/std_controls.h"
#include "gui/text.h"
#include "gui_input_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

// Who owns the watching hooks the tests put on a window procedure.
const int kHookOwner = 0;

using testing::ClickAt;
using testing::PressChord;
using testing::Pump;
using testing::SendChord;
using testing::TMenuWatcher;

TMenuItem* NewItem(TComponent* owner, TMenuItem& parent, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent.Add(item);
    return item;
}

struct TEntry {
    UINT Type = 0;
    UINT State = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    std::wstring Text;
};

TEntry EntryAt(HMENU menu, int position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) << position;
    return {info.fType, info.fState, info.wID, info.hSubMenu, text};
}

TEST(ShortCut, TextNamesTheModifiersThenTheKey) {
    struct {
        WORD key;
        TShiftState shift;
        const char* text;
    } const cases[] = {
        {VK_F4, ssAlt, "Alt+F4"},
        {VK_F4, ssCtrl, "Ctrl+F4"},
        {'S', ssCtrl, "Ctrl+S"},
        {'S', ssCtrl | ssShift, "Shift+Ctrl+S"},
        {'5', ssAlt | ssCtrl, "Ctrl+Alt+5"},
        {VK_DELETE, 0, "Del"},
        {VK_F12, ssShift, "Shift+F12"},
        {VK_RETURN, ssCtrl, "Ctrl+Enter"},
        {VK_ESCAPE, 0, "Esc"},
        {VK_NEXT, ssCtrl, "Ctrl+PgDn"},
    };
    for (const auto& c : cases) {
        // The value is the key with one bit per modifier above it.
        TShortCut expected = static_cast<TShortCut>(c.key | ((c.shift & ssShift) ? 0x2000 : 0) |
                                                    ((c.shift & ssCtrl) ? 0x4000 : 0) | ((c.shift & ssAlt) ? 0x8000 : 0));
        EXPECT_EQ(ShortCut(c.key, c.shift), expected) << c.text;
        EXPECT_EQ(ShortCutToText(expected), c.text);
        EXPECT_EQ(TextToShortCut(c.text), expected) << c.text;
    }
    EXPECT_EQ(ShortCut(VK_F4, ssAlt), 0x8073);    // Alt+F4 as a window's Close item stores it
    EXPECT_EQ(ShortCut(VK_F4, ssCtrl), 0x4073);
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', ssCtrl));
    EXPECT_EQ(TextToShortCut("ALT+f4"), ShortCut(VK_F4, ssAlt));
    for (const char* bad : {"", "Ctrl+", "Ctrl", "Hyper+S", "Ctrl+Ctrl+S", "Ctrl+Foo", "S+Ctrl", "Ctrl+SS"})
        EXPECT_EQ(TextToShortCut(bad), scNone) << bad;
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_LWIN, ssCtrl)), "");   // a key without a name shows nothing
}

TEST(HandlerList, EachPartyRemovesOnlyItsOwnHandler) {
    THandlerList<std::vector<std::string>&> event;
    int skin = 0, other = 0;   // two parties, told apart by address
    event = [](std::vector<std::string>& calls) { calls.push_back("own"); };
    event.Add(&skin, [](std::vector<std::string>& calls) { calls.push_back("skin"); });
    event.Add(&other, [](std::vector<std::string>& calls) { calls.push_back("other"); });
    struct {
        const char* step;
        std::function<void()> change;
        std::vector<std::string> calls;
    } const steps[] = {
        {"all three, in order", [] {}, {"own", "skin", "other"}},
        {"the skin replaces its own", [&] { event.Add(&skin, [](auto& c) { c.push_back("skin2"); }); }, {"own", "skin2", "other"}},
        {"the skin leaves", [&] { EXPECT_TRUE(event.Remove(&skin)); }, {"own", "other"}},
        {"leaving twice removes nothing", [&] { EXPECT_FALSE(event.Remove(&skin)); }, {"own", "other"}},
        {"the owner clears its own", [&] { event = nullptr; }, {"other"}},
        {"the last party leaves", [&] { event.Remove(&other); }, {}},
    };
    for (const auto& s : steps) {
        s.change();
        std::vector<std::string> calls;
        event(calls);
        EXPECT_EQ(calls, s.calls) << s.step;
        EXPECT_EQ(event.Assigned(), !s.calls.empty()) << s.step;
    }
    // A handler that removes itself while called: the running call still completes.
    event.Add(&skin, [&](std::vector<std::string>& calls) {
        calls.push_back("once");
        event.Remove(&skin);
    });
    std::vector<std::string> calls;
    event(calls);
    event(calls);
    EXPECT_EQ(calls, std::vector<std::string>{"once"});
}

TEST(MenuItems, Win32MenuFollowsEveryChange) {
    const int menusBefore = GdiCounters().Menus, itemsBefore = LiveMenuItems();
    auto popup = std::make_unique<TPopupMenu>(nullptr);
    TMenuItem& root = popup->Items();
    TMenuItem* open = NewItem(nullptr, root, "&Open");
    open->SetShortCut(ShortCut('O', ssCtrl));
    NewItem(nullptr, root, "-");
    TMenuItem* hidden = NewItem(nullptr, root, "&Hidden");
    hidden->SetVisible(false);
    TMenuItem* recent = NewItem(nullptr, root, "&Recent");
    TMenuItem* first = NewItem(nullptr, *recent, "&1 first");
    TMenuItem* second = NewItem(nullptr, *recent, "&2 second");
    for (TMenuItem* r : {first, second}) r->SetRadioItem(true);

    HMENU menu = popup->Handle();
    ASSERT_TRUE(IsMenu(menu));
    EXPECT_EQ(GdiCounters().Menus, menusBefore + 2);   // the pop-up and the Recent submenu
    // The visible items in order: an invisible item has no entry.
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    TEntry e = EntryAt(menu, 0);
    EXPECT_EQ(e.Text, L"&Open\tCtrl+O");
    EXPECT_EQ(e.Id, open->Command());
    EXPECT_EQ(TMenuItem::FindByCommand(e.Id), open);
    EXPECT_TRUE(EntryAt(menu, 1).Type & MFT_SEPARATOR);
    e = EntryAt(menu, 2);
    EXPECT_EQ(e.SubMenu, recent->Handle());
    EXPECT_EQ(TMenuItem::FindByHandle(e.SubMenu), recent);
    EXPECT_TRUE(EntryAt(recent->Handle(), 0).Type & MFT_RADIOCHECK);

    struct {
        const char* change;
        std::function<void()> apply;
        int position;
        UINT state;   // the Win32 state bits expected at Position afterwards
    } const changes[] = {
        {"disabled", [&] { open->SetEnabled(false); }, 0, MFS_GRAYED},
        {"checked too", [&] { open->SetChecked(true); }, 0, MFS_GRAYED | MFS_CHECKED},
        {"enabled again", [&] { open->SetEnabled(true); }, 0, MFS_CHECKED},
        {"default", [&] { open->SetDefault(true); }, 0, MFS_CHECKED | MFS_DEFAULT},
        {"shown: Hidden takes position 2", [&] { hidden->SetVisible(true); }, 2, 0},
    };
    for (const auto& c : changes) {
        c.apply();
        EXPECT_EQ(EntryAt(menu, c.position).State & (MFS_GRAYED | MFS_CHECKED | MFS_DEFAULT), c.state) << c.change;
    }
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(EntryAt(menu, 2).Id, hidden->Command());
    // A break starts a new column; the skinned look paints the gap between columns itself.
    hidden->SetBreak(true);
    EXPECT_EQ(EntryAt(menu, 2).Type & (MFT_MENUBREAK | MFT_MENUBARBREAK), static_cast<UINT>(MFT_MENUBREAK));
    hidden->SetBreak(false);
    EXPECT_EQ(EntryAt(menu, 2).Type & (MFT_MENUBREAK | MFT_MENUBARBREAK), 0u);
    open->SetCaption("&Open...");
    EXPECT_EQ(EntryAt(menu, 0).Text, L"&Open...\tCtrl+O");

    // Radio items of one group: checking one unchecks the other.
    first->SetChecked(true);
    second->SetChecked(true);
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(EntryAt(recent->Handle(), 0).State & MFS_CHECKED, 0u);
    EXPECT_EQ(EntryAt(recent->Handle(), 1).State & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED));

    // The tree: Insert, IndexOf, Parent, Remove keeps the item, Delete frees it.
    auto* top = new TMenuItem(nullptr);
    top->SetCaption("&Top");
    root.Insert(0, top);
    EXPECT_EQ(root.IndexOf(top), 0);
    EXPECT_EQ(top->Parent(), &root);
    EXPECT_EQ(top->GetParentMenu(), popup.get());
    EXPECT_EQ(EntryAt(menu, 0).Id, top->Command());
    recent->Remove(second);
    EXPECT_EQ(second->Parent(), nullptr);
    EXPECT_EQ(GetMenuItemCount(recent->Handle()), 1);
    int live = LiveMenuItems();
    root.Delete(0);
    EXPECT_EQ(LiveMenuItems(), live - 1);
    EXPECT_EQ(EntryAt(menu, 0).Id, open->Command());

    // Misuse is refused with a clear error and changes nothing.
    EXPECT_THROW(root.Insert(99, second), EInvalidOperation);
    EXPECT_THROW(recent->Add(open), EInvalidOperation);        // already in a menu
    EXPECT_THROW(first->Add(recent), EInvalidOperation);       // an item inside itself
    EXPECT_THROW(root.Items(7), EInvalidOperation);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    delete second;

    HMENU sub = recent->Handle();
    popup.reset();
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GdiCounters().Menus, menusBefore);
    EXPECT_EQ(LiveMenuItems(), itemsBefore);
    EXPECT_EQ(TMenuItem::FindByCommand(e.Id), nullptr);
}

TEST(MenuItems, OwnersAndParentItemsFreeTheirItems) {
    Application();   // a component of its own, made once
    const int menusBefore = GdiCounters().Menus, itemsBefore = LiveMenuItems(), componentsBefore = TComponent::LiveCount();
    auto* form = new TForm(nullptr);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = NewItem(form, menu->Items(), "&File");
    NewItem(form, *file, "&Save");
    NewItem(form, *file, "&Quit");
    menu->Handle();
    EXPECT_EQ(form->ComponentCount(), 4);
    // A parent item frees its children, which leave their owner.
    delete file;
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(menu->Items().Count(), 0);
    NewItem(form, *NewItem(form, menu->Items(), "&Edit"), "&Copy");
    form->SetMenu(menu);
    form->Show();
    Application().ProcessMessages();
    delete form;   // frees the menu with its items and Win32 menus
    Application().ProcessMessages();
    // A menu that outlives its form keeps its Win32 menu (a window destroys the menu bar it holds).
    auto* lasting = new TMainMenu(nullptr);
    NewItem(nullptr, *NewItem(nullptr, lasting->Items(), "&View"), "&Zoom");
    form = new TForm(nullptr);
    form->SetMenu(lasting);
    form->HandleNeeded();
    HMENU bar = lasting->Handle();
    delete form;
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(lasting->Form(), nullptr);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    delete lasting;
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_EQ(GdiCounters().Menus, menusBefore);
    EXPECT_EQ(LiveMenuItems(), itemsBefore);
    EXPECT_EQ(TComponent::LiveCount(), componentsBefore);
}

class MenuFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowsBefore = GdiCounters().Windows;
        menusBefore = GdiCounters().Menus;
        form = new TForm(nullptr);
        form->SetBounds(120, 120, 10, 10);
        form->SetClientSize(360, 220);
        form->SetCaption("menus");
        edit = testing::AddControl<TEdit>(form, 10, 10, 150, 21);
        panel = testing::AddControl<TPanel>(form, 10, 60, 160, 80);
        label = new TLabel(form);
        label->SetAutoSize(false);
        label->SetBounds(100, 10, 50, 20);
        label->SetParent(panel);
        label->SetCaption("label");
        button = testing::AddControl<TButton>(form, 200, 60, 100, 25);
        button->SetCaption("button");
        form->Show();
        testing::BringToFront(form->Handle());
        edit->SetFocus();
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
        EXPECT_EQ(GdiCounters().Windows, windowsBefore);
        EXPECT_EQ(GdiCounters().Menus, menusBefore);
    }
    TPopupMenu* NewPopup(std::initializer_list<const char*> captions) {
        auto* popup = new TPopupMenu(form);
        for (const char* c : captions) {
            TMenuItem* item = NewItem(form, popup->Items(), c);
            item->OnClick = [this](TObject* sender) { chosen.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
        }
        return popup;
    }
    POINT CentreOf(TControl* c) const { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    TPanel* panel = nullptr;
    TLabel* label = nullptr;
    TButton* button = nullptr;
    std::vector<std::string> chosen;
    int windowsBefore = 0, menusBefore = 0;
};

TEST_F(MenuFormTest, MenuBarKeepsTheClientSizeAndIsChosenWithKeys) {
    auto* menu = new TMainMenu(form);
    TMenuItem* file = NewItem(form, menu->Items(), "&File");
    TMenuItem* save = NewItem(form, *file, "&Save");
    TMenuItem* quit = NewItem(form, *file, "&Quit");
    int fileClicks = 0, saveClicks = 0, quitClicks = 0;
    bool disableSave = false;
    // The parent's OnClick runs as its submenu opens, so it can bring the items up to date.
    file->OnClick = [&](TObject*) {
        ++fileClicks;
        save->SetEnabled(!disableSave);
    };
    save->OnClick = [&](TObject*) { ++saveClicks; };
    quit->OnClick = [&](TObject*) { ++quitClicks; };
    int menuChanges = 0;
    form->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == CM_MENUCHANGED) ++menuChanges;
        next(m);
    });

    form->SetMenu(menu);
    EXPECT_EQ(GetMenu(form->Handle()), menu->Handle());
    EXPECT_EQ(form->ClientHeight(), 220);   // the bar took its height from the outer size
    EXPECT_EQ(form->ClientWidth(), 360);
    EXPECT_GE(menuChanges, 1);
    int changes = menuChanges;
    file->SetCaption("&File ");
    EXPECT_GT(menuChanges, changes);

    struct {
        const char* round;
        bool disable;
        int fileClicks, saveClicks;
    } const rounds[] = {{"Save enabled", false, 1, 1}, {"Save disabled by File's handler", true, 2, 1}};
    for (const auto& r : rounds) {
        disableSave = r.disable;
        {
            TMenuWatcher watcher([](HWND) { SendChord('S'); });
            PressChord('F', {VK_MENU});   // Alt+F opens File; the watcher presses S in it
            Application().ProcessMessages();
            EXPECT_TRUE(watcher.Seen()) << r.round;
        }
        Application().ProcessMessages();
        EXPECT_EQ(fileClicks, r.fileClicks) << r.round;
        EXPECT_EQ(saveClicks, r.saveClicks) << r.round;
    }
    EXPECT_EQ(quitClicks, 0);
    form->UnhookWindowProc(&kHookOwner);

    // Owner-drawn, the bar's item takes the measured width (Win32 adds its own
    // spacing, so two widths are compared) and the handler's paint.
    const COLORREF barColor = RGB(210, 120, 30);
    bool topLevelSeen = false;
    int measured = 90;
    file->OnMeasureItem = [&measured](TMenuItem*, TCanvas&, int& width, int&) { width = measured; };
    file->OnAdvancedDrawItem = [&](TMenuItem* sender, TCanvas& canvas, const RECT& rect, TOwnerDrawState) {
        topLevelSeen |= sender == file;
        canvas.Brush().SetColor(static_cast<TColor>(barColor));
        canvas.FillRect(rect);
    };
    menu->SetOwnerDraw(true);
    int widths[2] = {};
    for (int round = 0; round < 2; ++round) {
        measured = 90 + 40 * round;
        file->SetCaption(round ? "&File" : "&File ");   // a change makes Win32 measure again
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        Application().ProcessMessages();
        RECT barItem{};
        ASSERT_TRUE(GetMenuItemRect(form->Handle(), menu->Handle(), 0, &barItem));
        widths[round] = barItem.right - barItem.left;
        EXPECT_EQ(testing::ScreenPixel((barItem.left + barItem.right) / 2, (barItem.top + barItem.bottom) / 2), barColor);
    }
    EXPECT_EQ(widths[1] - widths[0], 40);
    EXPECT_GE(widths[0], 90);
    EXPECT_TRUE(topLevelSeen);

    // A freed menu leaves the form without a bar.
    delete menu;
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MenuFormTest, RightClickShowsTheControlsPopupMenuAtThePointer) {
    TPopupMenu* panelMenu = NewPopup({"&Copy", "-", "&Paste"});
    TPopupMenu* labelMenu = NewPopup({"&Rename"});
    panel->SetPopupMenu(panelMenu);
    label->SetPopupMenu(labelMenu);
    std::vector<TComponent*> shownFor;
    for (TPopupMenu* m : {panelMenu, labelMenu})
        m->OnPopup = [&shownFor](TObject* sender) { shownFor.push_back(static_cast<TPopupMenu*>(sender)->PopupComponent()); };

    struct {
        const char* where;
        TControl* over;
        POINT offset;   // from the control's top-left
        std::vector<WORD> keys;
        TComponent* shownFor;
        const char* chosen;
    } const cases[] = {
        {"panel, second item by arrows", panel, {20, 50}, {VK_DOWN, VK_DOWN, VK_RETURN}, panel, "&Paste"},
        {"panel, by accelerator", panel, {30, 60}, {'C'}, panel, "&Copy"},
        {"windowless label", label, {10, 5}, {VK_RETURN}, label, nullptr},   // Enter on no selection closes
        {"windowless label, accelerator", label, {10, 5}, {'R'}, label, "&Rename"},
    };
    for (const auto& c : cases) {
        chosen.clear();
        shownFor.clear();
        POINT at = c.over->ClientToScreen(c.offset);
        RECT menuRect{};
        {
            TMenuWatcher watcher([&](HWND menu) {
                GetWindowRect(menu, &menuRect);
                for (WORD k : c.keys) {
                    SendChord(k);
                    Sleep(80);
                }
            });
            ClickAt(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
            Application().ProcessMessages();
            ASSERT_TRUE(watcher.Seen()) << c.where;
        }
        Application().ProcessMessages();
        // The menu opens with its top-left corner at the pointer.
        EXPECT_NEAR(menuRect.left, at.x, 1) << c.where;
        EXPECT_NEAR(menuRect.top, at.y, 1) << c.where;
        ASSERT_EQ(shownFor.size(), 1u) << c.where;
        EXPECT_EQ(shownFor[0], c.shownFor) << c.where;
        EXPECT_EQ(chosen, c.chosen ? std::vector<std::string>{c.chosen} : std::vector<std::string>{}) << c.where;
    }
    // A control without a pop-up menu shows none (nor its own).
    panel->SetPopupMenu(nullptr);
    {
        TMenuWatcher watcher([](HWND) {}, 800);
        ClickAt(CentreOf(panel), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        Pump(testing::NothingHappensMillis);
        EXPECT_FALSE(watcher.Seen());
    }
    // A freed menu is forgotten by its control.
    delete labelMenu;
    EXPECT_EQ(label->PopupMenu(), nullptr);
}

TEST_F(MenuFormTest, ShiftF10AndTheMenuKeyOpenTheFocusedControlsMenu) {
    TPopupMenu* menu = NewPopup({"&Copy", "&Paste"});
    button->SetPopupMenu(menu);
    for (WORD key : {WORD(VK_F10), WORD(VK_APPS)}) {
        chosen.clear();
        button->SetFocus();
        Application().ProcessMessages();
        RECT menuRect{};
        {
            TMenuWatcher watcher([&](HWND m) {
                GetWindowRect(m, &menuRect);
                SendChord('P');
            });
            if (key == VK_F10) PressChord(VK_F10, {VK_SHIFT});
            else PressChord(VK_APPS);
            Application().ProcessMessages();
            ASSERT_TRUE(watcher.Seen()) << key;
        }
        Application().ProcessMessages();
        POINT origin = button->ClientToScreen({0, 0});
        EXPECT_NEAR(menuRect.left, origin.x, 1) << key;   // at the control's client origin
        EXPECT_NEAR(menuRect.top, origin.y, 1) << key;
        EXPECT_EQ(chosen, std::vector<std::string>{"&Paste"}) << key;
        EXPECT_EQ(menu->PopupComponent(), button);
    }
}

TEST_F(MenuFormTest, OwnerDrawnItemsAreMeasuredAndPaintedByTheirHandlers) {
    TPopupMenu* menu = NewPopup({"&Red", "&Green", "&Blue"});
    menu->SetOwnerDraw(true);
    struct TLook {
        int height;
        COLORREF color;
    };
    const TLook looks[] = {{20, RGB(200, 40, 40)}, {26, RGB(40, 190, 60)}, {32, RGB(30, 50, 210)}};
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    int skin = 0;   // a second party, as a skinning engine would be
    for (int i = 0; i < 3; ++i) {
        TMenuItem* item = menu->Items().Items(i);
        item->OnMeasureItem = [&looks, i](TMenuItem*, TCanvas&, int& width, int& height) {
            width = 140;
            height = looks[i].height;
        };
        item->OnAdvancedDrawItem = [&looks, &drawn, i](TMenuItem*, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
            drawn.emplace_back(i, state);
            canvas.Brush().SetColor(static_cast<TColor>(looks[i].color));
            canvas.FillRect(rect);
        };
        // The skin's handler paints over the own one's; it leaves before the menu opens.
        item->OnAdvancedDrawItem.Add(&skin, [](TMenuItem*, TCanvas& canvas, const RECT& rect, TOwnerDrawState) {
            canvas.Brush().SetColor(clBlack);
            canvas.FillRect(rect);
        });
        item->OnAdvancedDrawItem.Remove(&skin);
    }
    NewItem(form, menu->Items(), "&Plain");   // no handlers: the platform's look
    HMENU handle = menu->Handle();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(EntryAt(handle, i).Type & MFT_OWNERDRAW) << i;

    RECT items[4] = {};
    COLORREF centres[4] = {};
    COLORREF plainRightEnd = 0;
    POINT at = CentreOf(panel);
    {
        TMenuWatcher watcher([&](HWND) {
            for (int i = 0; i < 4; ++i) {
                GetMenuItemRect(nullptr, handle, static_cast<UINT>(i), &items[i]);
                centres[i] = testing::ScreenPixel((items[i].left + items[i].right) / 2, (items[i].top + items[i].bottom) / 2);
            }
            plainRightEnd = testing::ScreenPixel(items[3].right - 3, (items[3].top + items[3].bottom) / 2);
            SendChord(VK_DOWN);   // selects the first item: drawn again, selected
            Sleep(200);
            SendChord(VK_ESCAPE);
        });
        menu->Popup(at.x, at.y);
        Application().ProcessMessages();
        ASSERT_TRUE(watcher.Seen());
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i].bottom - items[i].top, looks[i].height) << i;   // the measured height
        EXPECT_EQ(centres[i], looks[i].color) << i;                        // the handler's paint, not the skin's
    }
    EXPECT_EQ(items[1].top, items[0].bottom);
    EXPECT_GE(items[3].bottom - items[3].top, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(plainRightEnd, GetSysColor(COLOR_MENU));   // past its text, the menu's own colour
    bool firstSelected = false;
    for (auto [i, state] : drawn) firstSelected |= i == 0 && (state & odSelected);
    EXPECT_TRUE(firstSelected);
    // Switched off, the items are plain Win32 entries again.
    menu->SetOwnerDraw(false);
    EXPECT_FALSE(EntryAt(handle, 0).Type & MFT_OWNERDRAW);
}

TEST_F(MenuFormTest, ShortcutsRunFromTheMessageLoopUnlessTheControlKeepsTheKey) {
    auto* menu = new TMainMenu(form);
    TMenuItem* file = NewItem(form, menu->Items(), "&File");
    TMenuItem* save = NewItem(form, *file, "&Save");
    save->SetShortCut(TextToShortCut("Ctrl+S"));
    TMenuItem* fail = NewItem(form, *file, "&Fail");
    fail->SetShortCut(ShortCut(VK_F7, 0));
    fail->OnClick = [](TObject*) { throw EInvalidOperation("the item failed"); };
    form->SetMenu(menu);
    TPopupMenu* editMenu = NewPopup({"&Print"});
    editMenu->Items().Items(0)->SetShortCut(ShortCut('P', ssCtrl));
    edit->SetPopupMenu(editMenu);

    int fileClicks = 0, saveClicks = 0;
    bool saveEnabled = true;
    file->OnClick = [&](TObject*) {
        ++fileClicks;
        save->SetEnabled(saveEnabled);
    };
    save->OnClick = [&](TObject*) { ++saveClicks; };
    std::vector<WORD> editKeys;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { editKeys.push_back(key); };
    bool keepS = false;
    edit->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == CN_KEYDOWN && m.WParam == 'S' && keepS) return;   // answers 0: the key stays with the edit
        next(m);
    });
    std::vector<std::string> reported;
    auto savedHandler = Application().OnException;
    Application().OnException = [&](const std::exception& e) { reported.push_back(e.what()); };

    struct {
        const char* what;
        WORD key;
        std::initializer_list<WORD> modifiers;
        bool enabled, keep;
        int fileClicks, saveClicks;
        bool editSawKey;
    } const cases[] = {
        {"Ctrl+S clicks Save", 'S', {VK_CONTROL}, true, false, 1, 1, false},
        {"a disabled Save lets the key go on", 'S', {VK_CONTROL}, false, false, 2, 1, true},
        {"the edit keeps the key", 'S', {VK_CONTROL}, true, true, 2, 1, true},
        {"S alone is no shortcut", 'S', {}, true, false, 2, 1, true},
    };
    for (const auto& c : cases) {
        editKeys.clear();
        saveEnabled = c.enabled;
        keepS = c.keep;
        PressChord(c.key, c.modifiers);
        EXPECT_EQ(fileClicks, c.fileClicks) << c.what;
        EXPECT_EQ(saveClicks, c.saveClicks) << c.what;
        EXPECT_EQ(std::count(editKeys.begin(), editKeys.end(), c.key) > 0, c.editSawKey) << c.what;
    }
    // The focused control's own pop-up menu answers its shortcuts too.
    PressChord('P', {VK_CONTROL});
    EXPECT_EQ(chosen, std::vector<std::string>{"&Print"});
    // A failing item is reported by the application; the loop goes on.
    PressChord(VK_F7);
    EXPECT_EQ(reported, std::vector<std::string>{"the item failed"});
    Application().OnException = savedHandler;
    edit->UnhookWindowProc(&kHookOwner);
}

TEST_F(MenuFormTest, FailingItemOfAPopupIsReportedByTheApplication) {
    TPopupMenu* menu = NewPopup({"&Break"});
    menu->Items().Items(0)->OnClick = [](TObject*) { throw EInvalidOperation("broken item"); };
    std::vector<std::string> reported;
    auto savedHandler = Application().OnException;
    Application().OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    POINT at = CentreOf(panel);
    {
        TMenuWatcher watcher([](HWND) { SendChord('B'); });
        menu->Popup(at.x, at.y);
        Application().ProcessMessages();
        EXPECT_TRUE(watcher.Seen());
    }
    Application().ProcessMessages();
    Application().OnException = savedHandler;
    EXPECT_EQ(reported, std::vector<std::string>{"broken item"});
}

class TMenuTestForm : public TForm {
public:
    explicit TMenuTestForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("saveClick", [this](TObject*) { ++saves; });
        RegisterMethod("menuPopup", [this](TObject*) { ++popups; });
    }
    std::string ClassName() const override { return "TMenuTestForm"; }
    int saves = 0;
    int popups = 0;
};

TEST(MenuDefinitions, MenusAndTheirItemsAreReadFromADefinition) {
    const int itemsBefore = LiveMenuItems(), menusBefore = GdiCounters().Menus;
    {
        TMenuTestForm form(nullptr);
        auto* pictures = new TCustomImageList(&form);
        pictures->SetName("Pictures");
        form.ReadDefinition(R"(object F: TMenuTestForm
  Menu = MainMenu1
  object MainMenu1: TMainMenu
    Images = Pictures
    object N1: TMenuItem
      Caption = '&File'
      object NSave: TMenuItem
        Caption = '&Save'
        ShortCut = 'Ctrl+S'
        OnClick = saveClick
      end
      object NLine: TMenuItem
        Caption = '-'
      end
      object NMode: TMenuItem
        Caption = '&Mode'
        RadioItem = True
        Checked = True
        GroupIndex = 2
        ShortCut = 8262
        Hint = 'switch'
        Tag = 7
        ImageIndex = 3
        Break = True
      end
    end
  end
  object PopupMenu1: TPopupMenu
    OwnerDraw = True
    AutoPopup = False
    MenuAnimation = [maNone]
    OnPopup = menuPopup
    object P1: TMenuItem
      Caption = 'P&1'
      Enabled = False
      Visible = False
      Default = True
    end
  end
  object b: TButton
    PopupMenu = PopupMenu1
  end
end
)");
        auto* main = dynamic_cast<TMainMenu*>(form.FindComponent("MainMenu1"));
        auto* popup = dynamic_cast<TPopupMenu*>(form.FindComponent("PopupMenu1"));
        ASSERT_NE(main, nullptr);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(form.Menu(), main);
        EXPECT_EQ(dynamic_cast<TButton*>(form.FindComponent("b"))->PopupMenu(), popup);
        ASSERT_EQ(main->Items().Count(), 1);
        TMenuItem* file = main->Items().Items(0);
        EXPECT_EQ(file->Name(), "N1");
        ASSERT_EQ(file->Count(), 3);
        TMenuItem* save = file->Items(0);
        EXPECT_EQ(save->ShortCut(), ShortCut('S', ssCtrl));
        EXPECT_TRUE(file->Items(1)->IsLine());
        TMenuItem* mode = file->Items(2);
        EXPECT_TRUE(mode->RadioItem() && mode->Checked());
        EXPECT_EQ(mode->GroupIndex(), 2);
        EXPECT_EQ(mode->ShortCut(), ShortCut('F', ssShift));   // 8262 = 0x2046
        EXPECT_EQ(mode->Hint(), "switch");
        EXPECT_EQ(mode->Tag(), 7);
        EXPECT_EQ(mode->ImageIndex(), 3);
        EXPECT_TRUE(mode->Break());
        EXPECT_FALSE(save->Break());
        EXPECT_EQ(main->Images(), pictures);
        EXPECT_EQ(popup->Images(), nullptr);
        save->Click();
        EXPECT_EQ(form.saves, 1);
        EXPECT_TRUE(popup->OwnerDraw());
        EXPECT_FALSE(popup->AutoPopup());
        EXPECT_EQ(popup->MenuAnimation(), maNone);
        TMenuItem* p1 = popup->Items().Items(0);
        EXPECT_FALSE(p1->Enabled() || p1->Visible());
        EXPECT_TRUE(p1->Default());
        popup->OnPopup(popup);
        EXPECT_EQ(form.popups, 1);
        form.HandleNeeded();
        EXPECT_EQ(GetMenu(form.Handle()), main->Handle());
    }
    EXPECT_EQ(LiveMenuItems(), itemsBefore);
    EXPECT_EQ(GdiCounters().Menus, menusBefore);

    struct {
        const char* what;
        const char* text;
        int line;
        const char* problem;
    } const bad[] = {
        {"item in a button", "object F: TMenuTestForm\n  object b: TButton\n    object i: TMenuItem\n    end\n  end\nend\n", 3,
         "b cannot hold the menu item i"},
        {"unreadable shortcut", "object F: TMenuTestForm\n  object m: TPopupMenu\n    object i: TMenuItem\n      ShortCut = 'Hyper+X'\n    end\n  end\nend\n",
         4, "'Hyper+X' is not a shortcut"},
        {"shortcut out of range", "object F: TMenuTestForm\n  object m: TPopupMenu\n    object i: TMenuItem\n      ShortCut = 70000\n    end\n  end\nend\n",
         4, "from 0 to 65535"},
        {"control in a menu", "object F: TMenuTestForm\n  object m: TMainMenu\n    object b: TButton\n    end\n  end\nend\n", 3,
         "cannot hold the control b"},
        {"popup as a menu bar", "object F: TMenuTestForm\n  Menu = m\n  object m: TPopupMenu\n  end\nend\n", 2, "m is not a main menu"},
        {"button as an image list", "object F: TMenuTestForm\n  object m: TPopupMenu\n    Images = b\n  end\n  object b: TButton\n  end\nend\n",
         3, "b is not an image list"},
    };
    for (const auto& c : bad) {
        TMenuTestForm form(nullptr);
        try {
            form.ReadDefinition(c.text);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.what << ": " << e.Message();
            EXPECT_NE(e.Message().find(c.problem), std::string::npos) << c.what << ": " << e.Message();
        }
    }
    EXPECT_EQ(LiveMenuItems(), itemsBefore);
}

}  // namespace
}  // namespace korvel
