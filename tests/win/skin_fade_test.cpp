// The cross-fade of a button's look as the real pointer enters: its frames seen
// through the skin message, the new look on the window when it ends (also after a
// fade of no frames, and after one the pointer cut short by leaving), a button that
// animates nothing, and the restart arithmetic of a fade interrupted half-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::Differences;
using testing::MovePointer;
using testing::PumpUntil;

class FadeTest : public testing::SkinnedControlTest {
protected:
    // Records the skin commands a control gets and a copy of every frame it is offered.
    void Watch(TControl* c) {
        c->HookWindowProc(this, [this](TMessage& m, const TWndNext& next) {
            if (m.Msg == SM_ALPHACMD) {
                commands.push_back(SkinCommandOf(m.WParam));
                if (SkinCommandOf(m.WParam) == SMC_FADEFRAME) {
                    frames.push_back(reinterpret_cast<TBitmap24*>(m.LParam)->Clone());
                }
            }
            next(m);
        });
    }
    int Count(std::uint32_t command) const {
        int n = 0;
        for (auto c : commands) n += c == command;
        return n;
    }
    std::vector<std::uint32_t> commands;
    std::vector<TBitmap24> frames;
};

TEST_F(FadeTest, EnteringFadesFromNormalToHotInTheSectionsIterations) {
    TsButton* b = AddButton(20, 20, 75, 25);
    b->SetCaption("Fade");
    ShowForm();
    Watch(b);
    MovePointer(Center(b));
    PumpUntil([&] { return Count(SMC_STOPFADE) > 0; }, "the fade to end");
    EXPECT_EQ(b->FadeTimer(), nullptr) << "the fade ended and freed its timer";
    const int iterations = Section("BUTTON").FadingIterations;
    ASSERT_EQ(iterations, 5);
    ASSERT_EQ(static_cast<int>(frames.size()), iterations);
    EXPECT_EQ(Count(SMC_FADEPREPARE), 1);
    EXPECT_EQ(Count(SMC_STOPFADE), 1);
    const TBitmap24 from = ExpectedButton(b, "BUTTON", 0);
    const TBitmap24 to = ExpectedButton(b, "BUTTON", 1);
    for (int level = 1; level <= iterations; ++level) {
        // The old look keeps weight 255 - level x 256 / iterations (at least 0).
        const int a = std::max(0, 255 - level * 256 / iterations);
        constexpr int weights[] = {204, 153, 102, 51, 0};
        EXPECT_EQ(a, weights[level - 1]);
        TBitmap24 expected(from.Width(), from.Height());
        for (int y = 0; y < from.Height(); ++y) {
            const std::uint8_t* o = from.ScanLine(y);
            const std::uint8_t* n = to.ScanLine(y);
            std::uint8_t* e = expected.ScanLine(y);
            for (int i = 0; i < from.Width() * 3; ++i) e[i] = static_cast<std::uint8_t>((o[i] * a + n[i] * (255 - a) + 127) >> 8);
        }
        std::string where;
        EXPECT_EQ(Differences(frames[static_cast<std::size_t>(level - 1)], expected, where), 0) << "frame " << level << where;
    }
    // The last frame is the hot look up to the blend's rounding; the fade's end
    // puts the hot look itself on the window.
    ExpectScreen(b, to, "hot after the fade");
}

TEST_F(FadeTest, LeavingMidFadeEndsOnTheRestingLook) {
    // SLOWFADE fades in 30 frames, so the pointer can leave with frames still to
    // come; the leave reverses the fade, which must end on the normal look itself.
    TsButton* b = AddButton(20, 20, 75, 25, "SLOWFADE");
    b->SetCaption("Fade");
    ShowForm();
    const TBitmap24 normal = ExpectedButton(b, "SLOWFADE", 0);
    ExpectScreen(b, normal, "normal before the pointer comes");
    SetCursorPos(Center(b).x, Center(b).y);
    PumpUntil([&] { return b->FadeTimer() && b->FadeTimer()->Level >= 5; }, "the entering fade to draw frames");
    ASSERT_NE(b->FadeTimer(), nullptr);
    ASSERT_LT(b->FadeTimer()->Level, b->FadeTimer()->Iterations) << "the pointer must leave mid-fade";
    SetCursorPos(5, 5);
    PumpUntil([&] { return !b->SkinData.MouseAbove; }, "the pointer to leave the button");
    testing::WaitFadesEnded();
    ExpectScreen(b, normal, "normal after leaving mid-fade");
}

TEST_F(FadeTest, NoIterationsEndsAtTheFirstTickWithoutAFrame) {
    TsButton* b = AddButton(20, 20, 75, 25, "ZEROFADE");
    ShowForm();
    Watch(b);
    MovePointer(Center(b));
    PumpUntil([&] { return Count(SMC_STOPFADE) > 0; }, "the fade to end");
    EXPECT_EQ(Count(SMC_FADEPREPARE), 1);
    EXPECT_EQ(Count(SMC_STOPFADE), 1);
    EXPECT_TRUE(frames.empty());
    EXPECT_EQ(b->FadeTimer(), nullptr);
    ExpectScreen(b, ExpectedButton(b, "ZEROFADE", 1), "hot after a fade of no frames");
}

TEST_F(FadeTest, NoAnimatedEventsOrNoFadingRepaintsAtOnce) {
    struct Case {
        const char* section;
        TacAnimatEvents events;
    };
    for (const Case c : {Case{"BUTTON", 0u}, Case{"BUTTON", aeMouseLeave}, Case{"STILLBUTTON", aeGlobalDef}}) {
        TsButton* b = AddButton(20, 20, 75, 25, c.section);
        b->SetAnimatEvents(c.events);
        ShowForm();
        commands.clear();
        frames.clear();
        Watch(b);
        MovePointer(Center(b));
        EXPECT_EQ(b->FadeTimer(), nullptr) << c.section << c.events;
        EXPECT_EQ(Count(SMC_FADEPREPARE), 0) << c.section << c.events;
        ExpectScreen(b, ExpectedButton(b, c.section, 1), std::string("hot at once: ") + c.section);
        MovePointer({5, 5});
        testing::WaitFadesEnded();
        delete b;
    }
}

TEST_F(FadeTest, StartingAgainReversesOverThePartAlreadyDone) {
    TsButton* b = AddButton(20, 20, 75, 25);
    ShowForm();
    b->SkinData.BackgroundChanged = false;
    TsFadeTimer* timer = nullptr;
    struct Step {
        int level;              // the fade's level when it is started again
        std::uint8_t running;   // its direction then (0: stopped)
        bool halve;
        int iterations, nextLevel;
    };
    // FadingIterations 5. Restarted while running in direction 1 a fade runs as
    // many frames as it had done, in direction 2 the rest; halving truncates; a
    // level outside 1 .. iterations - 1 starts again at 1.
    const Step steps[] = {
        {1, 0, false, 5, 1}, {3, 1, false, 3, 1}, {4, 1, true, 2, 1}, {2, 2, false, 3, 2},
        {4, 2, false, 1, 1}, {2, 0, false, 5, 2}, {0, 1, false, 0, 1}, {3, 2, true, 1, 1},
    };
    for (const Step& s : steps) {
        if (timer) {
            timer->Level = s.level;
            timer->SetDirection(s.running);
        }
        StartFade(timer, b->SkinData, s.halve, 1);
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->Iterations, s.iterations) << s.level << "/" << int(s.running);
        EXPECT_EQ(timer->Level, s.nextLevel) << s.level << "/" << int(s.running);
        EXPECT_EQ(timer->Direction(), 1);
        EXPECT_EQ(timer->Interval(), FadeInterval);
        EXPECT_TRUE(timer->Enabled());
    }
    StopFade(timer, b->SkinData);
    EXPECT_EQ(timer, nullptr);
}

TEST_F(FadeTest, AnimatedEventsFollowTheDefaultSetOnlyWithGlobalDef) {
    struct Case {
        TacAnimatEvents events;
        TacAnimatEvent event;
        bool allowed;
    };
    const Case cases[] = {
        {aeGlobalDef, aeMouseEnter, true}, {aeGlobalDef, aeMouseUp, true}, {0, aeMouseEnter, false},
        {aeMouseDown, aeMouseDown, true},  {aeMouseDown, aeMouseLeave, false},
    };
    for (const Case& c : cases) EXPECT_EQ(AnimatEventAllowed(c.events, c.event), c.allowed) << c.events << " " << c.event;
    const TacAnimatEvents saved = DefaultAnimatEvents;
    DefaultAnimatEvents = aeMouseLeave;
    EXPECT_FALSE(AnimatEventAllowed(aeGlobalDef, aeMouseEnter));
    EXPECT_TRUE(AnimatEventAllowed(aeGlobalDef, aeMouseLeave));
    DefaultAnimatEvents = saved;
}

}  // namespace
}  // namespace korvel
