#include "controls/bound_label.h"

#include "gui/win_control.h"

namespace korvel {

namespace {

TAlignment AlignmentOf(TsCaptionLayout layout) {
    switch (BoundLabelAlignment(layout)) {
        case 0: return TAlignment::taLeftJustify;
        case 2: return TAlignment::taCenter;
        default: return TAlignment::taRightJustify;
    }
}

}  // namespace

// ---- TsEditLabel ----------------------------------------------------------------

TsEditLabel::TsEditLabel(TComponent* owner, TsBoundLabel* boundLabel) : TsLabel(owner), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel() {
    if (boundLabel_ && boundLabel_->label_ == this) boundLabel_->label_ = nullptr;
    boundLabel_ = nullptr;
}

// ---- TsBoundLabel ---------------------------------------------------------------

TsBoundLabel::TsBoundLabel(TWinControl* edit) : edit_(edit) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

void TsBoundLabel::FreeLabel() {
    TsEditLabel* label = label_;
    label_ = nullptr;
    if (!label) return;
    label->boundLabel_ = nullptr;
    delete label;
}

void TsBoundLabel::SetActive(bool value) {
    active_ = value;
    if (!value) {
        FreeLabel();
        return;
    }
    if (label_ || !edit_) return;
    // Owned by the edit, so it goes with it; hidden until it has its place.
    label_ = new TsEditLabel(edit_, this);
    label_->Hide();
    label_->SetParent(edit_->Parent());
    label_->SetFocusControl(edit_);
    UpdateAlignment();
    label_->SetName(edit_->Name() + "Label");
    if (caption_.empty()) caption_ = edit_->Name();
    label_->SetCaption(caption_);
    label_->SetVisible(edit_->Visible() || edit_->InState(csDesigning));
    label_->SetEnabled(edit_->Enabled());
    AlignLabel();
}

void TsBoundLabel::SetCaption(const std::string& value) {
    caption_ = value;
    if (!label_) return;
    label_->SetCaption(value);
    AlignLabel();
}

void TsBoundLabel::SetIndent(int value) {
    indent_ = value;
    AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
    layout_ = value;
    UpdateAlignment();
    AlignLabel();
}

void TsBoundLabel::SetMaxWidth(int value) {
    maxWidth_ = value;
    AlignLabel();
}

TFont& TsBoundLabel::Font() { return label_ ? label_->Font() : font_; }

void TsBoundLabel::SetFont(const TFont& value) {
    if (!label_) {
        font_.Assign(value);
        return;
    }
    label_->Font().Assign(value);
    label_->SetParentFont(false);
    AlignLabel();
}

void TsBoundLabel::UpdateAlignment() {
    if (label_) label_->SetAlignment(AlignmentOf(layout_));
}

void TsBoundLabel::AlignLabel() {
    if (!label_ || !label_->Visible() || !edit_) return;
    label_->SetAutoSize(true);
    // A label that was wrapped to an earlier MaxWidth takes its one-line size again.
    if (maxWidth_ == 0) label_->SetWordWrap(false);
    const RECT e = edit_->BoundsRect();
    const TBoundLabelPlace place = PlaceBoundLabel(layout_, TRect{e.left, e.top, e.right, e.bottom}, label_->Width(),
                                                   label_->Height(), indent_, maxWidth_);
    if (place.WordWrap) {
        label_->SetAutoSize(false);
        label_->SetWordWrap(true);
    }
    label_->SetBounds(place.Left, place.Top, place.Width, place.Height);
}

void TsBoundLabel::EditVisibleChanged() {
    if (!label_ || !edit_) return;
    label_->SetVisible(edit_->Visible());
    AlignLabel();
}

void TsBoundLabel::EditEnabledChanged() {
    if (!label_ || !edit_) return;
    label_->SetEnabled(edit_->Enabled());
    AlignLabel();
}

void TsBoundLabel::EditBiDiModeChanged() {
    if (!label_ || !edit_) return;
    label_->SetBiDiMode(edit_->BiDiMode());
    AlignLabel();
}

}  // namespace korvel
