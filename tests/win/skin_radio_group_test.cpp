// Radio buttons in groups and group boxes, plain and skinned, driven by the
// real pointer and keyboard: one check per group moved by clicks and arrow
// keys, Tab entering a group at its checked button, the radio glyphs of every
// listed skin in each state, the group box's frame cut behind its caption,
// the plain controls without a section or an active skin, stored
// definitions, and a soak of hover, skin changes and creating and destroying.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/control_classes.h"
#include "controls/edit.h"
#include "controls/group_box.h"
#include "controls/panel.h"
#include "controls/radio_button.h"
#include "gui/cache_dc.h"
#include "gui/group_box.h"
#include "gui/radio_button.h"
#include "gui/text.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

namespace korvel {
namespace {

using testing::CaptureControl;
using testing::Differences;
using testing::Key;
using testing::kFormColor;
using testing::MovePointer;
using testing::PointerButton;

// Width and height of text in a font, measured on a screen DC by the platform.
SIZE TextExtent(TFont& font, const std::string& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font.Handle());
    SIZE size{};
    const std::wstring wide = Widen(text);
    GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

class RadioGroupTest : public testing::SkinnedControlTest {
protected:
    void SetUp() override {
        SkinnedControlTest::SetUp();
        host = NewHost(10, 10, 300, 200);
        for (int i = 0; i < 3; ++i) radios.push_back(NewRadio(host, 40, 20 + 34 * i, "Radio " + std::to_string(i)));
        other = NewHost(320, 10, 90, 200);
        for (int i = 0; i < 2; ++i) others.push_back(NewRadio(other, 5, 20 + 34 * i, "Other"));
        others[0]->SetChecked(true);
    }
    TsPanel* NewHost(int left, int top, int width, int height) {
        auto* panel = new TsPanel(form);
        panel->SkinData().SetSkinSection("GRADPANEL");
        panel->SetParent(form);
        panel->SetBounds(left, top, width, height);
        return panel;
    }
    // Owned by the form, or by owner (freed with it).
    TsRadioButton* NewRadio(TWinControl* parent, int left, int top, const std::string& caption, TComponent* owner = nullptr) {
        auto* r = new TsRadioButton(owner ? owner : form);
        r->SetParent(parent);
        r->SetBounds(left, top, 120, 30);
        r->SetCaption(caption);
        return r;
    }
    // Switches the manager to a listed skin (the shipped folders, or the internal one).
    void UseSkin(const std::string& name) {
        manager->SetSkinDirectory(testing::SourcePath("skins"));
        manager->SetSkinName(name);
        ASSERT_EQ(manager->SkinName(), name);
        ASSERT_TRUE(manager->SkinData().Active);
        testing::WaitFadesEnded();
        Application().ProcessMessages();
    }
    std::vector<bool> Checks(const std::vector<TsRadioButton*>& group) const {
        std::vector<bool> out;
        for (TsRadioButton* r : group) out.push_back(r->Checked());
        return out;
    }
    POINT GlyphCentre(TsRadioButton* r) const { return r->ClientToScreen({r->Margin() + 6, r->Height() / 2}); }
    void Click(TsRadioButton* r) {
        MovePointer(GlyphCentre(r));
        PointerButton(true);
        PointerButton(false);
    }
    void Press(WORD key) {
        Key(key, true);
        Key(key, false);
    }

    // The glyph mask of GLOBALINFO named name, and the glyph's size as the rule takes it.
    const TsMaskData* GlyphMask(const char* name) const {
        const TsSkinTables& t = Tables();
        const int index = t.MaskIndexOf(t.SectionIndexOf("GLOBALINFO"), "GLOBALINFO", name);
        EXPECT_TRUE(t.IsValidMaskIndex(index)) << name;
        return t.IsValidMaskIndex(index) ? &t.Masks[static_cast<std::size_t>(index)] : nullptr;
    }
    static SIZE GlyphSize(const TsMaskData& m) {
        if (m.Bmp) return {m.Bmp->Width() / 3, m.Bmp->Height() / 2};
        return {m.R.Width() / m.ImageCount, m.R.Height() / (m.MaskType + 1)};
    }
    // The radio's glyph side as the painting core composes it: its section at the
    // background state over the host's face, the glyph of mask in glyphState, and
    // the disabled blend for a disabled button.
    TBitmap24 ExpectedGlyphSide(TsRadioButton* r, const char* mask, int backgroundState, int glyphState) {
        TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
        TBitmap24 face = ExpectedFace("RADIOBUTTON", *r, TParentBackground{&hostFace, 0, 0, true}, kFormColor, true,
                                      backgroundState);
        if (const TsMaskData* m = GlyphMask(mask)) {
            const SIZE g = GlyphSize(*m);
            DrawSkinGlyph(face, TPoint{r->Margin(), (r->Height() - g.cy) / 2}, glyphState, Tables(), *m, 1);
        }
        if (!r->Enabled())
            DisabledLook(face, dkBlended, ColorToRGB(r->Color()), TPoint{r->Left(), r->Top()},
                         TParentBackground{&hostFace, 0, 0, true});
        return face;
    }
    // Pixels that differ left of where the caption (and its focus frame) starts.
    int GlyphSideDifferences(TsRadioButton* r, const char* mask, int backgroundState, int glyphState, std::string& first) {
        const TBitmap24 expected = ExpectedGlyphSide(r, mask, backgroundState, glyphState);
        const TsMaskData* m = GlyphMask(mask);
        const int glyphWidth = m ? GlyphSize(*m).cx : 16;
        const RECT caption{glyphWidth + r->TextIndent() + r->Margin() + 4 - 3, 0, r->Width(), r->Height()};
        testing::PumpWhileNot([&] {
            std::string ignored;
            return Differences(CaptureControl(*r), expected, ignored, {caption}) == 0;
        });
        return Differences(CaptureControl(*r), expected, first, {caption});
    }

    TsPanel* host = nullptr;
    TsPanel* other = nullptr;
    std::vector<TsRadioButton*> radios;
    std::vector<TsRadioButton*> others;
};

TEST_F(RadioGroupTest, ClicksAndArrowKeysMoveTheOneCheckOfTheGroupSkinnedAndPlain) {
    struct TStep {
        const char* What;
        std::function<void()> Act;
        std::vector<bool> Checked;
        int Focused;   // index of the radio with the focus
    };
    for (const bool skinned : {true, false}) {
        SCOPED_TRACE(skinned ? "skinned" : "plain");
        if (!skinned) manager->SetActive(false);
        for (TsRadioButton* r : radios) r->SetChecked(false);
        radios[1]->SetEnabled(true);
        ShowForm();
        ASSERT_EQ(radios[0]->SkinData().IsSkinned(true), skinned);
        const TStep steps[] = {
            {"click the third", [&] { Click(radios[2]); }, {false, false, true}, 2},
            {"down wraps to the first", [&] { Press(VK_DOWN); }, {true, false, false}, 0},
            {"up wraps to the last", [&] { Press(VK_UP); }, {false, false, true}, 2},
            {"left to the second", [&] { Press(VK_LEFT); }, {false, true, false}, 1},
            {"right to the third", [&] { Press(VK_RIGHT); }, {false, false, true}, 2},
            {"click the first", [&] { Click(radios[0]); }, {true, false, false}, 0},
            {"a disabled one is passed over", [&] { radios[1]->SetEnabled(false); Press(VK_DOWN); }, {false, false, true}, 2},
            {"set by the program", [&] { radios[1]->SetEnabled(true); radios[1]->SetChecked(true); }, {false, true, false}, 2},
        };
        for (const TStep& s : steps) {
            s.Act();
            Application().ProcessMessages();
            EXPECT_EQ(Checks(radios), s.Checked) << s.What;
            EXPECT_TRUE(radios[static_cast<std::size_t>(s.Focused)]->Focused()) << s.What;
            EXPECT_EQ(Checks(others), (std::vector<bool>{true, false})) << s.What << ": another parent, another group";
            // The checked button is the group's only tab stop.
            for (std::size_t i = 0; i < radios.size(); ++i) EXPECT_EQ(radios[i]->TabStop(), s.Checked[i]) << s.What << " " << i;
            if (!skinned) {   // the native buttons show the framework's state
                for (std::size_t i = 0; i < radios.size(); ++i)
                    EXPECT_EQ(SendMessageW(radios[i]->Handle(), BM_GETCHECK, 0, 0), s.Checked[i] ? BST_CHECKED : BST_UNCHECKED)
                        << s.What << " " << i;
            }
        }
    }
}

TEST_F(RadioGroupTest, TabEntersAGroupAtItsCheckedButtonOrItsFirstWhileNoneIsChecked) {
    auto* edit = new TsEdit(form);
    edit->SetParent(host);
    edit->SetBounds(170, 20, 100, 21);
    edit->SetTabOrder(0);
    struct TCase { int checked; int entered; };
    const TCase cases[] = {{1, 1}, {2, 2}, {-1, 0}};
    ShowForm();
    for (const TCase& c : cases) {
        for (TsRadioButton* r : radios) r->SetChecked(false);
        if (c.checked >= 0) radios[static_cast<std::size_t>(c.checked)]->SetChecked(true);
        edit->SetFocus();
        Application().ProcessMessages();
        Press(VK_TAB);
        TsRadioButton* entered = radios[static_cast<std::size_t>(c.entered)];
        EXPECT_TRUE(entered->Focused()) << c.checked;
        // Entering changes no check; the space bar checks the button with the focus.
        EXPECT_EQ(entered->Checked(), c.checked >= 0) << c.checked;
        Press(VK_SPACE);
        EXPECT_TRUE(entered->Checked()) << c.checked;
        const std::vector<bool> checks = Checks(radios);
        EXPECT_EQ(std::count(checks.begin(), checks.end(), true), 1) << c.checked;
        Press(VK_TAB);   // and the next Tab leaves the group
        for (TsRadioButton* r : radios) EXPECT_FALSE(r->Focused()) << c.checked;
    }
}

TEST_F(RadioGroupTest, GlyphsAreTheSkinsRadioMasksInEveryStateInEveryListedSkin) {
    radios[1]->SetChecked(true);
    radios[2]->SetChecked(false);
    auto* disabled = NewRadio(host, 40, 140, "Disabled");
    disabled->SetEnabled(false);
    for (const testing::TListedSkin& skin : testing::ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        UseSkin(skin.Name);
        ShowForm();
        radios[1]->SetChecked(true);
        Application().ProcessMessages();
        struct TStep {
            const char* What;
            std::function<void()> Act;
            TsRadioButton* Radio;
            const char* Mask;
            int Background, Glyph;
        };
        const TStep steps[] = {
            {"unchecked", [] {}, radios[0], "RADIOUNCHECKED", 0, 0},
            {"checked", [] {}, radios[1], "RADIOCHECKED", 0, 0},
            {"disabled unchecked", [] {}, disabled, "RADIOUNCHECKED", 0, 0},
            {"hot", [&] { MovePointer(GlyphCentre(radios[0])); }, radios[0], "RADIOUNCHECKED", 1, 1},
            {"pressed", [] { PointerButton(true); }, radios[0], "RADIOUNCHECKED", 1, 2},
            {"released: checked", [] { PointerButton(false); }, radios[0], "RADIOCHECKED", 1, 1},
            {"the other unchecked", [] {}, radios[1], "RADIOUNCHECKED", 0, 0},
            {"disabled checked", [&] { disabled->SetChecked(true); }, disabled, "RADIOCHECKED", 0, 0},
        };
        for (const TStep& s : steps) {
            s.Act();
            testing::WaitFadesEnded();
            Application().ProcessMessages();
            std::string first;
            EXPECT_EQ(GlyphSideDifferences(s.Radio, s.Mask, s.Background, s.Glyph, first), 0) << s.What << ": " << first;
        }
        EXPECT_FALSE(radios[1]->Checked());
        disabled->SetChecked(false);
        radios[1]->SetChecked(true);   // the next skin starts as this one did
        // The pointer leaves before the focus does: a button that loses the focus
        // stops being hot, and it is not entered again while the pointer stays.
        MovePointer({5, 5});
        testing::PumpUntil([] { return TControl::MouseControl() == nullptr; }, "the pointer to leave the form");
        ::SetFocus(form->Handle());
    }
}

TEST_F(RadioGroupTest, GroupBoxCutsItsFrameBehindACaptionAsWideAsTheText) {
    for (TsRadioButton* r : radios) r->SetVisible(false);
    auto* group = new TsGroupBox(form);
    group->SetParent(host);
    group->SetBounds(20, 20, 250, 120);
    const std::string captions[] = {"A", "Line speed", "Transfer settings of the seed device"};
    for (const testing::TListedSkin& skin : testing::ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        UseSkin(skin.Name);
        ShowForm();
        const TsSkinTables& t = Tables();
        const int section = SectionIndex("GROUPBOX");
        ASSERT_GE(section, 0);
        const int border = t.MaskIndexOf(section, "GROUPBOX", "BORDERSMASK");
        ASSERT_TRUE(t.IsValidMaskIndex(border));
        const TsMaskData& mask = t.Masks[static_cast<std::size_t>(border)];
        TMaskImage image;
        ASSERT_TRUE(GetMaskImage(t, mask, image));
        for (const std::string& caption : captions) {
            SCOPED_TRACE(caption);
            group->SetCaption(caption);
            Application().ProcessMessages();
            TFont font;
            font.Assign(group->Font());
            const SIZE line = TextExtent(font, "W");
            const SIZE text = TextExtent(font, caption);
            // The caption 8 pixels in, the frame's top through the middle of its line,
            // the gap 2 pixels wider than the text on each side.
            const int frameTop = line.cy / 2;
            const RECT gap{6, 0, 8 + text.cx + 2, std::max<int>(line.cy, frameTop + image.RowHeight)};
            const TGroupCaptionPlace place = group->CaptionPlace();
            EXPECT_EQ(place.FrameTop, frameTop);
            EXPECT_EQ(place.Gap.left, gap.left);
            EXPECT_EQ(place.Gap.right, gap.right);

            // The section's background over the host's face, the frame from frameTop
            // down with its key pixels showing that background, the gap left as the
            // background was, the caption in the section's colours.
            const int w = group->Width(), h = group->Height();
            TBitmap24 hostFace = ExpectedFace("GRADPANEL", *host, {}, kFormColor, false);
            TItemSource s;
            s.Tables = &t;
            s.SkinIndex = section;
            s.HasParent = true;
            s.ParentColor = kFormColor;
            s.ParentControlColor = [] { return kFormColor; };
            TBitmap24 expected(w, h);
            PaintItem(s, TParentBackground{&hostFace, 0, 0, true}, true, expected, TPoint{group->Left(), group->Top()},
                      TRect{0, 0, w, h}, 0);
            TBitmap24 background = expected.Clone();
            DrawSkinRect(expected, TRect{0, frameTop, w, h}, false, TParentBackground{&background, 0, 0, true}, 0, t, mask);
            TBitmap24 uncut = expected.Clone();
            for (int y = gap.top; y < gap.bottom; ++y)
                for (int x = gap.left; x < gap.right; ++x) expected.SetPixel(x, y, background.Pixel(x, y));
            {
                TCacheDC dc(expected);
                TGdiTextCanvas canvas(dc.Handle(), font.Handle(), ColorToRGB(group->Font().Color()));
                TRect r{8, 0, 8 + text.cx, line.cy};
                WriteTextEx(canvas, caption, true, false, TTextSource{&t, section, false}, dtSingleLine | dtNoPrefix, r);
            }
            ExpectScreen(group, expected, "group box");
            // The gap is there to see: the uncut frame differs inside it.
            std::string where;
            EXPECT_GT(Differences(uncut, background, where, {RECT{0, gap.bottom, w, h}, RECT{gap.right, 0, w, gap.bottom},
                                                            RECT{0, 0, gap.left, gap.bottom}}),
                      0)
                << "the frame's top edge runs where the caption cuts it";
        }
    }
}

TEST_F(RadioGroupTest, WithoutAnActiveSkinOrTheSectionsTheyAreThePlainControls) {
    auto* group = new TsGroupBox(form);
    group->SetParent(host);
    group->SetBounds(170, 20, 120, 100);
    group->SetCaption("Parity");
    const std::string bare = testing::WriteFolderSkin("radio", "Bare", {"[GLOBALINFO]", "COLOR=8421504", "[PANEL]",
                                                                         "COLOR=12632256"});
    struct TCase {
        const char* What;
        std::function<void()> Unskin;
    };
    const TCase cases[] = {
        {"manager inactive", [&] { manager->SetActive(false); }},
        {"skin without the sections", [&] {
             manager->SetActive(true);
             manager->SetSkinDirectory(bare);
             manager->SetSkinName("Bare");
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        radios[0]->SetChecked(true);
        c.Unskin();
        ShowForm();
        EXPECT_FALSE(radios[0]->SkinData().IsSkinned(false));
        EXPECT_FALSE(group->SkinData().IsSkinned(false));
        // The native radio buttons: their own check marks, moved by their own clicks.
        EXPECT_EQ(SendMessageW(radios[0]->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
        const LONG style = GetWindowLongW(radios[0]->Handle(), GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_RADIOBUTTON);
        testing::PassDoubleClickTime();   // the last case clicked here too: this is no double click
        Click(radios[2]);
        EXPECT_EQ(Checks(radios), (std::vector<bool>{false, false, true}));
        EXPECT_EQ(SendMessageW(radios[0]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_EQ(SendMessageW(radios[2]->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
        // The plain group box: an etched frame (shadow over highlight) whose top line
        // stops at the caption's gap, which shows the box's colour.
        TFont font;
        font.Assign(group->Font());
        const int frameTop = TextExtent(font, "W").cy / 2;
        const int gapRight = 8 + TextExtent(font, "Parity").cx + 2;
        const TBitmap24 shot = CaptureControl(*group);
        const TColor face = ColorToRGB(group->Color());
        struct TPixel { int x, y; TColor want; };
        const TPixel pixels[] = {
            {gapRight + 4, frameTop, ColorToRGB(clBtnShadow)},
            {gapRight + 4, frameTop + 1, ColorToRGB(clBtnHighlight)},
            {3, frameTop, ColorToRGB(clBtnShadow)},
            {5, frameTop, ColorToRGB(clBtnShadow)},
            {6, frameTop, face},
            {gapRight - 1, frameTop, face},
            {gapRight, frameTop, ColorToRGB(clBtnShadow)},
            {group->Width() / 2, group->Height() - 2, ColorToRGB(clBtnShadow)},
        };
        for (const TPixel& p : pixels)
            EXPECT_EQ(testing::Hex(shot.Pixel(p.x, p.y)), testing::Hex(p.want)) << p.x << "," << p.y;
    }
}

TEST(RadioGroupDefinitions, StoredGroupsKeepOneCheckAndOneTabStopPlainAndSkinned) {
    RegisterSkinnedControlClasses();
    TForm form(nullptr);
    form.ReadDefinition(
        "object Form1: TForm\n"
        "  object grpPlain: TGroupBox\n"
        "    Caption = 'Plain'\n"
        "    object rdoA: TRadioButton\n"
        "      Caption = 'A'\n"
        "    end\n"
        "    object rdoB: TRadioButton\n"
        "      Caption = 'B'\n"
        "      Checked = True\n"
        "    end\n"
        "    object rdoC: TRadioButton\n"
        "      Caption = 'C'\n"
        "      Checked = True\n"
        "      Alignment = taLeftJustify\n"
        "    end\n"
        "  end\n"
        "  object grpSkinned: TsGroupBox\n"
        "    Caption = 'Skinned'\n"
        "    object rdoD: TsRadioButton\n"
        "      Caption = 'D'\n"
        "    end\n"
        "    object rdoE: TsRadioButton\n"
        "      Caption = 'E'\n"
        "      Checked = True\n"
        "      ReadOnly = True\n"
        "    end\n"
        "    object rdoF: TsRadioButton\n"
        "      Caption = 'F'\n"
        "      Checked = True\n"
        "    end\n"
        "  end\n"
        "end\n");
    struct TCase {
        const char* Group;
        const char* Names[3];
        const char* GroupClass;
        const char* RadioClass;
    };
    const TCase cases[] = {{"grpPlain", {"rdoA", "rdoB", "rdoC"}, "TGroupBox", "TRadioButton"},
                           {"grpSkinned", {"rdoD", "rdoE", "rdoF"}, "TsGroupBox", "TsRadioButton"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Group);
        auto* group = dynamic_cast<TWinControl*>(form.FindComponent(c.Group));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->ClassName(), c.GroupClass);
        std::vector<TCheckBox*> r;
        for (const char* name : c.Names) {
            r.push_back(dynamic_cast<TCheckBox*>(form.FindComponent(name)));
            ASSERT_NE(r.back(), nullptr) << name;
            EXPECT_EQ(r.back()->ClassName(), c.RadioClass);
            EXPECT_EQ(r.back()->Parent(), group);
            EXPECT_EQ(r.back()->TabStop(), r.back()->Checked()) << name;
        }
        // Two were stored as checked: the first one read keeps the check.
        EXPECT_TRUE(r[1]->Checked());
        EXPECT_FALSE(r[2]->Checked());
        r[2]->SetChecked(true);
        EXPECT_FALSE(r[1]->Checked());
        EXPECT_TRUE(r[2]->TabStop());
        EXPECT_FALSE(r[1]->TabStop());
    }
    // The caption's side is the native button's too: a left-justified radio has its text on the left.
    auto* left = dynamic_cast<TRadioButton*>(form.FindComponent("rdoC"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(GetWindowLongW(left->Handle(), GWL_STYLE) & (BS_TYPEMASK | BS_LEFTTEXT), BS_RADIOBUTTON | BS_LEFTTEXT);
    auto* skinnedGroup = dynamic_cast<TsGroupBox*>(form.FindComponent("grpSkinned"));
    auto* skinnedRadio = dynamic_cast<TsRadioButton*>(form.FindComponent("rdoE"));
    ASSERT_NE(skinnedGroup, nullptr);
    ASSERT_NE(skinnedRadio, nullptr);
    EXPECT_EQ(skinnedGroup->SkinData().SkinSection(), "GROUPBOX");
    EXPECT_EQ(skinnedGroup->SkinData().ControlCode, ccGroupBox);
    EXPECT_EQ(skinnedRadio->SkinData().SkinSection(), "RADIOBUTTON");
    EXPECT_EQ(skinnedRadio->SkinData().ControlCode, ccRadioButton);
    EXPECT_TRUE(skinnedRadio->ReadOnly());
}

TEST_F(RadioGroupTest, SoakOfHoverSkinChangesAndNewGroupsLeavesTheCountsWhereTheyWere) {
    const std::vector<testing::TListedSkin> skins = testing::ListedSkins();
    const std::vector<int> chain = testing::EveryOrderedPairChain(static_cast<int>(skins.size()));
    ShowForm();
    const auto round = [&] {
        auto* group = new TsGroupBox(form);
        group->SetParent(host);
        group->SetBounds(150, 10, 140, 120);
        group->SetCaption("Soak");
        std::vector<TsRadioButton*> inner;
        for (int i = 0; i < 3; ++i) inner.push_back(NewRadio(group, 10, 20 + 30 * i, "In " + std::to_string(i), group));
        Application().ProcessMessages();
        for (int step : chain) {
            UseSkin(skins[static_cast<std::size_t>(step)].Name);
            for (TsRadioButton* r : inner) {
                MovePointer(GlyphCentre(r));
                Application().ProcessMessages();
            }
            Click(inner[static_cast<std::size_t>(step) % inner.size()]);
            testing::WaitFadesEnded();
        }
        MovePointer({5, 5});
        delete group;   // and the radio buttons in it
        Application().ProcessMessages();
    };
    round();   // warm-up: caches, fonts and pictures that live on
    const testing::TCounts before = testing::Count();
    for (int i = 0; i < 3; ++i) round();
    const testing::TCounts after = testing::Count();
    testing::PrintCounts("radio and group soak", before, after);
    testing::ExpectSameCounts(before, after);
}

}  // namespace
}  // namespace korvel
