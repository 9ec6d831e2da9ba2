#pragma once
// The internal skin "Elegant (internal)" as the main window's definition stores
// it: built from its options text (skin/internal/elegant.ini, the options-file
// form of a skin folder) and its master bitmap, and written out as plain
// "Name = value" assignments through the stored form's property tables.
//
// The options text names the stored skin in GLOBALINFO's NAME key (a folder skin
// is named by its folder) and places every mask on the master bitmap. The stored
// skin also carries the master bitmap once more as the mask GLOBALINFO /
// MASTERBITMAP, a picture of its own named "MASTER.BMP".
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "gui/bitmap24.h"
#include "skin/stored_skin.h"

namespace korvel {

// The options text cannot become a stored skin; the message names the section,
// key and value at fault.
class EInternalSkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// File name the stored MASTERBITMAP mask carries.
constexpr std::string_view InternalMasterName = "MASTER.BMP";

// Fills skin (emptied first) from the options text and the decoded master
// bitmap: the skin-wide values of GLOBALINFO, one section per options section
// in file order, and the masks in their stored order. Throws EInternalSkinError.
void BuildInternalSkin(TsStoredSkin& skin, std::string_view options, const TBitmap24& master);

// The same from the bytes of the master bitmap's file (a Windows bitmap).
void BuildInternalSkin(TsStoredSkin& skin, std::string_view options, std::span<const std::uint8_t> masterFile);

// The text form of a stored skin: one "Name = value" line per property, in
// published order, collections as "< item ... end >" blocks, strings quoted
// ('it''s', control characters as #nn), enumerations by name, Booleans as
// True/False, floating point with a period. A picture is written as
// "resource 'NAME'", NAME given by pictureName for it; empty pictures are left
// out. indent is put before every line.
using TsPictureNamer = std::function<std::string(const TsPersistent& owner, const TBitmap24& picture)>;
std::string WriteStoredSkin(const TsStoredSkin& skin, const TsPictureNamer& pictureName, std::string_view indent = "");

}  // namespace korvel
