#pragma once
// The keys of a skin section, their defaults and their inheritance, and the
// filling of section records from a skin folder's Options.dat or from the
// manager's common sections.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "skin/ini_file.h"
#include "skin/skin_data.h"

namespace korvel {

enum class TsKeyKind { Integer, Boolean, Text };

struct TsSectionKey {
    const char* Key;
    TsKeyKind Kind;
    bool Inherits;           // in a skin folder; common sections inherit every key
    const char* Default;     // as the file would write it
    void (*Store)(TsGeneralData&, std::string_view value);          // value known to fit Kind
    void (*Inherit)(TsGeneralData&, const TsGeneralData& parent);   // take the parent's field
};

// In the order the fields are read.
std::span<const TsSectionKey> SectionKeys();

// Parent chains are walked at most this many steps; a chain that loops
// through two or more sections ends there and the key counts as missing.
constexpr int MaxParentChain = 64;

// One section of a skin folder: keys not given are taken from the PARENTCLASS
// chain, then from the defaults. COLOR becomes RGB; SHADOWCOLOR is not inherited.
TsGeneralData ReadFolderSection(const TsIniFile& ini, std::string_view section);

// One common section, inheriting from an entry already in the table (by
// upper-cased name) or else from the defaults. COLOR is kept as read.
TsGeneralData ReadCommonSection(const TsIniFile& ini, std::string_view section, const TsGeneralDataArray& present);

}  // namespace korvel
