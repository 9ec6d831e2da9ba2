// The passes of a skin load: source choice, masks, patterns, sections,
// recolouring. Each pass empties its table just before it fills it.
#include "skin/skin_loader.h"

#include <exception>
#include <map>
#include <set>
#include <utility>

#include "skin/ini_file.h"
#include "skin/mask_forms.h"
#include "skin/picture_decode.h"
#include "skin/section_keys.h"
#include "gui/text_convert.h"

namespace korvel {
namespace {

class TLoader {
public:
    TLoader(const TsSkinLoadRequest& request, TsSkinTables& tables, TsSkinLoadReport& report)
        : request_(request), tables_(tables), report_(report),
          files_(request.Files ? *request.Files : DiskFileSystem()) {}

    void Run();

private:
    void Passes();
    // A file name from the skin, relative to the skin's folder unless it has a drive.
    std::string PathOf(std::string_view name) const {
        if (name.find(':') != std::string_view::npos) return std::string(name);
        return tables_.SkinData.SkinPath + std::string(name);
    }
    // The picture in the named file, or null (missing, unreadable, refused) with a warning.
    // A file that several keys name is read and decoded once per load; they share the picture.
    std::shared_ptr<TBitmap24> Picture(std::string_view name, bool jpeg);

    bool ChooseSource();
    void FolderMasks();
    void FolderPatterns();
    void FolderSections();
    void InternalMasks();
    void InternalPatterns();
    void InternalSections();
    void CommonMasks();
    void CommonPatterns();
    void CommonSections();

    // The line being read, for the report of a load that throws.
    void At(int line, bool common = false) {
        atLine_ = line;
        atCommon_ = common;
    }

    TsMaskData& AddMask(std::string section, std::string property) {
        TsMaskData& m = tables_.Masks.emplace_back();
        m.SectionName = std::move(section);
        m.PropertyName = std::move(property);
        m.Manager = request_.Manager;
        return m;
    }

    const TsSkinLoadRequest& request_;
    TsSkinTables& tables_;
    TsSkinLoadReport& report_;
    const TsFileSystem& files_;
    TsIniFile options_;
    TsIniFile common_;                      // "1.tmp" and "2.tmp": the common sections, in memory
    const TsStoredSkin* internal_ = nullptr;
    std::map<std::pair<std::string, bool>, std::shared_ptr<TBitmap24>> pictures_;   // (path, JPEG) -> decoded
    std::set<std::string> warnedFiles_;     // upper-cased paths already in the report
    std::string optionsPath_;
    int atLine_ = 0;
    bool atCommon_ = false;
};

std::shared_ptr<TBitmap24> TLoader::Picture(std::string_view name, bool jpeg) {
    const std::string path = PathOf(name);
    if (auto known = pictures_.find({path, jpeg}); known != pictures_.end()) return known->second;
    // Skins name one picture from many keys (a texture behind several sections):
    // a file that cannot be used is reported once per load, under the first name seen.
    const auto warn = [&](const std::string& reason) {
        if (warnedFiles_.insert(UpperCase(path)).second) report_.Warnings.push_back(path + ": " + reason);
        return nullptr;
    };
    if (!files_.FileExists(path)) return warn("missing");
    const auto bytes = files_.ReadFile(path);
    if (!bytes) return warn("cannot be read");
    TsDecodedPicture decoded = jpeg ? DecodeJpeg(*bytes) : DecodeBmp(*bytes);
    if (!decoded.Ok()) return warn(decoded.Error);
    auto picture = std::make_shared<TBitmap24>(std::move(decoded.Bitmap));
    pictures_.emplace(std::make_pair(path, jpeg), picture);
    return picture;
}

bool TLoader::ChooseSource() {
    report_.SkinName = request_.SkinName;
    const std::string folder = FullSkinDirectory(request_.SkinDirectory, request_.ProgramFolder) + request_.SkinName + "\\";
    const std::string options = folder + "Options.dat";
    if (!request_.SkinName.empty() && files_.FileExists(options)) {
        if (auto bytes = files_.ReadFile(options)) {
            options_.Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
            tables_.SkinData.SkinPath = folder;
            optionsPath_ = options;
            report_.FromFolder = true;
            return true;
        }
        report_.Warnings.push_back(options + ": cannot be read");
    }
    tables_.SkinData.SkinPath.clear();
    const TsStoredSkins* skins = request_.InternalSkins;
    if (!skins || skins->Count() == 0) {
        report_.Active = false;
        return false;
    }
    for (int i = 0; i < skins->Count() && !internal_; ++i)
        if ((*skins)[i].Name == request_.SkinName) internal_ = &(*skins)[i];
    if (!internal_) {
        internal_ = &(*skins)[0];
        report_.SkinName = internal_->Name;
    }
    return true;
}

void TLoader::FolderMasks() {
    if (const TsIniFile::Section* global = options_.FindSection("GLOBALINFO"))
        if (const TsIniFile::Key* key = global->FindKeyUpper("MASTERBITMAP")) At(key->Line);
    if (auto master = options_.Value("GLOBALINFO", "MASTERBITMAP"); master && !master->empty())
        if (auto picture = Picture(*master, false)) {
            pictures_.erase({PathOf(*master), false});   // the master bitmap takes the pixels themselves
            tables_.MasterBitmap = std::move(*picture);
        }
    for (const TsIniFile::Section& section : options_.Sections()) {
        const bool global = SameText(section.Name, "GLOBALINFO");
        for (const TsIniFile::Key& key : section.Keys) {
            At(key.Line);
            // The master bitmap is no mask, and the free texts are none either: a "#" in a
            // description would otherwise read as a broken rectangle list and end the load.
            if (global && (SameText(key.Name, "MASTERBITMAP") || SameText(key.Name, "AUTHOR") ||
                           SameText(key.Name, "DESCRIPTION")))
                continue;
            const TsMaskForm form = MaskFormOf(key.Value);
            switch (form) {
            case TsMaskForm::None:
                break;
            case TsMaskForm::PictureWithCounts: {
                const TsPictureWithCounts words = DecodePictureWithCounts(key.Value);
                if (words.FileName.empty()) break;
                auto picture = Picture(words.FileName, false);
                if (!picture) break;
                TsMaskData& m = AddMask(section.Name, key.Name);
                m.R = TsMaskRect{0, 0, picture->Width(), picture->Height()};
                m.Bmp = std::move(picture);
                m.ImageCount = words.ImageCount;
                m.MaskType = words.MaskType;
                m.ImgType = words.ImgType;
                break;
            }
            case TsMaskForm::Picture: {
                auto picture = Picture(UpperCase(key.Value), false);
                if (!picture) break;
                TsMaskData& m = AddMask(UpperCase(section.Name), UpperCase(key.Name));
                m.R = TsMaskRect{0, 0, picture->Width(), picture->Height()};
                m.Bmp = std::move(picture);
                m.MaskType = 1;
                m.ImageCount = 3;
                break;
            }
            case TsMaskForm::RectangleList: {
                const std::string property = UpperCase(key.Name);
                TsMaskData m = DecodeMasterMask(form, key.Value, property);
                m.SectionName = UpperCase(section.Name);
                m.PropertyName = property;
                m.Manager = request_.Manager;
                tables_.Masks.push_back(std::move(m));
                break;
            }
            default: {
                TsMaskData m = DecodeMasterMask(form, key.Value, key.Name);
                m.SectionName = section.Name;
                m.PropertyName = key.Name;
                m.Manager = request_.Manager;
                tables_.Masks.push_back(std::move(m));
                break;
            }
            }
        }
    }
}

void TLoader::FolderPatterns() {
    for (const TsIniFile::Section& section : options_.Sections()) {
        for (const TsIniFile::Key& key : section.Keys) {
            if (!IsJpegName(key.Value)) continue;
            At(key.Line);
            auto picture = Picture(key.Value, true);
            if (!picture) continue;
            if (std::int64_t(picture->Width()) * picture->Height() >= MinPatternPixels) {
                tables_.Patterns.push_back(TsPatternData{std::move(picture), UpperCase(section.Name), UpperCase(key.Name)});
            } else {
                TsMaskData& m = AddMask(UpperCase(section.Name), UpperCase(key.Name));
                m.Bmp = std::move(picture);
                m.ImgType = itisaTexture;
                m.ImageCount = 1;
            }
        }
    }
}

void TLoader::FolderSections() {
    TsSkinData& info = tables_.SkinData;
    const TsIniFile::Section* global = options_.FindSection("GLOBALINFO");
    // A skin-wide integer; the line is noted first, as the conversion may end the load.
    const auto skinWide = [&](const char* key, std::string_view fallback) {
        const TsIniFile::Key* given = global ? global->FindKeyUpper(key) : nullptr;
        At(given ? given->Line : 0);
        return StrToInt(given ? std::string_view(given->Value) : fallback);
    };
    info.Version = TryStrToFloat(options_.ReadString("GLOBALINFO", "VERSION", "0")).value_or(0);
    info.Author = options_.ReadString("GLOBALINFO", "AUTHOR", "");
    info.Description = options_.ReadString("GLOBALINFO", "DESCRIPTION", "");
    info.Shadow1Color = skinWide("SHADOW1COLOR", "0");
    info.Shadow1Offset = skinWide("SHADOW1OFFSET", "0");
    info.Shadow1Blur = skinWide("SHADOW1BLUR", "-1");
    info.Shadow1Transparency = skinWide("SHADOW1TRANSPARENCY", "0");
    for (const TsIniFile::Section& section : options_.Sections()) {
        At(section.Line);
        tables_.Sections.push_back(ReadFolderSection(options_, section.Name));
    }
}

void TLoader::InternalMasks() {
    tables_.MasterBitmap = internal_->MasterBitmap.Clone();
    for (int i = 0; i < internal_->Images.Count(); ++i) {
        const TsSkinImage& image = internal_->Images[i];
        try {
            TsMaskData& m = AddMask(UpperCase(image.SectionName), UpperCase(image.PropertyName));
            if (!image.Image.Empty() && !image.Name.empty()) {
                m.Bmp = std::make_shared<TBitmap24>(image.Image.Clone());
                m.R = TsMaskRect{0, 0, image.Image.Width(), image.Image.Height()};
            } else {
                m.R = TsMaskRect{image.Left, image.Top, image.Right, image.Bottom};
            }
            m.ImageCount = static_cast<std::int16_t>(image.ImageCount);
            m.MaskType = static_cast<std::int16_t>(image.MaskType);
            if (m.ImageCount == 0) {
                m.MaskType = 1;
                m.ImageCount = 3;
            }
            m.BorderWidth = static_cast<std::int16_t>(image.BorderWidth);
            if (m.PropertyName == "PATTERN" || m.PropertyName == "HOTPATTERN") {
                m.ImgType = itisaTexture;
                m.StretchMode = image.ImgType == itisaTexture ? static_cast<std::int16_t>(image.StretchMode) : 0;
            } else {
                m.StretchMode = static_cast<std::int16_t>(image.StretchMode);
                m.ImgType = image.ImgType;
            }
        } catch (const std::exception&) {
            // The entry stays as far as it was filled; the next item is copied.
        }
    }
}

void TLoader::InternalPatterns() {
    const TsSkinPatterns& patterns = internal_->Patterns;
    for (int i = 0; i < patterns.Count(); ++i) {
        const TsSkinPattern& pattern = patterns[i];
        try {
            TsPatternData& p = tables_.Patterns.emplace_back();
            p.SectionName = UpperCase(pattern.SectionName);
            p.PropertyName = UpperCase(pattern.PropertyName);
            const TBitmap24* source = pattern.Image.Empty() ? nullptr : &pattern.Image;
            for (int j = 0; j < patterns.Count() && !source; ++j)
                if (patterns[j].Name == pattern.Name && !patterns[j].Image.Empty()) source = &patterns[j].Image;
            p.Img = std::make_shared<TBitmap24>(source ? source->Clone() : TBitmap24());
        } catch (const std::exception&) {
        }
    }
}

TsFontColor FontColorOf(std::string_view text) {
    TsFontColor result = DefaultFontColor;
    std::size_t start = 0;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::size_t end = i + 1 < result.size() ? text.find(' ', start) : text.size();
        if (end == std::string_view::npos) return DefaultFontColor;
        const auto v = TryStrToInt(text.substr(start, end - start));
        // Exactly five integers separated by single spaces, or the default.
        if (!v || text.substr(start, end - start).find(' ') != std::string_view::npos) return DefaultFontColor;
        result[i] = *v;
        start = end + 1;
    }
    return result;
}

void TLoader::InternalSections() {
    TsSkinData& info = tables_.SkinData;
    info.Version = internal_->Version;
    info.Author = internal_->Author;
    info.Description = internal_->Description;
    info.Shadow1Color = static_cast<std::int32_t>(internal_->Shadow1Color);
    info.Shadow1Offset = internal_->Shadow1Offset;
    info.Shadow1Blur = internal_->Shadow1Blur;
    info.Shadow1Transparency = internal_->Shadow1Transparency;
    for (int i = 0; i < internal_->GeneralData.Count(); ++i) {
        const TsSkinGeneral& g = internal_->GeneralData[i];
        try {
            TsGeneralData& d = tables_.Sections.emplace_back();
            CopyCommonSectionValues(d, g);
            d.FontColor = FontColorOf(g.FontColor);
            d.HotFontColor = FontColorOf(g.HotFontColor);
            d.GradientArray = ParseGradientData(g.GradientData);
            d.HotGradientArray = ParseGradientData(g.HotGradientData);
        } catch (const std::exception&) {
        }
    }
}

void TLoader::CommonMasks() {
    for (const TsIniFile::Section& section : common_.Sections()) {
        if (SameText(section.Name, "GLOBALINFO")) continue;
        for (const TsIniFile::Key& key : section.Keys) {
            At(key.Line, true);
            const std::string& value = key.Value;
            if (tables_.MasterBitmap.Empty() || value.find('#') == std::string::npos) {
                const std::string file = UpperCase(value);
                // Only ".BMP" names: other values of a common section are not pictures.
                if (file.find(".BMP") == std::string::npos) continue;
                auto picture = Picture(file, false);
                if (!picture) continue;
                AddMask(UpperCase(section.Name), UpperCase(key.Name)).Bmp = std::move(picture);
            } else if (value != "#") {
                const std::string property = UpperCase(key.Name);
                TsMaskData m = DecodeMasterMask(TsMaskForm::RectangleList, value, property);
                m.SectionName = UpperCase(section.Name);
                m.PropertyName = property;
                m.Manager = request_.Manager;
                tables_.Masks.push_back(std::move(m));
            }
        }
    }
}

void TLoader::CommonPatterns() {
    for (const TsIniFile::Section& section : common_.Sections()) {
        for (const TsIniFile::Key& key : section.Keys) {
            if (!IsJpegName(key.Value)) continue;
            if (auto picture = Picture(key.Value, true))
                tables_.Patterns.push_back(TsPatternData{std::move(picture), UpperCase(section.Name), UpperCase(key.Name)});
        }
    }
}

void TLoader::CommonSections() {
    for (const TsIniFile::Section& section : common_.Sections())
        tables_.Sections.push_back(ReadCommonSection(common_, section.Name, tables_.Sections));
}

void TLoader::Run() {
    try {
        Passes();
    } catch (...) {
        if (atLine_ > 0) {
            report_.FailedFile = atCommon_ ? std::string(CommonSectionsFile) : optionsPath_;
            report_.FailedLine = atLine_;
        }
        throw;
    }
}

void TLoader::Passes() {
    const bool found = ChooseSource();
    if (request_.SourceChosen) request_.SourceChosen(report_);
    if (!found) return;
    const bool folder = report_.FromFolder;
    if (!request_.CommonSections.empty()) {
        std::string text;
        for (const std::string& line : request_.CommonSections) text += line + "\n";
        common_.Parse(text);
    }

    tables_.ClearMasks();
    folder ? FolderMasks() : InternalMasks();
    CommonMasks();

    tables_.ClearPatterns();
    folder ? FolderPatterns() : InternalPatterns();
    CommonPatterns();

    tables_.ClearSections();
    folder ? FolderSections() : InternalSections();
    CommonSections();

    if (request_.Recolour) request_.Recolour(tables_);
}

}  // namespace

bool IsJpegName(std::string_view value) {
    const std::string upper = UpperCase(value);
    return upper.find(".JPG") != std::string::npos || upper.find(".JPEG") != std::string::npos;
}

void LoadSkin(const TsSkinLoadRequest& request, TsSkinTables& tables, TsSkinLoadReport& report) {
    report = TsSkinLoadReport();
    TLoader(request, tables, report).Run();
}

}  // namespace korvel
