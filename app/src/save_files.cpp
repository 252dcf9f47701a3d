#include "app/save_files.h"

#include <string>

#include "platform/base/files.h"

namespace brumil::app {
namespace {

constexpr Long kWriteOk = 0;

void ReportWriteFailure(const FailureLog& log, std::string_view path) {
    if (!log) return;
    std::string message = "could not write ";
    message.append(path);
    message.append("; the previous file is kept");
    log(message);
}

}  // namespace

ConfigRecord& gConfig() {
    static ConfigRecord record;
    return record;
}

SystemSaveRecord& gSystemSave() {
    static SystemSaveRecord record;
    return record;
}

void LoadSaveFiles(SaveTextFiles& files, ConfigRecord& config, SystemSaveRecord& progress) {
    SystemSaveFromText(progress, files.LoadText(kSystemSaveFilePath));
    ConfigFromText(config, files.LoadText(kConfigFilePath));
}

SaveFilesResult SaveSaveFiles(SaveTextFiles& files, const ConfigRecord& config,
                              const SystemSaveRecord& progress, const FailureLog& log) {
    files.MakeDir(kSaveFolderPath);
    SaveFilesResult result;
    result.ProgressSaved =
        files.SaveTextEncode(kSystemSaveFilePath, SystemSaveToText(progress)) == kWriteOk;
    if (!result.ProgressSaved) ReportWriteFailure(log, kSystemSaveFilePath);
    result.SettingsSaved = files.SaveText(kConfigFilePath, ConfigToText(config)) == kWriteOk;
    if (!result.SettingsSaved) ReportWriteFailure(log, kConfigFilePath);
    return result;
}

bool WriteRunReport(SaveTextFiles& files, const RunFacts& facts, const FailureLog& log) {
    const bool ok = files.SaveText(kRunReportPath, RunReportText(facts)) == kWriteOk;
    if (!ok) ReportWriteFailure(log, kRunReportPath);
    return ok;
}

int RemoveInterruptedWrites() {
    int removed = 0;
    for (const std::string_view path : {kConfigFilePath, kSystemSaveFilePath, kRunReportPath}) {
        removed += platform::RemoveAtomicWriteLeftovers(path);
    }
    return removed;
}

}  // namespace brumil::app
