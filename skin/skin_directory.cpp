// Where skins live: the skin directory, the list of skins, the version text.
#include <algorithm>

#include "skin/skin_loader.h"
#include "gui/text_convert.h"

namespace korvel {

std::string FullSkinDirectory(std::string_view skinDirectory, std::string_view programFolder) {
    std::string setting(skinDirectory.empty() ? DefaultSkinDirectory : skinDirectory);
    const std::string program(programFolder);
    std::string result;
    if (setting.starts_with("..")) {
        std::string parent = program;
        if (!parent.empty()) parent.pop_back();
        while (!parent.empty() && parent.back() != '\\' && parent.back() != '/') parent.pop_back();
        result = parent + setting.substr(std::min<std::size_t>(3, setting.size()));
    } else if (setting.starts_with(".\\") || setting.starts_with("./")) {
        result = program + setting.substr(2);
    } else if (setting.find(':') == std::string::npos && !(setting.starts_with("/") && program.starts_with("/"))) {
        // A program living on a POSIX file system (the native build) honours POSIX absolute paths.
        result = program + setting;
    } else {
        result = setting;
    }
    if (result.size() == 1) return result + ":\\";
    if (!result.empty() && result.back() == '/') result.back() = '\\';
    else if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}

std::string ListSkins(std::vector<std::string>& list, std::string_view skinDirectory, std::string_view programFolder,
                      const TsStoredSkins* internalSkins, const TsFileSystem& files) {
    list.clear();
    if (internalSkins)
        for (int i = 0; i < internalSkins->Count(); ++i) list.push_back((*internalSkins)[i].Name);
    const std::string directory = FullSkinDirectory(skinDirectory, programFolder);
    if (files.DirectoryExists(directory)) {
        for (const TsFileSystem::Entry& e : files.ListDirectory(directory)) {
            if (!e.Directory || e.Name.starts_with(".")) continue;
            if (files.FileExists(directory + e.Name + "\\Options.dat")) list.push_back(e.Name);
        }
    }
    const std::string first = list.empty() ? std::string() : list.front();
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    return first;
}

std::string SkinInfo(const TsSkinData& skinData) { return skinData.Active ? FloatToStr(skinData.Version) : "N/A"; }

}  // namespace korvel
