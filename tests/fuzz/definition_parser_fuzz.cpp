// Feeds the stored window definition's parser arbitrary text. A text it
// accepts must give a tree whose lines lie inside the text and follow file
// order, nest no deeper than the limit, and that reads back unchanged when
// written out again in the format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/definition_parser.h"

using namespace korvel;

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Lines: every value's line is after the previous one and within the text.
void CheckValue(const TDefinitionValue& value, int& last, int lineCount, int depth) {
    Check(value.Line > last && value.Line <= lineCount);
    last = value.Line;
    if (value.Kind != TDefinitionValueKind::Collection) return;
    Check(depth < MaxDefinitionDepth);
    for (const auto& item : value.CollectionItems)
        for (const auto& assignment : item) CheckValue(assignment.Value, last, lineCount, depth + 1);
}

void CheckObject(const TDefinitionObject& object, int& last, int lineCount, int depth) {
    Check(depth <= MaxDefinitionDepth);
    Check(object.Line > last && object.Line <= lineCount);
    Check(!object.Name.empty() && !object.ClassName.empty());
    last = object.Line;
    VisitInFileOrder(
        object, [&](const TDefinitionAssignment& property) { CheckValue(property.Value, last, lineCount, depth); },
        [&](const TDefinitionObject& child) { CheckObject(child, last, lineCount, depth + 1); });
}

// Writes a string so that the parser reads back the same bytes: quoted runs
// with quotes doubled, line breaks as character codes between them. It always
// starts with a quote: a line that starts with '#' is a comment.
void WriteString(std::string& out, const std::string& text) {
    out += '\'';
    bool open = true;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            if (open) out += '\'';
            open = false;
            out += "#" + std::to_string(static_cast<int>(c));
            continue;
        }
        if (!open) out += '\'';
        open = true;
        out += c == '\'' ? std::string("''") : std::string(1, c);
    }
    if (open) out += '\'';
}

void WriteAssignment(std::string& out, const TDefinitionAssignment& assignment);

void WriteValue(std::string& out, const TDefinitionValue& value) {
    switch (value.Kind) {
    case TDefinitionValueKind::Integer:    out += std::to_string(value.Integer) + "\n"; return;
    case TDefinitionValueKind::String:     WriteString(out, value.Text); out += "\n"; return;
    case TDefinitionValueKind::Identifier: out += value.Text + "\n"; return;
    case TDefinitionValueKind::Resource:   out += "resource "; WriteString(out, value.Text); out += "\n"; return;
    case TDefinitionValueKind::Set:
        out += "[";
        for (size_t i = 0; i < value.Items.size(); ++i) out += (i ? ", " : "") + value.Items[i];
        out += "]\n";
        return;
    case TDefinitionValueKind::StringList:
        out += "(\n";
        for (const auto& line : value.Items) {
            WriteString(out, line);
            out += "\n";
        }
        out += ")\n";
        return;
    case TDefinitionValueKind::Collection:
        out += "<\n";
        for (const auto& item : value.CollectionItems) {
            out += "item\n";
            for (const auto& assignment : item) WriteAssignment(out, assignment);
            out += "end\n";
        }
        out += ">\n";
        return;
    }
}

void WriteAssignment(std::string& out, const TDefinitionAssignment& assignment) {
    out += assignment.Name + " = ";
    WriteValue(out, assignment.Value);
}

void WriteObject(std::string& out, const TDefinitionObject& object) {
    out += "object " + object.Name + ": " + object.ClassName + "\n";
    VisitInFileOrder(
        object, [&](const TDefinitionAssignment& property) { WriteAssignment(out, property); },
        [&](const TDefinitionObject& child) { WriteObject(out, child); });
    out += "end\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int lineCount = 1;
    for (char c : text) lineCount += c == '\n';
    TDefinitionObject root;
    try {
        root = ParseDefinition(text);
    } catch (const EDefinitionError& e) {
        Check(e.Line() >= 1 && e.Line() <= lineCount);
        return 0;
    }
    int last = 0;
    CheckObject(root, last, lineCount, 1);

    std::string written;
    WriteObject(written, root);
    TDefinitionObject again = ParseDefinition(written);   // throws (and fails) if the writer and parser disagree
    std::string rewritten;
    WriteObject(rewritten, again);
    Check(rewritten == written);
    return 0;
}
