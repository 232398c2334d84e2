// Re-encoding of decoded pictures and sound.
#include "engine/FFmpeg.h"

namespace trovenix {
namespace {

constexpr const char* NotAvailable = "Re-encoding is not available yet: use stream copy";

}  // namespace

void TCustomFFmpeg::EncodeVideo(TOutputStreamState&, TInputStreamState&, AVFrame&) {
  throw FFmpegException(NotAvailable);
}

void TCustomFFmpeg::EncodeAudio(TOutputStreamState&, TInputStreamState&, AVFrame&) {
  throw FFmpegException(NotAvailable);
}

void TCustomFFmpeg::FlushEncoder(TOutputStreamState&) {}

}  // namespace trovenix
