#pragma once
// The bars of a form and the splitter between its parts:
// - TStatusBar: the native status bar (msctls_statusbar32), aligned to the
//   bottom, with panels of a given width and text, or one simple panel, and
//   the native size grip (its hit test sizes the form).
// - TToolBar: a container aligned to the top whose buttons line up from the
//   left (each TToolButton is aligned left in it).
// - TToolButton: a native push button, so that Tab reaches it, Space presses
//   it and accessibility sees a button; a check-style button is a push-like
//   check box whose native check state follows Down, and a separator is a
//   static etched line that takes no focus.
// - TSplitter: a windowless bar between two aligned controls; dragging it
//   resizes the control on its side, never below MinSize on either side.
#include <windows.h>

#include <string>
#include <vector>

#include "gui/class_registry.h"
#include "gui/graphic_controls.h"
#include "gui/std_controls.h"

namespace korvel {

// ---- status bar ---------------------------------------------------------------------

class TStatusBar;

struct TStatusPanel {
    int Width = 50;
    std::string Text;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    std::string ClassName() const override { return "TStatusBar"; }

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    const TStatusPanel& Panel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }
    void AddPanel(int width, const std::string& text);
    void SetPanels(const std::vector<TStatusPanel>& panels);
    void SetPanelText(int index, const std::string& text);
    void SetPanelWidth(int index, int width);

    // One panel across the whole bar showing SimpleText instead of the panels.
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& value);
    // The native grip in the bottom right corner (a change recreates the window).
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);

    // Where panel index lies in the bar's client area: the panels follow each
    // other from the left at their widths, the last one reaching the right edge.
    RECT PanelRect(int index) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void HandleCreated() override;
    // Told after panels, texts or the simple mode changed (the native bar has them already).
    virtual void PanelsChanged() {}

private:
    void SendPanels();

    std::vector<TStatusPanel> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
};

// ---- tool bar and tool buttons --------------------------------------------------------

class TToolBar : public TPanel {
public:
    explicit TToolBar(TComponent* owner);
    std::string ClassName() const override { return "TToolBar"; }
};

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator };

// What makes a button a tool button, over any push button class (the framework's,
// or a skinned one): its style, its Down state and its image index.
template <class TBase>
class TToolButtonOf : public TBase {
public:
    static constexpr int SeparatorWidth = 8;

    explicit TToolButtonOf(TComponent* owner) : TBase(owner) {
        this->SetBounds(0, 0, 23, 22);
        this->SetAlign(TAlign::alLeft);
    }

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value) {
        if (value == style_) return;
        style_ = value;
        const bool separator = style_ == TToolButtonStyle::tbsSeparator;
        this->SetTabStop(!separator);
        if (separator) this->SetWidth(SeparatorWidth);
        if (this->HandleAllocated()) this->RecreateWnd();
    }
    // Drawn pressed; a check-style button toggles it at every click.
    bool Down() const { return down_; }
    void SetDown(bool value) {
        if (value == down_) return;
        down_ = value;
        if (style_ == TToolButtonStyle::tbsCheck && this->HandleAllocated())
            SendMessageW(this->Handle(), BM_SETCHECK, down_ ? BST_CHECKED : BST_UNCHECKED, 0);
        DownChanged();
    }
    // Kept for the program; the bar has no image list to draw it from.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }

    // A separator is never clicked; a check button changes Down before OnClick runs.
    void Click() override {
        if (style_ == TToolButtonStyle::tbsSeparator) return;
        if (style_ == TToolButtonStyle::tbsCheck) SetDown(!down_);
        TBase::Click();
    }

protected:
    void CreateParams(TCreateParams& params) override {
        TBase::CreateParams(params);
        switch (style_) {
        case TToolButtonStyle::tbsButton: break;
        case TToolButtonStyle::tbsCheck: params.Style |= BS_CHECKBOX | BS_PUSHLIKE; break;
        case TToolButtonStyle::tbsSeparator:
            // A plain static window: no focus, and clicks fall through to the bar.
            params.WinClassName = L"STATIC";
            params.Style &= ~static_cast<DWORD>(0xFFFF);
            break;
        }
    }
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
        case BM_SETSTYLE: return;   // never the default button's look: a check button would lose its kind
        case WM_PAINT:
            if (style_ == TToolButtonStyle::tbsSeparator) return PaintSeparatorLine(m);
            break;
        }
        TBase::WndProc(m);
    }
    void HandleCreated() override {
        TBase::HandleCreated();
        if (style_ == TToolButtonStyle::tbsCheck && down_) SendMessageW(this->Handle(), BM_SETCHECK, BST_CHECKED, 0);
    }
    virtual void DownChanged() { this->Invalidate(); }

private:
    // The bar's colour with an etched line down the middle.
    void PaintSeparatorLine(TMessage& m) {
        PAINTSTRUCT ps{};
        HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(this->Handle(), &ps);
        RECT r{0, 0, this->Width(), this->Height()};
        HBRUSH brush = CreateSolidBrush(ColorToRGB(this->Parent() ? this->Parent()->Color() : this->Color()));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        RECT line{this->Width() / 2 - 1, 2, this->Width() / 2 + 1, this->Height() - 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        if (!m.WParam) EndPaint(this->Handle(), &ps);
    }

    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool down_ = false;
    int imageIndex_ = -1;
};

class TToolButton : public TToolButtonOf<TButton> {
public:
    explicit TToolButton(TComponent* owner) : TToolButtonOf<TButton>(owner) {}
    std::string ClassName() const override { return "TToolButton"; }
};

// ---- splitter -----------------------------------------------------------------------

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    std::string ClassName() const override { return "TSplitter"; }

    // The least size the neighbour and the control across from it keep.
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
    // Raised after a drag changed the neighbour's size.
    TNotifyEvent OnMoved;

    // The control the splitter resizes (touching it on the side its alignment
    // names), and the one across from it; nullptr when there is none.
    TControl* Neighbour() const;
    TControl* Opposite() const;
    bool Dragging() const { return dragging_; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return Align() == TAlign::alLeft || Align() == TAlign::alRight; }
    // The pointer's position along the drag axis in the parent's client coordinates.
    int ParentPosition(int x, int y) const { return Horizontal() ? Left() + x : Top() + y; }
    TControl* Touching(bool before) const;

    int minSize_ = 30;
    bool dragging_ = false;
    TControl* neighbour_ = nullptr;
    int downPosition_ = 0;
    int startSize_ = 0;
    int maxSize_ = 0;
};

// The stored properties of a tool button class T (a TToolButtonOf<...>).
template <class T>
void RegisterToolButtonProperties(const std::string& className) {
    TClassRegistry& r = TClassRegistry::Instance();
    r.RegisterProperty<T>(className, "Style", [](T& b, const TValue& v, TReadContext&) {
        b.SetStyle(static_cast<TToolButtonStyle>(v.AsEnum({{"tbsButton", 0}, {"tbsCheck", 1}, {"tbsSeparator", 2}})));
    });
    r.RegisterProperty<T>(className, "Down", [](T& b, const TValue& v, TReadContext&) { b.SetDown(v.AsBoolean()); });
    r.RegisterProperty<T>(className, "ImageIndex", [](T& b, const TValue& v, TReadContext&) { b.SetImageIndex(v.AsInteger()); });
}

// Registers the bar classes and their stored properties (once).
void RegisterBarControlClasses();

}  // namespace korvel
