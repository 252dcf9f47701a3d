#pragma once
// Loading and saving the two save files and writing the run report.
//
// The settings file is written as plain text, the progress file in the
// save-text encoded form; both are read by the one loader that accepts either
// form and gives "" for a missing or damaged file (every field then keeps its
// default). A plain file counts as damaged when it is not a text of its kind:
// a progress file none of whose lines the progress reader knows, a settings
// file holding control bytes. Each file is replaced atomically: a failed write
// leaves the old file whole, is reported through the failure log, and does not
// stop the other file from being written. A file that was there but could not
// be read is not lost to the defaults written over it: it is kept beside itself
// first.

#include <string>
#include <string_view>

#include "app/config_record.h"
#include "app/failure_log.h"
#include "app/run_report.h"
#include "battle/system_save_record.h"
#include "core/text_file.h"
#include "core/vb_types.h"

namespace brumil::app {

// The file calls the save files need of the helper object. Paths beginning
// with "\" are relative to the data root.
class SaveTextFiles {
public:
    virtual ~SaveTextFiles() = default;
    // The file's text, decoded when it is in the save-text encoded form; ""
    // when it is missing or cannot be read, which `state` tells apart. A
    // non-empty file in neither form that `check` refuses cannot be read.
    virtual std::string LoadText(std::string_view path, core::TextFileState& state,
                                 core::PlainTextCheck check) = 0;
    // 0 success, 1 failure (the old file is kept).
    virtual Long SaveText(std::string_view path, std::string_view text) = 0;
    virtual Long SaveTextEncode(std::string_view path, std::string_view text) = 0;
    // Creates one folder level unless it exists; errors are left to the writes.
    virtual void MakeDir(std::string_view path) = 0;
    // Gives a file a new name, replacing a file of that name: 0 success, 1
    // failure (nothing changed).
    virtual Long RenameFile(std::string_view from, std::string_view to) = 0;
};

// The file calls of the shared helper object (core::gApi()).
SaveTextFiles& ApiSaveTextFiles();

// The program's settings, alive for the whole run (the progress record is
// battle::gSystemSave()).
ConfigRecord& gConfig();

inline constexpr std::string_view kSaveFolderPath = "\\save";

struct SaveFilesResult {
    bool ProgressSaved = false;
    bool SettingsSaved = false;
};

// Appended to a save file's name for the copy kept of it when it could not be
// read: "system.sav.damaged".
inline constexpr std::string_view kUnreadableCopySuffix = ".damaged";

// The two save files of one run, read at start and written after each match
// and at the end. A file that was there at start but could not be read (its
// checksum or length wrong, not a text of its kind, not readable by this user)
// left its record at the defaults; before the first write over it, it is
// renamed to its name plus kUnreadableCopySuffix (an older such copy is
// replaced) and the log says so. When it cannot be renamed it is not written
// over: that write fails. When it was an entry of its folder's archive, the
// archive is left as it is and the log says so; the plain file written beside
// it is read instead from then on.
class RunSaveFiles {
public:
    explicit RunSaveFiles(SaveTextFiles& files, FailureLog log = LogFailureToStderr);

    // Reads the progress file, then the settings file, into the records.
    void Load(ConfigRecord& config, battle::SystemSaveRecord& progress);
    // Creates the "\save" folder when missing, then writes the progress file
    // (encoded); true when it was written.
    bool SaveProgress(const battle::SystemSaveRecord& progress);
    // Creates the "\save" folder when missing, then writes the progress file
    // (encoded) and the settings file (plain text), each regardless of the
    // other.
    SaveFilesResult SaveAll(const ConfigRecord& config, const battle::SystemSaveRecord& progress);

private:
    bool Write(std::string_view path, std::string_view text, bool encoded,
               core::TextFileState& loaded);

    SaveTextFiles& files_;
    FailureLog log_;
    // What the start found of each file; an unreadable one counts as read
    // once the first write has dealt with it.
    core::TextFileState progressLoaded_ = core::TextFileState::kMissing;
    core::TextFileState settingsLoaded_ = core::TextFileState::kMissing;
};

// The text of the box that tells the player at shut-down which save files
// could not be written; "" when both were.
std::string UnsavedFilesNotice(const SaveFilesResult& result);

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
