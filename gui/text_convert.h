#pragma once
// Text conversions shared by the framework and the skin code: integers as
// definitions and skin files write them, upper-casing and comparisons without
// regard to case (ASCII), and the conversion error. Platform-free.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvel {

// A value that had to be an integer and is not; the message is
// "'<text>' is not a valid integer value".
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal integer with an optional sign, surrounded by optional blanks, in
// the 32-bit range; nothing else is accepted.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
// As TryStrToInt, or throws EConvertError.
std::int32_t StrToInt(std::string_view text);
// A floating-point number with a period as decimal separator, whatever the locale.
std::optional<double> TryStrToFloat(std::string_view text);
// Shortest text that reads back as the same number, period as separator.
std::string FloatToStr(double value);

std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// Text order without regard to case.
int CompareText(std::string_view a, std::string_view b);

}  // namespace korvel
