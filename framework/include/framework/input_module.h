#pragma once
// The input module: one input step reads the devices, updates the input
// block, the hold counts of every input code and the players' virtual keys
// from their assignments, and remembers what went down in this step for
// WaitInputCode.

#include <array>
#include <cstdint>
#include <vector>

#include "core/vb_types.h"
#include "framework/input_state.h"
#include "framework/key_assign.h"
#include "framework/vkey.h"
#include "platform/base/input_devices.h"

namespace brumil::framework {

// The pure part: snapshots in, hold counts and the input block out.
class InputTracker {
public:
    // One step from the devices' snapshot.
    void Step(const platform::InputSnapshot& now, InputStateBlock& block);
    // Forgets every hold count (devices re-created).
    void Reset();

    // The hold count of an input code this step (0 for unknown codes).
    Long HoldCount(Long code) const;
    bool Held(Long code) const { return HoldCount(code) > 0; }
    // The lowest code that went down in the last step on the device: -1 every
    // device (keys, then joystick directions and buttons: the lowest code
    // wins), 0..15 that joystick only; 0 when none.
    Long NewlyPressed(Long device) const;

private:
    struct JoystickCounts {
        std::array<Long, 4> directions{};
        std::array<Long, platform::kMaxJoystickButtons> buttons{};
    };
    std::array<Long, 256> keys_{};
    std::vector<JoystickCounts> joysticks_;
};

// The tables an input step reads and writes, none owned: the input block, the
// players' key assignments, their virtual-key records, and which records the
// step fills from the local devices (the others are driven by the computer
// opponent or the network peer).
struct InputTables {
    InputStateBlock* state = nullptr;
    const KeyAssignTable* keys = nullptr;
    std::array<VKeyRecord, kVKeyPlayers>* vkeys = nullptr;
    const std::array<bool, kVKeyPlayers>* fromDevices = nullptr;
};

// The shared tables: gInputState, gKeyAssign, VKey and gVKeyFromDevices.
InputTables SharedInputTables();

class InputModule {
public:
    // The devices read by the input step (not owned; nullptr detaches) and the
    // tables it works on, which must outlive the attachment.
    void Attach(platform::InputDevices* devices, const InputTables& tables = SharedInputTables());
    const InputTables& Tables() const { return tables_; }
    platform::InputDevices* Devices() const { return devices_; }
    // How many players' virtual keys the step fills (0..4).
    void SetVKeyCount(int count);

    // One input step: devices, input block, virtual keys.
    void Step();
    // Runs the step logic on a snapshot (what Step does after sampling).
    void StepWith(const platform::InputSnapshot& snapshot);

    const InputTracker& Tracker() const { return tracker_; }
    Long WaitInputCode(Long device) const { return tracker_.NewlyPressed(device); }
    // Input steps run so far: a poller that may be called more than once per
    // step takes each step's presses once.
    std::uint64_t StepSerial() const { return steps_; }
    Long JoystickCount() const;
    void SetupJoysticks();
    void SetupKeyboardMouse();

private:
    platform::InputDevices* devices_ = nullptr;
    InputTables tables_ = SharedInputTables();
    int vkeyCount_ = 4;
    InputTracker tracker_;
    platform::InputSnapshot snapshot_;
    std::uint64_t steps_ = 0;
};

// The shared input module the frame host attaches its devices to.
InputModule& gInputModule();

// The input code newly pressed in the last input step on the device (-1 the
// keyboard, 0 and 1 the joysticks 1 and 2, ...), the lowest when several went
// down, 0 when none. Asking twice in one step answers the same code.
Long WaitInputCode(Long device);
// The number of joysticks found at the last enumeration.
Long GetJoystickCount();
// Enumerates the joysticks again and sets each up.
void DirectInputSetupJoysticks();
// Starts the keyboard and mouse afresh.
void DirectInputSetupKeyboardMouse();

}  // namespace brumil::framework
