#include "tools/skin-art/image.h"

#include <algorithm>
#include <deque>

namespace korvel::art {

TColor Mix(TColor a, TColor b, int t256) {
    auto ch = [&](int ca, int cb) { return (ca * (256 - t256) + cb * t256 + 128) >> 8; };
    return Rgb(ch(RedOf(a), RedOf(b)), ch(GreenOf(a), GreenOf(b)), ch(BlueOf(a), BlueOf(b)));
}

TImage::TImage(int width, int height, TColor fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * height_, fill),
      seeThrough_(static_cast<std::size_t>(width_) * height_, fill == clNone ? 255 : 0) {}

void TImage::Set(int x, int y, TColor c, std::uint8_t seeThrough) {
    if (!Inside(x, y)) return;
    pixels_[Index(x, y)] = c;
    seeThrough_[Index(x, y)] = c == clNone ? 255 : seeThrough;
}

void TImage::SetSeeThrough(int x, int y, std::uint8_t seeThrough) {
    if (Inside(x, y)) seeThrough_[Index(x, y)] = seeThrough;
}

void TImage::Fill(TRect r, TColor c, std::uint8_t seeThrough) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) Set(x, y, c, seeThrough);
}

void TImage::HLine(int x0, int x1, int y, TColor c) {
    for (int x = x0; x <= x1; ++x) Set(x, y, c);
}

void TImage::VLine(int x, int y0, int y1, TColor c) {
    for (int y = y0; y <= y1; ++y) Set(x, y, c);
}

void TImage::FrameRect(TRect r, TColor c) {
    HLine(r.Left, r.Right - 1, r.Top, c);
    HLine(r.Left, r.Right - 1, r.Bottom - 1, c);
    VLine(r.Left, r.Top, r.Bottom - 1, c);
    VLine(r.Right - 1, r.Top, r.Bottom - 1, c);
}

void TImage::VGradient(TRect r, TColor top, TColor bottom) {
    const int n = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y) HLine(r.Left, r.Right - 1, y, Mix(top, bottom, (y - r.Top) * 256 / n));
}

void TImage::HGradient(TRect r, TColor left, TColor right) {
    const int n = std::max(1, r.Width() - 1);
    for (int x = r.Left; x < r.Right; ++x) VLine(x, r.Top, r.Bottom - 1, Mix(left, right, (x - r.Left) * 256 / n));
}

void TImage::Paste(const TImage& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) Set(x + sx, y + sy, src.At(sx, sy), src.SeeThrough(sx, sy));
}

void TImage::DrawOver(const TImage& src, int x, int y) {
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx) {
            const TColor s = src.At(sx, sy);
            if (s == clNone || !Inside(x + sx, y + sy)) continue;
            const int m = src.SeeThrough(sx, sy);
            const TColor d = At(x + sx, y + sy);
            if (d == clNone) {
                Set(x + sx, y + sy, s, static_cast<std::uint8_t>(m));
            } else {
                Set(x + sx, y + sy, Mix(s, d, m), SeeThrough(x + sx, y + sy) * m / 255);
            }
        }
}

void TImage::Pattern(int x, int y, const std::vector<std::string>& rows,
                     const std::vector<std::pair<char, TColor>>& palette) {
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            for (const auto& [ch, colour] : palette)
                if (rows[r][c] == ch) Set(x + static_cast<int>(c), y + static_cast<int>(r), colour);
}

TImage TImage::Crop(TRect r) const {
    TImage out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            if (Inside(r.Left + x, r.Top + y))
                out.Set(x, y, At(r.Left + x, r.Top + y), SeeThrough(r.Left + x, r.Top + y));
    return out;
}

TImage TImage::WithSeeThroughHalf() const {
    TImage out(width_, height_ * 2);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            out.Set(x, y, At(x, y), SeeThrough(x, y));
            const int m = SeeThrough(x, y);
            out.Set(x, y + height_, Grey(m));
        }
    return out;
}

TImage TImage::Enlarged(int factor) const {
    TImage out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) out.Set(x, y, At(x / factor, y / factor), SeeThrough(x / factor, y / factor));
    return out;
}

TShape::TShape(int width, int height, const std::vector<int>& corner)
    : TShape(width, height, [&](int x, int y) {
          const int n = static_cast<int>(corner.size());
          const int dx = std::min(x, width - 1 - x);
          const int dy = std::min(y, height - 1 - y);
          return !(dy < n && dx < corner[dy]);
      }) {}

TShape::TShape(int width, int height, const std::function<bool(int, int)>& inside)
    : width_(width), height_(height),
      depth_(static_cast<std::size_t>(width) * height, -1),
      lit_(static_cast<std::size_t>(width) * height, 0) {
    auto cut = [&](int x, int y) { return !inside(x, y); };
    // Breadth-first from the outside: the picture's edge counts as outside.
    std::deque<std::pair<int, int>> queue;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (cut(x, y)) depth_[static_cast<std::size_t>(y) * width + x] = 0;
    auto outsideNeighbour = [&](int x, int y, int dx, int dy) {
        const int nx = x + dx, ny = y + dy;
        return nx < 0 || ny < 0 || nx >= width || ny >= height || depth_[static_cast<std::size_t>(ny) * width + nx] == 0;
    };
    const int dirs[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto& d = depth_[static_cast<std::size_t>(y) * width + x];
            if (d == 0) continue;
            for (const auto& dir : dirs)
                if (outsideNeighbour(x, y, dir[0], dir[1])) {
                    d = 1;
                    queue.emplace_back(x, y);
                    break;
                }
        }
    while (!queue.empty()) {
        const auto [x, y] = queue.front();
        queue.pop_front();
        const int d = depth_[static_cast<std::size_t>(y) * width + x];
        for (const auto& dir : dirs) {
            const int nx = x + dir[0], ny = y + dir[1];
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            auto& nd = depth_[static_cast<std::size_t>(ny) * width + nx];
            if (nd == -1) {
                nd = d + 1;
                queue.emplace_back(nx, ny);
            }
        }
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int d = Depth(x, y);
            if (d <= 0) continue;
            auto lower = [&](int dx, int dy) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= width || ny >= height) return true;
                return Depth(nx, ny) < d;
            };
            const bool upLeft = lower(-1, 0) || lower(0, -1);
            const bool downRight = lower(1, 0) || lower(0, 1);
            // Where both sides are near (thin shapes), the nearer axis decides.
            lit_[static_cast<std::size_t>(y) * width + x] = upLeft && (!downRight || x + y < (width + height) / 2);
        }
}

}  // namespace korvel::art
