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
        [] { return Long{lib::Upkeep()}; },
        [](Long id, KindProcedure procedure) { return Long{lib::Connect(id, procedure)}; },
    };
}

void ShowStartupFailureBox(std::string_view text, std::string_view title) {
    platform::ShowMessageBox(text, title, platform::MessageKind::kCritical);
}

void ShowNoticeBox(std::string_view text) {
    platform::ShowMessageBox(text, "Brumil", platform::MessageKind::kInformation,
                             platform::MessageButtons::kOk);
}

SumpaRegistration& gSumpaRegistration() {
    static SumpaRegistration state;
    return state;
}

bool RegisterSumpaCallback(const SumpaLibrary& library, SumpaRegistration& state,
                           const NoticeBox& show, Long id, KindProcedure procedure) {
    if (library.Connect(id, procedure) != 0) return true;
    if (!state.failureShown) {
        state.failureShown = true;
        show(kCallbackFailureText);
    }
    return false;
}

void SumpaUpkeep(const SumpaLibrary& library, SumpaRegistration& state, const NoticeBox& show) {
    const Long upkeep = library.Upkeep();
    if (upkeep == state.upkeep) return;
    state.upkeep = upkeep;
    const KindTable& table = KindProcedures();
    for (Long id = kFirstKindId; id <= kLastKindId; ++id) {
        RegisterSumpaCallback(library, state, show, id, table.Find(id));
    }
    // The first id again, three times, as the program always has.
    for (int n = 0; n < 3; ++n) {
        RegisterSumpaCallback(library, state, show, kFirstKindId, table.Find(kFirstKindId));
    }
}

void SumpaUpkeep() {
    SumpaUpkeep(PlatformSumpaLibrary(), gSumpaRegistration(), ShowNoticeBox);
}

bool SumpaLoad(const SumpaLibrary& library, const StartupFailureBox& show, SumpaRegistration& state,
               const NoticeBox& notice) {
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
    SumpaUpkeep(library, state, notice);
    return true;
}

bool SumpaLoad() {
    return SumpaLoad(PlatformSumpaLibrary(), ShowStartupFailureBox, gSumpaRegistration(),
                     ShowNoticeBox);
}

void SumpaReset(Long timeMs) {
    platform::collision::Reset(timeMs);
}

void SumpaUnload(const SumpaLibrary& library) {
    library.UnloadDLL();
}

void SumpaUnload() {
    SumpaUnload(PlatformSumpaLibrary());
}

}  // namespace brumil::battle
