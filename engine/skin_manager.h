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
    bool commonSectionsPending_ = false;   // set while a definition is read, until a load takes them
    // The main window whose procedure chain holds our hook (linked by FreeNotification).
    TForm* hookedForm_ = nullptr;
};

// Registers TsSkinManager and its stored properties with the framework's class registry.
void RegisterSkinManagerClass();

}  // namespace korvel
