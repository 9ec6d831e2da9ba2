// The skinned push button with a real pointer and keyboard: its normal, hot and
// pressed faces, its window cut to the border mask, clicks only for a press and
// a release on it, Down, the space key, the default look, the disabled look,
// and the face repainted as its action changes.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "gui/actions.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::Differences;
using testing::Key;
using testing::kFormColor;
using testing::MovePointer;
using testing::PointerButton;
using testing::Pump;
using testing::PumpWhileNot;
using testing::UnderKeyPixel;
using testing::WindowText;

// The disabled look over the form: each channel round(0.5 x face + 0.5 x parent), ties to even.
TBitmap24 HalfWithForm(TBitmap24 face) {
    const auto half = [](int a, int c) { return static_cast<std::uint32_t>(std::nearbyint(0.5 * a + 0.5 * c)); };
    for (int y = 0; y < face.Height(); ++y) {
        for (int x = 0; x < face.Width(); ++x) {
            const std::uint32_t p = face.Pixel(x, y);
            face.SetPixel(x, y, half(p & 0xFF, kFormColor & 0xFF) | half((p >> 8) & 0xFF, (kFormColor >> 8) & 0xFF) << 8 |
                                    half(p >> 16, kFormColor >> 16) << 16);
        }
    }
    return face;
}

class ButtonTest : public testing::SkinnedControlTest {
protected:
    // A button that switches looks at once (no fade), counting its clicks.
    TsButton* AddStillButton(int left, int top, int width, int height, const std::string& caption) {
        TsButton* b = AddButton(left, top, width, height);
        b->SetCaption(caption);
        b->SetAnimatEvents(0);
        b->OnClick = [this, b](TObject*) { ++clicks[b]; };
        return b;
    }
    // Counts the fades a control prepares.
    int& WatchFades(TControl* c) {
        int& count = fades[c];
        c->HookWindowProc(&count, [&count](TMessage& m, const TWndNext& next) {
            if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_FADEPREPARE) ++count;
            next(m);
        });
        return count;
    }
    std::map<TControl*, int> clicks;
    std::map<TControl*, int> fades;
};

TEST_F(ButtonTest, NormalHotAndPressedFacesFollowTheRealPointer) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Run");
    ShowForm();
    struct Step {
        const char* what;
        int action;   // 0 pointer away, 1 pointer over, 2 press, 3 release
        int state;
        bool focused;
        int clicks;
    };
    const Step steps[] = {
        {"pointer away", 0, 0, false, 0},
        {"pointer over", 1, 1, false, 0},
        {"pressed", 2, 2, true, 0},
        {"released", 3, 1, true, 1},
        {"pointer away, still focused", 0, 1, true, 1},
    };
    for (const Step& s : steps) {
        switch (s.action) {
        case 0: MovePointer({5, 5}); break;
        case 1: MovePointer(Center(b)); break;
        case 2: PointerButton(true); break;
        case 3: PointerButton(false); break;
        }
        PumpWhileNot([&] { return b->StateIndex() == s.state && clicks[b] == s.clicks; });
        EXPECT_EQ(b->StateIndex(), s.state) << s.what;
        EXPECT_EQ(clicks[b], s.clicks) << s.what;
        ExpectScreen(b, ExpectedButton(b, "BUTTON", s.state, s.focused), s.what);
    }
}

TEST_F(ButtonTest, WindowRegionCutWhereTheBorderMaskIsTransparent) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "");
    ShowForm();
    const TsMaskData& mask = BorderMask("BUTTON");
    struct Size { int w, h; };
    for (const Size size : {Size{75, 25}, Size{40, 31}, Size{131, 18}}) {
        b->SetBounds(20, 20, size.w, size.h);
        b->Invalidate();
        b->Update();
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(b->Handle(), region), ERROR) << size.w;
        int cut = 0, wrong = 0;
        for (int y = 0; y < size.h; ++y) {
            for (int x = 0; x < size.w; ++x) {
                const bool key = UnderKeyPixel(Tables(), mask, 0, size.w, size.h, x, y);
                cut += key;
                if (PtInRegion(region, x, y) == key && wrong++ < 3) {
                    ADD_FAILURE() << size.w << "x" << size.h << " pixel " << x << "," << y << (key ? " kept" : " cut");
                }
            }
        }
        DeleteObject(region);
        EXPECT_GT(cut, 0) << "the button's corners are rounded by key pixels";
        EXPECT_EQ(wrong, 0);
        ExpectScreen(b, ExpectedButton(b, "BUTTON", 0), "face at " + std::to_string(size.w));
    }
    // Without a skin the native rectangle returns.
    manager->SetActive(false);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    PumpWhileNot([&] { return GetWindowRgn(b->Handle(), region) == ERROR; });
    EXPECT_EQ(GetWindowRgn(b->Handle(), region), ERROR);
    DeleteObject(region);
}

TEST_F(ButtonTest, ReleaseOutsideDoesNotClickButPlaysTheReleaseFade) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Run");
    b->SetAnimatEvents(aeMouseUp);
    int& prepared = WatchFades(b);
    ShowForm();
    MovePointer(Center(b));
    PointerButton(true);
    EXPECT_EQ(b->StateIndex(), 2);
    EXPECT_EQ(prepared, 0) << "pressing does not animate without aeMouseDown";
    MovePointer(b->ClientToScreen({b->Width() + 40, b->Height() + 40}));
    PointerButton(false);
    EXPECT_EQ(clicks[b], 0);
    EXPECT_EQ(prepared, 1) << "the release still fades";
    testing::WaitFadesEnded();
    EXPECT_EQ(b->FadeTimer(), nullptr);
    EXPECT_EQ(b->StateIndex(), 1) << "focused by the press";
}

TEST_F(ButtonTest, ReleaseWithoutAPressOnTheButtonIsIgnored) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Run");
    b->SetAnimatEvents(aeMouseUp);
    int& prepared = WatchFades(b);
    ShowForm();
    MovePointer(b->ClientToScreen({b->Width() + 60, b->Height() / 2}));
    PointerButton(true);   // on the form
    MovePointer(Center(b));
    PointerButton(false);  // on the button
    Pump(testing::NothingHappensMillis);
    EXPECT_EQ(clicks[b], 0);
    EXPECT_EQ(prepared, 0) << "an ignored release plays no release fade";
    EXPECT_EQ(b->StateIndex(), 1) << "hot under the pointer, not focused, not pressed";
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 1, false), "hot after the stray release");
}

TEST_F(ButtonTest, DownHoldsThePressedFaceWithTheCaptionShifted) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Hold");
    b->SetDown(true);
    ShowForm();
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 2, false), "down, not focused");
    MovePointer(Center(b));
    PointerButton(true);
    PointerButton(false);
    EXPECT_EQ(clicks[b], 1);
    EXPECT_EQ(b->StateIndex(), 2) << "a click leaves a Down button pressed";
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 2, true), "down and focused");
    b->SetDown(false);
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 1, true), "released from Down");
}

TEST_F(ButtonTest, SpaceKeyPressesAndItsReleaseClicksOnce) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Space");
    ShowForm();
    b->SetFocus();
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 1, true), "focused");
    Key(VK_SPACE, true);
    EXPECT_EQ(clicks[b], 0);
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 2, true), "space held");
    Key(VK_SPACE, false);
    EXPECT_EQ(clicks[b], 1) << "one click: the native button's own is not a second";
    ExpectScreen(b, ExpectedButton(b, "BUTTON", 1, true), "space released");
}

TEST_F(ButtonTest, DefaultLookFollowsTheFocus) {
    TsButton* ok = AddStillButton(20, 20, 75, 25, "OK");
    ok->SetDefault(true);
    TsButton* other = AddStillButton(20, 60, 75, 25, "Other");
    auto* edit = testing::AddControl<TEdit>(form, 20, 100, 100, 21);
    ShowForm();
    struct Step {
        TWinControl* focus;
        int state;
        bool focused;
    };
    const Step steps[] = {{other, 0, false}, {edit, 1, false}, {ok, 1, true}, {other, 0, false}};
    for (const Step& s : steps) {
        s.focus->SetFocus();
        PumpWhileNot([&] { return ok->DefaultLook() == (s.state == 1); });
        EXPECT_EQ(ok->DefaultLook(), s.state == 1) << s.focus->Caption();
        ExpectScreen(ok, ExpectedButton(ok, "BUTTON", s.state, s.focused), "focus on " + s.focus->Caption());
    }
}

TEST_F(ButtonTest, DisabledFaceIsBlendedHalfWithTheParentColour) {
    TsButton* b = AddStillButton(20, 20, 75, 25, "Off");
    b->SetEnabled(false);
    ShowForm();
    const TBitmap24 expected = HalfWithForm(ExpectedButton(b, "BUTTON", 0));
    ExpectScreen(b, expected, "disabled");
    MovePointer(Center(b));
    PointerButton(true);
    PointerButton(false);
    EXPECT_EQ(clicks[b], 0);
    ExpectScreen(b, expected, "disabled after a click");
}

TEST_F(ButtonTest, StoredSettingsReachTheButton) {
    RegisterButtonClass();
    auto* stored = new TForm(&Application());
    int entered = 0, left = 0;
    stored->RegisterMethod("okMouseEnter", [&entered](TObject*) { ++entered; });
    stored->RegisterMethod("okMouseLeave", [&left](TObject*) { ++left; });
    stored->ReadDefinition(
        "object Stored: TForm\n"
        "  object ok: TsButton\n"
        "    Caption = 'OK'\n"
        "    AnimatEvents = [aeMouseEnter, aeMouseUp]\n"
        "    DisabledKind = [dkBlended, dkGrayed]\n"
        "    Down = True\n"
        "    FocusMargin = 3\n"
        "    OnMouseEnter = okMouseEnter\n"
        "    OnMouseLeave = okMouseLeave\n"
        "    SkinData.SkinSection = 'STILLBUTTON'\n"
        "  end\n"
        "end\n");
    auto* ok = dynamic_cast<TsButton*>(stored->FindComponent("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->AnimatEvents(), static_cast<TacAnimatEvents>(aeMouseEnter | aeMouseUp));
    EXPECT_EQ(ok->DisabledKind(), static_cast<TsDisabledKind>(dkBlended | dkGrayed));
    EXPECT_TRUE(ok->Down());
    EXPECT_EQ(ok->StateIndex(), 2);
    EXPECT_EQ(ok->FocusMargin(), 3);
    EXPECT_EQ(ok->SkinData.SkinSection(), "STILLBUTTON");
    EXPECT_EQ(ok->SkinData.ControlCode, ccButton);
    EXPECT_TRUE(ok->SkinData.IsSkinned(true));
    ok->Perform(CM_MOUSEENTER);
    ok->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    // Defaults of a button made in code.
    TsButton plain(nullptr);
    EXPECT_EQ(plain.AnimatEvents(), static_cast<TacAnimatEvents>(aeGlobalDef));
    EXPECT_EQ(plain.DisabledKind(), static_cast<TsDisabledKind>(dkBlended));
    EXPECT_EQ(plain.FocusMargin(), 1);
    EXPECT_FALSE(plain.Down());
    EXPECT_EQ(plain.SkinData.SkinSection(), "BUTTON");
    EXPECT_FALSE(plain.ControlStyle() & csOpaque);
    delete stored;
}

TEST_F(ButtonTest, SkinnedButtonsStillAnswerGetText) {
    const std::vector<std::string> captions = {"Rootgen", "...", "View", "kvl.example", ""};
    std::vector<TsButton*> buttons;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        buttons.push_back(AddStillButton(20, 20 + 30 * static_cast<int>(i), 75, 25, captions[i]));
    }
    ShowForm();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(WindowText(buttons[i]->Handle()), Widen(captions[i]));
    }
    buttons[0]->SetCaption("Pullvane");
    EXPECT_EQ(WindowText(buttons[0]->Handle()), L"Pullvane");
    ExpectScreen(buttons[0], ExpectedButton(buttons[0], "BUTTON", 0), "new caption painted");
    // Text set through the window, past the framework, is the caption of the next rebuild.
    SetWindowTextW(buttons[1]->Handle(), L"Zedoary");
    buttons[1]->SkinData.BackgroundChanged = true;
    RedrawWindow(buttons[1]->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ExpectScreen(buttons[1], ExpectedButton(buttons[1], "BUTTON", 0), "caption set through the window painted");
}

TEST_F(ButtonTest, ActionChangesRepaintTheFaceAndARealClickExecutesTheAction) {
    auto* list = new TActionList(form);
    auto* run = new TAction(list);
    run->SetCaption("Run");
    int executed = 0;
    run->OnExecute = [&executed](TObject*) { ++executed; };
    TsButton* b = AddButton(20, 20, 75, 25);
    b->SetCaption("own");
    b->SetAnimatEvents(0);
    b->SetAction(run);
    ShowForm();
    struct Step {
        const char* what;
        void (*change)(TAction&);
        const char* caption;
        bool enabled;
    };
    const Step steps[] = {
        {"linked", [](TAction&) {}, "Run", true},
        {"caption", [](TAction& a) { a.SetCaption("Rootgen"); }, "Rootgen", true},
        {"disabled", [](TAction& a) { a.SetEnabled(false); }, "Rootgen", false},
        {"caption while disabled", [](TAction& a) { a.SetCaption("View"); }, "View", false},
        {"enabled", [](TAction& a) { a.SetEnabled(true); }, "View", true},
    };
    for (const Step& s : steps) {
        s.change(*run);
        EXPECT_EQ(WindowText(b->Handle()), Widen(s.caption)) << s.what;
        EXPECT_EQ(b->Enabled(), s.enabled) << s.what;
        TBitmap24 face = ExpectedButton(b, "BUTTON", 0);
        if (!s.enabled) face = HalfWithForm(std::move(face));
        ExpectScreen(b, face, s.what);   // waits (bounded) for the repaint the change asked for
    }
    struct Click {
        const char* what;
        bool enabled;
        int executed;
    };
    const Click clicks[] = {{"enabled", true, 1}, {"disabled", false, 1}, {"enabled again", true, 2}};
    for (const Click& c : clicks) {
        run->SetEnabled(c.enabled);
        MovePointer(Center(b));
        const int before = executed;
        PointerButton(true);
        PointerButton(false);
        // The click is handled with the release; a disabled action gets the time a
        // late execution would need to show.
        PumpWhileNot([&] { return executed != before; }, testing::NothingHappensMillis);
        EXPECT_EQ(executed, c.executed) << c.what;
        MovePointer({5, 5});
    }
}

}  // namespace
}  // namespace korvel
