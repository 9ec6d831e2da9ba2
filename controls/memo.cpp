#include "controls/memo.h"

#include <functional>

#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"

namespace korvel {

TsMemo::TsMemo(TComponent* owner) : TMemo(owner), SkinData(this, true) {
    SetControlStyle(ControlStyle() | csOpaque);
    SkinData.ControlCode = ccMemo;
    SkinData.Loaded();
}

void TsMemo::Loaded() {
    TMemo::Loaded();
    SkinData.Loaded();
}

void TsMemo::SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData.Invalidate();
}

// ---- painting -------------------------------------------------------------------------

void TsMemo::PrepareCache() { scrollBars_.ComposeFace(disabledKind_); }

void TsMemo::PaintFrame(HDC given) { scrollBars_.PaintFrame(disabledKind_, given); }

// ---- window procedure -------------------------------------------------------------------

bool TsMemo::HandleSkinFirst(TMessage& m) {
    if (SkinCommandOf(m.WParam) == SMC_GETCACHE && SkinData.IsSkinned(false)) {
        // The skinned bars lie on the face: it is composed for them even before the
        // control first painted (a bar may paint first), at the control's present size.
        scrollBars_.EnsureFace(disabledKind_);
        ParentBackground = TParentBackground{SkinData.CacheBmp(), 0, 0, true};
        m.Result = 1;
        return true;
    }
    if (SkinCommandOf(m.WParam) == SMC_QUERYTEXTURED) {   // the face is never a texture to children
        m.LParam = 0;
        m.Result = 1;
        return true;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Removed =
            [this] {
                // The native frame and scroll bars return.
                scrollBars_.HideAll();
                if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
            },
        .Applied =
            [this] {
                if (!SkinData.IsSkinned(false)) {
                    scrollBars_.HideAll();
                    if (!SkinData.Updating) SkinData.RepaintSystemLook();   // else SMC_PARENTUPDATED
                    return;
                }
                SkinData.BackgroundChanged = true;
                if (!SkinData.Updating && HandleAllocated())
                    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            },
    });
}

bool TsMemo::HandleSkinnedBefore(TMessage& m) {
    switch (m.Msg) {
    case WM_NCPAINT: PaintFrame(nullptr); return true;   // neither the native frame nor its bars are drawn
    case WM_PRINT:
        if (m.LParam & PRF_NONCLIENT) PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.LParam &= ~PRF_NONCLIENT;
        return false;   // the native edit prints its client area
    case CM_COLORCHANGED:
        if (SkinData.CustomColor()) SkinData.BackgroundChanged = true;
        return false;
    default: return false;
    }
}

void TsMemo::HandleSkinnedAfter(const TMessage& m) {
    if (m.Msg == SM_ALPHACMD) {
        if (SkinCommandOf(m.WParam) == SMC_PARENTUPDATED && SkinData.Updating) {
            SkinData.Updating = false;
            SkinData.BackgroundChanged = true;
            PaintFrame(nullptr);
        } else if (SkinCommandOf(m.WParam) == SMC_SETPREPARING && SkinData.Preparing) {
            PrepareCache();
        }
        return;
    }
    switch (m.Msg) {
    case WM_KILLFOCUS:
    case CM_EXIT:
        SkinData.Focused = false;
        SkinData.MouseAbove = false;
        break;
    case WM_SETFONT:
    case CM_FONTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        if (!IsLoading()) SkinData.Invalidate();
        break;
    default: break;
    }
}

void TsMemo::WndProc(TMessage& m) {
    if (m.Msg == WM_DESTROY) scrollBars_.HideAll();   // a re-created window gets its bars placed again
    if (m.Msg == SM_ALPHACMD && HandleSkinFirst(m)) {
        scrollBars_.Follow();
        return;
    }
    if (!ControlIsReady(this) || !SkinData.IsSkinned(false)) {
        TMemo::WndProc(m);
        if (m.Msg != WM_DESTROY && m.Msg != WM_NCDESTROY) scrollBars_.Follow();
        return;
    }
    if (HandleSkinnedBefore(m)) return;
    const bool wasActive = SkinData.IsActive();
    SkinData.CommonWndProc(m);
    if (m.Msg != SM_ALPHACMD) TMemo::WndProc(m);   // the native edit has nothing to say to skin commands
    HandleSkinnedAfter(m);
    // Focus and the mouse switch the frame between its normal and active looks.
    if (SkinData.IsActive() != wasActive && HandleAllocated()) {
        SkinData.BackgroundChanged = true;
        PaintFrame(nullptr);
    }
    if (m.Msg != WM_DESTROY && m.Msg != WM_NCDESTROY) scrollBars_.Follow();
}

// ---- registration -------------------------------------------------------------------------

void RegisterMemoClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& registry = TClassRegistry::Instance();
        registry.RegisterClass<TsMemo>("TsMemo", "TMemo");
        RegisterSkinDataProperties<TsMemo>("TsMemo");
        registry.RegisterProperty<TsMemo>("TsMemo", "DisabledKind", [](TsMemo& e, const TValue& v, TReadContext&) {
            e.SetDisabledKind(v.AsSet({{"dkBlended", dkBlended}, {"dkGrayed", dkGrayed}}));
        });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
