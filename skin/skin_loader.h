#pragma once
// Loading a skin into the run-time tables: from a skin folder (D\N\Options.dat
// with its pictures) or, when there is none, from the stored internal skins;
// then the common sections; then recolouring. Also the resolution of the skin
// directory, the list of available skins and the loaded skin's version text.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_data.h"
#include "skin/skin_files.h"
#include "skin/stored_skin.h"

namespace korvel {

constexpr std::string_view DefaultSkinDirectory = "c:\\Skins";

struct TsSkinLoadReport {
    std::string SkinName;                       // the name loaded; an internal skin's name after a fallback
    bool Active = true;                         // false: no source at all, nothing was loaded
    bool FromFolder = false;
    std::vector<std::string> Warnings;          // picture files skipped, with the reason
    // Where a load that threw stopped: the file read (the options file's path,
    // or CommonSectionsFile) and the 1-based line of the key or section being
    // read then; FailedLine 0 when the load had not reached a line.
    std::string FailedFile;
    int FailedLine = 0;
};

// The name FailedFile gives the manager's common sections, which are no file.
constexpr std::string_view CommonSectionsFile = "(common sections)";

struct TsSkinLoadRequest {
    std::string SkinDirectory;                  // the manager's setting; empty means DefaultSkinDirectory
    std::string SkinName;
    std::string ProgramFolder;                  // folder of the program's executable, with a trailing separator
    std::vector<std::string> CommonSections;    // lines of initialisation text, blanks already removed
    const TsStoredSkins* InternalSkins = nullptr;
    const TsSkinManager* Manager = nullptr;     // recorded in every mask entry
    const TsFileSystem* Files = nullptr;        // null: the disk
    // The last step: the manager's hue and saturation, applied afresh.
    std::function<void(TsSkinTables&)> Recolour;
    // Told which skin is loaded (or that none can be) once the source is chosen,
    // before any pass runs: a pass that fails later leaves that choice standing.
    std::function<void(const TsSkinLoadReport&)> SourceChosen;
};

// Fills the tables in the order masks, patterns, sections, recolouring,
// emptying each table just before it is filled. A value that must be an
// integer and is not throws EConvertError; the tables keep what was loaded
// up to then, and the report what happened up to then, with the place the
// load stopped at.
void LoadSkin(const TsSkinLoadRequest& request, TsSkinTables& tables, TsSkinLoadReport& report);

// True when a skin value names a JPEG file (".JPG" or ".JPEG", any case).
bool IsJpegName(std::string_view value);

// A JPEG of fewer pixels than this becomes a texture mask, one of at least as
// many a pattern (skin folders only).
constexpr std::int64_t MinPatternPixels = 90000;

// The skin directory resolved against the program's folder, ending in "\".
std::string FullSkinDirectory(std::string_view skinDirectory, std::string_view programFolder);

// Fills list with the names of the internal skins and of the skin folders
// holding an Options.dat, sorted without regard to case; returns the first
// name found (the first internal skin's, else the first folder's), or "".
std::string ListSkins(std::vector<std::string>& list, std::string_view skinDirectory, std::string_view programFolder,
                      const TsStoredSkins* internalSkins, const TsFileSystem& files = DiskFileSystem());

// The loaded skin's version as text, or "N/A" when no skin is loaded.
std::string SkinInfo(const TsSkinData& skinData);

}  // namespace korvel
