#pragma once
// PNG files of working bitmaps (libpng): 8-bit RGB, written top row first.
#include <string>

#include "gui/bitmap24.h"

namespace korvel {

// Writes bitmap to path, each pixel enlarged to scale x scale. Returns an
// error text, empty on success.
std::string WritePng(const std::string& path, const TBitmap24& bitmap, int scale = 1);

// Reads an 8-bit RGB or RGBA PNG (alpha is dropped) into bitmap. Returns an
// error text, empty on success.
std::string ReadPng(const std::string& path, TBitmap24& bitmap);

}  // namespace korvel
