// A form's own scrolling: the window's own scroll bars shown while the content
// reaches beyond the client area, the children moved by every scroll code,
// alignment suspended and aligned children scrolled with the content, and the
// settings read from a window definition.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "gui/exceptions.h"
#include "gui/std_controls.h"
#include "gui_test_support.h"

namespace korvel {
namespace {

using testing::AddControl;

bool OwnBar(TForm& form, DWORD style) { return (GetWindowLongPtrW(form.Handle(), GWL_STYLE) & style) != 0; }

TEST(GuiFormScrolling, AutoScrollShowsTheWindowsBarAndEveryScrollCodeMovesTheChildren) {
    TForm form(&Application());
    form.SetBounds(100, 100, 200, 100);
    form.SetClientSize(260, 150);
    form.SetAutoScroll(true);
    TPanel* header = AddControl<TPanel>(&form, 0, 0, 10, 20);
    header->SetAlign(TAlign::alTop);
    TButton* low = AddControl<TButton>(&form, 15, 40, 70, 25);
    form.Show();
    Application().ProcessMessages();
    EXPECT_FALSE(OwnBar(form, WS_VSCROLL));

    low->SetTop(400);   // the content grows
    Application().ProcessMessages();
    ASSERT_TRUE(OwnBar(form, WS_VSCROLL));
    EXPECT_FALSE(OwnBar(form, WS_HSCROLL));
    const int content = 400 + 25, client = form.ClientHeight();
    EXPECT_EQ(form.ContentExtent(true), content);
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(form.Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nMax - info.nMin + 1, content);
    EXPECT_EQ(static_cast<int>(info.nPage), client);

    const int line = form.VertScrollBar().Increment(), last = content - client;
    struct TStep {
        WORD Code;
        int Expected;
    };
    const TStep steps[] = {
        {SB_LINEDOWN, line}, {SB_LINEDOWN, 2 * line}, {SB_PAGEDOWN, 2 * line + client}, {SB_LINEUP, 2 * line + client - line},
        {SB_BOTTOM, last},   {SB_LINEDOWN, last},     {SB_PAGEUP, last - client},       {SB_TOP, 0},
        {SB_LINEUP, 0},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Code);
        SendMessageW(form.Handle(), WM_VSCROLL, s.Code, 0);
        EXPECT_EQ(form.VertScrollBar().Position(), s.Expected);
        EXPECT_EQ(GetScrollPos(form.Handle(), SB_VERT), s.Expected);
        EXPECT_EQ(low->Top(), 400 - s.Expected);
        EXPECT_EQ(header->Top(), -s.Expected);
        EXPECT_EQ(low->Left(), 15);
    }
    // The extent is the content's, however far it is scrolled.
    form.VertScrollBar().SetPosition(33);
    EXPECT_EQ(low->Top(), 400 - 33);
    EXPECT_EQ(form.ContentExtent(true), content);

    // A smaller range keeps the content inside it.
    form.SetClientSize(260, content - 10);
    Application().ProcessMessages();
    EXPECT_EQ(form.VertScrollBar().Position(), 10);
    EXPECT_EQ(low->Top(), 400 - 10);
    // Enlarged so that everything fits: the bar goes and the children are back.
    form.SetClientSize(260, content + 20);
    Application().ProcessMessages();
    EXPECT_FALSE(OwnBar(form, WS_VSCROLL));
    EXPECT_EQ(form.VertScrollBar().Position(), 0);
    EXPECT_EQ(low->Top(), 400);
    EXPECT_EQ(header->Top(), 0);
    EXPECT_EQ(header->Width(), form.ClientWidth());

    // Switching AutoScroll off scrolls back and hides the bars.
    form.SetClientSize(260, 150);
    form.HorzScrollBar().SetRange(900);
    Application().ProcessMessages();
    ASSERT_TRUE(OwnBar(form, WS_HSCROLL));
    SendMessageW(form.Handle(), WM_HSCROLL, SB_PAGEDOWN, 0);
    SendMessageW(form.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(low->Left(), 15 - form.ClientWidth());
    EXPECT_EQ(low->Top(), 400 - line);
    form.SetAutoScroll(false);
    Application().ProcessMessages();
    EXPECT_FALSE(OwnBar(form, WS_VSCROLL));
    EXPECT_FALSE(OwnBar(form, WS_HSCROLL));
    EXPECT_EQ(low->Left(), 15);
    EXPECT_EQ(low->Top(), 400);
}

TEST(GuiFormScrolling, AlignmentWaitsWhileDisabledAndFollowsTheOrigin) {
    TForm form(&Application());
    form.SetClientSize(200, 120);
    TPanel* top = AddControl<TPanel>(&form, 0, 0, 10, 20);
    top->SetAlign(TAlign::alTop);
    TPanel* left = AddControl<TPanel>(&form, 0, 0, 30, 10);
    left->SetAlign(TAlign::alLeft);
    form.HandleNeeded();
    EXPECT_EQ(top->Width(), 200);
    form.DisableAlign();
    form.DisableAlign();
    form.SetClientSize(240, 150);
    EXPECT_EQ(top->Width(), 200);
    form.EnableAlign();
    EXPECT_EQ(top->Width(), 200) << "one of two disables is still in force";
    form.SetAlignOrigin({-7, -11});
    form.EnableAlign();
    EXPECT_EQ(top->Width(), 240);
    EXPECT_EQ(top->Left(), -7);
    EXPECT_EQ(top->Top(), -11);
    EXPECT_EQ(left->Left(), -7);
    EXPECT_EQ(left->Top(), -11 + 20);
    EXPECT_EQ(left->Height(), 150 - 20);
    form.EnableAlign();   // one too many changes nothing
    EXPECT_FALSE(form.AlignDisabled());
}

TEST(GuiFormScrolling, BadSettingsAreRefusedAndStoredOnesRead) {
    TForm form(&Application());
    EXPECT_THROW(form.VertScrollBar().SetRange(-1), EInvalidOperation);
    EXPECT_THROW(form.HorzScrollBar().SetIncrement(0), EInvalidOperation);
    EXPECT_THROW(form.HorzScrollBar().SetIncrement(32768), EInvalidOperation);
    EXPECT_EQ(form.VertScrollBar().Range(), 0);
    EXPECT_EQ(form.HorzScrollBar().Increment(), 8);

    TForm stored(&Application());
    stored.ReadDefinition(
        "object Form1: TForm\n"
        "  AutoScroll = True\n"
        "  VertScrollBar.Range = 500\n"
        "  VertScrollBar.Smooth = True\n"
        "  HorzScrollBar.Increment = 3\n"
        "  HorzScrollBar.Visible = False\n"
        "end\n");
    EXPECT_TRUE(stored.AutoScroll());
    EXPECT_EQ(stored.VertScrollBar().Range(), 500);
    EXPECT_TRUE(stored.VertScrollBar().Smooth());
    EXPECT_EQ(stored.HorzScrollBar().Increment(), 3);
    EXPECT_FALSE(stored.HorzScrollBar().Visible());
    EXPECT_TRUE(stored.VertScrollBar().Visible());
    try {
        TForm bad(&Application());
        bad.ReadDefinition("object Form2: TForm\n  VertScrollBar.Range = -5\nend\n");
        ADD_FAILURE() << "a negative range was read";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("negative"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace korvel
