#include "gui/range_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <mutex>

#include "gui/class_registry.h"

namespace korvel {
namespace {

// The common controls' window classes exist once this has run.
void InitRangeControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&init);
    });
}

}  // namespace

int ClampToRange(int position, int min, int max) {
    if (max < min) return min;
    return std::clamp(position, min, max);
}

// ---- TProgressBar ------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(0, 0, 150, 17);
}

void TProgressBar::CreateParams(TCreateParams& params) {
    InitRangeControlClasses();
    TWinControl::CreateParams(params);
    params.WinClassName = PROGRESS_CLASSW;
    params.SystemClass = true;
    if (orientation_ == TProgressBarOrientation::pbVertical) params.Style |= PBS_VERTICAL;
}

void TProgressBar::HandleCreated() {
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::Loaded() {
    TWinControl::Loaded();
    RangeChanged();
}

void TProgressBar::RangeChanged() {
    if (!IsLoading()) position_ = ClampToRange(position_, min_, max_);
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
    if (value == min_) return;
    min_ = value;
    RangeChanged();
}

void TProgressBar::SetMax(int value) {
    if (value == max_) return;
    max_ = value;
    RangeChanged();
}

void TProgressBar::SetPosition(int value) {
    const int position = IsLoading() ? value : ClampToRange(value, min_, max_);
    if (position == position_) return;
    position_ = position;
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetStep(int value) {
    step_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

void TProgressBar::StepIt() {
    long long next = static_cast<long long>(position_) + step_;
    const long long range = static_cast<long long>(max_) - min_;
    // Past an end it goes round: what lies past the range counts on from the other end.
    if (range > 0 && next > max_) next = (next - min_) % range + min_;
    if (range > 0 && next < min_) next = (next - min_) % range + max_;
    SetPosition(static_cast<int>(next));
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    if (value == orientation_) return;
    orientation_ = value;
    if (HandleAllocated()) RecreateWnd();
    OrientationChanged();
}

// ---- TTrackBar ---------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    InitRangeControlClasses();
    TWinControl::CreateParams(params);
    params.WinClassName = TRACKBAR_CLASSW;
    params.SystemClass = true;
    params.Style |= TBS_AUTOTICKS | (orientation_ == TTrackBarOrientation::trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::HandleCreated() {
    SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::Loaded() {
    TWinControl::Loaded();
    RangeChanged();
}

void TTrackBar::RangeChanged() {
    if (HandleAllocated()) {
        SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
        SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
        SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    }
    if (!IsLoading()) SetPosition(position_);
}

void TTrackBar::SetMin(int value) {
    if (value == min_) return;
    min_ = value;
    RangeChanged();
}

void TTrackBar::SetMax(int value) {
    if (value == max_) return;
    max_ = value;
    RangeChanged();
}

void TTrackBar::SetPosition(int value) {
    const int position = IsLoading() ? value : ClampToRange(value, min_, max_);
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETPOS, TRUE, position);
    if (position == position_) return;
    position_ = position;
    if (!IsLoading()) Changed();
}

void TTrackBar::SetFrequency(int value) {
    if (value == frequency_) return;
    frequency_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (value == orientation_) return;
    orientation_ = value;
    if (HandleAllocated()) RecreateWnd();
    OrientationChanged();
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

void TTrackBar::TakeNativePosition() {
    const int position = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
    if (position == position_) return;
    position_ = position;
    Changed();
}

void TTrackBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: TakeNativePosition(); return;   // the thumb moved by mouse or keys
    }
    TWinControl::WndProc(m);
}

// ---- registration --------------------------------------------------------------------

void RegisterRangeControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TProgressBar>("TProgressBar", "TWinControl");
        r.RegisterClass<TTrackBar>("TTrackBar", "TWinControl");
        using P = TProgressBar;
        using T = TTrackBar;
        r.RegisterProperty<P>("TProgressBar", "Min", [](P& p, const TValue& v, TReadContext&) { p.SetMin(v.AsInteger()); });
        r.RegisterProperty<P>("TProgressBar", "Max", [](P& p, const TValue& v, TReadContext&) { p.SetMax(v.AsInteger()); });
        r.RegisterProperty<P>("TProgressBar", "Position",
                              [](P& p, const TValue& v, TReadContext&) { p.SetPosition(v.AsInteger()); });
        r.RegisterProperty<P>("TProgressBar", "Step", [](P& p, const TValue& v, TReadContext&) { p.SetStep(v.AsInteger()); });
        r.RegisterProperty<P>("TProgressBar", "Orientation", [](P& p, const TValue& v, TReadContext&) {
            p.SetOrientation(static_cast<TProgressBarOrientation>(v.AsEnum({{"pbHorizontal", 0}, {"pbVertical", 1}})));
        });
        r.RegisterProperty<T>("TTrackBar", "Min", [](T& t, const TValue& v, TReadContext&) { t.SetMin(v.AsInteger()); });
        r.RegisterProperty<T>("TTrackBar", "Max", [](T& t, const TValue& v, TReadContext&) { t.SetMax(v.AsInteger()); });
        r.RegisterProperty<T>("TTrackBar", "Position",
                              [](T& t, const TValue& v, TReadContext&) { t.SetPosition(v.AsInteger()); });
        r.RegisterProperty<T>("TTrackBar", "Frequency",
                              [](T& t, const TValue& v, TReadContext&) { t.SetFrequency(v.AsInteger()); });
        r.RegisterProperty<T>("TTrackBar", "Orientation", [](T& t, const TValue& v, TReadContext&) {
            t.SetOrientation(static_cast<TTrackBarOrientation>(v.AsEnum({{"trHorizontal", 0}, {"trVertical", 1}})));
        });
        r.RegisterProperty<T>("TTrackBar", "OnChange",
                              [](T& t, const TValue& v, TReadContext& c) { t.OnChange = c.Handler(v); });
    });
}

}  // namespace korvel
