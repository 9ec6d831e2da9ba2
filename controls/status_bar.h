#pragma once
// TsStatusBar: the skinned status bar. The native bar keeps its messages, its
// accessibility and its size grip's hit test (which sizes the form); what the
// user sees is painted from the skin into the cache of its skin state: the
// section's face across the bar, a divider at the right edge of every panel
// but the last, each panel's text in the section's font colour, and the skin's
// grip image (GLOBALINFO's GRIPIMAGE, as the form's own grip is drawn) in the
// bottom right corner. A skin without the section leaves the native bar.
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "gui/bar_controls.h"

namespace korvel {

constexpr std::uint32_t ccStatusBar = 151;

// A panel's text keeps this far from the panel's edges (and from the grip).
constexpr int StatusTextMargin = 4;

class TsStatusBar : public TStatusBar {
public:
    explicit TsStatusBar(TComponent* owner);
    ~TsStatusBar() override;
    std::string ClassName() const override { return "TsStatusBar"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

    // The skin's grip image size, or 0 x 0 without a grip to draw.
    SIZE GripSize() const;
    // The text rectangle of panel index (of the simple panel when index is -1).
    RECT TextRect(int index) const;
    // The colour the dividers are mixed with: the section's text colour.
    TColor DividerColor() const;

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void PanelsChanged() override;

private:
    bool OnSkinAnnouncement(TMessage& m);
    bool SkinnedMessage(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void RebuildCache();
    void PaintDividers(TBitmap24& cache) const;
    void PaintTexts(TBitmap24& cache);
    void PaintGrip(TBitmap24& cache) const;
    int GripMaskIndex() const;

    std::unique_ptr<TsCommonData> skinData_;
};

// Registers TsStatusBar and its stored properties (once).
void RegisterStatusBarClass();

}  // namespace korvel
