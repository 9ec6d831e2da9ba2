#pragma once
// Parses the text of a stored window definition (the format is described in
// gui/README.md) into a tree of objects and their property values, creating
// nothing. Platform-free: the reader (gui/definition_reader.h) applies the
// tree to components through the class registry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gui/exceptions.h"

namespace korvel {

// Objects and collections nest at most this deep (the root object is level 1);
// deeper text is a definition error naming the line that opens the extra level.
constexpr int MaxDefinitionDepth = 64;

enum class TDefinitionValueKind { Integer, String, Identifier, Set, StringList, Resource, Collection };

struct TDefinitionAssignment;

// One property value as the text writes it.
struct TDefinitionValue {
    TDefinitionValueKind Kind = TDefinitionValueKind::Integer;
    // Decimal in the 32-bit range, or hexadecimal covering the full 32-bit
    // pattern ($FFFFFFFF reads as -1).
    std::int32_t Integer = 0;
    std::string Text;                 // String (UTF-8), Identifier, Resource (the resource name)
    std::vector<std::string> Items;   // Set members, StringList lines
    // Collection: one list of assignments per item, in file order.
    std::vector<std::vector<TDefinitionAssignment>> CollectionItems;
    int Line = 0;                     // where the value starts: the line of its assignment
};

struct TDefinitionAssignment {
    std::string Name;                 // may be dotted: Font.Height
    TDefinitionValue Value;
};

// "object Name: ClassName" ... "end". Properties and Children each keep file
// order; where they interleave, their lines tell which came first.
struct TDefinitionObject {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TDefinitionAssignment> Properties;
    std::vector<TDefinitionObject> Children;
};

// Calls onProperty(const TDefinitionAssignment&) and onChild(const
// TDefinitionObject&) for the object's assignments and children in the order
// the text has them.
template <class P, class C>
void VisitInFileOrder(const TDefinitionObject& object, P&& onProperty, C&& onChild) {
    auto property = object.Properties.begin();
    auto child = object.Children.begin();
    while (property != object.Properties.end() || child != object.Children.end()) {
        if (child == object.Children.end() ||
            (property != object.Properties.end() && property->Value.Line < child->Line))
            onProperty(*property++);
        else
            onChild(*child++);
    }
}

// The root object of the text. Throws EDefinitionError naming the line of the
// first malformed statement, of an object or collection that is never closed
// (the last line), of text after the root's 'end', or line 1 for a text with
// nothing but blanks. A UTF-8 byte order mark at the very start is skipped.
TDefinitionObject ParseDefinition(std::string_view text);

}  // namespace korvel
