#pragma once
// The launcher's tables: which fields make up each tool's parameter line, which
// output field each View button opens, and which dialog each browse button shows.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct TToolRow {
    std::string_view Button;       // launch button
    std::string_view Executable;   // started with the verb "open"
    std::vector<std::string_view> Fields;   // their texts, joined by single spaces
};

// Vicinor has two rows: the "Step Thru" box picks the second.
const TToolRow& VicinorRow(bool stepThru);
// Every launch button's row (Vicinor unchecked first, then the Step Thru row, then the rest).
std::span<const TToolRow> ToolRows();
const TToolRow* ToolRowForButton(std::string_view button, bool stepThru);

struct TViewRow {
    std::string_view Button;
    std::string_view OutputField;
};
std::span<const TViewRow> ViewRows();

enum class TBrowseDialog { Open1, Save1, Save2 };
struct TBrowseRow {
    std::string_view Button;
    TBrowseDialog Dialog;
    std::string_view Field;
};
std::span<const TBrowseRow> BrowseRows();

// Joins the texts with exactly one space between neighbours: no quoting, no
// trimming; an empty text still takes its place.
std::string JoinParameters(const std::vector<std::string>& texts);

}  // namespace korvel
