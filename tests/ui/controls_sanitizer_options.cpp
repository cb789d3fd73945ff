// Fontconfig keeps a few bytes of its configuration for the life of the process and never
// frees them; the leak checker of the sanitizer build would fail every test that draws
// text. Only that library is excused.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
