#include <gtest/gtest.h>

#include "skin/gradient_data.h"
#include "skin/ini_file.h"
#include "skin/mask_forms.h"
#include "skin/skin_data.h"
#include "skin/skin_loader.h"
#include "skin/stored_skin.h"
#include "gui/system_colors.h"
#include "gui/text_convert.h"

using namespace korvel;

namespace {

TsGeneralData Section(const char* name, const char* parent = "") {
    TsGeneralData d;
    d.SectionName = name;
    d.ParentClass = parent;
    return d;
}

TsMaskData Mask(const char* section, const char* property, TacImgType type = itisaBorder) {
    TsMaskData m;
    m.SectionName = section;
    m.PropertyName = property;
    m.ImgType = type;
    return m;
}

// A small skin in the shape of the internal one: TOOLBAR inherits from PANEL.
TsSkinTables SmallSkin() {
    TsSkinTables t;
    t.Sections = {Section("GLOBALINFO"), Section("PANEL"), Section("TOOLBAR", "PANEL"), Section("EDIT"),
                  Section("SCROLLBTNTOP"), Section("SCROLLBAR1H", "PANEL"), Section("TABTOP", "EDIT")};
    t.Sections[0].Color = 0x123456;
    t.Sections[0].FontColor[fcText] = 0x00ABCDEF;
    t.Masks = {Mask("PANEL", "BORDERSMASK"), Mask("GLOBALINFO", "BOXCHECKED"), Mask("EDIT", "BORDERSMASK"),
               Mask("PANEL", "PATTERN", itisaTexture), Mask("SCROLLBTNTOP", "GLYPHMASK"), Mask("GLOBALINFO", "SMALLGRAYED")};
    t.Patterns = {TsPatternData{nullptr, "PANEL", "HOTPATTERN"}};
    return t;
}

}  // namespace

TEST(SkinLookups, FindSectionsAndFollowParentsForMasksPatternsAndTextures) {
    const TsSkinTables t = SmallSkin();
    const int toolbar = t.SectionIndexOf("TOOLBAR");
    struct Case { const char* what; int got; int expected; };
    const Case cases[] = {
        {"exact section", t.SectionIndexOf("EDIT"), 3},
        {"section case matters", t.SectionIndexOf("Edit"), -1},
        {"own mask", t.MaskIndexOf(3, "EDIT", "BORDERSMASK"), 2},
        {"mask from the parent", t.MaskIndexOf(toolbar, "TOOLBAR", "BORDERSMASK"), 0},
        {"negative index finds nothing", t.MaskIndexOf(-1, "PANEL", "BORDERSMASK"), -1},
        {"empty name finds nothing", t.MaskIndexOf(1, "", "BORDERSMASK"), -1},
        {"own mask only", t.OwnMaskIndexOf("TOOLBAR", "BORDERSMASK"), -1},
        {"own mask", t.OwnMaskIndexOf("PANEL", "BORDERSMASK"), 0},
        {"texture from the parent", t.TextureIndexOf(toolbar, "TOOLBAR", "PATTERN"), 3},
        {"a border is no texture", t.TextureIndexOf(toolbar, "TOOLBAR", "BORDERSMASK"), -1},
        {"pattern from the parent", t.PatternIndexOf(toolbar, "TOOLBAR", "HOTPATTERN"), 0},
        {"missing pattern", t.PatternIndexOf(toolbar, "TOOLBAR", "PATTERN"), -1},
        {"parent without a section", t.MaskIndexOf(0, "GLOBALINFO", "GLYPHMASK"), -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_TRUE(t.IsValidSectionIndex(6));
    EXPECT_FALSE(t.IsValidSectionIndex(7));
    EXPECT_FALSE(t.IsValidMaskIndex(-1));
    EXPECT_TRUE(t.IsValidMaskIndex(5));
    EXPECT_EQ(t.GlobalColor(), 0x123456u);
    EXPECT_EQ(t.GlobalFontColor(), 0x00ABCDEFu);
}

TEST(SkinLookups, WithoutASkinEverythingIsNone) {
    const TsSkinTables empty;
    const TsSkinTables* none = nullptr;
    for (const TsSkinTables* t : {&empty, none}) {
        EXPECT_EQ(SectionIndexOf(t, "GLOBALINFO"), -1);
        EXPECT_EQ(MaskIndexOf(t, 0, "GLOBALINFO", "BOXCHECKED"), -1);
        EXPECT_EQ(PatternIndexOf(t, 0, "PANEL", "PATTERN"), -1);
        EXPECT_EQ(TextureIndexOf(t, 0, "PANEL", "PATTERN"), -1);
        EXPECT_EQ(OwnMaskIndexOf(t, "PANEL", "PATTERN"), -1);
        EXPECT_FALSE(IsValidSectionIndex(t, 0));
        EXPECT_EQ(GlobalFontColor(t), clNone);
        EXPECT_EQ(GlobalColor(t), FixedSystemColor(SysColorBtnFace));
    }
}

TEST(SkinLookups, CachedIndexesAreComputedPerSection) {
    TsSkinTables t = SmallSkin();
    t.ComputeCachedIndexes();
    const TsCachedIndexes& c = t.CachedIndexes;
    EXPECT_EQ(c.GlobalInfo, 0);
    EXPECT_EQ(c.BoxChecked, 1);
    EXPECT_EQ(c.SmallGrayed, 5);
    EXPECT_EQ(c.RadioChecked, -1);
    EXPECT_EQ(c.Tabs[tsTop].SkinIndex, 6);
    EXPECT_EQ(c.Tabs[tsTop].BordersMask, 2);          // from its parent EDIT
    EXPECT_EQ(c.Tabs[tsBottom].SkinIndex, -1);
    EXPECT_EQ(c.ScrollButtons[sbTop].GlyphMask, 4);
    EXPECT_EQ(c.ScrollButtons[sbTop].BordersMask, -1);
    EXPECT_EQ(c.ScrollButtons[sbLeft].GlyphMask, -1);
    EXPECT_EQ(c.ScrollBars[sb1H].BordersMask, 0);
    EXPECT_EQ(c.ScrollBars[sb1H].Pattern, 3);          // textures are searched in the mask table
    EXPECT_EQ(c.ScrollBars[sb1H].HotPattern, -1);      // patterns are not
    EXPECT_EQ(c.ScrollBars[sb1H].GlyphMask, -1);

    t.Sections.erase(t.Sections.begin());              // no GLOBALINFO: the nine glyph indexes are none
    t.ComputeCachedIndexes();
    EXPECT_EQ(t.CachedIndexes.GlobalInfo, -1);
    EXPECT_EQ(t.CachedIndexes.BoxChecked, -1);
    t.Clear();
    t.ComputeCachedIndexes();
    EXPECT_EQ(t.CachedIndexes.Tabs[tsTop].SkinIndex, -1);
}

TEST(GradientData, StopsAreFiveValuesEach) {
    struct Case { const char* text; std::size_t stops; TColor color1; TColor color2; int percent; int mode; };
    const Case cases[] = {
        {"12632256;16777215;110;0;0;16777215;16777215;0;0;0", 2, 12632256, 16777215, 100, 0},
        {"1;2;30;1;9", 1, 1, 2, 30, 1},
        {"1;2;-5;2;0;7", 1, 1, 2, 0, 2},     // a sixth value makes no stop; Percent at least 0
        {"1;2;3;4", 0, 0, 0, 0, 0},
        {"", 0, 0, 0, 0, 0},
        {" ", 0, 0, 0, 0, 0},
        {"a;b;50;x;0", 1, 0, 0, 50, 0},       // damaged numbers read as 0
        {"-16777201;255;50;0;0;", 1, 0xFF00000F, 255, 50, 0},
    };
    for (const Case& c : cases) {
        const TsGradArray stops = ParseGradientData(c.text);
        ASSERT_EQ(stops.size(), c.stops) << c.text;
        if (stops.empty()) continue;
        EXPECT_EQ(stops[0].Color1, c.color1) << c.text;
        EXPECT_EQ(stops[0].Color2, c.color2) << c.text;
        EXPECT_EQ(stops[0].Percent, c.percent) << c.text;
        EXPECT_EQ(stops[0].Mode, c.mode) << c.text;
    }
}

TEST(IniFile, SectionsAndKeysKeepOrderAndMatchWithoutCase) {
    const TsIniFile ini("\xEF\xBB\xBF; comment\r\n[Panel]\r\nColor = 5\r\nkey=a=b\r\nCOLOR=6\r\n\r\n[EDIT]\rX=1\r[panel]\nLATE=7\nnoequals\n=empty\n");
    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_EQ(ini.Sections()[0].Name, "Panel");
    EXPECT_EQ(ini.Sections()[1].Name, "EDIT");
    EXPECT_EQ(ini.ReadString("PANEL", "color", "?"), " 5");          // values as written; the first one wins
    EXPECT_EQ(ini.ReadString("panel", "KEY", "?"), "a=b");
    EXPECT_EQ(ini.ReadString("edit", "x", "?"), "1");
    EXPECT_EQ(ini.ReadString("PANEL", "late", "?"), "7");            // a repeated section joins the first
    EXPECT_EQ(ini.ReadString("PANEL", "noequals", "?"), "?");
    EXPECT_EQ(ini.ReadString("NONE", "x", "dflt"), "dflt");
    const std::vector<std::string> order = {"Color", "key", "LATE"};
    ASSERT_EQ(ini.Sections()[0].Keys.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(ini.Sections()[0].Keys[i].Name, order[i]);
    // Lines count from 1 and every line end counts once (CR LF, LF, a lone CR); a
    // repeated section keeps its first line, its later keys their own.
    EXPECT_EQ(ini.Sections()[0].Line, 2);
    EXPECT_EQ(ini.Sections()[1].Line, 7);
    const std::vector<int> lines = {3, 4, 10};
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(ini.Sections()[0].Keys[i].Line, lines[i]) << order[i];
    EXPECT_EQ(ini.Sections()[1].Keys.at(0).Line, 8);
    ASSERT_NE(ini.Sections()[0].FindKeyUpper("LATE"), nullptr);
    EXPECT_EQ(ini.Sections()[0].FindKeyUpper("LATE")->Value, "7");
    EXPECT_EQ(ini.Sections()[0].FindKeyUpper("late"), nullptr);   // the name given upper case
}

TEST(TextConvert, IntegersAndFloatsAsSkinFilesWriteThem) {
    struct Case { const char* text; std::optional<std::int32_t> value; };
    const Case cases[] = {{"0", 0}, {"-1", -1}, {" 0042", 42}, {"+7", 7}, {"2147483647", 2147483647},
                          {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt}, {"", std::nullopt},
                          {"1.5", std::nullopt}, {"12ab", std::nullopt}, {"-", std::nullopt}, {"$FF", std::nullopt}};
    for (const Case& c : cases) EXPECT_EQ(TryStrToInt(c.text), c.value) << c.text;
    EXPECT_EQ(TryStrToFloat("4.33"), 4.33);
    EXPECT_EQ(TryStrToFloat("4,33"), std::nullopt);
    EXPECT_EQ(FloatToStr(4.33), "4.33");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.30000000000000004");
    EXPECT_LT(CompareText("alpha", "Beta"), 0);
    EXPECT_TRUE(SameText("GlobalInfo", "GLOBALINFO"));
}

TEST(SystemColors, PlatformSourceReplacesTheFixedTable) {
    EXPECT_EQ(ColorToRgb(0x00123456), 0x00123456u);
    EXPECT_EQ(ColorToRgb(clBtnFace), FixedSystemColor(SysColorBtnFace));
    EXPECT_EQ(ColorToRgb(clSystemColor | 200), 0u);
    SetSystemColorSource([](int index) -> TColor { return TColor(index) * 2; });
    EXPECT_EQ(ColorToRgb(clBtnFace), 30u);
    SetSystemColorSource(nullptr);
    EXPECT_EQ(ColorToRgb(clBtnFace), FixedSystemColor(SysColorBtnFace));
}

TEST(StoredSkin, PropertiesAreSetByNameInPublishedOrder) {
    TsStoredSkins skins(nullptr);
    TsStoredSkin& skin = skins.Add();
    const std::vector<std::string> order = {"Name", "GeneralData", "Images", "Patterns", "MasterBitmap", "Shadow1Color",
                                            "Shadow1Offset", "Shadow1Blur", "Shadow1Transparency", "Version", "Author",
                                            "Description"};
    ASSERT_EQ(skin.Properties().size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(skin.Properties()[i].Name, order[i]);
    EXPECT_EQ(skin.Shadow1Blur, -1);

    EXPECT_TRUE(skin.SetProperty("Name", std::string("Elegant (internal)")));
    EXPECT_TRUE(skin.SetProperty("Version", 4.33));
    EXPECT_TRUE(skin.SetProperty("Shadow1Color", std::int32_t(-16777201)));
    EXPECT_FALSE(skin.SetProperty("Version", std::string("4.33")));     // wrong kind of value
    EXPECT_FALSE(skin.SetProperty("NoSuchProperty", std::int32_t(1)));
    EXPECT_EQ(skin.Name, "Elegant (internal)");
    EXPECT_EQ(skin.Shadow1Color, 0xFF00000Fu);

    // A reader fills collections through the table without knowing the item class.
    TsCollection* images = skin.FindProperty("Images")->Items(skin);
    TsPersistent& image = images->Add();
    EXPECT_TRUE(image.SetProperty("ImgType", std::int32_t(2)));
    EXPECT_FALSE(image.SetProperty("ImgType", std::int32_t(3)));        // outside the enumeration
    EXPECT_TRUE(image.SetProperty("PropertyName", std::string("BORDERSMASK")));
    TBitmap24 picture(3, 2);
    picture.SetPixel(1, 1, 0x112233);
    EXPECT_TRUE(image.SetProperty("Image", &picture));
    EXPECT_EQ(skin.Images[0].ImgType, itisaGlyph);
    EXPECT_EQ(skin.Images[0].Image.Pixel(1, 1), 0x112233u);
    EXPECT_EQ(skin.FindProperty("Patterns")->Items(skin)->Add().FindProperty("Image")->Kind, TsPropertyKind::JpegImage);

    // Assigning a collection copies item by item, pictures included.
    TsStoredSkins copy(nullptr);
    EXPECT_TRUE(copy.AssignItems(skins));
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy[0].Name, "Elegant (internal)");
    ASSERT_EQ(copy[0].Images.Count(), 1);
    EXPECT_EQ(copy[0].Images.Owner(), &copy[0]);
    EXPECT_EQ(copy[0].Images[0].Image.Pixel(1, 1), 0x112233u);
    EXPECT_NE(&copy[0].Images[0].Image, &skin.Images[0].Image);
}

TEST(InternalSkinLoad, StoredValuesFillTheTables) {
    TsStoredSkins skins(nullptr);
    TsStoredSkin& skin = skins.Add();
    skin.Name = "Stored";
    skin.Version = 4.33;
    skin.Description = "Easy";
    skin.MasterBitmap.SetSize(20, 10);
    TsSkinGeneral& g = skin.GeneralData.Add();
    g.SectionName = "FORMTITLE";
    g.ParentClass = "";
    g.Color = 16777215;
    g.FontColor = "16777215 6250335 5197647 -1 -1";
    g.HotFontColor = "1 2 3 4";
    g.GradientData = "12632256;16777215;5;0;0";
    g.HotGradientData = " ";
    g.ShadowDontUse = true;
    TsSkinGeneral& bad = skin.GeneralData.Add();
    bad.SectionName = "BAD";
    bad.FontColor = "1  2 3 4 5";
    TsSkinImage& border = skin.Images.Add();
    border.SectionName = "form";
    border.PropertyName = "bordersmask";
    border.Left = 1, border.Top = 2, border.Right = 3, border.Bottom = 4;
    border.ImageCount = 0;
    border.MaskType = 0;
    border.BorderWidth = 5;
    border.StretchMode = 3;
    border.ImgType = itisaGlyph;
    TsSkinImage& own = skin.Images.Add();
    own.SectionName = "GLOBALINFO";
    own.PropertyName = "PATTERN";
    own.Name = "MASTER.BMP";
    own.Image.SetSize(7, 5);
    own.ImageCount = 1;
    own.StretchMode = 4;
    own.ImgType = itisaBorder;
    TsSkinPattern& p1 = skin.Patterns.Add();
    p1.SectionName = "panel";
    p1.PropertyName = "pattern";
    p1.Name = "tex";
    TsSkinPattern& p2 = skin.Patterns.Add();
    p2.Name = "tex";
    p2.Image.SetSize(4, 4);

    TsSkinLoadRequest request;
    request.SkinName = "Stored";
    request.SkinDirectory = "/nonexistent/skins";
    request.ProgramFolder = "/nonexistent/";
    request.InternalSkins = &skins;
    int recoloured = 0;
    request.Recolour = [&](TsSkinTables& t) { recoloured = int(t.Sections.size()); };
    TsSkinTables tables;
    TsSkinLoadReport report;
    LoadSkin(request, tables, report);

    EXPECT_EQ(recoloured, 2);   // recolouring comes last, over the filled tables
    EXPECT_DOUBLE_EQ(tables.SkinData.Version, 4.33);
    EXPECT_EQ(tables.SkinData.Shadow1Blur, -1);
    EXPECT_EQ(tables.MasterBitmap.Width(), 20);
    ASSERT_EQ(tables.Sections.size(), 2u);
    const TsGeneralData& title = tables.Sections[0];
    EXPECT_EQ(title.FontColor, (TsFontColor{16777215, 6250335, 5197647, -1, -1}));
    EXPECT_EQ(title.HotFontColor, DefaultFontColor);          // four words: the default
    EXPECT_EQ(tables.Sections[1].FontColor, DefaultFontColor);   // not single spaces
    EXPECT_EQ(title.GradientArray.size(), 1u);
    EXPECT_TRUE(title.HotGradientArray.empty());

    ASSERT_EQ(tables.Masks.size(), 2u);
    const TsMaskData& m = tables.Masks[0];
    EXPECT_EQ(m.SectionName, "FORM");
    EXPECT_EQ(m.PropertyName, "BORDERSMASK");
    EXPECT_EQ(m.R, (TsMaskRect{1, 2, 3, 4}));
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 1);
    EXPECT_EQ(m.BorderWidth, 5);
    EXPECT_EQ(m.StretchMode, 3);
    EXPECT_EQ(m.ImgType, itisaGlyph);
    EXPECT_EQ(m.Bmp, nullptr);
    const TsMaskData& t = tables.Masks[1];
    EXPECT_EQ(t.R, (TsMaskRect{0, 0, 7, 5}));
    ASSERT_NE(t.Bmp, nullptr);
    EXPECT_EQ(t.ImgType, itisaTexture);
    EXPECT_EQ(t.StretchMode, 0);                               // copied only from a texture image

    ASSERT_EQ(tables.Patterns.size(), 2u);
    EXPECT_EQ(tables.Patterns[0].SectionName, "PANEL");
    EXPECT_EQ(tables.Patterns[0].Img->Width(), 4);             // borrowed from the pattern of the same name
    EXPECT_EQ(tables.Patterns[1].Img->Width(), 4);

    const int pixelsBefore = LivePixelStores();
    tables.Clear();
    EXPECT_EQ(LivePixelStores(), pixelsBefore - 4);            // master, one mask picture, two pattern pictures
}

TEST(MaskForms, ValuesAreRecognisedByShapeAndDamagedNumbersEndTheLoad) {
    struct Shape { const char* value; TsMaskForm form; };
    const Shape shapes[] = {{"", TsMaskForm::None}, {"#", TsMaskForm::None}, {"123", TsMaskForm::None},
                            {"!a.BMP!1!0!0", TsMaskForm::PictureWithCounts}, {"@", TsMaskForm::Glyph},
                            {"^", TsMaskForm::Border}, {"~", TsMaskForm::Texture}, {"panel.bmp", TsMaskForm::Picture},
                            {"x (1,2,3,4) (1,0) #", TsMaskForm::RectangleList}, {"a.bmp#", TsMaskForm::RectangleList}};
    for (const Shape& s : shapes) EXPECT_EQ(MaskFormOf(s.value), s.form) << s.value;

    struct Bad { TsMaskForm form; const char* value; const char* message; };
    const Bad bad[] = {
        {TsMaskForm::Glyph, "@0010,0020", "'' is not a valid integer value"},                 // too short
        {TsMaskForm::Glyph, "@0010,0020,0030,0040,x,1", "'x' is not a valid integer value"},
        {TsMaskForm::Border, "^0001,0002,0003,0004,0005,0006,0007,0008,3,1,2", "'' is not a valid integer value"},
        {TsMaskForm::Texture, "~0001,0002,0003,0004,x", "'x' is not a valid integer value"},
        {TsMaskForm::RectangleList, "# (1,2,3,4)", "'' is not a valid integer value"},
        {TsMaskForm::RectangleList, "# (1,2,3,4) (1,0,z)", "'z' is not a valid integer value"},
    };
    for (const Bad& b : bad) {
        try {
            DecodeMasterMask(b.form, b.value, "BORDERSMASK");
            ADD_FAILURE() << b.value;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), b.message) << b.value;
        }
    }
    EXPECT_THROW(DecodePictureWithCounts("!a.BMP!3"), EConvertError);
    EXPECT_TRUE(DecodePictureWithCounts("!a.bmp!3").FileName.empty());   // no ".BMP": not this form's file
    // Sixteen-bit fields keep their sign and saturate instead of wrapping.
    const TsMaskData m = DecodeMasterMask(TsMaskForm::RectangleList, "# (0,0,9,9) (99999,1,-4,-70000)", "X");
    EXPECT_EQ(m.ImageCount, 32767);
    EXPECT_EQ(m.BorderWidth, 0);
    EXPECT_EQ(m.StretchMode, -32768);
}
