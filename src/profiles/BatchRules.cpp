#include "profiles/BatchRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/OptionValues.h"

namespace trovenix {
namespace fs = std::filesystem;
namespace {

bool Taken(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (fs::equivalent(a, b, ec)) return true;
  const fs::path first = fs::weakly_canonical(a, ec);
  if (ec) return false;
  const fs::path second = fs::weakly_canonical(b, ec);
  return !ec && first == second;
}

// Decimal number filling the whole text.
bool ReadNumber(const std::string& text, double& value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

}  // namespace

std::string UniqueOutputName(const std::string& path, const std::string& ext,
                             const std::set<std::string>& reserved) {
  const auto free = [&](const std::string& name) {
    return !Taken(name) && reserved.count(name) == 0;
  };
  const std::string base = fs::path(path).replace_extension().string();
  if (free(base + ext)) return base + ext;
  for (long n = 1;; ++n) {
    const std::string name = base + "-" + std::to_string(n) + ext;
    if (free(name)) return name;
  }
}

std::string OutputFileName(const std::string& outputFolder, const std::string& sourcePath,
                           const std::string& outputExtension, bool overwrite,
                           const std::set<std::string>& reserved) {
  std::string ext = "." + outputExtension;
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // Blanks around the folder name are a typing slip; the folder check of the
  // Convert click already ignores them.
  std::string folder = TrimSpaces(outputFolder);
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const std::string source = TrimSpaces(sourcePath);
  const std::string name = folder + fs::path(source).filename().replace_extension(ext).string();
  if (!overwrite || SameFile(name, source)) return UniqueOutputName(name, ext, reserved);
  return name;
}

std::string AspectRatioText(int aspectItemIndex, const std::string& videoSizeCell) {
  if (aspectItemIndex == 1) return "4:3";
  if (aspectItemIndex == 2) return "16:9";
  constexpr const char* fallback = "1.3333";
  std::string size = TrimSpaces(videoSizeCell);
  if (size.empty()) size = "640x480";
  const std::size_t x = size.find('x');
  double width = 0, height = 0;
  if (x == std::string::npos || !ReadNumber(size.substr(0, x), width) ||
      !ReadNumber(size.substr(x + 1), height) || width <= 0 || height <= 0)
    return fallback;
  const double ratio = std::nearbyint(width / height * 10000.0) / 10000.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", ratio);
  std::string result = text;
  while (result.back() == '0') result.pop_back();
  if (result.back() == '.') result.pop_back();
  return result == "0" ? fallback : result;
}

int RecordingTimeForDuration(const std::string& durationCell) {
  return durationCell == "00:00:00" || durationCell == "Unknown" ? UnknownDurationLimitMs : -1;
}

std::int64_t ProgressPercent(std::int64_t currentDurationMs, std::int64_t totalOutputDurationMs) {
  if (totalOutputDurationMs <= 0) return 0;
  return currentDurationMs * 100 / totalOutputDurationMs;
}

std::string ProgressCellText(std::int64_t percent) {
  return std::to_string(std::min<std::int64_t>(percent, 100)) + "%";
}

std::string FramesCellText(std::int64_t frameNumber) {
  return frameNumber == -1 ? " " : std::to_string(frameNumber);
}

std::string FileSizeStatusText(std::int64_t currentSizeBytes) {
  const double kilobytes = std::nearbyint(static_cast<double>(currentSizeBytes) / 1000.0);
  return "File Size : " + std::to_string(static_cast<std::int64_t>(kilobytes)) + " KBytes";
}

}  // namespace trovenix
