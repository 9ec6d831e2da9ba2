#pragma once
// A skinned, sizeable MDI frame on the virtual display, with its own skin
// manager and provider and a main menu; children get providers of their own
// and, when asked, main menus of their own.
#include <windows.h>

#include <string>
#include <vector>

#include "controls/skinable_menus.h"
#include "engine/menu_skinning.h"
#include "form_test_support.h"
#include "forms/mdi_form.h"
#include "gui/menus.h"
#include "paint/item.h"

namespace korvel::testing {

struct TMenuRow {
    std::string Caption;
    int Group = 0;
};

inline TMenuItem* AddMenuItem(TComponent* owner, TMenuItem& parent, const std::string& caption, int group = 0) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetGroupIndex(group);
    parent.Add(item);
    return item;
}

struct TMDIFrameSetup {
    std::vector<TMenuRow> Items{{"&File", 0}};
    int Width = 560;
    bool SkinableMenus = false;   // the real menu skinning, installed before the manager exists
};

class TMDIFrameRig {
public:
    explicit TMDIFrameRig(const TMDIFrameSetup& setup = {}) : skinableMenus_(setup.SkinableMenus) {
        if (skinableMenus_) InstallSkinableMenus();
        InstallGdiPaintPlatform();
        Frame = new TForm(&Application());
        Frame->SetFormStyle(TFormStyle::fsMDIForm);
        Frame->SetBorderStyle(TFormBorderStyle::bsSizeable);
        Frame->SetBounds(40, 30, setup.Width, 420);
        Frame->SetCaption("MDI frame");
        Menu = new TMainMenu(Frame);
        for (const TMenuRow& row : setup.Items) AddMenuItem(Frame, Menu->Items(), row.Caption, row.Group);
        Frame->SetMenu(Menu);
        Manager = new TsSkinManager(Frame);
        Manager->SetProgramFolder("Z:\\nonexistent\\");
        Manager->SetSkinDirectory(SourcePath("skins"));
        AddElegant(*Manager);
        Manager->SetSkinName(kElegant);
        Provider = new TsSkinProvider(Frame);
        Frame->Show();
        BringToFront(Frame->Handle());
    }
    virtual ~TMDIFrameRig() {
        MovePointer({2, 2});
        delete Frame;   // its children and components with it
        Application().ProcessMessages();
        if (skinableMenus_) SetMenuSkinningFactory(nullptr);
    }
    TMDIFrameRig(const TMDIFrameRig&) = delete;
    TMDIFrameRig& operator=(const TMDIFrameRig&) = delete;

    TForm* AddChild(int left, int top, int width = 200, int height = 140, const std::vector<TMenuRow>& menuItems = {}) {
        auto* child = new TForm(Frame);
        child->SetFormStyle(TFormStyle::fsMDIChild);
        child->SetBorderStyle(TFormBorderStyle::bsSizeable);
        child->SetBounds(left, top, width, height);
        child->SetCaption("child " + std::to_string(Frame->MDIChildCount()));
        if (!menuItems.empty()) {
            auto* menu = new TMainMenu(child);
            for (const TMenuRow& row : menuItems) AddMenuItem(child, menu->Items(), row.Caption, row.Group);
            child->SetMenu(menu);
        }
        new TsSkinProvider(child);
        child->Show();
        PumpUntil([&] { return Frame->ActiveMDIChild() == child; }, "the new child to become the active one");
        Settle();
        return child;
    }
    TsMDIForm& MDI() const { return *Provider->MDIExtension; }
    HWND Client() const { return Frame->ClientHandle(); }
    RECT ClientWindowRect() const {
        RECT r{};
        GetWindowRect(Client(), &r);
        return r;
    }
    void Command(TForm* child, WPARAM command) {
        SendMessageW(child->Handle(), WM_SYSCOMMAND, command, 0);
        Settle();
    }
    // Handles what has been posted (the frame's menu and bars follow a child),
    // paints what is pending and lets the idle pass put it on the screen.
    void Settle() const {
        Application().ProcessMessages();
        RedrawWindow(Frame->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Application().ProcessMessages();
    }
    // How often the child-buttons item stands in the frame's menu, and whether it stands first.
    int ChildButtonsCount() const {
        int n = 0;
        for (int i = 0; i < Menu->Items().Count(); ++i) n += Menu->Items().Items(i) == MDI().ChildButtonsItem ? 1 : 0;
        return n;
    }
    bool ChildButtonsFirst() const { return Menu->Items().Count() > 0 && Menu->Items().Items(0) == MDI().ChildButtonsItem; }
    // Where the MDI area lies in the frame's picture (no aligned controls), from the metrics.
    POINT MDIAreaOrigin() const {
        const TFrameMetrics metrics = TFrameMetrics::Of(TFormBorderStyle::bsSizeable);
        const int menuRows = Provider->MenuLineVisible() ? Provider->MenuRowCount() : 0;
        return {metrics.FrameX, metrics.FrameY + metrics.Caption + menuRows * (GetSystemMetrics(SM_CYMENU) - 1) + 1};
    }
    // The form section's background over the whole frame window, as the painting core paints it.
    TBitmap24 FormBackground() const {
        RECT w{};
        GetWindowRect(Frame->Handle(), &w);
        TBitmap24 bitmap(w.right - w.left, w.bottom - w.top);
        PaintItemBackground(Provider->SkinData().SkinIndex, TParentBackground{}, clNone, -1, -1, &Manager->Tables(), bitmap,
                            {0, 0}, {0, 0, bitmap.Width(), bitmap.Height()}, 1);
        return bitmap;
    }

    TForm* Frame = nullptr;
    TMainMenu* Menu = nullptr;
    TsSkinManager* Manager = nullptr;
    TsSkinProvider* Provider = nullptr;

private:
    bool skinableMenus_;
};

}  // namespace korvel::testing
