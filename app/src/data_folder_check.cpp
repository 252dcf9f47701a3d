#include "app/data_folder_check.h"

#include "platform/base/files.h"

namespace brumil::app {

std::optional<std::string> MissingDataText() {
    if (platform::FolderExists("\\data") || platform::FileExists("\\data.pak")) {
        return std::nullopt;
    }
    return "データフォルダー " + platform::DataRoot().string() +
           " に data フォルダーも data.pak もありません。\n"
           "プログラムと同じフォルダーの exepath.txt で、データのあるフォルダーを指定できます。";
}

bool CheckDataFolder(const battle::StartupFailureBox& show, const FailureLog& log) {
    const std::optional<std::string> text = MissingDataText();
    if (!text) return true;
    if (log) {
        std::string line = *text;
        std::erase(line, '\n');
        log(line);
    }
    if (show) show(*text, kStartupFailureTitle);
    return false;
}

}  // namespace brumil::app
