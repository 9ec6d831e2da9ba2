#include "gui/shell.h"

#include <shellapi.h>

#include "gui/text.h"

namespace korvel {

INT_PTR ShellOpen(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                  const std::string& directory, int show) {
    std::wstring wideVerb = Widen(verb), wideFile = Widen(file), wideParameters = Widen(parameters),
                 wideDirectory = Widen(directory);
    HINSTANCE result = ShellExecuteW(owner, wideVerb.empty() ? nullptr : wideVerb.c_str(), wideFile.c_str(),
                                     wideParameters.empty() ? nullptr : wideParameters.c_str(),
                                     wideDirectory.empty() ? nullptr : wideDirectory.c_str(), show);
    return reinterpret_cast<INT_PTR>(result);
}

}  // namespace korvel
