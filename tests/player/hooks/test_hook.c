/* A picture-filter library for the loader's tests. Built three times: complete,
 * without Configure and without Process. It leaves traces the tests read back
 * through dlsym: what Configure saw, the order in which Process and Release
 * reached each context, and the arguments Process got. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef struct {
  uint8_t* data[4];
  int linesize[4];
} Picture;

typedef struct {
  char Tag;
} Context;

int HookLoadCount = 0;
int HookLastArgc = 0;
int HookArgvTerminated = 0;
char HookLastArgv0[512];
char HookConfigureCwd[4096];
char HookReleaseTrace[64];
void* HookLastContext = NULL;
int HookLastFormat = 0;
int HookLastWidth = 0;
int HookLastHeight = 0;
int64_t HookLastPts = 0;

__attribute__((constructor)) static void Loaded(void) { ++HookLoadCount; }

static void Append(char* trace, size_t size, char tag) {
  size_t length = strlen(trace);
  if (length + 1 < size) {
    trace[length] = tag;
    trace[length + 1] = '\0';
  }
}

#ifndef HOOK_WITHOUT_CONFIGURE
/* The tag is the first letter of the second argument ('-' without one);
 * "fail" as that argument makes Configure fail. */
int Configure(void** context, int argc, char* argv[]) {
  HookLastArgc = argc;
  HookArgvTerminated = argv[argc] == NULL;
  strncpy(HookLastArgv0, argv[0], sizeof HookLastArgv0 - 1);
  if (!getcwd(HookConfigureCwd, sizeof HookConfigureCwd)) HookConfigureCwd[0] = '\0';
  if (argc > 1 && strcmp(argv[1], "fail") == 0) return 1;
  Context* own = malloc(sizeof *own);
  if (!own) return 1;
  own->Tag = argc > 1 ? argv[1][0] : '-';
  *context = own;
  return 0;
}
#endif

#ifndef HOOK_WITHOUT_PROCESS
/* Appends the context's tag ('0' without a context) to the text in data[0]. */
void Process(void* context, Picture* picture, int format, int width, int height, int64_t pts) {
  HookLastContext = context;
  HookLastFormat = format;
  HookLastWidth = width;
  HookLastHeight = height;
  HookLastPts = pts;
  char tag = context ? ((Context*)context)->Tag : '0';
  Append((char*)picture->data[0], (size_t)picture->linesize[0], tag);
}
#endif

void Release(void* context) {
  Append(HookReleaseTrace, sizeof HookReleaseTrace, context ? ((Context*)context)->Tag : '0');
  free(context);
}
