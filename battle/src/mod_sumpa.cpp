#include "battle/mod_sumpa.h"

#include "platform/base/message_box.h"
#include "platform/collision/collision.h"

namespace brumil::battle {

SumpaLibrary PlatformSumpaLibrary() {
    namespace lib = platform::collision;
    return SumpaLibrary{
        [] { return Long{lib::LoadDLL()}; },
        [] { return Long{lib::version()}; },
        [] { return Long{lib::UnloadDLL()}; },
    };
}

void ShowStartupFailureBox(std::string_view text, std::string_view title) {
    platform::ShowMessageBox(text, title, platform::MessageKind::kCritical);
}

bool SumpaLoad(const SumpaLibrary& library, const StartupFailureBox& show) {
    if (library.LoadDLL() == 0) {
        show("sumpa2.dllがインストールされていません\nDLLファイルをフォルダにコピーしてください",
             kSumpaFailureTitle);
        return false;
    }
    if (library.version() != kSumpaVersion) {
        library.UnloadDLL();
        show("sumpa2.dllが正常に動作していません\nアプリケーションを再インストールしてください",
             kSumpaFailureTitle);
        return false;
    }
    return true;
}

bool SumpaLoad() {
    return SumpaLoad(PlatformSumpaLibrary(), ShowStartupFailureBox);
}

void SumpaUnload(const SumpaLibrary& library) {
    library.UnloadDLL();
}

void SumpaUnload() {
    SumpaUnload(PlatformSumpaLibrary());
}

}  // namespace brumil::battle
