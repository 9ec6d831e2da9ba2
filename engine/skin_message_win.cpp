// The skin message and the utilities that deliver it.
#include "engine/skin_message.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "gui/forms.h"
#include "gui/graphic_controls.h"
#include "gui/win_control.h"

namespace korvel {

namespace {

// The name is registered at start-up so that the id is reserved for the
// process; the returned id is then overwritten with the fixed value, which every
// sender and receiver uses.
struct TSkinMessageRegistration {
    TSkinMessageRegistration() {
        SM_ALPHACMD = RegisterWindowMessageW(L"SM_ALPHACMD");
        SM_ALPHACMD = SkinMessageId;
    }
};

bool Destroying(const TComponent* component) { return component->InState(csDestroying); }

}  // namespace

// Constant-initialised, so that it holds the fixed id before any start-up code runs.
UINT SM_ALPHACMD = SkinMessageId;

namespace {
const TSkinMessageRegistration skinMessageRegistration;
}  // namespace

LRESULT SendSkinCommand(HWND handle, std::uint32_t command) {
    return SendMessageW(handle, SM_ALPHACMD, PackSkinCommand(command), 0);
}

void SkinCommandToControl(TControl* control, std::uint32_t command, std::uint32_t argument) {
    if (!control) return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (Destroying(win) || !win->HandleAllocated()) return;
        SendMessageW(win->Handle(), SM_ALPHACMD, PackSkinCommand(command, argument), 0);
        return;
    }
    control->Perform(SM_ALPHACMD, PackSkinCommand(command, argument), 0);
}

bool QuerySkinCommand(TControl* control, std::uint32_t command) {
    if (!control) return false;
    TMessage message{SM_ALPHACMD, PackSkinCommand(command), 0, 0};
    control->Perform(message);   // through the window procedure chain; never creates a window
    return message.LParam == 1;
}

void BroadcastSkinMessage(TWinControl* container, TMessage& message) {
    if (!container) return;
    try {
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* child = container->Controls(i);
            if (Destroying(child)) return;
            auto* win = dynamic_cast<TWinControl*>(child);
            if (!win) {
                child->Perform(message);
            } else if (QuerySkinCommand(win, SMC_ISSKINNED)) {
                win->Perform(message);
            } else {
                BroadcastSkinMessage(win, message);
            }
        }
    } catch (const std::exception&) {
        // A receiver that fails ends the walk; a broadcast never reports.
    }
}

void BroadcastToForms(TMessage& message) {
    // Every live form, whoever owns it: a form made without an owner, or owned
    // by another form, shows the skin as much as the application's own.
    for (int i = TForm::FormCount() - 1; i >= 0; --i) {
        if (i >= TForm::FormCount()) continue;   // a receiver freed forms
        TForm* form = TForm::Forms(i);
        if (Destroying(form)) continue;
        // Through the form's window procedure slot: a form without a window yet
        // (its skin provider in the slot) must hear the skin change as well.
        const LRESULT answer = form->Perform(message.Msg, message.WParam, message.LParam);
        if (answer != SkinCommandPassedOn) BroadcastSkinMessage(form, message);
        // An MDI form's client window paints the area around the children.
        if (form->FormStyle() == TFormStyle::fsMDIForm && form->HandleAllocated() && !Destroying(form)) {
            if (HWND client = form->ClientHandle())
                SendMessageW(client, message.Msg, message.WParam, message.LParam);
        }
    }
}

void NotifyChildrenParentUpdated(TWinControl* container) {
    if (!container) return;
    try {
        for (int i = 0; i < container->ControlCount(); ++i) {
            TControl* child = container->Controls(i);
            if (dynamic_cast<TGraphicControl*>(child) || Destroying(child)) continue;
            if (!dynamic_cast<TWinControl*>(child)) continue;
            child->Perform(SM_ALPHACMD, PackSkinCommand(SMC_PARENTUPDATED), 0);
        }
    } catch (const std::exception&) {
        // As in a broadcast: the loop ends quietly.
    }
}

void LeavePreparingTree(TControl* control) {
    if (!control) return;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) {
        control->Perform(SM_ALPHACMD, PackSkinCommand(SMC_SETPREPARING, 0), 0);
        return;
    }
    SendMessageW(win->Handle(), SM_ALPHACMD, PackSkinCommand(SMC_SETPREPARING, 0), 0);
    for (int i = 0; i < win->ControlCount(); ++i) LeavePreparingTree(win->Controls(i));
}

TColor GetControlColor(TControl* control) {
    if (!control) return clNone;
    SharedColor = clNone;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        SendMessageW(win->Handle(), SM_ALPHACMD, PackSkinCommand(SMC_GETCONTROLCOLOR), 0);
    } else {
        control->Perform(SM_ALPHACMD, PackSkinCommand(SMC_GETCONTROLCOLOR), 0);
    }
    TColor color = SharedColor == clNone ? control->Color() : SharedColor;
    return ColorToRGB(color);
}

bool ControlIsReady(const TControl* control) {
    if (!control) return false;
    if (control->InState(csLoading | csReading | csDestroying)) return false;
    if (control->ControlState() & csCreating) return false;
    return control->Parent() != nullptr;
}

TForm* GetOwnerForm(TComponent* component) {
    for (TComponent* c = component; c; c = c->Owner()) {
        if (auto* form = dynamic_cast<TForm*>(c)) return form;
    }
    return nullptr;
}

UINT TextAlignFlags(const TControl* control, TAlignment alignment) {
    UINT flags = DT_LEFT;
    switch (alignment) {
        case TAlignment::taLeftJustify: flags = DT_LEFT; break;
        case TAlignment::taRightJustify: flags = DT_RIGHT; break;
        case TAlignment::taCenter: flags = DT_CENTER; break;
    }
    flags |= DT_VCENTER | DT_EXPANDTABS;
    if (control && control->UseRightToLeftReading()) flags |= DT_RTLREADING;
    if (control && control->UseRightToLeftAlignment() && alignment != TAlignment::taCenter) {
        // DT_LEFT is 0: a left alignment becomes right, a right one left.
        flags = alignment == TAlignment::taLeftJustify ? (flags | DT_RIGHT) : (flags & ~static_cast<UINT>(DT_RIGHT));
    }
    return flags;
}

void GetWorkArea(RECT& rect) {
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) rect = RECT{0, 0, 0, 0};
}

namespace {

bool TakesPart(const TControl* child, HDC dc) {
    if (!child->Visible()) return false;
    if (!dynamic_cast<const TGraphicControl*>(child)) return false;
    if (child->Width() + child->Height() < 1) return false;
    if (child->InState(csDestroying)) return false;
    RECT r = child->BoundsRect();
    return RectVisible(dc, &r) != FALSE;
}

}  // namespace

void PaintGraphicChildren(HDC dc, TWinControl* container) {
    if (!container || !container->Visible() || container->ControlCount() == 0) return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) {
        SkinCommandToControl(container, SMC_SETPARTLYHIDDEN);
        return;
    }
    ParentBackground.Ready = false;
    SendMessageW(container->Handle(), SM_ALPHACMD, PackSkinCommand(SMC_GETCACHE), 0);
    if (!ParentBackground.Ready || !ParentBackground.Bitmap) return;
    const TParentBackground bg = ParentBackground;

    HDC memDC = nullptr;
    TBitmap24 picture;   // the container's area, 24 bits like every cache
    HGDIOBJ old = nullptr;
    std::vector<TControl*> parts;
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* child = container->Controls(i);
        if (TakesPart(child, dc)) parts.push_back(child);
    }
    try {
        for (TControl* child : parts) {
            if (!memDC) {
                picture = TBitmap24(container->Width(), container->Height());
                if (!picture.Handle()) break;
                memDC = CreateCompatibleDC(nullptr);
                old = SelectObject(memDC, static_cast<HBITMAP>(picture.Handle()));
                GdiFlush();   // the parent's cache is read directly below
            }
            RECT r = child->BoundsRect();
            if (child->ControlStyle() & csOpaque) {
                HBRUSH brush = CreateSolidBrush(ColorToRGB(child->Color()));
                FillRect(memDC, &r, brush);
                DeleteObject(brush);
                GdiFlush();   // a later child's rows are written directly over it
            } else {
                // The parent's pixels under the child, row by row, clipped to
                // both the cache and the container's area.
                const TBitmap24& src = *bg.Bitmap;
                const int x0 = std::max({static_cast<int>(r.left), -bg.OffsetX, 0});
                const int x1 = std::min({static_cast<int>(r.right), src.Width() - bg.OffsetX, picture.Width()});
                const int y0 = std::max({static_cast<int>(r.top), -bg.OffsetY, 0});
                const int y1 = std::min({static_cast<int>(r.bottom), src.Height() - bg.OffsetY, picture.Height()});
                for (int y = y0; y < y1 && x0 < x1; ++y) {
                    std::memcpy(picture.ScanLine(y) + x0 * 3, src.ScanLine(y + bg.OffsetY) + (x0 + bg.OffsetX) * 3,
                                static_cast<std::size_t>(x1 - x0) * 3);
                }
            }
        }
        if (memDC) {
            for (TControl* child : parts) {
                const int saved = SaveDC(memDC);
                POINT prev{};
                SetWindowOrgEx(memDC, -child->Left(), -child->Top(), &prev);
                IntersectClipRect(memDC, 0, 0, child->Width(), child->Height());
                child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(memDC), 0);
                SetWindowOrgEx(memDC, prev.x, prev.y, nullptr);
                RestoreDC(memDC, saved);
            }
            for (TControl* child : parts) {
                if (GetPixel(memDC, child->Left(), child->Top()) == clNone) continue;
                BitBlt(dc, child->Left(), child->Top(), child->Width(), child->Height(), memDC, child->Left(),
                       child->Top(), SRCCOPY);
            }
        }
    } catch (...) {
        ParentBackground.Ready = false;
        if (memDC) { SelectObject(memDC, old); DeleteDC(memDC); }
        throw;
    }
    ParentBackground.Ready = false;
    if (memDC) {
        SelectObject(memDC, old);
        DeleteDC(memDC);
    }
}

}  // namespace korvel
