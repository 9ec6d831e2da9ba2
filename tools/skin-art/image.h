#pragma once
// A small picture for drawing skin artwork pixel by pixel: colour per pixel
// (0x00BBGGRR) plus, per pixel, how much of what lies behind shows through
// (0 opaque, 255 fully see-through), which becomes the lower half of a
// mask-type-1 image. Everything here is deterministic integer arithmetic, so
// the generated files come out byte for byte the same on every run.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gui/colors.h"

namespace korvel::art {

constexpr TColor Rgb(int r, int g, int b) {
    return MakeColor(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b));
}
constexpr TColor Grey(int v) { return Rgb(v, v, v); }

// The colour t/256 of the way from a to b, rounded.
TColor Mix(TColor a, TColor b, int t256);

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

class TImage {
public:
    TImage() = default;
    TImage(int width, int height, TColor fill = clNone);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    TColor At(int x, int y) const { return pixels_[Index(x, y)]; }
    std::uint8_t SeeThrough(int x, int y) const { return seeThrough_[Index(x, y)]; }
    // Writes outside the picture are dropped, so shapes may be clipped freely.
    void Set(int x, int y, TColor c, std::uint8_t seeThrough = 0);
    void SetSeeThrough(int x, int y, std::uint8_t seeThrough);
    // Key colour, fully see-through.
    void Clear(int x, int y) { Set(x, y, clNone, 255); }

    void Fill(TRect r, TColor c, std::uint8_t seeThrough = 0);
    void HLine(int x0, int x1, int y, TColor c);   // x0..x1 inclusive
    void VLine(int x, int y0, int y1, TColor c);   // y0..y1 inclusive
    void FrameRect(TRect r, TColor c);
    // Top-to-bottom blend from `top` to `bottom` across the rectangle.
    void VGradient(TRect r, TColor top, TColor bottom);
    void HGradient(TRect r, TColor left, TColor right);

    // Copies `src` with its see-through values to (x, y); key pixels are copied as well.
    void Paste(const TImage& src, int x, int y);
    // Paints `src` over this picture: key pixels are skipped, the others blended by their see-through value.
    void DrawOver(const TImage& src, int x, int y);

    // Draws a picture written as text rows: each character is looked up in
    // `palette` (pairs of character and colour); characters not in it are left alone.
    void Pattern(int x, int y, const std::vector<std::string>& rows,
                 const std::vector<std::pair<char, TColor>>& palette);

    TImage Crop(TRect r) const;
    // Colour half on top, see-through half (grey levels) below: the layout of mask type 1.
    TImage WithSeeThroughHalf() const;
    TImage Enlarged(int factor) const;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }

    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;
    std::vector<std::uint8_t> seeThrough_;
};

// A small deterministic noise source, so that textures come out the same on every run.
class TNoise {
public:
    explicit TNoise(std::uint32_t seed) : state_(seed) {}
    // A number from 0 to range - 1.
    int Next(int range) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(range));
    }

private:
    std::uint32_t state_;
};

// A rounded rectangle measured from its outside: for every pixel, 0 when it lies
// outside the shape, else its 4-neighbour distance from the outside (1 is the outline).
// `corner` lists, for the first rows of each corner, how many pixels are cut off.
class TShape {
public:
    TShape(int width, int height, const std::vector<int>& corner);
    // Any shape: `inside` says which pixels belong to it.
    TShape(int width, int height, const std::function<bool(int, int)>& inside);
    int Depth(int x, int y) const { return depth_[static_cast<std::size_t>(y) * width_ + x]; }
    // True when the pixel's nearest outside lies above or to the left: the side
    // the light falls on, with light coming from the top left.
    bool Lit(int x, int y) const { return lit_[static_cast<std::size_t>(y) * width_ + x] != 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<int> depth_;
    std::vector<std::uint8_t> lit_;
};

}  // namespace korvel::art
