// The skinned labels: their text colour from the skin's GLOBALINFO section,
// the web-address label that keeps its own black underlined font, the disabled
// text mixed toward the parent's colour, the layouts, the mouse events, and
// the colours once the skin is removed.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/bound_label.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::MovePointer;

constexpr TColor kGlobalText = 0x00B03010;   // every channel different

// Each channel 0.4 x font + 0.6 x background, rounded to nearest with ties to even.
TColor Mixed(TColor font, TColor background) {
    const auto channel = [](int f, int b) { return static_cast<int>(std::nearbyint(0.4 * f + 0.6 * b)); };
    return MakeColor(channel(RedOf(font), RedOf(background)), channel(GreenOf(font), GreenOf(background)),
                     channel(BlueOf(font), BlueOf(background)));
}

int CountColour(const TBitmap24& image, TColor colour) {
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == colour;
    return n;
}

class LabelTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        host = new TsPanel(form);
        host->SkinData().SetSkinSection("GRADPANEL");
        host->SetParent(form);
        host->SetBounds(10, 10, 360, 260);
        SetGlobalText(kGlobalText);
    }
    TsGeneralData& GlobalInfo() {
        return manager->Tables().Sections.at(static_cast<std::size_t>(manager->Tables().SectionIndexOf("GLOBALINFO")));
    }
    void SetGlobalText(TColor colour) { GlobalInfo().FontColor[fcText] = static_cast<std::int32_t>(colour); }
    template <class T>
    T* AddLabel(int left, int top, const std::string& caption) {
        auto* label = new T(form);
        label->SetParent(host);
        label->SetLeft(left);
        label->SetTop(top);
        label->SetCaption(caption);
        label->SetParentFont(false);
        label->Font().SetName("MS Sans Serif");
        label->Font().SetHeight(-11);
        label->Font().SetColor(clBlack);
        return label;
    }
    TsPanel* host = nullptr;
};

TEST_F(LabelTest, SkinnedLabelsTakeGlobalInfosTextColourAndTheWebAddressKeepsItsOwn) {
    auto* caption = AddLabel<TsLabel>(20, 20, "IP Address:");
    auto* custom = AddLabel<TsCustomLabel>(20, 50, "Config File:");
    auto* web = AddLabel<TsLabel>(20, 80, "kvl.example");
    web->SetUseSkinColor(false);
    web->Font().SetStyle(fsUnderline);
    ShowForm();
    struct Case { const char* name; TsCustomLabel* label; TColor colour; };
    const Case cases[] = {{"caption", caption, kGlobalText}, {"custom", custom, kGlobalText}, {"web", web, clBlack}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.label->Font().Color(), c.colour) << c.name;
        const TBitmap24 shot = CaptureControl(*c.label);
        EXPECT_GT(CountColour(shot, c.colour), 20) << c.name;
        EXPECT_EQ(CountColour(shot, c.colour == clBlack ? kGlobalText : TColor(clBlack)), 0) << c.name;
    }
    // The underline: one row black across most of the text.
    const TBitmap24 shot = CaptureControl(*web);
    int longest = 0;
    for (int y = 0; y < shot.Height(); ++y) longest = std::max(longest, [&] {
        int n = 0;
        for (int x = 0; x < shot.Width(); ++x) n += shot.Pixel(x, y) == clBlack;
        return n;
    }());
    EXPECT_GE(longest, web->Width() * 8 / 10);
}

TEST_F(LabelTest, RecolouringWhilePaintingNeitherLaysOutNorPaintsAgain) {
    auto* label = AddLabel<TsLabel>(20, 20, "IP Address:");
    ShowForm();
    int paints = 0;
    label->HookWindowProc(&paints, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == WM_PAINT) ++paints;
        next(m);
    });
    const RECT bounds = label->BoundsRect();
    label->Font().SetColor(clBlack);   // asks for one paint, which recolours it
    Application().ProcessMessages();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(label->Font().Color(), kGlobalText);
    const RECT after = label->BoundsRect();
    EXPECT_TRUE(EqualRect(&bounds, &after));
    label->UnhookWindowProc(&paints);
}

TEST_F(LabelTest, WithoutAUsableGlobalColourLabelsKeepTheirOwn) {
    auto* label = AddLabel<TsLabel>(20, 20, "IP Address:");
    label->Font().SetColor(0x00206020);
    struct Case { const char* what; std::function<void()> change; };
    const Case cases[] = {
        {"no colour", [&] { SetGlobalText(clNone); }},
        {"no GLOBALINFO", [&] { GlobalInfo().SectionName = "NOT GLOBALINFO"; }},
    };
    for (const Case& c : cases) {
        c.change();
        ShowForm();
        EXPECT_EQ(label->Font().Color(), 0x00206020u) << c.what;
        EXPECT_GT(CountColour(CaptureControl(*label), 0x00206020), 20) << c.what;
    }
}

TEST_F(LabelTest, DisabledTextIsTheFontMixedWithTheParentsColour) {
    std::vector<std::string> sections = testing::TestSections();
    for (const char* line : {"[WHITEPANEL]", "COLOR=16777215", "TRANSPARENCY=0", "GRADIENTPERCENT=0"}) sections.push_back(line);
    manager->SetCommonSections(sections);
    manager->SetSkinName("Elegant (internal)");   // reloads with the new section
    SetGlobalText(clBlack);
    auto* white = new TsPanel(form);
    white->SkinData().SetSkinSection("WHITEPANEL");
    white->SetParent(form);
    white->SetBounds(10, 10, 200, 100);
    auto* label = new TsLabel(form);
    label->SetParent(white);
    label->SetBounds(20, 20, 10, 10);
    label->SetCaption("Disabled text");
    label->Font().SetColor(clBlack);
    label->SetEnabled(false);
    ShowForm();
    const TBitmap24 shot = CaptureControl(*label);
    EXPECT_EQ(Mixed(clBlack, clWhite), MakeColor(153, 153, 153));
    EXPECT_GT(CountColour(shot, MakeColor(153, 153, 153)), 20);
    EXPECT_EQ(CountColour(shot, clBlack), 0);

    // Over a coloured parent, in the skin's text colour: every channel mixes on its own.
    SetGlobalText(kGlobalText);
    label->SetParent(host);
    label->SetTop(150);   // clear of the white panel, which lies above the host
    ShowForm();
    const TColor expected = Mixed(kGlobalText, Section("GRADPANEL").Color);
    EXPECT_GT(CountColour(CaptureControl(*label), expected), 20);
}

TEST_F(LabelTest, LayoutPlacesTheTextAtTheTopCentreOrBottom) {
    struct Case { TTextLayout layout; int part; };   // part of the free height above the text, in halves
    const Case cases[] = {{TTextLayout::tlTop, 0}, {TTextLayout::tlCenter, 1}, {TTextLayout::tlBottom, 2}};
    for (const Case& c : cases) {
        auto* label = AddLabel<TsLabel>(20, 20, "Wg");
        label->SetAutoSize(false);
        label->SetBounds(20, 20, 60, 60);
        label->SetLayout(c.layout);
        ShowForm();
        TFont font;
        font.Assign(label->Font());
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, font.Handle());
        SIZE text{};
        GetTextExtentPoint32W(screen, L"Wg", 2, &text);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        const int top = (60 - text.cy) * c.part / 2;
        const TBitmap24 shot = CaptureControl(*label);
        int first = -1, last = -1;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.Pixel(x, y) == kGlobalText) {
                    if (first < 0) first = y;
                    last = y;
                }
        EXPECT_GE(first, top) << int(c.layout);
        EXPECT_LT(last, top + text.cy) << int(c.layout);
        delete label;
    }
}

TEST_F(LabelTest, MouseEnterAndLeaveReachTheirEvents) {
    auto* label = AddLabel<TsLabel>(20, 20, "Hover me");
    std::vector<std::string> events;
    label->OnMouseEnter = [&](TObject* sender) { events.push_back(sender == label ? "enter" : "?"); };
    label->OnMouseLeave = [&](TObject* sender) { events.push_back(sender == label ? "leave" : "?"); };
    ShowForm();
    MovePointer(label->ClientToScreen({label->Width() / 2, label->Height() / 2}));
    MovePointer(host->ClientToScreen({300, 200}));
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(LabelTest, RemovingTheSkinGivesWindowTextToLabelsThatFollowIt) {
    auto* caption = AddLabel<TsLabel>(20, 20, "IP Address:");
    auto* custom = AddLabel<TsCustomLabel>(20, 50, "Config File:");
    auto* web = AddLabel<TsLabel>(20, 80, "kvl.example");
    web->SetUseSkinColor(false);
    ShowForm();
    manager->SetActive(false);
    ShowForm();
    EXPECT_EQ(caption->Font().Color(), clWindowText);
    EXPECT_EQ(custom->Font().Color(), clWindowText);
    EXPECT_EQ(web->Font().Color(), clBlack);
    // No skin: the font is not recoloured any more.
    caption->Font().SetColor(0x00206020);
    ShowForm();
    EXPECT_EQ(caption->Font().Color(), 0x00206020u);
}

TEST_F(LabelTest, TheBoundLabelOfAnEditIsASkinnedLabel) {
    auto* edit = new TEdit(form);
    edit->SetName("rootgenip");
    edit->SetParent(host);
    edit->SetBounds(100, 40, 97, 21);
    TsBoundLabel bound(edit);
    bound.SetActive(true);
    ASSERT_NE(bound.Label(), nullptr);
    TsLabel* label = bound.Label();
    ShowForm();
    EXPECT_EQ(label->Font().Color(), kGlobalText);
    delete bound.Label();
    EXPECT_EQ(bound.Label(), nullptr);
}

TEST(LabelDefinition, StoredSettings) {
    RegisterLabelClasses();
    TForm form(nullptr);
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object plain: TsLabel\n"
        "  end\n"
        "  object web: TsLabel\n"
        "    UseSkinColor = False\n"
        "    Layout = tlBottom\n"
        "  end\n"
        "end\n");
    auto* plain = dynamic_cast<TsLabel*>(form.FindComponent("plain"));
    auto* web = dynamic_cast<TsLabel*>(form.FindComponent("web"));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(web, nullptr);
    EXPECT_TRUE(plain->UseSkinColor());
    EXPECT_TRUE(plain->Transparent());
    EXPECT_TRUE(plain->AutoSize());
    EXPECT_TRUE(plain->ShowAccelChar());
    EXPECT_FALSE(plain->WordWrap());
    EXPECT_EQ(plain->Layout(), TTextLayout::tlTop);
    EXPECT_FALSE(web->UseSkinColor());
    EXPECT_EQ(web->Layout(), TTextLayout::tlBottom);
}

}  // namespace
}  // namespace korvel
