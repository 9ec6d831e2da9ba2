#pragma once
// Writing a text file the way the runtime's text files do: create or truncate,
// write, close; every failure is an EInOutError with the runtime's text.
#include <string>

namespace korvel {

// Writes Content byte for byte (no conversion of line breaks).
void WriteTextFile(const std::string& path, const std::string& content);

}  // namespace korvel
