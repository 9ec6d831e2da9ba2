// The picture of the whole window in the provider's cache (background, frame,
// grip, title bar, menu line) and its copies to the screen: the non-client
// strips on WM_NCPAINT and the client background on WM_PAINT.
#include <windows.h>

#include <algorithm>

#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/cache_dc.h"
#include "forms/mdi_form.h"
#include "forms/program_icons.h"
#include "forms/skin_provider.h"
#include "paint/blend.h"
#include "paint/item.h"
#include "paint/mask.h"

namespace korvel {

namespace {

bool HasSizingFrame(TForm* form) {
    return form->HandleAllocated() && (GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_THICKFRAME) != 0;
}

bool Creating(const TForm* form) { return (form->ControlState() & csCreating) != 0; }

}  // namespace

TPoint TsSkinProvider::GripPosition(int maskIndex) const {
    const TsSkinTables* tables = skinData_->Tables();
    const TBitmap24* cache = skinData_->CacheBmp();
    if (!tables || !tables->IsValidMaskIndex(maskIndex) || !cache) return {};
    const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(maskIndex)];
    if (mask.Bmp) {
        return {cache->Width() - mask.Bmp->Width() / 3 - FrameWidth(), cache->Height() - mask.Bmp->Height() / 2 - FrameHeight()};
    }
    const int count = std::max<int>(1, mask.ImageCount);
    return {cache->Width() - mask.R.Width() / count - FrameWidth(),
            cache->Height() - mask.R.Height() / (mask.MaskType + 1) - FrameHeight()};
}

// An MDI frame's bar also shows its active child's items (merged by the
// framework as the child is activated): a child's menu alone makes the line visible.
bool TsSkinProvider::MenuLineVisible() const {
    TMainMenu* menu = form_->Menu();
    if (!menu || form_->BorderStyle() == TFormBorderStyle::bsDialog || form_->FormStyle() == TFormStyle::fsMDIChild)
        return false;
    return !menu->BarItems().empty();
}

// The top-level items the menu skinning paints, with their rectangles on the
// line: rows wrap where the next item would pass the window's inner width.
// The walk goes over the entries of the real menu bar (a merged child's items
// among the frame's), so the painted line and the system's hit test agree.
void TsSkinProvider::WalkMenuLine(const std::function<void(TMenuItem*, const TRect&)>& visit) {
    TMainMenu* menu = form_->Menu();
    if (!menu || !form_->HandleAllocated()) return;
    TsSkinManager* manager = skinData_->SkinManager();
    const void* party = manager ? static_cast<const void*>(&manager->SkinableMenus()) : nullptr;
    int x = FrameWidth(), y = FrameHeight() + CaptionHeight(), position = 0;
    for (TMenuItem* item : menu->BarItems()) {
        const int at = position++;
        if (!item->OnMeasureItem.Has(party) || !item->OnAdvancedDrawItem.Has(party)) continue;
        RECT r{};
        GetMenuItemRect(form_->Handle(), menu->Handle(), static_cast<UINT>(at), &r);
        const int w = r.right - r.left;
        if (WindowWidth() - 2 * FrameWidth() - 2 * FormBorderWidth() < x + w && x > FrameWidth()) {
            x = FrameWidth();
            y += MenuHeight();
        }
        visit(item, {x, y, x + w, y + MenuHeight()});
        x += w;
    }
}

int TsSkinProvider::MenuRowCount() {
    if (MenuRowsCache == -1) {
        int rows = MenuLineVisible() ? 1 : 0;
        if (rows) {
            const int top = FrameHeight() + CaptionHeight();
            WalkMenuLine([&](TMenuItem*, const TRect& r) { rows = std::max(rows, (r.Top - top) / std::max(1, MenuHeight()) + 1); });
        }
        MenuRowsCache = rows;
    }
    return MenuRowsCache;
}

void TsSkinProvider::PaintMenuLine() {
    TBitmap24* cache = skinData_->CacheBmp();
    TsSkinManager* manager = skinData_->SkinManager();
    if (!cache || !manager) return;
    const int y0 = FrameHeight() + CaptionHeight();
    const int height = MenuRowCount() * MenuHeight();
    const int width = cache->Width();
    if (height <= 0 || width <= 0) return;
    int section = manager->SectionIndexOf(menuLineSkin_);
    if (menuLineSkin_.empty() || !manager->IsValidSectionIndex(section)) section = manager->SectionIndexOf("MENULINE");
    if (manager->IsValidSectionIndex(section))
        // Painted into the window's own picture: what lies behind each pixel is that pixel.
        PaintSection(section, TParentBackground{cache, 0, 0, true}, &manager->Tables(), *cache, {0, 0},
                     {0, y0, width, std::min(y0 + height, cache->Height())}, FormActive ? 1 : 0, true);
    MenuLineBackground = TBitmap24(width, height);
    CopyTransparent(MenuLineBackground, *cache, 0, clNoKey, {0, y0 + FormBorderWidth(), width - 1, y0 + height - 1}, 0);
    TCacheDC dc(*cache);
    if (!dc.Handle()) return;
    TCanvas canvas(dc.Handle());
    PaintMDIChildIcon(dc.Handle());
    WalkMenuLine([&](TMenuItem* item, const TRect& r) {
        item->OnAdvancedDrawItem(item, canvas, RECT{r.Left, r.Top, r.Right, r.Bottom}, 0);
    });
    GdiFlush();
}


// The maximised active child's icon at the start of its frame's menu line, over
// the place the child-buttons item keeps free.
void TsSkinProvider::PaintMDIChildIcon(HDC dc) {
    if (!MDIChildIconShown()) return;
    TForm* child = form_->ActiveMDIChild();
    if (!child) return;
    HICON icon = child->Icon().Handle();
    if (!icon) icon = ProgramShellIcon(false);
    if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
    const int size = MenuHeight() - 2;
    if (icon && size > 0)
        DrawIconEx(dc, FrameWidth() + 1, CaptionHeight() + FrameHeight() + 1, icon, size, size, 0, nullptr, DI_NORMAL);
}

void TsSkinProvider::RepaintCache() {
    if (Creating(form_) || !skinData_->BackgroundChanged) return;
    TBitmap24* cache = skinData_->CacheBmp();
    const TsSkinTables* tables = skinData_->Tables();
    const TsGeneralData* section = skinData_->Section();
    if (!cache) return;
    const int f = FrameHeight();
    const int c = CaptionHeight();
    const int width = std::max(0, WindowWidth());
    const int height = std::max(0, FormHeight());
    const TRect r{0, 0, width, Minimized() ? std::min(height, f + c + 1) : height};
    const int state = FormActive ? 1 : 0;

    // A maximised child's buttons lie on the menu line, below the kept title: drawn
    // again without the line under them, a see-through button would cover itself.
    const bool fast = !MenuLineChanged && section && section->ReservedBoolean && TitleAreaCache &&
                      TitleAreaCache->Width() == width && cache->Height() == height && cache->Width() == width &&
                      HasBorder() && !MDIChildButtonsShown();
    if (fast) {
        // The background under the title was kept: only the title bar is drawn again.
        const TBitmap24& strip = *TitleAreaCache;
        if (!RestoreComposedTitle(strip.Height())) {
            CopyTransparent(*cache, strip, 0, clNoKey, {0, 0, strip.Width() - 1, strip.Height() - 1}, 0);
            RunTitleSteps(strip.Height(), false);
            RunTitleSteps(strip.Height(), true);
            KeepComposedTitle(strip.Height());
        }
    } else {
        RegionChanged = true;
        if (cache->Width() != width || cache->Height() != height) *cache = TBitmap24(width, height);
        if (section && !cache->Empty()) {
            if (HasBorder()) {
                TItemSource source = skinData_->ItemSource();
                source.CustomColor = skinData_->CustomColor() ? ColorToRGB(form_->Color()) : clNone;
                source.HasParent = false;
                PaintItem(source, TParentBackground{}, true, *cache, {0, 0}, r, state);
            } else {
                PaintItemBackground(skinData_->SkinIndex, TParentBackground{}, clNone, -1, -1, tables, *cache, {0, 0}, r,
                                    state);
            }
            TsSkinManager* manager = skinData_->SkinManager();
            const int grip = manager ? manager->MaskIndexOf(manager->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE") : -1;
            if (gripMode_ == TGripMode::gmRightBottom && tables->IsValidMaskIndex(grip)) {
                const TPoint at = GripPosition(grip);
                DrawSkinGlyph(*cache, at, 0, *tables, tables->Masks[static_cast<std::size_t>(grip)], 1);
            }
            const int strip = std::min(c + f, cache->Height());
            if (section->ReservedBoolean && strip > 0 && (!TitleAreaCache || TitleAreaCache->Width() != width)) {
                TitleAreaCache = std::make_unique<TBitmap24>(width, strip);
                ++titleAreaGeneration_;
                CopyTransparent(*TitleAreaCache, *cache, 0, clNoKey, {0, 0, width - 1, strip - 1}, 0);
            }
            const int titleHeight = f + c + (Minimized() ? 1 : 0);
            if (HasBorder()) RunTitleSteps(titleHeight, false);
            if (MenuLineVisible() && MenuHeight() > 0) PaintMenuLine();
            if (HasBorder()) RunTitleSteps(titleHeight, true);
            if (IsMDIFrame() && MDIExtension) MDIExtension->PaintMDIArea();
        }
        MenuLineChanged = false;
    }
    PaintedOnce = true;
    skinData_->BackgroundChanged = false;
    skinData_->Updating = false;
}

void TsSkinProvider::CopyToWindow(HDC dc, const TRect& source, int destX, int destY) {
    const TBitmap24* cache = skinData_->CacheBmp();
    if (!dc || !cache || cache->Empty() || source.IsEmpty()) return;
    TCacheDC memory(*cache);
    if (memory.Handle()) BitBlt(dc, destX, destY, source.Width(), source.Height(), memory.Handle(), source.Left, source.Top, SRCCOPY);
}

void TsSkinProvider::CopyFrameToWindow(HDC dc) {
    if (skinData_->BackgroundChanged) {
        RepaintCache();
        skinData_->BackgroundChanged = false;
        skinData_->Updating = false;
    }
    const TBitmap24* cache = skinData_->CacheBmp();
    if (!cache || cache->Empty()) return;
    const int f = FrameHeight();
    const int fw = FrameWidth();
    const int b = FormBorderWidth();
    const int w = form_->Width();
    const int h = FormHeight();
    const int m = (Minimized() ? 1 : 0) + f + CaptionHeight() + (MenuLineVisible() ? MenuRowCount() * MenuHeight() : 0);
    CopyToWindow(dc, Bounds(0, 0, WindowWidth(), NonClientTopHeight()), 0, 0);
    CopyToWindow(dc, Bounds(0, m + b, fw + b, cache->Height()), 0, m + b);
    CopyToWindow(dc, Bounds(fw + b, h - f - b, w - f - b, f + b), f + b, h - f - b);
    CopyToWindow(dc, Bounds(cache->Width() - fw - b, m + b, f + b, cache->Height()), cache->Width() - fw - b, m + b);
}

void TsSkinProvider::NonClientPaint(TMessage& message) {
    message.Result = 0;
    if (!form_->Visible() || !form_->HandleAllocated() || InState(csLoading) || Creating(form_) ||
        form_->InState(csDestroying)) {
        if (form_->Visible() && Creating(form_)) PaintAfterCreation();
        return;
    }
    skinData_->Updating = skinData_->IsUpdating();
    if (skinData_->Updating) return;
    if (HiddenBehindMaximizedSibling()) return;
    // Under Wine, SetWindowRgn sends its WM_NCPAINT before its WM_WINDOWPOSCHANGED:
    // a paint nested in the region being set must leave ApplyingRegion to the
    // paint that set it, or the position change starts a second region (and a
    // client repaint in the middle of the caller's SetWindowPos, whose erase
    // then comes after that repaint and stays on the screen).
    const bool nestedInRegion = ApplyingRegion;
    if (!ApplyingRegion && RegionChanged && (HasBorder() || HasSizingFrame(form_))) {
        RebuildRegionHoles();
        RegionChanged = false;
        ApplyRegion();
    }
    if (!MenuOwnerDrawDone) {
        MenuOwnerDrawDone = true;
        RefreshMenuOwnerDraw();
    }
    HWND window = form_->Handle();
    HDC dc = GetWindowDC(window);
    if (dc) {
        const int saved = SaveDC(dc);
        if (HasBorder() || !HasSizingFrame(form_)) {
            CopyFrameToWindow(dc);
        } else {
            if (skinData_->BackgroundChanged) {
                RepaintCache();
                skinData_->BackgroundChanged = false;
                skinData_->Updating = false;
            }
            const TBitmap24* cache = skinData_->CacheBmp();
            if (cache && !cache->Empty()) {
                const int t = FormBorderWidth() + 3;
                const int w = form_->Width();
                const int h = FormHeight();
                CopyToWindow(dc, Bounds(0, 0, w, t), 0, 0);
                CopyToWindow(dc, Bounds(0, t, t, cache->Height()), 0, t);
                CopyToWindow(dc, Bounds(t, h - t, w - t, t), t, h - t);
                CopyToWindow(dc, Bounds(cache->Width() - t, t, t, cache->Height()), cache->Width() - t, t);
            }
        }
        RestoreDC(dc, saved);
        ReleaseDC(window, dc);
    }
    if (!nestedInRegion) ApplyingRegion = false;
    if (IsMDIFrame() && MDIExtension) {
        MDIExtension->HookClient();
    } else if (IsMDIChild() && form_->Visible()) {
        if (TsMDIForm* mdi = FrameExtension()) mdi->UpdateChildControls();
    }
}

void TsSkinProvider::HandlePaint(TMessage& message) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(form_->Handle(), &ps);
    skinData_->Updating = skinData_->IsUpdating();
    if (dc && !skinData_->Updating && !form_->InState(csDestroying) && !HiddenBehindMaximizedSibling()) {
        const int saved = SaveDC(dc);
        PaintClientArea(dc);
        RestoreDC(dc, saved);
    }
    EndPaint(form_->Handle(), &ps);
    message.Result = 1;
}

void TsSkinProvider::PaintClientArea(HDC dc) {
    if (skinData_->PaintingClient) return;
    if (skinData_->Link) return PaintLinkedChild(dc);
    if (!skinData_->Preparing) RepaintCache();
    const RECT client = form_->ClientRect();
    const RECT source{FrameWidth() + FormBorderWidth(), ClientOffsetY(), 0, 0};
    skinData_->CopyCacheToDC(form_, source, false, dc, client);
    NotifyChildrenParentUpdated(form_);
    skinData_->PaintingClient = true;
    try {
        PaintGraphicChildren(dc, form_);
    } catch (...) {
        skinData_->PaintingClient = false;
        throw;
    }
    skinData_->PaintingClient = false;
}

// Only the linked child is painted, over the form's background when it does not cover its area.
void TsSkinProvider::PaintLinkedChild(HDC dc) {
    TControl* child = nullptr;
    for (int i = 0; i < form_->ControlCount() && !child; ++i) {
        if (static_cast<void*>(form_->Controls(i)) == skinData_->Link) child = form_->Controls(i);
    }
    const TBitmap24* cache = skinData_->CacheBmp();
    if (!child || !cache || child->Width() <= 0 || child->Height() <= 0) return;
    skinData_->PaintingClient = true;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    try {
        if (child->ControlStyle() & csOpaque) {
            child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        } else {
            TBitmap24 picture(child->Width(), child->Height());
            const int sx = child->Left() + ClientOffsetX(), sy = child->Top() + ClientOffsetY();
            CopyTransparent(picture, *cache, 0, clNoKey, {sx, sy, sx + child->Width() - 1, sy + child->Height() - 1}, 0);
            TCacheDC pictureDC(picture);
            if (pictureDC.Handle()) {
                child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(pictureDC.Handle()), 0);
                GdiFlush();
                BitBlt(dc, 0, 0, child->Width(), child->Height(), pictureDC.Handle(), 0, 0, SRCCOPY);
            }
        }
    } catch (...) {
        RestoreDC(dc, saved);
        skinData_->PaintingClient = false;
        throw;
    }
    RestoreDC(dc, saved);
    skinData_->PaintingClient = false;
}

}  // namespace korvel
