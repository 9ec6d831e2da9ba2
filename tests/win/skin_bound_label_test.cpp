// The caption label an edit carries: its placement, and how it follows the edit
// with real windows.
#include <gtest/gtest.h>

#include "controls/bound_label.h"
#include "controls/control_classes.h"
#include "controls/edit.h"
#include "gui/application.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

class BoundLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        liveComponents = TComponent::LiveCount();
        liveControls = TControl::LiveControls();
        form = new TForm(&Application());
        form->SetBounds(30, 30, 400, 300);
        edit = new TsEdit(form);
        edit->SetName("Edit1");
        edit->SetParent(form);
        edit->SetBounds(100, 10, 121, 21);
    }
    void TearDown() override {
        delete form;
        Application().OnException = nullptr;
        EXPECT_EQ(TComponent::LiveCount(), liveComponents);
        EXPECT_EQ(TControl::LiveControls(), liveControls);
    }
    // Activates the label and gives it a fixed size (auto-size keeps a size it already has).
    TsEditLabel& Activate(int width = 30, int height = 13) {
        edit->BoundLabel().SetActive(true);
        TsEditLabel* label = edit->BoundLabel().Label();
        EXPECT_NE(label, nullptr);
        label->SetBounds(0, 0, width, height);
        edit->BoundLabel().SetIndent(edit->BoundLabel().Indent());   // places it again
        return *label;
    }
    int liveComponents = 0;
    int liveControls = 0;
    TForm* form = nullptr;
    TsEdit* edit = nullptr;
};

TEST_F(BoundLabelTest, ActivationCreatesTheNamedLabelBesideTheEdit) {
    const int owned = edit->ComponentCount();
    TsBoundLabel& bound = edit->BoundLabel();
    EXPECT_FALSE(bound.Active());
    EXPECT_EQ(bound.Label(), nullptr);
    bound.SetActive(true);
    TsEditLabel* label = bound.Label();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Owner(), edit);
    EXPECT_EQ(edit->ComponentCount(), owned + 1);
    EXPECT_EQ(label->Name(), "Edit1Label");
    EXPECT_EQ(label->Caption(), "Edit1");
    EXPECT_EQ(bound.Caption(), "Edit1");
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(label->BoundLabel(), &bound);
    EXPECT_TRUE(label->Visible());
    EXPECT_TRUE(label->Enabled());
    EXPECT_EQ(label->Alignment(), TAlignment::taRightJustify);
    // Placed to the left of the edit, by its own caption's size.
    EXPECT_EQ(label->Left(), 100 - label->Width() - 4);
    EXPECT_EQ(label->Top(), 10 + (21 - label->Height()) / 2 - 1);

    bound.SetCaption("Address:");
    EXPECT_EQ(label->Caption(), "Address:");
    bound.SetActive(true);   // already there: the same label
    EXPECT_EQ(bound.Label(), label);
}

TEST_F(BoundLabelTest, ThirtyByThirteenLabelLeftOfAnEditAtHundredTen) {
    TsEditLabel& label = Activate(30, 13);
    EXPECT_EQ(label.Left(), 66);
    EXPECT_EQ(label.Top(), 13);
    EXPECT_EQ(label.Width(), 30);
    EXPECT_EQ(label.Height(), 13);
}

TEST_F(BoundLabelTest, EachLayoutPlacesAndAlignsTheLabel) {
    edit->SetBounds(100, 50, 121, 21);
    TsEditLabel& label = Activate(30, 13);
    edit->BoundLabel().SetIndent(2);
    struct Case { TsCaptionLayout layout; int left, top; TAlignment alignment; };
    const Case cases[] = {
        {sclLeft, 100 - 30 - 2 - 4, 50 + (21 - 13) / 2 - 1, TAlignment::taRightJustify},
        {sclTopLeft, 100, 50 - 13 - 2, TAlignment::taLeftJustify},
        {sclTopCenter, 100 + (121 - 30) / 2, 35, TAlignment::taCenter},
        {sclTopRight, 100 + 121 - 30, 35, TAlignment::taRightJustify},
    };
    for (const auto& c : cases) {
        edit->BoundLabel().SetLayout(c.layout);
        EXPECT_EQ(label.Left(), c.left) << c.layout;
        EXPECT_EQ(label.Top(), c.top) << c.layout;
        EXPECT_EQ(label.Alignment(), c.alignment) << c.layout;
    }
    // An odd difference truncates: (120 - 30) / 2 = 45, (20 - 13) / 2 = 3.
    edit->BoundLabel().SetIndent(0);
    edit->SetBounds(100, 50, 120, 20);
    edit->BoundLabel().SetLayout(sclTopCenter);
    EXPECT_EQ(label.Left(), 145);
    edit->BoundLabel().SetLayout(sclLeft);
    EXPECT_EQ(label.Top(), 52);
}

TEST_F(BoundLabelTest, MaxWidthWrapsTheLabelAndKeepsItAsHighAsTheEdit) {
    TsBoundLabel& bound = edit->BoundLabel();
    bound.SetActive(true);
    TsEditLabel& label = *bound.Label();
    bound.SetCaption("A caption far too long for forty pixels");
    const int oneLine = label.Height();
    ASSERT_LT(oneLine, 21);
    ASSERT_GT(label.Width(), 40);

    bound.SetMaxWidth(40);
    EXPECT_EQ(label.Width(), 40);
    EXPECT_EQ(label.Height(), 21);   // the edit's height: one line is lower
    EXPECT_TRUE(label.WordWrap());
    EXPECT_FALSE(label.AutoSize());

    // A lower edit: the wrapped text decides the height.
    edit->SetHeight(10);
    EXPECT_GE(label.Height(), 2 * oneLine);
    EXPECT_EQ(label.Width(), 40);

    // No limit any more: one line again, at its own width.
    bound.SetMaxWidth(0);
    EXPECT_FALSE(label.WordWrap());
    EXPECT_TRUE(label.AutoSize());
    EXPECT_EQ(label.Height(), oneLine);
    EXPECT_GT(label.Width(), 40);
}

TEST_F(BoundLabelTest, LabelFollowsTheEditsWindowMovesVisibilityAndEnabledState) {
    TsEditLabel& label = Activate(30, 13);
    form->Show();
    ASSERT_TRUE(edit->HandleAllocated());

    edit->SetBounds(150, 40, 121, 25);
    EXPECT_EQ(label.Left(), 150 - 30 - 4);
    EXPECT_EQ(label.Top(), 40 + (25 - 13) / 2 - 1);

    // A move made by Win32 itself, not through the framework's setters.
    SetWindowPos(edit->Handle(), nullptr, 200, 80, 121, 21, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(edit->Left(), 200);
    EXPECT_EQ(label.Left(), 200 - 30 - 4);
    EXPECT_EQ(label.Top(), 80 + 3);

    edit->Hide();
    EXPECT_FALSE(label.Visible());
    edit->SetBounds(10, 200, 121, 21);   // a hidden label is not placed
    EXPECT_EQ(label.Left(), 166);
    edit->Show();
    EXPECT_TRUE(label.Visible());
    EXPECT_EQ(label.Left(), 10 - 30 - 4);
    EXPECT_EQ(label.Top(), 203);

    edit->SetEnabled(false);
    EXPECT_FALSE(label.Enabled());
    edit->SetEnabled(true);
    EXPECT_TRUE(label.Enabled());

    edit->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(label.BiDiMode(), TBiDiMode::bdRightToLeft);
    form->Hide();
}

TEST_F(BoundLabelTest, LabelFollowsAnEditThatHasNoWindowYet) {
    TsEditLabel& label = Activate(30, 13);
    ASSERT_FALSE(edit->HandleAllocated());
    edit->SetBounds(60, 100, 80, 21);
    EXPECT_EQ(label.Left(), 60 - 34);
    EXPECT_EQ(label.Top(), 103);
    EXPECT_FALSE(edit->HandleAllocated());
}

TEST_F(BoundLabelTest, FontGoesToTheLabelAndPlacesItByItsNewSize) {
    TsBoundLabel& bound = edit->BoundLabel();
    TFont big;
    big.SetHeight(-30);
    bound.SetFont(big);   // no label yet: the bound label keeps it
    EXPECT_EQ(bound.Font().Height(), -30);

    bound.SetActive(true);
    TsEditLabel& label = *bound.Label();
    EXPECT_EQ(&bound.Font(), &label.Font());
    const int smallHeight = label.Height();
    bound.SetFont(big);
    EXPECT_EQ(label.Font().Height(), -30);
    EXPECT_FALSE(label.ParentFont());
    EXPECT_GT(label.Height(), smallHeight);
    EXPECT_EQ(label.Left(), 100 - label.Width() - 4);
    EXPECT_EQ(label.Top(), 10 + (21 - label.Height()) / 2 - 1);
}

TEST_F(BoundLabelTest, FreeingTheLabelLeavesTheBoundLabelWithoutOne) {
    TsEditLabel& label = Activate(30, 13);
    const int controls = TControl::LiveControls();
    delete &label;
    EXPECT_EQ(TControl::LiveControls(), controls - 1);
    EXPECT_EQ(edit->BoundLabel().Label(), nullptr);
    EXPECT_EQ(edit->FindComponent("Edit1Label"), nullptr);
    // Nothing left to keep in step.
    form->Show();
    edit->SetBounds(20, 20, 50, 21);
    edit->Hide();
    edit->SetEnabled(false);
    edit->BoundLabel().SetLayout(sclTopLeft);
    EXPECT_EQ(edit->BoundLabel().Label(), nullptr);
    EXPECT_EQ(TControl::LiveControls(), controls - 1);
    form->Hide();
}

TEST_F(BoundLabelTest, DeactivationFreesTheLabelAndActivationMakesANewOne) {
    const int components = TComponent::LiveCount();
    const int owned = edit->ComponentCount();
    edit->BoundLabel().SetActive(true);
    EXPECT_EQ(TComponent::LiveCount(), components + 1);
    edit->BoundLabel().SetActive(false);
    EXPECT_FALSE(edit->BoundLabel().Active());
    EXPECT_EQ(edit->BoundLabel().Label(), nullptr);
    EXPECT_EQ(edit->ComponentCount(), owned);
    EXPECT_EQ(TComponent::LiveCount(), components);
    EXPECT_EQ(form->ControlCount(), 1);   // only the edit

    // A label freed from outside is created again by the next activation.
    edit->BoundLabel().SetActive(true);
    delete edit->BoundLabel().Label();
    edit->BoundLabel().SetActive(true);
    ASSERT_NE(edit->BoundLabel().Label(), nullptr);
    EXPECT_EQ(edit->BoundLabel().Label()->Caption(), "Edit1");
}

TEST_F(BoundLabelTest, HiddenOrDisabledEditGivesAHiddenOrDisabledLabel) {
    edit->Hide();
    edit->SetEnabled(false);
    edit->BoundLabel().SetActive(true);
    TsEditLabel* label = edit->BoundLabel().Label();
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->Visible());
    EXPECT_FALSE(label->Enabled());
}

TEST_F(BoundLabelTest, FreeingTheEditFreesTheBoundLabelAndItsLabel) {
    const int components = TComponent::LiveCount();
    const int controls = TControl::LiveControls();
    auto* other = new TsEdit(form);
    other->SetName("Edit2");
    other->SetParent(form);
    other->BoundLabel().SetActive(true);
    EXPECT_EQ(form->ControlCount(), 3);
    delete other;
    EXPECT_EQ(TComponent::LiveCount(), components);
    EXPECT_EQ(TControl::LiveControls(), controls);
    EXPECT_EQ(form->ControlCount(), 1);
}

TEST(BoundLabelDefinition, StoredSettingsCreateAndPlaceTheLabel) {
    RegisterSkinnedControlClasses();
    const int components = TComponent::LiveCount();
    auto* form = new TForm(&Application());
    form->ReadDefinition(
        "object Form1: TForm\n"
        "  object Edit1: TsEdit\n"
        "    BoundLabel.Active = True\n"   // before the bounds: placed once loading ends
        "    Left = 100\n"
        "    Top = 10\n"
        "    Width = 121\n"
        "    Height = 21\n"
        "  end\n"
        "  object Edit2: TsEdit\n"
        "    Left = 100\n"
        "    Top = 60\n"
        "    Width = 121\n"
        "    Height = 21\n"
        "    BoundLabel.Active = True\n"
        "    BoundLabel.Caption = 'Server:'\n"
        "    BoundLabel.Indent = 3\n"
        "    BoundLabel.Layout = sclTopLeft\n"
        "    BoundLabel.MaxWidth = 0\n"
        "    BoundLabel.Font.Name = 'Courier New'\n"
        "    BoundLabel.Font.Height = -15\n"
        "    BoundLabel.Font.Color = clRed\n"
        "    BoundLabel.Font.Style = [fsBold, fsItalic]\n"
        "  end\n"
        "end\n");
    auto* edit1 = dynamic_cast<TsEdit*>(form->FindComponent("Edit1"));
    auto* edit2 = dynamic_cast<TsEdit*>(form->FindComponent("Edit2"));
    ASSERT_NE(edit1, nullptr);
    ASSERT_NE(edit2, nullptr);
    auto* label1 = dynamic_cast<TsEditLabel*>(edit1->FindComponent("Edit1Label"));
    ASSERT_NE(label1, nullptr);
    EXPECT_EQ(label1->Caption(), "Edit1");
    EXPECT_EQ(label1->Parent(), form);
    EXPECT_EQ(label1->Left(), 100 - label1->Width() - 4);
    EXPECT_EQ(label1->Top(), 10 + (21 - label1->Height()) / 2 - 1);

    TsEditLabel* label2 = edit2->BoundLabel().Label();
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->Name(), "Edit2Label");
    EXPECT_EQ(label2->Caption(), "Server:");
    EXPECT_EQ(edit2->BoundLabel().Layout(), sclTopLeft);
    EXPECT_EQ(label2->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(label2->Left(), 100);
    EXPECT_EQ(label2->Top(), 60 - label2->Height() - 3);
    EXPECT_EQ(label2->Font().Name(), "Courier New");
    EXPECT_EQ(label2->Font().Height(), -15);
    EXPECT_EQ(label2->Font().Color(), clRed);
    EXPECT_EQ(label2->Font().Style(), TFontStyles(fsBold | fsItalic));
    EXPECT_FALSE(label2->ParentFont()) << "a font of its own";
    EXPECT_NE(label1->Font().Name(), "Courier New") << "the other label keeps the form's font";

    delete form;

    auto* bad = new TForm(&Application());
    EXPECT_THROW(bad->ReadDefinition("object Form2: TForm\n"
                                     "  object Edit3: TsEdit\n"
                                     "    BoundLabel.Layout = sclBottom\n"
                                     "  end\n"
                                     "end\n"),
                 EDefinitionError);
    delete bad;
    EXPECT_EQ(TComponent::LiveCount(), components);
}

}  // namespace
}  // namespace korvel
