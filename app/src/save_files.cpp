#include "app/save_files.h"

#include <string>
#include <utility>

#include "platform/base/files.h"

namespace brumil::app {
namespace {

constexpr Long kWriteOk = 0;

void Report(const FailureLog& log, std::string_view message) {
    if (log) log(message);
}

void ReportWriteFailure(const FailureLog& log, std::string_view path) {
    Report(log, "could not write " + std::string(path) + "; the previous file is kept");
}

}  // namespace

ConfigRecord& gConfig() {
    static ConfigRecord record;
    return record;
}

RunSaveFiles::RunSaveFiles(SaveTextFiles& files, FailureLog log)
    : files_(files), log_(std::move(log)) {}

void RunSaveFiles::Load(ConfigRecord& config, battle::SystemSaveRecord& progress) {
    core::TextFileState state = core::TextFileState::kMissing;
    battle::SystemSaveFromText(progress, files_.LoadText(battle::kSystemSaveFilePath, state));
    progressUnreadable_ = state == core::TextFileState::kUnreadable;
    ConfigFromText(config, files_.LoadText(kConfigFilePath, state));
    settingsUnreadable_ = state == core::TextFileState::kUnreadable;
}

bool RunSaveFiles::SaveProgress(const battle::SystemSaveRecord& progress) {
    files_.MakeDir(kSaveFolderPath);
    return Write(battle::kSystemSaveFilePath, battle::SystemSaveToText(progress), true,
                 progressUnreadable_);
}

SaveFilesResult RunSaveFiles::SaveAll(const ConfigRecord& config,
                                      const battle::SystemSaveRecord& progress) {
    SaveFilesResult result;
    result.ProgressSaved = SaveProgress(progress);
    result.SettingsSaved = Write(kConfigFilePath, ConfigToText(config), false, settingsUnreadable_);
    return result;
}

// The defaults are about to replace a file that could not be read: whatever
// it still holds (a damaged checksum, a file of another user) goes aside
// first, so the player or a helper can get it back.
bool RunSaveFiles::Write(std::string_view path, std::string_view text, bool encoded,
                         bool& unreadable) {
    if (unreadable) {
        const std::string copy = std::string(path) + std::string(kUnreadableCopySuffix);
        if (files_.RenameFile(path, copy) != kWriteOk) {
            Report(log_, "could not keep the unreadable " + std::string(path) + " as " + copy +
                             "; it is not written over");
            return false;
        }
        unreadable = false;
        Report(log_, std::string(path) + " could not be read at start; kept as " + copy);
    }
    const Long status = encoded ? files_.SaveTextEncode(path, text) : files_.SaveText(path, text);
    if (status != kWriteOk) ReportWriteFailure(log_, path);
    return status == kWriteOk;
}

std::string UnsavedFilesNotice(const SaveFilesResult& result) {
    if (result.ProgressSaved && result.SettingsSaved) return {};
    std::string text =
        "次のファイルを保存できませんでした。前回保存したファイルはそのまま残っています。\n";
    if (!result.ProgressSaved) text.append(battle::kSystemSaveFilePath).append("\n");
    if (!result.SettingsSaved) text.append(kConfigFilePath).append("\n");
    text.append(
        "フォルダへの書き込みが許可されているか、ディスクに空きがあるかを確かめてください。");
    return text;
}

bool WriteRunReport(SaveTextFiles& files, const RunFacts& facts, const FailureLog& log) {
    const bool ok = files.SaveText(kRunReportPath, RunReportText(facts)) == kWriteOk;
    if (!ok) ReportWriteFailure(log, kRunReportPath);
    return ok;
}

int RemoveInterruptedWrites() {
    int removed = 0;
    for (const std::string_view path :
         {kConfigFilePath, battle::kSystemSaveFilePath, kRunReportPath}) {
        removed += platform::RemoveAtomicWriteLeftovers(path);
    }
    return removed;
}

}  // namespace brumil::app
