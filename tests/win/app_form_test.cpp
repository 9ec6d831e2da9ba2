// The launcher's main window as the program builds it (the real definition
// resource), driven through its controls: page switching, launches, Views,
// browse dialogs, linked fields, the seed site file and the Vicinor View. The
// shell call and the modal dialogs are replaced by recorders; everything else
// is the real window under Wine.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/link_table.h"
#include "gui/definition_reader.h"
#include "gui/exceptions.h"
#include "gui/graphic_controls.h"
#include "gui/text.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui_test_support.h"
#include "paint/item.h"

using namespace korvel;
using korvel::testing::PumpWhileNot;
using korvel::testing::ScreenPixel;
using korvel::testing::SourcePath;

namespace {

const std::string kConfig = "c:\\korvel\\config.cfg";


struct TShellRecord {
    HWND Owner;
    std::string Verb, File, Parameters;
};

struct TDialogAnswer {
    bool Confirm = false;
    std::string FileName;   // set into the dialog before a confirmation
};

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm1(nullptr);
        form->ShellCall = [this](HWND owner, const std::string& verb, const std::string& file,
                                 const std::string& parameters) {
            shell.push_back({owner, verb, file, parameters});
        };
        form->ExecuteDialog = [this](TOpenDialog& dialog) {
            dialogsShown.push_back(dialog.Name());
            if (answer.Confirm) dialog.SetFileName(answer.FileName);
            return answer.Confirm;
        };
        Application().SetMainForm(form);
        form->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        Application().SetMainForm(nullptr);
        delete form;
    }

    TControl& C(const std::string& name) { return form->Part<TControl>(name); }
    std::string T(const std::string& name) { return C(name).Text(); }
    // A click as a user makes it reaches the handler through the button's own window.
    void Press(const std::string& name) {
        SendMessageW(form->Part<TWinControl>(name).Handle(), BM_CLICK, 0, 0);
        Application().ProcessMessages();
    }
    std::vector<std::string> VisiblePages() {
        std::vector<std::string> shown;
        for (const char* page : {"pnlrootgen", "pnlvicinor", "pnlinvetta", "pnlidlora", "pnlhubrift", "pnlpullvane",
                                 "pnlpushvane", "pnlmemlatch", "pnltriquery", "pnlabout"})
            if (C(page).Visible()) shown.push_back(page);
        return shown;
    }
    // Counts the change events of a field without disturbing its linking.
    int* CountChanges(const std::string& name) {
        auto& edit = form->Part<TCustomEdit>(name);
        auto counter = std::make_shared<int>(0);
        counters.push_back(counter);
        edit.OnChange = [counter, previous = edit.OnChange](TObject* sender) {
            ++*counter;
            if (previous) previous(sender);
        };
        return counter.get();
    }

    TForm1* form = nullptr;
    std::vector<TShellRecord> shell;
    std::vector<std::string> dialogsShown;
    TDialogAnswer answer;
    std::vector<std::shared_ptr<int>> counters;
};

const std::vector<std::string> kConfigFields = {"rootgenconfig", "vicinorconfig",  "invettaconfig",
                                                "idloraconfig",  "hubriftconfig",  "pullvaneconfig",
                                                "pushvaneconfig", "memlatchconfig", "triqueryconfig"};
const std::vector<std::string> kReadFields = {"vicinorsnmp", "invettasnmp", "idlorasnmp", "hubriftsnmp",
                                              "triquerysnmp"};
const std::vector<std::string> kWriteFields = {"pullvanesnmp", "pushvanesnmp", "memlatchsnmp"};
const std::vector<std::string> kWildcardFields = {"vicinorwildcard", "invettawildcard", "idlorawildcard",
                                                  "hubriftwildcard"};

// A folder of its own under the temporary folder, as a Windows path ending in a backslash.
std::string FreshFolder(const std::string& leaf) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::string folder = Narrow(temp) + "korvel-app-" + leaf + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    return folder;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(Widen(path).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(Widen(path).c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

}  // namespace

TEST_F(LauncherTest, StartsWithTheStoredDefaults) {
    EXPECT_EQ(form->Caption(), "Korvel Pro 2007.1");
    EXPECT_EQ(form->ClientWidth(), 432);
    EXPECT_EQ(form->ClientHeight(), 334);
    EXPECT_EQ(form->Left(), 305);   // placed where designed, not centred
    EXPECT_EQ(form->Top(), 306);
    EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsSingle);
    // The stored icons are the provider's to give back; while skinned the form has none of its own.
    EXPECT_EQ(form->Part<TsSkinProvider>("sSkinProvider1").SavedBorderIcons, biSystemMenu | biMinimize);
    EXPECT_EQ(form->BorderIcons(), 0);
    EXPECT_EQ(form->Color(), 13750737u);
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{"pnlrootgen"});
    EXPECT_FALSE(C("logo").Visible());
    EXPECT_EQ(T("count"), "");
    EXPECT_FALSE(C("count").Enabled());
    EXPECT_EQ(T("config"), "config");
    EXPECT_EQ(T("wildcard"), "wildcard");
    EXPECT_FALSE(C("config").Visible());
    EXPECT_FALSE(C("wildcard").Visible());
    EXPECT_FALSE(form->Part<TCheckBox>("vicinorstep").Checked());
    EXPECT_EQ(form->Part<TMemo>("Memo1").Lines().Text(), "Memo1\r\n");
    EXPECT_EQ(C("sLabel36").Caption(), "kvl.example");
    EXPECT_EQ(form->Part<TImage>("logo").Picture().Width(), 234);
    EXPECT_EQ(form->Part<TImage>("logo").Picture().Height(), 191);

    // A size of -1: the control sizes itself to its content (the skinned check box).
    struct Place { const char* name; const char* parent; int left, top, width, height; };
    const Place places[] = {
        {"btnrootgen", "Form1", 8, 8, 75, 25},      {"btnabout", "Form1", 8, 296, 75, 25},
        {"sButton1", "Form1", 8, 136, 75, 25},      {"pnlinvetta", "Form1", 95, 8, 329, 281},
        {"pnlidlora", "Form1", 95, 8, 329, 281},    {"pnlvicinor", "Form1", 96, 8, 329, 281},
        {"rootgenip", "pnlrootgen", 24, 32, 97, 21}, {"dirrootgen", "pnlrootgen", 152, 80, 25, 21},
        {"Memo1", "pnlrootgen", 216, 16, 89, 145},  {"logo", "pnlrootgen", 49, 41, 232, 192},
        {"vicinorstep", "pnlvicinor", 240, 16, -1, -1}, {"idloradays", "pnlidlora", 216, 32, 41, 21},
        {"hubriftmacs", "pnlhubrift", 216, 80, 33, 21}, {"triqueryo3", "pnltriquery", 96, 224, 137, 21},
        {"memolicense", "pnlabout", 16, 16, 297, 209}, {"sButton3", "pnlabout", 224, 240, 91, 25},
        {"sLabel36", "Form1", 216, 312, 75, 13},    {"count", "Form1", 104, 256, 33, 21},
        {"config", "Form1", 304, 304, 121, 21},     {"wildcard", "Form1", 304, 296, 121, 21},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        TControl& c = C(p.name);
        ASSERT_NE(c.Parent(), nullptr);
        EXPECT_EQ(c.Parent()->Name(), p.parent);
        EXPECT_EQ(c.Left(), p.left);
        EXPECT_EQ(c.Top(), p.top);
        if (p.width >= 0) {
            EXPECT_EQ(c.Width(), p.width);
        }
        if (p.height >= 0) {
            EXPECT_EQ(c.Height(), p.height);
        }
    }
    const std::map<std::string, int> limits = {{"rootgenip", 15}, {"idloradays", 4}, {"hubriftvlan", 4},
                                               {"hubriftmacs", 4}, {"vicinorsnmp", 0}, {"triqueryo1", 0}};
    for (const auto& [name, limit] : limits) EXPECT_EQ(form->Part<TCustomEdit>(name).MaxLength(), limit) << name;
    for (const char* button : {"btnrootgen", "btnvicinor", "btnabout", "sButton1"})
        EXPECT_FALSE(form->Part<TWinControl>(button).TabStop()) << button;
}

TEST_F(LauncherTest, EveryWindowedControlHasItsStoredTabOrder) {
    // Each parent's windowed children, listed at their tab order positions 0, 1, 2, ...
    struct Row { const char* parent; std::vector<const char*> order; };
    const Row rows[] = {
        {"Form1", {"btnabout", "btnrootgen", "btnvicinor", "btninvetta", "btnidlora", "btnpullvane", "btnpushvane",
                   "btnmemlatch", "btntriquery", "pnlrootgen", "pnlvicinor", "pnlinvetta", "pnlidlora", "pnlpullvane",
                   "pnlpushvane", "pnlmemlatch", "pnltriquery", "pnlabout", "count", "sButton1", "pnlhubrift",
                   "config", "wildcard"}},
        {"pnlrootgen", {"rootgenip", "rootgenconfig", "dirrootgen", "rootgenbtn", "Memo1"}},
        {"pnlvicinor", {"vicinorstep", "vicinorsnmp", "vicinorconfig", "vicinorconfigbtn", "vicinoroutput",
                        "vicinoroutputbtn", "vicinorwildcard", "vicinorbtn", "vicinorview"}},
        {"pnlinvetta", {"invettasnmp", "invettaconfig", "invettaconfigbtn", "invettaoutput", "invettaoutputbtn",
                        "invettawildcard", "invettabtn", "invettaviewbtn"}},
        {"pnlidlora", {"idlorasnmp", "idloradays", "idloraconfig", "idloraconfigbtn", "idloraoutput",
                       "idloraoutputbtn", "idlorawildcard", "idlorabtn", "idloraviewbtn"}},
        {"pnlhubrift", {"hubriftsnmp", "hubriftvlan", "hubriftconfig", "sButton2", "hubriftoutput", "sButton4",
                        "hubriftwildcard", "hubriftbtn", "hubriftviewbtn", "hubriftmacs"}},
        {"pnlpullvane", {"pullvanesnmp", "pullvaneconfig", "pullvaneconfigbtn", "pullvanetftp",
                         "pullvanetftpfolder", "pullvanebtn"}},
        {"pnlpushvane", {"pushvanesnmp", "pushvaneconfig", "pushvaneconfigbtn", "pushvanetftp",
                         "pushvanechangefile", "pushvanebtn"}},
        {"pnlmemlatch", {"memlatchsnmp", "memlatchconfig", "memlatchconfigbtn", "memlatchbtn"}},
        {"pnltriquery", {"triquerysnmp", "triqueryconfig", "triqueryconfigbtn", "triqueryoutput",
                         "triqueryoutputbtn", "triqueryt1", "triqueryo1", "triqueryt2", "triqueryo2", "triqueryt3",
                         "triqueryo3", "triquerybtn", "triqueryviewbtn"}},
        {"pnlabout", {"sButton3", "memolicense"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.parent);
        auto& parent = row.parent == std::string("Form1") ? static_cast<TWinControl&>(*form)
                                                          : form->Part<TWinControl>(row.parent);
        int windowed = 0;
        for (int i = 0; i < parent.ControlCount(); ++i) windowed += dynamic_cast<TWinControl*>(parent.Controls(i)) != nullptr;
        EXPECT_EQ(windowed, static_cast<int>(row.order.size()));   // every windowed child is listed
        for (size_t place = 0; place < row.order.size(); ++place) {
            auto& control = form->Part<TWinControl>(row.order[place]);
            EXPECT_EQ(control.Parent(), &parent) << row.order[place];
            EXPECT_EQ(control.TabOrder(), static_cast<int>(place)) << row.order[place];
        }
    }
}

TEST_F(LauncherTest, AboutTextOpensWithTheTermsAndHoldsEveryHeading) {
    TMemoLines& lines = form->Part<TMemo>("memolicense").Lines();
    const std::string text = lines.Text();
    EXPECT_EQ(text.rfind("Korvel Pro is provided", 0), 0u);
    size_t last = 0;
    for (const char* heading : {"<<Rootgen>>", "<<Vicinor>>", "<<Invetta>>", "<<Idlora>>", "<<Hubrift>>",
                                "<<Pullvane>>", "<<Pushvane>>", "<<Memlatch>>", "<<Triquery>>"}) {
        size_t at = text.find(std::string("\r\n\r\n") + heading + "\r\n");
        ASSERT_NE(at, std::string::npos) << heading;
        EXPECT_GT(at, last) << heading << " out of order";
        last = at;
    }
    // The box holds each paragraph as one line, which it wraps itself.
    std::vector<std::string> joined;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 2;
        if (!line.empty() && line.rfind("<<", 0) != 0) joined.push_back(line);
    }
    ASSERT_EQ(joined.size(), 10u);   // the terms and nine help paragraphs
    EXPECT_EQ(joined[4],
              "Idlora is a network switch monitoring utility that displays ports or interfaces that are available to "
              "use.  Idlora displays valuable information such as: code, uptime, ip address, location, and by default "
              "a list of ports that haven't been in use in the past 15 days.");
    EXPECT_EQ(joined[8], "Memlatch is a utility that will write your running configurations to memory.");

    // The definition stores each paragraph as pieces of 50 to 60 characters broken at a space.
    std::ifstream file(SourcePath("app/main_window.def"), std::ios::binary);
    const std::string definition{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const size_t from = definition.find("object memolicense");
    ASSERT_NE(from, std::string::npos);
    int pieces = 0;
    for (size_t at = definition.find("' +", from); at < definition.find("\n    )", from); at = definition.find("' +", at + 1)) {
        const size_t open = definition.rfind('\'', at - 1);
        const std::string piece = definition.substr(open + 1, at - open - 1);
        EXPECT_EQ(piece.back(), ' ') << piece;
        EXPECT_GE(piece.size() - 1, 50u) << piece;
        EXPECT_LE(piece.size() - 1, 60u) << piece;
        ++pieces;
    }
    EXPECT_GT(pieces, 30);
}

// The About text reads as written: within a paragraph, every row the box wraps
// but the last holds several words and fills more than half of the box's text
// rectangle (measured in the box's own font). A paragraph stored as several
// lines would leave single words such as "change" alone on a row. (Wine's edit
// control breaks a row a few pixels before the font's extents would, so the
// test asks for well-filled rows rather than for the greedy break exactly.)
TEST_F(LauncherTest, AboutTextWrapsWholeParagraphs) {
    Press("btnabout");
    HWND memo = form->Part<TWinControl>("memolicense").Handle();
    RECT format{};
    SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const int width = format.right - format.left;
    ASSERT_GT(width, 200);
    HDC dc = GetDC(memo);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(memo, WM_GETFONT, 0, 0)));
    const auto extent = [&](const std::wstring& s) {
        SIZE size{};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const auto trimmed = [](std::wstring s) {
        while (!s.empty() && (s.back() == L' ' || s.back() == L'\r' || s.back() == L'\n')) s.pop_back();
        return s;
    };
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const int index = static_cast<int>(SendMessageW(memo, EM_LINEINDEX, static_cast<WPARAM>(row), 0));
        const int length = static_cast<int>(SendMessageW(memo, EM_LINELENGTH, static_cast<WPARAM>(index), 0));
        std::wstring buffer(static_cast<size_t>(length) + 2, L'\0');
        *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(buffer.size());
        const int got = static_cast<int>(SendMessageW(memo, EM_GETLINE, static_cast<WPARAM>(row),
                                                      reinterpret_cast<LPARAM>(buffer.data())));
        rows.push_back(trimmed(buffer.substr(0, static_cast<size_t>(got))));
    }
    ASSERT_GT(rows.size(), 40u);
    int checked = 0;
    for (size_t row = 0; row + 1 < rows.size(); ++row) {
        const std::wstring& next = rows[row + 1];
        // A paragraph ends before an empty row or a heading.
        if (rows[row].empty() || next.empty() || next.rfind(L"<<", 0) == 0 || rows[row].rfind(L"<<", 0) == 0) continue;
        EXPECT_NE(rows[row].find(L' '), std::wstring::npos) << Narrow(rows[row]) << ": a word alone on a row";
        EXPECT_GT(2 * extent(rows[row]), width) << Narrow(rows[row]) << ": a row not half full";
        ++checked;
    }
    EXPECT_GT(checked, 30);
    SelectObject(dc, old);
    ReleaseDC(memo, dc);
}

TEST_F(LauncherTest, PageButtonsShowTheirPageOnly) {
    const std::pair<const char*, const char*> pages[] = {
        {"btnvicinor", "pnlvicinor"},   {"btninvetta", "pnlinvetta"},   {"btnidlora", "pnlidlora"},
        {"sButton1", "pnlhubrift"},     {"btnpullvane", "pnlpullvane"}, {"btnpushvane", "pnlpushvane"},
        {"btnmemlatch", "pnlmemlatch"}, {"btntriquery", "pnltriquery"}, {"btnabout", "pnlabout"},
        {"btnabout", "pnlabout"},       {"btnrootgen", "pnlrootgen"},
    };
    C("hubriftvlan").SetText("7");
    for (const auto& [button, page] : pages) {
        Press(button);
        EXPECT_EQ(VisiblePages(), std::vector<std::string>{page}) << button;
    }
    EXPECT_EQ(T("hubriftvlan"), "7");
    EXPECT_TRUE(shell.empty());
}

// Each page paints its skin section ("PANEL"), not its parent's background.
TEST_F(LauncherTest, PagesPaintTheirSkinSection) {
    for (const auto& [button, page] : {std::pair{"btnrootgen", "pnlrootgen"}, std::pair{"btnidlora", "pnlidlora"}}) {
        Press(button);
        auto& panel = form->Part<TWinControl>(page);
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application().ProcessMessages();
        // The section over the window's colour, painted by the painting core.
        const TsSkinTables& tables = form->Part<TsSkinManager>("sSkinManager1").Tables();
        TItemSource source;
        source.Tables = &tables;
        source.SkinIndex = tables.SectionIndexOf("PANEL");
        source.BorderIndex = tables.MaskIndexOf(source.SkinIndex, "PANEL", "BORDERSMASK");
        source.HasParent = true;
        source.ParentColor = ColorToRgb(form->Color());
        source.NeedsParentRepaint = false;
        TBitmap24 face(panel.Width(), panel.Height());
        PaintItem(source, {}, true, face, TPoint{panel.Left(), panel.Top()}, TRect{0, 0, panel.Width(), panel.Height()}, 0);
        for (POINT p : {POINT{panel.Width() - 12, 8}, POINT{panel.Width() - 12, panel.Height() - 12}}) {   // no child there
            POINT inside = p;
            ClientToScreen(panel.Handle(), &inside);
            EXPECT_EQ(ScreenPixel(inside.x, inside.y), face.Pixel(p.x, p.y)) << page << " " << p.y;
        }
    }
}

TEST_F(LauncherTest, LaunchesEveryToolWithTheDefaultLine) {
    struct Row { const char* button; bool step; const char* exe; std::string line; };
    const Row rows[] = {
        {"vicinorbtn", false, "c:\\korvel\\vicinor.exe", kConfig + " vireon c:\\korvel\\vicinor.html #"},
        {"vicinorbtn", true, "c:\\korvel\\vicinorSTEP.exe", kConfig + " vireon c:\\korvel\\vicinor.html"},
        {"invettabtn", false, "c:\\korvel\\invetta.exe", kConfig + " vireon c:\\korvel\\invetta.html #"},
        {"idlorabtn", false, "c:\\korvel\\idlora.exe", "15 " + kConfig + " vireon c:\\korvel\\idlora.html #"},
        {"hubriftbtn", false, "c:\\korvel\\hubrift.exe", "x 1 " + kConfig + " vireon c:\\korvel\\hubrift.html #"},
        {"pullvanebtn", false, "c:\\korvel\\pullvane.exe", kConfig + " taskelm 10.5.5.17 "},
        {"pushvanebtn", false, "c:\\korvel\\pushvane.exe", kConfig + " taskelm 10.5.5.17 router-config"},
        {"memlatchbtn", false, "c:\\korvel\\memlatch.exe", kConfig + " taskelm"},
        {"triquerybtn", false, "c:\\korvel\\triquery.exe",
         kConfig + " vireon c:\\korvel\\triquery.html Uptime .1.3.6.1.2.1.1.3.0    "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.button + std::string(row.step ? " step" : ""));
        form->Part<TCheckBox>("vicinorstep").SetChecked(row.step);
        shell.clear();
        Press(row.button);
        ASSERT_EQ(shell.size(), 1u);
        EXPECT_EQ(shell[0].Owner, form->Handle());
        EXPECT_EQ(shell[0].Verb, "open");
        EXPECT_EQ(shell[0].File, row.exe);
        EXPECT_EQ(shell[0].Parameters, row.line);
    }
}

TEST_F(LauncherTest, LaunchLinesCarryEditedTextsByteForByte) {
    const std::string longOutput = "c:\\" + std::string(5000, 'o') + ".html";
    C("vicinorconfig").SetText("d:\\sites\\Zürich main.cfg");   // spreads to every config field
    C("invettasnmp").SetText("pub\xE2\x82\xAClic");             // spreads to every read field
    C("memlatchsnmp").SetText("");                            // spreads to every write field
    C("pushvanetftp").SetText("tftp.local");
    C("hubriftwildcard").SetText("%%");
    C("idloraoutput").SetText(longOutput);
    C("idloradays").SetText("");
    C("hubriftvlan").SetText("\xC3\xBC" "12");
    C("triqueryt3").SetText("Last");
    C("pullvanetftpfolder").SetText("sub dir");
    const std::string cfg = "d:\\sites\\Zürich main.cfg";
    const std::string read = "pub\xE2\x82\xAClic";
    const std::pair<const char*, std::string> rows[] = {
        {"vicinorbtn", cfg + " " + read + " c:\\korvel\\vicinor.html %%"},
        {"idlorabtn", " " + cfg + " " + read + " " + longOutput + " %%"},
        {"hubriftbtn", "\xC3\xBC" "12 1 " + cfg + " " + read + " c:\\korvel\\hubrift.html %%"},
        {"pullvanebtn", cfg + "  tftp.local sub dir"},
        {"memlatchbtn", cfg + " "},
        {"triquerybtn", cfg + " " + read + " c:\\korvel\\triquery.html Uptime .1.3.6.1.2.1.1.3.0   Last "},
    };
    for (const auto& [button, line] : rows) {
        shell.clear();
        Press(button);
        ASSERT_EQ(shell.size(), 1u) << button;
        EXPECT_EQ(shell[0].Parameters, line) << button;
    }
}

TEST_F(LauncherTest, EveryPressStartsTheToolAgain) {
    Press("memlatchbtn");
    Press("memlatchbtn");
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_EQ(shell[0].File, shell[1].File);
    EXPECT_EQ(shell[0].Parameters, shell[1].Parameters);
}

TEST_F(LauncherTest, ViewsAndTheWebAddressOpenWithoutParameters) {
    const std::pair<const char*, const char*> views[] = {
        {"invettaviewbtn", "c:\\korvel\\invetta.html"}, {"idloraviewbtn", "c:\\korvel\\idlora.html"},
        {"hubriftviewbtn", "c:\\korvel\\hubrift.html"}, {"triqueryviewbtn", "edited \xC3\xA9.htm"},
    };
    C("triqueryoutput").SetText("edited \xC3\xA9.htm");
    for (const auto& [button, file] : views) {
        shell.clear();
        Press(button);
        ASSERT_EQ(shell.size(), 1u) << button;
        EXPECT_EQ(shell[0].Verb, "open");
        EXPECT_EQ(shell[0].File, file) << button;
        EXPECT_EQ(shell[0].Parameters, "") << button;
        EXPECT_EQ(shell[0].Owner, form->Handle());
    }
    shell.clear();
    C("sLabel36").Click();
    Press("sButton3");
    ASSERT_EQ(shell.size(), 2u);
    for (const TShellRecord& call : shell) {
        EXPECT_EQ(call.File, "http://kvl.example/");
        EXPECT_EQ(call.Parameters, "");
        EXPECT_EQ(call.Verb, "open");
    }
}

TEST_F(LauncherTest, DialogsCarryTheirFiltersExtensionsAndFolder) {
    struct Row { const char* name; const char* filter; const char* ext; };
    const Row rows[] = {
        {"OpenDialog1", "Config (*.cfg)|*.cfg|Text (*.txt)|*.txt", ".cfg"},
        {"SaveDialog1", "Config (*.cfg)|*.cfg|Text (*.txt)|*.txt", "cfg"},
        {"SaveDialog2", "HTML (*.html)|*.html|HTM (*.htm)|*.htm", "*.html"},
    };
    for (const Row& row : rows) {
        TOpenDialog& dialog = form->Part<TOpenDialog>(row.name);
        EXPECT_EQ(dialog.Filter(), row.filter) << row.name;
        EXPECT_EQ(dialog.DefaultExt(), row.ext) << row.name;
        EXPECT_EQ(dialog.InitialDir(), "c:\\korvel") << row.name;
        EXPECT_EQ(dialog.Title(), "") << row.name;
        EXPECT_EQ(dialog.FileName(), "") << row.name;
    }
    EXPECT_EQ(dynamic_cast<TSaveDialog*>(&form->Part<TOpenDialog>("OpenDialog1")), nullptr);
    EXPECT_NE(dynamic_cast<TSaveDialog*>(&form->Part<TOpenDialog>("SaveDialog2")), nullptr);
}

TEST_F(LauncherTest, BrowseButtonsUseTheirSharedDialog) {
    const std::pair<const char*, const char*> rows[] = {
        {"dirrootgen", "SaveDialog1"},        {"vicinorconfigbtn", "OpenDialog1"}, {"vicinoroutputbtn", "SaveDialog2"},
        {"invettaconfigbtn", "OpenDialog1"},  {"invettaoutputbtn", "SaveDialog2"}, {"idloraconfigbtn", "OpenDialog1"},
        {"idloraoutputbtn", "SaveDialog2"},   {"sButton2", "OpenDialog1"},         {"sButton4", "SaveDialog2"},
        {"pullvaneconfigbtn", "OpenDialog1"}, {"pushvaneconfigbtn", "OpenDialog1"},
        {"memlatchconfigbtn", "OpenDialog1"}, {"triqueryconfigbtn", "OpenDialog1"},
        {"triqueryoutputbtn", "SaveDialog2"},
    };
    answer = {true, "c:\\chosen\\file.x"};
    for (const auto& [button, dialog] : rows) {
        dialogsShown.clear();
        Press(button);
        EXPECT_EQ(dialogsShown, std::vector<std::string>{dialog}) << button;
    }
}

TEST_F(LauncherTest, ConfirmedBrowseFillsTheFieldAndSpreads) {
    answer = {true, "c:\\sites\\north.cfg"};
    Press("memlatchconfigbtn");
    for (const std::string& field : kConfigFields) EXPECT_EQ(T(field), "c:\\sites\\north.cfg") << field;
    EXPECT_EQ(T("config"), "c:\\sites\\north.cfg");

    answer = {true, "c:\\out\\inv.html"};
    Press("invettaoutputbtn");
    EXPECT_EQ(T("invettaoutput"), "c:\\out\\inv.html");
    EXPECT_EQ(T("vicinoroutput"), "c:\\korvel\\vicinor.html");   // output fields are not linked
}

TEST_F(LauncherTest, CancelledBrowseWritesTheDialogsCurrentName) {
    // Never confirmed: the empty name empties every config field of every page.
    answer = {false, ""};
    Press("pushvaneconfigbtn");
    for (const std::string& field : kConfigFields) EXPECT_EQ(T(field), "") << field;
    EXPECT_EQ(T("config"), "");

    // Confirmed on one page, cancelled on another: the first name comes back.
    answer = {true, "c:\\sites\\east.cfg"};
    Press("invettaconfigbtn");
    C("triqueryconfig").SetText("typed.cfg");
    answer = {false, ""};
    Press("sButton2");
    for (const std::string& field : kConfigFields) EXPECT_EQ(T(field), "c:\\sites\\east.cfg") << field;

    // Save dialogs are shared the same way and are not linked.
    answer = {true, "c:\\out\\a.html"};
    Press("vicinoroutputbtn");
    answer = {false, ""};
    Press("sButton4");
    EXPECT_EQ(T("hubriftoutput"), "c:\\out\\a.html");
    EXPECT_EQ(T("triqueryoutput"), "c:\\korvel\\triquery.html");
    Press("dirrootgen");   // SaveDialog1 was never confirmed
    EXPECT_EQ(T("rootgenconfig"), "");
}

TEST_F(LauncherTest, AChangeInAnyFieldOfAGroupReachesTheWholeGroup) {
    struct Group { const std::vector<std::string>* fields; const char* relay; };
    const Group groups[] = {{&kConfigFields, "config"}, {&kReadFields, nullptr}, {&kWriteFields, nullptr},
                            {&kWildcardFields, "wildcard"}};
    const std::vector<std::string> tftp = {"pullvanetftp", "pushvanetftp"};
    const Group all[] = {groups[0], groups[1], groups[2], groups[3], {&tftp, nullptr}};
    int n = 0;
    for (const Group& group : all) {
        for (const std::string& source : *group.fields) {
            std::map<std::string, std::string> before;
            for (const Group& other : all)
                if (other.fields != group.fields)
                    for (const std::string& f : *other.fields) before[f] = T(f);
            const std::string text = "v" + std::to_string(++n) + " \xCE\xB1";
            C(source).SetText(text);
            for (const std::string& field : *group.fields) EXPECT_EQ(T(field), text) << source << " -> " << field;
            if (group.relay) {
                EXPECT_EQ(T(group.relay), text) << source;
            }
            for (const auto& [field, old] : before) EXPECT_EQ(T(field), old) << source << " touched " << field;
        }
    }
}

TEST_F(LauncherTest, TypingIntoFieldsSpreadsAfterEveryKeystroke) {
    for (const char* field : {"rootgenconfig", "hubriftconfig", "pullvanesnmp"}) {
        SCOPED_TRACE(field);
        if (std::string(field) == "hubriftconfig") Press("sButton1");
        if (std::string(field) == "pullvanesnmp") Press("btnpullvane");
        auto& edit = form->Part<TCustomEdit>(field);
        edit.SetText("");
        SetForegroundWindow(form->Handle());
        edit.SetFocus();
        Application().ProcessMessages();
        korvel::testing::TypeText(L"k\x00E9y");
        EXPECT_EQ(edit.Text(), "k\xC3\xA9y");
    }
    for (const std::string& f : kConfigFields) EXPECT_EQ(T(f), "k\xC3\xA9y") << f;
    EXPECT_EQ(T("config"), "k\xC3\xA9y");
    for (const std::string& f : kWriteFields) EXPECT_EQ(T(f), "k\xC3\xA9y") << f;
    for (const std::string& f : kReadFields) EXPECT_EQ(T(f), "vireon") << f;
}

TEST_F(LauncherTest, ReadCommunityHubSpreadsWithoutSettingTheSourceAgain) {
    int* invetta = CountChanges("invettasnmp");
    int* vicinor = CountChanges("vicinorsnmp");
    int* idlora = CountChanges("idlorasnmp");
    C("invettasnmp").SetText("public2");
    EXPECT_EQ(*invetta, 1);
    EXPECT_EQ(*vicinor, 1);
    EXPECT_EQ(*idlora, 1);
}

TEST_F(LauncherTest, RelayTextsSpreadNothingWhileTheRelayHoldsThem) {
    C("vicinorconfig").SetText("config");
    EXPECT_EQ(T("config"), "config");
    EXPECT_EQ(T("invettaconfig"), kConfig);
    EXPECT_EQ(T("rootgenconfig"), kConfig);
    C("idlorawildcard").SetText("wildcard");
    EXPECT_EQ(T("vicinorwildcard"), "#");
    EXPECT_EQ(T("hubriftwildcard"), "#");
}

TEST_F(LauncherTest, SeedFileIsTheAddressAndALineBreak) {
    const std::string folder = FreshFolder("seed");
    const std::string path = folder + "site.cfg";
    C("rootgenconfig").SetText(path);
    C("count").SetText("9");
    Press("rootgenbtn");
    EXPECT_EQ(ReadBytes(path), "192.168.100.1\r\n");
    EXPECT_EQ(ReadBytes(path).size(), 15u);
    EXPECT_TRUE(C("logo").Visible());
    EXPECT_EQ(T("count"), "");
    EXPECT_EQ(form->Part<TMemo>("Memo1").Lines().Count(), 0);

    Press("rootgenbtn");   // again: the same single line
    EXPECT_EQ(ReadBytes(path), "192.168.100.1\r\n");

    C("rootgenip").SetText("192.168.100.1");   // the same text: the logo stays
    EXPECT_TRUE(C("logo").Visible());
    C("rootgenip").SetText("10.9.9.9");
    EXPECT_FALSE(C("logo").Visible());
    Press("rootgenbtn");
    EXPECT_EQ(ReadBytes(path), "10.9.9.9\r\n");
    DeleteFileW(Widen(path).c_str());
    RemoveDirectoryW(Widen(folder).c_str());
}

TEST_F(LauncherTest, SeedFileThatCannotBeWrittenReportsAndKeepsTheRest) {
    const std::string folder = FreshFolder("unwritable");
    struct Row { std::string path; const char* message; };
    const Row rows[] = {
        {folder + "no such folder\\site.cfg", "Invalid filename"},
        {folder.substr(0, folder.size() - 1), "File access denied"},   // a folder is no file
    };
    int attempt = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        Press("btnrootgen");
        C("rootgenip").SetText("10.0.0." + std::to_string(++attempt));   // a new text hides the logo
        ASSERT_FALSE(C("logo").Visible());
        C("rootgenconfig").SetText(row.path);
        C("count").SetText("4");
        korvel::testing::TMessageBoxAnswerer box;
        Press("rootgenbtn");
        ASSERT_TRUE(box.WaitAnswered(5000));
        EXPECT_EQ(box.Text(), row.message);
        EXPECT_EQ(box.Owner(), form->Handle());
        EXPECT_EQ(T("count"), "");
        EXPECT_TRUE(C("logo").Visible());
        EXPECT_EQ(form->Part<TMemo>("Memo1").Lines().Text(), "Memo1\r\n");
        // The window keeps working.
        Press("btnvicinor");
        EXPECT_EQ(VisiblePages(), std::vector<std::string>{"pnlvicinor"});
    }
    RemoveDirectoryW(Widen(folder).c_str());
}

TEST_F(LauncherTest, VicinorViewCountsTheConfigFileLines) {
    const std::string folder = FreshFolder("view");
    struct Row { const char* content; const char* count; };
    const Row rows[] = {{"a1\r\nb2\r\nc3\r\n", "3"}, {"", "0"}, {"a1\r\nb2", "2"}, {"x\r\n", "1"}};
    Press("btnvicinor");
    for (const Row& row : rows) {
        WriteBytes(folder + "c.cfg", row.content);
        C("vicinorconfig").SetText(folder + "c.cfg");
        shell.clear();
        Press("vicinorview");
        EXPECT_EQ(T("count"), row.count) << row.content;
        ASSERT_EQ(shell.size(), 1u);
        EXPECT_EQ(shell[0].File, "c:\\korvel\\vicinor.html");
        EXPECT_EQ(shell[0].Parameters, "");
    }
    // The seed file of the default address just written counts one line: the
    // address fits on one row of the 89-pixel box in its 8-point face.
    ASSERT_EQ(T("rootgenip"), "192.168.100.1");
    C("rootgenconfig").SetText(folder + "seed.cfg");
    Press("btnrootgen");
    Press("rootgenbtn");
    Press("btnvicinor");
    Press("vicinorview");
    EXPECT_EQ(T("count"), "1");
    DeleteFileW(Widen(folder + "seed.cfg").c_str());
    DeleteFileW(Widen(folder + "c.cfg").c_str());
    RemoveDirectoryW(Widen(folder).c_str());
}

TEST_F(LauncherTest, VicinorViewOfAMissingConfigReportsAndKeepsTheLines) {
    const std::string path = FreshFolder("gone") + "absent.cfg";
    C("vicinorconfig").SetText(path);
    C("count").SetText("5");
    Press("btnvicinor");
    korvel::testing::TMessageBoxAnswerer box;
    Press("vicinorview");
    ASSERT_TRUE(box.WaitAnswered(5000));
    const std::string prefix = "Cannot open file \"" + path + "\". ";
    EXPECT_EQ(box.Text().substr(0, prefix.size()), prefix);
    EXPECT_GT(box.Text().size(), prefix.size());   // the platform's description follows
    EXPECT_EQ(T("count"), "");
    EXPECT_EQ(form->Part<TMemo>("Memo1").Lines().Text(), "Memo1\r\n");
    ASSERT_EQ(shell.size(), 1u);   // the output file was handed over first
    EXPECT_EQ(shell[0].File, "c:\\korvel\\vicinor.html");
}

TEST_F(LauncherTest, StartsWithTheInternalSkinLoadedByItsOwnManager) {
    auto& manager = form->Part<TsSkinManager>("sSkinManager1");
    EXPECT_EQ(TsSkinManager::DefaultManager(), &manager);
    EXPECT_TRUE(manager.IsDefault());
    EXPECT_TRUE(manager.Active());
    EXPECT_EQ(manager.SkinName(), "Elegant (internal)");
    EXPECT_EQ(manager.SkinInfo(), "4.33");
    EXPECT_EQ(manager.Tables().Sections.size(), 56u);
    EXPECT_EQ(manager.Tables().Masks.size(), 79u);
    // Loaded from the stored skin, not by a fallback, and announced.
    ASSERT_EQ(manager.InternalSkins().Count(), 1);
    EXPECT_EQ(manager.InternalSkins()[0].Name, "Elegant (internal)");
    EXPECT_FALSE(manager.LastLoad().FromFolder);
    EXPECT_TRUE(manager.LastLoad().Warnings.empty());
    EXPECT_TRUE(manager.SkinData().Active);
    EXPECT_FALSE(SkinChanging);
    EXPECT_FALSE(SkinAnnouncing);
    EXPECT_EQ(manager.SkinDirectory(), "c:\\korvel\\skins");
    EXPECT_EQ(manager.MenuSupport().IcoLineSkin, "ICOLINE");
    EXPECT_EQ(manager.MenuSupport().ExtraLineFont.Name(), "MS Sans Serif");
    EXPECT_EQ(manager.MenuSupport().ExtraLineFont.Height(), -11);
    EXPECT_EQ(manager.MenuSupport().ExtraLineFont.Color(), clWindowText);
}

TEST_F(LauncherTest, FrameIsSkinnedByItsProviderWithSystemMenuAndMinimise) {
    auto& provider = form->Part<TsSkinProvider>("sSkinProvider1");
    EXPECT_EQ(FindSkinProvider(form), &provider);
    EXPECT_EQ(provider.BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(provider.SkinData().SkinSection(), "FORM");
    EXPECT_TRUE(provider.SkinData().IsSkinned(true));
    EXPECT_EQ(provider.SavedBorderIcons, biSystemMenu | biMinimize);
    // The title is painted with the window's first non-client paint (bounded wait).
    PumpWhileNot([&] { return !provider.DrawnCaption.empty(); });
    // The system draws no caption buttons or menu of its own; the window has the skin's shape.
    EXPECT_EQ(form->BorderIcons(), 0);
    EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(form->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, form->Width() / 2, 1));
    DeleteObject(region);
    // Close and minimise only, close at the right inside the frame.
    EXPECT_EQ(provider.VisibleButtonCount(), 2);
    EXPECT_EQ(provider.ButtonClose.Rect.Right, provider.WindowWidth() - provider.FrameWidth());
    EXPECT_EQ(provider.ButtonMin.Rect.Right, provider.ButtonClose.Rect.Left);
    EXPECT_EQ(provider.DrawnCaption, "Korvel Pro 2007.1");
}

// A stored skin that cannot be built stops the definition at its line, and the
// manager keeps the stored skins it had.
TEST(LauncherDefinition, BadInternalSkinsAreReportedAndKeepWhatWasStored) {
    RegisterSkinManagerClass();
    const std::string good = "      item\n        Data = resource 'ELEGANT_INI'\n"
                             "        MasterBitmap = resource 'ELEGANT_MASTER'\n      end\n";
    struct TCase {
        const char* what;
        std::string item;
        std::string problem;
    } cases[] = {
        {"missing resource", "      item\n        Data = resource 'NO_SUCH_SKIN'\n"
                             "        MasterBitmap = resource 'ELEGANT_MASTER'\n      end\n", "NO_SUCH_SKIN not found"},
        {"unknown property", "      item\n        Colour = 5\n      end\n", "'Colour'"},
        {"text, not a resource", "      item\n        Data = 'ELEGANT_INI'\n"
                                 "        MasterBitmap = resource 'ELEGANT_MASTER'\n      end\n", "resource 'NAME' expected"},
        {"no master bitmap", "      item\n        Data = resource 'ELEGANT_INI'\n      end\n", "both Data and MasterBitmap"},
        {"options that are not a skin", "      item\n        Data = resource 'ELEGANT_MASTER'\n"
                                        "        MasterBitmap = resource 'ELEGANT_MASTER'\n      end\n",
         "internal skin: [GLOBALINFO]: the section is missing"},
    };
    for (const auto& c : cases) {
        TForm root(nullptr);
        const std::string text = "object F: TForm\n  object m: TsSkinManager\n    InternalSkins = <\n" + good +
                                 "    >\n    InternalSkins = <\n" + good + c.item + "    >\n  end\nend\n";
        try {
            root.ReadDefinition(text);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), 9) << c.what << ": " << e.Message();
            EXPECT_NE(e.Message().find(c.problem), std::string::npos) << c.what << ": " << e.Message();
        }
        auto* manager = dynamic_cast<TsSkinManager*>(root.FindComponent("m"));
        ASSERT_NE(manager, nullptr) << c.what;
        ASSERT_EQ(manager->InternalSkins().Count(), 1) << c.what;
        EXPECT_EQ(manager->InternalSkins()[0].Name, "Elegant (internal)") << c.what;
        EXPECT_EQ(manager->InternalSkins()[0].GeneralData.Count(), 56) << c.what;
    }
}
