#pragma once
// Test procedures for the collision library: each records its calls and may
// run an action on the list it belongs to (add a copy, end a record, ...).

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/collision/collision.h"
#include "platform/collision/shot_list.h"
#include "platform/collision/shot_record.h"

namespace brumil::platform::collision::testing {

struct Call {
    std::int32_t id;
    std::int32_t player;
    std::int32_t index;
    std::int32_t age;  // Age of the record when called
    bool operator==(const Call&) const = default;
};

// The list the procedures act on, their log and an optional action per id.
struct Recorder {
    std::array<ShotRecord, 950> list{};
    std::vector<Call> calls;
    std::array<std::function<void(std::int32_t player, std::int32_t index)>, 256> actions;

    static Recorder& Get() {
        static Recorder r;
        return r;
    }
    void Clear() {
        list = {};
        calls.clear();
        for (auto& a : actions) a = nullptr;
    }
};

template <int Id>
void RecordingProcedure(std::int32_t player, std::int32_t index, std::int32_t /*value*/) {
    Recorder& r = Recorder::Get();
    const auto at = static_cast<std::size_t>(index);
    r.calls.push_back({Id, player, index, at < r.list.size() ? r.list[at].Age : -1});
    if (r.actions[Id]) r.actions[Id](player, index);
}

// The ids the tests register: 8, 12, 20, 21, 30, 31, 40 and 41.
inline constexpr std::array<std::int32_t, 8> kRecordedIds = {8, 12, 20, 21, 30, 31, 40, 41};

inline void ConnectRecorders() {
    Connect(8, &RecordingProcedure<8>);
    Connect(12, &RecordingProcedure<12>);
    Connect(20, &RecordingProcedure<20>);
    Connect(21, &RecordingProcedure<21>);
    Connect(30, &RecordingProcedure<30>);
    Connect(31, &RecordingProcedure<31>);
    Connect(40, &RecordingProcedure<40>);
    Connect(41, &RecordingProcedure<41>);
}

inline void DisconnectAll() {
    for (std::int32_t id = kFirstProcedureId; id <= kLastProcedureId; ++id) Connect(id, nullptr);
}

// A live record at (x, y) with the fields the tests rely on and nothing else.
inline ShotRecord Live(std::int32_t x = 0, std::int32_t y = 0) {
    ShotRecord r;
    r.State = 1;
    r.X = x;
    r.Y = y;
    r.Size = 18;
    r.Scale = 256;
    r.Alpha = 224;
    return r;
}

// Puts a copy into the list the way the battle's ShotAdd does.
inline std::int32_t AddCopy(std::span<ShotRecord> pool, std::int32_t cursor, const ShotRecord& r) {
    const std::int32_t at = SearchFree(pool, cursor);
    if (at >= 0) pool[static_cast<std::size_t>(at)] = r;
    return at;
}

}  // namespace brumil::platform::collision::testing
