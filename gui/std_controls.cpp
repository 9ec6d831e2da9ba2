#include "gui/std_controls.h"

#include <uxtheme.h>
#include <windowsx.h>

#include "gui/actions.h"
#include "gui/exceptions.h"
#include "gui/forms.h"
#include "gui/text.h"

namespace korvel {
namespace {

// Splits text into lines at CR LF, LF or CR; a final line break ends the last
// line rather than starting an empty one.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

bool IsValidUtf8(const std::string& bytes) {
    return bytes.empty() ||
           MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

std::string AnsiToUtf8(const std::string& bytes) {
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
    return Narrow(wide);
}

}  // namespace

UINT AlignmentDrawFlags(const TControl& control, TAlignment alignment) {
    UINT flags = DT_VCENTER | DT_EXPANDTABS;
    // Right-to-left alignment mirrors left and right justification.
    if (control.UseRightToLeftAlignment() && alignment != TAlignment::taCenter)
        alignment = alignment == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
    switch (alignment) {
    case TAlignment::taLeftJustify:  flags |= DT_LEFT; break;
    case TAlignment::taRightJustify: flags |= DT_RIGHT; break;
    case TAlignment::taCenter:       flags |= DT_CENTER; break;
    }
    if (control.UseRightToLeftReading()) flags |= DT_RTLREADING;
    return flags;
}

// ---- TButton ---------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);   // clicks come from BN_CLICKED
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    if (value == default_) return;
    default_ = value;
    ShowDefaultLook(ActiveFor(FocusedOnSameForm()));
}

const TControl* TButton::FocusedOnSameForm() const {
    auto top = [](const TControl* c) {
        while (c && c->Parent()) c = c->Parent();
        return c;
    };
    const TControl* focused = FindControl(GetFocus());
    return focused && top(focused) == top(this) ? focused : nullptr;
}

bool TButton::ActiveFor(const TControl* focused) const {
    if (focused && dynamic_cast<const TButton*>(focused)) return focused == this;
    return default_;
}

void TButton::ShowDefaultLook(bool value) {
    if (value == defaultLook_) return;
    defaultLook_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"BUTTON";
    params.SystemClass = true;
    params.Style |= defaultLook_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        TControl* top = this;
        while (top->Parent()) top = top->Parent();
        if (auto* form = dynamic_cast<TForm*>(top)) form->SetModalResult(modalResult_);
    }
    TWinControl::Click();
}

bool TButton::AnswerDialogKey(TMessage& m) {
    bool enter = m.WParam == VK_RETURN && ActiveFor(FocusedOnSameForm());
    bool escape = m.WParam == VK_ESCAPE && cancel_;
    if (!(enter || escape) || !CanFocus()) return false;
    m.Result = 1;
    Click();
    return true;
}

bool TButton::AnswerDialogChar(TMessage& m) {
    if (!IsAccel(static_cast<UINT>(m.WParam), Caption()) || !CanFocus()) return false;
    m.Result = 1;
    Click();   // without taking the focus
    return true;
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) return Click();
        break;
    case CM_DIALOGCHAR:   if (AnswerDialogChar(m)) return; break;
    case CM_DIALOGKEY:    if (AnswerDialogKey(m)) return; break;
    case CM_FOCUSCHANGED: ShowDefaultLook(ActiveFor(reinterpret_cast<TControl*>(m.LParam))); break;   // from the form
    }
    TWinControl::WndProc(m);
}

// ---- TCheckBox ---------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"BUTTON";
    params.SystemClass = true;
    // A three-state button that never changes by itself: the state is ours.
    params.Style |= BS_3STATE | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCheckBox::HandleCreated() { SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0); }

void TCheckBox::SetState(TCheckBoxState value) {
    if (value == state_) return;
    state_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (!IsLoading()) Click();
}

void TCheckBox::Click() {
    if (takingAction_) return;
    if (Action()) Action()->SetChecked(Checked());
    TWinControl::Click();
}

void TCheckBox::ActionChanged(const TAction& action) {
    TWinControl::ActionChanged(action);
    // A grayed box stays grayed while the action is unchecked: it has no third state.
    if (action.Checked() == Checked() || (!action.Checked() && state_ == TCheckBoxState::cbGrayed)) return;
    takingAction_ = true;
    try {
        SetChecked(action.Checked());
    } catch (...) {
        takingAction_ = false;
        throw;
    }
    takingAction_ = false;
}

void TCheckBox::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
}

void TCheckBox::Toggle() {
    switch (state_) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
        SetState(allowGrayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
}

void TCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) return Toggle();
    if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<UINT>(m.WParam), Caption()) && CanFocus()) {
        m.Result = 1;
        SetFocus();
        if (Focused()) Toggle();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TCustomEdit -----------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() & ~csClickEvents);
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    SetTabStop(true);
    SetCursor(crDefault);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = L"EDIT";
    params.SystemClass = true;
    params.Style |= ES_AUTOHSCROLL | ES_LEFT | (readOnly_ ? ES_READONLY : 0) | (passwordChar_.empty() ? 0 : ES_PASSWORD);
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::HandleCreated() {
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (!passwordChar_.empty()) {
        std::wstring c = Widen(passwordChar_);
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, c.empty() ? 0 : c[0], 0);
    }
}

void TCustomEdit::SetMaxLength(int value) {
    if (value < 0) throw EInvalidOperation("MaxLength cannot be negative");
    maxLength_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(const std::string& value) {
    if (value == passwordChar_) return;
    passwordChar_ = value;
    if (HandleAllocated()) {
        std::wstring c = Widen(value);
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, c.empty() ? 0 : c[0], 0);
        Invalidate();
    }
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::SetTextValue(const std::string& value) {
    if (value == GetText()) return;   // exact, case-sensitive: no change, no event
    text_ = value;
    if (HandleAllocated()) {
        // EN_CHANGE from our own WM_SETTEXT is not a second change.
        settingText_ = true;
        SetWindowTextW(Handle(), Widen(value).c_str());
        settingText_ = false;
    }
    Change();
}

void TCustomEdit::Change() {
    Perform(CM_TEXTCHANGED);
    if (OnChange && !IsLoading()) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m) {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!settingText_) Change();
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TMemo ------------------------------------------------------------------------

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) { SetBounds(0, 0, 185, 89); }

void TMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | (wordWrap_ ? 0 : ES_AUTOHSCROLL);
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
    if (!wordWrap_ && (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth))
        params.Style |= WS_HSCROLL;
    if (alignment_ == TAlignment::taCenter) params.Style |= ES_CENTER;
    if (alignment_ == TAlignment::taRightJustify) params.Style |= ES_RIGHT;
}

void TMemo::WndProc(TMessage& m) {
    TCustomEdit::WndProc(m);
    if (m.Msg != WM_GETDLGCODE) return;
    // The native control asks for every key (WParam names the one in question).
    constexpr LRESULT kAllKeys = DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
    switch (m.WParam) {
    case VK_ESCAPE: m.Result &= ~kAllKeys; break;   // the form's cancel button
    case VK_TAB:    if (!wantTabs_) m.Result &= ~(kAllKeys | DLGC_WANTTAB); break;
    case VK_RETURN: if (!wantReturns_) m.Result &= ~kAllKeys; break;
    }
}

void TMemo::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    RecreateWnd();
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    RecreateWnd();
}

void TMemo::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    RecreateWnd();
}

bool TMemo::HasUsableHandle() {
    if (HandleAllocated()) return true;
    for (TWinControl* p = Parent(); p; p = p->Parent())
        if (p->HandleAllocated()) return Handle() != nullptr;
    return false;
}

int TMemoLines::Count() const {
    if (!memo_.HasUsableHandle()) return static_cast<int>(SplitLines(memo_.Text()).size());
    HWND h = memo_.Handle();
    auto rows = static_cast<int>(SendMessageW(h, EM_GETLINECOUNT, 0, 0));
    LRESULT lastStart = SendMessageW(h, EM_LINEINDEX, static_cast<WPARAM>(rows - 1), 0);
    if (rows > 0 && SendMessageW(h, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) == 0) --rows;
    return rows;
}

std::string TMemoLines::Strings(int index) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(FormatText("List index out of bounds (%d)", {std::to_string(index)}));
    if (!memo_.HandleAllocated()) return SplitLines(memo_.Text())[static_cast<size_t>(index)];
    HWND h = memo_.Handle();
    LRESULT start = SendMessageW(h, EM_LINEINDEX, static_cast<WPARAM>(index), 0);
    auto length = static_cast<size_t>(SendMessageW(h, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
    std::wstring buffer(std::max<size_t>(length, 1) + 1, L'\0');
    *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(buffer.size());   // EM_GETLINE reads the size here
    auto got = static_cast<size_t>(SendMessageW(h, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data())));
    buffer.resize(std::min(got, length));
    return Narrow(buffer);
}

void TMemoLines::Add(const std::string& line) {
    std::string text = memo_.Text();
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    memo_.SetMemoText(text + line + "\r\n");
}

void TMemoLines::Clear() { memo_.SetMemoText(""); }

std::string TMemoLines::Text() const { return memo_.Text(); }

void TMemoLines::SetText(const std::string& text) { memo_.SetMemoText(JoinLines(SplitLines(text))); }

void TMemoLines::Assign(const std::vector<std::string>& lines) { memo_.SetMemoText(JoinLines(lines)); }

void TMemoLines::LoadFromFile(const std::string& path) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw EFOpenError(path, GetLastError());
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof(chunk), &got, nullptr)) && got > 0) bytes.append(chunk, got);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) throw EFOpenError(path, error);
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    memo_.SetMemoText(JoinLines(SplitLines(IsValidUtf8(bytes) ? bytes : AnsiToUtf8(bytes))));
}

// ---- TPanel -------------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut value) {
    if (value == bevelOuter_) return;
    bevelOuter_ = value;
    Invalidate();
}

void TPanel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The caption is centred and the bevel follows the edges: a new size repaints it all.
    params.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TPanel::PaintWindow(HDC dc) {
    RECT r = ClientRect();
    if ((ControlStyle() & csParentBackground) && ThemeServicesEnabled())
        DrawThemeParentBackground(Handle(), dc, &r);
    else
        ::FillRect(dc, &r, ColorBrush());
    if (bevelOuter_ != TBevelCut::bvNone)
        DrawEdge(dc, &r, bevelOuter_ == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    std::string caption = Caption();
    if (caption.empty()) return;
    TCanvas canvas(dc);
    canvas.Font().Assign(Font());
    SetBkMode(dc, TRANSPARENT);
    canvas.DrawText(caption, r, AlignmentDrawFlags(*this, alignment_) | DT_SINGLELINE);
}

}  // namespace korvel
