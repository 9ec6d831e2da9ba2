#pragma once
// Skin folders that lack sections, as real users bring them, made from the
// shipped Basalt folder (its options with sections taken out, its pictures
// copied): the same five folders tests/e2e/lib.sh writes for the end-to-end
// test. Also the list of shipped skins the soak switches among.
#include <windows.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "gui/text.h"
#include "gui/text_convert.h"
#include "gui_test_support.h"
#include "skin_list_support.h"

namespace korvel::testing {

// The skins a user gets with the program: the stored one and the shipped
// folders, as tests/data/skins.list names them for every picture test.
inline const std::vector<std::string>& ShippedSkins() {
    static const std::vector<std::string> skins = [] {
        std::vector<std::string> names;
        for (const TListedSkin& skin : ListedSkins()) names.push_back(skin.Name);
        return names;
    }();
    return skins;
}

struct TIncompleteSkin {
    std::string Name;
    std::set<std::string> Without;              // sections taken out (upper case)
    std::set<std::string> Only;                 // when not empty: the only sections kept
    std::vector<std::string> MissingPictures;   // files of Basalt's that are not copied
};

inline const std::vector<TIncompleteSkin>& IncompleteSkins() {
    static const std::vector<TIncompleteSkin> skins = {
        {"Lacking controls", {"BUTTON", "EDIT", "CHECKBOX"}, {}, {}},
        {"Lacking form", {"FORM"}, {}, {}},
        {"Lacking menus", {"MAINMENU", "MENUITEM"}, {}, {}},
        // Named by 6 + 2 + 1 + 1 + 1 + 1 keys of Basalt's options.
        {"Lacking pictures", {}, {}, {"MASTER.BMP", "BUTTON.BMP", "SUNKEN.BMP", "SLATE.JPG", "BOXCHECKED.BMP",
                                      "BOXGRAYED.BMP"}},
        {"Only globals", {}, {"GLOBALINFO"}, {}},
    };
    return skins;
}

// The lines of a text file, without their line ends.
inline std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(Widen(path).c_str(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The options lines of a skin without some of its sections (or with only some).
inline std::vector<std::string> OptionsOf(const std::vector<std::string>& lines, const TIncompleteSkin& skin) {
    std::vector<std::string> out;
    bool keep = true;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '[') {
            const std::string name = UpperCase(line.substr(1, line.find(']') - 1));
            keep = skin.Without.count(name) == 0 && (skin.Only.empty() || skin.Only.count(name) > 0);
        }
        if (keep) out.push_back(line);
    }
    return out;
}

// Writes the five incomplete folders and a copy of every shipped skin folder into
// <temp>\korvel-incomplete-<tag>-<pid>; returns that skin directory.
inline std::string WriteIncompleteSkins(const std::string& tag) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::string directory =
        Narrow(temp) + "korvel-incomplete-" + tag + "-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Widen(directory).c_str(), nullptr);
    const auto copyFolder = [&](const std::string& from, const std::string& to,
                                const std::vector<std::string>& leaveOut) {
        CreateDirectoryW(Widen(to).c_str(), nullptr);
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(Widen(from + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            const std::string name = Narrow(found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            bool left = false;
            for (const std::string& l : leaveOut) left = left || UpperCase(l) == UpperCase(name);
            if (!left) CopyFileW(Widen(from + "\\" + name).c_str(), Widen(to + "\\" + name).c_str(), FALSE);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    };
    for (const std::string& shipped : ShippedSkins()) {
        const std::string source = SourcePath("skins/" + shipped);
        if (GetFileAttributesW(Widen(source).c_str()) != INVALID_FILE_ATTRIBUTES)
            copyFolder(source, directory + "\\" + shipped, {});
    }
    const std::string basalt = SourcePath("skins/Basalt");
    const std::vector<std::string> options = ReadLines(basalt + "\\Options.dat");
    for (const TIncompleteSkin& skin : IncompleteSkins()) {
        const std::string folder = directory + "\\" + skin.Name;
        copyFolder(basalt, folder, skin.MissingPictures);
        std::ofstream out(Widen(folder + "\\Options.dat").c_str(), std::ios::binary | std::ios::trunc);
        for (const std::string& line : OptionsOf(options, skin)) out << line << "\r\n";
    }
    return directory;
}

}  // namespace korvel::testing
