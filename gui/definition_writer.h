#pragma once
// Writes a parsed window definition back as text in the format that
// ParseDefinition reads (gui/README.md): two blanks of indentation per level,
// strings quoted with control characters as #nn codes. Reading the text
// written gives the same tree again, apart from the line numbers.
#include <string>

#include "gui/definition_parser.h"

namespace korvel {

std::string WriteDefinition(const TDefinitionObject& root);

// One string value as the format writes it: quoted runs with quotes doubled,
// characters below 32 and DEL as #nn codes between them ('' when empty).
std::string DefinitionStringLiteral(const std::string& text);

}  // namespace korvel
