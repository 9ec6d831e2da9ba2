// The launcher's tables, checked through their effect: parameter lines joined
// from the default texts, and the link table run under the change rule (an
// equal text raises nothing, a different one propagates depth first).
#include "app/link_table.h"
#include "app/tool_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

using namespace korvel;

namespace {

// Default field texts of the main window.
std::map<std::string, std::string> DefaultTexts() {
    return {
        {"rootgenconfig", "c:\\korvel\\config.cfg"}, {"vicinorconfig", "c:\\korvel\\config.cfg"},
        {"invettaconfig", "c:\\korvel\\config.cfg"}, {"idloraconfig", "c:\\korvel\\config.cfg"},
        {"hubriftconfig", "c:\\korvel\\config.cfg"}, {"pullvaneconfig", "c:\\korvel\\config.cfg"},
        {"pushvaneconfig", "c:\\korvel\\config.cfg"}, {"memlatchconfig", "c:\\korvel\\config.cfg"},
        {"triqueryconfig", "c:\\korvel\\config.cfg"}, {"config", "config"},
        {"vicinorsnmp", "vireon"}, {"invettasnmp", "vireon"}, {"idlorasnmp", "vireon"}, {"hubriftsnmp", "vireon"},
        {"triquerysnmp", "vireon"}, {"pullvanesnmp", "taskelm"}, {"pushvanesnmp", "taskelm"},
        {"memlatchsnmp", "taskelm"}, {"pullvanetftp", "10.5.5.17"}, {"pushvanetftp", "10.5.5.17"},
        {"vicinorwildcard", "#"}, {"invettawildcard", "#"}, {"idlorawildcard", "#"}, {"hubriftwildcard", "#"},
        {"wildcard", "wildcard"}, {"vicinoroutput", "c:\\korvel\\vicinor.html"},
        {"invettaoutput", "c:\\korvel\\invetta.html"}, {"idloraoutput", "c:\\korvel\\idlora.html"},
        {"hubriftoutput", "c:\\korvel\\hubrift.html"}, {"triqueryoutput", "c:\\korvel\\triquery.html"},
        {"idloradays", "15"}, {"hubriftvlan", "x"}, {"hubriftmacs", "1"}, {"pullvanetftpfolder", ""},
        {"pushvanechangefile", "router-config"}, {"triqueryt1", "Uptime"}, {"triqueryo1", ".1.3.6.1.2.1.1.3.0"},
        {"triqueryt2", ""}, {"triqueryo2", ""}, {"triqueryt3", ""}, {"triqueryo3", ""},
    };
}

// Fields under the change rule, recording every change event in order.
struct Fields {
    std::map<std::string, std::string> texts = DefaultTexts();
    std::vector<std::string> events;

    void Set(const std::string& name, const std::string& text) {
        if (texts.at(name) == text) return;
        texts[name] = text;
        events.push_back(name);
        if (const TLinkRow* row = LinkRowFor(name))
            for (std::string_view target : row->Targets) Set(std::string(target), texts.at(name));
    }
};

std::string LineFor(const std::map<std::string, std::string>& texts, const TToolRow& row) {
    std::vector<std::string> parts;
    for (std::string_view field : row.Fields) parts.push_back(texts.at(std::string(field)));
    return JoinParameters(parts);
}

}  // namespace

TEST(ToolTable, DefaultParameterLines) {
    const auto texts = DefaultTexts();
    struct Case { const char* button; bool step; const char* exe; const char* line; } cases[] = {
        {"vicinorbtn", false, "c:\\korvel\\vicinor.exe", "c:\\korvel\\config.cfg vireon c:\\korvel\\vicinor.html #"},
        {"vicinorbtn", true, "c:\\korvel\\vicinorSTEP.exe", "c:\\korvel\\config.cfg vireon c:\\korvel\\vicinor.html"},
        {"invettabtn", false, "c:\\korvel\\invetta.exe", "c:\\korvel\\config.cfg vireon c:\\korvel\\invetta.html #"},
        {"idlorabtn", false, "c:\\korvel\\idlora.exe", "15 c:\\korvel\\config.cfg vireon c:\\korvel\\idlora.html #"},
        {"hubriftbtn", false, "c:\\korvel\\hubrift.exe", "x 1 c:\\korvel\\config.cfg vireon c:\\korvel\\hubrift.html #"},
        {"pullvanebtn", false, "c:\\korvel\\pullvane.exe", "c:\\korvel\\config.cfg taskelm 10.5.5.17 "},
        {"pushvanebtn", false, "c:\\korvel\\pushvane.exe", "c:\\korvel\\config.cfg taskelm 10.5.5.17 router-config"},
        {"memlatchbtn", false, "c:\\korvel\\memlatch.exe", "c:\\korvel\\config.cfg taskelm"},
        {"triquerybtn", false, "c:\\korvel\\triquery.exe",
         "c:\\korvel\\config.cfg vireon c:\\korvel\\triquery.html Uptime .1.3.6.1.2.1.1.3.0    "},
    };
    for (const auto& c : cases) {
        const TToolRow* row = ToolRowForButton(c.button, c.step);
        ASSERT_NE(row, nullptr) << c.button;
        EXPECT_EQ(row->Executable, c.exe);
        EXPECT_EQ(LineFor(texts, *row), c.line) << c.button;
    }
    EXPECT_EQ(ToolRowForButton("nosuchbtn", false), nullptr);
}

TEST(ToolTable, JoinKeepsEveryFieldAsTyped) {
    EXPECT_EQ(JoinParameters({}), "");
    EXPECT_EQ(JoinParameters({""}), "");
    EXPECT_EQ(JoinParameters({"a", "", "b"}), "a  b");
    EXPECT_EQ(JoinParameters({"", "a"}), " a");
    EXPECT_EQ(JoinParameters({" padded ", "\"quoted\"", "c:\\with space\\x"}), " padded  \"quoted\" c:\\with space\\x");
    EXPECT_EQ(JoinParameters({"\xC3\xA9t\xC3\xA9", "\xE4\xB8\xAD"}), "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD");
}

TEST(ToolTable, BrowseAndViewRowsNameFieldsThatExist) {
    const auto texts = DefaultTexts();
    std::set<std::string_view> buttons;
    for (const TBrowseRow& row : BrowseRows()) {
        EXPECT_TRUE(texts.count(std::string(row.Field))) << row.Field;
        EXPECT_TRUE(buttons.insert(row.Button).second) << row.Button;
    }
    EXPECT_EQ(buttons.size(), 14u);
    EXPECT_EQ(ViewRows().size(), 5u);
    for (const TViewRow& row : ViewRows()) EXPECT_TRUE(texts.count(std::string(row.OutputField))) << row.OutputField;
}

TEST(LinkTable, ChangingAnyFieldOfAGroupMakesTheWholeGroupEqual) {
    for (const TLinkGroup& group : LinkGroups()) {
        std::vector<std::string_view> members = group.Fields;
        if (!group.Relay.empty()) members.push_back(group.Relay);
        for (std::string_view source : members) {
            Fields f;
            const auto before = f.texts;
            f.Set(std::string(source), "typed text");
            for (std::string_view member : members)
                EXPECT_EQ(f.texts[std::string(member)], "typed text") << group.Name << ": " << source << " -> " << member;
            // Nothing outside the group changed.
            for (const auto& [name, text] : before) {
                bool inGroup = false;
                for (std::string_view member : members) inGroup |= member == name;
                if (!inGroup) {
                    EXPECT_EQ(f.texts[name], text) << source << " touched " << name;
                }
            }
        }
    }
}

TEST(LinkTable, InvettaSnmpReachesTheOthersThroughTheHubAndIsNotSetAgain) {
    Fields f;
    f.Set("invettasnmp", "public2");
    std::vector<std::string> expected = {"invettasnmp", "vicinorsnmp", "idlorasnmp", "triquerysnmp", "hubriftsnmp"};
    EXPECT_EQ(f.events, expected);
}

TEST(LinkTable, ConfigTextEqualToTheRelaysInitialTextSpreadsNothing) {
    Fields f;
    f.Set("vicinorconfig", "config");
    EXPECT_EQ(f.events, std::vector<std::string>{"vicinorconfig"});
    EXPECT_EQ(f.texts["invettaconfig"], "c:\\korvel\\config.cfg");
    Fields w;
    w.Set("idlorawildcard", "wildcard");
    EXPECT_EQ(w.events, std::vector<std::string>{"idlorawildcard"});
    EXPECT_EQ(w.texts["vicinorwildcard"], "#");
}

TEST(LinkTable, InvettaConfigPropagatesDepthFirstInTableOrder) {
    Fields f;
    f.Set("invettaconfig", "T");
    std::vector<std::string> expected = {"invettaconfig", "config",        "vicinorconfig",  "pullvaneconfig",
                                         "hubriftconfig", "rootgenconfig", "triqueryconfig", "idloraconfig",
                                         "pushvaneconfig", "memlatchconfig"};
    EXPECT_EQ(f.events, expected);
}
