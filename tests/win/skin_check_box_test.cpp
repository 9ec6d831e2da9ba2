// The skinned check box, driven by the real pointer and keyboard: its normal,
// hot and pressed looks, toggling on release, read-only, the grayed cycle,
// user glyphs, its size, the native check box once the skin is gone, and the
// box repainted as its action changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "controls/check_box.h"
#include "controls/panel.h"
#include "gui/actions.h"
#include "gui/exceptions.h"
#include "gui/image_list.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::Differences;
using testing::Key;
using testing::kFormColor;
using testing::MovePointer;
using testing::PointerButton;

class CheckBoxTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        host = new TsPanel(form);
        host->SkinData().SetSkinSection("GRADPANEL");
        host->SetParent(form);
        host->SetBounds(10, 10, 300, 200);
        box = new TsCheckBox(form);
        box->SetParent(host);
        box->SetBounds(40, 50, 120, 30);
        box->SetCaption("Step Thru");
    }
    // The glyph of mask name in the given state, as the painting core draws it over
    // the host's face, in the box's coordinates; the caption's side is left out.
    TBitmap24 ExpectedGlyphSide(const char* mask, int state) {
        const TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
        TBitmap24 face(box->Width(), box->Height());
        for (int y = 0; y < face.Height(); ++y)
            for (int x = 0; x < face.Width(); ++x) face.SetPixel(x, y, hostFace.Pixel(box->Left() + x, box->Top() + y));
        const TsSkinTables& t = Tables();
        const int index = t.MaskIndexOf(t.SectionIndexOf("GLOBALINFO"), "GLOBALINFO", mask);
        EXPECT_TRUE(t.IsValidMaskIndex(index)) << mask;
        if (!t.IsValidMaskIndex(index)) return face;
        const TsMaskData& m = t.Masks[static_cast<std::size_t>(index)];
        const int h = m.R.Height() / (m.MaskType + 1);
        DrawSkinGlyph(face, TPoint{box->Margin(), (box->Height() - h) / 2}, state, t, m, 1);
        return face;
    }
    // Differences on the glyph's side of the box (left of where the caption starts).
    int GlyphSideDifferences(const char* mask, int state, std::string& first) {
        const TBitmap24 expected = ExpectedGlyphSide(mask, state);
        // The caption's box starts at glyph + indent + margin + 4; its focus frame two pixels further left.
        const int captionLeft = 16 + box->TextIndent() + box->Margin() + 4 - 3;
        return Differences(CaptureControl(*box), expected, first, {RECT{captionLeft, 0, box->Width(), box->Height()}});
    }
    POINT GlyphCentre() const { return box->ClientToScreen({box->Margin() + 8, box->Height() / 2}); }

    TsPanel* host = nullptr;
    TsCheckBox* box = nullptr;
};

TEST_F(CheckBoxTest, PointerAndButtonShowNormalHotAndPressedAndTheReleaseToggles) {
    ShowForm();
    struct Step { const char* what; int action; const char* mask; int state; TCheckBoxState after; };
    enum { None, Enter, Down, Up, Leave };
    const Step steps[] = {
        {"normal", None, "BOXUNCHECKED", 0, TCheckBoxState::cbUnchecked},
        {"hot", Enter, "BOXUNCHECKED", 1, TCheckBoxState::cbUnchecked},
        {"pressed", Down, "BOXUNCHECKED", 2, TCheckBoxState::cbUnchecked},
        {"released", Up, "BOXCHECKED", 1, TCheckBoxState::cbChecked},
        {"left", Leave, "BOXCHECKED", 0, TCheckBoxState::cbChecked},
    };
    for (const Step& s : steps) {
        switch (s.action) {
        case Enter: MovePointer(GlyphCentre()); break;
        case Down: PointerButton(true); break;
        case Up: PointerButton(false); break;
        case Leave:   // neither hovered nor focused
            MovePointer({5, 5});
            form->SetFocus();
            testing::PumpWhileNot([&] { return !box->SkinData().MouseAbove; });
            testing::WaitFadesEnded();
            break;
        }
        std::string first;
        EXPECT_EQ(GlyphSideDifferences(s.mask, s.state, first), 0) << s.what << ": " << first;
        EXPECT_EQ(box->State(), s.after) << s.what;
        EXPECT_EQ(box->Pressed(), s.action == Down) << s.what;
    }
}

TEST_F(CheckBoxTest, ReleaseAwayFromTheBoxStillToggles) {
    ShowForm();
    MovePointer(GlyphCentre());
    PointerButton(true);
    MovePointer(host->ClientToScreen({280, 180}));
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    PointerButton(false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    EXPECT_FALSE(box->Pressed());
}

TEST_F(CheckBoxTest, SpacePressesAndItsReleaseToggles) {
    ShowForm();
    box->SetFocus();
    Application().ProcessMessages();
    Key(VK_SPACE, true);
    EXPECT_TRUE(box->Pressed());
    std::string first;
    EXPECT_EQ(GlyphSideDifferences("BOXUNCHECKED", 2, first), 0) << first;
    Key(VK_SPACE, false);
    EXPECT_FALSE(box->Pressed());
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    EXPECT_EQ(GlyphSideDifferences("BOXCHECKED", 1, first), 0) << "focused: " << first;
}

TEST_F(CheckBoxTest, ReadOnlyIgnoresPointerAndSpaceShowsNoHotStateButTakesTheFocus) {
    auto* edit = new TEdit(form);
    edit->SetParent(host);
    edit->SetBounds(40, 120, 100, 21);
    edit->SetTabOrder(0);
    box->SetTabOrder(1);
    box->SetReadOnly(true);
    ShowForm();
    MovePointer(GlyphCentre());
    std::string first;
    EXPECT_EQ(GlyphSideDifferences("BOXUNCHECKED", 0, first), 0) << "hovered: " << first;
    PointerButton(true);
    EXPECT_FALSE(box->Pressed());
    PointerButton(false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    edit->SetFocus();
    Application().ProcessMessages();
    Key(VK_TAB, true);
    Key(VK_TAB, false);
    EXPECT_TRUE(box->Focused());
    Key(VK_SPACE, true);
    Key(VK_SPACE, false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(GlyphSideDifferences("BOXUNCHECKED", 0, first), 0) << "focused: " << first;
}

TEST_F(CheckBoxTest, AllowGrayedCyclesUncheckedCheckedGrayed) {
    box->SetAllowGrayed(true);
    ShowForm();
    MovePointer(GlyphCentre());
    struct Step { TCheckBoxState state; const char* mask; };
    const Step cycle[] = {{TCheckBoxState::cbChecked, "BOXCHECKED"},
                          {TCheckBoxState::cbGrayed, "BOXGRAYED"},
                          {TCheckBoxState::cbUnchecked, "BOXUNCHECKED"}};
    for (const Step& s : cycle) {
        PointerButton(true);
        PointerButton(false);
        EXPECT_EQ(box->State(), s.state) << s.mask;
        std::string first;
        EXPECT_EQ(GlyphSideDifferences(s.mask, 1, first), 0) << s.mask << ": " << first;
    }
    // Set by code that knows only the framework's check box, the state shows all the same.
    TCheckBox& plain = *box;
    plain.SetState(TCheckBoxState::cbGrayed);
    Application().ProcessMessages();
    std::string first;
    EXPECT_EQ(GlyphSideDifferences("BOXGRAYED", 1, first), 0) << "set through TCheckBox: " << first;
}

TEST_F(CheckBoxTest, DisabledBoxIsBlendedWithWhatLiesBehind) {
    box->SetEnabled(false);
    ShowForm();
    MovePointer(GlyphCentre());   // a disabled box never lights up
    TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
    TBitmap24 expected = ExpectedGlyphSide("BOXUNCHECKED", 0);
    DisabledLook(expected, dkBlended, ColorToRGB(box->Color()), TPoint{box->Left(), box->Top()},
                 TParentBackground{&hostFace, 0, 0, true});
    const int captionLeft = 16 + box->TextIndent() + box->Margin() + 4 - 3;
    std::string first;
    EXPECT_EQ(Differences(CaptureControl(*box), expected, first, {RECT{captionLeft, 0, box->Width(), box->Height()}}), 0)
        << first;
    // Really paler than the enabled glyph.
    EXPECT_NE(Differences(expected, ExpectedGlyphSide("BOXUNCHECKED", 0), first), 0);
}

TEST_F(CheckBoxTest, ActionChangesRepaintTheGlyphAndARealClickExecutesTheAction) {
    auto* list = new TActionList(form);
    auto* step = new TAction(list);
    step->SetCaption("Step");
    int executed = 0;
    step->OnExecute = [&executed](TObject*) { ++executed; };
    box->SetAction(step);
    ShowForm();
    struct Step {
        const char* what;
        void (*change)(TAction&);
        const char* caption;
        bool enabled, checked;
    };
    const Step steps[] = {
        {"linked", [](TAction&) {}, "Step", true, false},
        {"checked", [](TAction& a) { a.SetChecked(true); }, "Step", true, true},
        {"disabled", [](TAction& a) { a.SetEnabled(false); }, "Step", false, true},
        {"unchecked while disabled", [](TAction& a) { a.SetChecked(false); }, "Step", false, false},
        {"caption, enabled", [](TAction& a) { a.SetCaption("Step Thru"); a.SetEnabled(true); }, "Step Thru", true, false},
    };
    const int captionLeft = 16 + box->TextIndent() + box->Margin() + 4 - 3;
    TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
    for (const Step& s : steps) {
        s.change(*step);
        EXPECT_EQ(box->Caption(), s.caption) << s.what;
        EXPECT_EQ(testing::WindowText(box->Handle()), Widen(s.caption)) << s.what;
        EXPECT_EQ(box->State(), s.checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked) << s.what;
        TBitmap24 expected = ExpectedGlyphSide(s.checked ? "BOXCHECKED" : "BOXUNCHECKED", 0);
        if (!s.enabled)
            DisabledLook(expected, dkBlended, ColorToRGB(box->Color()), TPoint{box->Left(), box->Top()},
                         TParentBackground{&hostFace, 0, 0, true});
        const std::vector<RECT> captionSide{RECT{captionLeft, 0, box->Width(), box->Height()}};
        std::string first;
        // The change asked for a repaint: on the screen once it is handled (bounded).
        testing::PumpWhileNot([&] { return Differences(CaptureControl(*box), expected, first, captionSide) == 0; });
        first.clear();
        EXPECT_EQ(Differences(CaptureControl(*box), expected, first, captionSide), 0) << s.what << ": " << first;
    }
    EXPECT_EQ(executed, 0);   // the action's own changes click nothing

    // A real click toggles the box, the action takes the new state, then executes.
    MovePointer(GlyphCentre());
    PointerButton(true);
    PointerButton(false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    EXPECT_TRUE(step->Checked());
    EXPECT_EQ(executed, 1);
}

TEST_F(CheckBoxTest, AutoSizeFitsGlyphAndCaption) {
    ShowForm();
    TFont font;
    font.Assign(box->Font());
    struct Case { const char* caption; int margin, indent; };
    const Case cases[] = {{"Step Thru", 2, 0}, {"Step Thru", 5, 3}, {"", 2, 0}, {"", 7, 0}};
    for (const Case& c : cases) {
        box->SetCaption(c.caption);
        box->SetMargin(c.margin);
        box->SetTextIndent(c.indent);
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, font.Handle());
        SIZE text{};
        const std::wstring wide(c.caption, c.caption + strlen(c.caption));
        if (!wide.empty()) GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &text);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        // The internal skin's box glyph is 16 x 18 (48 x 36, three images over their transparency).
        const int width = 16 + 2 * c.margin + (wide.empty() ? 0 : text.cx + c.indent + 8);
        const int height = std::max<int>(18, text.cy + 2 * c.margin) + 2;
        EXPECT_EQ(box->Width(), width) << c.caption << " " << c.margin;
        EXPECT_EQ(box->Height(), height) << c.caption << " " << c.margin;
    }
    // A multi-line caption keeps the size it is given.
    box->SetMultiLine(true);
    EXPECT_FALSE(box->AutoSize());
    box->SetBounds(40, 50, 60, 40);
    box->SetCaption("A much longer caption");
    EXPECT_EQ(box->Width(), 60);
}

// Three frames of 16 x 16 over their transparency: colours and weights differ per picture, frame, column and row.
TColor GlyphColour(int picture, int frame, int x, int y) { return MakeColor(40 + 60 * frame, 10 * x + 50 * picture, 200 - 8 * y); }
TColor GlyphWeight(int x, int y) { return MakeColor(16 * (x % 16), 8 * y, 255 - 16 * (x % 16)); }
TBitmap24 GlyphPicture(int picture) {
    TBitmap24 out(48, 32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 48; ++x) {
            out.SetPixel(x, y, GlyphColour(picture, x / 16, x % 16, y));
            out.SetPixel(x, y + 16, GlyphWeight(x, y));
        }
    return out;
}

TEST_F(CheckBoxTest, UserGlyphsShowThroughTheirTransparencyOnlyWhereGiven) {
    TCustomImageList list(nullptr);
    list.SetSize(48, 32);
    list.Add(GlyphPicture(0));
    list.Add(GlyphPicture(1));
    EXPECT_THROW(list.Add(TBitmap24(16, 16)), EInvalidOperation);   // another size is refused
    EXPECT_EQ(list.Count(), 2);
    struct Case { const char* source; int unchecked, checked; };   // the picture shown, -1 for none
    const Case cases[] = {{"GlyphChecked only", -1, 0}, {"Images", 0, 1}};
    box->SetAutoSize(false);
    box->SetBounds(40, 50, 120, 30);
    ShowForm();
    const TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
    const auto expectShown = [&](int picture, const std::string& what) {
        const TBitmap24 shot = CaptureControl(*box);
        const int top = (box->Height() - 16) / 2;
        int wrong = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const TColor back = hostFace.Pixel(box->Left() + box->Margin() + x, box->Top() + top + y);
                TColor want = back;
                if (picture >= 0) {
                    const TColor i = GlyphColour(picture, 0, x, y), t = GlyphWeight(x, y);
                    const auto mix = [](int img, int cache, int tr) { return img + (cache - img) * tr / 256; };
                    want = MakeColor(mix(RedOf(i), RedOf(back), RedOf(t)), mix(GreenOf(i), GreenOf(back), GreenOf(t)),
                                     mix(BlueOf(i), BlueOf(back), BlueOf(t)));
                }
                wrong += shot.Pixel(box->Margin() + x, top + y) != want;
            }
        EXPECT_EQ(wrong, 0) << what;
    };
    for (const Case& c : cases) {
        if (std::string(c.source) == "Images") {
            box->SetImages(&list);
            box->SetImgChecked(1);
            box->SetImgUnchecked(0);
        } else {
            box->GlyphChecked().Pixels() = GlyphPicture(0);
            box->GlyphChecked().OnChange();
        }
        box->SetChecked(false);
        Application().ProcessMessages();
        expectShown(c.unchecked, std::string(c.source) + " unchecked");
        box->SetChecked(true);
        Application().ProcessMessages();
        expectShown(c.checked, std::string(c.source) + " checked");
    }
    box->SetImgChecked(7);   // no such picture: no glyph
    Application().ProcessMessages();
    expectShown(-1, "missing picture");
    box->SetImages(nullptr);
}

TEST_F(CheckBoxTest, WithoutTheSkinTheNativeCheckBoxShowsTheState) {
    ShowForm();
    box->SetChecked(true);
    Application().ProcessMessages();
    // While skinned the native control never changed its own state.
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    manager->SetActive(false);
    Application().ProcessMessages();
    EXPECT_FALSE(box->SkinData().IsSkinned(false));
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    ShowForm();
    // Plain: the native control's click toggles through the framework.
    MovePointer(box->ClientToScreen({8, box->Height() / 2}));
    PointerButton(true);
    PointerButton(false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // A read-only box stays as it is without the skin too.
    box->SetReadOnly(true);
    PointerButton(true);
    PointerButton(false);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
}

// The old look keeps weight 255 - level x 256 / iterations (at least 0) in each frame.
TBitmap24 FadeFrame(const TBitmap24& from, const TBitmap24& to, int level, int iterations) {
    const int a = std::max(0, 255 - level * 256 / iterations);
    TBitmap24 frame(from.Width(), from.Height());
    for (int y = 0; y < from.Height(); ++y)
        for (int i = 0; i < from.Width() * 3; ++i)
            frame.ScanLine(y)[i] =
                static_cast<std::uint8_t>((from.ScanLine(y)[i] * a + to.ScanLine(y)[i] * (255 - a) + 127) >> 8);
    return frame;
}

TEST_F(CheckBoxTest, EnteringFadesToTheHotLookInTheSectionsIterations) {
    box->SkinData().SetSkinSection("FADEBOX");
    std::vector<TBitmap24> frames;
    box->HookWindowProc(this, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_FADEFRAME)
            frames.push_back(reinterpret_cast<TBitmap24*>(m.LParam)->Clone());
        next(m);
    });
    // The pointer leaves in TearDown and fades the box again: the hook goes with frames.
    struct TUnhook {
        TsCheckBox* box;
        const void* owner;
        ~TUnhook() { box->UnhookWindowProc(owner); }
    } unhook{box, this};
    ShowForm();
    const TBitmap24 from = CaptureControl(*box);
    MovePointer(GlyphCentre());
    ASSERT_TRUE(testing::PumpUntil([&] { return frames.size() >= 4 && box->FadeTimer() == nullptr; },
                                   "the fade's frames and its end"));
    // The cache holds the new look the frames blend toward.
    const TBitmap24 to = box->SkinData().CacheBmp()->Clone();
    std::string where;
    ASSERT_GT(Differences(from, to, where), 0) << "the hot look differs from the normal one";
    const int iterations = Section("FADEBOX").FadingIterations;
    ASSERT_EQ(iterations, 4);
    ASSERT_EQ(static_cast<int>(frames.size()), iterations);
    for (int level = 1; level <= iterations; ++level)
        EXPECT_EQ(Differences(frames[static_cast<std::size_t>(level - 1)], FadeFrame(from, to, level, iterations), where), 0)
            << "frame " << level << where;
    // The last frame is that look up to the blend's rounding; the fade's end puts
    // the look itself on the window.
    ExpectScreen(box, to, "hot after the fade");
}

TEST_F(CheckBoxTest, ARunningFadeStopsOnSkinChangeStopCommandSetCheckFocusLossAndRemoval) {
    box->SkinData().SetSkinSection("FADEBOX");
    box->SetAnimatEvents(aeMouseEnter);   // only entering fades: leaving repaints at once
    ShowForm();
    struct TCase {
        const char* What;
        std::function<void()> Before;   // before the fade starts
        std::function<void()> Stop;
    };
    const TCase cases[] = {
        {"skin change", [] {}, [&] { manager->SetSkinName("Elegant (internal)"); }},
        {"stop command", [] {}, [&] { SkinCommandToControl(box, SMC_STOPFADE, 0); }},
        {"native set-check", [] {}, [&] { box->SetChecked(!box->Checked()); }},
        {"focus loss", [&] { box->SetFocus(); }, [&] { ::SetFocus(form->Handle()); }},
        {"skin removal", [] {}, [&] { manager->SetActive(false); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        c.Before();
        Application().ProcessMessages();
        box->Perform(CM_MOUSELEAVE, 0, 0);
        box->Perform(CM_MOUSEENTER, 0, 0);
        ASSERT_NE(box->FadeTimer(), nullptr) << "a fade runs";
        c.Stop();
        EXPECT_EQ(box->FadeTimer(), nullptr);
    }
}

TEST(CheckBoxProperties, DefaultsStoredSettingsAndAnimationEvents) {
    RegisterCheckBoxClass();
    TForm form(nullptr);
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object plain: TsCheckBox\n"
        "  end\n"
        "  object box: TsCheckBox\n"
        "    Checked = True\n"
        "    ReadOnly = True\n"
        "    Margin = 4\n"
        "    TextIndent = 2\n"
        "    ShowFocus = False\n"
        "    DisabledKind = [dkGrayed]\n"
        "    AnimatEvents = [aeMouseEnter]\n"
        "    SkinData.SkinSection = 'RADIOBUTTON'\n"
        "  end\n"
        "end\n");
    auto* plain = dynamic_cast<TsCheckBox*>(form.FindComponent("plain"));
    auto* box = dynamic_cast<TsCheckBox*>(form.FindComponent("box"));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(plain->SkinData().SkinSection(), "CHECKBOX");
    EXPECT_EQ(plain->SkinData().ControlCode, ccCheckBox);
    EXPECT_EQ(plain->SkinData().CacheBmp(), nullptr);   // the first paint makes it
    EXPECT_EQ(plain->Alignment(), TAlignment::taRightJustify);
    EXPECT_TRUE(plain->AutoSize());
    EXPECT_EQ(plain->Margin(), 2);
    EXPECT_EQ(plain->DisabledKind(), TsDisabledKind(dkBlended));
    EXPECT_TRUE(plain->ShowFocus());
    EXPECT_FALSE(plain->ReadOnly());
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->ReadOnly());
    EXPECT_EQ(box->Margin(), 4);
    EXPECT_EQ(box->TextIndent(), 2);
    EXPECT_FALSE(box->ShowFocus());
    EXPECT_EQ(box->DisabledKind(), TsDisabledKind(dkGrayed));
    EXPECT_EQ(box->SkinData().SkinSection(), "RADIOBUTTON");
    struct Case { TacAnimatEvents set; TacAnimatEvent event; bool allowed; };
    const Case cases[] = {
        {aeGlobalDef, aeMouseEnter, true}, {aeGlobalDef, aeMouseUp, true},
        {aeMouseEnter, aeMouseEnter, true}, {aeMouseEnter, aeMouseLeave, false},
        {0, aeMouseDown, false},
    };
    for (const Case& c : cases) {
        box->SetAnimatEvents(c.set);
        EXPECT_EQ(box->AnimationAllowed(c.event), c.allowed) << c.set << " " << c.event;
    }
}

}  // namespace
}  // namespace korvel
