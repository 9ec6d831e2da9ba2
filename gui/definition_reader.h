#pragma once
// Reads a stored window definition (the format is described in gui/README.md)
// into a root component: parses the whole text (gui/definition_parser.h), then
// creates each listed component owned by the root, marks it loading, assigns
// each property through its setter in file order, and calls Loaded on every
// component once everything is assigned.
#include <windows.h>

#include <string>

#include "gui/component.h"

namespace korvel {

// Throws EDefinitionError naming the line of the first malformed statement
// (found before anything is created), or of the first unknown class or
// property or bad value. Components created before such an error stay owned
// by the root.
void ReadComponentDefinition(TComponent& root, const std::string& text, HMODULE module = nullptr);

}  // namespace korvel
