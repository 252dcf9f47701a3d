#pragma once
// The stand-in data set: every picture, sound effect, music file, loop file
// and font table the game loads, drawn and synthesised here so that the game
// runs with real files. The output depends on nothing but this code: the same
// program writes the same bytes on every run.
//
// `root` is the data root (the folder "exepath.txt" names); the files go under
// root/data/ with the names the game asks for.

#include <filesystem>
#include <string>
#include <vector>

#include "image/cmg_bbi.h"

namespace brumil::datagen {

struct GenerateResult {
    bool ok = true;
    int files = 0;
    std::vector<std::string> errors;  // one line per file that could not be written
};

GenerateResult GenerateDataSet(const std::filesystem::path& root);

// One picture of every BMP under root/data, in name order, each shrunk into a
// labelled tile over a chequer board (so that alpha shows).
image::CmgBBI MakeContactSheet(const std::filesystem::path& root);

}  // namespace brumil::datagen
