#include "gui/definition_reader.h"

#include <cctype>
#include <climits>
#include <vector>

#include "gui/class_registry.h"
#include "gui/control.h"
#include "gui/exceptions.h"
#include "gui/text.h"
#include "gui/win_control.h"

namespace korvel {
namespace {

struct TLine {
    int Number;
    std::string Text;   // without indentation or trailing blanks
};

std::vector<TLine> SplitDefinition(const std::string& text) {
    std::vector<TLine> lines;
    size_t start = 0;
    int number = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        ++number;
        size_t first = line.find_first_not_of(" \t\r");
        size_t last = line.find_last_not_of(" \t\r");
        line = first == std::string::npos ? std::string() : line.substr(first, last - first + 1);
        if (!line.empty() && line[0] != '#' && line.rfind("//", 0) != 0) lines.push_back({number, line});
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

// Decimal, or hexadecimal after '$' covering the full 32-bit pattern (colours).
int ParseInteger(const std::string& text) {
    auto fail = [&]() -> int { throw EConvertError(FormatText("'%s' is not a valid integer value", {text})); };
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') { base = 16; ++i; }
    else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) { base = 16; i += 2; }
    if (i >= text.size()) return fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return fail();
        value = value * base + digit;
        // Hexadecimal covers the full 32-bit pattern (colours such as $FF00FF00).
        long long limit = base == 16 ? 0xFFFFFFFFLL : (negative ? -static_cast<long long>(INT_MIN) : INT_MAX);
        if (value > limit) return fail();
    }
    if (base == 16) return static_cast<int>(static_cast<unsigned>(negative ? -value : value));
    return static_cast<int>(negative ? -value : value);
}

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

// A cursor over one line's text.
class TScanner {
public:
    TScanner(const TLine& line) : line_(line) {}
    bool AtEnd() { SkipBlanks(); return pos_ >= line_.Text.size(); }
    char Peek() { SkipBlanks(); return pos_ < line_.Text.size() ? line_.Text[pos_] : '\0'; }
    bool Accept(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    void Expect(char c) {
        if (!Accept(c)) Fail(FormatText("'%s' expected", {std::string(1, c)}));
    }
    std::string Name() {
        SkipBlanks();
        if (pos_ >= line_.Text.size() || !IsNameStart(line_.Text[pos_])) Fail("a name is expected");
        size_t start = pos_;
        while (pos_ < line_.Text.size() && IsNameChar(line_.Text[pos_])) ++pos_;
        return line_.Text.substr(start, pos_ - start);
    }
    // 'text' pieces and #nn character codes, joined directly or with '+'.
    std::string String() {
        std::string out;
        bool any = false;
        for (;;) {
            char c = Peek();
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= line_.Text.size()) Fail("unterminated string");
                    char d = line_.Text[pos_++];
                    if (d == '\'') {
                        if (pos_ < line_.Text.size() && line_.Text[pos_] == '\'') { out += '\''; ++pos_; continue; }
                        break;
                    }
                    out += d;
                }
            } else if (c == '#') {
                ++pos_;
                size_t start = pos_;
                while (pos_ < line_.Text.size() && std::isdigit(static_cast<unsigned char>(line_.Text[pos_]))) ++pos_;
                if (start == pos_ || pos_ - start > 7) Fail("a character code is expected after #");
                unsigned long code = std::stoul(line_.Text.substr(start, pos_ - start));
                if (code > 0x10FFFF) Fail("character code out of range");
                wchar_t wide[2];
                int n = 1;
                if (code >= 0x10000) {
                    wide[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
                    wide[1] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
                    n = 2;
                } else {
                    wide[0] = static_cast<wchar_t>(code);
                }
                out += Narrow(std::wstring_view(wide, static_cast<size_t>(n)));
            } else if (any && c == '+') {
                ++pos_;
                if (Peek() != '\'' && Peek() != '#') Fail("a string is expected after +");
                continue;
            } else {
                break;
            }
            any = true;
        }
        if (!any) Fail("a string is expected");
        return out;
    }
    long long Integer() {
        SkipBlanks();
        size_t start = pos_;
        if (pos_ < line_.Text.size() && (line_.Text[pos_] == '-' || line_.Text[pos_] == '+')) ++pos_;
        if (pos_ < line_.Text.size() && line_.Text[pos_] == '$') ++pos_;
        while (pos_ < line_.Text.size() && std::isxdigit(static_cast<unsigned char>(line_.Text[pos_]))) ++pos_;
        try {
            return ParseInteger(line_.Text.substr(start, pos_ - start));
        } catch (const EConvertError& e) {
            Fail(e.what());
        }
    }
    void ExpectEnd() {
        if (!AtEnd()) Fail(FormatText("unexpected text '%s'", {line_.Text.substr(pos_)}));
    }
    [[noreturn]] void Fail(const std::string& problem) { throw EDefinitionError(line_.Number, problem); }

private:
    void SkipBlanks() {
        while (pos_ < line_.Text.size() && (line_.Text[pos_] == ' ' || line_.Text[pos_] == '\t')) ++pos_;
    }
    const TLine& line_;
    size_t pos_ = 0;
};

class TReader {
public:
    TReader(TComponent& root, const std::string& text, HMODULE module)
        : root_(root), lines_(SplitDefinition(text)), context_(root, module) {}

    void Read() {
        if (lines_.empty()) throw EDefinitionError(1, "the definition is empty");
        root_.SetLoading();
        ReadObject(&root_, nullptr);
        if (index_ < lines_.size()) throw EDefinitionError(lines_[index_].Number, "text after the last 'end'");
        context_.ResolveReferences();
        for (TComponent* c : created_) c->EndReading();
        root_.EndReading();
        for (TComponent* c : created_) c->Loaded();
        root_.Loaded();
    }

private:
    const TLine& Current() {
        if (index_ >= lines_.size()) {
            int last = lines_.empty() ? 1 : lines_.back().Number;
            throw EDefinitionError(last, "'end' expected before the end of the definition");
        }
        return lines_[index_];
    }

    // "object Name: Class" ... "end". Root is the component to read into, or
    // nullptr to create one owned by the root with Parent as its parent.
    void ReadObject(TComponent* target, TComponent* parent) {
        const TLine& header = Current();
        TScanner scan(header);
        if (scan.Name() != "object") scan.Fail("'object Name: Class' expected");
        std::string name = scan.Name();
        scan.Expect(':');
        std::string className = scan.Name();
        scan.ExpectEnd();
        ++index_;

        auto& registry = TClassRegistry::Instance();
        const TClassInfo* info = nullptr;
        if (target) {
            info = registry.InfoFor(*target);
            if (!info) scan.Fail(FormatText("class %s is not registered", {className}));
            if (className != target->ClassName() && className != info->Name)
                scan.Fail(FormatText("the root is a %s, not a %s", {target->ClassName(), className}));
            Assign(scan, [&] { target->SetName(name); });
        } else {
            info = registry.Find(className);
            if (!info || !info->Factory) scan.Fail(FormatText("unknown class %s", {className}));
            target = info->Factory(&root_);
            target->SetLoading();
            created_.push_back(target);
            Assign(scan, [&] { target->SetName(name); });
            if (auto* control = dynamic_cast<TControl*>(target); control && parent) {
                auto* container = dynamic_cast<TWinControl*>(parent);
                if (!container) scan.Fail(FormatText("%s cannot hold the control %s", {parent->Name(), name}));
                control->SetParent(container);
            }
        }

        for (;;) {
            const TLine& line = Current();
            if (line.Text == "end") {
                ++index_;
                return;
            }
            if (line.Text.rfind("object ", 0) == 0) {
                ReadObject(nullptr, target);
                continue;
            }
            ReadProperty(*target, *info);
        }
    }

    // "Name = value" (with multi-line values for string lists and collections).
    void ReadProperty(TComponent& target, const TClassInfo& info) {
        const TLine& line = Current();
        TScanner scan(line);
        std::string property = scan.Name();
        scan.Expect('=');
        const TPropertySetter* setter = TClassRegistry::Instance().FindProperty(info, property);
        if (!setter) scan.Fail(FormatText("unknown property %s of %s", {property, target.ClassName()}));
        TValue value = ReadValue(scan, line);
        Assign(scan, [&] { (*setter)(target, value, context_); });
    }

    TValue ReadValue(TScanner& scan, const TLine& line) {
        TValue value;
        value.Line = line.Number;
        char c = scan.Peek();
        if (c == '(' || c == '<') {
            scan.Expect(c);
            scan.ExpectEnd();
            ++index_;
            return c == '(' ? ReadStringList(value) : ReadCollection(value);
        }
        if (c == '\'' || c == '#') {
            value.Kind = TValueKind::String;
            value.Text = scan.String();
        } else if (c == '[') {
            value.Kind = TValueKind::Set;
            scan.Expect('[');
            if (!scan.Accept(']')) {
                do value.Items.push_back(scan.Name());
                while (scan.Accept(','));
                scan.Expect(']');
            }
        } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
            value.Kind = TValueKind::Integer;
            value.Integer = scan.Integer();
        } else if (IsNameStart(c)) {
            value.Text = scan.Name();
            value.Kind = TValueKind::Identifier;
            if (value.Text == "resource") {
                value.Kind = TValueKind::Resource;
                value.Text = scan.String();
            }
        } else {
            scan.Fail("a value is expected");
        }
        scan.ExpectEnd();
        ++index_;
        return value;
    }

    TValue& ReadStringList(TValue& value) {
        value.Kind = TValueKind::StringList;
        for (;;) {
            const TLine& line = Current();
            TScanner scan(line);
            ++index_;
            if (scan.Accept(')')) {
                scan.ExpectEnd();
                return value;
            }
            value.Items.push_back(scan.String());
            scan.ExpectEnd();
        }
    }

    TValue& ReadCollection(TValue& value) {
        value.Kind = TValueKind::Collection;
        for (;;) {
            const TLine& line = Current();
            TScanner scan(line);
            if (scan.Accept('>')) {
                scan.ExpectEnd();
                ++index_;
                return value;
            }
            if (scan.Name() != "item") scan.Fail("'item' or '>' expected");
            scan.ExpectEnd();
            ++index_;
            auto& item = value.CollectionItems.emplace_back();
            for (;;) {
                const TLine& inner = Current();
                if (inner.Text == "end") {
                    ++index_;
                    break;
                }
                TScanner innerScan(inner);
                std::string name = innerScan.Name();
                innerScan.Expect('=');
                item.push_back({name, ReadValue(innerScan, inner)});
            }
        }
    }

    // Runs a setter; whatever it throws is reported with the line it came from.
    template <class F>
    void Assign(TScanner& scan, F&& apply) {
        try {
            apply();
        } catch (const EDefinitionError&) {
            throw;
        } catch (const std::exception& e) {
            scan.Fail(e.what());
        }
    }

    TComponent& root_;
    std::vector<TLine> lines_;
    size_t index_ = 0;
    TReadContext context_;
    std::vector<TComponent*> created_;
};

}  // namespace

void ReadComponentDefinition(TComponent& root, const std::string& text, HMODULE module) {
    RegisterFrameworkClasses();
    TReader reader(root, text, module ? module : GetModuleHandleW(nullptr));
    reader.Read();
}

}  // namespace korvel
