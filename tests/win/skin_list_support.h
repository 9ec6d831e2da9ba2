#pragma once
// The skins every picture test runs in, read from tests/data/skins.list (one
// shared list: a skin joins every picture test with one line there), and the
// order of skin changes that takes every ordered pair of them once.
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/text.h"
#include "gui_test_support.h"

namespace korvel::testing {

struct TListedSkin {
    std::string Prefix;   // the pictures' file name prefix, e.g. "basalt"
    std::string Name;     // the skin's name in the skin menus, e.g. "Basalt"
};

// The list's skins in order; throws on a line without both parts, or when the
// list cannot be read or holds fewer than two skins.
inline std::vector<TListedSkin> ListedSkins() {
    const std::string path = SourcePath("tests/data/skins.list");
    std::ifstream in(Widen(path).c_str());
    if (!in) throw std::runtime_error("cannot read " + path);
    std::vector<TListedSkin> skins;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t space = line.find(' ');
        if (space == 0 || space == std::string::npos || space + 1 == line.size())
            throw std::runtime_error(path + ":" + std::to_string(number) + ": expected \"PREFIX Skin name\", not \"" + line + "\"");
        skins.push_back({line.substr(0, space), line.substr(space + 1)});
    }
    if (skins.size() < 2) throw std::runtime_error(path + " lists fewer than two skins");
    return skins;
}

// Indexes into a list of Count skins, starting and ending at the first, in which
// every ordered pair of different skins follows each other exactly once:
// 0, then for each k from 1: k, 1, k, 2, k, ..., k-1, k, 0. Three skins give
// 0 1 0 2 1 2 0: the changes 0>1 1>0 0>2 2>1 1>2 2>0.
inline std::vector<int> EveryOrderedPairChain(int count) {
    std::vector<int> chain{0};
    for (int k = 1; k < count; ++k) {
        chain.push_back(k);
        for (int i = 1; i < k; ++i) {
            chain.push_back(i);
            chain.push_back(k);
        }
        chain.push_back(0);
    }
    return chain;
}

}  // namespace korvel::testing
