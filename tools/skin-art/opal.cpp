// "Opal": a light, saturated folder skin: pale aqua surfaces on a soft wave
// texture, a deep teal frame with large rounded corners and a glassy title bar,
// coral buttons and marks. It uses what the other two skins leave out, so that
// every rule of the painting core meets a skin a user can pick: caption buttons
// with pictures of their own in three states, a title with a gradient under a
// texture, a hot pattern, fading check boxes, a frame picture whose height holds
// three parts (mask type 2), all six check and radio glyphs, wide scroll buttons
// with glyph pictures of their own, a menu background with a gradient under
// half-transparent items, the icon line, the divider, the menus' extra line and
// a textured MDI area.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>

#include "tools/skin-art/image_io.h"
#include "tools/skin-art/options_writer.h"
#include "tools/skin-art/skins.h"

namespace korvel::art {
namespace {

constexpr TRect kFrame{0, 0, 48, 48};
constexpr TRect kTitle{48, 0, 96, 108};
constexpr TRect kScrollButton{96, 0, 168, 48};
constexpr TRect kEdit{0, 48, 27, 72};
constexpr TRect kTrack{0, 72, 27, 90};
constexpr TRect kTrackTexture{27, 48, 35, 56};
constexpr TRect kChannel{27, 56, 42, 62};
constexpr TRect kDivider{27, 62, 33, 68};
constexpr TRect kTabTop{96, 48, 150, 84};
constexpr TRect kGrip{153, 48, 165, 60};
constexpr TRect kThumbH{96, 84, 129, 103};
constexpr TRect kThumbV{96, 103, 153, 114};
constexpr TRect kGripH{129, 84, 153, 91};
constexpr TRect kGripV{129, 91, 150, 99};

// The window's corner radius: the region loses up to seven pixels of each corner row.
constexpr int kWindowRadius = 10;

// Colours of the scheme.
constexpr TColor kTealDeep = Rgb(0, 78, 96);
constexpr TColor kTeal = Rgb(0, 128, 148);
constexpr TColor kTealLight = Rgb(128, 208, 220);
constexpr TColor kAqua = Rgb(226, 245, 249);
constexpr TColor kCoral = Rgb(255, 127, 96);
constexpr TColor kCoralDark = Rgb(204, 78, 54);
constexpr TColor kText = Rgb(18, 46, 58);
constexpr TColor kCoralText = Rgb(72, 22, 10);
constexpr TColor kWhite = Rgb(255, 255, 255);

template <typename F>
TImage States(F part) {
    return Strip({part(0), part(1), part(2)});
}

// The cut of each row of a quarter circle of radius r, outermost row first.
std::vector<int> RoundCorner(int r) {
    std::vector<int> cut;
    for (int y = 0; y < r; ++y) {
        const double dy = r - y - 0.5;
        const int c = static_cast<int>(std::lround(r - std::sqrt(static_cast<double>(r) * r - dy * dy)));
        if (c <= 0) break;
        cut.push_back(c);
    }
    return cut;
}

// Three parts of equal height: colour, see-through, and a spare part the
// drawing skips (key colour), the layout of mask type 2.
TImage WithSeeThroughAndSpare(const TImage& image) {
    const TImage halves = image.WithSeeThroughHalf();
    TImage out(image.Width(), image.Height() * 3);
    out.Paste(halves, 0, 0);
    return out;
}

TImage Tall(const TImage& grayed) {
    TImage out(grayed.Width(), 18);
    out.Paste(grayed, 0, 2);
    return out;
}

// The window frame: a four-pixel teal ring along a rounded outline; inside the
// rounding of the corner pieces the form's colour, elsewhere the key colour so
// that the form's own background stays.
TImage OpalWindowFrame(const TLook& look) {
    const int w = kFrame.Width(), h = kFrame.Height();
    TImage out(w, h);
    const TShape shape(w, h, RoundCorner(kWindowRadius));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int d = shape.Depth(x, y);
            const bool lit = shape.Lit(x, y);
            switch (d) {
            case 0: break;
            case 1: out.Set(x, y, look.FrameOuter); break;
            case 2: out.Set(x, y, lit ? look.FrameLight : look.FrameMid); break;
            case 3: out.Set(x, y, look.FrameMid); break;
            case 4: out.Set(x, y, look.FrameInner); break;
            default:
                if ((x < w / 3 || x >= w - w / 3) && (y < h / 3 || y >= h - h / 3)) out.Set(x, y, look.FormColour);
                break;
            }
        }
    return out;
}

// The title's frame: the outline of the rounded top and a light rim, the rest
// see-through so that the title section's gradient and texture show.
TImage OpalTitleFrame(const TLook& look) {
    const int w = kTitle.Width(), h = kTitle.Height() / 2;
    TImage out(w, h);
    const TShape shape(w, h + 12, RoundCorner(kWindowRadius));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int d = shape.Depth(x, y);
            if (d == 1) out.Set(x, y, look.FrameOuter);
            else if (d == 2 && shape.Lit(x, y)) out.Set(x, y, kWhite, 170);
            else if (d >= 2) out.Set(x, y, kWhite, 255);
        }
    return out;
}

// A round caption button, 20 x 18: a pale pearl with a teal glyph while normal
// (it reads on the deep title and on a pale menu line alike), coral with a white
// glyph when hot, darker coral pressed; the close button hot in a warmer red.
TImage OpalCaptionButton(int state, TCaptionGlyph glyph) {
    TImage out(20, 18);
    const TShape disc(18, 18, RoundCorner(7));
    const bool close = glyph == TCaptionGlyph::Close;
    const TColor hot = close ? Rgb(236, 84, 72) : kCoral;
    const TColor pressed = close ? Rgb(176, 52, 44) : kCoralDark;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const int d = disc.Depth(x, y);
            if (d <= 0) continue;
            if (state == 0) {
                if (d == 1) out.Set(1 + x, y, Rgb(70, 160, 178), 40);
                else out.Set(1 + x, y, Mix(kWhite, kTealLight, y * 150 / 17), d == 2 && disc.Lit(x, y) ? 0 : 40);
            } else {
                const TColor face = state == 1 ? hot : pressed;
                if (d == 1) out.Set(1 + x, y, state == 1 ? Mix(face, kWhite, 110) : Mix(face, kTealDeep, 90));
                else out.Set(1 + x, y, Mix(face, state == 1 ? kWhite : kTealDeep, y * 40 / 17));
            }
        }
    const auto& rows = CaptionGlyphRows(glyph);
    if (!rows.empty()) {
        const int gw = static_cast<int>(rows[0].size()), gh = static_cast<int>(rows.size());
        const int shift = state == 2 ? 1 : 0;
        out.Pattern(1 + (18 - gw) / 2 + shift, (18 - gh) / 2 + shift, rows, {{'X', state == 0 ? kTealDeep : kWhite}});
    }
    return out;
}

// A wide scroll button, 24 x 24 per state: a rounded light-teal pill.
TImage ScrollButtonFace(int state) {
    TImage out(24, 24);
    const TShape shape(24, 24, RoundCorner(6));
    const TColor top[3] = {Rgb(240, 251, 253), Rgb(255, 236, 228), Rgb(168, 220, 230)};
    const TColor bottom[3] = {Rgb(178, 226, 235), Rgb(255, 190, 168), Rgb(214, 240, 246)};
    const TColor outline[3] = {Rgb(88, 170, 186), kCoral, kTeal};
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const int d = shape.Depth(x, y);
            if (d <= 0) continue;
            TColor c = Mix(top[state], bottom[state], y * 256 / 23);
            if (d == 1) c = outline[state];
            else if (d == 2 && shape.Lit(x, y) && state != 2) c = Mix(c, kWhite, 160);
            out.Set(x, y, c);
        }
    return out.WithSeeThroughHalf();
}

// Pale aqua with soft diagonal waves: the form's and the MDI area's pattern.
// Every wave runs a whole number of times across the picture, so the tiles meet
// without a seam.
TImage Waves(int width, int height, TColor base, int depth, std::uint32_t seed) {
    constexpr double kTurn = 6.283185307179586;
    TNoise noise(seed);
    TImage out(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
            const double wave = std::sin(kTurn * (2 * u + 5 * v) + 1.4 * std::sin(kTurn * (u + v)));
            const int d = static_cast<int>(std::lround(wave * depth)) + noise.Next(3) - 1;
            out.Set(x, y, Rgb(std::clamp(RedOf(base) + d, 0, 255), std::clamp(GreenOf(base) + d, 0, 255),
                              std::clamp(BlueOf(base) + d / 2, 0, 255)));
        }
    return out;
}

// Light streaks across deep teal: the title's texture, laid over its gradient.
TImage Sheen(int width, int height) {
    TNoise noise(19850713);
    TImage out(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int band = (x + 2 * y) % 32;
            const int light = band < 3 ? 42 - band * 10 : 0;
            const int v = light + noise.Next(5) - 2;
            out.Set(x, y, Rgb(std::clamp(v / 2, 0, 255), 96 + v, 116 + v));
        }
    return out;
}

// Small bright specks on coral: the hot buttons' texture.
TImage Shimmer(int size) {
    TNoise noise(7337);
    TImage out(size, size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int v = noise.Next(7) - 3 + (noise.Next(23) == 0 ? 28 : 0);
            out.Set(x, y, Rgb(255, std::clamp(168 + v, 0, 255), std::clamp(140 + v, 0, 255)));
        }
    return out;
}

TImage TrackTexture() {
    TImage out(8, 8, Rgb(214, 238, 244));
    for (int i = 0; i < 8; ++i) out.Set(i, (i + 4) % 8, Rgb(200, 230, 238));
    return out;
}

}  // namespace

TLook OpalLook() {
    TLook l{};
    l.Outline = Rgb(88, 170, 186);
    l.OutlineHot = kCoral;
    l.OutlinePressed = kCoralDark;
    l.Light = kWhite;
    l.Shade = Rgb(0, 70, 86);
    l.Face[0][0] = kWhite;
    l.Face[0][1] = Rgb(214, 240, 246);
    l.Face[1][0] = kWhite;
    l.Face[1][1] = Rgb(255, 224, 212);
    l.Face[2][0] = Rgb(255, 214, 200);
    l.Face[2][1] = Rgb(255, 244, 238);
    l.Glyph[0] = Rgb(0, 96, 112);
    l.Glyph[1] = kCoralDark;
    l.Glyph[2] = Rgb(164, 56, 36);
    l.FrameOuter = kTealDeep;
    l.FrameLight = Rgb(96, 196, 210);
    l.FrameMid = kTeal;
    l.FrameInner = Rgb(0, 104, 122);
    l.TitleOutline = kTealDeep;
    l.Well = Rgb(186, 222, 230);
    l.Mark[0] = Rgb(232, 96, 66);
    l.Mark[1] = kCoral;
    l.Mark[2] = Rgb(190, 66, 44);
    l.Track[0] = Rgb(150, 206, 218);
    l.Track[1] = kCoral;
    l.Track[2] = kCoralDark;
    l.Groove = Rgb(186, 226, 234);
    l.FormColour = kAqua;
    l.FieldColour = kWhite;
    return l;
}

std::vector<TSkinFile> OpalFiles() {
    const TLook look = OpalLook();
    TImage master(168, 128);
    master.Paste(OpalWindowFrame(look), kFrame.Left, kFrame.Top);
    master.Paste(OpalTitleFrame(look).WithSeeThroughHalf(), kTitle.Left, kTitle.Top);
    master.Paste(States(ScrollButtonFace), kScrollButton.Left, kScrollButton.Top);
    master.Paste(EditFrame(look), kEdit.Left, kEdit.Top);
    master.Paste(States([&](int s) { return TrackFrame(look, s); }).WithSeeThroughHalf(), kTrack.Left, kTrack.Top);
    master.Paste(TrackTexture(), kTrackTexture.Left, kTrackTexture.Top);
    master.Paste(Channel(look), kChannel.Left, kChannel.Top);
    master.Paste(Divider(look), kDivider.Left, kDivider.Top);
    master.Paste(States([&](int s) { return TabFrame(look, s); }).WithSeeThroughHalf(), kTabTop.Left, kTabTop.Top);
    master.Paste(SizeGrip(look), kGrip.Left, kGrip.Top);
    master.Paste(States([&](int s) { return TrackThumb(look, s, false); }), kThumbH.Left, kThumbH.Top);
    master.Paste(States([&](int s) { return TrackThumb(look, s, true); }), kThumbV.Left, kThumbV.Top);
    master.Paste(States([&](int s) { return SliderGrip(look, s, false); }), kGripH.Left, kGripH.Top);
    master.Paste(States([&](int s) { return SliderGrip(look, s, true); }), kGripV.Left, kGripV.Top);

    auto caption = [](TCaptionGlyph glyph) {
        return EncodeBmp24(States([&](int s) { return OpalCaptionButton(s, glyph); }).WithSeeThroughHalf());
    };
    auto check = [&](TCheckKind kind, bool radio) {
        return EncodeBmp24(States([&](int s) {
                               const TImage g = CheckGlyph(look, s, kind, radio);
                               return g.Height() == 18 ? g : Tall(g);
                           })
                               .WithSeeThroughHalf());
    };
    auto arrow = [&](TArrow a) {
        return EncodeBmp24(States([&](int s) { return ArrowGlyph(look, s, a); }).WithSeeThroughHalf());
    };

    const TColor hotText = Rgb(150, 44, 22);
    const TColor titleDark = Rgb(0, 92, 110), titleDarker = Rgb(0, 66, 84);
    std::vector<TSectionValues> sections;
    auto add = [&](const std::string& name) -> TSectionValues& { return sections.emplace_back(name); };

    add("GLOBALINFO")
        .Set("VERSION", "1.0")
        .Set("AUTHOR", "Korvel Pro design team")
        .Set("DESCRIPTION", "Light and clear: pale aqua and deep teal with a coral accent.")
        .Colour("SHADOW1COLOR", kTealDeep)
        .Set("SHADOW1OFFSET", 3)
        .Set("SHADOW1BLUR", 6)
        .Set("SHADOW1TRANSPARENCY", 60)
        .Set("MASTERBITMAP", "MASTER.BMP")
        .Colour("COLOR", kAqua)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", hotText)
        .Set("BOXCHECKED", "!BOXCHECKED.BMP!3!1!2")
        .Set("BOXUNCHECKED", "!BOXUNCHECKED.BMP!3!1!2")
        .Set("BOXGRAYED", "!BOXGRAYED.BMP!3!1!2")
        .Set("RADIOCHECKED", "!RADIOCHECKED.BMP!3!1!2")
        .Set("RADIOUNCHECKED", "!RADIOUNCHECKED.BMP!3!1!2")
        .Set("RADIOGRAYED", "!RADIOGRAYED.BMP!3!1!2")
        .Set("BICONCLOSE", "!CLOSE.BMP!3!1!2")
        .Set("BICONMAX", "!MAXIMISE.BMP!3!1!2")
        .Set("BICONMIN", "!MINIMISE.BMP!3!1!2")
        .Set("BICONNORM", "!RESTORE.BMP!3!1!2")
        .Set("BICONHELP", "!HELP.BMP!3!1!2")
        .Set("TITLEBUTTON", "!TITLEBUTTON.BMP!3!1!2")
        .Set("GRIPIMAGE", GlyphMask(kGrip, 1, 0));
    add("FORM")
        .Colour("COLOR", kAqua)
        .Colour("HOTCOLOR", kAqua)
        .Set("PATTERN", "WAVES.JPG")
        .Set("HOTPATTERN", "WAVES.JPG")
        .Set("IMAGEPERCENT", 45)
        .Set("HOTIMAGEPERCENT", 45)
        .Flag("RESERVEDBOOLEAN", true)
        .Set("BORDERSMASK", BorderMask(kFrame, 1, 0, 0, 5, 5));
    add("FORMTITLE")
        .Colour("COLOR", Rgb(150, 208, 218))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(176, 224, 232), Rgb(136, 196, 208)))
        .Set("PATTERN", "SHEEN.JPG")
        .Set("IMAGEPERCENT", 12)
        .Colour("HOTCOLOR", titleDark)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", std::to_string(Rgb(0, 116, 136)) + ";" + std::to_string(titleDark) + ";40;0;0;" +
                                    std::to_string(titleDark) + ";" + std::to_string(titleDarker) + ";60;0;0")
        .Set("HOTPATTERN", "SHEEN.JPG")
        .Set("HOTIMAGEPERCENT", 25)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", kWhite)
        .Colour("HOTTCRIGHT", Rgb(0, 50, 62))
        .Colour("HOTTCBOTTOM", Rgb(0, 50, 62))
        .Set("BORDERSMASK", RectangleMask(kTitle, 1, 1, 0));
    add("PANEL")
        .Colour("COLOR", Rgb(240, 250, 252))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kWhite, Rgb(220, 241, 246)))
        .Colour("HOTCOLOR", Rgb(240, 250, 252))
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", kText)
        .Set("BORDERSMASK", "!PANEL.BMP!1!1!0")
        .Set("GLYPHMASK", "!PANELGLYPH.BMP!3!1!2");
    add("PAGECONTROL").Set("PARENTCLASS", "PANEL");
    add("GROUPBOX").Set("PARENTCLASS", "PANEL").Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100);
    add("PANEL_LOW")
        .Colour("COLOR", Rgb(212, 236, 242))
        .Colour("HOTCOLOR", Rgb(212, 236, 242))
        .Colour("FONTCOLOR", kText)
        .Set("BORDERSMASK", "!SUNKEN.BMP!1!1!0");
    add("BUTTON")
        .Colour("COLOR", Rgb(255, 150, 122))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(255, 186, 162), Rgb(250, 136, 108)))
        .Colour("HOTCOLOR", Rgb(255, 168, 140))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(255, 212, 194), Rgb(255, 152, 122)))
        .Set("HOTPATTERN", "SHIMMER.JPG")
        .Set("HOTIMAGEPERCENT", 30)
        .Colour("FONTCOLOR", kCoralText)
        .Colour("HOTFONTCOLOR", kCoralText)
        .Flag("SHOWFOCUS", true)
        .Flag("FADINGENABLED", true)
        .Set("FADINGITERATIONS", 8)
        .Set("BORDERSMASK", "!BUTTON.BMP!3!2!0");
    add("SPEEDBUTTON").Set("PARENTCLASS", "BUTTON");
    add("TOOLBUTTON").Set("PARENTCLASS", "BUTTON").Set("TRANSPARENCY", 100);
    const std::pair<const char*, const char*> scrollButtons[] = {{"SCROLLBTNTOP", "!ARROWUP.BMP!3!1!2"},
                                                                 {"SCROLLBTNBOTTOM", "!ARROWDOWN.BMP!3!1!2"},
                                                                 {"SCROLLBTNLEFT", "!ARROWLEFT.BMP!3!1!2"},
                                                                 {"SCROLLBTNRIGHT", "!ARROWRIGHT.BMP!3!1!2"}};
    for (const auto& [name, glyph] : scrollButtons)
        add(name)
            .Colour("COLOR", Rgb(214, 238, 244))
            .Colour("HOTCOLOR", Rgb(255, 226, 214))
            .Flag("RESERVEDBOOLEAN", true)
            .Set("BORDERSMASK", RectangleMask(kScrollButton, 3, 1, 0))
            .Set("GLYPHMASK", glyph);
    for (const auto& [name, mode, grip] : {std::tuple{"SCROLLSLIDERH", 0, kGripH}, std::tuple{"SCROLLSLIDERV", 1, kGripV}})
        add(name)
            .Set("PARENTCLASS", "BUTTON")
            .Colour("COLOR", Rgb(170, 222, 232))
            .Set("GRADIENTDATA", Gradient(Rgb(214, 242, 247), Rgb(150, 210, 222), mode))
            .Colour("HOTCOLOR", Rgb(255, 190, 168))
            .Set("HOTGRADIENTDATA", Gradient(Rgb(255, 222, 210), Rgb(255, 160, 132), mode))
            .Set("HOTIMAGEPERCENT", 0)
            .Flag("FADINGENABLED", false)
            .Set("GLYPHMASK", GlyphMask(grip, 3, 0));
    for (const char* name : {"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V"})
        add(name)
            .Colour("COLOR", Rgb(214, 238, 244))
            .Colour("HOTCOLOR", Rgb(226, 244, 248))
            .Set("PATTERN", TextureMask(kTrackTexture, 0, 0))
            .Set("IMAGEPERCENT", 100)
            .Set("BORDERSMASK", RectangleMask(kTrack, 3, 1, 0));
    add("EDIT")
        .Colour("COLOR", look.FieldColour)
        .Colour("HOTCOLOR", look.FieldColour)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", kText)
        .Set("BORDERSMASK", BorderMask(kEdit, 1, 0, 0, 2, 2));
    add("COMBOBOX").Set("PARENTCLASS", "EDIT").Flag("SHOWFOCUS", true).Set("GLYPHMASK", "!ARROWDOWN.BMP!3!1!2");
    add("PROGRESSH")
        .Set("PARENTCLASS", "EDIT")
        .Colour("HOTCOLOR", kCoral)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(255, 176, 150), Rgb(236, 104, 76)))
        .Set("BORDERSMASK", "!SUNKEN.BMP!1!1!0");
    add("CHECKBOX")
        .Set("TRANSPARENCY", 100)
        .Colour("HOTCOLOR", Rgb(255, 226, 214))
        .Set("HOTTRANSPARENCY", 55)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", hotText)
        .Flag("FADINGENABLED", true)
        .Set("FADINGITERATIONS", 6);
    add("RADIOBUTTON").Set("PARENTCLASS", "CHECKBOX");
    add("TRACKBAR")
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Flag("FADINGENABLED", true)
        .Set("SLIDERCHANNEL", BorderMask(kChannel, 1, 0, 0, 0, 1))
        .Set("SLIDERMASK", GlyphMask(kThumbH, 3, 0))
        .Set("SLIDERVMASK", GlyphMask(kThumbV, 3, 0));
    add("TABTOP")
        .Colour("COLOR", Rgb(230, 246, 250))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kWhite, Rgb(214, 238, 244)))
        .Colour("HOTCOLOR", Rgb(255, 236, 228))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(kWhite, Rgb(255, 218, 204)))
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", hotText)
        .Set("BORDERSMASK", RectangleMask(kTabTop, 3, 1, 0));
    add("MENULINE")
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTFONTCOLOR", kCoralText);
    add("MAINMENU")
        .Colour("COLOR", Rgb(236, 248, 250))
        .Colour("HOTCOLOR", Rgb(236, 248, 250))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(kWhite, Rgb(208, 236, 243)))
        .Colour("FONTCOLOR", kText)
        .Set("BORDERSMASK", "!PANEL.BMP!1!1!0");
    add("MENUITEM")
        .Colour("COLOR", Rgb(255, 246, 240))
        .Set("TRANSPARENCY", 60)
        .Colour("FONTCOLOR", kText)
        .Colour("HOTCOLOR", Rgb(255, 160, 132))
        .Set("HOTTRANSPARENCY", 20)
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(255, 196, 176), Rgb(255, 146, 116)))
        .Colour("HOTFONTCOLOR", kCoralText);
    add("ICOLINE")
        .Colour("COLOR", Rgb(180, 224, 234))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(150, 210, 224), Rgb(212, 238, 244), 1))
        .Colour("HOTCOLOR", Rgb(196, 232, 240));
    add("EXTRALINE")
        .Colour("COLOR", kTeal)
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(0, 108, 128), titleDarker))
        .Colour("FONTCOLOR", kWhite);
    add("DIVIDER").Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100).Set("BORDERSMASK", BorderMask(kDivider, 1, 0, 0, 0, 1));
    add("DIVIDERV").Set("PARENTCLASS", "DIVIDER");
    add("STATUSBAR")
        .Colour("COLOR", Rgb(208, 236, 243))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(222, 243, 247), Rgb(194, 228, 236)))
        .Colour("HOTCOLOR", Rgb(208, 236, 243))
        .Colour("FONTCOLOR", kText);
    add("MDIAREA")
        .Colour("COLOR", Rgb(96, 176, 192))
        .Set("GRADIENTPERCENT", 60)
        .Set("GRADIENTDATA", Gradient(Rgb(120, 196, 210), Rgb(64, 150, 170)))
        .Set("PATTERN", "LAGOON.JPG")
        .Set("IMAGEPERCENT", 40)
        .Colour("HOTCOLOR", Rgb(96, 176, 192));

    std::vector<std::string> header = {
        "Opal: a light folder skin shipped with Korvel Pro.",
        "Generated by tools/skin-art (skin-art generate); edit the program, not this file.",
    };
    const std::string options = WriteOptions(header, sections);
    return {
        {"Options.dat", {options.begin(), options.end()}},
        {"MASTER.BMP", EncodeBmp24(master)},
        {"BUTTON.BMP", EncodeBmp24(WithSeeThroughAndSpare(States([&](int s) { return ButtonFrame(look, s); })))},
        {"PANEL.BMP", EncodeBmp24(PanelFrame(look, false).WithSeeThroughHalf())},
        {"SUNKEN.BMP", EncodeBmp24(PanelFrame(look, true).WithSeeThroughHalf())},
        {"PANELGLYPH.BMP", EncodeBmp24(States([&](int s) { return PanelGlyph(look, s); }).WithSeeThroughHalf())},
        {"BOXCHECKED.BMP", check(TCheckKind::Checked, false)},
        {"BOXUNCHECKED.BMP", check(TCheckKind::Unchecked, false)},
        {"BOXGRAYED.BMP", check(TCheckKind::Grayed, false)},
        {"RADIOCHECKED.BMP", check(TCheckKind::Checked, true)},
        {"RADIOUNCHECKED.BMP", check(TCheckKind::Unchecked, true)},
        {"RADIOGRAYED.BMP", check(TCheckKind::Grayed, true)},
        {"CLOSE.BMP", caption(TCaptionGlyph::Close)},
        {"MAXIMISE.BMP", caption(TCaptionGlyph::Maximise)},
        {"MINIMISE.BMP", caption(TCaptionGlyph::Minimise)},
        {"RESTORE.BMP", caption(TCaptionGlyph::Restore)},
        {"HELP.BMP", caption(TCaptionGlyph::Help)},
        {"TITLEBUTTON.BMP", caption(TCaptionGlyph::None)},
        {"ARROWUP.BMP", arrow(TArrow::Up)},
        {"ARROWDOWN.BMP", arrow(TArrow::Down)},
        {"ARROWLEFT.BMP", arrow(TArrow::Left)},
        {"ARROWRIGHT.BMP", arrow(TArrow::Right)},
        {"WAVES.JPG", EncodeJpeg(Waves(320, 288, Rgb(222, 243, 248), 9, 20260101), 90)},
        {"LAGOON.JPG", EncodeJpeg(Waves(320, 300, Rgb(84, 168, 184), 16, 20261208), 90)},
        {"SHEEN.JPG", EncodeJpeg(Sheen(64, 48), 92)},
        {"SHIMMER.JPG", EncodeJpeg(Shimmer(48), 92)},
    };
}

}  // namespace korvel::art
