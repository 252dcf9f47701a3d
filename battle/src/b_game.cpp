#include "battle/b_game.h"

#include "core/vb_types.h"
#include "render/graphics.h"

namespace brumil::battle {
namespace {

// Texel edge of a cell boundary: n / count of a 256-texel sheet.
Long Edge(Long n, Long count) {
    return RoundToLong(static_cast<double>(n) / static_cast<double>(count) * 256.0);
}

}  // namespace

bGame::bGame(platform::Clock& clock) : BattleRect(0, 4, 640, 472), clock_(clock) {
    Jobs.Callback = this;
    for (Long g = 0; g < kCellGroupCount; ++g) {
        const Long rows = Long{1} << (g / 4);
        const Long columns = Long{1} << (g % 4);
        CellTable& t = cells_[static_cast<std::size_t>(g)];
        for (Long row = 0; row < rows; ++row) {
            for (Long column = 0; column < columns; ++column) {
                const auto c = static_cast<std::size_t>(row * columns + column);
                t.Left[c] = Edge(column, columns);
                t.Top[c] = Edge(row, rows);
                t.Right[c] = Edge(column + 1, columns);
                t.Bottom[c] = Edge(row + 1, rows);
            }
        }
    }
}

bGame::~bGame() {
    // The list must not call back into a half-destroyed object.
    Jobs.Callback = nullptr;
}

BGameOption& bGame::gd() {
    if (!options_) options_ = std::make_unique<BGameOption>();
    return *options_;
}

void bGame::KeepState(bool flag) {
    auto& keys = framework::VKey();
    auto& fromDevices = framework::gVKeyFromDevices();
    if (keepState_ && !flag) {
        savedKeys_ = keys;
        savedFromDevices_ = fromDevices;
        for (int p = 0; p < framework::kVKeyPlayers; ++p) {
            framework::UpdateVKey(p, framework::VKeyFlags{});
            framework::UpdateVKey(p, framework::VKeyFlags{});
        }
        fromDevices.fill(true);
    } else if (!keepState_ && flag) {
        keys = savedKeys_;
        fromDevices = savedFromDevices_;
    }
    keepState_ = flag;
}

const CellTable& bGame::Cells(Long group) const {
    if (group < 0 || group >= kCellGroupCount) group = 0;
    return cells_[static_cast<std::size_t>(group)];
}

void bGame::Coming(Long job, Long message, Long /*parameter*/) {
    switch (job) {
        case 1:
            NetworkWaitJob(message);
            break;
        case 2:
            MatchJob(message);
            break;
        case 3:
            ReadyWaitJob(message);
            break;
        case 4:
            PaintJob(message);
            break;
        case 5:
            if (message == 0) InputJobStep();
            break;
        case 6:
            if (message == 0) CounterJob();
            break;
        case 7:
            if (message == 0) FrameStepJob();
            break;
        default:
            break;
    }
}

std::unique_ptr<bGame>& gGame() {
    static std::unique_ptr<bGame> game;
    return game;
}

}  // namespace brumil::battle
