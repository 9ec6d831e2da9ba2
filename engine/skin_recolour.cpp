#include "engine/skin_recolour.h"

#include <functional>
#include <unordered_set>

#include "paint/color.h"

namespace korvel {

namespace {

using TColorPass = std::function<TColor(TColor)>;

bool KeepsPixel(TColor c) {
    return c == clNone || (RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c));
}

void RecolourBitmap(TBitmap24& bitmap, const TColorPass& pass) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixel(x, y);
            if (!KeepsPixel(c)) bitmap.SetPixel(x, y, pass(c) & 0xFFFFFFu);
        }
    }
}

void RecolourFont(TsFontColor& font, const TColorPass& pass) {
    for (auto& c : font) {
        if (c != -1) c = static_cast<std::int32_t>(pass(static_cast<TColor>(c)));
    }
}

void RecolourGradient(TsGradArray& gradient, const TColorPass& pass) {
    for (auto& step : gradient) {
        step.Color1 = pass(step.Color1);
        step.Color2 = pass(step.Color2);
    }
}

void RunPass(TsSkinTables& tables, const TColorPass& pass) {
    RecolourBitmap(tables.MasterBitmap, pass);
    // Masks that name the same file share its picture: each picture changes once.
    std::unordered_set<const TBitmap24*> done;
    for (auto& mask : tables.Masks) {
        if (mask.Bmp && done.insert(mask.Bmp.get()).second) RecolourBitmap(*mask.Bmp, pass);
    }
    for (auto& section : tables.Sections) {
        section.Color = pass(section.Color);
        section.HotColor = pass(section.HotColor);
        RecolourFont(section.FontColor, pass);
        RecolourFont(section.HotFontColor, pass);
        RecolourGradient(section.GradientArray, pass);
        RecolourGradient(section.HotGradientArray, pass);
    }
    tables.SkinData.Shadow1Color = static_cast<std::int32_t>(pass(static_cast<TColor>(tables.SkinData.Shadow1Color)));
}

}  // namespace

int SaturationAmount(int saturation) {
    // In 64 bits so that negating the smallest integer stays defined.
    return static_cast<int>(-static_cast<long long>(saturation) % 101);
}

void RecolourSkin(TsSkinTables& tables, int hueOffset, int saturation) {
    if (hueOffset != 0) RunPass(tables, [hueOffset](TColor c) { return ChangeHue(hueOffset, c); });
    if (saturation != 0) {
        const int amount = SaturationAmount(saturation);
        RunPass(tables, [amount](TColor c) { return ChangeSaturation(c, amount); });
    }
}

}  // namespace korvel
