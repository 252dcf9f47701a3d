#pragma once
// Where the generated files go: paths below root/data, folders made on demand,
// and a tally of what was written and what failed.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "datagen/datagen.h"
#include "image/cmg_bbi.h"

namespace brumil::datagen {

class Output {
public:
    explicit Output(std::filesystem::path root) : data_(std::move(root) / "data") {}

    // relative uses "/" between folders, e.g. "chara_pell/chara_0.bmp".
    void Picture(std::string_view relative, const image::CmgBBI& pic, int bits);
    void Bytes(std::string_view relative, std::span<const std::uint8_t> bytes);
    void Text(std::string_view relative, std::string_view text);

    GenerateResult& Result() { return result_; }

private:
    std::filesystem::path Prepare(std::string_view relative);
    void Note(bool ok, std::string_view relative);

    std::filesystem::path data_;
    GenerateResult result_;
};

}  // namespace brumil::datagen
