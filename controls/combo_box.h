#pragma once
// TsComboBox: the skinned combo box, of the edit kind and of the list kind.
// The native COMBOBOX keeps the keyboard, the edit field, the list window and
// accessibility. Under a skin the face is painted from the section (its
// background and frame in the normal or hot state, the chosen item's text in
// the section's font colours), the drop-down button from the scroll bar's
// down-button section with the section's arrow glyph (pressed while the list is
// open), the edit field takes the section's colours, and the items of the open
// list are drawn by the combo: the section's colours, the chosen one as the
// skin's selected menu item. The list's scroll bar stays the native one.
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/common_data.h"
#include "engine/fade.h"
#include "gui/combo_box.h"
#include "gui/graphics.h"
#include "paint/blend.h"

namespace korvel {

// The control code of a combo box's skin state (default section "COMBOBOX").
constexpr std::uint32_t ccComboBox = 11;

class TsComboBox : public TComboBox {
public:
    explicit TsComboBox(TComponent* owner);
    ~TsComboBox() override;
    std::string ClassName() const override { return "TsComboBox"; }

    TsCommonData SkinData;

    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    TacAnimatEvents AnimatEvents() const { return animatEvents_; }
    void SetAnimatEvents(TacAnimatEvents value) { animatEvents_ = value; }
    TsFadeTimer* FadeTimer() const { return fadeTimer_; }

    // The face's state: 1 (hot) while the pointer is over it, the focus is in
    // it or its list is open, else 0; never hot while disabled.
    int FaceState();
    // The drop-down button's state: 2 while the list is open, else the face's.
    int ButtonState();
    // The native control's places (client coordinates) and its list window.
    RECT ButtonRect();
    RECT ItemRect();
    HWND ListHandle();
    // Whether the window was made with its items drawn by the combo (skinned then).
    bool ItemsOwnerDrawn() const { return windowOwnerDrawn_; }
    // Whether the combo paints its open list's scroll bar (it took the list's window procedure).
    bool ListHooked() const;

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    bool OwnerDrawn() const override;
    void CreateParams(TCreateParams& params) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void DropDown() override;
    void CloseUp() override;

private:
    bool OnSkinAnnouncement(TMessage& m);
    bool SkinnedMessage(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void AnswerColors(TMessage& m, bool list);
    void RebuildCache();
    void PaintButton(TBitmap24& cache);
    void PaintFaceText(TBitmap24& cache);
    void DrawFaceItem(const DRAWITEMSTRUCT& item);
    void DrawListItem(const DRAWITEMSTRUCT& item);
    // The window's items must be drawn by the combo exactly while it is skinned.
    void FollowSkinnedState();
    void HotChanged(TacAnimatEvent event);
    // The pointer over the edit field (a native window of its own, which the
    // framework does not track): hot until a check finds it outside the combo.
    void OnChildSetCursor(const TMessage& m);
    void CheckPointerStillInside();
    bool FocusInside();
    void StopFade();
    // The open list's scroll bar (combo_box_list.cpp).
    static LRESULT CALLBACK ListProc(HWND list, UINT msg, WPARAM wparam, LPARAM lparam);
    void HookList();
    void UnhookList();
    void PaintListScrollBar(HWND list);

    TsDisabledKind disabledKind_ = dkBlended;
    TacAnimatEvents animatEvents_ = aeGlobalDef;
    TsFadeTimer* fadeTimer_ = nullptr;
    bool windowOwnerDrawn_ = false;
    int lastFaceState_ = 0;
    bool watchingPointer_ = false;
    TBrush colorBrush_;   // the edit field's and the list's background
};

// Registers TsComboBox and its stored properties (once).
void RegisterComboBoxClasses();

}  // namespace korvel
