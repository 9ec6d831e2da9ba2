#pragma once
// TsSkinProvider: the component a form owns to have its whole frame (title bar,
// caption buttons, borders, the window's shape) and its client background
// painted from the skin. It puts its own procedure (ProviderWndProc) in the
// form's window-procedure slot for the form's whole life and keeps a cache
// bitmap of the whole window from which every paint is copied.
//
// The members are defined by concern: lifecycle, hook and skin changes in
// skin_provider.cpp, the message tables in provider_messages.cpp, the metrics in
// metrics.cpp, the title bar in title_bar.cpp, the caption buttons and the hit
// test in caption_buttons.cpp, painting in borders.cpp, the shape in window_region.cpp.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/common_data.h"
#include "forms/caption_buttons.h"
#include "forms/system_menu.h"
#include "forms/title_bar.h"
#include "gui/forms.h"
#include "paint/geometry.h"

namespace korvel {

class TsMDIForm;
class TsSkinManager;
class TsScrollBar;
class TsGrip;

enum class TGripMode { gmNone, gmRightBottom };
enum class TResizeMode { rmStandard, rmBorder };

// The provider's control code in its skin state.
constexpr std::uint32_t ProviderControlCode = ccFormProvider;
// Posted to an MDI child whose paints its own creation left out (provider_mdi.cpp).
constexpr UINT WM_PAINTCREATEDCHILD = WM_APP + 0x3A1;

class TsSkinProvider : public TComponent {
public:
    explicit TsSkinProvider(TComponent* owner);
    ~TsSkinProvider() override;
    std::string ClassName() const override { return "TsSkinProvider"; }

    // ---- published properties ----
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value) { borderIcons_ = value; }
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }
    TGripMode GripMode() const { return gripMode_; }
    void SetGripMode(TGripMode value) { gripMode_ = value; }
    bool MakeSkinMenu() const { return makeSkinMenu_; }
    void SetMakeSkinMenu(bool value) { makeSkinMenu_ = value; }
    const std::string& MenuLineSkin() const { return menuLineSkin_; }
    void SetMenuLineSkin(const std::string& value) { menuLineSkin_ = value; }
    TResizeMode ResizeMode() const { return resizeMode_; }
    void SetResizeMode(TResizeMode value) { resizeMode_ = value; }
    bool ScreenSnap() const { return screenSnap_; }
    void SetScreenSnap(bool value) { screenSnap_ = value; }
    int SnapBuffer() const { return snapBuffer_; }
    void SetSnapBuffer(int value) { snapBuffer_ = value; }
    bool ShowAppIcon() const { return showAppIcon_; }
    void SetShowAppIcon(bool value);
    TsTitleButtons& TitleButtons() { return *titleButtons_; }
    void SetTitleButtons(const TsTitleButtons& value) { titleButtons_->Assign(value); }
    TsTitleIcon& TitleIcon() { return *titleIcon_; }
    const std::string& TitleSkin() const { return titleSkin_; }
    void SetTitleSkin(const std::string& value);
    bool UseGlobalColor() const { return useGlobalColor_; }
    void SetUseGlobalColor(bool value);

    // ---- internal state ----
    std::vector<TRect> RegionHoles;
    bool RegionChanged = true;
    bool SavedAutoScroll = false;
    TsGrip* FormGrip = nullptr;
    int CurrentButton = 0;
    TBitmap24 ButtonsBackground;
    CaptionButtonInfo ButtonMin, ButtonMax, ButtonClose, ButtonHelp;
    int TitleButtonMask = -1;
    bool FirstSkinPending = true;
    bool MenuOwnerDrawDone = false;
    CaptionButtonInfo MDIButtonMin, MDIButtonRestore, MDIButtonClose;
    TBorderIcons SavedBorderIcons = 0;
    int ScrollOffsetV = 0, ScrollOffsetH = 0;
    int ContentHeight = 0, ContentWidth = 0;
    bool ScrollGuard = false;
    bool ApplyingRegion = false;
    bool MenuLineChanged = true;
    // The rest of the form's procedure chain (hooks installed before ours, then the
    // form's own procedure) for the message being handled; nullptr between messages.
    const TWndNext* SavedWindowProc = nullptr;
    // The TsMDIForm of an MDI frame form, or nullptr.
    TsMDIForm* MDIExtension = nullptr;
    bool FormActive = true;
    TsScrollBar* VScrollBar = nullptr;
    TsScrollBar* HScrollBar = nullptr;
    TBitmap24 MenuLineBackground;
    TForm* Form() const { return form_; }
    int MenuRowsCache = -1;
    TsSystemMenu* SystemMenu() const { return systemMenu_; }
    // Pops the skinned system menu up at a screen point.
    void DropSystemMenu(int x, int y);
    std::unique_ptr<TBitmap24> TitleAreaCache;
    bool PaintedOnce = false;
    // The caption text as last painted (shortened to its room).
    std::string DrawnCaption;

    // ---- non-client metrics (metrics.cpp) ----
    int CaptionHeight() const;
    int FrameHeight() const;
    int FrameWidth() const;
    int MenuHeight() const;
    int WindowWidth() const;
    int FormHeight() const;
    int NonClientTopHeight() const;
    int ClientOffsetX() const;
    int ClientOffsetY() const;
    bool IconVisible() const;
    int IconWidth() const;
    int IconHeight() const;
    TRect IconRect() const;
    bool HasBorder() const;
    bool Minimized() const;
    bool Maximized() const;
    // The form's border width inside its frame (the framework has none: 0).
    int FormBorderWidth() const { return 0; }

    // ---- caption buttons (caption_buttons.cpp) ----
    int ButtonWidth(int maskIndex) const;
    int ButtonHeight() const;
    int TitleButtonWidth(const TsTitleButton& button) const;
    int ButtonsWidth() const;
    int VisibleButtonCount() const;
    int TitleBarMaskWidth(int maskIndex) const;
    void LoadButtonMasks();
    void PaintCaptionButtons();
    void RedrawCaptionButton(int code);
    void SetHotButton(int code);
    void SetPressedButton(int code);
    // The hit code at a point relative to the window's top-left; may change the hot button.
    int SkinHitTest(POINT p, int incoming = 0);

    // ---- painting (borders.cpp) and shape (window_region.cpp) ----
    void RepaintCache();
    void CopyFrameToWindow(HDC dc);
    void PaintClientArea(HDC dc);
    TPoint GripPosition(int maskIndex) const;
    bool MenuLineVisible() const;
    int MenuRowCount();
    void RebuildRegionHoles();
    void ApplyRegion();
    void SuppressCaption();
    // BackgroundChanged, the menu line and its rows stale, then WM_NCPAINT.
    void RepaintNonClient();

    // ---- MDI frames and children (provider_mdi.cpp) ----
    bool IsMDIFrame() const;
    bool IsMDIChild() const;
    // On: this provider becomes MDIFrameProvider and gets its TsMDIForm; off: the TsMDIForm goes.
    void SetMDISupport(bool on);
    // Brings MDIFrameProvider's frame up to date after a child's state changed.
    void RefreshMDIFrame();
    // The frame shows the window commands of a maximised active child in its menu line.
    bool MDIChildButtonsShown();
    // The active child's icon starts this frame's menu line (a maximised child of the MDI frame).
    bool MDIChildIconShown();
    // The size of a child button, from the close button's mask (16 x 16 without one).
    int MDIButtonWidth() const;
    int MDIButtonHeight() const;

    // ---- geometry (geometry.cpp, form_scroll_bars.cpp) ----
    // How far the form's content reaches in one direction (see UpdateFormScrollBars).
    int ContentExtent(bool vertical) const;
    // Places, creates or frees the provider's scroll bars for the form's content.
    void UpdateFormScrollBars();
    // Whether an outline drag of this form is running.
    bool OutlineDragging() const;

    void InitSkinning();
    // Every message of the form passes through here while the provider lives.
    void ProviderWndProc(TMessage& message);

    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TsMDIForm;
    // The only two places that touch the form's window-procedure slot.
    void InstallWindowHook();
    void RemoveWindowHook();
    void PassOn(TMessage& message);

    // skin changes (skin_provider.cpp)
    void SkinArrival(TMessage& message);
    void SkinRemoval(TMessage& message);
    void GiveFrameBack(bool border);
    void StepAsideForSkinWithoutSection();
    // Stepped aside, the form shows the system's frame, but the skin is still the
    // user's choice: the window menu stays ours, with its skins submenu.
    bool SteppedAsideWithSkinMenu() const;
    bool SteppedAsideWindowMenu(TMessage& message);
    bool OwnManager(const TMessage& message) const;
    void ApplyGlobalColor();
    void SetFormBorderIcons(TBorderIcons icons);
    void ForwardToChildren(TMessage& message);
    void HideWindowForChange();
    bool ShapedOnceOnSkinApplied() const;
    void HoldDrawingForChange();
    void ReleaseDrawing();
    // The region ApplyRegion would give the window; the caller deletes it.
    HRGN WantedRegion() const;
    bool WindowHasWantedRegion() const;
    bool drawingHeld_ = false;

    // message tables (provider_messages.cpp)
    void SkinCommand(TMessage& message);
    void OnSize(TMessage& message);
    void OnActivate(TMessage& message);
    void OnSetText(TMessage& message);
    void OnPaint(TMessage& message);
    void OnWindowPosChanging(TMessage& message);
    void OnWindowPosChanged(TMessage& message);
    void OnNcHitTest(TMessage& message);
    void OnNcPaint(TMessage& message);
    void OnNcActivate(TMessage& message);
    void OnNcLButtonDblClk(TMessage& message);
    void OnNcRButtonDown(TMessage& message);
    void OnNcRButtonUp(TMessage& message);
    void OnSysCommand(TMessage& message);
    void OnSizing(TMessage& message);
    void OnMouseLeave(TMessage& message);
    void OnColorChanged(TMessage& message);
    void OnMenuChanged(TMessage& message);
    void OnMeasureItem(TMessage& message);
    void SendToForm(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
    bool CacheSizeDiffers() const;
    void SkinFormMenus(bool on);
    void RefreshMenuOwnerDraw();
    // geometry (geometry.cpp)
    void MaximisedSize(TMessage& message);
    void SnapToWorkArea(WINDOWPOS& position) const;
    // Each answers whether it took the message.
    bool OutlinePress(TMessage& message);
    bool OutlineCommand(TMessage& message);
    void StartOutline(bool move, POINT screen);
    void TrackOutline(TMessage& message);
    // Erases the outline; Apply: moves or sizes the window to it.
    void EndOutline(bool apply = true);
    void RecordOutlineHit(int code);
    // form scroll bars (form_scroll_bars.cpp)
    void MeasureContent();
    void OnChildBoundsChanged(TMessage& message);
    void PlaceScrollBar(TsScrollBar*& bar, bool vertical, int content, int client, const RECT& bounds);
    void ScrollBackAndFree(TsScrollBar*& bar);
    void ScrollBarChanged(TsScrollBar* bar, int previous);
    void TakeOverScrolling();
    void GiveBackScrolling();
    bool updatingScrollBars_ = false;

    // caption-button mouse commands (caption_buttons.cpp)
    void OnNcLButtonDown(TMessage& message);
    void OnButtonUp(TMessage& message);
    CaptionButtonInfo* ButtonOfCode(int code);
    POINT WindowPoint(LPARAM screenPoint) const;
    void PlaceButton(CaptionButtonInfo& info, int& x, int width, bool enabled, bool drawFace);

    // title bar steps (title_bar.cpp)
    void PaintTitleSection(int height);
    void PaintTitleIcon();
    void PaintButtonStrip(int height);
    void SaveButtonsBackground();
    void PaintCaptionText();
    // Before the menu line: T1 to T3; after it: T5 to T7.
    void RunTitleSteps(int height, bool afterMenuLine);
    TParentBackground FormBackground();
    // Activation only switches between two looks of the title bar: each is kept,
    // composed over TitleAreaCache, with everything it was composed from.
    bool RestoreComposedTitle(int height);
    void KeepComposedTitle(int height);
    std::vector<std::intptr_t> TitleInputs(int height);

    // painting helpers (borders.cpp)
    void HandlePaint(TMessage& message);
    void NonClientPaint(TMessage& message);
    void PaintMenuLine();
    void PaintMDIChildIcon(HDC dc);
    void WalkMenuLine(const std::function<void(TMenuItem*, const TRect&)>& visit);
    void PaintLinkedChild(HDC dc);

    // MDI frames and children (provider_mdi.cpp)
    TsSkinProvider* FrameProvider() const;
    TsMDIForm* FrameExtension() const;
    void MarkFrameStale(TsSkinProvider& frame);
    void SetMDIButtonMasks(int minimize, int restore, int close);
    void PaintMDIChildButtons();
    int MDIChildButtonHit(POINT p);
    void MDIChildButtonUp(int code);
    int MDIRestoreMask() const;
    bool HiddenBehindMaximizedSibling() const;
    void NcPaintOtherMDIChildren();
    void MDIChildSkinning();
    void MDIFrameSkinArrival();
    void MDIChildLeaving();
    void OnMove(TMessage& message);
    void MDISize();
    void MDIActivate();
    void OnMDIActivate(TMessage& message);
    void MDINcActivate(bool active);
    // The frame's look while it shows a maximised child with a menu: look and whether to take it.
    void MDIFrameActiveLook(bool active, bool& look, bool& assign);
    void MDIChildSysCommand(TMessage& message);
    void MDIFrameSysCommand(TMessage& message);
    void MDIPaintAfterSkinApplied();
    void PaintAfterCreation();
    void PaintCreatedChild();
    void CopyToWindow(HDC dc, const TRect& source, int destX, int destY);

    std::unique_ptr<TsCommonData> skinData_;
    std::unique_ptr<TsTitleIcon> titleIcon_;
    std::unique_ptr<TsTitleButtons> titleButtons_;
    TForm* form_ = nullptr;
    TsSystemMenu* systemMenu_ = nullptr;

    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TAlignment captionAlignment_ = TAlignment::taLeftJustify;
    TGripMode gripMode_ = TGripMode::gmNone;
    bool makeSkinMenu_ = true;
    std::string menuLineSkin_;
    TResizeMode resizeMode_ = TResizeMode::rmStandard;
    bool screenSnap_ = false;
    int snapBuffer_ = 10;
    bool showAppIcon_ = true;
    std::string titleSkin_;
    bool useGlobalColor_ = true;
    int buttonsSaveLeft_ = 0;   // where ButtonsBackground was taken from the cache
    bool createdPaintPosted_ = false;   // WM_PAINTCREATEDCHILD is on its way
    struct TComposedTitle {
        std::unique_ptr<TBitmap24> Strip;
        TBitmap24 ButtonsBackground;
        int ButtonsSaveLeft = 0;
        std::string DrawnCaption;
        std::vector<std::intptr_t> Inputs;
        std::string Caption, SkinName, FontName;
    };
    TComposedTitle composedTitles_[2];   // inactive, active
    int titleAreaGeneration_ = 0;        // counts the TitleAreaCache pictures taken
};

// The provider of a form (the first TsSkinProvider the form owns), or nullptr.
TsSkinProvider* FindSkinProvider(TForm* form);

// Registers TsSkinProvider and its stored properties with the class registry.
void RegisterSkinProviderClass();

}  // namespace korvel
