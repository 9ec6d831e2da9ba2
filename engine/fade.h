#pragma once
// The cross-fade between a control's old and new look: a 10 ms timer that keeps
// a copy of the old cache image, lets the control render its new state into its
// cache, and blends the two straight onto the control's window, one frame a tick.
// Windows half only.
#include <cstdint>

#include "gui/bitmap24.h"
#include "gui/timer.h"

namespace korvel {

class TsCommonData;

// The events a control may animate (a set of these bits is its AnimatEvents).
enum TacAnimatEvent : unsigned {
    aeMouseEnter = 1u << 0,
    aeMouseLeave = 1u << 1,
    aeMouseDown = 1u << 2,
    aeMouseUp = 1u << 3,
    aeGlobalDef = 1u << 4,   // follow the process-wide default set
};
using TacAnimatEvents = unsigned;

// The process-wide set aeGlobalDef stands for.
extern TacAnimatEvents DefaultAnimatEvents;

// Whether a control whose AnimatEvents is events animates event.
bool AnimatEventAllowed(TacAnimatEvents events, TacAnimatEvent event);

constexpr unsigned FadeInterval = 10;   // milliseconds between frames

class TsFadeTimer : public TTimer {
public:
    explicit TsFadeTimer(TComponent* owner);
    ~TsFadeTimer() override;
    std::string ClassName() const override { return "TsFadeTimer"; }
    // Fade timers alive in the process: 0 once every fade has ended.
    static int Live();

    std::uint8_t Direction() const { return direction_; }
    // Any value other than 0 runs the timer.
    void SetDirection(std::uint8_t value);

    TsCommonData* OwnerData = nullptr;
    int Iterations = 0;
    int Level = 1;
    TBitmap24 FromImage;   // the old look

    // One tick: ends the fade when its frames are done, else draws the next frame.
    void Tick();
    // True when the fade ended: the control was told to stop it, which frees this timer,
    // and to repaint, so that its window shows the new look exactly.
    bool CheckEnd();
    // Blends the old look with the control's cache at the current level onto its window.
    void DrawFrame();

private:
    std::uint8_t direction_ = 0;
};

// What a control runs on mouse enter, leave, press and release: a fade when it is
// allowed and the section fades, else an immediate repaint.
void RequestFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, std::uint8_t direction, bool allowed);
// Starts a fade, or restarts a running one from the current cache image.
void StartFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, std::uint8_t direction);
// Stops and frees a running fade; timer becomes nullptr.
void StopFade(TsFadeTimer*& timer, TsCommonData& data);

}  // namespace korvel
