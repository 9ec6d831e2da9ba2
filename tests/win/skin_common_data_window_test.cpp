// The per-control skin state with real windows: the common reaction to moves,
// size changes and focus changes, the refresh of frame corners over what lies
// behind a control, and what loading changes on an unskinned control.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "gui/application.h"
#include "gui/forms.h"
#include "gui_test_support.h"
#include "paint/mask.h"
#include "skin_manager_support.h"

namespace korvel {
namespace {

// The owner of the hooks these tests put in window procedure chains.
const int kHookOwner = 0;

using testing::NewElegantManager;
using testing::TSkinnedGraphic;
using testing::TSkinnedPanel;

class TSkinnedEdit : public testing::TRecordingSkinned<TEdit, ccEdit> {
public:
    explicit TSkinnedEdit(TComponent* owner, const std::string& section = "EDIT") : TRecordingSkinned(owner, section) {}
};

constexpr TColor FlatColor = 0x00AA5500;

class CommonDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().OnException = [](const std::exception& e) { ADD_FAILURE() << "reported: " << e.what(); };
        form = new TForm(&Application());
        form->SetBounds(40, 40, 360, 280);
        manager = NewElegantManager(form);
        manager->SetCommonSections({"[GRAD]", "COLOR=0", "GRADIENTPERCENT=50", "[FLAT]", "COLOR=" + std::to_string(FlatColor),
                                    "TRANSPARENCY=0", "[SEE]", "COLOR=0", "TRANSPARENCY=40"});
        manager->SetSkinName("Elegant (internal)");
    }
    void TearDown() override {
        delete form;
        Application().OnException = nullptr;
    }
    TSkinnedPanel* AddPanel(TWinControl* parent, const std::string& section, RECT bounds) {
        auto* p = new TSkinnedPanel(form, section);
        p->SetParent(parent);
        p->SetBoundsRect(bounds);
        return p;
    }
    // Every skin command a control receives from now on, with its whole wParam.
    std::vector<WPARAM>& Watch(TControl* control) {
        std::vector<WPARAM>& log = commands[control];
        log.clear();   // a new control may have the address of a freed one
        control->UnhookWindowProc(&kHookOwner);
        control->HookWindowProc(&kHookOwner, [&log](TMessage& m, const TWndNext& next) {
            if (m.Msg == SM_ALPHACMD) log.push_back(m.WParam);
            next(m);
        });
        return log;
    }
    static int Count(const std::vector<WPARAM>& log, WPARAM wanted) {
        int n = 0;
        for (WPARAM w : log) n += w == wanted;
        return n;
    }
    TForm* form = nullptr;
    TsSkinManager* manager = nullptr;
    std::map<TControl*, std::vector<WPARAM>> commands;
};

TEST_F(CommonDataTest, MoveAsksForARepaintOnlyWhenTheBackgroundDependsOnTheParent) {
    auto* host = AddPanel(form, "GRAD", {0, 0, 300, 200});
    struct Case { const char* section; bool invalidated; };
    const Case cases[] = {
        {"SEE", true},      // see-through over a textured parent
        {"FLAT", false},    // opaque: nothing behind it shows
        {"NONE", true},     // unskinned: always
    };
    host->HandleNeeded();
    for (const auto& c : cases) {
        auto* child = AddPanel(host, c.section, {10, 10, 60, 40});
        child->HandleNeeded();
        child->SkinData.BackgroundChanged = false;
        auto& log = Watch(child);
        child->SetBounds(30, 50, 60, 40);
        EXPECT_EQ(Count(log, PackSkinCommand(SMC_INVALIDATE, 1)), c.invalidated ? 1 : 0) << c.section;
        if (c.invalidated) {
            EXPECT_TRUE(child->SkinData.BackgroundChanged) << c.section;
        }
        delete child;
    }
}

TEST_F(CommonDataTest, SizeMarksTheCacheStaleAndRepaintsUnanchoredChildrenOverAGradient) {
    struct Case { const char* section; bool stale, childrenTold; };
    const Case cases[] = {
        {"GRAD", true, true},
        {"FLAT", true, false},
        {"NONE", false, false},
    };
    for (const auto& c : cases) {
        auto* host = AddPanel(form, c.section, {0, 0, 200, 150});
        // Owned by the host, so they go with it.
        const auto child = [host](RECT bounds) {
            auto* p = new TSkinnedPanel(host, "FLAT");
            p->SetParent(host);
            p->SetBoundsRect(bounds);
            return p;
        };
        auto* free = child({10, 10, 40, 30});
        auto* right = child({50, 10, 80, 30});
        auto* bottom = child({90, 10, 120, 30});
        auto* graphic = new TSkinnedGraphic(host, "FLAT");
        graphic->SetParent(host);
        right->SetAnchors(akLeft | akTop | akRight);
        bottom->SetAnchors(akLeft | akTop | akBottom);
        host->HandleNeeded();
        host->SkinData.BackgroundChanged = false;
        auto& freeLog = Watch(free);
        auto& rightLog = Watch(right);
        auto& bottomLog = Watch(bottom);
        auto& graphicLog = Watch(graphic);
        host->SetBounds(0, 0, 220, 170);
        const WPARAM told = PackSkinCommand(SMC_INVALIDATE, 1);
        EXPECT_EQ(host->SkinData.BackgroundChanged, c.stale) << c.section;
        EXPECT_EQ(Count(freeLog, told), c.childrenTold ? 1 : 0) << c.section;
        EXPECT_EQ(Count(graphicLog, told), c.childrenTold ? 1 : 0) << c.section;
        EXPECT_EQ(Count(rightLog, told), 0) << c.section;
        EXPECT_EQ(Count(bottomLog, told), 0) << c.section;
        delete host;
        commands.clear();
    }
}

TEST_F(CommonDataTest, FocusChangesOfATabStopSetFocusedAndStaleTheCache) {
    auto* first = new TSkinnedEdit(form);
    auto* second = new TSkinnedEdit(form);
    auto* untabbed = new TSkinnedEdit(form);
    first->SetParent(form);
    second->SetParent(form);
    untabbed->SetParent(form);
    first->SetBounds(10, 10, 100, 21);
    second->SetBounds(10, 40, 100, 21);
    untabbed->SetBounds(10, 70, 100, 21);
    untabbed->SetTabStop(false);
    form->Show();
    Application().ProcessMessages();

    // Not a tab stop: the flags stay, though the window has the focus.
    untabbed->SkinData.BackgroundChanged = false;
    untabbed->SetFocus();
    Application().ProcessMessages();
    ASSERT_TRUE(untabbed->Focused());
    EXPECT_FALSE(untabbed->SkinData.Focused);
    EXPECT_FALSE(untabbed->SkinData.BackgroundChanged);

    first->SkinData.BackgroundChanged = false;
    first->SetFocus();
    Application().ProcessMessages();
    ASSERT_TRUE(first->Focused());
    EXPECT_TRUE(first->SkinData.Focused);
    EXPECT_TRUE(first->SkinData.BackgroundChanged);
    EXPECT_TRUE(first->SkinData.IsActive());

    first->SkinData.BackgroundChanged = false;
    second->SkinData.BackgroundChanged = false;
    second->SetFocus();
    Application().ProcessMessages();
    EXPECT_FALSE(first->SkinData.Focused);
    EXPECT_TRUE(first->SkinData.BackgroundChanged);
    EXPECT_FALSE(first->SkinData.IsActive());
    EXPECT_TRUE(second->SkinData.Focused);
    EXPECT_TRUE(second->SkinData.BackgroundChanged);
    EXPECT_TRUE(second->SkinData.IsActive());
    form->Hide();
}

TEST_F(CommonDataTest, LoadingClearsTheThemedParentBackgroundOfAnUnskinnedControlOnly) {
    auto* unskinned = AddPanel(form, "NONE", {0, 0, 50, 50});
    auto* skinned = AddPanel(form, "FLAT", {60, 0, 50, 50});
    for (auto* p : {unskinned, skinned}) p->SetControlStyle(p->ControlStyle() | csParentBackground);
    // Only under visual styles does an unskinned control paint its own background.
    // The test prefix runs them (Wine's default); without them this case would
    // expect nothing to change and prove nothing.
    ASSERT_TRUE(ThemeServicesEnabled()) << "the test prefix must run visual styles";
    unskinned->SkinData.Loaded();
    skinned->SkinData.Loaded();
    EXPECT_EQ(unskinned->ControlStyle() & csParentBackground, 0u);
    EXPECT_NE(skinned->ControlStyle() & csParentBackground, 0u);
}

// The frame corners of a control with the skin's rounded button frame.
class CornerTest : public CommonDataTest {
protected:
    static constexpr TColor Marker = 0x00123456;
    static constexpr int ChildLeft = 13, ChildTop = 7, ChildWidth = 60, ChildHeight = 30;

    void SetUp() override {
        CommonDataTest::SetUp();
        const TsSkinTables& tables = manager->Tables();
        const int section = manager->SectionIndexOf("BUTTON");
        ASSERT_GE(section, 0);
        const int border = MaskIndexOf(&tables, section, "BUTTON", "BORDERSMASK");
        ASSERT_TRUE(tables.IsValidMaskIndex(border));
        ASSERT_TRUE(GetMaskImage(tables, tables.Masks[static_cast<std::size_t>(border)], image));
        ASSERT_LE(2 * image.ColumnWidth, ChildWidth);
        ASSERT_LE(2 * image.RowHeight, ChildHeight);
    }
    TSkinnedPanel* AddChild(TWinControl* parent) {
        auto* child = AddPanel(parent, "BUTTON", {ChildLeft, ChildTop, ChildLeft + ChildWidth, ChildTop + ChildHeight});
        child->SkinData.PrepareCacheBmp();
        child->SkinData.CacheBmp()->Fill(Marker);
        return child;
    }
    // Calls check(x, y, key) for every pixel of the four corner pieces of the
    // first state, in control coordinates; key: the frame shows what is behind.
    template <class F>
    void ForEachCornerPixel(unsigned corners, F check) const {
        const int cw = image.ColumnWidth, ch = image.RowHeight;
        struct Piece { unsigned bit; int sx, sy, dx, dy; };
        const Piece pieces[] = {
            {crTopLeft, 0, 0, 0, 0},
            {crBottomLeft, 0, 2 * ch, 0, ChildHeight - ch},
            {crTopRight, 2 * cw, 0, ChildWidth - cw, 0},
            {crBottomRight, 2 * cw, 2 * ch, ChildWidth - cw, ChildHeight - ch},
        };
        for (const auto& p : pieces) {
            if (!(corners & p.bit)) continue;
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < cw; ++x) {
                    const TColor source = image.Image->Pixel(image.StateLeft(0) + p.sx + x, image.R.Top + p.sy + y);
                    check(p.dx + x, p.dy + y, source == 0xFF00FF);
                }
        }
    }
    TMaskImage image;
};

TEST_F(CornerTest, CornersTakeTheTexturedParentsPixelsOrThePlainParentsColour) {
    auto* textured = AddPanel(form, "GRAD", {0, 0, 120, 80});
    textured->SkinData.PrepareCacheBmp();
    TBitmap24& background = *textured->SkinData.CacheBmp();
    for (int y = 0; y < background.Height(); ++y)
        for (int x = 0; x < background.Width(); ++x) background.SetPixel(x, y, MakeColor(x * 2, y * 3, 77));
    auto* flat = AddPanel(form, "FLAT", {130, 0, 250, 80});
    flat->SkinData.PrepareCacheBmp();
    flat->SkinData.CacheBmp()->Fill(0x00FFFFFF);
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetBounds(0, 90, 120, 80);
    plain->SetColor(0x003366CC);
    for (TWinControl* parent : {static_cast<TWinControl*>(textured), static_cast<TWinControl*>(flat),
                                static_cast<TWinControl*>(plain)}) {
        parent->HandleNeeded();
    }

    struct Case { TWinControl* parent; const char* what; };
    const Case cases[] = {{textured, "textured"}, {flat, "flat skinned"}, {plain, "plain"}};
    for (const auto& c : cases) {
        auto* child = AddChild(c.parent);
        child->SkinData.UpdateCorners(0, crAll);
        const TBitmap24& cache = *child->SkinData.CacheBmp();
        int keys = 0;
        ForEachCornerPixel(crAll, [&](int x, int y, bool key) {
            TColor expected = Marker;
            if (key) {
                ++keys;
                expected = c.parent == textured ? background.Pixel(ChildLeft + x, ChildTop + y)
                                                : c.parent == flat ? FlatColor : 0x003366CC;
            }
            ASSERT_EQ(cache.Pixel(x, y), expected) << c.what << " at " << x << "," << y;
        });
        EXPECT_GT(keys, 0) << "the frame has rounded corners";
        EXPECT_EQ(SharedColor, clNone);
        delete child;
    }
}

TEST_F(CornerTest, OnlyTheNamedCornersChangeAndNothingWithoutAParent) {
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetBounds(0, 0, 120, 80);
    plain->SetColor(0x00E0E0E0);
    auto* child = AddChild(plain);
    child->SkinData.UpdateCorners(0, crTopLeft | crBottomRight);
    const TBitmap24& cache = *child->SkinData.CacheBmp();
    ForEachCornerPixel(crTopLeft | crBottomRight, [&](int x, int y, bool key) {
        ASSERT_EQ(cache.Pixel(x, y), key ? 0x00E0E0E0u : Marker) << x << "," << y;
    });
    ForEachCornerPixel(crTopRight | crBottomLeft, [&](int x, int y, bool) { ASSERT_EQ(cache.Pixel(x, y), Marker) << x << "," << y; });

    // While a fill colour is set for frame corners, it wins over the parent's colour.
    GlobalFillColor = 0x000000FF;
    child->SkinData.UpdateCorners(0, crAll);
    GlobalFillColor = clNone;
    ForEachCornerPixel(crTopRight, [&](int x, int y, bool key) {
        ASSERT_EQ(cache.Pixel(x, y), key ? 0x000000FFu : Marker) << x << "," << y;
    });

    TSkinnedPanel orphan(nullptr, "BUTTON");
    orphan.SetBounds(0, 0, ChildWidth, ChildHeight);
    orphan.SkinData.PrepareCacheBmp();
    orphan.SkinData.CacheBmp()->Fill(Marker);
    orphan.SkinData.UpdateCorners(0, crAll);
    ForEachCornerPixel(crAll, [&](int x, int y, bool) { ASSERT_EQ(orphan.SkinData.CacheBmp()->Pixel(x, y), Marker); });
}

TEST_F(CornerTest, CopyToADeviceContextRefreshesTheCornersWhenAsked) {
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    plain->SetBounds(0, 0, 120, 80);
    plain->SetColor(0x0000C000);
    for (bool refresh : {false, true}) {
        auto* child = AddChild(plain);
        TBitmap24 screen(ChildWidth, ChildHeight);
        screen.Fill(0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(screen.Handle()));
        child->SkinData.CopyCacheToDC(child, RECT{0, 0, 0, 0}, refresh, dc, RECT{0, 0, ChildWidth, ChildHeight});
        GdiFlush();
        SelectObject(dc, old);
        DeleteDC(dc);
        int keys = 0;
        ForEachCornerPixel(crAll, [&](int x, int y, bool key) {
            keys += key;
            ASSERT_EQ(screen.Pixel(x, y), key && refresh ? 0x0000C000u : Marker) << refresh << " at " << x << "," << y;
        });
        EXPECT_GT(keys, 0);
        delete child;
    }
}

}  // namespace
}  // namespace korvel
