// make-artwork OUTDIR: draws the launcher's window icon (korvel.ico, 32 x 32 in
// 256 colours) and its logo (logo.bmp, 234 x 191, 24 bits) and writes them.
// The pictures are drawn in code so they can be re-made and reviewed; the
// output is the same bytes on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    Rgb& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Rgb& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }

    // Blends colour c over (x, y) with coverage a (0..1).
    void Blend(int x, int y, Rgb c, double a) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
        a = std::min(a, 1.0);
        Rgb& p = At(x, y);
        p.r += (c.r - p.r) * a;
        p.g += (c.g - p.g) * a;
        p.b += (c.b - p.b) * a;
    }

    // Anti-aliased disc by 4 x 4 supersampling.
    void Disc(double cx, double cy, double radius, Rgb c, double alpha = 1.0) {
        for (int y = int(cy - radius - 1); y <= int(cy + radius + 1); ++y)
            for (int x = int(cx - radius - 1); x <= int(cx + radius + 1); ++x) {
                int inside = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx) {
                        double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
                        inside += dx * dx + dy * dy <= radius * radius;
                    }
                Blend(x, y, c, alpha * inside / 16.0);
            }
    }

    // Anti-aliased line of the given width (distance to segment, supersampled).
    void Line(double x0, double y0, double x1, double y1, double width, Rgb c, double alpha = 1.0) {
        int minx = int(std::min(x0, x1) - width - 1), maxx = int(std::max(x0, x1) + width + 1);
        int miny = int(std::min(y0, y1) - width - 1), maxy = int(std::max(y0, y1) + width + 1);
        double vx = x1 - x0, vy = y1 - y0, len2 = vx * vx + vy * vy;
        for (int y = miny; y <= maxy; ++y)
            for (int x = minx; x <= maxx; ++x) {
                int inside = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx) {
                        double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                        double t = len2 > 0 ? std::clamp(((px - x0) * vx + (py - y0) * vy) / len2, 0.0, 1.0) : 0;
                        double dx = px - (x0 + t * vx), dy = py - (y0 + t * vy);
                        inside += dx * dx + dy * dy <= width * width / 4;
                    }
                Blend(x, y, c, alpha * inside / 16.0);
            }
    }

    void FillRect(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = std::max(0, y0); y < std::min(h_, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(w_, x1); ++x) At(x, y) = c;
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

Rgb Hex(unsigned v) { return {double((v >> 16) & 255), double((v >> 8) & 255), double(v & 255)}; }
Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

// A 5 x 7 upper-case font for the logo's lettering.
const std::map<char, std::vector<std::string>> kGlyphs = {
    {'K', {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"}},
    {'O', {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."}},
    {'R', {"XXXX.", "X...X", "X...X", "XXXX.", "X.X..", "X..X.", "X...X"}},
    {'V', {"X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."}},
    {'E', {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"}},
    {'L', {"X....", "X....", "X....", "X....", "X....", "X....", "XXXXX"}},
    {'P', {"XXXX.", "X...X", "X...X", "XXXX.", "X....", "X....", "X...."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
};

// Draws text with square dots of size `scale`, each dot a soft rounded cell.
void Text(Canvas& c, int x, int y, const std::string& text, int scale, Rgb colour) {
    for (char ch : text) {
        const auto& rows = kGlyphs.at(ch);
        for (int gy = 0; gy < 7; ++gy)
            for (int gx = 0; gx < 5; ++gx)
                if (rows[gy][gx] == 'X') c.FillRect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, colour);
        x += 6 * scale;
    }
}

int TextWidth(const std::string& text, int scale) { return static_cast<int>(text.size()) * 6 * scale - scale; }

// The network motif shared by icon and logo: a core node with its neighbours.
struct Node {
    double x, y, r;
};

void Network(Canvas& c, const std::vector<Node>& nodes, double lineWidth, Rgb line, Rgb core, Rgb leaf, Rgb rim) {
    for (size_t i = 1; i < nodes.size(); ++i) c.Line(nodes[0].x, nodes[0].y, nodes[i].x, nodes[i].y, lineWidth, line);
    for (size_t i = 2; i < nodes.size(); ++i)
        c.Line(nodes[i - 1].x, nodes[i - 1].y, nodes[i].x, nodes[i].y, lineWidth * 0.6, line, 0.45);
    for (size_t i = 0; i < nodes.size(); ++i) {
        c.Disc(nodes[i].x, nodes[i].y, nodes[i].r + 1.2, rim);
        c.Disc(nodes[i].x, nodes[i].y, nodes[i].r, i == 0 ? core : leaf);
        c.Disc(nodes[i].x - nodes[i].r * 0.3, nodes[i].y - nodes[i].r * 0.35, nodes[i].r * 0.35, Hex(0xFFFFFF), 0.35);
    }
}

Canvas DrawLogo() {
    Canvas c(234, 191);
    Rgb top = Hex(0xF4F6F9), bottom = Hex(0xD9DFE7);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) c.At(x, y) = Mix(top, bottom, double(y) / (c.Height() - 1));
    // A thin frame, light from the top left.
    for (int x = 0; x < c.Width(); ++x) {
        c.At(x, 0) = Hex(0xFFFFFF);
        c.At(x, c.Height() - 1) = Hex(0x9AA5B4);
    }
    for (int y = 0; y < c.Height(); ++y) {
        c.At(0, y) = Hex(0xFFFFFF);
        c.At(c.Width() - 1, y) = Hex(0x9AA5B4);
    }
    const double cx = 117, cy = 74;
    std::vector<Node> nodes = {{cx, cy, 13}};
    const double angles[] = {-90, -30, 30, 90, 150, 210};
    for (double a : angles) {
        double rad = a * 3.14159265358979 / 180;
        nodes.push_back({cx + std::cos(rad) * 52, cy + std::sin(rad) * 46, 7});
    }
    Network(c, nodes, 2.4, Hex(0x7C8FA8), Hex(0x2F6DB5), Hex(0x5B8FCB), Hex(0xFFFFFF));
    Text(c, (c.Width() - TextWidth("KORVEL PRO", 3)) / 2 + 1, 147, "KORVEL PRO", 3, Hex(0xFFFFFF));
    Text(c, (c.Width() - TextWidth("KORVEL PRO", 3)) / 2, 146, "KORVEL PRO", 3, Hex(0x2B3A4E));
    return c;
}

Canvas DrawIcon() {
    Canvas c(32, 32);
    // Rounded tile in the accent colour with a soft vertical shade.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) c.At(x, y) = Hex(0xFF00FF);   // transparent, masked below
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x) {
            double dx = std::max({0.0, 5.5 - x, x - 25.5}), dy = std::max({0.0, 5.5 - y, y - 25.5});
            if (dx * dx + dy * dy <= 25) c.At(x, y) = Mix(Hex(0x4C8BD0), Hex(0x245A99), (y - 1) / 29.0);
        }
    std::vector<Node> nodes = {{16, 16, 4.2}, {16, 6.5, 2.4}, {24.5, 11.5, 2.4}, {24.5, 21, 2.4}, {16, 25.5, 2.4},
                               {7.5, 21, 2.4}, {7.5, 11.5, 2.4}};
    Network(c, nodes, 1.3, Hex(0xDDE8F5), Hex(0xFFFFFF), Hex(0xE8F0FA), Hex(0x1D4A80));
    return c;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 255);
    out.push_back((v >> 8) & 255);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void InfoHeader(std::vector<std::uint8_t>& out, int w, int h, int bits, unsigned imageBytes, unsigned colours) {
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours);
    Put32(out, 0);
}

std::vector<std::uint8_t> Bmp24(const Canvas& c) {
    const int stride = (c.Width() * 3 + 3) & ~3;
    const unsigned image = stride * c.Height();
    std::vector<std::uint8_t> out = {'B', 'M'};
    Put32(out, 14 + 40 + image);
    Put32(out, 0);
    Put32(out, 14 + 40);
    InfoHeader(out, c.Width(), c.Height(), 24, image, 0);
    for (int y = c.Height() - 1; y >= 0; --y) {
        size_t start = out.size();
        for (int x = 0; x < c.Width(); ++x) {
            out.push_back(Byte(c.At(x, y).b));
            out.push_back(Byte(c.At(x, y).g));
            out.push_back(Byte(c.At(x, y).r));
        }
        while ((out.size() - start) % 4) out.push_back(0);
    }
    return out;
}

// An icon file holding one 32 x 32 image in 256 colours: the palette is the
// distinct colours of the picture (the icon has far fewer than 256), magenta
// pixels become transparent through the AND mask.
std::vector<std::uint8_t> Ico256(const Canvas& c) {
    std::vector<unsigned> palette;
    std::map<unsigned, int> index;
    std::vector<int> pixels(32 * 32);
    auto quantise = [](double v) { return unsigned(Byte(std::round(v / 17.0) * 17.0)); };   // 16 levels a channel
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Rgb& p = c.At(x, y);
            unsigned key = (Byte(p.r) == 255 && Byte(p.g) == 0 && Byte(p.b) == 255)
                               ? 0u
                               : (quantise(p.r) << 16) | (quantise(p.g) << 8) | quantise(p.b);
            auto it = index.find(key);
            if (it == index.end()) {
                it = index.emplace(key, static_cast<int>(palette.size())).first;
                palette.push_back(key);
            }
            pixels[y * 32 + x] = it->second;
        }
    if (palette.size() > 256) {
        std::fprintf(stderr, "make-artwork: icon needs %zu colours, more than 256\n", palette.size());
        std::exit(1);
    }
    palette.resize(256, 0);
    const unsigned xorBytes = 32 * 32, andBytes = 32 * 4;
    const unsigned imageBytes = 40 + 256 * 4 + xorBytes + andBytes;
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);   // icon
    Put16(out, 1);   // one image
    out.push_back(32);
    out.push_back(32);
    out.push_back(0);   // 256 colours
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, imageBytes);
    Put32(out, 6 + 16);
    InfoHeader(out, 32, 64, 8, xorBytes + andBytes, 256);
    for (unsigned colour : palette) {
        out.push_back(colour & 255);
        out.push_back((colour >> 8) & 255);
        out.push_back((colour >> 16) & 255);
        out.push_back(0);
    }
    const int transparent = index.count(0u) ? index.at(0u) : -1;
    for (int y = 31; y >= 0; --y)
        for (int x = 0; x < 32; ++x) out.push_back(pixels[y * 32 + x] == transparent ? 0 : pixels[y * 32 + x]);
    for (int y = 31; y >= 0; --y)
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (pixels[y * 32 + byte * 8 + bit] == transparent) bits |= 0x80 >> bit;
            out.push_back(bits);
        }
    return out;
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-artwork OUTDIR\n  writes OUTDIR/korvel.ico and OUTDIR/logo.bmp\n");
        return 64;
    }
    const std::string dir = argv[1];
    if (!Write(dir + "/korvel.ico", Ico256(DrawIcon())) || !Write(dir + "/logo.bmp", Bmp24(DrawLogo()))) {
        std::fprintf(stderr, "make-artwork: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
