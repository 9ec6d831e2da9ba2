#include "tools/skin-art/options_writer.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace korvel::art {

TSectionValues& TSectionValues::Set(const std::string& key, const std::string& value) {
    const auto at = std::find_if(keys_.begin(), keys_.end(), [&](const auto& k) { return k.first == key; });
    if (at != keys_.end()) at->second = value;
    else keys_.emplace_back(key, value);
    return *this;
}

TSectionValues& TSectionValues::Remove(const std::string& key) {
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(), [&](const auto& k) { return k.first == key; }), keys_.end());
    return *this;
}

TSectionValues SharedSection(const std::string& name) {
    TSectionValues s(name);
    s.Colour("COLOR", Grey(255))
        .Set("BEVEL", 0)
        .Set("SHADOWBLUR", 6)
        .Set("SHADOWOFFSET", 3)
        .Set("SHADOWCOLOR", 0)
        .Set("SHADOWTRANSPARENCY", 60)
        .Flag("SHADOWENABLED", false)
        .Flag("RESERVEDBOOLEAN", false)
        .Set("FONTCOLOR", 0)
        .Set("HOTFONTCOLOR", 0)
        .Set("TRANSPARENCY", 0)
        .Set("GRADIENTPERCENT", 0)
        .Set("IMAGEPERCENT", 0)
        .Set("GRADIENTDATA", " ")
        .Flag("SHOWFOCUS", false)
        .Flag("FADINGENABLED", false)
        .Set("FADINGINTERVALIN", 5)
        .Set("FADINGINTERVALOUT", 5)
        .Set("FADINGITERATIONS", 5)
        .Colour("HOTCOLOR", Grey(255))
        .Set("HOTTRANSPARENCY", 0)
        .Set("HOTBEVEL", 0)
        .Set("HOTGRADIENTPERCENT", 0)
        .Set("HOTGRADIENTDATA", " ")
        .Set("HOTIMAGEPERCENT", 0)
        .Set("BORDERCOLOR1", 0)
        .Set("BORDERCOLOR2", 0);
    return s;
}

std::string Gradient(TColor from, TColor to, int mode) {
    const std::string f = std::to_string(from), t = std::to_string(to), m = std::to_string(mode);
    return f + ";" + t + ";100;" + m + ";0;" + t + ";" + t + ";0;" + m + ";0";
}

std::string RectangleMask(TRect r, int count, int maskType, int borderWidth) {
    return "#(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ") (" + std::to_string(count) + "," + std::to_string(maskType) + "," +
           std::to_string(borderWidth) + ",0)";
}

namespace {

std::string Fixed(const char* format, std::initializer_list<int> v) {
    char buffer[64];
    const auto* p = v.begin();
    switch (v.size()) {
    case 6: std::snprintf(buffer, sizeof buffer, format, p[0], p[1], p[2], p[3], p[4], p[5]); break;
    case 12:
        std::snprintf(buffer, sizeof buffer, format, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9], p[10],
                      p[11]);
        break;
    default: buffer[0] = 0;
    }
    return buffer;
}

}  // namespace

std::string GlyphMask(TRect r, int count, int maskType) {
    return Fixed("@%04d,%04d,%04d,%04d,%1d,%1d", {r.Left, r.Top, r.Right, r.Bottom, count, maskType});
}

std::string BorderMask(TRect r, int count, int maskType, int stretch, int borderWidth, int w) {
    return Fixed("^%04d,%04d,%04d,%04d,%04d,%04d,%04d,%04d,%1d,%1d,%1d,%1d",
                 {r.Left, r.Top, r.Right, r.Bottom, w, w, w, w, count, maskType, stretch, borderWidth});
}

std::string TextureMask(TRect r, int stretch, int maskType) {
    return Fixed("~%04d,%04d,%04d,%04d,%02d,%1d", {r.Left, r.Top, r.Right, r.Bottom, stretch, maskType});
}

std::string WriteOptions(const std::vector<std::string>& headerComments, const std::vector<TSectionValues>& sections) {
    std::string out;
    for (const auto& line : headerComments) out += "; " + line + "\r\n";
    for (const auto& section : sections) {
        out += "\r\n[" + section.Name() + "]\r\n";
        for (const auto& [key, value] : section.Keys()) out += key + "=" + value + "\r\n";
    }
    return out;
}

}  // namespace korvel::art
