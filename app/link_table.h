#pragma once
// Fields that several tools share are kept equal: each source field's change
// event sets the listed targets, in order, to its current text. The wiring is
// deliberately uneven (hubriftconfig reaches the relay through rootgenconfig);
// the change rule (an equal text raises nothing) ends every cycle.
#include <span>
#include <string_view>
#include <vector>

namespace korvel {

struct TLinkRow {
    std::string_view Source;
    std::vector<std::string_view> Targets;
};

std::span<const TLinkRow> LinkRows();
const TLinkRow* LinkRowFor(std::string_view source);

// The link groups, for tests and for the probe of equal fields.
struct TLinkGroup {
    std::string_view Name;
    std::vector<std::string_view> Fields;
    std::string_view Relay;   // empty when the group has none
};
std::span<const TLinkGroup> LinkGroups();

}  // namespace korvel
