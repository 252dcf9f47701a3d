#include "app/key_text_store.h"

#include <string>

#include "app/key_config_dialog.h"
#include "app/key_setup.h"

namespace brumil::app {

void StoreKeyAssignText(ConfigRecord& config, Long setupJoysticks, std::string_view keyText) {
    if (setupJoysticks < 0) return;
    KeyTextForJoysticks(config, setupJoysticks) = std::string(keyText);
}

void StoreKeyAssignments(ConfigRecord& config, Long setupJoysticks, frmKeyConfig* keyDialog,
                         const framework::KeyAssignTable& table) {
    // Closing an open dialog puts its backup of the records back.
    if (keyDialog != nullptr) keyDialog->Form_Close();
    StoreKeyAssignText(config, setupJoysticks, framework::SaveKeyAssign(table));
}

}  // namespace brumil::app
