// PVAData: the reader of the scene text form. Nesting is followed with an
// explicit stack, so a hostile text cannot exhaust the call stack.
#include <vector>

#include "render/pva_data.h"
#include "scene_number.h"

namespace brumil::render {

namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t brk = text.find("\r\n");
        lines.push_back(text.substr(0, brk));
        if (brk == std::string_view::npos) break;
        text.remove_prefix(brk + 2);
    }
    return lines;
}

bool Begins(std::string_view line, char c) {
    return !line.empty() && line.front() == c;
}

// Reads nodes from lines[p] on. `stopped` ends the whole read: the lines ran
// out, or a count or the nesting was refused.
class TreeReader {
public:
    TreeReader(std::span<const std::string_view> lines, Long& p) : lines_(lines), p_(p) {}

    void Read(PVAData& root) {
        std::vector<Frame> stack{{&root, 0, 0}};
        while (!stack.empty() && !stopped_) {
            Frame& f = stack.back();
            if (f.nextChild < f.childEnd) {
                PVAData* child = f.node->Child(f.nextChild++);
                Clear(*child);
                stack.push_back({child, 0, 0});
                continue;
            }
            if (Past()) break;
            const std::string_view line = Line();
            if (!Begins(line, '\\') || line.size() < 2) {
                ++p_;
                continue;
            }
            switch (line[1]) {
                case 't':
                    ReadTexts(*f.node, line);
                    break;
                case 'n':
                    ReadNumbers(*f.node, line);
                    break;
                case 'c': {
                    Long count = 0;
                    if (!Count(line, count)) break;
                    if (count > 0 && static_cast<Long>(stack.size()) >= PVAData::kMaxReadDepth) {
                        Stop();
                        break;
                    }
                    f.node->ChildCount(count);
                    ++p_;
                    f.nextChild = 0;
                    f.childEnd = f.node->ChildCount();
                    break;
                }
                case 'e':
                    ++p_;
                    stack.pop_back();
                    break;
                default:
                    ++p_;
                    break;
            }
        }
    }

    static void Clear(PVAData& node) {
        node.DataCount(0);
        node.NumberCount(0);
        node.ChildCount(0);
    }

private:
    struct Frame {
        PVAData* node;
        Long nextChild;
        Long childEnd;
    };

    bool Past() const { return p_ < 0 || static_cast<std::size_t>(p_) >= lines_.size(); }
    std::string_view Line() const { return lines_[static_cast<std::size_t>(p_)]; }
    void Stop() {
        stopped_ = true;
        p_ = static_cast<Long>(lines_.size());
    }
    // Moves to the next line; false (and the read stopped) when none is left.
    bool Next() {
        ++p_;
        if (!Past()) return true;
        stopped_ = true;
        return false;
    }

    // The count of a marker line, rounded half to even. Entries the lines do
    // not hold keep their defaults, so a count is not held to the lines left;
    // memory is held instead: a count past the cap, or one that takes the
    // entries made room for in this read past the cap plus the lines, stops
    // the read there.
    bool Count(std::string_view line, Long& count) {
        count = RoundToLong(detail::ReadSceneNumber(line.substr(2)));
        if (count <= 0) return true;
        const auto budget = PVAData::kMaxReadCount + static_cast<long long>(lines_.size());
        if (count > PVAData::kMaxReadCount || entries_ + count > budget) {
            Stop();
            return false;
        }
        entries_ += count;
        return true;
    }

    void ReadTexts(PVAData& node, std::string_view line) {
        Long count = 0;
        if (!Count(line, count)) return;
        node.DataCount(count);
        if (!Next()) return;
        for (Long i = 0; i < node.DataCount(); ++i) {
            if (!Begins(Line(), '@')) continue;  // the same line is tried for the next text
            std::string text(Line().substr(1));
            bool more = Next();
            while (more && Begins(Line(), '$')) {
                text += "\r\n";
                text += Line().substr(1);
                more = Next();
            }
            node.Data(i, text);
            if (!more) return;
        }
    }

    void ReadNumbers(PVAData& node, std::string_view line) {
        Long count = 0;
        if (!Count(line, count)) return;
        node.NumberCount(count);
        if (!Next()) return;
        for (Long i = 0; i < node.NumberCount(); ++i) {
            if (!Begins(Line(), ':')) continue;
            node.Number(i, detail::ReadSceneNumber(Line().substr(1)));
            if (!Next()) return;
        }
    }

    std::span<const std::string_view> lines_;
    Long& p_;
    long long entries_ = 0;  // entries made room for by the counts read so far
    bool stopped_ = false;
};

}  // namespace

void PVAData::strDataProg(std::span<const std::string_view> lines, Long& position) {
    TreeReader::Clear(*this);
    if (position < 0) return;
    TreeReader(lines, position).Read(*this);
}

void PVAData::strData(std::string_view text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    Long position = 0;
    strDataProg(lines, position);
}

}  // namespace brumil::render
