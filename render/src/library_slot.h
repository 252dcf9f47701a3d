#pragma once
// The storage of one library singleton: made on first use, dropped on request.
// The framework root is touched before the slot exists, so that it is torn
// down after the slot at program end (every graphic object unsubscribes from
// it when it goes).

#include <memory>

#include "framework/splib.h"

namespace brumil::render::detail {

template <typename T>
std::unique_ptr<T>& LibrarySlot() {
    [[maybe_unused]] static framework::spLib& root = framework::gSpLib();
    static std::unique_ptr<T> slot;
    return slot;
}

template <typename T>
T& LibrarySingleton() {
    auto& slot = LibrarySlot<T>();
    if (!slot) slot = std::make_unique<T>();
    return *slot;
}

}  // namespace brumil::render::detail
