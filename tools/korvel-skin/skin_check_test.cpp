// korvel-skin check as a skin author runs it: small skin folders with one
// fault each give the one line that names the fault's file, line and severity,
// and the exit status says whether anything is an error; the shipped skins
// pass; --json carries the same findings.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "skin_test_support.h"
#include "skin_uses.h"

using namespace korvel;
using korvel::testing::MakeJpeg;
using korvel::testing::SolidBmp;
using korvel::testing::TBytes;

namespace {

namespace fs = std::filesystem;
const std::string SourceDir = KORVEL_SOURCE_DIR;

TBytes Text(const std::string& s) { return TBytes(s.begin(), s.end()); }

// Every section the launcher and the gallery use, with no keys: white, black
// text, no pictures. Nothing in it is a fault.
std::string SoundSections(const std::string& without = "") {
    std::string text;
    for (const TUsedSection& s : UsedSections())
        if (without != s.Name) text += std::string("[") + s.Name + "]\n";
    return text;
}

// The 1-based line of text on which `start` begins a line; 0 when none does.
int LineOf(const std::string& text, const std::string& start) {
    std::istringstream in(text);
    int n = 0;
    for (std::string line; std::getline(in, line);) {
        ++n;
        if (line.rfind(start, 0) == 0) return n;
    }
    return 0;
}

struct TOutput {
    int Status = -1;
    std::vector<std::string> Lines;
    std::string Text;
};

class SkinCheck : public ::testing::Test {
protected:
    void SetUp() override {
        out_ = fs::temp_directory_path() / ("korvel-skin-check-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(out_);
        fs::create_directories(out_);
    }
    void TearDown() override { fs::remove_all(out_); }

    // Writes the folder out_/name with the files given; answers its path.
    std::string Folder(const std::string& name, const std::map<std::string, TBytes>& files) const {
        const fs::path folder = out_ / name;
        fs::create_directories(folder);
        for (const auto& [file, bytes] : files) {
            std::ofstream f(folder / file, std::ios::binary);
            f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        }
        return folder.string();
    }

    TOutput Run(const std::string& arguments) const {
        const fs::path stdoutFile = out_ / "stdout";
        const std::string command = std::string(KORVEL_SKIN_EXE) + " check " + arguments + " >" + stdoutFile.string() + " 2>&1";
        const int status = std::system(command.c_str());
        TOutput result;
        result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(stdoutFile);
        for (std::string line; std::getline(in, line);) {
            result.Text += line + "\n";
            result.Lines.push_back(line);
        }
        return result;
    }

    fs::path out_;
};

std::size_t Count(const std::vector<std::string>& lines, const std::string& part) {
    return std::size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; }));
}

// One fault a folder: the line that must name it (file:line: severity: and a
// part of the message), how many errors the whole check gives, and the status.
TEST_F(SkinCheck, EachFaultIsOneLineWithItsFileLineAndSeverity) {
    struct Case {
        const char* Name;
        std::string Options;
        std::map<std::string, TBytes> Pictures;
        const char* Marker;     // the start of the line the finding names ("" for the whole file)
        const char* Severity;
        std::string Message;    // a part of the finding
        int Errors;             // error lines in all
    };
    const std::string sound = SoundSections();
    const std::string global = "[GLOBALINFO]\nVERSION=1\n";
    const std::string master = "[GLOBALINFO]\nMASTERBITMAP=M.BMP\n";
    const std::vector<Case> cases = {
        // Values the load cannot convert: the load's own text, where it stops.
        {"BadColumn", global + "[EDIT]\nBORDERSMASK=@0005,0006,0007,0008,1,0\nGLYPHMASK=@00x1,0002,0003,0004,1,0\n" + sound,
         {}, "GLYPHMASK=", "error", "'00x1' is not a valid integer value", 1},
        {"BadShadow", "[GLOBALINFO]\nSHADOW1OFFSET=2\nSHADOW1BLUR=soft\n" + sound, {}, "SHADOW1BLUR=", "error",
         "'soft' is not a valid integer value", 1},
        {"BadList", master + "[PANEL]\nBORDERSMASK=# (0,0,x,4) (1,0)\n" + sound, {{"M.BMP", SolidBmp(8, 8)}},
         "BORDERSMASK=", "error", "'x' is not a valid integer value", 1},
        // Files the load cannot use.
        {"NoOwnPicture", sound + "[BUTTON]\nBORDERSMASK=BTN.BMP\n", {}, "BORDERSMASK=", "error",
         "BORDERSMASK names BTN.BMP: missing", 1},
        {"NoCountedPicture", "[GLOBALINFO]\nBOXCHECKED=!CHK.BMP!3!1!2\n" + sound, {}, "BOXCHECKED=", "error",
         "BOXCHECKED names CHK.BMP: missing", 1},
        {"NotABitmap", "[GLOBALINFO]\nBOXCHECKED=!CHK.BMP!3!1!2\n" + sound, {{"CHK.BMP", Text("not a picture")}},
         "BOXCHECKED=", "error", "BOXCHECKED names CHK.BMP: not a bitmap file", 1},
        {"LowerCaseBmp", "[GLOBALINFO]\nBOXCHECKED=!chk.bmp!3!1!2\n" + sound, {{"chk.bmp", SolidBmp(6, 4)}}, "BOXCHECKED=",
         "error", "must name a file ending in \".BMP\"", 1},
        {"NoPattern", sound + "[STATUSBAR]\nPATTERN=P.JPG\n", {}, "PATTERN=", "error", "PATTERN names P.JPG: missing", 1},
        {"NoMaster", "[GLOBALINFO]\nMASTERBITMAP=M.BMP\n[BUTTON]\nBORDERSMASK=@0000,0000,0009,0008,3,1\n" + sound, {},
         "MASTERBITMAP=", "error", "the masks on the master bitmap (1) draw nothing", 1},
        {"NoMasterNamed", global + "[BUTTON]\nBORDERSMASK=@0000,0000,0009,0008,3,1\n" + sound, {}, "BORDERSMASK=", "error",
         "GLOBALINFO names no MASTERBITMAP", 1},
        // Pictures that do not divide: 10 across 3 states, 7 down 2 parts, a rectangle past the master's edge.
        {"Width", sound + "[BUTTON]\nBORDERSMASK=!B.BMP!3!1!0\n", {{"B.BMP", SolidBmp(10, 8)}}, "BORDERSMASK=", "error",
         "width 10 does not divide into 3 state images", 1},
        {"Height", sound + "[BUTTON]\nBORDERSMASK=!B.BMP!3!1!0\n", {{"B.BMP", SolidBmp(9, 7)}}, "BORDERSMASK=", "error",
         "height 7 does not divide into the 2 parts of mask type 1", 1},
        {"MasterEdge", master + "[PANEL]\nBORDERSMASK=@0000,0000,0030,0010,1,0\n" + sound, {{"M.BMP", SolidBmp(20, 20)}},
         "BORDERSMASK=", "error", "(0, 0, 30, 10) does not lie inside the 20 x 20 picture", 1},
        // 300 x 300 = 90000 pixels stays a pattern; 299 x 300 = 89700 becomes a texture.
        {"JpegSides", sound + "[STATUSBAR]\nPATTERN=BIG.JPG\nHOTPATTERN=SMALL.JPG\n",
         {{"BIG.JPG", MakeJpeg(300, 300)}, {"SMALL.JPG", MakeJpeg(299, 300)}}, "HOTPATTERN=", "warning",
         "HOTPATTERN SMALL.JPG (299 x 300 = 89700 pixels) becomes a texture but PATTERN BIG.JPG (300 x 300 = 90000 pixels) stays a pattern", 0},
        {"JpegNobodyDraws", sound + "[STATUSBAR]\nPICTURE=SMALL.JPG\n", {{"SMALL.JPG", MakeJpeg(20, 20)}}, "PICTURE=",
         "warning", "only PATTERN and HOTPATTERN textures are drawn", 0},
        // Parents.
        {"UnknownParent", sound + "[SPEEDBUTTON]\nPARENTCLASS=NOPE\n", {}, "PARENTCLASS=NOPE", "error",
         "PARENTCLASS names NOPE, which is no section", 1},
        {"ParentLoop", sound + "[ONE]\nPARENTCLASS=TWO\n[TWO]\nPARENTCLASS=ONE\n", {}, "PARENTCLASS=TWO", "error",
         "the PARENTCLASS chain ONE -> TWO -> ONE comes back to ONE", 2},
        {"ParentCase", sound + "[SPEEDBUTTON]\nPARENTCLASS=button\n", {}, "PARENTCLASS=button", "warning",
         "matches [BUTTON] only without regard to case", 0},
        // Sections the program looks for.
        {"NoEdit", SoundSections("EDIT"), {}, "", "warning", "no section EDIT for edit fields", 0},
        {"EditInLowerCase", SoundSections("EDIT") + "[Edit]\n", {}, "[Edit]", "warning",
         "[Edit] is not found: the program looks for EDIT", 0},
        // Text contrast: 0x777777 on white is 4.48 : 1, 0x767676 4.54 : 1; black text on a
        // see-through check box over a dark page; a black contour makes 0x777777 read (4.68 : 1).
        {"GreyOnWhite", SoundSections("EDIT") + "[EDIT]\nFONTCOLOR=7829367\n", {}, "FONTCOLOR=", "warning",
         "a field: text 7829367 (#777777) (EDIT FONTCOLOR) on 16777215 (#FFFFFF) (EDIT) reads 4.48 : 1", 0},
        {"SeeThroughOverDark", SoundSections("PANEL") + "[PANEL]\nCOLOR=2105376\n[CHECKBOX]\nTRANSPARENCY=100\nFONTCOLOR=0\n", {},
         "FONTCOLOR=0", "warning", "a check box: text 0 (#000000) (CHECKBOX FONTCOLOR) on 2105376 (#202020) (CHECKBOX)", 0},
        // A button's gradient, white over its upper half and black below: centred text meets
        // the middle half of the rows, and so the black.
        {"DarkMiddle", SoundSections("BUTTON") + "[BUTTON]\nGRADIENTPERCENT=100\nGRADIENTDATA=16777215;16777215;50;0;0;0;0;50;0;0\nFONTCOLOR=0\n",
         {}, "FONTCOLOR=", "warning", "a button: text 0 (#000000) (BUTTON FONTCOLOR) on 0 (#000000) (BUTTON) reads 1.00 : 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::map<std::string, TBytes> files = c.Pictures;
        files["Options.dat"] = Text(c.Options);
        const std::string folder = Folder(c.Name, files);
        const TOutput out = Run("'" + folder + "'");
        const int line = *c.Marker ? LineOf(c.Options, c.Marker) : 0;
        ASSERT_TRUE(!*c.Marker || line > 0) << "the case's marker is not in its options";
        const std::string where = folder + "/Options.dat" + (line ? ":" + std::to_string(line) : "") + ": " + c.Severity + ": ";
        EXPECT_EQ(Count(out.Lines, where), 1u) << where << "\n" << out.Text;
        const auto found = std::find_if(out.Lines.begin(), out.Lines.end(), [&](const std::string& l) { return l.rfind(where, 0) == 0; });
        if (found != out.Lines.end()) {
            EXPECT_NE(found->find(c.Message), std::string::npos) << *found;
        }
        EXPECT_EQ(Count(out.Lines, ": error: "), std::size_t(c.Errors)) << out.Text;
        EXPECT_EQ(out.Status, c.Errors > 0 ? 1 : 0) << out.Text;
    }
}

// What the check must not call a fault: a sound skin, text exactly at the ratio,
// text saved by its contour, a pattern and a texture on one side, a parent with
// the same spelling, a section naming itself.
TEST_F(SkinCheck, SoundSkinsGiveNoFindings) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"Sound", SoundSections()},
        {"GreyJustReads", SoundSections("EDIT") + "[EDIT]\nFONTCOLOR=7763574\n"},
        {"Contoured", SoundSections("EDIT") + "[EDIT]\nFONTCOLOR=7829367\nTCLEFT=0\n"},
        {"Parents", SoundSections() + "[SPEEDBUTTON]\nPARENTCLASS=BUTTON\n[SELF]\nPARENTCLASS=SELF\n[NONE]\nPARENTCLASS=-1\n"},
        {"Sides", SoundSections() + "[MDIAREA]\nPATTERN=A.JPG\nHOTPATTERN=B.JPG\n"},
        // Black only over the upper quarter of the rows: the text does not meet it.
        {"DarkEdge", SoundSections("BUTTON") + "[BUTTON]\nGRADIENTPERCENT=100\nGRADIENTDATA=0;0;25;0;0;16777215;16777215;75;0;0\n"},
    };
    for (const auto& [name, options] : cases) {
        SCOPED_TRACE(name);
        const std::string folder =
            Folder(name, {{"Options.dat", Text(options)}, {"A.JPG", MakeJpeg(300, 300)}, {"B.JPG", MakeJpeg(400, 300)}});
        const TOutput out = Run("'" + folder + "'");
        EXPECT_EQ(out.Status, 0) << out.Text;
        ASSERT_EQ(out.Lines.size(), 1u) << out.Text;
        EXPECT_EQ(out.Lines[0], folder + ": 0 errors, 0 warnings");
    }
}

TEST_F(SkinCheck, AFolderWithoutOptionsIsAnErrorAndUsageIsChecked) {
    const std::string folder = Folder("Empty", {{"X.BMP", SolidBmp(3, 3)}});
    const TOutput out = Run("'" + folder + "'");
    EXPECT_EQ(out.Status, 1);
    EXPECT_EQ(Count(out.Lines, folder + "/Options.dat: error: there is no readable Options.dat"), 1u) << out.Text;
    EXPECT_EQ(Run("").Status, 2);
    EXPECT_EQ(Run("--internal '" + folder + "'").Status, 2);
    EXPECT_EQ(Run("--loud '" + folder + "'").Status, 2);
}

// The shipped skins have no error; the warnings they have are named in the
// README (the internal skin lacks MDIAREA, its active title's blue is 4.15 : 1).
TEST_F(SkinCheck, ShippedSkinsHaveNoErrors) {
    for (const std::string skin : {"Basalt", "Opal"}) {
        const TOutput out = Run("'" + SourceDir + "/skins/" + skin + "'");
        EXPECT_EQ(out.Status, 0) << out.Text;
        EXPECT_EQ(Count(out.Lines, ": error: "), 0u) << out.Text;
    }
    const TOutput internal = Run("--internal");
    EXPECT_EQ(internal.Status, 0) << internal.Text;
    EXPECT_EQ(Count(internal.Lines, ": error: "), 0u) << internal.Text;
    EXPECT_EQ(Count(internal.Lines, "elegant.ini: warning: no section MDIAREA"), 1u) << internal.Text;
}

// --json, read by an independent parser, carries the same findings as the text
// lines, for two skins at once; the status is the same.
TEST_F(SkinCheck, JsonCarriesTheSameFindings) {
    const std::string bad = Folder("Bad", {{"Options.dat", Text(SoundSections("EDIT") + "[BUTTON]\nBORDERSMASK=BTN.BMP\n[EDIT]\nFONTCOLOR=7829367\n")}});
    const std::string good = Folder("Good", {{"Options.dat", Text(SoundSections())}});
    const TOutput text = Run("'" + bad + "' '" + good + "'");
    const TOutput json = Run("--json '" + bad + "' '" + good + "'");
    EXPECT_EQ(text.Status, 1);
    EXPECT_EQ(json.Status, 1);
    std::ofstream(out_ / "out.json") << json.Text;
    const std::string reader = "python3 -c 'import json, os, sys\n"
                               "for skin in json.load(open(sys.argv[1])):\n"
                               "  for f in skin[\"findings\"]:\n"
                               "    line = \":\" + str(f[\"line\"]) if f[\"line\"] else \"\"\n"
                               "    print(os.path.join(skin[\"skin\"], f[\"file\"]) + line + \": \" + f[\"severity\"] + \": \" + f[\"message\"])\n"
                               "  e, w = skin[\"errors\"], skin[\"warnings\"]\n"
                               "  print(\"%s: %d error%s, %d warning%s\" % (skin[\"skin\"], e, \"\" if e == 1 else \"s\", w, \"\" if w == 1 else \"s\"))' " +
                               (out_ / "out.json").string() + " >" + (out_ / "read").string();
    ASSERT_EQ(std::system(reader.c_str()), 0) << json.Text;
    std::ifstream in(out_ / "read");
    std::vector<std::string> read;
    for (std::string line; std::getline(in, line);) read.push_back(line);
    EXPECT_EQ(read, text.Lines);
    EXPECT_EQ(Count(text.Lines, ": error: "), 1u);
    EXPECT_EQ(Count(text.Lines, ": warning: "), 1u);
}

}  // namespace
