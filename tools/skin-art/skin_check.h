#pragma once
// Reading a skin's options text the way the loader sees it (sections and keys
// in file order, names without regard to case) and checking that every mask
// it names can be cut as drawing will cut it: the rectangle inside its picture,
// and width and height divisible by the state images, the colour, see-through
// and spare parts (mask type + 1) and, for frames, the 3 x 3 pieces.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvel::art {

struct TIniSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
    // The value of `key` (case ignored), or nullopt.
    std::optional<std::string> Value(const std::string& key) const;
};

// Lines "[name]" and "key=value"; lines starting with ";" and blank lines are skipped.
std::vector<TIniSection> ParseIni(const std::string& text);

enum class TMaskForm { OwnWithCounts, Glyph, Border, Texture, OwnPicture, RectangleList };

struct TMaskValue {
    TMaskForm Form = TMaskForm::RectangleList;
    std::string File;                     // own-picture forms, as written
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int ImageCount = 1;
    int MaskType = 0;
    int BorderWidth = 0;
    int StretchMode = 0;
    int ImgType = 0;                      // 0 border, 1 texture, 2 glyph
};

// Decodes one key's value by the mask forms; nullopt when it is not a mask.
// A non-numeric field throws std::runtime_error("'x' is not a valid integer value").
std::optional<TMaskValue> ParseMaskValue(const std::string& value);

// True when the value, upper-cased, names a JPEG file.
bool NamesJpeg(const std::string& value);

// How drawing cuts a mask of this property: frames into 3 x 3 pieces, the others whole.
bool IsFrameProperty(const std::string& property);

// One picture a mask can refer to: its file name (as written) and size.
struct TPictureSize {
    std::string File;
    int Width = 0;
    int Height = 0;
};

// Everything the checks need besides the options text: the master bitmap's
// size (nullopt when the skin has none) and the pictures and JPEG files that
// exist beside it.
struct TSkinFiles {
    std::optional<std::pair<int, int>> Master;
    std::vector<TPictureSize> Pictures;
};

// Every fault found, one line each, naming the section and key; empty when the skin is sound.
std::vector<std::string> CheckSkin(const std::vector<TIniSection>& sections, const TSkinFiles& files);

// Reads a skin folder (its options file and every picture it names) and checks it.
std::vector<std::string> CheckSkinFolder(const std::string& folder, const std::string& optionsFile = "Options.dat");

}  // namespace korvel::art
