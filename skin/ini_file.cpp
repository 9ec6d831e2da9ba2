#include "skin/ini_file.h"

#include "gui/text_convert.h"

namespace korvel {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

void TsIniFile::Parse(std::string_view text) {
    sections_.clear();
    sectionIndex_.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    Section* current = nullptr;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        if (end == std::string_view::npos) {
            text = {};
        } else {
            // CR LF, LF and a lone CR each end a line.
            text.remove_prefix(end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1));
        }
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == ';') continue;
        if (trimmed.front() == '[') {
            std::size_t close = trimmed.find(']');
            std::string_view name = Trim(trimmed.substr(1, close == std::string_view::npos ? trimmed.size() - 1 : close - 1));
            auto [it, added] = sectionIndex_.try_emplace(UpperCase(name), sections_.size());
            if (added) sections_.push_back(Section{std::string(name), {}, {}, lineNumber});
            current = &sections_[it->second];
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, equals));
        if (name.empty()) continue;
        if (current->KeyIndex.try_emplace(UpperCase(name), current->Keys.size()).second)
            current->Keys.push_back(Key{std::string(name), std::string(line.substr(equals + 1)), lineNumber});
    }
}

const TsIniFile::Section* TsIniFile::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(UpperCase(name));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::string> TsIniFile::Value(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    auto it = s->KeyIndex.find(UpperCase(key));
    if (it == s->KeyIndex.end()) return std::nullopt;
    return s->Keys[it->second].Value;
}

std::string TsIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    if (auto v = Value(section, key)) return *v;
    return std::string(fallback);
}

}  // namespace korvel
