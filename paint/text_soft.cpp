// The software text canvas: a fixed-width stand-in font over a working bitmap.
// It lays text out as DrawText does (lines, word breaks, alignment, clipping),
// which is what the caption logic depends on; the glyphs are plain blocks.
#include <algorithm>
#include <cstdint>

#include "paint/platform_canvas.h"

namespace korvel {
namespace {

// Characters are code points: continuation bytes of UTF-8 do not count.
long long CodePoints(std::string_view text) {
    return std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

std::vector<std::string_view> SplitLines(std::string_view text, unsigned format) {
    std::vector<std::string_view> lines;
    if (format & dtSingleLine) {
        lines.push_back(text);
        return lines;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

// Greedy breaks between words so that each line fits maxCells; a word longer than
// the line stays whole on a line of its own.
std::vector<std::string_view> BreakWords(std::string_view line, long long maxCells) {
    std::vector<std::string_view> out;
    std::size_t lineStart = std::string_view::npos, lineEnd = 0;
    long long cells = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t wordStart = line.find_first_not_of(' ', pos);
        if (wordStart == std::string_view::npos) break;
        std::size_t wordEnd = line.find(' ', wordStart);
        if (wordEnd == std::string_view::npos) wordEnd = line.size();
        const long long word = CodePoints(line.substr(wordStart, wordEnd - wordStart));
        if (lineStart == std::string_view::npos) {
            lineStart = wordStart, lineEnd = wordEnd, cells = word;
        } else if (cells + 1 + word <= maxCells) {
            lineEnd = wordEnd, cells += 1 + word;
        } else {
            out.push_back(line.substr(lineStart, lineEnd - lineStart));
            lineStart = wordStart, lineEnd = wordEnd, cells = word;
        }
        pos = wordEnd;
    }
    if (lineStart != std::string_view::npos) out.push_back(line.substr(lineStart, lineEnd - lineStart));
    if (out.empty()) out.push_back({});
    return out;
}

// Fills the part of [x0, x1) x [y0, y1) that lies inside clip.
void FillClipped(TBitmap24& bitmap, long long x0, long long y0, long long x1, long long y1, const TRect& clip,
                 TColor color) {
    x0 = std::max<long long>(x0, clip.Left), y0 = std::max<long long>(y0, clip.Top);
    x1 = std::min<long long>(x1, clip.Right), y1 = std::min<long long>(y1, clip.Bottom);
    for (long long y = y0; y < y1; ++y) {
        std::uint8_t* p = bitmap.ScanLine(static_cast<int>(y)) + x0 * 3;
        for (long long x = x0; x < x1; ++x, p += 3) {
            p[0] = BlueOf(color);
            p[1] = GreenOf(color);
            p[2] = RedOf(color);
        }
    }
}

}  // namespace

TSoftTextCanvas::TSoftTextCanvas(TBitmap24& bitmap) : bitmap_(bitmap) {
    state_.Clip = {0, 0, bitmap.Width(), bitmap.Height()};
}

TTextSize TSoftTextCanvas::TextExtent(std::string_view text) {
    const long long width = CodePoints(text) * CellWidth;
    return {static_cast<int>(std::min<long long>(width, 0x3FFFFFFF)), CellHeight};
}

void TSoftTextCanvas::DrawTextIn(std::string_view text, TRect& rect, unsigned format) {
    std::vector<std::string_view> lines;
    for (std::string_view line : SplitLines(text, format)) {
        if (format & dtWordBreak && !(format & dtSingleLine)) {
            const auto broken = BreakWords(line, std::max(0LL, static_cast<long long>(rect.Right) - rect.Left) / CellWidth);
            lines.insert(lines.end(), broken.begin(), broken.end());
        } else {
            lines.push_back(line);
        }
    }
    long long widest = 0;
    for (std::string_view line : lines) widest = std::max(widest, CodePoints(line) * CellWidth);
    const long long height = static_cast<long long>(lines.size()) * CellHeight;
    if (format & dtCalcRect) {
        rect.Right = static_cast<int>(std::min<long long>(rect.Left + widest, 0x3FFFFFFF));
        rect.Bottom = static_cast<int>(std::min<long long>(rect.Top + height, 0x3FFFFFFF));
        return;
    }
    long long y = rect.Top;
    if (format & dtSingleLine) {
        if (format & dtBottom) y = static_cast<long long>(rect.Bottom) - height;
        else if (format & dtVCenter) y = rect.Top + (static_cast<long long>(rect.Bottom) - rect.Top - height) / 2;
    }
    const TRect clip = format & dtNoClip ? state_.Clip : Intersect(state_.Clip, rect);
    if (clip.IsEmpty()) return;
    for (std::string_view line : lines) {
        const long long width = CodePoints(line) * CellWidth;
        long long x = rect.Left;
        if (format & dtCenter) x = rect.Left + (static_cast<long long>(rect.Right) - rect.Left - width) / 2;
        else if (format & dtRight) x = static_cast<long long>(rect.Right) - width;
        if (y >= clip.Bottom) break;
        if (y + CellHeight > clip.Top) {
            long long cx = x;
            for (std::size_t i = 0; i < line.size() && cx < clip.Right; ++i) {
                if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
                if (line[i] != ' ') FillClipped(bitmap_, cx, y, cx + CellWidth, y + CellHeight - 2, clip, state_.Color);
                cx += CellWidth;
            }
            if (state_.Underline) FillClipped(bitmap_, x, y + CellHeight - 1, x + width, y + CellHeight, clip, state_.Color);
        }
        y += CellHeight;
    }
}

void TSoftTextCanvas::SetPixel(int x, int y, TColor color) {
    if (x < state_.Clip.Left || y < state_.Clip.Top || x >= state_.Clip.Right || y >= state_.Clip.Bottom) return;
    bitmap_.SetPixel(x, y, color);
}

int TSoftTextCanvas::SaveState() {
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

void TSoftTextCanvas::RestoreState(int saved) {
    if (saved < 1 || saved > static_cast<int>(saved_.size())) return;
    state_ = saved_[static_cast<std::size_t>(saved) - 1];
    saved_.resize(static_cast<std::size_t>(saved) - 1);
}

void TSoftTextCanvas::IntersectClip(const TRect& rect) { state_.Clip = Intersect(state_.Clip, rect); }

}  // namespace korvel
