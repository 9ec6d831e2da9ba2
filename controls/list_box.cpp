#include "controls/list_box.h"

#include <functional>

#include "controls/memo.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"
#include "gui/text.h"
#include "paint/color.h"

namespace korvel {
namespace {

constexpr const char* ListBoxSection = "LISTBOX";
constexpr const char* EditSection = "EDIT";

}  // namespace

TsListBox::TsListBox(TComponent* owner) : TListBox(owner), SkinData(this, true) {
    SetControlStyle(ControlStyle() | csOpaque);
    SkinData.ControlCode = ccListBox;
    SkinData.Loaded();
    ChooseSection();
}

void TsListBox::Loaded() {
    TListBox::Loaded();
    ChooseSection();
    SkinData.Loaded();
}

void TsListBox::ChooseSection() {
    const std::string& now = SkinData.SkinSection();
    if (!now.empty() && now != ListBoxSection && now != EditSection) return;   // the program's own choice
    const TsSkinTables* tables = SkinData.Tables();
    const bool hasListBox = tables && tables->SectionIndexOf(ListBoxSection) >= 0;
    SkinData.SetSkinSection(hasListBox ? ListBoxSection : EditSection);
}

void TsListBox::CreateParams(TCreateParams& params) {
    TListBox::CreateParams(params);
    // The rows are ours to draw (the selection's colours are the skin's); the strings stay the window's.
    params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TsListBox::HandleCreated() {
    FitItemHeight();
    TListBox::HandleCreated();
}

// A row as high as the plain list box makes it for the font: its text height.
void TsListBox::FitItemHeight() {
    if (!HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    if (metrics.tmHeight > 0) SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, metrics.tmHeight);
}

TsListBox::TRowColors TsListBox::RowColors(bool selected) const {
    const bool skinned = SkinData.IsSkinned(false);
    if (!selected) {
        COLORREF text = ColorToRGB(Font().Color());
        if (!Enabled()) text = skinned ? MixColors(Font().Color(), Color(), 0.5) : GetSysColor(COLOR_GRAYTEXT);
        return {ColorToRGB(Color()), text};
    }
    if (skinned) {
        const TsSkinTables* tables = SkinData.Tables();
        const int index = tables ? tables->SectionIndexOf(SelectionSectionName) : -1;
        if (index >= 0) {
            const TsGeneralData& s = tables->Sections[static_cast<size_t>(index)];
            return {ColorToRGB(s.Color), ColorToRGB(static_cast<TColor>(s.FontColor[fcText]))};
        }
    }
    return {GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT)};
}

void TsListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    if (item.itemID != static_cast<UINT>(-1) && static_cast<int>(item.itemID) < Items().Count()) {
        const TRowColors colors = RowColors((item.itemState & ODS_SELECTED) != 0);
        HGDIOBJ old = SelectObject(dc, Font().Handle());
        SetBkColor(dc, colors.Back);
        SetTextColor(dc, colors.Text);
        const std::wstring text = Widen(Items().Strings(static_cast<int>(item.itemID)));
        // Where and how the plain list box writes a row: one pixel in, the row filled behind.
        ExtTextOutW(dc, r.left + 1, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()),
                    nullptr);
        SelectObject(dc, old);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

// ---- painting -------------------------------------------------------------------------

void TsListBox::PrepareCache() { scrollBars_.ComposeFace(dkBlended); }

void TsListBox::PaintFrame(HDC given) { scrollBars_.PaintFrame(dkBlended, given); }

// ---- window procedure -------------------------------------------------------------------

bool TsListBox::HandleSkinFirst(TMessage& m) {
    if (SkinCommandOf(m.WParam) == SMC_GETCACHE && SkinData.IsSkinned(false)) {
        // The skinned bars lie on the face: it is composed for them even before the
        // control first painted (a bar may paint first), at the control's present size.
        scrollBars_.EnsureFace(dkBlended);
        ParentBackground = TParentBackground{SkinData.CacheBmp(), 0, 0, true};
        m.Result = 1;
        return true;
    }
    if (SkinCommandOf(m.WParam) == SMC_QUERYTEXTURED) {
        m.LParam = 0;
        m.Result = 1;
        return true;
    }
    return AnswerCommonSkinCommand(&SkinData, m, {
        .Changing = [this] { ChooseSection(); },
        .Removed =
            [this] {
                scrollBars_.HideAll();
                if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
            },
        .Applied =
            [this] {
                ChooseSection();
                if (!SkinData.IsSkinned(false)) {
                    scrollBars_.HideAll();
                    if (!SkinData.Updating) SkinData.RepaintSystemLook();
                    return;
                }
                SkinData.BackgroundChanged = true;
                if (!SkinData.Updating && HandleAllocated())
                    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            },
    });
}

void TsListBox::WndProc(TMessage& m) {
    if (m.Msg == CN_DRAWITEM) {   // skinned or not: the rows are always the control's
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
        m.Result = 1;
        return;
    }
    if (m.Msg == WM_DESTROY) scrollBars_.HideAll();
    if (m.Msg == SM_ALPHACMD && HandleSkinFirst(m)) {
        scrollBars_.Follow();
        return;
    }
    const bool skinned = ControlIsReady(this) && SkinData.IsSkinned(false);
    if (skinned && m.Msg == WM_NCPAINT) {   // neither the native frame nor its bar is drawn
        PaintFrame(nullptr);
        return;
    }
    if (skinned && m.Msg == WM_PRINT && (m.LParam & PRF_NONCLIENT)) {
        PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.LParam &= ~PRF_NONCLIENT;
    }
    const bool wasActive = SkinData.IsActive();
    if (skinned) SkinData.CommonWndProc(m);
    if (m.Msg != SM_ALPHACMD) TListBox::WndProc(m);
    if (skinned) {
        if (m.Msg == SM_ALPHACMD && SkinCommandOf(m.WParam) == SMC_PARENTUPDATED && SkinData.Updating) {
            SkinData.Updating = false;
            SkinData.BackgroundChanged = true;
            PaintFrame(nullptr);
        }
        if (m.Msg == WM_KILLFOCUS) SkinData.Focused = false;
        if ((m.Msg == CM_ENABLEDCHANGED || m.Msg == CM_VISIBLECHANGED || m.Msg == CM_FONTCHANGED) && !IsLoading())
            SkinData.Invalidate();
        if (SkinData.IsActive() != wasActive && HandleAllocated()) {
            SkinData.BackgroundChanged = true;
            PaintFrame(nullptr);
        }
    }
    if (m.Msg == CM_FONTCHANGED) FitItemHeight();
    if (m.Msg == CM_ENABLEDCHANGED && HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);   // the rows' colours
    if (m.Msg != WM_DESTROY && m.Msg != WM_NCDESTROY) scrollBars_.Follow();
}

// ---- registration -------------------------------------------------------------------------

void RegisterListBoxClass() {
    static const bool registered = [] {
        RegisterListControlClasses();
        TClassRegistry::Instance().RegisterClass<TsListBox>("TsListBox", "TListBox");
        RegisterSkinDataProperties<TsListBox>("TsListBox");
        return true;
    }();
    (void)registered;
}

void RegisterTextAndListClasses() {
    RegisterMemoClass();
    RegisterListBoxClass();
}

}  // namespace korvel
