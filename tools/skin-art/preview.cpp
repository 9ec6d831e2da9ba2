#include "tools/skin-art/preview.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "tools/skin-art/image_io.h"

namespace korvel::art {
namespace {

std::string Upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int ToIntOr(const std::string& s, int fallback) {
    try {
        std::size_t used = 0;
        const int v = std::stoi(s, &used);
        return used == s.size() ? v : fallback;
    } catch (const std::exception&) {
        return fallback;
    }
}

TColor Blend(TColor d, TColor s, int m) {
    auto ch = [&](int dc, int sc) { return std::clamp(((dc - sc) * m + sc * 256) >> 8, 0, 255); };
    return Rgb(ch(RedOf(d), RedOf(s)), ch(GreenOf(d), GreenOf(s)), ch(BlueOf(d), BlueOf(s)));
}

}  // namespace

void PaintGradientText(TImage& target, TRect rect, const std::string& data) {
    std::vector<int> v;
    std::string item;
    for (char c : data + ";") {
        if (c == ';') {
            if (!item.empty()) v.push_back(ToIntOr(item, 0));
            item.clear();
        } else {
            item += c;
        }
    }
    const std::size_t stops = v.size() / 5;
    if (stops == 0) return;
    const bool across = v[3] == 1;
    const int length = across ? rect.Width() : rect.Height();
    int start = 0;
    for (std::size_t i = 0; i < stops; ++i) {
        const auto c1 = static_cast<TColor>(v[i * 5]), c2 = static_cast<TColor>(v[i * 5 + 1]);
        const int percent = std::min(100, v[i * 5 + 2]);
        int end = std::min(length - 1, start + percent * length / 100);
        if (i + 1 == stops) end = length - 1;
        const int band = end - start;
        for (int p = start; p <= end && band > 0; ++p) {
            const int t = (p - start) * 256 / band;
            const TColor c = Mix(c1, c2, t);
            if (across) target.VLine(rect.Left + p, rect.Top, rect.Bottom - 1, c);
            else target.HLine(rect.Left, rect.Right - 1, rect.Top + p, c);
        }
        start = end;
    }
}

void DrawFrame(TImage& target, TRect rect, const TPreviewMask& mask, int state, bool fillCentre, const TImage& parent) {
    const int W = rect.Width(), H = rect.Height();
    if (W <= 1 || H <= 1 || mask.ImageCount < 1) return;
    const int partH = mask.Source.Height() / (mask.MaskType + 1);
    const int cw = mask.Source.Width() / (mask.ImageCount * 3), ch = partH / 3;
    if (cw < 1 || ch < 1) return;
    const int lw = W < 2 * cw ? W / 2 : cw, rw = W < 2 * cw ? W - lw : cw;
    const int th = H < 2 * ch ? H / 2 : ch, bh = H < 2 * ch ? H - th : ch;
    const int sx0 = std::min(state, mask.ImageCount - 1) * cw * 3;
    const bool stretch = mask.StretchMode != 0 && mask.MaskType == 0;
    auto piece = [&](int dx0, int dy0, int dw, int dh, int sx, int sy, int sw, int sh, bool corner) {
        for (int dy = 0; dy < dh; ++dy)
            for (int dx = 0; dx < dw; ++dx) {
                const int px = rect.Left + dx0 + dx, py = rect.Top + dy0 + dy;
                if (!target.Inside(px, py)) continue;
                const int u = sx + (stretch && !corner ? dx * sw / dw : dx % sw);
                const int v = sy + (stretch && !corner ? dy * sh / dh : dy % sh);
                const TColor s = mask.Source.At(u, v);
                if (s == clNone) {
                    if (corner && parent.Inside(px, py)) target.Set(px, py, parent.At(px, py));
                    continue;
                }
                const int m = mask.MaskType == 1 ? RedOf(mask.Source.At(u, v + partH)) : 0;
                target.Set(px, py, Blend(target.At(px, py), s, m));
            }
    };
    const int midW = W - lw - rw, midH = H - th - bh;
    piece(0, 0, lw, th, sx0, 0, cw, ch, true);
    piece(0, th, lw, midH, sx0, ch, cw, ch, false);
    piece(lw, 0, midW, th, sx0 + cw, 0, cw, ch, false);
    piece(0, H - bh, lw, bh, sx0, 3 * ch - bh, cw, bh, true);
    piece(lw, H - bh, midW, bh, sx0 + cw, 3 * ch - bh, cw, bh, false);
    piece(W - rw, H - bh, rw, bh, sx0 + 3 * cw - rw, 3 * ch - bh, rw, bh, true);
    piece(W - rw, 0, rw, th, sx0 + 3 * cw - rw, 0, rw, ch, true);
    piece(W - rw, th, rw, midH, sx0 + 3 * cw - rw, ch, rw, ch, false);
    if (fillCentre && (mask.MaskType == 1 || mask.BorderWidth == 0))
        piece(lw, th, midW, midH, sx0 + cw, ch, cw, ch, false);
}

TPreviewSkin::TPreviewSkin(const std::string& folder, const std::string& optionsFile) : folder_(folder) {
    const auto bytes = ReadFile((std::filesystem::path(folder) / optionsFile).string());
    sections_ = ParseIni(std::string(bytes.begin(), bytes.end()));
    if (const auto* global = Find("GLOBALINFO"))
        if (const auto name = global->Value("MASTERBITMAP"))
            master_ = DecodeBmp(ReadFile((std::filesystem::path(folder) / *name).string()));
}

const TIniSection* TPreviewSkin::Find(const std::string& section) const {
    for (const auto& s : sections_)
        if (Upper(s.Name) == Upper(section)) return &s;
    return nullptr;
}

bool TPreviewSkin::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::string TPreviewSkin::Key(const std::string& section, const std::string& key, const std::string& fallback) const {
    std::string at = section;
    for (int steps = 0; steps < 16; ++steps) {
        const auto* s = Find(at);
        if (!s) break;
        if (const auto v = s->Value(key); v && *v != "-1") return *v;
        const auto parent = s->Value("PARENTCLASS");
        if (!parent || parent->empty() || Upper(*parent) == Upper(at)) break;
        at = *parent;
    }
    return fallback;
}

int TPreviewSkin::IntKey(const std::string& section, const std::string& key, int fallback) const {
    return ToIntOr(Key(section, key, std::to_string(fallback)), fallback);
}

std::optional<TPreviewMask> TPreviewSkin::Mask(const std::string& section, const std::string& property) const {
    std::string at = section;
    for (int steps = 0; steps < 16; ++steps) {
        const auto* s = Find(at);
        if (!s) return std::nullopt;
        if (const auto value = s->Value(property)) {
            const auto m = ParseMaskValue(*value);
            if (!m) return std::nullopt;
            TPreviewMask out;
            out.ImageCount = m->ImageCount;
            out.MaskType = m->MaskType;
            out.BorderWidth = m->BorderWidth;
            out.StretchMode = m->StretchMode;
            if (m->Form == TMaskForm::OwnPicture || m->Form == TMaskForm::OwnWithCounts)
                out.Source = DecodeBmp(ReadFile((std::filesystem::path(folder_) / m->File).string()));
            else
                out.Source = master_.Crop({m->Left, m->Top, m->Right, m->Bottom});
            return out;
        }
        const auto parent = s->Value("PARENTCLASS");
        if (!parent || parent->empty() || Upper(*parent) == Upper(at)) return std::nullopt;
        at = *parent;
    }
    return std::nullopt;
}

std::optional<TImage> TPreviewSkin::Pattern(const std::string& section, const std::string& property) const {
    const auto* s = Find(section);
    if (!s) return std::nullopt;
    const auto value = s->Value(property);
    if (!value) return std::nullopt;
    if (NamesJpeg(*value)) return DecodeJpeg(ReadFile((std::filesystem::path(folder_) / *value).string()));
    if (const auto m = Mask(section, property)) return m->Source.Crop({0, 0, m->Source.Width(), m->Source.Height() / (m->MaskType + 1)});
    return std::nullopt;
}

void TPreviewSkin::PaintSection(TImage& target, TRect rect, const std::string& section, int state) const {
    if (!HasSection(section)) return;
    const TImage before = target.Crop({0, 0, target.Width(), target.Height()});
    const bool hot = state != 0;
    const auto colour = static_cast<TColor>(IntKey(section, hot ? "HOTCOLOR" : "COLOR", 0xFFFFFF));
    const int t = IntKey(section, hot ? "HOTTRANSPARENCY" : "TRANSPARENCY", 0);
    const int g = IntKey(section, hot ? "HOTGRADIENTPERCENT" : "GRADIENTPERCENT", 0);
    const int i = IntKey(section, hot ? "HOTIMAGEPERCENT" : "IMAGEPERCENT", 0);
    const std::string data = Key(section, hot ? "HOTGRADIENTDATA" : "GRADIENTDATA", " ");
    TImage item(rect.Width(), rect.Height(), colour);
    const TRect all{0, 0, rect.Width(), rect.Height()};
    const auto pattern = i > 0 ? Pattern(section, hot ? "HOTPATTERN" : "PATTERN") : std::nullopt;
    if (pattern)
        for (int y = 0; y < item.Height(); ++y)
            for (int x = 0; x < item.Width(); ++x) item.Set(x, y, pattern->At(x % pattern->Width(), y % pattern->Height()));
    if (g > 0) {
        TImage grad(rect.Width(), rect.Height(), colour);
        PaintGradientText(grad, all, data);
        for (int y = 0; y < item.Height(); ++y)
            for (int x = 0; x < item.Width(); ++x)
                item.Set(x, y, pattern ? Mix(grad.At(x, y), item.At(x, y), i * 256 / 100) : grad.At(x, y));
    }
    if (g + i > 0 && g + i < 100)
        for (int y = 0; y < item.Height(); ++y)
            for (int x = 0; x < item.Width(); ++x) item.Set(x, y, Mix(colour, item.At(x, y), (g + i) * 256 / 100));
    for (int y = 0; y < item.Height(); ++y)
        for (int x = 0; x < item.Width(); ++x) {
            const int px = rect.Left + x, py = rect.Top + y;
            if (target.Inside(px, py)) target.Set(px, py, Mix(item.At(x, y), before.At(px, py), t * 256 / 100));
        }
    if (const auto frame = Mask(section, "BORDERSMASK")) DrawFrame(target, rect, *frame, state, true, before);
}

void TPreviewSkin::PaintGlyph(TImage& target, int x, int y, const TPreviewMask& mask, int state) const {
    const int w = mask.Source.Width() / std::max(1, mask.ImageCount);
    const int h = mask.Source.Height() / (mask.MaskType + 1);
    const int sx = std::min(state, mask.ImageCount - 1) * w;
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u) {
            const TColor s = mask.Source.At(sx + u, v);
            if (s == clNone || !target.Inside(x + u, y + v)) continue;
            const int m = mask.MaskType == 1 ? RedOf(mask.Source.At(sx + u, v + h)) : 0;
            target.Set(x + u, y + v, Blend(target.At(x + u, y + v), s, m));
        }
}

namespace {

void Window(const TPreviewSkin& skin, TImage& sheet, TRect win, bool active) {
    const int frame = 3, caption = 22, title = frame + caption;
    skin.PaintSection(sheet, win, "FORM", active ? 1 : 0);
    skin.PaintSection(sheet, {win.Left, win.Top, win.Right, win.Top + title}, "FORMTITLE", active ? 1 : 0);
    const auto close = skin.Mask("GLOBALINFO", "BICONCLOSE");
    const int bh = close ? close->Source.Height() / (close->MaskType + 1) : 21;
    int x = win.Right - frame;
    int state = 0;
    for (const char* name : {"BICONCLOSE", "BICONMAX", "BICONMIN", "BICONHELP"}) {
        const auto m = skin.Mask("GLOBALINFO", name);
        if (!m) continue;
        const int w = m->Source.Width() / m->ImageCount;
        x -= w;
        skin.PaintGlyph(sheet, x, win.Top + (title - bh) / 2 + (bh < 16 ? 2 : 0), *m, active ? state++ % 3 : 0);
    }
    if (const auto grip = skin.Mask("GLOBALINFO", "GRIPIMAGE")) {
        const int gw = grip->Source.Width() / grip->ImageCount, gh = grip->Source.Height() / (grip->MaskType + 1);
        skin.PaintGlyph(sheet, win.Right - gw - frame, win.Bottom - gh - frame, *grip, 0);
    }
}

void ScrollBar(const TPreviewSkin& skin, TImage& sheet, TRect r, bool vertical, int hotPart) {
    const int s = 17, thumb = 40;
    const int len = vertical ? r.Height() : r.Width();
    const int c = s + thumb / 2 + (len - 2 * s - thumb) / 3;
    auto sub = [&](int from, int to) {
        return vertical ? TRect{r.Left, r.Top + from, r.Right, r.Top + to} : TRect{r.Left + from, r.Top, r.Left + to, r.Bottom};
    };
    const std::string k = vertical ? "V" : "H";
    skin.PaintSection(sheet, sub(0, c), "SCROLLBAR1" + k, hotPart ? 1 : 0);
    skin.PaintSection(sheet, sub(c, len), "SCROLLBAR2" + k, hotPart ? 1 : 0);
    const std::string first = vertical ? "SCROLLBTNTOP" : "SCROLLBTNLEFT";
    const std::string second = vertical ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT";
    auto glyphCentred = [&](const std::string& section, TRect at, int state, int shift) {
        if (const auto g = skin.Mask(section, "GLYPHMASK")) {
            const int gw = g->Source.Width() / g->ImageCount, gh = g->Source.Height() / (g->MaskType + 1);
            skin.PaintGlyph(sheet, at.Left + (at.Width() - gw) / 2 + shift, at.Top + (at.Height() - gh) / 2 + shift, *g, state);
        }
    };
    const int states[3] = {hotPart == 1 ? 1 : 0, hotPart == 2 ? 2 : 0, hotPart == 3 ? 1 : 0};
    skin.PaintSection(sheet, sub(0, s), first, states[0]);
    glyphCentred(first, sub(0, s), states[0], 0);
    skin.PaintSection(sheet, sub(len - s, len), second, states[1]);
    glyphCentred(second, sub(len - s, len), states[1], 0);
    const std::string slider = vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH";
    skin.PaintSection(sheet, sub(c - thumb / 2, c + thumb / 2), slider, states[2]);
    glyphCentred(slider, sub(c - thumb / 2, c + thumb / 2), states[2], 0);
}

}  // namespace

TImage PreviewSheet(const TPreviewSkin& skin) {
    const int width = 420;
    TImage sheet(width, 880, Rgb(58, 110, 165));   // a desktop behind the window
    const TRect win{10, 10, 410, 330};
    Window(skin, sheet, win, true);
    const TRect page{win.Left + 8, win.Top + 32, win.Right - 8, win.Bottom - 20};
    skin.PaintSection(sheet, page, "PANEL", 0);
    for (int s = 0; s < 3; ++s) skin.PaintSection(sheet, {page.Left + 10 + s * 85, page.Top + 10, page.Left + 85 + s * 85, page.Top + 35}, "BUTTON", s);
    skin.PaintSection(sheet, {page.Left + 10, page.Top + 45, page.Left + 160, page.Top + 66}, "EDIT", 0);
    skin.PaintSection(sheet, {page.Left + 170, page.Top + 45, page.Left + 300, page.Top + 66}, "COMBOBOX", 0);
    if (const auto g = skin.Mask("COMBOBOX", "GLYPHMASK")) skin.PaintGlyph(sheet, page.Left + 286, page.Top + 52, *g, 0);
    int gx = page.Left + 10;
    for (const char* name : {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED", "RADIOUNCHECKED", "RADIOCHECKED"}) {
        const auto m = skin.Mask("GLOBALINFO", name);
        for (int s = 0; s < 3 && m; ++s) {
            const int h = m->Source.Height() / (m->MaskType + 1);
            skin.PaintSection(sheet, {gx, page.Top + 76, gx + 20, page.Top + 98}, "CHECKBOX", s ? 1 : 0);
            skin.PaintGlyph(sheet, gx + 2, page.Top + 76 + (22 - h) / 2, *m, s);
            gx += 22;
        }
    }
    for (int s = 0; s < 3; ++s) skin.PaintSection(sheet, {page.Left + 10 + s * 60, page.Top + 108, page.Left + 70 + s * 60, page.Top + 130}, "TABTOP", s);
    skin.PaintSection(sheet, {page.Left + 10, page.Top + 130, page.Left + 250, page.Top + 170}, "PAGECONTROL", 0);
    ScrollBar(skin, sheet, {page.Left + 10, page.Top + 180, page.Left + 250, page.Top + 197}, false, 0);
    ScrollBar(skin, sheet, {page.Left + 10, page.Top + 200, page.Left + 250, page.Top + 217}, false, 3);
    ScrollBar(skin, sheet, {page.Right - 27, page.Top + 10, page.Right - 10, page.Top + 220}, true, 1);
    if (const auto ch = skin.Mask("TRACKBAR", "SLIDERCHANNEL")) {
        const TImage before = sheet.Crop({0, 0, sheet.Width(), sheet.Height()});
        DrawFrame(sheet, {page.Left + 265, page.Top + 140, page.Left + 350, page.Top + 146}, *ch, 0, true, before);
    }
    if (const auto th = skin.Mask("TRACKBAR", "SLIDERMASK")) skin.PaintGlyph(sheet, page.Left + 290, page.Top + 134, *th, 1);
    skin.PaintSection(sheet, {page.Left + 10, page.Top + 228, page.Left + 200, page.Top + 246}, "PROGRESSH", 0);
    skin.PaintSection(sheet, {page.Left + 12, page.Top + 230, page.Left + 120, page.Top + 244}, "PROGRESSH", 1);
    skin.PaintSection(sheet, {page.Left + 210, page.Top + 226, page.Left + 330, page.Top + 250}, "PANEL_LOW", 0);

    // An inactive window's title strip, and a popup menu.
    Window(skin, sheet, {10, 340, 410, 400}, false);
    skin.PaintSection(sheet, {10, 410, 170, 490}, "MAINMENU", 0);
    skin.PaintSection(sheet, {12, 414, 168, 432}, "MENUITEM", 1);
    skin.PaintSection(sheet, {12, 440, 168, 442}, "DIVIDER", 0);
    skin.PaintSection(sheet, {180, 410, 410, 430}, "MENULINE", 0);
    skin.PaintSection(sheet, {180, 440, 410, 470}, "STATUSBAR", 0);

    // Every section with a frame, in its three states, on the skin's global colour.
    sheet.Fill({0, 500, width, 880}, static_cast<TColor>(skin.IntKey("GLOBALINFO", "COLOR", 0xC0C0C0)));
    int n = 0;
    for (const char* name : {"PANEL", "PAGECONTROL", "TABCONTROL", "GROUPBOX", "BAR", "BARPANEL", "DRAGBAR", "PANEL_LOW",
                             "BUTTON", "SPEEDBUTTON", "SPEEDBUTTON_SMALL", "TOOLBUTTON", "BUTTON_BIG", "SPLITTER",
                             "TOOLBAR", "EDIT", "ALPHAEDIT", "COMBOBOX", "PROGRESSH", "GAUGE", "TABTOP", "TABBOTTOM",
                             "TABLEFT", "TABRIGHT", "SCROLLBAR1H", "SCROLLBTNTOP", "SCROLLSLIDERH", "STATUSBAR",
                             "BARTITLE", "WEBBUTTON", "MENUITEM", "DIVIDER"}) {
        const int col = n % 2, row = n / 2;
        for (int s = 0; s < 3; ++s) {
            const int x = 8 + col * 206 + s * 66, y = 506 + row * 23;
            skin.PaintSection(sheet, {x, y, x + 62, y + 20}, name, s);
        }
        ++n;
    }
    return sheet;
}

}  // namespace korvel::art
