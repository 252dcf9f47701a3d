// brumil_pak FOLDER [ARCHIVE]
//
// Packs the plain files directly inside FOLDER (sub-folders are not packed)
// into ARCHIVE, by default FOLDER with ".pak" appended ("data/sound" becomes
// "data/sound.pak", which the program reads in place of the folder). Entries
// are written in name order. Exit status 0 on success, 1 on any failure.

#include <iostream>
#include <string>
#include <vector>

#include "core/pak_archive.h"
#include "platform/base/files.h"

namespace {

int Fail(const std::string& message) {
    std::cerr << "brumil_pak: " << message << '\n';
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace brumil;
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: brumil_pak FOLDER [ARCHIVE]\n";
        return 1;
    }
    std::string folder = argv[1];
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string archive = argc == 3 ? argv[2] : folder + ".pak";
    if (!platform::FolderExists(folder)) return Fail("not a folder: " + folder);

    std::vector<core::PakInput> files;
    std::uint64_t total = 0;
    for (const std::string& name : platform::ListFolder(folder, false)) {
        auto bytes = platform::ReadFile(folder + "/" + name);
        if (!bytes) return Fail("cannot read " + name);
        total += bytes->size();
        files.push_back({name, std::move(*bytes)});
    }
    const auto pak = core::BuildPak(files);
    if (!pak)
        return Fail(
            "cannot pack: a name is unusable, repeats without regard to case, "
            "or the archive passes 4 GiB");
    if (!platform::WriteFileAtomic(archive, std::span<const std::uint8_t>(*pak))) {
        return Fail("cannot write " + archive);
    }
    std::cout << archive << ": " << files.size() << " files, " << total << " bytes\n";
    return 0;
}
