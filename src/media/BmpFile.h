// 24-bit bitmaps to and from BMP files (uncompressed, BITMAPINFOHEADER,
// bottom row first as the format stores it).
#pragma once

#include <memory>
#include <string>

#include "media/Bitmap.h"

namespace trovenix {

// Writes the bitmap; a 0 x 0 bitmap gives a valid file without pixels.
// False when the file cannot be written completely (a partial file is removed).
bool SaveBitmapToBmp(const TBitmap& bitmap, const std::string& fileName);

// Reads a file written by SaveBitmapToBmp (24-bit, uncompressed, either row
// order); nullptr for anything else.
std::unique_ptr<TBitmap> LoadBitmapFromBmp(const std::string& fileName);

}  // namespace trovenix
