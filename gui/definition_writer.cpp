#include "gui/definition_writer.h"

namespace korvel {
namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

class TWriter {
public:
    std::string Text;

    void Object(const TDefinitionObject& object, int level) {
        Line(level, "object " + object.Name + ": " + object.ClassName);
        VisitInFileOrder(
            object, [&](const TDefinitionAssignment& property) { Assignment(property, level + 1); },
            [&](const TDefinitionObject& child) { Object(child, level + 1); });
        Line(level, "end");
    }

private:
    void Line(int level, const std::string& text) {
        Text.append(static_cast<size_t>(level) * 2, ' ');
        Text += text;
        Text += '\n';
    }

    void Assignment(const TDefinitionAssignment& assignment, int level) {
        const TDefinitionValue& value = assignment.Value;
        const std::string head = assignment.Name + " = ";
        switch (value.Kind) {
        case TDefinitionValueKind::Integer:    return Line(level, head + std::to_string(value.Integer));
        case TDefinitionValueKind::String:     return Line(level, head + DefinitionStringLiteral(value.Text));
        case TDefinitionValueKind::Identifier: return Line(level, head + value.Text);
        case TDefinitionValueKind::Resource:
            return Line(level, head + "resource " + DefinitionStringLiteral(value.Text));
        case TDefinitionValueKind::Set: {
            std::string members;
            for (size_t i = 0; i < value.Items.size(); ++i) members += (i ? ", " : "") + value.Items[i];
            return Line(level, head + "[" + members + "]");
        }
        case TDefinitionValueKind::StringList:
            Line(level, head + "(");
            for (const std::string& item : value.Items) Line(level + 1, DefinitionStringLiteral(item));
            return Line(level, ")");
        case TDefinitionValueKind::Collection:
            Line(level, head + "<");
            for (const auto& item : value.CollectionItems) {
                Line(level + 1, "item");
                for (const auto& inner : item) Assignment(inner, level + 2);
                Line(level + 1, "end");
            }
            return Line(level, ">");
        }
    }
};

}  // namespace

std::string DefinitionStringLiteral(const std::string& text) {
    if (text.empty()) return "''";
    std::string out;
    bool open = false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControl(byte)) {
            if (open) out += '\'';
            open = false;
            out += '#' + std::to_string(byte);
            continue;
        }
        if (!open) out += '\'';
        open = true;
        out += c;
        if (c == '\'') out += '\'';
    }
    if (open) out += '\'';
    return out;
}

std::string WriteDefinition(const TDefinitionObject& root) {
    TWriter writer;
    writer.Object(root, 0);
    return writer.Text;
}

}  // namespace korvel
