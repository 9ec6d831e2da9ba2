#include "skin_render.h"

#include <algorithm>
#include <cstring>

#include "paint/item.h"
#include "paint/mask.h"

namespace korvel {
namespace {

constexpr int SheetWidth = 960;     // before scaling
constexpr int Margin = 8;
constexpr int StateGap = 4;         // between the states of one section
constexpr int GroupGap = 12;        // between sections
constexpr TColor SheetColor = 0x8C8C8C;

const char* const StateNames[StateCount] = {"normal", "hot", "pressed"};

void CopyInto(TBitmap24& target, const TBitmap24& source, int left, int top) {
    for (int y = 0; y < source.Height(); ++y)
        std::memcpy(target.ScanLine(top + y) + left * 3, source.ScanLine(y), std::size_t(source.Width()) * 3);
}

TBitmap24 PlainParent(const TsSkinTables& tables, int width, int height) {
    TBitmap24 b(width, height);
    b.Fill(tables.GlobalColor());
    return b;
}

int SectionStates(const TsSkinTables& tables, int index, const std::string& name) {
    const int border = tables.MaskIndexOf(index, name, "BORDERSMASK");
    return border >= 0 && tables.Masks[std::size_t(border)].ImageCount >= StateCount ? StateCount : 2;
}

void DrawGlyph(TBitmap24& tile, const TsSkinTables& tables, int index, const TPreviewSection& section, int state) {
    const int glyph = tables.MaskIndexOf(index, section.Name, section.Glyph);
    if (glyph < 0) return;
    const TsMaskData& mask = tables.Masks[std::size_t(glyph)];
    TMaskImage image;
    if (!GetMaskImage(tables, mask, image)) return;
    const int side = std::min(tile.Width(), tile.Height());
    const int x = section.GlyphAtRight ? tile.Width() - side + (side - image.StateWidth) / 2
                                       : (tile.Width() - image.StateWidth) / 2;
    DrawSkinGlyph(tile, TPoint{x, (tile.Height() - image.PartHeight) / 2}, state, tables, mask, 1);
}

// The picture of a mask without state images: a texture or the master bitmap itself.
TBitmap24 RawMaskPicture(const TsSkinTables& tables, const TsMaskData& mask) {
    if (mask.Bmp) return mask.Bmp->Clone();
    const TBitmap24& master = tables.MasterBitmap;
    const TRect r = Intersect({mask.R.Left, mask.R.Top, mask.R.Right, mask.R.Bottom}, {0, 0, master.Width(), master.Height()});
    if (r.IsEmpty()) return {};
    TBitmap24 b(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        std::memcpy(b.ScanLine(y), master.ScanLine(r.Top + y) + r.Left * 3, std::size_t(r.Width()) * 3);
    return b;
}

struct TPending {
    TPreviewTile Tile;
    TBitmap24 Pixels;
    bool GroupStart = false;    // first tile of a section or mask
};

// Shelf layout: tiles left to right, a new row when the width is used up;
// a section's states stay together unless they alone are wider than a row.
int Layout(std::vector<TPending>& pending, int top) {
    int x = Margin, y = top, rowHeight = 0;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        int groupWidth = 0;
        for (std::size_t j = i; j < pending.size() && (j == i || !pending[j].GroupStart); ++j)
            groupWidth += pending[j].Pixels.Width() + (j == i ? 0 : StateGap);
        const int width = pending[i].Pixels.Width();
        const bool wraps = pending[i].GroupStart ? x > Margin && x + groupWidth > SheetWidth - Margin
                                                 : x + width > SheetWidth - Margin;
        if (wraps) {
            x = Margin;
            y += rowHeight + GroupGap;
            rowHeight = 0;
        }
        pending[i].Tile.Bounds = Bounds(x, y, width, pending[i].Pixels.Height());
        x += width + StateGap;
        if (i + 1 < pending.size() && pending[i + 1].GroupStart) x += GroupGap - StateGap;
        rowHeight = std::max(rowHeight, pending[i].Pixels.Height());
    }
    return y + rowHeight;
}

void HtmlText(std::ostream& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '&': out << "&amp;"; break;
        case '<': out << "&lt;"; break;
        case '>': out << "&gt;"; break;
        case '"': out << "&quot;"; break;
        default: out << c;
        }
    }
}

std::string StateText(int state) { return state < 0 ? "" : std::to_string(state) + " " + StateNames[std::min(state, StateCount - 1)]; }

}  // namespace

TBitmap24 RenderSection(const TsSkinTables& tables, int sectionIndex, int width, int height, int state) {
    TBitmap24 parent = PlainParent(tables, width, height);
    TBitmap24 out = parent.Clone();
    const TParentBackground background{&parent, 0, 0, true};
    PaintSection(sectionIndex, background, &tables, out, TPoint{0, 0}, TRect{0, 0, width, height}, state, true);
    return out;
}

const std::vector<TPreviewSection>& PreviewSections() {
    static const std::vector<TPreviewSection> sections = {
        {"FORM", 160, 100},          {"DIALOG", 160, 100},        {"FORMTITLE", 160, 26},
        {"MDIAREA", 120, 60},        {"PANEL", 120, 60},          {"PANEL_LOW", 120, 40},
        {"GROUPBOX", 120, 60},       {"PAGECONTROL", 120, 60},    {"TABTOP", 64, 22},
        {"TABBOTTOM", 64, 22},       {"TABLEFT", 22, 64},         {"TABRIGHT", 22, 64},
        {"BUTTON", 75, 25},          {"BUTTON_BIG", 100, 40},     {"SPEEDBUTTON", 25, 25},
        {"SPEEDBUTTON_SMALL", 16, 16}, {"TOOLBUTTON", 25, 25},    {"WEBBUTTON", 75, 20},
        {"EDIT", 120, 21},           {"ALPHAEDIT", 120, 21},      {"COMBOBOX", 120, 21, "GLYPHMASK", true},
        {"CHECKBOX", 90, 17},        {"RADIOBUTTON", 90, 17},     {"SCROLLBAR1H", 120, 17},
        {"SCROLLBAR2H", 120, 17},    {"SCROLLBAR1V", 17, 80},     {"SCROLLBAR2V", 17, 80},
        {"SCROLLBTNLEFT", 17, 17, "GLYPHMASK"},   {"SCROLLBTNRIGHT", 17, 17, "GLYPHMASK"},
        {"SCROLLBTNTOP", 17, 17, "GLYPHMASK"},    {"SCROLLBTNBOTTOM", 17, 17, "GLYPHMASK"},
        {"SCROLLSLIDERH", 40, 17, "GLYPHMASK"},   {"SCROLLSLIDERV", 17, 40, "GLYPHMASK"},
        {"TRACKBAR", 120, 30, "SLIDERMASK"},      {"PROGRESSH", 120, 16},
        {"PROGRESSV", 16, 80},       {"GAUGE", 120, 16},          {"MAINMENU", 200, 20},
        {"MENUITEM", 120, 20},       {"MENULINE", 120, 9},        {"ICOLINE", 24, 60},
        {"DIVIDER", 60, 6},          {"DIVIDERV", 6, 60},         {"SPLITTER", 6, 60},
        {"TOOLBAR", 160, 28},        {"STATUSBAR", 160, 20},      {"BAR", 120, 60},
        {"BARTITLE", 120, 20},       {"BARPANEL", 120, 40},       {"DRAGBAR", 120, 12},
    };
    return sections;
}

TPreviewSheet MakePreviewSheet(const TsSkinTables& tables) {
    TPreviewSheet sheet;
    std::vector<TPending> sections, masks;
    for (const TPreviewSection& s : PreviewSections()) {
        const int index = tables.SectionIndexOf(s.Name);
        if (index < 0) {
            sheet.Missing.push_back(s.Name);
            continue;
        }
        const int states = SectionStates(tables, index, s.Name);
        for (int state = 0; state < states; ++state) {
            TBitmap24 tile = RenderSection(tables, index, s.Width, s.Height, state);
            if (s.Glyph) DrawGlyph(tile, tables, index, s, state);
            sections.push_back({{s.Name, state, {}}, std::move(tile), state == 0});
        }
    }
    // Masks that cut the same picture the same way share their tiles.
    std::vector<const TsMaskData*> shown;
    std::vector<std::string> names;
    for (const TsMaskData& m : tables.Masks) {
        const std::string name = m.SectionName + "." + m.PropertyName;
        const auto same = std::find_if(shown.begin(), shown.end(), [&](const TsMaskData* o) {
            return o->Bmp == m.Bmp && o->R == m.R && o->ImageCount == m.ImageCount && o->MaskType == m.MaskType &&
                   o->ImgType == m.ImgType;
        });
        if (same != shown.end()) {
            names[std::size_t(same - shown.begin())] += ", " + name;
            continue;
        }
        shown.push_back(&m);
        names.push_back("mask " + name);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const TsMaskData& m = *shown[i];
        const std::string& name = names[i];
        if (m.ImgType == itisaTexture || m.PropertyName == "MASTERBITMAP") {
            TBitmap24 picture = RawMaskPicture(tables, m);
            if (picture.Empty() || picture.Width() > MaxRenderSide || picture.Height() > MaxRenderSide)
                sheet.Undrawable.push_back(name.substr(5));
            else
                masks.push_back({{name, -1, {}}, std::move(picture), true});
            continue;
        }
        TMaskImage image;
        if (!GetMaskImage(tables, m, image) || image.StateWidth > MaxRenderSide || image.PartHeight > MaxRenderSide) {
            sheet.Undrawable.push_back(name.substr(5));
            continue;
        }
        for (int state = 0; state < image.ImageCount; ++state) {
            TBitmap24 tile = PlainParent(tables, image.StateWidth, image.PartHeight);
            DrawSkinGlyph(tile, TPoint{0, 0}, state, tables, m, 1);
            masks.push_back({{name, state, {}}, std::move(tile), state == 0});
        }
    }
    const int sectionsBottom = Layout(sections, Margin);
    const int bottom = Layout(masks, sectionsBottom + 3 * GroupGap);
    int width = SheetWidth;
    for (const auto* list : {&sections, &masks})
        for (const TPending& p : *list) width = std::max(width, p.Tile.Bounds.Right + Margin);
    sheet.Bitmap.SetSize(width, bottom + Margin);
    sheet.Bitmap.Fill(SheetColor);
    for (auto* list : {&sections, &masks})
        for (TPending& p : *list) {
            CopyInto(sheet.Bitmap, p.Pixels, p.Tile.Bounds.Left, p.Tile.Bounds.Top);
            sheet.Tiles.push_back(std::move(p.Tile));
        }
    return sheet;
}

void WritePreviewHtml(std::ostream& out, const TPreviewSheet& sheet, const std::string& skinName,
                      const std::string& pictureFile, int scale) {
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Skin ";
    HtmlText(out, skinName);
    out << "</title>\n<style>body{font-family:sans-serif}td,th{padding:0 .6em;text-align:left}"
           "td.n{text-align:right}</style></head><body>\n<h1>";
    HtmlText(out, skinName);
    out << "</h1>\n<p><img src=\"";
    HtmlText(out, pictureFile);
    out << "\" width=\"" << sheet.Bitmap.Width() * scale << "\" height=\"" << sheet.Bitmap.Height() * scale
        << "\" usemap=\"#tiles\" alt=\"preview sheet\"></p>\n<map name=\"tiles\">\n";
    for (const TPreviewTile& t : sheet.Tiles) {
        const TRect r = {t.Bounds.Left * scale, t.Bounds.Top * scale, t.Bounds.Right * scale, t.Bounds.Bottom * scale};
        out << "<area shape=\"rect\" coords=\"" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom
            << "\" title=\"";
        HtmlText(out, t.Name + (t.State < 0 ? "" : ", state " + StateText(t.State)));
        out << "\" alt=\"";
        HtmlText(out, t.Name);
        out << "\">\n";
    }
    out << "</map>\n<table>\n<tr><th>tile</th><th>state</th><th>left</th><th>top</th><th>width</th><th>height</th></tr>\n";
    for (const TPreviewTile& t : sheet.Tiles) {
        out << "<tr><td>";
        HtmlText(out, t.Name);
        out << "</td><td>" << StateText(t.State) << "</td><td class=\"n\">" << t.Bounds.Left * scale
            << "</td><td class=\"n\">" << t.Bounds.Top * scale << "</td><td class=\"n\">" << t.Bounds.Width() * scale
            << "</td><td class=\"n\">" << t.Bounds.Height() * scale << "</td></tr>\n";
    }
    out << "</table>\n";
    auto list = [&](const char* title, const std::vector<std::string>& names) {
        if (names.empty()) return;
        out << "<p>" << title;
        for (std::size_t i = 0; i < names.size(); ++i) {
            out << (i ? ", " : " ");
            HtmlText(out, names[i]);
        }
        out << "</p>\n";
    };
    list("Sections this skin does not have:", sheet.Missing);
    list("Masks whose image cannot be cut:", sheet.Undrawable);
    out << "</body></html>\n";
}

}  // namespace korvel
