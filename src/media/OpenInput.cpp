#include "media/OpenInput.h"

#include "media/AVFormatStubs.h"
#include "media/ProbeTexts.h"

namespace trovenix {

int RefineOpenError(const std::string& fileName, const AVInputFormat* forced, int code) {
  if (code != AVERROR_INVALIDDATA || forced) return code;
  AVIOContext* io = nullptr;
  if (ff::avio_open(&io, fileName.c_str(), AVIO_FLAG_READ) < 0) return code;
  // An empty file has no format at all, whatever its name suggests.
  const AVInputFormat* found = nullptr;
  const bool known = ff::avio_size(io) != 0 &&
                     ff::av_probe_input_buffer2(io, &found, fileName.c_str(), nullptr, 0, 0) >= 0 &&
                     found != nullptr;
  ff::avio_closep(&io);
  return known ? code : UnknownFormatError();
}

std::string StreamInfoErrorText(const std::string& fileName) {
  return fileName + ": could not find codec parameters";
}

}  // namespace trovenix
