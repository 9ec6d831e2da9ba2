#pragma once
// TsCommonData: the skin state every skinned control (and every form's skin
// provider) owns as its SkinData. It binds the control to a skin manager and a
// section, caches the section's indexes, owns the control's cache bitmap, and
// holds the reaction to the skin message common to all controls.
// Windows half only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gui/bitmap24.h"
#include "gui/control.h"
#include "paint/item.h"
#include "paint/shared_state.h"
#include "skin/skin_data.h"

namespace korvel {

class TsSkinManager;
class TWinControl;

// Control codes of this program's skinned objects.
constexpr std::uint32_t ccEdit = 3;
constexpr std::uint32_t ccCheckBox = 32;
constexpr std::uint32_t ccPanel = 51;
constexpr std::uint32_t ccButton = 93;
constexpr std::uint32_t ccScrollBar = 142;
constexpr std::uint32_t ccFormProvider = 224;

// Codes that never light up merely because the mouse is over them.
bool InNoHoverSet(std::uint32_t controlCode);
// Codes of edit-like controls (those whose default section is "EDIT").
bool IsEditClass(std::uint32_t controlCode);
// The section a control takes when its SkinSection is empty; "" means the owner's class name.
std::string DefaultSectionOf(std::uint32_t controlCode);

class TsCommonData : public TPersistent {
public:
    TsCommonData(TComponent* owner, bool createCache);
    ~TsCommonData() override;
    TsCommonData(const TsCommonData&) = delete;
    TsCommonData& operator=(const TsCommonData&) = delete;
    std::string ClassName() const override { return "TsCommonData"; }

    bool Updating = false;
    int BorderIndex = -1;
    int SkinIndex = -1;
    int PatternIndex = -1;
    int HotPatternIndex = -1;
    void* Link = nullptr;
    bool Preparing = false;
    bool BackgroundChanged = true;
    bool PartlyHidden = true;
    bool PaintingClient = false;
    std::uint32_t ControlCode = 0;
    bool Focused = false;
    bool MouseAbove = false;

    TControl* OwnerControl() const { return ownerControl_; }
    TComponent* OwnerObject() const { return ownerObject_; }
    TBitmap24* CacheBmp() const { return cacheBmp_.get(); }

    const std::string& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::string& value);
    bool CustomFont() const { return customFont_; }
    void SetCustomFont(bool value);
    bool CustomColor() const { return customColor_; }
    void SetCustomColor(bool value);
    // The stored manager, or the default manager when none is stored.
    TsSkinManager* SkinManager() const;
    TsSkinManager* StoredSkinManager() const { return skinManager_; }
    void SetSkinManager(TsSkinManager* value);
    // Whether the definition writer should store SkinManager.
    bool SkinManagerStored() const { return skinManager_ != nullptr; }

    // The manager's tables, or nullptr when there is no usable manager.
    const TsSkinTables* Tables() const;
    // The section record, or nullptr when SkinIndex is not valid.
    const TsGeneralData* Section() const;

    void UpdateIndexes();
    void ResolveSection();
    // Called from the control's Loaded after the framework's own: an edit-like
    // control takes its section's colours only once it is no longer loading.
    void Loaded();
    bool IsSkinned(bool checkActive) const;
    bool IsActive() const;
    bool IsTransparent() const;
    bool IsUpdating() const;
    // The control's parent says its background is being rebuilt (SMC_QUERYUPDATING).
    bool ParentIsUpdating() const;
    void BeginUpdate() { Updating = true; }
    void EndUpdate() { Updating = false; }
    void SetUpdating(bool value) { Updating = value; }
    void PrepareCacheBmp();
    void Invalidate();
    bool NeedsParentRepaint() const;
    bool ParentIsTextured() const;
    void GetParentCache(TParentBackground& background) const;
    void HandleSkinCommand(TMessage& message);
    void CommonWndProc(TMessage& message);
    // Re-draws the key pixels of the given corners (TCornerBits) of the control's
    // frame in its cache with what now lies behind the control: the parent's
    // pixels over a textured parent with a cache, else the parent's colour (or
    // GlobalFillColor while it is set). Nothing without a parent.
    void UpdateCorners(int state, unsigned corners);
    // Copies the cache to a container's DC around its opaque and windowless children.
    // source: (Left, Top) the cache point, (Right, Bottom) the client offset in DC.
    // With updateCorners, all four frame corners are refreshed in the cache first.
    void CopyCacheToDC(TWinControl* container, const RECT& source, bool updateCorners, HDC dc, const RECT& destRect);

    // A control left without a section: the system paints it (and its children) again.
    void RepaintSystemLook();

    // What PaintItem needs of this control, read from its current state.
    TItemSource ItemSource() const;

private:
    void ApplySectionColors(bool onlyWhenDifferent);
    // An edit's own colours and font colour back to the system's, unless set by the program.
    void ReturnToSystemColors();
    void SendApplyOrRemove(TsSkinManager* manager);

    TComponent* ownerObject_ = nullptr;
    TControl* ownerControl_ = nullptr;
    std::unique_ptr<TBitmap24> cacheBmp_;
    std::string skinSection_;
    bool customFont_ = false;
    bool customColor_ = false;
    TsSkinManager* skinManager_ = nullptr;
};

// What a skinned control does of its own around its skin state's handling of
// a skin change announced by the manager it follows. Each step may be empty.
struct TSkinAnnouncementSteps {
    std::function<void()> Before = {};     // before any of the three (stopping a fade)
    std::function<void()> Changing = {};   // SMC_SKINCHANGED, before the skin state takes it
    std::function<void()> Removed = {};    // SMC_SKINREMOVED, after the skin state took it
    std::function<void()> Applied = {};    // SMC_SKINAPPLIED, after the skin state took it
};

// The skin-message answers every skinned control gives the same way: yes to
// SMC_ISSKINNED, and a skin change (changed, removed, applied) announced by
// the manager that Data follows passed to Data between the control's Steps.
// True when the message is answered; an announcement from another manager
// (or with no Data) and every other command are left to the control.
bool AnswerCommonSkinCommand(TsCommonData* data, TMessage& message, const TSkinAnnouncementSteps& steps);

// The control's whole look painted into its cache by the item composition.
void PaintItem(TsCommonData& data, TParentBackground parentBg, bool fillCentre, TBitmap24& bitmap, TPoint point,
               TRect rect, int state);

}  // namespace korvel
