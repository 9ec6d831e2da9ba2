// The skin message: its id and packing, and the utilities that deliver it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/application.h"
#include "gui/forms.h"
#include "skin_manager_support.h"

namespace korvel {
namespace {

// The owner of the hooks these tests put in window procedure chains.
const int kHookOwner = 0;

using testing::TSkinnedGraphic;
using testing::TSkinnedPanel;

TEST(SkinMessage, IdIsFixedAndCommandsPackIntoTheHighWord) {
    EXPECT_EQ(SM_ALPHACMD, 0xA100u);
    struct Case { std::uint32_t command, argument; WPARAM expected; };
    const Case cases[] = {
        {SMC_INVALIDATE, 1, 0x00140001},
        {SMC_SKINAPPLIED, 0, 0x00030000},
        {SMC_SETPREPARING, 0, 0x00090000},
        {SMC_SETUPDATING, 1, 0x00080001},
        {SMC_FADEFRAME, 0xFFFF, 0x0018FFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PackSkinCommand(c.command, c.argument), c.expected) << c.command;
        EXPECT_EQ(SkinCommandOf(c.expected), c.command);
        EXPECT_EQ(SkinArgumentOf(c.expected), c.argument);
    }
}

class SkinMessageTree : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());
        form->SetBounds(10, 10, 300, 200);
    }
    void TearDown() override {
        delete form;
        Application().OnException = nullptr;
    }
    TForm* form = nullptr;
};

TEST_F(SkinMessageTree, QueryNeverCreatesAHandleAndSeesTheAnswer) {
    auto* skinned = new TSkinnedPanel(form);
    auto* plain = new TPanel(form);
    skinned->SetParent(form);
    plain->SetParent(form);
    EXPECT_TRUE(QuerySkinCommand(skinned, SMC_ISSKINNED));
    EXPECT_FALSE(QuerySkinCommand(plain, SMC_ISSKINNED));
    EXPECT_FALSE(skinned->HandleAllocated());
    EXPECT_FALSE(plain->HandleAllocated());
    EXPECT_FALSE(form->HandleAllocated());
}

TEST_F(SkinMessageTree, CommandToAControlWithoutHandleIsDroppedAndWindowlessGetsPerform) {
    auto* panel = new TSkinnedPanel(form);
    auto* graphic = new TSkinnedGraphic(form);
    panel->SetParent(form);
    graphic->SetParent(panel);
    SkinCommandToControl(panel, SMC_SETBGCHANGED);
    EXPECT_TRUE(panel->Log.Commands.empty());
    EXPECT_FALSE(panel->HandleAllocated());
    SkinCommandToControl(graphic, SMC_SETUPDATING, 1);
    EXPECT_TRUE(graphic->SkinData.Updating);
    panel->HandleNeeded();
    panel->Log = {};
    SkinCommandToControl(panel, SMC_SETUPDATING, 1);
    ASSERT_EQ(panel->Log.Commands.size(), 1u);
    EXPECT_TRUE(panel->SkinData.Updating);
    EXPECT_EQ(SendSkinCommand(panel->Handle(), SMC_ISSKINNED), 1);
}

TEST_F(SkinMessageTree, BroadcastSkipsUnskinnedWindowedChildButReachesItsSkinnedChildren) {
    auto* skinned = new TSkinnedPanel(form);
    auto* plain = new TPanel(form);
    auto* grandchild = new TSkinnedPanel(form);
    auto* graphic = new TSkinnedGraphic(form);
    auto* inner = new TSkinnedGraphic(form);
    skinned->SetParent(form);
    plain->SetParent(form);
    grandchild->SetParent(plain);
    graphic->SetParent(form);
    inner->SetParent(skinned);   // a skinned container handles its own subtree: not reached here
    bool plainGotIt = false;
    plain->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_SETBGCHANGED) plainGotIt = true;
        next(m);
    });
    TMessage message{SM_ALPHACMD, PackSkinCommand(SMC_SETBGCHANGED), 0, 0};
    BroadcastSkinMessage(form, message);
    EXPECT_FALSE(plainGotIt);
    // The grandchild was asked whether it is skinned, then got the message itself.
    EXPECT_EQ(grandchild->Log.Commands, (std::vector<std::uint32_t>{SMC_ISSKINNED, SMC_SETBGCHANGED}));
    EXPECT_EQ(skinned->Log.Commands.back(), SMC_SETBGCHANGED);
    EXPECT_EQ(graphic->Log.Commands.back(), SMC_SETBGCHANGED);
    EXPECT_TRUE(inner->Log.Commands.empty());
    EXPECT_FALSE(form->HandleAllocated());
}

// Where the messages of an application-wide broadcast arrive, in order.
std::vector<std::string> gArrivals;
WNDPROC gClientProc = nullptr;
LRESULT CALLBACK RecordingClientProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == SM_ALPHACMD) gArrivals.push_back("client " + std::to_string(SkinCommandOf(wParam)));
    return CallWindowProcW(gClientProc, window, msg, wParam, lParam);
}

TEST_F(SkinMessageTree, FormsBroadcastReachesAnMdiFormsClientWindowAfterItsControls) {
    form->SetFormStyle(TFormStyle::fsMDIForm);
    auto* skinned = new TSkinnedPanel(form);
    skinned->SetAlign(TAlign::alTop);
    skinned->SetParent(form);
    auto* plainForm = new TForm(&Application());   // no client window of its own
    plainForm->HandleNeeded();
    HWND client = form->ClientHandle();
    ASSERT_NE(client, nullptr);
    gArrivals.clear();
    gClientProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingClientProc)));
    form->HookWindowProc(&kHookOwner, [&](TMessage& m, const TWndNext& next) {
        if (m.Msg == SM_ALPHACMD) gArrivals.push_back("form " + std::to_string(SkinCommandOf(m.WParam)));
        next(m);
    });
    TMessage message{SM_ALPHACMD, PackSkinCommand(SMC_STOPFADE), 0, 0};
    BroadcastToForms(message);
    const std::string fade = std::to_string(SMC_STOPFADE);
    EXPECT_EQ(gArrivals, (std::vector<std::string>{"form " + fade, "client " + fade}));
    EXPECT_EQ(skinned->Log.Commands.back(), SMC_STOPFADE);
    SetWindowLongPtrW(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gClientProc));
    form->UnhookWindowProc(&kHookOwner);
    delete plainForm;
}

TEST_F(SkinMessageTree, FormsBroadcastReachesAFormWithoutAWindowThroughItsProcedureSlot) {
    auto* skinned = new TSkinnedPanel(form);
    skinned->SetParent(form);
    std::vector<std::uint32_t> heard;
    form->HookWindowProc(&heard, [&](TMessage& m, const TWndNext& next) {
        // A child taking the applied skin asks whether its parent still updates: no announcement.
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) != SMC_QUERYUPDATING)
            heard.push_back(SkinCommandOf(m.WParam));
        next(m);
    });
    for (std::uint32_t command : {SMC_SKINCHANGED, SMC_STOPFADE, SMC_SKINAPPLIED}) {
        TMessage message{SM_ALPHACMD, PackSkinCommand(command), 0, 0};
        BroadcastToForms(message);
    }
    const std::vector<std::uint32_t> order = {SMC_SKINCHANGED, SMC_STOPFADE, SMC_SKINAPPLIED};
    EXPECT_EQ(heard, order);
    EXPECT_EQ(skinned->Log.Announcements(), order);
    EXPECT_FALSE(form->HandleAllocated());
    form->UnhookWindowProc(&heard);
}

TEST_F(SkinMessageTree, FormsBroadcastReachesEveryFormWhoeverOwnsIt) {
    auto* ownerless = new TForm(nullptr);   // as a program may make a secondary window
    auto* owned = new TForm(form);          // owned by another form, not by the application
    std::vector<std::string> heard;
    const auto listen = [&](TForm* f, const std::string& name) {
        f->HookWindowProc(&heard, [&heard, name](TMessage& m, const TWndNext& next) {
            if (m.Msg == SM_ALPHACMD) heard.push_back(name + " " + std::to_string(SkinCommandOf(m.WParam)));
            next(m);
        });
    };
    listen(form, "application's");
    listen(ownerless, "ownerless");
    listen(owned, "owned");
    auto* onOwnerless = new TSkinnedPanel(ownerless);
    onOwnerless->SetParent(ownerless);
    auto* onOwned = new TSkinnedPanel(owned);
    onOwned->SetParent(owned);
    TMessage message{SM_ALPHACMD, PackSkinCommand(SMC_SKINCHANGED), 0, 0};
    BroadcastToForms(message);
    // Once each, the newest form first, and on to each form's controls.
    const std::string changed = std::to_string(SMC_SKINCHANGED);
    EXPECT_EQ(heard, (std::vector<std::string>{"owned " + changed, "ownerless " + changed, "application's " + changed}));
    EXPECT_EQ(onOwnerless->Log.Announcements(), std::vector<std::uint32_t>{SMC_SKINCHANGED});
    EXPECT_EQ(onOwned->Log.Announcements(), std::vector<std::uint32_t>{SMC_SKINCHANGED});
    for (TForm* f : {form, ownerless, owned}) f->UnhookWindowProc(&heard);
    delete ownerless;
}

TEST_F(SkinMessageTree, ParentUpdatedGoesToWindowedChildrenOnlyAndPreparingLeavesTheTree) {
    auto* panel = new TSkinnedPanel(form);
    auto* inner = new TSkinnedPanel(form);
    auto* graphic = new TSkinnedGraphic(form);
    panel->SetParent(form);
    inner->SetParent(panel);
    graphic->SetParent(form);
    NotifyChildrenParentUpdated(form);
    ASSERT_EQ(panel->Log.Commands.size(), 1u);
    EXPECT_EQ(panel->Log.Commands[0], SMC_PARENTUPDATED);
    EXPECT_TRUE(graphic->Log.Commands.empty());
    EXPECT_TRUE(inner->Log.Commands.empty());

    panel->SkinData.Preparing = inner->SkinData.Preparing = graphic->SkinData.Preparing = true;
    LeavePreparingTree(form);
    EXPECT_FALSE(panel->SkinData.Preparing);
    EXPECT_FALSE(inner->SkinData.Preparing);
    EXPECT_FALSE(graphic->SkinData.Preparing);
}

TEST_F(SkinMessageTree, ControlColorFallsBackToTheControlsOwnColourAsRgb) {
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetColor(clBtnFace);
    EXPECT_EQ(GetControlColor(plain), ColorToRGB(clBtnFace));
    EXPECT_NE(GetControlColor(plain) & 0xFF000000u, 0xFF000000u);
}

TEST_F(SkinMessageTree, ReadinessAndOwnerForm) {
    auto* panel = new TPanel(form);
    EXPECT_FALSE(ControlIsReady(panel));   // no parent yet
    panel->SetParent(form);
    EXPECT_TRUE(ControlIsReady(panel));
    EXPECT_FALSE(ControlIsReady(nullptr));
    EXPECT_EQ(GetOwnerForm(panel), form);
    TComponent loose(nullptr);
    EXPECT_EQ(GetOwnerForm(&loose), nullptr);
}

TEST(SkinMessageUtilities, TextAlignFlagsFollowAlignmentAndReadingOrder) {
    TPanel left(nullptr);
    EXPECT_EQ(TextAlignFlags(&left, TAlignment::taLeftJustify), UINT(DT_LEFT | DT_VCENTER | DT_EXPANDTABS));
    EXPECT_EQ(TextAlignFlags(&left, TAlignment::taRightJustify), UINT(DT_RIGHT | DT_VCENTER | DT_EXPANDTABS));
    EXPECT_EQ(TextAlignFlags(&left, TAlignment::taCenter), UINT(DT_CENTER | DT_VCENTER | DT_EXPANDTABS));
    TPanel rtl(nullptr);
    rtl.SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(TextAlignFlags(&rtl, TAlignment::taLeftJustify), UINT(DT_RIGHT | DT_VCENTER | DT_EXPANDTABS | DT_RTLREADING));
    EXPECT_EQ(TextAlignFlags(&rtl, TAlignment::taRightJustify), UINT(DT_LEFT | DT_VCENTER | DT_EXPANDTABS | DT_RTLREADING));
    RECT work{};
    GetWorkArea(work);
    EXPECT_GT(work.right - work.left, 0);
    EXPECT_GT(work.bottom - work.top, 0);
}

}  // namespace
}  // namespace korvel
