#pragma once
// The engine's skinned scroll bars standing in for a native control's own
// (a multi-line edit's, a list box's). The native control keeps its scroll
// bars, its scrolling and its messages; a TsScrollBar lies over each native bar
// on the screen, beside the control in its parent and above it. After every
// message the control handles, the skinned bars take the native bars' range,
// page and position; a user's move of a skinned bar is sent to the control as
// the native bar's own thumb position, and the control's answer is read back.
#include <windows.h>

#include "engine/common_data.h"
#include "paint/blend.h"
#include "gui/win_control.h"

namespace korvel {

class TsScrollBar;

class TsControlScrollBars {
public:
    // Host: the native control; Data: its skin state (manager and section).
    TsControlScrollBars(TWinControl& host, TsCommonData& data) : host_(host), data_(data) {}
    ~TsControlScrollBars();
    TsControlScrollBars(const TsControlScrollBars&) = delete;
    TsControlScrollBars& operator=(const TsControlScrollBars&) = delete;

    // Brings the skinned bars in line with the native ones: shown, placed and
    // set while the host is skinned and shows a native bar, hidden otherwise.
    void Follow();
    // Hides both bars (the host's window goes away, or it is no longer skinned).
    void HideAll();
    // The host's face was composed again: the shown bars repaint over it (their
    // see-through pixels show the face, and a bar painted before the face existed
    // showed the section's colour there).
    void FaceChanged();
    // The host's face, which the bars' see-through pixels show: composed from
    // its section over the parent's pixels (in the disabled look when the host
    // is disabled), then the bars repaint over it.
    void ComposeFace(TsDisabledKind disabledKind);
    // Composes the face when it is missing, stale or of another size.
    void EnsureFace(TsDisabledKind disabledKind);
    // Paints the host's frame (all but the client area and the bars) from its face.
    void PaintFrame(TsDisabledKind disabledKind, HDC given);
    // The skinned bar for a direction while it stands on the screen, else nullptr.
    TsScrollBar* ShownBar(bool vertical) const;
    // The native bar's rectangle in the host's window coordinates (empty when the host has none).
    RECT NativeBarRect(bool vertical) const;
    // The square between two native bars, in window coordinates (empty unless both are there).
    RECT CornerRect() const;

private:
    bool Wanted() const;
    void FollowOne(bool vertical, bool wanted);
    TsScrollBar* MakeBar(bool vertical);
    // A skinned bar moved by the user: the native control scrolls to the same position.
    void Steer(bool vertical);

    TWinControl& host_;
    TsCommonData& data_;
    TsScrollBar* bars_[2] = {nullptr, nullptr};   // horizontal, vertical
    bool following_ = false;
    bool steering_ = false;
};

}  // namespace korvel

namespace korvel {

// Paints a skinned control's frame from its cache: every pixel of the window
// outside the client area and outside the skinned bars standing over the
// native ones (the corner between two bars included). Given: a DC to paint
// into (WM_PRINT), or nullptr for the window's own.
void PaintFrameFromCache(TWinControl& host, const TBitmap24& cache, const TsControlScrollBars& bars, HDC given);

}  // namespace korvel
