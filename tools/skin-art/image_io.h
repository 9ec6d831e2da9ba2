#pragma once
// Writing (and, for the checks, reading back) the picture files of a skin:
// BMP in 24 bits or palettised in 8 bits, JPEG through libjpeg, PNG through
// libpng for looking at the artwork. Writers throw std::runtime_error naming
// the file when they cannot finish.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/skin-art/image.h"

namespace korvel::art {

// The distinct colours of a picture in ascending order; at most `limit`,
// else an error saying how many there are.
std::vector<TColor> BuildPalette(const TImage& image, std::size_t limit = 256);

std::vector<std::uint8_t> EncodeBmp24(const TImage& image);
// 8 bits per pixel: every pixel maps exactly to its palette entry.
std::vector<std::uint8_t> EncodeBmp8(const TImage& image);
std::vector<std::uint8_t> EncodeJpeg(const TImage& image, int quality);
std::vector<std::uint8_t> EncodePng(const TImage& image);

// A BMP decoded to pixels as the program reads it; throws with the reason when it cannot be read.
TImage DecodeBmp(const std::vector<std::uint8_t>& bytes);
// A JPEG decoded to pixels as the program reads it; throws when it is not one.
TImage DecodeJpeg(const std::vector<std::uint8_t>& bytes);
// Width and height of a baseline or progressive JPEG; throws when it is not one.
std::pair<int, int> JpegSize(const std::vector<std::uint8_t>& bytes);

std::vector<std::uint8_t> ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace korvel::art
