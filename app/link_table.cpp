#include "app/link_table.h"

namespace korvel {
namespace {

const TLinkRow kLinkRows[] = {
    {"rootgenconfig", {"config"}},
    {"vicinorconfig", {"config"}},
    {"invettaconfig", {"config"}},
    {"idloraconfig", {"config"}},
    {"pullvaneconfig", {"config"}},
    {"pushvaneconfig", {"config"}},
    {"memlatchconfig", {"config"}},
    {"triqueryconfig", {"config"}},
    {"hubriftconfig", {"rootgenconfig"}},
    {"config",
     {"vicinorconfig", "pullvaneconfig", "hubriftconfig", "triqueryconfig", "idloraconfig", "pushvaneconfig",
      "invettaconfig", "memlatchconfig"}},
    {"vicinorsnmp", {"invettasnmp", "idlorasnmp", "triquerysnmp", "hubriftsnmp"}},
    {"invettasnmp", {"vicinorsnmp"}},
    {"idlorasnmp", {"vicinorsnmp"}},
    {"triquerysnmp", {"vicinorsnmp"}},
    {"hubriftsnmp", {"vicinorsnmp"}},
    {"pullvanesnmp", {"pushvanesnmp", "memlatchsnmp"}},
    {"pushvanesnmp", {"pullvanesnmp"}},
    {"memlatchsnmp", {"pullvanesnmp"}},
    {"pullvanetftp", {"pushvanetftp"}},
    {"pushvanetftp", {"pullvanetftp"}},
    {"vicinorwildcard", {"wildcard"}},
    {"invettawildcard", {"wildcard"}},
    {"idlorawildcard", {"wildcard"}},
    {"hubriftwildcard", {"wildcard"}},
    {"wildcard", {"vicinorwildcard", "invettawildcard", "idlorawildcard", "hubriftwildcard"}},
};

const TLinkGroup kLinkGroups[] = {
    {"config file",
     {"rootgenconfig", "vicinorconfig", "invettaconfig", "idloraconfig", "hubriftconfig", "pullvaneconfig",
      "pushvaneconfig", "memlatchconfig", "triqueryconfig"},
     "config"},
    {"read community", {"vicinorsnmp", "invettasnmp", "idlorasnmp", "hubriftsnmp", "triquerysnmp"}, ""},
    {"write community", {"pullvanesnmp", "pushvanesnmp", "memlatchsnmp"}, ""},
    {"TFTP server", {"pullvanetftp", "pushvanetftp"}, ""},
    {"wildcard skip", {"vicinorwildcard", "invettawildcard", "idlorawildcard", "hubriftwildcard"}, "wildcard"},
};

}  // namespace

std::span<const TLinkRow> LinkRows() { return kLinkRows; }

const TLinkRow* LinkRowFor(std::string_view source) {
    for (const TLinkRow& row : kLinkRows)
        if (row.Source == source) return &row;
    return nullptr;
}

std::span<const TLinkGroup> LinkGroups() { return kLinkGroups; }

}  // namespace korvel
