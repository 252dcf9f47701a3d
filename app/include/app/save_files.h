#pragma once
// Loading and saving the two save files and writing the run report.
//
// The settings file is written as plain text, the progress file in the
// save-text encoded form; both are read by the one loader that accepts either
// form and gives "" for a missing or damaged file (every field then keeps its
// default). Each file is replaced atomically: a failed write leaves the old
// file whole, is reported through the failure log, and does not stop the other
// file from being written.

#include <string>
#include <string_view>

#include "app/config_record.h"
#include "app/failure_log.h"
#include "app/run_report.h"
#include "app/system_save_record.h"
#include "core/vb_types.h"

namespace brumil::app {

// The file calls the save files need of the helper object. Paths beginning
// with "\" are relative to the data root.
class SaveTextFiles {
public:
    virtual ~SaveTextFiles() = default;
    // The file's text, decoded when it is in the save-text encoded form; ""
    // when it is missing or cannot be read.
    virtual std::string LoadText(std::string_view path) = 0;
    // 0 success, 1 failure (the old file is kept).
    virtual Long SaveText(std::string_view path, std::string_view text) = 0;
    virtual Long SaveTextEncode(std::string_view path, std::string_view text) = 0;
    // Creates one folder level unless it exists; errors are left to the writes.
    virtual void MakeDir(std::string_view path) = 0;
};

// The file calls of the shared helper object (core::gApi()).
SaveTextFiles& ApiSaveTextFiles();

// The program's settings and progress, alive for the whole run.
ConfigRecord& gConfig();
SystemSaveRecord& gSystemSave();

inline constexpr std::string_view kSaveFolderPath = "\\save";

// Reads the progress file, then the settings file, into the records.
void LoadSaveFiles(SaveTextFiles& files, ConfigRecord& config, SystemSaveRecord& progress);

struct SaveFilesResult {
    bool ProgressSaved = false;
    bool SettingsSaved = false;
};

// Creates the "\save" folder when missing, then writes the progress file
// (encoded) and the settings file (plain text), each regardless of the other.
SaveFilesResult SaveSaveFiles(SaveTextFiles& files, const ConfigRecord& config,
                              const SystemSaveRecord& progress,
                              const FailureLog& log = LogFailureToStderr);

// Writes the run report "\Log.txt" as plain text; false (and a line in the
// log) when it cannot be written.
bool WriteRunReport(SaveTextFiles& files, const RunFacts& facts,
                    const FailureLog& log = LogFailureToStderr);

// Removes the temporary files that writes of the two save files and the run
// report left when an earlier run was killed inside them (only names of the
// writer's form, only beside those files). Call it only while this copy
// holds the single-copy lock: no other copy can then be inside a write.
// Answers how many were removed.
int RemoveInterruptedWrites();

}  // namespace brumil::app
