#include "tools/skin-art/parts.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace korvel::art {
namespace {

const std::vector<int> kRound5 = {4, 2, 1, 1};   // window corners
const std::vector<int> kRound3 = {2, 1};         // buttons and panels
const std::vector<int> kRound1 = {1};            // fields and boxes

using TRows = std::vector<std::string>;

void DrawRows(TImage& image, int x, int y, const TRows& rows, TColor colour) {
    image.Pattern(x, y, rows, {{'X', colour}});
}

TColor StateOutline(const TLook& look, int state) {
    return state == 0 ? look.Outline : state == 1 ? look.OutlineHot : look.OutlinePressed;
}

// A small raised (or, pressed, inset) face: outline, gradient, highlight ring.
void PaintFace(TImage& image, const TShape& shape, int ox, int oy, const TLook& look, int state) {
    const int h = shape.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < shape.Width(); ++x) {
            const int d = shape.Depth(x, y);
            if (d <= 0) continue;
            TColor c = Mix(look.Face[state][0], look.Face[state][1], y * 256 / std::max(1, h - 1));
            if (d == 1) c = StateOutline(look, state);
            else if (d == 2 && shape.Lit(x, y)) c = state == 2 ? Mix(c, look.Shade, 96) : Mix(c, look.Light, 160);
            image.Set(ox + x, oy + y, c);
        }
}

}  // namespace

const std::vector<std::string>& CaptionGlyphRows(TCaptionGlyph glyph) {
    static const TRows none;
    static const TRows close = {"XX....XX", ".XX..XX.", "..XXXX..", "...XX...", "..XXXX..", ".XX..XX.", "XX....XX"};
    static const TRows minimise = {"........", "........", "........", "........", "........", "XXXXXXXX", "XXXXXXXX"};
    static const TRows maximise = {"XXXXXXXX", "XXXXXXXX", "X......X", "X......X", "X......X", "X......X", "XXXXXXXX"};
    static const TRows restore = {"..XXXXXX", "..XXXXXX", "..X....X", "XXXXXX.X", "XXXXXX.X", "X....XXX",
                                  "X....X..", "XXXXXX.."};
    static const TRows help = {"..XXXX..", ".XX..XX.", ".....XX.", "....XX..", "...XX...", "...XX...", "........",
                               "...XX..."};
    switch (glyph) {
    case TCaptionGlyph::Close: return close;
    case TCaptionGlyph::Minimise: return minimise;
    case TCaptionGlyph::Maximise: return maximise;
    case TCaptionGlyph::Restore: return restore;
    case TCaptionGlyph::Help: return help;
    case TCaptionGlyph::None: break;
    }
    return none;
}

TImage Strip(const std::vector<TImage>& images) {
    int width = 0, height = 0;
    for (const auto& i : images) {
        width += i.Width();
        height = std::max(height, i.Height());
    }
    TImage out(width, height);
    int x = 0;
    for (const auto& i : images) {
        out.Paste(i, x, 0);
        x += i.Width();
    }
    return out;
}

TImage Transposed(const TImage& image) {
    TImage out(image.Height(), image.Width());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) out.Set(y, x, image.At(x, y), image.SeeThrough(x, y));
    return out;
}

TImage FlippedVertically(const TImage& image) {
    TImage out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            out.Set(x, image.Height() - 1 - y, image.At(x, y), image.SeeThrough(x, y));
    return out;
}

TImage WindowFrame(const TLook& look, int width, int height) {
    TImage out(width, height);
    const TShape shape(width, height, kRound5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int d = shape.Depth(x, y);
            const bool lit = shape.Lit(x, y);
            switch (d) {
            case 1: out.Set(x, y, look.FrameOuter); break;
            case 2: out.Set(x, y, lit ? look.FrameLight : Mix(look.FrameMid, look.FrameInner, 128)); break;
            case 3: out.Set(x, y, look.FrameMid); break;
            case 4: out.Set(x, y, look.FrameInner); break;
            case 0: break;    // outside the window
            default:          // the form's own background shows between the corners
                if ((x < width / 3 || x >= width - width / 3) && (y < height / 3 || y >= height - height / 3))
                    out.Set(x, y, look.FormColour);
                break;
            }
        }
    return out;
}

TImage TitleFrame(const TLook& look, int width, int height) {
    TImage out(width, height);
    // Only the top corners are round: the shape runs on below the picture.
    const TShape shape(width, height + 8, kRound5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int d = shape.Depth(x, y);
            if (d == 1) out.Set(x, y, look.FrameOuter);
            else if (d == 2 && shape.Lit(x, y)) out.Set(x, y, look.Light, 150);
            else if (d >= 2) out.Set(x, y, look.Light, 255);
        }
    return out;
}

TImage CaptionButton(const TLook& look, int state, TCaptionGlyph glyph, int height) {
    TImage out(18, height);
    PaintFace(out, TShape(18, 18, kRound3), 0, 0, look, state);
    const auto& rows = CaptionGlyphRows(glyph);
    if (!rows.empty()) {
        const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
        const int shift = state == 2 ? 1 : 0;
        DrawRows(out, (18 - w) / 2 + shift, (18 - h) / 2 + shift, rows, look.Glyph[state]);
    }
    return out;
}

TImage SizeGrip(const TLook& look) {
    TImage out(12, 12);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i + j < 3; ++i) {
            const int x = 9 - 3 * i, y = 9 - 3 * j;
            out.Set(x, y, look.FrameOuter);
            out.Set(x + 1, y + 1, look.Light);
        }
    return out;
}

TImage PanelFrame(const TLook& look, bool sunken) {
    TImage out(24, 24);
    const TShape shape(24, 24, kRound3);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const int d = shape.Depth(x, y);
            if (d <= 0) continue;
            const bool lit = shape.Lit(x, y) != sunken;
            if (d == 1) out.Set(x, y, look.Outline);
            else if (d == 2) out.Set(x, y, lit ? look.Light : look.Shade, lit ? 90 : 150);
            else out.Set(x, y, look.Light, 255);
        }
    return out;
}

TImage PanelGlyph(const TLook& look, int state) {
    TImage out(8, 7);
    DrawRows(out, 0, 1, {"X.....X", "XX...XX", ".XX.XX.", "..XXX..", "...X..."}, look.Glyph[state]);
    return out;
}

TImage ButtonFrame(const TLook& look, int state) {
    TImage out(18, 18);
    const TShape shape(18, 18, kRound3);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const int d = shape.Depth(x, y);
            const bool lit = shape.Lit(x, y);
            if (d <= 0) continue;
            if (d == 1) {
                out.Set(x, y, StateOutline(look, state));
            } else if (state == 0) {
                if (d == 2) out.Set(x, y, lit ? look.Light : look.Shade, lit ? 80 : 170);
                else out.Set(x, y, look.Light, 255);
            } else if (state == 1) {
                if (d == 2) out.Set(x, y, Mix(look.OutlineHot, look.Light, 150), 70);
                else out.Set(x, y, look.Light, 255);
            } else {
                // Pressed: inset shadow along the top and left, the face darkened.
                if (d == 2) out.Set(x, y, lit ? look.Shade : look.Light, lit ? 110 : 150);
                else out.Set(x, y, Mix(look.OutlinePressed, look.Shade, 128), 200);
            }
        }
    return out;
}

TImage EditFrame(const TLook& look) {
    TImage out(27, 24);
    const TShape shape(27, 24, kRound1);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 27; ++x) {
            const int d = shape.Depth(x, y);
            if (d == 1) out.Set(x, y, look.Outline);
            else if (d == 2 && shape.Lit(x, y)) out.Set(x, y, look.Well);
            else if (d > 1 && (x < 9 || x >= 18) && (y < 8 || y >= 16)) out.Set(x, y, look.FieldColour);
        }
    return out;
}

TImage CheckGlyph(const TLook& look, int state, TCheckKind kind, bool radio) {
    const bool grayed = kind == TCheckKind::Grayed;
    TImage out(16, grayed ? 13 : 18);
    const int top = grayed ? 0 : 2;
    const TShape shape(13, 13, radio ? kRound5 : kRound1);
    PaintFace(out, shape, 1, top, look, state);
    if (kind == TCheckKind::Checked && radio) {
        const TShape dot(5, 5, kRound1);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x)
                if (dot.Depth(x, y) > 0) out.Set(5 + x, top + 4 + y, look.Mark[state]);
    } else if (kind == TCheckKind::Checked) {
        DrawRows(out, 4, top + 3,
                 {"......X", ".....XX", "X...XXX", "XX.XXX.", "XXXXX..", ".XXX...", "..X...."}, look.Mark[state]);
    } else if (grayed) {
        out.Fill({5, top + 4, 12, top + 9}, Mix(look.Mark[state], look.Face[state][1], 128));
    }
    return out;
}

TImage TrackFrame(const TLook& look, int state) {
    TImage out(9, 9);
    const TShape shape(9, 9, kRound1);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const int d = shape.Depth(x, y);
            if (d <= 0) continue;
            if (d == 1) out.Set(x, y, look.Track[state]);
            else if (state == 2) out.Set(x, y, look.Shade, 210);
            else out.Set(x, y, look.Light, 255);
        }
    return out;
}

TImage ArrowGlyph(const TLook& look, int state, TArrow arrow) {
    TImage up(9, 9);
    const int shift = state == 2 ? 1 : 0;
    DrawRows(up, shift, 2 + shift, {"....X....", "...XXX...", "..XXXXX..", ".XXXXXXX."}, look.Glyph[state]);
    switch (arrow) {
    case TArrow::Up: return up;
    case TArrow::Down: return FlippedVertically(up);
    case TArrow::Left: return Transposed(up);
    case TArrow::Right: return Transposed(FlippedVertically(up));
    }
    return up;
}

TImage SliderGrip(const TLook& look, int state, bool vertical) {
    // Three ridges across the thumb: a dark line with a light one beside it.
    TImage lines(8, 7);
    const TColor dark = state == 0 ? look.Shade : StateOutline(look, state);
    for (int i = 0; i < 3; ++i) {
        lines.VLine(i * 3, 0, 6, dark);
        lines.VLine(i * 3 + 1, 0, 6, look.Light);
    }
    return vertical ? Transposed(lines) : lines;
}

TImage Channel(const TLook& look) {
    TImage out(15, 6);
    const TShape shape(15, 5, kRound1);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 15; ++x) {
            const int d = shape.Depth(x, y);
            if (d == 1) out.Set(x, y, shape.Lit(x, y) ? look.Shade : look.Outline);
            else if (d > 1) out.Set(x, y, look.Groove);
        }
    out.HLine(1, 13, 5, look.Light);
    return out;
}

TImage Divider(const TLook& look) {
    TImage out(6, 6);
    const TShape shape(6, 6, std::vector<int>{});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            if (shape.Depth(x, y) == 1) out.Set(x, y, shape.Lit(x, y) ? look.Shade : look.Light);
    return out;
}

TImage TrackThumb(const TLook& look, int state, bool vertical) {
    TImage out(11, 19);
    const TShape shape(11, 19, [](int x, int y) {
        if (y < 13) return !(y == 0 && (x == 0 || x == 10));
        return std::abs(x - 5) <= 18 - y;
    });
    PaintFace(out, shape, 0, 0, look, state);
    return vertical ? Transposed(out) : out;
}

TImage TabFrame(const TLook& look, int state) {
    TImage out(18, 18);
    const TShape shape(18, 24, kRound3);   // open at the bottom, where the tab meets its page
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const int d = shape.Depth(x, y);
            if (d <= 0) continue;
            if (d == 1) out.Set(x, y, StateOutline(look, state));
            else if (d == 2 && shape.Lit(x, y)) out.Set(x, y, look.Light, 90);
            else out.Set(x, y, look.Light, 255);
        }
    return out;
}

}  // namespace korvel::art
