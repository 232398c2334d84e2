// Forced container formats: "f" and the input and output format setters.
#include "engine/FFmpeg.h"
#include "media/AVFormatStubs.h"
#include "media/ProbeTexts.h"

namespace trovenix {
namespace {

// "pgmyuv" became part of the image2 muxer and demuxer; old option texts
// still name it.
std::string CurrentFormatName(TCustomFFmpeg& task, const std::string& name) {
  if (name != "pgmyuv") return name;
  task.PgmyuvCompat = 1;
  task.Log("pgmyuv format is deprecated, use image2");
  return "image2";
}

}  // namespace

void TCustomFFmpeg::SetInputFormat(const std::string& name) {
  if (name.empty()) return;
  const std::string current = CurrentFormatName(*this, name);
  const AVInputFormat* format = ff::av_find_input_format(current.c_str());
  if (!format) throw FFmpegException(UnknownInputFormatText(current));
  InputFormat = format;
}

void TCustomFFmpeg::SetOutputFormat(const std::string& name) {
  if (name.empty()) return;
  const std::string current = CurrentFormatName(*this, name);
  const AVOutputFormat* format = ff::av_guess_format(current.c_str(), nullptr, nullptr);
  if (!format) throw FFmpegException("Unknown output format: " + current);
  OutputFormat = format;
}

void TCustomFFmpeg::SetFormat(const std::string& name) {
  if (name.empty()) return;
  const std::string current = CurrentFormatName(*this, name);
  const AVInputFormat* input = ff::av_find_input_format(current.c_str());
  const AVOutputFormat* output = ff::av_guess_format(current.c_str(), nullptr, nullptr);
  // A name neither side knows changes nothing, so earlier forced formats stay.
  if (!input && !output) throw FFmpegException("Unknown input or output format: " + current);
  InputFormat = input;
  OutputFormat = output;
}

}  // namespace trovenix
