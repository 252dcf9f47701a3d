// The contact sheet: every generated picture shrunk into a labelled tile, so
// that a person can look at the whole set at once.

#include <algorithm>
#include <string>
#include <vector>

#include "datagen/datagen.h"
#include "draw.h"
#include "image/cmg_bbi_function.h"
#include "text.h"

namespace brumil::datagen {

namespace {

constexpr int kTile = 168;  // tile width and picture area height
constexpr int kLabel = 18;  // label band under the picture
constexpr int kColumns = 8;

std::vector<std::filesystem::path> Pictures(const std::filesystem::path& data) {
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(data, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file() && it->path().extension() == ".bmp") found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

image::CmgBBI MakeContactSheet(const std::filesystem::path& root) {
    const std::filesystem::path data = root / "data";
    const auto files = Pictures(data);
    const int rows = std::max<int>(1, (static_cast<int>(files.size()) + kColumns - 1) / kColumns);
    CmgBBI sheet;
    sheet.CreateBBI(kColumns * kTile, rows * (kTile + kLabel));
    Clear(sheet, Rgb(0x303038));
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int tx = static_cast<int>(i % kColumns) * kTile;
        const int ty = static_cast<int>(i / kColumns) * (kTile + kLabel);
        // A chequer board shows where pictures are transparent.
        PaintRect(sheet, tx + 4, ty + 4, kTile - 8, kTile - 8, [](int x, int y) {
            return ((x / 8 + y / 8) % 2) ? Rgb(0x9A9AA4) : Rgb(0x6A6A74);
        });
        CmgBBI pic;
        if (pic.CreateBBIfromFile(files[i].string()) == 0) {
            const float scale =
                std::min(1.0f, static_cast<float>(kTile - 8) /
                                   static_cast<float>(std::max(pic.GetWidth(), pic.GetHeight())));
            const int w = std::max(1, static_cast<int>(static_cast<float>(pic.GetWidth()) * scale));
            const int h =
                std::max(1, static_cast<int>(static_cast<float>(pic.GetHeight()) * scale));
            CmgBBI small;
            small.CreateBBI(w, h);
            image::gBBIFunction().BBILinearBlt(small, pic, 0, 0, w, h, 0, 0, 0, 0);
            Compose(sheet, small, tx + (kTile - w) / 2, ty + (kTile - h) / 2);
        }
        const std::string label = std::filesystem::relative(files[i], data).generic_string();
        TextAt(sheet, tx + 4, ty + kTile, label, FitWidth(label, {kPGothic, 13, 0, 0}, kTile - 8),
               Rgb(0xE8E8F0));
    }
    return sheet;
}

}  // namespace brumil::datagen
