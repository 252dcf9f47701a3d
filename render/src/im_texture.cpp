// CIMTexture: entries by name and index, and the search pairs.

#include "render/im_texture.h"

#include "core/text.h"
#include "render/graphics.h"

namespace brumil::render {

namespace {
constexpr Long kGrowStep = 20;

// The name list refuses the empty key, yet the empty name has an entry of its
// own (scene records can name no texture). No file name holds a NUL, so this
// key stands for it without meeting any other name.
constexpr std::string_view kEmptyNameKey{"\0", 1};
}  // namespace

CIMTexture::CIMTexture() {
    Clear();
}

CIMTexture::~CIMTexture() {
    Clear();
}

void CIMTexture::Clear() {
    textures_.clear();
    names_.reset();
}

Long CIMTexture::Add(std::string_view name) {
    if (!names_) names_ = std::make_unique<core::CHashList>();
    const std::string key = name.empty() ? std::string(kEmptyNameKey) : core::LowerAscii(name);
    Long index = names_->StringTest(key);
    if (index < 0) {
        index = names_->Add(key);
        if (index < 0) {
            lastAdded_ = false;
            return -1;
        }
        if (index >= Capacity()) textures_.resize(static_cast<std::size_t>(index + kGrowStep));
    }
    auto& slot = textures_[static_cast<std::size_t>(index)];
    if (slot) {
        lastAdded_ = false;
        return index;
    }
    slot = std::make_shared<CGraphics>();
    // A failed load keeps the empty entry, so the name is not tried again.
    // The empty name loads nothing: its entry is the empty picture.
    if (!name.empty() && name.front() != '?') {
        LoadTextureFromSearchPath(index, name);
    } else if (!name.empty()) {
        AddOptionTexture(index, std::string(name.substr(1)));
    }
    lastAdded_ = true;
    return index;
}

Long CIMTexture::Add(std::string_view name, Long& index) {
    index = Add(name);
    return index >= 0 ? 0 : 1;
}

std::shared_ptr<CGraphics> CIMTexture::Item(Long index) const {
    if (index >= 0 && index < Capacity()) return textures_[static_cast<std::size_t>(index)];
    return std::make_shared<CGraphics>();
}

void CIMTexture::Item(Long index, std::shared_ptr<CGraphics> graphic) {
    if (index >= 0 && index < Capacity()) {
        textures_[static_cast<std::size_t>(index)] = std::move(graphic);
    }
}

std::shared_ptr<CGraphics> CIMTexture::ItemAs(std::string_view name) {
    return Item(Add(name));
}

void CIMTexture::ItemAs(std::string_view name, std::shared_ptr<CGraphics> graphic) {
    Item(Add(name), std::move(graphic));
}

void CIMTexture::SearchPathAdd(std::string_view prefix, std::string_view suffix) {
    for (std::size_t i = 0; i < prefixes_.size(); ++i) {
        if (prefixes_[i] == prefix && suffixes_[i] == suffix) return;
    }
    prefixes_.emplace_back(prefix);
    suffixes_.emplace_back(suffix);
}

Long CIMTexture::LoadTextureFromSearchPath(Long index, std::string_view name) {
    const auto graphic = Item(index);
    for (std::size_t i = 0; i < prefixes_.size(); ++i) {
        std::string path = prefixes_[i];
        path += name;
        path += suffixes_[i];
        if (graphic->Load(path, {}) == 0) return 0;
    }
    return 1;
}

}  // namespace brumil::render
