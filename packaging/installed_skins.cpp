// installed_skins PROGRAM.EXE: what an installed copy of the program finds in
// its skin directory, without starting it. Reads the skin directory the
// program's stored main window definition gives its skin manager, resolves it
// against the program's folder the way the program does, lists the skin
// folders there and loads each one. Tab-separated lines:
//   directory  <resolved skin directory>
//   skin  <name>  <folder|internal|none>  sections=N  masks=N  patterns=N  warnings=N
//   warning  <name>  <text>            (a picture the skin names that could not be read)
//   error  <name>  <text>              (the load stopped)
// Exit code 0 when the listing ran, 1 when the program or its definition cannot be read.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "gui/definition_parser.h"
#include "gui/text.h"
#include "skin/skin_loader.h"

using namespace korvel;

namespace {

const TDefinitionObject* FindByClass(const TDefinitionObject& object, const std::string& className) {
    if (object.ClassName == className) return &object;
    for (const TDefinitionObject& child : object.Children)
        if (const TDefinitionObject* found = FindByClass(child, className)) return found;
    return nullptr;
}

std::string StringProperty(const TDefinitionObject& object, const std::string& name) {
    for (const TDefinitionAssignment& a : object.Properties)
        if (a.Name == name && a.Value.Kind == TDefinitionValueKind::String) return a.Value.Text;
    return {};
}

// The main window's definition, from the program's resources (never run: loaded as data).
std::string StoredDefinition(const std::wstring& program) {
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    HRSRC found = FindResourceW(module, L"MAINWINDOW", MAKEINTRESOURCEW(10));   // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (const void* data = loaded ? LockResource(loaded) : nullptr)
        text.assign(static_cast<const char*>(data), SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

const char* SourceOf(const TsSkinLoadReport& report) {
    if (!report.Active) return "none";
    return report.FromFolder ? "folder" : "internal";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fwprintf(stderr, L"usage: installed_skins PROGRAM.EXE\n");
        return 64;
    }
    wchar_t full[MAX_PATH] = {};
    if (!GetFullPathNameW(argv[1], MAX_PATH, full, nullptr)) return 1;
    const std::wstring program(full);
    const std::string definition = StoredDefinition(program);
    if (definition.empty()) {
        fprintf(stderr, "installed_skins: no stored main window definition in %s\n", Narrow(program).c_str());
        return 1;
    }
    std::string skinDirectory;
    try {
        const TDefinitionObject root = ParseDefinition(definition);
        const TDefinitionObject* manager = FindByClass(root, "TsSkinManager");
        if (!manager) {
            fprintf(stderr, "installed_skins: the definition has no skin manager\n");
            return 1;
        }
        skinDirectory = StringProperty(*manager, "SkinDirectory");
    } catch (const std::exception& e) {
        fprintf(stderr, "installed_skins: %s\n", e.what());
        return 1;
    }
    const std::string programFolder = Narrow(program.substr(0, program.find_last_of(L"\\/") + 1));
    printf("directory\t%s\n", FullSkinDirectory(skinDirectory, programFolder).c_str());

    std::vector<std::string> names;
    ListSkins(names, skinDirectory, programFolder, nullptr);
    for (const std::string& name : names) {
        TsSkinLoadRequest request;
        request.SkinDirectory = skinDirectory;
        request.SkinName = name;
        request.ProgramFolder = programFolder;
        TsSkinTables tables;
        TsSkinLoadReport report;
        try {
            LoadSkin(request, tables, report);
        } catch (const std::exception& e) {
            printf("error\t%s\t%s\n", name.c_str(), e.what());
            continue;
        }
        printf("skin\t%s\t%s\tsections=%zu\tmasks=%zu\tpatterns=%zu\twarnings=%zu\n", name.c_str(), SourceOf(report),
               tables.Sections.size(), tables.Masks.size(), tables.Patterns.size(), report.Warnings.size());
        for (const std::string& warning : report.Warnings) printf("warning\t%s\t%s\n", name.c_str(), warning.c_str());
    }
    return 0;
}
