#include "app/main_form.h"

#include "app/link_table.h"
#include "app/tool_table.h"
#include "forms/skin_provider.h"
#include "forms/skinned_program.h"
#include "gui/exceptions.h"
#include "gui/graphic_controls.h"
#include "gui/shell.h"
#include "gui/text_file.h"
#include "engine/skin_manager.h"

namespace korvel {
namespace {

struct TPageButton {
    std::string_view Button;
    std::string_view Page;
};

const TPageButton kPageButtons[] = {
    {"btnrootgen", "pnlrootgen"},   {"btnvicinor", "pnlvicinor"},   {"btninvetta", "pnlinvetta"},
    {"btnidlora", "pnlidlora"},     {"sButton1", "pnlhubrift"},     {"btnpullvane", "pnlpullvane"},
    {"btnpushvane", "pnlpushvane"}, {"btnmemlatch", "pnlmemlatch"}, {"btntriquery", "pnltriquery"},
    {"btnabout", "pnlabout"},
};

std::string_view DialogName(TBrowseDialog dialog) {
    switch (dialog) {
    case TBrowseDialog::Open1: return "OpenDialog1";
    case TBrowseDialog::Save1: return "SaveDialog1";
    case TBrowseDialog::Save2: return "SaveDialog2";
    }
    return {};
}

}  // namespace

TForm1::TForm1(TComponent* owner, HMODULE module) : TForm(owner) {
    ShellCall = [](HWND ownerWindow, const std::string& verb, const std::string& file, const std::string& parameters) {
        ShellOpen(ownerWindow, verb, file, parameters, {}, SW_SHOW);   // the result is not examined
    };
    ExecuteDialog = [](TOpenDialog& dialog) { return dialog.Execute(); };
    PrepareSkinnedProgram();
    RegisterHandlers();
    ReadDefinitionResource(module ? module : GetModuleHandleW(nullptr), "MAINWINDOW");
}

TComponent& TForm1::Component(std::string_view name) const {
    TComponent* component = FindComponent(std::string(name));
    if (!component) throw EInvalidOperation("The main window has no component \"" + std::string(name) + "\"");
    return *component;
}

void TForm1::RegisterHandlers() {
    auto bind = [this](std::string_view name, std::function<void()> action) {
        RegisterMethod(std::string(name), [action = std::move(action)](TObject*) { action(); });
    };
    for (const TPageButton& row : kPageButtons)
        bind(std::string(row.Button) + "Click", [this, page = row.Page] { ShowPage(page); });
    for (const TToolRow& row : ToolRows())
        bind(std::string(row.Button) + "Click", [this, button = row.Button] { Launch(button); });
    for (const TViewRow& row : ViewRows())
        if (row.Button != "vicinorview")
            bind(std::string(row.Button) + "Click", [this, field = row.OutputField] { View(field); });
    for (const TBrowseRow& row : BrowseRows())
        bind(std::string(row.Button) + "Click",
             [this, dialog = DialogName(row.Dialog), field = row.Field] { Browse(dialog, field); });
    for (const TLinkRow& row : LinkRows())
        bind(std::string(row.Source) + "Change", [this, source = row.Source] { Propagate(source); });
    bind("sLabel36Click", [this] { OpenWebAddress(); });
    bind("sButton3Click", [this] { OpenWebAddress(); });
    bind("rootgenipChange", [this] { rootgenipChange(); });
    bind("rootgenbtnClick", [this] { rootgenbtnClick(); });
    bind("vicinorviewClick", [this] { vicinorviewClick(); });
}

void TForm1::ShowPage(std::string_view page) {
    for (const TPageButton& row : kPageButtons) Part<TControl>(row.Page).SetVisible(row.Page == page);
}

void TForm1::Launch(std::string_view button) {
    const bool stepThru = Part<TCheckBox>("vicinorstep").Checked();
    const TToolRow* row = ToolRowForButton(button, stepThru);
    if (!row) return;
    std::vector<std::string> texts;
    for (std::string_view field : row->Fields) texts.push_back(Part<TControl>(field).Text());
    ShellCall(Handle(), "open", std::string(row->Executable), JoinParameters(texts));
}

void TForm1::View(std::string_view outputField) {
    ShellCall(Handle(), "open", Part<TControl>(outputField).Text(), {});
}

void TForm1::Browse(std::string_view dialog, std::string_view field) {
    TOpenDialog& shared = Part<TOpenDialog>(dialog);
    ExecuteDialog(shared);
    // Confirmed or cancelled, the dialog's current file name fills the field.
    Part<TControl>(field).SetText(shared.FileName());
}

void TForm1::OpenWebAddress() { ShellCall(Handle(), "open", std::string(kMakerWebAddress), {}); }

void TForm1::Propagate(std::string_view source) {
    const TLinkRow* row = LinkRowFor(source);
    if (!row) return;
    TControl& from = Part<TControl>(source);
    // Each target reads the source afresh: an earlier target's propagation may have changed it.
    for (std::string_view target : row->Targets) Part<TControl>(target).SetText(from.Text());
}

void TForm1::rootgenipChange() { Part<TControl>("logo").Hide(); }

void TForm1::rootgenbtnClick() {
    Part<TControl>("count").SetText("");
    Part<TControl>("logo").Show();
    WriteTextFile(Part<TControl>("rootgenconfig").Text(), Part<TControl>("rootgenip").Text() + "\r\n");
    Part<TMemo>("Memo1").Lines().Clear();
}

void TForm1::vicinorviewClick() {
    Part<TControl>("count").SetText("");
    View("vicinoroutput");
    TMemo& memo = Part<TMemo>("Memo1");
    memo.Lines().LoadFromFile(Part<TControl>("vicinorconfig").Text());
    Part<TControl>("count").SetText(std::to_string(memo.Lines().Count()));
}

}  // namespace korvel
