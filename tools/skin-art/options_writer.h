#pragma once
// Building a skin's options text: sections with their keys in a fixed order,
// written in the initialisation-file form the loader reads.
#include <string>
#include <utility>
#include <vector>

#include "tools/skin-art/image.h"

namespace korvel::art {

class TSectionValues {
public:
    explicit TSectionValues(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    // Sets a key, keeping the position of an earlier value of the same key.
    TSectionValues& Set(const std::string& key, const std::string& value);
    TSectionValues& Set(const std::string& key, int value) { return Set(key, std::to_string(value)); }
    TSectionValues& Colour(const std::string& key, TColor value) { return Set(key, std::to_string(value)); }
    TSectionValues& Flag(const std::string& key, bool value) { return Set(key, value ? "TRUE" : "FALSE"); }
    TSectionValues& Remove(const std::string& key);
    const std::vector<std::pair<std::string, std::string>>& Keys() const { return keys_; }

private:
    std::string name_;
    std::vector<std::pair<std::string, std::string>> keys_;
};

// Every key of the section key table with the values most sections share.
TSectionValues SharedSection(const std::string& name);

// A two-stop top-to-bottom gradient text (mode 1: left to right).
std::string Gradient(TColor from, TColor to, int mode = 0);

// "#(l,t,r,b) (count,masktype,borderwidth,stretchmode)": a mask on the master bitmap.
std::string RectangleMask(TRect r, int count, int maskType, int borderWidth);

// The fixed-column forms on the master bitmap.
// "@" glyph: left 2-5, top 7-10, right 12-15, bottom 17-20, count 22, mask type 24.
std::string GlyphMask(TRect r, int count, int maskType);
// "^" border: the rectangle, four border widths w, count, mask type, stretch mode, border width.
std::string BorderMask(TRect r, int count, int maskType, int stretch, int borderWidth, int w);
// "~" texture: the rectangle, stretch mode in columns 22-23, mask type in 25.
std::string TextureMask(TRect r, int stretch, int maskType);

std::string WriteOptions(const std::vector<std::string>& headerComments, const std::vector<TSectionValues>& sections);

}  // namespace korvel::art
