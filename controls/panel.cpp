// The skinned panel and the grip.
#include "controls/panel.h"

#include "gui/cache_dc.h"
#include "controls/skin_data_properties.h"
#include "engine/skin_manager.h"
#include "engine/skin_message.h"
#include "gui/class_registry.h"
#include "paint/text.h"
#include "paint/text_win.h"

namespace korvel {

namespace {

bool ParentBeingCreated(const TControl& control) {
    return control.Parent() && (control.Parent()->ControlState() & csCreating);
}

bool SkinIsActive(const TsCommonData& data) {
    const TsSkinManager* manager = data.SkinManager();
    return manager && manager->SkinData().Active;
}

}  // namespace

TsPanel::TsPanel(TComponent* owner) : TPanel(owner), skinData_(std::make_unique<TsCommonData>(this, true)) {
    SetControlStyle(ControlStyle() | csOpaque);
    skinData_->ControlCode = ccPanel;
    skinData_->Loaded();
}

TsPanel::~TsPanel() {
    // The children go first (the owner frees them), while the skin state still answers them.
    Destroying();
    DestroyComponents();
    skinData_.reset();
}

void TsPanel::Loaded() {
    TPanel::Loaded();
    skinData_->Loaded();
}

bool TsPanel::LiesPartlyOutsideParent() const {
    const TWinControl* parent = Parent();
    if (!parent) return false;
    const RECT client = parent->ClientRect();
    const POINT first{Left() + 1, Top() + 1};
    const POINT last{Left() + Width() - 1, Top() + Height() - 1};
    return !PtInRect(&client, first) || !PtInRect(&client, last);
}

void TsPanel::PaintCaption(HDC cacheDC, RECT rect) {
    const std::string caption = Caption();
    if (caption.empty()) return;
    TFont font;
    font.Assign(Font());
    TGdiTextCanvas canvas(cacheDC, font.Handle(), ColorToRGB(Font().Color()));
    const int h = canvas.TextExtent("W").Height;
    rect.top = (rect.top + rect.bottom - h) / 2;
    rect.bottom = rect.top + h;
    TRect r{rect.left, rect.top, rect.right, rect.bottom};
    const TTextSource source{skinData_->Tables(), skinData_->SkinIndex, skinData_->CustomFont()};
    WriteTextEx(canvas, caption, Enabled(), false, source, TextAlignFlags(this, Alignment()) | DT_NOPREFIX, r);
}

void TsPanel::PaintFace(TBitmap24& cache, const TParentBackground& background) {
    PaintItem(*skinData_, background, true, cache, TPoint{Left(), Top()}, TRect{0, 0, Width(), Height()}, 0);
}

void TsPanel::RebuildCache(bool withPaintEvent) {
    TsCommonData& data = *skinData_;
    data.PrepareCacheBmp();
    TBitmap24& cache = *data.CacheBmp();
    TParentBackground background;
    data.GetParentCache(background);
    PaintFace(cache, background);
    {
        TCacheDC dc(cache);
        if (dc.Handle()) {
            PaintCaption(dc.Handle(), ClientRect());
            data.BackgroundChanged = false;
            if (withPaintEvent && OnPaint) {
                TCanvas canvas(dc.Handle());
                canvas.Font().Assign(Font());
                OnPaint(this, canvas);
            }
        } else {
            data.BackgroundChanged = false;
        }
    }
    GdiFlush();   // the cache's pixels are read directly from here on
}

void TsPanel::PaintSkinned(HDC dc) {
    if (InState(csDestroying) || ParentBeingCreated(*this) || !skinData_) return;
    TsCommonData& data = *skinData_;
    if (!data.IsSkinned(false) || !SkinIsActive(data)) return;
    data.Updating = data.IsUpdating();
    if (data.Updating) return;

    HDC own = nullptr;
    if (!dc) {
        own = GetDC(Handle());
        dc = own;
    }
    struct TRelease {
        HWND window;
        HDC dc;
        ~TRelease() {
            if (dc) ReleaseDC(window, dc);
        }
    } release{own ? Handle() : nullptr, own};

    const bool rebuild = data.BackgroundChanged || data.PartlyHidden;
    data.PartlyHidden = data.NeedsParentRepaint() ? LiesPartlyOutsideParent() : false;
    if (rebuild && !data.Preparing) RebuildCache(true);
    const bool corners = FrameAtWindowCorners();
    if (corners) data.UpdateCorners(0, crAll);
    data.CopyCacheToDC(this, RECT{0, 0, 0, 0}, corners, dc, RECT{0, 0, Width(), Height()});
    PaintGraphicChildren(dc, this);
    NotifyChildrenParentUpdated(this);
}

void TsPanel::PaintWindow(HDC dc) {
    TPanel::PaintWindow(dc);
    PaintSkinned(dc);
}

// ---- window procedure -------------------------------------------------------------

void TsPanel::WndProc(TMessage& m) {
    if (m.Msg == SM_ALPHACMD && OnSkinAnnouncement(m)) return;
    if (ControlIsReady(this) && skinData_ && skinData_->IsSkinned(false)) return SkinnedWndProc(m);
    PlainWndProc(m);
}

bool TsPanel::OnSkinAnnouncement(TMessage& m) {
    return AnswerCommonSkinCommand(skinData_.get(), m, {
        .Changing = [this, &m] { BroadcastSkinMessage(this, m); },   // the children re-resolve before the panel's own state
        .Removed =
            [this, &m] {
                TPanel::Invalidate();
                BroadcastSkinMessage(this, m);
            },
        .Applied =
            [this, &m] {
                BroadcastSkinMessage(this, m);
                // Still updating: the parent's paint paints the panel and then its children.
                if (!skinData_->Updating) Repaint();
            },
    });
}

void TsPanel::SkinnedWndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:          return OnPaintMessage(m);
    case WM_ERASEBKGND:     m.Result = 1; return;   // the cache covers every pixel
    case WM_SETFOCUS:
    case WM_KILLFOCUS:      return TPanel::WndProc(m);
    case CM_TEXTCHANGED:
        if (Parent()) skinData_->Invalidate();
        return;
    case CM_VISIBLECHANGED:
        skinData_->BackgroundChanged = true;
        skinData_->Updating = false;
        Repaint();
        return TPanel::WndProc(m);
    }
    if (m.Msg == SM_ALPHACMD) return OnSkinCommand(m);
    skinData_->CommonWndProc(m);
    TPanel::WndProc(m);
    if (m.Msg == CM_FONTCHANGED && !Caption().empty()) {
        skinData_->BackgroundChanged = true;
        Repaint();
    }
}

void TsPanel::OnSkinCommand(TMessage& m) {
    TsCommonData& data = *skinData_;
    switch (SkinCommandOf(m.WParam)) {
    case SMC_PARENTUPDATED:
        data.Updating = false;
        Repaint();
        return;
    case SMC_SETPREPARING:
        data.CommonWndProc(m);
        if (data.Preparing) RebuildCache(false);
        return;
    case SMC_QUERYUPDATING:
        m.LParam = (data.BackgroundChanged || data.IsUpdating()) ? 1 : 0;
        m.Result = 1;
        return;
    }
    data.HandleSkinCommand(m);
}

void TsPanel::OnPaintMessage(TMessage& m) {
    if (!Visible()) return TPanel::WndProc(m);
    PAINTSTRUCT ps{};
    const bool own = m.WParam == 0;
    HDC dc = own ? BeginPaint(Handle(), &ps) : reinterpret_cast<HDC>(m.WParam);
    SetControlState(ControlState() | csCustomPaint);
    const int saved = SaveDC(dc);
    struct TEnd {
        TsPanel* self;
        HDC dc;
        int saved;
        bool own;
        PAINTSTRUCT* ps;
        ~TEnd() {
            RestoreDC(dc, saved);
            self->SetControlState(self->ControlState() & ~csCustomPaint);
            if (own) EndPaint(self->Handle(), ps);
        }
    } end{this, dc, saved, own, &ps};
    PaintSkinned(dc);
}

void TsPanel::PlainWndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND && OnPaint) {
        m.Result = 1;
        return;
    }
    TPanel::WndProc(m);
    if (m.Msg != WM_PAINT || !OnPaint || !HandleAllocated()) return;
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : GetDC(Handle());
    {
        TCanvas canvas(dc);
        canvas.Font().Assign(Font());
        OnPaint(this, canvas);
    }
    if (!m.WParam) ReleaseDC(Handle(), dc);
}

// ---- TsGrip -----------------------------------------------------------------------

TsGrip::TsGrip(TComponent* owner) : TsPanel(owner) {
    SetCaption(" ");
    SkinData().SetSkinSection("CHECKBOX");
    SetAlign(TAlign::alNone);
    SetBounds(Left(), Top(), 20, 20);
}

// ---- registration -----------------------------------------------------------------

void RegisterPanelClasses() {
    static const bool registered = [] {
        RegisterFrameworkClasses();
        TClassRegistry& r = TClassRegistry::Instance();
        r.RegisterClass<TsPanel>("TsPanel", "TPanel");
        RegisterSkinDataProperties<TsPanel>("TsPanel");
        r.RegisterClass<TsGrip>("TsGrip", "TsPanel");
        return true;
    }();
    (void)registered;
}

}  // namespace korvel
