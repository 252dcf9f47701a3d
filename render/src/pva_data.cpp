// PVAData: the node's arrays and the writer of the scene text form.
#include "render/pva_data.h"

#include <algorithm>

#include "scene_number.h"

namespace brumil::render {

namespace {

bool InRange(Long index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

template <typename T>
void Resize(std::vector<T>& v, Long n) {
    if (n <= 0) {
        v.clear();
        v.shrink_to_fit();
        return;
    }
    v.resize(static_cast<std::size_t>(n));
}

void Line(std::string& out, std::string_view text) {
    out += text;
    out += "\r\n";
}

void CountLine(std::string& out, std::string_view marker, std::size_t count) {
    out += marker;
    out += ' ';
    out += std::to_string(count);
    out += "\r\n";
}

}  // namespace

PVAData::PVAData() = default;
PVAData::~PVAData() = default;

void PVAData::Data(Long index, std::string_view value) {
    if (InRange(index, texts_.size())) texts_[static_cast<std::size_t>(index)] = value;
}

std::string PVAData::Data(Long index) const {
    return InRange(index, texts_.size()) ? texts_[static_cast<std::size_t>(index)] : std::string();
}

void PVAData::DataCount(Long n) {
    Resize(texts_, n);
}

void PVAData::Number(Long index, double value) {
    if (InRange(index, numbers_.size())) numbers_[static_cast<std::size_t>(index)] = value;
}

double PVAData::Number(Long index) const {
    return InRange(index, numbers_.size()) ? numbers_[static_cast<std::size_t>(index)] : 0.0;
}

void PVAData::NumberCount(Long n) {
    Resize(numbers_, n);
}

PVAData* PVAData::Child(Long index) {
    if (!InRange(index, children_.size())) return nullptr;
    auto& slot = children_[static_cast<std::size_t>(index)];
    if (!slot) slot = std::make_unique<PVAData>();
    return slot.get();
}

void PVAData::ChildCount(Long n) {
    Resize(children_, n);
}

void PVAData::Clear() {
    DataCount(0);
    NumberCount(0);
    ChildCount(0);
}

void PVAData::strInport(std::span<const std::string> items) {
    texts_.assign(items.begin(), items.end());
    if (texts_.empty()) texts_.shrink_to_fit();
}

std::string PVAData::strData() const {
    std::string out;
    Write(out);
    return out;
}

void PVAData::Write(std::string& out) const {
    if (!texts_.empty()) {
        CountLine(out, "\\t", texts_.size());
        for (const std::string& text : texts_) {
            // The text's own CR LF pairs become line breaks: "@" starts the
            // entry, "$" continues it. A lone CR or LF stays inside its line.
            std::string_view rest = text;
            char lead = '@';
            for (;;) {
                const std::size_t brk = rest.find("\r\n");
                out += lead;
                Line(out, rest.substr(0, brk));
                if (brk == std::string_view::npos) break;
                rest.remove_prefix(brk + 2);
                lead = '$';
            }
        }
    }
    if (!numbers_.empty()) {
        CountLine(out, "\\n", numbers_.size());
        for (const double n : numbers_) {
            out += ':';
            Line(out, detail::FormatSceneNumber(n));
        }
    }
    if (!children_.empty()) {
        CountLine(out, "\\c", children_.size());
        for (const auto& child : children_) {
            if (child) {
                child->Write(out);
            } else {
                Line(out, "\\e");  // an empty slot writes as an empty node
            }
        }
    }
    Line(out, "\\e");
}

}  // namespace brumil::render
