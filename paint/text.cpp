#include "paint/text.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <vector>

#include "gui/system_colors.h"

namespace korvel {
namespace {

// System colour indexes of the disabled caption.
constexpr int kButtonShadowIndex = 16;
constexpr int kButtonHighlightIndex = 20;

const TsGeneralData* SectionOf(const TTextSource& source) {
    if (!source.Tables || !source.Tables->IsValidSectionIndex(source.SkinIndex)) return nullptr;
    return &source.Tables->Sections[static_cast<std::size_t>(source.SkinIndex)];
}

void DrawAt(TTextCanvas& canvas, std::string_view text, TRect box, unsigned format) { canvas.DrawTextIn(text, box, format); }

// The contour passes: the text one pixel off in each direction, in that side's colour.
struct TContourPass {
    TsFontColorPart Part;
    int Dx, Dy;
};
constexpr TContourPass kContour[] = {{fcLeft, -1, 0}, {fcTop, 0, -1}, {fcRight, 1, 0}, {fcBottom, 0, 1}};

}  // namespace

void WriteTextEx(TTextCanvas& canvas, std::string_view text, bool enabled, bool hot, const TTextSource& source,
                 unsigned format, TRect& rect) {
    if (!InPaintRange(rect)) return;
    const TsGeneralData* section = SectionOf(source);
    const int saved = canvas.SaveState();
    if (hot && section && section->SectionName == "WEBBUTTON") canvas.SetUnderline(true);
    canvas.IntersectClip(rect);
    TRect box = rect;
    if (!(format & dtWordBreak)) {
        // In 64 bits, kept one pixel inside int so that the box can grow and move by one.
        const TTextSize size = canvas.TextExtent(text);
        const long long width = size.Width, height = size.Height;
        long long left = rect.Left;
        if (format & dtCenter) left += (static_cast<long long>(rect.Right) - rect.Left - width) / 2;
        else if (format & dtRight) left = rect.Right - width;
        const long long top = rect.Top + (static_cast<long long>(rect.Bottom) - rect.Top - height) / 2;
        auto fit = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN + 1LL, INT_MAX - 1LL)); };
        box = {fit(left), fit(top), fit(left + width), fit(top + height)};
        rect = {box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1};
    }
    if (!text.empty()) {
        if (!enabled) {
            canvas.SetFontColor(ColorToRgb(clSystemColor | kButtonHighlightIndex));
            DrawAt(canvas, text, box.Offset(1, 1), format);
            canvas.SetFontColor(ColorToRgb(clSystemColor | kButtonShadowIndex));
            DrawAt(canvas, text, box, format);
        } else if (!section) {
            DrawAt(canvas, text, box, format | dtNoClip);
        } else {
            if (!source.CustomFont) {
                const TsFontColor& colors = hot ? section->HotFontColor : section->FontColor;
                for (const TContourPass& pass : kContour) {
                    if (colors[pass.Part] == -1) continue;
                    canvas.SetFontColor(ColorToRgb(static_cast<TColor>(colors[pass.Part])));
                    DrawAt(canvas, text, box.Offset(pass.Dx, pass.Dy), format | dtNoClip);
                }
                canvas.SetFontColor(ColorToRgb(static_cast<TColor>(colors[fcText])));
            }
            DrawAt(canvas, text, box, format | dtNoClip);
        }
    }
    canvas.RestoreState(saved);
}

void WriteSectionText(TTextCanvas& canvas, std::string_view text, bool enabled, const TsSkinTables* tables, bool hot,
                      int skinIndex, unsigned format, TRect& rect) {
    WriteTextEx(canvas, text, enabled, hot, TTextSource{tables, skinIndex, false}, format, rect);
}

std::string CutText(TTextCanvas& canvas, std::string_view text, int maxWidth) {
    if (maxWidth <= 0) return {};
    if (canvas.TextExtent(text).Width <= maxWidth) return std::string(text);
    // Where each character starts; a cut is made only there.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    auto cut = [&](std::size_t kept) { return std::string(text.substr(0, starts[kept])) + "..."; };
    auto fits = [&](std::size_t kept) { return canvas.TextExtent(cut(kept)).Width <= maxWidth; };
    // The width grows with every character kept: the longest start that fits is found by halving.
    std::size_t low = 1, high = starts.size();   // kept characters: low fits once checked, high does not
    if (starts.size() < 2 || !fits(1)) return {};
    while (high - low > 1) {
        const std::size_t mid = low + (high - low) / 2;
        (fits(mid) ? low : high) = mid;
    }
    return cut(low);
}

void DrawDottedFrame(TTextCanvas& canvas, const TRect& rect) {
    if (rect.IsEmpty()) return;
    const long long left = rect.Left, top = rect.Top, right = rect.Right - 1LL, bottom = rect.Bottom - 1LL;
    // Only dots that can land inside the clip are visited: a dot at x may put its
    // white partner at x - 1, so x runs from the clip's left to its right edge.
    const TRect clip = canvas.ClipBox();
    auto first = [](long long from, long long start) {
        return start >= from ? start : start + (from - start + 2) / 3 * 3;
    };
    const long long x0 = first(clip.Left, left), x1 = std::min<long long>(right, clip.Right);
    const long long y0 = first(clip.Top, top), y1 = std::min<long long>(bottom, clip.Bottom);
    for (const TColor color : {TColor(0xFFFFFF), TColor(0)}) {
        const int shift = color == 0 ? 0 : -1;
        for (long long x = x0; x <= x1; x += 3) {
            canvas.SetPixel(static_cast<int>(x + shift), static_cast<int>(top + shift), color);
            canvas.SetPixel(static_cast<int>(x + shift), static_cast<int>(bottom + shift), color);
        }
        for (long long y = y0; y <= y1; y += 3) {
            canvas.SetPixel(static_cast<int>(left + shift), static_cast<int>(y + shift), color);
            canvas.SetPixel(static_cast<int>(right + shift), static_cast<int>(y + shift), color);
        }
    }
}

}  // namespace korvel
