#pragma once
// How korvel-skin loads a skin: exactly as the program does, with the program's
// internal skin as the fallback, and the announcement's cached indexes computed.
#include <string>

#include "skin/skin_loader.h"

namespace korvel {

// Adds "Elegant (internal)", built from the files carried in the tool.
void AddInternalSkin(TsStoredSkins& skins);

struct TToolSkinRequest {
    std::string SkinDirectory;
    std::string SkinName;
    std::string ProgramFolder;                  // with a trailing separator
    std::vector<std::string> CommonSections;
    bool Internal = true;                       // false: no internal skin at all
};

// Loads into tables and report; throws what the load throws.
void LoadToolSkin(const TToolSkinRequest& request, TsSkinTables& tables, TsSkinLoadReport& report);

}  // namespace korvel
