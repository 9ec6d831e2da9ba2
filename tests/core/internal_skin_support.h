#pragma once
// Test support: the internal skin loaded as the program loads it (a skin
// directory without a folder of that name, so the stored skin is taken), built
// from its data in the source tree.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/internal_skin.h"
#include "skin/skin_files.h"
#include "skin/skin_loader.h"

namespace korvel::testing {

inline const std::string SourceDir = KORVEL_SOURCE_DIR;

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The stored skins holding "Elegant (internal)", built from skin/internal/.
inline void BuildInternalSkins(TsStoredSkins& stored) {
    BuildInternalSkin(stored.Add(), ReadText(SourceDir + "/skin/internal/elegant.ini"),
                      ReadBytes(SourceDir + "/skin/internal/elegant_master.bmp"));
}

// Loads "Elegant (internal)" from the stored skins into tables, with no skin folder on disk.
inline void LoadInternalSkin(const TsStoredSkins& stored, TsSkinTables& tables, TsSkinLoadReport& report) {
    TsMemoryFileSystem noFiles;
    TsSkinLoadRequest request;
    request.SkinDirectory = "c:\\korvel\\skins";
    request.SkinName = "Elegant (internal)";
    request.ProgramFolder = "c:\\korvel\\";
    request.InternalSkins = &stored;
    request.Files = &noFiles;
    LoadSkin(request, tables, report);
    tables.ComputeCachedIndexes();
}

}  // namespace korvel::testing
