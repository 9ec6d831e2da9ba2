// The skinned edit with a real pointer and keyboard: the whole face from the
// skin while it is idle, the skinned frame around the native client area while
// it is under the pointer or focused, password characters, the text inset of
// each border, the disabled look of the launcher's count field over a page, and
// editing that still works natively.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::Differences;
using testing::kFormColor;
using testing::MovePointer;
using testing::Pump;
using testing::PumpWhileNot;
using testing::UnderKeyPixel;
using testing::WindowText;

class EditTest : public testing::SkinnedControlTest {
protected:
    TsEdit* AddEdit(TWinControl* parent, int left, int top, int width, int height, const std::string& text) {
        auto* e = new TsEdit(form);
        e->SetBounds(left, top, width, height);
        e->SetParent(parent);
        e->SetText(text);
        return e;
    }

    // The edit's face: the EDIT section composed over what lies behind it, the text
    // written from (inset + 1, inset + 1), then the corner key pixels of the frame
    // taking what lies behind (parent's pixels over a cache, else its colour).
    TBitmap24 ExpectedEdit(TsEdit* e, int state, const std::string& shown, int inset, const TParentBackground& behind,
                           TColor parentColor, bool customFont = false) {
        const int w = e->Width(), h = e->Height();
        TBitmap24 face(w, h);
        const int si = SectionIndex("EDIT");
        TItemSource source;
        source.Tables = &Tables();
        source.SkinIndex = si;
        source.BorderIndex = Tables().MaskIndexOf(si, "EDIT", "BORDERSMASK");
        source.HasParent = true;
        source.ParentColor = parentColor;
        source.NeedsParentRepaint = !e->Enabled();   // a disabled face depends on its parent
        source.ParentControlColor = [parentColor] { return parentColor; };
        PaintItem(source, behind, true, face, {e->Left(), e->Top()}, {0, 0, w, h}, state);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(face.Handle()));
        {
            TGdiTextCanvas canvas(dc, e->Font().Handle(), ColorToRGB(e->Font().Color()));
            TRect rect{inset + 1, inset + 1, w - inset, h - inset};
            WriteTextEx(canvas, shown, true, state != 0, TTextSource{&Tables(), si, customFont},
                        dtSingleLine | dtWordBreak | dtNoPrefix, rect);
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        GdiFlush();
        return face;
    }

    // Key pixels of the four corner pieces take what lies behind the edit.
    void FillCorners(TBitmap24& face, TsEdit* e, const TParentBackground& behind, TColor parentColor) {
        const TsMaskData& mask = BorderMask("EDIT");
        const int cw = mask.R.Width() / (mask.ImageCount * 3), ch = mask.R.Height() / ((mask.MaskType + 1) * 3);
        for (int y = 0; y < face.Height(); ++y) {
            for (int x = 0; x < face.Width(); ++x) {
                const bool corner = (x < cw || x >= face.Width() - cw) && (y < ch || y >= face.Height() - ch);
                if (!corner || !UnderKeyPixel(Tables(), mask, 0, face.Width(), face.Height(), x, y)) continue;
                face.SetPixel(x, y, behind.Ready ? behind.Bitmap->Pixel(e->Left() + x, e->Top() + y) : parentColor);
            }
        }
    }

    // The frame strips the skin paints around an active edit: two pixels on every side.
    void ExpectFrameStrips(TsEdit* e, const TBitmap24& expected, const std::string& what) {
        const TBitmap24 shot = testing::CaptureScreen(testing::ScreenRectOf(e));
        int wrong = 0;
        for (int y = 0; y < shot.Height(); ++y) {
            for (int x = 0; x < shot.Width(); ++x) {
                const bool strip = x < 2 || y < 2 || x >= shot.Width() - 2 || y >= shot.Height() - 2;
                if (strip && shot.Pixel(x, y) != expected.Pixel(x, y) && wrong++ < 3) {
                    ADD_FAILURE() << what << " frame pixel " << x << "," << y;
                }
            }
        }
        EXPECT_EQ(wrong, 0) << what;
    }
};

TEST_F(EditTest, IdleFaceIsSkinnedAndTheActiveOneKeepsOnlyTheSkinnedFrame) {
    TsEdit* e = AddEdit(form, 24, 32, 121, 21, "c:\\korvel\\config.cfg");
    ShowForm();
    TBitmap24 idle = ExpectedEdit(e, 0, "c:\\korvel\\config.cfg", 2, {}, kFormColor);
    FillCorners(idle, e, {}, kFormColor);
    ExpectScreen(e, idle, "idle");

    MovePointer(Center(e));
    PumpWhileNot([&] { return e->SkinData.IsActive(); });
    EXPECT_TRUE(e->SkinData.IsActive());
    TBitmap24 hot = ExpectedEdit(e, 1, "c:\\korvel\\config.cfg", 2, {}, kFormColor);
    FillCorners(hot, e, {}, kFormColor);
    // Inside the frame the native edit paints; with the classic font's metrics its
    // text lands on the skinned face's pixels, so only the frame is compared.
    ExpectFrameStrips(e, hot, "under the pointer");

    MovePointer({5, 5});
    PumpWhileNot([&] { return !e->SkinData.IsActive(); });   // the pointer's leaving is noticed by polling
    ExpectScreen(e, idle, "idle again after the pointer left");

    e->SetFocus();
    Application().ProcessMessages();
    ExpectFrameStrips(e, hot, "focused");
}

// With a font of its own, the face shows each new font colour (a colour alone
// does not give the native edit a new font).
TEST_F(EditTest, ANewColourOfItsOwnFontShowsInTheFace) {
    TsEdit* e = AddEdit(form, 24, 32, 121, 21, "c:\\korvel\\config.cfg");
    e->SkinData.SetCustomFont(true);
    ShowForm();
    for (const TColor colour : {TColor(0x002060A0), TColor(0x00A02060), TColor(0x0060A020)}) {
        e->Font().SetColor(colour);
        Application().ProcessMessages();
        TBitmap24 face = ExpectedEdit(e, 0, "c:\\korvel\\config.cfg", 2, {}, kFormColor, true);
        FillCorners(face, e, {}, kFormColor);
        ExpectScreen(e, face, "font colour " + testing::Hex(colour));
    }
}

TEST_F(EditTest, TextInsetFollowsTheBorderAndPasswordsShowOneCharacterEach) {
    struct Case {
        const char* text;
        const char* password;
        bool border;
        const char* shown;
    };
    const Case cases[] = {
        {"192.168.100.1", "", true, "192.168.100.1"},
        {"taskelm", "*", true, "*******"},
        {"vireon", "", false, "vireon"},
        {"h\xC3\xA9llo", "#", true, "#####"},   // one character each, not one per byte
    };
    for (const Case& c : cases) {
        TsEdit* e = AddEdit(form, 24, 32, 97, 21, c.text);
        e->SetPasswordChar(c.password);
        e->SetBorderStyle(c.border ? TBorderStyle::bsSingle : TBorderStyle::bsNone);
        ShowForm();
        EXPECT_EQ(e->DisplayText(), c.shown);
        const int inset = c.border ? 2 : 0;
        const TRect r = e->TextRect();
        EXPECT_EQ(r, (TRect{inset + 1, inset + 1, e->Width() - inset, e->Height() - inset})) << c.text;
        TBitmap24 face = ExpectedEdit(e, 0, c.shown, inset, {}, kFormColor);
        FillCorners(face, e, {}, kFormColor);
        ExpectScreen(e, face, c.text);
        delete e;
        form->Hide();
    }
}

TEST_F(EditTest, DisabledCountFieldBlendsWithThePageBehindIt) {
    // A page with a cache of its own whose pixels differ in every channel.
    auto* page = new testing::TSkinnedPanel(form, "PAGE");
    page->SetBounds(40, 8, 329, 281);
    page->SetParent(form);
    page->SkinData.PrepareCacheBmp();
    TBitmap24& pixels = *page->SkinData.CacheBmp();
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            pixels.SetPixel(x, y, MakeColor((x * 7) & 0xFF, (y * 11) & 0xFF, ((x + y) * 5) & 0xFF));
    TsEdit* count = AddEdit(page, 104, 256, 33, 21, "");
    count->SetEnabled(false);
    count->SetReadOnly(true);
    count->SetTabStop(false);
    ShowForm();
    // The page's look is ready (a skinned page says so when it has painted): children may paint.
    page->SkinData.BackgroundChanged = false;
    page->SkinData.Updating = false;
    SkinCommandToControl(count, SMC_PARENTUPDATED);
    RedrawWindow(count->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    Application().ProcessMessages();

    const TParentBackground behind{&pixels, 0, 0, true};
    TBitmap24 expected = ExpectedEdit(count, 0, "", 2, behind, ColorToRGB(page->Color()));
    // The disabled look: each channel round(0.6 x page + 0.4 x face), ties to even.
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const std::uint32_t d = expected.Pixel(x, y);
            const std::uint32_t p = pixels.Pixel(count->Left() + x, count->Top() + y);
            std::uint32_t out = 0;
            for (int shift : {0, 8, 16}) {
                const int pc = (p >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                out |= static_cast<std::uint32_t>(std::nearbyint(pc - 0.4 * (pc - dc))) << shift;
            }
            expected.SetPixel(x, y, out);
        }
    }
    FillCorners(expected, count, behind, ColorToRGB(page->Color()));
    ExpectScreen(count, expected, "disabled count");
    MovePointer(Center(count));
    Pump(testing::NothingHappensMillis);
    ExpectScreen(count, expected, "disabled count under the pointer");
}

TEST_F(EditTest, NativeEditingStillWorksUnderTheSkin) {
    TsEdit* e = AddEdit(form, 24, 32, 121, 21, "10.5.5.");
    ShowForm();
    e->SetFocus();
    Application().ProcessMessages();
    INPUT end[2] = {};
    end[0].type = end[1].type = INPUT_KEYBOARD;
    end[0].ki.wVk = end[1].ki.wVk = VK_END;
    end[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, end, sizeof(INPUT));
    Application().ProcessMessages();
    testing::TypeText(L"17");
    EXPECT_EQ(e->Text(), "10.5.5.17");
    EXPECT_EQ(WindowText(e->Handle()), L"10.5.5.17");
    // The clipboard: select the whole text (End, Shift+Home), copy, paste into another field.
    const auto chord = [](WORD modifier, WORD key) {
        testing::Key(modifier, true);
        testing::Key(key, true);
        testing::Key(key, false);
        testing::Key(modifier, false);
    };
    testing::Key(VK_END, true);
    testing::Key(VK_END, false);
    chord(VK_SHIFT, VK_HOME);
    chord(VK_CONTROL, 'C');
    auto* other = AddEdit(form, 24, 80, 121, 21, "");
    ShowForm();
    other->SetFocus();
    Application().ProcessMessages();
    chord(VK_CONTROL, 'V');
    EXPECT_EQ(other->Text(), "10.5.5.17");
    // Leaving shows the new text in the skinned face.
    MovePointer({5, 5});
    PumpWhileNot([&] { return !e->SkinData.MouseAbove; });
    TBitmap24 face = ExpectedEdit(e, 0, "10.5.5.17", 2, {}, kFormColor);
    FillCorners(face, e, {}, kFormColor);
    ExpectScreen(e, face, "after typing");
}

TEST_F(EditTest, StoredSettingsReachTheEdit) {
    RegisterEditClass();
    auto* stored = new TForm(&Application());
    stored->ReadDefinition(
        "object Stored: TForm\n"
        "  object count: TsEdit\n"
        "    Left = 104\n"
        "    Top = 256\n"
        "    Width = 33\n"
        "    Height = 21\n"
        "    Color = clRed\n"
        "    Enabled = False\n"
        "    ReadOnly = True\n"
        "    TabStop = False\n"
        "    DisabledKind = [dkGrayed]\n"
        "    SkinData.CustomColor = True\n"
        "    SkinData.SkinSection = 'EDIT'\n"
        "  end\n"
        "end\n");
    auto* count = dynamic_cast<TsEdit*>(stored->FindComponent("count"));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->DisabledKind(), static_cast<TsDisabledKind>(dkGrayed));
    EXPECT_TRUE(count->SkinData.CustomColor());
    EXPECT_EQ(count->SkinData.SkinSection(), "EDIT");
    EXPECT_EQ(count->SkinData.ControlCode, ccEdit);
    EXPECT_TRUE(count->SkinData.IsSkinned(true));
    EXPECT_FALSE(count->Enabled());
    EXPECT_TRUE(count->ReadOnly());
    // The skin's announcements leave a custom colour alone.
    manager->RefreshAll();
    EXPECT_EQ(count->Color(), static_cast<TColor>(clRed));
    delete stored;
}

TEST_F(EditTest, SkinnedEditsStillAnswerGetText) {
    const std::vector<std::string> texts = {"192.168.100.1", "c:\\korvel\\config.cfg", "#", "", ".1.3.6.1.2.1.1.3.0"};
    std::vector<TsEdit*> edits;
    for (std::size_t i = 0; i < texts.size(); ++i) edits.push_back(AddEdit(form, 24, 10 + 25 * static_cast<int>(i), 121, 21, texts[i]));
    ShowForm();
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(WindowText(edits[i]->Handle()), Widen(texts[i]));
}

}  // namespace
}  // namespace korvel
