#include "output.h"

#include <system_error>

#include "platform/base/files.h"

namespace brumil::datagen {

std::filesystem::path Output::Prepare(std::string_view relative) {
    const std::filesystem::path target = data_ / std::filesystem::path(std::string(relative));
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    return target;
}

void Output::Note(bool ok, std::string_view relative) {
    if (ok) {
        ++result_.files;
    } else {
        result_.ok = false;
        result_.errors.push_back("cannot write " + std::string(relative));
    }
}

void Output::Picture(std::string_view relative, const image::CmgBBI& pic, int bits) {
    const auto target = Prepare(relative);
    Note(pic.SaveBMP(target.string(), bits) == 0, relative);
}

void Output::Bytes(std::string_view relative, std::span<const std::uint8_t> bytes) {
    const auto target = Prepare(relative);
    Note(platform::WriteFileAtomic(target.string(), bytes), relative);
}

void Output::Text(std::string_view relative, std::string_view text) {
    const auto target = Prepare(relative);
    Note(platform::WriteFileAtomic(target.string(), text), relative);
}

}  // namespace brumil::datagen
