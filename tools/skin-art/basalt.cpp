// "Basalt": a dark, calm folder skin: charcoal surfaces on a fine slate
// texture, light grey text and a muted teal for hot and pressed states. It uses
// every mask form a skin folder knows, so the loader meets each on a real skin:
// "^" borders, "@" glyphs and a "~" texture on the master bitmap, rectangle
// lists, plain own pictures and "!" own pictures with counts, a JPEG pattern
// and a small JPEG texture.
#include <cstdio>
#include <cstdint>

#include "tools/skin-art/image_io.h"
#include "tools/skin-art/options_writer.h"
#include "tools/skin-art/skins.h"

namespace korvel::art {
namespace {

constexpr TRect kFrame{0, 0, 42, 45};
constexpr TRect kTitle{42, 0, 84, 108};
constexpr TRect kClose{84, 0, 138, 19};
constexpr TRect kMaximise{84, 19, 138, 38};
constexpr TRect kMinimise{84, 38, 138, 57};
constexpr TRect kRestore{84, 57, 138, 76};
constexpr TRect kHelp{84, 76, 138, 95};
constexpr TRect kTitleButton{84, 95, 138, 114};
constexpr TRect kGrip{138, 0, 150, 12};
constexpr TRect kEdit{0, 45, 27, 69};
constexpr TRect kTrack{0, 69, 27, 87};
constexpr TRect kArrowUp{0, 87, 27, 96};
constexpr TRect kArrowDown{0, 96, 27, 105};
constexpr TRect kArrowLeft{0, 105, 27, 114};
constexpr TRect kArrowRight{0, 114, 27, 123};
constexpr TRect kGripH{146, 75, 170, 82};
constexpr TRect kGripV{146, 82, 167, 90};
constexpr TRect kChannel{27, 84, 42, 90};
constexpr TRect kDivider{42, 108, 48, 114};
constexpr TRect kThumbH{138, 12, 171, 31};
constexpr TRect kThumbV{84, 114, 141, 125};
constexpr TRect kTabTop{138, 31, 192, 67};
constexpr TRect kTrackTexture{138, 67, 146, 75};

template <typename F>
TImage States(F part) {
    return Strip({part(0), part(1), part(2)});
}

// Slate: soft horizontal strata with fine grain, dark and low in contrast.
TImage Slate(int width, int height) {
    TNoise noise(20070101);
    TImage out(width, height, 0);
    std::vector<int> strata(static_cast<std::size_t>(height));
    int s = 0;
    for (int y = 0; y < height; ++y) {
        s = std::max(-4, std::min(4, s + noise.Next(3) - 1));
        strata[static_cast<std::size_t>(y)] = s;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int v = strata[static_cast<std::size_t>(y)] + noise.Next(7) - 3;
            out.Set(x, y, Rgb(46 + v, 50 + v, 55 + v));
        }
    return out;
}

TImage Grain(int size) {
    TNoise noise(48308);
    TImage out(size, size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int v = noise.Next(9) - 4 + ((x + y) % 8 == 0 ? 3 : 0);
            out.Set(x, y, Rgb(40 + v, 43 + v, 48 + v));
        }
    return out;
}

TImage TrackTexture() {
    TImage out(8, 8, Rgb(34, 36, 40));
    for (int i = 0; i < 8; ++i) out.Set(i, 7 - i, Rgb(40, 43, 47));
    return out;
}

TImage Tall(const TImage& grayed) {
    TImage out(grayed.Width(), 18);
    out.Paste(grayed, 0, 2);
    return out;
}

}  // namespace

TLook BasaltLook() {
    TLook l{};
    l.Outline = Rgb(20, 22, 26);
    l.OutlineHot = Rgb(86, 170, 180);
    l.OutlinePressed = Rgb(52, 122, 132);
    l.Light = Rgb(128, 136, 146);
    l.Shade = Rgb(12, 13, 16);
    l.Face[0][0] = Rgb(86, 92, 100);
    l.Face[0][1] = Rgb(58, 62, 68);
    l.Face[1][0] = Rgb(98, 108, 118);
    l.Face[1][1] = Rgb(64, 72, 80);
    l.Face[2][0] = Rgb(38, 44, 50);
    l.Face[2][1] = Rgb(56, 62, 68);
    l.Glyph[0] = Rgb(206, 212, 218);
    l.Glyph[1] = Rgb(156, 228, 234);
    l.Glyph[2] = Rgb(120, 200, 208);
    l.FrameOuter = Rgb(10, 11, 14);
    l.FrameLight = Rgb(96, 102, 110);
    l.FrameMid = Rgb(58, 62, 68);
    l.FrameInner = Rgb(28, 30, 34);
    l.TitleOutline = l.FrameOuter;
    l.Well = Rgb(14, 15, 18);
    l.Mark[0] = Rgb(112, 204, 212);
    l.Mark[1] = Rgb(150, 228, 234);
    l.Mark[2] = Rgb(90, 172, 182);
    l.Track[0] = Rgb(24, 26, 30);
    l.Track[1] = Rgb(62, 122, 130);
    l.Track[2] = Rgb(52, 104, 112);
    l.Groove = Rgb(22, 24, 28);
    l.FormColour = Rgb(46, 50, 55);
    l.FieldColour = Rgb(30, 32, 36);
    return l;
}

std::vector<TSkinFile> BasaltFiles() {
    const TLook look = BasaltLook();
    TImage master(192, 128);
    master.Paste(WindowFrame(look, 42, 45), kFrame.Left, kFrame.Top);
    master.Paste(TitleFrame(look, 42, 54).WithSeeThroughHalf(), kTitle.Left, kTitle.Top);
    auto caption = [&](TCaptionGlyph glyph) { return States([&](int s) { return CaptionButton(look, s, glyph, 19); }); };
    master.Paste(caption(TCaptionGlyph::Close), kClose.Left, kClose.Top);
    master.Paste(caption(TCaptionGlyph::Maximise), kMaximise.Left, kMaximise.Top);
    master.Paste(caption(TCaptionGlyph::Minimise), kMinimise.Left, kMinimise.Top);
    master.Paste(caption(TCaptionGlyph::Restore), kRestore.Left, kRestore.Top);
    master.Paste(caption(TCaptionGlyph::Help), kHelp.Left, kHelp.Top);
    master.Paste(caption(TCaptionGlyph::None), kTitleButton.Left, kTitleButton.Top);
    master.Paste(SizeGrip(look), kGrip.Left, kGrip.Top);
    master.Paste(EditFrame(look), kEdit.Left, kEdit.Top);
    master.Paste(States([&](int s) { return TrackFrame(look, s); }).WithSeeThroughHalf(), kTrack.Left, kTrack.Top);
    master.Paste(States([&](int s) { return ArrowGlyph(look, s, TArrow::Up); }), kArrowUp.Left, kArrowUp.Top);
    master.Paste(States([&](int s) { return ArrowGlyph(look, s, TArrow::Down); }), kArrowDown.Left, kArrowDown.Top);
    master.Paste(States([&](int s) { return ArrowGlyph(look, s, TArrow::Left); }), kArrowLeft.Left, kArrowLeft.Top);
    master.Paste(States([&](int s) { return ArrowGlyph(look, s, TArrow::Right); }), kArrowRight.Left, kArrowRight.Top);
    master.Paste(States([&](int s) { return SliderGrip(look, s, false); }), kGripH.Left, kGripH.Top);
    master.Paste(States([&](int s) { return SliderGrip(look, s, true); }), kGripV.Left, kGripV.Top);
    master.Paste(Channel(look), kChannel.Left, kChannel.Top);
    master.Paste(Divider(look), kDivider.Left, kDivider.Top);
    master.Paste(States([&](int s) { return TrackThumb(look, s, false); }), kThumbH.Left, kThumbH.Top);
    master.Paste(States([&](int s) { return TrackThumb(look, s, true); }), kThumbV.Left, kThumbV.Top);
    master.Paste(States([&](int s) { return TabFrame(look, s); }).WithSeeThroughHalf(), kTabTop.Left, kTabTop.Top);
    master.Paste(TrackTexture(), kTrackTexture.Left, kTrackTexture.Top);

    auto check = [&](TCheckKind kind, bool radio) {
        return States([&](int s) {
                   const TImage g = CheckGlyph(look, s, kind, radio);
                   return g.Height() == 18 ? g : Tall(g);
               })
            .WithSeeThroughHalf();
    };

    const TColor text = Rgb(222, 226, 230), hotText = Rgb(168, 232, 238), black = Rgb(8, 9, 11);
    std::vector<TSectionValues> sections;
    auto add = [&](const std::string& name) -> TSectionValues& { return sections.emplace_back(name); };

    add("GLOBALINFO")
        .Set("VERSION", "1.0")
        .Set("AUTHOR", "Korvel Pro design team")
        .Set("DESCRIPTION", "Dark and calm: charcoal on slate with a muted teal accent.")
        .Set("SHADOW1COLOR", 0)
        .Set("SHADOW1OFFSET", 2)
        .Set("SHADOW1BLUR", 4)
        .Set("SHADOW1TRANSPARENCY", 40)
        .Set("MASTERBITMAP", "MASTER.BMP")
        .Colour("COLOR", Rgb(46, 50, 55))
        .Colour("FONTCOLOR", text)
        .Colour("HOTFONTCOLOR", hotText)
        .Set("BOXCHECKED", "!BOXCHECKED.BMP!3!1!2")
        .Set("BOXUNCHECKED", "!BOXUNCHECKED.BMP!3!1!2")
        .Set("BOXGRAYED", "!BOXGRAYED.BMP!3!1!2")
        .Set("RADIOCHECKED", "!RADIOCHECKED.BMP!3!1!2")
        .Set("RADIOUNCHECKED", "!RADIOUNCHECKED.BMP!3!1!2")
        .Set("BICONCLOSE", GlyphMask(kClose, 3, 0))
        .Set("BICONMAX", GlyphMask(kMaximise, 3, 0))
        .Set("BICONMIN", GlyphMask(kMinimise, 3, 0))
        .Set("BICONNORM", GlyphMask(kRestore, 3, 0))
        .Set("BICONHELP", GlyphMask(kHelp, 3, 0))
        .Set("TITLEBUTTON", GlyphMask(kTitleButton, 3, 0))
        .Set("GRIPIMAGE", GlyphMask(kGrip, 1, 0));
    add("FORM")
        .Colour("COLOR", look.FormColour)
        .Colour("HOTCOLOR", look.FormColour)
        .Set("PATTERN", "SLATE.JPG")
        .Set("HOTPATTERN", "SLATE.JPG")
        .Set("IMAGEPERCENT", 100)
        .Set("HOTIMAGEPERCENT", 100)
        .Flag("RESERVEDBOOLEAN", true)
        .Set("BORDERSMASK", BorderMask(kFrame, 1, 0, 0, 5, 5));
    add("FORMTITLE")
        .Colour("COLOR", Rgb(40, 43, 48))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(66, 70, 76), Rgb(38, 41, 46)))
        .Colour("HOTCOLOR", Rgb(40, 58, 64))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", std::to_string(Rgb(72, 110, 118)) + ";" + std::to_string(Rgb(44, 66, 72)) + ";45;0;0;" +
                                    std::to_string(Rgb(44, 66, 72)) + ";" + std::to_string(Rgb(30, 36, 42)) + ";55;0;0")
        .Colour("FONTCOLOR", Rgb(176, 182, 188))
        .Colour("TCRIGHT", black)
        .Colour("TCBOTTOM", black)
        .Colour("HOTFONTCOLOR", Rgb(238, 242, 246))
        .Colour("HOTTCRIGHT", black)
        .Colour("HOTTCBOTTOM", black)
        .Set("BORDERSMASK", RectangleMask(kTitle, 1, 1, 0));
    add("PANEL")
        .Colour("COLOR", Rgb(50, 54, 60))
        .Set("GRADIENTPERCENT", 70)
        .Set("GRADIENTDATA", Gradient(Rgb(58, 62, 68), Rgb(44, 47, 52)))
        .Set("PATTERN", "SLATE.JPG")
        .Set("IMAGEPERCENT", 30)
        .Colour("HOTCOLOR", Rgb(50, 54, 60))
        .Colour("FONTCOLOR", text)
        .Colour("HOTFONTCOLOR", text)
        .Set("BORDERSMASK", "!PANEL.BMP!1!1!0")
        .Set("GLYPHMASK", "!PANELGLYPH.BMP!3!1!2");
    add("PAGECONTROL").Set("PARENTCLASS", "PANEL");
    add("GROUPBOX").Set("PARENTCLASS", "PANEL").Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100);
    add("PANEL_LOW")
        .Colour("COLOR", Rgb(36, 39, 43))
        .Colour("HOTCOLOR", Rgb(36, 39, 43))
        .Colour("FONTCOLOR", text)
        .Set("BORDERSMASK", "!SUNKEN.BMP!1!1!0");
    add("BUTTON")
        .Colour("COLOR", Rgb(66, 70, 76))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(80, 86, 94), Rgb(54, 58, 64)))
        .Colour("HOTCOLOR", Rgb(76, 84, 92))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(94, 102, 112), Rgb(60, 66, 74)))
        .Colour("FONTCOLOR", text)
        .Colour("TCRIGHT", black)
        .Colour("TCBOTTOM", black)
        .Colour("HOTFONTCOLOR", hotText)
        .Colour("HOTTCRIGHT", black)
        .Colour("HOTTCBOTTOM", black)
        .Flag("SHOWFOCUS", true)
        .Flag("FADINGENABLED", true)
        .Set("FADINGITERATIONS", 6)
        .Set("BORDERSMASK", "BUTTON.BMP");
    add("SPEEDBUTTON").Set("PARENTCLASS", "BUTTON");
    add("TOOLBUTTON").Set("PARENTCLASS", "BUTTON").Set("TRANSPARENCY", 100);
    for (const char* name : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERH",
                             "SCROLLSLIDERV"})
        add(name).Set("PARENTCLASS", "BUTTON").Flag("FADINGENABLED", false);
    sections[sections.size() - 6].Set("GLYPHMASK", GlyphMask(kArrowUp, 3, 0));
    sections[sections.size() - 5].Set("GLYPHMASK", GlyphMask(kArrowDown, 3, 0));
    sections[sections.size() - 4].Set("GLYPHMASK", GlyphMask(kArrowLeft, 3, 0));
    sections[sections.size() - 3].Set("GLYPHMASK", GlyphMask(kArrowRight, 3, 0));
    sections[sections.size() - 2].Set("GLYPHMASK", GlyphMask(kGripH, 3, 0));
    sections[sections.size() - 1]
        .Set("GRADIENTDATA", Gradient(Rgb(80, 86, 94), Rgb(54, 58, 64), 1))
        .Set("HOTGRADIENTDATA", Gradient(Rgb(94, 102, 112), Rgb(60, 66, 74), 1))
        .Set("GLYPHMASK", GlyphMask(kGripV, 3, 0));
    for (const char* name : {"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V"})
        add(name)
            .Colour("COLOR", Rgb(34, 36, 40))
            .Colour("HOTCOLOR", Rgb(40, 46, 50))
            .Set("PATTERN", TextureMask(kTrackTexture, 0, 0))
            .Set("IMAGEPERCENT", 100)
            .Set("BORDERSMASK", RectangleMask(kTrack, 3, 1, 0));
    add("EDIT")
        .Colour("COLOR", look.FieldColour)
        .Colour("HOTCOLOR", look.FieldColour)
        .Colour("FONTCOLOR", text)
        .Colour("HOTFONTCOLOR", text)
        .Set("BORDERSMASK", BorderMask(kEdit, 1, 0, 0, 2, 2));
    add("COMBOBOX").Set("PARENTCLASS", "EDIT").Flag("SHOWFOCUS", true).Set("GLYPHMASK", GlyphMask(kArrowDown, 3, 0));
    add("PROGRESSH")
        .Set("PARENTCLASS", "EDIT")
        .Colour("HOTCOLOR", Rgb(60, 130, 138))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(92, 170, 178), Rgb(46, 104, 112)))
        .Set("BORDERSMASK", "!SUNKEN.BMP!1!1!0");
    add("CHECKBOX").Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100).Colour("FONTCOLOR", text).Colour("HOTFONTCOLOR", hotText);
    add("RADIOBUTTON").Set("PARENTCLASS", "CHECKBOX");
    add("TRACKBAR")
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Flag("FADINGENABLED", true)
        .Set("SLIDERCHANNEL", BorderMask(kChannel, 1, 0, 0, 0, 1))
        .Set("SLIDERMASK", GlyphMask(kThumbH, 3, 0))
        .Set("SLIDERVMASK", GlyphMask(kThumbV, 3, 0));
    add("TABTOP")
        .Colour("COLOR", Rgb(54, 58, 64))
        .Set("GRADIENTPERCENT", 100)
        .Set("GRADIENTDATA", Gradient(Rgb(62, 66, 72), Rgb(50, 54, 60)))
        .Colour("HOTCOLOR", Rgb(62, 68, 76))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(76, 84, 92), Rgb(58, 62, 68)))
        .Colour("FONTCOLOR", text)
        .Colour("HOTFONTCOLOR", hotText)
        .Set("BORDERSMASK", RectangleMask(kTabTop, 3, 1, 0));
    add("MENULINE")
        .Set("TRANSPARENCY", 100)
        .Set("HOTTRANSPARENCY", 100)
        .Colour("FONTCOLOR", text)
        .Colour("HOTFONTCOLOR", hotText)
        .Colour("HOTTCRIGHT", black)
        .Colour("HOTTCBOTTOM", black);
    add("MAINMENU")
        .Colour("COLOR", Rgb(40, 43, 48))
        .Colour("HOTCOLOR", Rgb(40, 43, 48))
        .Set("PATTERN", "GRAIN.JPG")
        .Set("IMAGEPERCENT", 100)
        .Colour("FONTCOLOR", text)
        .Set("BORDERSMASK", "!PANEL.BMP!1!1!0");
    add("MENUITEM")
        .Set("TRANSPARENCY", 100)
        .Colour("FONTCOLOR", text)
        .Colour("HOTCOLOR", Rgb(52, 112, 120))
        .Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA", Gradient(Rgb(66, 136, 144), Rgb(40, 92, 100)))
        .Colour("HOTFONTCOLOR", Rgb(244, 248, 250))
        .Colour("HOTTCRIGHT", black)
        .Colour("HOTTCBOTTOM", black);
    add("ICOLINE").Colour("COLOR", Rgb(34, 37, 42)).Colour("HOTCOLOR", Rgb(34, 37, 42));
    add("DIVIDER").Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100).Set("BORDERSMASK", BorderMask(kDivider, 1, 0, 0, 0, 1));
    add("DIVIDERV").Set("PARENTCLASS", "DIVIDER");
    add("STATUSBAR")
        .Colour("COLOR", Rgb(38, 41, 46))
        .Colour("HOTCOLOR", Rgb(38, 41, 46))
        .Set("PATTERN", "GRAIN.JPG")
        .Set("IMAGEPERCENT", 100)
        .Colour("FONTCOLOR", text);
    add("MDIAREA").Colour("COLOR", Rgb(30, 32, 36)).Colour("HOTCOLOR", Rgb(30, 32, 36)).Set("PATTERN", "SLATE.JPG").Set("IMAGEPERCENT", 100);

    std::vector<std::string> header = {
        "Basalt: a dark folder skin shipped with Korvel Pro.",
        "Generated by tools/skin-art (skin-art generate); edit the program, not this file.",
    };
    const std::string options = WriteOptions(header, sections);
    return {
        {"Options.dat", {options.begin(), options.end()}},
        {"MASTER.BMP", EncodeBmp24(master)},
        {"BUTTON.BMP", EncodeBmp24(States([&](int s) { return ButtonFrame(look, s); }).WithSeeThroughHalf())},
        {"PANEL.BMP", EncodeBmp24(PanelFrame(look, false).WithSeeThroughHalf())},
        {"SUNKEN.BMP", EncodeBmp24(PanelFrame(look, true).WithSeeThroughHalf())},
        {"PANELGLYPH.BMP", EncodeBmp24(States([&](int s) { return PanelGlyph(look, s); }).WithSeeThroughHalf())},
        {"BOXCHECKED.BMP", EncodeBmp24(check(TCheckKind::Checked, false))},
        {"BOXUNCHECKED.BMP", EncodeBmp24(check(TCheckKind::Unchecked, false))},
        {"BOXGRAYED.BMP", EncodeBmp24(check(TCheckKind::Grayed, false))},
        {"RADIOCHECKED.BMP", EncodeBmp24(check(TCheckKind::Checked, true))},
        {"RADIOUNCHECKED.BMP", EncodeBmp24(check(TCheckKind::Unchecked, true))},
        {"SLATE.JPG", EncodeJpeg(Slate(320, 288), 90)},
        {"GRAIN.JPG", EncodeJpeg(Grain(64), 90)},
    };
}

}  // namespace korvel::art
