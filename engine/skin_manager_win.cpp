// The skin manager: loading, recolouring and announcing skins.
#include "engine/skin_manager.h"

#include <algorithm>
#include <exception>

#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/font_properties.h"
#include "gui/forms.h"
#include "gui/text.h"
#include "engine/high_contrast.h"
#include "engine/skin_message.h"
#include "engine/skin_recolour.h"
#include "engine/skin_watch.h"
#include "skin/internal_skin.h"
#include "gui/text_convert.h"

namespace korvel {

bool SkinChanging = false;
bool SkinAnnouncing = false;

namespace {

TsSkinManager* defaultManager = nullptr;

std::string ProgramFolderOfModule() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    const auto slash = p.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1));
}

// The bytes of an RCDATA resource of the module; throws EConvertError when it is missing.
std::span<const std::uint8_t> RcDataBytes(HMODULE module, const TValue& value) {
    if (value.Kind != TValueKind::Resource) throw EConvertError("resource 'NAME' expected");
    if (!module) module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, Widen(value.Text).c_str(), MAKEINTRESOURCEW(10));   // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EConvertError(FormatText("Resource %s not found", {value.Text}));
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

// One stored skin as the definition writes it: its options text (Data) and its
// master bitmap file (MasterBitmap), both resources of the module.
void ReadStoredSkin(TsStoredSkin& skin, const std::vector<TNamedValue>& item, HMODULE module) {
    std::span<const std::uint8_t> options, master;
    bool haveOptions = false, haveMaster = false;
    for (const TNamedValue& assignment : item) {
        if (assignment.Name == "Data") {
            options = RcDataBytes(module, assignment.Value);
            haveOptions = true;
        } else if (assignment.Name == "MasterBitmap") {
            master = RcDataBytes(module, assignment.Value);
            haveMaster = true;
        } else {
            throw EConvertError(FormatText("unknown stored skin property '%s'", {assignment.Name}));
        }
    }
    if (!haveOptions || !haveMaster) throw EConvertError("a stored skin needs both Data and MasterBitmap");
    BuildInternalSkin(skin, std::string_view(reinterpret_cast<const char*>(options.data()), options.size()), master);
}

}  // namespace

TsSkinManager* TsSkinManager::DefaultManager() { return defaultManager; }

TsSkinManager::TsSkinManager(TComponent* owner) : TComponent(owner) {
    skinnedPopups_ = true;
    hueOffset_ = 0;
    if (!defaultManager) {
        defaultManager = this;
        HookMainWindow();
    }
    active_ = true;
    skinableMenus_ = MakeMenuSkinning(this);
    tables_.Clear();
    if (skinDirectory_.empty()) skinDirectory_ = std::string(DefaultSkinDirectory);
    programFolder_ = ProgramFolderOfModule();
    settingListener_ = std::make_unique<TsSettingListener>([this] { HighContrastChanged(); });
}

TsSkinManager::~TsSkinManager() {
    // Controls that name this manager let go of it when they hear the removal.
    Destroying();
    settingListener_.reset();
    watch_.reset();
    if (active_) {
        active_ = false;
        if (!Reading()) AnnounceSkinRemoved();
    }
    internalSkins_.Clear();
    skinableMenus_.reset();
    commonSections_.clear();
    tables_.Clear();
    UnhookMainWindow();
    if (defaultManager == this) defaultManager = nullptr;
}

void TsSkinManager::HookMainWindow() {
    if (InState(csDesigning) || hookedForm_) return;
    TForm* form = Application().MainForm();
    if (!form) form = GetOwnerForm(Owner());
    if (!form) return;
    form->HookWindowProc(this, [this](TMessage& message, const TWndNext& next) {
        if (message.Msg == WM_SKINMENUITEM || message.Msg == WM_SKINMENUWINDOW) {
            if (message.Msg == WM_SKINMENUITEM) SkinableMenus().HookItem(message.LParam);
            else SkinableMenus().HookPopupWindow(message.LParam);
            return;
        }
        next(message);
    });
    hookedForm_ = form;
    FreeNotification(form);
}

void TsSkinManager::UnhookMainWindow() {
    if (!hookedForm_) return;
    hookedForm_->UnhookWindowProc(this);   // only our own hook, wherever it sits in the chain
    RemoveFreeNotification(hookedForm_);
    hookedForm_ = nullptr;
}

void TsSkinManager::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hookedForm_) hookedForm_ = nullptr;
}

void TsSkinManager::SetSkinableMenus(std::unique_ptr<TacMenuSkinning> menus) {
    skinableMenus_ = menus ? std::move(menus) : std::make_unique<TacMenuSkinning>();
}

void TsSkinManager::Broadcast(std::uint32_t command) {
    TMessage message{SM_ALPHACMD, PackSkinCommand(command), reinterpret_cast<LPARAM>(this), 0};
    BroadcastToForms(message);
}

void TsSkinManager::LoadSkinInto(TsSkinTables& tables) {
    TsSkinLoadRequest request;
    request.SkinDirectory = skinDirectory_;
    request.SkinName = skinName_;
    request.ProgramFolder = programFolder_;
    request.CommonSections = commonSections_;
    request.InternalSkins = &internalSkins_;
    request.Manager = this;
    request.Files = files_;
    const int hue = hueOffset_;
    const int saturation = saturation_;
    request.Recolour = [hue, saturation](TsSkinTables& tables) { RecolourSkin(tables, hue, saturation); };
    request.SourceChosen = [this](const TsSkinLoadReport& chosen) {
        if (!chosen.SkinName.empty()) skinName_ = chosen.SkinName;
        if (!chosen.Active) active_ = false;
    };
    loadPending_ = false;
    if (menuSupport_.IcoLineSkin.empty()) menuSupport_.IcoLineSkin = "ICOLINE";
    lastLoad_ = TsSkinLoadReport{};
    korvel::LoadSkin(request, tables, lastLoad_);
}

// A skin that cannot be read ends the change: the change flag is cleared and
// the error reported through the application. The load fills fresh tables,
// taken only when complete, so the skin shown until then stays whole, and so
// do the name and state that describe it.
bool TsSkinManager::LoadSkinOrReport(const std::string& shownName, bool shownApplied) {
    const bool shownActive = active_;
    TsSkinTables fresh;
    fresh.SkinData.SkinPath = tables_.SkinData.SkinPath;
    fresh.SkinData.Active = tables_.SkinData.Active;
    try {
        LoadSkinInto(fresh);
    } catch (const std::exception& error) {
        skinName_ = shownName;
        active_ = shownActive;
        tables_.SkinData.Active = shownApplied;
        SkinChanging = false;
        Application().HandleException(error);
        return false;
    }
    tables_ = std::move(fresh);
    shownFolder_ = lastLoad_.FromFolder ? tables_.SkinData.SkinPath : std::string();
    watchReported_ = false;
    UpdateWatch();
    return true;
}

void TsSkinManager::SetSkinName(const std::string& value) {
    const std::string shownName = skinName_;
    skinName_ = value;
    if (!active_) return;
    if (HighContrastHoldsSkin()) return StepAside();   // the name is kept for the mode's end
    if (OnBeforeChange) OnBeforeChange(this);
    SkinChanging = true;
    const bool shownApplied = tables_.SkinData.Active;
    tables_.SkinData.Active = false;
    if (!LoadSkinOrReport(shownName, shownApplied)) return;
    AnnounceNewSkin();
    SkinChanging = false;
    if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::SetActive(bool value) {
    // While high contrast holds the skin off, only whether it comes back changes.
    if (steppedAside_) {
        steppedAside_ = value;
        return;
    }
    if (value == active_) return;
    if (value && HighContrastHoldsSkin()) {
        steppedAside_ = true;
        return;
    }
    active_ = value;
    if (value) {
        SetSkinName(skinName_);
        return;
    }
    UpdateWatch();
    if (!Reading()) AnnounceSkinRemoved();
    tables_.ComputeCachedIndexes();
}

void TsSkinManager::SetIsDefault(bool value) {
    if (value || !defaultManager) {
        defaultManager = this;
        HookMainWindow();
        if (!active_) {
            AnnounceSkinRemoved();
        } else {
            AnnounceNewSkin();
            RefreshAll();
        }
    }
    // False while another manager is the default: nothing changes.
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == skinDirectory_) return;
    skinDirectory_ = value;
    tables_.SkinData.SkinPath = FullSkinDirectory(skinDirectory_, programFolder_);
}

void TsSkinManager::SetCommonSections(const std::vector<std::string>& lines) {
    commonSections_.clear();
    for (std::string line : lines) {
        if (line.empty() || line[0] != ';') line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
        commonSections_.push_back(std::move(line));
    }
    // A stored definition names its skin (and holds its stored skins) after the
    // common sections: loading now would find no skin and switch skinning off.
    if (Reading()) {
        loadPending_ = true;
        return;
    }
    SetSkinName(skinName_);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    if (value == skinnedPopups_) return;
    skinnedPopups_ = value;
    if (!InState(csDesigning)) skinableMenus_->InstallPopups(value);
}

void TsSkinManager::SetHueOffset(int value) {
    if (value == hueOffset_) return;
    hueOffset_ = value;
    ReloadRecoloured();
}

void TsSkinManager::SetSaturation(int value) {
    if (value == saturation_) return;
    saturation_ = value;
    ReloadRecoloured();
}

// Recolouring always starts again from the skin's own colours: reload, then repaint.
void TsSkinManager::ReloadRecoloured() {
    if (!tables_.SkinData.Active) return;
    SkinChanging = true;
    if (!LoadSkinOrReport(skinName_, tables_.SkinData.Active)) return;
    SkinChanging = false;
    if (!Reading()) RefreshAll();
}

void TsSkinManager::SetInternalSkins(const TsStoredSkins& value) {
    if (&value == &internalSkins_) return;
    internalSkins_.AssignItems(value);
}

std::string TsSkinManager::ListSkins(std::vector<std::string>& list) const {
    return korvel::ListSkins(list, skinDirectory_, programFolder_, &internalSkins_,
                             files_ ? *files_ : DiskFileSystem());
}

void TsSkinManager::AnnounceNewSkin() {
    skinableMenus_->ResetBorderWidth();
    tables_.SkinData.Active = false;
    SkinAnnouncing = true;
    tables_.ComputeCachedIndexes();
    Broadcast(SMC_SKINCHANGED);
    SkinAnnouncing = false;
    tables_.SkinData.Active = true;
    RefreshAll();
}

void TsSkinManager::RefreshAll() {
    if (!InState(csDesigning)) Broadcast(SMC_STOPFADE);
    Broadcast(SMC_SKINAPPLIED);
}

void TsSkinManager::AnnounceSkinRemoved() {
    tables_.SkinData.Active = false;
    Broadcast(SMC_SKINREMOVED);
    tables_.ClearMasks();
    tables_.ClearPatterns();
    tables_.ClearSections();
}

void TsSkinManager::Loaded() {
    TComponent::Loaded();
    if (skinDirectory_.empty()) skinDirectory_ = std::string(DefaultSkinDirectory);
    if (menuSupport_.IcoLineSkin.empty()) menuSupport_.IcoLineSkin = "ICOLINE";
    if (!active_ || skinName_.empty()) return;
    if (loadPending_) SetSkinName(skinName_);   // loads what waited for the whole definition, then announces
    else AnnounceNewSkin();
}

const std::string& TsSkinManager::WatchedFolder() const {
    static const std::string none;
    return watch_ ? watch_->Folder() : none;
}

void TsSkinManager::SetLiveReload(bool value) {
    if (value == liveReload_) return;
    liveReload_ = value;
    UpdateWatch();
}

void TsSkinManager::UpdateWatch() {
    const bool watching = liveReload_ && active_ && !shownFolder_.empty() && !InState(csDesigning) &&
                          !InState(csDestroying);
    // Without its separator: a folder name as CreateFile opens it.
    const std::string folder = watching ? shownFolder_.substr(0, shownFolder_.size() - 1) : std::string();
    if (folder.empty() && !watch_) return;
    if (!watch_) watch_ = std::make_unique<TsSkinWatch>([this] { ReloadWatchedSkin(); });
    watch_->Watch(folder);
}

// A save has settled in the watched folder. The reload fills fresh tables and
// takes them only when they are whole and come from that folder; a broken
// skin is reported once, until a good save ends the breakage.
void TsSkinManager::ReloadWatchedSkin() {
    if (!active_ || shownFolder_.empty()) return;
    // An editor that writes a new file and renames it over the old one leaves
    // the folder without options for a moment, and one that holds the file
    // open may keep it from being read: the load would fall back to an internal
    // skin. The change that completes the save comes next.
    if (!(files_ ? *files_ : DiskFileSystem()).FileExists(shownFolder_ + "Options.dat")) return;
    const std::string shownName = skinName_;
    const TsSkinLoadReport shownLoad = lastLoad_;
    TsSkinTables fresh;
    fresh.SkinData.SkinPath = tables_.SkinData.SkinPath;
    fresh.SkinData.Active = tables_.SkinData.Active;
    const auto keepShown = [&] {
        skinName_ = shownName;
        active_ = true;
        lastLoad_ = shownLoad;
    };
    try {
        LoadSkinInto(fresh);
    } catch (const std::exception& error) {
        keepShown();
        if (watchReported_) return;
        watchReported_ = true;
        Application().HandleException(error);
        return;
    }
    if (!lastLoad_.FromFolder || fresh.SkinData.SkinPath != shownFolder_) return keepShown();
    watchReported_ = false;
    SkinChanging = true;
    tables_ = std::move(fresh);
    AnnounceNewSkin();
    SkinChanging = false;
}

bool TsSkinManager::HighContrastHoldsSkin() const {
    return !keepSkinInHighContrast_ && !InState(csDesigning) && HighContrastOn();
}

void TsSkinManager::SetKeepSkinInHighContrast(bool value) {
    if (value == keepSkinInHighContrast_) return;
    keepSkinInHighContrast_ = value;
    HighContrastChanged();
}

// The system's settings changed (or the manager's own): step aside or come back.
void TsSkinManager::HighContrastChanged() {
    const bool holds = HighContrastHoldsSkin();
    if (holds && active_) StepAside();
    else if (!holds && steppedAside_) ComeBack();
}

// As when the manager is made inactive: every window takes the system's look.
void TsSkinManager::StepAside() {
    steppedAside_ = true;
    active_ = false;
    UpdateWatch();
    if (!Reading()) AnnounceSkinRemoved();
    tables_.ComputeCachedIndexes();
}

// As when the manager is made active again: the skin named is loaded and announced.
void TsSkinManager::ComeBack() {
    steppedAside_ = false;
    active_ = true;
    if (Reading()) {
        loadPending_ = true;
        return;
    }
    SetSkinName(skinName_);
}

void RegisterSkinManagerClass() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterFrameworkClasses();
    auto& r = TClassRegistry::Instance();
    r.RegisterClass<TsSkinManager>("TsSkinManager", "TComponent");
    using M = TsSkinManager;
    using S = std::function<void(M&, const TValue&, TReadContext&)>;
    const auto prop = [&r](const std::string& name, S setter) { r.RegisterProperty<M>("TsSkinManager", name, std::move(setter)); };
    prop("IsDefault", [](M& m, const TValue& v, TReadContext&) { m.SetIsDefault(v.AsBoolean()); });
    prop("Active", [](M& m, const TValue& v, TReadContext&) { m.SetActive(v.AsBoolean()); });
    prop("CommonSections", [](M& m, const TValue& v, TReadContext&) {
        if (v.Kind != TValueKind::StringList) throw EConvertError("CommonSections needs a list of strings");
        m.SetCommonSections(v.Items);
    });
    prop("Saturation", [](M& m, const TValue& v, TReadContext&) { m.SetSaturation(v.AsInteger()); });
    prop("HueOffset", [](M& m, const TValue& v, TReadContext&) { m.SetHueOffset(v.AsInteger()); });
    // Every item is built completely before the manager's stored skins are replaced.
    prop("InternalSkins", [](M& m, const TValue& v, TReadContext& c) {
        if (v.Kind != TValueKind::Collection) throw EConvertError("InternalSkins needs a collection");
        TsStoredSkins skins(&m);
        for (const auto& item : v.CollectionItems) ReadStoredSkin(skins.Add(), item, c.Module());
        m.SetInternalSkins(skins);
    });
    prop("SkinDirectory", [](M& m, const TValue& v, TReadContext&) { m.SetSkinDirectory(v.AsString()); });
    prop("SkinName", [](M& m, const TValue& v, TReadContext&) { m.SetSkinName(v.AsString()); });
    prop("SkinInfo", [](M&, const TValue&, TReadContext&) {});
    prop("SkinnedPopups", [](M& m, const TValue& v, TReadContext&) { m.SetSkinnedPopups(v.AsBoolean()); });
    prop("LiveReload", [](M& m, const TValue& v, TReadContext&) { m.SetLiveReload(v.AsBoolean()); });
    prop("KeepSkinInHighContrast", [](M& m, const TValue& v, TReadContext&) { m.SetKeepSkinInHighContrast(v.AsBoolean()); });
    prop("MenuSupport.IcoLineSkin", [](M& m, const TValue& v, TReadContext&) { m.MenuSupport().IcoLineSkin = v.AsString(); });
    prop("MenuSupport.UseExtraLine", [](M& m, const TValue& v, TReadContext&) { m.MenuSupport().UseExtraLine = v.AsBoolean(); });
    prop("MenuSupport.ExtraLineWidth", [](M& m, const TValue& v, TReadContext&) { m.MenuSupport().ExtraLineWidth = v.AsInteger(); });
    RegisterFontProperties<M>("TsSkinManager", "MenuSupport.ExtraLineFont.",
                              [](M& m) -> TFont& { return m.MenuSupport().ExtraLineFont; });
    prop("OnAfterChange", [](M& m, const TValue& v, TReadContext& c) { m.OnAfterChange = c.Handler(v); });
    prop("OnBeforeChange", [](M& m, const TValue& v, TReadContext& c) { m.OnBeforeChange = c.Handler(v); });
}

}  // namespace korvel
