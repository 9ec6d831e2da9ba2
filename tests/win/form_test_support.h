#pragma once
// A skinned test form: a form on the virtual display with its own skin
// manager (the internal skin built from its source files) and a skin provider,
// and what the form tests compute from the system's metrics and the skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui/forms.h"
#include "paint/platform_canvas_win.h"
#include "gui_test_support.h"
#include "skin_manager_support.h"

namespace korvel::testing {

constexpr const char* kElegant = "Elegant (internal)";
// The test rig's root window is black: pixels cut out of a window read black.
constexpr COLORREF kRootColour = RGB(0, 0, 0);

struct TFormSetup {
    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSingle;
    TBorderIcons ProviderIcons = biSystemMenu | biMinimize;
    TBorderIcons FormIcons = biSystemMenu | biMinimize | biMaximize;
    int Left = 120, Top = 100, ClientWidth = 300, ClientHeight = 160;
    std::string Caption = "Skinned frame";
    // Runs before the provider is created (to put a test's wrapper below it in the form's procedure).
    std::function<void(TForm*)> BeforeProvider;
};

// Owns the form; the manager and provider are owned by it.
class TSkinnedFormRig {
public:
    explicit TSkinnedFormRig(const TFormSetup& setup = {}) {
        InstallGdiPaintPlatform();
        Form = new TForm(&Application());
        Form->SetBorderStyle(setup.BorderStyle);
        Form->SetBorderIcons(setup.FormIcons);
        Form->SetBounds(setup.Left, setup.Top, 200, 100);
        Form->SetClientSize(setup.ClientWidth, setup.ClientHeight);
        Form->SetCaption(setup.Caption);
        Manager = new TsSkinManager(Form);
        Manager->SetProgramFolder("Z:\\nonexistent\\");
        Manager->SetSkinDirectory("Z:\\nonexistent");
        AddElegant(*Manager);
        Manager->SetSkinName(kElegant);
        if (setup.BeforeProvider) setup.BeforeProvider(Form);
        Provider = new TsSkinProvider(Form);
        Provider->SetBorderIcons(setup.ProviderIcons);
    }
    ~TSkinnedFormRig() {
        MovePointer({2, 2});
        delete Form;
        Application().ProcessMessages();
    }
    TSkinnedFormRig(const TSkinnedFormRig&) = delete;
    TSkinnedFormRig& operator=(const TSkinnedFormRig&) = delete;

    void Show() {
        Form->Show();
        BringToFront(Form->Handle());
    }
    HWND Handle() const { return Form->Handle(); }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(Form->Handle(), &r);
        return r;
    }
    // A point given relative to the window's top-left, on the screen.
    POINT Screen(int x, int y) const {
        const RECT r = WindowRect();
        return {r.left + x, r.top + y};
    }
    COLORREF Pixel(int x, int y) const {
        const POINT p = Screen(x, y);
        return ScreenPixel(p.x, p.y);
    }
    LRESULT HitTest(int x, int y) const {
        const POINT p = Screen(x, y);
        return SendMessageW(Form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }
    const TsSkinTables& Tables() const { return Manager->Tables(); }
    const TsMaskData& Mask(const char* section, const char* property) const {
        const int index = Manager->MaskIndexOf(Manager->SectionIndexOf(section), section, property);
        EXPECT_TRUE(Manager->IsValidMaskIndex(index)) << section << "." << property;
        return Tables().Masks.at(static_cast<std::size_t>(index));
    }

    TForm* Form = nullptr;
    TsSkinManager* Manager = nullptr;
    TsSkinProvider* Provider = nullptr;
};

// The system's metrics for a form of the given border style, as the frame uses them.
struct TFrameMetrics {
    int Caption = 0;
    int FrameX = 0;
    int FrameY = 0;
    static TFrameMetrics Of(TFormBorderStyle style) {
        TFrameMetrics m;
        if (style == TFormBorderStyle::bsNone) return m;
        const bool tool = style == TFormBorderStyle::bsToolWindow || style == TFormBorderStyle::bsSizeToolWin;
        m.Caption = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        const bool fixed = style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsDialog ||
                           style == TFormBorderStyle::bsToolWindow;
        m.FrameX = GetSystemMetrics(fixed ? SM_CXFIXEDFRAME : SM_CXSIZEFRAME);
        m.FrameY = GetSystemMetrics(fixed ? SM_CYFIXEDFRAME : SM_CYSIZEFRAME);
        return m;
    }
};

// The width of one state image of a glyph mask, and its colour part's height.
inline int StateWidth(const TsMaskData& mask) { return mask.R.Width() / mask.ImageCount; }
inline int PartHeight(const TsMaskData& mask) { return mask.R.Height() / (mask.MaskType + 1); }

// Counts a form's real moves and resizes, below its provider (a hook on the
// window procedure chain, owned by the counter).
struct TPlaceCounter {
    int Changes = 0;
    void Hook(TForm* form) {
        form->HookWindowProc(this, [this](TMessage& m, const TWndNext& next) {
            if (m.Msg == WM_WINDOWPOSCHANGED) {
                const auto* p = reinterpret_cast<const WINDOWPOS*>(m.LParam);
                if ((p->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) ++Changes;
            }
            next(m);
        });
    }
};

}  // namespace korvel::testing
