#include "tools/skin-art/skin_check.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/skin-art/image_io.h"

namespace korvel::art {
namespace {

std::string Upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

int ToInt(const std::string& text) {
    const std::string t = Trim(text);
    std::size_t used = 0;
    long v = 0;
    try {
        v = std::stol(t, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (t.empty() || used != t.size() || v < -2147483648L || v > 2147483647L)
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return static_cast<int>(v);
}

// Columns `from` to `to`, 1-based and inclusive; missing columns read as empty.
std::string Columns(const std::string& s, std::size_t from, std::size_t to) {
    if (s.size() < from) return {};
    return s.substr(from - 1, std::min(s.size(), to) - (from - 1));
}

std::vector<std::string> Split(const std::string& s, const std::string& separators) {
    std::vector<std::string> words;
    std::string word;
    for (char c : s) {
        if (separators.find(c) != std::string::npos) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

const std::set<std::string>& IntegerKeys() {
    static const std::set<std::string> keys = {
        "COLOR", "BEVEL", "SHADOWBLUR", "SHADOWOFFSET", "SHADOWCOLOR", "SHADOWTRANSPARENCY", "FONTCOLOR",
        "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM", "HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT",
        "HOTTCBOTTOM", "TRANSPARENCY", "GRADIENTPERCENT", "IMAGEPERCENT", "FADINGINTERVALIN", "FADINGINTERVALOUT",
        "FADINGITERATIONS", "HOTCOLOR", "HOTTRANSPARENCY", "HOTBEVEL", "HOTGRADIENTPERCENT", "HOTIMAGEPERCENT",
        "BORDERCOLOR1", "BORDERCOLOR2"};
    return keys;
}

const std::set<std::string>& BooleanKeys() {
    static const std::set<std::string> keys = {"SHADOWENABLED", "RESERVEDBOOLEAN", "SHOWFOCUS", "FADINGENABLED"};
    return keys;
}

// Skin-wide keys of GLOBALINFO; NAME is the stored skin's name, which a folder skin takes from its folder.
const std::set<std::string>& GlobalKeys() {
    static const std::set<std::string> keys = {"VERSION", "AUTHOR", "DESCRIPTION", "SHADOW1COLOR", "SHADOW1OFFSET",
                                               "SHADOW1BLUR", "SHADOW1TRANSPARENCY", "MASTERBITMAP", "NAME"};
    return keys;
}

void CheckGradient(const std::string& where, const std::string& value, std::vector<std::string>& faults) {
    if (value.empty() || value == " ") return;
    const auto items = Split(value, ";");
    for (const auto& item : items) {
        try {
            ToInt(item);
        } catch (const std::exception& e) {
            faults.push_back(where + ": " + e.what());
            return;
        }
    }
    if (items.size() % 5 != 0) faults.push_back(where + ": a gradient needs five values per stop");
}

void CheckMask(const std::string& where, const std::string& property, const TMaskValue& mask,
               const TSkinFiles& files, std::vector<std::string>& faults) {
    int width = 0, height = 0;
    if (mask.Form == TMaskForm::OwnPicture || mask.Form == TMaskForm::OwnWithCounts) {
        const auto picture = std::find_if(files.Pictures.begin(), files.Pictures.end(),
                                          [&](const TPictureSize& p) { return Upper(p.File) == Upper(mask.File); });
        if (picture == files.Pictures.end()) {
            faults.push_back(where + ": picture " + mask.File + " is missing, the loader would skip it");
            return;
        }
        width = picture->Width;
        height = picture->Height;
    } else {
        if (!files.Master) {
            faults.push_back(where + ": refers to the master bitmap, but the skin has none");
            return;
        }
        const auto [mw, mh] = *files.Master;
        if (mask.Left < 0 || mask.Top < 0 || mask.Right > mw || mask.Bottom > mh || mask.Right <= mask.Left ||
            mask.Bottom <= mask.Top) {
            std::ostringstream s;
            s << where << ": rectangle (" << mask.Left << ", " << mask.Top << ", " << mask.Right << ", "
              << mask.Bottom << ") does not lie inside the " << mw << " x " << mh << " master bitmap";
            faults.push_back(s.str());
            return;
        }
        width = mask.Right - mask.Left;
        height = mask.Bottom - mask.Top;
    }
    if (mask.ImageCount < 1) faults.push_back(where + ": image count below 1");
    if (mask.MaskType < 0 || mask.MaskType > 2) faults.push_back(where + ": mask type is not 0, 1 or 2");
    if (mask.ImageCount < 1 || mask.MaskType < 0) return;
    const bool frame = mask.ImgType == 0 && IsFrameProperty(property);
    const int columns = mask.ImageCount * (frame ? 3 : 1);
    const int rows = (mask.MaskType + 1) * (frame ? 3 : 1);
    std::ostringstream s;
    if (width % columns != 0)
        s << where << ": width " << width << " is not divisible by " << columns << (frame ? " (state images x 3 columns)" : " (state images)");
    else if (height % rows != 0)
        s << where << ": height " << height << " is not divisible by " << rows
          << (frame ? " (parts x 3 rows)" : " (colour, see-through and spare parts)");
    if (!s.str().empty()) faults.push_back(s.str());
}

}  // namespace

std::optional<std::string> TIniSection::Value(const std::string& key) const {
    const std::string wanted = Upper(key);
    for (const auto& [k, v] : Keys)
        if (Upper(k) == wanted) return v;
    return std::nullopt;
}

std::vector<TIniSection> ParseIni(const std::string& text) {
    std::vector<TIniSection> sections;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[' && t.back() == ']') {
            sections.push_back({Trim(t.substr(1, t.size() - 2)), {}});
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || sections.empty()) continue;
        sections.back().Keys.emplace_back(Trim(line.substr(0, eq)), line.substr(eq + 1));
    }
    return sections;
}

bool NamesJpeg(const std::string& value) {
    const std::string u = Upper(value);
    return u.find(".JPG") != std::string::npos || u.find(".JPEG") != std::string::npos;
}

bool IsFrameProperty(const std::string& property) {
    const std::string p = Upper(property);
    return p == "BORDERSMASK" || p == "SLIDERCHANNEL" || p == "TITLEBAR";
}

std::optional<TMaskValue> ParseMaskValue(const std::string& value) {
    if (value.empty() || value == "#") return std::nullopt;
    TMaskValue m;
    auto rect = [&](const std::string& v) {
        m.Left = ToInt(Columns(v, 2, 5));
        m.Top = ToInt(Columns(v, 7, 10));
        m.Right = ToInt(Columns(v, 12, 15));
        m.Bottom = ToInt(Columns(v, 17, 20));
    };
    switch (value[0]) {
    case '!': {
        const auto words = Split(value, "!");
        if (words.size() < 4) throw std::runtime_error("'" + value + "' needs a file name and three numbers");
        m.Form = TMaskForm::OwnWithCounts;
        m.File = words[0];
        m.ImageCount = ToInt(words[1]);
        m.MaskType = ToInt(words[2]);
        m.ImgType = ToInt(words[3]);
        return m;
    }
    case '@':
        m.Form = TMaskForm::Glyph;
        rect(value);
        m.ImageCount = ToInt(Columns(value, 22, 22));
        m.MaskType = ToInt(Columns(value, 24, 24));
        m.ImgType = 2;
        return m;
    case '^':
        m.Form = TMaskForm::Border;
        rect(value);
        for (auto [from, to] : {std::pair{22, 25}, {27, 30}, {32, 35}, {37, 40}}) ToInt(Columns(value, from, to));
        m.ImageCount = ToInt(Columns(value, 42, 42));
        m.MaskType = ToInt(Columns(value, 44, 44));
        m.StretchMode = ToInt(Columns(value, 46, 46));
        m.BorderWidth = ToInt(Columns(value, 48, 48));
        return m;
    case '~':
        m.Form = TMaskForm::Texture;
        rect(value);
        m.StretchMode = ToInt(Columns(value, 22, 23));
        m.MaskType = value.size() < 25 ? 0 : ToInt(Columns(value, 25, 25));
        m.ImgType = 1;
        return m;
    default:
        break;
    }
    if (value.find('#') == std::string::npos) {
        if (Upper(value).find(".BMP") == std::string::npos) return std::nullopt;
        m.Form = TMaskForm::OwnPicture;
        m.File = value;
        m.ImageCount = 3;
        m.MaskType = 1;
        return m;
    }
    const auto words = Split(value, " ()");
    if (words.size() < 3) throw std::runtime_error("'" + value + "' needs a rectangle and counts");
    const auto r = Split(words[1], ",");
    const auto counts = Split(words[2], ", ");
    if (r.size() != 4 || counts.size() < 2) throw std::runtime_error("'" + value + "' needs a rectangle and counts");
    m.Form = TMaskForm::RectangleList;
    m.Left = ToInt(r[0]);
    m.Top = ToInt(r[1]);
    m.Right = ToInt(r[2]);
    m.Bottom = ToInt(r[3]);
    m.ImageCount = std::max(1, ToInt(counts[0]));
    m.MaskType = std::max(0, ToInt(counts[1]));
    m.BorderWidth = counts.size() > 2 ? std::max(0, ToInt(counts[2])) : 0;
    m.StretchMode = counts.size() > 3 ? ToInt(counts[3]) : 1;
    return m;
}

std::vector<std::string> CheckSkin(const std::vector<TIniSection>& sections, const TSkinFiles& files) {
    std::vector<std::string> faults;
    std::map<std::string, std::string> parents;
    for (const auto& section : sections) {
        const std::string name = Upper(section.Name);
        const bool global = name == "GLOBALINFO";
        for (const auto& [rawKey, value] : section.Keys) {
            const std::string key = Upper(rawKey);
            const std::string where = section.Name + "." + rawKey;
            try {
                if (global && GlobalKeys().count(key)) {
                    if (key.rfind("SHADOW1", 0) == 0) ToInt(value);
                    if (key == "VERSION" && value.find_first_not_of("0123456789.") != std::string::npos)
                        faults.push_back(where + ": '" + value + "' is not a version number");
                    if (key == "MASTERBITMAP" && !files.Master)
                        faults.push_back(where + ": master bitmap " + value + " is missing");
                } else if (key == "PARENTCLASS") {
                    parents[name] = Upper(value);
                } else if (IntegerKeys().count(key)) {
                    ToInt(value);
                } else if (BooleanKeys().count(key)) {
                    if (Upper(value) != "TRUE" && Upper(value) != "FALSE")
                        faults.push_back(where + ": '" + value + "' is neither TRUE nor FALSE");
                } else if (key == "GRADIENTDATA" || key == "HOTGRADIENTDATA") {
                    CheckGradient(where, value, faults);
                } else if (NamesJpeg(value)) {
                    const bool found = std::any_of(files.Pictures.begin(), files.Pictures.end(),
                                                   [&](const TPictureSize& p) { return Upper(p.File) == Upper(value); });
                    if (!found) faults.push_back(where + ": JPEG " + value + " is missing, the loader would skip it");
                } else if (const auto mask = ParseMaskValue(value)) {
                    CheckMask(where, key, *mask, files, faults);
                } else {
                    faults.push_back(where + ": not a key the loader reads");
                }
            } catch (const std::exception& e) {
                faults.push_back(where + ": " + e.what());
            }
        }
    }
    std::set<std::string> names;
    for (const auto& section : sections) names.insert(Upper(section.Name));
    for (const auto& [child, parent] : parents) {
        if (!names.count(parent)) {
            faults.push_back(child + ".PARENTCLASS: no section named " + parent);
            continue;
        }
        std::string at = parent;
        for (std::size_t steps = 0; steps <= parents.size(); ++steps) {
            if (at == child) {
                faults.push_back(child + ".PARENTCLASS: the parent chain comes back to " + child);
                break;
            }
            const auto next = parents.find(at);
            if (next == parents.end() || next->second == at) break;
            at = next->second;
        }
    }
    return faults;
}

std::vector<std::string> CheckSkinFolder(const std::string& folder, const std::string& optionsFile) {
    namespace fs = std::filesystem;
    std::vector<std::string> faults;
    const fs::path dir(folder);
    std::vector<std::uint8_t> text;
    try {
        text = ReadFile((dir / optionsFile).string());
    } catch (const std::exception& e) {
        return {e.what()};
    }
    const auto sections = ParseIni(std::string(text.begin(), text.end()));
    TSkinFiles files;
    auto load = [&](const std::string& name, bool jpeg) -> std::optional<TPictureSize> {
        const fs::path path = dir / name;
        if (!fs::exists(path)) return std::nullopt;
        try {
            const auto bytes = ReadFile(path.string());
            if (jpeg) {
                const auto [w, h] = JpegSize(bytes);
                return TPictureSize{name, w, h};
            }
            const auto image = DecodeBmp(bytes);
            return TPictureSize{name, image.Width(), image.Height()};
        } catch (const std::exception& e) {
            faults.push_back(name + ": " + e.what());
            return std::nullopt;
        }
    };
    for (const auto& section : sections) {
        for (const auto& [key, value] : section.Keys) {
            if (Upper(section.Name) == "GLOBALINFO" && Upper(key) == "MASTERBITMAP") {
                if (const auto master = load(value, false)) files.Master = std::pair{master->Width, master->Height};
                continue;
            }
            if (Upper(section.Name) == "GLOBALINFO" && GlobalKeys().count(Upper(key))) continue;
            if (NamesJpeg(value)) {
                if (const auto p = load(value, true)) files.Pictures.push_back(*p);
                continue;
            }
            try {
                const auto mask = ParseMaskValue(value);
                if (mask && (mask->Form == TMaskForm::OwnPicture || mask->Form == TMaskForm::OwnWithCounts))
                    if (const auto p = load(mask->File, false)) files.Pictures.push_back(*p);
            } catch (const std::exception&) {
                // CheckSkin reports the malformed value.
            }
        }
    }
    auto more = CheckSkin(sections, files);
    faults.insert(faults.end(), more.begin(), more.end());
    return faults;
}

}  // namespace korvel::art
