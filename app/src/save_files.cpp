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

// A plain progress file the reader takes nothing from (a damaged encoding
// mark, bytes of another kind) would be replaced by the defaults unnoticed.
bool IsProgressText(std::string_view bytes) {
    battle::SystemSaveRecord scratch;
    return battle::SystemSaveFromText(scratch, core::PlainFileText(bytes)) > 0;
}

}  // namespace

ConfigRecord& gConfig() {
    static ConfigRecord record;
    return record;
}

RunSaveFiles::RunSaveFiles(SaveTextFiles& files, FailureLog log)
    : files_(files), log_(std::move(log)) {}

void RunSaveFiles::Load(ConfigRecord& config, battle::SystemSaveRecord& progress) {
    battle::SystemSaveFromText(
        progress, files_.LoadText(battle::kSystemSaveFilePath, progressLoaded_, IsProgressText));
    ConfigFromText(config,
                   files_.LoadText(kConfigFilePath, settingsLoaded_, core::HoldsOnlyTextBytes));
}

bool RunSaveFiles::SaveProgress(const battle::SystemSaveRecord& progress) {
    files_.MakeDir(kSaveFolderPath);
    return Write(battle::kSystemSaveFilePath, battle::SystemSaveToText(progress), true,
                 progressLoaded_);
}

SaveFilesResult RunSaveFiles::SaveAll(const ConfigRecord& config,
                                      const battle::SystemSaveRecord& progress) {
    SaveFilesResult result;
    result.ProgressSaved = SaveProgress(progress);
    result.SettingsSaved = Write(kConfigFilePath, ConfigToText(config), false, settingsLoaded_);
    return result;
}

// The defaults are about to replace a file that could not be read: whatever
// it still holds (a damaged checksum, a file of another user) goes aside
// first, so the player or a helper can get it back. An archive entry needs no
// copy: the archive is never written, and the plain file only stands before
// it.
bool RunSaveFiles::Write(std::string_view path, std::string_view text, bool encoded,
                         core::TextFileState& loaded) {
    if (loaded == core::TextFileState::kUnreadable) {
        const std::string copy = std::string(path) + std::string(kUnreadableCopySuffix);
        if (files_.RenameFile(path, copy) != kWriteOk) {
            Report(log_, "could not keep the unreadable " + std::string(path) + " as " + copy +
                             "; it is not written over");
            return false;
        }
        Report(log_, std::string(path) + " could not be read at start; kept as " + copy);
    } else if (loaded == core::TextFileState::kUnreadableInArchive) {
        Report(log_, "the packed copy of " + std::string(path) +
                         " could not be read at start; the archive is left as it is and a "
                         "plain file is written beside it");
    }
    loaded = core::TextFileState::kRead;
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
