#pragma once
// frmKeyConfig: the key configuration dialog, as a model that any view draws
// and drives. The player selects a row (an action of player 1 or 2) and
// presses the key or joystick button to assign; the code goes at once into
// the shared assignment records, out of every other place, the selection
// moves to the next row and the labels show the names of all assigned codes.
// OK keeps the changes; Cancel or the close box puts back the records as they
// were when the dialog opened.
//
// The front end's job 5 places the dialog, calls Init and Show, then Step on
// every logic step (after that step's input) until IsOpen turns false. Step
// is the polling timer's tick; it takes each input step's presses once, so a
// press is assigned exactly once however often it is polled.
//
// While the dialog is open every key belongs to the capture: a view must not
// let Enter, Space or Escape press its buttons. The one exception is the
// model's own: once the selection has moved past the last row "決定" holds
// the focus, and Enter or Space pressed then is its click.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/dialog_window.h"
#include "core/vb_types.h"
#include "framework/key_assign.h"
#include "frontend/settings_dialog.h"

namespace brumil::app {

inline constexpr std::string_view kKeyConfigCaption = "Brumil - キーコンフィグ";
inline constexpr std::string_view kKeyConfigLabel1 = "プレイヤー１の設定";
inline constexpr std::string_view kKeyConfigLabel2 = "プレイヤー２の設定";
inline constexpr std::string_view kAuxiliaryCaption = "補助";

// Rows 0..9 are player 1's, 10..19 player 2's; option 20 ("補助") takes no key.
inline constexpr Long kKeyRowsPerPlayer = 10;
inline constexpr Long kKeyRowCount = 20;
inline constexpr Long kKeyOptionCount = 21;
inline constexpr Long kAuxiliaryOption = 20;

struct KeyRowText {
    std::string_view caption;
    int entry;  // the assignment entry the row sets
};

// One player's ten rows in the window's order.
std::span<const KeyRowText, kKeyRowsPerPlayer> KeyConfigRows();

// Where the dialog reads presses from.
class KeyConfigInput {
public:
    virtual ~KeyConfigInput() = default;
    // The code newly pressed in the last input step on the device (-1 every
    // device, keys first; 0 and 1 joysticks 1 and 2), 0 when none.
    virtual Long WaitInputCode(Long device) = 0;
    // Counts the input steps run so far.
    virtual std::uint64_t InputStepSerial() = 0;
};

// The framework's input module.
KeyConfigInput& PlatformKeyConfigInput();

// A key or joystick button pressed in the last input step: the keyboard,
// then joysticks 1 and 2; the first that answers wins, 0 when none did.
Long WaitKeyOrButton(KeyConfigInput& input);

using InputCodeNamer = std::function<std::string(Long code)>;

class frmKeyConfig final : public frontend::SettingsDialog {
public:
    enum class Focus { Picture1, CommandOK };

    // `records`: the assignment records the dialog edits in place (all four
    // players are backed up and restored). `namer` names codes for the labels.
    frmKeyConfig(framework::KeyAssignTable& records, KeyConfigInput& input, InputCodeNamer namer);
    // On gKeyAssign, the framework's input and GetInputCodeName.
    frmKeyConfig();

    // ---- The front end's contract ------------------------------------------
    void Place(Long x, Long y) override;
    // Opens the dialog: backs the records up, selects row 0, starts the
    // polling timer and draws the labels (it does not show the window).
    void Init() override;
    void Show() override;
    bool IsOpen() const override { return IsOpen_; }
    // The polling timer's tick.
    void Step() override { Timer1_Timer(); }

    // ---- What a view draws ------------------------------------------------
    bool Visible() const { return window_.Visible(); }
    bool Placement(Long& x, Long& y) const { return window_.Placement(x, y); }
    // The window as CApi::SetupForm sees it: its font, its screen.
    DialogWindow& Form() { return window_; }
    const DialogWindow& Form() const { return window_; }
    // Captions after the colon rule.
    const std::string& Caption() const { return caption_; }
    const std::string& Label1() const { return label1_; }
    const std::string& Label2() const { return label2_; }
    const std::string& CommandOKCaption() const { return okCaption_; }
    const std::string& CommandCancelCaption() const { return cancelCaption_; }
    // OptionPlayer1 (0..20): caption and whether it can be selected.
    const std::string& OptionCaption(Long option) const;
    static bool OptionEnabled(Long option);
    // LabelPlayer1 (0..19): the name of the code assigned to the row.
    const std::string& LabelPlayer1(Long row) const;
    // The lowest selected option, or -1 when none is.
    Long GetSelectedRow() const { return selected_; }
    Focus FocusedControl() const { return focus_; }
    bool Timer1Enabled() const { return timerEnabled_; }

    void RedrawKeyLabels();
    // Leaves no option selected (as clearing the selected option's value
    // does): presses are then ignored until a row is clicked.
    void ClearSelection() { selected_ = -1; }

    // ---- Events -------------------------------------------------------------
    // A click on an option: selects it (when enabled); the keyboard focus
    // goes to Picture1 so that keys never move the selection.
    void OptionPlayer1_Click(Long option);
    void Timer1_Timer();
    void CommandOK_Click();
    void CommandCancel_Click();
    // The window's close box.
    void Form_Close();

private:
    void Form_Load();
    void Unload();
    void Assign(Long row, Long code);

    framework::KeyAssignTable& records_;
    KeyConfigInput& input_;
    InputCodeNamer namer_;
    bool IsOpen_ = false;
    DialogWindow window_;
    bool timerEnabled_ = false;
    Long selected_ = -1;
    Focus focus_ = Focus::Picture1;
    std::uint64_t polledStep_ = 0;
    framework::KeyAssignTable Backup{};
    std::string caption_;
    std::string label1_;
    std::string label2_;
    std::string okCaption_;
    std::string cancelCaption_;
    std::array<std::string, kKeyOptionCount> optionCaptions_;
    std::array<std::string, kKeyRowCount> labels_;
};

}  // namespace brumil::app
