#pragma once
// frmGraphicsConfig: the graphics settings dialog, as a model that any view
// draws and drives. It lets the player choose the graphics device settings
// one by one instead of a ready preset: Init fills the five option groups
// from the settings record, OK writes them back, switches the graphics preset
// to 10 (the detailed one) and asks the front end to apply it at once (job 9).
// A help label explains the option under the mouse pointer.
//
// The front end's job 6 places the dialog, calls Init and Show, and ends when
// IsOpen turns false (OK, Cancel or the close box). The view only draws what
// the accessors give and reports clicks and pointer movement to the event
// members; it holds no state of its own beyond the window's position.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/config_record.h"
#include "app/dialog_window.h"
#include "core/vb_types.h"
#include "framework/job_list.h"
#include "frontend/job_numbers.h"
#include "frontend/settings_dialog.h"

namespace brumil::app {

inline constexpr std::string_view kGraphicsConfigCaption =
    "Brumil - グラフィックデバイスの詳細設定";

// The option groups in the window's order.
enum class GraphicsGroup : int { Render, DisplaySize, Texture, VSink, ZBuffer };
inline constexpr int kGraphicsGroupCount = 5;

struct GraphicsOptionText {
    std::string_view caption;
    std::string_view help;  // colons mark its line breaks
};

struct GraphicsGroupText {
    std::string_view control;       // the option array's name
    std::string_view frameCaption;  // the frame around the group
    std::span<const GraphicsOptionText> options;
};

// The five groups, indexed by GraphicsGroup.
std::span<const GraphicsGroupText, kGraphicsGroupCount> GraphicsConfigGroups();

// One field written by OK.
struct ConfigWrite {
    std::string_view field;
    Long ConfigRecord::*member;
    Long value;
    friend bool operator==(const ConfigWrite& a, const ConfigWrite& b) {
        return a.field == b.field && a.member == b.member && a.value == b.value;
    }
};

// What the dialog asks of the rest of the program.
class GraphicsConfigServices {
public:
    virtual ~GraphicsConfigServices() = default;
    // Adds a job to the front end's job list; false when there is no front end.
    virtual bool AddFrontEndJob(Long job, Long kind) = 0;
    // Marks the main window's menu checks for refreshing.
    virtual void UpdateMainMenu() = 0;
};

// On the running program: the front end of gAppConfig and the main window
// gTheApp, each only when it exists.
GraphicsConfigServices& PlatformGraphicsConfigServices();

// The job that applies the graphics settings, and its kind (always runs).
inline constexpr Long kApplyGraphicsJobNumber = frontend::kApplyGraphicsJob;
inline constexpr Long kApplyGraphicsJobKind = framework::kJobKindAlways;
// The preset OK switches to: the settings chosen one by one.
inline constexpr Long kDetailedGraphicsPreset = 10;

class frmGraphicsConfig final : public frontend::SettingsDialog {
public:
    frmGraphicsConfig(ConfigRecord& config, GraphicsConfigServices& services);
    // On gConfig and the platform's services.
    frmGraphicsConfig();

    // ---- The front end's contract ------------------------------------------
    void Place(Long x, Long y) override;
    // Sets the option groups from the settings and opens the dialog (it does
    // not show it).
    void Init() override;
    void Show() override;
    bool IsOpen() const override { return IsOpen_; }

    // ---- What a view draws ------------------------------------------------
    // Loaded, shown and not yet unloaded.
    bool Visible() const { return window_.Visible(); }
    // The screen position given by Place; false when none was given since
    // the dialog was last loaded.
    bool Placement(Long& x, Long& y) const { return window_.Placement(x, y); }
    // The window as CApi::SetupForm sees it: its font, its screen.
    DialogWindow& Form() { return window_; }
    const DialogWindow& Form() const { return window_; }
    // Captions after the colon rule.
    const std::string& Caption() const { return caption_; }
    const std::string& FrameCaption(GraphicsGroup group) const;
    const std::string& OptionCaption(GraphicsGroup group, Long index) const;
    Long OptionCount(GraphicsGroup group) const;
    const std::string& CommandOKCaption() const { return okCaption_; }
    const std::string& CommandCancelCaption() const { return cancelCaption_; }
    // The selected option of a group.
    Long Selected(GraphicsGroup group) const { return selected_[Index(group)]; }
    // Label1's caption: the help text on show.
    const std::string& Label1() const { return label1_; }

    // Shows a help text in Label1, its colons as line breaks.
    void ShowHelp(std::string_view text);
    // What OK writes into the settings, in the order it writes them.
    std::vector<ConfigWrite> OkWrites() const;

    // ---- Events -------------------------------------------------------------
    void Option_Click(GraphicsGroup group, Long index);
    // The pointer moved over an option, or over the window's free area.
    void Option_MouseMove(GraphicsGroup group, Long index);
    void Form_MouseMove();
    void CommandOK_Click();
    void CommandCancel_Click();
    // The window's close box.
    void Form_Close();

private:
    static std::size_t Index(GraphicsGroup group) { return static_cast<std::size_t>(group); }
    bool ValidOption(GraphicsGroup group, Long index) const;
    void Form_Load();
    void Unload();

    ConfigRecord& config_;
    GraphicsConfigServices& services_;
    bool IsOpen_ = false;
    DialogWindow window_;
    std::array<Long, kGraphicsGroupCount> selected_{};
    std::string label1_;
    std::string caption_;
    std::string okCaption_;
    std::string cancelCaption_;
    std::array<std::string, kGraphicsGroupCount> frameCaptions_;
    std::array<std::vector<std::string>, kGraphicsGroupCount> optionCaptions_;
};

}  // namespace brumil::app
