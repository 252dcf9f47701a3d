#pragma once
// The program's spine: the entry (Main), and the main window TheApp whose
// TheAppInit runs the whole program from start-up through the main loop to
// shut-down.
//
// Made and released here, in this order: the battle object (gGame) and the
// save records' contents (LoadSettings); the front end (gAppConfig) with its
// first jobs; the frame host (gMaxwell) with the display settings of the
// chosen graphics preset; then the loop. After the loop the key assignments
// and both save files are stored and everything goes in reverse. The progress
// file is also written after every match, so a run that is killed keeps the
// results of its finished matches.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/failure_log.h"
#include "app/main_menu.h"
#include "app/main_menu_services.h"
#include "app/main_window.h"
#include "app/save_files.h"
#include "battle/mod_sumpa.h"
#include "framework/maxwell.h"
#include "platform/base/clock.h"

namespace brumil::app {

inline constexpr std::string_view kMainWindowCaption = "Brumil v103";
inline constexpr Long kClearColor = 0x202020;

// What a run uses of the world outside; tests replace parts of it.
struct AppServices {
    platform::Clock* clock = &platform::SystemClock();
    SaveTextFiles* files = &ApiSaveTextFiles();
    FailureLog log = LogFailureToStderr;
    // Tells the player at shut-down what the run could not save.
    FailureBox box = ShowFailureBox;
    // Tells the player why the program cannot start (text, title).
    battle::StartupFailureBox startupBox = battle::ShowStartupFailureBox;
    // Connects the frame host to its window and devices (after its settings
    // and device steps are set). Empty: the host's own Connect().
    std::function<bool(framework::CMaxwell&)> connect;
    // Frames after which the run ends as if the window were closed; -1 none.
    std::int64_t frameLimit = -1;
};

// The frame host's device steps on the framework's display and sound
// modules; sound uses the null output when running without a display.
framework::MaxwellDevices PlatformMaxwellDevices();

class TheApp final : public MainWindow {
public:
    bool Running = false;    // set by TheAppInit: this is the main window
    bool Closing = false;    // the closing has begun
    bool MenuDirty = false;  // the menu checks must be refreshed
    bool MenuShown = false;  // the menu is on show in full-screen mode
    std::string LogText;     // the run report as last written

    // Runs the program on this window until it ends.
    void TheAppInit(const AppServices& services);
    void TheAppInit() { TheAppInit(AppServices{}); }

    // Builds the run report from the running program's facts into LogText and
    // writes "\Log.txt".
    void WriteRunReport(const framework::CMaxwell& host, SaveTextFiles& files,
                        const FailureLog& log);
    // Adds a line (a failure the run carried on from) to LogText and writes
    // "\Log.txt" again.
    void AddRunReportLine(SaveTextFiles& files, std::string_view line);

    // ---- The window's menu, keys and closing (the_app_menu.cpp) ----------
    MainMenuModel Menu;
    // What the menu acts on; nothing: the platform's.
    MainMenuServices* MenuServices = nullptr;

    MainMenuModel& MenuModel() override { return Menu; }
    // Marks the menu checks for refreshing (main window only).
    void UpdateMainMenu() override;
    // Refreshes the checks when forced or marked.
    void SettingMainMenu(bool force) override;
    // Shows or hides the menu overlay in full-screen mode.
    void MainMenu(bool show) override;
    // The first call starts the closing transition, a later one ends the run.
    void UnLoadTheApp() override;
    // A close request (close box, window manager): true lets it go ahead.
    bool QueryClose() override;
    // A click on a menu item (control and index as in Menu).
    void MenuClick(MenuControl control, Long index) override;
    void KeyDown(WindowKey key) override;
    void KeyUp(WindowKey key, bool altHeld) override;
    // The overlay hid itself (it lost the focus): MenuShown is cleared with
    // it, so Alt can always bring it back.
    void MenuOverlayHidden() override;
    // True while the overlay is on show.
    bool MenuOverlayVisible() const override { return menuOverlayVisible_; }
    // Runs the display changes asked since the last call; called after each
    // frame host Poll, never inside the event pump or the menu's drawing.
    void ApplyDisplayChanges() override;

private:
    MainMenuServices& Services();
    void RequestDisplayChange(std::function<void()> change);
    void SwitchScreenMode(bool fullScreen);

    bool menuOverlayVisible_ = false;
    std::vector<std::function<void()>> pendingDisplay_;
};

// Makes the battle object, sets the font folder and texture search paths and
// reads both save files. The battle object writes the progress file through
// `saves` after each match's results, so `saves` must outlive it.
void LoadSettings(RunSaveFiles& saves);
// Writes both save files, resets the texture search paths, frees the sound
// effects and releases the battle object.
SaveFilesResult SaveSettings(RunSaveFiles& saves);

// The main window and the hidden menu window.
std::unique_ptr<TheApp>& gTheApp();
std::unique_ptr<TheApp>& gTheAppForm();

// The program's entry: answers the process exit code.
int Main(const AppServices& services);

}  // namespace brumil::app
