#pragma once
// TsSkinManager: the component that owns the active skin, loads it, recolours
// it and announces every change to all forms and their controls through the
// skin message. The first manager created becomes the application's default.
//
// It lives in the painting layer because it needs both the loader (skin/) and
// the colour functions and skin message (paint/); skin/ stays below paint/.
// Windows half only.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/component.h"
#include "gui/control.h"
#include "gui/menus.h"
#include "engine/menu_skinning.h"
#include "skin/skin_data.h"
#include "skin/skin_files.h"
#include "skin/skin_loader.h"
#include "skin/stored_skin.h"

namespace korvel {

class TForm;
class TsSettingListener;
class TsSkinWatch;

// Menu options read by the menu skinning.
class TacMenuSupport : public TPersistent {
public:
    std::string ClassName() const override { return "TacMenuSupport"; }
    std::string IcoLineSkin;
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    TFont ExtraLineFont;
};

// True while a skin is loaded or recoloured, and while a new skin is announced.
extern bool SkinChanging;
extern bool SkinAnnouncing;

class TsSkinManager : public TComponent {
public:
    explicit TsSkinManager(TComponent* owner);
    ~TsSkinManager() override;
    std::string ClassName() const override { return "TsSkinManager"; }

    // The application's default manager, or nullptr.
    static TsSkinManager* DefaultManager();

    bool IsDefault() const { return this == DefaultManager(); }
    void SetIsDefault(bool value);
    // Whether the skin is applied: false as well while the manager steps aside
    // for high contrast (the skin comes back when the mode ends).
    bool Active() const { return active_; }
    void SetActive(bool value);
    const std::vector<std::string>& CommonSections() const { return commonSections_; }
    void SetCommonSections(const std::vector<std::string>& lines);
    int Saturation() const { return saturation_; }
    void SetSaturation(int value);
    int HueOffset() const { return hueOffset_; }
    void SetHueOffset(int value);
    TsStoredSkins& InternalSkins() { return internalSkins_; }
    const TsStoredSkins& InternalSkins() const { return internalSkins_; }
    void SetInternalSkins(const TsStoredSkins& value);
    TacMenuSupport& MenuSupport() { return menuSupport_; }
    const std::string& SkinDirectory() const { return skinDirectory_; }
    void SetSkinDirectory(const std::string& value);
    const std::string& SkinName() const { return skinName_; }
    void SetSkinName(const std::string& value);
    // The loaded skin's version, or "N/A" when no skin is loaded; an inactive
    // manager has none applied, whatever its tables still hold.
    std::string SkinInfo() const { return active_ ? korvel::SkinInfo(tables_.SkinData) : "N/A"; }
    static std::string Version() { return "4.73"; }
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    // Live reload (off by default): the current skin's folder is watched, and a
    // save reloads the skin; a save that breaks it is reported once and the
    // look shown stays until the next good save.
    bool LiveReload() const { return liveReload_; }
    void SetLiveReload(bool value);
    // The folder watched for live reload, "" when none (an internal skin, live reload off).
    const std::string& WatchedFolder() const;
    // Keeps the skin while the system's high-contrast mode is on; by default
    // the manager steps aside then, and every window takes the system's look.
    bool KeepSkinInHighContrast() const { return keepSkinInHighContrast_; }
    void SetKeepSkinInHighContrast(bool value);
    // True while high contrast holds the skin off.
    bool SteppedAside() const { return steppedAside_; }

    TNotifyEvent OnAfterChange;
    TNotifyEvent OnBeforeChange;
    // Asked once per popup for its extra line: the popup's first item, then the
    // section, caption, glyph (empty: none) and visibility, each changeable.
    std::function<void(TMenuItem* firstItem, std::string& skinSection, std::string& caption, TBitmap24& glyph,
                       bool& lineVisible)>
        OnGetMenuExtraLineData;

    // The loaded skin.
    const TsSkinTables& Tables() const { return tables_; }
    TsSkinTables& Tables() { return tables_; }
    const TsSkinData& SkinData() const { return tables_.SkinData; }

    // Lookups in the loaded skin.
    int SectionIndexOf(std::string_view name) const { return tables_.SectionIndexOf(name); }
    int MaskIndexOf(int si, std::string_view section, std::string_view prop) const { return tables_.MaskIndexOf(si, section, prop); }
    int PatternIndexOf(int si, std::string_view section, std::string_view prop) const { return tables_.PatternIndexOf(si, section, prop); }
    int TextureIndexOf(int si, std::string_view section, std::string_view prop) const { return tables_.TextureIndexOf(si, section, prop); }
    int OwnMaskIndexOf(std::string_view section, std::string_view prop) const { return tables_.OwnMaskIndexOf(section, prop); }
    bool IsValidSectionIndex(int index) const { return tables_.IsValidSectionIndex(index); }
    bool IsValidMaskIndex(int index) const { return tables_.IsValidMaskIndex(index); }
    TColor GlobalColor() const { return tables_.GlobalColor(); }
    TColor GlobalFontColor() const { return tables_.GlobalFontColor(); }
    std::string ListSkins(std::vector<std::string>& list) const;

    void AnnounceNewSkin();
    void AnnounceSkinRemoved();
    void RefreshAll();

    // The menu skinning (from the installed factory; a do-nothing one without it).
    TacMenuSkinning& SkinableMenus() { return *skinableMenus_; }
    void SetSkinableMenus(std::unique_ptr<TacMenuSkinning> menus);

    // The files skins are read from (null: the disk) and the program's folder; for tests and tools.
    void SetFileSystem(const TsFileSystem* files) { files_ = files; }
    void SetProgramFolder(const std::string& folder) { programFolder_ = folder; }
    // Warnings of the last load (pictures skipped).
    const TsSkinLoadReport& LastLoad() const { return lastLoad_; }

    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ReloadRecoloured();
    void LoadSkinInto(TsSkinTables& tables);
    // Loads the named skin; on failure reports it and keeps the skin shown (named
    // shownName, applied or not as shownApplied tells).
    bool LoadSkinOrReport(const std::string& shownName, bool shownApplied);
    void Broadcast(std::uint32_t command);
    void HookMainWindow();
    void UnhookMainWindow();
    bool Reading() const { return InState(csReading); }
    // Live reload: watches the loaded skin's folder (or nothing), and reloads after a save.
    void UpdateWatch();
    void ReloadWatchedSkin();
    // High contrast: steps aside while the mode is on (unless kept), comes back when it ends.
    bool HighContrastHoldsSkin() const;
    void HighContrastChanged();
    void StepAside();
    void ComeBack();

    bool active_ = true;
    std::vector<std::string> commonSections_;
    int saturation_ = 0;
    int hueOffset_ = 0;
    TsStoredSkins internalSkins_{this};
    TacMenuSupport menuSupport_;
    std::string skinDirectory_;
    std::string skinName_;
    bool skinnedPopups_ = true;
    TsSkinTables tables_;
    std::unique_ptr<TacMenuSkinning> skinableMenus_;
    const TsFileSystem* files_ = nullptr;
    std::string programFolder_;
    TsSkinLoadReport lastLoad_;
    // Set while a definition is read when a load must wait for Loaded (common
    // sections read before the skin's name, a skin kept in high contrast).
    bool loadPending_ = false;
    bool liveReload_ = false;
    std::unique_ptr<TsSkinWatch> watch_;
    std::string shownFolder_;              // the folder of the skin shown, with its separator; "" for an internal skin
    bool watchReported_ = false;           // a broken save was reported; cleared by the next good one
    bool keepSkinInHighContrast_ = false;
    bool steppedAside_ = false;
    std::unique_ptr<TsSettingListener> settingListener_;
    // The main window whose procedure chain holds our hook (linked by FreeNotification).
    TForm* hookedForm_ = nullptr;
};

// Registers TsSkinManager and its stored properties with the framework's class registry.
void RegisterSkinManagerClass();

}  // namespace korvel
