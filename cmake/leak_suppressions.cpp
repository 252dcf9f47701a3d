// Leaks inside libraries, which the leak checker of the tests and of the game
// is told to pass over:
// - fontconfig keeps part of its parsed configuration for the life of the
//   process and never frees it.
// - libdbus, which the media library's desktop services open under a display,
//   keeps its message buffers past the end of the program.
// - libsndfile, opening an Ogg file that turns out damaged, drops the Vorbis
//   stream information it had allocated (about 5.8 KB per file; a bare
//   sf_open does the same). The fast unwinder stops inside libvorbis, so the
//   entry names the allocating call. A stream of our own left open would
//   still show: its page and decoder buffers are allocated elsewhere.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:vorbis_info_init\n";
}
