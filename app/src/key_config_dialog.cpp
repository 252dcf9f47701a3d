#include "app/key_config_dialog.h"

#include "app/dialog_text.h"
#include "core/api.h"
#include "framework/input_codes.h"
#include "framework/input_module.h"
#include "platform/base/scan_codes.h"

namespace brumil::app {

namespace {

using framework::kAssignDown;
using framework::kAssignLeft;
using framework::kAssignRight;
using framework::kAssignUp;

constexpr KeyRowText kRows[kKeyRowsPerPlayer] = {
    {"ショット", 0},           {"炸裂ショット", 1}, {"ボム", 2},      {"スペシャル", 3},
    {"ルナティックアート", 4}, {"メニュー表示", 5}, {"↑", kAssignUp}, {"↓", kAssignDown},
    {"←", kAssignLeft},        {"→", kAssignRight},
};

// The joysticks a press is taken from besides the keyboard: 1 and 2.
constexpr Long kPolledJoysticks = 2;

// Keys that click the focused "決定".
bool ClicksButton(Long code) {
    using namespace platform::scan;
    return code == framework::KeyboardCode(Return) ||
           code == framework::KeyboardCode(KeypadEnter) || code == framework::KeyboardCode(Space);
}

class PlatformInput final : public KeyConfigInput {
public:
    Long WaitInputCode(Long device) override { return framework::WaitInputCode(device); }
    std::uint64_t InputStepSerial() override { return framework::gInputModule().StepSerial(); }
};

}  // namespace

std::span<const KeyRowText, kKeyRowsPerPlayer> KeyConfigRows() {
    return kRows;
}

KeyConfigInput& PlatformKeyConfigInput() {
    static PlatformInput input;
    return input;
}

Long WaitKeyOrButton(KeyConfigInput& input) {
    // Every device answers keys before joysticks, so a non-key answer means
    // no key went down; joysticks past the second are not asked.
    const Long any = input.WaitInputCode(-1);
    if (framework::InputClass(any) == framework::kKeyboardClass) return any;
    for (Long joystick = 0; joystick < kPolledJoysticks; ++joystick) {
        if (const Long code = input.WaitInputCode(joystick); code != 0) return code;
    }
    return 0;
}

frmKeyConfig::frmKeyConfig(framework::KeyAssignTable& records, KeyConfigInput& input,
                           InputCodeNamer namer)
    : records_(records), input_(input), namer_(std::move(namer)) {
    // The view is made with the window's font before the first load.
    SetupDialogForm(window_);
}

frmKeyConfig::frmKeyConfig()
    : frmKeyConfig(framework::gKeyAssign(), PlatformKeyConfigInput(), framework::GetInputCodeName) {
}

void frmKeyConfig::Form_Load() {
    SetupDialogForm(window_);
    window_.Load();
    caption_ = ColonLineBreaks(kKeyConfigCaption);
    label1_ = ColonLineBreaks(kKeyConfigLabel1);
    label2_ = ColonLineBreaks(kKeyConfigLabel2);
    okCaption_ = ColonLineBreaks(kCommandOKCaption);
    cancelCaption_ = ColonLineBreaks(kCommandCancelCaption);
    for (Long option = 0; option < kKeyRowCount; ++option)
        optionCaptions_[std::size_t(option)] =
            ColonLineBreaks(kRows[std::size_t(option % kKeyRowsPerPlayer)].caption);
    optionCaptions_[kAuxiliaryOption] = ColonLineBreaks(kAuxiliaryCaption);
    selected_ = -1;
    focus_ = Focus::Picture1;
}

void frmKeyConfig::Place(Long x, Long y) {
    if (!window_.Loaded()) Form_Load();
    core::FormSetup at;
    at.x = x;
    at.y = y;
    core::gApi().SetupForm(window_, at);
}

void frmKeyConfig::Init() {
    if (!window_.Loaded()) Form_Load();
    IsOpen_ = true;
    // Every record: an assignment removes its code from all four, so all
    // four must come back on Cancel.
    Backup = records_;
    selected_ = 0;
    focus_ = Focus::Picture1;
    timerEnabled_ = true;
    // Presses of the step that opened the dialog are not for it.
    polledStep_ = input_.InputStepSerial();
    RedrawKeyLabels();
}

void frmKeyConfig::Show() {
    if (!window_.Loaded()) Form_Load();
    window_.Show();
}

const std::string& frmKeyConfig::OptionCaption(Long option) const {
    static const std::string none;
    if (option < 0 || option >= kKeyOptionCount) return none;
    return optionCaptions_[std::size_t(option)];
}

bool frmKeyConfig::OptionEnabled(Long option) {
    if (option < 0 || option >= kKeyOptionCount) return false;
    // "メニュー表示" of either player takes no key here.
    return option % kKeyRowsPerPlayer != 5 || option == kAuxiliaryOption;
}

const std::string& frmKeyConfig::LabelPlayer1(Long row) const {
    static const std::string none;
    if (row < 0 || row >= kKeyRowCount) return none;
    return labels_[std::size_t(row)];
}

void frmKeyConfig::RedrawKeyLabels() {
    for (Long row = 0; row < kKeyRowCount; ++row) {
        const auto& record = records_[std::size_t(row / kKeyRowsPerPlayer)];
        const int entry = kRows[std::size_t(row % kKeyRowsPerPlayer)].entry;
        labels_[std::size_t(row)] = namer_ ? namer_(record[std::size_t(entry)]) : std::string();
    }
}

void frmKeyConfig::OptionPlayer1_Click(Long option) {
    if (!Visible() || !OptionEnabled(option)) return;
    selected_ = option;
    focus_ = Focus::Picture1;
}

void frmKeyConfig::Timer1_Timer() {
    if (!timerEnabled_) return;
    const std::uint64_t step = input_.InputStepSerial();
    if (step == polledStep_) return;
    polledStep_ = step;
    const Long code = WaitKeyOrButton(input_);
    if (code == 0) return;
    if (focus_ == Focus::CommandOK) {
        if (ClicksButton(code)) CommandOK_Click();
        return;
    }
    const Long row = GetSelectedRow();
    if (row < 0 || row >= kKeyRowCount) return;
    Assign(row, code);
    Long next = row + 1;
    while (next < kKeyOptionCount && !OptionEnabled(next)) ++next;
    if (next < kKeyOptionCount) selected_ = next;
    if (next >= kAuxiliaryOption) focus_ = Focus::CommandOK;
    RedrawKeyLabels();
}

void frmKeyConfig::Assign(Long row, Long code) {
    framework::RemoveKeyAssign(records_, code);
    auto& record = records_[std::size_t(row / kKeyRowsPerPlayer)];
    record[std::size_t(kRows[std::size_t(row % kKeyRowsPerPlayer)].entry)] = code;
}

void frmKeyConfig::CommandOK_Click() {
    if (!Visible()) return;
    IsOpen_ = false;
    Unload();
}

void frmKeyConfig::CommandCancel_Click() {
    if (!Visible()) return;
    Unload();
}

void frmKeyConfig::Form_Close() {
    if (!window_.Loaded()) return;
    Unload();
}

void frmKeyConfig::Unload() {
    // Still open: Cancel or the close box, so the assignments go back.
    if (IsOpen_) records_ = Backup;
    timerEnabled_ = false;
    IsOpen_ = false;
    window_.Unload();
}

}  // namespace brumil::app
