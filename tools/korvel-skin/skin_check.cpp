// The checks of korvel-skin check. The skin is loaded by the program's loader
// into fresh tables; the options text is read once more by the loader's own
// reader for the lines, and each check compares what the text asks for with
// what the load made of it.
#include "skin_check.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "embedded_skin.h"
#include "gui/system_colors.h"
#include "gui/text_convert.h"
#include "paint/contrast.h"
#include "paint/gradient.h"
#include "paint/mask.h"
#include "skin/ini_file.h"
#include "skin/mask_forms.h"
#include "skin/section_keys.h"
#include "skin/skin_loader.h"
#include "skin_source.h"
#include "skin_uses.h"

namespace korvel {
namespace {

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// As Options.dat writes a colour (decimal 0x00BBGGRR), and as #RRGGBB.
std::string Hex(TColor c) {
    char text[40];
    std::snprintf(text, sizeof text, "%u (#%02X%02X%02X)", static_cast<unsigned>(c & 0xFFFFFF), RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

// `weight` percent of a, the rest b, per channel.
TColor Percent(TColor a, TColor b, int weight) {
    weight = std::clamp(weight, 0, 100);
    const auto mix = [&](int x, int y) { return static_cast<std::uint8_t>((x * weight + y * (100 - weight) + 50) / 100); };
    return MakeColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

TColor Average(const TBitmap24& picture, TRect r) {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, picture.Width());
    r.Bottom = std::min(r.Bottom, picture.Height());
    std::int64_t red = 0, green = 0, blue = 0, n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const TColor c = picture.Pixel(x, y);
            red += RedOf(c), green += GreenOf(c), blue += BlueOf(c), ++n;
        }
    if (n == 0) return clNone;
    return MakeColor(std::uint8_t((red + n / 2) / n), std::uint8_t((green + n / 2) / n), std::uint8_t((blue + n / 2) / n));
}

// The gradient is judged on a surface this many lines long.
constexpr int GradientSample = 100;

class TChecker {
public:
    TChecker(const TsSkinTables& tables, const TsIniFile& ini, std::string file, std::vector<TCheckFinding>& out)
        : tables_(tables), ini_(ini), file_(std::move(file)), out_(out) {}

    void Add(int line, TCheckSeverity severity, std::string message) {
        out_.push_back({file_, line, severity, std::move(message)});
    }

    // The line of a section's key (names without regard to case), else of the section, else 0.
    int LineOf(std::string_view section, std::string_view key = {}) const {
        const TsIniFile::Section* s = ini_.FindSection(section);
        if (!s) return 0;
        if (!key.empty())
            if (const TsIniFile::Key* k = s->FindKeyUpper(UpperCase(key))) return k->Line;
        return s->Line;
    }

    void MissingFiles(const TsSkinLoadReport& report);
    void MaskSizes();
    void JpegSides();
    void Parents();
    void MissingSections();
    void Contrast();

private:
    // The loader's reason for leaving out the file `name`, from its report.
    static std::string Reason(const TsSkinLoadReport& report, const std::string& path) {
        for (const std::string& w : report.Warnings)
            if (w.size() > path.size() + 2 && SameText(w.substr(0, path.size()), path) && w.compare(path.size(), 2, ": ") == 0)
                return w.substr(path.size() + 2);
        return "missing";
    }
    std::string PathOf(const std::string& name) const {
        return name.find(':') != std::string::npos ? name : tables_.SkinData.SkinPath + name;
    }
    bool HasTexture(const std::string& section, const std::string& key) const {
        const std::string s = UpperCase(section), k = UpperCase(key);
        for (const TsPatternData& p : tables_.Patterns)
            if (p.SectionName == s && p.PropertyName == k) return true;
        const int m = tables_.OwnMaskIndexOf(s, k);
        return m >= 0 && tables_.Masks[std::size_t(m)].ImgType == itisaTexture && tables_.Masks[std::size_t(m)].Bmp;
    }
    // The picture a JPEG key became, or null.
    const TBitmap24* JpegPicture(const std::string& section, const std::string& key) const {
        const std::string s = UpperCase(section), k = UpperCase(key);
        for (const TsPatternData& p : tables_.Patterns)
            if (p.SectionName == s && p.PropertyName == k) return p.Img.get();
        const int m = tables_.OwnMaskIndexOf(s, k);
        return m >= 0 ? tables_.Masks[std::size_t(m)].Bmp.get() : nullptr;
    }
    std::vector<TColor> Surface(const TsGeneralData& section, bool hot, const std::vector<TColor>& under) const;

    const TsSkinTables& tables_;
    const TsIniFile& ini_;
    std::string file_;
    std::vector<TCheckFinding>& out_;
};

// Masks and patterns whose file the load could not use, and the master bitmap.
void TChecker::MissingFiles(const TsSkinLoadReport& report) {
    const auto skipped = [&](const TsIniFile::Key& key, const std::string& file) {
        Add(key.Line, TCheckSeverity::Error,
            key.Name + " names " + file + ": " + Reason(report, PathOf(file)) + "; the load leaves it out");
    };
    for (const TsIniFile::Section& section : ini_.Sections()) {
        const bool global = SameText(section.Name, "GLOBALINFO");
        for (const TsIniFile::Key& key : section.Keys) {
            if (global && SameText(key.Name, "MASTERBITMAP")) {
                if (key.Value.empty() || !tables_.MasterBitmap.Empty()) continue;
                int onMaster = 0;
                for (const TsMaskData& m : tables_.Masks) onMaster += !m.Bmp;
                Add(key.Line, TCheckSeverity::Error,
                    "MASTERBITMAP names " + key.Value + ": " + Reason(report, PathOf(key.Value)) +
                        "; the masks on the master bitmap (" + std::to_string(onMaster) + ") draw nothing");
                continue;
            }
            if (IsJpegName(key.Value)) {
                if (!HasTexture(section.Name, key.Name)) skipped(key, key.Value);
                continue;
            }
            // The loader reads no mask from these free texts.
            if (global && (SameText(key.Name, "AUTHOR") || SameText(key.Name, "DESCRIPTION"))) continue;
            switch (MaskFormOf(key.Value)) {
            case TsMaskForm::PictureWithCounts: {
                const TsPictureWithCounts words = DecodePictureWithCounts(key.Value);
                if (words.FileName.empty())
                    Add(key.Line, TCheckSeverity::Error,
                        key.Name + ": the first word of a \"!\" mask must name a file ending in \".BMP\" (upper case): no mask is made");
                else if (tables_.OwnMaskIndexOf(section.Name, key.Name) < 0)
                    skipped(key, words.FileName);
                break;
            }
            case TsMaskForm::Picture:
                if (tables_.OwnMaskIndexOf(UpperCase(section.Name), UpperCase(key.Name)) < 0)
                    skipped(key, UpperCase(key.Value));
                break;
            default:
                break;
            }
        }
    }
    if (tables_.MasterBitmap.Empty() && !ini_.Value("GLOBALINFO", "MASTERBITMAP"))
        for (const TsMaskData& m : tables_.Masks)
            if (!m.Bmp)
                Add(LineOf(m.SectionName, m.PropertyName), TCheckSeverity::Error,
                    m.PropertyName + " lies on the master bitmap, but GLOBALINFO names no MASTERBITMAP: it draws nothing");
}

// Every mask must cut into its state images side by side and, below one
// another, the image and its transparency parts (mask type + 1).
void TChecker::MaskSizes() {
    for (const TsMaskData& m : tables_.Masks) {
        if (m.PropertyName == "MASTERBITMAP" || (!m.Bmp && tables_.MasterBitmap.Empty())) continue;
        TMaskImage image;
        GetMaskImage(tables_, m, image);
        const int line = LineOf(m.SectionName, m.PropertyName);
        const std::string what = m.PropertyName + " (" + (m.Bmp ? "its own picture" : "on the master bitmap") + ")";
        if (image.ImageCount <= 0) {
            Add(line, TCheckSeverity::Error, what + ": image count " + std::to_string(image.ImageCount) + " is below 1: nothing is drawn");
            continue;
        }
        if (image.MaskType < 0) {
            Add(line, TCheckSeverity::Error, what + ": mask type " + std::to_string(image.MaskType) + " is below 0: nothing is drawn");
            continue;
        }
        const TRect& r = image.R;
        if (r.IsEmpty() || r.Left < 0 || r.Top < 0 || r.Right > image.Image->Width() || r.Bottom > image.Image->Height()) {
            std::ostringstream s;
            s << what << ": the rectangle (" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom
              << ") does not lie inside the " << image.Image->Width() << " x " << image.Image->Height()
              << " picture: nothing is drawn";
            Add(line, TCheckSeverity::Error, s.str());
            continue;
        }
        const int parts = image.MaskType + 1;
        if (r.Width() % image.ImageCount != 0)
            Add(line, TCheckSeverity::Error,
                what + ": width " + std::to_string(r.Width()) + " does not divide into " + std::to_string(image.ImageCount) +
                    " state images: each is cut " + std::to_string(r.Width() / image.ImageCount) + " wide and the images drift");
        if (r.Height() % parts != 0)
            Add(line, TCheckSeverity::Error,
                what + ": height " + std::to_string(r.Height()) + " does not divide into the " + std::to_string(parts) +
                    " parts of mask type " + std::to_string(image.MaskType) +
                    (image.MaskType == 1 ? " (the image above its transparency half)" : "") + ": each is cut " +
                    std::to_string(r.Height() / parts) + " high");
    }
}

// A JPEG of at least MinPatternPixels stays a pattern, which hue and
// saturation never recolour; a smaller one becomes a texture mask, which they
// do. A section whose two textures lie on different sides changes its look
// between normal and hot under a recoloured skin; a JPEG under another key is
// never drawn.
void TChecker::JpegSides() {
    for (const TsIniFile::Section& section : ini_.Sections()) {
        const TsIniFile::Key* textures[2] = {section.FindKeyUpper("PATTERN"), section.FindKeyUpper("HOTPATTERN")};
        for (const TsIniFile::Key& key : section.Keys) {
            if (!IsJpegName(key.Value) || &key == textures[0] || &key == textures[1]) continue;
            Add(key.Line, TCheckSeverity::Warning,
                key.Name + " names the JPEG " + key.Value + ", but only PATTERN and HOTPATTERN textures are drawn");
        }
        if (!textures[0] || !textures[1] || !IsJpegName(textures[0]->Value) || !IsJpegName(textures[1]->Value)) continue;
        const TBitmap24* pictures[2] = {JpegPicture(section.Name, "PATTERN"), JpegPicture(section.Name, "HOTPATTERN")};
        if (!pictures[0] || !pictures[1]) continue;
        const auto pixels = [](const TBitmap24* p) { return std::int64_t(p->Width()) * p->Height(); };
        const auto side = [&](int i) {
            return textures[i]->Name + " " + textures[i]->Value + " (" + std::to_string(pictures[i]->Width()) + " x " +
                   std::to_string(pictures[i]->Height()) + " = " + std::to_string(pixels(pictures[i])) + " pixels) " +
                   (pixels(pictures[i]) >= MinPatternPixels ? "stays a pattern" : "becomes a texture");
        };
        if ((pixels(pictures[0]) >= MinPatternPixels) != (pixels(pictures[1]) >= MinPatternPixels))
            Add(textures[1]->Line, TCheckSeverity::Warning,
                side(1) + " but " + side(0) + ", on the other side of the " + std::to_string(MinPatternPixels) +
                    "-pixel threshold: a hue or saturation change recolours the texture and not the pattern");
    }
}

// PARENTCLASS must name a section, with the same spelling masks are looked up
// by, and no chain may come back to where it started.
void TChecker::Parents() {
    std::map<std::string, std::string> parentOf;   // upper-cased names
    for (const TsIniFile::Section& section : ini_.Sections()) {
        const TsIniFile::Key* key = section.FindKeyUpper("PARENTCLASS");
        // Empty, "?" and -1 (the common sections' "none") name no parent; the section itself ends the chain.
        if (!key || key->Value.empty() || key->Value == "?" || key->Value == "-1" || SameText(key->Value, section.Name))
            continue;
        const TsIniFile::Section* parent = ini_.FindSection(key->Value);
        if (!parent) {
            Add(key->Line, TCheckSeverity::Error,
                "PARENTCLASS names " + key->Value + ", which is no section of this skin: " + section.Name +
                    " inherits nothing, its missing keys take the defaults");
            continue;
        }
        parentOf[UpperCase(section.Name)] = UpperCase(parent->Name);
        if (parent->Name != key->Value)
            Add(key->Line, TCheckSeverity::Warning,
                "PARENTCLASS " + key->Value + " matches [" + parent->Name +
                    "] only without regard to case: its keys are inherited, its masks and textures are not (their lookup compares names exactly)");
    }
    for (const TsIniFile::Section& section : ini_.Sections()) {
        const std::string start = UpperCase(section.Name);
        std::string chain = section.Name, at = start;
        bool loops = false;
        for (std::size_t step = 0; step <= parentOf.size(); ++step) {
            const auto next = parentOf.find(at);
            if (next == parentOf.end()) break;
            at = next->second;
            chain += " -> " + ini_.FindSection(at)->Name;
            if (at == start) {
                loops = true;
                break;
            }
        }
        if (loops)
            Add(LineOf(section.Name, "PARENTCLASS"), TCheckSeverity::Error,
                "the PARENTCLASS chain " + chain + " comes back to " + section.Name +
                    ": keys missing from all of them are looked for " + std::to_string(MaxParentChain) +
                    " times, then take the defaults");
    }
}

void TChecker::MissingSections() {
    for (const TUsedSection& used : UsedSections()) {
        if (tables_.SectionIndexOf(used.Name) >= 0) continue;
        if (const TsIniFile::Section* other = ini_.FindSection(used.Name))
            Add(other->Line, TCheckSeverity::Warning,
                "[" + other->Name + "] is not found: the program looks for " + used.Name +
                    " (upper case, compared exactly) for " + used.UsedBy + ", and draws " + used.Instead);
        else
            Add(0, TCheckSeverity::Warning,
                std::string("no section ") + used.Name + " for " + used.UsedBy + ": the program draws " + used.Instead);
    }
}

// The colours text may meet on a section: its colour, the colours of its
// gradient where the text lies and the average of its texture, mixed as the composition mixes the
// layers, then seen through its transparency over what lies under it.
std::vector<TColor> TChecker::Surface(const TsGeneralData& s, bool hot, const std::vector<TColor>& under) const {
    const int transparency = hot ? s.HotTransparency : s.Transparency;
    const int gradient = hot ? s.HotGradientPercent : s.GradientPercent;
    const int image = hot ? s.HotImagePercent : s.ImagePercent;
    const TColor colour = ColorToRgb(hot ? s.HotColor : s.Color);
    if (transparency >= 100 && !under.empty()) return under;
    std::vector<TColor> layer;
    const TsGradArray& stops = hot ? s.HotGradientArray : s.GradientArray;
    std::vector<TColor> lines;
    if (gradient > 0 && GradientLines(stops, GradientSample, 0, lines)) {
        // Text is centred: across vertical bands it meets the middle half of the rows only.
        const bool vertical = stops.front().Mode == 0;
        const int from = vertical ? GradientSample / 4 : 0, to = vertical ? GradientSample * 3 / 4 : GradientSample;
        std::set<TColor> seen;
        for (int i = from; i < to; ++i)
            if (seen.insert(lines[std::size_t(i)]).second) layer.push_back(lines[std::size_t(i)]);
    } else if (gradient > 0) {
        for (const TsGradientStop& step : stops) {
            layer.push_back(ColorToRgb(step.Color1));
            layer.push_back(ColorToRgb(step.Color2));
        }
    }
    if (image > 0) {
        const int index = tables_.SectionIndexOf(s.SectionName);
        const char* property = hot ? "HOTPATTERN" : "PATTERN";
        TColor average = clNone;
        const int mask = tables_.TextureIndexOf(index, s.SectionName, property);
        TMaskImage cut;
        if (mask >= 0 && GetMaskImage(tables_, tables_.Masks[std::size_t(mask)], cut))
            average = Average(*cut.Image, {cut.R.Left, cut.R.Top, cut.R.Left + cut.StateWidth, cut.R.Top + cut.PartHeight});
        else if (const int pattern = tables_.PatternIndexOf(index, s.SectionName, property);
                 pattern >= 0 && tables_.Patterns[std::size_t(pattern)].Img)
            average = Average(*tables_.Patterns[std::size_t(pattern)].Img, {0, 0, 1 << 30, 1 << 30});
        if (average != clNone) {
            if (layer.empty()) layer = {average};
            else
                for (TColor& c : layer) c = Percent(average, c, image);
        }
    }
    if (layer.empty() || gradient + image <= 0) layer = {colour};
    else if (gradient + image < 100)
        for (TColor& c : layer) c = Percent(c, colour, gradient + image);
    if (transparency <= 0 || under.empty()) return layer;
    std::vector<TColor> mixed;
    for (TColor o : layer)
        for (TColor u : under) mixed.push_back(Percent(u, o, transparency));
    return mixed;
}

void TChecker::Contrast() {
    const auto section = [&](const char* name) -> const TsGeneralData* {
        const int i = tables_.SectionIndexOf(name);
        return i >= 0 ? &tables_.Sections[std::size_t(i)] : nullptr;
    };
    for (const TTextSurface& t : TextSurfaces()) {
        const TsGeneralData* font = section(t.FontSection);
        const TsGeneralData* surface = section(t.Section);
        if (!font || !surface) continue;
        const TsGeneralData* under = *t.Under ? section(t.Under) : nullptr;
        const std::vector<TColor> behind = under ? Surface(*under, t.UnderHot, {}) : std::vector<TColor>{};
        const TsFontColor& colours = t.Hot ? font->HotFontColor : font->FontColor;
        const TColor text = ColorToRgb(static_cast<TColor>(colours[fcText]));
        // Text with a contour is read against its contour, which lies between it and the surface.
        std::vector<TColor> against;
        for (int side = fcLeft; side <= fcBottom; ++side)
            if (colours[std::size_t(side)] != -1) against.push_back(ColorToRgb(static_cast<TColor>(colours[std::size_t(side)])));
        const bool contour = !against.empty();
        if (!contour) against = Surface(*surface, t.Hot, behind);
        double worst = 22;
        TColor worstColour = 0;
        for (TColor c : against) {
            const double ratio = ContrastRatio(text, c);
            if (ratio < worst) worst = ratio, worstColour = c;
        }
        if (worst >= MinimumTextContrast) continue;
        const char* key = t.Hot ? "HOTFONTCOLOR" : "FONTCOLOR";
        Add(LineOf(t.FontSection, key), TCheckSeverity::Warning,
            std::string(t.What) + ": text " + Hex(text) + " (" + t.FontSection + " " + key + ") on " + Hex(worstColour) +
                (contour ? std::string(" (its contour)") : " (" + std::string(t.Section) + (t.Hot ? ", hot)" : ")")) +
                " reads " + Number(worst) + " : 1, below " + Number(MinimumTextContrast) + " : 1");
    }
}

std::string Basename(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SortFindings(std::vector<TCheckFinding>& findings) {
    // File order; what concerns a whole file after its lines.
    std::stable_sort(findings.begin(), findings.end(), [](const TCheckFinding& a, const TCheckFinding& b) {
        const long la = a.Line > 0 ? a.Line : 1L << 30, lb = b.Line > 0 ? b.Line : 1L << 30;
        return a.File != b.File ? a.File < b.File : la < lb;
    });
}

void RunChecks(TChecker& checker, const TsSkinLoadReport& report, bool folder) {
    if (folder) checker.MissingFiles(report);
    checker.MaskSizes();
    if (folder) checker.JpegSides();
    checker.Parents();
    checker.MissingSections();
    checker.Contrast();
}

}  // namespace

bool TSkinCheck::HasErrors() const {
    return std::any_of(Findings.begin(), Findings.end(),
                       [](const TCheckFinding& f) { return f.Severity == TCheckSeverity::Error; });
}

TSkinCheck CheckSkinFolder(const std::string& folder, const TsFileSystem& files) {
    TSkinCheck check;
    check.Skin = folder;
    std::error_code ec;
    // Absolute, so that the loader's rules for relative skin directories do not apply.
    std::string full = std::filesystem::absolute(std::filesystem::path(folder), ec).lexically_normal().string();
    if (ec) full = folder;
    while (full.size() > 1 && (full.back() == '/' || full.back() == '\\')) full.pop_back();
    const std::string name = Basename(full);
    const std::string directory = full.substr(0, full.size() - name.size());

    TsSkinLoadRequest request;
    request.SkinDirectory = directory.empty() ? "." : directory;
    request.SkinName = name;
    request.Files = &files;
    TsSkinTables tables;
    TsSkinLoadReport report;
    std::string loadError;
    try {
        LoadSkin(request, tables, report);
    } catch (const std::exception& e) {
        loadError = e.what();
    }
    if (!report.FromFolder) {
        check.Findings.push_back({"Options.dat", 0, TCheckSeverity::Error,
                                  "there is no readable Options.dat in " + folder +
                                      ": the program loads its internal skin in this skin's place"});
        return check;
    }
    TsIniFile ini;
    if (const auto bytes = files.ReadFile(tables.SkinData.SkinPath + "Options.dat"))
        ini.Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    TChecker checker(tables, ini, "Options.dat", check.Findings);
    if (!loadError.empty()) {
        // The tables hold a part of the skin only: nothing else can be judged from them.
        checker.Add(report.FailedLine, TCheckSeverity::Error,
                    loadError + ": the load stops here, the keys after it and the skin's sections are not read");
        checker.Parents();
    } else {
        RunChecks(checker, report, true);
    }
    SortFindings(check.Findings);
    return check;
}

TSkinCheck CheckInternalSkin() {
    TSkinCheck check;
    TsSkinTables tables;
    TsSkinLoadReport report;
    const auto& text = embedded::ElegantOptions;
    const TsIniFile ini(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    try {
        LoadToolSkin(TToolSkinRequest{"", "", "", {}, true}, tables, report);
    } catch (const std::exception& e) {
        check.Skin = "internal skin";
        check.Findings.push_back({"elegant.ini", 0, TCheckSeverity::Error, e.what()});
        return check;
    }
    check.Skin = report.SkinName;
    TChecker checker(tables, ini, "elegant.ini", check.Findings);
    RunChecks(checker, report, false);
    SortFindings(check.Findings);
    return check;
}

std::string FindingText(const TCheckFinding& f) {
    return f.File + (f.Line > 0 ? ":" + std::to_string(f.Line) : std::string()) + ": " +
           (f.Severity == TCheckSeverity::Error ? "error" : "warning") + ": " + f.Message;
}

namespace {

void JsonString(std::ostream& out, const std::string& text) {
    out << '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') out << '\\' << ch;
        else if (c == '\n') out << "\\n";
        else if (c == '\r') out << "\\r";
        else if (c == '\t') out << "\\t";
        else if (c < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", c);
            out << code;
        } else {
            out << ch;
        }
    }
    out << '"';
}

}  // namespace

void WriteCheckJson(std::ostream& out, const TSkinCheck& check) {
    int errors = 0;
    for (const TCheckFinding& f : check.Findings) errors += f.Severity == TCheckSeverity::Error;
    out << "{\"skin\": ";
    JsonString(out, check.Skin);
    out << ", \"errors\": " << errors << ", \"warnings\": " << check.Findings.size() - std::size_t(errors)
        << ", \"findings\": [";
    for (std::size_t i = 0; i < check.Findings.size(); ++i) {
        const TCheckFinding& f = check.Findings[i];
        out << (i ? ",\n  " : "\n  ") << "{\"file\": ";
        JsonString(out, f.File);
        out << ", \"line\": " << f.Line << ", \"severity\": \""
            << (f.Severity == TCheckSeverity::Error ? "error" : "warning") << "\", \"message\": ";
        JsonString(out, f.Message);
        out << '}';
    }
    out << (check.Findings.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace korvel
