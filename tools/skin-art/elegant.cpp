// "Elegant (internal)": light greys, soft white gradients and one steel-blue
// accent for hot and pressed states. The rectangles of the parts the launcher
// draws are fixed; the others lie in the free areas of the 216 x 325 master.
#include <algorithm>
#include <map>
#include <stdexcept>

#include "tools/skin-art/image_io.h"
#include "tools/skin-art/options_writer.h"
#include "tools/skin-art/skins.h"

namespace korvel::art {
namespace {

constexpr int kMasterWidth = 216;
constexpr int kMasterHeight = 325;
constexpr TColor kWhite = Grey(255);

// Fixed rectangles.
constexpr TRect kFormFrame{0, 0, 42, 45};
constexpr TRect kTitleFrame{0, 45, 42, 153};
constexpr TRect kClose{0, 251, 54, 270};
constexpr TRect kMinimise{54, 270, 108, 288};
constexpr TRect kMaximise{54, 289, 108, 307};
constexpr TRect kRestore{0, 289, 54, 309};
constexpr TRect kHelp{54, 251, 108, 270};
constexpr TRect kTitleButton{0, 270, 54, 289};
constexpr TRect kGrip{106, 98, 118, 110};
constexpr TRect kPanelFrame{181, 202, 205, 250};
constexpr TRect kPanelGlyph{42, 138, 66, 152};
constexpr TRect kButtonFrame{69, 114, 123, 150};
constexpr TRect kEditFrame{42, 90, 69, 114};
constexpr TRect kBoxChecked{112, 204, 160, 240};
constexpr TRect kBoxUnchecked{112, 168, 160, 204};
constexpr TRect kBoxGrayed{108, 240, 156, 253};
constexpr TRect kRadioChecked{63, 204, 111, 240};
constexpr TRect kRadioUnchecked{63, 168, 111, 204};
// Our own, in the free areas.
constexpr TRect kSunkenPanel{42, 0, 66, 48};
constexpr TRect kTabTop{66, 0, 120, 36};
constexpr TRect kTabBottom{120, 0, 174, 36};
constexpr TRect kTabLeft{66, 36, 120, 72};
constexpr TRect kTabRight{120, 36, 174, 72};
constexpr TRect kTrack{174, 0, 201, 18};
constexpr TRect kArrowUp{174, 18, 201, 27};
constexpr TRect kArrowDown{174, 27, 201, 36};
constexpr TRect kArrowLeft{174, 36, 201, 45};
constexpr TRect kArrowRight{174, 45, 201, 54};
constexpr TRect kGripH{174, 54, 198, 61};
constexpr TRect kGripV{174, 61, 195, 69};
constexpr TRect kChannel{42, 48, 57, 54};
constexpr TRect kDivider{57, 48, 63, 54};
constexpr TRect kThumbH{123, 114, 156, 133};
constexpr TRect kThumbV{123, 133, 180, 144};

template <typename F>
TImage States(F part) {
    return Strip({part(0), part(1), part(2)});
}

}  // namespace

TLook ElegantLook() {
    TLook l{};
    l.Outline = Rgb(122, 130, 142);
    l.OutlineHot = Rgb(74, 128, 190);
    l.OutlinePressed = Rgb(46, 90, 150);
    l.Light = kWhite;
    l.Shade = Rgb(150, 156, 166);
    l.Face[0][0] = kWhite;
    l.Face[0][1] = Rgb(218, 222, 228);
    l.Face[1][0] = kWhite;
    l.Face[1][1] = Rgb(206, 225, 246);
    l.Face[2][0] = Rgb(178, 200, 228);
    l.Face[2][1] = Rgb(214, 228, 244);
    l.Glyph[0] = Rgb(60, 66, 76);
    l.Glyph[1] = Rgb(38, 84, 146);
    l.Glyph[2] = Rgb(24, 56, 104);
    l.FrameOuter = Rgb(88, 96, 108);
    l.FrameLight = Rgb(246, 247, 249);
    l.FrameMid = Rgb(212, 215, 220);
    l.FrameInner = Rgb(156, 162, 170);
    l.TitleOutline = l.FrameOuter;
    l.Well = Rgb(206, 210, 216);
    l.Mark[0] = Rgb(44, 86, 146);
    l.Mark[1] = Rgb(36, 96, 170);
    l.Mark[2] = Rgb(24, 64, 120);
    l.Track[0] = Rgb(196, 200, 206);
    l.Track[1] = Rgb(160, 186, 218);
    l.Track[2] = Rgb(110, 140, 180);
    l.Groove = Rgb(206, 210, 216);
    l.FormColour = 12500670;
    l.FieldColour = kWhite;
    return l;
}

const std::vector<std::string>& ElegantSectionOrder() {
    static const std::vector<std::string> order = {
        "GLOBALINFO", "MENULINE", "SPLITTER", "TOOLBAR", "PANEL", "PAGECONTROL", "PAGECONTROLBOTTOM",
        "PAGECONTROLLEFT", "PAGECONTROLRIGHT", "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V",
        "ALPHACOMBOBOX", "COMBOBOX", "ALPHAEDIT", "MENUITEM", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT",
        "SCROLLBTNTOP", "SCROLLSLIDERH", "SCROLLSLIDERV", "SPEEDBUTTON_SMALL", "TABCONTROL", "TABCONTROLBOTTOM",
        "TABCONTROLLEFT", "TABCONTROLRIGHT", "TRACKBAR", "DIVIDER", "GROUPBOX", "MAINMENU", "FORM", "BUTTON",
        "FORMTITLE", "DIALOG", "RADIOBUTTON", "CHECKBOX", "PROGRESSH", "GAUGE", "PROGRESSV", "EDIT", "TABTOP",
        "TABBOTTOM", "TABRIGHT", "TABLEFT", "SPEEDBUTTON", "TOOLBUTTON", "STATUSBAR", "BAR", "BARTITLE",
        "BUTTON_BIG", "BARPANEL", "WEBBUTTON", "DRAGBAR", "PANEL_LOW"};
    return order;
}

std::vector<TStoredMask> ElegantMasks() {
    std::vector<TStoredMask> m = {
        {"GLOBALINFO", "BOXCHECKED", kBoxChecked, 3, 1, 0},
        {"GLOBALINFO", "BOXGRAYED", kBoxGrayed, 3, 0, 0},
        {"GLOBALINFO", "BOXUNCHECKED", kBoxUnchecked, 3, 1, 0},
        {"GLOBALINFO", "MASTERBITMAP", {0, 0, 0, 0}, 0, 0, 0},   // the picture itself, "MASTER.BMP"
        {"GLOBALINFO", "RADIOCHECKED", kRadioChecked, 3, 1, 0},
        {"GLOBALINFO", "RADIOUNCHECKED", kRadioUnchecked, 3, 1, 0},
        {"GLOBALINFO", "SMALLCHECKED", kBoxChecked, 3, 1, 0},
        {"GLOBALINFO", "SMALLUNCHECKED", kBoxUnchecked, 3, 1, 0},
        {"GLOBALINFO", "GRIPIMAGE", kGrip, 1, 0, 0},
        {"GLOBALINFO", "BICONCLOSE", kClose, 3, 0, 0},
        {"GLOBALINFO", "BICONMAX", kMaximise, 3, 0, 0},
        {"GLOBALINFO", "BICONHELP", kHelp, 3, 0, 0},
        {"GLOBALINFO", "BICONNORM", kRestore, 3, 0, 0},
        {"GLOBALINFO", "BICONMIN", kMinimise, 3, 0, 0},
        {"GLOBALINFO", "TITLEBUTTON", kTitleButton, 3, 0, 0},
        {"PANEL", "GLYPHMASK", kPanelGlyph, 3, 1, 0},
        {"PANEL", "BORDERSMASK", kPanelFrame, 1, 1, 0},
        {"FORM", "GRIPIMAGE", kGrip, 1, 0, 0},
        {"FORM", "BICONCLOSE", kClose, 3, 0, 0},
        {"FORM", "BICONMAX", kMaximise, 3, 0, 0},
        {"FORM", "BICONHELP", kHelp, 3, 0, 0},
        {"FORM", "BICONNORM", kRestore, 3, 0, 0},
        {"FORM", "BICONMIN", kMinimise, 3, 0, 0},
        {"FORM", "TITLEBUTTON", kTitleButton, 3, 0, 0},
        {"FORM", "BORDERSMASK", kFormFrame, 1, 0, 5},
        {"TRACKBAR", "SLIDERCHANNEL", kChannel, 1, 0, 0},
        {"TRACKBAR", "SLIDERMASK", kThumbH, 3, 0, 0},
        {"TRACKBAR", "SLIDERVMASK", kThumbV, 3, 0, 0},
        {"ALPHACOMBOBOX", "BORDERSMASK", kEditFrame, 1, 0, 2},
        {"ALPHACOMBOBOX", "GLYPHMASK", kArrowDown, 3, 0, 0},
        {"COMBOBOX", "BORDERSMASK", kEditFrame, 1, 0, 2},
        {"COMBOBOX", "GLYPHMASK", kArrowDown, 3, 0, 0},
        {"SCROLLBTNBOTTOM", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLBTNBOTTOM", "GLYPHMASK", kArrowDown, 3, 0, 0},
        {"SCROLLBTNLEFT", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLBTNLEFT", "GLYPHMASK", kArrowLeft, 3, 0, 0},
        {"SCROLLBTNRIGHT", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLBTNRIGHT", "GLYPHMASK", kArrowRight, 3, 0, 0},
        {"SCROLLBTNTOP", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLBTNTOP", "GLYPHMASK", kArrowUp, 3, 0, 0},
        {"SCROLLSLIDERH", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLSLIDERH", "GLYPHMASK", kGripH, 3, 0, 0},
        {"SCROLLSLIDERV", "BORDERSMASK", kButtonFrame, 3, 1, 0},
        {"SCROLLSLIDERV", "GLYPHMASK", kGripV, 3, 0, 0},
    };
    const std::vector<std::pair<const char*, TStoredMask>> borders = {
        {"PAGECONTROL", {"", "", kPanelFrame, 1, 1, 0}},     {"PAGECONTROLBOTTOM", {"", "", kPanelFrame, 1, 1, 0}},
        {"PAGECONTROLLEFT", {"", "", kPanelFrame, 1, 1, 0}}, {"PAGECONTROLRIGHT", {"", "", kPanelFrame, 1, 1, 0}},
        {"SCROLLBAR1H", {"", "", kTrack, 3, 1, 0}},          {"SCROLLBAR2H", {"", "", kTrack, 3, 1, 0}},
        {"SCROLLBAR1V", {"", "", kTrack, 3, 1, 0}},          {"SCROLLBAR2V", {"", "", kTrack, 3, 1, 0}},
        {"ALPHAEDIT", {"", "", kEditFrame, 1, 0, 2}},        {"SPEEDBUTTON_SMALL", {"", "", kButtonFrame, 3, 1, 0}},
        {"TABCONTROL", {"", "", kPanelFrame, 1, 1, 0}},      {"TABCONTROLBOTTOM", {"", "", kPanelFrame, 1, 1, 0}},
        {"TABCONTROLLEFT", {"", "", kPanelFrame, 1, 1, 0}},  {"TABCONTROLRIGHT", {"", "", kPanelFrame, 1, 1, 0}},
        {"DIVIDER", {"", "", kDivider, 1, 0, 0}},            {"GROUPBOX", {"", "", kPanelFrame, 1, 1, 0}},
        {"BUTTON", {"", "", kButtonFrame, 3, 1, 0}},         {"FORMTITLE", {"", "", kTitleFrame, 1, 1, 0}},
        {"DIALOG", {"", "", kFormFrame, 1, 0, 5}},           {"PROGRESSH", {"", "", kSunkenPanel, 1, 1, 0}},
        {"GAUGE", {"", "", kSunkenPanel, 1, 1, 0}},          {"PROGRESSV", {"", "", kSunkenPanel, 1, 1, 0}},
        {"EDIT", {"", "", kEditFrame, 1, 0, 2}},             {"TABTOP", {"", "", kTabTop, 3, 1, 0}},
        {"TABBOTTOM", {"", "", kTabBottom, 3, 1, 0}},        {"TABRIGHT", {"", "", kTabRight, 3, 1, 0}},
        {"TABLEFT", {"", "", kTabLeft, 3, 1, 0}},            {"SPEEDBUTTON", {"", "", kButtonFrame, 3, 1, 0}},
        {"TOOLBUTTON", {"", "", kButtonFrame, 3, 1, 0}},     {"BAR", {"", "", kPanelFrame, 1, 1, 0}},
        {"BARTITLE", {"", "", kTitleFrame, 1, 1, 0}},        {"BUTTON_BIG", {"", "", kButtonFrame, 3, 1, 0}},
        {"BARPANEL", {"", "", kPanelFrame, 1, 1, 0}},        {"DRAGBAR", {"", "", kPanelFrame, 1, 1, 0}},
        {"PANEL_LOW", {"", "", kSunkenPanel, 1, 1, 0}},
    };
    for (auto [section, mask] : borders) {
        mask.Section = section;
        mask.Property = "BORDERSMASK";
        m.push_back(mask);
    }
    return m;
}

TImage ElegantMaster() {
    const TLook look = ElegantLook();
    TImage master(kMasterWidth, kMasterHeight);
    auto place = [&](TRect r, const TImage& image, bool seeThroughHalf) {
        const TImage piece = seeThroughHalf ? image.WithSeeThroughHalf() : image;
        if (piece.Width() != r.Width() || piece.Height() != r.Height())
            throw std::logic_error("a part does not fit its rectangle at " + std::to_string(r.Left) + "," +
                                   std::to_string(r.Top));
        master.Paste(piece, r.Left, r.Top);
    };
    place(kFormFrame, WindowFrame(look, 42, 45), false);
    place(kTitleFrame, TitleFrame(look, 42, 54), true);
    auto caption = [&](TCaptionGlyph glyph, int height) {
        return States([&](int s) { return CaptionButton(look, s, glyph, height); });
    };
    place(kClose, caption(TCaptionGlyph::Close, 19), false);
    place(kMinimise, caption(TCaptionGlyph::Minimise, 18), false);
    place(kMaximise, caption(TCaptionGlyph::Maximise, 18), false);
    place(kRestore, caption(TCaptionGlyph::Restore, 20), false);
    place(kHelp, caption(TCaptionGlyph::Help, 19), false);
    place(kTitleButton, caption(TCaptionGlyph::None, 19), false);
    place(kGrip, SizeGrip(look), false);
    place(kPanelFrame, PanelFrame(look, false), true);
    place(kSunkenPanel, PanelFrame(look, true), true);
    place(kPanelGlyph, States([&](int s) { return PanelGlyph(look, s); }), true);
    place(kButtonFrame, States([&](int s) { return ButtonFrame(look, s); }), true);
    place(kEditFrame, EditFrame(look), false);
    auto check = [&](TCheckKind kind, bool radio) {
        return States([&](int s) { return CheckGlyph(look, s, kind, radio); });
    };
    place(kBoxChecked, check(TCheckKind::Checked, false), true);
    place(kBoxUnchecked, check(TCheckKind::Unchecked, false), true);
    place(kBoxGrayed, check(TCheckKind::Grayed, false), false);
    place(kRadioChecked, check(TCheckKind::Checked, true), true);
    place(kRadioUnchecked, check(TCheckKind::Unchecked, true), true);
    place(kTabTop, States([&](int s) { return TabFrame(look, s); }), true);
    place(kTabBottom, States([&](int s) { return FlippedVertically(TabFrame(look, s)); }), true);
    place(kTabLeft, States([&](int s) { return Transposed(TabFrame(look, s)); }), true);
    place(kTabRight, States([&](int s) { return Transposed(FlippedVertically(TabFrame(look, s))); }), true);
    place(kTrack, States([&](int s) { return TrackFrame(look, s); }), true);
    place(kArrowUp, States([&](int s) { return ArrowGlyph(look, s, TArrow::Up); }), false);
    place(kArrowDown, States([&](int s) { return ArrowGlyph(look, s, TArrow::Down); }), false);
    place(kArrowLeft, States([&](int s) { return ArrowGlyph(look, s, TArrow::Left); }), false);
    place(kArrowRight, States([&](int s) { return ArrowGlyph(look, s, TArrow::Right); }), false);
    place(kGripH, States([&](int s) { return SliderGrip(look, s, false); }), false);
    place(kGripV, States([&](int s) { return SliderGrip(look, s, true); }), false);
    place(kChannel, Channel(look), false);
    place(kDivider, Divider(look), false);
    place(kThumbH, States([&](int s) { return TrackThumb(look, s, false); }), false);
    place(kThumbV, States([&](int s) { return TrackThumb(look, s, true); }), false);
    return master;
}

namespace {

std::vector<TSectionValues> ElegantSections() {
    const TColor panelTop = 13816530, panelBottom = 11579568;
    const std::string raised = Gradient(Grey(246), Grey(212));
    const std::string raisedHot = Gradient(kWhite, Rgb(222, 234, 248));
    const std::string buttonNormal = "15066597;10790052;110;0;0;10790052;10790052;0;0;0";
    const std::string buttonHot =
        "16777215;12632256;34;0;0;12632256;12632256;39;0;0;12632256;16777215;21;0;0;16777215;16777215;16;0;0;"
        "16777215;16777215;0;0;0";

    std::map<std::string, TSectionValues> s;
    for (const auto& name : ElegantSectionOrder()) s.emplace(name, SharedSection(name));
    auto transparent = [&](const std::string& name) {
        s.at(name).Set("TRANSPARENCY", 100).Set("HOTTRANSPARENCY", 100);
    };
    auto gradient = [&](const std::string& name, TColor colour, const std::string& g, TColor hotColour,
                        const std::string& hotG) {
        auto& v = s.at(name);
        v.Colour("COLOR", colour).Colour("HOTCOLOR", hotColour);
        if (!g.empty()) v.Set("GRADIENTPERCENT", 100).Set("GRADIENTDATA", g);
        if (!hotG.empty()) v.Set("HOTGRADIENTPERCENT", 100).Set("HOTGRADIENTDATA", hotG);
    };

    // The values every look of this skin is measured against.
    s.at("GLOBALINFO").Colour("COLOR", 13750737);
    transparent("MENULINE");
    s.at("MENULINE").Colour("HOTFONTCOLOR", kWhite).Set("HOTTCLEFT", 6174735).Set("HOTTCTOP", 6174735);
    s.at("FORM").Colour("COLOR", 12500670).Colour("HOTCOLOR", 12500670).Flag("RESERVEDBOOLEAN", true);
    gradient("FORMTITLE", kWhite,
             "12632256;16777215;5;0;0;16777215;6579300;20;0;0;6579300;14079702;85;0;0;14079702;14079702;0;0;0", kWhite,
             "12632256;16777215;5;0;0;16777215;7428938;20;0;0;7428938;4862758;9;0;0;4862758;8279081;19;0;0;8279081;"
             "15238400;23;0;0;15238400;16777215;34;0;0;16777215;16777215;0;0;0");
    s.at("FORMTITLE")
        .Colour("FONTCOLOR", kWhite).Set("TCLEFT", 6250335).Set("TCTOP", 5197647)
        .Colour("HOTFONTCOLOR", kWhite);
    gradient("PANEL", 14408667, "13816530;11579568;110;0;0;11579568;11579568;0;0;0", kWhite, "");
    gradient("BUTTON", 15724527, buttonNormal, kWhite, buttonHot);
    s.at("BUTTON").Flag("SHOWFOCUS", true).Flag("FADINGENABLED", true);
    transparent("CHECKBOX");
    transparent("MENUITEM");
    s.at("MENUITEM")
        .Colour("HOTCOLOR", 13016934).Set("HOTTRANSPARENCY", 0).Set("HOTGRADIENTPERCENT", 100)
        .Set("HOTGRADIENTDATA",
             "10386025;16777215;7;0;0;16777215;7427390;33;0;0;7427390;11824436;23;0;0;11824436;15838563;31;0;0;"
             "15838563;12287577;9;0;0;12287577;16777215;7;0;0;16777215;16777215;0;0;0")
        .Colour("HOTFONTCOLOR", kWhite).Set("HOTTCLEFT", 7752489).Set("HOTTCTOP", 7752489);

    // Our own values, in the same light business look.
    s.at("SPLITTER").Set("PARENTCLASS", "SPEEDBUTTON_SMALL");
    gradient("SPLITTER", 14408667, "", kWhite, raisedHot);
    s.at("SPLITTER").Set("TRANSPARENCY", 100).Flag("FADINGENABLED", true);
    s.at("TOOLBAR").Set("PARENTCLASS", "PANEL");
    gradient("TOOLBAR", Grey(232), Gradient(Grey(244), Grey(220)), Grey(232), Gradient(Grey(244), Grey(220)));
    for (const char* name : {"PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT", "TABCONTROL",
                             "TABCONTROLBOTTOM", "TABCONTROLLEFT", "TABCONTROLRIGHT"})
        gradient(name, Grey(238), Gradient(Grey(247), Grey(226)), Grey(238), Gradient(Grey(247), Grey(226)));
    for (const char* name : {"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBAR1V", "SCROLLBAR2V"})
        gradient(name, Rgb(228, 230, 234), "", Rgb(236, 240, 246), "");
    for (const char* name : {"ALPHACOMBOBOX", "COMBOBOX", "ALPHAEDIT"}) gradient(name, kWhite, "", kWhite, "");
    s.at("ALPHACOMBOBOX").Flag("SHOWFOCUS", true);
    s.at("COMBOBOX").Flag("SHOWFOCUS", true);
    for (const char* name : {"SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBTNTOP", "SCROLLSLIDERH"})
        gradient(name, Grey(238), raised, kWhite, raisedHot);
    gradient("SCROLLSLIDERV", Grey(238), Gradient(Grey(246), Grey(212), 1), kWhite,
             Gradient(kWhite, Rgb(222, 234, 248), 1));
    for (const char* name : {"SPEEDBUTTON_SMALL", "TOOLBUTTON"}) {
        gradient(name, Grey(238), "", kWhite, raisedHot);
        s.at(name).Set("TRANSPARENCY", 100).Flag("FADINGENABLED", true);
    }
    transparent("TRACKBAR");
    s.at("TRACKBAR").Flag("FADINGENABLED", true);
    transparent("DIVIDER");
    transparent("GROUPBOX");
    gradient("MAINMENU", Grey(252), "", Grey(252), "");
    s.at("DIALOG").Colour("COLOR", 12500670).Colour("HOTCOLOR", 12500670);
    transparent("RADIOBUTTON");
    for (const char* name : {"PROGRESSH", "GAUGE"})
        gradient(name, kWhite, "", Rgb(74, 128, 190), Gradient(Rgb(150, 190, 232), Rgb(74, 128, 190)));
    gradient("PROGRESSV", kWhite, "", Rgb(74, 128, 190), Gradient(Rgb(150, 190, 232), Rgb(74, 128, 190), 1));
    gradient("TABTOP", Grey(232), Gradient(Grey(244), Grey(218)), kWhite, Gradient(kWhite, Grey(236)));
    gradient("TABBOTTOM", Grey(232), Gradient(Grey(218), Grey(244)), kWhite, Gradient(Grey(236), kWhite));
    gradient("TABLEFT", Grey(232), Gradient(Grey(244), Grey(218), 1), kWhite, Gradient(kWhite, Grey(236), 1));
    gradient("TABRIGHT", Grey(232), Gradient(Grey(218), Grey(244), 1), kWhite, Gradient(Grey(236), kWhite, 1));
    for (const char* name : {"SPEEDBUTTON", "BUTTON_BIG"}) {
        gradient(name, 15724527, buttonNormal, kWhite, buttonHot);
        s.at(name).Flag("FADINGENABLED", true);
    }
    s.at("BUTTON_BIG").Set("FADINGINTERVALIN", 2).Set("FADINGITERATIONS", 6);
    gradient("STATUSBAR", Grey(226), Gradient(Grey(240), Grey(214)), Grey(226), Gradient(Grey(240), Grey(214)));
    for (const char* name : {"BAR", "BARPANEL"})
        gradient(name, 14408667, Gradient(panelTop, panelBottom), 14408667, Gradient(panelTop, panelBottom));
    gradient("BARTITLE", Grey(200), Gradient(Grey(226), Grey(176)), Grey(200), Gradient(Grey(226), Grey(176)));
    s.at("BARTITLE").Colour("FONTCOLOR", kWhite).Set("TCLEFT", 6250335).Set("TCTOP", 5197647)
        .Colour("HOTFONTCOLOR", kWhite).Set("HOTTCLEFT", 6250335).Set("HOTTCTOP", 5197647);
    transparent("WEBBUTTON");
    s.at("WEBBUTTON").Colour("FONTCOLOR", Rgb(46, 90, 150)).Colour("HOTFONTCOLOR", Rgb(74, 128, 190));
    gradient("DRAGBAR", Grey(214), Gradient(Grey(232), Grey(200)), Grey(214), Gradient(Grey(232), Grey(200)));
    gradient("PANEL_LOW", Grey(214), "", Grey(214), "");

    std::vector<TSectionValues> out;
    for (const auto& name : ElegantSectionOrder()) {
        auto v = s.at(name);
        // PARENTCLASS goes first, as skin authors read it.
        if (const auto parent = std::find_if(v.Keys().begin(), v.Keys().end(),
                                             [](const auto& k) { return k.first == "PARENTCLASS"; });
            parent != v.Keys().end()) {
            TSectionValues ordered(name);
            ordered.Set("PARENTCLASS", parent->second);
            for (const auto& [k, value] : v.Keys())
                if (k != "PARENTCLASS") ordered.Set(k, value);
            v = ordered;
        }
        out.push_back(v);
    }
    return out;
}

}  // namespace

std::vector<TSkinFile> ElegantFiles() {
    auto sections = ElegantSections();
    TSectionValues global("GLOBALINFO");
    global.Set("NAME", "Elegant (internal)")
        .Set("VERSION", "4.33")
        .Set("AUTHOR", "Korvel Pro design team")
        .Set("DESCRIPTION", "Easy and universal skin for business and media applications.")
        .Set("SHADOW1COLOR", 0)
        .Set("SHADOW1OFFSET", 0)
        .Set("SHADOW1BLUR", -1)
        .Set("SHADOW1TRANSPARENCY", 0)
        .Set("MASTERBITMAP", "elegant_master.bmp");
    for (const auto& [key, value] : sections.front().Keys()) global.Set(key, value);
    sections.front() = global;
    for (const auto& mask : ElegantMasks()) {
        if (mask.Property == "MASTERBITMAP") continue;   // the MASTERBITMAP key above
        for (auto& section : sections)
            if (section.Name() == mask.Section)
                section.Set(mask.Property, RectangleMask(mask.Rect, mask.ImageCount, mask.MaskType, mask.BorderWidth));
    }
    const std::vector<std::string> header = {
        "Elegant (internal): the skin stored with the main window's definition.",
        "Generated by tools/skin-art (skin-art generate); edit the program, not this file.",
        "Written in the options-file form of a skin folder. Values a folder skin has no key for:",
        "  GLOBALINFO NAME         the stored skin's name (a folder skin is named by its folder).",
        "  GLOBALINFO MASTERBITMAP is stored twice: as the skin's master bitmap and as the mask",
        "                          GLOBALINFO/MASTERBITMAP, a picture of its own named \"MASTER.BMP\"",
        "                          with image count 0 and mask type 0, fourth in the mask collection.",
        "  Masks keep the order of the stored collection within each section; every mask is",
        "  itisaBorder with StretchMode, WL, WT, WR and WB 0 (the fourth number of each mask).",
    };
    const std::string text = WriteOptions(header, sections);
    return {{"elegant_master.bmp", EncodeBmp8(ElegantMaster())}, {"elegant.ini", {text.begin(), text.end()}}};
}

}  // namespace korvel::art
