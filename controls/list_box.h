#pragma once
// TsListBox: the skinned list box. The native LISTBOX keeps the items, the
// selection, the keyboard and the scrolling; its rows are drawn by the control
// (the face's colours, the selected rows in the skin's selection colours, else
// the system's highlight), the skin paints the frame, and the engine's skinned
// scroll bars stand over the native one, following it exactly. The face comes
// from a LISTBOX section when the skin has one, else from EDIT.
#include <windows.h>

#include <cstdint>
#include <string>

#include "controls/control_scroll_bars.h"
#include "engine/common_data.h"
#include "gui/list_controls.h"
#include "paint/blend.h"

namespace korvel {

// An edit-like control: it takes its section's colours.
constexpr std::uint32_t ccListBox = 5;

// The section whose Color and FontColor are the selected rows' colours, when a skin has it.
constexpr const char* SelectionSectionName = "SELECTION";

class TsListBox : public TListBox {
public:
    explicit TsListBox(TComponent* owner);
    std::string ClassName() const override { return "TsListBox"; }

    TsCommonData SkinData;
    const TsControlScrollBars& SkinnedScrollBars() const { return scrollBars_; }

    // The colours a row is drawn in: background and text, by its state.
    struct TRowColors {
        COLORREF Back;
        COLORREF Text;
    };
    TRowColors RowColors(bool selected) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    void WndProc(TMessage& message) override;
    void Loaded() override;

private:
    // LISTBOX when the skin has it, else EDIT; a section named by the program stays.
    void ChooseSection();
    void FitItemHeight();
    void DrawItem(const DRAWITEMSTRUCT& item);
    bool HandleSkinFirst(TMessage& m);
    void PrepareCache();
    void PaintFrame(HDC given);

    TsControlScrollBars scrollBars_{*this, SkinData};
};

// Registers TListBox, TsListBox and its skin settings (once).
void RegisterListBoxClass();
// Registers the text and list group: TsMemo, TListBox and TsListBox (once).
void RegisterTextAndListClasses();

}  // namespace korvel
