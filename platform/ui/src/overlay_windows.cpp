#include "overlay_windows.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace brumil::platform {

namespace {

// Glyphs every window font has: ASCII and Latin-1, arrows, the CJK
// punctuation and kana, and the full-width forms.
const ImWchar kWindowBaseRanges[] = {0x0020, 0x00FF, 0x2190, 0x2193, 0x3000,
                                     0x30FF, 0xFF00, 0xFFEF, 0};

struct FontKey {
    std::filesystem::path file;
    int index = 0;
    float size = 0;
    bool operator==(const FontKey&) const = default;
};

}  // namespace

void OverlayWindows::Add(OverlayWindow& window) {
    for (const Entry& e : entries_)
        if (e.window == &window) return;
    entries_.push_back(Entry{&window, nullptr, false});
}

void OverlayWindows::Remove(OverlayWindow& window) {
    std::erase_if(entries_, [&](const Entry& e) { return e.window == &window; });
}

bool OverlayWindows::LoadFonts() {
    // Group the new windows by the face they ask for.
    struct Group {
        FontKey key;
        std::string glyphs;
        bool japanese = false;
        std::vector<Entry*> members;
    };
    std::vector<Group> groups;
    for (Entry& e : entries_) {
        if (e.fontLoaded) continue;
        e.fontLoaded = true;
        const OverlayFont* font = e.window->Font();
        std::error_code ec;
        if (font == nullptr || font->file.empty() || !std::filesystem::exists(font->file, ec)) {
            continue;  // ImGui's own font
        }
        const FontKey key{font->file, font->index, font->size};
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const Group& g) { return g.key == key; });
        if (it == groups.end()) {
            groups.push_back(Group{key, {}, false, {}});
            it = groups.end() - 1;
        }
        it->glyphs += font->glyphs;
        it->japanese = it->japanese || font->japanese;
        it->members.push_back(&e);
    }
    if (groups.empty()) return false;

    ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    for (Group& g : groups) {
        ImFontGlyphRangesBuilder builder;
        builder.AddRanges(kWindowBaseRanges);
        builder.AddText(g.glyphs.c_str(), g.glyphs.c_str() + g.glyphs.size());
        if (g.japanese) builder.AddRanges(atlas->GetGlyphRangesJapanese());
        ImVector<ImWchar>& ranges = ranges_.emplace_back();
        builder.BuildRanges(&ranges);
        ImFontConfig config;
        config.FontNo = g.key.index;
        ImFont* loaded = atlas->AddFontFromFileTTF(g.key.file.string().c_str(), g.key.size, &config,
                                                   ranges.Data);
        for (Entry* e : g.members) e->font = loaded;
    }
    return true;
}

void OverlayWindows::Draw(const OverlayPlace& place) {
    for (const Entry& e : entries_) {
        if (e.font != nullptr) ImGui::PushFont(e.font);
        e.window->Draw(place);
        if (e.font != nullptr) ImGui::PopFont();
    }
}

bool OverlayWindows::CapturesKeys() {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const Entry& e) { return e.window->CapturesKeys(); });
}

}  // namespace brumil::platform
