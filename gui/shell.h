#pragma once
// Hands a file or program to the shell.
#include <windows.h>

#include <string>

namespace korvel {

// ShellExecuteW with UTF-8 texts; an empty text passes no argument. Returns the
// shell's result (above 32 when it started something); never throws.
INT_PTR ShellOpen(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                  const std::string& directory = {}, int show = SW_SHOW);

}  // namespace korvel
