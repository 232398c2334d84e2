// The two ends every picture filter graph of the engine has.
#pragma once

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
struct AVFilterContext;
struct AVFilterGraph;
}

namespace trovenix {

// Adds to the graph a buffer source ("src") for pictures of the given size,
// format and sample aspect with times in microseconds, and a buffer sink
// ("out") that gives pictures in the format out. False when either cannot
// be made.
bool CreateFilterEnds(AVFilterGraph& graph, int width, int height, int format, AVRational aspect,
                      AVPixelFormat out, AVFilterContext*& source, AVFilterContext*& sink);

}  // namespace trovenix
