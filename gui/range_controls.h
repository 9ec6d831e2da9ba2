#pragma once
// The native controls that show or pick a value in a range: the progress bar
// (msctls_progress32) and the track bar (msctls_trackbar32). The position is
// kept here as well as in the window, so that it survives a recreated window
// and can be read and set before there is one.
#include <string>

#include "gui/win_control.h"

namespace korvel {

enum class TProgressBarOrientation { pbHorizontal, pbVertical };
enum class TTrackBarOrientation { trHorizontal, trVertical };

// Position clamped into [Min, Max]; Min when the range is empty (Max < Min).
int ClampToRange(int position, int min, int max);

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    std::string ClassName() const override { return "TProgressBar"; }

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // Always inside [Min, Max], as the native control keeps it; a definition may
    // give it before the range (it is clamped once the definition is read).
    int Position() const { return position_; }
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value);
    // Position moves by Step; past one end it goes round to the other, as the
    // native control does: (Position + Step - Min) mod (Max - Min) from Min
    // past Max, from Max past Min.
    void StepIt();
    TProgressBarOrientation Orientation() const { return orientation_; }
    // A new orientation recreates the window (the native style is fixed at creation).
    void SetOrientation(TProgressBarOrientation value);

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void Loaded() override;
    virtual void OrientationChanged() {}

private:
    void RangeChanged();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
    TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
};

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);
    std::string ClassName() const override { return "TTrackBar"; }

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const { return position_; }
    // Clamped into [Min, Max]; a real change raises OnChange (not while the definition is read).
    void SetPosition(int value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation value);
    // A tick every Frequency positions; 0 shows only the two ends.
    int Frequency() const { return frequency_; }
    void SetFrequency(int value);

    // Raised after every real change of Position: by the user (mouse, keys) or by the program.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;
    virtual void Changed();
    virtual void OrientationChanged() {}

private:
    void RangeChanged();
    // The native control moved its thumb: take its position.
    void TakeNativePosition();

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    int frequency_ = 1;
    TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
};

// Registers TProgressBar and TTrackBar and their stored properties (once).
void RegisterRangeControlClasses();

}  // namespace korvel
