#pragma once
// The library's own state: load count, registration table, the generator of
// ART and the walks in progress. One instance per process, reached only from
// the library's sources.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/codec/helper_random.h"
#include "platform/collision/collision.h"
#include "platform/collision/shot_record.h"

namespace brumil::platform::collision::detail {

struct LibraryState {
    int loadCount = 0;
    std::array<KindProcedure, kLastProcedureId + 1> procedures{};
    HelperRandom random;

    // Walks in progress (PosReference and catches nest through procedures):
    // the address range of the walked records and, per record, 1 while the
    // walk still has to visit it. One pending buffer per nesting depth, reused.
    struct Walk {
        std::uintptr_t begin = 0;
        std::uintptr_t end = 0;
    };
    std::vector<Walk> walks;
    std::vector<std::vector<std::uint8_t>> pending;
};

LibraryState& State();

// Calls the procedure registered under id with (player, index, 0); nothing
// for ids out of range or without a procedure.
void CallProcedure(std::int32_t id, std::int32_t player, std::int32_t index);

// A walk over records: marks the records live now as pending for the lifetime
// of the object. SearchFree clears the mark of a slot it hands out, so records
// added during the walk wait for the next one.
class WalkGuard {
public:
    explicit WalkGuard(std::span<const ShotRecord> records);
    ~WalkGuard();
    WalkGuard(const WalkGuard&) = delete;
    WalkGuard& operator=(const WalkGuard&) = delete;

    // True while record i was live at the start and was not handed out
    // again since; the caller still checks its State.
    bool Pending(std::size_t i) const { return State().pending[depth_][i] != 0; }

private:
    std::size_t depth_;  // an index, not a pointer: nested walks may grow the buffers
};

// Told by SearchFree: the record at this address was handed out for a new shot.
void ForgetPending(const ShotRecord* record);

}  // namespace brumil::platform::collision::detail
