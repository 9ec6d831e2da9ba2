// Caption buttons under the real pointer: hot and pressed looks follow it, a
// press released elsewhere does nothing, a release on the button minimises;
// title buttons with and without the skin's face, and a disabled one that never lights.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "form_test_support.h"
#include "gui/exceptions.h"
#include "paint/blend.h"
#include "paint/mask.h"

namespace korvel {
namespace {

using testing::MovePointer;
using testing::Pump;
using testing::StateWidth;
using testing::TFormSetup;
using testing::TSkinnedFormRig;

void Mouse(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
    Application().ProcessMessages();   // Wine queues the input before SendInput returns
}

POINT Centre(const TSkinnedFormRig& rig, const TRect& r) {
    return rig.Screen((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// What a button must look like: the title bar as it was before the buttons
// were drawn, then the face (a state of a glyph mask in a mode) and the title
// button's glyph, composed by the painting core.
struct TButtonLook {
    const TsMaskData* Face = nullptr;
    int State = 0;
    int Mode = 1;
    const TBitmap* Glyph = nullptr;
    TPoint GlyphAt;
};

TBitmap24 Expected(const TSkinnedFormRig& rig, const TRect& r, const TButtonLook& look) {
    const TsSkinProvider& p = *rig.Provider;
    // The clean title strip was saved from the cache left of the buttons and the right frame.
    const int savedLeft = p.WindowWidth() - (p.ButtonsWidth() + p.FrameWidth()) - 1;
    TBitmap24 out(r.Width(), r.Height());
    CopyTransparent(out, p.ButtonsBackground, 0, clNoKey,
                    {r.Left - savedLeft, r.Top, r.Right - savedLeft - 1, r.Bottom - 1}, 0);
    if (look.Face) DrawSkinGlyph(out, {0, 0}, look.State, rig.Tables(), *look.Face, look.Mode);
    if (look.Glyph) {
        const TBitmap24& g = look.Glyph->Pixels();
        CopyTransparent(out, g, look.GlyphAt.X, g.Pixel(0, g.Height() - 1), {0, 0, g.Width() - 1, g.Height() - 1},
                        look.GlyphAt.Y);
    }
    return out;
}

// The number of the button's pixels on the screen that differ from the expected picture.
int Mismatches(const TSkinnedFormRig& rig, const TRect& r, const TBitmap24& expected) {
    int wrong = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) wrong += rig.Pixel(r.Left + x, r.Top + y) != expected.Pixel(x, y);
    return wrong;
}

TEST(FormCaptionButtons, HotAndPressedLooksFollowTheRealPointer) {
    TSkinnedFormRig rig;
    rig.Show();
    const TsSkinProvider& p = *rig.Provider;
    const TRect close = p.ButtonClose.Rect, min = p.ButtonMin.Rect;
    const TsMaskData& closeMask = rig.Mask("GLOBALINFO", "BICONCLOSE");
    const TsMaskData& minMask = rig.Mask("GLOBALINFO", "BICONMIN");
    ASSERT_EQ(close.Width(), StateWidth(closeMask));
    ASSERT_EQ(min.Right, close.Left);
    const auto closeIn = [&](int state) { return Expected(rig, close, {&closeMask, state}); };
    const auto minIn = [&](int state) { return Expected(rig, min, {&minMask, state}); };
    // The three states differ, so a wrong state cannot pass for the right one.
    ASSERT_GT(Mismatches(rig, min, minIn(1)), 0);
    EXPECT_EQ(Mismatches(rig, min, minIn(0)), 0);
    EXPECT_EQ(Mismatches(rig, close, closeIn(0)), 0);

    MovePointer(Centre(rig, min));
    EXPECT_EQ(p.CurrentButton, htsMinimize);
    EXPECT_EQ(Mismatches(rig, min, minIn(1)), 0) << "minimise hot";
    EXPECT_EQ(Mismatches(rig, close, closeIn(0)), 0);

    MovePointer(Centre(rig, close));
    EXPECT_EQ(Mismatches(rig, close, closeIn(1)), 0) << "close hot";
    EXPECT_EQ(Mismatches(rig, min, minIn(0)), 0) << "minimise back to normal";

    // Leaving the window over its frame puts the button back to normal.
    MovePointer(Centre(rig, close));
    const RECT wr = rig.WindowRect();
    MovePointer({wr.right + 60, wr.top + 5});
    testing::PumpWhileNot([&] { return p.CurrentButton == 0; });   // Wine polls the pointer for leave tracking
    EXPECT_EQ(p.CurrentButton, 0);
    EXPECT_EQ(Mismatches(rig, close, closeIn(0)), 0) << "close back to normal after leaving the window";

    const POINT caption = rig.Screen(p.IconRect().Right + 40, (min.Top + min.Bottom) / 2);
    MovePointer(caption);
    EXPECT_EQ(p.CurrentButton, 0);
    EXPECT_EQ(Mismatches(rig, close, closeIn(0)), 0) << "close back to normal";

    // Pressed on minimise, released over the caption: nothing happens.
    MovePointer(Centre(rig, min));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(p.ButtonMin.State, 2);
    EXPECT_EQ(Mismatches(rig, min, minIn(2)), 0) << "minimise pressed";
    MovePointer(caption);
    Mouse(MOUSEEVENTF_LEFTUP);
    Pump(testing::NothingHappensMillis);
    EXPECT_FALSE(IsIconic(rig.Handle())) << "a press released outside the button does not minimise";
    EXPECT_EQ(Mismatches(rig, min, minIn(0)), 0);

    // Pressed and released on minimise: the window is minimised.
    MovePointer(Centre(rig, min));
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    testing::PumpWhileNot([&] { return IsIconic(rig.Handle()) != FALSE; });
    EXPECT_TRUE(IsIconic(rig.Handle()));
    ShowWindow(rig.Handle(), SW_RESTORE);
    testing::PumpUntil([&] { return !IsIconic(rig.Handle()); }, "the window to be restored");
}

TEST(FormCaptionButtons, AButtonWithoutAPictureInTheNewSkinTakesNoRoomAndAnswersNoHit) {
    TFormSetup setup;
    setup.ProviderIcons = biSystemMenu | biHelp;
    TSkinnedFormRig rig(setup);
    rig.Show();
    const TsSkinProvider& p = *rig.Provider;
    const TRect help = p.ButtonHelp.Rect, close = p.ButtonClose.Rect;
    ASSERT_FALSE(help.IsEmpty());
    ASSERT_FALSE(close.IsEmpty());
    const POINT helpCentre{(help.Left + help.Right) / 2, (help.Top + help.Bottom) / 2};
    const POINT closeCentre{(close.Left + close.Right) / 2, (close.Top + close.Bottom) / 2};
    EXPECT_EQ(rig.HitTest(helpCentre.x, helpCentre.y), HTHELP);
    EXPECT_EQ(rig.HitTest(closeCentre.x, closeCentre.y), HTCLOSE);

    // A skin with a frame but no button pictures at all.
    rig.Manager->SetSkinDirectory(testing::WriteFolderSkin(
        "buttons", "Bare", {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256", "HOTCOLOR=12632256"}));
    rig.Manager->SetSkinName("Bare");
    Application().ProcessMessages();   // what the change posted
    ASSERT_TRUE(p.SkinData().IsSkinned(true));
    EXPECT_TRUE(p.ButtonHelp.Rect.IsEmpty());
    EXPECT_TRUE(p.ButtonClose.Rect.IsEmpty());
    EXPECT_EQ(rig.HitTest(helpCentre.x, helpCentre.y), HTCAPTION) << "where the help button stood";
    EXPECT_EQ(rig.HitTest(closeCentre.x, closeCentre.y), HTCAPTION) << "where the close button stood";
}

// A w x h 24-bit picture whose three channels differ at every pixel, as a DIB resource's bytes.
std::string PatternedDib(int w, int h, int seed) {
    const int stride = (w * 3 + 3) & ~3;
    std::string dib(sizeof(BITMAPINFOHEADER) + static_cast<std::size_t>(stride * h), '\0');
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = w;
    header.biHeight = h;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::memcpy(dib.data(), &header, sizeof(header));
    for (int y = 0; y < h; ++y)   // bottom-up rows
        for (int x = 0; x < w; ++x) {
            char* p = dib.data() + sizeof(header) + static_cast<std::size_t>((h - 1 - y) * stride + x * 3);
            p[0] = static_cast<char>(seed + 10 * x);
            p[1] = static_cast<char>(seed + 20 * y);
            p[2] = static_cast<char>(seed + 5 * (x + y));
        }
    return dib;
}

TEST(FormCaptionButtons, TitleIconAndTitleButtonGlyphsAreReadFromAWindowDefinition) {
    RegisterSkinProviderClass();
    // A copy of this program with the pictures as resources, loaded as a data file.
    wchar_t self[MAX_PATH], dir[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, dir);
    const std::wstring copy = std::wstring(dir) + L"korvel_title_glyphs.exe";
    ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
    const struct {
        const wchar_t* Name;
        int W, H, Seed;
    } pictures[] = {{L"TICON", 5, 4, 30}, {L"PIN", 7, 6, 90}};
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    for (const auto& p : pictures) {
        const std::string dib = PatternedDib(p.W, p.H, p.Seed);
        ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(2), p.Name, 0, const_cast<char*>(dib.data()),
                                    static_cast<DWORD>(dib.size())));
    }
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    {
        TForm form(&Application());
        form.ReadDefinition("object Form1: TForm\n"
                            "  object P: TsSkinProvider\n"
                            "    TitleIcon.Glyph = resource 'TICON'\n"
                            "    TitleIcon.Width = 12\n"
                            "    TitleButtons = <\n"
                            "      item\n"
                            "        Name = 'Pin'\n"
                            "        Glyph = resource 'PIN'\n"
                            "      end\n"
                            "    >\n"
                            "  end\n"
                            "end\n",
                            module);
        TsSkinProvider* provider = FindSkinProvider(&form);
        ASSERT_NE(provider, nullptr);
        ASSERT_EQ(provider->TitleButtons().Count(), 1);
        const TBitmap* read[] = {&provider->TitleIcon().Glyph, &provider->TitleButtons().Items(0).Glyph};
        for (int i = 0; i < 2; ++i) {
            const auto& p = pictures[i];
            const TBitmap24& pixels = read[i]->Pixels();
            ASSERT_EQ(pixels.Width(), p.W);
            ASSERT_EQ(pixels.Height(), p.H);
            for (int y = 0; y < p.H; ++y)
                for (int x = 0; x < p.W; ++x) {
                    const std::uint8_t* px = pixels.ScanLine(y) + x * 3;
                    EXPECT_EQ(px[0], static_cast<std::uint8_t>(p.Seed + 10 * x)) << i << ": " << x << "," << y;
                    EXPECT_EQ(px[1], static_cast<std::uint8_t>(p.Seed + 20 * y)) << i << ": " << x << "," << y;
                    EXPECT_EQ(px[2], static_cast<std::uint8_t>(p.Seed + 5 * (x + y))) << i << ": " << x << "," << y;
                }
        }
        EXPECT_EQ(provider->TitleIcon().Width, 12);
        EXPECT_THROW(TForm(&Application()).ReadDefinition("object Form1: TForm\n  object P: TsSkinProvider\n"
                                                          "    TitleIcon.Glyph = 'TICON'\n  end\nend\n",
                                                          module),
                     EDefinitionError)
            << "a picture is named as a resource";
    }
    FreeLibrary(module);
    DeleteFileW(copy.c_str());
}

TEST(FormCaptionButtons, TitleButtonsWithAndWithoutTheSkinsFaceAndADisabledOneThatNeverLights) {
    TSkinnedFormRig rig;
    TsTitleButtons& buttons = rig.Provider->TitleButtons();
    buttons.Add();   // the skin's face, no glyph
    TsTitleButton& plain = buttons.Add();
    plain.UseSkinData = false;
    plain.Glyph.SetSize(24, 12);
    // Three channels that change along different axes; the bottom-left colour is transparent.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 24; ++x)
            plain.Glyph.Pixels().SetPixel(x, y, RGB(40 + x * 8, 30 + y * 15, (x + y) % 2 ? 220 : 90));
    TsTitleButton& disabled = buttons.Add();
    disabled.Enabled = false;
    rig.Provider->Loaded();
    rig.Show();

    const TsSkinProvider& p = *rig.Provider;
    const TsMaskData& face = rig.Mask("GLOBALINFO", "TITLEBUTTON");
    const int bh = testing::PartHeight(rig.Mask("GLOBALINFO", "BICONCLOSE"));
    const int faceWidth = StateWidth(face);
    // Placed right to left after the standard buttons, each as wide as its face or its glyph + 2.
    const TRect r0{p.ButtonMin.Rect.Left - faceWidth, p.ButtonMin.Rect.Top, p.ButtonMin.Rect.Left, p.ButtonMin.Rect.Bottom};
    const int plainWidth = std::max(24 + 2, faceWidth);
    const TRect r1{r0.Left - plainWidth, r0.Top, r0.Left, r0.Bottom};
    const TRect r2{r1.Left - faceWidth, r0.Top, r1.Left, r0.Bottom};
    EXPECT_EQ(buttons.Items(0).Rect, r0);
    EXPECT_EQ(buttons.Items(1).Rect, r1);
    EXPECT_EQ(buttons.Items(2).Rect, r2);

    const TButtonLook plainLook{nullptr, 0, 1, &plain.Glyph, {(plainWidth - 24) / 2, (bh - 12) / 2}};
    EXPECT_EQ(Mismatches(rig, r0, Expected(rig, r0, {&face, 0, 1})), 0) << "the skin's face";
    EXPECT_EQ(Mismatches(rig, r1, Expected(rig, r1, plainLook)), 0) << "no face, the glyph alone";
    EXPECT_EQ(Mismatches(rig, r2, Expected(rig, r2, {&face, 0, 2})), 0) << "disabled: the paler face";

    MovePointer(Centre(rig, r0));
    EXPECT_EQ(p.CurrentButton, htsTitleButton + 0);
    EXPECT_EQ(Mismatches(rig, r0, Expected(rig, r0, {&face, 1, 1})), 0) << "hot face";
    MovePointer(Centre(rig, r2));
    EXPECT_EQ(p.CurrentButton, 0) << "a disabled title button is not hot-tracked";
    EXPECT_EQ(Mismatches(rig, r2, Expected(rig, r2, {&face, 0, 2})), 0);
    EXPECT_EQ(Mismatches(rig, r0, Expected(rig, r0, {&face, 0, 1})), 0);
}

// A release in the client area carries key flags where a caption release
// carries a hit code: Shift with the middle button held reads as 20 (close),
// Ctrl as 8 (minimise). Neither may act as a caption button.
TEST(FormCaptionButtons, KeyFlagsOfAClientReleaseAreNoButtonCommands) {
    TSkinnedFormRig rig;
    bool closed = false;
    rig.Form->OnClose = [&closed](TObject*, TCloseAction& action) {
        closed = true;
        action = TCloseAction::caNone;
    };
    rig.Show();
    const RECT client = rig.Form->ClientRect();
    for (WPARAM flags : {WPARAM(MK_SHIFT | MK_MBUTTON), WPARAM(MK_CONTROL), WPARAM(MK_SHIFT | MK_CONTROL | MK_MBUTTON)}) {
        for (POINT at : {POINT{5, 5}, POINT{client.right - 3, 2}, POINT{client.right / 2, client.bottom / 2}}) {
            SendMessageW(rig.Handle(), WM_LBUTTONUP, flags, MAKELPARAM(at.x, at.y));
            Application().ProcessMessages();
            EXPECT_FALSE(closed) << flags;
            EXPECT_FALSE(IsIconic(rig.Handle())) << flags;
            EXPECT_TRUE(IsWindowVisible(rig.Handle()));
        }
    }
}

}  // namespace
}  // namespace korvel
