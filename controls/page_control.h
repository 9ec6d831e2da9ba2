#pragma once
// TsPageControl: the skinned page control. The native tab control keeps the
// hit testing, the keyboard and accessibility; what the user sees is painted
// into the cache of its skin state: the parent's pixels, the page area from
// its section ("PAGECONTROL"), and every tab from the tab section of its side
// (TABTOP, TABBOTTOM, TABLEFT, TABRIGHT), in the state normal, hot (under the
// pointer) or selected (joined to the page). A skin without the side's own
// tab section lends TABTOP's look turned to the side: upside down for bottom
// tabs, a quarter turn for left and right tabs. Captions of left tabs read
// upward, of right tabs downward, as the native control lays them out.
//
// TsTabSheet: a page of it. Its look is the page control's pixels under it,
// which it keeps as its own cache so that its children blend with them.
#include <memory>
#include <string>

#include "engine/common_data.h"
#include "gui/page_controls.h"
#include "paint/turn.h"

namespace korvel {

constexpr std::uint32_t ccPageControl = 141;
constexpr std::uint32_t ccTabSheet = 57;

// The tab section of a side, and the turn its pictures take when a skin
// without it lends TABTOP's.
const char* TabSectionOf(TTabPosition position);
TTurn LentTabTurn(TTabPosition position);
// The turn of captions on a side: left tabs read upward, right tabs downward.
TTurn CaptionTurn(TTabPosition position);

// How far the selected tab reaches into the page, covering the page's frame
// along its width.
constexpr int kSelectedTabJoin = 2;

class TsTabSheet : public TTabSheet {
public:
    explicit TsTabSheet(TComponent* owner);
    ~TsTabSheet() override;
    std::string ClassName() const override { return "TsTabSheet"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    bool Skinned() const;
    bool OnSkinAnnouncement(TMessage& m);
    void OnSkinCommand(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void PaintSkinned(HDC dc);
    void RebuildCache();

    std::unique_ptr<TsCommonData> skinData_;
};

class TsPageControl : public TPageControl {
public:
    explicit TsPageControl(TComponent* owner);
    ~TsPageControl() override;
    std::string ClassName() const override { return "TsPageControl"; }

    TsCommonData& SkinData() { return *skinData_; }
    const TsCommonData& SkinData() const { return *skinData_; }

    // Painted from the skin: a usable section under an active skin.
    bool Skinned() const;
    // The tab under the pointer, -1 for none.
    int HotTab() const { return hotTab_; }
    // The page area (client coordinates): the client rectangle less the band of tabs.
    RECT PageRect();
    // Where tab index is painted (client coordinates): its native place, the
    // selected tab reaching kSelectedTabJoin pixels into the page.
    RECT PaintedTabRect(int index);

protected:
    void WndProc(TMessage& message) override;
    void Loaded() override;
    void Change() override;

private:
    bool OnSkinAnnouncement(TMessage& m);
    void SkinnedWndProc(TMessage& m);
    void OnSkinCommand(TMessage& m);
    void OnPaintMessage(TMessage& m);
    void OnMouseMove(TMessage& m);
    void SetHotTab(int index);
    // The tabs changed (hover, selection, focus): repainted from a new cache, the pages kept.
    void TabsChanged();
    void RebuildCache();
    void PaintTab(TBitmap24& cache, int index, HFONT font);

    std::unique_ptr<TsCommonData> skinData_;
    int hotTab_ = -1;
    bool tabsChanged_ = false;
};

// Registers TsPageControl and TsTabSheet with their stored properties (once).
void RegisterPageControlSkinClasses();

}  // namespace korvel
