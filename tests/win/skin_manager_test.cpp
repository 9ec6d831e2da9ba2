// The skin manager and the per-control skin state, with real forms and controls.
#include <gtest/gtest.h>

#include "gui/application.h"
#include "gui/forms.h"
#include "paint/color.h"
#include "skin_manager_support.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::AddElegant;
using testing::NewElegantManager;
using testing::TSkinnedGraphic;
using testing::TSkinnedPanel;

constexpr const char* Elegant = "Elegant (internal)";
const std::vector<std::uint32_t> NewSkinOrder = {SMC_SKINCHANGED, SMC_STOPFADE, SMC_SKINAPPLIED};

class SkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());
        form->SetBounds(20, 20, 320, 240);
        manager = NewElegantManager(form);
    }
    void TearDown() override {
        delete form;
        Application().OnException = nullptr;
        EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
    }
    TSkinnedPanel* AddPanel(TWinControl* parent, const std::string& section = "PANEL") {
        auto* p = new TSkinnedPanel(form, section);
        p->SetParent(parent);
        return p;
    }
    // From now on errors reported through the application are collected, not failures.
    void CollectReports() {
        Application().OnException = [this](const std::exception& e) { reported.push_back(e.what()); };
    }
    TForm* form = nullptr;
    TsSkinManager* manager = nullptr;
    std::vector<std::string> reported;
};

TEST_F(SkinManagerTest, FirstManagerIsTheDefaultAndHasItsDefaults) {
    EXPECT_TRUE(manager->IsDefault());
    EXPECT_TRUE(manager->Active());
    EXPECT_EQ(manager->SkinDirectory(), "Z:\\nonexistent");
    EXPECT_EQ(manager->SkinInfo(), "N/A");
    EXPECT_EQ(TsSkinManager::Version(), "4.73");
    EXPECT_TRUE(manager->SkinnedPopups());
    TsSkinManager fresh(nullptr);
    EXPECT_EQ(fresh.SkinDirectory(), "c:\\Skins");
    EXPECT_FALSE(fresh.IsDefault());
    EXPECT_EQ(TsSkinManager::DefaultManager(), manager);
}

TEST_F(SkinManagerTest, NewSkinIsAnnouncedInOrderToEveryControlOfTheTree) {
    auto* panel = AddPanel(form);
    auto* inner = AddPanel(panel, "BUTTON");
    auto* graphic = new TSkinnedGraphic(form);
    graphic->SetParent(form);
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    auto* deep = AddPanel(plain, "EDIT");
    for (auto* c : {&panel->Log, &inner->Log, &graphic->Log, &deep->Log}) *c = {};

    manager->SetSkinName(Elegant);
    EXPECT_EQ(manager->SkinInfo(), "4.33");
    EXPECT_EQ(panel->Log.Announcements(), NewSkinOrder);
    EXPECT_EQ(graphic->Log.Announcements(), NewSkinOrder);
    EXPECT_EQ(deep->Log.Announcements(), NewSkinOrder);
    // A skinned container handles its own subtree; this test control does not forward.
    EXPECT_TRUE(inner->Log.Announcements().empty());
    EXPECT_EQ(panel->Log.Arguments.back(), reinterpret_cast<LPARAM>(manager));
    EXPECT_TRUE(panel->SkinData.IsSkinned(true));
    EXPECT_EQ(panel->SkinData.SkinIndex, manager->SectionIndexOf("PANEL"));
    EXPECT_FALSE(panel->SkinData.Updating);
    EXPECT_TRUE(panel->SkinData.BackgroundChanged);

    // The same name again reloads and announces again.
    panel->Log = {};
    manager->SetSkinName(Elegant);
    EXPECT_EQ(panel->Log.Announcements(), NewSkinOrder);
}

TEST_F(SkinManagerTest, IsDefaultOnAnActiveManagerAnnouncesTwiceTheRefresh) {
    auto* panel = AddPanel(form);
    manager->SetSkinName(Elegant);
    panel->Log = {};
    manager->SetIsDefault(true);
    EXPECT_EQ(panel->Log.Announcements(),
              (std::vector<std::uint32_t>{SMC_SKINCHANGED, SMC_STOPFADE, SMC_SKINAPPLIED, SMC_STOPFADE, SMC_SKINAPPLIED}));
}

TEST_F(SkinManagerTest, ABroadcastOfAnotherManagerChangesNothing) {
    auto* panel = AddPanel(form);
    manager->SetSkinName(Elegant);
    panel->SkinData.BackgroundChanged = false;
    const int index = panel->SkinData.SkinIndex;

    auto* second = new TsSkinManager(form);
    EXPECT_EQ(TsSkinManager::DefaultManager(), manager);
    second->SetProgramFolder("Z:\\nonexistent\\");
    AddElegant(*second);
    second->SetCommonSections({"[ONLYHERE]", "COLOR = 255"});
    panel->Log = {};
    second->SetSkinName(Elegant);
    EXPECT_EQ(panel->Log.Announcements(), NewSkinOrder);   // it hears them
    EXPECT_FALSE(panel->SkinData.BackgroundChanged);        // and ignores them
    EXPECT_FALSE(panel->SkinData.Updating);
    EXPECT_EQ(panel->SkinData.SkinIndex, index);

    // Making the second the default announces its skin to everyone.
    panel->Log = {};
    second->SetIsDefault(true);
    EXPECT_EQ(TsSkinManager::DefaultManager(), second);
    EXPECT_FALSE(manager->IsDefault());
    EXPECT_EQ(panel->SkinData.SkinManager(), second);
    EXPECT_EQ(panel->Log.Announcements().front(), SMC_SKINCHANGED);
    EXPECT_GE(second->SectionIndexOf("ONLYHERE"), 0);
    EXPECT_EQ(second->Tables().Sections[static_cast<size_t>(second->SectionIndexOf("ONLYHERE"))].Color, 255u);
    delete second;
    EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
}

TEST_F(SkinManagerTest, DeactivationAnnouncesRemovalAndEmptiesTheTables) {
    auto* panel = AddPanel(form);
    manager->SetSkinName(Elegant);
    panel->SkinData.PrepareCacheBmp();
    panel->Log = {};
    manager->SetActive(false);
    EXPECT_EQ(panel->Log.Announcements(), (std::vector<std::uint32_t>{SMC_SKINREMOVED}));
    EXPECT_EQ(panel->SkinData.SkinIndex, -1);
    EXPECT_EQ(panel->SkinData.BorderIndex, -1);
    EXPECT_TRUE(manager->Tables().Sections.empty());
    EXPECT_TRUE(manager->Tables().Masks.empty());
    EXPECT_EQ(manager->SkinInfo(), "N/A");
    panel->Log = {};
    manager->SetActive(true);
    EXPECT_EQ(panel->Log.Announcements(), NewSkinOrder);
    EXPECT_TRUE(panel->SkinData.IsSkinned(true));
}

TEST_F(SkinManagerTest, UnknownNameFallsBackToTheInternalSkinEvenWhenALaterPassFails) {
    manager->SetSkinName("No such skin");
    EXPECT_EQ(manager->SkinName(), Elegant);
    EXPECT_EQ(manager->SkinInfo(), "4.33");

    // A rectangle on the master bitmap with a field that is no number ends the
    // load in the mask pass, after the source was chosen.
    CollectReports();
    manager->SetCommonSections({"[BROKEN]", "BORDERSMASK = #(1,2,x,4)(3,1)"});
    ASSERT_EQ(reported.size(), 1u);
    manager->SetSkinName("Still no such skin");
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_NE(reported.back().find("'x' is not a valid integer value"), std::string::npos) << reported.back();
    EXPECT_EQ(manager->SkinName(), Elegant);
    EXPECT_FALSE(SkinChanging);
}

TEST_F(SkinManagerTest, ChangeEventsFrameTheLoadAndAFailedLoadRaisesNoAfterEvent) {
    const std::string directory = testing::WriteFolderSkin(
        "events", "Slate", {"[GLOBALINFO]", "VERSION=2.5", "[PANEL]", "COLOR=1193046"});
    testing::WriteFolderSkin("events", "Cracked", {"[GLOBALINFO]", "VERSION=3", "SHADOW1COLOR=red", "[PANEL]", "COLOR=0"});
    manager->SetSkinDirectory(directory);
    manager->SetSkinName(Elegant);
    auto* panel = AddPanel(form);
    panel->Log = {};
    // What each event sees: the name asked for, the skin shown, how far the announcement went.
    std::vector<std::string> events;
    const auto seen = [&](const char* event, TObject* sender) {
        EXPECT_EQ(sender, manager);
        events.push_back(std::string(event) + " " + manager->SkinName() + " " + manager->SkinInfo() + " " +
                         std::to_string(panel->Log.Announcements().size()) + (SkinChanging ? " changing" : ""));
    };
    manager->OnBeforeChange = [&](TObject* sender) { seen("before", sender); };
    manager->OnAfterChange = [&](TObject* sender) { seen("after", sender); };
    CollectReports();

    manager->SetSkinName("Slate");
    EXPECT_EQ(events, (std::vector<std::string>{"before Slate 4.33 0", "after Slate 2.5 3"}));
    EXPECT_EQ(panel->Log.Announcements(), NewSkinOrder);
    EXPECT_TRUE(reported.empty());

    events.clear();
    panel->Log = {};
    manager->SetSkinName("Cracked");
    EXPECT_EQ(events, (std::vector<std::string>{"before Cracked 2.5 0"}));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_NE(reported[0].find("'red' is not a valid integer value"), std::string::npos) << reported[0];
    EXPECT_TRUE(panel->Log.Announcements().empty());
    EXPECT_FALSE(SkinChanging);
}

TEST(SkinManagerWithoutSkins, NoSourceLeavesTheManagerInactiveWithoutASkin) {
    auto* form = new TForm(&Application());
    auto* manager = new TsSkinManager(form);
    manager->SetProgramFolder("Z:\\nonexistent\\");
    manager->SetSkinDirectory("Z:\\nonexistent");
    manager->SetSkinName("Nothing");
    EXPECT_FALSE(manager->Active());
    EXPECT_TRUE(manager->Tables().Sections.empty());
    EXPECT_EQ(manager->SkinInfo(), "N/A");
    delete form;
}

TEST_F(SkinManagerTest, AssigningTheDefaultManagerResolvesAgainAndApplies) {
    manager->SetSkinName(Elegant);
    auto* panel = AddPanel(form);
    ASSERT_EQ(panel->SkinData.StoredSkinManager(), nullptr);
    panel->SkinData.SkinIndex = -1;   // left stale by whatever happened before
    panel->Log = {};
    panel->SkinData.SetSkinManager(manager);
    EXPECT_EQ(panel->SkinData.StoredSkinManager(), nullptr);
    EXPECT_EQ(panel->SkinData.SkinIndex, manager->SectionIndexOf("PANEL"));
    ASSERT_EQ(panel->Log.Commands, (std::vector<std::uint32_t>{SMC_SKINAPPLIED}));
    EXPECT_EQ(panel->Log.Arguments.back(), reinterpret_cast<LPARAM>(manager));

    // The same again (none stored, none given) changes nothing.
    panel->Log = {};
    panel->SkinData.SetSkinManager(nullptr);
    EXPECT_TRUE(panel->Log.Commands.empty());
}

TEST_F(SkinManagerTest, AFreedManagerIsForgottenByTheControlsThatNamedIt) {
    manager->SetSkinName(Elegant);
    auto* second = NewElegantManager(form);
    second->SetSkinName(Elegant);
    auto* panel = AddPanel(form);
    panel->SkinData.SetSkinManager(second);
    ASSERT_EQ(panel->SkinData.StoredSkinManager(), second);
    ASSERT_TRUE(panel->SkinData.IsSkinned(true));
    panel->Log = {};
    delete second;
    EXPECT_EQ(panel->Log.Announcements(), (std::vector<std::uint32_t>{SMC_SKINREMOVED}));
    EXPECT_EQ(panel->SkinData.StoredSkinManager(), nullptr);
    EXPECT_EQ(panel->SkinData.SkinManager(), manager);
    EXPECT_EQ(panel->SkinData.SkinIndex, -1);
}

TEST_F(SkinManagerTest, HueAndSaturationApplyAfreshToEveryLoad) {
    manager->SetHueOffset(30);   // no skin yet: only stored
    EXPECT_EQ(manager->HueOffset(), 30);
    EXPECT_TRUE(manager->Tables().Sections.empty());
    manager->SetHueOffset(0);

    manager->SetSkinName(Elegant);
    const auto& tables = manager->Tables();
    const int form = manager->SectionIndexOf("FORMTITLE");
    ASSERT_GE(form, 0);
    const TColor plainColor = tables.Sections[static_cast<size_t>(form)].HotColor;
    TBitmap24 master = tables.MasterBitmap.Clone();

    auto* panel = AddPanel(this->form);
    panel->Log = {};
    manager->SetHueOffset(30);
    EXPECT_EQ(panel->Log.Announcements(), (std::vector<std::uint32_t>{SMC_STOPFADE, SMC_SKINAPPLIED}));
    manager->SetHueOffset(60);
    EXPECT_EQ(tables.Sections[static_cast<size_t>(form)].HotColor, ChangeHue(60, plainColor));
    int greys = 0, keys = 0;
    for (int y = 0; y < master.Height(); y += 3) {
        for (int x = 0; x < master.Width(); x += 3) {
            const TColor before = master.Pixel(x, y);
            const bool grey = RedOf(before) == GreenOf(before) && GreenOf(before) == BlueOf(before);
            if (before == clNone || grey) {
                ASSERT_EQ(tables.MasterBitmap.Pixel(x, y), before) << x << "," << y;
                (before == clNone ? keys : greys)++;
            } else {
                ASSERT_EQ(tables.MasterBitmap.Pixel(x, y), ChangeHue(60, before)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(greys + keys, 0);

    // Saturation 101 runs a pass of amount 0: nothing changes.
    manager->SetSaturation(101);
    EXPECT_EQ(tables.Sections[static_cast<size_t>(form)].HotColor, ChangeHue(60, plainColor));
    manager->SetHueOffset(0);
    manager->SetSaturation(0);
    EXPECT_EQ(tables.Sections[static_cast<size_t>(form)].HotColor, plainColor);
}

class TRecordingMenus : public TacMenuSkinning {
public:
    std::vector<std::pair<int, LPARAM>>* Seen = nullptr;
    void HookItem(LPARAM item) override { Seen->push_back({48307, item}); }
    void HookPopupWindow(LPARAM window) override { Seen->push_back({48308, window}); }
};

TEST_F(SkinManagerTest, MainWindowHookHandsTheTwoMenuMessagesOnAndPassesTheRest) {
    std::vector<std::pair<int, LPARAM>> seen;
    auto menus = std::make_unique<TRecordingMenus>();
    menus->Seen = &seen;
    manager->SetSkinableMenus(std::move(menus));
    HWND handle = form->Handle();
    SendMessageW(handle, WM_SKINMENUITEM, 0, 1234);
    SendMessageW(handle, WM_SKINMENUWINDOW, 0, 5678);
    SendMessageW(handle, WM_NULL, 0, 0);
    form->SetCaption("still answers");
    EXPECT_EQ(seen, (std::vector<std::pair<int, LPARAM>>{{48307, 1234}, {48308, 5678}}));
    wchar_t text[32] = {};
    GetWindowTextW(handle, text, 32);
    EXPECT_EQ(std::wstring(text), L"still answers");
}

TEST_F(SkinManagerTest, ControlColourBlendsTransparentSectionsOverTheParent) {
    manager->SetCommonSections({"[HALF]", "COLOR=0", "TRANSPARENCY=50", "[CLEAR]", "COLOR=255", "TRANSPARENCY=100",
                                "[SOLID]", "COLOR = 65280", "TRANSPARENCY=0"});
    manager->SetSkinName(Elegant);
    auto* white = new TPanel(form);
    white->SetParent(form);
    white->SetColor(0xFFFFFF);
    struct Case { const char* section; TColor expected; };
    const Case cases[] = {{"HALF", 0x313131}, {"CLEAR", 0xFFFFFF}, {"SOLID", 0x00FF00}};
    for (const auto& c : cases) {
        auto* child = AddPanel(white, c.section);
        ASSERT_TRUE(child->SkinData.IsSkinned(false)) << c.section;
        EXPECT_EQ(GetControlColor(child), c.expected) << c.section;
    }
}

TEST_F(SkinManagerTest, SectionAndManagerSettersResolveAndTellTheControl) {
    manager->SetSkinName(Elegant);
    auto* panel = AddPanel(form);
    panel->Log = {};
    panel->SkinData.SetSkinSection("");
    EXPECT_EQ(panel->SkinData.SkinSection(), "UNKNOWN");
    EXPECT_EQ(panel->SkinData.SkinIndex, -1);
    EXPECT_EQ(panel->Log.Commands, (std::vector<std::uint32_t>{SMC_SKINREMOVED}));
    panel->SkinData.SetSkinSection("BUTTON");
    EXPECT_EQ(panel->Log.Commands.back(), SMC_SKINAPPLIED);
    EXPECT_GE(panel->SkinData.SkinIndex, 0);
    EXPECT_GE(panel->SkinData.BorderIndex, 0);

    panel->SkinData.SetSkinManager(manager);   // the default itself is not stored
    EXPECT_EQ(panel->SkinData.StoredSkinManager(), nullptr);
    EXPECT_FALSE(panel->SkinData.SkinManagerStored());
    EXPECT_EQ(panel->SkinData.SkinManager(), manager);

    // Resolution by control code when the section is empty.
    TSkinnedPanel loose(nullptr, "X");
    struct Case { std::uint32_t code; const char* section; };
    const Case cases[] = {{3, "EDIT"}, {32, "CHECKBOX"}, {51, "PANEL"}, {93, "BUTTON"}, {97, "EDIT"}, {165, "TRACKBAR"},
                          {142, "TPanel"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultSectionOf(c.code).empty() ? std::string("TPanel") : DefaultSectionOf(c.code), c.section);
    }
}

TEST_F(SkinManagerTest, HotStateFollowsTheNoHoverSet) {
    auto* button = AddPanel(form, "BUTTON");
    button->SkinData.ControlCode = ccButton;
    auto* panel = AddPanel(form, "PANEL");
    button->Perform(CM_MOUSEENTER);
    panel->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(button->SkinData.IsActive());
    EXPECT_FALSE(panel->SkinData.IsActive());
    panel->SkinData.Focused = true;
    EXPECT_TRUE(panel->SkinData.IsActive());
    button->Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(button->SkinData.IsActive());
    button->Perform(CM_MOUSEENTER);
    button->SetEnabled(false);
    EXPECT_FALSE(button->SkinData.IsActive());
    EXPECT_FALSE(button->SkinData.MouseAbove);   // the enabled-state change clears it
    for (std::uint32_t code : {51u, 60u, 74u, 110u, 141u, 161u}) EXPECT_TRUE(InNoHoverSet(code)) << code;
    for (std::uint32_t code : {50u, 75u, 93u, 140u, 162u, 256u}) EXPECT_FALSE(InNoHoverSet(code)) << code;
}

TEST_F(SkinManagerTest, UpdatingQueriesAndCacheAnswers) {
    manager->SetSkinName(Elegant);
    TSkinnedPanel orphan(nullptr);
    EXPECT_TRUE(orphan.SkinData.IsUpdating());   // no parent
    auto* parent = AddPanel(form);
    auto* child = AddPanel(parent, "BUTTON");
    parent->SkinData.BackgroundChanged = false;
    parent->SkinData.Updating = false;
    EXPECT_FALSE(QuerySkinCommand(parent, SMC_QUERYUPDATING)) << "the form has no skin state";
    EXPECT_TRUE(child->SkinData.IsUpdating() == QuerySkinCommand(parent, SMC_QUERYUPDATING));
    parent->SkinData.BackgroundChanged = true;
    EXPECT_TRUE(child->SkinData.IsUpdating());

    parent->SetBounds(0, 0, 40, 30);
    parent->SkinData.PrepareCacheBmp();
    TParentBackground bg;
    child->SkinData.GetParentCache(bg);
    EXPECT_FALSE(bg.Ready) << "a parent without a window is not asked";
    parent->HandleNeeded();
    child->SkinData.GetParentCache(bg);
    ASSERT_TRUE(bg.Ready);
    ASSERT_EQ(bg.Bitmap, parent->SkinData.CacheBmp());
    EXPECT_EQ(bg.Bitmap->Width(), 40);
    EXPECT_EQ(bg.Bitmap->Height(), 30);
}

TEST_F(SkinManagerTest, SmallCommandsSetTheirFlags) {
    manager->SetCommonSections({"[SEE]", "COLOR=0", "TRANSPARENCY=40"});
    manager->SetSkinName(Elegant);
    auto* opaque = AddPanel(form, "PANEL");
    auto* clear = AddPanel(form, "SEE");
    struct Case { std::uint32_t command, argument; bool TsCommonData::*flag; bool start, opaqueAfter, clearAfter; };
    const Case cases[] = {
        {SMC_SETUPDATING, 1, &TsCommonData::Updating, false, true, true},
        {SMC_SETUPDATING, 0, &TsCommonData::Updating, true, false, false},
        {SMC_SETPREPARING, 1, &TsCommonData::Preparing, false, true, true},
        {SMC_SETBGCHANGED, 0, &TsCommonData::BackgroundChanged, false, true, true},
        {SMC_PARENTBGCHANGED, 1, &TsCommonData::BackgroundChanged, false, false, true},
        {SMC_PARENTBGCHANGED, 0, &TsCommonData::BackgroundChanged, false, false, false},
        {SMC_SETPARTLYHIDDEN, 0, &TsCommonData::PartlyHidden, false, true, true},
    };
    for (const auto& c : cases) {
        opaque->SkinData.*c.flag = clear->SkinData.*c.flag = c.start;
        opaque->Perform(SM_ALPHACMD, PackSkinCommand(c.command, c.argument), 0);
        clear->Perform(SM_ALPHACMD, PackSkinCommand(c.command, c.argument), 0);
        EXPECT_EQ(opaque->SkinData.*c.flag, c.opaqueAfter) << c.command << "/" << c.argument;
        EXPECT_EQ(clear->SkinData.*c.flag, c.clearAfter) << c.command << "/" << c.argument;
    }
    int marker = 0;
    opaque->Perform(SM_ALPHACMD, PackSkinCommand(SMC_SETLINK), reinterpret_cast<LPARAM>(&marker));
    EXPECT_EQ(opaque->SkinData.Link, &marker);
    opaque->SkinData.PartlyHidden = false;
    EXPECT_FALSE(QuerySkinCommand(opaque, SMC_QUERYPARTLYHIDDEN));
    opaque->SkinData.PartlyHidden = true;
    EXPECT_TRUE(QuerySkinCommand(opaque, SMC_QUERYPARTLYHIDDEN));
    EXPECT_TRUE(clear->SkinData.IsTransparent());
    EXPECT_FALSE(opaque->SkinData.IsTransparent());
}

TEST_F(SkinManagerTest, InvalidateReachesChildrenOnlyThroughDependentControls) {
    manager->SetCommonSections({"[SEE]", "COLOR=0", "TRANSPARENCY=40", "[GRAD]", "COLOR=0", "GRADIENTPERCENT=50"});
    manager->SetSkinName(Elegant);
    auto* host = AddPanel(form, "GRAD");        // a textured parent
    auto* outer = AddPanel(host, "SEE");
    auto* inner = AddPanel(outer, "SEE");
    auto* solid = AddPanel(host, "SEE");
    auto* below = AddPanel(solid, "SEE");
    auto* overPlain = AddPanel(form, "SEE");     // transparent over a parent without skin state
    host->HandleNeeded();
    for (auto* p : {host, outer, inner, solid, below, overPlain}) {
        p->SkinData.BackgroundChanged = false;
        p->Log = {};
    }
    solid->SetEnabled(true);
    solid->SkinData.SetSkinSection("PANEL");     // opaque: independent of its parent
    solid->SkinData.BackgroundChanged = false;
    below->Log = {};
    outer->Perform(SM_ALPHACMD, PackSkinCommand(SMC_INVALIDATE, 1), 0);
    solid->Perform(SM_ALPHACMD, PackSkinCommand(SMC_INVALIDATE, 1), 0);
    overPlain->Perform(SM_ALPHACMD, PackSkinCommand(SMC_INVALIDATE, 1), 0);
    EXPECT_TRUE(outer->SkinData.BackgroundChanged);
    EXPECT_FALSE(solid->SkinData.BackgroundChanged);
    EXPECT_FALSE(overPlain->SkinData.BackgroundChanged);
    ASSERT_FALSE(inner->Log.Commands.empty());
    EXPECT_EQ(inner->Log.Commands.back(), SMC_INVALIDATE);
    EXPECT_TRUE(inner->SkinData.BackgroundChanged);       // its parent answers that it is see-through
    for (auto c : below->Log.Commands) EXPECT_NE(c, SMC_INVALIDATE);
}

TEST(SkinManagerDefinition, AStoredDefinitionCreatesTheManagerWithItsSettings) {
    RegisterSkinManagerClass();
    auto* form = new TForm(&Application());
    form->ReadDefinition(
        "object Form1: TForm\n"
        "  object sSkinManager1: TsSkinManager\n"
        "    Active = False\n"
        "    HueOffset = 30\n"
        "    Saturation = -5\n"
        "    SkinDirectory = 'Z:\\nonexistent'\n"
        "    SkinName = 'Elegant (internal)'\n"
        "    SkinnedPopups = False\n"
        "    CommonSections = (\n"
        "      '[A B]'\n"
        "      '; keep me'\n"
        "    )\n"
        "  end\n"
        "end\n");
    auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
    ASSERT_NE(manager, nullptr);
    EXPECT_TRUE(manager->IsDefault());
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->HueOffset(), 30);
    EXPECT_EQ(manager->Saturation(), -5);
    EXPECT_EQ(manager->SkinDirectory(), "Z:\\nonexistent");
    EXPECT_EQ(manager->SkinName(), "Elegant (internal)");
    EXPECT_FALSE(manager->SkinnedPopups());
    EXPECT_EQ(manager->CommonSections(), (std::vector<std::string>{"[AB]", "; keep me"}));
    EXPECT_EQ(manager->MenuSupport().IcoLineSkin, "ICOLINE");
    delete form;
    EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
}

TEST(SkinManagerDefinition, CommonSectionsReadBeforeTheSkinNameEndWithTheNamedSkinActive) {
    RegisterSkinManagerClass();
    const std::string directory = testing::WriteFolderSkin(
        "definition", "Slate", {"[GLOBALINFO]", "VERSION=2.5", "[PANEL]", "COLOR=1193046", "TRANSPARENCY=20"});
    const std::string commonSections =
        "    CommonSections = (\n"
        "      '[EXTRA]'\n"
        "      'COLOR = 6636321'\n"
        "      'PARENTCLASS = PANEL'\n"
        "    )\n";
    const std::string skinDirectory = "    SkinDirectory = '" + directory + "'\n";
    const std::string skinName = "    SkinName = 'Slate'\n";
    struct Case { const char* order; std::string properties; };
    const Case cases[] = {
        {"published", commonSections + skinDirectory + skinName},
        {"name first", skinDirectory + skinName + commonSections},
    };
    for (const auto& c : cases) {
        auto* form = new TForm(&Application());
        auto* panel = new TSkinnedPanel(form, "EXTRA");
        panel->SetParent(form);
        form->ReadDefinition("object Form1: TForm\n  object sSkinManager1: TsSkinManager\n" + c.properties +
                             "  end\nend\n");
        auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent("sSkinManager1"));
        ASSERT_NE(manager, nullptr) << c.order;
        EXPECT_TRUE(manager->Active()) << c.order;
        EXPECT_EQ(manager->SkinName(), "Slate") << c.order;
        EXPECT_EQ(manager->SkinInfo(), "2.5") << c.order;
        EXPECT_EQ(manager->SkinData().SkinPath, directory + "\\Slate\\") << c.order;
        // The common section lies over the folder skin: it inherits from the folder's PANEL.
        const int extra = manager->SectionIndexOf("EXTRA");
        ASSERT_GE(extra, 0) << c.order;
        EXPECT_EQ(manager->Tables().Sections[static_cast<size_t>(extra)].Color, 6636321u) << c.order;
        EXPECT_EQ(manager->Tables().Sections[static_cast<size_t>(extra)].Transparency, 20) << c.order;
        EXPECT_EQ(panel->SkinData.SkinIndex, extra) << c.order;
        EXPECT_TRUE(panel->SkinData.IsSkinned(true)) << c.order;
        EXPECT_EQ(panel->Log.Announcements().back(), SMC_SKINAPPLIED) << c.order;
        delete form;
        EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
    }
}

}  // namespace
}  // namespace korvel
