// The video statistics file: one line per encoded frame.
#include <locale.h>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>

#include "engine/FFmpeg.h"
#include "media/AVUtilStubs.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace trovenix {
namespace {

// Numbers in the file read the same whatever locale the program runs in
// (the window's toolkit adopts the user's).
class TCNumericScope {
 public:
  TCNumericScope() : locale_(newlocale(LC_NUMERIC_MASK, "C", nullptr)) {
    if (locale_) previous_ = uselocale(locale_);
  }
  ~TCNumericScope() {
    if (!locale_) return;
    uselocale(previous_);
    freelocale(locale_);
  }
  TCNumericScope(const TCNumericScope&) = delete;
  TCNumericScope& operator=(const TCNumericScope&) = delete;

 private:
  locale_t locale_;
  locale_t previous_ = nullptr;
};

}  // namespace

void TCustomFFmpeg::WriteVideoStats(const TOutputStreamState& output, int frameSize) {
  if (!VstatsFile) {
    VstatsFile.reset(std::fopen(VstatsFileName.c_str(), "w"));
    if (!VstatsFile) throw FFmpegException("fopen fail: " + VstatsFileName);
  }
  const AVCodecContext* enc = output.Codec;
  if (enc->codec_type != AVMEDIA_TYPE_VIDEO) return;
  const TCNumericScope numbers;
  std::FILE* file = VstatsFile.get();
  std::fprintf(file, "frame= %5d q= %2.1f ", output.FrameNumber, output.Quality / FF_QP2LAMBDA);
  if (enc->flags & AV_CODEC_FLAG_PSNR) {
    const double peak = static_cast<double>(enc->width) * enc->height * 255.0 * 255.0;
    std::fprintf(file, "PSNR= %6.2f ",
                 -10.0 * std::log10(static_cast<double>(output.LastError[0]) / peak));
  }
  std::fprintf(file, "f_size= %6d ", frameSize);
  const double tb = av_q2d(enc->time_base);
  const double ti = std::max(static_cast<double>(output.SyncOpts) * tb, 0.01);
  std::fprintf(file, "s_size= %8.0fkB time= %0.3f br= %7.1fkbits/s avg_br= %7.1fkbits/s ",
               static_cast<double>(VideoSize) / 1024.0, ti, frameSize * 8.0 / tb / 1000.0,
               static_cast<double>(VideoSize) * 8.0 / ti / 1000.0);
  std::fprintf(file, "type= %c\n",
               ff::av_get_picture_type_char(static_cast<AVPictureType>(output.PictureType)));
}

}  // namespace trovenix
