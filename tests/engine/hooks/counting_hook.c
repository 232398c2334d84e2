/* A picture-filter library for the engine's hook tests. It takes no
 * arguments (no Configure), keeps the time of every picture it is given and
 * paints an 8 x 8 white square into the top left corner of the first plane,
 * so that the tests can see which pictures reached the outputs processed. */
#include <stddef.h>
#include <stdint.h>
#include <string.h>

typedef struct {
  uint8_t* data[4];
  int linesize[4];
} Picture;

enum { MaxTimes = 4096 };

int CountingHookCalls = 0;
int64_t CountingHookTimes[MaxTimes];

void Process(void* context, Picture* picture, int format, int width, int height, int64_t pts) {
  (void)context;
  (void)format;
  if (CountingHookCalls < MaxTimes) CountingHookTimes[CountingHookCalls] = pts;
  ++CountingHookCalls;
  for (int row = 0; row < 8 && row < height; ++row)
    memset(picture->data[0] + (ptrdiff_t)row * picture->linesize[0], 255,
           (size_t)(width < 8 ? width : 8));
}
