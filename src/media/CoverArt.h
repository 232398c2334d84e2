// Cover pictures: a video stream of one picture that a music file carries.
#pragma once

extern "C" {
#include <libavformat/avformat.h>
}

namespace trovenix {

inline bool IsCoverArt(const AVStream& stream) {
  return stream.codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
         (stream.disposition & AV_DISPOSITION_ATTACHED_PIC) != 0;
}

}  // namespace trovenix
