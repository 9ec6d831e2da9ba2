#include "gui/definition_parser.h"

#include <cctype>
#include <climits>
#include <optional>
#include <utility>

namespace korvel {
namespace {

struct TLine {
    int Number;
    std::string Text;   // without indentation or trailing blanks
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Whether a line ends in '+' outside a quoted run: its string goes on.
bool EndsInJoin(std::string_view line) {
    bool quoted = false;
    for (char c : line) quoted = quoted != (c == '\'');
    return !quoted && !line.empty() && line.back() == '+';
}

bool StartsString(std::string_view line) { return !line.empty() && (line.front() == '\'' || line.front() == '#'); }

// The statement lines: blank lines are dropped, each kept line remembers its
// 1-based number. There are no comments: a line of a string list may start
// with a character code ('#9'...'). A string whose line ends in '+' goes on
// with the next line when that starts with a piece (a long text stored as
// lines of readable length); the joined line keeps the first one's number.
// A UTF-8 byte order mark at the very start is skipped.
std::vector<TLine> SplitDefinition(std::string_view text) {
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom) text.remove_prefix(bom.size());
    std::vector<TLine> lines;
    size_t start = 0;
    int number = 0;
    bool joining = false;
    for (;;) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (number == INT_MAX) throw EDefinitionError(number, "the definition has too many lines");
        ++number;
        std::string_view line = text.substr(start, end - start);
        while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
        if (!line.empty()) {
            // The part joined so far ends outside quotes, so the new piece alone tells whether it goes on.
            if (joining && StartsString(line)) lines.back().Text.append(" ").append(line);
            else lines.push_back({number, std::string(line)});
            joining = EndsInJoin(line);
        }
        if (end == text.size()) break;
        start = end + 1;
    }
    return lines;
}

// Decimal, or hexadecimal after '$' covering the full 32-bit pattern (colours).
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') { base = 16; ++i; }
    if (i >= text.size()) return std::nullopt;
    const long long limit = base == 16 ? 0xFFFFFFFFLL : (negative ? -static_cast<long long>(INT_MIN) : INT_MAX);
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * base + digit;   // never overflows: stops at the first digit past the limit
        if (value > limit) return std::nullopt;
    }
    if (base == 16) return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? -value : value));
    return static_cast<std::int32_t>(negative ? -value : value);
}

// A character code as UTF-8. Codes of the UTF-16 surrogate range are no
// characters and read as U+FFFD, one each.
void AppendUtf8(std::string& out, unsigned long code) {
    if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

std::string Quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    out += text;
    out += '\'';
    return out;
}

// A cursor over one line's text.
class TScanner {
public:
    explicit TScanner(const TLine& line) : line_(line), text_(line.Text) {}
    bool AtEnd() { SkipBlanks(); return pos_ >= text_.size(); }
    char Peek() { SkipBlanks(); return pos_ < text_.size() ? text_[pos_] : '\0'; }
    bool Accept(char c) {
        if (Peek() != c) return false;
        ++pos_;
        return true;
    }
    void Expect(char c) {
        if (!Accept(c)) Fail(Quoted(std::string_view(&c, 1)) + " expected");
    }
    std::string Name() {
        SkipBlanks();
        if (pos_ >= text_.size() || !IsNameStart(text_[pos_])) Fail("a name is expected");
        size_t start = pos_;
        while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
        return std::string(text_.substr(start, pos_ - start));
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
                    if (pos_ >= text_.size()) Fail("unterminated string");
                    char d = text_[pos_++];
                    if (d == '\'') {
                        if (pos_ < text_.size() && text_[pos_] == '\'') { out += '\''; ++pos_; continue; }
                        break;
                    }
                    out += d;
                }
            } else if (c == '#') {
                ++pos_;
                size_t start = pos_;
                while (pos_ < text_.size() && IsDigit(text_[pos_]) && pos_ - start <= 7) ++pos_;
                if (start == pos_ || pos_ - start > 7) Fail("a character code is expected after #");
                unsigned long code = 0;
                for (size_t i = start; i < pos_; ++i) code = code * 10 + static_cast<unsigned long>(text_[i] - '0');
                if (code > 0x10FFFF) Fail("character code out of range");
                AppendUtf8(out, code);
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
    // Whether the line is "object Name: Class": the word object, then another
    // name. "object = 1" assigns a property of that name.
    bool AtObjectHeader() {
        SkipBlanks();
        const size_t start = pos_;
        bool header = false;
        if (pos_ < text_.size() && IsNameStart(text_[pos_]) && Name() == "object") header = IsNameStart(Peek());
        pos_ = start;
        return header;
    }
    std::int32_t Integer() {
        SkipBlanks();
        size_t start = pos_;
        if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '$') ++pos_;
        while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        std::string_view digits = text_.substr(start, pos_ - start);
        std::optional<std::int32_t> value = ParseInteger(digits);
        if (!value) Fail(Quoted(digits) + " is not a valid integer value");
        return *value;
    }
    void ExpectEnd() {
        if (!AtEnd()) Fail("unexpected text " + Quoted(text_.substr(pos_)));
    }
    [[noreturn]] void Fail(const std::string& problem) const { throw EDefinitionError(line_.Number, problem); }

private:
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    const TLine& line_;
    std::string_view text_;
    size_t pos_ = 0;
};

class TParser {
public:
    explicit TParser(std::string_view text) : lines_(SplitDefinition(text)) {}

    TDefinitionObject Parse() {
        if (lines_.empty()) throw EDefinitionError(1, "the definition is empty");
        TDefinitionObject root = ReadObject(1);
        if (index_ < lines_.size()) throw EDefinitionError(lines_[index_].Number, "text after the last 'end'");
        return root;
    }

private:
    const TLine& Current() const {
        if (index_ >= lines_.size())
            throw EDefinitionError(lines_.back().Number, "'end' expected before the end of the definition");
        return lines_[index_];
    }

    static void CheckDepth(const TScanner& scan, int depth) {
        if (depth > MaxDefinitionDepth)
            scan.Fail("objects and collections nest deeper than " + std::to_string(MaxDefinitionDepth) + " levels");
    }

    // "object Name: Class", its assignments and child objects, "end".
    TDefinitionObject ReadObject(int depth) {
        const TLine& header = Current();
        TScanner scan(header);
        if (!scan.AtObjectHeader()) scan.Fail("'object Name: Class' expected");
        scan.Name();
        TDefinitionObject node;
        node.Line = header.Number;
        node.Name = scan.Name();
        scan.Expect(':');
        node.ClassName = scan.Name();
        scan.ExpectEnd();
        CheckDepth(scan, depth);
        ++index_;
        for (;;) {
            const TLine& line = Current();
            if (line.Text == "end") {
                ++index_;
                return node;
            }
            if (TScanner(line).AtObjectHeader()) node.Children.push_back(ReadObject(depth + 1));
            else node.Properties.push_back(ReadAssignment(depth));
        }
    }

    // "Name = value" (with multi-line values for string lists and collections).
    TDefinitionAssignment ReadAssignment(int depth) {
        const TLine& line = Current();
        TScanner scan(line);
        TDefinitionAssignment assignment;
        assignment.Name = scan.Name();
        scan.Expect('=');
        assignment.Value = ReadValue(scan, line, depth);
        return assignment;
    }

    TDefinitionValue ReadValue(TScanner& scan, const TLine& line, int depth) {
        TDefinitionValue value;
        value.Line = line.Number;
        char c = scan.Peek();
        if (c == '(' || c == '<') {
            scan.Expect(c);
            scan.ExpectEnd();
            if (c == '<') CheckDepth(scan, depth + 1);
            ++index_;
            if (c == '(') ReadStringList(value);
            else ReadCollection(value, depth + 1);
            return value;
        }
        if (c == '\'' || c == '#') {
            value.Kind = TDefinitionValueKind::String;
            value.Text = scan.String();
        } else if (c == '[') {
            value.Kind = TDefinitionValueKind::Set;
            scan.Expect('[');
            if (!scan.Accept(']')) {
                do value.Items.push_back(scan.Name());
                while (scan.Accept(','));
                scan.Expect(']');
            }
        } else if (c == '-' || c == '+' || c == '$' || IsDigit(c)) {
            value.Kind = TDefinitionValueKind::Integer;
            value.Integer = scan.Integer();
        } else if (IsNameStart(c)) {
            value.Kind = TDefinitionValueKind::Identifier;
            value.Text = scan.Name();
            if (value.Text == "resource") {
                value.Kind = TDefinitionValueKind::Resource;
                value.Text = scan.String();
            }
        } else {
            scan.Fail("a value is expected");
        }
        scan.ExpectEnd();
        ++index_;
        return value;
    }

    // One string per line up to ")".
    void ReadStringList(TDefinitionValue& value) {
        value.Kind = TDefinitionValueKind::StringList;
        for (;;) {
            TScanner scan(Current());
            ++index_;
            if (scan.Accept(')')) {
                scan.ExpectEnd();
                return;
            }
            value.Items.push_back(scan.String());
            scan.ExpectEnd();
        }
    }

    // "item" ... "end" blocks of assignments up to ">".
    void ReadCollection(TDefinitionValue& value, int depth) {
        value.Kind = TDefinitionValueKind::Collection;
        for (;;) {
            TScanner scan(Current());
            if (scan.Accept('>')) {
                scan.ExpectEnd();
                ++index_;
                return;
            }
            if (scan.Name() != "item") scan.Fail("'item' or '>' expected");
            scan.ExpectEnd();
            ++index_;
            auto& item = value.CollectionItems.emplace_back();
            while (Current().Text != "end") item.push_back(ReadAssignment(depth));
            ++index_;
        }
    }

    std::vector<TLine> lines_;
    size_t index_ = 0;
};

}  // namespace

TDefinitionObject ParseDefinition(std::string_view text) {
    return TParser(text).Parse();
}

}  // namespace korvel
