#include "skin_source.h"

#include <string_view>

#include "embedded_skin.h"
#include "skin/internal_skin.h"

namespace korvel {

void AddInternalSkin(TsStoredSkins& skins) {
    const auto& text = embedded::ElegantOptions;
    BuildInternalSkin(skins.Add(), std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                      embedded::ElegantMaster);
}

void LoadToolSkin(const TToolSkinRequest& request, TsSkinTables& tables, TsSkinLoadReport& report) {
    TsStoredSkins internalSkins(nullptr);
    if (request.Internal) AddInternalSkin(internalSkins);
    TsSkinLoadRequest load;
    load.SkinDirectory = request.SkinDirectory;
    load.SkinName = request.SkinName;
    load.ProgramFolder = request.ProgramFolder;
    load.CommonSections = request.CommonSections;
    load.InternalSkins = &internalSkins;
    LoadSkin(load, tables, report);
    // What the manager does when it announces the skin.
    tables.ComputeCachedIndexes();
    tables.SkinData.Active = report.Active;
}

}  // namespace korvel
