#pragma once
// The GDI text canvas captions are written with, and text measurement on the screen.
#include <windows.h>

#include <string_view>
#include <vector>

#include "paint/platform_canvas.h"

namespace korvel {

// Writes on a device context someone else owns with the given font (not owned;
// null keeps the DC's own font) and colour. Everything the canvas changes in the
// DC (font, colours, background mode, clip) is given back when it is destroyed.
class TGdiTextCanvas : public TTextCanvas {
public:
    TGdiTextCanvas(HDC dc, HFONT font, TColor color);
    ~TGdiTextCanvas() override;
    TGdiTextCanvas(const TGdiTextCanvas&) = delete;
    TGdiTextCanvas& operator=(const TGdiTextCanvas&) = delete;

    TTextSize TextExtent(std::string_view text) override;
    void DrawTextIn(std::string_view text, TRect& rect, unsigned format) override;
    TColor FontColor() const override { return color_; }
    void SetFontColor(TColor color) override;
    bool Underline() const override { return underline_; }
    void SetUnderline(bool underline) override;
    void SetPixel(int x, int y, TColor color) override;
    int SaveState() override;
    void RestoreState(int saved) override;
    void IntersectClip(const TRect& rect) override;
    TRect ClipBox() const override;

private:
    struct TSaved {
        int DcLevel;
        TColor Color;
        bool Underline;
    };
    HDC dc_;
    HFONT font_;
    HFONT underlined_ = nullptr;   // made from font_ the first time it is asked for
    TColor color_;
    bool underline_ = false;
    int level_;
    std::vector<TSaved> saved_;
};

// Width and height of text in font on a screen DC; (0, 0) when that fails.
TTextSize GetTextSize(HFONT font, std::string_view text);

}  // namespace korvel
