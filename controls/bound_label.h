#pragma once
// The caption label an edit can carry beside or above itself: TsBoundLabel holds
// the settings and, while active, a TsEditLabel owned by the edit; the edit keeps
// the label placed, shown and enabled as it moves, hides and is disabled.
#include <string>

#include "controls/label.h"
#include "gui/graphics.h"
#include "engine/bound_label.h"

namespace korvel {

class TsBoundLabel;

// The label a bound label creates. It knows its bound label and clears that
// bound label's reference to itself when it goes, so the edit stops placing it.
class TsEditLabel : public TsLabel {
public:
    TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel);
    ~TsEditLabel() override;
    std::string ClassName() const override { return "TsEditLabel"; }
    TsBoundLabel* BoundLabel() const { return boundLabel_; }

private:
    friend class TsBoundLabel;
    TsBoundLabel* boundLabel_;
};

class TsBoundLabel : public TPersistent {
public:
    // edit owns this object and, while Active, the label.
    explicit TsBoundLabel(TWinControl* edit);
    ~TsBoundLabel() override;
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;
    std::string ClassName() const override { return "TsBoundLabel"; }

    bool Active() const { return active_; }
    // True creates the label (named after the edit, captioned with the edit's
    // name when Caption is empty, parented beside the edit); false frees it.
    void SetActive(bool value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    int Indent() const { return indent_; }
    void SetIndent(int value);
    TsCaptionLayout Layout() const { return layout_; }
    void SetLayout(TsCaptionLayout value);
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int value);
    // The label's font while the label exists, else a font of this object's own.
    TFont& Font();
    // Copies value into the label's font (which stops following the parent's)
    // and places the label again; without a label, into the own font.
    void SetFont(const TFont& value);

    // The label, or nullptr while inactive or after it was freed elsewhere.
    TsEditLabel* Label() const { return label_; }
    // Places the label beside the edit; nothing while it is missing or hidden.
    void AlignLabel();
    // Keeps the label in step with the edit after a change of the edit.
    void EditVisibleChanged();
    void EditEnabledChanged();
    void EditBiDiModeChanged();

private:
    friend class TsEditLabel;
    void FreeLabel();
    void UpdateAlignment();

    TWinControl* edit_;
    TsEditLabel* label_ = nullptr;
    bool active_ = false;
    std::string caption_;
    int indent_ = 0;
    TsCaptionLayout layout_ = sclLeft;
    int maxWidth_ = 0;
    TFont font_;
};

}  // namespace korvel
