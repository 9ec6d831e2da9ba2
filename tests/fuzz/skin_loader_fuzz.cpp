// Feeds the skin loader generated skin folders through an in-memory file
// system: an Options.dat and up to five picture files, then looks up every
// section of whatever was loaded. Input layout: one flag byte; the options
// text up to the first zero byte; then files, each a 16-bit little-endian
// length and its bytes. With an even flag the options text follows a fixed
// skin that names every file, so the picture decoders see the file bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/picture_decode.h"
#include "skin/skin_loader.h"
#include "gui/text_convert.h"

using namespace korvel;

namespace {

const char* const FileNames[] = {"M.BMP", "A.BMP", "C.BMP", "B.JPG", "D.JPG"};

const char* const FixedSkin =
    "[GLOBALINFO]\nMASTERBITMAP=M.BMP\nVERSION=1.5\n"
    "[PANEL]\nBORDERSMASK=A.BMP\nGLYPHMASK=!C.BMP!3!1!2\nPATTERN=B.JPG\nHOTPATTERN=D.JPG\n"
    "SLIDERMASK=@0001,0002,0003,0004,3,1\n"
    "[BUTTON]\nPARENTCLASS=PANEL\nCOLOR=-1\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool fixed = (data[0] & 1) == 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t zero = rest.find('\0');
    std::string options(rest.substr(0, zero));
    rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
    if (fixed) options = FixedSkin + options;

    TsMemoryFileSystem files;
    const std::string folder = "C:\\prog\\skins\\Fuzz\\";
    files.AddFile(folder + "Options.dat", options);
    for (const char* name : FileNames) {
        if (rest.size() < 2) break;
        const std::size_t length = std::min<std::size_t>(std::uint8_t(rest[0]) | (std::uint8_t(rest[1]) << 8), rest.size() - 2);
        const std::vector<std::uint8_t> bytes(rest.begin() + 2, rest.begin() + 2 + std::ptrdiff_t(length));
        rest.remove_prefix(2 + length);
        // Every decoder sees every file, whatever its name.
        DecodeBmp(bytes);
        DecodeJpeg(bytes);
        files.AddFile(folder + name, bytes);
    }

    TsStoredSkins internal(nullptr);
    internal.Add().Name = "Internal";
    TsSkinLoadRequest request;
    request.SkinDirectory = "skins";
    request.SkinName = "Fuzz";
    request.ProgramFolder = "C:\\prog\\";
    request.InternalSkins = &internal;
    request.Files = &files;
    if (data[0] & 2) {
        // The same text once more, as common sections.
        std::string line;
        for (char c : options) {
            if (c == '\n') request.CommonSections.push_back(std::move(line)), line.clear();
            else line += c;
        }
    }
    TsSkinTables tables;
    TsSkinLoadReport report;
    try {
        LoadSkin(request, tables, report);
    } catch (const EConvertError&) {
    }
    tables.ComputeCachedIndexes();
    for (std::size_t i = 0; i < tables.Sections.size(); ++i) {
        const std::string& name = tables.Sections[i].SectionName;
        const int index = tables.SectionIndexOf(name);
        tables.MaskIndexOf(index, name, "BORDERSMASK");
        tables.PatternIndexOf(index, name, "PATTERN");
        tables.TextureIndexOf(index, name, "HOTPATTERN");
    }
    tables.GlobalColor();
    tables.GlobalFontColor();
    return 0;
}
