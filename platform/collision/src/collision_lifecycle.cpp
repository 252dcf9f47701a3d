#include "library_state.h"
#include "platform/collision/collision.h"

namespace brumil::platform::collision {
namespace detail {

LibraryState& State() {
    static LibraryState state;
    return state;
}

void CallProcedure(std::int32_t id, std::int32_t player, std::int32_t index) {
    const KindProcedure procedure = ConnectedProcedure(id);
    if (procedure != nullptr) procedure(player, index, 0);
}

WalkGuard::WalkGuard(std::span<const ShotRecord> records) {
    LibraryState& state = State();
    depth_ = state.walks.size();
    if (state.pending.size() <= depth_) state.pending.resize(depth_ + 1);
    std::vector<std::uint8_t>& pending = state.pending[depth_];
    pending.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        pending[i] = records[i].State != kStateFree ? 1 : 0;
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(records.data());
    state.walks.push_back({begin, begin + records.size_bytes()});
}

WalkGuard::~WalkGuard() {
    State().walks.pop_back();
}

void ForgetPending(const ShotRecord* record) {
    LibraryState& state = State();
    const auto at = reinterpret_cast<std::uintptr_t>(record);
    for (std::size_t depth = 0; depth < state.walks.size(); ++depth) {
        const LibraryState::Walk& walk = state.walks[depth];
        if (at >= walk.begin && at < walk.end) {
            state.pending[depth][(at - walk.begin) / sizeof(ShotRecord)] = 0;
        }
    }
}

}  // namespace detail

std::int32_t LoadDLL() {
    ++detail::State().loadCount;
    return 1;
}

std::int32_t UnloadDLL() {
    int& count = detail::State().loadCount;
    if (count == 0) return 0;
    --count;
    return 1;
}

std::int32_t version() {
    return IsLoaded() ? kVersion : 0;
}

bool IsLoaded() {
    return detail::State().loadCount > 0;
}

std::int32_t Upkeep() {
    return 1;
}

std::int32_t Connect(std::int32_t id, KindProcedure procedure) {
    if (id < kFirstProcedureId || id > kLastProcedureId) return 0;
    detail::State().procedures[static_cast<std::size_t>(id)] = procedure;
    return 1;
}

KindProcedure ConnectedProcedure(std::int32_t id) {
    if (id < kFirstProcedureId || id > kLastProcedureId) return nullptr;
    return detail::State().procedures[static_cast<std::size_t>(id)];
}

void Reset(std::int32_t timeMs) {
    detail::State().random.Seed(static_cast<std::uint64_t>(static_cast<std::uint32_t>(timeMs)));
}

}  // namespace brumil::platform::collision
