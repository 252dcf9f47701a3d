#include "app/overlay_font_file.h"

#include "image/font_table.h"
#include "platform/base/files.h"
#include "platform/font/font_face.h"

namespace brumil::app {

namespace {

constexpr std::string_view kFontFolder = "\\data\\font\\";
constexpr std::string_view kFontTableFile = "\\data\\font\\fonts.txt";

}  // namespace

std::string OverlayFontFile(std::string_view faceName, int& faceIndex) {
    faceIndex = 0;
    image::FontTable table;
    if (auto bytes = platform::ReadFile(kFontTableFile)) {
        table.Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                    kFontFolder);
    }
    const image::FontTarget target = table.Resolve(faceName);
    if (target.kind == image::FontTarget::Kind::File) {
        faceIndex = target.index;
        return platform::MapPath(target.value).string();
    }
    const auto found = platform::FindFontFamily(target.value);
    if (!found) return {};
    faceIndex = found->index;
    return found->file.string();
}

}  // namespace brumil::app
