// The plain group box.
#include "gui/group_box.h"

#include "gui/class_registry.h"
#include "gui/graphics.h"
#include "gui/text.h"

namespace korvel {

TGroupCaptionPlace GroupCaptionPlace(int textWidth, int textHeight, bool hasCaption) {
    TGroupCaptionPlace place;
    place.FrameTop = textHeight / 2;
    place.Text = RECT{kGroupCaptionIndent, 0, kGroupCaptionIndent + textWidth, textHeight};
    if (hasCaption)
        place.Gap = RECT{kGroupCaptionIndent - kGroupCaptionPadding, 0, kGroupCaptionIndent + textWidth + kGroupCaptionPadding,
                         textHeight};
    return place;
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The frame follows the edges: a new size repaints it all.
    params.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TGroupBox::PaintWindow(HDC dc) { PaintPlainGroupBox(*this, dc, ColorBrush()); }

void PaintPlainGroupBox(TWinControl& box, HDC dc, HBRUSH background) {
    RECT r = box.ClientRect();
    ::FillRect(dc, &r, background);
    const std::wstring caption = Widen(box.Caption());
    HGDIOBJ oldFont = SelectObject(dc, box.Font().Handle());
    SIZE line{};
    GetTextExtentPoint32W(dc, L"W", 1, &line);
    SIZE text{};
    if (!caption.empty()) GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    const TGroupCaptionPlace place = GroupCaptionPlace(text.cx, line.cy, !caption.empty());
    RECT frame{r.left, place.FrameTop, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        ::FillRect(dc, &place.Gap, background);
        RECT t = place.Text;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, box.Enabled() ? ColorToRGB(box.Font().Color()) : GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), -1, &t, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP);
    }
    SelectObject(dc, oldFont);
}

void RegisterGroupBoxClass() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        // Caption, Font, Color and the rest come with the control's.
        TClassRegistry::Instance().RegisterClass<TGroupBox>("TGroupBox", "TWinControl");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
