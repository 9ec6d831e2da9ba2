#pragma once
// The internal skin's two files, built into korvel-skin (embed_files.cmake):
// skin/internal/elegant.ini and skin/internal/elegant_master.bmp.
#include <cstdint>
#include <span>

namespace korvel::embedded {

extern const std::span<const std::uint8_t> ElegantOptions;
extern const std::span<const std::uint8_t> ElegantMaster;

}  // namespace korvel::embedded
