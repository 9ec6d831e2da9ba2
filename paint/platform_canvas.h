#pragma once
// The few drawing calls the painting core leaves to the platform: rounded
// rectangle fills, stretched copies and triangle gradients, and the text canvas
// captions are written on.
// On Windows they are GDI and msimg32 (platform_canvas_win.cpp, text_win.cpp);
// natively a software implementation draws the same shapes closely enough for
// tests (TSoftPaintPlatform, TSoftTextCanvas). Every call draws into a 24-bit
// working bitmap and clips to it.
#include <span>
#include <string_view>
#include <vector>

#include "gui/bitmap24.h"
#include "paint/geometry.h"
#include "gui/colors.h"

namespace korvel {

struct TGradientVertex {
    int X = 0;
    int Y = 0;
    TColor Color = 0;
};

struct TGradientTriangle {
    int A = 0, B = 0, C = 0;   // vertex indexes
};

class TPaintPlatform {
public:
    virtual ~TPaintPlatform() = default;
    // Fills the rounded rectangle rect (no pen: the right column and bottom row
    // of rect stay unpainted) with corners of an ellipse corner x corner wide.
    virtual void FillRoundRect(TBitmap24& bitmap, const TRect& rect, int corner, TColor color) = 0;
    // Copies sourceRect of source onto destRect of dest, scaled to fit.
    virtual void StretchCopy(TBitmap24& dest, const TRect& destRect, const TBitmap24& source,
                             const TRect& sourceRect) = 0;
    // Fills each triangle with the colours of its corners interpolated.
    virtual void GradientTriangles(TBitmap24& dest, std::span<const TGradientVertex> vertices,
                                   std::span<const TGradientTriangle> triangles) = 0;
};

// The software implementation, available on every platform.
class TSoftPaintPlatform : public TPaintPlatform {
public:
    void FillRoundRect(TBitmap24& bitmap, const TRect& rect, int corner, TColor color) override;
    void StretchCopy(TBitmap24& dest, const TRect& destRect, const TBitmap24& source,
                     const TRect& sourceRect) override;
    void GradientTriangles(TBitmap24& dest, std::span<const TGradientVertex> vertices,
                           std::span<const TGradientTriangle> triangles) override;
};

// The platform in use: the software one until the Windows half installs GDI's.
// The program calls InstallGdiPaintPlatform() (platform_canvas_win.h) once at
// start-up, before the first skin is painted; calling it again is harmless (it
// installs the same object). Until then rounded fills, stretched edges and corner
// meshes are drawn by the software platform. nullptr restores the software one.
TPaintPlatform& PaintPlatform();
void SetPaintPlatform(TPaintPlatform* platform);

// Text format flags of caption drawing. The values are the platform's DrawText
// flags, so a format passes through to GDI unchanged.
enum TTextFormat : unsigned {
    dtLeft = 0x0, dtCenter = 0x1, dtRight = 0x2, dtVCenter = 0x4, dtBottom = 0x8, dtWordBreak = 0x10,
    dtSingleLine = 0x20, dtNoClip = 0x100, dtCalcRect = 0x400, dtNoPrefix = 0x800
};

struct TTextSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TTextSize&, const TTextSize&) = default;
};

// A surface captions are written on: a device context with the control's font
// on Windows (TGdiTextCanvas), a working bitmap with a fixed-width stand-in font
// natively. Text is UTF-8 and always drawn with a transparent background.
class TTextCanvas {
public:
    virtual ~TTextCanvas() = default;
    // Width and height of one line of text in the current font.
    virtual TTextSize TextExtent(std::string_view text) = 0;
    // Draws text in rect with the given dt* flags in the current font colour;
    // with dtCalcRect nothing is drawn and rect's Right and Bottom are set to the
    // text's extent. Without dtNoClip nothing is drawn outside rect.
    virtual void DrawTextIn(std::string_view text, TRect& rect, unsigned format) = 0;
    virtual TColor FontColor() const = 0;
    virtual void SetFontColor(TColor color) = 0;   // RGB
    virtual bool Underline() const = 0;
    virtual void SetUnderline(bool underline) = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;   // RGB, inside the clip only
    // Saves clip, font colour and underline; RestoreState(saved) brings back
    // what was saved by the matching SaveState.
    virtual int SaveState() = 0;
    virtual void RestoreState(int saved) = 0;
    // Limits all further drawing to rect (within the current clip).
    virtual void IntersectClip(const TRect& rect) = 0;
    // The smallest rectangle holding everything drawing may still touch.
    virtual TRect ClipBox() const = 0;
};

// The software text canvas: a fixed-width stand-in font of cells CellWidth x
// CellHeight per character (UTF-8 code point). A glyph other than a space fills
// the top CellHeight - 2 rows of its cell; an underline is the cell's last row.
// Line breaks ("\n") and, with dtWordBreak, breaks between words follow DrawText.
class TSoftTextCanvas : public TTextCanvas {
public:
    static constexpr int CellWidth = 6;
    static constexpr int CellHeight = 10;

    explicit TSoftTextCanvas(TBitmap24& bitmap);
    TTextSize TextExtent(std::string_view text) override;
    void DrawTextIn(std::string_view text, TRect& rect, unsigned format) override;
    TColor FontColor() const override { return state_.Color; }
    void SetFontColor(TColor color) override { state_.Color = color; }
    bool Underline() const override { return state_.Underline; }
    void SetUnderline(bool underline) override { state_.Underline = underline; }
    void SetPixel(int x, int y, TColor color) override;
    int SaveState() override;
    void RestoreState(int saved) override;
    void IntersectClip(const TRect& rect) override;
    TRect ClipBox() const override { return state_.Clip; }

private:
    struct TState {
        TRect Clip;
        TColor Color = 0;
        bool Underline = false;
    };
    void DrawLine(std::string_view line, int x, int y, const TRect& clip);
    TBitmap24& bitmap_;
    TState state_;
    std::vector<TState> saved_;
};

}  // namespace korvel
