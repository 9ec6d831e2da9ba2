// The status bar, the tool bar with its buttons, and the splitter.
#include "gui/bar_controls.h"

#include <commctrl.h>

#include <algorithm>

#include "gui/class_registry.h"
#include "gui/exceptions.h"
#include "gui/text.h"

namespace korvel {

// ---- TStatusBar ---------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csSetCaption);
    SetBounds(0, 0, 200, 19);
    SetAlign(TAlign::alBottom);
}

void TStatusBar::CreateParams(TCreateParams& params) {
    static const bool classes = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)classes;
    TWinControl::CreateParams(params);
    params.WinClassName = STATUSCLASSNAMEW;
    params.SystemClass = true;
    // The framework places the bar (Align); the native control would move itself to the parent's bottom.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::HandleCreated() { SendPanels(); }

RECT TStatusBar::PanelRect(int index) const {
    int left = 0;
    for (int i = 0; i < index && i < PanelCount(); ++i) left += panels_[static_cast<std::size_t>(i)].Width;
    const bool last = index >= PanelCount() - 1;
    const int right = last ? std::max(left, Width()) : left + panels_[static_cast<std::size_t>(index)].Width;
    return RECT{left, 0, right, Height()};
}

void TStatusBar::SendPanels() {
    if (HandleAllocated()) {
        HWND h = Handle();
        std::vector<int> edges;
        for (int i = 0; i < PanelCount(); ++i) edges.push_back(i == PanelCount() - 1 ? -1 : static_cast<int>(PanelRect(i).right));
        if (edges.empty()) edges.push_back(-1);
        SendMessageW(h, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (int i = 0; i < PanelCount(); ++i) {
            const std::wstring text = Widen(panels_[static_cast<std::size_t>(i)].Text);
            SendMessageW(h, SB_SETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.c_str()));
        }
        const std::wstring simple = Widen(simpleText_);
        SendMessageW(h, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple.c_str()));
        SendMessageW(h, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    }
    PanelsChanged();
}

void TStatusBar::AddPanel(int width, const std::string& text) {
    panels_.push_back({width, text});
    SendPanels();
}

void TStatusBar::SetPanels(const std::vector<TStatusPanel>& panels) {
    panels_ = panels;
    SendPanels();
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
    TStatusPanel& panel = panels_.at(static_cast<std::size_t>(index));
    if (panel.Text == text) return;
    panel.Text = text;
    SendPanels();
}

void TStatusBar::SetPanelWidth(int index, int width) {
    TStatusPanel& panel = panels_.at(static_cast<std::size_t>(index));
    if (panel.Width == width) return;
    panel.Width = std::max(0, width);
    SendPanels();
}

void TStatusBar::SetSimplePanel(bool value) {
    if (value == simplePanel_) return;
    simplePanel_ = value;
    SendPanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
    if (value == simpleText_) return;
    simpleText_ = value;
    SendPanels();
}

void TStatusBar::SetSizeGrip(bool value) {
    if (value == sizeGrip_) return;
    sizeGrip_ = value;
    if (HandleAllocated()) RecreateWnd();
    PanelsChanged();
}

// ---- TToolBar -------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TPanel(owner) {
    SetControlStyle(ControlStyle() & ~csSetCaption);
    SetBevelOuter(TBevelCut::bvNone);
    SetBounds(0, 0, 200, 26);
    SetAlign(TAlign::alTop);
}

// ---- TSplitter ------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 5, 100);
    SetAlign(TAlign::alLeft);
    SetCursor(crHSplit);
}

TControl* TSplitter::Touching(bool before) const {
    const TWinControl* parent = Parent();
    if (!parent) return nullptr;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible()) continue;
        if (Horizontal()) {
            const bool overlaps = c->Top() < Top() + Height() && c->Top() + c->Height() > Top();
            const bool touches = before ? c->Left() + c->Width() == Left() : c->Left() == Left() + Width();
            if (overlaps && touches) return c;
        } else {
            const bool overlaps = c->Left() < Left() + Width() && c->Left() + c->Width() > Left();
            const bool touches = before ? c->Top() + c->Height() == Top() : c->Top() == Top() + Height();
            if (overlaps && touches) return c;
        }
    }
    return nullptr;
}

TControl* TSplitter::Neighbour() const {
    return Touching(Align() == TAlign::alLeft || Align() == TAlign::alTop);
}

TControl* TSplitter::Opposite() const {
    return Touching(!(Align() == TAlign::alLeft || Align() == TAlign::alTop));
}

void TSplitter::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(RECT{0, 0, Width(), Height()});
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !Parent()) return;
    neighbour_ = Neighbour();
    if (!neighbour_) return;
    dragging_ = true;
    startSize_ = Horizontal() ? neighbour_->Width() : neighbour_->Height();
    downPosition_ = ParentPosition(x, y);
    // The control across keeps MinSize too; without one, the parent's edge bounds the drag.
    int room = 0;
    if (const TControl* across = Opposite()) {
        room = (Horizontal() ? across->Width() : across->Height()) - minSize_;
    } else {
        const RECT client = Parent()->ClientRect();
        switch (Align()) {
        case TAlign::alLeft:   room = client.right - (Left() + Width()) - minSize_; break;
        case TAlign::alRight:  room = Left() - client.left - minSize_; break;
        case TAlign::alTop:    room = client.bottom - (Top() + Height()) - minSize_; break;
        case TAlign::alBottom: room = Top() - client.top - minSize_; break;
        default: break;
        }
    }
    maxSize_ = std::max(minSize_, startSize_ + std::max(0, room));
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    const TCursor cursor = Horizontal() ? crHSplit : crVSplit;
    if (Cursor() != cursor) SetCursor(cursor);
    if (!dragging_ || !neighbour_) return;
    const int moved = ParentPosition(x, y) - downPosition_;
    const bool grows = Align() == TAlign::alLeft || Align() == TAlign::alTop;
    const int size = std::clamp(startSize_ + (grows ? moved : -moved), minSize_, maxSize_);
    if (Horizontal()) neighbour_->SetWidth(size);
    else neighbour_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool ended = dragging_ && button == TMouseButton::mbLeft;
    if (ended) dragging_ = false;
    TGraphicControl::MouseUp(button, shift, x, y);
    if (ended && OnMoved) OnMoved(this);
}

// ---- registration ---------------------------------------------------------------------

namespace {

std::vector<TStatusPanel> ReadPanels(const TValue& v) {
    if (v.Kind != TValueKind::Collection) throw EConvertError("Panels needs a collection");
    std::vector<TStatusPanel> panels;
    for (const auto& item : v.CollectionItems) {
        TStatusPanel& panel = panels.emplace_back();
        for (const TNamedValue& a : item) {
            if (a.Name == "Width") panel.Width = a.Value.AsInteger();
            else if (a.Name == "Text") panel.Text = a.Value.AsString();
            else throw EConvertError(FormatText("a status panel has no property %s", {a.Name}));
        }
    }
    return panels;
}

}  // namespace

void RegisterBarControlClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TStatusBar>("TStatusBar", "TWinControl");
        r.RegisterProperty<TStatusBar>("TStatusBar", "Panels",
                                       [](TStatusBar& s, const TValue& v, TReadContext&) { s.SetPanels(ReadPanels(v)); });
        r.RegisterProperty<TStatusBar>("TStatusBar", "SimplePanel",
                                       [](TStatusBar& s, const TValue& v, TReadContext&) { s.SetSimplePanel(v.AsBoolean()); });
        r.RegisterProperty<TStatusBar>("TStatusBar", "SimpleText",
                                       [](TStatusBar& s, const TValue& v, TReadContext&) { s.SetSimpleText(v.AsString()); });
        r.RegisterProperty<TStatusBar>("TStatusBar", "SizeGrip",
                                       [](TStatusBar& s, const TValue& v, TReadContext&) { s.SetSizeGrip(v.AsBoolean()); });
        r.RegisterClass<TToolBar>("TToolBar", "TPanel");
        r.RegisterClass<TToolButton>("TToolButton", "TButton");
        RegisterToolButtonProperties<TToolButton>("TToolButton");
        r.RegisterClass<TSplitter>("TSplitter", "TGraphicControl");
        r.RegisterProperty<TSplitter>("TSplitter", "MinSize",
                                      [](TSplitter& s, const TValue& v, TReadContext&) { s.SetMinSize(v.AsInteger()); });
        r.RegisterProperty<TSplitter>("TSplitter", "OnMoved",
                                      [](TSplitter& s, const TValue& v, TReadContext& c) { s.OnMoved = c.Handler(v); });
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
