// The skinned combo box under real input: the button opens the list and shows
// pressed while it is open; the mouse, the arrow keys with Enter choose an item
// (the text changes and OnChange is raised once); Escape and a click elsewhere
// close it without change. The face and the button in every listed skin against
// the painting core; the open list's items in the skin's colours; the plain
// native control without a section or an active manager; a soak.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/combo_box.h"
#include "engine/skin_manager.h"
#include "gui/exceptions.h"
#include "gui_input_support.h"
#include "live_counts_support.h"
#include "paint/blend.h"
#include "skin_list_support.h"
#include "skinned_control_support.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

const std::vector<std::string> kItems = {"Alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot"};

struct TKind {
    const char* Name;
    TComboBoxStyle Style;
};
const TKind kKinds[] = {{"edit kind", TComboBoxStyle::csDropDown}, {"list kind", TComboBoxStyle::csDropDownList}};

class ComboBoxTest : public SkinnedControlTest {
protected:
    // GRADCOMBO: a face whose hot look differs from its normal one (the shipped
    // combo sections look the same in both), a gradient down, hot one across;
    // FADECOMBO: the same, fading in 30 steps (longer than a pointer move waits).
    void SetUp() override {
        SkinnedControlTest::SetUp();
        std::vector<std::string> sections = TestSections();
        for (const char* line : {"[GRADCOMBO]", "PARENTCLASS=COMBOBOX", "GRADIENTPERCENT=100", "HOTGRADIENTPERCENT=100",
                                 "GRADIENTDATA=16711680;255;100;0;0;255;255;0;0;0",
                                 "HOTGRADIENTDATA=65280;16711935;100;1;0;16711935;16711935;0;1;0",
                                 "[FADECOMBO]", "PARENTCLASS=GRADCOMBO", "FADINGENABLED=TRUE", "FADINGITERATIONS=30"})
            sections.push_back(line);
        manager->SetCommonSections(sections);
        ASSERT_TRUE(Tables().IsValidSectionIndex(SectionIndex("GRADCOMBO")));
    }
    TsComboBox* AddCombo(TComboBoxStyle style, int top, const std::vector<std::string>& items = kItems) {
        auto* c = AddControl<TsComboBox>(form, 20, top, 160, 21);
        c->SetStyle(style);
        c->Items().Assign(items);
        c->SetItemIndex(0);
        c->OnChange = [this](TObject*) { ++changes; };
        return c;
    }
    // The centre of the drop-down button, and of an item's row in the open list, on the screen.
    POINT ButtonCentre(TsComboBox* c) {
        const RECT r = c->ButtonRect();
        return c->ClientToScreen({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    POINT RowCentre(TsComboBox* c, int index) {
        RECT r{};
        SendMessageW(c->ListHandle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(c->ListHandle(), &p);
        return p;
    }
    void Focus(TsComboBox* c) {
        c->SetFocus();
        Application().ProcessMessages();
    }

    // The skin's look of the face and the button, composed by the painting core
    // from the sections found by name: the combo's own (COMBOBOX) at the face's state, over the
    // form's colour; SCROLLBTNBOTTOM at the button's state over the face in the
    // native control's button rectangle, its arrow glyph (else the button's) centred on it;
    // the disabled look; the frame's corners showing the form.
    TBitmap24 ExpectedLook(TsComboBox* c, int faceState, int buttonState) {
        const TsSkinTables& t = Tables();
        const int w = c->Width(), h = c->Height();
        const std::string section = c->SkinData.SkinSection();
        TItemSource s;
        s.Tables = &t;
        s.SkinIndex = SectionIndex(section);
        s.BorderIndex = t.MaskIndexOf(s.SkinIndex, section, "BORDERSMASK");
        s.HasParent = true;
        s.ParentColor = kFormColor;
        s.NeedsParentRepaint = false;
        s.ParentControlColor = [] { return kFormColor; };
        TBitmap24 out(w, h);
        PaintItem(s, TParentBackground{}, true, out, TPoint{c->Left(), c->Top()}, TRect{0, 0, w, h}, faceState);
        const RECT r = c->ButtonRect();
        const int bw = r.right - r.left, bh = r.bottom - r.top;
        const int button = SectionIndex("SCROLLBTNBOTTOM");
        if (t.IsValidSectionIndex(button)) {
            TBitmap24 piece(bw, bh);
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x) piece.SetPixel(x, y, out.Pixel(r.left + x, r.top + y));
            PaintSection(button, TParentBackground{&out, 0, 0, true}, &t, piece, {r.left, r.top}, {0, 0, bw, bh},
                         buttonState, true);
            for (int y = 0; y < bh; ++y)
                for (int x = 0; x < bw; ++x) out.SetPixel(r.left + x, r.top + y, piece.Pixel(x, y));
        }
        int glyph = t.MaskIndexOf(s.SkinIndex, section, "GLYPHMASK");
        if (!t.IsValidMaskIndex(glyph)) glyph = t.MaskIndexOf(button, "SCROLLBTNBOTTOM", "GLYPHMASK");
        if (t.IsValidMaskIndex(glyph)) {
            const TsMaskData& m = t.Masks[static_cast<std::size_t>(glyph)];
            // A picture of its own holds three frames over their transparency.
            const int fw = m.Bmp ? m.R.Width() / 3 : m.R.Width() / m.ImageCount;
            const int fh = m.Bmp ? m.R.Height() / 2 : m.R.Height() / (m.MaskType + 1);
            DrawSkinGlyph(out, {r.left + (bw - fw) / 2, r.top + (bh - fh) / 2}, buttonState, t, m, 1);
        }
        if (!c->Enabled()) DisabledLook(out, dkBlended, ColorToRGB(c->Color()), {c->Left(), c->Top()}, TParentBackground{});
        if (t.IsValidMaskIndex(s.BorderIndex))
            UpdateCorners(out, t, t.Masks[static_cast<std::size_t>(s.BorderIndex)], faceState, crAll,
                          TCornerFill{TCornerFill::cfColor, kFormColor});
        return out;
    }
    // The face and button on the screen against the look, the text's rectangle left out.
    void ExpectLook(TsComboBox* c, int faceState, int buttonState, const std::string& what) {
        const TBitmap24 expected = ExpectedLook(c, faceState, buttonState);
        const std::vector<RECT> skip{c->ItemRect()};
        const auto differences = [&](std::string& where) {
            return Differences(CaptureScreen(ScreenRectOf(c)), expected, where, skip);
        };
        PumpWhileNot([&] {
            std::string ignored;
            return differences(ignored) == 0;
        });
        std::string where;
        EXPECT_EQ(differences(where), 0) << what << ":" << where;
    }
    // Pixels of one colour inside a client rectangle of a window, on the screen.
    static int CountColor(HWND window, const RECT& client, TColor color) {
        POINT origin{client.left, client.top};
        ClientToScreen(window, &origin);
        const TBitmap24 shot = CaptureScreen({origin.x, origin.y, origin.x + client.right - client.left,
                                              origin.y + client.bottom - client.top});
        int n = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) n += shot.Pixel(x, y) == (color & 0xFFFFFF) ? 1 : 0;
        return n;
    }

    int changes = 0;
};

TEST_F(ComboBoxTest, ClickOnTheButtonOpensTheListPressedAndAClickOnAnItemChoosesIt) {
    for (const TKind& kind : kKinds) {
        SCOPED_TRACE(kind.Name);
        TsComboBox* c = AddCombo(kind.Style, 20);
        ShowForm();
        changes = 0;
        ClickAt(ButtonCentre(c));
        ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, "the list to open"));
        EXPECT_TRUE(IsWindowVisible(c->ListHandle()));
        EXPECT_EQ(c->ButtonState(), 2);
        ExpectLook(c, 1, 2, "the button pressed while the list is open");
        ClickAt(RowCentre(c, 3));
        ASSERT_TRUE(PumpUntil([&] { return !c->DroppedDown(); }, "the list to close"));
        EXPECT_EQ(c->ItemIndex(), 3);
        EXPECT_EQ(c->Text(), kItems[3]);
        EXPECT_EQ(changes, 1);
        delete c;
    }
}

TEST_F(ComboBoxTest, KeysChooseEnterTakesTheItemAndEscapeOrAClickElsewhereChangeNothing) {
    struct TCase {
        const char* What;
        std::vector<WORD> Keys;      // after the list is opened with F4
        bool PointAtRowFour;         // the pointer moves over row 4 (the list follows it) before the keys
        int Index;
        int Changes;
    };
    const TCase cases[] = {
        {"down, down, Enter", {VK_DOWN, VK_DOWN, VK_RETURN}, false, 2, 1},
        {"down, Escape", {VK_DOWN, VK_ESCAPE}, false, 0, 0},
        {"pointer over row four, Escape", {VK_ESCAPE}, true, 0, 0},
        {"pointer over row four, Enter", {VK_RETURN}, true, 4, 1},
    };
    for (const TKind& kind : kKinds) {
        TsComboBox* c = AddCombo(kind.Style, 20);
        ShowForm();
        for (const TCase& k : cases) {
            SCOPED_TRACE(std::string(kind.Name) + ", " + k.What);
            c->SetItemIndex(0);
            Focus(c);
            changes = 0;
            PressChord(VK_F4);
            ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, "the list to open"));
            if (k.PointAtRowFour) {
                MovePointer(RowCentre(c, 4));
                MovePointer(RowCentre(c, 4));   // a move inside the list, so that it follows
            }
            for (WORD key : k.Keys) PressChord(key);
            ASSERT_TRUE(PumpUntil([&] { return !c->DroppedDown(); }, "the list to close"));
            EXPECT_EQ(c->ItemIndex(), k.Index);
            EXPECT_EQ(c->Text(), kItems[static_cast<std::size_t>(k.Index)]);
            EXPECT_EQ(changes, k.Changes);
            MovePointer({5, 5});
        }
        // A closed list moves by the arrow keys at once.
        SCOPED_TRACE(std::string(kind.Name) + ", down on the closed list");
        const int before = c->ItemIndex();
        changes = 0;
        PressChord(VK_DOWN);
        EXPECT_EQ(c->ItemIndex(), before + 1);
        EXPECT_EQ(c->Text(), kItems[static_cast<std::size_t>(before + 1)]);
        EXPECT_EQ(changes, 1);
        delete c;
    }
    // Typing into the edit kind: each keystroke that changes the text is told;
    // a text of no item chooses none.
    {
        TsComboBox* c = AddCombo(TComboBoxStyle::csDropDown, 20);
        ShowForm();
        Focus(c);
        changes = 0;
        PressChord(VK_END);
        PressChord('X');
        PressChord('Y');
        EXPECT_EQ(c->Text(), kItems[0] + "xy");
        EXPECT_EQ(c->ItemIndex(), -1);
        EXPECT_EQ(changes, 2);
        delete c;
    }
    // A click outside the open list closes it without change.
    TsComboBox* c = AddCombo(TComboBoxStyle::csDropDownList, 20);
    ShowForm();
    changes = 0;
    ClickAt(ButtonCentre(c));
    ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, "the list to open"));
    MovePointer(RowCentre(c, 5));
    MovePointer(RowCentre(c, 5));
    ClickAt(form->ClientToScreen({380, 300}));
    ASSERT_TRUE(PumpUntil([&] { return !c->DroppedDown(); }, "the list to close"));
    EXPECT_EQ(c->ItemIndex(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboBoxTest, FaceButtonAndListArePaintedFromEveryListedSkin) {
    manager->SetSkinDirectory(SourcePath("skins"));
    TsComboBox* list = AddCombo(TComboBoxStyle::csDropDownList, 20);
    TsComboBox* edit = AddCombo(TComboBoxStyle::csDropDown, 60);
    TsComboBox* disabled = AddCombo(TComboBoxStyle::csDropDownList, 100);
    disabled->SetEnabled(false);
    TsComboBox* gradient = AddCombo(TComboBoxStyle::csDropDownList, 140);
    gradient->SkinData.SetSkinSection("GRADCOMBO");
    for (const TListedSkin& skin : ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        manager->SetSkinName(skin.Name);
        ASSERT_EQ(manager->SkinName(), skin.Name);
        ShowForm();
        const TsGeneralData& section = Section("COMBOBOX");
        ExpectLook(list, 0, 0, "normal");
        ExpectLook(disabled, 0, 0, "disabled");
        ExpectLook(edit, 0, 0, "edit kind, normal");
        ExpectLook(gradient, 0, 0, "gradient, normal");
        MovePointer(ButtonCentre(gradient));
        ExpectLook(gradient, 1, 1, "gradient, hot");
        MovePointer({5, 5});
        ExpectLook(gradient, 0, 0, "gradient, normal again");
        Focus(gradient);
        ExpectLook(gradient, 1, 1, "gradient, focused");
        ::SetFocus(form->Handle());
        Application().ProcessMessages();
        MovePointer(ButtonCentre(list));
        ExpectLook(list, 1, 1, "hot under the pointer");
        // The chosen item in the section's font colour; the edit field in its colours.
        EXPECT_GT(CountColor(list->Handle(), list->ItemRect(), section.HotFontColor[fcText]), 5);
        MovePointer({5, 5});
        RECT field{};
        HWND editField = GetWindow(edit->Handle(), GW_CHILD);
        // Hot under the pointer over the edit field too, a native window of its own.
        POINT inField{2, 2};
        ClientToScreen(editField, &inField);
        MovePointer(inField);
        ExpectLook(edit, 1, 1, "edit kind, the pointer over its field");
        MovePointer({5, 5});
        ExpectLook(edit, 0, 0, "edit kind, the pointer gone");
        GetClientRect(editField, &field);
        const int area = field.right * field.bottom;
        EXPECT_GT(CountColor(editField, field, section.Color), area / 2) << "the field's background";
        EXPECT_GT(CountColor(editField, field, section.FontColor[fcText]), 5) << "the field's text";
        // The open list: rows of the section's colour, the chosen one as the hot menu item.
        ClickAt(ButtonCentre(list));
        ASSERT_TRUE(PumpUntil([&] { return list->DroppedDown(); }, "the list to open"));
        ExpectLook(list, 1, 2, "pressed");
        HWND listWindow = list->ListHandle();
        RECT chosen{}, other{};
        SendMessageW(listWindow, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&chosen));
        SendMessageW(listWindow, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&other));
        // Right of the text: nothing but the row's background.
        const int textEnd = 60;
        RECT otherRest{textEnd, other.top, other.right, other.bottom};
        EXPECT_EQ(CountColor(listWindow, otherRest, section.Color), (other.right - textEnd) * (other.bottom - other.top));
        const int menuItem = SectionIndex("MENUITEM");
        ASSERT_TRUE(Tables().IsValidSectionIndex(menuItem));
        const int rw = chosen.right - chosen.left, rh = chosen.bottom - chosen.top;
        TBitmap24 row(rw, rh);
        FillDC(row, {0, 0, rw, rh}, section.Color);
        TBitmap24 behind = row.Clone();
        PaintSection(menuItem, TParentBackground{&behind, 0, 0, true}, &Tables(), row, {0, 0}, {0, 0, rw, rh}, 1, true);
        POINT at{textEnd, chosen.top};
        ClientToScreen(listWindow, &at);
        const TBitmap24 shot = CaptureScreen({at.x, at.y, at.x + rw - textEnd, at.y + rh});
        int wrong = 0;
        for (int y = 0; y < rh; ++y)
            for (int x = 0; x < rw - textEnd; ++x) wrong += shot.Pixel(x, y) != row.Pixel(textEnd + x, y) ? 1 : 0;
        EXPECT_EQ(wrong, 0) << "the chosen row is the hot menu item";
        PressChord(VK_ESCAPE);
        PumpUntil([&] { return !list->DroppedDown(); }, "the list to close");
    }
}

// The open list's vertical bar as the painting core composes it from the
// scroll bar sections found by name, at the native bar's geometry (arrows and
// thumb): the track halves split at the thumb's centre, the arrow buttons and
// the thumb each with its glyph centred, all in the normal state.
TBitmap24 ExpectedListBar(const TsSkinTables& t, const SCROLLBARINFO& info) {
    const int w = info.rcScrollBar.right - info.rcScrollBar.left, h = info.rcScrollBar.bottom - info.rcScrollBar.top;
    TBitmap24 bar(w, h);
    FillDC(bar, {0, 0, w, h}, t.GlobalColor());
    const auto part = [&](const char* name, RECT r) {
        const int si = t.SectionIndexOf(name);
        const int pw = r.right - r.left, ph = r.bottom - r.top;
        TBitmap24 piece(pw, ph);
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x) piece.SetPixel(x, y, bar.Pixel(r.left + x, r.top + y));
        PaintSection(si, TParentBackground{&bar, 0, 0, true}, &t, piece, {r.left, r.top}, {0, 0, pw, ph}, 0, true);
        for (int y = 0; y < ph; ++y)
            for (int x = 0; x < pw; ++x) bar.SetPixel(r.left + x, r.top + y, piece.Pixel(x, y));
        const int g = t.MaskIndexOf(si, name, "GLYPHMASK");
        if (!t.IsValidMaskIndex(g)) return;
        const TsMaskData& m = t.Masks[static_cast<std::size_t>(g)];
        const int fw = m.Bmp ? m.R.Width() / 3 : m.R.Width() / m.ImageCount;
        const int fh = m.Bmp ? m.R.Height() / 2 : m.R.Height() / (m.MaskType + 1);
        if (fw <= pw && fh <= ph) DrawSkinGlyph(bar, {r.left + (pw - fw) / 2, r.top + (ph - fh) / 2}, 0, t, m, 1);
    };
    const int centre = (info.xyThumbTop + info.xyThumbBottom) / 2;
    part("SCROLLBAR1V", {0, 0, w, centre});
    part("SCROLLBAR2V", {0, centre, w, h});
    part("SCROLLBTNTOP", {0, 0, w, info.dxyLineButton});
    part("SCROLLBTNBOTTOM", {0, h - info.dxyLineButton, w, h});
    part("SCROLLSLIDERV", {0, info.xyThumbTop, w, info.xyThumbBottom});
    return bar;
}

TEST_F(ComboBoxTest, TheOpenListsScrollBarIsPaintedFromEveryListedSkinAndFollowsTheList) {
    manager->SetSkinDirectory(SourcePath("skins"));
    std::vector<std::string> many;
    for (int i = 1; i <= 30; ++i) many.push_back("Item " + std::to_string(i));
    TsComboBox* c = AddCombo(TComboBoxStyle::csDropDownList, 20, many);
    for (const TListedSkin& skin : ListedSkins()) {
        SCOPED_TRACE(skin.Name);
        manager->SetSkinName(skin.Name);
        ShowForm();
        ClickAt(ButtonCentre(c));
        ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, "the list to open"));
        EXPECT_TRUE(c->ListHooked());
        HWND list = c->ListHandle();
        for (const char* where : {"at the top", "at the end"}) {
            SCOPED_TRACE(where);
            SCROLLBARINFO info{};
            info.cbSize = sizeof info;
            ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
            ASSERT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "30 items in 8 lines scroll";
            const TBitmap24 expected = ExpectedListBar(Tables(), info);
            const auto differences = [&](std::string& text) {
                return Differences(CaptureScreen(info.rcScrollBar), expected, text);
            };
            PumpWhileNot([&] {
                std::string ignored;
                return differences(ignored) == 0;
            });
            std::string text;
            EXPECT_EQ(differences(text), 0) << text;
            PressChord(VK_END);   // the list scrolls to its last item, the thumb to the bottom
            Pump(100);
        }
        EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
        PressChord(VK_ESCAPE);
        PumpUntil([&] { return !c->DroppedDown(); }, "the list to close");
        EXPECT_EQ(c->ItemIndex(), 0);
    }
}

TEST_F(ComboBoxTest, ASectionThatFadesFadesToTheHotLookAndBack) {
    TsComboBox* c = AddCombo(TComboBoxStyle::csDropDownList, 20);
    c->SkinData.SetSkinSection("FADECOMBO");
    ShowForm();
    ExpectLook(c, 0, 0, "normal");
    MovePointer(ButtonCentre(c));
    EXPECT_NE(c->FadeTimer(), nullptr) << "the pointer's arrival starts a fade";
    WaitFadesEnded();
    ExpectLook(c, 1, 1, "hot once the fade ended");
    MovePointer({5, 5});
    EXPECT_NE(c->FadeTimer(), nullptr) << "the pointer's leaving starts a fade";
    WaitFadesEnded();
    ExpectLook(c, 0, 0, "normal once the fade ended");
    // Opening the list shows the pressed button at once.
    ClickAt(ButtonCentre(c));
    ASSERT_TRUE(PumpUntil([&] { return c->DroppedDown(); }, "the list to open"));
    EXPECT_EQ(c->FadeTimer(), nullptr);
    ExpectLook(c, 1, 2, "pressed");
    PressChord(VK_ESCAPE);
    PumpUntil([&] { return !c->DroppedDown(); }, "the list to close");
}

TEST_F(ComboBoxTest, WithoutASectionOrAnActiveManagerItIsThePlainNativeControl) {
    struct TCase {
        const char* What;
        std::function<void(TsComboBox*)> Unskin;
        std::function<void(TsComboBox*)> Reskin;
    };
    const TCase cases[] = {
        {"no section", [](TsComboBox* c) { c->SkinData.SetSkinSection("NOSUCHSECTION"); },
         [](TsComboBox* c) { c->SkinData.SetSkinSection("COMBOBOX"); }},
        {"manager inactive", [this](TsComboBox*) { manager->SetActive(false); },
         [this](TsComboBox*) { manager->SetActive(true); }},
    };
    for (const TKind& kind : kKinds) {
        for (const TCase& k : cases) {
            SCOPED_TRACE(std::string(kind.Name) + ", " + k.What);
            TsComboBox* c = AddCombo(kind.Style, 20);
            auto* plain = AddControl<TComboBox>(form, 200, 20, 160, 21);
            plain->SetStyle(kind.Style);
            plain->Items().Assign(kItems);
            ShowForm();
            c->SetItemIndex(3);
            plain->SetItemIndex(3);
            EXPECT_TRUE(c->ItemsOwnerDrawn());
            k.Unskin(c);
            ShowForm();
            EXPECT_FALSE(c->ItemsOwnerDrawn());
            EXPECT_FALSE(GetWindowLongW(c->Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED);
            // Nothing lost on the way: items, choice and text.
            EXPECT_EQ(c->Items().Count(), static_cast<int>(kItems.size()));
            EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(kItems.size()));
            EXPECT_EQ(c->ItemIndex(), 3);
            EXPECT_EQ(c->Text(), kItems[3]);
            std::string where;
            EXPECT_EQ(Differences(CaptureScreen(ScreenRectOf(c)), CaptureScreen(ScreenRectOf(plain)), where), 0)
                << "the same pixels as a plain combo box:" << where;
            k.Reskin(c);
            ShowForm();
            EXPECT_TRUE(c->ItemsOwnerDrawn());
            EXPECT_EQ(c->Text(), kItems[3]);
            ExpectLook(c, 0, 0, "skinned again");
            delete plain;
            delete c;
        }
    }
}

TEST_F(ComboBoxTest, DefinitionGivesKindItemsChoiceAndListLengthAndANewWindowKeepsThem) {
    RegisterComboBoxClasses();
    auto* root = new TForm(&Application());
    root->ReadDefinition(
        "object Root: TForm\n"
        "  Left = 150\n  Top = 150\n  ClientWidth = 300\n  ClientHeight = 200\n"
        "  object cmbPlain: TComboBox\n    Left = 10\n    Top = 10\n    Width = 150\n"
        "    Style = csDropDownList\n    Items = (\n      'one'\n      'two'\n      'three'\n    )\n"
        "    ItemIndex = 1\n    DropDownCount = 2\n  end\nend\n");
    auto* c = dynamic_cast<TComboBox*>(root->FindComponent("cmbPlain"));
    ASSERT_NE(c, nullptr);
    int told = 0;
    c->OnChange = [&](TObject*) { ++told; };
    EXPECT_EQ(c->Style(), TComboBoxStyle::csDropDownList);
    EXPECT_EQ(c->Items().Count(), 3);
    EXPECT_EQ(c->Text(), "two");
    root->Show();
    Application().ProcessMessages();
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(c->ItemIndex(), 1);
    // Two lines of the list and its frame.
    c->SetDroppedDown(true);
    Application().ProcessMessages();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(c->Handle(), &info);
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    EXPECT_EQ(list.bottom - list.top, 2 * SendMessageW(c->Handle(), CB_GETITEMHEIGHT, 0, 0) + 2);
    c->SetDroppedDown(false);
    // The other kind is a new window with the same items, choice and text.
    HWND first = c->Handle();
    c->SetStyle(TComboBoxStyle::csDropDown);
    EXPECT_NE(c->Handle(), first);
    EXPECT_EQ(SendMessageW(c->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(c->Text(), "two");
    // The program's own changes raise no OnChange; a text of no item chooses none.
    c->SetText("four");
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), "four");
    c->SetItemIndex(2);
    EXPECT_EQ(c->Text(), "three");
    EXPECT_EQ(told, 0);
    // Bad values are refused with what was wrong, and change nothing.
    try {
        c->SetItemIndex(3);
        ADD_FAILURE() << "an index past the items was accepted";
    } catch (const EInvalidOperation& e) {
        EXPECT_NE(std::string(e.what()).find("List index out of bounds (3)"), std::string::npos) << e.what();
    }
    EXPECT_THROW(c->SetDropDownCount(0), EInvalidOperation);
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(c->DropDownCount(), 2);
    delete root;
}

TEST_F(ComboBoxTest, OpeningClosingSkinChangesAndNewCombosLeaveTheCountsAsTheyWere) {
    manager->SetSkinDirectory(SourcePath("skins"));
    const std::vector<TListedSkin> skins = ListedSkins();
    std::vector<std::string> many;
    for (int i = 1; i <= 30; ++i) many.push_back("Item " + std::to_string(i));
    const auto round = [&](int n) {
        TsComboBox* list = AddCombo(TComboBoxStyle::csDropDownList, 20, many);
        TsComboBox* edit = AddCombo(TComboBoxStyle::csDropDown, 60);
        ShowForm();
        for (TsComboBox* c : {list, edit}) {
            ClickAt(ButtonCentre(c));
            PumpUntil([&] { return c->DroppedDown(); }, "the list to open");
            MovePointer(RowCentre(c, 2));
            PressChord(VK_ESCAPE);
            PumpUntil([&] { return !c->DroppedDown(); }, "the list to close");
        }
        MovePointer(Center(list));
        manager->SetSkinName(skins[static_cast<std::size_t>(n) % skins.size()].Name);
        MovePointer({5, 5});
        WaitFadesEnded();
        delete edit;
        delete list;
        Application().ProcessMessages();
    };
    round(0);   // the first round makes what lives on (brushes of system colours, Wine's caches)
    manager->SetSkinName(skins[0].Name);
    const TCounts before = Count();
    for (int n = 0; n < 6; ++n) round(n);
    manager->SetSkinName(skins[0].Name);
    Application().ProcessMessages();
    const TCounts after = Count();
    PrintCounts("combo box soak", before, after);
    ExpectSameCounts(before, after);
}

}  // namespace
