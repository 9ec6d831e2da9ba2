// Caption buttons of a skinned form: their masks and sizes, placing and
// painting them into the cache, their hot and pressed states, the skinned hit
// test, and the window commands a click on them gives.
#include "forms/caption_buttons.h"

#include <windowsx.h>

#include <algorithm>

#include "engine/skin_manager.h"
#include "forms/mdi_form.h"
#include "forms/skin_provider.h"
#include "gui/application.h"
#include "paint/blend.h"
#include "paint/mask.h"

namespace korvel {

// ---- title buttons -----------------------------------------------------------------

TsTitleButton::TsTitleButton(TCollection* collection) : TCollectionItem(collection), Name("TsTitleButton") {}

void TsTitleButton::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TsTitleButton*>(&source);
    if (!other) return TCollectionItem::Assign(source);
    Enabled = other->Enabled;
    Glyph.Assign(other->Glyph);
    Name = other->Name;
    UseSkinData = other->UseSkinData;
    OnMouseDown = other->OnMouseDown;
    OnMouseUp = other->OnMouseUp;
}

TsTitleButtons::TsTitleButtons(TPersistent* owner)
    : TCollection(owner, [](TCollection* c) { return std::make_unique<TsTitleButton>(c); }) {}

// ---- sizes -------------------------------------------------------------------------

namespace {

const TsMaskData* MaskAt(const TsSkinTables* tables, int index) {
    return tables && tables->IsValidMaskIndex(index) ? &tables->Masks[static_cast<std::size_t>(index)] : nullptr;
}

int ImageCountOf(const TsMaskData& mask) {
    if (mask.ImageCount > 0) return mask.ImageCount;
    return mask.Bmp ? 3 : 1;   // a picture of its own without a count holds three states
}

// The icon mask a button shows while the form is maximised or minimised.
int NormMask(const TsSkinManager* manager, const TsCommonData& data, const char* name) {
    if (!manager) return -1;
    int index = manager->MaskIndexOf(manager->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", name);
    if (!manager->IsValidMaskIndex(index)) index = manager->MaskIndexOf(data.SkinIndex, data.SkinSection(), name);
    return manager->IsValidMaskIndex(index) ? index : -1;
}

}  // namespace

int MaskButtonWidth(const TsSkinTables* tables, int maskIndex) {
    const TsMaskData* mask = MaskAt(tables, maskIndex);
    if (!mask) return DefaultButtonSize;
    const int width = mask->Bmp ? mask->Bmp->Width() : mask->R.Width();
    return width / ImageCountOf(*mask);
}

int MaskButtonHeight(const TsSkinTables* tables, int maskIndex) {
    const TsMaskData* mask = MaskAt(tables, maskIndex);
    if (!mask) return DefaultButtonSize;
    if (mask->Bmp) return mask->Bmp->Height() / 2;
    return mask->R.Height() / (mask->MaskType + 1);
}

int TsSkinProvider::ButtonWidth(int maskIndex) const { return MaskButtonWidth(skinData_->Tables(), maskIndex); }

int TsSkinProvider::ButtonHeight() const { return MaskButtonHeight(skinData_->Tables(), ButtonClose.MaskIndex); }

int TsSkinProvider::TitleButtonWidth(const TsTitleButton& button) const {
    const int glyph = button.Glyph.Empty() ? 0 : button.Glyph.Width() + 2;
    return std::max(glyph, ButtonWidth(TitleButtonMask));
}

int TsSkinProvider::ButtonsWidth() const {
    int width = 0;
    if ((borderIcons_ & biSystemMenu) && systemMenu_) {
        width += ButtonWidth(ButtonClose.MaskIndex);
        if (systemMenu_->VisibleMaximize()) width += ButtonWidth(ButtonMax.MaskIndex);
        if (systemMenu_->VisibleMinimize()) width += ButtonWidth(ButtonMin.MaskIndex);
        if (borderIcons_ & biHelp) width += ButtonWidth(ButtonHelp.MaskIndex);
    }
    for (int i = 0; i < titleButtons_->Count(); ++i) width += TitleButtonWidth(titleButtons_->Items(i));
    return width;
}

int TsSkinProvider::VisibleButtonCount() const {
    if (!(borderIcons_ & biSystemMenu) || !systemMenu_) return 0;
    return 3 + ((borderIcons_ & biHelp) ? 1 : 0) - (systemMenu_->VisibleMinimize() ? 0 : 1) -
           (systemMenu_->VisibleMaximize() ? 0 : 1);
}

int TsSkinProvider::TitleBarMaskWidth(int maskIndex) const {
    const TsMaskData* mask = MaskAt(skinData_->Tables(), maskIndex);
    int width = 0;
    if (mask && mask->Bmp) width = (mask->Bmp->Width() / 9) * 2;
    else if (mask) width = (mask->R.Width() / (ImageCountOf(*mask) * 3)) * 2;
    return width + ButtonsWidth();
}

// ---- masks -------------------------------------------------------------------------

void TsSkinProvider::LoadButtonMasks() {
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager) return;
    const int global = manager->SectionIndexOf("GLOBALINFO");
    if (!manager->IsValidSectionIndex(global)) return;
    const auto globalMask = [&](const char* name) { return manager->MaskIndexOf(global, "GLOBALINFO", name); };
    ButtonClose.MaskIndex = globalMask("BICONCLOSE");
    if (!manager->IsValidMaskIndex(ButtonClose.MaskIndex)) {
        const int form = manager->SectionIndexOf("FORM");
        ButtonMin.MaskIndex = manager->MaskIndexOf(form, "FORM", "BICONMIN");
        ButtonMax.MaskIndex = manager->MaskIndexOf(form, "FORM", "BICONMAX");
        ButtonClose.MaskIndex = manager->MaskIndexOf(form, "FORM", "BICONCLOSE");
        ButtonHelp.MaskIndex = manager->MaskIndexOf(form, "FORM", "BICONHELP");
        SetMDIButtonMasks(ButtonMin.MaskIndex, ButtonMax.MaskIndex, ButtonClose.MaskIndex);
    } else {
        const TFormBorderStyle style = form_->BorderStyle();
        if (style != TFormBorderStyle::bsSingle && style != TFormBorderStyle::bsSizeable) {
            ButtonClose.MaskIndex = globalMask("SICONCLOSE");
            ButtonMin.MaskIndex = globalMask("SICONMIN");
            ButtonMax.MaskIndex = globalMask("SICONMAX");
        } else {
            ButtonMin.MaskIndex = globalMask("BICONMIN");
            ButtonMax.MaskIndex = globalMask("BICONMAX");
            ButtonClose.MaskIndex = globalMask("BICONCLOSE");
        }
        ButtonHelp.MaskIndex = globalMask("BICONHELP");
        if (!manager->IsValidMaskIndex(ButtonClose.MaskIndex)) {
            // A skin without small icons: the big ones serve every border style.
            ButtonClose.MaskIndex = globalMask("BICONCLOSE");
            ButtonMin.MaskIndex = globalMask("BICONMIN");
            ButtonMax.MaskIndex = globalMask("BICONMAX");
            ButtonHelp.MaskIndex = globalMask("BICONHELP");
            SetMDIButtonMasks(globalMask("BICONMIN"), globalMask("BICONMAX"), globalMask("BICONCLOSE"));
        } else {
            SetMDIButtonMasks(globalMask("SICONMIN"), globalMask("SICONMAX"), globalMask("SICONCLOSE"));
            if (!manager->IsValidMaskIndex(MDIButtonMin.MaskIndex))
                SetMDIButtonMasks(ButtonMin.MaskIndex, ButtonMax.MaskIndex, ButtonClose.MaskIndex);
        }
    }
    TitleButtonMask = globalMask("TITLEBUTTON");
    if (!manager->IsValidMaskIndex(TitleButtonMask)) TitleButtonMask = -1;
}

// ---- placing and painting ----------------------------------------------------------

void TsSkinProvider::PlaceButton(CaptionButtonInfo& info, int& x, int width, bool enabled, bool drawFace) {
    const int height = ButtonHeight();
    info.Rect.Right = x;
    info.Rect.Left = x - width;
    info.Rect.Top = (CaptionHeight() + FrameHeight() - height) / 2 + (height < 16 ? 2 : 0);
    info.Rect.Bottom = info.Rect.Top + height;
    x = info.Rect.Left;
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    if (!drawFace || !tables || !cache || !tables->IsValidMaskIndex(info.MaskIndex)) return;
    DrawSkinGlyph(*cache, {info.Rect.Left, info.Rect.Top}, info.State, *tables,
                  tables->Masks[static_cast<std::size_t>(info.MaskIndex)], FormActive && enabled ? 1 : 2);
}

namespace {

// A title button's glyph, its bottom-left pixel taken as transparent.
void DrawTitleGlyph(TBitmap24& cache, const TsTitleButton& button, int left, int top) {
    const TBitmap24& glyph = button.Glyph.Pixels();
    if (glyph.Empty()) return;
    const TColor key = glyph.Pixel(0, glyph.Height() - 1);
    CopyTransparent(cache, glyph, left, key, {0, 0, glyph.Width() - 1, glyph.Height() - 1}, top);
}

}  // namespace

void TsSkinProvider::PaintCaptionButtons() {
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    if (!tables || !cache || cache->Empty()) return;
    TsSkinManager* manager = skinData_->SkinManager();
    int x = WindowWidth() - FrameWidth();
    // A button that takes no room this time (hidden, or without a picture in
    // this skin) must not answer hit tests where it stood before.
    for (CaptionButtonInfo* info : {&ButtonClose, &ButtonMax, &ButtonMin, &ButtonHelp}) info->Rect = {};
    const auto place = [&](CaptionButtonInfo& info, int mask, bool enabled) {
        if (!tables->IsValidMaskIndex(mask)) return;
        const int own = info.MaskIndex;
        info.MaskIndex = mask;
        PlaceButton(info, x, ButtonWidth(mask), enabled, true);
        info.MaskIndex = own;
    };
    if ((borderIcons_ & biSystemMenu) && systemMenu_) {
        place(ButtonClose, ButtonClose.MaskIndex, true);
        if (systemMenu_->VisibleMaximize()) {
            if (Maximized()) place(ButtonMax, NormMask(manager, *skinData_, "BICONNORM"), systemMenu_->EnabledRestore());
            else place(ButtonMax, ButtonMax.MaskIndex, systemMenu_->EnabledMaximize());
        }
        if (systemMenu_->VisibleMinimize()) {
            if (Minimized()) place(ButtonMin, NormMask(manager, *skinData_, "BICONNORM"), systemMenu_->EnabledRestore());
            else place(ButtonMin, ButtonMin.MaskIndex, systemMenu_->EnabledMinimize());
        }
        if (borderIcons_ & biHelp) place(ButtonHelp, ButtonHelp.MaskIndex, true);
    }
    for (int i = 0; i < titleButtons_->Count(); ++i) {
        TsTitleButton& button = titleButtons_->Items(i);
        const bool face = button.UseSkinData && tables->IsValidMaskIndex(TitleButtonMask);
        if (face) button.MaskIndex = TitleButtonMask;
        CaptionButtonInfo info{button.State, face ? TitleButtonMask : -1, {}};
        PlaceButton(info, x, TitleButtonWidth(button), button.Enabled, face);
        button.Rect = info.Rect;
        DrawTitleGlyph(*cache, button, button.Rect.Left + (TitleButtonWidth(button) - button.Glyph.Width()) / 2,
                       button.Rect.Top + (ButtonHeight() - button.Glyph.Height()) / 2);
    }
    PaintMDIChildButtons();
}

CaptionButtonInfo* TsSkinProvider::ButtonOfCode(int code) {
    switch (code) {
        case htsMinimize: return &ButtonMin;
        case htsMaximize: return &ButtonMax;
        case htsClose: return &ButtonClose;
        case htsHelp: return &ButtonHelp;
        case htsMDIClose: return &MDIButtonClose;
        case htsMDIRestore: return &MDIButtonRestore;
        case htsMDIMinimize: return &MDIButtonMin;
        default: return nullptr;
    }
}

namespace {

TsTitleButton* TitleButtonOfCode(TsTitleButtons& buttons, int code) {
    const int index = code - htsTitleButton;
    return index >= 0 && index < buttons.Count() ? &buttons.Items(index) : nullptr;
}

}  // namespace

void TsSkinProvider::RedrawCaptionButton(int code) {
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    if (!tables || !cache || cache->Empty() || !form_->HandleAllocated()) return;
    TsSkinManager* manager = skinData_->SkinManager();
    CaptionButtonInfo* info = ButtonOfCode(code);
    TsTitleButton* title = info ? nullptr : TitleButtonOfCode(*titleButtons_, code);
    if (!info && !title) return;
    const TRect rect = info ? info->Rect : title->Rect;
    const int state = info ? info->State : title->State;
    if (rect.IsEmpty() || rect.Left <= IconRect().Right) return;

    // The button's own background, as it was before any button was drawn.
    if (!ButtonsBackground.Empty()) {
        const int sx = rect.Left - buttonsSaveLeft_;
        CopyTransparent(*cache, ButtonsBackground, rect.Left, clNoKey,
                        {sx, rect.Top, sx + rect.Width() - 1, rect.Top + rect.Height() - 1}, rect.Top);
    }

    int mask = info ? info->MaskIndex : (title->UseSkinData ? title->MaskIndex : -1);
    bool disabled = false;
    if (systemMenu_) {
        if (code == htsMaximize) disabled = Maximized() ? !systemMenu_->EnabledRestore() : !systemMenu_->EnabledMaximize();
        if (code == htsMinimize) disabled = Minimized() ? !systemMenu_->EnabledRestore() : !systemMenu_->EnabledMinimize();
    }
    if (code == htsMaximize && Maximized()) mask = NormMask(manager, *skinData_, "BICONNORM");
    if (code == htsMDIRestore) mask = MDIRestoreMask();
    if (Minimized()) {
        if (code == htsMinimize) mask = NormMask(manager, *skinData_, "BICONNORM");
        if (code == htsMaximize) {
            mask = NormMask(manager, *skinData_, "BICONMAX");
            disabled = !systemMenu_ || !systemMenu_->EnabledMaximize();
        }
    }
    if (title) disabled = !title->Enabled;
    const bool lit = state == bsHotState || state == bsPressedState;
    const int mode = lit && !disabled ? 1 : (disabled || !FormActive ? 2 : 1);
    if (tables->IsValidMaskIndex(mask)) {
        DrawSkinGlyph(*cache, {rect.Left, rect.Top}, state, *tables, tables->Masks[static_cast<std::size_t>(mask)], mode);
    }
    if (title) {
        const int shift = state == bsPressedState ? 1 : 0;
        DrawTitleGlyph(*cache, *title, rect.Left + (rect.Width() - title->Glyph.Width()) / 2 + shift,
                       rect.Top + (rect.Height() - title->Glyph.Height()) / 2 + shift);
    }
    HDC dc = GetWindowDC(form_->Handle());
    CopyToWindow(dc, rect, rect.Left, rect.Top);
    ReleaseDC(form_->Handle(), dc);
}

namespace {

void SetStateOf(CaptionButtonInfo* info, TsTitleButton* title, int state) {
    if (info) info->State = state;
    if (title) title->State = state;
}

}  // namespace

void TsSkinProvider::SetHotButton(int code) {
    if (code == CurrentButton) return;
    if (CurrentButton != 0) {
        SetStateOf(ButtonOfCode(CurrentButton), TitleButtonOfCode(*titleButtons_, CurrentButton), bsNormalState);
        RedrawCaptionButton(CurrentButton);
    }
    CurrentButton = code;
    CaptionButtonInfo* info = ButtonOfCode(code);
    TsTitleButton* title = TitleButtonOfCode(*titleButtons_, code);
    if (info || title) {
        SetStateOf(info, title, bsHotState);
        RedrawCaptionButton(code);
    }
}

void TsSkinProvider::SetPressedButton(int code) {
    if (code != CurrentButton && CurrentButton != 0) {
        SetStateOf(ButtonOfCode(CurrentButton), TitleButtonOfCode(*titleButtons_, CurrentButton), bsNormalState);
        RedrawCaptionButton(CurrentButton);
    }
    CurrentButton = code;
    bool press = true;
    if (code == htsMaximize && systemMenu_) {
        press = systemMenu_->EnabledMaximize() || (Maximized() && systemMenu_->EnabledRestore());
    }
    if (code == htsMDIRestore) press = systemMenu_ && systemMenu_->EnabledMaximize();
    if (press) SetStateOf(ButtonOfCode(code), TitleButtonOfCode(*titleButtons_, code), bsPressedState);
    RedrawCaptionButton(code);
}

// ---- hit test ----------------------------------------------------------------------

int TsSkinProvider::SkinHitTest(POINT p, int incoming) {
    const int t = (FrameHeight() + FormBorderWidth() + CaptionHeight() - ButtonHeight()) / 2;
    if (p.y >= t && p.y <= t + ButtonHeight()) {
        if (p.x >= FrameWidth() && p.x <= FrameWidth() + IconRect().Width()) {
            SetHotButton(htsIcon);
            return htsIcon;
        }
        const bool menu = (borderIcons_ & biSystemMenu) && systemMenu_;
        const bool sysVisible = systemMenu_ && systemMenu_->VisibleSystemMenu();
        const bool maxVisible = systemMenu_ && systemMenu_->VisibleMaximize();
        const bool minVisible = systemMenu_ && systemMenu_->VisibleMinimize();
        const bool help = (borderIcons_ & biHelp) != 0;
        const int n = (sysVisible ? 1 : 0) + (maxVisible ? 1 : 0) + (minVisible || Minimized() ? 1 : 0);
        const int m = n + (help ? 1 : 0);

        std::vector<TRect> order;
        if (menu) {
            order.push_back(ButtonClose.Rect);
            if (maxVisible) order.push_back(ButtonMax.Rect);
            if (minVisible) order.push_back(ButtonMin.Rect);
            if (help) order.push_back(ButtonHelp.Rect);
        }
        const int standard = static_cast<int>(order.size());
        for (int i = 0; i < titleButtons_->Count(); ++i) order.push_back(titleButtons_->Items(i).Rect);
        int k = 0;
        for (int i = 0; i < static_cast<int>(order.size()) && k == 0; ++i) {
            if (!order[static_cast<std::size_t>(i)].IsEmpty() && p.x >= order[static_cast<std::size_t>(i)].Left &&
                p.x <= order[static_cast<std::size_t>(i)].Right) {
                k = i + 1;
            }
        }
        // Title buttons follow the standard ones that exist, whatever m counts.
        const int titleBase = standard;
        if (k < 1 || k > titleBase) {
            const int index = k - titleBase - 1;
            if (k > titleBase && index < titleButtons_->Count() && titleButtons_->Items(index).Enabled) {
                const int code = htsTitleButton + index;
                SetHotButton(code);
                return code;
            }
            return htsCaption;
        }
        (void)m;
        int code = htsNowhere;
        switch (k) {
            case 1:
                if (sysVisible) code = htsClose;
                break;
            case 2:
                if (maxVisible) {
                    code = systemMenu_->EnabledMaximize() || systemMenu_->EnabledRestore() ? htsMaximize : htsCaption;
                } else if (minVisible || Minimized()) {
                    code = systemMenu_->EnabledMinimize() ? htsMinimize : htsCaption;
                } else if (help) {
                    code = htsHelp;
                }
                break;
            case 3:
                if (minVisible || Minimized()) {
                    code = Minimized() || systemMenu_->EnabledMinimize() ? htsMinimize : htsCaption;
                } else if (help) {
                    code = htsHelp;
                }
                break;
            case 4:
                if (help && maxVisible) code = htsHelp;
                break;
            default: break;
        }
        if (code != htsNowhere) {
            SetHotButton(code);
            return code;
        }
    } else {
        TsSkinManager* manager = skinData_->SkinManager();
        const int grip = manager ? manager->MaskIndexOf(manager->SectionIndexOf("GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE") : -1;
        if (gripMode_ == TGripMode::gmRightBottom && manager && manager->IsValidMaskIndex(grip)) {
            const TPoint at = GripPosition(grip);
            if (p.x >= at.X && p.y >= at.Y) return htsGrip;
        }
        if (const int code = MDIChildButtonHit(p)) return code;
        SetHotButton(0);
    }
    if (Maximized() && (p.x < 2 || p.y < 2 || p.x > form_->Width() - 4 || p.y > form_->Height() - 4)) {
        SetHotButton(0);
        return htsTransparent;
    }
    return incoming;
}

// ---- mouse commands ----------------------------------------------------------------

POINT TsSkinProvider::WindowPoint(LPARAM screenPoint) const {
    POINT p{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (form_->HandleAllocated()) {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        p.x -= r.left;
        p.y -= r.top;
    }
    return p;
}

void TsSkinProvider::OnNcLButtonDown(TMessage& m) {
    const int code = static_cast<int>(m.WParam);
    TsSkinManager* manager = skinData_->SkinManager();
    switch (code) {
        case htsIcon:
            if (manager && manager->SkinnedPopups()) {
                SetHotButton(0);
                if (systemMenu_) {
                    RECT r{};
                    GetWindowRect(form_->Handle(), &r);
                    if (IsMDIChild() && FrameProvider()) DropSystemMenu(r.left, r.top + CaptionHeight() + 4);
                    else DropSystemMenu(r.left + FrameWidth(), r.top + IconRect().Height() + FrameHeight() + FormBorderWidth());
                }
                return;
            }
            return PassOn(m);
        case htsMinimize:
        case htsMaximize:
        case htsClose:
        case htsHelp:
        case htsMDIClose:
        case htsMDIRestore:
        case htsMDIMinimize:
            SetPressedButton(code);
            return;
        default: break;
    }
    if (TsTitleButton* title = TitleButtonOfCode(*titleButtons_, code)) {
        SetPressedButton(code);
        if (title->OnMouseDown) title->OnMouseDown(title, TMouseButton::mbLeft, 0, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        return;
    }
    if (Minimized()) {
        form_->Perform(WM_SYSCOMMAND, 0xF012, 0);   // a minimised window is dragged by any press
        return;
    }
    SetHotButton(0);
    if (Maximized() && WindowPoint(m.LParam).y <= FrameHeight() + CaptionHeight()) {
        if (GetActiveWindow() != form_->Handle()) form_->SetFocus();
        return;
    }
    PassOn(m);
}

void TsSkinProvider::OnButtonUp(TMessage& m) {
    if (m.Msg == WM_LBUTTONUP) {
        // Its first parameter holds key flags, not a hit code: a release in the client
        // area only ends a press that started on a caption button.
        CaptionButtonInfo* pressed = ButtonOfCode(CurrentButton);
        TsTitleButton* title = TitleButtonOfCode(*titleButtons_, CurrentButton);
        if ((pressed && pressed->State == bsPressedState) || (title && title->State == bsPressedState)) SetHotButton(0);
        return PassOn(m);
    }
    const int code = static_cast<int>(m.WParam);
    const POINT p = WindowPoint(m.LParam);
    m.WParam = 0;
    switch (code) {
        case htsMinimize: {
            const TRect& r = ButtonMin.Rect;
            if (p.x < r.Left || p.x >= r.Right || p.y < r.Top || p.y >= r.Bottom) {
                m.WParam = static_cast<WPARAM>(code);
                return PassOn(m);
            }
            SetHotButton(0);
            if (Application().MainForm() == form_) Application().Minimize();
            else SendToForm(WM_SYSCOMMAND, Minimized() ? SC_RESTORE : SC_MINIMIZE);
            return;
        }
        case htsMaximize:
            if (Minimized() && !(systemMenu_ && systemMenu_->EnabledMaximize())) return;
            if (IsMDIChild()) {
                if (TsSkinProvider* frame = FrameProvider()) frame->SkinData().Updating = true;
            }
            SetHotButton(0);
            if (Maximized()) {
                if (form_->FormStyle() != TFormStyle::fsMDIChild) form_->SetWindowState(TWindowState::wsNormal);
                SendToForm(WM_SYSCOMMAND, SC_RESTORE);
            } else {
                if (form_->FormStyle() != TFormStyle::fsMDIChild) form_->SetWindowState(TWindowState::wsMaximized);
                SendToForm(WM_SYSCOMMAND, SC_MAXIMIZE);
            }
            Application().ProcessMessages();
            if (systemMenu_) systemMenu_->UpdateItems();
            return;
        case htsClose:
            ButtonClose.State = bsNormalState;
            SendToForm(WM_SYSCOMMAND, SC_CLOSE);
            return;
        case htsHelp:
            SendToForm(WM_SYSCOMMAND, SC_CONTEXTHELP);
            SetHotButton(0);
            if (systemMenu_) systemMenu_->UpdateItems();
            form_->Perform(WM_NCPAINT, 1, 0);
            return;
        case htsMDIClose:
        case htsMDIRestore:
        case htsMDIMinimize:
            return MDIChildButtonUp(code);
        default: break;
    }
    if (TsTitleButton* title = TitleButtonOfCode(*titleButtons_, code)) {
        if (title->OnMouseUp) title->OnMouseUp(title, TMouseButton::mbLeft, 0, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        SetHotButton(0);
        return;
    }
    TsSkinManager* manager = skinData_->SkinManager();
    if (Minimized() && MDIFrameProvider && manager && manager->SkinnedPopups()) {
        // A minimised MDI child opens its window menu where it was clicked.
        POINT cursor{};
        GetCursorPos(&cursor);
        return DropSystemMenu(cursor.x, cursor.y);
    }
    m.WParam = static_cast<WPARAM>(code);
    PassOn(m);
}

}  // namespace korvel
