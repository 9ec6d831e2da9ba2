#pragma once
// Reads a stored window definition (the format is described in gui/README.md)
// into a root component: creates each listed component owned by the root,
// marks it loading, assigns each property through its setter in file order,
// and calls Loaded on every component once the whole text is read.
#include <windows.h>

#include <string>

#include "gui/component.h"

namespace korvel {

// Throws EDefinitionError naming the line of the first unknown class or
// property, bad value or malformed line. Components created before the error
// stay owned by the root.
void ReadComponentDefinition(TComponent& root, const std::string& text, HMODULE module = nullptr);

}  // namespace korvel
