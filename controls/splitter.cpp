// The skinned splitter.
#include "controls/splitter.h"

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "gui/class_registry.h"
#include "paint/mask.h"

namespace korvel {

TsSplitter::TsSplitter(TComponent* owner) : TSplitter(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
    skinData_->ControlCode = ccSplitter;
    skinData_->Loaded();
}

TsSplitter::~TsSplitter() {
    Destroying();
    skinData_.reset();
}

void TsSplitter::Loaded() {
    TSplitter::Loaded();
    skinData_->Loaded();
}

bool TsSplitter::SkinIsActive() const {
    const TsSkinManager* manager = skinData_->SkinManager();
    return manager && manager->Active() && manager->SkinData().Active;
}

int TsSplitter::StateIndex() const { return Dragging() || skinData_->IsActive() ? 1 : 0; }

void TsSplitter::RebuildCache() {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    PaintItem(data, background, true, cache, TPoint{Left(), Top()}, TRect{0, 0, cache.Width(), cache.Height()},
              StateIndex());
    data.UpdateCorners(StateIndex(), crAll);
    data.BackgroundChanged = false;
}

void TsSplitter::Paint() {
    if (!skinData_->IsSkinned(true)) {
        // An active skin without the section: the parent's background, already under us, shows.
        if (!SkinIsActive()) TSplitter::Paint();
        return;
    }
    // Rebuilt at every paint: the parent's pixels below may have changed with it.
    RebuildCache();
    TCacheDC cache(*skinData_->CacheBmp());
    if (cache.Handle()) BitBlt(Canvas().Handle(), 0, 0, Width(), Height(), cache.Handle(), 0, 0, SRCCOPY);
}

void TsSplitter::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD) {
        const bool answered = AnswerCommonSkinCommand(skinData_.get(), m, {
            .Removed = [this] { Invalidate(); },
            .Applied = [this] { Invalidate(); },
        });
        if (!answered) skinData_->HandleSkinCommand(m);
        return;
    }
    const bool wasHot = StateIndex() != 0;
    skinData_->CommonWndProc(m);
    TSplitter::WndProc(m);
    if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE || m.Msg == WM_LBUTTONUP) && (StateIndex() != 0) != wasHot &&
        skinData_->IsSkinned(true))
        Invalidate();
}

void RegisterSplitterClass() {
    static const bool registered = [] {
        RegisterBarControlClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsSplitter>("TsSplitter", "TSplitter");
        RegisterSkinDataProperties<TsSplitter>("TsSplitter");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
