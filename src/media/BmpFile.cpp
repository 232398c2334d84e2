#include "media/BmpFile.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace trovenix {

namespace {

constexpr std::uint32_t FileHeaderBytes = 14;
constexpr std::uint32_t InfoHeaderBytes = 40;

void Put16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

std::uint16_t Get16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

bool SaveBitmapToBmp(const TBitmap& bitmap, const std::string& fileName) {
  const auto stride = static_cast<std::uint32_t>(bitmap.Stride());
  const auto height = static_cast<std::uint32_t>(bitmap.Height());
  const std::uint32_t pixelBytes = stride * height;
  std::array<std::uint8_t, FileHeaderBytes + InfoHeaderBytes> header{};
  header[0] = 'B';
  header[1] = 'M';
  Put32(&header[2], FileHeaderBytes + InfoHeaderBytes + pixelBytes);
  Put32(&header[10], FileHeaderBytes + InfoHeaderBytes);
  std::uint8_t* info = &header[FileHeaderBytes];
  Put32(info, InfoHeaderBytes);
  Put32(info + 4, static_cast<std::uint32_t>(bitmap.Width()));
  Put32(info + 8, height);  // positive: bottom row first
  Put16(info + 12, 1);      // planes
  Put16(info + 14, TBitmap::BitsPerPixel);
  Put32(info + 20, pixelBytes);
  Put32(info + 24, 2835);  // 72 dots per inch
  Put32(info + 28, 2835);
  bool written = false;
  {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    for (int row = bitmap.Height() - 1; row >= 0 && out; --row)
      out.write(reinterpret_cast<const char*>(bitmap.Row(row)), stride);
    out.flush();
    written = static_cast<bool>(out);
  }
  if (!written) std::remove(fileName.c_str());
  return written;
}

std::unique_ptr<TBitmap> LoadBitmapFromBmp(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return nullptr;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (bytes.size() < FileHeaderBytes + InfoHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
    return nullptr;
  const std::uint8_t* info = &bytes[FileHeaderBytes];
  const std::uint32_t offset = Get32(&bytes[10]);
  const auto width = static_cast<std::int32_t>(Get32(info + 4));
  const auto rawHeight = static_cast<std::int32_t>(Get32(info + 8));
  if (Get16(info + 14) != TBitmap::BitsPerPixel || Get32(info + 16) != 0 || width < 0 ||
      width > 65535 || rawHeight < -65535 || rawHeight > 65535)
    return nullptr;
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  auto bitmap = std::make_unique<TBitmap>(width, height);
  const auto stride = static_cast<std::size_t>(bitmap->Stride());
  if (offset > bytes.size() || bytes.size() - offset < stride * static_cast<std::size_t>(height))
    return nullptr;
  for (int row = 0; row < height; ++row) {
    const int fileRow = rawHeight < 0 ? row : height - 1 - row;
    std::memcpy(bitmap->Row(row), &bytes[offset + stride * static_cast<std::size_t>(fileRow)],
                stride);
  }
  return bitmap;
}

}  // namespace trovenix
