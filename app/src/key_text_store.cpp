#include "app/key_text_store.h"

#include <string>

#include "app/key_setup.h"

namespace brumil::app {

void StoreKeyAssignText(ConfigRecord& config, Long setupJoysticks, std::string_view keyText) {
    if (setupJoysticks < 0) return;
    KeyTextForJoysticks(config, setupJoysticks) = std::string(keyText);
}

}  // namespace brumil::app
