// Leaks the leak checker of the sanitizer build should not report in player
// tests: SDL keeps state of its own (video driver, hints) once started, which
// the player releases by subsystem count rather than with a full shutdown, so
// that a sound played meanwhile keeps its device.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libSDL2-2.0.so.0\n";
}
