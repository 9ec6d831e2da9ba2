#pragma once
// TsScrollBar: the skinned scroll bar. Without an active skin it is the
// platform's SCROLLBAR control; under a skin it is a plain window of our own
// that draws its arrow buttons, track halves and thumb from the skin and
// drives them itself (auto-repeat, thumb dragging, keys).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/common_data.h"
#include "gui/win_control.h"
#include "paint/blend.h"
#include "paint/scroll_metrics.h"

namespace korvel {

enum TScrollBarKind { sbHorizontal, sbVertical };

// Posted to a bar whose paint came while the skin was being changed.
constexpr UINT WM_REPAINTAFTERSKINCHANGE = WM_APP + 0x3A2;
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& position)>;

class TsScrollBar : public TWinControl {
public:
    explicit TsScrollBar(TComponent* owner);
    ~TsScrollBar() override;
    std::string ClassName() const override { return "TsScrollBar"; }

    TsCommonData SkinData;

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    void SetPosition(int value);
    // Position, Min and Max at once (the range setter).
    void SetParams(int position, int min, int max);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value);
    std::uint16_t SmallChange() const { return smallChange_; }
    void SetSmallChange(std::uint16_t value) { smallChange_ = value; }
    std::uint16_t LargeChange() const { return largeChange_; }
    void SetLargeChange(std::uint16_t value) { largeChange_ = value; }
    // Announce every position while the thumb is dragged; when off, one change at the release.
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value) { smooth_ = value; }
    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

    // The control whose cache the bar draws its background from (set by the form skinning).
    TControl* LinkedControl() const { return linkedControl_; }
    void SetLinkedControl(TControl* value) { linkedControl_ = value; }
    // Told of every announced change with the previous position (set by the form skinning).
    std::function<void(int previous)> OwnerNotification;
    // Set by an owner that sets range, page and position together: no painting until the next repaint.
    bool Suspended() const { return suspended_; }
    void SetSuspended(bool value) { suspended_ = value; }

    // Skinned: the skin state has a manager (the default one if none) and it is active.
    bool Skinned();
    bool CanFocus() const override;

    // Geometry along the bar, and the parts' rectangles in client coordinates.
    TScrollGeometry Geometry() const;
    RECT FirstButtonRect() const;
    RECT SecondButtonRect() const;
    RECT ThumbRect() const;
    int PartState(TScrollPart part) const { return parts_.State(part); }
    TScrollCode LastScrollCode() const { return lastCode_; }
    // The running auto-repeat or drag timer, and its interval in milliseconds (0: none).
    enum TScrollTimer { stNone, stLine, stPage, stDrag };
    TScrollTimer RunningTimer() const { return timer_; }
    unsigned TimerInterval() const { return timerInterval_; }
    // The window is a plain window of our own (skinned), not the native scroll bar.
    bool PlainWindow() const { return plainWindow_; }
    // The id of the bar's WM_TIMER messages.
    static constexpr UINT_PTR TimerId = 1;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

private:
    bool HandleSkinMessage(TMessage& m);
    bool HandleSkinned(TMessage& m);
    void RangeSetter(int position, int min, int max);
    void Change(int previous);
    void SendScroll(TScrollCode code);
    void SetPartState(TScrollPart part, int state);
    void RepaintIfNeeded();
    void RecreateAs(bool plain);
    int Along(POINT p) const;
    RECT Span(int from, int to) const;
    int Direction() const;
    void GiveNativeRange();

    void Paint(HDC dc);
    void OnPaintMessage(TMessage& m);
    void OnMouseDown(POINT p);
    void OnMouseUp(POINT p);
    void OnHitTest(const TMessage& m);
    void CancelPress();
    void OnKeyDown(TMessage& m);
    void OnNativeScroll(TMessage& m);
    bool AnswerScrollQuery(TMessage& m);

    void StartTimer(TScrollTimer kind, unsigned interval);
    void FreeTimer();
    void OnTimerTick();
    void DragTo(POINT client);
    POINT CursorInClient() const;

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int pageSize_ = 0;
    std::uint16_t smallChange_ = 1;
    std::uint16_t largeChange_ = 1;
    bool smooth_ = true;
    TsDisabledKind disabledKind_ = dkBlended;

    TScrollPartStates parts_;
    bool repaintNeeded_ = false;
    HWND repaintAfterChangeWindow_ = nullptr;   // the window WM_REPAINTAFTERSKINCHANGE went to
    bool suspended_ = false;
    TScrollCode lastCode_ = scEndScroll;
    int dragOffset_ = 0;
    int dragStart_ = 0;
    bool notificationsHeld_ = false;
    TScrollTimer timer_ = stNone;
    unsigned timerInterval_ = 0;
    bool savedShowHint_ = true;
    bool hintSaved_ = false;
    TControl* linkedControl_ = nullptr;
    bool recreatePending_ = false;
    bool plainWindow_ = false;
};

// Registers TsScrollBar and its stored properties with the class registry (once).
void RegisterScrollBarClass();

}  // namespace korvel
