// Forms built from a stored window definition: creation, property order,
// Loaded after everything, no change events while reading, errors by line.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/class_registry.h"
#include "gui/definition_reader.h"
#include "gui/dialogs.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"
#include "gui/timer.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

std::vector<std::string> events;

// A control that records the order in which its properties and Loaded arrive.
class TOrderProbe : public TPanel {
public:
    explicit TOrderProbe(TComponent* owner) : TPanel(owner) {}
    std::string ClassName() const override { return "TOrderProbe"; }
    void Loaded() override {
        TPanel::Loaded();
        // Every component of the definition exists and has all its properties by now.
        TComponent* root = Owner();
        auto* last = root ? dynamic_cast<TEdit*>(root->FindComponent("lastEdit")) : nullptr;
        events.push_back("Loaded " + Name() + (last && last->Text() == "last" ? " after all" : " too early"));
    }
};

void RegisterProbe() {
    auto& r = TClassRegistry::Instance();
    RegisterFrameworkClasses();
    if (r.Find("TOrderProbe")) return;
    r.RegisterClass<TOrderProbe>("TOrderProbe", "TPanel");
    for (const char* name : {"First", "Second", "Third"})
        r.RegisterProperty<TOrderProbe>("TOrderProbe", name, [name](TOrderProbe& p, const TValue& v, TReadContext&) {
            events.push_back(p.Name() + "." + name + "=" + std::to_string(v.AsInteger()) +
                             (p.InState(csLoading) ? " loading" : " not loading"));
        });
}

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("editChange", [this](TObject*) { ++changes; });
        RegisterMethod("buttonClick", [this](TObject*) { ++clicks; });
    }
    std::string ClassName() const override { return "TTestForm"; }
    template <class T>
    T* Find(const std::string& name) {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    int changes = 0;
    int clicks = 0;
};

const char kDefinition[] = R"(object Form1: TTestForm
  Left = 200
  Top = 150
  Caption = 'Korvel Pro '#50'007.1'
  ClientWidth = 432
  ClientHeight = 334
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Color = 13750737
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  object probe: TOrderProbe
    Third = 3
    First = 1
    Second = 2
  end
  object pnlrootgen: TPanel
    Left = 96
    Top = 8
    Width = 329
    Height = 281
    object rootgenip: TEdit
      Left = 24
      Top = 32
      Width = 97
      Height = 21
      OnChange = editChange
      Text = 'it''s 192.168.100.1'
      MaxLength = 15
      TabOrder = 1
    end
    object lblip: TLabel
      Left = 24
      Top = 16
      Caption = 'IP Address:'
      FocusControl = lastEdit
      Font.Style = [fsBold, fsUnderline]
    end
    object inner: TPanel
      Left = 150
      Top = 100
      object Memo1: TMemo
        Lines = (
          'Memo1'
          'second line'
        )
        Visible = False
        ScrollBars = ssVertical
      end
      object vicinorstep: TCheckBox
        Caption = 'Step Thru'
        Checked = True
        OnClick = buttonClick
      end
    end
  end
  object go: TButton
    Caption = 'Go'
    Tag = $FF00FF
    OnClick = buttonClick
    Cursor = crHandPoint
    Color = clBtnFace
  end
  object lastEdit: TEdit
    Text = 'last'
    OnChange = editChange
  end
  object OpenDialog1: TOpenDialog
    Filter = 'Config files|*.cfg|All files|*.*'
    DefaultExt = '.cfg'
    InitialDir = 'c:\korvel'
  end
  object Timer1: TTimer
    Interval = 250
    Enabled = False
  end
end
)";

class DefinitionTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterProbe();
        events.clear();
    }
};

TEST_F(DefinitionTest, BuildsNestedControlsWithTheirPropertiesInFileOrder) {
    int before = TControl::LiveControls();
    auto* form = new TTestForm(nullptr);
    form->ReadDefinition(kDefinition);

    EXPECT_EQ(form->Name(), "Form1");
    EXPECT_EQ(form->Caption(), "Korvel Pro 2007.1");
    EXPECT_EQ(form->ClientWidth(), 432);
    EXPECT_EQ(form->ClientHeight(), 334);
    EXPECT_EQ(form->BorderIcons(), biSystemMenu | biMinimize);
    EXPECT_EQ(form->Color(), 13750737u);
    EXPECT_EQ(form->ComponentCount(), 11);   // every component is owned by the root

    auto* panel = form->Find<TPanel>("pnlrootgen");
    auto* ip = form->Find<TEdit>("rootgenip");
    auto* label = form->Find<TLabel>("lblip");
    auto* memo = form->Find<TMemo>("Memo1");
    auto* step = form->Find<TCheckBox>("vicinorstep");
    auto* inner = form->Find<TPanel>("inner");
    auto* dialog = form->Find<TOpenDialog>("OpenDialog1");
    auto* timer = form->Find<TTimer>("Timer1");
    ASSERT_TRUE(panel && ip && label && memo && step && inner && dialog && timer);
    EXPECT_EQ(panel->Parent(), form);
    EXPECT_EQ(ip->Parent(), panel);
    EXPECT_EQ(memo->Parent(), inner);
    EXPECT_EQ(ip->Owner(), form);
    EXPECT_EQ(ip->Text(), "it's 192.168.100.1");
    EXPECT_EQ(ip->MaxLength(), 15);
    EXPECT_EQ(ip->BoundsRect().right, 121);
    EXPECT_EQ(label->FocusControl(), form->FindComponent("lastEdit"));   // a reference made before its target existed
    EXPECT_EQ(label->Font().Style(), fsBold | fsUnderline);
    EXPECT_EQ(label->Font().Height(), -11);   // the rest of the font from the parent
    // Sized to its caption once loaded: the caption's extent in the label's face.
    LOGFONTW face{};
    face.lfHeight = -11;
    face.lfWeight = FW_BOLD;
    face.lfUnderline = TRUE;
    lstrcpyW(face.lfFaceName, L"MS Sans Serif");
    HFONT font = CreateFontIndirectW(&face);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, L"IP Address:", 11, &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    EXPECT_EQ(label->Width(), extent.cx);
    EXPECT_EQ(label->Height(), extent.cy);
    EXPECT_EQ(memo->Lines().Count(), 2);
    EXPECT_FALSE(memo->Visible());
    EXPECT_EQ(memo->ScrollBars(), TScrollStyle::ssVertical);
    EXPECT_TRUE(step->Checked());
    EXPECT_EQ(form->Find<TButton>("go")->Cursor(), crHandPoint);
    EXPECT_EQ(form->Find<TButton>("go")->Tag(), 0xFF00FF);
    EXPECT_EQ(dialog->Filter(), "Config files|*.cfg|All files|*.*");
    EXPECT_EQ(dialog->InitialDir(), "c:\\korvel");
    EXPECT_EQ(timer->Interval(), 250u);
    EXPECT_FALSE(timer->Enabled());

    // Properties in file order while loading, Loaded once everything was read.
    EXPECT_EQ(events, (std::vector<std::string>{"probe.Third=3 loading", "probe.First=1 loading",
                                                "probe.Second=2 loading", "Loaded probe after all"}));
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->InState(csLoading | csReading)) << form->Components(i)->Name();

    // Texts read from the definition raised nothing; the check box did not click.
    EXPECT_EQ(form->changes, 0);
    EXPECT_EQ(form->clicks, 0);
    ip->SetText("10.0.0.1");
    EXPECT_EQ(form->changes, 1);
    form->Find<TButton>("go")->Click();
    EXPECT_EQ(form->clicks, 1);

    // The real windows carry what was read.
    form->Show();
    Application().ProcessMessages();
    wchar_t caption[64] = {};
    GetWindowTextW(form->Handle(), caption, 64);
    EXPECT_STREQ(caption, L"Korvel Pro 2007.1");
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 432);
    EXPECT_EQ(client.bottom, 334);
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_MAXIMIZEBOX);
    EXPECT_EQ(SendMessageW(ip->Handle(), EM_GETLIMITTEXT, 0, 0), 15);
    EXPECT_EQ(SendMessageW(step->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowVisible(memo->Handle()));
    delete form;
    EXPECT_EQ(TControl::LiveControls(), before);
}

struct BadDefinition {
    const char* what;
    const char* text;
    int line;
    const char* problem;
};

TEST_F(DefinitionTest, BadDefinitionsStopAtTheLineThatIsWrong) {
    const BadDefinition cases[] = {
        {"unknown class", "object F: TTestForm\n  object x: TNoSuchControl\n  end\nend\n", 2, "unknown class TNoSuchControl"},
        {"unknown property", "object F: TTestForm\n  Caption = 'a'\n  Colour = 5\nend\n", 3, "unknown property Colour of TTestForm"},
        {"no equals sign", "object F: TTestForm\n\n  Caption 'a'\nend\n", 3, "'=' expected"},
        {"unterminated string", "object F: TTestForm\n  Caption = 'abc\nend\n", 2, "unterminated string"},
        {"missing end", "object F: TTestForm\n  object b: TButton\n  end\n", 3, "'end' expected"},
        {"text after end", "object F: TTestForm\nend\nend\n", 3, "text after the last 'end'"},
        {"bad boolean", "object F: TTestForm\n  object b: TButton\n    Visible = Yes\n  end\nend\n", 3, "True or False"},
        {"string for integer", "object F: TTestForm\n  Left = '5'\nend\n", 2, "an integer value is expected"},
        {"bad integer", "object F: TTestForm\n  Left = 12x\nend\n", 2, "unexpected text"},
        {"integer too large", "object F: TTestForm\n  Left = 2147483648\nend\n", 2, "'2147483648' is not a valid integer value"},
        {"unknown handler", "object F: TTestForm\n  object b: TButton\n    OnClick = nobodyClick\n  end\nend\n", 3, "no event handler named nobodyClick"},
        {"unknown enum", "object F: TTestForm\n  BorderStyle = bsRound\nend\n", 2, "'bsRound' is not a valid value"},
        {"wrong root", "object F: TOtherForm\nend\n", 1, "not a TOtherForm"},
        {"missing reference", "object F: TTestForm\n  object l: TLabel\n    FocusControl = ghost\n  end\nend\n", 3, "no component named ghost"},
        {"control in a label", "object F: TTestForm\n  object l: TLabel\n    object b: TButton\n    end\n  end\nend\n", 3, "cannot hold the control b"},
        {"duplicate name", "object F: TTestForm\n  object b: TButton\n  end\n  object B: TEdit\n  end\nend\n", 4, "already exists"},
        {"empty", "\n  \n", 1, "empty"},
        {"comment line", "# a note\nobject F: TTestForm\nend\n", 1, "'object Name: Class' expected"},
        {"unclosed list", "object F: TTestForm\n  object m: TMemo\n    Lines = (\n      'a'\n", 4, "'end' expected"},
    };
    for (const auto& c : cases) {
        TTestForm form(nullptr);
        try {
            form.ReadDefinition(c.text);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.what << ": " << e.Message();
            EXPECT_NE(e.Message().find("line " + std::to_string(c.line) + ":"), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find(c.problem), std::string::npos) << c.what << ": " << e.Message();
        }
    }
}

TEST_F(DefinitionTest, StringsJoinPiecesAndCharacterCodes) {
    struct { const char* literal; const char* text; } cases[] = {
        {"'plain'", "plain"},
        {"'it''s'", "it's"},
        {"''", ""},
        {"'a'#13#10'b'", "a\r\nb"},
        {"'a' + 'b'", "ab"},
        {"#228'x'", "\xC3\xA4x"},           // a code point above ASCII becomes UTF-8
        {"'\xE2\x82\xAC'", "\xE2\x82\xAC"},  // UTF-8 text passes unchanged
    };
    for (const auto& c : cases) {
        TTestForm form(nullptr);
        form.ReadDefinition(std::string("object F: TTestForm\n  Caption = ") + c.literal + "\nend\n");
        EXPECT_EQ(form.Caption(), c.text) << c.literal;
    }
}

TEST_F(DefinitionTest, StoredTabOrdersTakeTheirPlacesOnceEverySiblingExists) {
    // Stored places: a 2, b 0, c none, d 9 (outside the six), e 0 (taken by b),
    // f 1. Placed: b, f, a at 0, 1, 2; c, d, e fill 3, 4, 5 in creation order.
    // The inner panel's children are ordered among themselves only.
    const char text[] =
        "object F: TTestForm\n"
        "  object a: TEdit\n    TabOrder = 2\n  end\n"
        "  object b: TEdit\n    TabOrder = 0\n  end\n"
        "  object c: TEdit\n  end\n"
        "  object d: TEdit\n    TabOrder = 9\n  end\n"
        "  object e: TPanel\n    TabOrder = 0\n"
        "    object e1: TEdit\n      TabOrder = 1\n    end\n"
        "    object e2: TEdit\n      TabOrder = 0\n    end\n"
        "  end\n"
        "  object f: TButton\n    TabOrder = 1\n  end\n"
        "end\n";
    TTestForm form(nullptr);
    form.ReadDefinition(text);
    const struct { const char* name; int order; } expected[] = {
        {"b", 0}, {"f", 1}, {"a", 2}, {"c", 3}, {"d", 4}, {"e", 5}, {"e2", 0}, {"e1", 1},
    };
    for (const auto& row : expected) EXPECT_EQ(form.Find<TWinControl>(row.name)->TabOrder(), row.order) << row.name;

    std::string walk;
    for (TWinControl* c : form.TabOrderList()) walk += c->Name() + " ";
    EXPECT_EQ(walk, "b f a c d e e2 e1 ");

    // Once loaded, a new tab order moves the control at once, clamped to the list.
    form.Find<TWinControl>("c")->SetTabOrder(0);
    form.Find<TWinControl>("b")->SetTabOrder(99);
    EXPECT_EQ(form.Find<TWinControl>("c")->TabOrder(), 0);
    EXPECT_EQ(form.Find<TWinControl>("f")->TabOrder(), 1);
    EXPECT_EQ(form.Find<TWinControl>("b")->TabOrder(), 5);
}

TEST_F(DefinitionTest, ColourNamesReadAsTheFrameworksColours) {
    const struct { const char* name; TColor color; } cases[] = {
        {"clNone", clNone},                 // the one "no colour" value: the transparent key
        {"clNone", 0xFF00FFu},
        {"clFuchsia", 0xFF00FFu},
        {"clBlack", 0x000000u},
        {"clWhite", 0xFFFFFFu},
        {"clRed", 0x0000FFu},
        {"clBtnFace", 0xFF000000u | COLOR_BTNFACE},
        {"clWindowText", 0xFF000000u | COLOR_WINDOWTEXT},
        {"clHighlight", 0xFF000000u | COLOR_HIGHLIGHT},
    };
    for (const auto& c : cases) {
        TTestForm form(nullptr);
        form.ReadDefinition(std::string("object F: TTestForm\n  Color = ") + c.name + "\n  Font.Color = " + c.name +
                            "\nend\n");
        EXPECT_EQ(form.Color(), c.color) << c.name;
        EXPECT_EQ(form.Font().Color(), c.color) << c.name;
    }
}

class TBrokenForm : public TForm {
public:
    explicit TBrokenForm(TComponent* owner) : TForm(owner) {
        ReadDefinition("object F: TBrokenForm\n  object b: TButton\n    Wdith = 5\n  end\nend\n");
    }
    std::string ClassName() const override { return "TBrokenForm"; }
};

TEST_F(DefinitionTest, ApplicationReportsABrokenDefinitionByLineAndStops) {
    TClassRegistry::Instance().RegisterClass<TBrokenForm>("TBrokenForm", "TForm", false);
    int controls = TControl::LiveControls();
    int forms = TForm::FormCount();
    testing::TMessageBoxAnswerer answer;
    Application().Initialize();
    TBrokenForm* form = Application().CreateForm<TBrokenForm>();
    ASSERT_TRUE(answer.WaitAnswered(5000));
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(answer.Text(), "Window definition, line 3: unknown property Wdith of TButton");
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(TControl::LiveControls(), controls);   // the half-built form is gone
    EXPECT_EQ(TForm::FormCount(), forms);
    Application().Initialize();
}

TEST_F(DefinitionTest, RunShowsTheMainFormAndEndsWhenItCloses) {
    Application().Initialize();
    auto* form = new TTestForm(nullptr);
    form->ReadDefinition(kDefinition);
    auto* other = new TForm(nullptr);
    Application().SetMainForm(form);
    EXPECT_GE(TForm::FormCount(), 2);
    bool seenVisible = false;
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->SetOnTimer([&](TObject*) {
        timer->SetEnabled(false);
        seenVisible = IsWindowVisible(form->Handle());
        Application().Minimize();
        Application().ProcessMessages();
        EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
        other->Close();   // not the main form: only hides
        EXPECT_FALSE(Application().Terminated());
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    });
    Application().Run();
    EXPECT_TRUE(seenVisible);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    delete other;
    delete form;
    EXPECT_EQ(Application().MainForm(), nullptr);
    Application().Initialize();
}

// A copy of this program with a definition and a bitmap added as resources,
// loaded as a data file: the way the launcher carries its main window.
TEST_F(DefinitionTest, ReadsTheDefinitionAndItsBitmapFromResources) {
    wchar_t self[MAX_PATH], dir[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    GetTempPathW(MAX_PATH, dir);
    std::wstring copy = std::wstring(dir) + L"korvel_gui_resources.exe";
    ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
    std::string definition =
        "object F: TTestForm\n  Caption = 'from a resource'\n  object logo: TImage\n"
        "    Picture = resource 'LOGO'\n  end\nend\n";
    // A 2x1 24-bit bitmap resource: the header and the pixel row of a DIB.
    std::string dib(40 + 8, '\0');
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = 2;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::memcpy(dib.data(), &header, sizeof(header));
    const unsigned char row[8] = {0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0};   // red, blue
    std::memcpy(dib.data() + 40, row, sizeof(row));
    HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(10), L"TESTFORM", 0, definition.data(), static_cast<DWORD>(definition.size())));
    ASSERT_TRUE(UpdateResourceW(update, MAKEINTRESOURCEW(2), L"LOGO", 0, dib.data(), static_cast<DWORD>(dib.size())));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    HMODULE module = LoadLibraryExW(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    {
        TTestForm form(nullptr);
        form.ReadDefinitionResource(module, "TESTFORM");
        EXPECT_EQ(form.Caption(), "from a resource");
        auto* logo = form.Find<TImage>("logo");
        ASSERT_NE(logo, nullptr);
        ASSERT_EQ(logo->Picture().Width(), 2);
        const std::uint8_t* pixels = logo->Picture().ScanLine(0);
        EXPECT_EQ(pixels[2], 0xFF);   // red
        EXPECT_EQ(pixels[3], 0xFF);   // blue
        EXPECT_THROW(form.ReadDefinitionResource(module, "NO_SUCH_FORM"), EInvalidOperation);
    }
    FreeLibrary(module);
    DeleteFileW(copy.c_str());
}

TEST_F(DefinitionTest, MissingResourceIsReported) {
    TTestForm form(nullptr);
    EXPECT_THROW(form.ReadDefinitionResource(GetModuleHandleW(nullptr), "NO_SUCH_FORM"), EInvalidOperation);
}

}  // namespace
}  // namespace korvel
