#include "engine/PicturePad.h"

#include <cstring>

#include "media/AVUtilStubs.h"

namespace trovenix {
namespace {

struct TPlaneGeometry {
  int XShift = 0, YShift = 0;  // subsampling of the plane
  int Step = 1;                // bytes from one pixel to the next
};

TPlaneGeometry Geometry(const AVPixFmtDescriptor* desc, int plane) {
  TPlaneGeometry g;
  for (int c = 0; c < desc->nb_components; ++c) {
    if (desc->comp[c].plane != plane) continue;
    g.Step = desc->comp[c].step;
    if (c == 1 || c == 2) {
      g.XShift = desc->log2_chroma_w;
      g.YShift = desc->log2_chroma_h;
    }
    break;
  }
  return g;
}

bool PlanarYuv8(const AVPixFmtDescriptor* desc) {
  return (desc->flags & AV_PIX_FMT_FLAG_PLANAR) && !(desc->flags & AV_PIX_FMT_FLAG_RGB) &&
         desc->nb_components >= 3 && desc->comp[0].depth == 8;
}

}  // namespace

void InnerArea(const AVFrame& picture, int top, int left, std::uint8_t* data[4], int linesize[4]) {
  const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  for (int p = 0; p < 4; ++p) {
    data[p] = picture.data[p];
    linesize[p] = picture.linesize[p];
    if (!data[p]) continue;
    const TPlaneGeometry g = Geometry(desc, p);
    data[p] += static_cast<std::ptrdiff_t>(top >> g.YShift) * picture.linesize[p] +
               static_cast<std::ptrdiff_t>(left >> g.XShift) * g.Step;
  }
}

void PaintBorders(AVFrame& picture, int top, int bottom, int left, int right,
                  const std::array<int, 3>& yuv) {
  const AVPixFmtDescriptor* desc = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  const bool yuv8 = PlanarYuv8(desc);
  for (int p = 0; p < 4 && picture.data[p]; ++p) {
    const TPlaneGeometry g = Geometry(desc, p);
    const int value = yuv8 && p < 3 ? yuv[p] : 0;
    const int rows = -((-picture.height) >> g.YShift);
    const int width = -((-picture.width) >> g.XShift) * g.Step;
    const int topRows = top >> g.YShift, bottomRows = bottom >> g.YShift;
    const int leftBytes = (left >> g.XShift) * g.Step, rightBytes = (right >> g.XShift) * g.Step;
    for (int r = 0; r < rows; ++r) {
      std::uint8_t* row = picture.data[p] + static_cast<std::ptrdiff_t>(r) * picture.linesize[p];
      if (r < topRows || r >= rows - bottomRows) {
        std::memset(row, value, static_cast<std::size_t>(width));
      } else {
        std::memset(row, value, static_cast<std::size_t>(leftBytes));
        std::memset(row + width - rightBytes, value, static_cast<std::size_t>(rightBytes));
      }
    }
  }
}

}  // namespace trovenix
