// The menu line of a skinned MDI frame with a child: the active child's menu
// merged into the frame's bar by group index (the real Win32 bar and the
// painted line alike, its commands reaching the child's handlers), the
// maximised child's icon at the start of the line, and the entries of the
// child-buttons item painted by the menu skinning.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/skinable_menus.h"
#include "forms/mdi_form.h"
#include "form_test_support.h"
#include "gui/menus.h"
#include "gui/text.h"
#include "gui_input_support.h"
#include "mdi_frame_support.h"
#include "paint/item.h"

namespace korvel {
namespace {

using testing::kElegant;
using testing::ScreenPixel;

using testing::AddMenuItem;
using testing::TMenuRow;

// A sizeable skinned MDI frame whose bar has the given items; children have
// providers and, when asked, main menus of their own.
class TMDIMenuRig : public testing::TMDIFrameRig {
public:
    explicit TMDIMenuRig(const std::vector<TMenuRow>& frameItems)
        : TMDIFrameRig({.Items = frameItems, .Width = 600, .SkinableMenus = true}) {}

    TForm* AddChild(const std::vector<TMenuRow>& menuItems, int left = 10, int top = 10) {
        return TMDIFrameRig::AddChild(left, top, 220, 150, menuItems);
    }
    RECT WindowRect() const {
        RECT r{};
        GetWindowRect(Frame->Handle(), &r);
        return r;
    }
    // The captions of the Win32 bar's entries, in order, read back from the system.
    std::vector<std::string> BarCaptions() const {
        std::vector<std::string> captions;
        HMENU bar = GetMenu(Frame->Handle());
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID;
            GetMenuItemInfoW(bar, static_cast<UINT>(i), TRUE, &info);
            TMenuItem* item = TMenuItem::FindByCommand(info.wID);
            captions.push_back(item ? item->Caption() : "?");
        }
        return captions;
    }
    int BarPosition(const TMenuItem* item) const {
        HMENU bar = GetMenu(Frame->Handle());
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID;   // GetMenuItemID answers -1 for an entry with a submenu
            if (GetMenuItemInfoW(bar, static_cast<UINT>(i), TRUE, &info) && info.wID == item->Command()) return i;
        }
        return -1;
    }
    TsSkinableMenus& Menus() const { return dynamic_cast<TsSkinableMenus&>(Manager->SkinableMenus()); }
    // The captions of the items the menu skinning paints on the line, in order.
    std::vector<std::string> PaintedCaptions() {
        std::vector<std::string> drawn;
        Menus().OnDrawItem = [&](TMenuItem* item, TCanvas&, const RECT&, TOwnerDrawState, TsMenuItemType) {
            drawn.push_back(item->Caption());
        };
        Provider->RepaintNonClient();
        Settle();
        Menus().OnDrawItem = nullptr;
        return drawn;
    }
};

std::vector<TMenuItem*> Items(TComponent* owner, const std::vector<TMenuRow>& rows) {
    std::vector<TMenuItem*> items;
    for (const TMenuRow& row : rows) {
        auto* item = new TMenuItem(owner);
        item->SetCaption(row.Caption);
        item->SetGroupIndex(row.Group);
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> Captions(const std::vector<TMenuItem*>& items) {
    std::vector<std::string> captions;
    for (const TMenuItem* item : items) captions.push_back(item->Caption());
    return captions;
}

// Captions name the side and the group: "F3" is the frame's item of group 3,
// "C2" the child's of group 2; "X" is an item fixed in the merge.
TEST(FormMDIMenuTest, MergeInterleavesTheChildsItemsByGroupIndex) {
    struct TCase {
        std::vector<TMenuRow> Frame, Child;
        std::vector<std::string> Expected;
    };
    // Before each frame item of group g come the child's items of groups above the last
    // group placed and not above g; a frame item whose group the child placed goes.
    const TCase cases[] = {
        {{{"F0", 0}, {"F1", 1}, {"F3", 3}, {"F9", 9}}, {{"C1", 1}, {"C2", 2}, {"C9", 9}}, {"F0", "C1", "C2", "F3", "C9"}},
        {{{"F2", 2}, {"F4", 4}}, {{"C7", 7}, {"C8", 8}}, {"F2", "F4", "C7", "C8"}},
        {{{"F5", 5}}, {{"C1", 1}, {"C3", 3}}, {"C1", "C3", "F5"}},
        {{{"F0", 0}, {"F0b", 0}, {"F5", 5}}, {{"C0", 0}}, {"C0", "F5"}},
        {{{"X", 0}, {"F0", 0}, {"F1", 1}}, {{"C0", 0}, {"C4", 4}}, {"X", "C0", "F1", "C4"}},
        {{{"F1", 1}, {"F2", 2}}, {}, {"F1", "F2"}},
        {{}, {{"C1", 1}, {"C2", 2}}, {"C1", "C2"}},
    };
    TComponent owner(nullptr);
    for (const TCase& c : cases) {
        std::vector<TMenuItem*> frame = Items(&owner, c.Frame), child = Items(&owner, c.Child);
        for (TMenuItem* item : frame) item->SetFixedInMerge(item->Caption() == "X");
        EXPECT_EQ(Captions(MergeByGroupIndex(frame, child)), c.Expected) << c.Expected.size();
    }
}

TEST(FormMDIMenuTest, TheActiveChildsMenuShowsInTheFramesBarAndLine) {
    TMDIMenuRig rig({{"F0", 0}, {"F1", 1}, {"F3", 3}, {"F9", 9}});
    TForm* plain = rig.AddChild({});
    const std::vector<std::string> frameOnly = {"F0", "F1", "F3", "F9"};
    EXPECT_EQ(rig.BarCaptions(), frameOnly);
    EXPECT_EQ(rig.PaintedCaptions(), frameOnly);

    TForm* merging = rig.AddChild({{"C1", 1}, {"C2", 2}, {"C9", 9}}, 40, 40);
    ASSERT_EQ(rig.Frame->ActiveMDIChild(), merging);
    const std::vector<std::string> merged = {"F0", "C1", "C2", "F3", "C9"};
    EXPECT_EQ(rig.BarCaptions(), merged);
    EXPECT_EQ(rig.PaintedCaptions(), merged);
    EXPECT_EQ(rig.Menus().ItemType(*merging->Menu()->Items().Items(0)), TsMenuItemType::smTopLine);

    // A child item that changes shows in the frame's bar at once.
    merging->Menu()->Items().Items(1)->SetVisible(false);
    EXPECT_EQ(rig.BarCaptions(), (std::vector<std::string>{"F0", "C1", "F3", "C9"}));
    merging->Menu()->Items().Items(1)->SetVisible(true);

    // Maximised: the child-buttons item stays first, whatever the child's groups.
    rig.Command(merging, SC_MAXIMIZE);
    std::vector<std::string> maximised = {""};
    maximised.insert(maximised.end(), merged.begin(), merged.end());
    EXPECT_EQ(rig.BarCaptions(), maximised);
    rig.Command(merging, SC_RESTORE);

    // Another child activated: the frame's own items come back.
    rig.Frame->ActiveMDIChild();
    SendMessageW(rig.Frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(plain->Handle()), 0);
    rig.Settle();
    ASSERT_EQ(rig.Frame->ActiveMDIChild(), plain);
    EXPECT_EQ(rig.BarCaptions(), frameOnly);
    EXPECT_EQ(rig.PaintedCaptions(), frameOnly);

    // A child freed while active leaves the frame's bar as it was.
    SendMessageW(rig.Frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(merging->Handle()), 0);
    rig.Settle();
    EXPECT_EQ(rig.BarCaptions(), merged);
    delete merging;
    rig.Settle();
    EXPECT_EQ(rig.BarCaptions(), frameOnly);
}

TEST(FormMDIMenuTest, AChildsMenuAloneMakesTheFramesMenuLineVisible) {
    TMDIMenuRig rig({{"Hidden", 0}});
    rig.Menu->Items().Items(0)->SetVisible(false);
    TForm* plain = rig.AddChild({});
    (void)plain;
    EXPECT_FALSE(rig.Provider->MenuLineVisible());
    rig.AddChild({{"C1", 1}}, 40, 40);
    EXPECT_TRUE(rig.Provider->MenuLineVisible());
    EXPECT_EQ(rig.Provider->MenuRowCount(), 1);
    EXPECT_EQ(rig.PaintedCaptions(), std::vector<std::string>{"C1"});
}

TEST(FormMDIMenuTest, AMergedChildItemsCommandReachesTheChildsHandler) {
    TMDIMenuRig rig({{"&File", 0}, {"&Window", 9}});
    TForm* child = rig.AddChild({{"&Act", 1}, {"&Tools", 2}});
    TMenuItem* act = child->Menu()->Items().Items(0);
    TMenuItem* tools = child->Menu()->Items().Items(1);
    int acts = 0, runs = 0;
    act->OnClick = [&](TObject*) { ++acts; };
    TMenuItem* run = AddMenuItem(child, *tools, "&Run");
    run->OnClick = [&](TObject*) { ++runs; };
    rig.Settle();

    // The painted item stands where the system's bar has it: a red mark in the corner of
    // each painted item shows at the corner of the system's rectangle.
    rig.Menus().OnDrawItem = [&](TMenuItem*, TCanvas& canvas, const RECT&, TOwnerDrawState, TsMenuItemType) {
        canvas.Brush().SetColor(0x0000FF);
        canvas.FillRect(RECT{0, 0, 3, 3});
    };
    rig.Provider->RepaintNonClient();
    rig.Settle();
    const RECT window = rig.WindowRect();
    const int top = rig.Provider->FrameHeight() + rig.Provider->CaptionHeight();
    for (TMenuItem* item : {act, tools}) {
        RECT r{};
        ASSERT_TRUE(GetMenuItemRect(rig.Frame->Handle(), GetMenu(rig.Frame->Handle()),
                                    static_cast<UINT>(rig.BarPosition(item)), &r));
        // The mark is 3 pixels wide from the painted item's left.
        EXPECT_EQ(ScreenPixel(r.left, window.top + top + 1), RGB(255, 0, 0)) << item->Caption();
        EXPECT_EQ(ScreenPixel(r.left + 2, window.top + top + 1), RGB(255, 0, 0)) << item->Caption();
        EXPECT_NE(ScreenPixel(r.left + 3, window.top + top + 1), RGB(255, 0, 0)) << item->Caption();
    }
    rig.Menus().OnDrawItem = nullptr;

    // A click on the child's command item in the frame's line runs the child's handler.
    RECT r{};
    GetMenuItemRect(rig.Frame->Handle(), GetMenu(rig.Frame->Handle()), static_cast<UINT>(rig.BarPosition(act)), &r);
    testing::ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    rig.Settle();
    EXPECT_EQ(acts, 1);

    // Its submenu opens from the frame's line, and its item runs the child's handler.
    GetMenuItemRect(rig.Frame->Handle(), GetMenu(rig.Frame->Handle()), static_cast<UINT>(rig.BarPosition(tools)), &r);
    {
        testing::TMenuWatcher watcher([](HWND) { testing::SendChord('R'); });
        testing::ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        rig.Settle();
        EXPECT_TRUE(watcher.Seen());
    }
    rig.Settle();
    EXPECT_EQ(runs, 1);

    // The command the frame's bar sends is the child item's own.
    SendMessageW(rig.Frame->Handle(), WM_COMMAND, act->Command(), 0);
    rig.Settle();
    EXPECT_EQ(acts, 2);
}

// A 16 x 16 icon file whose three channels run differently (red across, green
// down, blue constant), fully opaque.
std::string WriteGradientIcon() {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::string path = Narrow(folder) + "korvel-mdi-child-icon.ico";
    constexpr int n = 16;
    std::vector<unsigned char> data;
    const auto put16 = [&](unsigned v) { data.push_back(v & 0xFF); data.push_back((v >> 8) & 0xFF); };
    const auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const unsigned pixels = n * n * 3, mask = n * 4, header = 40;
    put16(0); put16(1); put16(1);                                  // icon directory, one image
    data.push_back(n); data.push_back(n); data.push_back(0); data.push_back(0);
    put16(1); put16(24); put32(header + pixels + mask); put32(6 + 16);
    put32(header); put32(n); put32(2 * n); put16(1); put16(24); put32(0); put32(pixels + mask);
    put32(0); put32(0); put32(0); put32(0);
    for (int y = n - 1; y >= 0; --y)                                // bottom-up rows of blue, green, red
        for (int x = 0; x < n; ++x) {
            data.push_back(90);
            data.push_back(static_cast<unsigned char>(y * 16));
            data.push_back(static_cast<unsigned char>(255 - x * 15));
        }
    data.insert(data.end(), mask, 0);                               // opaque everywhere
    FILE* file = _wfopen(Widen(path).c_str(), L"wb");
    if (!file) return "";
    fwrite(data.data(), 1, data.size(), file);
    fclose(file);
    return path;
}

// The icon drawn by the system at Size x Size over a plain colour.
TBitmap24 DrawnIcon(HICON icon, int size, COLORREF under) {
    TBitmap24 picture(size, size);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(under);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, brush);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) picture.SetPixel(x, y, GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return picture;
}

TEST(FormMDIMenuTest, AMaximisedChildsIconStartsTheFramesMenuLine) {
    TMDIMenuRig rig({{"&File", 0}, {"&Window", 0}});
    TForm* child = rig.AddChild({});
    const std::string iconFile = WriteGradientIcon();
    ASSERT_FALSE(iconFile.empty());
    child->Icon().LoadFromFile(iconFile);
    ASSERT_FALSE(child->Icon().Empty());
    rig.Command(child, SC_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(child->Handle()));
    rig.Provider->RepaintNonClient();
    rig.Settle();

    TsSkinProvider& p = *rig.Provider;
    const int m = GetSystemMetrics(SM_CYMENU) - 1;
    const int size = m - 2;
    const RECT window = rig.WindowRect();
    const int left = window.left + p.FrameWidth() + 1;
    const int top = window.top + p.CaptionHeight() + p.FrameHeight() + 1;
    const TBitmap24 expected = DrawnIcon(child->Icon().Handle(), size, RGB(0, 0, 0));
    int wrong = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) wrong += ScreenPixel(left + x, top + y) != expected.Pixel(x, y);
    EXPECT_EQ(wrong, 0) << "of " << size * size;
    EXPECT_NE(expected.Pixel(0, 0), expected.Pixel(size - 1, 0));
    EXPECT_NE(expected.Pixel(0, 0), expected.Pixel(0, size - 1));

    // The child-buttons item keeps the icon's place: the frame's first item starts after
    // the icon (the system widens an owner-drawn bar entry beyond its measure, by twice
    // the menu font's average character width).
    RECT first{};
    ASSERT_TRUE(GetMenuItemRect(rig.Frame->Handle(), GetMenu(rig.Frame->Handle()), 1, &first));
    EXPECT_GE(first.left - window.left, p.FrameWidth() + 1 + size);

    // A child without an icon of its own shows the program file's small icon, else the
    // system's application icon: where that icon is opaque (the same over black and
    // white), the line shows it.
    TForm* plain = rig.AddChild({}, 30, 30);
    ASSERT_EQ(rig.Frame->ActiveMDIChild(), plain);
    rig.Command(plain, SC_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(plain->Handle()));
    rig.Provider->RepaintNonClient();
    rig.Settle();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    HICON programIcon = nullptr;
    if (ExtractIconExW(path, 0, nullptr, &programIcon, 1) == 0) programIcon = nullptr;
    HICON fallback = programIcon ? programIcon : LoadIconW(nullptr, IDI_APPLICATION);
    const TBitmap24 overBlack = DrawnIcon(fallback, size, RGB(0, 0, 0));
    const TBitmap24 overWhite = DrawnIcon(fallback, size, RGB(255, 255, 255));
    if (programIcon) DestroyIcon(programIcon);
    int opaque = 0;
    wrong = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (overBlack.Pixel(x, y) != overWhite.Pixel(x, y)) continue;
            ++opaque;
            wrong += ScreenPixel(left + x, top + y) != overBlack.Pixel(x, y);
        }
    EXPECT_GT(opaque, size * size / 4);
    EXPECT_EQ(wrong, 0) << "of " << opaque;
}

TEST(FormMDIMenuTest, TheLastBarItemGivesUpRoomWhileTheChildsIconStartsTheLine) {
    TMDIMenuRig rig({{"&File", 0}, {"&Window", 0}});
    // Opaque yellow items over a menu line graded across (0xBBGGRR), so the item's face and the line tell apart.
    const std::string gradient = "255;16711680;100;1;0";
    rig.Manager->SetSkinDirectory(testing::WriteFolderSkin(
        "mdimenu", "Graded",
        {"[GLOBALINFO]", "VERSION=3", "[FORM]", "COLOR=12632256", "HOTCOLOR=12632256", "[MENULINE]", "COLOR=65280",
         "HOTCOLOR=65280", "TRANSPARENCY=0", "HOTTRANSPARENCY=0", "GRADIENTPERCENT=100", "GRADIENTDATA=" + gradient,
         "HOTGRADIENTPERCENT=100", "HOTGRADIENTDATA=" + gradient, "FONTCOLOR=0", "HOTFONTCOLOR=0", "[MENUITEM]",
         "COLOR=65535", "HOTCOLOR=65535", "TRANSPARENCY=0", "HOTTRANSPARENCY=0", "FONTCOLOR=0"}));
    rig.Manager->SetSkinName("Graded");
    TForm* child = rig.AddChild({});
    child->Icon().LoadFromFile(WriteGradientIcon());
    TsSkinProvider& p = *rig.Provider;
    constexpr COLORREF kFace = RGB(255, 255, 0);
    constexpr int kRoom = 40;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    for (const bool maximised : {false, true, false}) {
        SCOPED_TRACE(maximised ? "maximised" : "restored");
        rig.Command(child, maximised ? SC_MAXIMIZE : SC_RESTORE);
        ASSERT_EQ(IsZoomed(child->Handle()) != 0, maximised);
        p.RepaintNonClient();
        rig.Settle();
        ASSERT_EQ(p.MenuRowCount(), 1);
        const RECT window = rig.WindowRect();
        const int top = p.FrameHeight() + p.CaptionHeight();
        TBitmap24 line(window.right - window.left, p.MenuHeight());
        PaintSection(rig.Manager->SectionIndexOf("MENULINE"), TParentBackground{}, &rig.Manager->Tables(), line, {0, 0},
                     {0, 0, line.Width(), line.Height()}, 1, true);
        ASSERT_NE(line.Pixel(10, 1), line.Pixel(line.Width() - 10, 1)) << "the line is graded";
        for (TMenuItem* item : {rig.Menu->Items().Items(rig.Menu->Items().Count() - 2),
                                rig.Menu->Items().Items(rig.Menu->Items().Count() - 1)}) {
            const bool last = item == rig.Menu->BarItems().back();
            SCOPED_TRACE(item->Caption());
            // Measured: the framework's bar item (the text and 12) and the room for the icon on the last.
            std::wstring text = Widen(item->Caption());
            std::erase(text, L'&');
            HDC screen = GetDC(nullptr);
            HGDIOBJ old = SelectObject(screen, font);
            SIZE extent{};
            GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(screen, old);
            int width = 0, height = 0;
            {
                TCanvas canvas(screen);
                item->MeasureItem(canvas, width, height);
            }
            ReleaseDC(nullptr, screen);
            EXPECT_EQ(width, extent.cx + 12 + (last && maximised ? kRoom : 0));
            // Painted: the face ends 40 pixels before the item's end on the last item, the line shows after it.
            RECT r{};
            ASSERT_TRUE(GetMenuItemRect(rig.Frame->Handle(), GetMenu(rig.Frame->Handle()),
                                        static_cast<UINT>(rig.BarPosition(item)), &r));
            OffsetRect(&r, -window.left, -window.top);
            ASSERT_GT(r.right - r.left, kRoom);
            const int faceEnd = r.right - (last && maximised ? kRoom : 0);
            const auto wrong = [&] {
                int n = 0;
                for (int x = r.left; x < r.right; ++x) {
                    const COLORREF expected = x < faceEnd ? kFace : static_cast<COLORREF>(line.Pixel(x, 1));
                    n += ScreenPixel(window.left + x, window.top + top + 1) != expected;
                }
                return n;
            };
            // On the screen once the idle pass has put the window's surface there (bounded).
            testing::PumpWhileNot([&] { return wrong() == 0; });
            EXPECT_EQ(wrong(), 0) << "of " << r.right - r.left << ", the face ending at " << faceEnd;
        }
    }
    DeleteObject(font);
}

TEST(FormMDIMenuTest, TheChildButtonsEntriesArePaintedByTheMenuSkinning) {
    TMDIMenuRig rig({{"&File", 0}});
    TForm* child = rig.AddChild({});
    rig.Command(child, SC_MAXIMIZE);
    TMenuItem* head = rig.Provider->MDIExtension->ChildButtonsItem;
    ASSERT_NE(head, nullptr);
    ASSERT_EQ(rig.BarPosition(head), 0);
    ASSERT_EQ(head->Count(), 4);
    const void* party = &rig.Manager->SkinableMenus();
    for (int i = 0; i < head->Count(); ++i) {
        TMenuItem* entry = head->Items(i);
        SCOPED_TRACE(entry->Caption());
        EXPECT_TRUE(entry->OnMeasureItem.Has(party));
        EXPECT_TRUE(entry->OnAdvancedDrawItem.Has(party));
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoW(head->Handle(), static_cast<UINT>(i), TRUE, &info));
        EXPECT_EQ(info.wID, entry->Command());
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        // Measured by the skinning: the popup item height of its rule.
        int width = 0, height = 0;
        HDC screen = GetDC(nullptr);
        {
            TCanvas canvas(screen);
            entry->MeasureItem(canvas, width, height);
        }
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(height, rig.Menus().ItemHeight(*entry));
    }
    // Switching the skinning off and on hands them over again, and only once each.
    rig.Manager->SkinableMenus().SetActive(false);
    EXPECT_FALSE(head->Items(0)->OnMeasureItem.Has(party));
    rig.Manager->SkinableMenus().SetActive(true);
    EXPECT_TRUE(head->Items(0)->OnMeasureItem.Has(party));
    EXPECT_EQ(head->Items(0)->OnMeasureItem.Count(), 1);
}

}  // namespace
}  // namespace korvel
