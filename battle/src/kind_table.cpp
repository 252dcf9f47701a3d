#include "battle/kind_table.h"

namespace brumil::battle {

bool KindTable::Register(Long id, KindProcedure procedure) {
    if (id < kFirstKindId || id > kLastKindId) return false;
    procedures_[static_cast<std::size_t>(id - kFirstKindId)] = procedure;
    return true;
}

KindProcedure KindTable::Find(Long id) const {
    if (id < kFirstKindId || id > kLastKindId) return nullptr;
    return procedures_[static_cast<std::size_t>(id - kFirstKindId)];
}

Long KindTable::RegisteredCount() const {
    Long n = 0;
    for (KindProcedure p : procedures_) n += p != nullptr ? 1 : 0;
    return n;
}

const KindTable& KindProcedures() {
    static const KindTable table = [] {
        KindTable t;
        RegisterKindFamilies(t);
        return t;
    }();
    return table;
}

}  // namespace brumil::battle
