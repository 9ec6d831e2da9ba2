#pragma once
// Texts are UTF-8 std::string inside the program; Win32 is called with its
// wide-character functions. These are the only conversions at that boundary.
#include <string>
#include <string_view>

namespace korvel {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// printf-style %s / %d replacement for message templates: each "%s" or "%d"
// takes the next argument in turn; "%%" is a percent sign.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace korvel
