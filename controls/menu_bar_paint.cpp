// The items of a form's menu bar: measured to the text, painted with the
// "MENUITEM" section over the form's skinned menu line.
#include <algorithm>
#include <vector>

#include "gui/cache_dc.h"
#include "controls/skinable_menus.h"
#include "engine/skin_manager.h"
#include "gui/forms.h"
#include "paint/blend.h"
#include "paint/item.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

namespace {

// The item standing for a maximised MDI child's window commands; the MDI support paints it.
constexpr const char* kMdiChildItemName = "sMDICII";
// What the last item of a bar gives up while a maximised MDI child's icon starts the line.
constexpr int kChildIconRoom = 40;

}  // namespace

void TsSkinableMenus::MenuBarMeasure(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (!item || item->InState(csDestroying)) return;
    height = GetSystemMetrics(SM_CYMENU) - 1;
    if (item->Name() == kMdiChildItemName) {
        width = 8;
        return;
    }
    UseMenuFont(canvas, item->Default());
    RECT text{0, 0, 0, 0};
    canvas.DrawText(item->Caption() + ShortCutToText(item->ShortCut()), text, DT_CALCRECT | DT_SINGLELINE);
    width = std::max<int>(width, text.right);
    if (LastBeforeChildIcon(item)) width += kChildIconRoom;
}

bool TsSkinableMenus::LastBeforeChildIcon(TMenuItem* item) {
    auto* menu = dynamic_cast<TMainMenu*>(item->GetParentMenu());
    // An MDI child's items stand in the bar of the frame they are merged into.
    if (menu && menu->MergedInto()) menu = menu->MergedInto();
    if (!menu || !menu->Form()) return false;
    const std::vector<TMenuItem*> items = menu->BarItems();
    return !items.empty() && items.back() == item && MDIChildIconShown(menu->Form());
}

void TsSkinableMenus::MenuBarDraw(TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
    if (!item || item->InState(csDestroying) || item->Name() == kMdiChildItemName || !manager_) return;
    auto* menu = dynamic_cast<TMainMenu*>(item->GetParentMenu());
    // An MDI child's items show on the line of the frame whose bar they are merged into.
    if (menu && menu->MergedInto()) menu = menu->MergedInto();
    TMenuLineBackground line;
    if (!menu || !MenuLineOf(menu->Form(), line)) return;
    const TsSkinTables* tables = Tables();
    const int w = rect.right - rect.left - (LastBeforeChildIcon(item) ? kChildIconRoom : 0), h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const TBitmap24& bg = *line.Bitmap;
    const int bx = rect.left, by = rect.top - line.Top;   // the item on the menu line's background
    const bool enabled = item->Enabled() && !(state & (odDisabled | odGrayed));
    const bool hot = (state & odHotLight) || (enabled && (state & odSelected));

    TBitmap24 face(w, h);
    CopyTransparent(face, bg, 0, clNoKey, {bx, by, bx + w - 1, by + h - 1}, 0);
    const int menuItem = SectionIndex("MENUITEM");
    if (menuItem >= 0)
        PaintSection(menuItem, TParentBackground{const_cast<TBitmap24*>(&bg), 0, 0, true}, tables, face, {bx, by},
                     {0, 0, w, h}, hot ? 1 : 0, true);
    {
        TCacheDC faceDC(face);
        TCanvas faceCanvas(faceDC.Handle());
        UseMenuFont(faceCanvas, item->Default());
        const unsigned align = Alignment == TAlignment::taRightJustify ? DT_RIGHT
                               : Alignment == TAlignment::taCenter     ? DT_CENTER
                                                                       : DT_LEFT;
        {
            TGdiTextCanvas text(faceDC.Handle(), faceCanvas.Font().Handle(), 0);
            TRect textRect{Margin, 0, w - Margin, h};
            WriteSectionText(text, item->Caption(), enabled, tables, hot, SectionIndex("MENULINE"),
                             align | DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_SINGLELINE, textRect);
            if (item->ShortCut()) {
                TRect keyRect{0, 0, w - 8, h};
                WriteSectionText(text, ShortCutToText(item->ShortCut()), enabled, tables, hot, SectionIndex("MENULINE"),
                                 DT_RIGHT | DT_VCENTER | DT_SINGLELINE, keyRect);
            }
        }
        if (OnDrawItem) OnDrawItem(item, faceCanvas, RECT{0, 0, w, h}, state, TsMenuItemType::smTopLine);
    }
    // Disabled: 102/255 of the item stays over the menu line.
    if (!item->Enabled()) BlendBitmapAt(face, const_cast<TBitmap24&>(bg), 102, {0, 0}, {bx, by, bx + w, by + h});
    TCacheDC faceDC(face);
    if (faceDC.Handle()) BitBlt(canvas.Handle(), rect.left, rect.top, w, h, faceDC.Handle(), 0, 0, SRCCOPY);
}

}  // namespace korvel
