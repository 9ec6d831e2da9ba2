#include "skin/gradient_data.h"

#include "gui/text_convert.h"

namespace korvel {

TsGradArray ParseGradientData(std::string_view text) {
    std::vector<std::int32_t> values;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view item = text.substr(start, end - start);
        // A trailing ";" leaves no value behind it.
        if (!(end == text.size() && item.empty() && !values.empty()) && !(text.empty()))
            values.push_back(TryStrToInt(item).value_or(0));
        start = end + 1;
    }
    TsGradArray stops;
    stops.reserve(values.size() / 5);
    for (std::size_t i = 0; i + 5 <= values.size(); i += 5) {
        TsGradientStop stop;
        stop.Color1 = static_cast<TColor>(values[i]);
        stop.Color2 = static_cast<TColor>(values[i + 1]);
        const std::int32_t percent = values[i + 2];
        stop.Percent = static_cast<std::uint8_t>(percent < 0 ? 0 : percent > 100 ? 100 : percent);
        stop.Mode = values[i + 3];
        stops.push_back(stop);
    }
    return stops;
}

}  // namespace korvel
