#pragma once
// Initialisation text as skin folders write it (Options.dat) and as the
// manager's common sections hold it: "[SECTION]" lines and "KEY=VALUE" lines.
// Sections and keys keep file order; names are matched without regard to case;
// values are kept as written (only the line end is removed). A section or key
// that appears twice is one: later keys of a repeated section join the first,
// and the first value of a repeated key wins. Each section and key keeps the
// 1-based line it was read from (its first appearance), so that a tool can say
// where in the file a value stands.
#include <optional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class TsIniFile {
public:
    struct Key {
        std::string Name;
        std::string Value;
        int Line = 0;
    };
    struct Section {
        std::string Name;
        std::vector<Key> Keys;
        std::unordered_map<std::string, std::size_t> KeyIndex;   // upper-cased name -> position
        int Line = 0;                                              // of the "[NAME]" line

        // The key given by its upper-case name, or null.
        const Key* FindKeyUpper(const std::string& upperName) const {
            auto it = KeyIndex.find(upperName);
            return it == KeyIndex.end() ? nullptr : &Keys[it->second];
        }

        // The value of a key given by its upper-case name, or null.
        const std::string* FindUpper(const std::string& upperName) const {
            auto it = KeyIndex.find(upperName);
            return it == KeyIndex.end() ? nullptr : &Keys[it->second].Value;
        }
    };

    TsIniFile() = default;
    explicit TsIniFile(std::string_view text) { Parse(text); }

    void Parse(std::string_view text);

    const std::vector<Section>& Sections() const { return sections_; }
    const Section* FindSection(std::string_view name) const;
    bool SectionExists(std::string_view name) const { return FindSection(name) != nullptr; }
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

private:
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;   // upper-cased name -> position
};

}  // namespace korvel
