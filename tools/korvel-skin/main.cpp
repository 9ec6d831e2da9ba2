// korvel-skin: skin checking from the command line.
//   korvel-skin check FOLDER... [--json]             what would go wrong or look wrong
//   korvel-skin dump SKINDIR NAME                    prints the loaded skin
//   korvel-skin preview SKINDIR NAME OUT.png         a sheet of every section and mask
//                                                    (--watch N: again after every save, for N seconds)
//   korvel-skin render SKINDIR NAME SECTION W H STATE OUT.png   one section
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "gui/text_convert.h"
#include "skin_check.h"
#include "skin_dump.h"
#include "skin_source.h"
#ifndef KORVEL_SKIN_WITHOUT_PICTURES
#include "folder_watch.h"
#include "png_file.h"
#include "skin_render.h"
#endif

using namespace korvel;

namespace {

const char* const Usage = R"usage(usage: korvel-skin check FOLDER... [--json]
       korvel-skin check --internal [--json]
       korvel-skin dump SKINDIR NAME [options]
       korvel-skin preview SKINDIR NAME OUT.png [options] [--scale N] [--watch SECONDS]
       korvel-skin render SKINDIR NAME SECTION WIDTH HEIGHT STATE OUT.png [options]
       korvel-skin --help

Every command loads the skin NAME from the skin directory SKINDIR exactly as
the program does: SKINDIR is resolved against the program folder (".\", "..",
relative and absolute forms), SKINDIR\NAME\Options.dat is read when it exists,
otherwise the internal skin of that name (or the first internal skin,
"Elegant (internal)", which this tool carries) is loaded.

check    Loads each skin FOLDER (the folder holding Options.dat) with the
         program's loader and lists, one line each, what would go wrong or
         look wrong, as FOLDER/FILE:LINE: error|warning: message (no LINE when
         it concerns the whole file):
           error    a value the load cannot convert (the load's own text; the
                    load stops there), a mask, pattern or master bitmap naming
                    a file the load cannot use, a mask whose picture does not
                    divide into its state images and transparency parts,
                    a PARENTCLASS naming no section or a chain that loops
           warning  a section the launcher or the gallery uses that the skin
                    lacks (saying what is drawn instead), text below 4.5 : 1
                    contrast on its surface, a PATTERN and HOTPATTERN on
                    either side of the 90000-pixel pattern threshold, a JPEG
                    no control draws, a PARENTCLASS matching only without case
         --internal checks the internal skin this tool carries instead (lines
         of skin/internal/elegant.ini). --json writes a JSON array with one
         object per skin: {"skin", "errors", "warnings", "findings": [{"file",
         "line", "severity", "message"}]}.
         Exit status: 0 when no skin has an error, 1 otherwise, 2 wrong usage.
dump     Prints every table the load filled.
preview  Paints every section the program's controls use, in each of its
         states (normal, hot, pressed when its frame has three images), over
         the skin's global colour, then every image of every mask, into one PNG
         sheet, and writes OUT.html beside it naming each tile and its place.
         --scale N enlarges every pixel N times (1 to 8, default 2).
         --watch SECONDS keeps watching the skin's folder for that long (1 to
         86400) and paints the sheet again after every save; a save that
         breaks the skin is reported and the last good sheet stays.
render   Paints one section as the program does (centre filled, over a plain
         parent of the skin's global colour) at WIDTH x HEIGHT (1 to 4096) in
         STATE (0 normal, 1 hot, 2 pressed) into OUT.png.

Exit status: 0 done, 1 the load or the drawing failed (the error text goes to
standard error), 2 wrong usage.

options:
  --program-folder DIR   the folder the skin directory is resolved against
                         (default: the folder of this executable)
  --common FILE          lines of common sections to add to the skin
  --no-internal          load with no internal skin at all
)usage";

std::string ExecutableFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    return exe.parent_path().string() + "/";
}

// "FILE:LINE: " where a load stopped, or nothing.
std::string FailurePlace(const TsSkinLoadReport& report) {
    return report.FailedLine > 0 ? report.FailedFile + ":" + std::to_string(report.FailedLine) + ": " : std::string();
}

struct TCommandLine {
    TToolSkinRequest Skin;
    std::vector<std::string> Positional;    // after SKINDIR and NAME
    int Scale = 2;
    int WatchSeconds = 0;                   // preview: 0 paints once
};

constexpr int MaxWatchSeconds = 86400;

int UsageError(const std::string& problem) {
    std::cerr << "korvel-skin: " << problem << "\n\n" << Usage;
    return 2;
}

// Reads SKINDIR, NAME, `positional` more arguments and the options; a usage
// error gives its exit status.
std::optional<int> Parse(const std::vector<std::string>& args, std::size_t positional, bool scale, const char* argv0,
                         TCommandLine& line) {
    std::vector<std::string> plain;
    line.Skin.ProgramFolder = ExecutableFolder(argv0);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--program-folder" && hasValue) {
            std::string& folder = line.Skin.ProgramFolder = args[++i];
            if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
        } else if (a == "--common" && hasValue) {
            std::ifstream in(args[++i]);
            if (!in) return UsageError("cannot read " + args[i]);
            for (std::string text; std::getline(in, text);) {
                if (!text.empty() && text.back() == '\r') text.pop_back();
                // As the manager keeps them: blanks removed except in comment lines.
                if (!text.starts_with(";")) std::erase(text, ' ');
                line.Skin.CommonSections.push_back(text);
            }
        } else if (a == "--no-internal") {
            line.Skin.Internal = false;
        } else if (scale && a == "--scale" && hasValue) {
            const auto n = TryStrToInt(args[++i]);
            if (!n || *n < 1 || *n > 8) return UsageError("--scale takes a number from 1 to 8, not " + args[i]);
            line.Scale = *n;
        } else if (scale && a == "--watch" && hasValue) {
            const auto n = TryStrToInt(args[++i]);
            if (!n || *n < 1 || *n > MaxWatchSeconds)
                return UsageError("--watch takes seconds from 1 to " + std::to_string(MaxWatchSeconds) + ", not " + args[i]);
            line.WatchSeconds = *n;
        } else if (a.starts_with("--")) {
            return UsageError("unknown option " + a);
        } else {
            plain.push_back(a);
        }
    }
    if (plain.size() != positional + 2) return UsageError("wrong number of arguments");
    line.Skin.SkinDirectory = plain[0];
    line.Skin.SkinName = plain[1];
    line.Positional.assign(plain.begin() + 2, plain.end());
    return std::nullopt;
}

#ifndef KORVEL_SKIN_WITHOUT_PICTURES
// Loads the skin; false after reporting a failed load.
bool Load(const TCommandLine& line, TsSkinTables& tables, TsSkinLoadReport& report) {
    try {
        LoadToolSkin(line.Skin, tables, report);
    } catch (const std::exception& e) {
        for (const std::string& w : report.Warnings) std::cerr << "warning: " << w << '\n';
        std::cerr << "korvel-skin: " << FailurePlace(report) << e.what() << '\n';
        return false;
    }
    if (!report.Active) {
        std::cerr << "korvel-skin: no skin \"" << line.Skin.SkinName << "\" and no internal skin to fall back to\n";
        return false;
    }
    for (const std::string& w : report.Warnings) std::cerr << "warning: " << w << '\n';
    return true;
}

#endif

int Dump(const std::vector<std::string>& args, const char* argv0) {
    TCommandLine line;
    if (auto status = Parse(args, 0, false, argv0, line)) return *status;
    TsSkinTables tables;
    TsSkinLoadReport report;
    try {
        LoadToolSkin(line.Skin, tables, report);
    } catch (const std::exception& e) {
        for (const std::string& w : report.Warnings) std::cerr << "warning: " << w << '\n';
        std::cerr << "korvel-skin: " << FailurePlace(report) << e.what() << '\n';
        return 1;
    }
    DumpSkin(std::cout, report, tables);
    return 0;
}

int Check(const std::vector<std::string>& args) {
    bool json = false, internal = false;
    std::vector<std::string> folders;
    for (const std::string& a : args) {
        if (a == "--json") json = true;
        else if (a == "--internal") internal = true;
        else if (a.starts_with("--")) return UsageError("unknown option " + a);
        else folders.push_back(a);
    }
    if (folders.empty() == !internal) return UsageError("check takes skin folders, or --internal alone");
    std::vector<TSkinCheck> checks;
    if (internal) checks.push_back(CheckInternalSkin());
    for (const std::string& folder : folders) checks.push_back(CheckSkinFolder(folder));
    bool errors = false;
    if (json) std::cout << '[';
    for (std::size_t i = 0; i < checks.size(); ++i) {
        const TSkinCheck& check = checks[i];
        errors = errors || check.HasErrors();
        if (json) {
            if (i) std::cout << ',';
            WriteCheckJson(std::cout, check);
            continue;
        }
        int errorCount = 0;
        for (TCheckFinding f : check.Findings) {
            errorCount += f.Severity == TCheckSeverity::Error;
            if (!internal) f.File = (std::filesystem::path(check.Skin) / f.File).generic_string();
            std::cout << FindingText(f) << '\n';
        }
        std::cout << check.Skin << ": " << errorCount << (errorCount == 1 ? " error, " : " errors, ")
                  << check.Findings.size() - std::size_t(errorCount)
                  << (check.Findings.size() - std::size_t(errorCount) == 1 ? " warning\n" : " warnings\n");
    }
    if (json) std::cout << "]\n";
    return errors ? 1 : 0;
}

#ifndef KORVEL_SKIN_WITHOUT_PICTURES
// Paints the sheet of the skin as it is on disk now; the folder it came from
// ("" for an internal skin) goes to folder.
int PaintPreview(const TCommandLine& line, const std::filesystem::path& png, std::string& folder) {
    TsSkinTables tables;
    TsSkinLoadReport report;
    const bool loaded = Load(line, tables, report);
    folder = report.FromFolder ? tables.SkinData.SkinPath : std::string();   // known before a pass fails
    if (!loaded) return 1;
    const TPreviewSheet sheet = MakePreviewSheet(tables);
    if (const std::string error = WritePng(png.string(), sheet.Bitmap, line.Scale); !error.empty()) {
        std::cerr << "korvel-skin: " << error << '\n';
        return 1;
    }
    std::filesystem::path html = png;
    html.replace_extension(".html");
    std::ofstream out(html);
    WritePreviewHtml(out, sheet, report.SkinName, png.filename().string(), line.Scale);
    out.close();
    if (!out) {
        std::cerr << "korvel-skin: cannot write " << html.string() << '\n';
        return 1;
    }
    std::cout << png.string() << ": " << sheet.Tiles.size() << " tiles, " << sheet.Bitmap.Width() * line.Scale << " x "
              << sheet.Bitmap.Height() * line.Scale << "\n" << html.string() << std::endl;
    return 0;
}

// The skin's folder as this system names it.
std::filesystem::path NativeFolder(std::string folder) {
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder;
}

int Preview(const std::vector<std::string>& args, const char* argv0) {
    TCommandLine line;
    if (auto status = Parse(args, 1, true, argv0, line)) return *status;
    const std::filesystem::path png = line.Positional[0];
    std::string folder;
    int status = PaintPreview(line, png, folder);
    if (line.WatchSeconds == 0) return status;
    if (folder.empty()) {
        std::cerr << "korvel-skin: \"" << line.Skin.SkinName << "\" is not a skin folder: nothing to watch\n";
        return 1;
    }
    const std::filesystem::path watched = NativeFolder(folder);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(line.WatchSeconds);
    std::cout << "watching " << watched.string() << " for " << line.WatchSeconds << " s" << std::endl;
    std::string stamp = FolderStamp(watched);
    while (const auto saved = WaitForSave(watched, stamp, deadline)) {
        stamp = *saved;
        std::string reloaded;
        status = PaintPreview(line, png, reloaded);
        if (status != 0) std::cerr << "korvel-skin: the sheet stays as it was" << std::endl;
    }
    return status;
}

int Render(const std::vector<std::string>& args, const char* argv0) {
    TCommandLine line;
    if (auto status = Parse(args, 5, false, argv0, line)) return *status;
    const std::string& section = line.Positional[0];
    const auto width = TryStrToInt(line.Positional[1]), height = TryStrToInt(line.Positional[2]);
    const auto state = TryStrToInt(line.Positional[3]);
    if (!width || !height || *width < 1 || *height < 1 || *width > MaxRenderSide || *height > MaxRenderSide)
        return UsageError("WIDTH and HEIGHT must be numbers from 1 to " + std::to_string(MaxRenderSide));
    if (!state || *state < 0 || *state >= StateCount) return UsageError("STATE must be 0, 1 or 2");
    TsSkinTables tables;
    TsSkinLoadReport report;
    if (!Load(line, tables, report)) return 1;
    const int index = tables.SectionIndexOf(section);
    if (index < 0) {
        std::cerr << "korvel-skin: the skin \"" << report.SkinName << "\" has no section \"" << section
                  << "\" (names are upper case and compared exactly)\n";
        return 1;
    }
    const TBitmap24 picture = RenderSection(tables, index, *width, *height, *state);
    if (const std::string error = WritePng(line.Positional[4], picture); !error.empty()) {
        std::cerr << "korvel-skin: " << error << '\n';
        return 1;
    }
    return 0;
}
#endif

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
    try {
        if (command == "check") return Check(args);
        if (command == "dump") return Dump(args, argv[0]);
#ifndef KORVEL_SKIN_WITHOUT_PICTURES
        if (command == "preview") return Preview(args, argv[0]);
        if (command == "render") return Render(args, argv[0]);
#endif
    } catch (const std::exception& e) {
        // The internal skin carried in the tool, or memory for a sheet.
        std::cerr << "korvel-skin: " << e.what() << '\n';
        return 1;
    }
    return UsageError("unknown command " + command);
}
