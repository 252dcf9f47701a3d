// brumil_datagen ROOT                     writes the stand-in data set to ROOT/data
// brumil_datagen --contact-sheet ROOT OUT  writes one picture of every picture under ROOT/data

#include <cstdio>
#include <filesystem>
#include <string_view>

#include "datagen/datagen.h"

// fontconfig keeps part of its parsed configuration for the life of the
// process; the leak checker of sanitised builds is told so.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
    using namespace brumil;
    if (argc == 4 && std::string_view(argv[1]) == "--contact-sheet") {
        const auto sheet = datagen::MakeContactSheet(argv[2]);
        if (sheet.SaveBMP(std::filesystem::absolute(argv[3]).string(), 24) != 0) {
            std::fprintf(stderr, "brumil_datagen: cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: brumil_datagen OUTPUT_FOLDER\n"
                     "       brumil_datagen --contact-sheet DATA_ROOT OUTPUT.bmp\n");
        return 2;
    }
    const auto result = datagen::GenerateDataSet(std::filesystem::absolute(argv[1]));
    for (const auto& e : result.errors) std::fprintf(stderr, "brumil_datagen: %s\n", e.c_str());
    std::printf("brumil_datagen: %d files in %s\n", result.files, argv[1]);
    return result.ok ? 0 : 1;
}
