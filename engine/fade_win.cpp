// The fade timer: cross-fades a control's old and new look on its window.
#include "engine/fade.h"

#include <exception>

#include "gui/application.h"
#include "gui/win_control.h"
#include "paint/blend.h"
#include "engine/common_data.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"

namespace korvel {

TacAnimatEvents DefaultAnimatEvents = aeMouseEnter | aeMouseLeave | aeMouseDown | aeMouseUp;

bool AnimatEventAllowed(TacAnimatEvents events, TacAnimatEvent event) {
    return (events & event) || ((events & aeGlobalDef) && (DefaultAnimatEvents & event));
}

namespace {

bool Gone(const TComponent* c) { return !c || c->InState(csDestroying); }

bool FadingEnabled(const TsCommonData& data) {
    const TsGeneralData* s = data.Section();
    return s && s->FadingEnabled;
}

int liveFadeTimers = 0;   // touched on the GUI thread only

}  // namespace

TsFadeTimer::TsFadeTimer(TComponent* owner) : TTimer(owner) {
    ++liveFadeTimers;
    SetDirection(0);
    SetOnTimer([this](TObject*) { Tick(); });
}

TsFadeTimer::~TsFadeTimer() {
    Destroying();
    --liveFadeTimers;
}

int TsFadeTimer::Live() { return liveFadeTimers; }

void TsFadeTimer::SetDirection(std::uint8_t value) {
    direction_ = value;
    if (Level < 0) Level = 1;
    SetEnabled(value != 0);
}

void TsFadeTimer::Tick() {
    if (InState(csDestroying)) return;
    try {
        if (CheckEnd()) return;   // this timer may be gone now
        if (direction_ == 1 || direction_ == 2) DrawFrame();
    } catch (const std::exception&) {
        // A frame that cannot be drawn is skipped; the next tick tries again.
    }
}

bool TsFadeTimer::CheckEnd() {
    TControl* control = OwnerData ? OwnerData->OwnerControl() : nullptr;
    if (Gone(control) || Application().Terminated()) {
        direction_ = 0;   // stays enabled, draws nothing more
        return false;
    }
    if (Level <= Iterations && Level >= 0) return false;
    try {
        control->Perform(SM_ALPHACMD, PackSkinCommand(SMC_STOPFADE), 0);   // frees this timer
    } catch (const std::exception&) {
        return false;
    }
    // The window shows the last frame, which the blend's 8-bit shift leaves up to one
    // step below the new look in every channel, or (a fade of no frames) the old look
    // still: the control's own paint puts its cache, the new look itself, there.
    control->Invalidate();
    return true;
}

void TsFadeTimer::DrawFrame() {
    auto* control = OwnerData ? dynamic_cast<TWinControl*>(OwnerData->OwnerControl()) : nullptr;
    TBitmap24* cache = OwnerData ? OwnerData->CacheBmp() : nullptr;
    if (Gone(control) || Iterations == 0 || !cache) return;
    TBitmap24 frame = FromImage.Clone();
    const int a = 255 - Level * 256 / Iterations;
    BlendBitmap(frame, *cache, static_cast<std::uint8_t>(a < 0 ? 0 : (a > 255 ? 255 : a)));
    ++Level;
    if (!control->HandleAllocated()) return;
    HDC dc = GetWindowDC(control->Handle());
    if (!dc) return;
    const int saved = SaveDC(dc);
    struct TRelease {
        HWND window;
        HDC dc;
        int saved;
        ~TRelease() {
            RestoreDC(dc, saved);
            ReleaseDC(window, dc);
        }
    } release{control->Handle(), dc, saved};
    if (control->Perform(SM_ALPHACMD, PackSkinCommand(SMC_FADEFRAME), reinterpret_cast<LPARAM>(&frame)) != 0) return;
    if (!frame.Handle()) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, static_cast<HBITMAP>(frame.Handle()));
    BitBlt(dc, 0, 0, frame.Width(), frame.Height(), memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void RequestFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, std::uint8_t direction, bool allowed) {
    if (allowed && !SkinChanging && FadingEnabled(data) && data.CacheBmp() && !data.BackgroundChanged) {
        data.BackgroundChanged = true;
        StartFade(timer, data, halve, direction);
        return;
    }
    data.BackgroundChanged = true;
    if (timer) StopFade(timer, data);
    if (TControl* control = data.OwnerControl(); !Gone(control)) control->Repaint();
}

void StartFade(TsFadeTimer*& timer, TsCommonData& data, bool halve, std::uint8_t direction) {
    const TsGeneralData* section = data.Section();
    TControl* control = data.OwnerControl();
    if (!section || !section->FadingEnabled || Gone(control) || !data.CacheBmp()) return;
    if (!timer) {
        timer = new TsFadeTimer(control);
        timer->Level = 1;
    }
    timer->OwnerData = &data;
    timer->FromImage = data.CacheBmp()->Clone();
    timer->SetInterval(FadeInterval);
    timer->Iterations = section->FadingIterations;
    // A fade interrupted half-way reverses over the part already done.
    if (timer->Direction() == 1) timer->Iterations = timer->Level;
    else if (timer->Direction() == 2) timer->Iterations = section->FadingIterations - timer->Level;
    if (halve) timer->Iterations /= 2;
    if (timer->Level >= timer->Iterations || timer->Level <= 0) timer->Level = 1;
    control->Perform(SM_ALPHACMD, PackSkinCommand(SMC_FADEPREPARE), 0);
    timer->SetDirection(direction);
}

void StopFade(TsFadeTimer*& timer, TsCommonData&) {
    if (!timer || timer->InState(csDestroying)) return;
    TsFadeTimer* stopping = timer;
    timer = nullptr;
    stopping->SetDirection(0);
    delete stopping;
}

}  // namespace korvel
