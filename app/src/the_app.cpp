// TheAppInit: start-up, main loop and shut-down of the program.
#include "app/the_app.h"

#include "app/graphics_preset.h"
#include "app/key_setup.h"
#include "app/key_text_store.h"
#include "app/main_loop.h"
#include "app/main_window_ui.h"
#include "app/network_windows_ui.h"
#include "app/run_facts.h"
#include "app/settings_dialogs_ui.h"
#include "app/texture_search_paths.h"
#include "battle/b_game.h"
#include "framework/display.h"
#include "framework/job_list.h"
#include "framework/key_assign.h"
#include "framework/sound.h"
#include "frontend/application_config.h"
#include "frontend/job_numbers.h"
#include "image/cmg_bbi_string.h"
#include "shell_screen_host.h"
#include "sound/bgm.h"
#include "sound/sound_effects.h"

namespace brumil::app {
namespace {

using frontend::ApplicationConfig;

// Settings every preset shares, after the preset's own.
void ApplyCommonSettings(framework::CMaxwellConfig& c) {
    c.ddRefreshRate = 60;
    c.dsHz = 44100;
    c.dsChannel = 2;
    c.dsBits = 16;
    c.DebugService = false;
    c.SleepSaver = 1;
    c.SleepFrame = 0;
    c.ddInit = true;
    c.dsInit = true;
    c.diInit = true;
}

// The screens' requests to the main window and, for the menus, to its loaded
// form when it exists.
class ShellWindowRequests final : public ShellRequests {
public:
    void EnableScreenMenus(bool enabled) override {
        for (TheApp* a : {gTheApp().get(), gTheAppForm().get()}) {
            if (a == nullptr) continue;
            for (std::string_view menu : {kScreenMenu, kVolumeMenu, kSystemMenu}) {
                a->Menu.SetTopEnabled(menu, enabled);
            }
        }
    }
    void UnLoadTheApp() override {
        if (TheApp* a = gTheApp().get()) a->UnLoadTheApp();
    }
};

}  // namespace

void LoadSettings(RunSaveFiles& saves) {
    sound::gBGM() = std::make_unique<sound::CAudio36>();
    battle::gGame() = std::make_unique<battle::bGame>();
    battle::gGame()->ResultsRecorded = [&saves] { saves.SaveProgress(battle::gSystemSave()); };
    image::CmgBBIString& text = image::gBBIString();
    text.KeyedGlyph = true;
    text.FontFolder = "\\data\\font\\";
    SetTextureSearchPaths();
    saves.Load(gConfig(), battle::gSystemSave());
}

SaveFilesResult SaveSettings(RunSaveFiles& saves) {
    const SaveFilesResult result = saves.SaveAll(gConfig(), battle::gSystemSave());
    SetTextureSearchPaths();
    sound::ClearSoundEffects();
    sound::gBGM().reset();
    battle::gGame().reset();
    return result;
}

void TheApp::WriteRunReport(const framework::CMaxwell& host, SaveTextFiles& files,
                            const FailureLog& log) {
    const RunFacts facts = MakeRunFacts(CurrentPlatformFacts(host));
    LogText = RunReportText(facts);
    app::WriteRunReport(files, facts, log);
}

void TheApp::AddRunReportLine(SaveTextFiles& files, std::string_view line) {
    LogText.append(line);
    LogText.append("\r\n");
    files.SaveText(kRunReportPath, LogText);
}

void TheApp::TheAppInit(const AppServices& services) {
    Running = true;
    SaveTextFiles& files = *services.files;
    // What goes wrong with the save files is written into the run report too,
    // where a player who started from a launcher can find it.
    RunSaveFiles saves(files, [this, &files, &services](std::string_view line) {
        if (services.log) services.log(line);
        AddRunReportLine(files, line);
    });
    LoadSettings(saves);

    auto& front = frontend::gAppConfig();
    front = std::make_unique<ApplicationConfig>();
    static ShellWindowRequests windowRequests;
    front->Screens = &PlatformScreenHostOfShell(windowRequests);
    front->Job().Add(ApplicationConfig::Key(frontend::kMenuTickerJob), framework::kJobKindAlways);

    auto& hostSlot = framework::gMaxwell();
    hostSlot = std::make_unique<framework::CMaxwell>(*services.clock);
    framework::CMaxwell& host = *hostSlot;
    framework::gClearColor() = kClearColor;
    framework::CMaxwellConfig& c = host.Config();
    c.FullScreenMenu = gTheAppForm() == nullptr;
    c.diCreateVKeyCounts = 4;
    c.WaitVsinkSP = true;
    c.PaintManual = true;
    ApplyGraphicsPreset(gConfig(), c);
    ApplyCommonSettings(c);
    host.SetDevices(PlatformMaxwellDevices());
    if (services.connect) {
        services.connect(host);
    } else {
        host.Connect();
    }
    if (platform::Window* window = host.Window()) window->SetTitle(std::string(kMainWindowCaption));
    // The menu, keys and closing of this window; gone before the host disconnects.
    std::unique_ptr<MainWindowAttachment> mainWindow = AttachMainWindow(*this, host);
    // The settings dialogs of jobs 5 and 6, drawn by the main window's overlay.
    std::unique_ptr<SettingsDialogsAttachment> dialogs = AttachSettingsDialogs();
    // The network set-up and chat windows; the session ends with them.
    std::unique_ptr<NetworkWindowsAttachment> network = AttachNetworkWindows();
    framework::SetVolumeLevel(gConfig().Volume);
    SetupKeyAssign();
    host.Poll();
    host.Poll();
    front->Job().Add(ApplicationConfig::Key(frontend::kKeySetupJob), framework::kJobKindNormal);
    front->Job().Poll();
    WriteRunReport(host, files, services.log);

    JobListLoop jobs(front->Job());
    FrameHostLoop frames(host, services.frameLimit);
    RunMainLoop(jobs, frames);

    // Under the joystick count they were set up for; a key dialog still open
    // is cancelled first, so edits never confirmed are not saved.
    StoreKeyAssignments(gConfig(), KeyAssignJoystickCount(), &dialogs->KeyConfig(),
                        framework::gKeyAssign());
    const std::string unsaved = UnsavedFilesNotice(SaveSettings(saves));
    if (!unsaved.empty() && services.box) services.box(unsaved);
    network.reset();
    dialogs.reset();
    mainWindow.reset();
    host.UnConnect();
    hostSlot.reset();
    front.reset();
}

std::unique_ptr<TheApp>& gTheApp() {
    static std::unique_ptr<TheApp> app;
    return app;
}

std::unique_ptr<TheApp>& gTheAppForm() {
    static std::unique_ptr<TheApp> form;
    return form;
}

}  // namespace brumil::app
