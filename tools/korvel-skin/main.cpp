// korvel-skin: skin checking from the command line.
//   korvel-skin dump SKINDIR NAME   loads the named skin as the program would and prints it
// "preview" and "render" are reserved for drawing a skin's controls.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "skin/skin_loader.h"
#include "skin/text_convert.h"
#include "skin_dump.h"

using namespace korvel;

namespace {

const char* const Usage = R"(usage: korvel-skin dump SKINDIR NAME [options]
       korvel-skin --help

dump    Loads the skin NAME from the skin directory SKINDIR exactly as the
        program does: SKINDIR is resolved against the program folder (".\",
        "..", relative and absolute forms), SKINDIR\NAME\Options.dat is read
        when it exists, otherwise the internal skin of that name (or the first
        internal skin) is loaded. Prints every table the load filled.
        Exits 0 after a load, 1 when the load ends with an error (the error
        text goes to standard error), 2 on wrong usage.

options:
  --program-folder DIR   the folder the skin directory is resolved against
                         (default: the folder of this executable)
  --common FILE          lines of common sections to add to the skin
  --no-internal          load with no internal skin at all
)";

// Until the internal skin's data is linked in here, it is an empty stored skin
// under its own name, so the fallback path is exercised as the program takes it.
void AddInternalSkin(TsStoredSkins& skins) {
    TsStoredSkin& skin = skins.Add();
    skin.Name = "Elegant (internal)";
}

std::string ExecutableFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string() + "/";
}

int Dump(const std::vector<std::string>& args, const char* argv0) {
    if (args.size() < 2) {
        std::cerr << Usage;
        return 2;
    }
    TsSkinLoadRequest request;
    request.SkinDirectory = args[0];
    request.SkinName = args[1];
    request.ProgramFolder = ExecutableFolder(argv0);
    bool internal = true;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--program-folder" && i + 1 < args.size()) {
            request.ProgramFolder = args[++i];
            if (!request.ProgramFolder.empty() && request.ProgramFolder.back() != '/' && request.ProgramFolder.back() != '\\')
                request.ProgramFolder += '/';
        } else if (args[i] == "--common" && i + 1 < args.size()) {
            std::ifstream in(args[++i]);
            if (!in) {
                std::cerr << "korvel-skin: cannot read " << args[i] << '\n';
                return 2;
            }
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                // As the manager keeps them: blanks removed except in comment lines.
                if (!line.starts_with(";")) std::erase(line, ' ');
                request.CommonSections.push_back(line);
            }
        } else if (args[i] == "--no-internal") {
            internal = false;
        } else {
            std::cerr << "korvel-skin: unknown option " << args[i] << '\n' << Usage;
            return 2;
        }
    }
    TsStoredSkins internalSkins(nullptr);
    if (internal) AddInternalSkin(internalSkins);
    request.InternalSkins = &internalSkins;

    TsSkinTables tables;
    TsSkinLoadReport report;
    try {
        LoadSkin(request, tables, report);
    } catch (const std::exception& e) {
        for (const std::string& w : report.Warnings) std::cerr << "warning: " << w << '\n';
        std::cerr << "korvel-skin: " << e.what() << '\n';
        return 1;
    }
    // What the manager does when it announces the skin.
    tables.ComputeCachedIndexes();
    tables.SkinData.Active = report.Active;
    DumpSkin(std::cout, report, tables);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << Usage;
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << Usage << '\n' << DumpFormatHelp;
        return 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "dump") return Dump(args, argv[0]);
    if (command == "preview" || command == "render") {
        std::cerr << "korvel-skin: \"" << command << "\" is not available in this version\n";
        return 2;
    }
    std::cerr << "korvel-skin: unknown command " << command << '\n' << Usage;
    return 2;
}
