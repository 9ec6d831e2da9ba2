// The title bar of a skinned form, painted into the provider's cache: title
// section, icon, button strip, the saved background of the buttons, the
// buttons, and the caption text.
#include "forms/title_bar.h"

#include <cstddef>

#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "forms/program_icons.h"
#include "gui/cache_dc.h"
#include "forms/skin_provider.h"
#include "paint/blend.h"
#include "paint/mask.h"
#include "paint/platform_canvas.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

void TsTitleIcon::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TsTitleIcon*>(&source);
    if (!other) return TPersistent::Assign(source);
    Glyph.Assign(other->Glyph);
    Height = other->Height;
    Width = other->Width;
}

namespace {

// The section of the title bar: TitleSkin when it names one, else FORMTITLE.
int TitleSectionIndex(const TsSkinTables* tables, const std::string& titleSkin) {
    return SectionIndexOf(tables, titleSkin.empty() ? std::string("FORMTITLE") : titleSkin);
}

// The height of the status font in the system's non-client metrics; 0 when unknown.
int StatusFontHeight() {
    // The structure as it was before the padded border width was added: every
    // system answers to this size.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = static_cast<UINT>(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth));
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return 0;
    return metrics.lfStatusFont.lfHeight;
}

// A copy of a working bitmap (which has no copy of its own: its pixels live in a GDI section).
void CopyPicture(TBitmap24& to, const TBitmap24& from) {
    if (from.Empty()) {
        to = TBitmap24();
        return;
    }
    if (to.Width() != from.Width() || to.Height() != from.Height()) to = TBitmap24(from.Width(), from.Height());
    CopyTransparent(to, from, 0, clNoKey, {0, 0, from.Width() - 1, from.Height() - 1}, 0);
}

}  // namespace

TParentBackground TsSkinProvider::FormBackground() {
    return TParentBackground{skinData_->CacheBmp(), ClientOffsetX(), ClientOffsetY(), true};
}

void TsSkinProvider::PaintTitleSection(int height) {
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    const int index = TitleSectionIndex(tables, titleSkin_);
    if (!cache || !IsValidSectionIndex(tables, index)) return;
    // The title lies on the form's own background: its key pixels take what is already there.
    PaintSection(index, FormBackground(), tables, *cache, {-ClientOffsetX(), -ClientOffsetY()},
                 {0, 0, WindowWidth(), height}, FormActive ? 1 : 0, true);
}

void TsSkinProvider::PaintTitleIcon() {
    TBitmap24* cache = skinData_->CacheBmp();
    if (!IconVisible() || !cache || cache->Empty()) return;
    const TRect r = IconRect();
    if (titleIcon_->Glyph.Empty()) {
        // The form's icon, else the application's; without either the program
        // file's shell icon at the title icon's size, else the system's own.
        HICON icon = form_->Icon().Handle();
        if (!icon) icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        int width = IconWidth(), height = IconHeight();
        if (!icon) {
            const int fallback = CaptionHeight() - r.Top;
            const int shellWidth = titleIcon_->Width != 0 ? titleIcon_->Width : fallback;
            const int shellHeight = titleIcon_->Height != 0 ? titleIcon_->Height : fallback;
            icon = ProgramShellIcon(shellHeight > 16);
            if (icon) {
                width = shellWidth;
                height = shellHeight;
            }
        }
        if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
        TCacheDC dc(*cache);
        if (dc.Handle() && icon) DrawIconEx(dc.Handle(), r.Left, r.Top, icon, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    const int width = titleIcon_->Width != 0 ? titleIcon_->Width : IconSizeClass(NonClientTopHeight() - 2);
    const int height = titleIcon_->Height != 0 ? titleIcon_->Height : IconSizeClass(NonClientTopHeight() - 2);
    if (width <= 0 || height <= 0) return;
    TBitmap24 stretched(width, height);
    const TBitmap24& glyph = titleIcon_->Glyph.Pixels();
    PaintPlatform().StretchCopy(stretched, {0, 0, width, height}, glyph, {0, 0, glyph.Width(), glyph.Height()});
    CopyTransparent(*cache, stretched, r.Left, clFuchsia, {0, 0, width - 1, height - 1}, r.Top);
}

void TsSkinProvider::PaintButtonStrip(int height) {
    const TsSkinTables* tables = skinData_->Tables();
    TBitmap24* cache = skinData_->CacheBmp();
    if (!tables || !cache || VisibleButtonCount() <= 0) return;
    const int mask = tables->MaskIndexOf(skinData_->SkinIndex, skinData_->SkinSection(), "TITLEBAR");
    if (!tables->IsValidMaskIndex(mask)) return;
    DrawSkinRect(*cache, {WindowWidth() - TitleBarMaskWidth(mask), 0, cache->Width(), height}, true,
                 TParentBackground{cache, 0, 0, true}, FormActive ? 1 : 0, *tables,
                 tables->Masks[static_cast<std::size_t>(mask)]);
}

void TsSkinProvider::SaveButtonsBackground() {
    TBitmap24* cache = skinData_->CacheBmp();
    const int width = ButtonsWidth() + FrameWidth();
    const int height = NonClientTopHeight();
    buttonsSaveLeft_ = WindowWidth() - width - 1;
    if (!cache || width <= 0 || height <= 0) {
        ButtonsBackground = TBitmap24();
        return;
    }
    if (ButtonsBackground.Width() != width || ButtonsBackground.Height() != height) ButtonsBackground = TBitmap24(width, height);
    CopyTransparent(ButtonsBackground, *cache, 0, clNoKey,
                    {buttonsSaveLeft_, 0, buttonsSaveLeft_ + width - 1, height - 1}, 0);
}

void TsSkinProvider::PaintCaptionText() {
    TBitmap24* cache = skinData_->CacheBmp();
    const TsSkinTables* tables = skinData_->Tables();
    DrawnCaption.clear();
    if (!cache || cache->Empty()) return;
    TFont font;
    font.Assign(form_->Font());
    font.SetHeight(StatusFontHeight());
    font.SetStyle(font.Style() | fsBold);
    TCacheDC dc(*cache);
    if (!dc.Handle()) return;
    TGdiTextCanvas canvas(dc.Handle(), font.Handle(), ColorToRGB(font.Color()));
    const int available = cache->Width() - IconRect().Right - ButtonsWidth() - 6;
    DrawnCaption = CutText(canvas, form_->Caption(), available);
    if (DrawnCaption.empty()) return;
    TRect rect{(IconVisible() ? IconWidth() : 0) + FrameWidth() + 4, FrameHeight(), WindowWidth() - ButtonsWidth() - 6,
               CaptionHeight()};
    WriteSectionText(canvas, DrawnCaption, form_->Enabled(), tables, FormActive, TitleSectionIndex(tables, titleSkin_),
                     TextAlignFlags(form_, captionAlignment_), rect);
}

// Everything the title steps read besides the background strip and the texts:
// a composed title whose inputs all match is the picture the steps would paint.
std::vector<std::intptr_t> TsSkinProvider::TitleInputs(int height) {
    const TsSkinTables* tables = skinData_->Tables();
    const TRect icon = IconRect();
    std::vector<std::intptr_t> in{
        titleAreaGeneration_, height, WindowWidth(), NonClientTopHeight(), CaptionHeight(), FrameHeight(), FrameWidth(),
        ClientOffsetX(), ClientOffsetY(), reinterpret_cast<std::intptr_t>(tables), skinData_->SkinIndex,
        TitleSectionIndex(tables, titleSkin_), IconVisible(), icon.Left, icon.Top, icon.Right, icon.Bottom,
        reinterpret_cast<std::intptr_t>(form_->Icon().Handle()), form_->Enabled(), static_cast<std::intptr_t>(captionAlignment_),
        static_cast<std::intptr_t>(TextAlignFlags(form_, captionAlignment_)), StatusFontHeight(), form_->Font().Height(),
        static_cast<std::intptr_t>(form_->Font().Style()), static_cast<std::intptr_t>(form_->Font().Color()),
        static_cast<std::intptr_t>(borderIcons_), CurrentButton, Maximized(), Minimized(), TitleButtonMask,
        systemMenu_ != nullptr};
    for (const CaptionButtonInfo* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) {
        in.push_back(b->State);
        in.push_back(b->MaskIndex);
    }
    if (systemMenu_) {
        for (bool rule : {systemMenu_->VisibleMaximize(), systemMenu_->VisibleMinimize(), systemMenu_->EnabledMaximize(),
                          systemMenu_->EnabledMinimize(), systemMenu_->EnabledRestore()})
            in.push_back(rule);
    }
    return in;
}

bool TsSkinProvider::RestoreComposedTitle(int height) {
    // A title icon's or a title button's glyph can be replaced without a trace: those titles are always painted.
    if (!titleIcon_->Glyph.Empty() || titleButtons_->Count() > 0) return false;
    TComposedTitle& kept = composedTitles_[FormActive ? 1 : 0];
    TBitmap24* cache = skinData_->CacheBmp();
    if (!kept.Strip || !cache || kept.Caption != form_->Caption() || kept.FontName != form_->Font().Name()) return false;
    TsSkinManager* manager = skinData_->SkinManager();
    if (!manager || kept.SkinName != manager->SkinName() || kept.Inputs != TitleInputs(height)) return false;
    const TBitmap24& strip = *kept.Strip;
    CopyTransparent(*cache, strip, 0, clNoKey, {0, 0, strip.Width() - 1, strip.Height() - 1}, 0);
    CopyPicture(ButtonsBackground, kept.ButtonsBackground);
    buttonsSaveLeft_ = kept.ButtonsSaveLeft;
    DrawnCaption = kept.DrawnCaption;
    return true;
}

void TsSkinProvider::KeepComposedTitle(int height) {
    TComposedTitle& kept = composedTitles_[FormActive ? 1 : 0];
    const TBitmap24* cache = skinData_->CacheBmp();
    TsSkinManager* manager = skinData_->SkinManager();
    if (!titleIcon_->Glyph.Empty() || titleButtons_->Count() > 0 || !cache || !manager || height <= 0 ||
        height > cache->Height()) {
        kept = TComposedTitle{};
        return;
    }
    const int width = cache->Width();
    if (!kept.Strip || kept.Strip->Width() != width || kept.Strip->Height() != height)
        kept.Strip = std::make_unique<TBitmap24>(width, height);
    CopyTransparent(*kept.Strip, *cache, 0, clNoKey, {0, 0, width - 1, height - 1}, 0);
    CopyPicture(kept.ButtonsBackground, ButtonsBackground);
    kept.ButtonsSaveLeft = buttonsSaveLeft_;
    kept.DrawnCaption = DrawnCaption;
    kept.Inputs = TitleInputs(height);
    kept.Caption = form_->Caption();
    kept.SkinName = manager->SkinName();
    kept.FontName = form_->Font().Name();
}

void TsSkinProvider::RunTitleSteps(int height, bool afterMenuLine) {
    if (!afterMenuLine) {
        PaintTitleSection(height);
        PaintTitleIcon();
        PaintButtonStrip(height);
        return;
    }
    SaveButtonsBackground();
    PaintCaptionButtons();
    PaintCaptionText();
}

}  // namespace korvel
