#include <filesystem>
#include <system_error>

#include "core/api.h"
#include "framework/splib.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/message_box.h"
#include "platform/base/window.h"

namespace brumil::framework {

namespace {

std::optional<StartupFailure> CheckDataRoot() {
    std::error_code ec;
    const std::filesystem::path& root = platform::DataRoot();
    if (!root.empty() && std::filesystem::is_directory(root, ec)) return std::nullopt;
    return StartupFailure{"exepath.txt にデータフォルダーを正しく指定してください。",
                          "データフォルダーが見つかりません: " + root.string(), "データフォルダー"};
}

std::optional<StartupFailure> CheckVideo() {
    const std::string reason = platform::VideoUnavailableReason();
    if (reason.empty()) return std::nullopt;
    return StartupFailure{"ディスプレイの設定を確認してください。",
                          "ウィンドウを開けません: " + reason, "ディスプレイ"};
}

}  // namespace

void spLib::AddStartupCheck(StartupCheck check) {
    if (check) checks_.push_back(std::move(check));
}

void spLib::AddStartupFailure(StartupFailure failure) {
    failures_.push_back(std::move(failure));
}

std::string spLib::StartupFailureText() const {
    std::string text;
    for (const StartupFailure& f : failures_) {
        if (!text.empty()) text += "\n\n";
        text += "[" + f.title + "]\n" + f.message;
        if (!f.solution.empty()) text += "\n" + f.solution;
    }
    return text;
}

bool spLib::Init(bool showErrors) {
    // Every run plays differently: random picks, the computer opponent and the
    // screen transitions draw from these generators.
    core::gApi().Randomize(platform::StartupSeed());
    for (const StartupCheck& check : {StartupCheck(CheckDataRoot), StartupCheck(CheckVideo)}) {
        if (auto failure = check()) AddStartupFailure(std::move(*failure));
    }
    for (const StartupCheck& check : checks_) {
        if (auto failure = check()) AddStartupFailure(std::move(*failure));
    }
    if (failures_.empty()) return true;
    if (showErrors) {
        platform::ShowMessageBox(StartupFailureText(), "起動できません",
                                 platform::MessageKind::kCritical);
    }
    return false;
}

}  // namespace brumil::framework
