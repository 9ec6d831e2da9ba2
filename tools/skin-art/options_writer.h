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

std::string WriteOptions(const std::vector<std::string>& headerComments, const std::vector<TSectionValues>& sections);

}  // namespace korvel::art
