// The per-control skin state and its common reaction to the skin message.
#include "engine/common_data.h"

#include <algorithm>
#include <exception>

#include "gui/win_control.h"
#include "paint/mask.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"

namespace korvel {

namespace {

bool InRange(std::uint32_t code, std::uint32_t low, std::uint32_t high) { return code >= low && code <= high; }

bool Gone(const TComponent* c) { return !c || c->InState(csDestroying); }

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// Resets a window's visual style; looked up at run time (not every system has it).
void ResetWindowTheme(HWND handle) {
    HMODULE theme = GetModuleHandleW(L"uxtheme.dll");
    if (!theme) theme = LoadLibraryW(L"uxtheme.dll");
    if (!theme) return;
    auto fn = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme")));
    if (fn) fn(handle, L"", L"");
}

std::uint8_t Channel(int t, int p, int c) {
    const int v = (t * (p - c) + c * 256) >> 8;
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

bool InNoHoverSet(std::uint32_t code) {
    return InRange(code, 51, 74) || code == 110 || InRange(code, 141, 161);
}

bool IsEditClass(std::uint32_t code) {
    return InRange(code, 2, 8) || code == 10 || code == 41 || code == 76 || code == 78 || code == 83 || code == 84 ||
           code == 96 || code == 97 || code == 131 || code == 140 || code == 227;
}

std::string DefaultSectionOf(std::uint32_t code) {
    if (IsEditClass(code)) return "EDIT";
    if (InRange(code, 11, 18) || code == 81 || code == 82) return "COMBOBOX";
    switch (code) {
        case 19: return "BAR";
        case 20: return "BARTITLE";
        case 32: return "CHECKBOX";
        case 33: return "RADIOBUTTON";
        case 51: case 59: case 68: case 73: return "PANEL";
        case 52: case 58: return "PANEL_LOW";
        case 53: case 54: case 60: return "TOOLBAR";
        case 56: return "DRAGBAR";
        case 57: return "TABSHEET";
        case 74: case 226: return "GROUPBOX";
        case 75: return "SPLITTER";
        case 92: case 95: return "SPEEDBUTTON";
        case 93: case 94: return "BUTTON";
        case 98: return "TOOLBUTTON";
        case 141: return "PAGECONTROL";
        case 143: return "TABCONTROL";
        case 151: return "STATUSBAR";
        case 161: return "GAUGE";
        case 165: return "TRACKBAR";
        default: return "";
    }
}

TsCommonData::TsCommonData(TComponent* owner, bool createCache)
    : ownerObject_(owner), ownerControl_(dynamic_cast<TControl*>(owner)) {
    if (createCache) cacheBmp_ = std::make_unique<TBitmap24>();
}

TsCommonData::~TsCommonData() {
    SkinIndex = PatternIndex = HotPatternIndex = -1;
    ownerObject_ = nullptr;
    ownerControl_ = nullptr;
    skinManager_ = nullptr;
}

TsSkinManager* TsCommonData::SkinManager() const {
    return skinManager_ ? skinManager_ : TsSkinManager::DefaultManager();
}

const TsSkinTables* TsCommonData::Tables() const {
    TsSkinManager* m = SkinManager();
    return m ? &m->Tables() : nullptr;
}

const TsGeneralData* TsCommonData::Section() const {
    const TsSkinTables* t = Tables();
    return t && t->IsValidSectionIndex(SkinIndex) ? &t->Sections[static_cast<std::size_t>(SkinIndex)] : nullptr;
}

void TsCommonData::SendApplyOrRemove(TsSkinManager* manager) {
    if (!ownerControl_ || !ownerControl_->Parent() || Gone(ownerControl_)) return;
    const bool usable = manager && !manager->Tables().Sections.empty() && manager->IsValidSectionIndex(SkinIndex);
    try {
        ownerControl_->Perform(SM_ALPHACMD, PackSkinCommand(usable ? SMC_SKINAPPLIED : SMC_SKINREMOVED),
                               reinterpret_cast<LPARAM>(manager));
    } catch (const std::exception&) {
        // The control's own reaction failing leaves the binding as set.
    }
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
    if (value == skinManager_) return;
    // The default manager is stored as none; assigning it still re-resolves and re-applies.
    skinManager_ = value == TsSkinManager::DefaultManager() ? nullptr : value;
    if (ownerObject_ && ownerObject_->InState(csLoading)) return;
    TsSkinManager* m = SkinManager();
    if (m && !m->Tables().Sections.empty()) UpdateIndexes();
    else SkinIndex = -1;
    SendApplyOrRemove(m);
}

void TsCommonData::SetSkinSection(const std::string& value) {
    if (value == skinSection_) return;
    skinSection_ = value.empty() ? "UNKNOWN" : value;
    TsSkinManager* m = SkinManager();
    if (m && !m->Tables().Sections.empty()) UpdateIndexes();
    else SkinIndex = -1;
    SendApplyOrRemove(m);
}

void TsCommonData::ApplySectionColors(bool onlyWhenDifferent) {
    const TsGeneralData* s = Section();
    if (!s || !ownerControl_) return;
    if (!customColor_ && (!onlyWhenDifferent || ownerControl_->Color() != s->Color)) ownerControl_->SetColor(s->Color);
    const TColor font = static_cast<TColor>(s->FontColor[fcText]);
    if (!customFont_ && (!onlyWhenDifferent || ownerControl_->Font().Color() != font)) ownerControl_->Font().SetColor(font);
}

void TsCommonData::SetCustomColor(bool value) {
    if (value == customColor_) return;
    customColor_ = value;
    if (IsSkinned(false) && IsEditClass(ControlCode) && ownerObject_ && !ownerObject_->InState(csLoading)) {
        ApplySectionColors(true);
    }
    Invalidate();
}

void TsCommonData::SetCustomFont(bool value) {
    if (value == customFont_) return;
    customFont_ = value;
    Invalidate();
}

void TsCommonData::UpdateIndexes() {
    BackgroundChanged = true;
    const TsSkinTables* t = Tables();
    SkinIndex = SectionIndexOf(t, skinSection_);
    if (SkinIndex < 0) {
        BorderIndex = PatternIndex = HotPatternIndex = -1;
        return;
    }
    BorderIndex = MaskIndexOf(t, SkinIndex, skinSection_, "BORDERSMASK");
    PatternIndex = TextureIndexOf(t, SkinIndex, skinSection_, "PATTERN");
    HotPatternIndex = TextureIndexOf(t, SkinIndex, skinSection_, "HOTPATTERN");
}

void TsCommonData::ResolveSection() {
    if (!skinSection_.empty()) {
        UpdateIndexes();
        return;
    }
    std::string section = DefaultSectionOf(ControlCode);
    if (section.empty() && ownerObject_) section = ownerObject_->ClassName();
    SetSkinSection(section);
}

void TsCommonData::Loaded() {
    ResolveSection();
    // An unskinned control under visual styles paints on its own background.
    if (ownerControl_ && !IsSkinned(false) && ThemeServicesEnabled()) {
        ownerControl_->SetControlStyle(ownerControl_->ControlStyle() & ~csParentBackground);
    }
    if (IsSkinned(false) && ownerControl_ && ownerControl_->Parent() && !ownerControl_->InState(csLoading) &&
        (IsEditClass(ControlCode) || ControlCode == 97)) {
        ApplySectionColors(true);
    }
}

bool TsCommonData::IsSkinned(bool checkActive) const {
    if (Gone(ownerObject_)) return false;
    TsSkinManager* m = SkinManager();
    if (Gone(m)) return false;
    if (checkActive && !m->SkinData().Active) return false;
    return m->IsValidSectionIndex(SkinIndex);
}

bool TsCommonData::IsActive() const {
    if (Gone(ownerControl_) || !ownerControl_->Enabled() || ownerControl_->InState(csDesigning)) return false;
    if (Focused) return true;
    if (auto* win = dynamic_cast<TWinControl*>(ownerControl_); win && win->HandleAllocated() && win->Focused()) return true;
    return MouseAbove && !InNoHoverSet(ControlCode);
}

bool TsCommonData::IsTransparent() const {
    const TsGeneralData* s = Section();
    return SkinIndex >= 0 && s && s->Transparency > 0;
}

bool TsCommonData::ParentIsUpdating() const {
    TWinControl* parent = ownerControl_ && !Gone(ownerControl_) ? ownerControl_->Parent() : nullptr;
    if (!parent) return false;
    try {
        return QuerySkinCommand(parent, SMC_QUERYUPDATING);
    } catch (const std::exception&) {
        return false;
    }
}

bool TsCommonData::IsUpdating() const {
    TsSkinManager* m = SkinManager();
    if (!m || !m->SkinData().Active) return true;
    if (Gone(ownerControl_)) return Updating;
    if (Updating || !ownerControl_->Parent()) return true;
    try {
        return QuerySkinCommand(ownerControl_->Parent(), SMC_QUERYUPDATING);
    } catch (const std::exception&) {
        return Updating;
    }
}

void TsCommonData::PrepareCacheBmp() {
    if (!cacheBmp_) cacheBmp_ = std::make_unique<TBitmap24>();
    if (!ownerControl_) return;
    const int w = std::max(0, ownerControl_->Width());
    const int h = std::max(0, ownerControl_->Height());
    if (cacheBmp_->Width() != w || cacheBmp_->Height() != h) *cacheBmp_ = TBitmap24(w, h);
}

void TsCommonData::Invalidate() {
    if (Gone(ownerControl_) || ownerControl_->InState(csLoading)) return;
    BackgroundChanged = true;
    if (ControlIsReady(ownerControl_)) ownerControl_->Invalidate();
}

bool TsCommonData::NeedsParentRepaint() const {
    if (Preparing || !IsSkinned(false) || !ownerControl_ || (ownerControl_->ControlState() & csCreating) ||
        !ownerControl_->Visible()) {
        return true;
    }
    const TsGeneralData* s = Section();
    if (!s) return false;
    const bool dependent = !ownerControl_->Enabled() || s->Transparency > 0;
    if (!dependent) return false;
    TWinControl* parent = ownerControl_->Parent();
    if (parent && parent->HandleAllocated()) return QuerySkinCommand(parent, SMC_QUERYTEXTURED);
    return true;
}

bool TsCommonData::ParentIsTextured() const {
    TWinControl* parent = ownerControl_ ? ownerControl_->Parent() : nullptr;
    return parent && parent->HandleAllocated() && QuerySkinCommand(parent, SMC_QUERYTEXTURED);
}

void TsCommonData::GetParentCache(TParentBackground& background) const {
    background = TParentBackground{};
    ParentBackground.Ready = false;
    if (!ownerControl_ || !ownerControl_->Parent()) return;
    try {
        SkinCommandToControl(ownerControl_->Parent(), SMC_GETCACHE);
        background = ParentBackground;
    } catch (const std::exception&) {
        background = TParentBackground{};
    }
}

void TsCommonData::HandleSkinCommand(TMessage& message) {
    const std::uint32_t command = SkinCommandOf(message.WParam);
    const std::uint32_t argument = SkinArgumentOf(message.WParam);
    auto* sender = reinterpret_cast<TsSkinManager*>(message.LParam);
    message.Result = 0;
    switch (command) {
        case SMC_SKINCHANGED:
            if (SkinManager() == sender) {
                Updating = true;
                UpdateIndexes();
            }
            break;
        case SMC_SKINREMOVED:
            if (SkinManager() == sender) {
                if (sender && sender->InState(csDestroying) && skinManager_ == sender) skinManager_ = nullptr;
                SkinIndex = BorderIndex = PatternIndex = HotPatternIndex = -1;
                Updating = true;
                if (cacheBmp_) *cacheBmp_ = TBitmap24();
                ReturnToSystemColors();
            }
            break;
        case SMC_SKINAPPLIED:
            if (SkinManager() == sender) {
                BackgroundChanged = true;
                // A parent that is still rebuilding its own picture paints this
                // control when it is done (SMC_PARENTUPDATED): a paint now would
                // be painted over again then.
                Updating = ParentIsUpdating();
                if (IsSkinned(false) && IsEditClass(ControlCode)) ApplySectionColors(false);
                // A skin without this control's section leaves it the system's look,
                // not the colours the previous skin gave it.
                if (!IsSkinned(false)) ReturnToSystemColors();
            }
            break;
        case SMC_GETCACHE:
            if (cacheBmp_) ParentBackground = TParentBackground{cacheBmp_.get(), 0, 0, true};
            break;
        case SMC_ISSKINNED:
            message.LParam = 1;
            message.Result = 1;
            break;
        case SMC_SETUPDATING: Updating = argument == 1; break;
        case SMC_SETPREPARING: Preparing = argument == 1; break;
        case SMC_QUERYUPDATING:
            message.LParam = (BackgroundChanged || IsUpdating()) ? 1 : 0;
            message.Result = 1;
            break;
        case SMC_QUERYPARTLYHIDDEN:
            message.LParam = PartlyHidden ? 1 : 0;
            message.Result = 1;
            break;
        case SMC_PARENTBGCHANGED:
            if (IsTransparent() && argument == 1) BackgroundChanged = true;
            break;
        case SMC_SECTIONCHANGED:
            // The process-wide section name this compares with is never set in this program.
            break;
        case SMC_SETLINK: Link = reinterpret_cast<void*>(message.LParam); break;
        case SMC_SETBGCHANGED: BackgroundChanged = true; break;
        case SMC_QUERYTEXTURED:
            if (SkinIndex >= 0) {
                const TsGeneralData* s = Section();
                message.LParam = (s && s->GradientPercent + s->ImagePercent > 0) || NeedsParentRepaint() ? 1 : 0;
                message.Result = 1;
            }
            break;
        case SMC_INVALIDATE: {
            const bool dependent = NeedsParentRepaint();
            BackgroundChanged = BackgroundChanged || dependent;
            auto* win = dynamic_cast<TWinControl*>(ownerControl_);
            if (win && argument == 1 && win->HandleAllocated()) {
                RedrawWindow(win->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
            }
            if (dependent && win) {
                for (int i = 0; i < win->ControlCount(); ++i) {
                    TControl* child = win->Controls(i);
                    if (!Gone(child)) SkinCommandToControl(child, SMC_INVALIDATE, 0);
                }
            }
            break;
        }
        case SMC_GETCONTROLCOLOR: {
            message.Result = 1;
            if (!IsSkinned(false)) {
                SharedColor = ownerControl_ ? ColorToRGB(ownerControl_->Color()) : clNone;
                break;
            }
            const TsGeneralData& s = *Section();
            const int t = s.Transparency;
            if (t == 0) {
                SharedColor = s.Color;
                break;
            }
            TColor p = clNone;
            TWinControl* parent = ownerControl_ ? ownerControl_->Parent() : nullptr;
            if (parent) {
                SharedColor = clNone;
                SendMessageW(parent->Handle(), SM_ALPHACMD, PackSkinCommand(SMC_GETCONTROLCOLOR), 0);
                // A parent may answer with its section's colour as stored: a system colour blends as its RGB.
                p = ColorToRGB(SharedColor == clNone ? parent->Color() : SharedColor);
            } else {
                p = ownerControl_ ? ColorToRGB(ownerControl_->Color()) : clNone;
            }
            if (t == 100) {
                SharedColor = p;
                break;
            }
            const TColor c = ColorToRGB(s.Color);
            SharedColor = MakeColor(Channel(t, RedOf(p), RedOf(c)), Channel(t, GreenOf(p), GreenOf(c)),
                                    Channel(t, BlueOf(p), BlueOf(c)));
            break;
        }
        case SMC_SETPARTLYHIDDEN: PartlyHidden = true; break;
        default: break;
    }
}

void TsCommonData::RepaintSystemLook() {
    auto* win = dynamic_cast<TWinControl*>(ownerControl_);
    if (!win || !win->HandleAllocated()) return;
    RedrawWindow(win->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    // Skinned children wait for their parent's paint, which the system's paint does not announce.
    NotifyChildrenParentUpdated(win);
}

bool AnswerCommonSkinCommand(TsCommonData* data, TMessage& message, const TSkinAnnouncementSteps& steps) {
    const std::uint32_t command = SkinCommandOf(message.WParam);
    if (command == SMC_ISSKINNED) {
        message.LParam = 1;
        message.Result = 1;
        return true;
    }
    // A control without a section in the new skin waited for its parent to draw
    // again (the form holds its drawing through a change): the system paints it now.
    if (command == SMC_PARENTUPDATED && data && !data->IsSkinned(false)) {
        if (data->Updating) {
            data->Updating = false;
            data->RepaintSystemLook();
        }
        return true;
    }
    if (command != SMC_SKINCHANGED && command != SMC_SKINREMOVED && command != SMC_SKINAPPLIED) return false;
    if (!data || reinterpret_cast<TsSkinManager*>(message.LParam) != data->SkinManager()) return false;
    const auto run = [](const std::function<void()>& step) {
        if (step) step();
    };
    run(steps.Before);
    if (command == SMC_SKINCHANGED) run(steps.Changing);
    data->CommonWndProc(message);
    if (command == SMC_SKINREMOVED) run(steps.Removed);
    if (command == SMC_SKINAPPLIED) run(steps.Applied);
    return true;
}

void TsCommonData::ReturnToSystemColors() {
    if (!IsEditClass(ControlCode) || !ownerControl_) return;
    if (!customColor_) ownerControl_->SetColor(clWindow);
    if (!customFont_) ownerControl_->Font().SetColor(clWindowText);
}

void TsCommonData::CommonWndProc(TMessage& message) {
    if (message.Msg == SM_ALPHACMD) {
        HandleSkinCommand(message);
        return;
    }
    auto* win = dynamic_cast<TWinControl*>(ownerControl_);
    const bool designing = ownerObject_ && ownerObject_->InState(csDesigning);
    switch (message.Msg) {
        case WM_MOVE:
            if (ownerControl_ && NeedsParentRepaint()) {
                ownerControl_->Perform(SM_ALPHACMD, PackSkinCommand(SMC_INVALIDATE, 1), 0);
            }
            break;
        case WM_SIZE:
            if (IsSkinned(false)) {
                BackgroundChanged = true;
                const TsGeneralData* s = Section();
                if (win && s && s->GradientPercent >= 1) {
                    for (int i = 0; i < win->ControlCount(); ++i) {
                        TControl* child = win->Controls(i);
                        if (Gone(child) || (child->Anchors() & (akRight | akBottom))) continue;
                        child->Perform(SM_ALPHACMD, PackSkinCommand(SMC_INVALIDATE, 1), 0);
                    }
                }
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (win && win->CanFocus() && win->TabStop()) {
                BackgroundChanged = true;
                Focused = message.Msg == WM_SETFOCUS;
            }
            break;
        case WM_FONTCHANGE:
        case CM_ENABLEDCHANGED:
            MouseAbove = false;
            Focused = false;
            break;
        case WM_UPDATEUISTATE:
            if (IsSkinned(false)) {
                message.Result = 1;
            } else if (win && win->HandleAllocated()) {
                ResetWindowTheme(win->Handle());
            }
            break;
        case CM_MOUSEENTER:
            if (!designing && !InNoHoverSet(ControlCode)) MouseAbove = true;
            break;
        case CM_MOUSELEAVE:
            if (!designing && !InNoHoverSet(ControlCode)) MouseAbove = false;
            break;
        default: break;
    }
}

void TsCommonData::UpdateCorners(int state, unsigned corners) {
    const TsSkinTables* tables = Tables();
    if (!tables || !tables->IsValidMaskIndex(BorderIndex) || !cacheBmp_ || !ownerControl_ ||
        ownerControl_->Width() <= 1 || ownerControl_->Height() <= 1) {
        return;
    }
    TWinControl* parent = ownerControl_->Parent();
    if (!parent) return;
    TParentBackground background;
    GetParentCache(background);
    TCornerFill fill;
    if (GlobalFillColor != clNone) {
        fill = {TCornerFill::cfColor, GlobalFillColor};
    } else if (!background.Ready || !background.Bitmap) {
        fill = {TCornerFill::cfColor, ColorToRGB(parent->Color())};
    } else if (ParentIsTextured()) {
        fill = {TCornerFill::cfParentPixels, clNone, background.Bitmap, ownerControl_->Left() + background.OffsetX,
                ownerControl_->Top() + background.OffsetY};
    } else {
        fill = {TCornerFill::cfColor, GetControlColor(parent)};
    }
    korvel::UpdateCorners(*cacheBmp_, *tables, tables->Masks[static_cast<std::size_t>(BorderIndex)], state, corners,
                          fill);
    SharedColor = clNone;
}

void TsCommonData::CopyCacheToDC(TWinControl* container, const RECT& source, bool updateCorners, HDC dc,
                                 const RECT& destRect) {
    if (!cacheBmp_ || !container) return;
    if (updateCorners) UpdateCorners(0, crAll);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, destRect.left, destRect.top, destRect.right, destRect.bottom);
    const bool designing = container->InState(csDesigning);
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        if (!child->Visible()) continue;
        RECT bounds = child->BoundsRect();
        OffsetRect(&bounds, source.right, source.bottom);
        RECT overlap{};
        if (!IntersectRect(&overlap, &bounds, &destRect)) continue;
        const bool graphic = dynamic_cast<TWinControl*>(child) == nullptr;
        if (designing || graphic || (child->ControlStyle() & csOpaque)) {
            ExcludeClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        }
    }
    if (cacheBmp_->Handle()) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, static_cast<HBITMAP>(cacheBmp_->Handle()));
        BitBlt(dc, destRect.left, destRect.top, destRect.right - destRect.left, destRect.bottom - destRect.top, mem,
               source.left, source.top, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    RestoreDC(dc, saved);
}

TItemSource TsCommonData::ItemSource() const {
    TItemSource s;
    s.Tables = Tables();
    s.SkinIndex = SkinIndex;
    s.BorderIndex = BorderIndex;
    s.PatternIndex = PatternIndex;
    s.HotPatternIndex = HotPatternIndex;
    s.CustomColor = customColor_ && ownerControl_ ? ColorToRGB(ownerControl_->Color()) : clNone;
    TWinControl* parent = ownerControl_ ? ownerControl_->Parent() : nullptr;
    s.HasParent = parent != nullptr;
    s.ParentColor = parent ? ColorToRGB(parent->Color()) : clNone;
    s.NeedsParentRepaint = NeedsParentRepaint();
    if (parent) s.ParentControlColor = [parent]() { return GetControlColor(parent); };
    return s;
}

void PaintItem(TsCommonData& data, TParentBackground parentBg, bool fillCentre, TBitmap24& bitmap, TPoint point,
               TRect rect, int state) {
    PaintItem(data.ItemSource(), parentBg, fillCentre, bitmap, point, rect, state);
}

}  // namespace korvel
