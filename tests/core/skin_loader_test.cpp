#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "skin/skin_loader.h"
#include "engine/skin_recolour.h"
#include "paint/color.h"
#include "gui/system_colors.h"
#include "gui/text_convert.h"
#include "skin_test_support.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

// A program folder with a skin directory "skins" beside the executable.
class SkinFolder : public ::testing::Test {
protected:
    TTempDir dir;

    void Options(const std::string& skin, const std::string& text) const { dir.Write("skins/" + skin + "/Options.dat", text); }
    void File(const std::string& skin, const std::string& name, const TBytes& bytes) const {
        dir.Write("skins/" + skin + "/" + name, bytes);
    }

    TsSkinLoadRequest Request(const std::string& name) const {
        TsSkinLoadRequest r;
        r.SkinDirectory = "skins";
        r.SkinName = name;
        r.ProgramFolder = dir.Path();
        r.InternalSkins = &internal;
        return r;
    }

    TsSkinLoadReport Load(const std::string& name) {
        TsSkinLoadReport report;
        LoadSkin(Request(name), tables, report);
        return report;
    }

    const TsGeneralData& Section(const char* name) const {
        const int i = tables.SectionIndexOf(name);
        EXPECT_GE(i, 0) << name;
        return tables.Sections.at(std::size_t(i < 0 ? 0 : i));
    }

    TsStoredSkins internal{nullptr};
    TsSkinTables tables;
};

}  // namespace

TEST_F(SkinFolder, SectionsComeInFileOrderWithTheKeyDefaults) {
    // A "#" in the free texts is text, not a broken rectangle list.
    Options("Plain", "[GLOBALINFO]\nVERSION=4.5\nAUTHOR=Someone #2\nDESCRIPTION=Skin #1 (dark)\n[panel]\n[EDIT]\nCOLOR=255\n");
    const TsSkinLoadReport report = Load("Plain");
    EXPECT_TRUE(report.FromFolder);
    EXPECT_EQ(tables.SkinData.SkinPath, dir.Path() + "skins\\Plain\\");
    EXPECT_DOUBLE_EQ(tables.SkinData.Version, 4.5);
    EXPECT_EQ(tables.SkinData.Author, "Someone #2");
    EXPECT_EQ(tables.SkinData.Description, "Skin #1 (dark)");
    EXPECT_TRUE(tables.Masks.empty());
    EXPECT_EQ(tables.SkinData.Shadow1Blur, -1);
    ASSERT_EQ(tables.Sections.size(), 3u);
    EXPECT_EQ(tables.Sections[1].SectionName, "panel");   // as written; lookups are exact
    EXPECT_EQ(tables.SectionIndexOf("PANEL"), -1);
    const TsGeneralData& d = tables.Sections[1];
    EXPECT_EQ(d.Color, 16777215u);
    EXPECT_EQ(d.ShadowBlur, 6);
    EXPECT_EQ(d.ShadowOffset, 3);
    EXPECT_EQ(d.ShadowTransparency, 50);
    EXPECT_EQ(d.FadingIntervalIn, 5);
    EXPECT_EQ(d.FadingIntervalOut, 5);
    EXPECT_EQ(d.FadingIterations, 5);
    EXPECT_EQ(d.HotColor, 16777215u);
    EXPECT_EQ(d.FontColor, DefaultFontColor);
    EXPECT_EQ(d.HotFontColor, DefaultFontColor);
    EXPECT_EQ(d.GradientData, " ");
    EXPECT_TRUE(d.GradientArray.empty());
    EXPECT_EQ(d.HotGradientData, "");
    EXPECT_FALSE(d.ShadowEnabled);
    EXPECT_EQ(Section("EDIT").Color, 255u);
}

TEST_F(SkinFolder, MissingKeysFollowTheParentChainForEveryKind) {
    Options("Kin",
            "[PANEL]\nCOLOR=1234\nSHADOWENABLED=true\nGRADIENTDATA=1;2;50;0;0\nTCLEFT=77\nSHADOWCOLOR=99\nHOTBEVEL=3\n"
            "PARENTCLASS=BASE\n"
            "[BASE]\nFADINGITERATIONS=9\n"
            "[BUTTON]\nPARENTCLASS=PANEL\n"
            "[MINUS]\nPARENTCLASS=PANEL\nCOLOR=-1\nSHADOWENABLED=?\nGRADIENTDATA=?\nTCLEFT=x1\n"
            "[OWN]\nPARENTCLASS=PANEL\nCOLOR=5\nSHADOWENABLED=false\nGRADIENTDATA=\nTCLEFT=-2\nSHADOWCOLOR=-1\n");
    Load("Kin");
    struct Case { const char* section; TColor color; bool shadow; std::string gradient; int tcLeft; TColor shadowColor; int iterations; };
    const Case cases[] = {
        {"BUTTON", 1234, true, "1;2;50;0;0", 77, 0, 9},      // SHADOWCOLOR is not inherited in a folder skin
        {"MINUS", 1234, true, "1;2;50;0;0", 77, 0, 9},       // -1, "?" and a non-number count as missing
        {"OWN", 5, false, "", -2, 0xFFFFFFFF, 9},           // given values win; SHADOWCOLOR -1 is read as written
    };
    for (const Case& c : cases) {
        const TsGeneralData& d = Section(c.section);
        EXPECT_EQ(d.Color, c.color) << c.section;
        EXPECT_EQ(d.ShadowEnabled, c.shadow) << c.section;
        EXPECT_EQ(d.GradientData, c.gradient) << c.section;
        EXPECT_EQ(d.FontColor[fcLeft], c.tcLeft) << c.section;
        EXPECT_EQ(d.ShadowColor, c.shadowColor) << c.section;
        EXPECT_EQ(d.FadingIterations, c.iterations) << c.section;
        EXPECT_EQ(d.HotBevel, cbRaisedHard) << c.section;
        EXPECT_EQ(d.ParentClass, "PANEL");
    }
    EXPECT_EQ(Section("BUTTON").GradientArray.size(), 1u);
    EXPECT_EQ(Section("PANEL").ShadowColor, 99u);
}

TEST_F(SkinFolder, ParentLoopsEndAndTheDefaultApplies) {
    Options("Loop", "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\nSHADOWBLUR=-1\n[SELF]\nPARENTCLASS=self\n");
    Load("Loop");
    EXPECT_EQ(Section("A").Color, 16777215u);
    EXPECT_EQ(Section("A").ShadowBlur, 6);
    EXPECT_EQ(Section("SELF").Color, 16777215u);
    // Mask lookups walk the same loop at run time and end as well.
    EXPECT_EQ(tables.MaskIndexOf(tables.SectionIndexOf("A"), "A", "BORDERSMASK"), -1);
}

TEST_F(SkinFolder, ColourValuesAndBevelsAreConverted) {
    Options("Sys", "[GLOBALINFO]\nCOLOR=-16777201\nHOTCOLOR=-16777201\nBEVEL=9\nFONTCOLOR=-16777208\n");
    Load("Sys");
    const TsGeneralData& g = Section("GLOBALINFO");
    EXPECT_EQ(g.Color, FixedSystemColor(SysColorBtnFace));          // a system colour becomes RGB
    EXPECT_EQ(g.HotColor, clSystemColor | 15u);                       // HOTCOLOR is kept as read
    EXPECT_EQ(g.Bevel, cbNone);                                       // no bevel kind beyond 4
    EXPECT_EQ(tables.GlobalColor(), FixedSystemColor(SysColorBtnFace));
    EXPECT_EQ(tables.GlobalFontColor(), FixedSystemColor(8));
}

TEST_F(SkinFolder, EveryMaskFormDecodesFromItsValue) {
    Options("Masks",
            "[GLOBALINFO]\nMASTERBITMAP=master.bmp\n"
            "[BUTTON]\n"
            "GLYPHMASK=@0010,0020,0030,0040,3,1\n"
            "BORDERSMASK=^0001,0002,0003,0004,0005,0006,0007,0008,3,1,2,4\n"
            "PATTERN=~0011,0012,0013,0014,02,1\n"
            "HOTPATTERN=~  11,  12,  13,  14, 3\n"
            "SLIDERMASK=!own.BMP!3!1!2\n"
            "Gripimage=grip.bmp\n"
            "TITLEBUTTON=# (1,2,3,4) (0,-5,7,2)\n"
            "[PANEL]\nPATTERN=#  (5,6,7,8)  (2,1)\nBICONMAX=no.bmp\nBICONMIN=!lower.bmp!1!0!0\nCOLOR=#\n");
    File("Masks", "master.bmp", SolidBmp(50, 60));
    File("Masks", "own.BMP", SolidBmp(12, 6));
    File("Masks", "Grip.bmp", SolidBmp(9, 7));   // found without regard to case, as the platform would
    File("Masks", "lower.bmp", SolidBmp(4, 4));
    const TsSkinLoadReport report = Load("Masks");
    EXPECT_EQ(tables.MasterBitmap.Width(), 50);
    EXPECT_EQ(tables.MasterBitmap.Height(), 60);

    struct Case {
        const char* section; const char* property; TsMaskRect r; int count, maskType, border, stretch;
        TacImgType type; bool own; int wl, wt, wr, wb;
    };
    const Case cases[] = {
        {"BUTTON", "GLYPHMASK", {10, 20, 30, 40}, 3, 1, 0, 0, itisaGlyph, false, 0, 0, 0, 0},
        {"BUTTON", "BORDERSMASK", {1, 2, 3, 4}, 3, 1, 4, 2, itisaBorder, false, 5, 6, 7, 8},
        {"BUTTON", "PATTERN", {11, 12, 13, 14}, 1, 1, 0, 2, itisaTexture, false, 0, 0, 0, 0},
        {"BUTTON", "HOTPATTERN", {11, 12, 13, 14}, 1, 0, 0, 3, itisaTexture, false, 0, 0, 0, 0},
        {"BUTTON", "SLIDERMASK", {0, 0, 12, 6}, 3, 1, 0, 0, itisaGlyph, true, 0, 0, 0, 0},
        {"BUTTON", "GRIPIMAGE", {0, 0, 9, 7}, 3, 1, 0, 0, itisaBorder, true, 0, 0, 0, 0},
        {"BUTTON", "TITLEBUTTON", {1, 2, 3, 4}, 1, 0, 7, 2, itisaBorder, false, 0, 0, 0, 0},
        {"PANEL", "PATTERN", {5, 6, 7, 8}, 2, 1, 0, 0, itisaTexture, false, 0, 0, 0, 0},
    };
    ASSERT_EQ(tables.Masks.size(), std::size(cases));
    for (const Case& c : cases) {
        const int i = tables.OwnMaskIndexOf(c.section, c.property);
        ASSERT_GE(i, 0) << c.section << " " << c.property;
        const TsMaskData& m = tables.Masks[std::size_t(i)];
        EXPECT_EQ(m.R, c.r) << c.property;
        EXPECT_EQ(m.ImageCount, c.count) << c.property;
        EXPECT_EQ(m.MaskType, c.maskType) << c.property;
        EXPECT_EQ(m.BorderWidth, c.border) << c.property;
        EXPECT_EQ(m.StretchMode, c.stretch) << c.property;
        EXPECT_EQ(m.ImgType, c.type) << c.property;
        EXPECT_EQ(m.Bmp != nullptr, c.own) << c.property;
        EXPECT_EQ(m.WL, c.wl);
        EXPECT_EQ(m.WT, c.wt);
        EXPECT_EQ(m.WR, c.wr);
        EXPECT_EQ(m.WB, c.wb);
    }
    // "no.bmp" is missing; "lower.bmp" fails the upper-case ".BMP" rule of the "!" form.
    EXPECT_EQ(tables.OwnMaskIndexOf("PANEL", "BICONMAX"), -1);
    EXPECT_EQ(tables.OwnMaskIndexOf("PANEL", "BICONMIN"), -1);
    ASSERT_EQ(report.Warnings.size(), 1u);
    EXPECT_NE(report.Warnings[0].find("NO.BMP"), std::string::npos);
}

TEST_F(SkinFolder, SmallJpegsBecomeTextureMasksAndLargeOnesPatterns) {
    Options("Jpeg", "[PANEL]\nPATTERN=big.jpg\nHOTPATTERN=small.JPEG\n[BUTTON]\npattern=broken.jpg\n");
    File("Jpeg", "big.jpg", MakeJpeg(300, 300));
    File("Jpeg", "small.JPEG", MakeJpeg(299, 300));
    TBytes broken = MakeJpeg(400, 400);
    broken.resize(broken.size() / 3);
    File("Jpeg", "broken.jpg", broken);
    const TsSkinLoadReport report = Load("Jpeg");
    ASSERT_EQ(tables.Patterns.size(), 1u);
    EXPECT_EQ(tables.Patterns[0].PropertyName, "PATTERN");
    EXPECT_EQ(tables.Patterns[0].Img->Width(), 300);
    ASSERT_EQ(tables.Masks.size(), 1u);
    const TsMaskData& m = tables.Masks[0];
    EXPECT_EQ(m.PropertyName, "HOTPATTERN");
    EXPECT_EQ(m.ImgType, itisaTexture);
    EXPECT_EQ(m.ImageCount, 1);
    EXPECT_EQ(m.R, TsMaskRect{});
    EXPECT_EQ(m.Bmp->Width(), 299);
    const int panel = tables.SectionIndexOf("PANEL");
    EXPECT_EQ(tables.TextureIndexOf(panel, "PANEL", "HOTPATTERN"), 0);
    EXPECT_EQ(tables.PatternIndexOf(panel, "PANEL", "PATTERN"), 0);
    EXPECT_EQ(report.Warnings.size(), 1u);   // the truncated JPEG, skipped like a missing file
}

// A skin names one picture from many keys; a file it cannot use is reported once
// per load (whatever the case it is written in), and again by the next load.
TEST_F(SkinFolder, EachUnusableFileIsReportedOncePerLoad) {
    Options("Gaps", "[GLOBALINFO]\nMASTERBITMAP=gone.bmp\n"
                    "[FORM]\nBORDERSMASK=!GONE.BMP!1!1!0\nPATTERN=slate.jpg\nHOTPATTERN=SLATE.JPG\n"
                    "[PANEL]\nBORDERSMASK=gone.bmp\nPATTERN=slate.jpg\nGLYPHMASK=!CUT.BMP!3!1!2\n"
                    "[BUTTON]\nBORDERSMASK=cut.bmp\nPATTERN=broken.jpg\nHOTPATTERN=broken.jpg\n");
    TBytes broken = MakeJpeg(400, 400);
    broken.resize(broken.size() / 3);
    File("Gaps", "broken.jpg", broken);
    TBytes cut = SolidBmp(8, 8);
    cut.resize(30);   // a header cut short
    File("Gaps", "CUT.BMP", cut);
    // Three files named by twelve keys: gone.bmp (missing, 3 keys plus the master
    // bitmap), slate.jpg (missing, 3 keys), CUT.BMP (unreadable, 2), broken.jpg (2).
    const std::vector<std::string> files = {"GONE.BMP", "SLATE.JPG", "CUT.BMP", "BROKEN.JPG"};
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        const TsSkinLoadReport report = Load("Gaps");
        ASSERT_EQ(report.Warnings.size(), files.size()) << ::testing::PrintToString(report.Warnings);
        for (const std::string& file : files) {
            int times = 0;
            for (const std::string& w : report.Warnings) times += UpperCase(w).find(file) != std::string::npos;
            EXPECT_EQ(times, 1) << file;
        }
        EXPECT_TRUE(tables.Masks.empty());
        EXPECT_TRUE(tables.Patterns.empty());
        EXPECT_EQ(tables.Sections.size(), 4u) << "the sections load whatever their pictures";
    }
}

TEST_F(SkinFolder, ANonNumberEndsTheLoadAndKeepsWhatWasLoaded) {
    Options("Good", "[PANEL]\nCOLOR=1\nBORDERSMASK=@0001,0002,0003,0004,1,0\nPATTERN=p.jpg\n");
    File("Good", "p.jpg", MakeJpeg(300, 300));
    Options("BadMask", "[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\nGLYPHMASK=@00x1,0002,0003,0004,1,0\n");
    Options("BadShadow", "[GLOBALINFO]\nSHADOW1BLUR=soft\n[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\n");
    Options("BadList", "[EDIT]\nBORDERSMASK=# (1,2,3) (1,0)\n");
    Load("Good");
    ASSERT_EQ(tables.Sections.size(), 1u);

    try {
        Load("BadMask");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'00x1' is not a valid integer value");
    }
    // Masks were emptied and refilled up to the error; patterns and sections are the last skin's.
    ASSERT_EQ(tables.Masks.size(), 1u);
    EXPECT_EQ(tables.Masks[0].SectionName, "EDIT");
    EXPECT_EQ(tables.Patterns.size(), 1u);
    EXPECT_EQ(tables.Sections.size(), 1u);

    EXPECT_THROW(Load("BadShadow"), EConvertError);
    EXPECT_EQ(tables.Masks.size(), 1u);
    EXPECT_TRUE(tables.Patterns.empty());
    EXPECT_TRUE(tables.Sections.empty());   // the section pass had begun

    EXPECT_THROW(Load("BadList"), EConvertError);

    Load("Good");
    EXPECT_EQ(tables.Sections.size(), 1u);
    EXPECT_EQ(tables.Masks.size(), 1u);
    EXPECT_EQ(tables.Patterns.size(), 1u);
}

// The report names the options file and the line of the key the load stopped
// at, in whichever pass it stopped; a load that succeeds names none.
TEST_F(SkinFolder, AStoppedLoadNamesTheLineItStoppedAt) {
    struct Case {
        const char* skin;
        const char* options;
        int line;   // 0: the load succeeds
    };
    const Case cases[] = {
        {"MaskPass", "; first\n[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\n\nGLYPHMASK=@00x1,0002,0003,0004,1,0\n", 5},
        {"ListPass", "[PANEL]\r\nCOLOR=1\r\n[EDIT]\r\nBORDERSMASK=# (1,2,x,4) (1,0)\r\n", 4},
        {"ShadowPass", "[GLOBALINFO]\nCOLOR=1\nSHADOW1OFFSET=2\nSHADOW1BLUR=soft\n[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\n", 4},
        {"Sound", "[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        Options(c.skin, c.options);
        TsSkinTables fresh;
        TsSkinLoadReport report;
        if (c.line == 0) {
            ASSERT_NO_THROW(LoadSkin(Request(c.skin), fresh, report));
            EXPECT_EQ(report.FailedLine, 0);
            EXPECT_EQ(report.FailedFile, "");
            continue;
        }
        EXPECT_THROW(LoadSkin(Request(c.skin), fresh, report), EConvertError);
        EXPECT_EQ(report.FailedLine, c.line);
        EXPECT_EQ(report.FailedFile, FullSkinDirectory("skins", dir.Path()) + c.skin + "\\Options.dat");
    }
    // A common line is counted in the common sections' own lines (a rectangle
    // list there needs a master bitmap).
    Options("Mastered", "[GLOBALINFO]\nMASTERBITMAP=m.bmp\n");
    File("Mastered", "m.bmp", SolidBmp(8, 8));
    TsSkinLoadRequest request = Request("Mastered");
    request.CommonSections = {"[EXTRA]", "COLOR=1", "BORDERSMASK=#(1,2,3,4)(1,y)"};
    TsSkinTables fresh;
    TsSkinLoadReport report;
    EXPECT_THROW(LoadSkin(request, fresh, report), EConvertError);
    EXPECT_EQ(report.FailedFile, CommonSectionsFile);
    EXPECT_EQ(report.FailedLine, 3);
}

TEST_F(SkinFolder, WithoutAFolderTheInternalSkinLoads) {
    TsStoredSkin& first = internal.Add();
    first.Name = "Elegant (internal)";
    first.GeneralData.Add().SectionName = "GLOBALINFO";
    TsStoredSkin& second = internal.Add();
    second.Name = "Second";
    second.Version = 2.5;
    dir.MakeDir("skins/Second");   // a folder without Options.dat is no skin

    struct Case { const char* asked; const char* loaded; };
    const Case cases[] = {{"Elegant (internal)", "Elegant (internal)"}, {"Second", "Second"},
                          {"second", "Elegant (internal)"}, {"Nothing", "Elegant (internal)"}, {"", "Elegant (internal)"}};
    for (const Case& c : cases) {
        tables.SkinData.SkinPath = "stale";
        const TsSkinLoadReport report = Load(c.asked);
        EXPECT_TRUE(report.Active);
        EXPECT_FALSE(report.FromFolder);
        EXPECT_EQ(report.SkinName, c.loaded) << c.asked;
        EXPECT_EQ(tables.SkinData.SkinPath, "");
    }
    EXPECT_DOUBLE_EQ(tables.SkinData.Version, 0);

    internal.Clear();
    const TsSkinLoadReport none = Load("Nothing");
    EXPECT_FALSE(none.Active);
    EXPECT_EQ(tables.Sections.size(), 1u);   // untouched
}

TEST_F(SkinFolder, CommonSectionsAddMasksPatternsAndInheritingSections) {
    Options("Base", "[GLOBALINFO]\nMASTERBITMAP=m.bmp\n[PANEL]\nCOLOR=300\nSHADOWCOLOR=44\nTCTOP=8\n");
    File("Base", "m.bmp", SolidBmp(10, 10));
    File("Base", "EXTRA.BMP", SolidBmp(5, 3));
    File("Base", "tex.jpg", MakeJpeg(20, 20));
    TsSkinLoadRequest r = Request("Base");
    r.CommonSections = {"[MYPANEL]", "PARENTCLASS=panel", "BORDERSMASK=extra.bmp", "GLYPHMASK=#(1,2,3,4)(3,1,2)",
                        "PATTERN=tex.jpg", "HOTCOLOR=-16777201", "[GLOBALINFO]", "GRIPIMAGE=extra.bmp", "[LONE]",
                        "COLOR=-16777201"};
    TsSkinLoadReport report;
    LoadSkin(r, tables, report);
    ASSERT_EQ(tables.Masks.size(), 2u);
    EXPECT_EQ(tables.Masks[0].PropertyName, "BORDERSMASK");
    EXPECT_EQ(tables.Masks[0].Bmp->Width(), 5);
    EXPECT_EQ(tables.Masks[0].ImageCount, 0);
    EXPECT_EQ(tables.Masks[1].R, (TsMaskRect{1, 2, 3, 4}));
    EXPECT_EQ(tables.Masks[1].BorderWidth, 2);
    ASSERT_EQ(tables.Patterns.size(), 1u);   // a pattern whatever its size
    EXPECT_EQ(tables.Patterns[0].SectionName, "MYPANEL");

    const TsGeneralData& mine = Section("MYPANEL");
    EXPECT_EQ(mine.Color, 300u);
    EXPECT_EQ(mine.ShadowColor, 44u);                   // inherited in a common section
    EXPECT_EQ(mine.FontColor[fcTop], 8);
    EXPECT_EQ(mine.HotColor, clSystemColor | 15u);
    EXPECT_EQ(mine.ParentClass, "PANEL");
    EXPECT_EQ(Section("LONE").Color, clSystemColor | 15u);   // kept as read
    EXPECT_EQ(Section("LONE").ShadowBlur, 6);
    EXPECT_EQ(tables.MaskIndexOf(tables.SectionIndexOf("MYPANEL"), "MYPANEL", "GLYPHMASK"), 1);
}

TEST_F(SkinFolder, ListSkinsSortsNamesAndReturnsTheFirstFound) {
    internal.Add().Name = "Zeta (internal)";
    internal.Add().Name = "alpha (internal)";
    Options("Middle", "[GLOBALINFO]\n");
    Options(".hidden", "[GLOBALINFO]\n");
    dir.MakeDir("skins/Empty");
    dir.Write("skins/Options.dat", "");
    std::vector<std::string> list;
    EXPECT_EQ(ListSkins(list, "skins", dir.Path(), &internal), "Zeta (internal)");
    EXPECT_EQ(list, (std::vector<std::string>{"alpha (internal)", "Middle", "Zeta (internal)"}));

    internal.Clear();
    EXPECT_EQ(ListSkins(list, "skins", dir.Path(), &internal), "Middle");
    EXPECT_EQ(ListSkins(list, "nowhere", dir.Path(), &internal), "");
    EXPECT_TRUE(list.empty());
}

TEST(SkinDirectory, SettingsResolveAgainstTheProgramFolder) {
    struct Case { const char* setting; const char* program; const char* expected; };
    const Case cases[] = {
        {".\\skins", "c:\\korvel\\", "c:\\korvel\\skins\\"},
        {"./skins/", "c:\\korvel\\", "c:\\korvel\\skins\\"},
        {"..\\skins", "c:\\korvel\\bin\\", "c:\\korvel\\skins\\"},
        {"../skins", "c:\\korvel\\bin\\", "c:\\korvel\\skins\\"},
        {"skins", "c:\\korvel\\", "c:\\korvel\\skins\\"},
        {"c:\\korvel\\skins", "d:\\app\\", "c:\\korvel\\skins\\"},
        {"c:\\korvel\\skins\\", "d:\\app\\", "c:\\korvel\\skins\\"},
        {"", "d:\\app\\", "c:\\Skins\\"},
        {"d", "c:\\korvel\\", "c:\\korvel\\d\\"},
        {"d", "", "d:\\"},
        {"/srv/skins", "/opt/korvel/", "/srv/skins\\"},
        {"/srv/skins", "c:\\korvel\\", "c:\\korvel\\/srv/skins\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(FullSkinDirectory(c.setting, c.program), c.expected) << c.setting << " in " << c.program;
}

TEST(SkinInfoText, VersionWithAPeriodOrNA) {
    TsSkinData info;
    info.Version = 4.33;
    EXPECT_EQ(SkinInfo(info), "N/A");
    info.Active = true;
    EXPECT_EQ(SkinInfo(info), "4.33");
    info.Version = 5;
    EXPECT_EQ(SkinInfo(info), "5");
}

TEST(MemoryFiles, LoadAndListWorkWithoutTheDisk) {
    TsMemoryFileSystem files;
    files.AddFile("c:\\app\\skins\\Mem\\Options.dat", "[GLOBALINFO]\nMASTERBITMAP=m.bmp\n[PANEL]\nPATTERN=p.jpg\n");
    files.AddFile("c:/app/skins/Mem/M.BMP", SolidBmp(6, 6));
    files.AddFile("c:\\app\\skins\\Mem\\p.jpg", MakeJpeg(8, 8));
    files.AddFile("c:\\app\\skins\\Other\\Options.dat", "");
    files.AddFile("c:\\app\\skins\\readme.txt", "");
    EXPECT_TRUE(files.DirectoryExists("C:\\APP\\SKINS\\"));
    EXPECT_FALSE(files.DirectoryExists("c:\\app\\skin"));
    EXPECT_TRUE(files.FileExists("c:\\app\\skins\\mem\\options.DAT"));

    std::vector<std::string> list;
    EXPECT_EQ(ListSkins(list, ".\\skins", "c:\\app\\", nullptr, files), "Mem");
    EXPECT_EQ(list, (std::vector<std::string>{"Mem", "Other"}));

    TsSkinLoadRequest request;
    request.SkinDirectory = "skins";
    request.SkinName = "Mem";
    request.ProgramFolder = "c:\\app\\";
    request.Files = &files;
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);
    EXPECT_EQ(tables.SkinData.SkinPath, "c:\\app\\skins\\Mem\\");
    EXPECT_EQ(tables.MasterBitmap.Width(), 6);
    ASSERT_EQ(tables.Masks.size(), 1u);
    EXPECT_EQ(tables.Masks[0].ImgType, itisaTexture);
    EXPECT_TRUE(report.Warnings.empty());
}

namespace {

// Memory files that count how often each file is read.
class TCountingFiles : public TsMemoryFileSystem {
public:
    std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path) const override {
        ++reads[UpperCase(path)];
        return TsMemoryFileSystem::ReadFile(path);
    }
    mutable std::map<std::string, int> reads;
};

}  // namespace

TEST(MemoryFiles, AFileNamedByManyKeysIsReadOnceAndItsPictureRecolouredOnce) {
    TCountingFiles files;
    const std::string folder = "c:\\app\\skins\\Shared\\";
    files.AddFile(folder + "Options.dat",
                  "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n"
                  "[BUTTON]\nGRIPIMAGE=grip.bmp\nHOTPATTERN=small.jpg\nPATTERN=big.jpg\nSLIDERMASK=master.bmp\n"
                  "[PANEL]\nGRIPIMAGE=grip.bmp\nHOTPATTERN=small.jpg\nPATTERN=big.jpg\n"
                  "[TOOLBAR]\nGRIPIMAGE=GRIP.BMP\n");
    const std::uint32_t red = 0xFF0000;   // 0x00RRGGBB
    files.AddFile(folder + "MASTER.BMP", SolidBmp(10, 10, red));
    files.AddFile(folder + "GRIP.BMP", SolidBmp(9, 7, red));
    files.AddFile(folder + "small.jpg", MakeJpeg(8, 8));
    files.AddFile(folder + "big.jpg", MakeJpeg(300, 300));
    TsSkinLoadRequest request;
    request.SkinDirectory = "skins";
    request.SkinName = "Shared";
    request.ProgramFolder = "c:\\app\\";
    request.Files = &files;
    request.Recolour = [](TsSkinTables& t) { RecolourSkin(t, 120, 0); };
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);
    EXPECT_TRUE(report.Warnings.empty());
    // The master bitmap keeps pixels of its own: the mask naming its file reads it again.
    const std::map<std::string, int> expectedReads = {{UpperCase(folder + "Options.dat"), 1},
                                                      {UpperCase(folder + "MASTER.BMP"), 2},
                                                      {UpperCase(folder + "GRIP.BMP"), 1},
                                                      {UpperCase(folder + "small.jpg"), 1},
                                                      {UpperCase(folder + "big.jpg"), 1}};
    EXPECT_EQ(files.reads, expectedReads);
    ASSERT_EQ(tables.Patterns.size(), 2u);
    // Red turned by 120 degrees once is green; twice it would be blue.
    const auto green = static_cast<std::uint32_t>(MakeColor(0, 255, 0));
    EXPECT_EQ(tables.MasterBitmap.Pixel(0, 0), green);
    for (const char* section : {"BUTTON", "PANEL", "TOOLBAR"}) {
        const int i = tables.OwnMaskIndexOf(section, "GRIPIMAGE");
        ASSERT_GE(i, 0) << section;
        EXPECT_EQ(tables.Masks[std::size_t(i)].Bmp->Pixel(4, 3), green) << section;
    }
    const int slider = tables.OwnMaskIndexOf("BUTTON", "SLIDERMASK");
    ASSERT_GE(slider, 0);
    ASSERT_EQ(tables.Masks[std::size_t(slider)].Bmp->Width(), 10);
    EXPECT_EQ(tables.Masks[std::size_t(slider)].Bmp->Pixel(0, 0), green);
}
