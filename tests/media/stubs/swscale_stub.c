/* A stand-in for libswscale exporting the names the loader binds, so tests can
 * see which file the loader picked and what happens when a name is missing.
 * Nothing here is ever called. Built twice: complete, and without sws_scale. */
void sws_alloc_context(void) {}
void sws_freeContext(void) {}
void sws_getCachedContext(void) {}
void sws_getContext(void) {}
void sws_isSupportedInput(void) {}
void sws_isSupportedOutput(void) {}
#ifndef STUB_WITHOUT_SWS_SCALE
void sws_scale(void) {}
#endif
