#pragma once
// What the skinned control tests share: a shown form with a skin manager that
// has the internal skin plus test sections whose colours differ in every
// channel, screen capture, and the expected look computed by the painting
// core straight from the skin's values.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/forms.h"
#include "gui_test_support.h"
#include "paint/item.h"
#include "paint/mask.h"
#include "skin_manager_support.h"

namespace korvel::testing {

// Every channel different, so a swapped channel or a shifted column shows.
constexpr TColor kFormColor = 0x00305A84;
constexpr TColor kGradFontColor = 0x0000C040;   // GRADPANEL's text colour
constexpr TColor kSeeColor = 0x0020C040;        // SEEPANEL's colour

// GRADPANEL: a vertical blue-to-red gradient mixed 70 : 30 with a grey, framed
// by the internal skin's panel border. SEEPANEL: 40 % see-through, no frame.
inline std::vector<std::string> TestSections() {
    return {"[GRADPANEL]", "COLOR=3158064", "FONTCOLOR=" + std::to_string(kGradFontColor), "TRANSPARENCY=0",
            "GRADIENTPERCENT=70", "GRADIENTDATA=16711680;255;100;0;0;255;255;0;0;0",
            "BORDERSMASK=#(181,202,205,250) (1,1,0,0)",
            "[SEEPANEL]", "COLOR=" + std::to_string(kSeeColor), "TRANSPARENCY=40", "GRADIENTPERCENT=0"};
}

// The pixels of a screen rectangle.
inline TBitmap24 CaptureScreen(const RECT& r) {
    TBitmap24 out(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, static_cast<HBITMAP>(out.Handle()));
    BitBlt(mem, 0, 0, out.Width(), out.Height(), screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// The control's whole area on the screen.
inline TBitmap24 CaptureControl(const TControl& c) {
    const POINT p = c.ClientToScreen({0, 0});
    return CaptureScreen({p.x, p.y, p.x + c.Width(), p.y + c.Height()});
}

// Pixels of actual that differ from expected, outside the skipped rectangles.
inline int CountDifferences(const TBitmap24& actual, const TBitmap24& expected, const std::vector<RECT>& skip,
                            std::string* first = nullptr) {
    int n = 0;
    for (int y = 0; y < expected.Height() && y < actual.Height(); ++y) {
        for (int x = 0; x < expected.Width() && x < actual.Width(); ++x) {
            bool skipped = false;
            for (const RECT& s : skip) skipped = skipped || (x >= s.left && x < s.right && y >= s.top && y < s.bottom);
            if (skipped || actual.Pixel(x, y) == expected.Pixel(x, y)) continue;
            if (n++ == 0 && first) {
                char text[96];
                snprintf(text, sizeof text, "first at (%d, %d): %06X, expected %06X", x, y, actual.Pixel(x, y),
                         expected.Pixel(x, y));
                *first = text;
            }
        }
    }
    return n;
}

class SkinnedControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());   // the manager's announcements reach the application's forms
        form->SetBorderStyle(TFormBorderStyle::bsNone);
        form->SetBounds(150, 150, 420, 320);
        form->SetColor(kFormColor);
        manager = new TsSkinManager(form);
        manager->SetProgramFolder("Z:\\nonexistent\\");
        manager->SetSkinDirectory("Z:\\nonexistent");
        AddElegant(*manager);
        manager->SetCommonSections(TestSections());
        manager->SetSkinName("Elegant (internal)");
        Application().SetMainForm(form);
        MovePointer({5, 5});
    }
    void TearDown() override {
        MovePointer({5, 5});
        delete form;
        Pump(30);
        Application().OnException = nullptr;
    }
    void ShowAndSettle() {
        form->Show();
        SetForegroundWindow(form->Handle());
        ::SetFocus(form->Handle());   // no control under test starts out focused (and hot)
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(150);
    }
    const TsSkinTables& Tables() const { return manager->Tables(); }
    int SectionIndex(const std::string& section) const { return Tables().SectionIndexOf(section); }
    const TsGeneralData& Section(const std::string& section) const {
        return Tables().Sections.at(static_cast<std::size_t>(SectionIndex(section)));
    }

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

    TForm* form = nullptr;
    TsSkinManager* manager = nullptr;
};

}  // namespace korvel::testing
