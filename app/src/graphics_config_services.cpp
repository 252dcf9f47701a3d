// The graphics settings dialog on the running program: the front end's job
// list and the main window, each only when it exists.
#include "app/graphics_config_dialog.h"
#include "app/the_app.h"
#include "frontend/application_config.h"

namespace brumil::app {
namespace {

class PlatformServices final : public GraphicsConfigServices {
public:
    bool AddFrontEndJob(Long job, Long kind) override {
        auto& front = frontend::gAppConfig();
        if (!front) return false;
        front->Job().Add(frontend::ApplicationConfig::Key(job), kind);
        return true;
    }
    void UpdateMainMenu() override {
        if (auto& app = gTheApp()) app->UpdateMainMenu();
    }
};

}  // namespace

GraphicsConfigServices& PlatformGraphicsConfigServices() {
    static PlatformServices services;
    return services;
}

}  // namespace brumil::app
