// The stored window definition's text as a tree: objects, every kind of
// value, line numbers, malformed text by line, nesting and size limits; and
// the writer, whose text reads back as the same tree.
#include "gui/definition_parser.h"
#include "gui/definition_writer.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace korvel {
namespace {

using Kind = TDefinitionValueKind;

const char kDefinition[] = R"(
object Form1: TForm1
  Left = 200
  Caption = 'Korvel Pro '#50'007.1'
  Font.Height = -11
  BorderIcons = [biSystemMenu, biMinimize]
  Color = clBtnFace

  Icon = resource 'MAINICON'

  object pnl: TPanel
    Tag = $FF00FF
    object memo: TMemo
      Lines = (
        'first'
        'it''s' + ' joined'
        ''
      )
    end
  end
  Hint = 'after the panel'
  object Provider: TSomething
    Buttons = <
      item
        Width = 10
        Styles = []
      end
      item
        Inner = <
          item
            Name = 'deep'
          end
        >
      end
    >
  end
end
)";

TEST(DefinitionParser, BuildsTheTreeWithEveryValueKindAndItsLines) {
    TDefinitionObject root = ParseDefinition(kDefinition);
    EXPECT_EQ(root.Name, "Form1");
    EXPECT_EQ(root.ClassName, "TForm1");
    EXPECT_EQ(root.Line, 2);

    struct {
        const char* name;
        Kind kind;
        int line;
        std::int32_t integer;
        const char* text;
    } expected[] = {
        {"Left", Kind::Integer, 3, 200, ""},
        {"Caption", Kind::String, 4, 0, "Korvel Pro 2007.1"},
        {"Font.Height", Kind::Integer, 5, -11, ""},
        {"BorderIcons", Kind::Set, 6, 0, ""},
        {"Color", Kind::Identifier, 7, 0, "clBtnFace"},
        {"Icon", Kind::Resource, 9, 0, "MAINICON"},
        {"Hint", Kind::String, 21, 0, "after the panel"},
    };
    ASSERT_EQ(root.Properties.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const TDefinitionAssignment& a = root.Properties[i];
        EXPECT_EQ(a.Name, expected[i].name);
        EXPECT_EQ(a.Value.Kind, expected[i].kind) << a.Name;
        EXPECT_EQ(a.Value.Line, expected[i].line) << a.Name;
        EXPECT_EQ(a.Value.Integer, expected[i].integer) << a.Name;
        EXPECT_EQ(a.Value.Text, expected[i].text) << a.Name;
    }
    EXPECT_EQ(root.Properties[3].Value.Items, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));

    ASSERT_EQ(root.Children.size(), 2u);
    const TDefinitionObject& panel = root.Children[0];
    EXPECT_EQ(panel.Name, "pnl");
    EXPECT_EQ(panel.ClassName, "TPanel");
    EXPECT_EQ(panel.Line, 11);
    ASSERT_EQ(panel.Properties.size(), 1u);
    EXPECT_EQ(panel.Properties[0].Value.Integer, 0xFF00FF);
    ASSERT_EQ(panel.Children.size(), 1u);
    const TDefinitionObject& memo = panel.Children[0];
    EXPECT_EQ(memo.Line, 13);
    ASSERT_EQ(memo.Properties.size(), 1u);
    EXPECT_EQ(memo.Properties[0].Value.Kind, Kind::StringList);
    EXPECT_EQ(memo.Properties[0].Value.Line, 14);
    EXPECT_EQ(memo.Properties[0].Value.Items, (std::vector<std::string>{"first", "it's joined", ""}));
    // The property after the panel keeps its place by line.
    EXPECT_LT(panel.Line, root.Properties.back().Value.Line);
    EXPECT_LT(root.Properties.back().Value.Line, root.Children[1].Line);

    const TDefinitionObject& provider = root.Children[1];
    EXPECT_EQ(provider.Line, 22);
    ASSERT_EQ(provider.Properties.size(), 1u);
    const TDefinitionValue& buttons = provider.Properties[0].Value;
    EXPECT_EQ(buttons.Kind, Kind::Collection);
    EXPECT_EQ(buttons.Line, 23);
    ASSERT_EQ(buttons.CollectionItems.size(), 2u);
    ASSERT_EQ(buttons.CollectionItems[0].size(), 2u);
    EXPECT_EQ(buttons.CollectionItems[0][0].Name, "Width");
    EXPECT_EQ(buttons.CollectionItems[0][0].Value.Integer, 10);
    EXPECT_EQ(buttons.CollectionItems[0][0].Value.Line, 25);
    EXPECT_EQ(buttons.CollectionItems[0][1].Value.Kind, Kind::Set);
    EXPECT_TRUE(buttons.CollectionItems[0][1].Value.Items.empty());
    ASSERT_EQ(buttons.CollectionItems[1].size(), 1u);
    const TDefinitionValue& inner = buttons.CollectionItems[1][0].Value;
    EXPECT_EQ(inner.Kind, Kind::Collection);
    EXPECT_EQ(inner.Line, 29);
    ASSERT_EQ(inner.CollectionItems.size(), 1u);
    ASSERT_EQ(inner.CollectionItems[0].size(), 1u);
    EXPECT_EQ(inner.CollectionItems[0][0].Value.Text, "deep");
    EXPECT_EQ(inner.CollectionItems[0][0].Value.Line, 31);
}

TEST(DefinitionParser, AssignmentsAndChildObjectsAreVisitedInTextOrder) {
    const char text[] = "object F: T\n  A = 1\n  object x: T\n    X1 = 1\n  end\n  B = (\n    'b'\n  )\n"
                        "  object y: T\n  end\n  object z: T\n  end\n  C = <\n    item\n    end\n  >\n  D = 4\nend\n";
    std::string order;
    VisitInFileOrder(
        ParseDefinition(text), [&](const TDefinitionAssignment& a) { order += a.Name + " "; },
        [&](const TDefinitionObject& o) { order += o.Name + " "; });
    EXPECT_EQ(order, "A x B y z C D ");
}

std::string StringValue(const std::string& literal) {
    TDefinitionObject root = ParseDefinition("object F: T\n  S = " + literal + "\nend\n");
    EXPECT_EQ(root.Properties.at(0).Value.Kind, Kind::String) << literal;
    return root.Properties.at(0).Value.Text;
}

TEST(DefinitionParser, StringsJoinPiecesAndCharacterCodesAsUtf8) {
    struct { const char* literal; std::string text; } cases[] = {
        {"'plain'", "plain"},
        {"'it''s'", "it's"},
        {"''''", "'"},
        {"''", ""},
        {"'a'#13#10'b'", "a\r\nb"},
        {"'a' + 'b' +#33", "ab!"},
        {"#0", std::string(1, '\0')},
        {"#228'x'", "\xC3\xA4x"},
        {"#8364", "\xE2\x82\xAC"},
        {"#128512", "\xF0\x9F\x98\x80"},
        {"#1114111", "\xF4\x8F\xBF\xBF"},
        {"#55357#56832", "\xEF\xBF\xBD\xEF\xBF\xBD"},   // surrogate codes are no characters
        {"'\xE2\x82\xAC'", "\xE2\x82\xAC"},               // UTF-8 text passes unchanged
        {"'# and // inside'", "# and // inside"},
        {"'  blanks kept  '", "  blanks kept  "},
        {"#0000065", "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(StringValue(c.literal), c.text) << c.literal;
}

// A long text stored as lines of readable length: a line whose string ends in
// '+' goes on with the next line that starts with a piece.
TEST(DefinitionParser, StringsGoOnAcrossLinesAfterATrailingPlus) {
    struct { const char* what; std::string body; std::vector<std::string> items; } cases[] = {
        {"a property", "  S = 'one ' +\n      'two'", {"one two"}},
        {"three lines and a code", "  S = 'a' +\n 'b' +\n #33", {"ab!"}},
        {"a blank line between", "  S = 'a' +\n\n  'b'", {"ab"}},
        {"a doubled quote before the plus", "  S = 'it''s ' +\n  'so'", {"it's so"}},
        {"a plus inside the quotes", "  S = 'a +'\n  T = 'b'", {"a +", "b"}},
        {"a quoted run ending in a plus", "  S = 'x+' +\n  'y'", {"x+y"}},
        {"list items", "  L = (\n    'one ' +\n    'line'\n    'next +'\n    ''\n  )", {"one line", "next +", ""}},
    };
    for (const auto& c : cases) {
        const TDefinitionObject root = ParseDefinition("object F: T\n" + c.body + "\nend\n");
        std::vector<std::string> items;
        for (const TDefinitionAssignment& a : root.Properties) {
            if (a.Value.Kind == Kind::StringList) items.insert(items.end(), a.Value.Items.begin(), a.Value.Items.end());
            else items.push_back(a.Value.Text);
        }
        EXPECT_EQ(items, c.items) << c.what;
        EXPECT_EQ(root.Properties.at(0).Value.Line, 2) << c.what;   // where the value starts
    }
    // A fault in a piece further down names the line the string starts on.
    try {
        ParseDefinition("object F: T\n  S = 'a' +\n  'b\nend\n");
        ADD_FAILURE() << "accepted";
    } catch (const EDefinitionError& e) {
        EXPECT_EQ(e.Line(), 2) << e.Message();
        EXPECT_NE(e.Message().find("unterminated string"), std::string::npos) << e.Message();
    }
}

TEST(DefinitionParser, IntegersCoverTheir32BitRange) {
    struct { const char* literal; std::int32_t value; } cases[] = {
        {"0", 0},
        {"+5", 5},
        {"-11", -11},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$FF00FF", 0xFF00FF},
        {"$ff", 255},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"-$1", -1},
        {"000000000000000000000000042", 42},
    };
    for (const auto& c : cases) {
        TDefinitionObject root = ParseDefinition(std::string("object F: T\n  I = ") + c.literal + "\nend\n");
        EXPECT_EQ(root.Properties.at(0).Value.Kind, Kind::Integer) << c.literal;
        EXPECT_EQ(root.Properties.at(0).Value.Integer, c.value) << c.literal;
    }
}

struct TBadText {
    const char* what;
    std::string text;
    int line;
    std::string problem;
};

TEST(DefinitionParser, MalformedTextNamesTheLineAndTheProblem) {
    const std::string head = "object F: T\n";
    const TBadText cases[] = {
        {"empty", "", 1, "the definition is empty"},
        {"only blanks", "\n \t\n   \r\n", 1, "the definition is empty"},
        {"only a byte order mark", "\xEF\xBB\xBF\n", 1, "the definition is empty"},
        {"no comment lines", "\n# a note\nobject F: T\nend\n", 2, "'object Name: Class' expected"},
        {"no comment lines inside", head + "  // a note\nend\n", 2, "a name is expected"},
        {"byte order mark not at the start", "\n\xEF\xBB\xBFobject F: T\nend\n", 2, "'object Name: Class' expected"},
        {"object without a name", head + "  object\nend\n", 2, "'=' expected"},
        {"object header without colon", head + "  object b TButton\n  end\nend\n", 2, "':' expected"},
        {"no object", "Caption = 'a'\nend\n", 1, "'object Name: Class' expected"},
        {"no colon", "object F T\nend\n", 1, "':' expected"},
        {"no class", "object F:\nend\n", 1, "a name is expected"},
        {"text after class", "object F: T extra\nend\n", 1, "unexpected text 'extra'"},
        {"missing end", head + "  object b: TButton\n  end\n\n", 3, "'end' expected before the end of the definition"},
        {"text after end", head + "end\nend\n", 3, "text after the last 'end'"},
        {"no equals sign", head + "\n  Caption 'a'\nend\n", 3, "'=' expected"},
        {"no value", head + "  Left =\nend\n", 2, "a value is expected"},
        {"not a value", head + "  Left = ?\nend\n", 2, "a value is expected"},
        {"unterminated string", head + "  Caption = 'abc\nend\n", 2, "unterminated string"},
        {"nothing after +", head + "  Caption = 'a' +\nend\n", 2, "a string is expected after +"},
        {"code without digits", head + "  Caption = #x\nend\n", 2, "a character code is expected after #"},
        {"code too long", head + "  Caption = #12345678\nend\n", 2, "a character code is expected after #"},
        {"code out of range", head + "  Caption = #1114112\nend\n", 2, "character code out of range"},
        {"integer too large", head + "  Left = 2147483648\nend\n", 2, "'2147483648' is not a valid integer value"},
        {"integer too small", head + "  Left = -2147483649\nend\n", 2, "'-2147483649' is not a valid integer value"},
        {"hexadecimal too large", head + "  Color = $100000000\nend\n", 2, "'$100000000' is not a valid integer value"},
        {"sign alone", head + "  Left = -\nend\n", 2, "'-' is not a valid integer value"},
        {"hexadecimal digits in decimal", head + "  Left = 12ab\nend\n", 2, "'12ab' is not a valid integer value"},
        {"text after integer", head + "  Left = 12x\nend\n", 2, "unexpected text 'x'"},
        {"empty set member", head + "  S = [a, ]\nend\n", 2, "a name is expected"},
        {"unclosed set", head + "  S = [a b]\nend\n", 2, "']' expected"},
        {"resource without name", head + "  Icon = resource\nend\n", 2, "a string is expected"},
        {"text after list opening", head + "  Lines = ( 'a'\nend\n", 2, "unexpected text ''a''"},
        {"name in a list", head + "  Lines = (\n    abc\n  )\nend\n", 3, "a string is expected"},
        {"unclosed list", head + "  object m: TMemo\n    Lines = (\n      'a'\n", 4,
         "'end' expected before the end of the definition"},
        {"not an item", head + "  B = <\n    thing\n  >\nend\n", 3, "'item' or '>' expected"},
        {"text after item", head + "  B = <\n    item 1\n    end\n  >\nend\n", 3, "unexpected text '1'"},
        {"bad item assignment", head + "  B = <\n    item\n      W 5\n    end\n  >\nend\n", 4, "'=' expected"},
        {"object in an item", head + "  B = <\n    item\n      object x: T\n    end\n  >\nend\n", 4, "'=' expected"},
        {"unclosed collection", head + "  B = <\n    item\n    end\n", 4,
         "'end' expected before the end of the definition"},
    };
    for (const auto& c : cases) {
        try {
            ParseDefinition(c.text);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.what << ": " << e.Message();
            EXPECT_EQ(e.Message(), "Window definition, line " + std::to_string(c.line) + ": " + c.problem) << c.what;
        }
    }
}

// Objects nested Levels deep, each on a line of its own.
std::string NestedObjects(int levels) {
    std::string text;
    for (int i = 0; i < levels; ++i) text += "object o" + std::to_string(i) + ": T\n";
    for (int i = 0; i < levels; ++i) text += "end\n";
    return text;
}

// A root holding collections nested Levels deep inside each other's items.
std::string NestedCollections(int levels) {
    std::string text = "object F: T\n";
    for (int i = 0; i < levels; ++i) text += "C = <\nitem\n";
    text += "W = 1\n";
    for (int i = 0; i < levels; ++i) text += "end\n>\n";
    return text + "end\n";
}

TEST(DefinitionParser, NestingStopsAtItsLimitWithTheLineThatGoesTooDeep) {
    TDefinitionObject root = ParseDefinition(NestedObjects(MaxDefinitionDepth));
    int depth = 1;
    for (const TDefinitionObject* o = &root; !o->Children.empty(); o = &o->Children[0]) ++depth;
    EXPECT_EQ(depth, MaxDefinitionDepth);
    EXPECT_NO_THROW(ParseDefinition(NestedCollections(MaxDefinitionDepth - 1)));

    const std::string problem = "objects and collections nest deeper than 64 levels";
    struct { const char* what; std::string text; int line; } cases[] = {
        {"objects", NestedObjects(MaxDefinitionDepth + 1), MaxDefinitionDepth + 1},
        {"far too many objects", NestedObjects(200000), MaxDefinitionDepth + 1},
        {"collections", NestedCollections(MaxDefinitionDepth), 1 + 2 * (MaxDefinitionDepth - 1) + 1},
        {"far too many collections", NestedCollections(100000), 1 + 2 * (MaxDefinitionDepth - 1) + 1},
    };
    for (const auto& c : cases) {
        try {
            ParseDefinition(c.text);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.what;
            EXPECT_NE(e.Message().find(problem), std::string::npos) << c.what << ": " << e.Message();
        }
    }
}

TEST(DefinitionParser, VeryLongLinesAndValuesAreReadWhole) {
    const size_t n = 1 << 20;
    std::string pieces = "'x'";
    for (int i = 0; i < 100000; ++i) pieces += i % 2 ? "+'x'" : "#120";
    std::string members;
    for (int i = 0; i < 100000; ++i) members += (i ? ", m" : "m") + std::to_string(i);
    std::string text = "object F: T\n  Long = '" + std::string(n, 'a') + "'\n  Joined = " + pieces +
                       "\n  Members = [" + members + "]\n  Zeros = " + std::string(n, '0') + "7\n" +
                       "  " + std::string(n, 'N') + " = 1\nend\n";
    TDefinitionObject root = ParseDefinition(text);
    ASSERT_EQ(root.Properties.size(), 5u);
    EXPECT_EQ(root.Properties[0].Value.Text, std::string(n, 'a'));
    EXPECT_EQ(root.Properties[1].Value.Text, std::string(100001, 'x'));
    ASSERT_EQ(root.Properties[2].Value.Items.size(), 100000u);
    EXPECT_EQ(root.Properties[2].Value.Items.back(), "m99999");
    EXPECT_EQ(root.Properties[3].Value.Integer, 7);
    EXPECT_EQ(root.Properties[4].Name.size(), n);
    EXPECT_EQ(root.Properties[4].Value.Line, 6);

    // A long run of digits is refused at once, not read as a huge number.
    try {
        ParseDefinition("object F: T\n  Big = " + std::string(n, '9') + "\nend\n");
        ADD_FAILURE() << "accepted";
    } catch (const EDefinitionError& e) {
        EXPECT_EQ(e.Line(), 2);
        EXPECT_NE(e.Message().find("is not a valid integer value"), std::string::npos);
    }
}

TEST(DefinitionParser, LineEndsAndTheLastLineDoNotChangeTheTree) {
    const std::string lf = "object F: T\n  Caption = 'a' \n  Lines = (\n    'x'\t\n  )\n  object b: TB\n  end\nend";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const std::string bom = "\xEF\xBB\xBF";
    for (const std::string& text : {lf, lf + "\n", crlf, crlf + "\r\n", lf + "\n\n  \t\n", bom + lf, bom + crlf}) {
        TDefinitionObject root = ParseDefinition(text);
        ASSERT_EQ(root.Properties.size(), 2u);
        EXPECT_EQ(root.Properties[0].Value.Text, "a");
        EXPECT_EQ(root.Properties[1].Value.Items, std::vector<std::string>{"x"});
        EXPECT_EQ(root.Properties[1].Value.Line, 3);
        ASSERT_EQ(root.Children.size(), 1u);
        EXPECT_EQ(root.Children[0].Line, 6);
    }
    // An open object at the end names the last line, with or without a line break.
    for (const std::string& text : {std::string("object F: T\n  Left = 1"), std::string("object F: T\r\n  Left = 1\r\n")}) {
        try {
            ParseDefinition(text);
            ADD_FAILURE() << "accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_EQ(e.Line(), 2);
        }
    }
}

TEST(DefinitionParser, StringListLinesMayStartWithCharacterCodes) {
    // Each list line as written, and its text: every #n is the character n.
    struct { const char* line; std::string text; } cases[] = {
        {"#9'x'", "\tx"},
        {"#13#10", "\r\n"},
        {"#35'35'", "#35"},
        {"'a'#9'b'#9", "a\tb\t"},
        {"#39#39'x'", "''x"},
        {"#47'/ not a comment'", "// not a comment"},
        {"'# not a comment'", "# not a comment"},
        {"#0'z'", std::string("\0z", 2)},
    };
    std::string text = "object F: T\n  Lines = (\n";
    for (const auto& c : cases) text += std::string("    ") + c.line + "\n";
    text += "  )\nend\n";
    TDefinitionObject root = ParseDefinition(text);
    ASSERT_EQ(root.Properties.size(), 1u);
    const auto& items = root.Properties[0].Value.Items;
    ASSERT_EQ(items.size(), std::size(cases));
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i], cases[i].text) << cases[i].line;

    // Written back and read again, every line keeps its bytes.
    TDefinitionObject again = ParseDefinition(WriteDefinition(root));
    EXPECT_EQ(again.Properties.at(0).Value.Items, items);
}

TEST(DefinitionWriter, StringsAreQuotedRunsWithControlCharactersAsCodes) {
    struct { std::string text; const char* literal; } cases[] = {
        {"", "''"},
        {"plain", "'plain'"},
        {"it's", "'it''s'"},
        {"'", "''''"},
        {"\tx", "#9'x'"},
        {"a\r\nb", "'a'#13#10'b'"},
        {"\r\n", "#13#10"},
        {std::string("\0", 1), "#0"},
        {"del\x7F", "'del'#127"},
        {"#35", "'#35'"},
        {"\xE2\x82\xAC", "'\xE2\x82\xAC'"},   // UTF-8 bytes stay inside the quotes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefinitionStringLiteral(c.text), c.literal) << c.literal;
        EXPECT_EQ(StringValue(c.literal), c.text) << c.literal;
    }
}

// The text the writer writes, read again, is written identically: the writer
// and the parser agree on every statement.
void ExpectRoundTrip(const std::string& text) {
    TDefinitionObject first = ParseDefinition(text);
    const std::string written = WriteDefinition(first);
    TDefinitionObject second;
    ASSERT_NO_THROW(second = ParseDefinition(written)) << written;
    EXPECT_EQ(WriteDefinition(second), written);
}

TEST(DefinitionWriter, WrittenTextReadsBackAsTheSameTree) {
    ExpectRoundTrip(kDefinition);
    const std::string written = WriteDefinition(ParseDefinition(kDefinition));
    EXPECT_EQ(written.substr(0, written.find("  object pnl")),
              "object Form1: TForm1\n"
              "  Left = 200\n"
              "  Caption = 'Korvel Pro 2007.1'\n"
              "  Font.Height = -11\n"
              "  BorderIcons = [biSystemMenu, biMinimize]\n"
              "  Color = clBtnFace\n"
              "  Icon = resource 'MAINICON'\n");
    EXPECT_NE(written.find("    object memo: TMemo\n      Lines = (\n        'first'\n        'it''s joined'\n"
                           "        ''\n      )\n    end\n"),
              std::string::npos)
        << written;
}

TEST(DefinitionParser, APropertyNamedObjectIsNoChildObject) {
    // Found by the fuzz target: "object=b" was read as an assignment, written
    // as "object = b" and then taken for the header of a child object.
    struct { const char* what; std::string text; } cases[] = {
        {"found input", "object F: T\nobject=b\nend\n"},
        {"found again with a dictionary",
         "object Form1: TForm1\n  Left = 305\n  object= $FF00FF\n  Font.Height = -10\n"
         "  Caption = resource 'MAININCkkON'\n  object Mem1: T\n    end\nend\n"},
        {"with blanks", "object F: T\n  object = b\nend\n"},
        {"with a tab", "object F: T\n  object\t= 5\nend\n"},
        {"a list", "object F: T\n  object = (\n    #9'x'\n  )\nend\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TDefinitionObject root = ParseDefinition(c.text);
        int named = 0;
        for (const auto& p : root.Properties) named += p.Name == "object";
        EXPECT_EQ(named, 1);
        EXPECT_EQ(root.Children.size(), c.text.find("Mem1") == std::string::npos ? 0u : 1u);
        ExpectRoundTrip(c.text);
    }
    // In a collection item, and a child object whose name is the word itself.
    ExpectRoundTrip("object F: T\n  C = <\n    item\n      object = 'v'\n    end\n  >\nend\n");
    TDefinitionObject root = ParseDefinition("object F: T\n  object\tobject: T\n  end\n  object = 1\nend\n");
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].Name, "object");
    ASSERT_EQ(root.Properties.size(), 1u);
    EXPECT_EQ(root.Properties[0].Name, "object");
}

}  // namespace
}  // namespace korvel
