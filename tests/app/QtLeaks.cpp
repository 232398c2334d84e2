// Leaks the leak checker of the sanitizer build should not report in window
// tests: fontconfig keeps its font cache for the life of the process, as
// Qt's text layout asks it to.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
