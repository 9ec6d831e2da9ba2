#pragma once
// The text form of a loaded skin that korvel-skin prints: one entry per line,
// fields as name=value pairs in a fixed order (see DumpFormatHelp).
#include <ostream>

#include "skin/skin_data.h"
#include "skin/skin_loader.h"

namespace korvel {

extern const char* const DumpFormatHelp;

void DumpSkin(std::ostream& out, const TsSkinLoadReport& report, const TsSkinTables& tables);

}  // namespace korvel
