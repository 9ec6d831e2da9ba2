#pragma once
// What the skinned control tests share: a plain form (no skin of its own) of
// a colour that differs in every channel, holding the controls under a skin
// manager with the internal skin and test sections of their own; screen
// capture and picture comparison; real pointer and key input; and the looks
// the controls must show, composed with the painting core from the skin's values.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/edit.h"
#include "gui/application.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "fade_wait_support.h"
#include "gui_test_support.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "paint/text.h"
#include "paint/text_win.h"
#include "skin_manager_support.h"

namespace korvel::testing {

// The form's colour: three different channels, so a swapped channel or a shifted column shows.
constexpr TColor kFormColor = 0x00306090;
constexpr TColor kGradFontColor = 0x0000C040;   // GRADPANEL's text colour
constexpr TColor kSeeColor = 0x0020C040;        // SEEPANEL's colour

// The tests' own sections, added to the internal skin.
// ZEROFADE, STILLBUTTON: buttons that fade in no steps, or not at all;
// SLOWFADE: a button that fades in 30 steps, long enough to interrupt.
// FADEBOX: a check box that fades in four steps.
// PAGE: a page whose background is a gradient, so children blend with its pixels.
// GRADPANEL: a vertical blue-to-red gradient mixed 70 : 30 with a grey, framed
// by the internal skin's panel border. SEEPANEL: 40 % see-through, no frame.
inline std::vector<std::string> TestSections() {
    return {"[ZEROFADE]", "PARENTCLASS=BUTTON", "FADINGENABLED=TRUE", "FADINGITERATIONS=0",
            "[STILLBUTTON]", "PARENTCLASS=BUTTON", "FADINGENABLED=FALSE",
            "[SLOWFADE]", "PARENTCLASS=BUTTON", "FADINGENABLED=TRUE", "FADINGITERATIONS=30",
            "[FADEBOX]", "PARENTCLASS=CHECKBOX", "FADINGENABLED=TRUE", "FADINGITERATIONS=4",
            "[PAGE]", "COLOR=13750737", "GRADIENTPERCENT=100", "HOTGRADIENTPERCENT=100",
            "GRADIENTDATA=16711680;255;100;1;0;255;255;0;1;0", "HOTGRADIENTDATA=16711680;255;100;1;0;255;255;0;1;0",
            "[GRADPANEL]", "COLOR=3158064", "FONTCOLOR=" + std::to_string(kGradFontColor), "TRANSPARENCY=0",
            "GRADIENTPERCENT=70", "GRADIENTDATA=16711680;255;100;0;0;255;255;0;0;0",
            "BORDERSMASK=#(181,202,205,250) (1,1,0,0)",
            "[SEEPANEL]", "COLOR=" + std::to_string(kSeeColor), "TRANSPARENCY=40", "GRADIENTPERCENT=0"};
}

// The pixels of a screen rectangle.
inline TBitmap24 CaptureScreen(const RECT& r) {
    TBitmap24 shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(shot.Handle()));
    BitBlt(memory, 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// The screen rectangle of a control's whole window.
inline RECT ScreenRectOf(TWinControl* control) {
    RECT r{};
    GetWindowRect(control->Handle(), &r);
    return r;
}

// A control's bounds on the screen from its client origin (windowless controls too).
inline TBitmap24 CaptureControl(const TControl& c) {
    const POINT p = c.ClientToScreen({0, 0});
    return CaptureScreen({p.x, p.y, p.x + c.Width(), p.y + c.Height()});
}

inline std::string Hex(std::uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(c));
    return text;
}

// Number of pixels that differ outside the skipped rectangles (pictures of
// different sizes differ everywhere); the first few are described in where.
inline int Differences(const TBitmap24& actual, const TBitmap24& expected, std::string& where,
                       const std::vector<RECT>& skip = {}) {
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        where = "sizes differ";
        return actual.Width() * actual.Height() + 1;
    }
    int n = 0;
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            bool skipped = false;
            for (const RECT& s : skip) skipped = skipped || (x >= s.left && x < s.right && y >= s.top && y < s.bottom);
            if (skipped || actual.Pixel(x, y) == expected.Pixel(x, y)) continue;
            if (n++ < 4) {
                where += " (" + std::to_string(x) + "," + std::to_string(y) + ") " + Hex(actual.Pixel(x, y)) +
                         " want " + Hex(expected.Pixel(x, y));
            }
        }
    }
    return n;
}

// Whether target pixel (x, y) of a nine-slice frame width x height lies under a
// key-colour pixel of state state of mask: corners at the corners, edges and
// centre repeated from the corner's end, pieces width / (count x 3) by
// height / ((type + 1) x 3).
inline bool UnderKeyPixel(const TsSkinTables& tables, const TsMaskData& mask, int state, int width, int height, int x,
                          int y) {
    const int count = mask.ImageCount;
    const int cw = mask.R.Width() / (count * 3);
    const int ch = mask.R.Height() / ((mask.MaskType + 1) * 3);
    EXPECT_TRUE(width >= 2 * cw && height >= 2 * ch) << "the rule below assumes whole corner pieces";
    const auto source = [](int v, int size, int piece) {
        if (v < piece) return v;
        if (v >= size - piece) return 2 * piece + (v - (size - piece));
        return piece + (v - piece) % piece;
    };
    const int column = (state < count ? state : count - 1) * cw * 3;
    return tables.MasterBitmap.Pixel(mask.R.Left + column + source(x, width, cw), mask.R.Top + source(y, height, ch)) ==
           0x00FF00FF;
}

class SkinnedControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());   // the skin manager's announcements reach the application's forms
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(150, 150, 420, 320);
        form->SetColor(kFormColor);
        manager = NewElegantManager(form);
        manager->SetCommonSections(TestSections());
        manager->SetSkinName("Elegant (internal)");
        ASSERT_TRUE(manager->SkinData().Active);
        Application().SetMainForm(form);
        MovePointer({5, 5});
    }
    void TearDown() override {
        MovePointer({5, 5});
        delete form;
        Application().ProcessMessages();   // what the window's end posted
        Application().OnException = nullptr;
    }
    // Shows the form and lets every control paint. The form's own window keeps the
    // focus and the pointer stays off the form, so no control under test starts
    // out focused or hot.
    void ShowForm() {
        form->Show();
        SetForegroundWindow(form->Handle());
        ::SetFocus(form->Handle());
        MovePointer({5, 5});
        PumpUntil([&] { return GetForegroundWindow() == form->Handle() && GetFocus() == form->Handle(); },
                  "the form to come to the front with the focus");
        WaitFadesEnded();
        // Painted now; the message loop's idle pass puts the window's surface on the screen.
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application().ProcessMessages();
    }
    TsButton* AddButton(int left, int top, int width, int height, const std::string& section = "BUTTON") {
        auto* b = AddControl<TsButton>(form, left, top, width, height);
        b->SkinData.SetSkinSection(section);
        return b;
    }
    const TsSkinTables& Tables() const { return manager->Tables(); }
    int SectionIndex(const std::string& section) const { return Tables().SectionIndexOf(section); }
    const TsGeneralData& Section(const std::string& section) const {
        return Tables().Sections.at(static_cast<std::size_t>(SectionIndex(section)));
    }
    const TsMaskData& BorderMask(const std::string& section) const {
        const int index = Tables().MaskIndexOf(SectionIndex(section), section, "BORDERSMASK");
        EXPECT_TRUE(Tables().IsValidMaskIndex(index)) << section;
        return Tables().Masks[static_cast<std::size_t>(index)];
    }
    POINT Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }

    // A section painted at the control's size and state by the painting core,
    // over parentBg (or, with none, over a parent of colour parentColor), its
    // frame corners showing what lies behind.
    TBitmap24 ExpectedFace(const std::string& section, const TControl& c, const TParentBackground& parentBg,
                           TColor parentColor, bool needsParentRepaint, int state = 0) const {
        const TsSkinTables& t = Tables();
        TItemSource s;
        s.Tables = &t;
        s.SkinIndex = SectionIndex(section);
        s.BorderIndex = t.MaskIndexOf(s.SkinIndex, section, "BORDERSMASK");
        s.HasParent = true;
        s.ParentColor = parentColor;
        s.NeedsParentRepaint = needsParentRepaint;
        s.ParentControlColor = [parentColor] { return parentColor; };
        TBitmap24 out(c.Width(), c.Height());
        PaintItem(s, parentBg, true, out, TPoint{c.Left(), c.Top()}, TRect{0, 0, c.Width(), c.Height()}, state);
        if (t.IsValidMaskIndex(s.BorderIndex)) {
            TCornerFill fill{TCornerFill::cfColor, parentColor};
            if (parentBg.Ready) fill = {TCornerFill::cfParentPixels, clNone, parentBg.Bitmap, c.Left(), c.Top()};
            UpdateCorners(out, t, t.Masks[static_cast<std::size_t>(s.BorderIndex)], state, crAll, fill);
        }
        return out;
    }

    // A button's face over a plain parent: the section's background layers at
    // the state, then its border mask with the key pixels in the parent's colour,
    // then (with a caption) the caption centred as the rule places it, one pixel
    // right and down when pressed, and the dotted frame around it when focused.
    TBitmap24 ExpectedButton(TsButton* b, const std::string& section, int state, bool focused = false) {
        const int w = b->Width(), h = b->Height();
        TBitmap24 face(w, h);
        const int si = SectionIndex(section);
        SharedColor = kFormColor;
        GlobalFillColor = kFormColor;
        PaintItemBackground(si, TParentBackground{}, clNone, -1, -1, &Tables(), face, {b->Left(), b->Top()},
                            {0, 0, w, h}, state);
        std::vector<TRect> holes;
        DrawSkinRectRegion(face, holes, state, kFormColor, Tables(), BorderMask(section));
        SharedColor = clNone;
        GlobalFillColor = clNone;
        const std::string caption = b->Caption();
        if (caption.empty()) return face;
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(face.Handle()));
        {
            // The caption's size measured by the platform inside Width - 2, word-wrapped.
            RECT measured{0, 0, w - 2, 0};
            HGDIOBJ oldFont = SelectObject(dc, b->Font().Handle());
            const std::wstring wide = Widen(caption);
            DrawTextW(dc, wide.c_str(), -1, &measured, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
            SelectObject(dc, oldFont);
            const int dx = (w - measured.right) / 2, dy = (h - measured.bottom) / 2;
            const int shift = state == 2 ? 1 : 0;
            TRect rect{dx - 1 + shift, dy + shift, w - dx + 2 + shift, h - dy + shift};
            TGdiTextCanvas canvas(dc, b->Font().Handle(), ColorToRGB(b->Font().Color()));
            WriteTextEx(canvas, caption, true, state != 0, TTextSource{&Tables(), si, false},
                        dtCenter | dtWordBreak | DT_EXPANDTABS, rect);
            if (focused) DrawDottedFrame(canvas, {rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1});
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        GdiFlush();
        return face;
    }

    // Compares a control's window on the screen with an expected picture.
    // The screen shows a paint once Wine has flushed the window's surface: waits
    // (bounded) for the picture, then reports where it differs.
    void ExpectScreen(TWinControl* c, const TBitmap24& expected, const std::string& what) {
        PumpWhileNot([&] {
            std::string ignored;
            return Differences(CaptureScreen(ScreenRectOf(c)), expected, ignored) == 0;
        });
        std::string where;
        EXPECT_EQ(Differences(CaptureScreen(ScreenRectOf(c)), expected, where), 0) << what << ":" << where;
    }

    TForm* form = nullptr;
    TsSkinManager* manager = nullptr;
};

// Presses or releases the left button of the real pointer where it is.
inline void PointerButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

// Presses or releases a key of the real keyboard.
inline void Key(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

// WM_GETTEXT straight to the window, as assistive technology asks it.
inline std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

}  // namespace korvel::testing
