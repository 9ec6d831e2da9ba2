// The shape of a skinned window: the pixels its frame corners mark with the key
// colour are cut out of the window region, and the title strip is taken out for
// the moment the system would draw its own caption there.
#include <exception>

#include "forms/skin_provider.h"
#include "paint/mask.h"

namespace korvel {

namespace {

// Height of one corner piece of a frame mask.
int CornerHeight(const TsMaskData& mask) {
    if (mask.Bmp) return mask.Bmp->Height() / 6;
    return mask.R.Height() / ((mask.MaskType + 1) * 3);
}

}  // namespace

void TsSkinProvider::RebuildRegionHoles() {
    RegionHoles.clear();
    const TsSkinTables* tables = skinData_->Tables();
    if (!tables) return;
    const int width = form_->Width();
    try {
        if (tables->IsValidMaskIndex(skinData_->BorderIndex)) {
            const TsMaskData& mask = tables->Masks[static_cast<std::size_t>(skinData_->BorderIndex)];
            ScanCornerHoles(RegionHoles, width, *tables, mask, 0, 0);
            ScanCornerHoles(RegionHoles, width, *tables, mask, 1, FormHeight() - CornerHeight(mask));
        }
        const std::string name = titleSkin_.empty() ? std::string("FORMTITLE") : titleSkin_;
        const int title = tables->SectionIndexOf(name);
        if (tables->IsValidSectionIndex(title)) {
            const int mask = tables->MaskIndexOf(title, name, "BORDERSMASK");
            if (tables->IsValidMaskIndex(mask)) {
                ScanCornerHoles(RegionHoles, width, *tables, tables->Masks[static_cast<std::size_t>(mask)], 0, 0);
            }
        }
    } catch (const std::exception&) {
        // A mask that cannot be scanned leaves the holes found so far.
    }
}

HRGN TsSkinProvider::WantedRegion() const {
    HRGN region = CreateRectRgn(0, 0, WindowWidth(), FormHeight());
    HRGN hole = CreateRectRgn(0, 0, 0, 0);
    for (const TRect& r : RegionHoles) {
        SetRectRgn(hole, r.Left, r.Top, r.Right, r.Bottom);
        CombineRgn(region, region, hole, RGN_DIFF);
    }
    DeleteObject(hole);
    return region;
}

bool TsSkinProvider::WindowHasWantedRegion() const {
    if (!form_->HandleAllocated()) return false;
    HRGN wanted = WantedRegion();
    HRGN current = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(form_->Handle(), current) != ERROR && EqualRgn(current, wanted);
    DeleteObject(current);
    DeleteObject(wanted);
    return same;
}

void TsSkinProvider::ApplyRegion() {
    if (!form_->HandleAllocated()) return;
    ApplyingRegion = true;
    // The window owns the region from here on.
    SetWindowRgn(form_->Handle(), WantedRegion(), TRUE);
}

void TsSkinProvider::SuppressCaption() {
    if (!form_->HandleAllocated()) return;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(form_->Handle(), region) == ERROR) {
        // No region yet: start from the whole window, which keeps it visible.
        SetRectRgn(region, 0, 0, form_->Width(), FormHeight());
    }
    HRGN title = CreateRectRgn(0, 0, form_->Width(), NonClientTopHeight());
    CombineRgn(region, region, title, RGN_DIFF);
    DeleteObject(title);
    SetWindowRgn(form_->Handle(), region, FALSE);
    // The next non-client paint gives the title strip back.
    RegionChanged = true;
}

}  // namespace korvel
