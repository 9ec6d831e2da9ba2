// Menu shortcuts as values and as the text a menu shows after its caption.
#include <cctype>
#include <string>

#include "gui/menus.h"

namespace korvel {
namespace {

struct TKeyName {
    WORD Key;
    const char* Name;
};

// Keys with a name of their own; letters, digits and F1 to F24 are named by rule.
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},   {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},  {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"}, {VK_END, "End"},      {VK_HOME, "Home"},   {VK_LEFT, "Left"},
    {VK_UP, "Up"},       {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

struct TModifierName {
    TShortCut Bit;
    const char* Prefix;
};

constexpr TModifierName kModifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

std::string KeyName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.Key == key) return k.Name;
    return {};
}

bool SameText(const std::string& a, size_t at, const std::string& b) {
    if (a.size() - at < b.size()) return false;
    for (size_t i = 0; i < b.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[at + i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key == 0 || key > 0xFF) return scNone;
    TShortCut value = key;
    if (shift & ssShift) value |= scShift;
    if (shift & ssCtrl) value |= scCtrl;
    if (shift & ssAlt) value |= scAlt;
    return value;
}

TShortCut ShortCutOfKey(WORD key) { return ShortCut(key, KeyboardShiftState()); }

std::string ShortCutToText(TShortCut shortCut) {
    std::string key = KeyName(shortCut & 0xFF);
    if (key.empty()) return {};
    std::string text;
    for (const auto& m : kModifiers)
        if (shortCut & m.Bit) text += m.Prefix;
    return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    size_t at = 0;
    for (bool more = true; more;) {
        more = false;
        for (const auto& m : kModifiers) {
            std::string prefix = m.Prefix;
            // A modifier alone before the end is the key "+" in no table: the text is not read.
            if (SameText(text, at, prefix) && text.size() > at + prefix.size()) {
                if (modifiers & m.Bit) return scNone;   // named twice
                modifiers |= m.Bit;
                at += prefix.size();
                more = true;
            }
        }
    }
    std::string rest = text.substr(at);
    if (rest.empty()) return scNone;
    for (WORD key = 1; key <= 0xFF; ++key) {
        std::string name = KeyName(key);
        if (!name.empty() && name.size() == rest.size() && SameText(rest, 0, name)) return static_cast<TShortCut>(key | modifiers);
    }
    return scNone;
}

}  // namespace korvel
