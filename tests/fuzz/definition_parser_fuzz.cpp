// Feeds the stored window definition's parser arbitrary text. A text it
// accepts must give a tree whose lines lie inside the text and follow file
// order, nest no deeper than the limit, and that reads back unchanged when
// written out again in the format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gui/definition_parser.h"
#include "gui/definition_writer.h"

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

    const std::string written = WriteDefinition(root);
    TDefinitionObject again = ParseDefinition(written);   // throws (and fails) if the writer and parser disagree
    Check(WriteDefinition(again) == written);
    return 0;
}
