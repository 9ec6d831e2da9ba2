// skin-art: draws the artwork of the built-in skin and of the shipped folder
// skins, checks them, and renders previews to look at.
//
//   skin-art generate ROOT        write skin/internal/, skins/Basalt/ and skins/Opal/ under ROOT
//   skin-art check ROOT           check every skin and that the files match the program
//   skin-art preview ROOT OUTDIR  write PNG previews, enlarged 4x, into OUTDIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/skin-art/image_io.h"
#include "tools/skin-art/preview.h"
#include "tools/skin-art/skin_check.h"
#include "tools/skin-art/skins.h"

namespace fs = std::filesystem;
using namespace korvel::art;

namespace {

struct TSkinOutput {
    const char* Folder;
    const char* OptionsFile;
    std::vector<TSkinFile> (*Files)();
};

const TSkinOutput kSkins[] = {
    {"skin/internal", "elegant.ini", ElegantFiles},
    {"skins/Basalt", "Options.dat", BasaltFiles},
    {"skins/Opal", "Options.dat", OpalFiles},
};

int Generate(const fs::path& root) {
    for (const auto& skin : kSkins) {
        fs::create_directories(root / skin.Folder);
        for (const auto& file : skin.Files()) WriteFile((root / skin.Folder / file.Name).string(), file.Bytes);
    }
    return 0;
}

int Check(const fs::path& root) {
    int faults = 0;
    for (const auto& skin : kSkins) {
        for (const auto& file : skin.Files()) {
            const fs::path path = root / skin.Folder / file.Name;
            std::vector<std::uint8_t> bytes;
            try {
                bytes = ReadFile(path.string());
            } catch (const std::exception&) {
            }
            if (bytes != file.Bytes) {
                std::fprintf(stderr, "%s: differs from what skin-art draws; run skin-art generate\n", path.string().c_str());
                ++faults;
            }
        }
        for (const auto& fault : CheckSkinFolder((root / skin.Folder).string(), skin.OptionsFile)) {
            std::fprintf(stderr, "%s: %s\n", skin.Folder, fault.c_str());
            ++faults;
        }
    }
    if (faults == 0) std::printf("every skin is sound\n");
    return faults == 0 ? 0 : 1;
}

int Preview(const fs::path& root, const fs::path& out) {
    fs::create_directories(out);
    for (const auto& skin : kSkins) {
        const std::string name = fs::path(skin.Folder).filename().string();
        try {
            const TPreviewSkin loaded((root / skin.Folder).string(), skin.OptionsFile);
            WriteFile((out / (name + "-sheet.png")).string(), EncodePng(PreviewSheet(loaded).Enlarged(4)));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: no preview: %s\n", skin.Folder, e.what());
        }
    }
    WriteFile((out / "elegant-master-4x.png").string(), EncodePng(ElegantMaster().Enlarged(4)));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "generate" && argc == 3) return Generate(argv[2]);
        if (command == "check" && argc == 3) return Check(argv[2]);
        if (command == "preview" && argc == 4) return Preview(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skin-art %s: %s\n", command.c_str(), e.what());
        return 1;
    }
    std::fprintf(stderr,
                 "usage: skin-art generate ROOT | check ROOT | preview ROOT OUTDIR\n"
                 "  ROOT is the source tree; the skins are skin/internal/, skins/Basalt/ and skins/Opal/ under it\n");
    return 2;
}
