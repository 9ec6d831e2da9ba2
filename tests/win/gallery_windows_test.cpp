// The gallery as the program builds it (its real definition resources): the
// child windows of every kind, the controls window's controls and their states,
// its tidy layout, the Window menu's commands and the Skins menu, which lists the
// skins the manager finds and switches the program to the one chosen.
#include "gallery/gallery_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/check_box.h"
#include "controls/combo_box.h"
#include "controls/edit.h"
#include "controls/label.h"
#include "controls/panel.h"
#include "controls/scroll_bar.h"
#include "controls/splitter.h"
#include "controls/status_bar.h"
#include "controls/tool_bar.h"
#include "engine/skin_manager.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "gui/menus.h"
#include "gui_test_support.h"

using namespace korvel;

namespace {

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new TGalleryFrame(nullptr);
        Application().SetMainForm(frame);
        frame->Show();
        Application().ProcessMessages();
    }
    void TearDown() override {
        // The children belong to the application; they go before their frame's window.
        while (frame->MDIChildCount() > 0) delete frame->MDIChildren(0);
        Application().SetMainForm(nullptr);
        delete frame;
    }
    TMenuItem& Item(const std::string& name) { return dynamic_cast<TMenuItem&>(*frame->FindComponent(name)); }
    TGalleryChild& ActiveChild() { return dynamic_cast<TGalleryChild&>(*frame->ActiveMDIChild()); }
    TGalleryChild& ControlsWindow() {
        for (int i = 0; i < frame->MDIChildCount(); ++i)
            if (auto* child = dynamic_cast<TGalleryChild*>(frame->MDIChildren(i)))
                if (child->Kind() == TGalleryChildKind::Controls) return *child;
        throw std::runtime_error("no controls window");
    }

    TGalleryFrame* frame = nullptr;
};

// Every control of a form, windowed or not, depth first.
void ForEachControl(TWinControl& parent, const std::function<void(TControl&)>& visit) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* control = parent.Controls(i);
        visit(*control);
        if (auto* container = dynamic_cast<TWinControl*>(control)) ForEachControl(*container, visit);
    }
}

TEST_F(GalleryTest, FrameIsAnMdiFrameWithItsTitleMenuAndOneControlsWindow) {
    EXPECT_EQ(frame->FormStyle(), TFormStyle::fsMDIForm);
    EXPECT_EQ(frame->Caption(), "Korvel Gallery");
    ASSERT_NE(frame->Menu(), nullptr);
    ASSERT_NE(frame->FindComponent("sSkinProvider1"), nullptr);
    EXPECT_EQ(&frame->SkinManager(), TsSkinManager::DefaultManager());
    ASSERT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(ActiveChild().Kind(), TGalleryChildKind::Controls);
}

TEST_F(GalleryTest, FileMenuOpensEveryKindOfChildWithItsOwnSkinnedFrame) {
    struct TExpected {
        TGalleryChildKind Kind;
        std::string Caption;
        bool ScreenSnap;
        TResizeMode ResizeMode;
    };
    const TExpected expected[] = {
        {TGalleryChildKind::Controls, "Controls", false, TResizeMode::rmStandard},
        {TGalleryChildKind::Scrolling, "Scrolling", false, TResizeMode::rmStandard},
        {TGalleryChildKind::Sizeable, "Sizeable", true, TResizeMode::rmBorder},
        {TGalleryChildKind::ComboBoxes, "Combo boxes", false, TResizeMode::rmStandard},
        {TGalleryChildKind::Gauges, "Progress and track bars", false, TResizeMode::rmStandard},
        {TGalleryChildKind::PageControls, "Page controls", false, TResizeMode::rmStandard},
        {TGalleryChildKind::Bars, "Bars and splitter", false, TResizeMode::rmStandard},
        {TGalleryChildKind::RadioGroups, "Radio buttons and groups", false, TResizeMode::rmStandard},
        {TGalleryChildKind::TextLists, "Text and lists", false, TResizeMode::rmStandard},
    };
    int count = frame->MDIChildCount();
    for (const TExpected& row : expected) {
        SCOPED_TRACE(row.Caption);
        Item(std::string(GalleryChildRow(row.Kind).MenuItem)).Click();
        Application().ProcessMessages();
        ASSERT_EQ(frame->MDIChildCount(), ++count);
        TGalleryChild& child = ActiveChild();
        EXPECT_EQ(child.Kind(), row.Kind);
        EXPECT_EQ(child.Caption(), row.Caption);
        EXPECT_EQ(child.FormStyle(), TFormStyle::fsMDIChild);
        EXPECT_EQ(child.BorderStyle(), TFormBorderStyle::bsSizeable);
        auto* provider = dynamic_cast<TsSkinProvider*>(child.FindComponent("sSkinProvider1"));
        ASSERT_NE(provider, nullptr);
        // The skinned frame draws the caption buttons: the provider holds the icons.
        EXPECT_TRUE(provider->BorderIcons() & biMaximize);
        EXPECT_EQ(provider->SkinData().SkinSection(), "FORM");
        EXPECT_EQ(provider->ScreenSnap(), row.ScreenSnap);
        EXPECT_EQ(provider->ResizeMode(), row.ResizeMode);
    }
}

TEST_F(GalleryTest, BarsWindowHoldsAToolBarASplitterBetweenTwoPanelsAndAStatusBar) {
    Item("mnuNewBars").Click();
    Application().ProcessMessages();
    TGalleryChild& child = ActiveChild();
    ASSERT_EQ(child.Kind(), TGalleryChildKind::Bars);
    auto* bar = dynamic_cast<TsToolBar*>(child.FindComponent("tbrBars"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Align(), TAlign::alTop);
    int checks = 0, disabled = 0, separators = 0;
    for (int i = 0; i < bar->ControlCount(); ++i) {
        auto* button = dynamic_cast<TsToolButton*>(bar->Controls(i));
        ASSERT_NE(button, nullptr) << i;
        checks += button->Style() == TToolButtonStyle::tbsCheck;
        separators += button->Style() == TToolButtonStyle::tbsSeparator;
        disabled += !button->Enabled();
    }
    EXPECT_EQ(bar->ControlCount() - separators, 4);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(disabled, 1);
    EXPECT_EQ(separators, 1);
    auto* status = dynamic_cast<TsStatusBar*>(child.FindComponent("stbBars"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->PanelCount(), 3);
    EXPECT_TRUE(status->SizeGrip());
    EXPECT_EQ(status->Top() + status->Height(), child.ClientHeight());
    auto* splitter = dynamic_cast<TsSplitter*>(child.FindComponent("splBars"));
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->Neighbour(), child.FindComponent("pnlBarsLeft"));
    EXPECT_EQ(splitter->Opposite(), child.FindComponent("pnlBarsRight"));
}

TEST_F(GalleryTest, ScrollingWindowHoldsMoreThanItsClientArea) {
    Item("mnuNewScrolling").Click();
    Application().ProcessMessages();
    TGalleryChild& child = ActiveChild();
    int right = 0, bottom = 0;
    for (int i = 0; i < child.ControlCount(); ++i) {
        TControl* control = child.Controls(i);
        right = std::max(right, control->Left() + control->Width());
        bottom = std::max(bottom, control->Top() + control->Height());
    }
    EXPECT_GT(right, child.ClientWidth());
    EXPECT_GT(bottom, child.ClientHeight());
}

// One row per look the controls window must show, with the test that finds it.
struct TLook {
    const char* What;
    std::function<bool(TControl&)> Shows;
};

template <class T>
std::function<bool(TControl&)> Is(std::function<bool(T&)> test) {
    return [test](TControl& control) {
        auto* typed = dynamic_cast<T*>(&control);
        return typed && test(*typed);
    };
}

TEST_F(GalleryTest, ControlsWindowShowsEveryControlInEveryStaticState) {
    const TLook looks[] = {
        {"a plain button", Is<TsButton>([](TsButton& b) { return b.Enabled() && !b.Default() && !b.Down(); })},
        {"a default button", Is<TsButton>([](TsButton& b) { return b.Enabled() && b.Default(); })},
        {"a pressed button", Is<TsButton>([](TsButton& b) { return b.Enabled() && b.Down(); })},
        {"a disabled button", Is<TsButton>([](TsButton& b) { return !b.Enabled(); })},
        {"an unchecked box", Is<TsCheckBox>([](TsCheckBox& c) { return c.Enabled() && c.State() == TCheckBoxState::cbUnchecked; })},
        {"a checked box", Is<TsCheckBox>([](TsCheckBox& c) { return c.Enabled() && c.State() == TCheckBoxState::cbChecked; })},
        {"a grey box", Is<TsCheckBox>([](TsCheckBox& c) { return c.Enabled() && c.State() == TCheckBoxState::cbGrayed; })},
        {"a disabled unchecked box", Is<TsCheckBox>([](TsCheckBox& c) { return !c.Enabled() && c.State() == TCheckBoxState::cbUnchecked; })},
        {"a disabled checked box", Is<TsCheckBox>([](TsCheckBox& c) { return !c.Enabled() && c.State() == TCheckBoxState::cbChecked; })},
        {"an edit", Is<TsEdit>([](TsEdit& e) { return e.Enabled() && !e.ReadOnly() && !e.Text().empty(); })},
        {"an empty edit", Is<TsEdit>([](TsEdit& e) { return e.Enabled() && e.Text().empty(); })},
        {"a read-only edit", Is<TsEdit>([](TsEdit& e) { return e.Enabled() && e.ReadOnly(); })},
        {"a disabled edit", Is<TsEdit>([](TsEdit& e) { return !e.Enabled(); })},
        {"a label on the left", Is<TsEdit>([](TsEdit& e) { return e.BoundLabel().Active() && e.BoundLabel().Layout() == sclLeft; })},
        {"a label above, left", Is<TsEdit>([](TsEdit& e) { return e.BoundLabel().Active() && e.BoundLabel().Layout() == sclTopLeft; })},
        {"a label above, centred", Is<TsEdit>([](TsEdit& e) { return e.BoundLabel().Active() && e.BoundLabel().Layout() == sclTopCenter; })},
        {"a label above, right", Is<TsEdit>([](TsEdit& e) { return e.BoundLabel().Active() && e.BoundLabel().Layout() == sclTopRight; })},
        {"a label of a disabled edit", Is<TsEdit>([](TsEdit& e) { return !e.Enabled() && e.BoundLabel().Active(); })},
        {"a label in the skin's colour", Is<TsLabel>([](TsLabel& l) { return l.Enabled() && l.UseSkinColor(); })},
        {"a label in its own colour", Is<TsLabel>([](TsLabel& l) { return l.Enabled() && !l.UseSkinColor(); })},
        {"a disabled label", Is<TsLabel>([](TsLabel& l) { return !l.Enabled(); })},
        {"a horizontal bar", Is<TsScrollBar>([](TsScrollBar& s) { return s.Enabled() && s.Kind() == sbHorizontal; })},
        {"a vertical bar", Is<TsScrollBar>([](TsScrollBar& s) { return s.Enabled() && s.Kind() == sbVertical; })},
        {"a disabled horizontal bar", Is<TsScrollBar>([](TsScrollBar& s) { return !s.Enabled() && s.Kind() == sbHorizontal; })},
        {"a disabled vertical bar", Is<TsScrollBar>([](TsScrollBar& s) { return !s.Enabled() && s.Kind() == sbVertical; })},
        {"a panel with a caption", Is<TsPanel>([](TsPanel& p) { return !dynamic_cast<TsGrip*>(&p) && !p.Caption().empty(); })},
        {"a grip", Is<TsGrip>([](TsGrip&) { return true; })},
    };
    TGalleryChild& window = ControlsWindow();
    for (const TLook& look : looks) {
        int found = 0;
        ForEachControl(window, [&](TControl& control) { found += look.Shows(control) ? 1 : 0; });
        EXPECT_GT(found, 0) << "the controls window shows no " << look.What;
    }
    // The focused look: the focus rests on a check box, so the default button keeps its own look.
    auto* focused = dynamic_cast<TsCheckBox*>(window.ActiveControl());
    ASSERT_NE(focused, nullptr);
    auto& defaultButton = dynamic_cast<TsButton&>(*window.FindComponent("btnDefault"));
    EXPECT_TRUE(defaultButton.DefaultLook());
}

TEST_F(GalleryTest, ComboBoxesWindowShowsBothKindsADisabledOneAndOneWhoseListScrolls) {
    Item("mnuNewComboBoxes").Click();
    Application().ProcessMessages();
    TGalleryChild& window = ActiveChild();
    ASSERT_EQ(window.Kind(), TGalleryChildKind::ComboBoxes);
    const TLook looks[] = {
        {"an edit kind", Is<TsComboBox>([](TsComboBox& c) { return c.Enabled() && c.Style() == TComboBoxStyle::csDropDown; })},
        {"a list kind", Is<TsComboBox>([](TsComboBox& c) { return c.Enabled() && c.Style() == TComboBoxStyle::csDropDownList; })},
        {"a disabled one", Is<TsComboBox>([](TsComboBox& c) { return !c.Enabled(); })},
        {"a list longer than it shows", Is<TsComboBox>([](TsComboBox& c) { return c.Items().Count() >= 30 && c.DropDownCount() < c.Items().Count(); })},
        {"a chosen item shown", Is<TsComboBox>([](TsComboBox& c) { return c.ItemIndex() >= 0 && c.Text() == c.Items().Strings(c.ItemIndex()); })},
    };
    for (const TLook& look : looks) {
        int found = 0;
        ForEachControl(window, [&](TControl& control) { found += look.Shows(control) ? 1 : 0; });
        EXPECT_GT(found, 0) << "the combo boxes window shows no " << look.What;
    }
    // Every combo box is skinned, its items drawn by the skin.
    ForEachControl(window, [](TControl& control) {
        if (auto* combo = dynamic_cast<TsComboBox*>(&control)) {
            EXPECT_TRUE(combo->SkinData.IsSkinned(true)) << combo->Name();
            EXPECT_TRUE(combo->ItemsOwnerDrawn()) << combo->Name();
        }
    });
}

TEST_F(GalleryTest, ControlsWindowGroupsHaveTitlesAndNothingOverlapsOrSticksOut) {
    TGalleryChild& window = ControlsWindow();
    int groups = 0;
    std::function<void(TWinControl&)> check = [&](TWinControl& parent) {
        std::vector<RECT> placed;
        for (int i = 0; i < parent.ControlCount(); ++i) {
            TControl& c = *parent.Controls(i);
            if (!c.Visible()) continue;
            const RECT r{c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
            SCOPED_TRACE(c.Name());
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, parent.ClientWidth());
            EXPECT_LE(r.bottom, parent.ClientHeight());
            for (const RECT& other : placed) {
                const bool apart = r.right <= other.left || other.right <= r.left || r.bottom <= other.top ||
                                   other.bottom <= r.top;
                EXPECT_TRUE(apart) << "overlaps a sibling at (" << other.left << ", " << other.top << ")";
            }
            placed.push_back(r);
            if (auto* container = dynamic_cast<TWinControl*>(&c)) check(*container);
        }
    };
    check(window);
    for (int i = 0; i < window.ControlCount(); ++i) {
        auto* group = dynamic_cast<TsPanel*>(window.Controls(i));
        if (!group) continue;
        ++groups;
        auto* title = dynamic_cast<TsLabel*>(window.FindComponent(group->Name() + "Title"));
        ASSERT_NE(title, nullptr) << group->Name();
        EXPECT_EQ(title->Parent(), group);
        EXPECT_TRUE(title->Font().Style() & fsBold);
    }
    EXPECT_EQ(groups, 6);
}

TEST_F(GalleryTest, WindowMenuMaximisesRestoresAndCloseClosesTheActiveChild) {
    Item("mnuNewSizeable").Click();
    Application().ProcessMessages();
    TGalleryChild* sizeable = &ActiveChild();
    ASSERT_EQ(sizeable->Kind(), TGalleryChildKind::Sizeable);
    Item("mnuMaximise").Click();
    Application().ProcessMessages();
    EXPECT_EQ(sizeable->WindowState(), TWindowState::wsMaximized);
    EXPECT_TRUE(IsZoomed(sizeable->Handle()));
    Item("mnuRestore").Click();
    Application().ProcessMessages();
    EXPECT_EQ(sizeable->WindowState(), TWindowState::wsNormal);
    EXPECT_FALSE(IsZoomed(sizeable->Handle()));
    const int before = frame->MDIChildCount();
    Item("mnuClose").Click();
    Application().ProcessMessages();
    EXPECT_EQ(frame->MDIChildCount(), before - 1);
    for (int i = 0; i < frame->MDIChildCount(); ++i) EXPECT_NE(frame->MDIChildren(i), sizeable);
}

TEST_F(GalleryTest, SkinsMenuListsTheFoundSkinsAndSwitchesTheProgram) {
    TsSkinManager& manager = frame->SkinManager();
    // The repository's skin folders, seen through Wine's drive of the whole file system.
    const std::filesystem::path skins = std::filesystem::path(KORVEL_SOURCE_DIR) / "skins";
    manager.SetSkinDirectory("Z:" + skins.string());
    frame->RebuildSkinsMenu();
    std::set<std::string> expected{"Elegant (internal)"};
    for (const auto& entry : std::filesystem::directory_iterator(skins))
        if (entry.is_directory()) expected.insert(entry.path().filename().string());
    const std::vector<std::string> names = frame->SkinsMenuNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    EXPECT_EQ(names.size(), expected.size());

    TMenuItem& head = Item("mnuSkins");
    auto checkedNames = [&] {
        std::vector<std::string> checked;
        for (int i = 0; i < head.Count(); ++i)
            if (head.Items(i)->Checked()) checked.push_back(names[static_cast<std::size_t>(i)]);
        return checked;
    };
    EXPECT_EQ(checkedNames(), std::vector<std::string>{"Elegant (internal)"});
    const auto basalt = std::find(names.begin(), names.end(), "Basalt");
    ASSERT_NE(basalt, names.end());
    head.Items(static_cast<int>(basalt - names.begin()))->Click();
    Application().ProcessMessages();
    EXPECT_EQ(manager.SkinName(), "Basalt");
    EXPECT_EQ(checkedNames(), std::vector<std::string>{"Basalt"});
    // The gallery follows saves: the chosen skin's folder is watched, the internal skin's none.
    EXPECT_TRUE(manager.LiveReload());
    const auto windowsPath = [](std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    };
    EXPECT_EQ(windowsPath(manager.WatchedFolder()), windowsPath("Z:" + (skins / "Basalt").string()));
    // The children hear it: the controls window's provider now paints from Basalt's tables.
    auto* provider = dynamic_cast<TsSkinProvider*>(ControlsWindow().FindComponent("sSkinProvider1"));
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->SkinData().SkinManager(), &manager);
    const auto internal = std::find(names.begin(), names.end(), "Elegant (internal)");
    head.Items(static_cast<int>(internal - names.begin()))->Click();
    Application().ProcessMessages();
    EXPECT_EQ(manager.SkinName(), "Elegant (internal)");
    EXPECT_EQ(checkedNames(), std::vector<std::string>{"Elegant (internal)"});
    EXPECT_EQ(manager.WatchedFolder(), "");
}

// korvel-gallery.exe SKIN: the frame and its first window are built in the
// named skin, the Skins menu checks it; a name no folder holds is reported and
// the gallery starts in its own skin.
TEST(GalleryStart, StartsInTheNamedSkinOrReportsAnUnknownOne) {
    // The skin folder the gallery's definition names, as an installation has it.
    const std::filesystem::path installed = std::filesystem::path("c:/korvel/skins/Basalt");
    std::filesystem::create_directories(installed);
    std::filesystem::copy(std::filesystem::path("Z:" KORVEL_SOURCE_DIR) / "skins" / "Basalt", installed,
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> reported;
    Application().OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    struct TCase {
        const char* Asked;
        const char* Shown;
        bool Reported;
    };
    for (const TCase& c : {TCase{"Basalt", "Basalt", false}, TCase{"No Such Skin", "Elegant (internal)", true},
                           TCase{"", "Elegant (internal)", false}}) {
        SCOPED_TRACE(c.Asked);
        reported.clear();
        auto* frame = new TGalleryFrame(nullptr, nullptr, c.Asked);
        Application().SetMainForm(frame);
        EXPECT_EQ(frame->SkinManager().SkinName(), c.Shown);
        EXPECT_EQ(reported.size(), c.Reported ? 1u : 0u);
        if (c.Reported && !reported.empty()) {
            EXPECT_NE(reported[0].find(c.Asked), std::string::npos) << reported[0];
        }
        frame->Show();
        Application().ProcessMessages();
        ASSERT_EQ(frame->MDIChildCount(), 1);
        auto& head = dynamic_cast<TMenuItem&>(*frame->FindComponent("mnuSkins"));
        const std::vector<std::string> names = frame->SkinsMenuNames();
        for (int i = 0; i < head.Count(); ++i)
            EXPECT_EQ(head.Items(i)->Checked(), names[static_cast<std::size_t>(i)] == c.Shown) << names[static_cast<std::size_t>(i)];
        while (frame->MDIChildCount() > 0) delete frame->MDIChildren(0);
        Application().SetMainForm(nullptr);
        delete frame;
        Application().ProcessMessages();
    }
    Application().OnException = nullptr;
}

}  // namespace
