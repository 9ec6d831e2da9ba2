#pragma once
// The skins this program draws: the built-in "Elegant (internal)" (one
// 256-colour master bitmap plus its options text) and the folder skins "Basalt"
// and "Opal".
#include <string>
#include <vector>

#include "tools/skin-art/image.h"
#include "tools/skin-art/parts.h"

namespace korvel::art {

// One generated file of a skin: its name inside the skin's folder and its bytes.
struct TSkinFile {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
};

// A mask of the built-in skin, in the stored collection's order.
struct TStoredMask {
    std::string Section;
    std::string Property;
    TRect Rect;
    int ImageCount;
    int MaskType;
    int BorderWidth;
};

TLook ElegantLook();
const std::vector<std::string>& ElegantSectionOrder();
std::vector<TStoredMask> ElegantMasks();
TImage ElegantMaster();
// skin/internal/: elegant_master.bmp and elegant.ini.
std::vector<TSkinFile> ElegantFiles();

TLook BasaltLook();
// skins/Basalt/: Options.dat and its pictures.
std::vector<TSkinFile> BasaltFiles();

TLook OpalLook();
// skins/Opal/: Options.dat and its pictures.
std::vector<TSkinFile> OpalFiles();

}  // namespace korvel::art
