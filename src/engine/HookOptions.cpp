// Frame hook modules, the time ranges they run in, and the preview switches.
#include <algorithm>
#include <mutex>

#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

constexpr std::size_t MaxHookTokens = 64;

// Splits like strtok: runs of separators count as one, and separators at
// either end give no empty tokens.
std::vector<std::string> SplitTokens(const std::string& text, char separator) {
  std::vector<std::string> tokens;
  std::size_t at = 0;
  while (tokens.size() < MaxHookTokens) {
    at = text.find_first_not_of(separator, at);
    if (at == std::string::npos) break;
    const std::size_t end = text.find(separator, at);
    tokens.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end;
  }
  return tokens;
}

}  // namespace

// "module arg arg ..." or, when a path or argument holds spaces,
// "module|arg|arg ...".
void TCustomFFmpeg::AddVideoHook(const std::string& text) {
  if (text.empty()) return;
  const char separator = text.find('|') != std::string::npos ? '|' : ' ';
  if (FrameHooks.Add(SplitTokens(text, separator)) != 0)
    throw FFmpegException("Failed to add video hook function: " + text);
  UsingVhook = true;
}

void TCustomFFmpeg::SetHookTimeRanges(const std::vector<THookRange>& ranges) {
  HookRanges = ranges;
  HookRangeIndex = 0;
  std::sort(HookRanges.begin(), HookRanges.end(),
            [](const THookRange& a, const THookRange& b) { return a.End < b.End; });
}

// May be called while the task runs; the preview window is only touched
// under the preview lock.
void TCustomFFmpeg::SetPreviewFlags(std::uint8_t flags) {
  const std::lock_guard<std::mutex> lock(PreviewLock());
  if (flags != PreviewFlags && (PreviewFlags & 1) != 0 && (flags & 1) == 0) Previewer.reset();
  PreviewFlags = flags;
}

}  // namespace trovenix
