#include "app/tool_table.h"

namespace korvel {
namespace {

const TToolRow kToolRows[] = {
    {"vicinorbtn", "c:\\korvel\\vicinor.exe", {"vicinorconfig", "vicinorsnmp", "vicinoroutput", "vicinorwildcard"}},
    {"vicinorbtn", "c:\\korvel\\vicinorSTEP.exe", {"vicinorconfig", "vicinorsnmp", "vicinoroutput"}},
    {"invettabtn", "c:\\korvel\\invetta.exe", {"invettaconfig", "invettasnmp", "invettaoutput", "invettawildcard"}},
    {"idlorabtn", "c:\\korvel\\idlora.exe",
     {"idloradays", "idloraconfig", "idlorasnmp", "idloraoutput", "idlorawildcard"}},
    {"hubriftbtn", "c:\\korvel\\hubrift.exe",
     {"hubriftvlan", "hubriftmacs", "hubriftconfig", "hubriftsnmp", "hubriftoutput", "hubriftwildcard"}},
    {"pullvanebtn", "c:\\korvel\\pullvane.exe", {"pullvaneconfig", "pullvanesnmp", "pullvanetftp", "pullvanetftpfolder"}},
    {"pushvanebtn", "c:\\korvel\\pushvane.exe", {"pushvaneconfig", "pushvanesnmp", "pushvanetftp", "pushvanechangefile"}},
    {"memlatchbtn", "c:\\korvel\\memlatch.exe", {"memlatchconfig", "memlatchsnmp"}},
    {"triquerybtn", "c:\\korvel\\triquery.exe",
     {"triqueryconfig", "triquerysnmp", "triqueryoutput", "triqueryt1", "triqueryo1", "triqueryt2", "triqueryo2",
      "triqueryt3", "triqueryo3"}},
};

const TViewRow kViewRows[] = {
    {"vicinorview", "vicinoroutput"},     {"invettaviewbtn", "invettaoutput"},   {"idloraviewbtn", "idloraoutput"},
    {"hubriftviewbtn", "hubriftoutput"},  {"triqueryviewbtn", "triqueryoutput"},
};

const TBrowseRow kBrowseRows[] = {
    {"dirrootgen", TBrowseDialog::Save1, "rootgenconfig"},
    {"vicinorconfigbtn", TBrowseDialog::Open1, "vicinorconfig"},
    {"vicinoroutputbtn", TBrowseDialog::Save2, "vicinoroutput"},
    {"invettaconfigbtn", TBrowseDialog::Open1, "invettaconfig"},
    {"invettaoutputbtn", TBrowseDialog::Save2, "invettaoutput"},
    {"idloraconfigbtn", TBrowseDialog::Open1, "idloraconfig"},
    {"idloraoutputbtn", TBrowseDialog::Save2, "idloraoutput"},
    {"sButton2", TBrowseDialog::Open1, "hubriftconfig"},
    {"sButton4", TBrowseDialog::Save2, "hubriftoutput"},
    {"pullvaneconfigbtn", TBrowseDialog::Open1, "pullvaneconfig"},
    {"pushvaneconfigbtn", TBrowseDialog::Open1, "pushvaneconfig"},
    {"memlatchconfigbtn", TBrowseDialog::Open1, "memlatchconfig"},
    {"triqueryconfigbtn", TBrowseDialog::Open1, "triqueryconfig"},
    {"triqueryoutputbtn", TBrowseDialog::Save2, "triqueryoutput"},
};

}  // namespace

const TToolRow& VicinorRow(bool stepThru) { return kToolRows[stepThru ? 1 : 0]; }

std::span<const TToolRow> ToolRows() { return kToolRows; }

const TToolRow* ToolRowForButton(std::string_view button, bool stepThru) {
    if (button == "vicinorbtn") return &VicinorRow(stepThru);
    for (const TToolRow& row : kToolRows)
        if (row.Button == button) return &row;
    return nullptr;
}

std::span<const TViewRow> ViewRows() { return kViewRows; }

std::span<const TBrowseRow> BrowseRows() { return kBrowseRows; }

std::string JoinParameters(const std::vector<std::string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) line += ' ';
        line += texts[i];
    }
    return line;
}

}  // namespace korvel
