#include "skin/mask_forms.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "gui/text_convert.h"

namespace korvel {
namespace {

std::int16_t Clamp16(std::int32_t v) {
    if (v < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    if (v > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(v);
}

// Columns first..last, 1-based, of a fixed-column value (shorter values give
// what is there, which then fails the integer conversion).
std::int32_t Column(std::string_view value, std::size_t first, std::size_t last) {
    const std::size_t start = first - 1;
    if (start >= value.size()) return StrToInt("");
    return StrToInt(value.substr(start, last - first + 1));
}

std::vector<std::string_view> Words(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = text.find_first_not_of(separators, i);
        if (start == std::string_view::npos) break;
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        words.push_back(text.substr(start, end - start));
        i = end;
    }
    return words;
}

std::string_view Word(const std::vector<std::string_view>& words, std::size_t n) {
    return n >= 1 && n <= words.size() ? words[n - 1] : std::string_view();
}

TacImgType ImgTypeOf(std::int32_t n) {
    return n == itisaTexture ? itisaTexture : n == itisaGlyph ? itisaGlyph : itisaBorder;
}

}  // namespace

TsMaskForm MaskFormOf(std::string_view value) {
    if (value.empty() || value == "#") return TsMaskForm::None;
    switch (value.front()) {
    case '!': return TsMaskForm::PictureWithCounts;
    case '@': return TsMaskForm::Glyph;
    case '^': return TsMaskForm::Border;
    case '~': return TsMaskForm::Texture;
    }
    if (value.find('#') == std::string_view::npos)
        return UpperCase(value).find(".BMP") != std::string::npos ? TsMaskForm::Picture : TsMaskForm::None;
    return TsMaskForm::RectangleList;
}

TsPictureWithCounts DecodePictureWithCounts(std::string_view value) {
    const auto words = Words(value, "!");
    TsPictureWithCounts result;
    if (Word(words, 1).find(".BMP") == std::string_view::npos) return result;
    result.FileName = std::string(Word(words, 1));
    result.ImageCount = Clamp16(StrToInt(Word(words, 2)));
    result.MaskType = Clamp16(StrToInt(Word(words, 3)));
    result.ImgType = ImgTypeOf(StrToInt(Word(words, 4)));
    return result;
}

TsMaskData DecodeMasterMask(TsMaskForm form, std::string_view value, std::string_view propertyName) {
    TsMaskData m;
    auto rectangleFromColumns = [&] {
        m.R = TsMaskRect{Column(value, 2, 5), Column(value, 7, 10), Column(value, 12, 15), Column(value, 17, 20)};
    };
    switch (form) {
    case TsMaskForm::Glyph:
        rectangleFromColumns();
        m.ImageCount = Clamp16(Column(value, 22, 22));
        m.MaskType = Clamp16(Column(value, 24, 24));
        m.ImgType = itisaGlyph;
        break;
    case TsMaskForm::Border:
        rectangleFromColumns();
        m.WL = Clamp16(Column(value, 22, 25));
        m.WT = Clamp16(Column(value, 27, 30));
        m.WR = Clamp16(Column(value, 32, 35));
        m.WB = Clamp16(Column(value, 37, 40));
        m.ImageCount = Clamp16(Column(value, 42, 42));
        m.MaskType = Clamp16(Column(value, 44, 44));
        m.StretchMode = Clamp16(Column(value, 46, 46));
        m.BorderWidth = Clamp16(Column(value, 48, 48));
        m.ImgType = itisaBorder;
        break;
    case TsMaskForm::Texture:
        rectangleFromColumns();
        m.StretchMode = Clamp16(Column(value, 22, 23));
        m.MaskType = value.size() < 25 ? 0 : Clamp16(Column(value, 25, 25));
        m.ImageCount = 1;
        m.ImgType = itisaTexture;
        break;
    case TsMaskForm::RectangleList: {
        const auto words = Words(value, " ()");
        const auto rect = Words(Word(words, 2), ", ");
        m.R = TsMaskRect{StrToInt(Word(rect, 1)), StrToInt(Word(rect, 2)), StrToInt(Word(rect, 3)), StrToInt(Word(rect, 4))};
        const auto counts = Words(Word(words, 3), ", ");
        m.ImageCount = Clamp16(std::max(1, StrToInt(Word(counts, 1))));
        m.MaskType = Clamp16(std::max(0, StrToInt(Word(counts, 2))));
        m.BorderWidth = counts.size() >= 3 ? Clamp16(std::max(0, StrToInt(Word(counts, 3)))) : 0;
        if (propertyName == "PATTERN" || propertyName == "HOTPATTERN") {
            m.ImgType = itisaTexture;
            m.StretchMode = 0;
        } else {
            m.StretchMode = counts.size() >= 4 ? Clamp16(StrToInt(Word(counts, 4))) : 1;
            m.ImgType = itisaBorder;
        }
        break;
    }
    default:
        break;
    }
    return m;
}

}  // namespace korvel
