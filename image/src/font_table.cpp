#include "image/font_table.h"

#include <charconv>

namespace brumil::image {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

FontTarget Family(std::string name) {
    return FontTarget{FontTarget::Kind::Family, std::move(name), 0};
}

}  // namespace

FontTable::FontTable() {
    entries_.emplace("ＭＳ ゴシック", Family("IPAGothic"));
    entries_.emplace("ＭＳ Ｐゴシック", Family("IPAPGothic"));
    entries_.emplace("楷書", Family("IPAMincho"));
    entries_.emplace("あくあ", Family("IPAPGothic"));
}

void FontTable::Parse(std::string_view text, std::string_view fontFolder) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const std::string_view line = Trim(text.substr(0, eol));
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (line.empty() || line.front() == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = Trim(line.substr(0, eq));
        const std::string_view target = Trim(line.substr(eq + 1));
        if (name.empty()) continue;
        FontTarget t;
        if (target.starts_with("family:")) {
            t = Family(std::string(Trim(target.substr(7))));
            if (t.value.empty()) continue;
        } else if (target.starts_with("file:")) {
            std::string_view file = Trim(target.substr(5));
            const auto hash = file.rfind('#');
            if (hash != std::string_view::npos) {
                const std::string_view num = file.substr(hash + 1);
                int index = 0;
                const auto res = std::from_chars(num.data(), num.data() + num.size(), index);
                if (res.ec != std::errc() || res.ptr != num.data() + num.size() || index < 0)
                    continue;
                t.index = index;
                file = file.substr(0, hash);
            }
            if (file.empty()) continue;
            t.kind = FontTarget::Kind::File;
            if (file.front() == '/' || file.front() == '\\') {
                t.value = std::string(file);
            } else {
                t.value = std::string(fontFolder);
                if (!t.value.empty() && t.value.back() != '\\' && t.value.back() != '/')
                    t.value += '\\';
                t.value += file;
            }
        } else {
            continue;
        }
        entries_.insert_or_assign(std::string(name), std::move(t));
    }
}

FontTarget FontTable::Resolve(std::string_view name) const {
    const auto it = entries_.find(name);
    if (it != entries_.end()) return it->second;
    return Family(std::string(name));
}

}  // namespace brumil::image
