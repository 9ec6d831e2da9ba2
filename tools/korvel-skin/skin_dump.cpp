#include "skin_dump.h"

#include <cstdio>
#include <string>

#include "skin/skin_loader.h"
#include "gui/text_convert.h"

namespace korvel {

const char* const DumpFormatHelp = R"(Output of "dump", one entry per line, fields in this order:
  load name=TEXT source=folder|internal|none path=TEXT
  info version=NUMBER skininfo=TEXT author=TEXT description=TEXT shadow1color=N
       shadow1offset=N shadow1blur=N shadow1transparency=N
  master WIDTHxHEIGHT | master none
  section INDEX name=TEXT parent=TEXT color=N bevel=N fontcolor=N,N,N,N,N
       hotfontcolor=N,N,N,N,N reservedboolean=0|1 shadowblur=N shadowcolor=N
       shadowenabled=0|1 shadowoffset=N shadowtransparency=N transparency=N
       gradientpercent=N gradientdata=TEXT gradient=[STOPS] imagepercent=N
       showfocus=0|1 fadingenabled=0|1 fadingintervalin=N fadingintervalout=N
       fadingiterations=N hotcolor=N hottransparency=N hotbevel=N
       hotgradientpercent=N hotgradientdata=TEXT hotgradient=[STOPS]
       hotimagepercent=N bordercolor1=N bordercolor2=N
  mask INDEX section=TEXT property=TEXT bmp=WIDTHxHEIGHT|none rect=L,T,R,B
       imagecount=N masktype=N borderwidth=N stretchmode=N
       imgtype=itisaBorder|itisaTexture|itisaGlyph w=WL,WT,WR,WB
  pattern INDEX section=TEXT property=TEXT img=WIDTHxHEIGHT|none
  cached NAME section=N [MASK=N ...]   (one line per cached row, -1 for none)
  warning TEXT                         (a picture file that was skipped, and why)
(Each entry is one line; the continuation lines above only fit this help.)
TEXT is double-quoted with \\, \", \n, \r, \t and \xHH escapes. Colours are the
decimal value of 0x00BBGGRR (system colours as unsigned numbers). STOPS are
"COLOR1:COLOR2:PERCENT:MODE" items separated by blanks.
)";

namespace {

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
                out += buffer;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string Size(const TBitmap24* bmp) {
    if (!bmp || bmp->Empty()) return "none";
    return std::to_string(bmp->Width()) + "x" + std::to_string(bmp->Height());
}

std::string Fonts(const TsFontColor& f) {
    std::string s;
    for (std::size_t i = 0; i < f.size(); ++i) s += (i ? "," : "") + std::to_string(f[i]);
    return s;
}

std::string Stops(const TsGradArray& stops) {
    std::string s = "[";
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const TsGradientStop& g = stops[i];
        s += (i ? " " : "") + std::to_string(g.Color1) + ":" + std::to_string(g.Color2) + ":" +
             std::to_string(g.Percent) + ":" + std::to_string(g.Mode);
    }
    return s + "]";
}

const char* ImgTypeName(TacImgType t) {
    switch (t) {
    case itisaTexture: return "itisaTexture";
    case itisaGlyph: return "itisaGlyph";
    default: return "itisaBorder";
    }
}

void DumpSection(std::ostream& out, std::size_t i, const TsGeneralData& d) {
    out << "section " << i << " name=" << Quote(d.SectionName) << " parent=" << Quote(d.ParentClass)
        << " color=" << d.Color << " bevel=" << int(d.Bevel) << " fontcolor=" << Fonts(d.FontColor)
        << " hotfontcolor=" << Fonts(d.HotFontColor) << " reservedboolean=" << d.ReservedBoolean
        << " shadowblur=" << d.ShadowBlur << " shadowcolor=" << d.ShadowColor << " shadowenabled=" << d.ShadowEnabled
        << " shadowoffset=" << d.ShadowOffset << " shadowtransparency=" << d.ShadowTransparency
        << " transparency=" << d.Transparency << " gradientpercent=" << d.GradientPercent
        << " gradientdata=" << Quote(d.GradientData) << " gradient=" << Stops(d.GradientArray)
        << " imagepercent=" << d.ImagePercent << " showfocus=" << d.ShowFocus << " fadingenabled=" << d.FadingEnabled
        << " fadingintervalin=" << d.FadingIntervalIn << " fadingintervalout=" << d.FadingIntervalOut
        << " fadingiterations=" << d.FadingIterations << " hotcolor=" << d.HotColor
        << " hottransparency=" << d.HotTransparency << " hotbevel=" << int(d.HotBevel)
        << " hotgradientpercent=" << d.HotGradientPercent << " hotgradientdata=" << Quote(d.HotGradientData)
        << " hotgradient=" << Stops(d.HotGradientArray) << " hotimagepercent=" << d.HotImagePercent
        << " bordercolor1=" << d.BorderColor1 << " bordercolor2=" << d.BorderColor2 << '\n';
}

void DumpScrollPart(std::ostream& out, const char* name, const TsScrollPartIndexes& p, bool glyph) {
    out << "cached " << name << " section=" << p.SkinIndex << " BORDERSMASK=" << p.BordersMask;
    if (glyph) out << " GLYPHMASK=" << p.GlyphMask;
    out << " PATTERN=" << p.Pattern << " HOTPATTERN=" << p.HotPattern << '\n';
}

}  // namespace

void DumpSkin(std::ostream& out, const TsSkinLoadReport& report, const TsSkinTables& tables) {
    const char* source = !report.Active ? "none" : report.FromFolder ? "folder" : "internal";
    out << "load name=" << Quote(report.SkinName) << " source=" << source
        << " path=" << Quote(tables.SkinData.SkinPath) << '\n';
    const TsSkinData& info = tables.SkinData;
    out << "info version=" << FloatToStr(info.Version) << " skininfo=" << Quote(SkinInfo(info))
        << " author=" << Quote(info.Author) << " description=" << Quote(info.Description)
        << " shadow1color=" << info.Shadow1Color << " shadow1offset=" << info.Shadow1Offset
        << " shadow1blur=" << info.Shadow1Blur << " shadow1transparency=" << info.Shadow1Transparency << '\n';
    out << "master " << Size(&tables.MasterBitmap) << '\n';
    for (std::size_t i = 0; i < tables.Sections.size(); ++i) DumpSection(out, i, tables.Sections[i]);
    for (std::size_t i = 0; i < tables.Masks.size(); ++i) {
        const TsMaskData& m = tables.Masks[i];
        out << "mask " << i << " section=" << Quote(m.SectionName) << " property=" << Quote(m.PropertyName)
            << " bmp=" << Size(m.Bmp.get()) << " rect=" << m.R.Left << ',' << m.R.Top << ',' << m.R.Right << ','
            << m.R.Bottom << " imagecount=" << m.ImageCount << " masktype=" << m.MaskType
            << " borderwidth=" << m.BorderWidth << " stretchmode=" << m.StretchMode << " imgtype=" << ImgTypeName(m.ImgType)
            << " w=" << m.WL << ',' << m.WT << ',' << m.WR << ',' << m.WB << '\n';
    }
    for (std::size_t i = 0; i < tables.Patterns.size(); ++i) {
        const TsPatternData& p = tables.Patterns[i];
        out << "pattern " << i << " section=" << Quote(p.SectionName) << " property=" << Quote(p.PropertyName)
            << " img=" << Size(p.Img.get()) << '\n';
    }
    const TsCachedIndexes& c = tables.CachedIndexes;
    out << "cached GLOBALINFO section=" << c.GlobalInfo << " BOXCHECKED=" << c.BoxChecked
        << " BOXUNCHECKED=" << c.BoxUnchecked << " BOXGRAYED=" << c.BoxGrayed << " RADIOCHECKED=" << c.RadioChecked
        << " RADIOUNCHECKED=" << c.RadioUnchecked << " RADIOGRAYED=" << c.RadioGrayed
        << " SMALLCHECKED=" << c.SmallChecked << " SMALLUNCHECKED=" << c.SmallUnchecked
        << " SMALLGRAYED=" << c.SmallGrayed << '\n';
    for (std::size_t i = 0; i < c.Tabs.size(); ++i)
        out << "cached " << TabSectionNames[i] << " section=" << c.Tabs[i].SkinIndex
            << " BORDERSMASK=" << c.Tabs[i].BordersMask << '\n';
    for (std::size_t i = 0; i < c.ScrollButtons.size(); ++i)
        DumpScrollPart(out, ScrollButtonSectionNames[i], c.ScrollButtons[i], true);
    for (std::size_t i = 0; i < c.ScrollSliders.size(); ++i)
        DumpScrollPart(out, ScrollSliderSectionNames[i], c.ScrollSliders[i], true);
    for (std::size_t i = 0; i < c.ScrollBars.size(); ++i)
        DumpScrollPart(out, ScrollBarSectionNames[i], c.ScrollBars[i], false);
    for (const std::string& w : report.Warnings) out << "warning " << Quote(w) << '\n';
}

}  // namespace korvel
