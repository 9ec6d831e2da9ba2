// The faces the launcher's text and Wine's own window frames are drawn in, as
// the prepared Wine prefix resolves them (scripts/lib/common.sh, start_wine).
// Every field, label and the hidden Memo1 use "MS Sans Serif" at height -11;
// when the prefix has no such face, Wine falls back to a wider one and the
// seed address wraps in Memo1, so the Vicinor View counts 2 lines instead of 1.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "gui/text.h"

using namespace korvel;

namespace {

struct TMeasured {
    std::string Face;
    TEXTMETRICW Metrics{};
    SIZE Extent{};
};

TMeasured Measure(const wchar_t* face, int height, const std::wstring& text, BYTE charset = DEFAULT_CHARSET) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfCharSet = charset;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TMeasured m;
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    m.Face = Narrow(name);
    GetTextMetricsW(dc, &m.Metrics);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &m.Extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return m;
}

TEST(WindowFont, MsSansSerifAtMinus11HasTheClassicWindowsMetrics) {
    const std::wstring address = L"192.168.100.1";
    const TMeasured m = Measure(L"MS Sans Serif", -11, address);
    const bool trueType = (m.Metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
    std::cout << "measured \"MS Sans Serif\" -11: selected face \"" << m.Face << "\" ("
              << (trueType ? "TrueType" : "bitmap") << "), cell " << m.Metrics.tmHeight << " px (ascent "
              << m.Metrics.tmAscent << ", descent " << m.Metrics.tmDescent << ", internal leading "
              << m.Metrics.tmInternalLeading << "), average width " << m.Metrics.tmAveCharWidth << ", \"192.168.100.1\" "
              << m.Extent.cx << " px\n";
    ::testing::Test::RecordProperty("selected_face", m.Face);
    ::testing::Test::RecordProperty("address_width", static_cast<int>(m.Extent.cx));

    // What Windows draws: its 8-point MS Sans Serif at 96 dpi is a bitmap face
    // with a 13-pixel cell (ascent 11, descent 2, internal leading 2, so
    // height -11 selects exactly it) and an average width of 5; every digit
    // advances 6 pixels and the full stop 3. The seed address is ten digits
    // and three full stops.
    const int digitAdvance = 6, fullStopAdvance = 3;
    const int windowsWidth = 10 * digitAdvance + 3 * fullStopAdvance;   // 69
    EXPECT_EQ(m.Face, "MS Sans Serif");
    EXPECT_EQ(m.Metrics.tmHeight, 13);
    EXPECT_EQ(m.Metrics.tmAscent, 11);
    EXPECT_EQ(m.Metrics.tmDescent, 2);
    EXPECT_EQ(m.Metrics.tmInternalLeading, 2);
    EXPECT_EQ(m.Metrics.tmAveCharWidth, 5);
    EXPECT_EQ(m.Extent.cx, windowsWidth);
    EXPECT_EQ(m.Extent.cy, 13);

    // Memo1 is 89 pixels wide with a 2-pixel sunken edge on each side: the
    // address must fit on one row of the 85 pixels inside.
    EXPECT_LE(m.Extent.cx, 89 - 2 * 2);
}

TEST(WindowFont, CaptionButtonGlyphFaceIsPresent) {
    // Wine's own frames draw the minimise, maximise and close glyphs from the
    // Marlett symbol face ('0', '1', 'r'); without it they show those letters.
    const TMeasured m = Measure(L"Marlett", -13, L"r", SYMBOL_CHARSET);
    std::cout << "measured \"Marlett\": selected face \"" << m.Face << "\", charset " << int(m.Metrics.tmCharSet) << "\n";
    EXPECT_EQ(m.Face, "Marlett");
    EXPECT_EQ(m.Metrics.tmCharSet, SYMBOL_CHARSET);
}

}  // namespace
