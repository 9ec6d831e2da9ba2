#pragma once
// TsPanel: the skinned container (the launcher's pages). It paints its face
// from its skin section into its cache, writes its caption there, copies the
// cache to the screen around its opaque children, paints its windowless
// children (labels) over it and then tells its windowed children that their
// background is ready. TsGrip, the corner square between two skinned scroll
// bars, is a small panel of section "CHECKBOX".
#include <functional>
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "gui/graphics.h"
#include "gui/std_controls.h"

namespace korvel {

// A user drawing hook: the canvas the control is painting on.
using TPaintEvent = std::function<void(TObject* sender, TCanvas& canvas)>;

class TsPanel : public TPanel {
public:
    explicit TsPanel(TComponent* owner);
    ~TsPanel() override;
    std::string ClassName() const override { return "TsPanel"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

    // Skinned: called with the cache's canvas after the cache was rebuilt (so
    // its drawing lies beneath the children). Unskinned: called with the
    // window's canvas after the framework painted.
    TPaintEvent OnPaint;

    // The skinned paint on dc (the window's own DC when dc is null). Does
    // nothing unless the panel is skinned with an active skin.
    void PaintSkinned(HDC dc);

protected:
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    void Loaded() override;
    // The caption, one line, into the cache over rect.
    virtual void PaintCaption(HDC cacheDC, RECT rect);
    // The face (section background and frame) into the cache, before the caption.
    virtual void PaintFace(TBitmap24& cache, const TParentBackground& background);
    // Whether the frame's corners lie at the window's corners, to be refreshed
    // with what lies behind before each copy to the screen.
    virtual bool FrameAtWindowCorners() const { return true; }

private:
    // Handles the skin commands every panel answers whatever its state; true when done.
    bool OnSkinAnnouncement(TMessage& m);
    void SkinnedWndProc(TMessage& m);
    void PlainWndProc(TMessage& m);
    void OnSkinCommand(TMessage& m);
    void OnPaintMessage(TMessage& m);
    // The face, the caption and (withPaintEvent) the user's drawing into the cache.
    void RebuildCache(bool withPaintEvent);
    bool LiesPartlyOutsideParent() const;

    std::unique_ptr<TsCommonData> skinData_;
};

// Covers the corner between two skinned scroll bars.
class TsGrip : public TsPanel {
public:
    explicit TsGrip(TComponent* owner);
    std::string ClassName() const override { return "TsGrip"; }
    // The control whose corner the grip covers (set by its creator).
    TWinControl* LinkedControl = nullptr;
};

// Registers TsPanel and TsGrip with their stored properties (once).
void RegisterPanelClasses();

}  // namespace korvel
