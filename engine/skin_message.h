#pragma once
// The skin message through which every skinned object talks: its fixed id, the
// command codes and their packing, and the utilities that send a command to one
// control, to a control tree or to every form of the application.
// Windows half only.
#include <windows.h>

#include <cstdint>

#include "gui/control.h"
#include "gui/messages.h"
#include "paint/shared_state.h"
#include "gui/colors.h"

namespace korvel {

class TWinControl;
class TComponent;
class TForm;

// The id of the skin message. Registered by name at start-up, then fixed to 0xA100.
extern UINT SM_ALPHACMD;
constexpr UINT SkinMessageId = 0xA100;

// Command codes: the high word of the message's first parameter.
enum TsSkinCommand : std::uint16_t {
    SMC_SKINCHANGED = 1,
    SMC_SKINREMOVED = 2,
    SMC_SKINAPPLIED = 3,
    SMC_GETPROVIDER = 4,
    SMC_GETCACHE = 5,
    SMC_PARENTUPDATED = 6,
    SMC_ISSKINNED = 7,
    SMC_SETUPDATING = 8,
    SMC_SETPREPARING = 9,
    SMC_QUERYUPDATING = 10,
    SMC_QUERYPARTLYHIDDEN = 11,
    SMC_PARENTBGCHANGED = 12,
    SMC_SECTIONCHANGED = 13,
    SMC_SETLINK = 15,
    SMC_STOPFADE = 16,
    SMC_SETBGCHANGED = 17,
    SMC_QUERYTEXTURED = 19,
    SMC_INVALIDATE = 20,
    SMC_GETCONTROLCOLOR = 21,
    SMC_SETPARTLYHIDDEN = 22,
    SMC_FADEPREPARE = 23,
    SMC_FADEFRAME = 24,
};

// The first parameter of a skin message: the command in the high word, a small argument in the low word.
constexpr WPARAM PackSkinCommand(std::uint32_t command, std::uint32_t argument = 0) {
    return static_cast<WPARAM>(((command & 0xFFFFu) << 16) | (argument & 0xFFFFu));
}
constexpr std::uint32_t SkinCommandOf(WPARAM wparam) { return static_cast<std::uint32_t>((wparam >> 16) & 0xFFFFu); }
constexpr std::uint32_t SkinArgumentOf(WPARAM wparam) { return static_cast<std::uint32_t>(wparam & 0xFFFFu); }
inline bool IsSkinMessage(const TMessage& message) { return message.Msg == SM_ALPHACMD; }

// SendMessage(handle, SM_ALPHACMD, command << 16, 0).
LRESULT SendSkinCommand(HWND handle, std::uint32_t command);
// To a windowed control's handle (dropped while it is being destroyed or has none
// yet); to a windowless control through Perform.
void SkinCommandToControl(TControl* control, std::uint32_t command, std::uint32_t argument = 0);
// Calls the control's window-procedure slot with a record built here and answers
// whether LParam came back 1. Never creates a window handle.
bool QuerySkinCommand(TControl* control, std::uint32_t command);
// Forwards an already built skin message to the container's children (see the
// walk in the source); an exception from a child ends the walk silently.
void BroadcastSkinMessage(TWinControl* container, TMessage& message);
// To every live form (the framework's list of forms, whatever owns them), last
// to first, and through each to its tree.
void BroadcastToForms(TMessage& message);
// A form's answer to a broadcast command that it has already passed on to its
// controls itself: BroadcastToForms then does not pass it on a second time.
constexpr LRESULT SkinCommandPassedOn = 0x4B50;
// SMC_PARENTUPDATED by Perform to every windowed child.
void NotifyChildrenParentUpdated(TWinControl* container);
// SMC_SETPREPARING (low word 0) to the control and, depth first, its whole tree.
void LeavePreparingTree(TControl* control);
// The colour the control's parents give it as background, as RGB.
TColor GetControlColor(TControl* control);
// The control may paint and handle skin commands beyond the basic ones.
bool ControlIsReady(const TControl* control);
// The first form up the owner chain, or nullptr.
TForm* GetOwnerForm(TComponent* component);
// DrawText flags for an alignment, adjusted for right-to-left reading.
UINT TextAlignFlags(const TControl* control, TAlignment alignment);
// The desktop work area.
void GetWorkArea(RECT& rect);
// Paints the container's windowless children onto DC over its skinned background.
void PaintGraphicChildren(HDC dc, TWinControl* container);

}  // namespace korvel
