// fontconfig keeps part of its parsed configuration for the life of the
// process and never frees it; the leak checker is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
