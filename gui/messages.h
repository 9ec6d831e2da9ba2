#pragma once
// The message record that travels through every control's window procedure
// slot, and the framework's own notification numbers.
#include <windows.h>

#include <cstdint>

namespace korvel {

// Mutable on purpose: a receiver answers in LParam or Result of the same record.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Framework notifications. Sent by Perform to the control concerned when the
// change really happens (never for a setter that leaves the value unchanged).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;     // to a form whose window became active
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;   // to a form whose window stopped being active
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
// The control loses a mouse press in progress (capture taken away, WM_CANCELMODE).
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
// A navigation key (Tab, Enter, Escape, arrows) the focused control did not
// claim, to its form; WParam = the virtual key, LParam = the key data. The
// form passes it to its children until one answers with Result != 0.
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
// A character the focused control does not want (or any with Alt held), to its
// form; WParam = the character. Passed on like CM_DIALOGKEY; a control whose
// accelerator matches answers.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;    // to the form; LParam = the control now focused
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;  // WParam = new visibility
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;           // the control receives the focus
constexpr UINT CM_EXIT = CM_BASE + 27;            // the control loses the focus
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_RELEASE = CM_BASE + 33;         // posted by TForm::Release: free the form once it arrives
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
// A key the focused control did not take, offered to each of its parents in turn
// (WParam = the key, LParam = the focused control); Result != 0 takes it.
constexpr UINT CM_CHILDKEY = CM_BASE + 44;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
// To a windowed control whose child changed its bounds; LParam = the child.
constexpr UINT CM_CHILDBOUNDSCHANGED = CM_BASE + 70;

// Notifications a parent window receives from a native child (WM_COMMAND,
// WM_NOTIFY, scrolling, owner drawing, WM_CTLCOLOR*) are reflected to the
// child as CN_BASE + the original number.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
// A key press, from the message loop to the focused control before Win32
// translates it: Result != 0 means the key was used (a menu's shortcut) and
// goes no further. A control that keeps a key for itself answers 0 itself.
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;

// The framework's range, which the default Win32 procedures never see.
constexpr bool IsFrameworkMessage(UINT msg) { return msg >= CM_BASE && msg < CN_BASE + 0x400; }

}  // namespace korvel
